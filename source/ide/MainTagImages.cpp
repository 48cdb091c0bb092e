// Module tags as pictures in the editor: the editor hands every tag it does
// not know to the window, which shows a module tag as a small picture whose
// source name carries the tag's command text, turns the picture back into
// the tag when the editor writes HTML, and inserts, edits, copies and
// pastes tags.
#include "controls/LumMenus.h"
#include "core/VormekCmdU.h"
#include "htmledit/control/psHtmlEdit.h"  // before the parts that need its types
#include "htmledit/control/psBlockContext.h"
#include "htmledit/control/psObjectSelection.h"
#include "ide/CategoryButtons.h"
#include "ide/MainForm.h"
#include "rtl/Convert.h"
#include "rtl/Files.h"
#include "rtl/Strings.h"
#include "vcl/Clipbrd.h"
#include "vcl/Menus.h"
#include "vcl/Pictures.h"
#include "vcl/StdCtrls.h"
#include "vcl/WinApi.h"

namespace ide {

namespace {

bool IsPlainNameByte(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

AnsiString EscapeTagText(const AnsiString& text) {
  // Only letters, digits and "-" stand as they are: any other byte could
  // come back from the code generator written another way ("&amp;",
  // quotes, characters of other encodings), and the road back would then
  // miss the picture.
  static const char kHex[] = "0123456789ABCDEF";
  AnsiString out = kTagImagePrefix;
  for (char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (IsPlainNameByte(c)) {
      out += ch;
    } else {
      out += '_';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

AnsiString UnescapeTagText(const AnsiString& escaped) {
  AnsiString out;
  for (size_t i = 0; i < escaped.size(); ++i) {
    if (escaped[i] == '_' && i + 2 < escaped.size()) {
      const int high = HexValue(escaped[i + 1]);
      const int low = HexValue(escaped[i + 2]);
      if (high >= 0 && low >= 0) {
        out += static_cast<char>(high * 16 + low);
        i += 2;
        continue;
      }
    }
    out += escaped[i];
  }
  return out;
}

AnsiString TagImageHtmlForSource(const AnsiString& source) {
  return "<img src=\"" + source + "\" alt=\"A device Command\" />";
}

vcl::TSize TagPictureSize(vcl::TCanvas& canvas, const AnsiString& text) {
  const Integer a = canvas.TextWidth("AB");
  const Integer h = canvas.TextHeight(text);
  return {canvas.TextWidth(text) + 2 * a, 2 * h};
}

void DrawTagPicture(vcl::TCanvas& canvas, const AnsiString& text) {
  const Integer a = canvas.TextWidth("AB");
  const Integer h = canvas.TextHeight(text);
  const vcl::TSize size = TagPictureSize(canvas, text);
  canvas.Brush()->SetStyle(vcl::bsSolid);
  canvas.Brush()->SetColor(kTagPictureGround);
  canvas.FillRect(vcl::Rect(0, 0, size.cx, size.cy));
  canvas.Brush()->SetColor(vcl::clWhite);
  canvas.Pen()->SetColor(vcl::clBlack);
  canvas.Pen()->SetStyle(vcl::psSolid);
  canvas.Pen()->SetWidth(2);
  canvas.RoundRect(2, 2, size.cx - 2, size.cy - 2, 15, 15);
  canvas.Font()->SetColor(vcl::clBlack);
  canvas.Brush()->SetStyle(vcl::bsClear);
  canvas.TextOut(a, (size.cy - h) / 2, text);
  canvas.Brush()->SetStyle(vcl::bsSolid);
}

AnsiString Tfrm_Main::BuildTagImageSource(const AnsiString& tagText) {
  return EscapeTagText(webExt_->Parser()->GetCommandText(tagText));
}

AnsiString Tfrm_Main::TagImageHtml(const AnsiString& tagText) {
  return TagImageHtmlForSource(BuildTagImageSource(tagText));
}

void Tfrm_Main::BindEditorEvents() {
  using htmldoc::TObjectPtr;
  HTMLEdit->OnSupportedCustomTag = [this](TObjectPtr, const htmldoc::TpsMarkupTag& tag, bool& supported) {
    HTMLEditSupportedCustomTag(tag, supported);
  };
  HTMLEdit->OnParseCustomTag = [this](TObjectPtr, htmldoc::TpsMarkupTag& tag, AnsiString& replace) {
    HTMLEditParseCustomTag(tag, replace);
  };
  HTMLEdit->OnRecreateCustomTag = [this](TObjectPtr, htmldoc::TpsMarkupTag& tag, const AnsiString& replacedBy) {
    HTMLEditRecreateCustomTag(tag, replacedBy);
  };
  HTMLEdit->OnRequestImage = [this](TObjectPtr, Integer id, Integer w, Integer h, vcl::TGraphic*& graphic,
                                    vcl::TPicture*& container) { HTMLEditRequestImage(id, w, h, graphic, container); };
  HTMLEdit->OnImageMouseEnter = [this](TObjectPtr, htmledit::TpsImage* image, vcl::TCursor& cursor) {
    HTMLEditImageMouseEnter(image, cursor);
  };
  HTMLEdit->OnImageMouseLeave = [this](TObjectPtr) { ShowStatus(2, ""); };
  HTMLEdit->OnImageClicked = [](TObjectPtr, htmledit::TpsImage*, vcl::TMouseButton, const vcl::TPoint&,
                                bool& select) { select = true; };
  HTMLEdit->OnImageDoubleClicked = [this](TObjectPtr, htmledit::TpsImage* image, const vcl::TPoint&) {
    HTMLEditImageDoubleClicked(image);
  };
  HTMLEdit->OnImageSelected = [this](TObjectPtr, htmledit::TpsImage* image, bool& resizable, bool& movable) {
    HTMLEditImageSelected(image, resizable, movable);
  };
  HTMLEdit->OnImageUnselected = [this](TObjectPtr) { HTMLEditImageUnselected(); };
  HTMLEdit->OnImageStartDragging = [this](TObjectPtr, htmledit::TpsImage* image,
                                          htmldoc::TpsAllowedDragAlignments& alignments) {
    HTMLEditImageStartDragging(image, alignments);
  };
  HTMLEdit->OnImageConfirmResize = [this](TObjectPtr, htmledit::TpsImage*, Integer, Integer, bool& confirm) {
    HTMLEditImageConfirmResize(confirm);
  };
  HTMLEdit->OnImageResizingSizeChanged = [this](TObjectPtr, htmledit::TpsImage*, Integer width, Integer height) {
    ShowStatus(2, "(" + rtl::IntToStr(width) + "," + rtl::IntToStr(height) + ")");
    StatusBar->Repaint();
  };
  HTMLEdit->OnPasteFromClipboard = [this](TObjectPtr, bool& handled) { HtmlEditPasteFromClipboard(handled); };
  HTMLEdit->OnSaveTag = [](TObjectPtr, htmldoc::TpsMarkupTag&, bool& remove) { remove = false; };
  HTMLEdit->OnDocumentLoadingError = [this](TObjectPtr, const AnsiString& className, const AnsiString& message) {
    HtmlEditDocumentLoadingError(this, className, message);
  };
  HTMLEdit->OnLoadExternalStylesheet = [this](TObjectPtr, const htmldoc::TpsMarkupTag& link) {
    // A page's external sheet is looked for among the shipped files.
    const AnsiString file = ProgramDataFolder() + link.GetAttribute("href");
    if (rtl::FileExists(file)) HTMLEdit->LoadStyleSheetFromFile(file, false);
  };
  HTMLEdit->OnDocumentChanged = [this](TObjectPtr) {
    UpdateLinkControls();
    UpdateBlockControls();
    UpdateFontControls();
    ShowTableCell();
    if (fillingViews_ == 0) SetModified(true);
  };
}

void Tfrm_Main::HTMLEditSupportedCustomTag(const htmldoc::TpsMarkupTag&, bool& supported) { supported = true; }

void Tfrm_Main::HTMLEditParseCustomTag(htmldoc::TpsMarkupTag& tag, AnsiString& replace) {
  if (!webExt_->IsDeviceTag("<" + tag.GetName() + "/>")) return;
  AnsiString text = "<" + tag.GetName();
  for (Integer i = 0; i < tag.GetAttributeCount(); ++i)
    text += " " + tag.GetAttributeName(i) + "=\"" + tag.GetAttributeValue(i) + "\"";
  text += ">";
  replace = TagImageHtml(text);
}

void Tfrm_Main::HTMLEditRecreateCustomTag(htmldoc::TpsMarkupTag& tag, const AnsiString& replacedBy) {
  const AnsiString tagText = tag.GetText();
  if (!webExt_->IsDeviceTag(tagText)) return;
  const AnsiString picture = TagImageHtml(tagText);
  const rtl::TReplaceFlags flags{rtl::TReplaceFlag::rfReplaceAll, rtl::TReplaceFlag::rfIgnoreCase};
  AnsiString text = rtl::StringReplace(replacedBy, picture + "&nbsp;", tagText, flags);
  text = rtl::StringReplace(text, "&nbsp;" + picture, tagText, flags);
  text = rtl::StringReplace(text, picture, tagText, flags);
  if (rtl::Trim(text).empty()) return;
  tag.SetContent(text);
  tag.SetTagType(htmldoc::ttEmpty);
  tag.OnGetText = [](htmldoc::TObjectPtr sender, AnsiString& out) {
    out = static_cast<htmldoc::TpsMarkupTag*>(sender)->GetContent();
  };
}

void Tfrm_Main::HTMLEditRequestImage(Integer imageID, Integer, Integer, vcl::TGraphic*& graphic,
                                     vcl::TPicture*& container) {
  const AnsiString source = HTMLEdit->GetImageSrc(imageID);
  const size_t prefix = source.find(kTagImagePrefix);
  if (prefix == AnsiString::npos) {
    const AnsiString file = prjManager_->GetProjectDir() + source;
    if (rtl::FileExists(file)) {
      auto picture = std::make_unique<vcl::TPicture>();
      picture->LoadFromFile(file);
      graphic = picture->Graphic();
      container = picture.release();
      return;
    }
    graphic = nullptr;
    container = nullptr;
    const AnsiString placeholder = ProgramDataFolder() + "Placeholder.bmp";
    if (rtl::FileExists(placeholder)) {
      auto picture = std::make_unique<vcl::TPicture>();
      picture->LoadFromFile(placeholder);
      graphic = picture->Graphic();
      container = picture.release();
      return;
    }
    // Without the shipped picture a grey box with a cross stands in, drawn
    // here, so a missing file never stops the page from painting.
    auto box = std::make_unique<vcl::TBitmap>();
    box->SetSize(32, 32);
    vcl::TCanvas* c = box->Canvas();
    c->Brush()->SetColor(0xE0E0E0);
    c->Pen()->SetColor(0x808080);
    c->Pen()->SetWidth(1);
    c->Rectangle(0, 0, 32, 32);
    c->MoveTo(4, 4);
    c->LineTo(28, 28);
    c->MoveTo(27, 4);
    c->LineTo(3, 28);
    graphic = box.release();
    return;
  }
  auto bitmap = std::make_unique<vcl::TBitmap>();
  bitmap->SetTransparent(true);
  bitmap->SetTransparentColor(kTagPictureGround);
  vcl::TCanvas* canvas = bitmap->Canvas();
  canvas->Font()->SetSize(10);
  canvas->Font()->SetStyle({});
  const AnsiString text = UnescapeTagText(source.substr(prefix + sizeof(kTagImagePrefix) - 1));
  const vcl::TSize size = TagPictureSize(*canvas, text);
  bitmap->SetSize(size.cx, size.cy);
  DrawTagPicture(*bitmap->Canvas(), text);
  graphic = bitmap.release();
}

bool Tfrm_Main::ImageHasDeviceTag(htmledit::TpsImage* image) const {
  return image && image->CustomTag && webExt_->IsDeviceTag("<" + image->CustomTag->GetName() + ">");
}

bool Tfrm_Main::SelectedImageIsDeviceTag() { return ImageHasDeviceTag(HTMLEdit->SelectedImage()); }

void Tfrm_Main::HTMLEditImageMouseEnter(htmledit::TpsImage* image, vcl::TCursor& cursor) {
  if (image && image->CustomTag && webExt_->IsDeviceTag(image->CustomTag->GetText())) return;
  ShowStatus(2, image ? image->GetSrc() : AnsiString());
  cursor = vcl::crArrow;
}

void Tfrm_Main::HTMLEditImageDoubleClicked(htmledit::TpsImage* image) {
  if (ImageHasDeviceTag(image)) vcl::PostMessage(Handle(), WM_EDITDEVICETAG, 0, 0);
}

void Tfrm_Main::HTMLEditImageSelected(htmledit::TpsImage* image, bool& resizable, bool& movable) {
  EdtZelExt->SetEnabled(ImageHasDeviceTag(image));
  const bool tagPicture = image && image->GetSrc().find(kTagImagePrefix) != AnsiString::npos;
  if (tagPicture) {
    resizable = false;
    movable = false;
    HTMLEdit->SetImagePopupMenu(EditorMenu);
    return;
  }
  resizable = true;
  movable = true;
  const bool linked = image && image->LinkTag;
  mi_CreateImageLink->SetEnabled(!linked);
  mi_DeleteImageLink->SetEnabled(linked);
  HTMLEdit->SetImagePopupMenu(pm_Image);
}

void Tfrm_Main::HTMLEditImageUnselected() {
  ShowStatus(2, "");
  EdtZelExt->SetEnabled(false);
  HTMLEdit->SetImagePopupMenu(pm_Image);
}

void Tfrm_Main::HTMLEditImageStartDragging(htmledit::TpsImage* image, htmldoc::TpsAllowedDragAlignments& alignments) {
  if (image && image->CustomTag)
    alignments = {};
  else
    alignments = {htmldoc::adaLeft, htmldoc::adaCenter, htmldoc::adaRight};
}

void Tfrm_Main::HTMLEditImageConfirmResize(bool& confirm) {
  // No resizing while a custom tag surrounds the caret.
  htmledit::TpsBlock* block = HTMLEdit->IsCursorInBlock() ? HTMLEdit->GetCurrentBlock() : nullptr;
  confirm = !(block && block->GetCustomTags() && block->GetCustomTags()->HasCustomTag());
}

void Tfrm_Main::EditDeviceTagMessage() {
  htmledit::TpsImage* image = HTMLEdit->SelectedImage();
  if (!ImageHasDeviceTag(image)) return;
  rtl::TStringList lines;
  htmldoc::TpsMarkupTag& tag = *image->CustomTag;
  for (Integer i = 0; i < tag.GetAttributeCount(); ++i)
    lines.Add(tag.GetAttributeName(i) + "=" + tag.GetAttributeValue(i));
  AnsiString newText;
  if (!webExt_->EditTag(lines, newText)) return;
  tag.SetText(newText);
  image->SetSrc(BuildTagImageSource(newText));
}

void Tfrm_Main::InsertDeviceTag(core::TvormekCmdItem* tagType) {
  if (!tagType || EdtZelExt->Enabled()) return;
  AnsiString text;
  if (tagType->InsertTag(*webExt_->Parser(), text)) HTMLEdit->InsertHTML(text, false);
}

void Tfrm_Main::InsertZelBtnClick(vcl::TObject*) {
  const Integer index = ZelExtCB->ItemIndex();
  if (index < 0) return;
  InsertDeviceTag(static_cast<core::TvormekCmdItem*>(ZelExtCB->Items()->Objects(index)));
}

void Tfrm_Main::CustomHTMLInsert(vcl::TObject* sender) {
  auto* palette = dynamic_cast<TCategoryButtons*>(sender);
  const TCategoryButtons::TButtonItem* item = palette ? palette->SelectedItem() : nullptr;
  if (!item || !item->Data) return;
  AnsiString text;
  if (static_cast<core::TzelWebCmd*>(item->Data)->InsertTag(*webExt_->Parser(), text)) HTMLEdit->InsertHTML(text, false);
}

void Tfrm_Main::EdtZelExtExecute(vcl::TObject*) {
  htmledit::TpsImage* image = HTMLEdit->SelectedImage();
  if (image && ImageHasDeviceTag(image)) HTMLEditImageDoubleClicked(image);
}

void Tfrm_Main::ac_CopyExecute(vcl::TObject*) {
  htmledit::TpsImage* image = HTMLEdit->SelectedImage();
  if (image && image->CustomTag && webExt_->IsDeviceTag(image->CustomTag->GetText())) {
    vcl::Clipboard()->SetAsText(webExt_->Parser()->EditorToPage(image->CustomTag->GetText()));
    return;
  }
  HTMLEdit->CopyToClipboard();
}

void Tfrm_Main::HtmlEditPasteFromClipboard(bool& handled) {
  handled = false;
  const AnsiString text = webExt_->Parser()->PageToEditor(vcl::Clipboard()->AsText());
  if (!webExt_->IsDeviceTag(text)) return;
  HTMLEdit->InsertHTML(text, false);
  handled = true;
}

}  // namespace ide
