// The message loop with plain windows standing in for the program's windows.
#include "runtime/message_loop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace runtime {
namespace {

constexpr UINT kRun = WM_APP + 1;  // wParam: index of an action of the test

// Plain top-level (or child) windows whose death the loop hears about like a runtime window's.
class LoopTest : public ::testing::Test {
 protected:
  LoopTest() {
    current_ = this;
    hooks.anyWindowAlive = [this] { return !alive_.empty(); };
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &Procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "RuntimeLoopTestWindow";
    RegisterClassA(&windowClass);
    // A loop that never ends fails the test instead of hanging it.
    watchdog_ = SetTimer(nullptr, 0, 10000, nullptr);
  }
  ~LoopTest() override {
    KillTimer(nullptr, watchdog_);
    for (HWND window : std::vector<HWND>(alive_.begin(), alive_.end())) DestroyWindow(window);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
    current_ = nullptr;
  }

  // A child of `parent`, or a top-level window owned by `owner`.
  HWND MakeWindow(HWND parent = nullptr, HWND owner = nullptr, DWORD extendedStyle = 0) {
    HWND window = CreateWindowExA(extendedStyle, "RuntimeLoopTestWindow", "", parent ? WS_CHILD : WS_OVERLAPPED, 0,
                                  0, 50, 50, parent ? parent : owner, nullptr, GetModuleHandleA(nullptr), nullptr);
    alive_.push_back(window);
    return window;
  }

  // Posts an action that the window's procedure runs when the loop delivers it.
  void Later(HWND window, std::function<void()> action) {
    actions_.push_back(std::move(action));
    PostMessageA(window, kRun, actions_.size() - 1, 0);
  }

  static bool IsTopMost(HWND window) { return GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST; }

  bool QuitPending() {
    MSG message;
    return PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != 0;
  }

  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LoopTest* self = current_;
    if (self && message == kRun && wParam < self->actions_.size()) {
      self->actions_[wParam]();
      return 0;
    }
    if (self && message == WM_KEYDOWN) self->delivered.push_back(window);
    if (self && message == WM_TIMER && window && self->onTimer) self->onTimer();
    if (self && message == WM_NCDESTROY) {
      self->alive_.erase(std::remove(self->alive_.begin(), self->alive_.end(), window), self->alive_.end());
      self->loop.WindowDestroyed(window);
    }
    return DefWindowProcA(window, message, wParam, lParam);
  }

  // The watchdog's WM_TIMER has no window; it ends the main loop with a code no test uses.
  void StopOnWatchdog() {
    hooks.threadMessage = [](MSG& message) {
      if (message.message == WM_TIMER) {
        ADD_FAILURE() << "loop did not end";
        PostQuitMessage(99);
        return true;
      }
      return false;
    };
  }

  LoopHooks hooks;
  MessageLoop loop{hooks};
  std::vector<HWND> delivered;
  std::function<void()> onTimer;

 private:
  static inline LoopTest* current_ = nullptr;
  std::vector<HWND> alive_;
  std::vector<std::function<void()>> actions_;
  UINT_PTR watchdog_ = 0;
};

TEST_F(LoopTest, LastWindowEndsTheLoopOnlyOnceTheLoopWasEntered) {
  StopOnWatchdog();
  // Gone during start-up: no quit, and the loop then has nothing to run for.
  DestroyWindow(MakeWindow());
  EXPECT_FALSE(QuitPending());
  loop.Run();
  EXPECT_TRUE(loop.Entered());

  HWND first = MakeWindow();
  HWND second = MakeWindow();
  Later(first, [&] { DestroyWindow(first); });
  Later(second, [&] {
    EXPECT_FALSE(QuitPending());  // one window was still alive when the first went
    DestroyWindow(second);
  });
  loop.Run();
  EXPECT_EQ(loop.QuitCode(), 0);
  EXPECT_FALSE(IsWindow(second));
}

TEST_F(LoopTest, ModalLoopEndsWhenItsWindowGoesAndNests) {
  StopOnWatchdog();
  HWND main = MakeWindow();
  HWND outer = MakeWindow(nullptr, main);
  HWND inner = MakeWindow(nullptr, outer);
  std::vector<std::string> steps;
  Later(main, [&] {
    steps.push_back("outer runs");
    Later(outer, [&] {
      steps.push_back(IsTopMost(outer) ? "inner runs, outer top-most" : "inner runs");
      Later(inner, [&] { DestroyWindow(inner); });
      loop.RunModal(inner);
      steps.push_back(loop.CurrentModal() == outer ? "inner ended, outer current" : "inner ended");
      Later(outer, [&] { DestroyWindow(outer); });
    });
    loop.RunModal(outer);
    steps.push_back(loop.CurrentModal() == nullptr ? "outer ended, none current" : "outer ended");
    DestroyWindow(main);
  });
  loop.Run();
  EXPECT_EQ(steps, (std::vector<std::string>{"outer runs", "inner runs", "inner ended, outer current",
                                             "outer ended, none current"}));
}

