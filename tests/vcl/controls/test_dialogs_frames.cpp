// File dialogs, frames docked into panels, the form's key preview and the
// cursor a control asks for.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTest>

#include "TestSupport.h"
#include "vcl/Dialogs.h"
#include "vcl/ExtCtrls.h"
#include "vcl/QtHost.h"
#include "vcl/StdCtrls.h"
#include "vcl/WinApi.h"

using namespace vcl;
using namespace vcltest;

namespace {

// Answers the file dialog open at the time with a file name.
void AnswerFileDialog(const QString& name, const QString& filter = {}) {
  Later([name, filter] {
    auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dlg, nullptr);
    if (!filter.isEmpty()) dlg->selectNameFilter(filter);
    dlg->selectFile(name);
    QMetaObject::invokeMethod(dlg, "accept");
  });
}

TEST(FileDialogs, OpenReturnsTheChosenFileAndFilter) {
  QTemporaryDir dir;
  QFile f(dir.filePath("page.htm"));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.close();
  TOpenDialog open(nullptr);
  open.SetFilter("HTML files (*.htm;*.html)|*.htm;*.html|All files|*.*");
  open.SetInitialDir(dir.path().toStdString());
  open.SetOptions({ofFileMustExist});
  EXPECT_EQ(ConvertFilter(open.Filter()),
            (std::vector<AnsiString>{"HTML files (*.htm;*.html) (*.htm *.html)", "All files (*.*)"}));
  AnswerFileDialog("page.htm");
  ASSERT_TRUE(open.Execute());
  EXPECT_EQ(open.FileName(), dir.filePath("page.htm").toStdString());
  EXPECT_EQ(open.Files()->Count(), 1);
  EXPECT_EQ(open.FilterIndex(), 1);
  Later([] {
    auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dlg, nullptr);
    dlg->reject();
  });
  EXPECT_FALSE(open.Execute());
}

TEST(FileDialogs, SaveAddsTheDefaultExtension) {
  QTemporaryDir dir;
  TSaveDialog save(nullptr);
  save.SetFilter("Project files|*.prj|All files|*.*");
  save.SetFilterIndex(2);
  save.SetDefaultExt("prj");
  save.SetInitialDir(dir.path().toStdString());
  AnswerFileDialog("project", "All files (*.*)");
  ASSERT_TRUE(save.Execute());
  EXPECT_EQ(save.FileName(), dir.filePath("project.prj").toStdString());
  EXPECT_EQ(save.FilterIndex(), 2);
}

// A frame built in its constructor, as the program's frames are.
class SetupFrame : public TFrame {
 public:
  explicit SetupFrame(TComponent* owner) : TFrame(owner) {
    SetAlign(alClient);
    refresh = new TButton(this);
    refresh->SetName("Refresh");
    refresh->SetCaption("Refresh");
    refresh->SetBounds(4, 4, 75, 25);
    refresh->SetParent(this);
    EXPECT_TRUE(refresh->Loading());
  }
  TButton* refresh;
};

TEST(Frames, DockIntoAPanelAndFillIt) {
  TForm* form = MakeForm(300, 200);
  auto* panel = new TPanel(form);
  panel->SetBounds(10, 10, 200, 150);
  panel->SetBevelOuter(bvNone);
  panel->SetParent(form);
  auto* frame = Create<SetupFrame>(form);
  EXPECT_FALSE(frame->refresh->Loading());
  EXPECT_EQ(frame->FindComponent("Refresh"), frame->refresh);
  frame->SetParent(panel);
  EXPECT_EQ(frame->BoundsRect(), Rect(0, 0, 200, 150));
  panel->SetWidth(250);
  EXPECT_EQ(frame->Width(), 250);
  form->Show();
  int clicks = 0;
  frame->refresh->OnClick = [&](TObject*) { ++clicks; };
  QTest::mouseClick(frame->refresh->Widget(), Qt::LeftButton);
  EXPECT_EQ(clicks, 1);
  Free(form);  // frees the frame with its button
}

TEST(Keyboard, KeyPreviewSeesKeysFirstAndAZeroedKeyStopsThere) {
  TForm* form = MakeForm();
  auto* edit = new TEdit(form);
  edit->SetParent(form);
  form->Show();
  Pump();
  std::vector<AnsiString> order;
  form->SetKeyPreview(true);
  form->OnKeyDown = [&](TObject*, Word& key, TShiftState) {
    order.push_back("form");
    if (key == VK_F2) key = 0;
  };
  edit->OnKeyDown = [&](TObject*, Word&, TShiftState) { order.push_back("edit"); };
  QTest::keyClick(edit->Widget(), Qt::Key_F3);
  QTest::keyClick(edit->Widget(), Qt::Key_F2);
  EXPECT_EQ(order, (std::vector<AnsiString>{"form", "edit", "form"}));
  // A key zeroed in OnKeyDown never reaches the edit's text.
  edit->OnKeyDown = [](TObject*, Word& key, TShiftState) {
    if (key == 'Q') key = 0;
  };
  QTest::keyClicks(edit->Widget(), "aqb");
  EXPECT_EQ(edit->Text(), "ab");
  Free(form);
}

