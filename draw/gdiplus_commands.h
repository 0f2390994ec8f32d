#pragma once
// The GDI+ flat functions the drawing wrappers call, bound by name from "gdiplus" on first use.
// Indices 0-299 of the process's DLL-command table belong to this layer.
#include <objidl.h>
#include <windows.h>

#include "draw/gdiplus_types.h"
#include "runtime/dll_command_table.h"

namespace draw::commands {

template <class Signature>
using Gdip = runtime::DllCommand<Signature>;

// Start-up and memory.
inline constexpr Gdip<Status WINAPI(ULONG_PTR*, const StartupInput*, void*)> kStartup{0, "gdiplus", "GdiplusStartup"};
inline constexpr Gdip<void WINAPI(ULONG_PTR)> kShutdown{1, "gdiplus", "GdiplusShutdown"};
inline constexpr Gdip<void* WINAPI(size_t)> kAlloc{2, "gdiplus", "GdipAlloc"};
inline constexpr Gdip<void WINAPI(void*)> kFree{3, "gdiplus", "GdipFree"};

// Graphics.
inline constexpr Gdip<Status WINAPI(HDC, GpGraphics**)> kCreateFromHdc{10, "gdiplus", "GdipCreateFromHDC"};
inline constexpr Gdip<Status WINAPI(HDC, HANDLE, GpGraphics**)> kCreateFromHdc2{11, "gdiplus", "GdipCreateFromHDC2"};
inline constexpr Gdip<Status WINAPI(GpImage*, GpGraphics**)> kGetImageGraphicsContext{12, "gdiplus", "GdipGetImageGraphicsContext"};
inline constexpr Gdip<Status WINAPI(GpGraphics*)> kDeleteGraphics{13, "gdiplus", "GdipDeleteGraphics"};
inline constexpr Gdip<Status WINAPI(GpGraphics*, int)> kSetCompositingQuality{14, "gdiplus", "GdipSetCompositingQuality"};
inline constexpr Gdip<Status WINAPI(GpGraphics*, int)> kSetInterpolationMode{15, "gdiplus", "GdipSetInterpolationMode"};
inline constexpr Gdip<Status WINAPI(GpGraphics*, int)> kSetSmoothingMode{16, "gdiplus", "GdipSetSmoothingMode"};
inline constexpr Gdip<Status WINAPI(GpGraphics*, int)> kSetPixelOffsetMode{17, "gdiplus", "GdipSetPixelOffsetMode"};
inline constexpr Gdip<Status WINAPI(GpGraphics*, GpPen*, Real, Real, Real, Real)> kDrawLine{18, "gdiplus", "GdipDrawLine"};
inline constexpr Gdip<Status WINAPI(GpGraphics*, GpPen*, Real, Real, Real, Real)> kDrawRectangle{19, "gdiplus", "GdipDrawRectangle"};
inline constexpr Gdip<Status WINAPI(GpGraphics*, GpPen*, GpPath*)> kDrawPath{20, "gdiplus", "GdipDrawPath"};
inline constexpr Gdip<Status WINAPI(GpGraphics*, Argb)> kGraphicsClear{21, "gdiplus", "GdipGraphicsClear"};
inline constexpr Gdip<Status WINAPI(GpGraphics*, GpBrush*, Real, Real, Real, Real)> kFillRectangle{22, "gdiplus", "GdipFillRectangle"};
inline constexpr Gdip<Status WINAPI(GpGraphics*, GpBrush*, GpPath*)> kFillPath{23, "gdiplus", "GdipFillPath"};
inline constexpr Gdip<Status WINAPI(GpGraphics*, const WCHAR*, INT, const GpFont*, const RectF*, const GpStringFormat*, const GpBrush*)>
    kDrawString{24, "gdiplus", "GdipDrawString"};
inline constexpr Gdip<Status WINAPI(GpGraphics*, const WCHAR*, INT, const GpFont*, const RectF*, const GpStringFormat*, RectF*, INT*, INT*)>
    kMeasureString{25, "gdiplus", "GdipMeasureString"};
inline constexpr Gdip<Status WINAPI(GpGraphics*, GpImage*, Real, Real)> kDrawImage{26, "gdiplus", "GdipDrawImage"};
inline constexpr Gdip<Status WINAPI(GpGraphics*, GpImage*, Real, Real, Real, Real, Real, Real, Real, Real, int, const GpImageAttributes*, void*, void*)>
    kDrawImageRectRect{27, "gdiplus", "GdipDrawImageRectRect"};
inline constexpr Gdip<Status WINAPI(GpGraphics*, GpPath*, int)> kSetClipPath{28, "gdiplus", "GdipSetClipPath"};
inline constexpr Gdip<Status WINAPI(GpGraphics*, Real, Real, Real, Real, int)> kSetClipRect{29, "gdiplus", "GdipSetClipRect"};
inline constexpr Gdip<Status WINAPI(GpGraphics*)> kResetClip{30, "gdiplus", "GdipResetClip"};
inline constexpr Gdip<Status WINAPI(GpGraphics*, HRGN, int)> kSetClipHrgn{32, "gdiplus", "GdipSetClipHrgn"};
inline constexpr Gdip<Status WINAPI(GpGraphics*, GpImage*, Real, Real, Real, Real)> kDrawImageRect{31, "gdiplus", "GdipDrawImageRect"};

// Paths.
inline constexpr Gdip<Status WINAPI(int, GpPath**)> kCreatePath{40, "gdiplus", "GdipCreatePath"};
inline constexpr Gdip<Status WINAPI(GpPath*)> kDeletePath{41, "gdiplus", "GdipDeletePath"};
inline constexpr Gdip<Status WINAPI(GpPath*)> kResetPath{42, "gdiplus", "GdipResetPath"};
inline constexpr Gdip<Status WINAPI(GpPath*, Real, Real, Real, Real)> kAddPathLine{43, "gdiplus", "GdipAddPathLine"};
inline constexpr Gdip<Status WINAPI(GpPath*, Real, Real, Real, Real)> kAddPathRectangle{44, "gdiplus", "GdipAddPathRectangle"};
inline constexpr Gdip<Status WINAPI(GpPath*, Real, Real, Real, Real)> kAddPathEllipse{45, "gdiplus", "GdipAddPathEllipse"};
inline constexpr Gdip<Status WINAPI(GpPath*, Real, Real, Real, Real, Real, Real)> kAddPathArc{46, "gdiplus", "GdipAddPathArc"};
inline constexpr Gdip<Status WINAPI(GpPath*)> kClosePathFigure{47, "gdiplus", "GdipClosePathFigure"};
inline constexpr Gdip<Status WINAPI(GpPath*)> kStartPathFigure{48, "gdiplus", "GdipStartPathFigure"};

// Pens.
inline constexpr Gdip<Status WINAPI(Argb, Real, int, GpPen**)> kCreatePen1{60, "gdiplus", "GdipCreatePen1"};
inline constexpr Gdip<Status WINAPI(GpBrush*, Real, int, GpPen**)> kCreatePen2{61, "gdiplus", "GdipCreatePen2"};
inline constexpr Gdip<Status WINAPI(GpPen*)> kDeletePen{62, "gdiplus", "GdipDeletePen"};
inline constexpr Gdip<Status WINAPI(GpPen*, Real)> kSetPenWidth{63, "gdiplus", "GdipSetPenWidth"};

// Brushes.
inline constexpr Gdip<Status WINAPI(Argb, GpBrush**)> kCreateSolidFill{70, "gdiplus", "GdipCreateSolidFill"};
inline constexpr Gdip<Status WINAPI(GpBrush*)> kDeleteBrush{71, "gdiplus", "GdipDeleteBrush"};
inline constexpr Gdip<Status WINAPI(const PointF*, const PointF*, Argb, Argb, int, GpBrush**)> kCreateLineBrush{72, "gdiplus", "GdipCreateLineBrush"};
inline constexpr Gdip<Status WINAPI(GpBrush*, const Argb*, const Real*, INT)> kSetLinePresetBlend{73, "gdiplus", "GdipSetLinePresetBlend"};
inline constexpr Gdip<Status WINAPI(GpBrush*, Real, Real)> kSetLineLinearBlend{74, "gdiplus", "GdipSetLineLinearBlend"};
inline constexpr Gdip<Status WINAPI(const GpPath*, GpBrush**)> kCreatePathGradientFromPath{75, "gdiplus", "GdipCreatePathGradientFromPath"};
inline constexpr Gdip<Status WINAPI(GpBrush*, Argb)> kSetPathGradientCenterColor{76, "gdiplus", "GdipSetPathGradientCenterColor"};
inline constexpr Gdip<Status WINAPI(GpBrush*, const Argb*, INT*)> kSetPathGradientSurroundColorsWithCount{77, "gdiplus", "GdipSetPathGradientSurroundColorsWithCount"};
inline constexpr Gdip<Status WINAPI(GpBrush*, const PointF*)> kSetPathGradientCenterPoint{78, "gdiplus", "GdipSetPathGradientCenterPoint"};

// Fonts and string formats.
inline constexpr Gdip<Status WINAPI(const WCHAR*, GpFontCollection*, GpFontFamily**)> kCreateFontFamilyFromName{90, "gdiplus", "GdipCreateFontFamilyFromName"};
inline constexpr Gdip<Status WINAPI(GpFontFamily*)> kDeleteFontFamily{91, "gdiplus", "GdipDeleteFontFamily"};
inline constexpr Gdip<Status WINAPI(const GpFontFamily*, Real, INT, int, GpFont**)> kCreateFont{92, "gdiplus", "GdipCreateFont"};
inline constexpr Gdip<Status WINAPI(HDC, GpFont**)> kCreateFontFromDc{93, "gdiplus", "GdipCreateFontFromDC"};
inline constexpr Gdip<Status WINAPI(HDC, const LOGFONTA*, GpFont**)> kCreateFontFromLogfontA{94, "gdiplus", "GdipCreateFontFromLogfontA"};
inline constexpr Gdip<Status WINAPI(GpFont*)> kDeleteFont{95, "gdiplus", "GdipDeleteFont"};
inline constexpr Gdip<Status WINAPI(GpFont*, GpFontFamily**)> kGetFamily{96, "gdiplus", "GdipGetFamily"};
inline constexpr Gdip<Status WINAPI(GpFont*, INT*)> kGetFontStyle{97, "gdiplus", "GdipGetFontStyle"};
inline constexpr Gdip<Status WINAPI(GpFont*, Real*)> kGetFontSize{98, "gdiplus", "GdipGetFontSize"};
inline constexpr Gdip<Status WINAPI(INT, LANGID, GpStringFormat**)> kCreateStringFormat{100, "gdiplus", "GdipCreateStringFormat"};
inline constexpr Gdip<Status WINAPI(GpStringFormat*)> kDeleteStringFormat{101, "gdiplus", "GdipDeleteStringFormat"};
inline constexpr Gdip<Status WINAPI(GpStringFormat*, int)> kSetStringFormatAlign{102, "gdiplus", "GdipSetStringFormatAlign"};
inline constexpr Gdip<Status WINAPI(GpStringFormat*, int)> kSetStringFormatLineAlign{103, "gdiplus", "GdipSetStringFormatLineAlign"};
inline constexpr Gdip<Status WINAPI(GpStringFormat*, int)> kSetStringFormatTrimming{104, "gdiplus", "GdipSetStringFormatTrimming"};

// Images and bitmaps.
inline constexpr Gdip<Status WINAPI(const WCHAR*, GpImage**)> kLoadImageFromFile{120, "gdiplus", "GdipLoadImageFromFile"};
inline constexpr Gdip<Status WINAPI(const WCHAR*, GpImage**)> kLoadImageFromFileIcm{121, "gdiplus", "GdipLoadImageFromFileICM"};
inline constexpr Gdip<Status WINAPI(IStream*, GpImage**)> kLoadImageFromStream{122, "gdiplus", "GdipLoadImageFromStream"};
inline constexpr Gdip<Status WINAPI(IStream*, GpImage**)> kLoadImageFromStreamIcm{123, "gdiplus", "GdipLoadImageFromStreamICM"};
inline constexpr Gdip<Status WINAPI(GpImage*)> kDisposeImage{124, "gdiplus", "GdipDisposeImage"};
inline constexpr Gdip<Status WINAPI(GpImage*, UINT*)> kGetImageWidth{125, "gdiplus", "GdipGetImageWidth"};
inline constexpr Gdip<Status WINAPI(GpImage*, UINT*)> kGetImageHeight{126, "gdiplus", "GdipGetImageHeight"};
inline constexpr Gdip<Status WINAPI(GpImage*, int)> kImageRotateFlip{127, "gdiplus", "GdipImageRotateFlip"};
inline constexpr Gdip<Status WINAPI(GpImage*, IStream*, const CLSID*, const EncoderParameters*)> kSaveImageToStream{128, "gdiplus", "GdipSaveImageToStream"};
inline constexpr Gdip<Status WINAPI(const WCHAR*, GpImage**)> kCreateBitmapFromFile{130, "gdiplus", "GdipCreateBitmapFromFile"};
inline constexpr Gdip<Status WINAPI(const WCHAR*, GpImage**)> kCreateBitmapFromFileIcm{131, "gdiplus", "GdipCreateBitmapFromFileICM"};
inline constexpr Gdip<Status WINAPI(IStream*, GpImage**)> kCreateBitmapFromStream{132, "gdiplus", "GdipCreateBitmapFromStream"};
inline constexpr Gdip<Status WINAPI(IStream*, GpImage**)> kCreateBitmapFromStreamIcm{133, "gdiplus", "GdipCreateBitmapFromStreamICM"};
inline constexpr Gdip<Status WINAPI(INT, INT, INT, INT, BYTE*, GpImage**)> kCreateBitmapFromScan0{134, "gdiplus", "GdipCreateBitmapFromScan0"};
inline constexpr Gdip<Status WINAPI(HICON, GpImage**)> kCreateBitmapFromHicon{135, "gdiplus", "GdipCreateBitmapFromHICON"};
inline constexpr Gdip<Status WINAPI(GpImage*, HBITMAP*, Argb)> kCreateHbitmapFromBitmap{136, "gdiplus", "GdipCreateHBITMAPFromBitmap"};
inline constexpr Gdip<Status WINAPI(GpImage*, INT, INT, Argb*)> kBitmapGetPixel{137, "gdiplus", "GdipBitmapGetPixel"};

}  // namespace draw::commands
