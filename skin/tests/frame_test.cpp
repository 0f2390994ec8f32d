#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "skin/skin_engine.h"
#include "skin/tests/skin_test_support.h"
#include "skin/window_properties.h"

namespace skin::testing {
namespace {

int Red(std::uint32_t rgb) { return (rgb >> 16) & 0xFF; }
int Green(std::uint32_t rgb) { return (rgb >> 8) & 0xFF; }
int Blue(std::uint32_t rgb) { return rgb & 0xFF; }
int Luma(std::uint32_t rgb) { return Red(rgb) + Green(rgb) + Blue(rgb); }

LPARAM Point(int x, int y) { return MAKELPARAM(x, y); }

using FrameTest = SkinTest;

// A module loaded for its resources, freed again at the end.
class LoadedModule {
 public:
  explicit LoadedModule(const std::string& path) : module_(LoadLibraryA(path.c_str())) {}
  ~LoadedModule() {
    if (module_) FreeLibrary(module_);
  }
  LoadedModule(const LoadedModule&) = delete;
  LoadedModule& operator=(const LoadedModule&) = delete;
  HMODULE Get() const { return module_; }

 private:
  HMODULE module_;
};

std::string BesideTheProgram(const char* name) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  return folder.substr(0, folder.find_last_of("\\/") + 1) + name;
}

TEST_F(FrameTest, ComposedBackgroundIsRoundedSkyWithOutlineAndTitle) {
  HWND hwnd = AttachedFrame(320, 240);
  SkinnedWindow& window = Record(hwnd);
  ASSERT_TRUE(window.backgroundBits);
  ASSERT_EQ(window.backgroundWidth, 320);

  // The average of the carried sky is a blue.
  EXPECT_EQ(window.averageColour >> 24, 0xFFu);
  EXPECT_GT(Blue(window.averageColour), Red(window.averageColour) + 40);

  Region region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(hwnd, region.Get()), ERROR);
  const struct {
    int x, y;
    bool inside;
  } corners[] = {{0, 0, false}, {319, 0, false}, {0, 239, false}, {319, 239, false},
                 {2, 2, true},  {160, 0, true},  {160, 120, true},  {317, 237, true}};
  for (const auto& c : corners) EXPECT_EQ(PtInRegion(region.Get(), c.x, c.y) != 0, c.inside) << c.x << "," << c.y;

  // Magenta is left only where the region hides it.
  int magenta = 0;
  for (int y = 0; y < 240; ++y) {
    for (int x = 0; x < 320; ++x) {
      if (BackgroundPixel(window, x, y) != 0xFF00FF) continue;
      ++magenta;
      EXPECT_FALSE(PtInRegion(region.Get(), x, y)) << x << "," << y;
    }
  }
  EXPECT_GT(magenta, 0);

  // Dark outer line, light inner line, then the picture.
  const std::uint32_t outer = BackgroundPixel(window, 0, 120), inner = BackgroundPixel(window, 1, 120),
                      sky = BackgroundPixel(window, 6, 120);
  EXPECT_GT(Blue(sky), Red(sky) + 40);
  EXPECT_LT(Luma(outer), Luma(sky) - 150);
  EXPECT_GT(Luma(inner), Luma(sky) + 100);
  const std::uint32_t bottom = BackgroundPixel(window, 160, 239), right = BackgroundPixel(window, 319, 120);
  EXPECT_LT(Luma(bottom), Luma(sky) - 150);
  EXPECT_LT(Luma(right), Luma(sky) - 150);

  // The title: white strokes with a grey halo beside them, in the caption band only.
  int white = 0, halo = 0;
  for (int y = 6; y < 26; ++y) {
    for (int x = 28; x < 120; ++x) {
      const std::uint32_t p = BackgroundPixel(window, x, y);
      if (Red(p) > 235 && Green(p) > 235 && Blue(p) > 235) ++white;
      if (Red(p) > 90 && Red(p) < 170 && Blue(p) - Red(p) < 60) ++halo;
    }
  }
  EXPECT_GT(white, 20);
  EXPECT_GT(halo, 20);

