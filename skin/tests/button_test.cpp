#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "assets/carried_pictures.h"
#include "skin/gdi_handles.h"
#include "skin/skinned_button.h"
#include "skin/tests/skin_test_support.h"

namespace skin::testing {
namespace {

constexpr int kWidth = 80, kHeight = 30;

int Red(std::uint32_t p) { return (p >> 16) & 0xFF; }
int Green(std::uint32_t p) { return (p >> 8) & 0xFF; }
int Blue(std::uint32_t p) { return p & 0xFF; }
int Sum(std::uint32_t p) { return Red(p) + Green(p) + Blue(p); }

// One look of a button, drawn into memory as the owner-draw request would have it drawn.
struct Look {
  std::vector<std::uint32_t> pixels;
  std::uint32_t At(int x, int y) const { return pixels[y * kWidth + x] & 0xFFFFFF; }
};

class ButtonTest : public SkinTest {
 protected:
  ButtonTest() {
    InstallButtons(*engine);
    frame = MakeFrame(60, 60, 320, 240);
  }

  HWND Button(int x, int y, const char* text = "", int id = 1, DWORD style = BS_PUSHBUTTON) {
    HWND button = CreateWindowExA(0, "Button", text, WS_CHILD | WS_VISIBLE | style, x, y, kWidth, kHeight, frame,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    return button;
  }

  void Attach() {
    engine->AttachFrame(frame, {}, {}, false, {}, {}, {}, {}, 0, nullptr, assets::Carried(assets::Picture::kBackground), 3);
    SetForegroundWindow(frame);
    RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump();
  }

  static Look Draw(HWND button, UINT state) {
    OffscreenSurface surface(kWidth, kHeight);
    DrawButton(button, surface.dc.Get(), state, RECT{0, 0, kWidth, kHeight});
    GdiFlush();
    return {std::vector<std::uint32_t>(surface.bits, surface.bits + kWidth * kHeight)};
  }

  Look Behind(HWND button) const {
    auto surface = engine->BackgroundBehind(button);
    GdiFlush();
    return {std::vector<std::uint32_t>(surface->bits, surface->bits + kWidth * kHeight)};
  }

  // Pumps until the condition holds or a second has gone (mouse leave comes from a poll).
  static bool PumpUntil(const std::function<bool()>& done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (!done() && std::chrono::steady_clock::now() < end) Pump();
    return done();
  }

  void MoveOver(HWND button) {
    POINT p{kWidth / 2, kHeight - 4};
    ClientToScreen(button, &p);
    SetCursorPos(p.x, p.y);
    SendMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(kWidth / 2, kHeight - 4));
  }

  HWND frame = nullptr;
};

TEST_F(ButtonTest, AttachTakesPushButtonsThenCheckBoxesAndReadsTheirRecord) {
  HWND check = Button(10, 80, "x", 2, BS_AUTOCHECKBOX);
  HWND push = Button(10, 40, "播放");
  HWND group = Button(10, 120, "g", 3, BS_GROUPBOX);
  HWND owner = Button(10, 160, "o", 4, BS_OWNERDRAW);
  Attach();
  SkinnedWindow& window = Record(frame);
  ASSERT_EQ(window.Kind(ControlKind::kButtons).size(), 2u);
  // Push buttons come first, whatever the order of the windows.
  EXPECT_EQ(window.Kind(ControlKind::kButtons)[0]->hwnd, push);
  EXPECT_EQ(window.Kind(ControlKind::kButtons)[1]->hwnd, check);
  auto* record = static_cast<ButtonRecord*>(engine->RecordOf(push, ControlKind::kButtons));
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->text, "播放");
  EXPECT_EQ(record->fontName, "宋体");  // no font set on the button
  EXPECT_EQ(record->fontSize, 12);
  EXPECT_EQ(record->kind, ButtonType::kPush);
  EXPECT_EQ(GetWindowLongPtrA(push, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(push, GWLP_WNDPROC)), &ButtonProcedure);
  for (HWND other : {group, owner}) EXPECT_EQ(engine->RecordOf(other, ControlKind::kButtons), nullptr);

