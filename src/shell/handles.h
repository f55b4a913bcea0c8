#pragma once
// Owners for the Windows objects the program makes. Child windows are not here: the main window
// owns and destroys them.
#include <windows.h>

#include <utility>

namespace krovelin {

template <class Traits>
class Unique {
 public:
  using Value = typename Traits::Value;
  Unique() noexcept = default;
  explicit Unique(Value value) noexcept : value_(value) {}
  Unique(Unique&& other) noexcept : value_(std::exchange(other.value_, Traits::empty())) {}
  Unique& operator=(Unique&& other) noexcept {
    if (this != &other) {
      reset();
      value_ = std::exchange(other.value_, Traits::empty());
    }
    return *this;
  }
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;
  ~Unique() { reset(); }

  Value get() const noexcept { return value_; }
  explicit operator bool() const noexcept { return Traits::valid(value_); }
  void reset() noexcept {
    if (Traits::valid(value_)) Traits::close(value_);
    value_ = Traits::empty();
  }

 private:
  Value value_ = Traits::empty();
};

// Kernel handles: both null and INVALID_HANDLE_VALUE mean none.
struct KernelHandleTraits {
  using Value = HANDLE;
  static Value empty() noexcept { return nullptr; }
  static bool valid(Value v) noexcept { return v != nullptr && v != INVALID_HANDLE_VALUE; }
  static void close(Value v) noexcept { CloseHandle(v); }
};
using UniqueHandle = Unique<KernelHandleTraits>;

struct FindHandleTraits {
  using Value = HANDLE;
  static Value empty() noexcept { return INVALID_HANDLE_VALUE; }
  static bool valid(Value v) noexcept { return v != nullptr && v != INVALID_HANDLE_VALUE; }
  static void close(Value v) noexcept { FindClose(v); }
};
using UniqueFindHandle = Unique<FindHandleTraits>;

template <class Object>
struct GdiObjectTraits {
  using Value = Object;
  static Value empty() noexcept { return nullptr; }
  static bool valid(Value v) noexcept { return v != nullptr; }
  static void close(Value v) noexcept { DeleteObject(v); }
};
using UniqueRegion = Unique<GdiObjectTraits<HRGN>>;
using UniqueBrush = Unique<GdiObjectTraits<HBRUSH>>;
using UniqueBitmap = Unique<GdiObjectTraits<HBITMAP>>;

struct IconTraits {
  using Value = HICON;
  static Value empty() noexcept { return nullptr; }
  static bool valid(Value v) noexcept { return v != nullptr; }
  static void close(Value v) noexcept { DestroyIcon(v); }
};
using UniqueIcon = Unique<IconTraits>;

// Selects a GDI object into a device context for one scope.
class ScopedSelect {
 public:
  ScopedSelect(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(SelectObject(dc, object)) {}
  ~ScopedSelect() { SelectObject(dc_, old_); }
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// BeginPaint ... EndPaint.
class PaintScope {
 public:
  explicit PaintScope(HWND window) noexcept : window_(window) { dc_ = BeginPaint(window, &ps_); }
  ~PaintScope() { EndPaint(window_, &ps_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  HDC dc() const noexcept { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

}  // namespace krovelin
