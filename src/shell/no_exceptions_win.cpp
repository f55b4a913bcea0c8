// Keeps the C++ runtime's exception machinery out of the program, which is built without
// exceptions: about half of its size would be the runtime's terminate handler (a demangler and a
// full printf) and the throw paths of the library's containers. Nothing here throws on purpose:
// an exhausted heap already ends in the fatal error box inside allocate(), so the container
// errors that remain (lengths beyond any address space) end the process at once.
#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

namespace std {
void __throw_bad_alloc() { std::abort(); }
void __throw_bad_array_new_length() { std::abort(); }
void __throw_length_error(const char*) { std::abort(); }
void __throw_logic_error(const char*) { std::abort(); }
void __throw_out_of_range_fmt(const char*, ...) { std::abort(); }
}  // namespace std