  // The screen shows the composed background.
  const auto screen = ScreenPixels(hwnd, 320, 240);
  EXPECT_EQ(screen[120 * 320 + 160] & 0xFFFFFF, BackgroundPixel(window, 160, 120));
  EXPECT_EQ(screen[10 * 320 + 40] & 0xFFFFFF, BackgroundPixel(window, 40, 10));
  SavePng(screen, 320, 240, "skinned_frame_at_rest.png");
}

TEST_F(FrameTest, CaptionIconIsIcon129ElseDefaultIconInItsBoxBeforeTheTitle) {
  const struct {
    const char* module;  // null: the test program, which carries no icon
    std::uint32_t colour;  // 0: no icon
  } cases[] = {
      {"icon_129.dll", 0x00C000},  // it carries an amber "DEFAULT_ICON" too, which must lose
      {"default_icon_only.dll", 0xFFB000},
      {nullptr, 0},
  };
  auto alike = [](std::uint32_t a, std::uint32_t b) {
    return std::abs(Red(a) - Red(b)) <= 2 && std::abs(Green(a) - Green(b)) <= 2 && std::abs(Blue(a) - Blue(b)) <= 2;
  };
  std::optional<int> titleLeft;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.module ? c.module : "no icon");
    std::optional<LoadedModule> module;
    if (c.module) {
      module.emplace(BesideTheProgram(c.module));
      ASSERT_NE(module->Get(), nullptr);
    }
    engine->Settings().captionIcon = LoadCaptionIcon(module ? module->Get() : GetModuleHandleA(nullptr));
    EXPECT_EQ(engine->Settings().captionIcon != nullptr, c.colour != 0);
    HWND hwnd = AttachedFrame(320, 240);
    SkinnedWindow& window = Record(hwnd);
    ASSERT_TRUE(window.backgroundBits);

    // The 17 x 17 box at (9, 5) is the icon's; the ring around it is the clean caption band.
    int iconPixels = 0, bandPixels = 0, ringDrawnOn = 0;
    for (int y = 4; y <= 22; ++y) {
      for (int x = 8; x <= 26; ++x) {
        const std::uint32_t p = BackgroundPixel(window, x, y);
        const COLORREF band = GetPixel(window.captionDc.Get(), x, y);
        const bool clean = p == (std::uint32_t{GetRValue(band)} << 16 | std::uint32_t{GetGValue(band)} << 8 | GetBValue(band));
        const bool inBox = x >= 9 && x < 26 && y >= 5 && y < 22;
        if (!inBox) {
          ringDrawnOn += !clean;
        } else if (c.colour && alike(p, c.colour)) {
          ++iconPixels;
        } else if (clean) {
          ++bandPixels;
        }
      }
    }
    EXPECT_EQ(ringDrawnOn, 0);
    EXPECT_EQ(iconPixels, c.colour ? 17 * 17 : 0);
    EXPECT_EQ(bandPixels, c.colour ? 0 : 17 * 17);

    // The title's white begins at x = 29 whether or not there is an icon.
    int left = 320;
    for (int y = 5; y < 26; ++y) {
      for (int x = 0; x < 160; ++x) {
        const std::uint32_t p = BackgroundPixel(window, x, y);
        if (Red(p) > 235 && Green(p) > 235 && Blue(p) > 235) left = std::min(left, x);
      }
    }
    EXPECT_GE(left, 29);
    EXPECT_LE(left, 32);
    if (titleLeft) {
      EXPECT_EQ(left, *titleLeft);
    }
    titleLeft = left;

    DestroyWindow(hwnd);
    engine->Settings().captionIcon = nullptr;  // the module's icons go with it
  }
}

