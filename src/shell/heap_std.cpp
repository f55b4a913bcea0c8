// The native build's default heap: the C runtime's.
#include <cstdlib>

#include "shell/heap.h"

namespace krovelin {
namespace {

class RuntimeHeap final : public Heap {
 public:
  void* try_allocate(std::size_t size) noexcept override { return std::malloc(size ? size : 1); }
  void release(void* block) noexcept override { std::free(block); }
};

}  // namespace

Heap& default_heap() noexcept {
  static RuntimeHeap heap;
  return heap;
}

}  // namespace krovelin
