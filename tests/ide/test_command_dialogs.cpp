// The window's small dialogs and windows driven by synthetic input: their
// captions, design values and buttons, the picture dialog's size boxes
// keeping a picture's proportions, the short-name rule, the print
// preview's zoom box, the about box; grabs of each into the build folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTest>
#include <QTimer>

#include "MainWindowRig.h"
#include "htmledit/control/psHtmlEditPrintPreview.h"
#include "ide/AboutBox.h"
#include "ide/CommandForms.h"
#include "ide/CreateLinkDlg.h"
#include "ide/CreateLinkOrAnchorDlg.h"
#include "ide/DocumentGraphicsDlg.h"
#include "ide/ImageAltTextDlg.h"
#include "ide/InsertAnchorDlg.h"
#include "ide/InsertPictureDlg.h"
#include "ide/InsertTableDlg.h"
#include "ide/PrintPreviewDlg.h"
#include "vcl/ListBox.h"
#include "vcl/Spin.h"
#include "vcl/StdCtrls.h"

using namespace idetest;

namespace {

// Runs act on the form of class T once it shows in a modal loop; the form
// is then expected to be closed by act.
template <class T>
void WhenShown(std::function<void(T*)> act) {
  auto* timer = new QTimer();
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    for (Integer i = vcl::Screen->FormCount() - 1; i >= 0; --i)
      if (auto* f = dynamic_cast<T*>(vcl::Screen->Forms(i)); f && f->Visible()) {
        timer->stop();
        timer->deleteLater();
        act(f);
        return;
      }
  });
  timer->start();
}

void ClickButton(vcl::TButton* b) { QTest::mouseClick(b->Widget(), Qt::LeftButton); }

void SaveGrab(vcl::TWinControl* form, const char* png) {
  Pump();
  form->Widget()->grab().toImage().save(QString(TOLVANE_BUILD_DIR "/") + png);
}

// Types into a number box as a user does: everything selected, then the
// digits.
void TypeNumber(vcl::TSpinEdit* box, const std::string& digits) {
  box->SetFocus();
  Pump();
  QTest::keyClick(box->Widget(), Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(box->Widget(), QString::fromStdString(digits));
  Pump();
}

}  // namespace

