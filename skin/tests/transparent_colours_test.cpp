// The frame's answers to its children's colour messages, which only the skin-children and the
// text-field switches together turn on.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "assets/carried_pictures.h"
#include "skin/skin_kinds.h"
#include "skin/tests/skin_test_support.h"
#include "skin/window_properties.h"

namespace skin::testing {
namespace {

constexpr int kWidth = 160, kHeight = 24;
constexpr COLORREF kInk = RGB(0xD0, 0x00, 0x00);

int Red(std::uint32_t p) { return (p >> 16) & 0xFF; }
int Green(std::uint32_t p) { return (p >> 8) & 0xFF; }
int Blue(std::uint32_t p) { return p & 0xFF; }
std::uint32_t Rgb(COLORREF c) { return GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c); }

// White laid at `alpha` over an opaque pixel.
std::uint32_t Veiled(std::uint32_t p, int alpha) {
  auto channel = [&](int shift) {
    const int c = (p >> shift) & 0xFF;
    return static_cast<std::uint32_t>((255 * alpha + c * (255 - alpha) + 127) / 255) << shift;
  };
  return channel(16) | channel(8) | channel(0);
}

bool Near(std::uint32_t a, std::uint32_t b) {
  return std::abs(Red(a) - Red(b)) <= 3 && std::abs(Green(a) - Green(b)) <= 3 && std::abs(Blue(a) - Blue(b)) <= 3;
}

struct Switches {
  bool skinChildren, textFields;
  bool On() const { return skinChildren && textFields; }
};
const Switches kSwitchCases[] = {{true, true}, {true, false}, {false, true}};

class TransparentColoursTest : public SkinTest {
 protected:
  TransparentColoursTest() {
    InitCommonControls();
    InstallSkinKinds(*engine);
  }

  // A frame over the sky with its controls, attached under the given switches and painted.
  HWND Attach(const Switches& switches, HWND frame) {
    engine->Settings().skinChildren = switches.skinChildren;
    engine->Settings().textFields = switches.textFields;
    engine->AttachFrame(frame, {}, {}, false, {}, {}, {}, {}, 0, nullptr, assets::Carried(assets::Picture::kBackground), 3);
    SetForegroundWindow(frame);
    RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump();
    return frame;
  }
};

TEST_F(TransparentColoursTest, EditAndLabelShowTheVeiledSkyOnlyWithBothSwitches) {
  for (const Switches& switches : kSwitchCases) {
    SCOPED_TRACE(::testing::Message() << "skin children " << switches.skinChildren << ", text fields " << switches.textFields);
    HWND frame = MakeFrame(60, 60, 400, 240);
    HWND edit = Child(frame, "Edit", ES_LEFT | ES_AUTOHSCROLL, 20, 60, kWidth, kHeight, "ab");
    // A plain static: no skinned kind takes it, so the frame has no record of it.
    HWND label = Child(frame, "Static", SS_LEFT, 20, 120, kWidth, kHeight, "ab");
    // A page control as the board has one: its children's colour messages go to the panel, and
    // its tint lies under them.
    HWND panel = Child(frame, "SysTabControl32", 0, 200, 40, 180, 160);
    HWND panelLabel = Child(panel, "Static", SS_LEFT, 10, 60, kWidth, kHeight, "ab");
    Attach(switches, frame);
    engine->AttachPanel(panel, {}, GetSysColor(COLOR_BTNFACE), 100);
    for (HWND control : {edit, label, panelLabel}) {
      props::Set(control, props::kTextColour, kInk);
      RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    Pump();
    SkinnedWindow& window = Record(frame);
    SavePng(ScreenPixels(frame, 400, 240), 400, 240,
            switches.On() ? "text_fields_veiled.png" : "text_fields_system_colours.png");

    const struct {
      const char* name;
      HWND hwnd;
      int systemColour;
    } controls[] = {{"edit", edit, COLOR_WINDOW}, {"label", label, COLOR_BTNFACE}, {"label on a panel", panelLabel, COLOR_BTNFACE}};
    for (const auto& control : controls) {
      SCOPED_TRACE(control.name);
      const auto screen = ScreenPixels(control.hwnd, kWidth, kHeight);
      // The sky under the control, with the tint of the panel it lies on.
      const auto behind = engine->BackgroundBehind(control.hwnd, false, &window);
      ASSERT_NE(behind, nullptr);
      GdiFlush();
      const std::uint32_t system = Rgb(GetSysColor(control.systemColour));
      // The right half carries no text: there the background alone shows.
      int veiled = 0, systemColoured = 0, ink = 0;
      const int total = kHeight * kWidth / 2;
      for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
          const std::uint32_t p = screen[y * kWidth + x] & 0xFFFFFF;
          if (x < kWidth / 2) {
            ink += Red(p) > Green(p) + 80 && Red(p) > Blue(p) + 80;
            continue;
          }
          veiled += Near(p, Veiled(behind->bits[y * behind->width + x] & 0xFFFFFF, engine->Settings().veilAlpha));
          systemColoured += p == system;
        }
      }
      if (switches.On()) {
        EXPECT_EQ(veiled, total);
        EXPECT_EQ(systemColoured, 0);
        EXPECT_GT(ink, 4) << "the text is not in the control's own colour";
      } else {
        EXPECT_EQ(systemColoured, total);
        EXPECT_EQ(ink, 0);
      }
    }

    // Each control's brush and the bitmap behind it are kept on it and go with the frame.
    std::vector<HGDIOBJ> kept;
    for (HWND control : {edit, label, panelLabel}) {
      for (const char* name : {props::kBackgroundBrush, props::kBackgroundBitmap}) {
        kept.push_back(reinterpret_cast<HGDIOBJ>(props::Get(control, name)));
      }
    }
    DestroyWindow(frame);
    for (HGDIOBJ object : kept) {
      if (switches.On()) {
        EXPECT_NE(object, nullptr);
      }
      EXPECT_EQ(GetObjectType(object), 0u) << "left behind";
    }
  }
}

