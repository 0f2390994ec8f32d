// The window unit: a top-level window of the runtime's window class whose frame follows the
// stored border settings exactly, whatever the system adds at creation.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "controls/background_music.h"
#include "controls/frame_rules.h"
#include "controls/picture.h"
#include "controls/picture_fit.h"
#include "controls/win_support.h"

namespace controls {
namespace {

constexpr char kDefaultWindowClass[] = "WTWindow";

bool RegisterDefaultWindowClass() {
  static const bool registered = [] {
    WNDCLASSA windowClass{};
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = ModuleInstance();
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kDefaultWindowClass;
    // The runtime may have registered it already.
    return RegisterClassA(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  return registered;
}

constexpr DWORD kFrameBits = WS_BORDER | WS_DLGFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

DWORD FrameStyle(const WindowFrame& frame) {
  DWORD style = 0;
  if (frame.caption) style |= WS_CAPTION;
  if (frame.sysMenu) style |= WS_SYSMENU;
  if (frame.dialogFrame) style |= WS_DLGFRAME;
  if (frame.maximizeBox) style |= WS_MAXIMIZEBOX;
  if (frame.minimizeBox) style |= WS_MINIMIZEBOX;
  return style;
}

HICON DefaultIcon(bool small) {
  const int size = small ? GetSystemMetrics(SM_CXSMICON) : GetSystemMetrics(SM_CXICON);
  HANDLE icon = LoadImageA(ModuleInstance(), MAKEINTRESOURCEA(1), IMAGE_ICON, size, size, LR_SHARED);
  return icon ? static_cast<HICON>(icon) : LoadIconA(nullptr, IDI_APPLICATION);
}

class WindowUnit final : public UnitControl {
 public:
  WindowUnit(HWND window, forms::WindowData data)
      : window_(window), data_(std::move(data)), backPicture_(DecodePicture(data_.backPicture)) {
    SetWindowSubclass(window_, &BackgroundProcedure, 0, reinterpret_cast<DWORD_PTR>(this));
  }
  ~WindowUnit() override { RemoveWindowSubclass(window_, &BackgroundProcedure, 0); }
  // The window belongs to the runtime, which destroys it when the window closes.
  HWND Handle() const override { return window_; }

  void ApplyFrame() {
    const WindowFrame frame = ComputeWindowFrame(data_);
    const LONG_PTR live = GetWindowLongPtrA(window_, GWL_STYLE);
    LONG_PTR style = (live & ~static_cast<LONG_PTR>(kFrameBits | WS_THICKFRAME)) | FrameStyle(frame);
    if (frame.thickFrame) style |= WS_THICKFRAME;
    LONG_PTR ex = GetWindowLongPtrA(window_, GWL_EXSTYLE) & ~(WS_EX_TOOLWINDOW | WS_EX_CLIENTEDGE);
    if (frame.toolWindow) ex |= WS_EX_TOOLWINDOW;
    if (frame.clientEdge) ex |= WS_EX_CLIENTEDGE;
    SetWindowLongPtrA(window_, GWL_STYLE, style);
    SetWindowLongPtrA(window_, GWL_EXSTYLE, ex);
    SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
  void ApplyTopMost() {
    SetWindowPos(window_, data_.alwaysOnTop == 1 ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  void ApplyMovable() {
    // Reverting first gives back a removed Move before removing it again.
    GetSystemMenu(window_, TRUE);
    if (data_.movable == 0) {
      if (HMENU menu = GetSystemMenu(window_, FALSE)) DeleteMenu(menu, SC_MOVE, MF_BYCOMMAND);
    }
  }
  // The stored icon when it decodes to one, else the runtime's default icon.
  void ApplyIcons() {
    icon_ = DecodePicture(data_.icon);
    if (icon_ && icon_->GetType() == Picture::Type::Bitmap) icon_.reset();
    const auto own = icon_ ? reinterpret_cast<LPARAM>(icon_->ButtonImage()) : 0;
    SendMessageA(window_, WM_SETICON, ICON_BIG, own ? own : reinterpret_cast<LPARAM>(DefaultIcon(false)));
    SendMessageA(window_, WM_SETICON, ICON_SMALL, own ? own : reinterpret_cast<LPARAM>(DefaultIcon(true)));
  }

  void StartMusic() { music_.Play(data_.backMusic); }

  bool ReadProperty(int kindIndex, runtime::Value& value) override {
    const std::uint32_t* number = Number(kindIndex);
    if (number) {
      value = kindIndex == 2 || kindIndex == 1 || kindIndex == 4 || kindIndex == 6 || kindIndex == 10 ||
                      kindIndex == 17 || kindIndex == 20
                  ? IntegerValue(static_cast<std::int32_t>(*number))
                  : BoolValue(*number == 1);
      return true;
    }
    switch (kindIndex) {
      case 0: value = TextResult(WindowText(window_)); return true;
      case 3: value = BytesResult(data_.backPicture); return true;
      case 5: value = BytesResult(data_.backMusic); return true;
      case 12: value = BytesResult(data_.icon); return true;
      case 16: value = TextResult(data_.helpFile); return true;
      case 23: value = TextResult(data_.className); return true;
      default: return false;
    }
  }

  WriteOutcome WriteProperty(int kindIndex, const runtime::ValueCell& value) override {
    if (std::uint32_t* number = Number(kindIndex)) {
      *number = value.low;
      switch (kindIndex) {
        case 1: case 7: case 8: case 9: ApplyFrame(); break;
        case 2: case 4: InvalidateRect(window_, nullptr, TRUE); break;
        case 11: ApplyMovable(); break;
        case 21: ApplyTopMost(); break;
        default: break;
      }
      return WriteOutcome::Done;
    }
    switch (kindIndex) {
      case 0:
        data_.caption = TextOf(value);
        SetWindowTextA(window_, data_.caption.c_str());
        return WriteOutcome::Done;
      case 3:
        data_.backPicture = BytesOf(value);
        backPicture_ = DecodePicture(data_.backPicture);
        InvalidateRect(window_, nullptr, TRUE);
        return WriteOutcome::Done;
      case 5:
        data_.backMusic = BytesOf(value);
        StartMusic();
        return WriteOutcome::Done;
      case 12:
        data_.icon = BytesOf(value);
        ApplyIcons();
        return WriteOutcome::Done;
      case 16: data_.helpFile = TextOf(value); return WriteOutcome::Done;
      case 23: data_.className = TextOf(value); return WriteOutcome::Done;
      default: return WriteOutcome::Unknown;
    }
  }

  // The window's events come from the runtime's own window procedure.
  std::optional<KindEvent> FromNotification(UINT, WPARAM, LPARAM) override { return std::nullopt; }
  std::optional<KindEvent> FromOwnMessage(UINT, WPARAM, LPARAM) override { return std::nullopt; }
  bool ClaimsKey(UINT) override { return false; }
  void AllUnitsCreated(const UnitLookup&) override {}
  forms::KindData CurrentData() const override {
    forms::WindowData data = data_;
    data.caption = WindowText(window_);
    return data;
  }

 private:
  // The stored back colour and picture, when the window has either; else the class's button face.
  bool OwnsBackground() const { return data_.backColor != forms::kDefaultColour || backPicture_; }
  void PaintBackground(HDC dc) const {
    RECT client;
    GetClientRect(window_, &client);
    const GdiObject<HBRUSH> brush(CreateSolidBrush(ShownColour(data_.backColor)));
    FillRect(dc, &client, brush.Get());
    if (!backPicture_) return;
    // Placement as a picture box's display modes: 0 own size at the top-left, 1 stretched,
    // 2 fitted and centred.
    const SIZE size = backPicture_->Size();
    const PlacedRect at = PlacePicture(data_.picturePlacement, client.right, client.bottom, size.cx, size.cy);
    backPicture_->Draw(dc, RECT{at.left, at.top, at.left + at.width, at.top + at.height});
  }
  static LRESULT CALLBACK BackgroundProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                              UINT_PTR, DWORD_PTR data) {
    const auto* unit = reinterpret_cast<const WindowUnit*>(data);
    if (unit->OwnsBackground()) {
      switch (message) {
        case WM_ERASEBKGND:
          unit->PaintBackground(reinterpret_cast<HDC>(wParam));
          return 1;
        case WM_PRINTCLIENT:
          unit->PaintBackground(reinterpret_cast<HDC>(wParam));
          return 0;
        case WM_SIZE:
          if (unit->backPicture_ && unit->data_.picturePlacement != 0) InvalidateRect(window, nullptr, TRUE);
          break;
        default: break;
      }
    }
    return DefSubclassProc(window, message, wParam, lParam);
  }

  // The window's numeric settings by kind index (property 8 + index).
  std::uint32_t* Number(int kindIndex) {
    switch (kindIndex) {
      case 1: return &data_.borderStyle;
      case 2: return &data_.backColor;
      case 4: return &data_.picturePlacement;
      case 6: return &data_.property14;
      case 7: return &data_.controlBox;
      case 8: return &data_.maxButton;
      case 9: return &data_.minButton;
      case 10: return &data_.startPosition;
      case 11: return &data_.movable;
      case 13: return &data_.enterMovesFocus;
      case 14: return &data_.escCloses;
      case 15: return &data_.f1OpensHelp;
      case 17: return &data_.helpContext;
      case 18: return &data_.showInTaskbar;
      case 19: return &data_.property27;
      case 20: return &data_.shape;
      case 21: return &data_.alwaysOnTop;
      case 22: return &data_.property30;
      default: return nullptr;
    }
  }

  HWND window_;
  forms::WindowData data_;
  std::unique_ptr<Picture> icon_;
  std::unique_ptr<Picture> backPicture_;
  BackgroundMusic music_;
};

}  // namespace

std::unique_ptr<UnitControl> CreateWindowUnit(const UnitCreateContext& context) {
  const forms::WindowData data = DataOf<forms::WindowData>(context);
  if (data.className.empty() && !RegisterDefaultWindowClass()) return nullptr;
  const WindowFrame frame = ComputeWindowFrame(data);
  DWORD style = WS_CLIPCHILDREN | context.commonStyle | FrameStyle(frame);
  DWORD ex = 0;
  if (frame.thickFrame) style |= WS_THICKFRAME;
  if (frame.toolWindow) ex |= WS_EX_TOOLWINDOW;
  if (frame.clientEdge) ex |= WS_EX_CLIENTEDGE;
  forms::Geometry g = context.record.geometry;
  if (data.startPosition == 1) {
    g.left = (GetSystemMetrics(SM_CXSCREEN) - g.width) / 2;
    g.top = (GetSystemMetrics(SM_CYSCREEN) - g.height) / 2;
  } else if (data.startPosition == 2) {
    style |= WS_MINIMIZE;
  } else if (data.startPosition == 3 && frame.thickFrame) {
    style |= WS_MAXIMIZE;
  }
  if (context.popup) style |= WS_POPUP;
  const char* className = data.className.empty() ? kDefaultWindowClass : data.className.c_str();
  HWND window = CreateWindowExA(ex, className, data.caption.c_str(), style, g.left, g.top, g.width, g.height,
                                context.parent, nullptr, ModuleInstance(), nullptr);
  if (!window) return nullptr;
  auto unit = std::make_unique<WindowUnit>(window, data);
  // The system gives a top-level window that is no popup a caption of its own; take it back.
  unit->ApplyFrame();
  RECT outer;
  GetWindowRect(window, &outer);
  if (outer.right - outer.left != g.width || outer.bottom - outer.top != g.height) {
    SetWindowPos(window, nullptr, 0, 0, g.width, g.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  unit->ApplyIcons();
  SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  if (data.alwaysOnTop == 1) unit->ApplyTopMost();
  if (data.movable == 0) unit->ApplyMovable();
  unit->StartMusic();
  return unit;
}

}  // namespace controls