TEST(CommandDialogs, MadeOnceInOrderWithTheirCaptionsAndDesignValues) {
  ide::CreateCommandForms();
  vcl::TForm* const made[] = {ide::frmInsertPicture,      ide::frmCreateLink,     ide::FrmHandlerConfig,
                              ide::frm_ImageZoomer,       ide::frm_DocumentGraphics, ide::frm_CreateLinkOrAnchor,
                              ide::frm_ImageAltText,      ide::InsertAnchorFrm,   ide::frm_PrintPreview,
                              ide::frmInsertTable};
  // In the order they were made among the application's components.
  Integer last = -1;
  for (vcl::TForm* f : made) {
    ASSERT_NE(f, nullptr);
    Integer at = -1;
    for (Integer i = 0; i < vcl::Application->ComponentCount(); ++i)
      if (vcl::Application->Components(i) == f) at = i;
    EXPECT_GT(at, last) << f->Name();
    last = at;
    EXPECT_FALSE(f->Visible()) << f->Name();
  }
  // A second call makes nothing new.
  vcl::TForm* const picture = ide::frmInsertPicture;
  ide::CreateCommandForms();
  EXPECT_EQ(ide::frmInsertPicture, picture);

  const std::pair<vcl::TForm*, const char*> captions[] = {
      {ide::frmInsertPicture, "Insert Picture"},
      {ide::frmInsertTable, "Insert Table"},
      {ide::InsertAnchorFrm, "Insert Anchor"},
      {ide::frmCreateLink, "Create Link"},
      {ide::frm_CreateLinkOrAnchor, "New Link"},
      {ide::frm_ImageAltText, "Image's Alternative Text"},
      {ide::frm_DocumentGraphics, "Graphics used in the current document"},
      {ide::frm_PrintPreview, ""},
  };
  for (const auto& [form, caption] : captions) {
    EXPECT_EQ(form->Caption(), caption) << form->Name();
    // "Ok" answers 1 and is the default; "Cancel" answers 2.
    if (auto* ok = dynamic_cast<vcl::TButton*>(form->FindComponent("btnOk"))) {
      EXPECT_EQ(ok->Caption(), "Ok");
      EXPECT_EQ(ok->ModalResult(), vcl::mrOk);
      auto* cancel = dynamic_cast<vcl::TButton*>(form->FindComponent("btnCancel"));
      ASSERT_NE(cancel, nullptr) << form->Name();
      EXPECT_EQ(cancel->Caption(), "Cancel");
      EXPECT_EQ(cancel->ModalResult(), vcl::mrCancel);
    }
  }

  ide::TfrmInsertTable* t = ide::frmInsertTable;
  EXPECT_EQ(t->edColumns->Value(), 3);
  EXPECT_EQ(t->edRows->Value(), 2);
  EXPECT_EQ(t->edWidth->Value(), 300);
  EXPECT_EQ(t->edCellSpacing->Value(), 1);
  EXPECT_EQ(t->edCellPadding->Value(), 5);
  for (vcl::TComboBox* c : {t->cbTableClass, t->cbTableStyle, t->cbCellClass, t->cbCellStyle})
    EXPECT_EQ(c->Text(), "None") << c->Name();
  EXPECT_EQ(t->cbTableStyle->Items()->Text(), "None\r\nborder-collapse:collapse;border-width:1px\r\n");
  EXPECT_EQ(t->cbCellStyle->Items()->Text(), "None\r\nbackground-color:#81cefc\r\nbackground-color:#81fcce\r\n");
  EXPECT_EQ(t->cbTableClass->Items()->Text(), "None\r\n");
  EXPECT_EQ(ide::frmInsertPicture->cbAlignment->Items()->Text(), "Left\r\nRight\r\nMiddle\r\n");
  EXPECT_EQ(ide::frmInsertPicture->cbAlignment->ItemIndex(), 0);
  EXPECT_TRUE(ide::frmInsertPicture->cbAspectRatio->Checked());
  EXPECT_EQ(ide::frmCreateLink->LinkURL(), "http://");
  EXPECT_EQ(ide::frmCreateLink->LinkName(), "Name");
  EXPECT_EQ(ide::frm_CreateLinkOrAnchor->URL, "http://");
  EXPECT_EQ(ide::frm_PrintPreview->cb_Zoom->Text(), "100%");
}

TEST(CommandDialogs, EachDialogShownAndGrabbed) {
  ide::CreateCommandForms();
  const std::pair<vcl::TForm*, const char*> grabs[] = {
      {ide::frmInsertPicture, "ide_dialog_insert_picture.png"},
      {ide::frmInsertTable, "ide_dialog_insert_table.png"},
      {ide::InsertAnchorFrm, "ide_dialog_insert_anchor.png"},
      {ide::frmCreateLink, "ide_dialog_create_link.png"},
      {ide::frm_CreateLinkOrAnchor, "ide_dialog_new_link.png"},
      {ide::frm_ImageAltText, "ide_dialog_alt_text.png"},
      {ide::frm_DocumentGraphics, "ide_dialog_graphics.png"},
  };
  for (const auto& [form, png] : grabs) {
    std::string shownName;
    WhenShown<vcl::TForm>([&, form = form, png = png](vcl::TForm* shown) {
      shownName = shown->Name();
      SaveGrab(shown, png);
      ClickButton(dynamic_cast<vcl::TButton*>(
          shown->FindComponent(form == ide::frm_DocumentGraphics ? "btnClose" : "btnCancel")));
    });
    EXPECT_EQ(form->ShowModal(), vcl::mrCancel) << png;
    EXPECT_EQ(shownName, form->Name());
    EXPECT_FALSE(form->Visible());
  }
}

