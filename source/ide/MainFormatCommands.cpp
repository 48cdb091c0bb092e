// The window's font and colour commands and its search: the colour dialog
// for the text and its background, the font dialog, and the find dialog
// that searches the view shown.
#include "htmledit/control/psHtmlEdit.h"  // before the parts that need its types
#include "htmledit/control/psBlockContext.h"
#include "ide/MainForm.h"

#include <cstdio>

#include "memo/LumMemo.h"
#include "vcl/ColorDialog.h"
#include "vcl/FindDialog.h"
#include "vcl/FontDialog.h"
#include "vcl/WinApi.h"

namespace ide {

namespace {

// "#rrggbb" in lower-case hex, as style sheets write a colour.
AnsiString CssColorText(vcl::TColor color) {
  const vcl::TColor rgb = vcl::ColorToRGB(color);
  char text[8];
  std::snprintf(text, sizeof text, "#%.2x%.2x%.2x", vcl::GetRValue(rgb), vcl::GetGValue(rgb), vcl::GetBValue(rgb));
  return text;
}

}  // namespace

void Tfrm_Main::BindFormatCommands() {
  FontDialog = new vcl::TFontDialog(this);
  FontDialog->SetName("FontDialog");
  cd_ColorSelection = new vcl::TColorDialog(this);
  cd_ColorSelection->SetName("cd_ColorSelection");
  FindDialog1 = new vcl::TFindDialog(this);
  FindDialog1->SetName("FindDialog1");
  FindDialog1->OnFind = [this](vcl::TObject* s) { FindDialog1Find(s); };

  const auto colorsEnabled = [this] { return HTMLEdit->Showing() && HTMLEdit->IsCursorInBlock(); };
  FontColorAct->OnExecute = [this](vcl::TObject* s) { btn_FontColorClick(s); };
  FontColorAct->OnUpdate = [this, colorsEnabled](vcl::TObject*) { FontColorAct->SetEnabled(colorsEnabled()); };
  BkgColorAct->OnExecute = [this](vcl::TObject* s) { BkgColorActExecute(s); };
  BkgColorAct->OnUpdate = [this, colorsEnabled](vcl::TObject*) { BkgColorAct->SetEnabled(colorsEnabled()); };
  SearchFind->OnExecute = [this](vcl::TObject* s) { SearchFindFindDialogFind(s); };
  SearchFind->OnUpdate = [this](vcl::TObject*) { SearchFind->SetEnabled(true); };
  SearchFind->SetEnabled(true);
}

void Tfrm_Main::btn_FontColorClick(vcl::TObject*) {
  if (!cd_ColorSelection->Execute()) return;
  const htmldoc::TColor color = cd_ColorSelection->Color();
  if (HTMLEdit->HasTextSelection())
    HTMLEdit->SetSelectionColors(color, htmldoc::clNone);
  else
    HTMLEdit->SetCursorColors(color, htmldoc::clNone);
}

void Tfrm_Main::BkgColorActExecute(vcl::TObject*) {
  if (!cd_ColorSelection->Execute()) return;
  const vcl::TColor color = cd_ColorSelection->Color();
  if (HTMLEdit->HasTextSelection()) {
    // The colour replaces whatever inline formatting the selection had.
    HTMLEdit->RemoveSpanFromSelection("");
    HTMLEdit->AddSpanToSelection("<span style=\"background-color: " + CssColorText(color) + ";\">");
  } else if (HTMLEdit->IsCursorInBlock()) {
    HTMLEdit->GetCurrentBlock()->SetBackgroundColor(color);
  }
}

void Tfrm_Main::ChooseFont() {
  FontDialog->Font()->SetStyle(HTMLEdit->GetFontStyleFlags());
  if (!FontDialog->Execute()) return;
  const vcl::TFont& font = *FontDialog->Font();
  if (HTMLEdit->HasTextSelection())
    HTMLEdit->SetSelectionFont(font.Name(), font.Size(), font.Color(), font.Style(), "");
  else
    HTMLEdit->SetCursorFont(font.Name(), font.Size(), font.Color(), font.Style(), "");
}

void Tfrm_Main::SearchFindFindDialogFind(vcl::TObject*) {
  if (PageControl->Visible() && PageControl->ActivePage() == ts_InternetExplorer && ShowBrowserFind) {
    ShowBrowserFind();
    return;
  }
  // The HTML editor's search knows no whole words.
  vcl::TFindOptions options = FindDialog1->Options();
  if (VisualEditing())
    options.Include(vcl::frHideWholeWord);
  else
    options.Exclude(vcl::frHideWholeWord);
  FindDialog1->SetOptions(options);
  FindDialog1->Execute();
}

void Tfrm_Main::FindDialog1Find(vcl::TObject*) {
  const AnsiString text = FindDialog1->FindText();
  const vcl::TFindOptions options = FindDialog1->Options();
  vcl::TWinControl* editor = PageControl->Visible() ? GetActiveEditor() : nullptr;
  bool found = false;
  if (editor == HTMLEdit) {
    // Module tags are searched as the page writes them.
    found = HTMLEdit->FindText(webExt_->LoadPage(text), true, options.Contains(vcl::frMatchCase),
                               options.Contains(vcl::frDown));
  } else if (memo::TLumMemo* memo = ActiveCodeEditor()) {
    found = memo->FindText(text, options) >= 0;
  }
  if (found) {
    editor->SetFocus();
    return;
  }
  vcl::MessageBeep(vcl::MB_ICONASTERISK);
  vcl::MessageDlg(text + " was not found.", vcl::mtInformation, {vcl::mbOK}, 0);
}

}  // namespace ide
