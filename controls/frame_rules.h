#pragma once
// Which frame a window unit and a bordered control get from their stored settings; the Windows
// side turns these into style bits.
#include <cstdint>

#include "forms/kind_data.h"

namespace controls {

struct WindowFrame {
  bool caption = false;     // WS_CAPTION (border and dialog frame)
  bool sysMenu = false;
  bool dialogFrame = false;
  bool thickFrame = false;
  bool toolWindow = false;  // extended
  bool clientEdge = false;  // extended
  bool maximizeBox = false;
  bool minimizeBox = false;
};

WindowFrame ComputeWindowFrame(const forms::WindowData& data);

// The border styles 0..6 of labels, picture boxes and sliders; other values mean none.
struct BorderBits {
  bool clientEdge = false;
  bool dialogModalFrame = false;
  bool staticEdge = false;
  bool border = false;          // WS_BORDER
  bool gradientFrame = false;   // style 6: a label draws its own frame
};

BorderBits ComputeBorder(std::uint32_t style);

}  // namespace controls