TEST(CommandDialogs, ShortNames) {
  const std::pair<const char*, bool> rows[] = {
      {"picture.png", true},       {"abcdefgh.png", true},   {"abcdefgh.jpeg", true},  // dot at 9, 13 characters
      {"abcdefgh.abcde", true},    {"abcdefgh.abcdef", false},                        // 14 and 15 characters
      {"abcdefghijk.png", false},  {"abcdefghi.gif", false},                          // dots at 12 and 10
      {"noextension", true},       {"longnamewithout", false}, {"a.b.c", true},
  };
  for (const auto& [name, ok] : rows) EXPECT_EQ(ide::IsShortFileName(name), ok) << name;
}

TEST(CommandDialogs, PictureDialogKeepsTheProportionsWhileAspectRatioIsChecked) {
  ide::CreateCommandForms();
  Scratch scratch;
  const std::string file = scratch.Root() + "wide.png";
  QImage image(200, 100, QImage::Format_RGB32);
  image.fill(Qt::darkCyan);
  ASSERT_TRUE(image.save(QString::fromStdString(file)));
  ide::TfrmInsertPicture* d = ide::frmInsertPicture;

  struct Step {
    bool aspect;
    const char* box;  // "w" or "h"
    const char* typed;
    Integer width, height;
  };
  const Step steps[] = {
      {true, "w", "101", 101, 50},  // 50.5 rounds to even
      {true, "w", "103", 103, 52},  // 51.5 rounds to even
      {true, "h", "30", 60, 30},
      {false, "w", "77", 77, 30},   // unchecked, the other box stays
  };
  std::vector<std::pair<Integer, Integer>> seen;
  Integer orgW = 0, orgH = 0;
  AnsiString chosen, alt;
  FileDialogScript files({file});
  WhenShown<ide::TfrmInsertPicture>([&](ide::TfrmInsertPicture* f) {
    ClickButton(f->Button1);
    Pump();
    orgW = f->OriginalWidth();
    orgH = f->OriginalHeight();
    seen.push_back({f->edtWidth->Value(), f->edtHeight->Value()});
    for (const Step& s : steps) {
      f->cbAspectRatio->SetChecked(s.aspect);
      TypeNumber(s.box[0] == 'w' ? f->edtWidth : f->edtHeight, s.typed);
      seen.push_back({f->edtWidth->Value(), f->edtHeight->Value()});
    }
    TypeText(f->edtAlt, "a wide picture");
    f->cbAlignment->SetFocus();
    Pump();
    QTest::keyClick(f->cbAlignment->Widget(), Qt::Key_Down);
    Pump();
    ClickButton(f->btnOk);
  });
  ASSERT_EQ(d->ShowModal(), vcl::mrOk);
  EXPECT_EQ(orgW, 200);
  EXPECT_EQ(orgH, 100);
  ASSERT_EQ(seen.size(), 5u);
  EXPECT_EQ(seen[0], (std::pair<Integer, Integer>{200, 100}));
  for (size_t i = 0; i < std::size(steps); ++i)
    EXPECT_EQ(seen[i + 1], (std::pair<Integer, Integer>{steps[i].width, steps[i].height})) << steps[i].typed;
  EXPECT_EQ(d->PictureFile(), file);
  EXPECT_EQ(d->PictureWidth(), 77);
  EXPECT_EQ(d->PictureHeight(), 30);
  EXPECT_EQ(d->AltText(), "a wide picture");
  EXPECT_EQ(d->Alignment(), 1);
  EXPECT_EQ(d->edtSource->Text(), file);

  // The next showing starts empty: no picture, no sizes, no text; a file
  // that is no picture raises the graphics error and changes nothing.
  const std::string bad = scratch.Write("bad.png", "not a picture");
  FileDialogScript again({bad});
  bool raised = false;
  WhenShown<ide::TfrmInsertPicture>([&](ide::TfrmInsertPicture* f) {
    EXPECT_EQ(f->edtSource->Text(), "");
    EXPECT_EQ(f->edtAlt->Text(), "");
    EXPECT_EQ(f->edtWidth->Value(), 0);
    EXPECT_EQ(f->PictureFile(), "");
    try {
      f->Button1Click(f->Button1);
    } catch (const rtl::Exception&) {
      raised = true;
    }
    EXPECT_EQ(f->edtSource->Text(), "");
    EXPECT_EQ(f->OriginalWidth(), 0);
    ClickButton(f->btnCancel);
  });
  EXPECT_EQ(d->ShowModal(), vcl::mrCancel);
  EXPECT_TRUE(raised);
}

