#pragma once
// The code editor's text: TLumMemoStrings, a string list of lines (UTF-8,
// no line breaks) with one optional TLineProp record per line and the
// length of every line in characters. A store is attached to the editor
// that shows it (Memo set) or detached; attached, every operation keeps the
// editor's caret, undo history, bookmarks and folding consistent with the
// text through the small ILumMemoEditor interface, so this layer needs no
// window code and its fuzz target builds without one.
//
// Every raw change to a line (replace, insert, delete) is also written to
// the store's journal while an editing operation records one; the editor's
// undo records keep those entries, so undo and redo give the text back
// byte for byte whatever trimming or indenting the operation did.
#include <cstdint>
#include <memory>
#include <vector>

#include "rtl/Lists.h"
#include "rtl/StringList.h"

namespace rtl {
class TStream;
}

namespace memo {

using rtl::AnsiString;
using rtl::Integer;

// A list of 32-bit integers in the pointer slots of a list: line lengths,
// bookmark lines, continuation lines.
class TIntList : public rtl::TList {
 public:
  Integer Items(Integer index) const { return static_cast<Integer>(rtl::ObjectToInt(Get(index))); }
  void SetItems(Integer index, Integer value) { Put(index, rtl::IntToObject(value)); }
  Integer operator[](Integer index) const { return Items(index); }
  Integer Add(Integer value) { return TList::Add(rtl::IntToObject(value)); }
  void Insert(Integer index, Integer value) { TList::Insert(index, rtl::IntToObject(value)); }
  // The greatest item, or 0 for an empty list.
  Integer Max() const;
};

// The tokenizer's state at the start of a line, as the line caches it: the
// six flag bytes, the open bracket's two characters and the style index.
struct TTokenState {
  uint8_t InComment = 0;
  uint8_t InBracket = 0;
  uint8_t Number = 0;
  uint8_t Keyword = 0;
  uint8_t Symbol = 0;
  uint8_t URL = 0;
  char BracketEnd = 0;
  char BracketStart = 0;
  int32_t StyleIndex = -1;
  bool operator==(const TTokenState&) const = default;
};

// The per-line record.
class TLineProp {
 public:
  TLineProp() = default;
  TLineProp(const TLineProp&) = delete;
  TLineProp& operator=(const TLineProp&) = delete;

  void* Data = nullptr;  // the line's user object (GetObject answers it)
  // Wavy-underline spans: start columns and lengths, kept in step.
  TIntList UnderlineStarts;
  TIntList UnderlineLengths;
  bool Expanded = true;
  Integer RegionEndCount() const { return regionEndCount_; }
  // Negative values are ignored.
  void SetRegionEndCount(Integer v) {
    if (v >= 0) regionEndCount_ = v;
  }
  bool InRegion = false;
  bool RegionStart = false;
  bool Breakpoint = false;
  bool DotMarked = false;
  bool Modified = false;
  bool Flagged = false;
  TTokenState TokenState;
  bool TokenStateValid = false;
  // Soft-wrapped continuation of the line before it.
  bool Continuation = false;

 private:
  Integer regionEndCount_ = 0;
};

// One raw change to a line, as the journal keeps it.
struct TLineChange {
  enum class TKind : uint8_t { lcPut, lcInsert, lcDelete };
  TKind Kind;
  Integer Index;
  AnsiString Before;  // lcPut, lcDelete: the line as it was
  AnsiString After;   // lcPut, lcInsert: the line as it became
};
using TLineChanges = std::vector<TLineChange>;

// Collects raw line changes inside editing scopes. A scope that opens with
// nothing around it starts from an empty list; changes made outside any
// scope, or while suspended (replaying a record), are not kept.
class TLineJournal {
 public:
  bool Recording() const { return scopes_ > 0 && suspended_ == 0; }
  void BeginScope();
  // Answers true when the outermost scope closed.
  bool EndScope();
  Integer ScopeDepth() const { return scopes_; }
  void Suspend() { ++suspended_; }
  void Resume() { --suspended_; }
  void Record(TLineChange change);
  // The changes collected since the last take; the list is left empty.
  TLineChanges Take();
  bool HasPending() const { return !pending_.empty(); }
  void Drop() { pending_.clear(); }

 private:
  Integer scopes_ = 0;
  Integer suspended_ = 0;
  TLineChanges pending_;
};

// What a line store needs of the editor it is attached to. The editor's
// side of every store operation is specified with that operation.
class ILumMemoEditor {
 public:
  virtual Integer StoreTabSize() const = 0;
  // Line index changed in place, was inserted or removed (the painter's and
  // tokenizer's caches).
  virtual void StoreLineChanged(Integer index) = 0;
  // Whole text replaced (load): before reading, after a good read, and
  // after a failed one.
  virtual void StoreBeginLoad() = 0;
  virtual void StoreEndLoad(Integer longestLine) = 0;
  virtual void StoreAbortLoad() = 0;
  // Insert through the store: before and after the line goes in.
  virtual void StoreBeforeInsert() = 0;
  virtual void StoreAfterInsert() = 0;
  // A line went in at index (bookmarks at or below it move down).
  virtual void StoreLineInserted(Integer index) = 0;
  // Delete through the store: the editor's whole delete-line sequence for
  // line index (it deletes the line through the store's raw path).
  virtual void StoreDeleteLine(Integer index) = 0;
  virtual void StoreBeforeClear() = 0;
  virtual void StoreAfterClear() = 0;
  virtual bool StoreFoldingEnabled() const = 0;
  // Assign of another list: the editor's reset and Lines setter.
  virtual void StoreAssign(const rtl::TStrings& source) = 0;
  // Lines appended by AddStrings outside an update block.
  virtual void StoreLinesAppended() = 0;
  // The whole list replaced by word wrap.
  virtual void StoreLinesReplaced() = 0;
  virtual bool StoreWordWrap() const = 0;
  virtual void StoreUnwrap() = 0;
  virtual void StoreWrap() = 0;