  SetWindowTextA(push, "停止");
  EXPECT_EQ(record->text, "停止");
}

TEST_F(ButtonTest, LooksOverTheBackground) {
  HWND button = Button(20, 40);
  Attach();
  const Look sky = Behind(button);
  const Look normal = Draw(button, 0);
  const Look hot = Draw(button, ODS_HOTLIGHT);
  const Look focused = Draw(button, ODS_FOCUS);
  const Look pressed = Draw(button, ODS_SELECTED);
  const Look disabled = Draw(button, ODS_DISABLED);
  const int cx = kWidth / 2, low = kHeight * 3 / 4;

  // Base: lighter than the sky inside, with a darker outline at the edge.
  EXPECT_GT(Sum(normal.At(cx, low)), Sum(sky.At(cx, low)) + 60);
  EXPECT_LT(Sum(normal.At(0, kHeight / 2)), Sum(normal.At(5, kHeight / 2)) - 30);

  // Hover: accent-tinted inside and an accent outline (0xDDCA22: red 0x22, green 0xCA, blue 0xDD).
  EXPECT_LT(Red(hot.At(cx, 3)), Red(normal.At(cx, 3)) - 10);
  const std::uint32_t edge = hot.At(0, kHeight / 2);
  EXPECT_GT(Green(edge) - Red(edge), Green(normal.At(0, kHeight / 2)) - Red(normal.At(0, kHeight / 2)) + 40);

  // Focus: the glow reaches past the outline into the last column, in the glow colour.
  const std::uint32_t glow = focused.At(kWidth - 1, kHeight / 2), plain = normal.At(kWidth - 1, kHeight / 2);
  EXPECT_GT(Green(glow) - Red(glow), Green(plain) - Red(plain) + 30);
  EXPECT_EQ(focused.At(cx, low), normal.At(cx, low));

  // Pressed: the inset starts accent-tinted at the top, inside the outline only.
  EXPECT_LT(Red(pressed.At(cx, 4)), Red(normal.At(cx, 4)) - 20);
  EXPECT_EQ(pressed.At(cx, 0), normal.At(cx, 0));

  // Disabled: opaque silver whatever the sky, and it wins over hover.
  const std::uint32_t silver = disabled.At(kWidth / 4, low);
  EXPECT_NEAR(Red(silver), Green(silver), 3);
  EXPECT_NEAR(Green(silver), Blue(silver), 3);
  EXPECT_GE(Red(silver), 0xB8);
  EXPECT_LE(Red(silver), 0xD8);
  // The silver covers the whole rectangle, corners too.
  EXPECT_NEAR(Red(disabled.At(0, 0)), 0xC0, 16);
  EXPECT_NEAR(Blue(disabled.At(0, 0)), 0xC0, 16);
  EXPECT_EQ(Draw(button, ODS_DISABLED | ODS_HOTLIGHT).pixels, disabled.pixels);
  EXPECT_EQ(Draw(button, ODS_DISABLED | ODS_FOCUS | ODS_SELECTED).pixels, disabled.pixels);
}

TEST_F(ButtonTest, TextIsCentredTwoPixelsLowAndFollowsTheCaption) {
  HWND button = Button(20, 40);
  Attach();
  const Look empty = Draw(button, 0);
  SetWindowTextA(button, "HH");
  const Look text = Draw(button, 0);
  int left = kWidth, right = -1, top = kHeight, bottom = -1;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      if (text.At(x, y) == empty.At(x, y)) continue;
      EXPECT_LT(Sum(text.At(x, y)), Sum(empty.At(x, y)));  // black ink only
      left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
    }
  }
  ASSERT_GE(right, left) << "no text drawn";
  EXPECT_NEAR((left + right) / 2.0, kWidth / 2.0, 2.0);
  // The glyphs' middle sits below the button's middle.
  EXPECT_GT((top + bottom) / 2.0, kHeight / 2.0);
  EXPECT_LT((top + bottom) / 2.0, kHeight / 2.0 + 5);
}

