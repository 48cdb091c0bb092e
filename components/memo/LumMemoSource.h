#pragma once
// A text kept apart from any editor (TLumMemoSource): its lines, its undo
// history, its styler and the view an editor last had on it, so several
// texts can take turns in one editor. And the base of line checkers
// (TLumMemoChecker), which an editor consults when a line or a word is
// finished.
#include <memory>

#include "memo/text/LumMemoStrings.h"
#include "vcl/Components.h"

namespace memo {

class TLumCustomMemo;
class TLumCustomMemoStyler;
class TLumUndoList;

// The view an editor had on a source: caret, left column, top line and the
// two selection ends.
struct TMemoSavedView {
  Integer CaretX = 0, CaretY = 0;
  Integer LeftCol = 0, TopLine = 0;
  Integer SelStartX = 0, SelStartY = 0;
  Integer SelEndX = 0, SelEndY = 0;
  bool operator==(const TMemoSavedView&) const = default;
};

class TLumMemoSource : public vcl::TComponent {
 public:
  explicit TLumMemoSource(vcl::TComponent* owner);
  ~TLumMemoSource() override;

  TLumCustomMemoStyler* SyntaxStyler() const { return syntaxStyler_; }
  void SetSyntaxStyler(TLumCustomMemoStyler* styler);
  TLumMemoStrings* Lines() const { return lines_.get(); }
  // Clears the lines and appends the given ones (nil: nothing).
  void SetLines(const rtl::TStrings* list);
  TLumUndoList* UndoList() const { return undoList_.get(); }
  // Kept with the source; the history's own limit is the editor's business.
  Integer UndoLimit() const { return undoLimit_; }
  void SetUndoLimit(Integer v) { undoLimit_ = v; }
  TLumCustomMemo* Memo() const { return memo_; }
  // Whether the history held records when the last editor let go of it.
  bool Modified() const { return modified_; }
  // The attached editor's, else the value kept for the next one.
  bool ReadOnly() const;
  void SetReadOnly(bool v);
  const TMemoSavedView& SavedView() const { return savedView_; }
  TIntList* SavedBookmarks() const { return savedBookmarks_.get(); }

  // Shows the source in editor (nil: in none). The editor that had it keeps
  // nothing of it; the source keeps that editor's view for the next one.
  void Attach(TLumCustomMemo* editor);

 protected:
  void Notification(vcl::TComponent* component, vcl::TOperation operation) override;

 private:
  void Detach();

  TLumCustomMemoStyler* syntaxStyler_ = nullptr;  // a component of the form
  std::unique_ptr<TLumMemoStrings> lines_;
  std::unique_ptr<TLumUndoList> undoList_;
  Integer undoLimit_ = 100;
  TLumCustomMemo* memo_ = nullptr;  // a component of the form
  bool modified_ = false;
  bool readOnly_ = false;
  TMemoSavedView savedView_;
  std::unique_ptr<TIntList> savedBookmarks_;
};

// The base checks and corrects nothing: descendants mark faulty spans with
// wavy underlines or rewrite lines and words.
class TLumMemoChecker : public vcl::TComponent {
 public:
  explicit TLumMemoChecker(vcl::TComponent* owner) : TComponent(owner) {}
  ~TLumMemoChecker() override;

  TLumCustomMemo* Memo() const { return memo_; }
  // Set by the editor's MemoChecker setter.
  void SetMemo(TLumCustomMemo* memo);
  // 0 nothing, 1 correct the line on Enter, 2 check the line on Enter,
  // 3 correct the word on blank or TAB, 4 check the word on Enter and on
  // blank or TAB.
  Integer CheckMode() const { return checkMode_; }
  void SetCheckMode(Integer v) { checkMode_ = v; }

  // Clears the line's wavy underlines; descendants then mark their spans.
  virtual void CheckLine(Integer line);
  virtual void CheckWord(Integer line, Integer column, const AnsiString& word) {}
  virtual void CorrectLine(Integer line) {}
  virtual void CorrectWord(Integer line, Integer column, AnsiString& word) {}
  virtual void CheckAllLines();
  virtual void CorrectAllLines();
  // Records a correction of line (its text before it) in the editor's own
  // history.
  void AddCorrectionUndo(Integer line, const AnsiString& before);

 protected:
  void Notification(vcl::TComponent* component, vcl::TOperation operation) override;

 private:
  TLumCustomMemo* memo_ = nullptr;  // a component of the form
  Integer checkMode_ = 0;
};

}  // namespace memo
