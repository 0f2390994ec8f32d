#pragma once
// Plain Win32 windows for the skin tests: a frame class whose own procedure records what reaches
// it, and the engine around each test.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "skin/skin_engine.h"

namespace skin::testing {

struct Received {
  UINT message;
  WPARAM wParam;
};

// Everything the test frames' own procedure received, in order.
std::vector<Received>& Log();
bool WasReceived(UINT message, WPARAM wParam);

void Pump();

// 0xRRGGBB of one pixel of the window's composed background.
std::uint32_t BackgroundPixel(const SkinnedWindow& window, int x, int y);
// The window's pixels as on screen, read from its DC.
std::vector<std::uint32_t> ScreenPixels(HWND hwnd, int width, int height);
// Writes 0xAARRGGBB pixels as a PNG beside the test program.
void SavePng(const std::vector<std::uint32_t>& pixels, int width, int height, const char* name);

class SkinTest : public ::testing::Test {
 protected:
  SkinTest();
  ~SkinTest() override;

  // A frameless visible popup with a minimize box, attached as the board attaches its window.
  HWND MakeFrame(int x, int y, int width, int height, const char* title = "岚铎声板",
                 DWORD style = WS_POPUP | WS_VISIBLE | WS_MINIMIZEBOX);
  HWND AttachedFrame(int width = 320, int height = 240, const char* title = "岚铎声板");
  HWND Child(HWND parent, const char* windowClass, DWORD style, int x, int y, int width, int height,
             const char* text = "");
  SkinnedWindow& Record(HWND hwnd);

  // Frames made while this is set leave a caption drag to the system's modal move loop, as the
  // board's window does; otherwise the move stops at WM_NCLBUTTONDOWN.
  bool realMoveLoop = false;
  std::unique_ptr<SkinEngine> engine;
  std::vector<HWND> windows;
};

}  // namespace skin::testing