 protected:
  ~ILumMemoEditor() = default;
};

class TLumMemoStrings : public rtl::TStringList {
 public:
  TLumMemoStrings();
  ~TLumMemoStrings() override;

  // The editor that shows the lines, or null (detached).
  ILumMemoEditor* Memo() const { return memo_; }
  void SetMemo(ILumMemoEditor* memo) { memo_ = memo; }
  Integer UpdateDepth() const { return updateDepth_; }
  bool Deleting() const { return deleting_; }
  void SetDeleting(bool v) { deleting_ = v; }
  const TIntList& LineLengths() const { return lineLengths_; }
  // Records the store made (alive until Clear), including those of lines
  // deleted since.
  Integer LinePropCount() const { return static_cast<Integer>(lineProps_.size()); }
  TLineJournal& Journal() { return journal_; }
  // Cached line-start token states of this line and below may predate an
  // edit above them (an edit marks every line after it); the tokenizer
  // drops them as it passes and moves the mark past what it rescanned.
  Integer TokenStatesStaleFrom() const { return tokenStatesStaleFrom_; }
  void TokenStatesStale(Integer from) { tokenStatesStaleFrom_ = std::min(tokenStatesStaleFrom_, std::max(from, 0)); }
  void TokenStatesFreshTo(Integer line) { tokenStatesStaleFrom_ = std::max(tokenStatesStaleFrom_, line + 1); }

  // The line at index without a copy; raises the index error outside.
  const AnsiString& Line(Integer index) const;
  // Its length in characters.
  Integer LineLength(Integer index) const { return lineLengths_.Items(index); }

  // --- loading and saving ---
  void LoadFromString(const AnsiString& text);
  void LoadFromStream(rtl::TStream& stream) override;
  void LoadFromFile(const AnsiString& fileName) override;
  // Every line followed by CR LF; a soft-wrapped continuation joins the line
  // before it without one.
  AnsiString SaveToString() const;
  // Unwraps, stores every line without trailing characters of code 32 and
  // below, writes the file (atomically), wraps again.
  void SaveToFile(const AnsiString& fileName) const override;

  // --- the string list's operations ---
  Integer Add(const AnsiString& s) override;
  Integer AddObject(const AnsiString& s, void* object) override;
  void AddStrings(const rtl::TStrings& source) override;
  void Assign(const rtl::TStrings& source) override;
  void Insert(Integer index, const AnsiString& s) override;
  // The editing core's insertion: TABs expanded, bookmarks moved, no record.
  void InsertLine(Integer index, const AnsiString& s);
  void Delete(Integer index) override;
  void Put(Integer index, const AnsiString& s) override;
  AnsiString Get(Integer index) const override;
  void* GetObject(Integer index) const override;
  void PutObject(Integer index, void* object) override;
  void Clear() override;
  void Exchange(Integer index1, Integer index2) override;
  void Move(Integer curIndex, Integer newIndex) override;
  void CustomSort(const std::function<int(TStringList& list, Integer i, Integer j)>& compare) override;

  // --- line records ---
  // The line's record, or null outside the list or when it has none.
  TLineProp* GetLineProp(Integer index) const;
  // Makes a record for a line that has none (answers the existing one).
  TLineProp* CreateLineProp(Integer index);
  // Word wrap: the lines of list become the text; list's objects are this
  // store's records (or null) and keep their lines.
  void ReplaceLines(const rtl::TStrings& list);

  // --- raw changes (the editing core and undo) ---
  // No editor behaviour, no change event; journalled.
  void PutRaw(Integer index, AnsiString s);
  void InsertRaw(Integer index, AnsiString s);
  void DeleteRaw(Integer index);
  // Undoes changes (last first) or applies them again (first first) through
  // the raw path, unjournalled; an index the text no longer has is skipped.
  void RevertChanges(const TLineChanges& changes);
  void ApplyChanges(const TLineChanges& changes);

  // Raises EAssertionFailed when an invariant does not hold: one length per
  // line equal to its character count, every object slot empty or one of
  // this store's records, no record in two slots.
  void Check() const;

 protected:
  void SetUpdateState(bool updating) override;

 private:
  void LoadText(const AnsiString& bytes);
  void ReplayChange(const TLineChange& change, bool backwards);
  void ClearRaw();
  TLineProp* NewLineProp(void* data);
  void RebuildLengths();
  bool Attached() const { return memo_ != nullptr; }

  ILumMemoEditor* memo_ = nullptr;  // the editor showing the lines; not owned
  Integer updateDepth_ = 0;
  bool deleting_ = false;
  std::vector<std::unique_ptr<TLineProp>> lineProps_;
  TIntList lineLengths_;
  TLineJournal journal_;
  Integer tokenStatesStaleFrom_ = 0;
};

// The lines of a text, split at CR LF, CR and LF; a final line break makes no
// empty last line. Every other byte, NUL included, is kept.
std::vector<AnsiString> SplitLines(const AnsiString& text);

}  // namespace memo
