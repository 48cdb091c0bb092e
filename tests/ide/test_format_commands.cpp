// Font Color, Background Color, the font dialog and Find, through the
// ribbon's actions and the dialogs answered as a user does: the colours
// written into the page, the font applied to the selection, the find
// dialog's options per view, a miss that beeps and says so.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialog>
#include <QFontComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "MainWindowRig.h"
#include "htmledit/control/psBlockContext.h"
#include "memo/LumMemo.h"
#include "vcl/ColorDialog.h"
#include "vcl/FindDialog.h"
#include "vcl/FontDialog.h"
#include "vcl/WinApi.h"

using namespace idetest;

namespace {

// Answers the next modal Qt dialog with answer (which accepts or rejects
// it) once it is up; Done tells whether it came.
class ModalAnswer {
 public:
  explicit ModalAnswer(std::function<void(QDialog*)> answer) : answer_(std::move(answer)) {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (!dialog || done_) return;
      done_ = true;
      timer_.stop();
      answer_(dialog);
    });
    timer_.start();
  }
  bool Done() const { return done_; }

 private:
  std::function<void(QDialog*)> answer_;
  QTimer timer_;
  bool done_ = false;
};

// The colour dialog answered with a colour, or cancelled (invalid colour).
std::function<void(QDialog*)> PickColor(QColor color) {
  return [color](QDialog* d) {
    auto* chooser = qobject_cast<QColorDialog*>(d);
    ASSERT_NE(chooser, nullptr);
    if (!color.isValid()) {
      chooser->reject();
      return;
    }
    chooser->setCurrentColor(color);
    chooser->accept();
  };
}

void FormatShowSheet(ide::Tfrm_Main* form, vcl::TTabSheet* sheet) {
  const vcl::TRect r = form->PageControl->TabRect(sheet->TabIndex());
  Click(form->PageControl, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  ASSERT_EQ(form->PageControl->ActivePage(), sheet);
  form->psHtmlEditActionList1->UpdateActions();
  Pump();
}

std::string FormatBody(ide::Tfrm_Main* form) { return form->HTMLEdit->SaveToString(false, false); }

// A page with one paragraph, the caret before it and "words" selected with
// the keyboard when asked.
void OpenWordsPage(Scratch& scratch, ide::Tfrm_Main* form, bool selectWord) {
  const std::string page = scratch.Write("fmt.htm", "<html><body><p>some words here</p></body></html>");
  form->Project()->SetFileName(scratch.Project() + "fmt.PJT");
  form->OpenPage(page);
  form->HTMLEdit->SetFocus();
  Pump();
  PressKey(form->HTMLEdit, Qt::Key_Home);
  for (int i = 0; i < 5; ++i) PressKey(form->HTMLEdit, Qt::Key_Right);
  if (selectWord)
    for (int i = 0; i < 5; ++i) PressKey(form->HTMLEdit, Qt::Key_Right, Qt::ShiftModifier);
  form->psHtmlEditActionList1->UpdateActions();
}

}  // namespace

