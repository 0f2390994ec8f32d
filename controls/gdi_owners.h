#pragma once
// Owners of the GDI handles the kinds, the pictures, the skin and the player's level bars make:
// one GDI object, a memory DC and a window's DC.
#include <windows.h>

#include <utility>

namespace controls {

// One GDI object (font, brush, bitmap, region), deleted when the owner goes.
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

// A memory DC compatible with `like` (the screen when null); a default one holds none until
// Create. The object it held before the first Select is selected back before it goes.
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
  // Selects `object`; returns the one it replaced. The first replaced object is kept for the end.
  HGDIOBJ Select(HGDIOBJ object) {
    const HGDIOBJ previous = SelectObject(dc_, object);
    if (!original_) original_ = previous;
    return previous;
  }
  HGDIOBJ Original() const { return original_; }
  void Reset() {
    if (!dc_) return;
    if (original_) SelectObject(dc_, original_);
    DeleteDC(dc_);
    dc_ = nullptr;
    original_ = nullptr;
  }

 private:
  HDC dc_ = nullptr;
  HGDIOBJ original_ = nullptr;
};

// The client-area DC of a window (the screen's for null), released when the owner goes.
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

}  // namespace controls