TEST_F(ButtonTest, OneButtonHotAtATimeThroughMouseMoveAndLeave) {
  HWND first = Button(20, 40, "", 1);
  HWND second = Button(20 + kWidth, 40, "", 2);
  Attach();
  SkinnedWindow& window = Record(frame);
  const int cx = kWidth / 2;
  const std::uint32_t normalPixel = ScreenPixels(first, kWidth, kHeight)[3 * kWidth + cx];
  const std::uint32_t normalSecond = ScreenPixels(second, kWidth, kHeight)[3 * kWidth + cx];

  MoveOver(first);
  EXPECT_EQ(window.hotButton, 1);
  EXPECT_LT(Red(ScreenPixels(first, kWidth, kHeight)[3 * kWidth + cx]), Red(normalPixel) - 10);

  MoveOver(second);
  EXPECT_EQ(window.hotButton, 2);
  // The first one is drawn normal again by its own leave.
  EXPECT_TRUE(PumpUntil([&] { return ScreenPixels(first, kWidth, kHeight)[3 * kWidth + cx] == normalPixel; }));
  EXPECT_LT(Red(ScreenPixels(second, kWidth, kHeight)[3 * kWidth + cx]), Red(normalSecond) - 10);

  SetCursorPos(0, 0);
  EXPECT_TRUE(PumpUntil([&] { return window.hotButton == 0; }));
  EXPECT_TRUE(PumpUntil([&] { return ScreenPixels(second, kWidth, kHeight)[3 * kWidth + cx] == normalSecond; }));

  // After a mouse reset over another control, the same button is drawn hot again.
  MoveOver(second);
  EnableWindow(second, FALSE);
  window.hoverReset = true;
  SendMessageA(second, WM_MOUSEMOVE, 0, MAKELPARAM(cx, kHeight - 4));
  EXPECT_FALSE(window.hoverReset);
  const std::uint32_t grey = ScreenPixels(second, kWidth, kHeight)[3 * kWidth + cx] & 0xFFFFFF;
  EXPECT_NEAR(Red(grey), Blue(grey), 3);  // disabled still silver under the mouse
  SetCursorPos(0, 0);
}

std::map<HWND, int>& Paints() {
  static std::map<HWND, int> paints;
  return paints;
}

// A sweep across a row paints each button twice, hot and normal again, though each button's
// leave arrives after the next one turned hot.
TEST_F(ButtonTest, SweepAcrossARowPaintsEachButtonTwice) {
  std::vector<HWND> row;
  for (int i = 0; i < 3; ++i) row.push_back(Button(10 + i * kWidth, 60, "", 10 + i));
  Attach();
  Paints().clear();
  SetButtonPaintObserver([](HWND button) { ++Paints()[button]; });
  for (HWND button : row) {
    for (int x = 4; x < kWidth; x += 18) {
      POINT p{x, kHeight / 2};
      ClientToScreen(button, &p);
      SetCursorPos(p.x, p.y);
      SendMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(x, kHeight / 2));
      Pump();
    }
  }
  SetCursorPos(0, 0);
  PumpUntil([&] { return Record(frame).hotButton == 0 && Paints()[row.back()] >= 2; });
  Pump();
  SetButtonPaintObserver(nullptr);
  for (HWND button : row) EXPECT_EQ(Paints()[button], 2) << "button " << GetDlgCtrlID(button);
}

TEST_F(ButtonTest, DoubleClickGivesOneClick) {
  HWND button = Button(20, 40, "x", 7);
  Attach();
  Log().clear();
  const LPARAM at = MAKELPARAM(10, 10);
  SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(button, WM_LBUTTONUP, 0, at);
  EXPECT_EQ(SendMessageA(button, WM_LBUTTONDBLCLK, MK_LBUTTON, at), 0);
  SendMessageA(button, WM_LBUTTONUP, 0, at);
  Pump();
  int clicks = 0;
  for (const auto& r : Log()) {
    if (r.message == WM_COMMAND && LOWORD(r.wParam) == 7) {
      EXPECT_EQ(HIWORD(r.wParam), BN_CLICKED);
      ++clicks;
    }
  }
  EXPECT_EQ(clicks, 1);
}

