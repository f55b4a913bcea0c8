#pragma once
#include <cstddef>

namespace krovelin {

// The program heap: every text value and every block the shell hands out comes from it. On
// Windows it is the process's default heap; native tests put a counting or failing heap in.
class Heap {
 public:
  virtual void* try_allocate(std::size_t size) noexcept = 0;  // null when the heap is exhausted
  virtual void release(void* block) noexcept = 0;

 protected:
  ~Heap() = default;
};

// The build's own heap: the process's default heap on Windows, the C runtime's natively.
Heap& default_heap() noexcept;

Heap& program_heap() noexcept;
void set_program_heap(Heap& heap) noexcept;

// Never returns without a block: an exhausted heap is a fatal runtime error naming the size.
void* allocate(std::size_t size);

}  // namespace krovelin