TEST_F(FrameTest, NewTitleIsDrawnAtOnce) {
  HWND hwnd = AttachedFrame(320, 240, "短");
  SkinnedWindow& window = Record(hwnd);
  auto whiteIn = [&](int x0, int x1) {
    int white = 0;
    for (int y = 6; y < 26; ++y)
      for (int x = x0; x < x1; ++x) {
        const std::uint32_t p = BackgroundPixel(window, x, y);
        white += Red(p) > 235 && Green(p) > 235 && Blue(p) > 235;
      }
    return white;
  };
  EXPECT_EQ(whiteIn(60, 200), 0);
  SetWindowTextA(hwnd, "岚铎声板的一个更长的标题");
  EXPECT_GT(whiteIn(60, 200), 40);
  SetWindowTextA(hwnd, "短");
  EXPECT_EQ(whiteIn(60, 200), 0);  // the old title is gone, not drawn over

  // A title long enough to run into the caption buttons stops short of them: the strip keeps
  // exactly the pixels it had.
  std::vector<std::uint32_t> strip;
  for (int y = 0; y < window.captionHeight; ++y)
    for (int x = window.strip.x; x < window.strip.x + window.strip.width; ++x) strip.push_back(BackgroundPixel(window, x, y));
  SetWindowTextA(hwnd, "岚铎声板的一个非常非常非常非常非常非常长的标题");
  SetWindowTextA(hwnd, "短");
  std::size_t i = 0, changed = 0;
  for (int y = 0; y < window.captionHeight; ++y)
    for (int x = window.strip.x; x < window.strip.x + window.strip.width; ++x) changed += BackgroundPixel(window, x, y) != strip[i++];
  EXPECT_EQ(changed, 0u);
}

TEST_F(FrameTest, CaptionButtonsFadeInAccentAndRed) {
  HWND hwnd = AttachedFrame(320, 240);
  SkinnedWindow& window = Record(hwnd);
  ASSERT_EQ(window.captionButtons.size(), 2u);  // minimize and close
  EXPECT_EQ(window.strip.width, 68);
  const auto timer = reinterpret_cast<WPARAM>(hwnd);

  // A point of each look away from its glyph.
  auto sample = [&](int button) {
    const CaptionButtonPlace& p = window.strip.buttons[button - 1];
    return BackgroundPixel(window, p.lookX + 4, p.lookY + 4);
  };
  const struct {
    int button;
    bool red;
  } cases[] = {{1, false}, {2, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.button);
    const CaptionButtonPlace& place = window.strip.buttons[c.button - 1];
    const std::uint32_t plain = sample(c.button);
    SendMessageA(hwnd, WM_MOUSEMOVE, 0, Point(place.hitX + 5, place.hitY + 5));
    EXPECT_EQ(window.fade.hot, c.button);
    EXPECT_TRUE(window.fade.timerRunning);
    for (int i = 0; i < 4; ++i) SendMessageA(hwnd, WM_TIMER, timer, 0);
    const std::uint32_t half = sample(c.button);
    for (int i = 0; i < 4; ++i) SendMessageA(hwnd, WM_TIMER, timer, 0);
    const std::uint32_t full = sample(c.button);
    if (c.red) {
      EXPECT_GT(Red(half), Red(plain) + 30);
      EXPECT_GT(Red(full), Red(half) + 30);
      EXPECT_GT(Red(full), Blue(full));
    } else {
      // The accent (red 0x22, green 0xCA, blue 0xDD) draws the sky's red down, never up.
      EXPECT_LT(Red(half), Red(plain) - 10);
      EXPECT_LT(Red(full), Red(half) - 10);
      EXPECT_LT(Red(full), Green(full) - 60);
    }
    if (c.button == 2) {
      SavePng(ScreenPixels(hwnd, 320, 240), 320, 240, "skinned_frame_close_hot.png");
    }
    // Away from the strip: it fades back to the plain look and the timer goes.
    SendMessageA(hwnd, WM_MOUSEMOVE, 0, Point(100, 120));
    for (int i = 0; i < 8; ++i) SendMessageA(hwnd, WM_TIMER, timer, 0);
    EXPECT_EQ(sample(c.button), plain);
    EXPECT_FALSE(window.fade.timerRunning);
    EXPECT_FALSE(KillTimer(hwnd, timer));  // already killed
  }
}

TEST_F(FrameTest, TheFadeTimerReallyRuns) {
  HWND hwnd = AttachedFrame(320, 240);
  SkinnedWindow& window = Record(hwnd);
  const CaptionButtonPlace& close = window.strip.buttons[1];
  SendMessageA(hwnd, WM_MOUSEMOVE, 0, Point(close.hitX + 5, 8));
  Sleep(60);
  MSG msg{};
  ASSERT_TRUE(PeekMessageA(&msg, hwnd, WM_TIMER, WM_TIMER, PM_REMOVE));
  EXPECT_EQ(msg.wParam, reinterpret_cast<WPARAM>(hwnd));
}

