#include "dropdown/VoeUni.h"

#include "dropdown/VoeComboImpl.h"
#include "dropdown/VoeEditImpl.h"
#include "dropdown/VoeTheme.h"
#include "rtl/CodePages.h"
#include "rtl/ListErrors.h"
#include "rtl/UpdateScope.h"
#include "rtl/WideText.h"
#include "vcl/Gdi.h"

namespace dropdown {

// ---------------------------------------------------------- text of windows

TWideCaptionHolder* FindWideCaptionHolder(TWinControl* Control, const WideString& Default) {
  for (Integer i = 0; i < Control->ComponentCount(); ++i)
    if (auto* h = dynamic_cast<TWideCaptionHolder*>(Control->Components(i))) return h;
  auto* h = new TWideCaptionHolder(Control);
  h->Caption = Default;
  return h;
}

WideString GetWideText(TWinControl* Control) {
  WideString converted = rtl::ToWide(Control->Text());
  if (Control->HandleAllocated()) return converted;
  TWideCaptionHolder* holder = FindWideCaptionHolder(Control, converted);
  // The holder speaks for the control only while the control's own text is
  // still what the holder was given: text set since replaces it.
  if (rtl::ToAnsi(holder->Caption) != Control->Text()) holder->Caption = converted;
  return holder->Caption;
}

void SetWideText(TWinControl* Control, const WideString& Value) {
  if (Control->HandleAllocated()) {
    if (GetWideText(Control) != Value) Control->SetText(rtl::ToAnsi(Value));
    return;
  }
  Control->SetText(rtl::ToAnsi(Value));
  FindWideCaptionHolder(Control, {})->Caption = Value;
}

Integer CompareWideText(const WideString& S1, const WideString& S2, LCID) { return rtl::UnicodeCompareText(S1, S2); }

bool IsTextMessage(Cardinal Msg) { return Msg == WM_SETTEXT || Msg == WM_GETTEXT || Msg == WM_GETTEXTLENGTH; }

// ---------------------------------------------------------- wide string list

TWideStrings::TWideStrings() : ansiStrings_(std::make_unique<TAnsiStringsForWideStrings>(this)) {}
TWideStrings::~TWideStrings() = default;

rtl::TStrings* TWideStrings::AnsiStrings() { return ansiStrings_.get(); }

void TWideStrings::SetAnsiStrings(const rtl::TStrings* Value) {
  if (Value) ansiStrings_->Assign(*Value);
}

void TWideStrings::BeginUpdate() {
  if (updateCount_ == 0) SetUpdateState(true);
  ++updateCount_;
}

void TWideStrings::EndUpdate() {
  --updateCount_;
  if (updateCount_ == 0) SetUpdateState(false);
}

using WideUpdate = rtl::TUpdateScope<TWideStrings>;

Integer TWideStrings::Add(const WideString& S) {
  Integer n = GetCount();
  Insert(n, S);
  return n;
}

Integer TWideStrings::AddObject(const WideString& S, void* Object) {
  Integer i = Add(S);
  PutObject(i, Object);
  return i;
}

void TWideStrings::InsertObject(Integer Index, const WideString& S, void* Object) {
  Insert(Index, S);
  PutObject(Index, Object);
}

void TWideStrings::Put(Integer Index, const WideString& S) {
  void* o = GetObject(Index);
  Delete(Index);
  InsertObject(Index, S, o);
}

void TWideStrings::AddStrings(const rtl::TStrings& Strings) {
  WideUpdate update(*this);
  for (Integer i = 0; i < Strings.Count(); ++i) AddObject(rtl::ToWide(Strings.Get(i)), Strings.GetObject(i));
}

void TWideStrings::AddStrings(const TWideStrings& Strings) {
  WideUpdate update(*this);
  for (Integer i = 0; i < Strings.GetCount(); ++i) AddObject(Strings.Get(i), Strings.GetObject(i));
}

void TWideStrings::Exchange(Integer Index1, Integer Index2) {
  WideUpdate update(*this);
  WideString s1 = Get(Index1), s2 = Get(Index2);
  void* o1 = GetObject(Index1);
  void* o2 = GetObject(Index2);
  Put(Index1, s2);
  PutObject(Index1, o2);
  Put(Index2, s1);
  PutObject(Index2, o1);
}

void TWideStrings::Move(Integer CurIndex, Integer NewIndex) {
  if (CurIndex == NewIndex) return;
  WideUpdate update(*this);
  WideString s = Get(CurIndex);
  void* o = GetObject(CurIndex);
  Delete(CurIndex);
  InsertObject(NewIndex, s, o);
}

Integer TWideStrings::IndexOf(const WideString& S) const {
  for (Integer i = 0; i < GetCount(); ++i)
    if (CompareWideText(Get(i), S, Language_) == 0) return i;
  return -1;
}

bool TWideStrings::Equals(const TWideStrings& Other) const {
  if (GetCount() != Other.GetCount()) return false;
  for (Integer i = 0; i < GetCount(); ++i)
    if (Get(i) != Other.Get(i)) return false;
  return true;
}

WideString TWideStrings::GetTextStr() const {
  WideString r;
  for (Integer i = 0; i < GetCount(); ++i) {
    r += Get(i);
    r += u"\r\n";
  }
  return r;
}

void TWideStrings::SetTextStr(const WideString& S) {
  WideUpdate update(*this);
  Clear();
  size_t i = 0, n = S.size();
  auto isBreak = [](char16_t c) {
    return c == 0 || c == 0x0A || c == 0x0B || c == 0x0C || c == 0x0D || c == 0x2028 || c == 0x2029;
  };
  while (i < n && S[i] != 0) {
    size_t start = i;
    while (i < n && !isBreak(S[i])) ++i;
    Add(S.substr(start, i - start));
    if (i >= n || S[i] == 0) break;
    if (S[i] == 0x0D && i + 1 < n && S[i + 1] == 0x0A) ++i;
    ++i;
  }
}

TWideStrBlock TWideStrings::GetText() const {
  WideString t = GetTextStr();
  return WideStrNew(t.c_str());
}

void TWideStrings::SetText(const char16_t* P) {
  SetTextStr(P ? WideString(P, WideStrLen(P)) : WideString());
}

void TWideStrings::Assign(const TPersistent* Source) {
  if (auto* w = dynamic_cast<const TWideStrings*>(Source)) {
    if (w == this) return;
    WideUpdate update(*this);
    Clear();
    AddStrings(*w);
    return;
  }
  TPersistent::Assign(Source);
}

void TWideStrings::Assign(const rtl::TStrings& Source) {
  WideUpdate update(*this);
  Clear();
  for (Integer i = 0; i < Source.Count(); ++i) AddObject(rtl::ToWide(Source.Get(i)), Source.GetObject(i));
}

void TWideStrings::AssignTo(rtl::TStrings& Dest) const {
  rtl::TUpdateScope<rtl::TStrings> update(Dest);
  Dest.Clear();
  for (Integer i = 0; i < GetCount(); ++i) Dest.AddObject(rtl::ToAnsi(Get(i)), GetObject(i));
}

void TWideStrings::AssignTo(TPersistent* Dest) const {
  if (auto* w = dynamic_cast<TWideStrings*>(Dest)) {
    WideUpdate update(*w);
    w->Clear();
    w->AddStrings(*this);
    return;
  }
  TPersistent::AssignTo(Dest);
}

void TWideStrings::DefineProperties(TFiler& Filer) {
  bool store;
  if (auto* a = dynamic_cast<const TWideStrings*>(Filer.Ancestor()))
    store = !Equals(*a);
  else
    store = Filer.Ancestor() != nullptr || GetCount() > 0;
  Filer.DefineProperty(
      "WideStrings",
      [this](TReader& r) {
        r.ReadListBegin();
        {
          WideUpdate update(*this);
          Clear();
          while (!r.EndOfList()) {
            TValueType t = r.NextValue();
            if (t == vaString || t == vaLString)
              Add(rtl::ToWide(r.ReadString()));
            else
              Add(r.ReadWideString());
          }
        }
        r.ReadListEnd();
      },
      [this](TWriter& w) {
        w.WriteListBegin();
        for (Integer i = 0; i < GetCount(); ++i) w.WriteWideString(Get(i));
        w.WriteListEnd();
      },
      store);
}

AnsiString TAnsiStringsForWideStrings::Get(Integer index) const { return rtl::ToAnsi(wide_->Get(index)); }

void TAnsiStringsForWideStrings::Put(Integer index, const AnsiString& s) { wide_->Put(index, rtl::ToWide(s)); }

void TAnsiStringsForWideStrings::Insert(Integer index, const AnsiString& s) { wide_->Insert(index, rtl::ToWide(s)); }

// ---------------------------------------------------------------- wide edits

TCustomUNIEdit::TCustomUNIEdit(TComponent* owner) : TCustomEdit(owner) { Font()->SetCharset(255); }

void TVoeUniCustomMemo::SetScrollBars(TScrollStyle v) {
  if (v == scrollBars_) return;
  scrollBars_ = v;
  RecreateWnd();
}

void TVoeUniCustomMemo::SetWordWrap(bool v) {
  if (v == wordWrap_) return;
  wordWrap_ = v;
  RecreateWnd();
}

void TVoeUniCustomMemo::CreateParams(TCreateParams& params) {
  TCustomUNIEdit::CreateParams(params);
  if (wordWrap_) params.Style &= ~ES_AUTOHSCROLL;
  params.Style |= ES_MULTILINE;
  if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) params.Style |= WS_HSCROLL;
  if (scrollBars_ == ssVertical || scrollBars_ == ssBoth) params.Style |= WS_VSCROLL;
}

