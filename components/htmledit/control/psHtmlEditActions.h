#pragma once
// Ready-made actions for the HTML editor: each knows its caption and hint,
// carries out one editor command when executed and, on the action list's
// idle update, enables itself (and shows whether its format is on at the
// caret or over the selection). The list hands its editor to every editor
// action it holds; an action or list forgets an editor that is freed.
//
// No action binds a shortcut of its own: the editor's key table already
// gives Ctrl+B, Ctrl+Z and the rest to the editor, and a form's shortcut
// runs before the editor sees the key, so a shortcut here would bypass the
// editor's Shortcuts options. A form that wants one sets ShortCut.
#include "vcl/ActnList.h"

namespace htmledit {

class TpsHTMLEdit;

class TpsHtmlEditAction : public vcl::TAction {
 public:
  explicit TpsHtmlEditAction(vcl::TComponent* aOwner) : vcl::TAction(aOwner) {}
  ~TpsHtmlEditAction() override;

  TpsHTMLEdit* GetEditor() const { return FEditor; }
  void SetEditor(TpsHTMLEdit* aEditor);

  // With an editor any target; without one only an editor.
  virtual bool HandlesTarget(vcl::TObject* aTarget) const;
  // The command on aTarget (an editor).
  virtual void ExecuteTarget(TpsHTMLEdit* aTarget) = 0;
  // Enabled (and checked) from aTarget's state.
  virtual void UpdateTarget(TpsHTMLEdit* aTarget) = 0;

  // After an update, disabled does nothing; the list's and the action's
  // own OnExecute come first, then the command on the editor. Without an
  // editor nothing runs.
  bool Execute() override;
  // The list's and the action's own OnUpdate come first; then the editor's
  // state, and without an editor the action is disabled.
  bool Update() override;

 protected:
  // Without an editor, the list's editor when the list is an editor list.
  void Loaded() override;
  void Notification(vcl::TComponent* aComponent, vcl::TOperation aOperation) override;

 private:
  TpsHTMLEdit* FEditor = nullptr;  // not owned
};

class TpsHtmlEditActionList : public vcl::TActionList {
 public:
  explicit TpsHtmlEditActionList(vcl::TComponent* aOwner) : vcl::TActionList(aOwner) {}
  ~TpsHtmlEditActionList() override;

  TpsHTMLEdit* GetEditor() const { return FEditor; }
  // Every editor action of the list takes the editor too.
  void SetEditor(TpsHTMLEdit* aEditor);

 protected:
  void Notification(vcl::TComponent* aComponent, vcl::TOperation aOperation) override;

 private:
  TpsHTMLEdit* FEditor = nullptr;  // not owned
};

// --- Undo, redo and the clipboard ---

class TpsUndoAction : public TpsHtmlEditAction {
 public:
  explicit TpsUndoAction(vcl::TComponent* aOwner);
  void ExecuteTarget(TpsHTMLEdit* aTarget) override;
  void UpdateTarget(TpsHTMLEdit* aTarget) override;
};

class TpsRedoAction : public TpsHtmlEditAction {
 public:
  explicit TpsRedoAction(vcl::TComponent* aOwner);
  void ExecuteTarget(TpsHTMLEdit* aTarget) override;
  void UpdateTarget(TpsHTMLEdit* aTarget) override;
};

// Cut and copy: enabled while text is selected.
class TpsClipboardCutAction : public TpsHtmlEditAction {
 public:
  explicit TpsClipboardCutAction(vcl::TComponent* aOwner);
  void ExecuteTarget(TpsHTMLEdit* aTarget) override;
  void UpdateTarget(TpsHTMLEdit* aTarget) override;
};

class TpsClipboardCopyAction : public TpsHtmlEditAction {
 public:
  explicit TpsClipboardCopyAction(vcl::TComponent* aOwner);
  void ExecuteTarget(TpsHTMLEdit* aTarget) override;
  void UpdateTarget(TpsHTMLEdit* aTarget) override;
};

class TpsClipboardPasteAction : public TpsHtmlEditAction {
 public:
  explicit TpsClipboardPasteAction(vcl::TComponent* aOwner);
  void ExecuteTarget(TpsHTMLEdit* aTarget) override;
  void UpdateTarget(TpsHTMLEdit* aTarget) override;
};

// --- Inline formats ---

// Toggles an inline tag: over the selection, or at the caret so that
// typing continues with or without it. Checked while the selection (all
// of it) or the caret has the tag.
class TpsSpanAction : public TpsHtmlEditAction {
 public:
  TpsSpanAction(vcl::TComponent* aOwner, const rtl::AnsiString& aTagName);
  const rtl::AnsiString& TagName() const { return FTagName; }
  // "<" + name + ">".
  const rtl::AnsiString& OpenTag();
  void ExecuteTarget(TpsHTMLEdit* aTarget) override;
  void UpdateTarget(TpsHTMLEdit* aTarget) override;

