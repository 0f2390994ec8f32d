#pragma once
// What the kinds share on the Windows side: owners of GDI objects, the child-window base, value
// conversions and the runtime's own painting class.
#include <windows.h>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "controls/gdi_owners.h"
#include "controls/unit_kind.h"

namespace controls {

// The font of a stored LOGFONT, or the default GUI font when none is stored.
class UnitFont {
 public:
  UnitFont() = default;
  explicit UnitFont(const forms::FontValue& font);
  HFONT Get() const;

 private:
  GdiObject<HFONT> font_;
};

// 0xFF000000 is the button face.
COLORREF ShownColour(std::uint32_t colour);
HINSTANCE ModuleInstance();

// Value conversions for kind properties.
runtime::Value IntegerValue(std::int32_t value);
runtime::Value BoolValue(bool value);
runtime::Value TextResult(std::string_view text);
runtime::Value BytesResult(std::span<const std::uint8_t> bytes);
std::string TextOf(const runtime::ValueCell& value);
forms::ByteValue BytesOf(const runtime::ValueCell& value);
// A font property: a 60-byte LOGFONT, anything else the default font.
runtime::Value FontResult(const forms::FontValue& font);
forms::FontValue FontOf(const runtime::ValueCell& value);

std::string WindowText(HWND window);

// A child window of the common creation values with the kind's class and styles.
HWND CreateChild(const char* className, const char* text, DWORD style, const UnitCreateContext& context,
                 int height);
inline HWND CreateChild(const char* className, const char* text, DWORD style,
                        const UnitCreateContext& context) {
  return CreateChild(className, text, style, context, context.record.geometry.height);
}

// Replaces the border bits of a label, picture box or slider by those of `style`.
void ApplyBorderStyle(HWND window, std::uint32_t style);

// A control with its own child window, destroyed with it.
class ChildControl : public UnitControl {
 public:
  explicit ChildControl(HWND window) : window_(window) {}
  ChildControl(const ChildControl&) = delete;
  ChildControl& operator=(const ChildControl&) = delete;
  ~ChildControl() override {
    if (window_ && IsWindow(window_)) DestroyWindow(window_);
  }
  HWND Handle() const override { return window_; }
  std::optional<KindEvent> FromNotification(UINT, WPARAM, LPARAM) override { return std::nullopt; }
  std::optional<KindEvent> FromOwnMessage(UINT, WPARAM, LPARAM) override { return std::nullopt; }
  bool ClaimsKey(UINT) override { return false; }
  void AllUnitsCreated(const UnitLookup&) override {}

 protected:
  void SetFont(const forms::FontValue& font);

  HWND window_;
  UnitFont font_;
};

// The runtime's own class for the kinds it paints (label, picture box): the painter of each
// window gets its paint requests.
class Painter {
 public:
  virtual ~Painter() = default;
  // `update` is the area the request asks for; the painter draws only there.
  virtual void Paint(HDC dc, const RECT& update) = 0;
};
inline constexpr char kPaintedClass[] = "SbPaintedUnit";
// Registers the class once; the window's painter is set after creation.
bool RegisterPaintedClass();
void SetPainter(HWND window, Painter* painter);

// Per kind.
std::unique_ptr<UnitControl> CreateWindowUnit(const UnitCreateContext& context);
std::unique_ptr<UnitControl> CreateButton(const UnitCreateContext& context);
std::unique_ptr<UnitControl> CreateGroupBox(const UnitCreateContext& context);
std::unique_ptr<UnitControl> CreateComboBox(const UnitCreateContext& context);
std::unique_ptr<UnitControl> CreateSlider(const UnitCreateContext& context);
std::unique_ptr<UnitControl> CreateLabel(const UnitCreateContext& context);
std::unique_ptr<UnitControl> CreatePictureBox(const UnitCreateContext& context);
std::unique_ptr<UnitControl> CreateDrawingPanel(const UnitCreateContext& context);
std::unique_ptr<UnitControl> CreatePageControl(const UnitCreateContext& context);
std::unique_ptr<UnitControl> CreateCommonDialog(const UnitCreateContext& context);

// The stored settings of the unit's kind, or the kind's defaults when the unit has none.
template <typename Data>
Data DataOf(const UnitCreateContext& context) {
  const auto* data = std::get_if<Data>(&context.data);
  return data ? *data : Data{};
}

}  // namespace controls
