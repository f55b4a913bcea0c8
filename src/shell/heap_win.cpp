// The process's default heap as the program heap, and the C++ allocation operators routed
// through it: a block the program cannot get ends in the fatal runtime error naming its size,
// wherever it was asked for.
#include <windows.h>

#include <new>

#include "shell/heap.h"

namespace krovelin {
namespace {

class ProcessHeap final : public Heap {
 public:
  void* try_allocate(std::size_t size) noexcept override {
    return HeapAlloc(GetProcessHeap(), 0, size ? size : 1);
  }
  void release(void* block) noexcept override { HeapFree(GetProcessHeap(), 0, block); }
};

}  // namespace

Heap& default_heap() noexcept {
  static ProcessHeap heap;
  return heap;
}

}  // namespace krovelin

void* operator new(std::size_t size) { return krovelin::allocate(size); }
void* operator new[](std::size_t size) { return krovelin::allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return krovelin::program_heap().try_allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return krovelin::program_heap().try_allocate(size);
}
void operator delete(void* block) noexcept { krovelin::program_heap().release(block); }
void operator delete[](void* block) noexcept { krovelin::program_heap().release(block); }
void operator delete(void* block, std::size_t) noexcept { krovelin::program_heap().release(block); }
void operator delete[](void* block, std::size_t) noexcept {
  krovelin::program_heap().release(block);
}