 private:
  rtl::AnsiString FTagName;
  rtl::AnsiString FOpenTag;
};

class TpsBoldAction : public TpsSpanAction {
 public:
  explicit TpsBoldAction(vcl::TComponent* aOwner);
};

class TpsItalicAction : public TpsSpanAction {
 public:
  explicit TpsItalicAction(vcl::TComponent* aOwner);
};

class TpsUnderlineAction : public TpsSpanAction {
 public:
  explicit TpsUnderlineAction(vcl::TComponent* aOwner);
};

class TpsStrikeOutAction : public TpsSpanAction {
 public:
  explicit TpsStrikeOutAction(vcl::TComponent* aOwner);
};

// --- Tables: enabled while the caret is in a table ---

class TpsTableAction : public TpsHtmlEditAction {
 public:
  using TpsHtmlEditAction::TpsHtmlEditAction;
  void UpdateTarget(TpsHTMLEdit* aTarget) override;
};

class TpsTableInsertRowAbove : public TpsTableAction {
 public:
  explicit TpsTableInsertRowAbove(vcl::TComponent* aOwner);
  void ExecuteTarget(TpsHTMLEdit* aTarget) override;
};

class TpsTableInsertRowBelow : public TpsTableAction {
 public:
  explicit TpsTableInsertRowBelow(vcl::TComponent* aOwner);
  void ExecuteTarget(TpsHTMLEdit* aTarget) override;
};

class TpsTableInsertColumnToTheLeft : public TpsTableAction {
 public:
  explicit TpsTableInsertColumnToTheLeft(vcl::TComponent* aOwner);
  void ExecuteTarget(TpsHTMLEdit* aTarget) override;
};

class TpsTableInsertColumnToTheRight : public TpsTableAction {
 public:
  explicit TpsTableInsertColumnToTheRight(vcl::TComponent* aOwner);
  void ExecuteTarget(TpsHTMLEdit* aTarget) override;
};

class TpsTableDeleteCurrentRow : public TpsTableAction {
 public:
  explicit TpsTableDeleteCurrentRow(vcl::TComponent* aOwner);
  void ExecuteTarget(TpsHTMLEdit* aTarget) override;
};

class TpsTableDeleteCurrentColumn : public TpsTableAction {
 public:
  explicit TpsTableDeleteCurrentColumn(vcl::TComponent* aOwner);
  void ExecuteTarget(TpsHTMLEdit* aTarget) override;
};

// --- Alignment of the caret's block: 1 left, 2 centre, 3 right, 4
// justify. Checked when the block has it; executing a checked one does
// nothing. ---

class TpsTextAlignmentAction : public TpsHtmlEditAction {
 public:
  TpsTextAlignmentAction(vcl::TComponent* aOwner, rtl::Byte aAlignment);
  rtl::Byte Alignment() const { return FAlignment; }
  void ExecuteTarget(TpsHTMLEdit* aTarget) override;
  void UpdateTarget(TpsHTMLEdit* aTarget) override;

 private:
  rtl::Byte FAlignment;
};

class TpsAlignLeft : public TpsTextAlignmentAction {
 public:
  explicit TpsAlignLeft(vcl::TComponent* aOwner);
};

class TpsAlignCenter : public TpsTextAlignmentAction {
 public:
  explicit TpsAlignCenter(vcl::TComponent* aOwner);
};

class TpsAlignRight : public TpsTextAlignmentAction {
 public:
  explicit TpsAlignRight(vcl::TComponent* aOwner);
};

class TpsAlignJustify : public TpsTextAlignmentAction {
 public:
  explicit TpsAlignJustify(vcl::TComponent* aOwner);
};

// --- Lists: a list of the action's kind made from the caret's block, a
// list of the other kind changed to it, and, when checked (the caret in a
// list of this kind, no text selected), the list removed ---

class TpsListAction : public TpsHtmlEditAction {
 public:
  TpsListAction(vcl::TComponent* aOwner, bool aOrdered);
  bool Ordered() const { return FOrdered; }
  void ExecuteTarget(TpsHTMLEdit* aTarget) override;
  void UpdateTarget(TpsHTMLEdit* aTarget) override;

 private:
  bool FOrdered;
};

class TpsOrderedList : public TpsListAction {
 public:
  explicit TpsOrderedList(vcl::TComponent* aOwner);
};

class TpsUnorderedList : public TpsListAction {
 public:
  explicit TpsUnorderedList(vcl::TComponent* aOwner);
};

// The indent actions: enabled with the caret in a list and no text
// selected.
class TpsListIndentAction : public TpsHtmlEditAction {
 public:
  using TpsHtmlEditAction::TpsHtmlEditAction;
  void UpdateTarget(TpsHTMLEdit* aTarget) override;
};

class TpsDecreaseListIndent : public TpsListIndentAction {
 public:
  explicit TpsDecreaseListIndent(vcl::TComponent* aOwner);
  void ExecuteTarget(TpsHTMLEdit* aTarget) override;
};

// The new inner list takes the kind of the list around the caret.
class TpsIncreaseListIndent : public TpsListIndentAction {
 public:
  explicit TpsIncreaseListIndent(vcl::TComponent* aOwner);
  void ExecuteTarget(TpsHTMLEdit* aTarget) override;
};

}  // namespace htmledit
