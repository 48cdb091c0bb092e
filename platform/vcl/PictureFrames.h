#pragma once
// Picture files read by the layer's image readers from their bytes, told
// apart by their signature (BMP, PNG, GIF, JPEG), one frame of an animation
// chosen by its number. Pictures that keep a file's bytes and decode them on
// demand (the mini-HTML renderer's) hold one of these for the pixels.
#include <cstddef>
#include <memory>

#include "vcl/Types.h"

class QImage;

namespace vcl {

enum class TPictureReadResult { Ok, UnknownFormat, Unreadable };

class TPictureFrame {
 public:
  TPictureFrame();
  ~TPictureFrame();
  TPictureFrame(const TPictureFrame&) = delete;
  TPictureFrame& operator=(const TPictureFrame&) = delete;

  // Decodes frame frameIndex (0-based; a frame the file does not have reads
  // as nothing) of the file in data. When crop is not empty and lies within
  // the decoded image, only that part is kept: an animation's reader gives
  // each frame on the whole logical screen, and crop is the frame's own
  // rectangle there. Anything but Ok leaves the frame empty.
  TPictureReadResult Decode(const Byte* data, size_t size, Integer frameIndex, const TRect& crop);
  void Clear();

  bool Empty() const;
  Integer Width() const;
  Integer Height() const;
  // The pixels (ARGB, premultiplied), null while empty.
  const QImage* Image() const { return image_.get(); }

 private:
  std::unique_ptr<QImage> image_;
};

}  // namespace vcl
