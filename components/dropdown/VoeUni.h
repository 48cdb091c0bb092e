#pragma once
// Controls whose text is UTF-16: the wide string list (TWideStrings) with
// its 8-bit view, the wide edit, memo and edit with button, and the flat
// wide combo box with its item list.
//
// The class library's text is already Unicode (UTF-8 that converts to
// UTF-16 and back without loss), so no window is created or hooked apart:
// what remains of the desktop's Unicode windows is their contract. A
// control's wide text is its window's text while it has a window; before
// that (and after it is gone) a caption holder owned by the control keeps
// it. Typed characters, input-method results among them, reach the key
// events as UTF-16 units.
#include <memory>

#include "dropdown/VoeCombo.h"
#include "dropdown/VoeEdit.h"
#include "dropdown/text/WideStr.h"
#include "rtl/StringList.h"
#include "vcl/Filer.h"
#include "vcl/StdCtrls.h"

namespace dropdown {

using LCID = Cardinal;
// The user's default locale (English, United States).
inline constexpr LCID LOCALE_USER_DEFAULT = 0x0409;

// --------------------------------------------------------- text of windows

// Holds a control's UTF-16 text while it has no window.
class TWideCaptionHolder : public TComponent {
 public:
  using TComponent::TComponent;
  WideString Caption;
};

// The first caption holder the control owns; a new one with Caption =
// Default when it has none.
TWideCaptionHolder* FindWideCaptionHolder(TWinControl* Control, const WideString& Default);
// The control's text as UTF-16: the window's text, or without a window the
// caption holder's (made from the control's text when missing).
WideString GetWideText(TWinControl* Control);
// Sets the window's text when it differs (the control then hears
// CM_TEXTCHANGED); without a window the control's text and its caption
// holder.
void SetWideText(TWinControl* Control, const WideString& Value);
// -1, 0 or 1 comparing without regard to case (Unicode's simple case
// folding, the same for every locale).
Integer CompareWideText(const WideString& S1, const WideString& S2, LCID Locale = LOCALE_USER_DEFAULT);
// True for WM_SETTEXT, WM_GETTEXT and WM_GETTEXTLENGTH.
bool IsTextMessage(Cardinal Msg);

// ------------------------------------------------------- wide string list

class TAnsiStringsForWideStrings;

class TWideStrings : public TPersistent {
 public:
  TWideStrings();
  ~TWideStrings() override;
  TWideStrings(const TWideStrings&) = delete;
  TWideStrings& operator=(const TWideStrings&) = delete;

  // Copies into an 8-bit or a wide list; another destination raises the
  // assignment error.
  void AssignTo(TPersistent* Dest) const override;
  // The "WideStrings" form-stream property.
  virtual void DefineProperties(TFiler& Filer);
  // From a wide list, or an 8-bit list (converted).
  void Assign(const TPersistent* Source) override;
  // From an 8-bit string list (not a persistent in this library).
  void Assign(const rtl::TStrings& Source);
  void AssignTo(rtl::TStrings& Dest) const;

  virtual WideString Get(Integer Index) const = 0;
  virtual Integer GetCapacity() const { return GetCount(); }
  virtual Integer GetCount() const = 0;
  virtual void* GetObject(Integer Index) const { return nullptr; }
  // Every string followed by CR LF.
  virtual WideString GetTextStr() const;
  virtual void Put(Integer Index, const WideString& S);
  virtual void PutObject(Integer Index, void* Object) {}
  virtual void SetCapacity(Integer NewCapacity) {}
  // Cut into lines at NUL, LF, VT, FF, CR, U+2028 and U+2029 (CR LF is one
  // break); a final break adds no empty line.
  virtual void SetTextStr(const WideString& S);
  virtual void SetUpdateState(bool Updating) {}
  virtual void SetLanguage(LCID Value) { Language_ = Value; }
  virtual Integer Add(const WideString& S);
  virtual Integer AddObject(const WideString& S, void* Object);
  virtual void AddStrings(const rtl::TStrings& Strings);
  virtual void AddStrings(const TWideStrings& Strings);
  virtual void Clear() = 0;
  virtual void Delete(Integer Index) = 0;
  virtual void Exchange(Integer Index1, Integer Index2);
  // A new zero-terminated copy of GetTextStr; the caller owns it.
  virtual TWideStrBlock GetText() const;
  // The first index whose string equals S without regard to case; -1.
  virtual Integer IndexOf(const WideString& S) const;
  virtual void Insert(Integer Index, const WideString& S) = 0;
  virtual void Move(Integer CurIndex, Integer NewIndex);
  virtual void SetText(const char16_t* P);

  void BeginUpdate();
  void EndUpdate();
  // The same count and the same strings, case and all.
  bool Equals(const TWideStrings& Other) const;
  void InsertObject(Integer Index, const WideString& S, void* Object);

  Integer Count() const { return GetCount(); }
  WideString Strings(Integer Index) const { return Get(Index); }
  void* Objects(Integer Index) const { return GetObject(Index); }
  Integer UpdateCount() const { return updateCount_; }
  LCID Language() const { return Language_; }
  // The 8-bit view; writing it replaces the list with the given lines.
  rtl::TStrings* AnsiStrings();
  void SetAnsiStrings(const rtl::TStrings* Value);

