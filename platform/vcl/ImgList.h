#pragma once
// Image lists: equally sized images kept with their transparency, added
// from bitmaps with a mask or a mask colour, drawn enabled or greyed.
#include <memory>
#include <vector>

#include "vcl/Components.h"
#include "vcl/Pictures.h"

namespace vcl {

class TImageList;

// Tells its holder of every change of the image list it is registered
// with (each holder its own link, beside the list's single OnChange). A
// link leaves its list when freed; a freed list leaves its links without a
// sender.
class TChangeLink {
 public:
  TChangeLink() = default;
  TChangeLink(const TChangeLink&) = delete;
  TChangeLink& operator=(const TChangeLink&) = delete;
  ~TChangeLink();
  TImageList* Sender() const { return sender_; }
  TNotifyEvent OnChange;

 private:
  friend class TImageList;
  TImageList* sender_ = nullptr;
};

class TImageList : public TComponent {
 public:
  explicit TImageList(TComponent* owner);
  ~TImageList() override;

  void Assign(const TPersistent* source) override;

  // 16 by 16 unless set; a new size empties the list.
  Integer Width() const { return width_; }
  Integer Height() const { return height_; }
  void SetWidth(Integer w);
  void SetHeight(Integer h);
  Integer Count() const;

  // Adds image cut into slices of Width (a wider bitmap gives several
  // images); mask pixels that are white are transparent, a null mask makes
  // the images opaque. Answers the index of the first image added, -1 when
  // nothing was added.
  Integer Add(TBitmap* image, TBitmap* mask);
  // Pixels of maskColor are transparent (clDefault: the colour of the
  // bottom-left pixel).
  Integer AddMasked(TBitmap* image, TColor maskColor);
  // An icon scaled to the list's size, with its own transparency.
  Integer AddIcon(TIcon* icon);
  // Raise EInvalidOperation "Invalid ImageList Index" for a wrong index.
  void Replace(Integer index, TBitmap* image, TBitmap* mask);
  void Delete(Integer index);
  void Clear();
  // The image on a 32-bit bitmap of the list's size, transparent pixels
  // with alpha 0.
  void GetBitmap(Integer index, TBitmap* bitmap);

  // Transparent pixels show what is beneath unless a background colour is
  // set (clNone).
  TColor BkColor() const { return bkColor_; }
  void SetBkColor(TColor c);

  // Draws the image with its top-left corner at (x, y). Disabled images
  // are drawn embossed: their shape in the highlight colour one pixel down
  // and right, and in the shadow colour on top. A wrong index draws nothing.
  void Draw(TCanvas* canvas, Integer x, Integer y, Integer index, bool enabled = true);

  TNotifyEvent OnChange;
  // Registers a link with this list (leaving the list it was with).
  void RegisterChanges(TChangeLink* link);
  void UnRegisterChanges(TChangeLink* link);

 private:
  struct Images;
  void Changed();
  void NotifyChangeLinks();
  void DetachChangeLinks();
  std::vector<TChangeLink*> changeLinks_;  // not owned
  Integer AddImages(const QImage& pixels);
  std::unique_ptr<Images> images_;
  Integer width_ = 16;
  Integer height_ = 16;
  TColor bkColor_ = clNone;
};

}  // namespace vcl
