#pragma once
// Font families, fonts and string formats.
#include "draw/gdiplus_commands.h"
#include "draw/native_object.h"
#include "runtime/values/text_value.h"

namespace draw {

class FontFamily : public NativeObject<GpFontFamily, commands::kDeleteFontFamily> {
 public:
  FontFamily() = default;
  explicit FontFamily(runtime::TextRef name) { Create(name); }
  // From the installed fonts.
  bool Create(runtime::TextRef name);
};

class Font : public NativeObject<GpFont, commands::kDeleteFont> {
 public:
  Font() = default;
  Font(const FontFamily& family, Real size, int style, Unit unit = kUnitPoint) { Create(family, size, style, unit); }

  bool Create(const FontFamily& family, Real size, int style, Unit unit = kUnitPoint);
  bool CreateFromDc(HDC dc);
  bool CreateFromLogfont(HDC dc, const LOGFONTA& logfont);

  // A new family object the caller then owns.
  bool GetFamily(FontFamily& family) const;
  bool GetStyle(int& style) const;
  bool GetSize(Real& size) const;
};

class StringFormat : public NativeObject<GpStringFormat, commands::kDeleteStringFormat> {
 public:
  StringFormat() = default;
  explicit StringFormat(int flags, LANGID language = 0) { Create(flags, language); }

  bool Create(int flags = 0, LANGID language = 0);
  bool SetAlignment(StringAlignment alignment);
  bool SetLineAlignment(StringAlignment alignment);
  bool SetTrimming(StringTrimming trimming);
};

}  // namespace draw