TEST(CommandDialogs, NewLinkDialogCopiesItsFieldsBothWays) {
  ide::CreateCommandForms();
  ide::Tfrm_CreateLinkOrAnchor* d = ide::frm_CreateLinkOrAnchor;
  d->URL = "http://a.example/";
  d->LinkName = "n";
  d->Target = "";
  // Cancel still copies the edits back into the fields.
  WhenShown<ide::Tfrm_CreateLinkOrAnchor>([&](ide::Tfrm_CreateLinkOrAnchor* f) {
    EXPECT_EQ(f->ed_URL->Text(), "http://a.example/");
    EXPECT_EQ(f->ed_Name->Text(), "n");
    EXPECT_EQ(f->ActiveControl(), f->ed_URL);
    TypeText(f->ed_Target, "_blank");
    ClickButton(f->btnCancel);
  });
  EXPECT_EQ(d->ShowModal(), vcl::mrCancel);
  EXPECT_EQ(d->Target, "_blank");
  EXPECT_EQ(d->URL, "http://a.example/");
}

TEST(CommandDialogs, PrintPreviewZoomChoicesSetTheFactor) {
  ide::CreateCommandForms();
  ide::Tfrm_PrintPreview* p = ide::frm_PrintPreview;
  ASSERT_EQ(std::size(ide::kZoomChoices), 8u);
  p->Show();
  Pump();
  // Down through the list from "100%" by keys, then back to the top.
  const std::pair<int, double> keys[] = {{Qt::Key_Down, 0.75}, {Qt::Key_Down, 0.5}, {Qt::Key_Down, 0.25},
                                          {Qt::Key_Down, 0.1},  {Qt::Key_Home, 5.0}, {Qt::Key_Down, 2.0},
                                          {Qt::Key_End, 0.1}};
  for (const auto& [key, factor] : keys) {
    PressKey(p->cb_Zoom, key);
    EXPECT_DOUBLE_EQ(p->he_PrintPreview->GetZoomFactor(), factor) << p->cb_Zoom->Text();
  }
  EXPECT_EQ(p->cb_Zoom->Text(), "10%");
  p->cb_Zoom->SetItemIndex(3);
  p->cb_ZoomChange(p->cb_Zoom);
  EXPECT_DOUBLE_EQ(p->he_PrintPreview->GetZoomFactor(), 1.0);
  p->Hide();
  Pump();
}

TEST(CommandDialogs, AboutBoxShowsTheTitleAndTwoVersionNumbers) {
  EXPECT_EQ(ide::AboutVersionText(), "Version " + std::to_string(rtl::ProgramFileVersion().Major) + "." +
                                         std::to_string(rtl::ProgramFileVersion().Minor));
  const AnsiString oldTitle = vcl::Application->Title();
  vcl::Application->SetTitle("Tolvane");
  AnsiString appName, version, caption;
  WhenShown<ide::Tftlvabout>([&](ide::Tftlvabout* f) {
    appName = f->AppName->Caption();
    version = f->Version->Caption();
    caption = f->Caption();
    SaveGrab(f, "ide_about_box.png");
    ClickButton(f->OKButton);
  });
  const Integer before = vcl::Screen->FormCount();
  ide::ShowAboutBox();
  Pump();
  vcl::Application->SetTitle(oldTitle);
  EXPECT_EQ(caption, "About");
  EXPECT_EQ(appName, "Tolvane");
  EXPECT_EQ(version, ide::AboutVersionText());
  // Freed after it closed.
  EXPECT_EQ(vcl::Screen->FormCount(), before);
}
