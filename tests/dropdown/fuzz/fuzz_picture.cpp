// Picture bytes of any shape through THTMLPicture: loading, choosing a frame
// (the GIF frame scan and the chosen frame's descriptor read near the end of
// the data), the sizes and drawing must neither crash nor raise anything but
// the picture's own load errors.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include <QImageReader>

#include "dropdown/PictureContainer.h"
#include "rtl/Streams.h"
#include "vcl/Forms.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool started = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QImageReader::setAllocationLimit(16);
    vcl::InitApplication();
    return true;
  }();
  (void)started;
  if (size < 1) return 0;
  dropdown::THTMLPicture picture;
  rtl::TMemoryStream stream;
  if (size > 1) stream.WriteBuffer(data + 1, static_cast<rtl::Integer>(size - 1));
  stream.SetPosition(0);
  try {
    picture.LoadFromStream(stream);
  } catch (const rtl::Exception&) {
  }
  try {
    picture.SetFrame(data[0] % 5);
  } catch (const rtl::Exception&) {
  }
  (void)picture.AnimationFrames();
  (void)picture.AnimationWidth();
  (void)picture.Width();
  vcl::TBitmap bitmap(32, 32);
  picture.Draw(bitmap.Canvas(), vcl::TRect{0, 0, 32, 32});
  return 0;
}
