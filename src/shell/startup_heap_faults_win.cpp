// The fault-injection build's program heap: the process heap, failing on demand. Only the test
// build reads these variables; the product reads no environment.
//   KROVELIN_FAIL_AFTER=K  every allocation after the first K fails
//   KROVELIN_FAIL_ABOVE=N  every allocation of more than N bytes fails
#include <windows.h>

#include <cstdint>
#include <cwchar>

#include "shell/heap.h"

namespace krovelin {
namespace {

std::uint64_t setting(const wchar_t* name) {
  wchar_t value[32];
  const DWORD n = GetEnvironmentVariableW(name, value, 32);
  if (n == 0 || n >= 32) return UINT64_MAX;
  return std::wcstoull(value, nullptr, 10);
}

class FailingHeap final : public Heap {
 public:
  FailingHeap() : fail_after_(setting(L"KROVELIN_FAIL_AFTER")), fail_above_(setting(L"KROVELIN_FAIL_ABOVE")) {}
  void* try_allocate(std::size_t size) noexcept override {
    if (size > fail_above_ || count_ >= fail_after_) return nullptr;
    ++count_;
    return default_heap().try_allocate(size);
  }
  void release(void* block) noexcept override { default_heap().release(block); }

 private:
  std::uint64_t fail_after_;
  std::uint64_t fail_above_;
  std::uint64_t count_ = 0;
};

}  // namespace

Heap& startup_heap() noexcept {
  static FailingHeap heap;
  return heap;
}

}  // namespace krovelin
