// Module tags as pictures: the picture's source name and drawing, the
// palette and combo of visible kinds, editing by double click, copy and
// paste as the tag's page form, no resizing or moving, and tags whose
// values hold characters an HTML writer could change.
#include <gtest/gtest.h>

#include <QImage>

#include "MainWindowRig.h"
#include "core/VormekCmdU.h"
#include "htmledit/control/psObjectSelection.h"
#include "ide/CategoryButtons.h"
#include "vcl/Clipbrd.h"
#include "vcl/Pictures.h"
#include "vcl/StdCtrls.h"
#include "vcl/TestCanvases.h"

using namespace idetest;

namespace {

const std::string kPrefix = ide::kTagImagePrefix;

struct TagDialog {
  explicit TagDialog(std::function<void(core::TcustomTagParams&)> edit) {
    core::SetShowTagDialog([this, edit](const AnsiString& title, core::TcustomTagParams& params) {
      titles.push_back(title);
      edit(params);
      return true;
    });
  }
  ~TagDialog() { core::SetShowTagDialog(nullptr); }
  std::vector<AnsiString> titles;
};

void SetParam(core::TcustomTagParams& params, const char* name, const char* value) {
  for (auto& p : params.Params)
    if (p.Name == name) p.Value = value;
}

}  // namespace

TEST(TagPictures, SourceNamesEscapeEveryByteButLettersDigitsAndDash) {
  const std::pair<std::string, std::string> rows[] = {
      {"PIN 1", "PIN_201"},
      {"PIN_OUTPUT3", "PIN_5FOUTPUT3"},
      {"IF PIN 4 > 4.25", "IF_20PIN_204_20_3E_204_2E25"},
      {"a & \"b\" \xC3\xA9", "a_20_26_20_22b_22_20_C3_A9"},
      {"PLUG-IN x", "PLUG-IN_20x"},
  };
  for (const auto& [text, escaped] : rows) {
    EXPECT_EQ(ide::EscapeTagText(text), kPrefix + escaped) << text;
    EXPECT_EQ(ide::UnescapeTagText(escaped), text);
  }
  // A malformed sequence is copied as it stands.
  EXPECT_EQ(ide::UnescapeTagText("A_Z1_4"), "A_Z1_4");
  EXPECT_EQ(ide::UnescapeTagText("_2"), "_2");
  EXPECT_EQ(ide::TagImageHtmlForSource("S"), "<img src=\"S\" alt=\"A device Command\" />");
}