TEST(FormatCommands, ColorsOnASelectionAndAtTheCaret) {
  struct Row {
    const char* name;
    bool background;
    bool selection;
    QColor color;            // invalid: the dialog is cancelled
    const char* expected;    // in the body afterwards ("" nothing new)
  };
  const Row rows[] = {
      {"background on a selection", true, true, QColor(255, 0, 0),
       "<span style=\"background-color: #ff0000;\">words</span>"},
      {"background lower-case hex", true, true, QColor(0xAB, 0x0C, 0xEF),
       "<span style=\"background-color: #ab0cef;\">words</span>"},
      {"font colour on a selection", false, true, QColor(255, 0, 0), ">words</span>"},
      {"background cancelled", true, true, QColor(), ""},
      {"font colour cancelled", false, true, QColor(), ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Scratch scratch;
    WindowGuard window;
    ide::Tfrm_Main* form = window.form;
    OpenWordsPage(scratch, form, row.selection);
    vcl::TAction* action = row.background ? form->BkgColorAct : form->FontColorAct;
    ASSERT_TRUE(action->Enabled());
    const std::string before = FormatBody(form);
    {
      ModalAnswer answer(PickColor(row.color));
      action->Execute();
      EXPECT_TRUE(answer.Done());
    }
    const std::string after = FormatBody(form);
    if (!row.expected[0]) {
      EXPECT_EQ(after, before);
      continue;
    }
    EXPECT_NE(after.find(row.expected), std::string::npos) << after;
    if (!row.background) {
      // The editor's own colour span: the colour, no background.
      const std::string span = "<span style=\"" + htmledit::TpsHTMLEditBase::ColorDeclarations(
                                                      vcl::RGB(255, 0, 0), htmldoc::clNone) + "\">words";
      EXPECT_NE(after.find(span), std::string::npos) << after;
      EXPECT_EQ(after.find("background"), std::string::npos) << after;
    }
  }
}

TEST(FormatCommands, BackgroundReplacesTheSelectionsSpansAndWithoutOneColoursTheBlock) {
  Scratch scratch;
  WindowGuard window;
  ide::Tfrm_Main* form = window.form;
  const std::string page =
      scratch.Write("bg.htm", "<html><body><p>a <b>bold</b> word</p><p>second</p></body></html>");
  form->Project()->SetFileName(scratch.Project() + "bg.PJT");
  form->OpenPage(page);
  form->HTMLEdit->SetFocus();
  Pump();
  PressKey(form->HTMLEdit, Qt::Key_Home);
  PressKey(form->HTMLEdit, Qt::Key_End, Qt::ShiftModifier);
  {
    ModalAnswer answer(PickColor(QColor(0, 128, 0)));
    form->BkgColorAct->Execute();
  }
  std::string body = FormatBody(form);
  EXPECT_EQ(body.find("<b>"), std::string::npos) << "the selection's inline tags go: " << body;
  EXPECT_NE(body.find("<span style=\"background-color: #008000;\">a bold word</span>"), std::string::npos) << body;

  // No selection: the caret's block takes the colour.
  PressKey(form->HTMLEdit, Qt::Key_Down);
  PressKey(form->HTMLEdit, Qt::Key_Home);
  form->psHtmlEditActionList1->UpdateActions();
  ASSERT_FALSE(form->HTMLEdit->HasTextSelection());
  {
    ModalAnswer answer(PickColor(QColor(0, 0, 255)));
    form->BkgColorAct->Execute();
  }
  body = FormatBody(form);
  const size_t second = body.find("second");
  ASSERT_NE(second, std::string::npos);
  const std::string secondBlock = body.substr(body.rfind("<p", second), second - body.rfind("<p", second));
  EXPECT_NE(secondBlock.find("background-color"), std::string::npos) << body;
  EXPECT_EQ(body.find("<span style=\"background-color: #0000ff"), std::string::npos) << body;

  // Off "Visual" the colour commands are off.
  FormatShowSheet(form, form->ts_HTML);
  EXPECT_FALSE(form->BkgColorAct->Enabled());
  EXPECT_FALSE(form->FontColorAct->Enabled());
}

TEST(FormatCommands, TheFontDialogPresetsAndAppliesTheFont) {
  Scratch scratch;
  WindowGuard window;
  ide::Tfrm_Main* form = window.form;
  OpenWordsPage(scratch, form, true);
  std::string presetFamily;
  bool boldPreset = true;
  {
    ModalAnswer answer([&](QDialog* d) {
      boldPreset = d->findChild<QCheckBox*>("Bold")->isChecked();
      auto* family = d->findChild<QFontComboBox*>("FontName");
      family->setCurrentFont(QFont("DejaVu Sans"));
      presetFamily = family->currentFont().family().toStdString();
      d->findChild<QComboBox*>("FontSize")->setCurrentText("14");
      QTest::mouseClick(d->findChild<QCheckBox*>("Bold"), Qt::LeftButton);
      QTest::mouseClick(d->findChild<QCheckBox*>("Italic"), Qt::LeftButton);
      auto* color = d->findChild<QComboBox*>("FontColor");
      color->setCurrentIndex(color->findText("Red"));
      d->accept();
    });
    form->ChooseFont();
    ASSERT_TRUE(answer.Done());
  }
  EXPECT_FALSE(boldPreset) << "no bold around the caret";
  const vcl::TFont& font = *form->FontDialog->Font();
  EXPECT_EQ(font.Name(), presetFamily);
  EXPECT_EQ(font.Size(), 14);
  EXPECT_TRUE(font.Style().Contains(vcl::fsBold));
  EXPECT_TRUE(font.Style().Contains(vcl::fsItalic));
  EXPECT_FALSE(font.Style().Contains(vcl::fsUnderline));
  EXPECT_EQ(font.Color(), vcl::RGB(255, 0, 0));
  const std::string span = "<span style=\"" +
                           htmledit::TpsHTMLEditBase::FontDeclarations(presetFamily, 14, vcl::RGB(255, 0, 0),
                                                                       {vcl::fsBold, vcl::fsItalic}, "") +
                           "\">words</span>";
  EXPECT_NE(FormatBody(form).find(span), std::string::npos) << FormatBody(form);

  // Inside bold text: the dialog comes up with Bold ticked, and a Cancel
  // changes neither the page nor the dialog's font.
  form->OpenPage(scratch.Write("bold.htm", "<html><body><p><b>heavy</b> text</p></body></html>"));
  form->HTMLEdit->SetFocus();
  Pump();
  PressKey(form->HTMLEdit, Qt::Key_Home);
  PressKey(form->HTMLEdit, Qt::Key_Right);
  PressKey(form->HTMLEdit, Qt::Key_Right);
  const std::string before = FormatBody(form);
  {
    ModalAnswer answer([&](QDialog* d) {
      boldPreset = d->findChild<QCheckBox*>("Bold")->isChecked();
      d->findChild<QComboBox*>("FontSize")->setCurrentText("30");
      d->reject();
    });
    form->ChooseFont();
    ASSERT_TRUE(answer.Done());
  }
  EXPECT_TRUE(boldPreset);
  EXPECT_EQ(FormatBody(form), before);
  EXPECT_EQ(form->FontDialog->Font()->Size(), 14);
}

TEST(FormatCommands, FindInEachViewAndAMissThatBeepsAndSaysSo) {
  Scratch scratch;
  WindowGuard window;
  ide::Tfrm_Main* form = window.form;
  const std::string page = scratch.Write(
      "find.htm", "<html><body><p>Alpha beta</p><p>gamma alphabet</p></body></html>");
  form->Project()->SetFileName(scratch.Project() + "find.PJT");
  form->OpenPage(page);
  form->HTMLEdit->SetFocus();
  Pump();
  std::vector<vcl::Cardinal> beeps;
  vcl::SetBeepHandler([&beeps](vcl::Cardinal type) { beeps.push_back(type); });

  // Visual: the dialog is not modal and has no whole-word option.
  form->SearchFind->Execute();
  Pump();
  QWidget* dialog = form->FindDialog1->DialogWidget();
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(dialog->isVisible());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  auto* text = dialog->findChild<QLineEdit*>("FindText");
  auto* findNext = dialog->findChild<QPushButton*>("FindNext");
  auto* matchCase = dialog->findChild<QCheckBox*>("MatchCase");
  EXPECT_FALSE(dialog->findChild<QCheckBox*>("WholeWord")->isVisible());
  EXPECT_TRUE(matchCase->isVisible());
  EXPECT_FALSE(findNext->isEnabled()) << "nothing typed";
  QTest::keyClicks(text, "alpha");

  struct Step {
    const char* name;
    bool matchCase;
    bool found;
    const char* selected;
  };
  const Step steps[] = {
      {"first hit ignoring case", false, true, "Alpha"},
      {"next hit from the caret", false, true, "alpha"},
      {"no third one", false, false, ""},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    if (matchCase->isChecked() != step.matchCase) QTest::mouseClick(matchCase, Qt::LeftButton);
    beeps.clear();
    DialogScript script({"OK"});
    QTest::mouseClick(findNext, Qt::LeftButton);
    Pump();
    if (step.found) {
      AnsiString selected;
      form->HTMLEdit->GetSelectedText(selected);
      EXPECT_EQ(selected, step.selected);
      EXPECT_TRUE(beeps.empty());
      EXPECT_TRUE(script.Asked().empty());
      EXPECT_EQ(form->ActiveControl(), form->HTMLEdit);
    } else {
      EXPECT_EQ(beeps, std::vector<vcl::Cardinal>{vcl::MB_ICONASTERISK});
      EXPECT_EQ(script.Asked(), std::vector<std::string>{"alpha was not found."});
    }
  }
  // Matching case, "alpha" from the top is only the one in "alphabet".
  PressKey(form->HTMLEdit, Qt::Key_Home, Qt::ControlModifier);
  QTest::mouseClick(matchCase, Qt::LeftButton);
  ASSERT_TRUE(matchCase->isChecked());
  QTest::mouseClick(findNext, Qt::LeftButton);
  Pump();
  {
    AnsiString selected;
    form->HTMLEdit->GetSelectedText(selected);
    EXPECT_EQ(selected, "alpha");
    EXPECT_TRUE(form->FindDialog1->Options().Contains(vcl::frMatchCase));
  }

  // HTML: the whole-word option shows, and text the source lacks beeps
  // and says so.
  FormatShowSheet(form, form->ts_HTML);
  form->SearchFind->Execute();
  Pump();
  EXPECT_TRUE(dialog->findChild<QCheckBox*>("WholeWord")->isVisible());
  text->clear();
  QTest::keyClicks(text, "zebra");
  beeps.clear();
  {
    DialogScript script({"OK"});
    QTest::mouseClick(findNext, Qt::LeftButton);
    Pump();
    EXPECT_EQ(beeps, std::vector<vcl::Cardinal>{vcl::MB_ICONASTERISK});
    EXPECT_EQ(script.Asked(), std::vector<std::string>{"zebra was not found."});
  }
  // Found in the source: the code editor has the hit selected and the focus.
  text->clear();
  QTest::keyClicks(text, "gamma");
  QTest::mouseClick(findNext, Qt::LeftButton);
  Pump();
  EXPECT_EQ(form->re_HTML->GetSelText(), "gamma");
  EXPECT_EQ(form->ActiveControl(), form->re_HTML);
  QTest::mouseClick(dialog->findChild<QPushButton*>("Cancel"), Qt::LeftButton);
  EXPECT_FALSE(dialog->isVisible());
  vcl::SetBeepHandler({});
}

TEST(FormatCommands, TheDialogsOnTheirOwn) {
  // The colour dialog shows the colour it is given and answers RGB.
  vcl::TColorDialog colors(nullptr);
  colors.SetColor(vcl::RGB(0x12, 0x34, 0x56));
  QColor shown;
  {
    ModalAnswer answer([&](QDialog* d) {
      shown = qobject_cast<QColorDialog*>(d)->currentColor();
      qobject_cast<QColorDialog*>(d)->setCurrentColor(QColor(0, 0, 255));
      d->accept();
    });
    EXPECT_TRUE(colors.Execute());
  }
  EXPECT_EQ(shown, QColor(0x12, 0x34, 0x56));
  EXPECT_EQ(colors.Color(), vcl::RGB(0, 0, 255));
  {
    ModalAnswer answer([](QDialog* d) { d->reject(); });
    EXPECT_FALSE(colors.Execute());
  }
  EXPECT_EQ(colors.Color(), vcl::RGB(0, 0, 255));

  // The font dialog: a size that is no number keeps the old size; a colour
  // it does not name survives as it is.
  vcl::TFontDialog fonts(nullptr);
  fonts.Font()->SetSize(11);
  fonts.Font()->SetColor(vcl::RGB(1, 2, 3));
  {
    ModalAnswer answer([](QDialog* d) {
      d->findChild<QComboBox*>("FontSize")->setCurrentText("big");
      d->accept();
    });
    EXPECT_TRUE(fonts.Execute());
  }
  EXPECT_EQ(fonts.Font()->Size(), 11);
  EXPECT_EQ(fonts.Font()->Color(), vcl::RGB(1, 2, 3));

  // The find dialog: hidden options, direction, and Find Next reading
  // what the user set.
  vcl::TFindDialog find(nullptr);
  int finds = 0;
  find.OnFind = [&finds](vcl::TObject*) { ++finds; };
  find.SetFindText("abc");
  find.SetOptions({vcl::frHideUpDown, vcl::frHideMatchCase});
  find.Execute();
  Pump();
  QWidget* d = find.DialogWidget();
  ASSERT_TRUE(find.Showing());
  EXPECT_EQ(d->findChild<QLineEdit*>("FindText")->text(), "abc");
  EXPECT_FALSE(d->findChild<QWidget*>("Direction")->isVisible());
  EXPECT_FALSE(d->findChild<QCheckBox*>("MatchCase")->isVisible());
  EXPECT_TRUE(d->findChild<QRadioButton*>("Up")->isChecked()) << "frDown not given";
  find.SetOptions({vcl::frDown});
  EXPECT_TRUE(d->findChild<QWidget*>("Direction")->isVisible());
  QTest::mouseClick(d->findChild<QCheckBox*>("WholeWord"), Qt::LeftButton);
  QTest::mouseClick(d->findChild<QPushButton*>("FindNext"), Qt::LeftButton);
  EXPECT_EQ(finds, 1);
  EXPECT_TRUE(find.Options().Contains(vcl::frWholeWord));
  EXPECT_TRUE(find.Options().Contains(vcl::frDown));
  EXPECT_TRUE(find.Options().Contains(vcl::frFindNext));
  find.CloseDialog();
  EXPECT_FALSE(find.Showing());
}