TEST(Cursors, WmSetCursorLetsAControlChooseAndOtherwiseItsCursorShows) {
  TForm* form = MakeForm();
  auto* rec = new Recorder(form);
  rec->SetBounds(0, 0, 100, 100);
  rec->SetParent(form);
  form->Show();
  Pump();
  QWidget* w = rec->Widget();
  rec->SetCursor(crIBeam);
  QTest::mouseMove(w, {10, 10});
  QMouseEvent move(QEvent::MouseMove, QPointF(10, 10), w->mapToGlobal(QPointF(10, 10)), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QCoreApplication::sendEvent(w, &move);
  EXPECT_EQ(w->cursor().shape(), Qt::IBeamCursor);
  rec->onMessage = [](TMessage& m) {
    if (m.Msg == WM_SETCURSOR) {
      SetCursor(crHandPoint);
      m.Result = 1;
    }
  };
  QCoreApplication::sendEvent(w, &move);
  EXPECT_EQ(w->cursor().shape(), Qt::PointingHandCursor);
  Free(form);
}

}  // namespace

namespace {

TEST(Keyboard, AltWithAMarkedLetterPressesButtonsAndFocusesLabelledControls) {
  TForm* form = MakeForm();
  auto* edit = new TEdit(form);
  edit->SetBounds(100, 10, 100, 21);
  edit->SetParent(form);
  auto* other = new TEdit(form);
  other->SetBounds(100, 40, 100, 21);
  other->SetParent(form);
  auto* label = new TLabel(form);
  label->SetCaption("IP &Address");
  label->SetFocusControl(edit);
  label->SetParent(form);
  auto* button = new TButton(form);
  button->SetCaption("&Refresh");
  button->SetBounds(10, 80, 75, 25);
  button->SetParent(form);
  int clicks = 0;
  button->OnClick = [&](TObject*) { ++clicks; };
  form->Show();
  other->SetFocus();
  Pump();
  auto alt = [&](Qt::Key key, const char* text) {
    QKeyEvent e(QEvent::KeyPress, key, Qt::AltModifier, text);
    QCoreApplication::sendEvent(form->ActiveControl()->Widget(), &e);
  };
  alt(Qt::Key_A, "a");
  EXPECT_EQ(form->ActiveControl(), edit);
  alt(Qt::Key_R, "r");
  EXPECT_EQ(clicks, 1);
  alt(Qt::Key_Z, "z");  // nothing marked with it
  EXPECT_EQ(clicks, 1);
  Free(form);
}

TEST(Names, AControlWithoutCaptionShowsItsNameUnlessItsFormIsLoading) {
  TForm* plain = MakeForm();
  auto* panel = new TPanel(plain);
  panel->SetName("IPPanel");
  EXPECT_EQ(panel->Caption(), "IPPanel");
  panel->SetCaption("");
  panel->SetName("Other");
  EXPECT_EQ(panel->Caption(), "");
  Free(plain);
  struct Loaded : TForm {
    TPanel* panel;
    explicit Loaded(TComponent* owner) : TForm(owner) {
      panel = new TPanel(this);
      panel->SetName("IPPanel");
    }
  };
  auto* loaded = Create<Loaded>(nullptr);
  EXPECT_EQ(loaded->panel->Caption(), "");
  Free(loaded);
}

}  // namespace

namespace {

TEST(Cursors, ProgramCursorsFromImagesUnderTheirOwnIds) {
  QTemporaryDir dir;
  QImage img(16, 16, QImage::Format_ARGB32);
  img.fill(Qt::red);
  QString path = dir.filePath("drag.png");
  ASSERT_TRUE(img.save(path));
  EXPECT_EQ(LoadCursorFromFile(dir.filePath("missing.png").toStdString(), {0, 0}), 0u);
  HCURSOR h = LoadCursorFromFile(path.toStdString(), {3, 4});
  ASSERT_NE(h, 0u);
  const TCursor crDragText = 1;
  Screen->SetCursors(crDragText, h);
  EXPECT_EQ(Screen->Cursors(crDragText), h);
  TForm* form = MakeForm();
  auto* rec = new Recorder(form);
  rec->SetBounds(0, 0, 50, 50);
  rec->SetParent(form);
  form->Show();
  rec->SetCursor(crDragText);
  QWidget* w = rec->Widget();
  QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QCoreApplication::sendEvent(w, &move);
  EXPECT_EQ(w->cursor().shape(), Qt::BitmapCursor);
  EXPECT_EQ(w->cursor().hotSpot(), QPoint(3, 4));
  Screen->SetCursors(crDragText, 0);
  Free(form);
}

}  // namespace

namespace {

TEST(Keyboard, AFormWithNothingFocusedGetsTheKeysItself) {
  TForm* form = MakeForm();
  form->Show();
  Pump();
  std::vector<Word> keys;
  std::vector<WideChar> chars;
  form->OnKeyDown = [&](TObject*, Word& key, TShiftState) { keys.push_back(key); };
  form->OnKeyPress = [&](TObject*, WideChar& key) { chars.push_back(key); };
  QTest::keyClick(form->WindowWidget(), Qt::Key_A);
  EXPECT_EQ(keys, (std::vector<Word>{'A'}));
  EXPECT_EQ(chars, (std::vector<WideChar>{u'a'}));
  Free(form);
}

}  // namespace