TEST(TagPictures, ThePin1PictureOnFixedMetricsAndOnARealFont) {
  // Fixed metrics: "AB" is 16 wide, the text 13 high; "PIN 1" 40 wide.
  vcl::TFakeMetricsCanvas fake(72, 26);
  EXPECT_EQ(ide::TagPictureSize(fake, "PIN 1"), (vcl::TSize{72, 26}));
  ide::DrawTagPicture(fake, "PIN 1");
  vcl::TBitmap* bmp = fake.Bitmap();
  const auto at = [&](int x, int y) { return bmp->Canvas()->Pixels(x, y); };
  EXPECT_EQ(at(0, 0), ide::kTagPictureGround);
  EXPECT_EQ(at(0, 13), ide::kTagPictureGround) << "left of the box";
  EXPECT_EQ(at(71, 25), ide::kTagPictureGround);
  // The two-pixel pen straddles the box's edge at 2, as the desktop draws it.
  EXPECT_EQ(at(1, 13), vcl::clBlack);
  EXPECT_EQ(at(2, 13), vcl::clBlack);
  EXPECT_EQ(at(3, 13), vcl::clWhite);
  EXPECT_EQ(at(36, 1), vcl::clBlack);
  EXPECT_EQ(at(36, 2), vcl::clBlack);
  EXPECT_EQ(at(36, 3), vcl::clWhite);
  EXPECT_EQ(at(36, 0), ide::kTagPictureGround);
  int right = 71;
  while (right > 0 && at(right, 13) != vcl::clBlack) --right;
  EXPECT_GE(right, 68) << "the frame ends at width - 2";
  EXPECT_EQ(at(71, 13), ide::kTagPictureGround);
  EXPECT_EQ(at(2, 2), ide::kTagPictureGround) << "rounded corner";
  // Text boxes: first character at x = 16, top at (26 - 13) / 2 = 6.
  EXPECT_EQ(at(15, 8), vcl::clWhite);
  EXPECT_EQ(at(16, 6), vcl::clBlack);
  EXPECT_EQ(at(16, 5), vcl::clWhite);
  EXPECT_EQ(at(16 + 3 * 8, 8), vcl::clWhite) << "the blank";
  EXPECT_EQ(at(16 + 4 * 8, 8), vcl::clBlack) << "the 1";
  EXPECT_EQ(at(16 + 5 * 8, 8), vcl::clWhite);

  // A real font, in the editor: the picture shows where the tag stands.
  Scratch scratch;
  const std::string page = scratch.Write("pin.htm", "<html><body><p><!--(PIN 1)--></p></body></html>");
  WindowGuard window;
  window.form->OpenPage(page);
  const QImage grab = Grab(window.form->HTMLEdit);
  grab.save(QString::fromStdString(std::string(TOLVANE_BUILD_DIR) + "/ide_tag_picture.png"));
  const vcl::TRect box = InkBox(window.form->HTMLEdit, grab);
  ASSERT_GT(box.Right, box.Left);
  const vcl::TRect& insets = window.form->HTMLEdit->NonClientInsets();
  int black = 0;
  for (int y = box.Top; y < box.Bottom; ++y)
    for (int x = box.Left; x < box.Right; ++x)
      if (PixelAt(grab, x + insets.Left, y + insets.Top) == vcl::clBlack) ++black;
  EXPECT_GT(black, 40) << "frame and text";
  EXPECT_LT(box.Right - box.Left, 120);
  EXPECT_GT(box.Right - box.Left, 30);
  const std::string html = window.form->HTMLEdit->SaveToString(false, false);
  EXPECT_NE(html.find(kPrefix + "PIN_201"), std::string::npos) << html;
}

TEST(TagPictures, PaletteAndComboHoldExactlyTheVisibleKinds) {
  WindowGuard window;
  ide::Tfrm_Main* form = window.form;
  core::TwebServerTagList* tags = form->WebExt()->TagList();
  std::vector<std::string> visible;
  for (Integer i = 0; i < tags->Count(); ++i)
    if (tags->Commands(i)->IsVisible()) visible.push_back(tags->Commands(i)->GetName());
  ASSERT_LT(visible.size(), static_cast<size_t>(tags->Count())) << "one kind is hidden";
  ASSERT_EQ(form->InsertHTMLpanel->CategoryCount(), 1);
  EXPECT_EQ(form->InsertHTMLpanel->Category(0).Caption, tags->GetCaption());
  std::vector<std::string> palette, combo;
  for (const auto& item : form->InsertHTMLpanel->Category(0).Items) palette.push_back(item.Caption);
  for (Integer i = 0; i < form->ZelExtCB->Items()->Count(); ++i) combo.push_back((*form->ZelExtCB->Items())[i]);
  EXPECT_EQ(palette, visible);
  EXPECT_EQ(combo, visible);
  EXPECT_EQ(form->ZelExtCB->ItemIndex(), 0);
}

