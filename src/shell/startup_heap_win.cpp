#include "shell/heap.h"

namespace krovelin {

Heap& startup_heap() noexcept { return default_heap(); }

}  // namespace krovelin
