// The published code editor.
#include "memo/LumMemo.h"

#include <algorithm>

#include "memo/LumMemoSettings.h"
#include "memo/LumMemoSource.h"
#include "memo/LumMemoStyler.h"
#include "memo/text/MemoChars.h"
#include "rtl/Strings.h"
#include "vcl/Caret.h"
#include "vcl/Messages.h"

namespace memo {

TLumMemo::TLumMemo(vcl::TComponent* owner) : TLumCustomMemo(owner) {
  SetBounds(Left(), Top(), 350, 250);
  SetBkColor(vcl::clWhite);
  SetHiddenCaret(false);
  SetDelErase(true);
  SetCaseSensitive(false);
  SetReadOnly(false);
  vcl::TFont font;
  font.SetName("COURIER NEW");
  font.SetHeight(-13);
  font.SetColor(vcl::clBlack);
  font.SetStyle({});
  SetFont(&font);
  OnChange = [this](TObject*) { Invalidate(); };
  OnGutterDraw = [this](TObject*, TCanvas* canvas, Integer lineNo, TRect rct) { DrawGutterLine(canvas, lineNo, rct); };
  OnGutterClick = [this](TObject*, Integer line) {
    SetCaretLine(line);
    ClearSelection();
  };
}

bool TLumMemo::IsDelimiter(char ch) const {
  if (ch == ' ' || ch == '"' || ch == '\'') return true;
  TLumCustomMemoStyler* styler = ActiveStyler();
  return styler && styler->AllStyles()->IsDelimiterChar(ch);
}

rtl::Cardinal TLumMemo::GetVersionNumber() const { return 0x02020301u; }

AnsiString TLumMemo::Version() const {
  rtl::Cardinal v = GetVersionNumber();
  return std::to_string(v >> 24) + "." + std::to_string((v >> 16) & 0xFF) + "." + std::to_string((v >> 8) & 0xFF) +
         "." + std::to_string(v & 0xFF);
}

AnsiString TLumMemo::GetVersionString() const { return Version() + " Apr, 2010"; }

void TLumMemo::Loaded() {
  TLumCustomMemo::Loaded();
  bool designing = ComponentState().Contains(vcl::csDesigning);
  if (MemoSource() && !designing) MemoSource()->Attach(this);
  if (AutoThemeAdapt() && !designing) AdaptToTheme();
  StyleChanged();
  RecalcLongestLine();
  UpdateScrollBars(false);
}

void TLumMemo::Dispatch(vcl::TMessage& m) {
  switch (m.Msg) {
    case vcl::WM_COPY:
      TLumCustomMemo::Dispatch(m);
      if (!Destroying()) CopyToClipboard();
      return;
    case vcl::WM_CUT:
      TLumCustomMemo::Dispatch(m);
      if (!Destroying()) CutToClipboard();
      return;
    case vcl::WM_PASTE:
      TLumCustomMemo::Dispatch(m);
      if (!Destroying()) PasteFromClipboard();
      return;
    case vcl::EM_GETSEL: {
      TLumCustomMemo::Dispatch(m);
      if (Destroying()) return;
      Integer start = GetSelStart();
      if (auto* p = reinterpret_cast<rtl::Cardinal*>(m.WParam)) *p = static_cast<rtl::Cardinal>(start);
      if (auto* p = reinterpret_cast<rtl::Cardinal*>(m.LParam))
        *p = static_cast<rtl::Cardinal>(start + GetSelLength());
      return;
    }
    case vcl::CM_HINTSHOW: {
      TLumCustomMemo::Dispatch(m);
      auto* info = reinterpret_cast<vcl::THintInfo*>(m.LParam);
      if (!info || Destroying()) return;
      AnsiString hint = info->HintStr;
      if (!HintAt(ScreenToClient(info->CursorPos), hint)) {
        m.Result = 1;
        return;
      }
      info->HintStr = hint;
      // A move to another cell asks again.
      vcl::TPoint cell = ClientToCell(ScreenToClient(info->CursorPos).X, ScreenToClient(info->CursorPos).Y);
      info->CursorRect = CellRect(cell.X, cell.Y);
      return;
    }
    default:
      // The base follows the desktop's theme on its own messages.
      TLumCustomMemo::Dispatch(m);
  }
}

bool TLumMemo::HintAt(vcl::TPoint client, AnsiString& hint) {
  if (Gutter()->Visible() && client.X < Gutter()->Left + Gutter()->Width) return false;
  if (!OnHintForWord && !OnHintForToken) return true;
  TMemoPos pos = ClientToLine(client.X, client.Y);
  if (pos.Y < 0 || pos.Y >= TextStore()->Count()) return false;
  bool show = true;
  if (OnHintForWord) {
    AnsiString word = WordAt(pos.X, pos.Y);
    AnsiString text = word;
    OnHintForWord(this, pos.X, pos.Y, word, text, show);
    if (show) {
      hint = text;
      return true;
    }
  }
  if (OnHintForToken) {
    AnsiString token = WordAtEx(pos.X, pos.Y);
    AnsiString text = token;
    show = true;
    OnHintForToken(this, pos.X, pos.Y, token, text, show);
    if (show) hint = text;
  }
  return show;
}

void TLumMemo::KeyUp(vcl::Word& key, TShiftState shift) {
  vcl::SetCaretBlinkTime(vcl::GetCaretBlinkTime());
  if (!HiddenCaret()) ShowCaretAt(true);
  TLumCustomMemo::KeyUp(key, shift);
}

void TLumMemo::DoCursorChange() {
  UpdateBlockHighlight();
  TLumCustomMemo::DoCursorChange();
}

}  // namespace memo
