#pragma once
// Pictures of the mini-HTML renderer: THTMLPicture keeps the bytes of a GIF,
// JPEG, PNG or bitmap file and shows one chosen frame of an animated GIF;
// THTMLPictureCache finds pictures by the exact location they were loaded
// from; TPictureContainer holds named pictures that image tags refer to.
#include <memory>
#include <vector>

#include "rtl/Collection.h"
#include "vcl/Components.h"
#include "vcl/PictureFrames.h"
#include "vcl/Pictures.h"

namespace dropdown {

using rtl::AnsiString;
using rtl::Byte;
using rtl::Integer;

// A location taken from cell text is read only from a regular file of at
// most this size: a device, a FIFO or a huge file named in a cell would
// otherwise hang or exhaust the painting thread.
inline constexpr rtl::Int64 kMaxPictureFileSize = 16 * 1024 * 1024;

class THTMLPicture : public vcl::TGraphic {
 public:
  THTMLPicture();
  ~THTMLPicture() override;

  // Another THTMLPicture: its Stretch, Frame, location and bytes, decoded,
  // then OnChange. Null: no data. Any other graphic: left empty.
  void Assign(const vcl::TPersistent* source) override;

  bool Empty() const override { return empty_; }
  // The natural size at 96 pixels per inch (0 while nothing is decoded).
  Integer Width() const override;
  Integer Height() const override;
  // The natural size in hundredths of millimetres.
  Integer HimetricWidth() const { return himetricWidth_; }
  Integer HimetricHeight() const { return himetricHeight_; }
  // A picture keeps its file's size: no effect.
  void SetWidth(Integer) override {}
  void SetHeight(Integer) override {}

  // Copies the stream's remaining bytes and decodes them (then OnChange).
  // Raises Exception "Empty image stream created" for no bytes, "Could not
  // load image. Invalid format" for bytes no reader knows and "Could not
  // load image" for bytes their reader cannot decode; the picture then
  // keeps the bytes but shows nothing.
  void LoadFromStream(rtl::TStream& stream) override;
  // Writes the stored bytes unchanged.
  void SaveToStream(rtl::TStream& stream) override;
  // The form-stream data: as LoadFromStream without OnChange, and as
  // SaveToStream.
  void ReadData(rtl::TStream& stream);
  void WriteData(rtl::TStream& stream) { SaveToStream(stream); }
  // A file that is missing, not a regular file, larger than
  // kMaxPictureFileSize or not a readable picture leaves the picture empty;
  // nothing is raised.
  void LoadFromFile(const AnsiString& fileName);
  // A raw-data resource of the program by name; nothing when there is none.
  void LoadFromRawResource(const AnsiString& name);
  // "RES://name" and "FILE://path" (any case) are remembered and loaded; any
  // other location (a network one) is only remembered.
  void LoadFromLocation(const AnsiString& location);
  const AnsiString& Location() const { return location_; }

  // Empty or undecoded: nothing. Stretch: the whole rectangle; otherwise the
  // natural size in the canvas's pixels per inch at its top-left corner.
  void Draw(vcl::TCanvas* canvas, const vcl::TRect& r) override;

  bool Stretch() const { return stretch_; }
  void SetStretch(bool v) { stretch_ = v; }
  // The frame shown (1-based). Setting it decodes again when there are data
  // and fires OnFrameChange. A number beyond the frames shows the last one,
  // one below 1 the first.
  Integer Frame() const { return frame_; }
  void SetFrame(Integer frame);
  // Frames of a GIF (a graphic control extension directly followed by an
  // image descriptor); -1 for other data. Counted once per load.
  Integer AnimationFrames();
  // The animation's logical screen size, or the natural size when the file
  // gives none; 0 while nothing is decoded.
  Integer AnimationWidth() const;
  Integer AnimationHeight() const;
  // The shown frame's rectangle within the animation, from its image
  // descriptor (all zero for other data).
  Integer FrameLeft() const { return frameLeft_; }
  Integer FrameTop() const { return frameTop_; }
  Integer FrameWidth() const { return frameWidth_; }
  Integer FrameHeight() const { return frameHeight_; }

