// The completion list and the parameter hint as windows: opening the list
// under the caret, its keys and filtering, putting the chosen entry in, the
// completion and hint timers, and the hint window beside the caret line.
#include "memo/LumMemoCompletion.h"

#include <algorithm>

#include "memo/LumCustomMemo.h"
#include "memo/LumMemoSettings.h"
#include "memo/LumMemoStyler.h"
#include "memo/text/MemoChars.h"
#include "rtl/Strings.h"
#include "vcl/ExtCtrls.h"
#include "vcl/ImgList.h"
#include "vcl/Messages.h"
#include "vcl/Pictures.h"
#include "vcl/Resources.h"
#include "vcl/WinApi.h"

namespace memo {

namespace {

// The entry pictures' resources in the list's order: variable, property,
// event, procedure, method.
constexpr const char* kCompletionPictureNames[5] = {"RUZ_VAR", "RUZ_PROP", "RUZ_EVENT", "RUZ_PROC", "RUZ_METHOD"};

}  // namespace

// ------------------------------------------------------ the list box

TAutoCompletionListBox::TAutoCompletionListBox(vcl::TComponent* owner, TLumCustomMemo* memo)
    : TCustomListBox(owner), memo_(memo) {
  SetName("_lc");
  SetStyle(vcl::lbOwnerDrawFixed);
  SetBorderVisible(false);
  SetCtl3D(false);
  SetCursor(vcl::crArrow);
  SetImages(nullptr);
}

TAutoCompletionListBox::~TAutoCompletionListBox() = default;

void TAutoCompletionListBox::SetImages(vcl::TImageList* images) {
  for (size_t i = 0; i < owned_.size(); ++i) {
    auto bitmap = std::make_unique<vcl::TBitmap>();
    if (images) {
      if (static_cast<Integer>(i) < images->Count()) {
        images->GetBitmap(static_cast<Integer>(i), bitmap.get());
        bitmap->SetPixelFormat(vcl::pf24bit);
      }
    } else {
      bitmap->LoadFromResourceName(vcl::HInstance, kCompletionPictureNames[i]);
    }
    pictures_[i] = bitmap->Empty() ? nullptr : bitmap.get();
    owned_[i] = std::move(bitmap);
  }
  Invalidate();
}

TCompletionMeasures TAutoCompletionListBox::Measure() {
  vcl::TCanvas* canvas = Canvas();
  canvas->SetFont(Font());
  const bool images = memo_ && memo_->AutoCompletion()->ShowImages;
  TCompletionMeasures m = MeasureCompletionList(canvas, *Items(), images, vcl::GetSystemMetrics(vcl::SM_CXVSCROLL));
  kindColumnWidth_ = m.KindColumnWidth;
  SetItemHeight(m.ItemHeight);
  return m;
}

void TAutoCompletionListBox::DrawItem(Integer index, const vcl::TRect& rect, vcl::TOwnerDrawState state) {
  vcl::TCanvas* canvas = Canvas();
  if (index < 0 || index >= Count() || !memo_) {
    canvas->FillRect(rect);
    canvas->FrameRect(rect);
    return;
  }
  DrawCompletionEntry(canvas, rect, Items()->Strings(index), CompletionKindOf(*Items(), index),
                      state.Contains(vcl::odSelected), *memo_->AutoCompletion(), kindColumnWidth_, pictures_);
}

void TAutoCompletionListBox::KeyDown(vcl::Word& key, vcl::TShiftState shift) {
  if (memo_ && key != 0 && memo_->CompletionListKey(key, shift)) {
    key = 0;
    return;
  }
  TCustomListBox::KeyDown(key, shift);
}

// Every character a key makes was handled as its key: none is typed twice.
void TAutoCompletionListBox::KeyPress(vcl::WideChar& key) { key = 0; }

void TAutoCompletionListBox::MouseUp(vcl::TMouseButton button, vcl::TShiftState shift, Integer x, Integer y) {
  TCustomListBox::MouseUp(button, shift, x, y);
  if (!memo_ || x < 0 || y < 0 || x >= ClientWidth() || y >= ClientHeight()) return;
  if (ItemAtPos({x, y}, true) < 0) return;
  memo_->InsertSelectedCompletion(false);
}

void TAutoCompletionListBox::Dispatch(vcl::TMessage& message) {
  TCustomListBox::Dispatch(message);
  // The list losing the focus to anything is the user leaving it.
  if (message.Msg == vcl::WM_KILLFOCUS && memo_) memo_->CancelCompletion();
}

// -------------------------------------------------- the list's window

TLumAutoform::TLumAutoform(vcl::TComponent* owner, TLumCustomMemo* memo) : TPopupForm(owner) {
  SetName("_fa");
  SetText("");
  list_ = new TAutoCompletionListBox(this, memo);
  list_->SetParent(this);
  SetPopupParent(memo);
  PlaceList();
}

TLumAutoform::~TLumAutoform() = default;

void TLumAutoform::SetSizable(bool v) {
  sizable_ = v;
  SetDropShadow(!v);
  SetColor(v ? vcl::clBtnFace : vcl::clSilver);
  PlaceList();
  Invalidate();
}

void TLumAutoform::PlaceList() {
  const Integer b = BandWidth();
  list_->SetBounds(b, b, std::max(ClientWidth() - 2 * b, 0), std::max(ClientHeight() - 2 * b, 0));
}

void TLumAutoform::Resize() {
  TPopupForm::Resize();
  PlaceList();
}

void TLumAutoform::PaintWindow() {
  TPopupForm::PaintWindow();
  if (!sizable_) return;
  if (!canvas_) canvas_ = std::make_unique<vcl::TControlCanvas>(this);
  vcl::TCanvas* c = canvas_.get();
  const vcl::TRect r = ClientRect();
  c->Brush()->SetStyle(vcl::bsSolid);
  c->Brush()->SetColor(vcl::clBtnFace);
  c->FillRect(r);
  // A raised frame, and the grip's three diagonals in the corner.
  vcl::TRect frame = r;
  vcl::Frame3D(c, frame, vcl::clBtnHighlight, vcl::clBtnShadow, 1);
  c->Pen()->SetStyle(vcl::psSolid);
  c->Pen()->SetWidth(1);
  c->Pen()->SetColor(vcl::clBtnShadow);
  for (Integer d = 3; d <= 9; d += 3) {
    c->MoveTo(r.Right - 1 - d, r.Bottom - 1);
    c->LineTo(r.Right - 1, r.Bottom - 1 - d);
  }
}

void TLumAutoform::Dispatch(vcl::TMessage& message) {
  if (message.Msg == vcl::WM_LBUTTONDOWN && sizable_) {
    vcl::TWMMouse mm(message);
    // The band's corner, or a corner-sized square, resizes the window.
    const Integer grip = std::max<Integer>(kBand, 10);
    if (mm.XPos >= ClientWidth() - grip && mm.YPos >= ClientHeight() - grip) {
      StartGripResize();
      return;
    }
  }
  TPopupForm::Dispatch(message);
}

// --------------------------------------------------- the hint window

TLumHintForm::TLumHintForm(vcl::TComponent* owner, TLumCustomMemo* memo) : TNoActivateForm(owner), memo_(memo) {
  SetName("_hf");
  SetText("");
}

TLumHintForm::~TLumHintForm() = default;

void TLumHintForm::SetHint(const TParameterHintText& text, vcl::TColor textColour, vcl::TColor background) {
  text_ = text;
  textColour_ = textColour;
  background_ = background;
  SetColor(background);
  Invalidate();
}

vcl::TCanvas* TLumHintForm::Canvas() {
  if (!canvas_) canvas_ = std::make_unique<vcl::TControlCanvas>(this);
  return canvas_.get();
}

void TLumHintForm::PaintWindow() {
  TNoActivateForm::PaintWindow();
  vcl::TCanvas* canvas = Canvas();
  canvas->SetFont(Font());
  DrawParameterHint(canvas, vcl::TSize{ClientWidth(), ClientHeight()}, text_, textColour_, background_);
}

void TLumHintForm::Dispatch(vcl::TMessage& message) {
  if (message.Msg == vcl::WM_MOUSEACTIVATE && memo_) {
    // The click would have activated the hint: the editor keeps the keys.
    TNoActivateForm::Dispatch(message);
    if (memo_->CanFocus() && !memo_->Focused()) memo_->SetFocus();
    if (!memo_->HiddenCaret()) memo_->ShowCaretAt(true);
    memo_->Invalidate();
    return;
  }
  TNoActivateForm::Dispatch(message);
}

// ------------------------------------------------------ the editor's side

void TLumCustomMemo::StopCompletionTimer() { completionTimer_->SetEnabled(false); }

void TLumCustomMemo::StartCompletionTimer() {
  completionTimer_->SetEnabled(false);
  completionTimer_->SetEnabled(true);
}

void TLumCustomMemo::CompletionTimerFired() {
  completionTimer_->SetEnabled(false);
  if (!autoCompletion_->Active || !autoCompletion_->AutoDisplay) return;
  const AnsiString token = TokenAtCaret();
  // A bare "." or "(" names nothing to complete.
  if (token.empty() || token == "." || token == "(") return;
  SetMemberCompletion(true, {caretX_, caretY_});
  ShowCompletion();
}

void TLumCustomMemo::SetMemberCompletion(bool member, TMemoPos start) {
  memberCompletion_ = member;
  completionStart_ = start;
}

void TLumCustomMemo::SetAutoCompletionListImages(vcl::TImageList* images) {
  if (completionImages_ == images) return;
  if (completionImages_) completionImages_->RemoveFreeNotification(this);
  completionImages_ = images;
  if (images) images->FreeNotification(this);
  if (completionForm_) completionForm_->List()->SetImages(images);
}

void TLumCustomMemo::CreateCompletionPopup() {
  completionForm_ = new TLumAutoform(this, this);
  completionForm_->SetSizable(autoCompletion_->SizeDropDown);
  completionForm_->List()->SetImages(completionImages_);
  completionForm_->OnPopupDeactivate = [this](vcl::TPopupForm*) { CancelCompletion(); };
}

AnsiString TLumCustomMemo::CompletionWord() {
  CaretToTextForWord();
  if (caretY_ >= LineCount()) return {};
  const AnsiString& line = LineText(caretY_);
  if (memberCompletion_) {
    const Integer from = std::clamp<Integer>(completionStart_.X, 0, CharLength(line));
    const Integer to = std::clamp<Integer>(caretX_, from, CharLength(line));
    const size_t b = ByteOfChar(line, from);
    return rtl::UpperCase(line.substr(b, ByteOfChar(line, to) - b));
  }
  return rtl::UpperCase(CompletionTokenAt(line, caretX_));
}

void TLumCustomMemo::ShowCompletion() {
  // A list under an editor nobody sees would float alone on the screen.
  if (!Showing()) return;
  if (!CompletionCandidatesAtCaret(*completionWords_)) return;

  vcl::TPoint origin = ClientToScreen(vcl::TPoint{0, 0});
  Integer x = origin.X + (caretX_ - leftCol_) * charWidth_;
  if (gutter_->Visible()) x += gutter_->Width;
  if (codeFolding_->Enabled() && regionCount_ > 0) x += 16;
  const Integer y = origin.Y + (RealToVisible(caretY_) - RealToVisible(topLine_) + 1) * lineHeight_ + 2;

  if (!completionForm_) CreateCompletionPopup();
  TLumAutoform* form = completionForm_;
  TAutoCompletionListBox* list = form->List();
  list->Items()->Assign(*completionWords_);
  list->SetColor(autoCompletion_->Color());
  list->SetFont(autoCompletion_->Font());
  form->SetSizable(autoCompletion_->SizeDropDown);
  if (OnStartAutoCompletion) OnStartAutoCompletion(this);
  if (completionForm_ != form) return;  // the handler closed it
  const TCompletionMeasures m = list->Measure();
  const Integer band = form->BandWidth();
  form->SetBounds(x, y, m.ListWidth + 2 * band, autoCompletion_->Height);
  form->ShowPopup();
  if (list->CanFocus()) list->SetFocus();
  if (memberCompletion_)
    FilterCompletion(CompletionWord());
  else if (list->Count() > 0)
    list->SetItemIndex(0);
}

void TLumCustomMemo::FilterCompletion(const AnsiString& token) {
  if (!completionForm_) return;
  TLumAutoform* form = completionForm_;
  TAutoCompletionListBox* list = form->List();
  list->Items()->BeginUpdate();
  list->Items()->Clear();
  DoGetAutoCompletionList(token, completionWords_.get());
  FilterCompletionCandidates(*completionWords_, token, *list->Items());
  list->Items()->EndUpdate();
  list->SetItemIndex(list->Count() > 0 ? 0 : -1);
  const TCompletionMeasures m = list->Measure();
  if (autoCompletion_->SizeDropDown) form->SetWidth(m.ListWidth + 2 * form->BandWidth());
}

void TLumCustomMemo::CloseCompletion() {
  TLumAutoform* form = completionForm_;
  if (!form) return;
  completionForm_ = nullptr;
  // From here on nothing the window does reaches this editor.
  form->List()->DetachMemo();
  form->OnPopupDeactivate = nullptr;
  if (form->Visible()) form->HidePopup();
  if (CanFocus() && !Focused()) SetFocus();
  // Freed once the messages already on their way to it are handled; its
  // name is free for the next list at once.
  form->SetName("");
  form->Release();
  if (!hiddenCaret_) ShowCaretAt(true);
}

void TLumCustomMemo::CancelCompletion() {
  if (!completionForm_) return;
  if (OnCancelAutoCompletion) OnCancelAutoCompletion(this);
  CloseCompletion();
}

void TLumCustomMemo::InsertSelectedCompletion(bool byKey) {
  if (!completionForm_) return;
  TAutoCompletionListBox* list = completionForm_->List();
  const Integer index = list->ItemIndex();
  if (index < 0 || index >= list->Count()) {
    CloseCompletion();
    return;
  }
  const AnsiString entry = list->Items()->Strings(index);
  const bool parentheses = InsertCompletionEntry(entry, byKey, memberCompletion_, completionStart_.X);
  // The list goes before the hint comes, so the focus the hint hands back
  // is no cancelling of the list.
  CloseCompletion();
  if (parentheses) ShowParameterHint();
}

bool TLumCustomMemo::CompletionListKey(vcl::Word key, TShiftState shift) {
  switch (CompletionKeyAction(key)) {
    case ckaListMoves:
      return false;
    case ckaBackspace:
      if (!readOnly_) ExecuteKey(vcl::VK_BACK, {});
      if (memberCompletion_ && TokenAtCaret().find('.') == AnsiString::npos)
        CloseCompletion();
      else
        FilterCompletion(CompletionWord());
      return true;
    case ckaClose:
      CloseCompletion();
      return true;
    case ckaInsert:
      InsertSelectedCompletion(true);
      return true;
    case ckaDelete:
      if (!readOnly_ && CanEdit() && LineCount() > 0) {
        DeleteChar(-1, -1);
        MarkLineModified(caretY_, true);
      }
      return true;
    case ckaType:
      // The key's own character, whatever Ctrl or Alt say: the list turns
      // no letter into a command.
      if (!readOnly_ && CanEdit() && !CaptionedCollapsedRegionAt(caretY_)) {
        regionRebuildPending_ = true;
        if (delErase_ && HasSelection()) DeleteSelection(true);
        InsertChar(CompletionKeyChar(key, shift.Contains(vcl::ssShift)));
        MarkLineModified(caretY_, true);
        Invalidate();
        DoChange();
      }
      FilterCompletion(CompletionWord());
      return true;
    case ckaCancel:
      CancelCompletion();
      return true;
  }
  return false;
}

// ------------------------------------------------------ the parameter hint

void TLumCustomMemo::SetAutoHintParameters(TAutoHintParameters v) {
  autoHintParameters_ = v;
  HideParameterHint();
}

void TLumCustomMemo::RefreshParameterHint() { ShowParameterHint(); }

void TLumCustomMemo::HideParameterHint() {
  hintTimer_->SetEnabled(false);
  if (hintForm_ && hintForm_->Visible()) hintForm_->SetVisible(false);
}

void TLumCustomMemo::ShowParameterHint() {
  if (!created_ || ComponentState().Contains(vcl::csDestroying)) return;
  if (!Showing()) {
    HideParameterHint();
    return;
  }
  const Integer row = RealToVisible(caretY_) - RealToVisible(topLine_);
  const Integer rows = lineHeight_ > 0 ? TextRect().Height() / lineHeight_ : 0;
  std::optional<TParameterHintText> hint;
  if (row >= 0 && row <= rows) hint = ParameterHintAtCaret();
  if (!hint) {
    HideParameterHint();
    return;
  }
  TLumCustomMemoStyler* styler = ActiveStyler();
  if (!hintForm_) hintForm_ = new TLumHintForm(this, this);
  hintForm_->SetHint(*hint, styler->HintParameter()->TextColor, styler->HintParameter()->BkColor);
  hintTimer_->SetEnabled(false);
  hintTimer_->SetEnabled(true);

  vcl::TCanvas* canvas = hintForm_->Canvas();
  canvas->SetFont(hintForm_->Font());
  const vcl::TSize size = ParameterHintSize(canvas, *hint);
  vcl::TPoint origin = ClientToScreen(vcl::TPoint{0, 0});
  Integer x = origin.X + (caretX_ - leftCol_) * charWidth_;
  if (gutter_->Visible()) x += gutter_->Width;
  const Integer rowsAway = autoHintParameterPosition_ == hpBelowCode ? row + 1 : row - 1;
  const Integer y = origin.Y + rowsAway * lineHeight_;
  hintForm_->SetBounds(x, y, size.cx, size.cy);
  hintForm_->SetVisible(true);
  hintForm_->Invalidate();
  if (CanFocus() && !Focused()) SetFocus();
}

}  // namespace memo
