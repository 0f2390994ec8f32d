// The frame under the real mouse: input goes through the system's queue (SendInput), so hit
// testing, the system's move loop, mouse tracking and the fade timer all take part.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "skin/skin_engine.h"
#include "skin/tests/skin_test_support.h"

namespace skin::testing {
namespace {

int Red(std::uint32_t rgb) { return (rgb >> 16) & 0xFF; }
int Green(std::uint32_t rgb) { return (rgb >> 8) & 0xFF; }
int Blue(std::uint32_t rgb) { return rgb & 0xFF; }
int Distance(std::uint32_t a, std::uint32_t b) {
  return std::abs(Red(a) - Red(b)) + std::abs(Green(a) - Green(b)) + std::abs(Blue(a) - Blue(b));
}

// A mouse event at a screen point. Absolute units map back as (units * screen size) >> 16; the
// smallest units that land on the pixel itself are taken.
INPUT MouseAt(POINT p, DWORD buttons = 0) {
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = (p.x * 65536 + width - 1) / width;
  input.mi.dy = (p.y * 65536 + height - 1) / height;
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
  return input;
}

void MoveMouse(POINT p) {
  INPUT input = MouseAt(p);
  SendInput(1, &input, sizeof input);
}

// Press at `from`, move in four steps by `by`, release: one gesture, queued at once, because the
// system's move loop runs inside the press and takes the rest from the queue.
void Drag(POINT from, POINT by) {
  std::vector<INPUT> gesture{MouseAt(from), MouseAt(from, MOUSEEVENTF_LEFTDOWN)};
  for (int step = 1; step <= 4; ++step) gesture.push_back(MouseAt({from.x + by.x * step / 4, from.y + by.y * step / 4}));
  gesture.push_back(MouseAt({from.x + by.x, from.y + by.y}, MOUSEEVENTF_LEFTUP));
  ASSERT_EQ(SendInput(static_cast<UINT>(gesture.size()), gesture.data(), sizeof(INPUT)), gesture.size());
}

void Click(POINT at) {
  INPUT click[] = {MouseAt(at), MouseAt(at, MOUSEEVENTF_LEFTDOWN), MouseAt(at, MOUSEEVENTF_LEFTUP)};
  ASSERT_EQ(SendInput(3, click, sizeof(INPUT)), 3u);
}

RECT WindowRect(HWND hwnd) {
  RECT rect{};
  GetWindowRect(hwnd, &rect);
  return rect;
}

// Frees a modal move loop that never sees its button go up (a lost release): after the limit it
// releases the button and posts Escape, either of which ends the loop. If even that does not end
// it, the program stops: a hung test run reports nothing at all.
class MoveLoopWatchdog {
 public:
  MoveLoopWatchdog(HWND hwnd, std::chrono::milliseconds limit)
      : thread_([this, hwnd, limit] {
          std::unique_lock lock(mutex_);
          if (stopped_.wait_for(lock, limit, [this] { return stop_; })) return;
          fired_ = true;
          INPUT up{};
          up.type = INPUT_MOUSE;
          up.mi.dwFlags = MOUSEEVENTF_LEFTUP;
          SendInput(1, &up, sizeof up);
          PostMessageA(hwnd, WM_KEYDOWN, VK_ESCAPE, 0);
          if (stopped_.wait_for(lock, std::chrono::seconds(5), [this] { return stop_; })) return;
          std::fputs("the move loop is still stuck after Escape; giving up\n", stderr);
          std::fflush(stderr);
          std::_Exit(3);
        }) {}
  ~MoveLoopWatchdog() {
    {
      std::lock_guard lock(mutex_);
      stop_ = true;
    }
    stopped_.notify_all();
    thread_.join();
  }
  MoveLoopWatchdog(const MoveLoopWatchdog&) = delete;
  MoveLoopWatchdog& operator=(const MoveLoopWatchdog&) = delete;

  bool Fired() {
    std::lock_guard lock(mutex_);
    return fired_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable stopped_;
  bool stop_ = false;
  bool fired_ = false;
  std::thread thread_;  // last: it starts once the rest is made
};

class FrameMouseTest : public SkinTest {
 protected:
  FrameMouseTest() { realMoveLoop = true; }

