#include "memo/text/LumMemoStrings.h"

#include <algorithm>
#include <unordered_set>

#include "memo/text/MemoChars.h"
#include "rtl/Exceptions.h"
#include "rtl/Files.h"
#include "rtl/Streams.h"
#include "rtl/UpdateScope.h"

namespace memo {

// ------------------------------------------------------------ TIntList

Integer TIntList::Max() const {
  Integer m = 0;
  bool first = true;
  for (void* p : List()) {
    auto v = static_cast<Integer>(rtl::ObjectToInt(p));
    if (first || v > m) m = v;
    first = false;
  }
  return m;
}

// --------------------------------------------------------- TLineJournal

void TLineJournal::BeginScope() {
  if (scopes_++ == 0) pending_.clear();
}

bool TLineJournal::EndScope() {
  if (scopes_ <= 0) return false;
  if (--scopes_ > 0) return false;
  pending_.clear();
  return true;
}

void TLineJournal::Record(TLineChange change) {
  if (Recording()) pending_.push_back(std::move(change));
}

TLineChanges TLineJournal::Take() {
  TLineChanges out;
  out.swap(pending_);
  return out;
}

// -------------------------------------------------------------- splitting

std::vector<AnsiString> SplitLines(const AnsiString& text) {
  std::vector<AnsiString> lines;
  size_t start = 0;
  const size_t n = text.size();
  for (size_t i = 0; i < n; ++i) {
    char c = text[i];
    if (c != '\r' && c != '\n') continue;
    lines.emplace_back(text, start, i - start);
    if (c == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < n) lines.emplace_back(text, start, n - start);
  return lines;
}

namespace {

// Pieces of a text at every CR LF, CR or LF; a break at the end gives an
// empty last piece (as appending a text that ends in a break should).
std::vector<AnsiString> SplitPieces(const AnsiString& text) {
  std::vector<AnsiString> pieces = SplitLines(text);
  if (text.empty() || text.back() == '\r' || text.back() == '\n') pieces.emplace_back();
  return pieces;
}

}  // namespace

// ------------------------------------------------------- TLumMemoStrings

TLumMemoStrings::TLumMemoStrings() = default;

TLumMemoStrings::~TLumMemoStrings() {
  OnChange = nullptr;
  OnChanging = nullptr;
}

const AnsiString& TLumMemoStrings::Line(Integer index) const {
  if (index < 0 || index >= Count()) IndexError(index);
  return ItemText(index);
}

TLineProp* TLumMemoStrings::NewLineProp(void* data) {
  lineProps_.push_back(std::make_unique<TLineProp>());
  lineProps_.back()->Data = data;
  return lineProps_.back().get();
}

void TLumMemoStrings::RebuildLengths() {
  lineLengths_.Clear();
  for (Integer i = 0; i < Count(); ++i) lineLengths_.Add(CharLength(ItemText(i)));
}

// --- raw changes

void TLumMemoStrings::PutRaw(Integer index, AnsiString s) {
  if (index < 0 || index >= Count()) IndexError(index);
  Integer len = CharLength(s);
  if (journal_.Recording()) journal_.Record({TLineChange::TKind::lcPut, index, ItemText(index), s});
  Changing();
  TokenStatesStale(index + 1);
  SetItemText(index, std::move(s));
  lineLengths_.SetItems(index, len);
  Changed();
}

void TLumMemoStrings::InsertRaw(Integer index, AnsiString s) {
  if (index < 0 || index > Count()) IndexError(index);
  Integer len = CharLength(s);
  if (journal_.Recording()) journal_.Record({TLineChange::TKind::lcInsert, index, {}, s});
  lineLengths_.Insert(index, len);
  TokenStatesStale(index);
  InsertItem(index, s, nullptr);
}

void TLumMemoStrings::DeleteRaw(Integer index) {
  if (index < 0 || index >= Count()) IndexError(index);
  if (journal_.Recording()) journal_.Record({TLineChange::TKind::lcDelete, index, ItemText(index), {}});
  lineLengths_.Delete(index);
  TokenStatesStale(index);
  TStringList::Delete(index);
}

namespace {

// Replays are never journalled, even when one raises half-way.
class TJournalSuspended {
 public:
  explicit TJournalSuspended(TLineJournal& journal) : journal_(journal) { journal_.Suspend(); }
  ~TJournalSuspended() { journal_.Resume(); }
  TJournalSuspended(const TJournalSuspended&) = delete;
  TJournalSuspended& operator=(const TJournalSuspended&) = delete;

 private:
  TLineJournal& journal_;
};

}  // namespace

// Each change is applied forwards or backwards; an index the text no longer
// has is skipped (a put, or a line to remove) or clamped (a line to put
// back).
void TLumMemoStrings::ReplayChange(const TLineChange& c, bool backwards) {
  using TKind = TLineChange::TKind;
  bool insert = (c.Kind == TKind::lcInsert) != backwards;
  if (c.Kind == TKind::lcPut) {
    if (c.Index >= 0 && c.Index < Count()) PutRaw(c.Index, backwards ? c.Before : c.After);
  } else if (insert) {
    if (c.Index >= 0) InsertRaw(std::min(c.Index, Count()), backwards ? c.Before : c.After);
  } else if (c.Index >= 0 && c.Index < Count()) {
    DeleteRaw(c.Index);
  }
}

void TLumMemoStrings::RevertChanges(const TLineChanges& changes) {
  TJournalSuspended quiet(journal_);
  for (auto it = changes.rbegin(); it != changes.rend(); ++it) ReplayChange(*it, true);
}

void TLumMemoStrings::ApplyChanges(const TLineChanges& changes) {
  TJournalSuspended quiet(journal_);
  for (const TLineChange& c : changes) ReplayChange(c, false);
}

void TLumMemoStrings::ClearRaw() {
  lineProps_.clear();
  lineLengths_.Clear();
  TokenStatesStale(0);
  TStringList::Clear();
  // Line numbers in pending changes mean nothing in a new text.
  journal_.Drop();
}

// --- loading and saving

void TLumMemoStrings::LoadText(const AnsiString& bytes) {
  std::vector<AnsiString> lines = SplitLines(bytes);
  if (!Attached()) {
    rtl::TUpdateScope<rtl::TStrings> update(*this);
    ClearRaw();
    for (AnsiString& line : lines) AddObject(line, nullptr);
    journal_.Drop();
    return;
  }
  // The editor has switched its notifications off (StoreBeginLoad); the
  // store's own change event stays quiet until the text is whole.
  auto onChange = std::move(OnChange);
  OnChange = nullptr;
  try {
    ClearRaw();
    memo_->StoreAfterClear();
    Integer tab = memo_->StoreTabSize();
    Integer longest = 0;
    for (AnsiString& line : lines) {
      ExpandTabs(line, tab);
      Integer len = CharLength(line);
      longest = std::max(longest, len);
      lineLengths_.Add(len);
      InsertItem(Count(), line, NewLineProp(nullptr));
    }
    journal_.Drop();
    OnChange = std::move(onChange);
    memo_->StoreEndLoad(longest);
  } catch (...) {
    if (!OnChange) OnChange = std::move(onChange);
    throw;
  }
}

void TLumMemoStrings::LoadFromString(const AnsiString& text) {
  if (!Attached()) {
    LoadText(text);
    return;
  }
  memo_->StoreBeginLoad();
  try {
    LoadText(text);
  } catch (...) {
    memo_->StoreAbortLoad();
    throw;
  }
}

void TLumMemoStrings::LoadFromStream(rtl::TStream& stream) {
  if (Attached()) memo_->StoreBeginLoad();
  try {
    rtl::Int64 size = std::max<rtl::Int64>(stream.Size() - stream.Position(), 0);
    AnsiString bytes(static_cast<size_t>(size), '\0');
    if (size > 0) stream.ReadBuffer(bytes.data(), static_cast<Integer>(size));
    LoadText(bytes);
  } catch (...) {
    if (Attached()) memo_->StoreAbortLoad();
    throw;
  }
}

void TLumMemoStrings::LoadFromFile(const AnsiString& fileName) {
  if (Attached()) memo_->StoreBeginLoad();
  try {
    AnsiString bytes;
    {
      rtl::TFileStream file(fileName, rtl::fmOpenRead | rtl::fmShareDenyWrite);
      rtl::Int64 size = file.Size();
      bytes.assign(static_cast<size_t>(std::max<rtl::Int64>(size, 0)), '\0');
      if (size > 0) file.ReadBuffer(bytes.data(), static_cast<Integer>(size));
    }
    LoadText(bytes);
  } catch (...) {
    if (Attached()) memo_->StoreAbortLoad();
    throw;
  }
}

AnsiString TLumMemoStrings::SaveToString() const {
  size_t total = 0;
  for (Integer i = 0; i < Count(); ++i) total += ItemText(i).size() + 2;
  AnsiString out;
  out.reserve(total);
  for (Integer i = 0; i < Count(); ++i) {
    out += ItemText(i);
    TLineProp* next = i + 1 < Count() ? static_cast<TLineProp*>(ItemObject(i + 1)) : nullptr;
    if (!(next && next->Continuation)) out += "\r\n";
  }
  return out;
}

void TLumMemoStrings::SaveToFile(const AnsiString& fileName) const {
  // Saving trims the lines the editor shows: the store itself changes.
  auto* self = const_cast<TLumMemoStrings*>(this);
  bool wrap = Attached() && memo_->StoreWordWrap();
  if (wrap) memo_->StoreUnwrap();
  {
    rtl::TUpdateScope<rtl::TStrings> update(*self);
    for (Integer i = 0; i < Count(); ++i) {
      AnsiString trimmed = TrimRightControls(ItemText(i));
      if (trimmed != ItemText(i)) self->Put(i, trimmed);
    }
  }
  rtl::WriteFileAtomically(fileName, SaveToString());
  if (wrap) memo_->StoreWrap();
}

// --- the string list's operations

Integer TLumMemoStrings::Add(const AnsiString& s) {
  if (!Attached()) return AddObject(s, nullptr);
  AnsiString text = s;
  ExpandTabs(text, memo_->StoreTabSize());
  Integer last = -1;
  for (AnsiString& piece : SplitPieces(text)) last = AddObject(piece, nullptr);
  return last;
}

Integer TLumMemoStrings::AddObject(const AnsiString& s, void* object) {
  Integer index = Count();
  Integer len = CharLength(s);
  if (journal_.Recording()) journal_.Record({TLineChange::TKind::lcInsert, index, {}, s});
  lineLengths_.Add(len);
  TokenStatesStale(index);
  InsertItem(index, s, NewLineProp(object));
  return index;
}

void TLumMemoStrings::AddStrings(const rtl::TStrings& source) {
  {
    rtl::TUpdateScope<rtl::TStrings> update(*this);
    for (Integer i = 0; i < source.Count(); ++i) AddObject(source.Get(i), source.GetObject(i));
  }
  if (Attached() && updateDepth_ == 0) memo_->StoreLinesAppended();
}

void TLumMemoStrings::Assign(const rtl::TStrings& source) {
  if (&source == this) return;
  if (!Attached()) {
    rtl::TUpdateScope<rtl::TStrings> update(*this);
    ClearRaw();
    for (Integer i = 0; i < source.Count(); ++i) AddObject(source.Get(i), source.GetObject(i));
    return;
  }
  memo_->StoreAssign(source);
}

void TLumMemoStrings::Insert(Integer index, const AnsiString& s) {
  if (!Attached()) {
    InsertRaw(index, s);
    return;
  }
  if (index < 0 || index > Count()) IndexError(index);
  memo_->StoreBeforeInsert();
  InsertLine(index, s);
  memo_->StoreAfterInsert();
}

void TLumMemoStrings::InsertLine(Integer index, const AnsiString& s) {
  if (index < 0 || index > Count()) IndexError(index);
  AnsiString text = s;
  if (Attached()) ExpandTabs(text, memo_->StoreTabSize());
  InsertRaw(index, std::move(text));
  if (Attached()) {
    memo_->StoreLineChanged(index);
    memo_->StoreLineInserted(index);
  }
}

void TLumMemoStrings::Delete(Integer index) {
  if (index < 0 || index >= Count()) return;
  if (!Attached() || deleting_) {
    DeleteRaw(index);
    if (Attached()) memo_->StoreLineChanged(index);
    return;
  }
  deleting_ = true;
  try {
    memo_->StoreDeleteLine(index);
  } catch (...) {
    deleting_ = false;
    throw;
  }
  deleting_ = false;
}

void TLumMemoStrings::Put(Integer index, const AnsiString& s) {
  if (index < 0 || index >= Count()) IndexError(index);
  AnsiString text = s;
  if (Attached()) ExpandTabs(text, memo_->StoreTabSize());
  PutRaw(index, std::move(text));
  if (Attached()) memo_->StoreLineChanged(index);
}

AnsiString TLumMemoStrings::Get(Integer index) const { return Line(index); }

void* TLumMemoStrings::GetObject(Integer index) const {
  TLineProp* prop = GetLineProp(index);
  return prop ? prop->Data : nullptr;
}

void TLumMemoStrings::PutObject(Integer index, void* object) {
  if (index < 0 || index >= Count()) return;
  // A line without a record gets one, so an object slot never holds
  // anything but a record of this store.
  CreateLineProp(index)->Data = object;
}

void TLumMemoStrings::Clear() {
  if (Attached()) memo_->StoreBeforeClear();
  ClearRaw();
  if (Attached()) memo_->StoreAfterClear();
}

void TLumMemoStrings::Exchange(Integer index1, Integer index2) {
  TStringList::Exchange(index1, index2);
  TokenStatesStale(std::min(index1, index2));
  Integer a = lineLengths_.Items(index1);
  lineLengths_.SetItems(index1, lineLengths_.Items(index2));
  lineLengths_.SetItems(index2, a);
  journal_.Drop();
}

void TLumMemoStrings::Move(Integer curIndex, Integer newIndex) {
  TStringList::Move(curIndex, newIndex);
  TokenStatesStale(std::min(curIndex, newIndex));
  if (curIndex != newIndex) lineLengths_.Move(curIndex, newIndex);
  journal_.Drop();
}

void TLumMemoStrings::CustomSort(const std::function<int(TStringList& list, Integer i, Integer j)>& compare) {
  TStringList::CustomSort(compare);
  TokenStatesStale(0);
  RebuildLengths();
  journal_.Drop();
}

// --- records

TLineProp* TLumMemoStrings::GetLineProp(Integer index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return static_cast<TLineProp*>(ItemObject(index));
}

TLineProp* TLumMemoStrings::CreateLineProp(Integer index) {
  if (index < 0 || index >= Count()) IndexError(index);
  if (TLineProp* existing = GetLineProp(index)) return existing;
  TLineProp* prop = NewLineProp(nullptr);
  if (Attached() && memo_->StoreFoldingEnabled() && index > 0) {
    TLineProp* prev = GetLineProp(index - 1);
    TLineProp* next = GetLineProp(index + 1);
    prop->InRegion = (prev && prev->InRegion && prev->RegionEndCount() == 0) ||
                     (prev && prev->RegionStart && prev->Expanded) || (next && next->InRegion);
  }
  SetItemObject(index, prop);
  return prop;
}

void TLumMemoStrings::ReplaceLines(const rtl::TStrings& list) {
  std::unordered_set<const TLineProp*> mine;
  for (auto& p : lineProps_) mine.insert(p.get());
  {
    rtl::TUpdateScope<rtl::TStrings> update(*this);
    lineLengths_.Clear();
    TokenStatesStale(0);
    TStringList::Clear();
    for (Integer i = 0; i < list.Count(); ++i) {
      auto* prop = static_cast<TLineProp*>(list.GetObject(i));
      if (!mine.count(prop)) prop = nullptr;
      AnsiString s = list.Get(i);
      lineLengths_.Add(CharLength(s));
      InsertItem(Count(), s, prop);
    }
  }
  journal_.Drop();
  if (Attached()) memo_->StoreLinesReplaced();
}

void TLumMemoStrings::SetUpdateState(bool updating) {
  if (updating)
    ++updateDepth_;
  else if (updateDepth_ > 0)
    --updateDepth_;
}

void TLumMemoStrings::Check() const {
  RTL_ASSERT_MSG(lineLengths_.Count() == Count(), "one length per line");
  RTL_ASSERT_MSG(updateDepth_ >= 0, "update depth not negative");
  std::unordered_set<const TLineProp*> mine;
  for (auto& p : lineProps_) mine.insert(p.get());
  std::unordered_set<const void*> used;
  for (Integer i = 0; i < Count(); ++i) {
    RTL_ASSERT_MSG(lineLengths_.Items(i) == CharLength(ItemText(i)), "line length in characters");
    const void* obj = ItemObject(i);
    if (!obj) continue;
    RTL_ASSERT_MSG(mine.count(static_cast<const TLineProp*>(obj)) == 1, "object slot holds a record of the store");
    RTL_ASSERT_MSG(used.insert(obj).second, "no record in two slots");
  }
}

}  // namespace memo
