#include "grid/GridInplaceEdit.h"

#include <vector>

#include "grid/GridComponent.h"
#include "grid/model/GridEnvironment.h"
#include "grid/model/GridUtils.h"
#include "grid/model/InplaceRules.h"
#include "rtl/CodePages.h"
#include "vcl/Clipbrd.h"
#include "vcl/Messages.h"
#include "vcl/WinApi.h"

namespace grid {

TLumInplaceEdit::TLumInplaceEdit(vcl::TComponent* owner) : vcl::TInplaceEdit(owner) {
  grid_ = dynamic_cast<TVadOdizadEzev*>(owner);
}

void TLumInplaceEdit::ByteSelection(const AnsiString& text, Integer& start, Integer& length) {
  const WideString wide = rtl::Utf8ToWide(text);
  const Integer s = std::min<Integer>(SelStart(), static_cast<Integer>(wide.size()));
  const Integer l = std::min<Integer>(SelLength(), static_cast<Integer>(wide.size()) - s);
  start = static_cast<Integer>(rtl::WideToUtf8(wide.substr(0, s)).size());
  length = static_cast<Integer>(rtl::WideToUtf8(wide.substr(s, l)).size());
}

void TLumInplaceEdit::SetByteSelection(const AnsiString& text, Integer start, Integer length) {
  const Integer s = static_cast<Integer>(rtl::Utf8ToWide(text.substr(0, start)).size());
  const Integer l = static_cast<Integer>(rtl::Utf8ToWide(text.substr(start, length)).size());
  SetSelStart(s);
  SetSelLength(l);
}

void TLumInplaceEdit::Dispatch(vcl::TMessage& m) {
  if (grid_ != nullptr) {
    switch (m.Msg) {
      case vcl::WM_CHAR:
        TypedChar(m);
        if (m.Result != 0) return;
        break;
      case vcl::WM_PASTE:
        Paste();
        return;
      case vcl::WM_KEYUP:
        vcl::TInplaceEdit::Dispatch(m);
        Complete();
        return;
      default:
        break;
    }
  }
  vcl::TInplaceEdit::Dispatch(m);
}

void TLumInplaceEdit::TypedChar(vcl::TMessage& m) {
  const WideChar typed = static_cast<WideChar>(m.WParam);
  const TEditorType editor = grid_->CurrentEditorType();
  const AnsiString text = Text();
  TCharRuleInput in;
  in.Editor = editor;
  // Characters beyond one byte count as letters no number type takes.
  in.Char = typed < 256 ? static_cast<unsigned char>(typed) : 0x01;
  in.Text = text;
  ByteSelection(text, in.SelStart, in.SelLength);
  in.Ctrl = vcl::GetKeyState(vcl::VK_CONTROL) < 0;
  in.DecimalSeparator = CurrentLocale().DecimalSeparator();
  in.ThousandSeparator = CurrentLocale().ThousandSeparator();
  in.LengthLimit = LengthLimit;
  in.LineFeedOnEnter = grid_->Navigation()->LineFeedOnEnter;
  in.ValidChars = grid_->ValidChars;
  in.ValidSet = grid_->ValidCharSet;
  const TCharRule rule = ApplyCharRule(in);
  switch (rule.Verdict) {
    case TCharVerdict::cvRefuse:
      vcl::MessageBeep(0);
      m.Result = 1;
      return;
    case TCharVerdict::cvIgnore:
      m.Result = 1;
      return;
    case TCharVerdict::cvPass:
      break;
  }
  if (rule.MixedCaseAfter && typed >= 32) {
    // The character goes in, then the whole text takes mixed case and the
    // caret stands after the character.
    const WideString wide = rtl::Utf8ToWide(text);
    const Integer start = SelStart();
    WideString next = wide.substr(0, start);
    next += typed;
    next += wide.substr(std::min<size_t>(wide.size(), static_cast<size_t>(start + SelLength())));
    SetText(MixedCase(rtl::WideToUtf8(next)));
    SetSelStart(start + 1);
    SetSelLength(0);
    m.Result = 1;
    return;
  }
  if (typed < 256 && rule.Char != static_cast<unsigned char>(typed)) m.WParam = rule.Char;
}

void TLumInplaceEdit::Paste() {
  vcl::TClipboard* clipboard = vcl::Clipboard();
  if (!clipboard->HasFormat(vcl::CF_TEXT) && !clipboard->HasFormat(vcl::CF_UNICODETEXT)) return;
  AnsiString pasted = clipboard->AsText();
  bool allow = true;
  if (grid_->OnClipboardPaste) grid_->OnClipboardPaste(this, allow);
  if (allow && grid_->OnClipboardBeforePasteCell)
    grid_->OnClipboardBeforePasteCell(this, grid_->Col(), grid_->Row(), pasted, allow);
  if (!allow) return;
  const AnsiString text = Text();
  TPasteInput in;
  in.Editor = grid_->CurrentEditorType();
  in.Text = text;
  ByteSelection(text, in.SelStart, in.SelLength);
  in.Pasted = pasted;
  in.LengthLimit = LengthLimit;
  in.ValidChars = grid_->ValidChars;
  const TPasteResult r = ApplyPaste(in);
  if (!r.Merged) return;
  // The editor's text goes into the cell as every change does.
  SetText(r.Text);
  SetByteSelection(r.Text, r.SelStart, r.SelLength);
  if (grid_->OnClipboardAfterPasteCell) grid_->OnClipboardAfterPasteCell(this, grid_->Col(), grid_->Row(), r.Text);
}

void TLumInplaceEdit::Complete() {
  if (!grid_->Lookup || grid_->LookupItems()->Count() == 0 || !autoComplete_ || SelLength() != 0) return;
  const AnsiString text = Text();
  Integer start = 0, length = 0;
  ByteSelection(text, start, length);
  std::vector<AnsiString> items;
  for (Integer i = 0; i < grid_->LookupItems()->Count(); ++i) items.push_back(grid_->LookupItems()->Strings(i));
  const TLookupCompletion c = CompleteFromLookup(text, start, items, grid_->LookupCaseSensitive);
  if (!c.Completed || c.Text == text) return;
  SetText(c.Text);
  SetByteSelection(c.Text, c.SelStart, c.SelLength);
}

void TLumInplaceEdit::Change() {
  vcl::TInplaceEdit::Change();
  if (grid_ == nullptr) return;
  if (loading_) {
    loading_ = false;
    if (Text() == loadText_) return;
  }
  if (grid_->OnEditChange) grid_->OnEditChange(grid_, grid_->Col(), grid_->Row(), Text());
}

void TLumInplaceEdit::KeyDown(vcl::Word& key, vcl::TShiftState shift) {
  if (key == vcl::VK_BACK || key == vcl::VK_DELETE)
    autoComplete_ = false;
  else if (key != vcl::VK_RETURN && key != vcl::VK_UP && key != vcl::VK_DOWN)
    autoComplete_ = true;
  vcl::TInplaceEdit::KeyDown(key, shift);
}

}  // namespace grid
