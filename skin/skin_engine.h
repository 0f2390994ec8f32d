#pragma once
// The skin engine: one object for the process. It subclasses the window given to AttachFrame and
// the controls inside it, keeps their records in the registry, and paints the frame, its caption
// and caption buttons over the composed background.
//
// Entry points the board calls, in its window's Created handler (optional arguments are
// std::optional; an empty one takes the default):
//   AttachFrame(hwnd, captionHeight, captionButtonsActive, dblClickMaximizes, showHelp, showMenu,
//               showCaptionText, captionGloss, extraItemCount, extraItems, picture, pictureMode)
//   AttachPanel(hwnd, cornerFlag, colour, alpha, spare)
//   AttachTransparentLabel(hwnd, keyColour)
// All of it runs on the GUI thread inside window procedures and never throws.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "draw/font.h"
#include "draw/gdiplus_session.h"
#include "runtime/values/byte_set.h"
#include "skin/gdi_handles.h"
#include "skin/skin_registry.h"
#include "skin/skinned_window.h"
#include "skin/working_set_trim.h"

namespace skin {

struct SkinSettings {
  HICON captionIcon = nullptr;
  bool firstSize = true;
  bool skinChildren = true;
  bool textFields = false;
  int veilAlpha = 160;
  COLORREF accent = 0xDDCA22;
  bool accentSwitch = true;
  int defaultPictureMode = 0;
  COLORREF defaultFill = 0;  // GetSysColor(COLOR_BTNFACE) when the engine is made
};

// The caption icon of a module: its icon 129, else its icon named "DEFAULT_ICON"; null when it
// has neither. Shared icons: nothing to destroy.
HICON LoadCaptionIcon(HMODULE module);

// One kind of child control the engine skins: where it is found, which of those it takes, and
// the procedure it subclasses them with. The kinds themselves come with their painting.
struct ChildKind {
  ControlKind array;
  const char* windowClass;
  bool (*accepts)(HWND child, LONG_PTR style);
  WNDPROC procedure;
  std::unique_ptr<ControlRecord> (*makeRecord)() = nullptr;  // null: a plain ControlRecord
  // Fills the kind's own fields once the child is subclassed; null: nothing to fill.
  void (*attached)(HWND child, ControlRecord& record) = nullptr;
};

class SkinEngine {
 public:
  SkinEngine();
  ~SkinEngine();
  SkinEngine(const SkinEngine&) = delete;
  SkinEngine& operator=(const SkinEngine&) = delete;

  // The engine the window procedures work for; null before it is made and after it is gone.
  static SkinEngine* Current();

  SkinSettings& Settings() { return settings_; }
  SkinRegistry& Registry() { return registry_; }
  WorkingSetTrim& Trim() { return trim_; }
  // The kinds AttachFrame and AttachPanel look for, in attach order.
  void SetChildKinds(std::vector<ChildKind> kinds) { childKinds_ = std::move(kinds); }
  // Owner-draw requests reaching the frame (the buttons' drawing); unset: passed on.
  void SetDrawItemHandler(std::function<bool(HWND, const DRAWITEMSTRUCT&)> handler) { drawItem_ = std::move(handler); }
  // Hands an owner-draw request to that handler; false when none took it.
  bool ForwardDrawItem(HWND owner, const DRAWITEMSTRUCT& item) { return drawItem_ && drawItem_(owner, item); }
  // The program's handlers of the help and main-menu caption buttons; none by default.
  void SetCaptionHandlers(std::function<void(HWND)> help, std::function<void(HWND)> menu);

  LRESULT FrameMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void RunCaptionCommand(HWND hwnd, int button);

  void AttachFrame(HWND hwnd, std::optional<int> captionHeight = {}, std::optional<bool> captionButtonsActive = {},
                   std::optional<bool> dblClickMaximizes = {}, std::optional<bool> showHelp = {},
                   std::optional<bool> showMenu = {}, std::optional<bool> showCaptionText = {},
                   std::optional<bool> captionGloss = {}, int extraItemCount = 0, const void* extraItems = nullptr,
                   runtime::ByteSetRef picture = {}, std::optional<int> pictureMode = {});
  void AttachPanel(HWND hwnd, std::optional<bool> cornerFlag, COLORREF colour, std::optional<int> alpha = {},
                   std::optional<int> spare = {});
  void AttachTransparentLabel(HWND hwnd, std::optional<COLORREF> keyColour = {});
  // Attaches the direct children of `parent` of every kind, for the window at registryIndex.
  void AttachChildren(std::size_t registryIndex, HWND parent);

