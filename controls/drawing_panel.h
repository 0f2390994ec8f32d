#pragma once
// A drawing panel keeps what was drawn on it in a picture of its client area's size; a paint
// request only copies that picture to the screen, so drawings survive being covered.
#include <windows.h>

namespace controls {

class DrawingPanel {
 public:
  virtual ~DrawingPanel() = default;
  virtual HWND Window() const = 0;
  // A memory DC with the kept picture selected; valid while the panel lives.
  virtual HDC Picture() const = 0;
  virtual SIZE PictureSize() const = 0;
  virtual COLORREF Background() const = 0;
  virtual POINT Position() const = 0;
  virtual void MoveTo(POINT position) = 0;
};

// Null when the window is not a live drawing panel.
DrawingPanel* FindDrawingPanel(HWND window);

}  // namespace controls
