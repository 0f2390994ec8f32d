#include "controls/frame_rules.h"

namespace controls {

WindowFrame ComputeWindowFrame(const forms::WindowData& data) {
  WindowFrame frame;
  const std::uint32_t style = data.borderStyle;
  if (style != 0) {
    if (!data.caption.empty() || data.controlBox == 1) {
      frame.caption = true;
      frame.sysMenu = data.controlBox == 1;
    }
    frame.dialogFrame = true;
    frame.thickFrame = style == 1 || style == 3 || style == 5;
    frame.toolWindow = style == 3 || style == 4;
    frame.clientEdge = style == 5 || style == 6;
  }
  frame.maximizeBox = data.maxButton == 1;
  frame.minimizeBox = data.minButton == 1;
  return frame;
}

BorderBits ComputeBorder(std::uint32_t style) {
  BorderBits bits;
  switch (style) {
    case 1: bits.clientEdge = true; break;
    case 2: bits.dialogModalFrame = true; break;
    case 3: bits.staticEdge = true; break;
    case 4: bits.clientEdge = bits.dialogModalFrame = true; break;
    case 5: bits.border = true; break;
    case 6: bits.gradientFrame = true; break;
    default: break;
  }
  return bits;
}

}  // namespace controls