TEST_F(LoopTest, QuitDuringModalLoopEndsItAndThenTheMainLoop) {
  StopOnWatchdog();
  // The dialog of a top-most window becomes top-most itself.
  HWND main = MakeWindow(nullptr, nullptr, WS_EX_TOPMOST);
  HWND dialog = MakeWindow(nullptr, main);
  bool modalReturned = false;
  bool dialogTopMost = false;
  Later(main, [&] {
    Later(dialog, [&] {
      dialogTopMost = IsTopMost(dialog);
      PostQuitMessage(5);
    });
    loop.RunModal(dialog);
    modalReturned = true;
  });
  loop.Run();
  EXPECT_TRUE(modalReturned);
  EXPECT_TRUE(dialogTopMost);
  EXPECT_TRUE(IsWindow(dialog));  // the quit, not the window, ended both loops
  EXPECT_EQ(loop.QuitCode(), 5);
}

TEST_F(LoopTest, IdleRoutinesRunNewestFirstAndGoWithTheirWindow) {
  StopOnWatchdog();
  HWND main = MakeWindow();
  HWND helper = MakeWindow();
  struct Counts {
    std::vector<char> order;
    int helperCalls = 0;
    int mainCalls = 0;
    HWND helper;
    HWND main;
  } counts;
  counts.helper = helper;
  counts.main = main;
  loop.RegisterIdleRoutine(helper, [](void* data) {
    auto* c = static_cast<Counts*>(data);
    c->order.push_back('h');
    ++c->helperCalls;
    DestroyWindow(c->helper);  // gone after its first idle call
  }, &counts);
  loop.RegisterIdleRoutine(main, [](void* data) {
    auto* c = static_cast<Counts*>(data);
    c->order.push_back('m');
    if (++c->mainCalls == 3) PostMessageA(c->main, WM_CLOSE, 0, 0);
  }, &counts);
  loop.Run();
  ASSERT_GE(counts.order.size(), 2u);
  EXPECT_EQ(counts.order[0], 'm');
  EXPECT_EQ(counts.order[1], 'h');
  EXPECT_EQ(counts.helperCalls, 1);
  EXPECT_EQ(counts.mainCalls, 3);
}

TEST_F(LoopTest, PaintDoesNotStartANewIdlePeriodButOtherMessagesDo) {
  StopOnWatchdog();
  HWND main = MakeWindow();
  struct State {
    HWND main;
    int calls = 0;
  } state{main};
  // Without window idle events a period makes three idle passes.
  loop.RegisterIdleRoutine(main, [](void* data) {
    auto* s = static_cast<State*>(data);
    ++s->calls;
    if (s->calls == 3) {
      PostMessageA(s->main, WM_PAINT, 0, 0);
      SetTimer(s->main, 1, 50, nullptr);
    }
    if (s->calls == 6) PostMessageA(s->main, WM_CLOSE, 0, 0);
  }, &state);
  int callsWhenTimerCame = -1;
  onTimer = [&] {
    KillTimer(main, 1);
    callsWhenTimerCame = state.calls;
  };
  loop.Run();
  EXPECT_EQ(callsWhenTimerCame, 3);
  EXPECT_EQ(state.calls, 6);
}

TEST_F(LoopTest, IdleEventsUntilEachWindowDeclines) {
  StopOnWatchdog();
  HWND main = MakeWindow();
  std::map<std::uint32_t, int> asked;
  std::vector<std::uint32_t> elapsed;
  hooks.loadedWindowIds = [] { return std::vector<std::uint32_t>{1, 2}; };
  hooks.raiseIdleEvent = [&](std::uint32_t id, std::uint32_t ms) {
    ++asked[id];
    elapsed.push_back(ms);
    if (id == 1 && asked[1] == 3) Later(main, [&] { DestroyWindow(main); });
    return id == 1 && asked[1] < 3;  // window 1 wants three calls, window 2 none
  };
  loop.Run();
  EXPECT_EQ(asked[1], 3);
  EXPECT_EQ(asked[2], 1);
  EXPECT_TRUE(std::is_sorted(elapsed.begin(), elapsed.end()));
}

TEST_F(LoopTest, PreTranslateWalksUpToTheMainWindow) {
  StopOnWatchdog();
  HWND outside = MakeWindow();
  HWND main = MakeWindow();
  HWND child = MakeWindow(main);
  std::vector<std::string> asked;
  loop.SetMainWindow(main);
  loop.SetPreTranslateHook(child, [&](MSG& message) {
    asked.push_back("child");
    return message.wParam == 'C';
  });
  loop.SetPreTranslateHook(main, [&](MSG& message) {
    asked.push_back("main");
    return message.wParam == 'M';
  });
  std::vector<UINT> threadMessages;
  hooks.threadMessage = [&](MSG& message) {
    if (message.message == WM_TIMER) PostQuitMessage(99);  // the watchdog
    threadMessages.push_back(message.message);
    return true;
  };
  PostMessageA(child, WM_KEYDOWN, 'C', 0);
  PostMessageA(child, WM_KEYDOWN, 'M', 0);
  PostMessageA(child, WM_KEYDOWN, 'X', 0);
  PostThreadMessageA(GetCurrentThreadId(), WM_APP + 7, 0, 0);
  // Outside the main window's tree: no hook is asked.
  Later(outside, [&] {
    DestroyWindow(main);
    DestroyWindow(outside);
  });
  loop.Run();
  EXPECT_EQ(asked, (std::vector<std::string>{"child", "child", "main", "child", "main"}));
  EXPECT_EQ(delivered, std::vector<HWND>{child});  // only 'X' got through
  EXPECT_EQ(threadMessages, std::vector<UINT>{WM_APP + 7});
}

}  // namespace
}  // namespace runtime
