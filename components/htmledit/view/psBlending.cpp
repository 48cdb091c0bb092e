#include "htmledit/view/psBlending.h"

#include <cstring>
#include <mutex>

#include "rtl/SystemInfo.h"
#include "vcl/Pictures.h"
#include "vcl/WinApi.h"

namespace htmlview {

std::unique_ptr<vcl::TBitmap> Create24BitBitmap(vcl::TGraphic* aGraphic, Integer aWidth, Integer aHeight) {
  try {
    const Integer w = aWidth == -1 ? (aGraphic ? aGraphic->Width() : 0) : aWidth;
    const Integer h = aHeight == -1 ? (aGraphic ? aGraphic->Height() : 0) : aHeight;
    if (w < 0 || h < 0) return nullptr;
    auto bitmap = std::make_unique<vcl::TBitmap>();
    bitmap->SetPixelFormat(vcl::pf24bit);
    bitmap->SetSize(w, h);
    return bitmap;
  } catch (const rtl::Exception&) {
    return nullptr;
  }
}

std::unique_ptr<vcl::TBitmap> GraphicToBitmap(vcl::TGraphic* aGraphic, Integer aWidth, Integer aHeight) {
  auto bitmap = Create24BitBitmap(aGraphic, aWidth, aHeight);
  if (!bitmap || !aGraphic) return bitmap;
  try {
    if (aWidth == -1 && aHeight == -1) {
      bitmap->Canvas()->Draw(0, 0, aGraphic);
    } else {
      bitmap->Canvas()->StretchDraw(vcl::Rect(0, 0, aWidth, aHeight), aGraphic);
    }
    return bitmap;
  } catch (const rtl::Exception&) {
    return nullptr;
  }
}

std::unique_ptr<vcl::TBitmap> BlendBitmaps(vcl::TBitmap* aBase, vcl::TBitmap* aOverlay, Integer aPercent) {
  auto result = Create24BitBitmap(aBase, -1, -1);
  if (!result) return nullptr;
  const Integer w = aBase->Width(), h = aBase->Height();
  // Each product, truncated, depends on one byte only: two tables of 256
  // turn every channel into two look-ups and an addition.
  const Integer keep = 100 - aPercent;
  uint8_t baseShare[256], overlayShare[256];
  for (Integer v = 0; v < 256; ++v) {
    baseShare[v] = static_cast<uint8_t>(keep * v / 100);
    overlayShare[v] = static_cast<uint8_t>(aPercent * v / 100);
  }
  for (Integer y = 0; y < h; ++y) {
    const auto* b = static_cast<const uint8_t*>(aBase->ScanLine(y));
    const auto* o = static_cast<const uint8_t*>(aOverlay->ScanLine(y));
    auto* r = static_cast<uint8_t*>(result->ScanLine(y));
    for (Integer i = 0; i < w * 3; ++i) r[i] = static_cast<uint8_t>(baseShare[b[i]] + overlayShare[o[i]]);
  }
  return result;
}

std::unique_ptr<vcl::TBitmap> TintedCopy(vcl::TGraphic* aGraphic, TColor aColor, Integer aPercent) {
  auto picture = GraphicToBitmap(aGraphic, -1, -1);
  if (!picture) return nullptr;
  auto plain = Create24BitBitmap(aGraphic, -1, -1);
  if (!plain) return nullptr;
  plain->Canvas()->Brush()->SetColor(aColor);
  plain->Canvas()->Brush()->SetStyle(vcl::bsSolid);
  plain->Canvas()->FillRect(vcl::Rect(0, 0, plain->Width(), plain->Height()));
  return BlendBitmaps(picture.get(), plain.get(), aPercent);
}

namespace {

// The alpha-blend library and function, looked up once for the process.
struct BlendLibrary {
  std::mutex Lock;
  bool Tried = false;
  vcl::HMODULE Module = 0;
  vcl::TAlphaBlendFunction Function = nullptr;
};

BlendLibrary& Library() {
  static BlendLibrary* library = new BlendLibrary;  // lives as long as the process
  return *library;
}

vcl::TAlphaBlendFunction AlphaBlendFunction() {
  BlendLibrary& lib = Library();
  std::lock_guard<std::mutex> guard(lib.Lock);
  if (!lib.Tried) {
    lib.Tried = true;
    // Systems of version 4.0 and below had no usable blend function.
    rtl::OSVERSIONINFO version;
    version.dwOSVersionInfoSize = sizeof(version);
    const bool modern = rtl::GetVersionEx(&version) &&
                        (version.dwMajorVersion > 4 || (version.dwMajorVersion == 4 && version.dwMinorVersion > 0));
    if (modern) {
      lib.Module = vcl::LoadLibrary("msimg32.dll");
      if (lib.Module)
        lib.Function = reinterpret_cast<vcl::TAlphaBlendFunction>(vcl::GetProcAddress(lib.Module, "AlphaBlend"));
    }
  }
  return lib.Function;
}

}  // namespace

void AlphaBlendGraphic(vcl::TGraphic* aGraphic, vcl::TCanvas* aTarget, Integer aX, Integer aY, Integer aWidth,
                       Integer aHeight, Byte aAlpha) {
  if (!aGraphic || !aTarget) return;
  vcl::TAlphaBlendFunction blend = AlphaBlendFunction();
  if (!blend) return;
  const Integer w = aGraphic->Width(), h = aGraphic->Height();
  if (w <= 0 || h <= 0) return;
  vcl::TBitmap memory(w, h);
  memory.Canvas()->Draw(0, 0, aGraphic);
  vcl::BLENDFUNCTION function;
  function.BlendOp = vcl::AC_SRC_OVER;
  function.BlendFlags = 0;
  function.SourceConstantAlpha = aAlpha;
  function.AlphaFormat = 0;
  blend(aTarget, aX, aY, aWidth, aHeight, memory.Canvas(), 0, 0, w, h, function);
}

void FinalizeBlending() {
  BlendLibrary& lib = Library();
  std::lock_guard<std::mutex> guard(lib.Lock);
  if (lib.Module) vcl::FreeLibrary(lib.Module);
  lib.Module = 0;
  lib.Function = nullptr;
  lib.Tried = false;
}

}  // namespace htmlview
