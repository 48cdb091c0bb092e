// Actions, menus, shortcuts and the clipboard.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QTest>

#include "TestSupport.h"
#include "vcl/ActnList.h"
#include "vcl/Clipbrd.h"
#include "vcl/Menus.h"
#include "vcl/StdCtrls.h"

using namespace vcl;
using namespace vcltest;

namespace {

class ActionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = MakeForm();
    list = new TActionList(form);
    edit = new TEdit(form);
    edit->SetParent(form);
    form->Show();
    Pump();
  }
  void TearDown() override { Free(form); }
  TAction* NewAction(const char* caption, TShortCut sc, std::vector<AnsiString>* log) {
    auto* a = new TAction(form);
    a->SetCaption(caption);
    a->SetShortCut(sc);
    a->SetActionList(list);
    a->OnExecute = [log, caption](TObject*) { log->push_back(caption); };
    return a;
  }
  TForm* form = nullptr;
  TActionList* list = nullptr;
  TEdit* edit = nullptr;
};

TEST_F(ActionsTest, ShortcutRunsTheFirstEnabledActionAndTheControlNeverSeesTheKey) {
  std::vector<AnsiString> log;
  auto* first = NewAction("first", ShortCut('S', {ssCtrl}), &log);
  NewAction("second", ShortCut('S', {ssCtrl}), &log);
  first->OnUpdate = [](TObject* s) { static_cast<TAction*>(s)->SetEnabled(false); };
  std::vector<Word> keysSeen;
  edit->OnKeyDown = [&](TObject*, Word& key, TShiftState) { keysSeen.push_back(key); };
  QKeyEvent press(QEvent::KeyPress, Qt::Key_S, Qt::ControlModifier, QString(QChar(19)));
  QCoreApplication::sendEvent(edit->Widget(), &press);
  EXPECT_EQ(log, (std::vector<AnsiString>{"second"}));
  EXPECT_TRUE(keysSeen.empty());
  EXPECT_EQ(edit->Text(), "");
  // With both disabled the key reaches the control.
  list->Actions(1)->OnUpdate = [](TObject* s) { static_cast<TAction*>(s)->SetEnabled(false); };
  QCoreApplication::sendEvent(edit->Widget(), &press);
  EXPECT_EQ(log, (std::vector<AnsiString>{"second"}));
  EXPECT_EQ(keysSeen, (std::vector<Word>{'S'}));
  // Enabled again, the first one takes it.
  first->OnUpdate = [](TObject* s) { static_cast<TAction*>(s)->SetEnabled(true); };
  QCoreApplication::sendEvent(edit->Widget(), &press);
  EXPECT_EQ(log, (std::vector<AnsiString>{"second", "first"}));
}

TEST_F(ActionsTest, IdleUpdatesActionsAndLinkedControlsFollowThem) {
  std::vector<AnsiString> log;
  auto* save = NewAction("&Save", ShortCut('S', {ssCtrl}), &log);
  bool canSave = false;
  save->OnUpdate = [&](TObject*) { save->SetEnabled(canSave); };
  auto* button = new TButton(form);
  button->SetParent(form);
  button->SetAction(save);
  auto* item = new TMenuItem(form);
  item->SetAction(save);
  Application->Idle();
  EXPECT_FALSE(button->Enabled());
  EXPECT_FALSE(item->Enabled());
  EXPECT_EQ(button->Caption(), "&Save");
  EXPECT_EQ(item->ShortCut(), ShortCut('S', {ssCtrl}));
  canSave = true;
  Application->Idle();
  EXPECT_TRUE(button->Enabled());
  QTest::mouseClick(button->Widget(), Qt::LeftButton);
  item->Click();
  EXPECT_EQ(log, (std::vector<AnsiString>{"&Save", "&Save"}));
  save->SetCaption("Save &as");
  EXPECT_EQ(button->Caption(), "Save &as");
  delete save;  // the clients let go of it
  EXPECT_EQ(button->Action(), nullptr);
  EXPECT_EQ(item->Action(), nullptr);
}

TEST_F(ActionsTest, MainMenuShortcutsAndGroups) {
  auto* menu = new TMainMenu(form);
  auto* file = new TMenuItem(form);
  file->SetCaption("&File");
  menu->Items()->Add(file);
  std::vector<AnsiString> log;
  auto addItem = [&](TMenuItem* parent, const char* caption, TShortCut sc) {
    auto* i = new TMenuItem(form);
    i->SetCaption(caption);
    i->SetShortCut(sc);
    i->OnClick = [&log, caption](TObject*) { log.push_back(caption); };
    parent->Add(i);
    return i;
  };
  auto* open = addItem(file, "&Open", ShortCut('O', {ssCtrl}));
  addItem(file, "-", scNone);
  auto* a = addItem(file, "View A", scNone);
  auto* b = addItem(file, "View B", scNone);
  a->SetRadioItem(true);
  b->SetRadioItem(true);
  a->SetGroupIndex(1);
  b->SetGroupIndex(1);
  form->SetMenu(menu);
  Integer clientBefore = form->ClientHeight();
  EXPECT_GT(form->Height(), clientBefore);  // the bar sits above the client area
  QKeyEvent ctrlO(QEvent::KeyPress, Qt::Key_O, Qt::ControlModifier, QString(QChar(15)));
  QCoreApplication::sendEvent(edit->Widget(), &ctrlO);
  EXPECT_EQ(log, (std::vector<AnsiString>{"&Open"}));
  open->SetEnabled(false);
  QCoreApplication::sendEvent(edit->Widget(), &ctrlO);
  EXPECT_EQ(log.size(), 1u);
  a->SetChecked(true);
  b->SetChecked(true);
  EXPECT_FALSE(a->Checked());
  EXPECT_EQ(file->Find("open"), open);
  EXPECT_EQ(file->IndexOf(b), 3);
  EXPECT_TRUE(file->Items(1)->IsLine());
  file->Delete(1);
  EXPECT_EQ(file->Count(), 3);
}