TEST(TagPictures, InsertEditCopyPasteAndNoResizing) {
  Scratch scratch;
  const std::string page = scratch.Write("edit.htm", "<html><body><p><!--(PIN 1)--></p></body></html>");
  WindowGuard window;
  ide::Tfrm_Main* form = window.form;
  form->Project()->SetFileName(scratch.Project() + "edit.PJT");
  form->HTMLEdit->CodeGenerator.BeautifyCode = false;
  form->OpenPage(page);
  const QImage before = Grab(form->HTMLEdit);
  const vcl::TRect box = InkBox(form->HTMLEdit, before);
  ASSERT_GT(box.Right, box.Left);
  const int cx = (box.Left + box.Right) / 2;
  const int cy = (box.Top + box.Bottom) / 2;

  // A click selects the picture; it can be neither resized nor moved.
  Click(form->HTMLEdit, cx, cy);
  htmledit::TpsImage* image = form->HTMLEdit->SelectedImage();
  ASSERT_NE(image, nullptr);
  EXPECT_TRUE(form->EdtZelExt->Enabled());
  bool resizable = true, movable = true;
  form->HTMLEdit->OnImageSelected(form->HTMLEdit, image, resizable, movable);
  EXPECT_FALSE(resizable);
  EXPECT_FALSE(movable);
  htmldoc::TpsAllowedDragAlignments alignments{htmldoc::adaLeft};
  form->HTMLEdit->OnImageStartDragging(form->HTMLEdit, image, alignments);
  EXPECT_TRUE(alignments.Empty());

  // Copy puts the tag's page form on the clipboard.
  vcl::Clipboard()->SetAsText("");
  PressKey(form->HTMLEdit, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(vcl::Clipboard()->AsText(), "<!--(PIN 1)-->");

  // A double click opens the kind's dialog; the edited tag gets a new
  // picture and is saved in its new form.
  {
    TagDialog dialog([](core::TcustomTagParams& params) { SetParam(params, "X", "2"); });
    DoubleClick(form->HTMLEdit, cx, cy);
    Pump();
    ASSERT_EQ(dialog.titles.size(), 1u);
  }
  EXPECT_NE(form->HTMLEdit->SaveToString(false, false).find(kPrefix + "PIN_202"), std::string::npos);
  PressKey(form->HTMLEdit, Qt::Key_S, Qt::ControlModifier);
  EXPECT_NE(Slurp(page).find("<p><!--(PIN 2)--></p>"), std::string::npos) << Slurp(page);

  // Pasting a tag's comment form as text inserts a picture.
  // The caret after the picture: a click beside it.
  Click(form->HTMLEdit, box.Right + 40, cy);
  ASSERT_EQ(form->HTMLEdit->SelectedImage(), nullptr);
  vcl::Clipboard()->SetAsText("<!--(READ IP)-->");
  PressKey(form->HTMLEdit, Qt::Key_V, Qt::ControlModifier);
  EXPECT_NE(form->HTMLEdit->SaveToString(false, false).find(kPrefix + "READ_20IP"), std::string::npos)
      << form->HTMLEdit->SaveToString(false, false);
  PressKey(form->HTMLEdit, Qt::Key_S, Qt::ControlModifier);
  EXPECT_NE(Slurp(page).find("<!--(READ IP)-->"), std::string::npos) << Slurp(page);

  // The palette's button runs the kind's insert dialog and inserts the tag.
  {
    TagDialog dialog([](core::TcustomTagParams& params) { SetParam(params, "X", "7"); });
    const vcl::TRect r = form->InsertHTMLpanel->ItemRect(0, 0);
    Click(form->InsertHTMLpanel, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    EXPECT_EQ(dialog.titles.size(), 1u);
  }
  PressKey(form->HTMLEdit, Qt::Key_S, Qt::ControlModifier);
  EXPECT_NE(Slurp(page).find("<!--(PIN 7)-->"), std::string::npos) << Slurp(page);
}

TEST(TagPictures, ValuesWithAmpersandQuotesAndAccentsComeBackAsTheSameTag) {
  Scratch scratch;
  const std::string tags = "<!--(a & \"b\" caf\xC3\xA9)--> and <!--(PIN 3 l&o/\"h\xC3\xA9\")-->";
  const std::string page = scratch.Write("odd.htm", "<html><body><p>" + tags + "</p></body></html>");
  WindowGuard window;
  ide::Tfrm_Main* form = window.form;
  form->HTMLEdit->CodeGenerator.BeautifyCode = false;
  form->OpenPage(page);
  const std::string shown = form->HTMLEdit->SaveToString(false, false);
  EXPECT_EQ(shown.find("zelbe"), std::string::npos) << "pictures stand for the tags: " << shown;
  form->SavePage();
  EXPECT_NE(Slurp(page).find("<p>" + tags + "</p>"), std::string::npos) << Slurp(page);
}
