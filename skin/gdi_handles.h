#pragma once
// Owners of the GDI and USER handles the skin makes.
#include <windows.h>

#include <cstdint>

#include "controls/gdi_owners.h"

namespace skin {

using controls::GdiObject;
using controls::MemoryDc;
using controls::WindowDc;

using Bitmap = GdiObject<HBITMAP>;
using Brush = GdiObject<HBRUSH>;
using Region = GdiObject<HRGN>;

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