void TVoeUniCustomMemo::Dispatch(TMessage& m) {
  if (m.Msg == WM_GETDLGCODE) {
    // A multi-line edit's own answer, less what the memo does not want.
    m.Result = DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_WANTALLKEYS;
    if (wantTabs_)
      m.Result |= DLGC_WANTTAB;
    else
      m.Result &= ~DLGC_WANTTAB;
    if (!wantReturns_) m.Result &= ~DLGC_WANTALLKEYS;
    return;
  }
  TCustomUNIEdit::Dispatch(m);
}

TVoeUniMemo::TVoeUniMemo(TComponent* owner) : TVoeUniCustomMemo(owner) { SetBounds(Left(), Top(), 200, 100); }

template class TEditWithButton<TCustomUNIEdit>;

void TVoeUniEditBtn::UpdateEditRect() {
  TRect r;
  Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
  r.Bottom = ClientHeight() + 1;
  r.Right = ClientWidth() - ButtonWidth() - 3;
  r.Left = r.Top = BorderStyle() == bsNone ? 2 : 1;
  Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
}

// ------------------------------------------------------------ wide combo box

namespace {

rtl::TStrings& PlatformItems(TCustomUNIComboBox* c) { return *static_cast<TCustomComboBox*>(c)->Items(); }

}  // namespace

