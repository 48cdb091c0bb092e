#pragma once
// Every image of a document is loaded once and shared by the image nodes
// that show it: one element per image source, with the graphic once it is
// loaded, the picture that owns it when it came from a file, the tag that
// asked for it, a reload flag, use counts and the resized variants the
// editor produces on request. TpsDocumentGraphics is a read-only view of
// the images in use.
#include <functional>
#include <memory>
#include <vector>

#include "htmledit/doc/psGraphicList.h"
#include "htmledit/view/psViewTypes.h"

namespace htmldoc {
class TpsMarkupTag;
}
namespace vcl {
class TGraphic;
class TPicture;
}  // namespace vcl

namespace htmlview {

// A class-library graphic as the document model holds it (the resized
// variants). Owns the graphic.
class TpsVclGraphic : public htmldoc::TpsGraphic {
 public:
  explicit TpsVclGraphic(std::unique_ptr<vcl::TGraphic> aGraphic);
  ~TpsVclGraphic() override;
  vcl::TGraphic* Graphic() const { return FGraphic.get(); }

 private:
  std::unique_ptr<vcl::TGraphic> FGraphic;
};

// A copy handed out by the cache; the pointers stay the cache's.
struct TpsImageCacheElement {
  Integer Id = 0;
  AnsiString Source;
  vcl::TGraphic* Graphic = nullptr;
  vcl::TPicture* Picture = nullptr;
  const htmldoc::TpsMarkupTag* Tag = nullptr;
  bool ReloadPending = false;
  Integer UseCount = 0;
  Integer MaxUseCount = 0;
  htmldoc::TpsGraphicList* ResizedGraphics = nullptr;
};

class TpsImageCache {
 public:
  TpsImageCache();
  ~TpsImageCache();
  TpsImageCache(const TpsImageCache&) = delete;
  TpsImageCache& operator=(const TpsImageCache&) = delete;

  // The element array gets aLength zero-filled slots; ids start at 0 again.
  void Reset(Integer aLength);
  // Releases every element, then Reset(40).
  void Clear();
  Integer Count() const { return FCount; }
  Integer Capacity() const { return static_cast<Integer>(FSlots.size()); }

  // The cache takes aGraphic over (nullptr while missing) and keeps a copy
  // of aTag. -1 when the source is cached already.
  Integer AddImage(const AnsiString& aSource, std::unique_ptr<vcl::TGraphic> aGraphic,
                   const htmldoc::TpsMarkupTag* aTag);
  bool Contains(const AnsiString& aSource) const { return IndexOfSource(aSource) != -1; }
  Integer GetImageID(const AnsiString& aSource) const;
  Integer IndexOfSource(const AnsiString& aSource) const;
  Integer IndexOfId(Integer aId) const;
  bool FindBySource(const AnsiString& aSource, TpsImageCacheElement& aElement) const;
  bool GetImageByID(Integer aId, TpsImageCacheElement& aElement) const;
  // Raises EListError "TpsImageCache.GetImage: List index out of bounds!"
  // outside 0 .. Count - 1.
  void GetImage(Integer aIndex, TpsImageCacheElement& aElement) const;
  vcl::TGraphic* GetGraphicBySource(const AnsiString& aSource) const;
  vcl::TGraphic* GetGraphicByID(Integer aId) const;
  // Stores the graphic (taken over) and drops the tag; nothing for an
  // unknown id.
  void SetGraphicByID(Integer aId, std::unique_ptr<vcl::TGraphic> aGraphic);
  // The picture that owns the element's graphic: its graphic becomes the
  // element's.
  void SetPictureByID(Integer aId, std::unique_ptr<vcl::TPicture> aPicture);
  void SetTag(const AnsiString& aSource, const htmldoc::TpsMarkupTag* aTag);
  std::vector<Integer> GetMissingImageIDs() const;
  // The old image released, the new one stored, the reload flag cleared,
  // the resized variants dropped; false for an unknown source.
  bool ReplaceGraphic(const AnsiString& aSource, std::unique_ptr<vcl::TGraphic> aGraphic);
  void SetReloadFlag(const AnsiString& aSource, bool aValue);
  void ClearReloadFlag(const AnsiString& aSource) { SetReloadFlag(aSource, false); }
  bool GetReloadFlag(Integer aIndex) const;
  AnsiString GetSource(Integer aIndex) const;
  void AddUse(const AnsiString& aSource);
  void RemoveUse(const AnsiString& aSource);
  // A variant of that size, counted once more; asked of
  // OnRequestResizedGraphic when there is none.
  vcl::TGraphic* GetResizedGraphic(const AnsiString& aSource, Integer aWidth, Integer aHeight);
  void ReleaseResizedGraphic(const AnsiString& aSource, Integer aWidth, Integer aHeight);
  void DeleteElement(Integer aIndex);

  // A graphic of that size for the source, or nullptr; the cache takes it.
  std::function<std::unique_ptr<vcl::TGraphic>(TpsImageCache* aSender, const AnsiString& aSource, Integer aWidth,
                                               Integer aHeight)>
      OnRequestResizedGraphic;

 private:
  struct Slot {
    Integer Id = 0;
    AnsiString Source;
    std::unique_ptr<vcl::TGraphic> OwnedGraphic;
    std::unique_ptr<vcl::TPicture> Picture;
    vcl::TGraphic* Graphic = nullptr;
    std::unique_ptr<htmldoc::TpsMarkupTag> Tag;
    bool ReloadPending = false;
    Integer UseCount = 0;
    Integer MaxUseCount = 0;
    std::unique_ptr<htmldoc::TpsGraphicList> ResizedGraphics;
  };
  static void Release(Slot& aSlot);
  static void CopyOut(const Slot& aSlot, TpsImageCacheElement& aElement);
  Slot* SlotOfSource(const AnsiString& aSource);
  Slot* SlotOfId(Integer aId);

  std::vector<Slot> FSlots;
  Integer FCount = 0;
  Integer FNextId = 0;
};

struct TpsDocumentGraphic {
  AnsiString Source;
  vcl::TGraphic* Graphic = nullptr;
};

class TpsDocumentGraphics {
 public:
  explicit TpsDocumentGraphics(TpsImageCache* aCache) : Cache(aCache) {}
  // The elements now in use.
  Integer GetCount() const;
  // The aIndex-th element in use; a cleared record past the end.
  void GetGraphic(Integer aIndex, TpsDocumentGraphic& aGraphic) const;

  TpsImageCache* Cache;  // not owned
};

}  // namespace htmlview
