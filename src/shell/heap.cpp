#include "shell/heap.h"

#include "shell/fatal.h"

namespace krovelin {
namespace {

// Constant-initialised, so that an allocation made while other globals are set up already finds
// the build's default heap.
Heap* current_heap = nullptr;

}  // namespace

Heap& program_heap() noexcept { return current_heap ? *current_heap : default_heap(); }

void set_program_heap(Heap& heap) noexcept { current_heap = &heap; }

void* allocate(std::size_t size) {
  if (void* block = program_heap().try_allocate(size)) return block;
  report_allocation_failure(size);
}

}  // namespace krovelin
