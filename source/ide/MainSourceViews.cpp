// The source views ("BODY", "HTML", "Stylesheet", "Meta-Tags") and the
// editor's style sheet. The editor holds the only document: a view is
// filled from it when it is entered and written back when it is left.
#include "htmledit/doc/psStyleSheets.h"
#include "ide/MainForm.h"
#include "memo/LumMemo.h"
#include "memo/LumMemoSource.h"
#include "rtl/Files.h"
#include "rtl/Strings.h"
#include "vcl/ListView.h"
#include "vcl/StdCtrls.h"

namespace ide {

namespace {

// Where the body's content starts (after the "<body ...>" tag) and ends
// (at "</body>") in a whole page the editor wrote; npos when it has none.
bool FindBodyContent(const AnsiString& page, size_t& start, size_t& end) {
  const AnsiString lower = rtl::LowerCase(page);
  const size_t open = lower.find("<body");
  if (open == AnsiString::npos) return false;
  const size_t close = lower.find('>', open);
  if (close == AnsiString::npos) return false;
  const size_t bodyEnd = lower.rfind("</body>");
  if (bodyEnd == AnsiString::npos || bodyEnd < close) return false;
  start = close + 1;
  end = bodyEnd;
  return true;
}

}  // namespace

void Tfrm_Main::FillSourceView(memo::TLumMemoSource* source, const AnsiString& text) {
  ++fillingViews_;
  try {
    source->Lines()->LoadFromString(text);
  } catch (...) {
    --fillingViews_;
    throw;
  }
  --fillingViews_;
}

void Tfrm_Main::re_bodyChange(vcl::TObject*) {
  if (fillingViews_ == 0) SetModified(true);
}

void Tfrm_Main::ResetStyleSheet() {
  HTMLEdit->LoadStyleSheetFromFile(ProgramDataFolder() + "Stylesheet.css", true);
  RefreshStyleSheetView();
}

void Tfrm_Main::RefreshStyleSheetView() {
  htmldoc::TpsStyleSheet* sheet = HTMLEdit->StyleSheet();
  sheet->Beautify = false;
  FillSourceView(stylememoSrc, "");
  FillSourceView(stylememoSrc, sheet->GetAsString());
}

void Tfrm_Main::RefillStyleCombo() {
  rtl::TStrings* items = Cb_RibbonStyle->Items();
  items->Clear();
  items->Add("");
  htmldoc::TpsStyleSheet* sheet = HTMLEdit->StyleSheet();
  for (Integer i = 0; i < sheet->GetCount(); ++i) {
    htmldoc::TpsStyle* style = sheet->GetStyle(i);
    if (style && style->IsClass()) items->Add(style->Name());
  }
  Cb_RibbonStyle->SetItemIndex(0);
}

void Tfrm_Main::PageControlChanging(vcl::TObject*, bool& allowChange) {
  loadingError_ = false;
  SyncSourceToEditor();
  allowChange = !loadingError_;
  if (allowChange) RefillStyleCombo();
}

void Tfrm_Main::PageControlChange(vcl::TObject*) { SyncViews(); }

void Tfrm_Main::ShowPage(vcl::TTabSheet* page) {
  PageControl->SetActivePage(page);
  SyncViews();
}

void Tfrm_Main::SyncViews() {
  vcl::TTabSheet* page = PageControl->ActivePage();
  if (page == ts_Stylesheet) {
    htmldoc::TpsStyleSheet* sheet = HTMLEdit->StyleSheet();
    sheet->Beautify = true;
    FillSourceView(stylememoSrc, sheet->GetAsString());
  } else if (page == ts_Body) {
    const AnsiString body = webExt_->SavePage(AddBodyDiv(HTMLEdit->SaveToString(false, true)));
    FillSourceView(BodyMemoSrc, body);
    re_body->SetSelStart(0);
    re_body->SetTopLine(0);
  } else if (page == ts_HTML) {
    FillSourceView(HTMLMemoSrc, webExt_->SavePage(HTMLEdit->SaveToString(true, true)));
  } else if (page == ts_MetaTags) {
    lv_Meta->Items()->Clear();
    const htmldoc::TpsMetaTagList& meta = HTMLEdit->MetaTags();
    for (Integer i = 0; i < meta.Count(); ++i) {
      const htmldoc::TpsMarkupTag* tag = meta.GetTag(i);
      vcl::TListItem* item = lv_Meta->Items()->Add();
      const AnsiString httpEquiv = tag->GetAttribute("http-equiv");
      if (!httpEquiv.empty()) {
        item->SetCaption("HTTP-EQUIV");
        item->SubItems()->Add(httpEquiv);
      } else {
        item->SetCaption("NAME");
        item->SubItems()->Add(tag->GetAttribute("name"));
      }
      item->SubItems()->Add(tag->GetAttribute("content"));
    }
  } else if (page == ts_InternetExplorer) {
    RunPreview();
  }
  const bool fonts = HTMLEdit->IsCursorInBlock() && HTMLEdit->Showing();
  Cb_ribbonFontPicker->SetEnabled(fonts);
  CB_RibbonfontSize->SetEnabled(fonts);
}

void Tfrm_Main::ReloadBodyKeepingHead(const AnsiString& body, bool keepStyleSheet) {
  // The page as the editor would write it, with the new body in place of
  // its own: title, meta tags, links, scripts and every other element of
  // the head come back as they were.
  const AnsiString page = HTMLEdit->SaveToString(true, true);
  size_t start = 0;
  size_t end = 0;
  AnsiString text = body;
  if (FindBodyContent(page, start, end)) text = page.substr(0, start) + body + page.substr(end);
  LoadEditorText(text, keepStyleSheet);
}

void Tfrm_Main::SyncSourceToEditor() {
  vcl::TTabSheet* page = PageControl->ActivePage();
  if (page == ts_Stylesheet) {
    const AnsiString css = stylememoSrc->Lines()->SaveToString();
    if (rtl::Trim(css).empty()) return;
    HTMLEdit->LoadStyleSheetFromString(webExt_->Parser()->PageToEditor(css), true);
    ReloadBodyKeepingHead(HTMLEdit->SaveToString(false, true), true);
  } else if (page == ts_Body) {
    const AnsiString body = AddBodyDiv(webExt_->LoadPage(BodyMemoSrc->Lines()->SaveToString()));
    ReloadBodyKeepingHead(body, true);
  } else if (page == ts_HTML) {
    const AnsiString text = AddBodyDiv(webExt_->LoadPage(HTMLMemoSrc->Lines()->SaveToString()));
    LoadEditorText(text, false);
  }
}

}  // namespace ide