  const std::vector<Byte>& Data() const { return data_; }

  vcl::TNotifyEvent OnFrameChange;

  const QImage* Image() override { return decoded_.Image(); }
  std::unique_ptr<vcl::TGraphic> NewInstance() const override { return std::make_unique<THTMLPicture>(); }

 private:
  void TakeData(std::vector<Byte> data);
  void Decode();  // raises as LoadFromStream
  void DecodeQuietly();

  std::vector<Byte> data_;
  bool empty_ = true;
  vcl::TPictureFrame decoded_;
  Integer himetricWidth_ = 0;
  Integer himetricHeight_ = 0;
  AnsiString location_;
  bool stretch_ = false;
  Integer frame_ = 1;
  Integer frameCount_ = -1;  // -1: not counted yet
  bool frameCounted_ = false;
  Integer frameLeft_ = 0, frameTop_ = 0, frameWidth_ = 0, frameHeight_ = 0;
  Integer screenWidth_ = 0, screenHeight_ = 0;
};

// The byte positions where the frames of a GIF start: a graphic control
// extension (0x21 0xF9 0x04) whose byte eight on is an image descriptor
// (0x2C), tested wherever at least nine more bytes follow.
std::vector<size_t> GifFrameStarts(const Byte* data, size_t size);

// Pictures by the location they were loaded from; owns them.
class THTMLPictureCache {
 public:
  THTMLPictureCache();
  ~THTMLPictureCache();
  THTMLPictureCache(const THTMLPictureCache&) = delete;
  THTMLPictureCache& operator=(const THTMLPictureCache&) = delete;

  THTMLPicture* AppendPicture();
  // The first picture whose location is exactly this text, or null.
  THTMLPicture* PictureByLocation(const AnsiString& location) const;
  // Raises rtl::EListError "List index out of bounds (%d)" outside 0..Count-1.
  THTMLPicture* PictureAt(Integer index) const;
  Integer Count() const { return static_cast<Integer>(pictures_.size()); }
  void FreePictures();

 private:
  std::vector<std::unique_ptr<THTMLPicture>> pictures_;
};

class TPictureItem : public rtl::TCollectionItem, public vcl::TPersistent {
 public:
  explicit TPictureItem(rtl::TCollection* collection);
  ~TPictureItem() override;

  THTMLPicture* Picture() const { return picture_.get(); }
  // Copies the picture's state and bytes.
  void SetPicture(const THTMLPicture* picture);
  const AnsiString& Name() const { return name_; }
  void SetName(const AnsiString& name) { name_ = name; }
  Integer Tag() const { return tag_; }
  void SetTag(Integer tag) { tag_ = tag; }

  // Name, Tag and picture of another TPictureItem; anything else raises
  // EConvertError as any persistent does.
  void Assign(const vcl::TPersistent* source) override;
  AnsiString DisplayName() const override;

 private:
  std::unique_ptr<THTMLPicture> picture_;
  AnsiString name_;
  Integer tag_ = 0;
};

class TPictureContainer;

class TPictureCollection : public rtl::TCollectionOf<TPictureItem> {
 public:
  explicit TPictureCollection(TPictureContainer* owner) : owner_(owner) {}
  ~TPictureCollection() override { Clear(); }
  TPictureContainer* Owner() const { return owner_; }
  // Replaces the items by copies of source's.
  void Assign(const TPictureCollection& source);

 private:
  TPictureContainer* owner_;
};

class TPictureContainer : public vcl::TComponent {
 public:
  explicit TPictureContainer(vcl::TComponent* owner);
  ~TPictureContainer() override;

  TPictureCollection* Items() const { return items_.get(); }
  void SetItems(const TPictureCollection* items);
  // "1.0.0.0"; writing it has no effect.
  AnsiString Version() const;
  void SetVersion(const AnsiString&) {}

  // The picture of the first item named name, ASCII letter case ignored;
  // null when none.
  virtual THTMLPicture* PictureByName(const AnsiString& name) const;

 private:
  std::unique_ptr<TPictureCollection> items_;
};

}  // namespace dropdown
