#pragma once
// Owners of the GDI and USER handles the skin makes.
#include <windows.h>

#include <cstdint>
#include <utility>

namespace skin {

template <class Handle>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(Handle handle) : handle_(handle) {}
  ~GdiObject() { Reset(); }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, nullptr));
    return *this;
  }
  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  Handle Release() { return std::exchange(handle_, nullptr); }
  void Reset(Handle handle = nullptr) {
    if (handle_) DeleteObject(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = nullptr;
};

using Bitmap = GdiObject<HBITMAP>;
using Brush = GdiObject<HBRUSH>;
using Region = GdiObject<HRGN>;

// A memory DC; selects its first bitmap back before it goes.
class MemoryDc {
 public:
  MemoryDc() = default;
  explicit MemoryDc(HDC like) : dc_(CreateCompatibleDC(like)) {}
  ~MemoryDc() { Reset(); }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;

  // A fresh DC compatible with `like` (replacing the one held).
  void Create(HDC like) {
    Reset();
    dc_ = CreateCompatibleDC(like);
  }
  HDC Get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }
  // Selects `bitmap`; returns the one it replaced. The first replaced bitmap is kept for the end.
  HBITMAP Select(HBITMAP bitmap) {
    auto previous = static_cast<HBITMAP>(SelectObject(dc_, bitmap));
    if (!original_) original_ = previous;
    return previous;
  }
  HBITMAP Original() const { return original_; }
  void Reset() {
    if (!dc_) return;
    if (original_) SelectObject(dc_, original_);
    DeleteDC(dc_);
    dc_ = nullptr;
    original_ = nullptr;
  }

 private:
  HDC dc_ = nullptr;
  HBITMAP original_ = nullptr;
};

// A 32-bit top-down DIB section of the given size; its pixels as 0xAARRGGBB.
Bitmap CreateArgbBitmap(int width, int height, std::uint32_t** bits = nullptr);

// A bitmap selected into a fresh memory DC, for drawing off screen.
struct OffscreenSurface {
  OffscreenSurface(int width, int height);
  Bitmap bitmap;  // before the DC, which gives it back first
  MemoryDc dc;
  std::uint32_t* bits = nullptr;
  int width, height;
};

// What a drawing kept between paints was made from: the version of the window's background and
// the place (in the window) and size it covers. A kept drawing whose stamp differs is stale.
struct SurfaceStamp {
  std::uint32_t backgroundVersion = 0;
  int x = 0, y = 0, width = 0, height = 0;
  bool operator==(const SurfaceStamp&) const = default;
};

class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// The DC of the whole window, non-client edge included.
class WholeWindowDc {
 public:
  explicit WholeWindowDc(HWND window) : window_(window), dc_(GetWindowDC(window)) {}
  ~WholeWindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  WholeWindowDc(const WholeWindowDc&) = delete;
  WholeWindowDc& operator=(const WholeWindowDc&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

class PaintScope {
 public:
  explicit PaintScope(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
  ~PaintScope() { EndPaint(window_, &paint_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_ = nullptr;
};

}  // namespace skin
