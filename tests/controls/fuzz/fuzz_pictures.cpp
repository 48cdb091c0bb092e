// Picture bytes of any shape through a GDI+ picture: loading, its size,
// its raw format and drawing must neither crash nor raise.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include <QImageReader>

#include "controls/ControlsLibrary.h"
#include "controls/GDIPicture.h"
#include "controls/LumGDIP.h"
#include "rtl/Streams.h"
#include "vcl/Forms.h"

namespace {

bool Started() {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  // Headers claiming pictures of hundreds of megabytes are common among
  // mutated inputs; decoding each under the sanitizer would take most of
  // the run. Past this limit a picture reads as too large (0 x 0), the
  // same path as past Qt's own limit.
  QImageReader::setAllocationLimit(16);
  vcl::InitApplication();
  controls::StartUpControls();
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool started = Started();
  (void)started;
  rtl::TStringStream bytes(std::string(reinterpret_cast<const char*>(data), size));
  controls::TGDIPPicture picture;
  picture.LoadFromStream(bytes);
  picture.RefreshImageSize();
  controls::TGPImage image(&picture.Data());
  (void)image.GetRawFormat();
  static vcl::TBitmap* target = new vcl::TBitmap(48, 48);  // lives as long as the process
  target->Canvas()->StretchDraw(vcl::Rect(0, 0, 48, 48), &picture);
  target->Canvas()->Draw(3, 3, &picture);
  return 0;
}
