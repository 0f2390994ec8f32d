#include "controls/win_support.h"

#include <cstring>

#include "controls/frame_rules.h"

namespace controls {

UnitFont::UnitFont(const forms::FontValue& font) {
  if (!font) return;
  LOGFONTA log{};
  log.lfHeight = font->height;
  log.lfWidth = font->width;
  log.lfEscapement = font->escapement;
  log.lfOrientation = font->orientation;
  log.lfWeight = font->weight;
  log.lfItalic = font->italic;
  log.lfUnderline = font->underline;
  log.lfStrikeOut = font->strikeOut;
  log.lfCharSet = font->charset;
  log.lfOutPrecision = font->outPrecision;
  log.lfClipPrecision = font->clipPrecision;
  log.lfQuality = font->quality;
  log.lfPitchAndFamily = font->pitchAndFamily;
  lstrcpynA(log.lfFaceName, font->FaceName().c_str(), LF_FACESIZE);
  font_.Reset(CreateFontIndirectA(&log));
}

HFONT UnitFont::Get() const {
  return font_.Get() ? font_.Get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

COLORREF ShownColour(std::uint32_t colour) {
  return colour == forms::kDefaultColour ? GetSysColor(COLOR_BTNFACE) : static_cast<COLORREF>(colour & 0xFFFFFF);
}

HINSTANCE ModuleInstance() { return GetModuleHandleA(nullptr); }

runtime::Value IntegerValue(std::int32_t value) { return runtime::Value::Adopt(runtime::ValueCell::Integer(value)); }
runtime::Value BoolValue(bool value) { return runtime::Value::Adopt(runtime::ValueCell::Bool(value)); }
runtime::Value TextResult(std::string_view text) { return runtime::Value(runtime::TextValue(text)); }
runtime::Value BytesResult(std::span<const std::uint8_t> bytes) {
  if (bytes.empty()) return runtime::Value::Adopt(runtime::ValueCell::ByteSet(nullptr));
  return runtime::Value(runtime::ByteSet(bytes));
}

std::string TextOf(const runtime::ValueCell& value) {
  const auto* text = static_cast<const char*>(value.Pointer());
  return text ? std::string(text) : std::string();
}

forms::ByteValue BytesOf(const runtime::ValueCell& value) {
  const runtime::ByteSetRef bytes = runtime::ByteSetRef::FromBlock(value.Pointer());
  return forms::ByteValue(bytes.data(), bytes.data() + bytes.size());
}

namespace {
constexpr std::size_t kLogFontSize = 60;
}

runtime::Value FontResult(const forms::FontValue& font) {
  if (!font) return BytesResult({});
  std::uint8_t bytes[kLogFontSize]{};
  const std::int32_t numbers[5] = {font->height, font->width, font->escapement, font->orientation, font->weight};
  std::memcpy(bytes, numbers, sizeof numbers);
  const std::uint8_t small[8] = {font->italic, font->underline, font->strikeOut, font->charset,
                                 font->outPrecision, font->clipPrecision, font->quality, font->pitchAndFamily};
  std::memcpy(bytes + 20, small, sizeof small);
  std::memcpy(bytes + 28, font->face.data(), font->face.size());
  return BytesResult(bytes);
}

forms::FontValue FontOf(const runtime::ValueCell& value) {
  const forms::ByteValue bytes = BytesOf(value);
  if (bytes.size() != kLogFontSize) return std::nullopt;
  forms::LogFont font;
  std::int32_t numbers[5];
  std::memcpy(numbers, bytes.data(), sizeof numbers);
  font.height = numbers[0];
  font.width = numbers[1];
  font.escapement = numbers[2];
  font.orientation = numbers[3];
  font.weight = numbers[4];
  font.italic = bytes[20];
  font.underline = bytes[21];
  font.strikeOut = bytes[22];
  font.charset = bytes[23];
  font.outPrecision = bytes[24];
  font.clipPrecision = bytes[25];
  font.quality = bytes[26];
  font.pitchAndFamily = bytes[27];
  std::memcpy(font.face.data(), bytes.data() + 28, font.face.size());
  return font;
}

std::string WindowText(HWND window) {
  const int length = GetWindowTextLengthA(window);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(copied));
  return text;
}

HWND CreateChild(const char* className, const char* text, DWORD style, const UnitCreateContext& context,
                 int height) {
  const forms::Geometry& g = context.record.geometry;
  return CreateWindowExA(0, className, text, WS_CHILD | WS_CLIPSIBLINGS | context.commonStyle | style, g.left,
                         g.top, g.width, height, context.parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(context.controlId)), ModuleInstance(),
                         nullptr);
}

void ApplyBorderStyle(HWND window, std::uint32_t style) {
  const BorderBits bits = ComputeBorder(style);
  LONG_PTR ex = GetWindowLongPtrA(window, GWL_EXSTYLE) & ~(WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME);
  if (bits.clientEdge) ex |= WS_EX_CLIENTEDGE;
  if (bits.staticEdge) ex |= WS_EX_STATICEDGE;
  if (bits.dialogModalFrame) ex |= WS_EX_DLGMODALFRAME;
  LONG_PTR plain = GetWindowLongPtrA(window, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_BORDER);
  if (bits.border) plain |= WS_BORDER;
  SetWindowLongPtrA(window, GWL_EXSTYLE, ex);
  SetWindowLongPtrA(window, GWL_STYLE, plain);
  SetWindowPos(window, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void ChildControl::SetFont(const forms::FontValue& font) {
  UnitFont next(font);
  SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(next.Get()), TRUE);
  font_ = std::move(next);
}

namespace {

LRESULT CALLBACK PaintedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* painter = reinterpret_cast<Painter*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      if (painter) painter->Paint(dc, paint.rcPaint);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_PRINTCLIENT: {
      RECT client;
      GetClientRect(window, &client);
      if (painter) painter->Paint(reinterpret_cast<HDC>(wParam), client);
      return 0;
    }
    case WM_ERASEBKGND: return 1;  // the painter covers the whole area
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

bool RegisterPaintedClass() {
  static const bool registered = [] {
    WNDCLASSA paintedClass{};
    paintedClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    paintedClass.lpfnWndProc = PaintedProc;
    paintedClass.hInstance = ModuleInstance();
    paintedClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    paintedClass.lpszClassName = kPaintedClass;
    return RegisterClassA(&paintedClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  return registered;
}

void SetPainter(HWND window, Painter* painter) {
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(painter));
  InvalidateRect(window, nullptr, FALSE);
}

}  // namespace controls
