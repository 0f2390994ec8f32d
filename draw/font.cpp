#include "draw/font.h"

#include "draw/wide_text.h"

namespace draw {

bool FontFamily::Create(runtime::TextRef name) {
  const std::wstring wide = Widen(name);
  return NativeObject::Create(commands::kCreateFontFamilyFromName, wide.c_str(), static_cast<GpFontCollection*>(nullptr));
}

bool Font::Create(const FontFamily& family, Real size, int style, Unit unit) {
  return NativeObject::Create(commands::kCreateFont, family.Native(), size, style, static_cast<int>(unit));
}

bool Font::CreateFromDc(HDC dc) { return NativeObject::Create(commands::kCreateFontFromDc, dc); }

bool Font::CreateFromLogfont(HDC dc, const LOGFONTA& logfont) {
  return NativeObject::Create(commands::kCreateFontFromLogfontA, dc, &logfont);
}

bool Font::GetFamily(FontFamily& family) const {
  GpFontFamily* native = nullptr;
  if (!Call(commands::kGetFamily, &native)) return false;
  family.Reset(native);
  return true;
}

bool Font::GetStyle(int& style) const {
  INT value = 0;
  const bool ok = Call(commands::kGetFontStyle, &value);
  if (ok) style = value;
  return ok;
}

bool Font::GetSize(Real& size) const { return Call(commands::kGetFontSize, &size); }

bool StringFormat::Create(int flags, LANGID language) {
  return NativeObject::Create(commands::kCreateStringFormat, flags, language);
}

bool StringFormat::SetAlignment(StringAlignment a) { return Call(commands::kSetStringFormatAlign, static_cast<int>(a)); }
bool StringFormat::SetLineAlignment(StringAlignment a) { return Call(commands::kSetStringFormatLineAlign, static_cast<int>(a)); }
bool StringFormat::SetTrimming(StringTrimming t) { return Call(commands::kSetStringFormatTrimming, static_cast<int>(t)); }

}  // namespace draw
