#pragma once
// The standard controls: buttons, labels, edits, check boxes, radio
// buttons, combo boxes and group boxes. Each windowed one stands on the
// matching Qt widget and reports its changes through the class library's
// events.
#include <memory>

#include "rtl/StringList.h"
#include "vcl/Controls.h"
#include "vcl/Forms.h"

namespace vcl {

enum class TTextLayout { tlTop, tlCenter, tlBottom };
using enum TTextLayout;

class TCustomLabel : public TGraphicControl {
 public:
  explicit TCustomLabel(TComponent* owner);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment a);
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout l);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  bool ShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool v);
  TWinControl* FocusControl() const { return focusControl_; }
  void SetFocusControl(TWinControl* c);
  void Dispatch(TMessage& message) override;

 protected:
  void Paint() override;
  void Notification(TComponent* component, TOperation operation) override;
  void Loaded() override;
  void AdjustBounds();

 private:
  Cardinal TextFlags() const;
  bool autoSize_ = true;
  bool wordWrap_ = false;
  TAlignment alignment_ = taLeftJustify;
  TTextLayout layout_ = tlTop;
  bool transparent_ = false;
  bool showAccelChar_ = true;
  TWinControl* focusControl_ = nullptr;  // owned by its own owner
};

class TLabel : public TCustomLabel {
 public:
  using TCustomLabel::TCustomLabel;
};

class TButtonControl : public TWinControl {
 public:
  explicit TButtonControl(TComponent* owner);
};

class TButton : public TButtonControl {
 public:
  explicit TButton(TComponent* owner);
  // The form's ModalResult is set to this when the button is clicked.
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult r) { modalResult_ = r; }
  // Enter clicks the default button; Escape the cancel button.
  bool Default() const { return default_; }
  void SetDefault(bool v);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool v) { cancel_ = v; }
  void Click() override;
  void Dispatch(TMessage& message) override;

 protected:
  QWidget* CreateWidget() override;
  void InitWidget() override;
  bool HasSurface() const override { return false; }

 private:
  TModalResult modalResult_ = mrNone;
  bool default_ = false;
  bool cancel_ = false;
};

enum class TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
using enum TCheckBoxState;

class TCheckBox : public TButtonControl {
 public:
  explicit TCheckBox(TComponent* owner);
  bool Checked() const { return state_ == cbChecked; }
  void SetChecked(bool v) { SetState(v ? cbChecked : cbUnchecked); }
  TCheckBoxState State() const { return state_; }
  // A change fires OnClick, as a click does.
  void SetState(TCheckBoxState s);
  bool AllowGrayed() const { return allowGrayed_; }
  void SetAllowGrayed(bool v);
  void Dispatch(TMessage& message) override;
  // A box bound to an action shows the action's Checked state, and comes
  // back to it after a click the action did not turn over.
  void ActionChange(TBasicAction* sender) override;
  void Click() override;

 protected:
  QWidget* CreateWidget() override;
  void InitWidget() override;
  bool HasSurface() const override { return false; }

 private:
  // Shows the state without firing OnClick or the action.
  void ShowState(TCheckBoxState s);
  TCheckBoxState state_ = cbUnchecked;
  bool allowGrayed_ = false;
  bool syncing_ = false;
};

class TRadioButton : public TButtonControl {
 public:
  explicit TRadioButton(TComponent* owner);
  bool Checked() const { return checked_; }
  // Checking one unchecks the other radio buttons of the same parent.
  void SetChecked(bool v);
  void Dispatch(TMessage& message) override;

 protected:
  QWidget* CreateWidget() override;
  void InitWidget() override;
  bool HasSurface() const override { return false; }

 private:
  bool checked_ = false;
  bool syncing_ = false;
};

enum class TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
using enum TEditCharCase;

enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
using enum TScrollStyle;