TEST_F(FrameTest, CaptionPressMovesButStripPressDoesNot) {
  HWND hwnd = AttachedFrame(320, 240);
  SkinnedWindow& window = Record(hwnd);
  SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, Point(100, 10));
  EXPECT_TRUE(WasReceived(WM_NCLBUTTONDOWN, HTCAPTION));

  Log().clear();
  const CaptionButtonPlace& minimize = window.strip.buttons[0];
  SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, Point(minimize.hitX + 3, 2));
  EXPECT_FALSE(WasReceived(WM_NCLBUTTONDOWN, HTCAPTION));
  EXPECT_EQ(engine->PressedCaptionButton(), 1);

  // Below the caption a press on the edge sizes, elsewhere it does nothing.
  Log().clear();
  SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, Point(319, 120));
  EXPECT_TRUE(WasReceived(WM_SYSCOMMAND, SC_SIZE + 2));
  Log().clear();
  SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, Point(160, 120));
  EXPECT_FALSE(WasReceived(WM_NCLBUTTONDOWN, HTCAPTION));
  EXPECT_FALSE(WasReceived(WM_SYSCOMMAND, SC_SIZE + 2));
}

TEST_F(FrameTest, ReleaseOffThePressedButtonRunsNothing) {
  HWND hwnd = AttachedFrame(320, 240);
  SkinnedWindow& window = Record(hwnd);
  const CaptionButtonPlace& close = window.strip.buttons[1];
  const std::uint32_t plain = BackgroundPixel(window, close.lookX + 4, close.lookY + 4);
  SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, Point(close.hitX + 5, 8));
  const std::uint32_t pressed = BackgroundPixel(window, close.lookX + 4, close.lookY + 4);
  EXPECT_GT(Red(pressed), Red(plain) + 60);  // the red pressed look

  SendMessageA(hwnd, WM_LBUTTONUP, 0, Point(100, 120));
  EXPECT_FALSE(WasReceived(WM_SYSCOMMAND, SC_CLOSE));
  EXPECT_TRUE(IsWindow(hwnd));
  EXPECT_EQ(BackgroundPixel(window, close.lookX + 4, close.lookY + 4), plain);

  // Pressed on close, released over minimize: still nothing.
  SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, Point(close.hitX + 5, 8));
  SendMessageA(hwnd, WM_LBUTTONUP, 0, Point(window.strip.buttons[0].hitX + 5, 8));
  EXPECT_FALSE(WasReceived(WM_SYSCOMMAND, SC_CLOSE));
  EXPECT_FALSE(WasReceived(WM_SYSCOMMAND, SC_MINIMIZE));
}

TEST_F(FrameTest, MinimizeAndCloseRunTheirCommands) {
  HWND hwnd = AttachedFrame(320, 240);
  SkinnedWindow& window = Record(hwnd);
  const CaptionButtonPlace minimize = window.strip.buttons[0];
  const CaptionButtonPlace close = window.strip.buttons[1];

  SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, Point(minimize.hitX + 5, 8));
  SendMessageA(hwnd, WM_LBUTTONUP, 0, Point(minimize.hitX + 6, 9));
  EXPECT_TRUE(WasReceived(WM_SYSCOMMAND, SC_MINIMIZE));
  Pump();
  EXPECT_TRUE(IsIconic(hwnd));
  EXPECT_TRUE(window.minimized);
  ShowWindow(hwnd, SW_RESTORE);
  Pump();

  SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, Point(close.hitX + 5, 8));
  SendMessageA(hwnd, WM_LBUTTONUP, 0, Point(close.hitX + 5, 8));
  EXPECT_TRUE(WasReceived(WM_SYSCOMMAND, SC_CLOSE));
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(engine->Registry().Count(), 0u);
}