TEST_F(TransparentColoursTest, ButtonsAndListBoxesGetTheHollowBrush) {
  // List boxes stay out of pixel checks: Wine fills their rows white whatever brush they get.
  for (const Switches& switches : kSwitchCases) {
    SCOPED_TRACE(::testing::Message() << "skin children " << switches.skinChildren << ", text fields " << switches.textFields);
    HWND frame = MakeFrame(60, 60, 400, 240);
    HWND list = Child(frame, "ListBox", LBS_NOTIFY, 20, 60, kWidth, 80);
    HWND button = Child(frame, "Button", BS_PUSHBUTTON, 20, 160, kWidth, kHeight, "ab");
    Attach(switches, frame);
    MemoryDc dc(nullptr);
    const struct {
      UINT message;
      HWND control;
      int systemColour;
    } cases[] = {{WM_CTLCOLORLISTBOX, list, COLOR_WINDOW}, {WM_CTLCOLORBTN, button, COLOR_BTNFACE}};
    for (const auto& c : cases) {
      SCOPED_TRACE(c.message);
      props::Set(c.control, props::kTextColour, kInk);
      SetTextColor(dc.Get(), 0);
      SetBkMode(dc.Get(), OPAQUE);
      const auto brush = reinterpret_cast<HBRUSH>(
          SendMessageA(frame, c.message, reinterpret_cast<WPARAM>(dc.Get()), reinterpret_cast<LPARAM>(c.control)));
      if (switches.On()) {
        EXPECT_EQ(brush, GetStockObject(NULL_BRUSH));
        EXPECT_EQ(GetTextColor(dc.Get()), kInk);
        EXPECT_EQ(GetBkMode(dc.Get()), TRANSPARENT);
      } else {
        EXPECT_EQ(brush, GetSysColorBrush(c.systemColour));
      }
    }
    DestroyWindow(frame);
  }
}

TEST_F(TransparentColoursTest, TextFieldNotificationsRepaintTheWholeControl) {
  for (const Switches& switches : kSwitchCases) {
    SCOPED_TRACE(::testing::Message() << "skin children " << switches.skinChildren << ", text fields " << switches.textFields);
    HWND frame = MakeFrame(60, 60, 400, 240);
    HWND edit = Child(frame, "Edit", ES_LEFT, 20, 40, kWidth, kHeight, "ab");
    HWND list = Child(frame, "ListBox", LBS_NOTIFY, 20, 80, kWidth, 60);
    HWND combo = Child(frame, "ComboBox", CBS_DROPDOWNLIST, 20, 160, kWidth, 100);
    Attach(switches, frame);
    const struct {
      HWND control;
      WORD code;
      bool repaints;
    } cases[] = {
        {edit, EN_CHANGE, true},       {edit, EN_UPDATE, true},        {edit, EN_HSCROLL, true},
        {edit, EN_VSCROLL, true},      {edit, EN_SETFOCUS, false},     {list, LBN_SELCHANGE, true},
        {list, LBN_SELCANCEL, true},   {list, LBN_DBLCLK, false},      {combo, CBN_SELCHANGE, true},
        {combo, CBN_KILLFOCUS, true},  {combo, CBN_DROPDOWN, false},
    };
    for (const auto& c : cases) {
      SCOPED_TRACE(::testing::Message() << "code " << c.code);
      ValidateRect(c.control, nullptr);
      SendMessageA(frame, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(c.control), c.code), reinterpret_cast<LPARAM>(c.control));
      RECT update{}, client{};
      GetClientRect(c.control, &client);
      const bool pending = GetUpdateRect(c.control, &update, FALSE);
      EXPECT_EQ(pending, switches.On() && c.repaints);
      if (pending) {
        EXPECT_TRUE(EqualRect(&update, &client));
      }
    }
    DestroyWindow(frame);
  }
}

}  // namespace
}  // namespace skin::testing
