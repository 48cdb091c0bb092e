// The insert and link commands that collect their values in the window's
// dialogs (picture, table, anchor, the link smart tag's link, an image's
// link and alternative text), the graphics list, the print preview window
// and the about box.
#include "ide/MainForm.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "controls/LumMenus.h"
#include "htmledit/control/psObjectSelection.h"
#include "htmledit/control/psSmartTagLink.h"
#include "htmledit/view/psImageCache.h"
#include "ide/AboutBox.h"
#include "ide/CreateLinkDlg.h"
#include "ide/CreateLinkOrAnchorDlg.h"
#include "ide/DocumentGraphicsDlg.h"
#include "ide/ImageAltTextDlg.h"
#include "ide/InsertAnchorDlg.h"
#include "ide/InsertPictureDlg.h"
#include "ide/InsertTableDlg.h"
#include "ide/PrintPreviewDlg.h"
#include "rtl/Files.h"
#include "rtl/Strings.h"
#include "vcl/Dialogs.h"
#include "vcl/ListBox.h"
#include "vcl/Menus.h"
#include "vcl/Shell.h"

namespace ide {

AnsiString HtmlAttributeText(const AnsiString& value) {
  AnsiString out;
  out.reserve(value.size());
  for (char c : value) {
    if (c == '&')
      out += "&amp;";
    else if (c == '"')
      out += "&quot;";
    else
      out += c;
  }
  return out;
}

namespace {

std::string FileBytes(const AnsiString& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The file in the project folder is the chosen picture itself, or a copy
// of it: same size and same bytes.
bool SamePictureFile(const AnsiString& a, const AnsiString& b) {
  if (rtl::FileSize(a) != rtl::FileSize(b)) return false;
  return FileBytes(a) == FileBytes(b);
}

}  // namespace

void Tfrm_Main::BindInsertCommands() {
  const auto item = [this](const char* name, const char* caption, std::function<void(vcl::TObject*)> click) {
    auto* i = new vcl::TMenuItem(this);
    i->SetName(name);
    i->SetCaption(caption);
    i->OnClick = std::move(click);
    pm_LinkCreator->Items()->Add(i);
    return i;
  };
  CreateLink1 = item("CreateLink1", "Create Link...", [this](vcl::TObject* s) { CreateLink1Click(s); });
  OpenURLinbrowser1 =
      item("OpenURLinbrowser1", "Open URL in browser", [this](vcl::TObject* s) { OpenURLinbrowser1Click(s); });
  vcl::TMenuItem* imageItems = pm_Image->Items();
  for (Integer k = 0; k < imageItems->Count(); ++k) {
    vcl::TMenuItem* m = imageItems->Items(k);
    if (m->Name() == "mi_AlternativeText") m->OnClick = [this](vcl::TObject* s) { mi_AlternativeTextClick(s); };
    if (m->Name() == "mi_CreateImageLink") m->OnClick = [this](vcl::TObject* s) { mi_CreateImageLinkClick(s); };
  }
  const auto bind = [](vcl::TAction* a, std::function<void(vcl::TObject*)> run, std::function<bool()> enabled) {
    a->OnExecute = std::move(run);
    if (enabled) a->OnUpdate = [a, enabled = std::move(enabled)](vcl::TObject*) { a->SetEnabled(enabled()); };
    a->SetEnabled(true);
  };
  const auto always = [] { return true; };
  bind(ImageAct, [this](vcl::TObject* s) { InsertPicture1Click(s); }, [this] { return !HTMLEdit->IsImageSelected(); });
  bind(TableAct, [this](vcl::TObject* s) { Create1Click(s); }, always);
  // Enabled by the ribbon's rule for visual editing.
  bind(btnHyperlinkAct, [this](vcl::TObject* s) { InsertAnchorClick(s); }, nullptr);
  bind(GraphicsAct, [this](vcl::TObject* s) { mi_GraphicsClick(s); }, always);
  bind(AboutAct, [this](vcl::TObject* s) { AboutActExecute(s); }, always);
  bind(printpreviewAct, [this](vcl::TObject*) { ShowPrintPreviewWindow(); }, [this] {
    return prjManager_ && prjManager_->HasFileName() && PageControl->Visible() &&
           PageControl->ActivePage() != ts_InternetExplorer;
  });
}

void Tfrm_Main::InsertPicture1Click(vcl::TObject*) {
  TfrmInsertPicture* dialog = frmInsertPicture;
  if (!dialog || dialog->ShowModal() != vcl::mrOk) return;
  const AnsiString path = dialog->PictureFile();
  // "Ok" without a chosen picture inserts nothing.
  if (path.empty()) return;
  const AnsiString name = rtl::ExtractFileName(path);
  if (!IsShortFileName(name)) {
    vcl::MessageDlg("Tolvane only supports short (8.3) file names. Please rename the image", vcl::mtWarning,
                    {vcl::mbOK}, 0);
    return;
  }
  const AnsiString inProject = prjManager_->GetProjectDir() + name;
  if (!rtl::FileExists(inProject)) {
    rtl::CopyFile(path, inProject, true);
  } else if (!SamePictureFile(path, inProject)) {
    // Inserting by the bare name would show (and upload) the other file.
    vcl::MessageDlg("The project folder already holds a different file named " + name +
                        ". Please rename the image",
                    vcl::mtWarning, {vcl::mbOK}, 0);
    return;
  }
  HTMLEdit->InsertImage(name, static_cast<rtl::Byte>(dialog->Alignment()), "", "", nullptr, dialog->PictureWidth(),
                        dialog->PictureHeight(), true, dialog->AltText());
  // A picture named by a full path joins the project, so it goes into the
  // module's image.
  if (path[0] == '/') prjManager_->AddFile(inProject);
}

void Tfrm_Main::Create1Click(vcl::TObject*) {
  TfrmInsertTable* d = frmInsertTable;
  if (!d || d->ShowModal() != vcl::mrOk) return;
  HTMLEdit->InsertTable(d->Columns(), d->Rows(), d->TableWidth(), d->CellSpacing(), d->CellPadding(),
                        TableAttributeText(d->TableClass()), TableAttributeText(d->TableStyle()),
                        TableAttributeText(d->CellClass()), TableAttributeText(d->CellStyle()));
}

void Tfrm_Main::InsertAnchorClick(vcl::TObject*) {
  if (!InsertAnchorFrm || InsertAnchorFrm->ShowModal() != vcl::mrOk) return;
  HTMLEdit->InsertTagPairAtCursor("<a name=\"" + HtmlAttributeText(InsertAnchorFrm->AnchorName()) + "\">");
}

void Tfrm_Main::LinkCreatorCallback(const htmledit::TpsRect2& fragment, const AnsiString& url,
                                    AnsiString& replacement, AnsiString& html,
                                    std::unique_ptr<htmldoc::TpsMarkupTag>& outerTag) {
  linkUrl_ = url;
  linkReplacement_.clear();
  linkHtml_ = html;
  linkOuter_ = std::move(outerTag);
  const vcl::TPoint at = HTMLEdit->ClientToScreen(vcl::TPoint{fragment.Left, fragment.Bottom + 1});
  pm_LinkCreator->Popup(at.X, at.Y);
  vcl::Application->ProcessMessages();
  replacement = linkReplacement_;
  html = linkHtml_;
  outerTag = std::move(linkOuter_);
}

void Tfrm_Main::CreateLink1Click(vcl::TObject*) {
  TfrmCreateLink* d = frmCreateLink;
  if (!d) return;
  d->SetLinkURL(linkUrl_);
  d->SetLinkName(rtl::Copy(linkUrl_, 8, static_cast<Integer>(linkUrl_.size())));
  if (d->ShowModal() != vcl::mrOk) return;
  const AnsiString name = d->LinkName();
  if (name.empty()) return;
  if (d->LinkURL() != linkUrl_) linkHtml_ = "<a href=\"" + HtmlAttributeText(d->LinkURL()) + "\">";
  linkReplacement_ = name;
}

void Tfrm_Main::OpenURLinbrowser1Click(vcl::TObject*) { vcl::OpenURL(linkUrl_); }

void Tfrm_Main::mi_CreateImageLinkClick(vcl::TObject*) {
  htmledit::TpsImage* image = HTMLEdit->SelectedImage();
  Tfrm_CreateLinkOrAnchor* d = frm_CreateLinkOrAnchor;
  if (!image || image->LinkTag || !d) return;
  d->URL = "http://";
  d->LinkName.clear();
  d->Target.clear();
  if (d->ShowModal() != vcl::mrOk) return;
  AnsiString tag = "<a ";
  const auto add = [&tag](const char* attribute, const AnsiString& value) {
    if (!value.empty()) tag += AnsiString(attribute) + "=\"" + HtmlAttributeText(value) + "\" ";
  };
  add("href", d->URL);
  add("target", d->Target);
  add("name", d->LinkName);
  tag += ">";
  HTMLEdit->CreateImageLink(tag);
}

void Tfrm_Main::mi_AlternativeTextClick(vcl::TObject*) {
  htmledit::TpsImage* image = HTMLEdit->SelectedImage();
  if (!image || !frm_ImageAltText) return;
  frm_ImageAltText->SetAltText(image->GetAlt());
  if (frm_ImageAltText->ShowModal() != vcl::mrOk) return;
  // The dialog's modal loop may have let the selection go.
  if (HTMLEdit->SelectedImage() == image) image->SetAlt(frm_ImageAltText->AltText());
}

std::vector<AnsiString> Tfrm_Main::DocumentGraphicSources() {
  // Sources are file names: "A.png" and "a.png" are two files.
  std::vector<AnsiString> sources;
  htmlview::TpsDocumentGraphics graphics(HTMLEdit->ImageCache());
  for (Integer i = 0; i < graphics.GetCount(); ++i) {
    htmlview::TpsDocumentGraphic g;
    graphics.GetGraphic(i, g);
    if (rtl::Pos(kTagImagePrefix, g.Source) > 0) continue;
    if (std::find(sources.begin(), sources.end(), g.Source) == sources.end()) sources.push_back(g.Source);
  }
  return sources;
}

void Tfrm_Main::mi_GraphicsClick(vcl::TObject*) {
  if (!frm_DocumentGraphics) return;
  vcl::TListBox* list = frm_DocumentGraphics->lb_Graphics;
  list->Items()->Clear();
  for (const AnsiString& source : DocumentGraphicSources()) list->Items()->Add(source);
  frm_DocumentGraphics->ShowModal();
}

void Tfrm_Main::ShowPrintPreviewWindow() {
  if (!frm_PrintPreview) return;
  frm_PrintPreview->SetEditor(HTMLEdit);
  if (frm_PrintPreview->ShowModal() == vcl::mrOk) HTMLEdit->Print({0, 0, 0, 0});
}

void Tfrm_Main::AboutActExecute(vcl::TObject*) { ShowAboutBox(); }

}  // namespace ide