// A native edit field. Beyond the text and the selection it answers the
// edit messages a control built on it sends itself: EM_GETRECT and
// EM_SETRECTNP (the formatting rectangle, kept as the field's text margins
// so that children at an edge never cover the text), EM_SETSEL and
// EM_GETSEL (in characters), EM_SETREADONLY; the text survives RecreateWnd. Cut, copy and paste, from the keyboard or the field's
// context menu, arrive as WM_CUT, WM_COPY and WM_PASTE, so a handler can
// refuse them. A descendant that answers MultiLineWindow gets a multi-line
// field whose scroll bars and wrapping follow WS_HSCROLL, WS_VSCROLL and
// ES_AUTOHSCROLL of its creation parameters.
class TCustomEdit : public TWinControl {
 public:
  explicit TCustomEdit(TComponent* owner);
  void SetText(const AnsiString& s) override;
  Integer MaxLength() const { return maxLength_; }
  void SetMaxLength(Integer v);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool v);
  char PasswordChar() const { return passwordChar_; }
  void SetPasswordChar(char c);
  TEditCharCase CharCase() const { return charCase_; }
  void SetCharCase(TEditCharCase c);
  bool Modified() const { return modified_; }
  void SetModified(bool v) { modified_ = v; }
  bool AutoSelect() const { return autoSelect_; }
  void SetAutoSelect(bool v) { autoSelect_ = v; }
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle v);
  // Selection in UTF-16 units from the start of the text.
  Integer SelStart() const;
  void SetSelStart(Integer v);
  Integer SelLength() const;
  void SetSelLength(Integer v);
  AnsiString SelText() const;
  void SelectAll();
  void Clear() { SetText(""); }
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();
  void Dispatch(TMessage& message) override;
  // Inside the two-pixel sunken border of bsSingle, as on the desktop:
  // children and the formatting rectangle are placed in these coordinates.
  TRect ClientRect() const override;

  TNotifyEvent OnChange;

 protected:
  QWidget* CreateWidget() override;
  void InitWidget() override;
  bool HasSurface() const override { return false; }
  TPoint WidgetClientOffset() const override;
  virtual void Change();
  // ES_AUTOHSCROLL, and ES_READONLY for a read-only edit; the field follows
  // the edit styles it is made with or given later (WM_STYLECHANGED):
  // alignment, scroll bars, wrapping.
  void CreateParams(TCreateParams& params) override;
  // The window and its children exist (after WM_CREATE).
  virtual void CreateWnd() {}
  virtual bool MultiLineWindow() const { return false; }

 private:
  void ApplyParams();
  void ApplyMargins();
  void TextEdited(const AnsiString& text);
  Integer maxLength_ = 0;
  bool readOnly_ = false;
  char passwordChar_ = 0;
  TEditCharCase charCase_ = ecNormal;
  bool modified_ = false;
  bool syncing_ = false;
  bool autoSelect_ = true;
  TBorderStyle borderStyle_ = bsSingle;
  // The formatting rectangle once set (EM_SETRECTNP); empty: the client area.
  bool hasFormatRect_ = false;
  TRect formatRect_{};
};

class TEdit : public TCustomEdit {
 public:
  using TCustomEdit::TCustomEdit;
};

enum class TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };
using enum TComboBoxStyle;

class TCustomComboBox : public TWinControl {
 public:
  explicit TCustomComboBox(TComponent* owner);
  ~TCustomComboBox() override;
  rtl::TStrings* Items() { return &items_; }
  void SetItems(const rtl::TStrings* items) { items_.Assign(*items); }
  Integer ItemIndex() const { return itemIndex_; }
  // Selects an item (its text becomes Text); -1 clears the selection.
  void SetItemIndex(Integer v);
  TComboBoxStyle Style() const { return style_; }
  void SetStyle(TComboBoxStyle s);
  bool Sorted() const { return items_.Sorted(); }
  void SetSorted(bool v) { items_.SetSorted(v); }
  Integer DropDownCount() const { return dropDownCount_; }
  void SetDropDownCount(Integer v);
  Integer MaxLength() const { return maxLength_; }
  void SetMaxLength(Integer v) { maxLength_ = v; }
  // In a drop-down list, the text of the chosen item; setting it chooses
  // the item with that text (or none).
  void SetText(const AnsiString& s) override;
  bool DroppedDown() const;
  void SetDroppedDown(bool v);
  void Clear();
  // CN_COMMAND carries the list's notifications (CBN_SELCHANGE, and
  // CBN_DROPDOWN and CBN_CLOSEUP before OnDropDown and after OnCloseUp);
  // CB_GETDROPPEDSTATE, CB_SHOWDROPDOWN, CB_GETCOUNT, CB_GETCURSEL and
  // CB_SETDROPPEDWIDTH / CB_GETDROPPEDWIDTH are answered.
  void Dispatch(TMessage& message) override;

  // OnChange fires when the text changes (typing or choosing); OnSelect
  // when the user chooses an item from the list.
  TNotifyEvent OnChange;
  TNotifyEvent OnSelect;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;

 protected:
  QWidget* CreateWidget() override;
  void InitWidget() override;
  bool HasSurface() const override { return false; }
  virtual void Change();
  virtual void Select();

 private:
  friend class ComboWidget;
  void ItemsChanged();
  void SyncWidget();
  rtl::TStringList items_;
  Integer itemIndex_ = -1;
  TComboBoxStyle style_ = csDropDown;
  Integer dropDownCount_ = 8;
  Integer maxLength_ = 0;
  Integer droppedWidth_ = 0;
  bool syncing_ = false;
};

class TComboBox : public TCustomComboBox {
 public:
  using TCustomComboBox::TCustomComboBox;
};

class TCustomGroupBox : public TCustomControl {
 public:
  explicit TCustomGroupBox(TComponent* owner);
  void AdjustClientRect(TRect& rect) const override;

 protected:
  void Paint() override;
};

class TGroupBox : public TCustomGroupBox {
 public:
  using TCustomGroupBox::TCustomGroupBox;
};

}  // namespace vcl
