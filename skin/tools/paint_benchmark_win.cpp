// Paint figures of the skin on the display it runs on: composing the window background, one
// button in each look, switching a tab page of 30 buttons, and how many paints a mouse sweep
// across a row of six buttons causes (each should be painted twice: hot, then normal again).
//   skin_paint_benchmark.exe [rounds]
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <vector>

#include "assets/carried_pictures.h"
#include "skin/skin_engine.h"
#include "skin/skin_kinds.h"
#include "skin/skinned_button.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kWidth = 472, kHeight = 610;
constexpr int kButtonWidth = 64, kButtonHeight = 32;

std::map<HWND, int> paints;
void CountPaint(HWND button) { ++paints[button]; }

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// Pumps for a while: mouse-leave notices come from a poll.
void PumpFor(int milliseconds) {
  const auto end = Clock::now() + std::chrono::milliseconds(milliseconds);
  while (Clock::now() < end) {
    Pump();
    Sleep(5);
  }
}

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

HWND MakeButton(HWND parent, int x, int y, const char* text) {
  return CreateWindowExA(0, "Button", text, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, x, y, kButtonWidth, kButtonHeight,
                         parent, nullptr, GetModuleHandleA(nullptr), nullptr);
}

// Five columns by six rows, as the board's pages hold them.
std::vector<HWND> MakePage(HWND tabs, bool visible) {
  std::vector<HWND> page;
  for (int row = 0; row < 6; ++row) {
    for (int column = 0; column < 5; ++column) {
      HWND button = MakeButton(tabs, 8 + column * 84, 40 + row * 48, "音效");
      if (!visible) ShowWindow(button, SW_HIDE);
      page.push_back(button);
    }
  }
  return page;
}

double showing = 0;  // of the page switches: the time spent hiding and showing, before painting

void ShowPage(const std::vector<HWND>& hide, const std::vector<HWND>& show, HWND tabs) {
  const auto start = std::chrono::steady_clock::now();
  for (HWND button : hide) ShowWindow(button, SW_HIDE);
  for (HWND button : show) ShowWindow(button, SW_SHOWNA);
  showing += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  RedrawWindow(tabs, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
  InitCommonControls();
  WNDCLASSA frameClass{};
  frameClass.lpfnWndProc = DefWindowProcA;
  frameClass.hInstance = GetModuleHandleA(nullptr);
  frameClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  frameClass.lpszClassName = "SkinBenchmarkFrame";
  RegisterClassA(&frameClass);

  skin::SkinEngine engine;
  skin::InstallSkinKinds(engine);
  HWND frame = CreateWindowExA(0, frameClass.lpszClassName, "岚铎声板", WS_POPUP | WS_VISIBLE | WS_MINIMIZEBOX, 40, 40,
                               kWidth, kHeight, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  std::vector<HWND> row;
  for (int i = 0; i < 6; ++i) row.push_back(MakeButton(frame, 16 + i * kButtonWidth, 500, "按钮"));
  HWND tabs = CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 16, 96,
                              440, 360, frame, nullptr, GetModuleHandleA(nullptr), nullptr);
  const std::vector<HWND> first = MakePage(tabs, true), second = MakePage(tabs, false);

  engine.AttachFrame(frame, {}, {}, false, {}, {}, {}, {}, 0, nullptr, assets::Carried(assets::Picture::kBackground), 3);
  engine.AttachPanel(tabs, {}, GetSysColor(COLOR_BTNFACE), 100);
  SetForegroundWindow(frame);
  RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  PumpFor(300);
  skin::SkinnedWindow* window = engine.WindowOf(frame);
  if (!window) {
    std::puts("the frame could not be skinned");
    return 1;
  }
  std::printf("skin paint benchmark, %d rounds, window %d x %d\n", rounds, kWidth, kHeight);

  auto start = Clock::now();
  for (int i = 0; i < rounds; ++i) engine.ComposeBackground(*window);
  std::printf("compose the window background: %.2f ms\n", MillisecondsSince(start) / rounds);

  const struct {
    const char* name;
    UINT state;
  } looks[] = {{"normal", 0},           {"hot", ODS_HOTLIGHT},     {"focused", ODS_FOCUS},
               {"pressed", ODS_SELECTED}, {"disabled", ODS_DISABLED}};
  skin::OffscreenSurface target(kButtonWidth, kButtonHeight);
  const RECT rect{0, 0, kButtonWidth, kButtonHeight};
  for (const auto& look : looks) {
    start = Clock::now();
    for (int i = 0; i < rounds * 10; ++i) skin::DrawButton(first[0], target.dc.Get(), look.state, rect);
    std::printf("draw one button, %-8s: %.3f ms\n", look.name, MillisecondsSince(start) / (rounds * 10));
  }

  skin::SetButtonPaintObserver(&CountPaint);
  paints.clear();
  start = Clock::now();
  for (int i = 0; i < rounds; ++i) {
    if (i % 2 == 0) {
      ShowPage(first, second, tabs);
    } else {
      ShowPage(second, first, tabs);
    }
  }
  const double switchTime = MillisecondsSince(start) / rounds;
  int switchPaints = 0;
  for (const auto& [button, count] : paints) switchPaints += count;
  std::printf("switch a page of 30 buttons: %.2f ms (%.2f ms of it hiding and showing), %.1f button paints per switch\n",
              switchTime, showing / rounds, static_cast<double>(switchPaints) / rounds);

  // Across the row from left to right, five stops on each button, then off the row.
  paints.clear();
  for (HWND button : row) {
    for (int stop = 0; stop < 5; ++stop) {
      POINT at{4 + stop * (kButtonWidth - 8) / 4, kButtonHeight / 2};
      ClientToScreen(button, &at);
      SetCursorPos(at.x, at.y);
      POINT local = at;
      ScreenToClient(button, &local);
      SendMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(local.x, local.y));
      PumpFor(30);
    }
  }
  SetCursorPos(0, 0);
  PumpFor(1000);
  int sweepPaints = 0, others = 0;
  std::printf("mouse sweep across six buttons, paints per button:");
  for (HWND button : row) {
    std::printf(" %d", paints[button]);
    sweepPaints += paints[button];
  }
  for (const auto& [button, count] : paints) {
    bool inRow = false;
    for (HWND b : row) inRow = inRow || b == button;
    if (!inRow) others += count;
  }
  std::printf(" (total %d, goal 12; other buttons painted: %d)\n", sweepPaints, others);
  skin::SetButtonPaintObserver(nullptr);

  DestroyWindow(frame);
  Pump();
  return 0;
}
