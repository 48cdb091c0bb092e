#pragma once
// Pictures as PNG bytes and back, for formats that carry pixels between
// programs or controls (a grid's cell stream on the clipboard).
#include <string>
#include <string_view>

#include "vcl/Pictures.h"

namespace vcl {

// The graphic's pixels as a PNG file's bytes; empty for an empty graphic.
std::string GraphicToPng(TGraphic* graphic);
// The pixels of PNG bytes into the bitmap (32 bits when they carry alpha);
// false, the bitmap unchanged, when the bytes are no PNG picture.
bool BitmapFromPng(std::string_view png, TBitmap& bitmap);

}  // namespace vcl
