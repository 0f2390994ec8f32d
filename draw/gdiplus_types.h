#pragma once
// The few GDI+ flat-interface types the wrappers pass through. The native objects stay opaque:
// we only ever hold their pointers.
#include <windows.h>

#include <cstdint>

namespace draw {

using Status = int;  // 0 = Ok
using Argb = std::uint32_t;
using Real = float;

inline constexpr Status kOk = 0;

struct GpGraphics;
struct GpPath;
struct GpPen;
struct GpBrush;  // solid, linear-gradient and path-gradient brushes alike
struct GpFontFamily;
struct GpFontCollection;
struct GpFont;
struct GpStringFormat;
struct GpImage;  // bitmaps are images too
struct GpImageAttributes;

struct RectF {
  Real x, y, width, height;
};

struct PointF {
  Real x, y;
};

struct StartupInput {
  std::uint32_t version = 1;
  void* debugEventCallback = nullptr;
  BOOL suppressBackgroundThread = FALSE;
  BOOL suppressExternalCodecs = FALSE;
};

struct EncoderParameters;

// Enumerations as the flat interface numbers them.
enum Unit : int { kUnitWorld = 0, kUnitDisplay = 1, kUnitPixel = 2, kUnitPoint = 3 };
enum FillMode : int { kFillAlternate = 0, kFillWinding = 1 };
enum CombineMode : int { kCombineReplace = 0, kCombineIntersect = 1 };
enum WrapMode : int { kWrapTile = 0, kWrapTileFlipXY = 3, kWrapClamp = 4 };
enum SmoothingMode : int { kSmoothingNone = 3, kSmoothingAntiAlias = 4 };
enum InterpolationMode : int { kInterpolationNearest = 5, kInterpolationHighQualityBicubic = 7 };
enum PixelOffsetMode : int { kPixelOffsetNone = 3, kPixelOffsetHalf = 4 };
enum CompositingQuality : int { kCompositingHighSpeed = 1, kCompositingHighQuality = 2 };
enum StringAlignment : int { kAlignNear = 0, kAlignCenter = 1, kAlignFar = 2 };
enum StringTrimming : int { kTrimNone = 0, kTrimCharacter = 1, kTrimEllipsisCharacter = 3 };
enum FontStyle : int { kFontRegular = 0, kFontBold = 1, kFontItalic = 2 };

inline constexpr int kPixelFormat32bppArgb = 0x26200A;
inline constexpr int kPixelFormat32bppPArgb = 0xE200B;

}  // namespace draw
