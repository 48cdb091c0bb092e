#include "htmledit/view/psImageCache.h"

#include "htmledit/doc/psTagParser.h"
#include "vcl/Pictures.h"

namespace htmlview {

TpsVclGraphic::TpsVclGraphic(std::unique_ptr<vcl::TGraphic> aGraphic) : FGraphic(std::move(aGraphic)) {}
TpsVclGraphic::~TpsVclGraphic() = default;

TpsImageCache::TpsImageCache() { Reset(40); }

TpsImageCache::~TpsImageCache() { Clear(); }

void TpsImageCache::Reset(Integer aLength) {
  FSlots.clear();
  FSlots.resize(static_cast<size_t>(aLength));
  FCount = 0;
  FNextId = 0;
}

void TpsImageCache::Release(Slot& s) {
  s.Source.clear();
  // A picture frees the graphic it owns; a graphic of its own goes by itself.
  s.Graphic = nullptr;
  s.Picture.reset();
  s.OwnedGraphic.reset();
  s.ResizedGraphics.reset();
}

void TpsImageCache::Clear() {
  for (Integer i = 0; i < FCount; ++i) Release(FSlots[static_cast<size_t>(i)]);
  Reset(40);
}

void TpsImageCache::CopyOut(const Slot& s, TpsImageCacheElement& e) {
  e.Id = s.Id;
  e.Source = s.Source;
  e.Graphic = s.Graphic;
  e.Picture = s.Picture.get();
  e.Tag = s.Tag.get();
  e.ReloadPending = s.ReloadPending;
  e.UseCount = s.UseCount;
  e.MaxUseCount = s.MaxUseCount;
  e.ResizedGraphics = s.ResizedGraphics.get();
}

Integer TpsImageCache::AddImage(const AnsiString& aSource, std::unique_ptr<vcl::TGraphic> aGraphic,
                                const htmldoc::TpsMarkupTag* aTag) {
  if (Contains(aSource)) return -1;
  const Integer id = FNextId++;
  if (FCount >= Capacity()) {
    // An image that was shown and no longer is makes room; one that was
    // never shown is kept, and the array grows instead.
    Integer victim = -1;
    for (Integer i = 0; i < FCount; ++i) {
      const Slot& s = FSlots[static_cast<size_t>(i)];
      if (s.UseCount == 0 && s.MaxUseCount > 0) {
        victim = i;
        break;
      }
    }
    if (victim >= 0) {
      DeleteElement(victim);
    } else {
      FSlots.emplace_back();
    }
  }
  Slot& s = FSlots[static_cast<size_t>(FCount)];
  s = Slot{};
  s.Id = id;
  s.Source = aSource;
  s.OwnedGraphic = std::move(aGraphic);
  s.Graphic = s.OwnedGraphic.get();
  if (aTag) s.Tag = std::make_unique<htmldoc::TpsMarkupTag>(*aTag);
  s.ResizedGraphics = std::make_unique<htmldoc::TpsGraphicList>();
  ++FCount;
  return id;
}

Integer TpsImageCache::IndexOfSource(const AnsiString& aSource) const {
  for (Integer i = 0; i < FCount; ++i)
    if (FSlots[static_cast<size_t>(i)].Source == aSource) return i;
  return -1;
}

Integer TpsImageCache::IndexOfId(Integer aId) const {
  for (Integer i = 0; i < FCount; ++i)
    if (FSlots[static_cast<size_t>(i)].Id == aId) return i;
  return -1;
}

Integer TpsImageCache::GetImageID(const AnsiString& aSource) const {
  const Integer i = IndexOfSource(aSource);
  return i < 0 ? -1 : FSlots[static_cast<size_t>(i)].Id;
}

TpsImageCache::Slot* TpsImageCache::SlotOfSource(const AnsiString& aSource) {
  const Integer i = IndexOfSource(aSource);
  return i < 0 ? nullptr : &FSlots[static_cast<size_t>(i)];
}

TpsImageCache::Slot* TpsImageCache::SlotOfId(Integer aId) {
  const Integer i = IndexOfId(aId);
  return i < 0 ? nullptr : &FSlots[static_cast<size_t>(i)];
}

bool TpsImageCache::FindBySource(const AnsiString& aSource, TpsImageCacheElement& e) const {
  const Integer i = IndexOfSource(aSource);
  if (i < 0) return false;
  CopyOut(FSlots[static_cast<size_t>(i)], e);
  return true;
}

bool TpsImageCache::GetImageByID(Integer aId, TpsImageCacheElement& e) const {
  const Integer i = IndexOfId(aId);
  if (i < 0) return false;
  CopyOut(FSlots[static_cast<size_t>(i)], e);
  return true;
}

void TpsImageCache::GetImage(Integer aIndex, TpsImageCacheElement& e) const {
  if (aIndex < 0 || aIndex >= FCount) throw rtl::EListError("TpsImageCache.GetImage: List index out of bounds!");
  CopyOut(FSlots[static_cast<size_t>(aIndex)], e);
}

vcl::TGraphic* TpsImageCache::GetGraphicBySource(const AnsiString& aSource) const {
  const Integer i = IndexOfSource(aSource);
  return i < 0 ? nullptr : FSlots[static_cast<size_t>(i)].Graphic;
}

vcl::TGraphic* TpsImageCache::GetGraphicByID(Integer aId) const {
  const Integer i = IndexOfId(aId);
  return i < 0 ? nullptr : FSlots[static_cast<size_t>(i)].Graphic;
}

void TpsImageCache::SetGraphicByID(Integer aId, std::unique_ptr<vcl::TGraphic> aGraphic) {
  Slot* s = SlotOfId(aId);
  if (!s) return;
  s->Picture.reset();
  s->OwnedGraphic = std::move(aGraphic);
  s->Graphic = s->OwnedGraphic.get();
  s->Tag.reset();
}

void TpsImageCache::SetPictureByID(Integer aId, std::unique_ptr<vcl::TPicture> aPicture) {
  Slot* s = SlotOfId(aId);
  if (!s) return;
  s->OwnedGraphic.reset();
  s->Picture = std::move(aPicture);
  s->Graphic = s->Picture ? s->Picture->Graphic() : nullptr;
  if (s->Graphic) s->Tag.reset();
}

void TpsImageCache::SetTag(const AnsiString& aSource, const htmldoc::TpsMarkupTag* aTag) {
  if (Slot* s = SlotOfSource(aSource))
    s->Tag = aTag ? std::make_unique<htmldoc::TpsMarkupTag>(*aTag) : nullptr;
}

std::vector<Integer> TpsImageCache::GetMissingImageIDs() const {
  std::vector<Integer> ids;
  for (Integer i = 0; i < FCount; ++i)
    if (!FSlots[static_cast<size_t>(i)].Graphic) ids.push_back(FSlots[static_cast<size_t>(i)].Id);
  return ids;
}

bool TpsImageCache::ReplaceGraphic(const AnsiString& aSource, std::unique_ptr<vcl::TGraphic> aGraphic) {
  Slot* s = SlotOfSource(aSource);
  if (!s) return false;
  s->Graphic = nullptr;
  s->Picture.reset();
  s->OwnedGraphic = std::move(aGraphic);
  s->Graphic = s->OwnedGraphic.get();
  s->ReloadPending = false;
  s->ResizedGraphics = std::make_unique<htmldoc::TpsGraphicList>();
  return true;
}

void TpsImageCache::SetReloadFlag(const AnsiString& aSource, bool aValue) {
  if (Slot* s = SlotOfSource(aSource)) s->ReloadPending = aValue;
}

bool TpsImageCache::GetReloadFlag(Integer aIndex) const { return FSlots[static_cast<size_t>(aIndex)].ReloadPending; }

AnsiString TpsImageCache::GetSource(Integer aIndex) const { return FSlots[static_cast<size_t>(aIndex)].Source; }

void TpsImageCache::AddUse(const AnsiString& aSource) {
  if (Slot* s = SlotOfSource(aSource)) {
    ++s->UseCount;
    if (s->UseCount > s->MaxUseCount) s->MaxUseCount = s->UseCount;
  }
}

void TpsImageCache::RemoveUse(const AnsiString& aSource) {
  if (Slot* s = SlotOfSource(aSource)) --s->UseCount;
}

vcl::TGraphic* TpsImageCache::GetResizedGraphic(const AnsiString& aSource, Integer aWidth, Integer aHeight) {
  Slot* s = SlotOfSource(aSource);
  if (!s) return nullptr;
  htmldoc::TpsGraphicList& list = *s->ResizedGraphics;
  if (htmldoc::TpsGraphicListItem* item = list.Find(aWidth, aHeight)) {
    item->AddRef();
    return static_cast<TpsVclGraphic*>(item->Graphic)->Graphic();
  }
  if (list.GetCount() >= s->UseCount) list.DeleteFirstUnused();
  if (!OnRequestResizedGraphic) return nullptr;
  std::unique_ptr<vcl::TGraphic> graphic = OnRequestResizedGraphic(this, aSource, aWidth, aHeight);
  if (!graphic) return nullptr;
  vcl::TGraphic* result = graphic.get();
  list.Add(new TpsVclGraphic(std::move(graphic)), aWidth, aHeight, true);
  return result;
}

void TpsImageCache::ReleaseResizedGraphic(const AnsiString& aSource, Integer aWidth, Integer aHeight) {
  Slot* s = SlotOfSource(aSource);
  if (!s) return;
  if (htmldoc::TpsGraphicListItem* item = s->ResizedGraphics->Find(aWidth, aHeight)) item->Release();
}

void TpsImageCache::DeleteElement(Integer aIndex) {
  if (aIndex < 0 || aIndex >= FCount) return;
  Release(FSlots[static_cast<size_t>(aIndex)]);
  for (Integer i = aIndex; i + 1 < FCount; ++i)
    FSlots[static_cast<size_t>(i)] = std::move(FSlots[static_cast<size_t>(i + 1)]);
  FSlots[static_cast<size_t>(FCount - 1)] = Slot{};
  --FCount;
}

Integer TpsDocumentGraphics::GetCount() const {
  Integer n = 0;
  TpsImageCacheElement e;
  for (Integer i = 0; i < Cache->Count(); ++i) {
    Cache->GetImage(i, e);
    if (e.UseCount > 0) ++n;
  }
  return n;
}

void TpsDocumentGraphics::GetGraphic(Integer aIndex, TpsDocumentGraphic& aGraphic) const {
  aGraphic = {};
  Integer n = 0;
  TpsImageCacheElement e;
  for (Integer i = 0; i < Cache->Count(); ++i) {
    Cache->GetImage(i, e);
    if (e.UseCount <= 0) continue;
    if (n++ == aIndex) {
      aGraphic.Source = e.Source;
      aGraphic.Graphic = e.Graphic;
      return;
    }
  }
}

}  // namespace htmlview