WideString TComboBoxStrings::Get(Integer Index) const { return rtl::ToWide(PlatformItems(ComboBox).Get(Index)); }
Integer TComboBoxStrings::GetCount() const { return PlatformItems(ComboBox).Count(); }
void* TComboBoxStrings::GetObject(Integer Index) const { return PlatformItems(ComboBox).GetObject(Index); }
void TComboBoxStrings::PutObject(Integer Index, void* Object) { PlatformItems(ComboBox).PutObject(Index, Object); }
Integer TComboBoxStrings::Add(const WideString& S) { return PlatformItems(ComboBox).Add(rtl::ToAnsi(S)); }
void TComboBoxStrings::Insert(Integer Index, const WideString& S) {
  if (Index < 0 || Index > GetCount()) throw EOutOfResources("Unable to insert a line");
  PlatformItems(ComboBox).Insert(Index, rtl::ToAnsi(S));
}
void TComboBoxStrings::Delete(Integer Index) { PlatformItems(ComboBox).Delete(Index); }

void TComboBoxStrings::Clear() {
  WideString text = GetWideText(ComboBox);
  PlatformItems(ComboBox).Clear();
  SetWideText(ComboBox, text);
  ComboBox->Update();
}

void TComboBoxStrings::SetUpdateState(bool Updating) {
  if (Updating)
    PlatformItems(ComboBox).BeginUpdate();
  else
    PlatformItems(ComboBox).EndUpdate();
}

