#pragma once
// The records the skin keeps: one per skinned top-level window, and one per attached control in
// the window's kind arrays.
#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "draw/image.h"
#include "runtime/values/byte_set.h"
#include "skin/caption_fade.h"
#include "skin/frame_geometry.h"
#include "skin/gdi_handles.h"

namespace skin {

// The kind arrays, in the order a window record holds them.
enum class ControlKind {
  kButtons,
  kEdits,
  kLists,
  kSliders,
  kProgressBars,
  kComboBoxes,
  kUpDowns,
  kHeaders,
  kTransparentLabels,
  kPanels,
};
inline constexpr std::size_t kControlKindCount = 10;

// Every control record begins with the control's window; the kinds add their own fields.
struct ControlRecord {
  virtual ~ControlRecord() = default;
  HWND hwnd = nullptr;
  WNDPROC oldProc = nullptr;
};

struct PanelRecord : ControlRecord {
  COLORREF tint = 0;
  int alpha = 255;
  int spare = 0;
  bool isGroupBox = false;
  bool cornerFlag = true;
  std::string caption;  // group boxes: their text, in the program's code page
  std::string fontFace;
  int fontSize = 12;
  int fontStyle = 0;
  // The background under the panel with every tint down to its own, kept for what lies inside.
  std::unique_ptr<OffscreenSurface> layer;
  SurfaceStamp layerStamp;
};

struct LabelRecord : ControlRecord {
  COLORREF keyColour = 0;
};

enum class CaptionCommand { kClose = 0, kMaximizeRestore = 1, kMinimize = 2, kMainMenu = 3, kHelp = 4 };

struct CaptionButton {
  int width = 26;
  int height = 18;
  runtime::ByteSetRef picture;
  runtime::ByteSetRef picture2;  // the maximize button's restore glyph
  CaptionCommand command = CaptionCommand::kClose;
  const char* tooltip = "";
};

struct SkinnedWindow {
  HWND hwnd = nullptr;
  int captionHeight = 25;
  bool showHelp = false;
  bool showMenu = false;
  bool hasMinimize = false;
  bool hasMaximize = false;
  bool showCaptionText = true;
  bool captionGloss = false;
  WNDPROC oldProc = nullptr;
  int pictureMode = 0;
  runtime::ByteSet picture;
  draw::Image decodedPicture;  // decoded at the first compose and kept for the next ones
  std::uint32_t averageColour = 0;  // ARGB, opaque
  std::vector<CaptionButton> captionButtons;
  CaptionStrip strip;
  bool maximizedToWorkArea = false;
  bool minimized = false;
  int minTrackWidth = 200;
  int minTrackHeight = 150;
  int maxTrackWidth = 0;
  int maxTrackHeight = 0;
  bool dblClickMaximizes = true;
  bool captionButtonsActive = true;
  COLORREF captionTextColour = 0xFFFFFF;
  COLORREF captionShadowColour = 0x808080;
  std::string captionFont = "宋体";
  int captionFontSize = 12;
  int captionFontStyle = 1;  // bold
  std::array<std::vector<std::unique_ptr<ControlRecord>>, kControlKindCount> kinds;
  bool backgroundDirty = false;
  int hotButton = 0;
  int lastButton = 0;
  bool hoverReset = false;
  bool trackingMouse = false;
  CaptionFade fade;  // hotCaptionButton, fadeIn, fadeOut and the timer flag

  // The composed background ("Ck_wtjbdx") in its DC, and the clean caption band beside it.
  // (Bitmaps before their DCs: a DC gives its bitmap back before the bitmap is deleted.)
  Bitmap backgroundBitmap;
  MemoryDc backgroundDc;
  std::uint32_t backgroundVersion = 0;  // counts every drawing into the background
  std::uint32_t* backgroundBits = nullptr;
  int backgroundWidth = 0;
  int backgroundHeight = 0;
  Bitmap captionBitmap;
  MemoryDc captionDc;

  std::vector<std::unique_ptr<ControlRecord>>& Kind(ControlKind kind) { return kinds[static_cast<std::size_t>(kind)]; }
};

}  // namespace skin