TEST_F(FrameTest, DoubleClickOnTheCaptionDoesNothingForTheBoard) {
  HWND hwnd = AttachedFrame(320, 240);
  SendMessageA(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, Point(100, 10));
  EXPECT_FALSE(WasReceived(WM_SYSCOMMAND, SC_MAXIMIZE));
  EXPECT_FALSE(IsZoomed(hwnd));
}

TEST_F(FrameTest, MaximizingKeepsTheTaskBarVisible) {
  HWND hwnd = MakeFrame(60, 60, 320, 240, "max", WS_POPUP | WS_VISIBLE | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
  engine->AttachFrame(hwnd);
  SkinnedWindow& window = Record(hwnd);
  ASSERT_EQ(window.captionButtons.size(), 3u);
  engine->RunCaptionCommand(hwnd, 2);
  Pump();
  EXPECT_TRUE(window.maximizedToWorkArea);
  RECT bar{};
  if (HWND tray = FindWindowA("Shell_TrayWnd", nullptr)) GetWindowRect(tray, &bar);
  RECT rect{};
  GetWindowRect(hwnd, &rect);
  EXPECT_EQ(rect.right - rect.left, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(rect.bottom - rect.top, GetSystemMetrics(SM_CYSCREEN) - (bar.bottom - bar.top));
  // The strip follows the new width.
  EXPECT_EQ(window.strip.x, GetSystemMetrics(SM_CXSCREEN) - window.strip.width + 1);

  engine->RunCaptionCommand(hwnd, 2);
  Pump();
  EXPECT_FALSE(window.maximizedToWorkArea);
  EXPECT_TRUE(WasReceived(WM_SYSCOMMAND, SC_RESTORE));
}

TEST_F(FrameTest, ResizingRebuildsBackgroundRegionAndStrip) {
  HWND hwnd = AttachedFrame(320, 240);
  SkinnedWindow& window = Record(hwnd);
  for (const auto& [width, height] : {std::pair{400, 300}, std::pair{260, 180}}) {
    SCOPED_TRACE(width);
    SetWindowPos(hwnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Pump();
    EXPECT_EQ(window.backgroundWidth, width);
    EXPECT_EQ(window.backgroundHeight, height);
    EXPECT_FALSE(window.backgroundDirty);
    EXPECT_EQ(window.strip.x, width - 68 + 1);
    Region region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(hwnd, region.Get()), ERROR);
    EXPECT_TRUE(PtInRegion(region.Get(), width - 3, height - 3));
    EXPECT_FALSE(PtInRegion(region.Get(), width - 1, height - 1));
    // The outline runs along the new bottom edge.
    EXPECT_LT(Luma(BackgroundPixel(window, width / 2, height - 1)), Luma(BackgroundPixel(window, width / 2, height - 6)) - 150);
  }
}

TEST_F(FrameTest, TrackingSizesAreBounded) {
  HWND hwnd = AttachedFrame(320, 240);
  MINMAXINFO info{};
  SendMessageA(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, 200);
  EXPECT_EQ(info.ptMinTrackSize.y, 150);
  EXPECT_EQ(info.ptMaxTrackSize.x, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(info.ptMaxTrackSize.y, GetSystemMetrics(SM_CYSCREEN));
}

TEST_F(FrameTest, DeactivationTrimsInProcessAndWritesNothing) {
  HWND hwnd = AttachedFrame(320, 240);
  char windir[MAX_PATH] = {};
  GetEnvironmentVariableA("windir", windir, MAX_PATH);
  const std::string tool = std::string(windir) + "\\empty.exe";
  DeleteFileA(tool.c_str());

  SendMessageA(hwnd, WM_ACTIVATEAPP, FALSE, 0);
  engine->Trim().Wait();
  EXPECT_EQ(engine->Trim().Completed(), 1);
  EXPECT_EQ(engine->Trim().Succeeded(), 1);
  EXPECT_EQ(GetFileAttributesA(tool.c_str()), INVALID_FILE_ATTRIBUTES);

  SendMessageA(hwnd, WM_ACTIVATEAPP, TRUE, 0);  // activation trims nothing
  engine->Trim().Wait();
  EXPECT_EQ(engine->Trim().Completed(), 1);
}

}  // namespace
}  // namespace skin::testing