Integer TComboBoxStrings::IndexOf(const WideString& S) const {
  // The combo box's own exact search ignores case.
  for (Integer i = 0; i < GetCount(); ++i)
    if (rtl::UnicodeCompareText(Get(i), S) == 0) return i;
  return -1;
}

TCustomUNIComboBox::TCustomUNIComboBox(TComponent* owner)
    : TCustomComboBox(owner), items_(std::make_unique<TComboBoxStrings>(this)) {
  Font()->SetCharset(255);
}

TCustomUNIComboBox::~TCustomUNIComboBox() = default;

void TCustomUNIComboBox::SetItems(const TWideStrings* Value) { items_->Assign(Value); }

void TCustomUNIComboBox::KeyPress(WideChar& Key) {
  // Backspace fires only the event: the box's own search does not run.
  if (Key == VK_BACK) {
    if (OnKeyPress) OnKeyPress(this, Key);
    return;
  }
  TCustomComboBox::KeyPress(Key);
}

void TCustomUNIComboBox::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_CHAR: {
      EditCharHook(m);
      TCustomComboBox::Dispatch(m);
      if (m.Result != 0) return;
      if ((m.WParam == VK_RETURN || m.WParam == VK_ESCAPE) && DroppedDown()) {
        SetDroppedDown(false);
        m.Result = 1;
      }
      return;
    }
    case CN_COMMAND:
      if (HiWord(static_cast<uintptr_t>(m.WParam)) == CBN_SELCHANGE) {
        Integer i = ItemIndex();
        SetText(i >= 0 && i < items_->GetCount() ? items_->Get(i) : WideString());
        Click();
        Change();
        return;
      }
      TCustomComboBox::Dispatch(m);
      return;
    default: TCustomComboBox::Dispatch(m);
  }
}

template class TFlatCombo<TCustomUNIComboBox>;

void TVOEUniCustomCombo::SetIsWinXP(bool v) {
  isWinXP_ = v;
  Invalidate();
}


void TVOEUniCustomCombo::PaintFlatBorder(TCanvas* c) {
  TRect r = Rect(0, 0, Width(), Height());
  TColor frame = ShowsFocusBorder() ? clBtnFace : ParentColorOf(this);
  if (ShowsFocusBorder()) {
    c->DrawEdge(r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    FrameWith(c, r, frame);
  } else {
    FrameWith(c, r, frame);
    InflateRect(r, -1, -1);
    FrameWith(c, r, frame);
  }
  InflateRect(r, -1, -1);
  FrameWith(c, r, Color());
}

void TVOEUniCustomCombo::PaintButtonEdge(TCanvas* c) {
  Integer cw = ClientWidth(), ch = ClientHeight();
  c->ExcludeClipRect(Rect(cw - buttonWidth_ + 4, 4, cw - 4, ch - 4));
  TRect r = Rect(cw - buttonWidth_ - 2, 0, Width(), Height());
  InflateRect(r, -2, -2);
  if (IsHot()) {
    TRect e = r;
    c->DrawEdge(e, etched_ ? EDGE_ETCHED : EDGE_RAISED, BF_RECT | (DroppedDown() ? BF_FLAT : 0));
  } else {
    TRect f = Rect(r.Left, r.Top + 1, r.Right - 1, r.Bottom - 1);
    c->Brush()->SetColor(clBtnFace);
    c->Brush()->SetStyle(bsSolid);
    c->FillRect(f);
  }
  c->ExcludeClipRect(r);
}

void TVOEUniCustomCombo::PaintDropButton(TCanvas* c) {
  Integer cw = ClientWidth(), ch = ClientHeight();
  TRect r = Rect(cw - buttonWidth_, 0, Width(), Height());
  InflateRect(r, -1, -1);
  if (isWinXP_) {
    bool pressed = GetKeyState(VK_LBUTTON) < 0 || GetKeyState(VK_RBUTTON) < 0;
    if (DrawThemePart(this, c, ThemeClass::ComboBox, 1, pressed ? 3 : 1, r)) return;
  }
  c->DrawFrameControl(r, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | DFCS_FLAT);
  c->ExcludeClipRect(Rect(cw - buttonWidth_ - 4, 0, cw + 2, ch));
}

}  // namespace dropdown
