#pragma once
// The skinned buttons: translucent rounded push buttons drawn over the window's background.
// Attached through the engine's child kinds; their owner-draw requests come back through the
// engine's draw-item handler from the frame and from panels.
#include <windows.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "draw/graphics.h"
#include "skin/button_styles.h"
#include "skin/skin_engine.h"
#include "skin/skinned_window.h"

namespace skin {

struct ButtonRecord : ControlRecord {
  static constexpr ControlKind kKind = ControlKind::kButtons;
  ButtonType kind = ButtonType::kPush;
  std::string text;  // in the program's code page; follows WM_SETTEXT
  bool focused = false;
  int checked = 0;          // check boxes and radio buttons: kept here, the owner-drawn style drops it
  bool autoToggle = false;  // an auto check box or auto radio button before it was skinned
  std::string fontName = "宋体";
  int fontSize = 12;  // points
  int fontStyle = 0;  // bold 1, italic 2, underline 4, strike-out 8
  // Push buttons: each look drawn so far, by state, kept while what it was drawn from stays.
  struct LooksSource {
    SurfaceStamp place;
    COLORREF textColour = 0, accent = 0;
    std::string text;
    bool operator==(const LooksSource&) const = default;
  };
  LooksSource looksSource;
  std::map<UINT, std::unique_ptr<OffscreenSurface>> looks;
};

// The button kinds for SetChildKinds, in attach order.
std::vector<ChildKind> ButtonKinds();
// Installs the button kinds and the draw-item handler on the engine.
void InstallButtons(SkinEngine& engine);

LRESULT CALLBACK ButtonProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Paints one push button into dc; state holds ODS_SELECTED, ODS_DISABLED, ODS_FOCUS, ODS_HOTLIGHT.
void DrawButton(HWND hwnd, HDC dc, UINT state, const RECT& rect);
// Paints the button on its own DC: ODS_HOTLIGHT added when hover is set, ODS_DISABLED when the
// button is disabled.
void RedrawButton(HWND hwnd, UINT state, bool hover);

// Steps every button kind starts with: the translucent white base, and the silver look when
// disabled.
void DrawButtonBase(draw::Graphics& graphics, const draw::GraphicsPath& shape, const draw::RectF& rect, bool disabled);

// Check boxes and radio buttons: the button base with the box (or circle) at the left and the
// text after it; state as for DrawButton.
void DrawCheckOrRadio(HWND hwnd, HDC dc, UINT state);
// The messages a check box or radio button answers itself; empty: the push-button handling goes on.
std::optional<LRESULT> CheckOrRadioMessage(HWND hwnd, ButtonRecord& record, SkinnedWindow& window, UINT message,
                                           WPARAM wParam, LPARAM lParam);

// Told of every push-button paint, whichever path asked for it; for measuring. Null: nobody.
void SetButtonPaintObserver(void (*observer)(HWND button));

// Strokes the path with widths 1 to steps in one pen; the strokes add up to a halo.
void DrawGlow(draw::Graphics& graphics, const draw::GraphicsPath& path, int steps, std::uint32_t argb);

}  // namespace skin