TEST_F(ButtonTest, TabControlPanelHidesItsTabsAndDrawsItsButtons) {
  InitCommonControls();
  Attach();
  HWND tabs = CreateWindowExA(0, "SysTabControl32", "", WS_CHILD | WS_VISIBLE, 10, 30, 260, 160, frame, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  windows.push_back(tabs);
  HWND button = CreateWindowExA(0, "Button", "", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 40, kWidth, kHeight, tabs,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
  TCITEMA tab{};
  tab.mask = TCIF_TEXT;
  char name[] = "WWWWWWWW";
  tab.pszText = name;
  SendMessageA(tabs, TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&tab));
  engine->AttachPanel(tabs, {}, GetSysColor(COLOR_BTNFACE), 100);
  ASSERT_NE(engine->RecordOf(button, ControlKind::kButtons), nullptr);
  RedrawWindow(tabs, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Pump();
  // Where the tab control's own first tab would be: the tinted sky, nothing else.
  const auto tinted = engine->BackgroundBehind(tabs);
  ASSERT_NE(tinted, nullptr);
  GdiFlush();
  const auto panel = ScreenPixels(tabs, kWidth, kHeight);
  for (int x = 5; x < 60; x += 3) {
    EXPECT_EQ(panel[10 * kWidth + x] & 0xFFFFFF, tinted->bits[10 * tinted->width + x] & 0xFFFFFF) << x;
  }
  // What the system's owner-draw request put on screen is the engine's normal look.
  const auto screen = ScreenPixels(button, kWidth, kHeight);
  const Look normal = Draw(button, 0);
  EXPECT_EQ(screen[kHeight * 3 / 4 * kWidth + kWidth / 2] & 0xFFFFFF, normal.At(kWidth / 2, kHeight * 3 / 4));
  EXPECT_EQ(screen[kHeight / 2 * kWidth] & 0xFFFFFF, normal.At(0, kHeight / 2));
  // Outside the rounded outline, at each corner, the panel's tint shows as it does beside the
  // button, not the raw sky.
  const std::pair<int, int> corners[] = {{0, 0}, {kWidth - 1, 0}, {0, kHeight - 1}, {kWidth - 1, kHeight - 1}};
  for (const auto& [x, y] : corners) {
    const std::uint32_t corner = screen[y * kWidth + x];
    const std::uint32_t beside = tinted->bits[(40 + y) * tinted->width + 10 + x];
    EXPECT_NEAR(Red(corner), Red(beside), 2) << x << "," << y;
    EXPECT_NEAR(Green(corner), Green(beside), 2) << x << "," << y;
    EXPECT_NEAR(Blue(corner), Blue(beside), 2) << x << "," << y;
  }
}

// The looks and the panel layers kept between paints follow what they were drawn from: the
// button's place over the sky, the window's background, and the panel's place.
TEST_F(ButtonTest, KeptLooksFollowTheirPlaceAndTheBackground) {
  InitCommonControls();
  HWND tabs = CreateWindowExA(0, "SysTabControl32", "", WS_CHILD | WS_VISIBLE, 10, 30, 260, 190, frame, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  windows.push_back(tabs);
  HWND inside = CreateWindowExA(0, "Button", "", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 20, kWidth, kHeight, tabs,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
  HWND button = Button(200, 30);
  Attach();
  engine->AttachPanel(tabs, {}, GetSysColor(COLOR_BTNFACE), 100);
  ASSERT_NE(engine->RecordOf(inside, ControlKind::kButtons), nullptr);
  ASSERT_NE(engine->RecordOf(button, ControlKind::kButtons), nullptr);
  Pump();
  const int cx = kWidth / 2, low = kHeight * 3 / 4;

  // The sky darkens upwards: the same button lower down looks lighter.
  const Look high = Draw(button, 0);
  MoveWindow(button, 200, 180, kWidth, kHeight, FALSE);
  const Look moved = Draw(button, 0);
  EXPECT_GT(Sum(moved.At(cx, low)), Sum(high.At(cx, low)) + 20);
  EXPECT_EQ(moved.pixels, Draw(button, 0).pixels);

  // Inside the panel: moving the panel down moves what lies behind everything in it.
  const Look insideHigh = Behind(inside);
  const Look insideLook = Draw(inside, 0);
  MoveWindow(tabs, 10, 130, 260, 90, FALSE);
  Pump();
  const Look insideLow = Behind(inside);
  EXPECT_GT(Sum(insideLow.At(cx, low)), Sum(insideHigh.At(cx, low)) + 20);
  EXPECT_NE(Draw(inside, 0).pixels, insideLook.pixels);

  // A new background (the window made taller stretches the sky) reaches the kept looks.
  const Look before = Draw(button, 0);
  const Look behindBefore = Behind(button);
  SetWindowPos(frame, nullptr, 0, 0, 320, 400, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  Pump();
  ASSERT_NE(Behind(button).pixels, behindBefore.pixels) << "the background did not change";
  EXPECT_NE(Draw(button, 0).pixels, before.pixels);
}

}  // namespace
}  // namespace skin::testing
