#pragma once
// GDI+ started for the life of the owner (version 1), shut down with it.
#include <windows.h>

namespace draw {

class GdiplusSession {
 public:
  GdiplusSession();
  ~GdiplusSession();
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;

  bool Started() const { return token_ != 0; }
  // Ends GDI+ before the owner goes (the frame's WM_QUIT); later calls do nothing.
  void Shutdown();

 private:
  ULONG_PTR token_ = 0;
};

}  // namespace draw