 private:
  std::unique_ptr<TAnsiStringsForWideStrings> ansiStrings_;
  Integer updateCount_ = 0;
  LCID Language_ = LOCALE_USER_DEFAULT;
};

// The 8-bit view of a wide list: reads convert to UTF-8, writes to UTF-16;
// objects are not carried.
class TAnsiStringsForWideStrings : public rtl::TStrings {
 public:
  explicit TAnsiStringsForWideStrings(TWideStrings* wide) : wide_(wide) {}
  Integer Count() const override { return wide_->GetCount(); }
  AnsiString Get(Integer index) const override;
  void Put(Integer index, const AnsiString& s) override;
  void* GetObject(Integer) const override { return nullptr; }
  void PutObject(Integer, void*) override {}
  void Insert(Integer index, const AnsiString& s) override;
  void Delete(Integer index) override { wide_->Delete(index); }
  void Clear() override { wide_->Clear(); }

 private:
  TWideStrings* wide_;  // the list that owns this view
};

// ------------------------------------------------------------ wide edits

class TCustomUNIEdit : public TCustomEdit {
 public:
  explicit TCustomUNIEdit(TComponent* owner);
  // The UTF-16 text.
  WideString Text() { return GetText(); }
  WideString GetText() { return GetWideText(this); }
  void SetText(const WideString& Value) { SetWideText(this, Value); }
  using TCustomEdit::SetText;
};

class TVoeUniEdit : public TCustomUNIEdit {
 public:
  using TCustomUNIEdit::TCustomUNIEdit;
};

class TVoeUniCustomMemo : public TCustomUNIEdit {
 public:
  explicit TVoeUniCustomMemo(TComponent* owner) : TCustomUNIEdit(owner) {}
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle v);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v);
  bool WantReturns() const { return wantReturns_; }
  bool WantTabs() const { return wantTabs_; }
  void Dispatch(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  bool MultiLineWindow() const override { return true; }

 private:
  TScrollStyle scrollBars_ = ssNone;
  // False after construction, though a form file's default is True.
  bool wordWrap_ = false;
  bool wantReturns_ = false;
  bool wantTabs_ = false;
};

class TVoeUniMemo : public TVoeUniCustomMemo {
 public:
  explicit TVoeUniMemo(TComponent* owner);
};

class TVoeUniEditBtn : public TEditWithButton<TCustomUNIEdit> {
 public:
  explicit TVoeUniEditBtn(TComponent* owner) : TEditWithButton<TCustomUNIEdit>(owner) {}

 protected:
  void UpdateEditRect() override;
  // F4 clicks whatever modifier keys are down.
  bool F4Clicks() const override { return true; }
};

// -------------------------------------------------------- wide combo box

class TCustomUNIComboBox;

// The wide combo box's items, kept in the combo box's own list.
// An item the combo box could not take.
class EOutOfResources : public rtl::Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EOutOfResources"; }
};

class TComboBoxStrings : public TWideStrings {
 public:
  explicit TComboBoxStrings(TCustomUNIComboBox* combo) : ComboBox(combo) {}
  WideString Get(Integer Index) const override;
  Integer GetCount() const override;
  void* GetObject(Integer Index) const override;
  void PutObject(Integer Index, void* Object) override;
  // Answers the new item's index (its sorted place when the box sorts).
  Integer Add(const WideString& S) override;
  // An index outside 0..Count raises EOutOfResources ("Unable to insert a
  // line") and leaves the list as it was.
  void Insert(Integer Index, const WideString& S) override;
  void Delete(Integer Index) override;
  // Clearing the items keeps the edit text.
  void Clear() override;
  void SetUpdateState(bool Updating) override;
  Integer IndexOf(const WideString& S) const override;

  TCustomUNIComboBox* ComboBox;  // the combo box that owns this list
};

class TCustomUNIComboBox : public TCustomComboBox {
 public:
  explicit TCustomUNIComboBox(TComponent* owner);
  ~TCustomUNIComboBox() override;
  TWideStrings* Items() { return items_.get(); }
  TWideStrings* GetItems() { return items_.get(); }
  void SetItems(const TWideStrings* Value);
  WideString Text() { return GetText(); }
  WideString GetText() { return GetWideText(this); }
  void SetText(const WideString& Value) { SetWideText(this, Value); }
  using TCustomComboBox::SetText;
  void Dispatch(TMessage& message) override;

 protected:
  // Called with every character message of the box's edit before it is
  // handled.
  virtual void EditCharHook(TMessage& Message) {}
  void KeyPress(WideChar& Key) override;

 private:
  std::unique_ptr<TComboBoxStrings> items_;
};

class TVOEUniCustomCombo : public TFlatCombo<TCustomUNIComboBox> {
 public:
  explicit TVOEUniCustomCombo(TComponent* owner) : TFlatCombo<TCustomUNIComboBox>(owner) {}
  // Paint the drop-down button through the theme.
  bool IsWinXP() const { return isWinXP_; }
  void SetIsWinXP(bool v);

 protected:
  void PaintFlatBorder(TCanvas* canvas) override;
  void PaintButtonEdge(TCanvas* canvas) override;
  void PaintDropButton(TCanvas* canvas) override;

 private:
  bool isWinXP_ = false;
};

class TVOEUniComboBox : public TVOEUniCustomCombo {
 public:
  using TVOEUniCustomCombo::TVOEUniCustomCombo;
};

}  // namespace dropdown
