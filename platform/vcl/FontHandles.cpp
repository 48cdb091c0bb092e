// Font objects made from logical fonts, for code that builds a font the
// desktop's way (a rotated caption font, for instance).
#include "vcl/Gdi.h"

namespace vcl {

struct TFontHandle {
  LOGFONT font;
};

HFONT CreateFontIndirect(const LOGFONT& font) { return new TFontHandle{font}; }

bool DeleteObject(HFONT font) {
  if (!font) return false;
  delete font;
  return true;
}

bool GetObject(HFONT font, LOGFONT* out) {
  if (!font || !out) return false;
  *out = font->font;
  return true;
}

void AssignFontHandle(TFont* font, HFONT handle) {
  if (!font || !handle) return;
  const LOGFONT& lf = handle->font;
  font->SetName(lf.lfFaceName);
  if (lf.lfHeight != 0) font->SetHeight(lf.lfHeight);
  TFontStyles style;
  if (lf.lfWeight >= 600) style.Include(fsBold);
  if (lf.lfItalic) style.Include(fsItalic);
  if (lf.lfUnderline) style.Include(fsUnderline);
  if (lf.lfStrikeOut) style.Include(fsStrikeOut);
  font->SetStyle(style);
  font->SetCharset(lf.lfCharSet);
  Byte pitch = lf.lfPitchAndFamily & 3;
  font->SetPitch(pitch == FIXED_PITCH ? fpFixed : pitch == VARIABLE_PITCH ? fpVariable : fpDefault);
  font->SetOrientation(lf.lfEscapement);
}

}  // namespace vcl