  // Dispatches whatever arrives until `done` holds or the time is up; true when it held. Notes
  // the timer ids that reach `hwnd` on the way.
  bool PumpUntil(HWND hwnd, const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
      if (std::chrono::steady_clock::now() > end) return false;
      MSG msg;
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_TIMER && msg.hwnd == hwnd) timerIds.push_back(msg.wParam);
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
      Sleep(5);
    }
    return true;
  }

  // A point of the window's client area on the screen.
  static POINT OnScreen(HWND hwnd, int x, int y) {
    POINT p{x, y};
    ClientToScreen(hwnd, &p);
    return p;
  }

  std::vector<WPARAM> timerIds;
};

TEST_F(FrameMouseTest, DraggingTheCaptionMovesTheWindowAndDraggingTheStripDoesNot) {
  HWND hwnd = AttachedFrame(320, 240);
  SkinnedWindow& window = Record(hwnd);
  ASSERT_EQ(GetForegroundWindow(), hwnd);
  const CaptionButtonPlace& minimize = window.strip.buttons[0];
  // Up and to the left: every gesture ends inside the window, so a release over a button would
  // reach it.
  const POINT by{-40, 30};

  const struct {
    const char* name;
    int x, y;
    bool moves;
  } cases[] = {
      {"caption", 100, 10, true},
      {"minimize button", minimize.hitX + 5, minimize.hitY + 4, false},
      {"close button", window.strip.buttons[1].hitX + 5, window.strip.buttons[1].hitY + 4, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const RECT before = WindowRect(hwnd);
    const POINT from = OnScreen(hwnd, c.x, c.y);
    ASSERT_EQ(WindowFromPoint(from), hwnd);
    Log().clear();
    {
      MoveLoopWatchdog watchdog(hwnd, std::chrono::seconds(5));
      Drag(from, by);
      // The move loop swallows the release; without one the release reaches the frame.
      const bool settled = PumpUntil(
          hwnd,
          [&] {
            const RECT now = WindowRect(hwnd);
            return c.moves ? now.left == before.left + by.x && now.top == before.top + by.y
                           : WasReceived(WM_LBUTTONUP, 0);
          },
          std::chrono::seconds(2));
      EXPECT_TRUE(settled);
      EXPECT_FALSE(watchdog.Fired()) << "the move loop never saw the release";
    }
    Pump();
    ASSERT_TRUE(IsWindow(hwnd)) << "a strip press ran the close command";
    const RECT after = WindowRect(hwnd);
    if (c.moves) {
      EXPECT_EQ(after.left, before.left + by.x);
      EXPECT_EQ(after.top, before.top + by.y);
    } else {
      EXPECT_EQ(after.left, before.left);
      EXPECT_EQ(after.top, before.top);
      EXPECT_FALSE(IsIconic(hwnd)) << "a strip press ran the minimize command";
    }
    EXPECT_EQ(after.right - after.left, 320);
    EXPECT_EQ(after.bottom - after.top, 240);
  }
}

TEST_F(FrameMouseTest, HoverFadesTheButtonInOnScreenAndLeavingFadesItOut) {
  HWND hwnd = AttachedFrame(320, 240);
  SkinnedWindow& window = Record(hwnd);
  ASSERT_EQ(window.captionButtons.size(), 2u);  // minimize and close
  const CaptionButtonPlace& minimize = window.strip.buttons[0];
  const CaptionButtonPlace& close = window.strip.buttons[1];
  const POINT away{900, 800};  // the bare desktop
  ASSERT_NE(WindowFromPoint(away), hwnd);

  MoveMouse(away);
  ASSERT_TRUE(PumpUntil(hwnd, [&] { return window.fade.hot == 0 && !window.fade.timerRunning; }, std::chrono::seconds(1)));
  // A point of each look away from its glyph, read back from the window on screen.
  auto look = [&](const CaptionButtonPlace& place) {
    return ScreenPixels(hwnd, 320, 240)[(place.lookY + 4) * 320 + place.lookX + 4] & 0xFFFFFF;
  };
  const std::uint32_t plainMinimize = look(minimize), plainClose = look(close);
  const std::uint32_t red = 0xFF0000, accent = 0x22CADD;  // accent 0xDDCA22 as RGB
  auto fadedIn = [&](int button) {
    return [&window, button] { return window.fade.hot == button && window.fade.in.step >= kFadeSteps; };
  };

  // Onto close: the fade timer starts with the window as its id, and close turns red.
  MoveMouse(OnScreen(hwnd, close.hitX + 5, close.hitY + 4));
  ASSERT_TRUE(PumpUntil(hwnd, fadedIn(2), std::chrono::seconds(2)));
  EXPECT_GE(timerIds.size(), static_cast<std::size_t>(kFadeSteps));
  for (WPARAM id : timerIds) EXPECT_EQ(id, reinterpret_cast<WPARAM>(hwnd));
  const std::uint32_t hotClose = look(close);
  EXPECT_LT(Distance(hotClose, red), Distance(plainClose, red) - 100);
  EXPECT_GT(Red(hotClose), Blue(hotClose));
  EXPECT_EQ(look(minimize), plainMinimize);
  SavePng(ScreenPixels(hwnd, 320, 240), 320, 240, "skinned_frame_close_hover.png");

  // Across to minimize: it takes the accent while close fades back to its plain look.
  MoveMouse(OnScreen(hwnd, minimize.hitX + 5, minimize.hitY + 4));
  ASSERT_TRUE(PumpUntil(
      hwnd, [&] { return fadedIn(1)() && window.fade.out.button == 2 && window.fade.out.step >= kFadeSteps; },
      std::chrono::seconds(2)));
  const std::uint32_t hotMinimize = look(minimize);
  EXPECT_LT(Distance(hotMinimize, accent), Distance(plainMinimize, accent) - 60);
  EXPECT_LT(Red(hotMinimize), Red(plainMinimize) - 20);  // the accent has little red; the sky more
  EXPECT_EQ(look(close), plainClose);

  // Off the window: only the leave notice tells the frame; minimize fades out and the timer goes.
  MoveMouse(away);
  EXPECT_TRUE(PumpUntil(hwnd, [&] { return !window.fade.timerRunning; }, std::chrono::seconds(2)));
  EXPECT_EQ(look(minimize), plainMinimize);
  EXPECT_EQ(look(close), plainClose);
  EXPECT_EQ(window.fade.hot, 0);
  EXPECT_FALSE(KillTimer(hwnd, reinterpret_cast<UINT_PTR>(hwnd)));  // already killed
  timerIds.clear();
  PumpUntil(hwnd, [] { return false; }, std::chrono::milliseconds(100));
  EXPECT_TRUE(timerIds.empty()) << "the fade timer still ticks";
}

TEST_F(FrameMouseTest, ClickingMinimizeAndCloseRunsTheirCommands) {
  HWND hwnd = AttachedFrame(320, 240);
  SkinnedWindow& window = Record(hwnd);
  const CaptionButtonPlace minimize = window.strip.buttons[0];
  const CaptionButtonPlace close = window.strip.buttons[1];

  Click(OnScreen(hwnd, minimize.hitX + 5, minimize.hitY + 4));
  EXPECT_TRUE(PumpUntil(hwnd, [&] { return IsIconic(hwnd) != FALSE; }, std::chrono::seconds(2)));
  EXPECT_TRUE(window.minimized);
  ShowWindow(hwnd, SW_RESTORE);
  SetForegroundWindow(hwnd);
  Pump();
  ASSERT_FALSE(IsIconic(hwnd));

  const POINT at = OnScreen(hwnd, close.hitX + 5, close.hitY + 4);
  ASSERT_EQ(WindowFromPoint(at), hwnd);
  Click(at);
  EXPECT_TRUE(PumpUntil(hwnd, [&] { return !IsWindow(hwnd); }, std::chrono::seconds(2)));
  EXPECT_EQ(engine->Registry().Count(), 0u);
}

}  // namespace
}  // namespace skin::testing