  // Rebuilds the cached background of the window and copies it to the window.
  void ComposeBackground(SkinnedWindow& window);
  void ShowBackground(SkinnedWindow& window, HDC target);

  // Registry entry of a skinned window, or of the window owning an attached control.
  SkinnedWindow* WindowOf(HWND hwnd) const;
  SkinnedWindow* OwnerOf(HWND control) const;
  ControlRecord* RecordOf(HWND control, ControlKind kind) const;
  // The owning window, the record and its index at once, each property read once: what a
  // control's procedure asks at every message (each read is a trip to the system).
  struct Attachment {
    SkinnedWindow* window = nullptr;
    ControlRecord* record = nullptr;
    int index = 0;
  };
  Attachment AttachmentOf(HWND control, ControlKind kind) const;
  // The owning window's background under the control, with a panel's tint laid over it;
  // null surface when the control has no skinned owner. wholeWindow: the control's window
  // rectangle, borders included, instead of its client area. owner: the window to take it from
  // when the control has no record (a plain child the frame answers for).
  std::unique_ptr<OffscreenSurface> BackgroundBehind(HWND control, bool wholeWindow = false,
                                                     const SkinnedWindow* owner = nullptr) const;
  // Where the control's client area lies in the window's background, and its version.
  static SurfaceStamp StampOf(const SkinnedWindow& window, HWND control);

  // Draws one caption button: alpha 0 plain, up to 240 highlighted; or pressed.
  void DrawCaptionButton(SkinnedWindow& window, int button, int alpha, bool pressed);
  int PressedCaptionButton() const { return pressedCaptionButton_; }

  // A child's WM_CTLCOLOR* answer of `window` (the frame or one of its panels): text in the
  // child's own colour on its background under the white veil, the hollow brush for buttons,
  // list and combo boxes. Only with the skin-children and text-field switches on.
  LRESULT TransparentColours(SkinnedWindow& window, UINT message, HDC dc, HWND control);

 private:
  void Cleanup(HWND hwnd);
  // The panel's kept layer, drawn again when its stamp is stale; null when it cannot be drawn.
  const OffscreenSurface* PanelLayer(const SkinnedWindow& window, PanelRecord& panel) const;
  std::unique_ptr<OffscreenSurface> ComposeBehind(const SkinnedWindow& window, HWND control, bool wholeWindow) const;
  // The brushes and bitmaps the colour answers left on the window's children, its panels'
  // included. The children are gone by the frame's WM_NCDESTROY, their properties with them:
  // they are freed at WM_DESTROY, while they still exist.
  void FreeChildBackgrounds(SkinnedWindow& window);
  void LayoutCaption(SkinnedWindow& window);
  void DrawCaptionText(SkinnedWindow& window);
  void OnPress(SkinnedWindow& window, int x, int y);
  void OnMouseMove(SkinnedWindow& window, int x, int y);
  void OnRelease(SkinnedWindow& window, int x, int y);
  void OnTimer(SkinnedWindow& window);
  void OnMouseLeave(SkinnedWindow& window);
  void DrawLooks(SkinnedWindow& window, const std::vector<ButtonLook>& looks);
  bool OnMaximizedSize(SkinnedWindow& window);

  draw::GdiplusSession gdiplus_;
  SkinSettings settings_;
  SkinRegistry registry_;
  WorkingSetTrim trim_;
  std::vector<ChildKind> childKinds_;
  std::function<bool(HWND, const DRAWITEMSTRUCT&)> drawItem_;
  std::function<void(HWND)> helpHandler_;
  std::function<void(HWND)> menuHandler_;
  int pressedCaptionButton_ = 0;
};

// The frame handler installed by AttachFrame, and the panel procedure (labels: transparent_label.h).
LRESULT CALLBACK FrameProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK PanelProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Calls the procedure stored in the given property, DefWindowProcA when none.
LRESULT CallStoredProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, const char* property);
// A skinned control's message to the procedure it had before it was subclassed ("Hw_hProc").
LRESULT PassOn(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// The current engine's record of a skinned control of the record type's kind; null when there is
// no engine or the control is not attached.
template <class Record>
Record* RecordFor(HWND control) {
  SkinEngine* engine = SkinEngine::Current();
  return engine ? static_cast<Record*>(engine->RecordOf(control, Record::kKind)) : nullptr;
}

// A font family by name, or the face the system maps that name to.
draw::FontFamily FamilyFor(const std::string& face);

}  // namespace skin