TEST_F(ActionsTest, PopupMenuOpensOnContextMenuAndRunsTheChosenItem) {
  auto* popup = new TPopupMenu(form);
  auto* item = new TMenuItem(form);
  item->SetCaption("&Refresh");
  int clicked = 0;
  item->OnClick = [&](TObject*) { ++clicked; };
  popup->Items()->Add(item);
  edit->SetPopupMenu(popup);
  bool popped = false;
  popup->OnPopup = [&](TObject*) { popped = true; };
  Later([] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 1);
    menu->actions()[0]->trigger();
    menu->close();
  });
  edit->Perform(WM_CONTEXTMENU, edit->Handle(), PointToLParam({20, 20}));
  EXPECT_TRUE(popped);
  EXPECT_EQ(popup->PopupComponent(), edit);
  EXPECT_EQ(clicked, 1);
}

TEST(ShortCuts, TextRoundTrip) {
  struct Case {
    TShortCut sc;
    const char* text;
  };
  const Case cases[] = {
      {ShortCut('S', {ssCtrl}), "Ctrl+S"},
      {ShortCut(VK_F10, {ssShift}), "Shift+F10"},
      {ShortCut(VK_DELETE, {ssCtrl, ssAlt}), "Ctrl+Alt+Del"},
      {ShortCut(VK_RETURN, {}), "Enter"},
      {ShortCut('5', {ssAlt}), "Alt+5"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ShortCutToText(c.sc), c.text);
    EXPECT_EQ(TextToShortCut(c.text), c.sc) << c.text;
  }
  EXPECT_EQ(TextToShortCut("ctrl+s"), ShortCut('S', {ssCtrl}));
  EXPECT_EQ(TextToShortCut("Hyper+Q"), scNone);
}

TEST(ClipboardTest, RegisteredFormatsTravelTogetherWithText) {
  TClipboardFormat html = RegisterClipboardFormat("HTML Format");
  EXPECT_GE(html, 0xC000);
  EXPECT_EQ(RegisterClipboardFormat("html format"), html);
  EXPECT_NE(RegisterClipboardFormat("Rich Text Format"), html);
  EXPECT_EQ(GetClipboardFormatName(html), "HTML Format");
  TClipboard* cb = Clipboard();
  const std::string fragment = "Version:0.9\r\nStartHTML:000000097\r\n<b>x</b>";
  cb->Open();
  cb->SetAsBytes(html, fragment);
  cb->SetAsText("x");
  cb->Close();
  EXPECT_TRUE(cb->HasFormat(html));
  EXPECT_TRUE(cb->HasFormat(CF_TEXT));
  EXPECT_EQ(cb->GetAsBytes(html), fragment);
  EXPECT_EQ(cb->AsText(), "x");
  // Outside a bracket a new setting replaces everything.
  cb->SetAsText("plain");
  EXPECT_FALSE(cb->HasFormat(html));
  EXPECT_EQ(cb->AsText(), "plain");
  cb->Clear();
  EXPECT_FALSE(cb->HasFormat(CF_TEXT));
}

}  // namespace

namespace {

TEST_F(ActionsTest, AGraphicControlUnderTheMouseOffersItsOwnPopupMenu) {
  auto* label = new TLabel(form);
  label->SetCaption("Devices Found");
  label->SetBounds(10, 100, 100, 17);
  label->SetParent(form);
  auto* popup = new TPopupMenu(form);
  auto* item = new TMenuItem(form);
  item->SetCaption("Copy");
  popup->Items()->Add(item);
  label->SetPopupMenu(popup);
  TComponent* shownFor = nullptr;
  popup->OnPopup = [&](TObject*) { shownFor = popup->PopupComponent(); };
  Later([] {
    if (QWidget* menu = QApplication::activePopupWidget()) menu->close();
  });
  TPoint onLabel = form->ClientToScreen({20, 105});
  form->Perform(WM_CONTEXTMENU, form->Handle(), PointToLParam(onLabel));
  EXPECT_EQ(shownFor, label);
  // Elsewhere on the form nothing offers a menu, and nothing loops.
  shownFor = nullptr;
  EXPECT_EQ(form->Perform(WM_CONTEXTMENU, form->Handle(), PointToLParam(form->ClientToScreen({250, 150}))), 0);
  EXPECT_EQ(shownFor, nullptr);
}

}  // namespace
