#include "forms/kinds.h"

#include <array>
#include <iterator>

namespace forms {
namespace {

using T = PropertyType;
constexpr PropertyDescription P(std::string_view name, PropertyType type) { return {name, type, 0}; }

#define COMMON_PROPERTIES                                                             \
  P("Left", T::Int), P("Top", T::Int), P("Width", T::Int), P("Height", T::Int),      \
      P("Tag", T::Text), P("Visible", T::Bool), P("Disabled", T::Bool),              \
      P("MousePointer", T::Cursor)

constexpr PropertyDescription kWindowProperties[] = {
    COMMON_PROPERTIES,
    P("Caption", T::Text), P("BorderStyle", T::Pick), P("BackColor", T::Colour),
    P("BackPicture", T::Picture), P("", T::Pick), P("BackMusic", T::Sound), P("", T::Pick),
    P("ControlBox", T::Bool), P("MaxButton", T::Bool), P("MinButton", T::Bool),
    P("StartPosition", T::Pick), P("Movable", T::Bool), P("Icon", T::Icon),
    P("EnterMovesFocus", T::Bool), P("EscCloses", T::Bool), P("F1OpensHelp", T::Bool),
    P("HelpFile", T::FileName), P("HelpContext", T::Int), P("ShowInTaskbar", T::Bool),
    P("", T::Bool), P("", T::Pick), P("AlwaysOnTop", T::Bool), P("", T::Bool),
    P("ClassName", T::Text)};

constexpr PropertyDescription kMenuItemProperties[] = {
    P("Caption", T::Text), P("Checked", T::Bool), P("Disabled", T::Bool), P("Visible", T::Bool)};

constexpr PropertyDescription kPicBoxProperties[] = {
    COMMON_PROPERTIES,
    P("BorderStyle", T::Pick), P("BackColor", T::Colour), P("Picture", T::Picture), P("", T::Pick),
    P("", T::Bool), P("", T::Text), P("", T::Text)};

// No unit of this kind is stored; its own properties are not named by this program.
constexpr PropertyDescription kDrawPanelProperties[] = {
    COMMON_PROPERTIES,
    P("", T::Int), P("", T::Int), P("", T::Int), P("", T::Int), P("", T::Int), P("", T::Int),
    P("", T::Int), P("", T::Int), P("", T::Int), P("", T::Int), P("", T::Int), P("", T::Int),
    P("", T::Int), P("", T::Int), P("", T::Int), P("", T::Int), P("", T::Int)};

constexpr PropertyDescription kGroupBoxProperties[] = {
    COMMON_PROPERTIES,
    P("Caption", T::Text), P("", T::Pick), P("TextColor", T::Colour), P("BackColor", T::Colour),
    P("Font", T::Font)};

constexpr PropertyDescription kLabelProperties[] = {
    COMMON_PROPERTIES,
    P("Caption", T::Text), P("", T::Pick), P("BorderStyle", T::Pick), P("", T::Int),
    P("", T::Colour), P("", T::Colour), P("", T::Colour), P("Font", T::Font),
    P("TextColor", T::Colour), P("BackColor", T::Colour), P("Picture", T::Picture),
    P("", T::Int), P("", T::Int), P("", T::Colour), P("", T::Colour), P("", T::Colour),
    P("", T::Int), P("", T::Int), P("", T::Bool), P("", T::Text), P("", T::Text)};

constexpr PropertyDescription kButtonProperties[] = {
    COMMON_PROPERTIES,
    P("Picture", T::Picture), P("ButtonType", T::Pick), P("Caption", T::Text),
    P("HAlign", T::Pick), P("VAlign", T::Pick), P("Font", T::Font)};

constexpr PropertyDescription kComboBoxProperties[] = {
    COMMON_PROPERTIES,
    P("ComboType", T::Pick), P("", T::Int), P("", T::Int), P("", T::Int), P("", T::Int),
    P("", T::Int), P("", T::Int), P("", T::Colour), P("", T::Colour), P("", T::Bytes),
    P("", T::Bytes), P("CurrentIndex", T::Int), P("", T::Text), P("", T::Text), P("", T::Text),
    P("", T::Text), P("", T::Int)};

constexpr PropertyDescription kSliderBarProperties[] = {
    COMMON_PROPERTIES,
    P("BorderStyle", T::Pick), P("Orientation", T::Pick), P("TickMarks", T::Pick),
    P("TickFrequency", T::Int), P("SelectionShown", T::Bool), P("SelectionStart", T::Int),
    P("SelectionLength", T::Int), P("PageSize", T::Int), P("LineSize", T::Int),
    P("Minimum", T::Int), P("Maximum", T::Int), P("Position", T::Int)};

constexpr PropertyDescription kCommonDlgProperties[] = {
    COMMON_PROPERTIES,
    P("DialogType", T::Pick), P("Title", T::Text), P("FileName", T::FileName),
    P("Filter", T::Text), P("FilterIndex", T::Int), P("InitialDirectory", T::Text),
    P("DefaultExtension", T::Text), P("CreatePrompt", T::Bool), P("FileMustExist", T::Bool),
    P("OverwritePrompt", T::Bool), P("PathMustExist", T::Bool), P("NoChangeDirectory", T::Bool),
    P("", T::Int), P("", T::Int), P("", T::Int), P("", T::Int), P("", T::Int), P("", T::Text),
    P("", T::Int), P("", T::Text), P("", T::Int), P("", T::Int)};

constexpr auto MakePageControlProperties() {
  std::array<PropertyDescription, 8 + 55> properties{
      COMMON_PROPERTIES, P("", T::Int), P("", T::Int), P("Font", T::Font),
      P("Pages", T::Bytes), P("CurrentPage", T::Int)};
  for (std::size_t i = 13; i < properties.size(); ++i) properties[i] = P("", T::Int);
  return properties;
}
constexpr auto kPageControlProperties = MakePageControlProperties();

#undef COMMON_PROPERTIES

static_assert(std::size(kWindowProperties) == 8 + 24);
static_assert(std::size(kPicBoxProperties) == 8 + 7);
static_assert(std::size(kDrawPanelProperties) == 8 + 17);
static_assert(std::size(kGroupBoxProperties) == 8 + 5);
static_assert(std::size(kLabelProperties) == 8 + 21);
static_assert(std::size(kButtonProperties) == 8 + 6);
static_assert(std::size(kComboBoxProperties) == 8 + 17);
static_assert(std::size(kSliderBarProperties) == 8 + 12);
static_assert(std::size(kCommonDlgProperties) == 8 + 22);

constexpr EventDescription kCommonEvents[] = {
    {"LeftButtonDown", -1}, {"LeftButtonUp", -2},  {"DoubleClick", -3},     {"RightButtonDown", -4},
    {"RightButtonUp", -5},  {"MouseMove", -6},     {"GotFocus", -7},        {"LostFocus", -8},
    {"KeyDown", -9},        {"KeyUp", -10},        {"CharInput", -11},      {"WheelScrolled", -12}};

constexpr EventDescription kWindowEvents[] = {
    {"Created", 0}, {"CloseRequested", 1}, {"Destroying", 2}, {"Moved", 3},  {"Resized", 4},
    {"Idle", 7},    {"TrayNotify", 9},     {"Shown", 10},     {"Hidden", 11}};
constexpr EventDescription kButtonEvents[] = {{"Clicked", 0}};
constexpr EventDescription kComboBoxEvents[] = {
    {"SelectionMade", 0}, {"EditChanged", 1}, {"DroppedDown", 2}, {"ClosedUp", 3}, {"DoubleClicked", 4}};
constexpr EventDescription kSliderBarEvents[] = {{"PositionChanged", 0}};
constexpr EventDescription kLabelEvents[] = {{"Feedback", 0}};

using namespace kind_ids;
using namespace kind_state;

const KindDescription kKinds[] = {
    {kWindow, "窗口", "Window", 0, 6, kWindowProperties, kWindowEvents},
    {kMenuItem, "菜单", "MenuItem", 0, 0, kMenuItemProperties, {}},
    {kPicBox, "图片框", "PicBox", 0, 2, kPicBoxProperties, {}},
    {kDrawPanel, "画板", "DrawPanel", 0, 0, kDrawPanelProperties, {}},
    {kGroupBox, "分组框", "GroupBox", 0, 1, kGroupBoxProperties, {}},
    {kLabel, "标签", "Label", 0, 2, kLabelProperties, kLabelEvents},
    {kButton, "按钮", "Button", 0, 1, kButtonProperties, kButtonEvents},
    {kComboBox, "组合框", "ComboBox", 0, 3, kComboBoxProperties, kComboBoxEvents},
    {kSliderBar, "滑块条", "SliderBar", 0, 1, kSliderBarProperties, kSliderBarEvents},
    {kCommonDlg, "通用对话框", "CommonDlg", kNeverShown, 1, kCommonDlgProperties, {}},
    {kPageControl, "高级选择夹", "PageControl", kPagedContainer, 7, kPageControlProperties, {}},
};

}  // namespace

std::span<const KindDescription> AllKinds() { return kKinds; }

const KindDescription* FindKind(KindId id) {
  for (const auto& kind : kKinds) {
    if (kind.id == id) return &kind;
  }
  return nullptr;
}

const KindDescription* FindKindByEnglishName(std::string_view englishName) {
  for (const auto& kind : kKinds) {
    if (kind.englishName == englishName) return &kind;
  }
  return nullptr;
}

std::span<const EventDescription> CommonEvents() { return kCommonEvents; }

bool FindEventIndex(const KindDescription& kind, std::string_view name, std::int32_t& index) {
  for (const auto& event : kind.events) {
    if (event.name == name) {
      index = event.index;
      return true;
    }
  }
  for (const auto& event : kCommonEvents) {
    if (event.name == name) {
      index = event.index;
      return true;
    }
  }
  return false;
}

}  // namespace forms
