#pragma once
// Undo and redo of the code editor: one record per elementary edit, newest
// first in the undo list, runs of typing or deleting merged into one.
//
// A record the editor makes carries the raw line changes of its edit (the
// line store's journal), and undo and redo replay exactly those, so the
// text comes back byte for byte whatever the edit trimmed, indented or
// filled in. A record without them (made by other code, or while word wrap
// re-lays the lines out) replays by calling the editing operations, as the
// record kinds describe.
#include <memory>
#include <vector>

#include "memo/text/LumMemoStrings.h"
#include "rtl/Types.h"

namespace memo {

class TLumCustomMemo;

class TUndo {
 public:
  TUndo(Integer beforeX, Integer beforeY, Integer afterX, Integer afterY, AnsiString text);
  TUndo(const TUndo&) = delete;
  TUndo& operator=(const TUndo&) = delete;
  virtual ~TUndo() = default;

  // The editor the record was added for (the list sets it).
  TLumCustomMemo* Memo = nullptr;
  Integer BeforeX, BeforeY, AfterX, AfterY;
  AnsiString Text;
  bool Linked = false;

  // True when the newer record was absorbed into this one.
  virtual bool Merge(TUndo* newer) { return false; }
  // Replays by the editing operations (records without line changes).
  virtual void Undo(TLumCustomMemo* memo) = 0;
  virtual void Redo(TLumCustomMemo* memo) = 0;
  // What replaying line changes leaves besides the text: the selection,
  // the insert mode. The caret is already at the before (undo) or after
  // (redo) position.
  virtual void AfterUndoChanges(TLumCustomMemo* memo);
  virtual void AfterRedoChanges(TLumCustomMemo* memo);

  // --- exact replay ---
  bool HasChanges() const { return journalled_; }
  const TLineChanges& Changes() const { return changes_; }
  void TakeChanges(TLineChanges changes);
  void AddChanges(TLineChanges changes);
  void DropChanges();
  // Merge with the line changes joined (both records must carry them, or
  // neither keeps any).
  bool TryMerge(TUndo* newer);

 private:
  bool journalled_ = false;
  TLineChanges changes_;
};

class TInsertCharUndo : public TUndo {
 public:
  using TUndo::TUndo;
  bool Merge(TUndo* newer) override;
  void Undo(TLumCustomMemo* memo) override;
  void Redo(TLumCustomMemo* memo) override;
};

class TOverwriteCharUndo : public TUndo {
 public:
  using TUndo::TUndo;
  void Undo(TLumCustomMemo* memo) override { Exchange(memo); }
  void Redo(TLumCustomMemo* memo) override { Exchange(memo); }

 private:
  void Exchange(TLumCustomMemo* memo);
};

class TDeleteCharUndo : public TUndo {
 public:
  TDeleteCharUndo(Integer beforeX, Integer beforeY, Integer afterX, Integer afterY, AnsiString text, bool isBackspace)
      : TUndo(beforeX, beforeY, afterX, afterY, std::move(text)), IsBackspace(isBackspace) {}
  bool IsBackspace;
  bool Merge(TUndo* newer) override;
  void Undo(TLumCustomMemo* memo) override;
  void Redo(TLumCustomMemo* memo) override;
};

class TDeleteLineUndo : public TUndo {
 public:
  using TUndo::TUndo;
  void Undo(TLumCustomMemo* memo) override;
  void Redo(TLumCustomMemo* memo) override;
};

class TSelUndo : public TUndo {
 public:
  using TUndo::TUndo;
  Integer SelStartX = 0, SelStartY = 0, SelEndX = 0, SelEndY = 0;
};

class TDeleteBufUndo : public TSelUndo {
 public:
  using TSelUndo::TSelUndo;
  void Undo(TLumCustomMemo* memo) override;
  void Redo(TLumCustomMemo* memo) override;
  void AfterUndoChanges(TLumCustomMemo* memo) override;
};

class TPasteUndo : public TUndo {
 public:
  using TUndo::TUndo;
  void Undo(TLumCustomMemo* memo) override;
  void Redo(TLumCustomMemo* memo) override;
};

class TInsertOverwriteUndo : public TUndo {
 public:
  explicit TInsertOverwriteUndo(bool wasOverwrite) : TUndo(0, 0, 0, 0, {}), WasOverwrite(wasOverwrite) {}
  bool WasOverwrite;
  void Undo(TLumCustomMemo* memo) override;
  void Redo(TLumCustomMemo* memo) override;
  void AfterUndoChanges(TLumCustomMemo* memo) override { Undo(memo); }
  void AfterRedoChanges(TLumCustomMemo* memo) override { Redo(memo); }
};

class TCorrectUndo : public TUndo {
 public:
  // line: the corrected line; text: the line as it was before.
  TCorrectUndo(Integer line, AnsiString text) : TUndo(0, line, 0, line, std::move(text)) {}
  void Undo(TLumCustomMemo* memo) override { Exchange(memo); }
  void Redo(TLumCustomMemo* memo) override { Exchange(memo); }

 private:
  void Exchange(TLumCustomMemo* memo);
};

// The history, newest record first. Position counts the records at the
// front that are undone.
class TLumUndoList {
 public:
  explicit TLumUndoList(TLumCustomMemo* memo = nullptr) : memo_(memo) {}
  TLumUndoList(const TLumUndoList&) = delete;
  TLumUndoList& operator=(const TLumUndoList&) = delete;
  ~TLumUndoList();

  Integer Count() const { return static_cast<Integer>(items_.size()); }
  TUndo* Items(Integer index) const;
  bool Contains(const TUndo* record) const;
  Integer Position() const { return position_; }
  TLumCustomMemo* Memo() const { return memo_; }
  void SetMemo(TLumCustomMemo* memo) { memo_ = memo; }
  bool Performing() const { return performing_; }
  void SetPerforming(bool v) { performing_ = v; }
  Integer Limit() const { return limit_; }
  // The same value does nothing; 0 and below become 10, above 100 become
  // 100; the history is cleared.
  void SetLimit(Integer value);

  // Takes the record (freeing it when it is not kept): -1 while replaying
  // or when it merged into the newest record, else 0.
  Integer Add(TUndo* record);
  void Undo();
  void Redo();
  void Clear();

 private:
  void Perform(TUndo* record, bool backwards);
  void Changed();
  TLumCustomMemo* memo_;  // the editor new records bind to; not owned
  std::vector<std::unique_ptr<TUndo>> items_;
  Integer position_ = 0;
  bool performing_ = false;
  Integer limit_ = 100;
};

}  // namespace memo
