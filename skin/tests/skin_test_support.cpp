#include "skin/tests/skin_test_support.h"

#include <fstream>

#include "assets/carried_pictures.h"
#include "draw/gdiplus_session.h"
#include "draw/image.h"
#include "draw/memory_stream.h"
#include "skin/gdi_handles.h"

namespace skin::testing {
namespace {

constexpr char kFrameClass[] = "SkinTestFrame";
constexpr char kMovableFrameClass[] = "SkinTestMovableFrame";

// Moves, sizing and the close command stop here: a modal move loop would wait for a real mouse.
LRESULT CALLBACK FrameTestProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Log().push_back({message, wParam});
  if (message == WM_NCLBUTTONDOWN) return 0;
  if (message == WM_SYSCOMMAND && ((wParam & 0xFFF0) == SC_MOVE || (wParam & 0xFFF0) == SC_SIZE)) return 0;
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

// Records the same, but leaves moves to the system's own move loop: for the tests that drag with
// the mouse.
LRESULT CALLBACK MovableFrameTestProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Log().push_back({message, wParam});
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

void RegisterFrameClasses() {
  static bool registered = false;
  if (registered) return;
  WNDCLASSA wc{};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = &FrameTestProcedure;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = kFrameClass;
  registered = RegisterClassA(&wc) != 0;
  wc.lpfnWndProc = &MovableFrameTestProcedure;
  wc.lpszClassName = kMovableFrameClass;
  registered = RegisterClassA(&wc) != 0 && registered;
}

// GDI+ stays up for the whole run: every engine starting and ending it costs seconds under Wine.
class KeepGdiplus : public ::testing::Environment {
 public:
  void SetUp() override { session_ = std::make_unique<draw::GdiplusSession>(); }
  void TearDown() override { session_.reset(); }

 private:
  std::unique_ptr<draw::GdiplusSession> session_;
};
const auto* const keepGdiplus = ::testing::AddGlobalTestEnvironment(new KeepGdiplus);

}  // namespace

std::vector<Received>& Log() {
  static std::vector<Received> log;
  return log;
}

bool WasReceived(UINT message, WPARAM wParam) {
  for (const auto& r : Log()) {
    if (r.message == message && r.wParam == wParam) return true;
  }
  return false;
}

void Pump() {
  MSG msg;
  for (int round = 0; round < 3; ++round) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(10);
  }
}

std::uint32_t BackgroundPixel(const SkinnedWindow& window, int x, int y) {
  GdiFlush();
  return window.backgroundBits[y * window.backgroundWidth + x] & 0xFFFFFF;
}

std::vector<std::uint32_t> ScreenPixels(HWND hwnd, int width, int height) {
  OffscreenSurface surface(width, height);
  WindowDc dc(hwnd);
  BitBlt(surface.dc.Get(), 0, 0, width, height, dc.Get(), 0, 0, SRCCOPY);
  GdiFlush();
  std::vector<std::uint32_t> pixels(surface.bits, surface.bits + width * height);
  for (auto& p : pixels) p |= 0xFF000000;
  return pixels;
}

void SavePng(const std::vector<std::uint32_t>& pixels, int width, int height, const char* name) {
  std::vector<std::uint32_t> copy = pixels;
  draw::Bitmap bitmap;
  ASSERT_TRUE(bitmap.Create(width, height, draw::kPixelFormat32bppArgb, width * 4, reinterpret_cast<BYTE*>(copy.data())));
  draw::MemoryStream stream(std::span<const std::uint8_t>{});
  ASSERT_TRUE(bitmap.SaveToStream(stream.Get(), draw::PngEncoder()));
  const auto bytes = stream.Bytes();
  std::ofstream(name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

SkinTest::SkinTest() : engine(std::make_unique<SkinEngine>()) {
  RegisterFrameClasses();
  Log().clear();
}

SkinTest::~SkinTest() {
  for (HWND hwnd : windows) {
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
  }
  Pump();
  engine.reset();
}

HWND SkinTest::MakeFrame(int x, int y, int width, int height, const char* title, DWORD style) {
  const char* windowClass = realMoveLoop ? kMovableFrameClass : kFrameClass;
  HWND hwnd = CreateWindowExA(0, windowClass, title, style, x, y, width, height, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  windows.push_back(hwnd);
  return hwnd;
}

HWND SkinTest::AttachedFrame(int width, int height, const char* title) {
  HWND hwnd = MakeFrame(60, 60, width, height, title);
  const auto picture = assets::Carried(assets::Picture::kBackground);
  engine->AttachFrame(hwnd, {}, {}, false, {}, {}, {}, {}, 0, nullptr, picture, 3);
  SetForegroundWindow(hwnd);
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  Pump();
  return hwnd;
}

HWND SkinTest::Child(HWND parent, const char* windowClass, DWORD style, int x, int y, int width, int height,
                     const char* text) {
  return CreateWindowExA(0, windowClass, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

SkinnedWindow& SkinTest::Record(HWND hwnd) {
  SkinnedWindow* window = engine->WindowOf(hwnd);
  if (!window) {
    ADD_FAILURE() << "window not in the registry";
    static SkinnedWindow none;
    return none;
  }
  return *window;
}

}  // namespace skin::testing
