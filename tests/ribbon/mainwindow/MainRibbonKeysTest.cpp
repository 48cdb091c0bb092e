// The main window's ribbon by keys: Alt then a tab's key tip then a
// button's runs its action once and gives the focus back; Ctrl+F1
// minimises, a tab click opens the page in the popup, a click on another
// tab keeps it for that page, Escape or a click outside closes it, Ctrl+F1
// restores. Grabs of the key tips and of the minimised ribbon with its
// popup go to the build folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QKeyEvent>
#include <QTest>
#include <QWidget>
#include <string>

#include "MainRibbonRig.h"
#include "controls/LumGlowButton.h"
#include "ribbon/RorIvezEviPager.h"
#include "ribbon/RorIvezEviPopups.h"
#include "ribbon/RorIvezEviToolBar.h"
#include "vcl/MessageHooks.h"
#include "vcl/StdCtrls.h"

namespace {

using namespace ribbon;
using ide::testing::MainRibbonRig;
using ide::testing::SaveGrab;

// One key event to the focused widget as the window system gives it: a
// modifier key's event reports its own modifier flipped, so mods (the
// state while the key is down) is flipped here for it.
void SendKey(MainRibbonRig& rig, QEvent::Type type, Qt::Key key, Qt::KeyboardModifiers mods = {}) {
  if (key == Qt::Key_Alt) mods ^= Qt::AltModifier;
  if (key == Qt::Key_Control) mods ^= Qt::ControlModifier;
  // To the focused widget, else to the active window.
  QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
  if (!target) target = rig.form->Widget();
  QString text;
  if (key >= Qt::Key_A && key <= Qt::Key_Z && !(mods & Qt::ControlModifier))
    text = QChar(static_cast<char16_t>('a' + (key - Qt::Key_A)));
  QKeyEvent e(type, key, mods, text);
  QApplication::sendEvent(target, &e);
  rig.Pump();
}

void TypeKey(MainRibbonRig& rig, Qt::Key key, Qt::KeyboardModifiers mods = {}) {
  SendKey(rig, QEvent::KeyPress, key, mods);
  SendKey(rig, QEvent::KeyRelease, key, mods);
}

void CtrlF1(MainRibbonRig& rig) {
  SendKey(rig, QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier);
  TypeKey(rig, Qt::Key_F1, Qt::ControlModifier);
  SendKey(rig, QEvent::KeyRelease, Qt::Key_Control);
}

// The form with the windows of its own that float over it (key tips, the
// minimised ribbon's popup) painted in at their places.
void SaveComposed(MainRibbonRig& rig, const std::string& name) {
  QImage image = rig.form->Widget()->grab().toImage();
  QPainter painter(&image);
  const QPoint origin = rig.form->Widget()->mapToGlobal(QPoint(0, 0));
  auto paintWindow = [&](vcl::TWinControl* w) {
    if (!w || !w->Visible() || !w->HandleAllocated()) return;
    const QPoint at = w->Widget()->mapToGlobal(QPoint(0, 0)) - origin;
    painter.drawPixmap(at, w->Widget()->grab());
  };
  paintWindow(rig.pager->MinimizedPopup());
  for (controls::TShortCutHintWindow* tip : rig.pager->KeyTipWindows()) paintWindow(tip);
  for (int i = 0; i < rig.form->ComponentCount(); ++i)
    if (auto* b = dynamic_cast<controls::TLumGlowButton*>(rig.form->Components(i)))
      paintWindow(b->ShortCutHintWindow());
  painter.end();
  image.save(QString::fromStdString(std::string(TOLVANE_BUILD_DIR "/") + name));
}

TEST(MainRibbonKeys, KeyTipsRunAButtonAndGiveTheFocusBack) {
  MainRibbonRig rig;
  auto* edit = new vcl::TEdit(rig.form);
  edit->SetParent(rig.form);
  edit->SetBounds(10, 200, 200, 22);
  rig.form->Widget()->activateWindow();
  edit->SetFocus();
  rig.Pump();
  ASSERT_TRUE(edit->Focused());
  EXPECT_EQ(TRorIvezEviPager::KeyHookPager(), rig.pager);

  SendKey(rig, QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
  SendKey(rig, QEvent::KeyRelease, Qt::Key_Alt);
  rig.Advance(50);
  ASSERT_TRUE(rig.pager->KeyTipMode());
  // One tip per tab on the ribbon: F, E, H, T, G.
  std::string tips;
  for (int i = 0; i < rig.pager->PageCount(); ++i) {
    TLumPage* p = rig.pager->GetPageByIndex(i);
    if (p->TabKeyTipWindow() && p->TabKeyTipWindow()->Visible()) tips += p->TabKeyTipWindow()->Caption();
  }
  EXPECT_EQ(tips, "FEHTG");
  SaveComposed(rig, "ribbon_main_keytips_tabs.png");

  // H: the HTML page with its buttons' tips; I: Insert Image, once.
  TypeKey(rig, Qt::Key_H);
  EXPECT_EQ(rig.pager->ActivePage(), rig.Page("HTMLPage"));
  EXPECT_TRUE(rig.Page("HTMLPage")->ToolBarKeyTipsShowing());
  controls::TLumGlowButton* image = rig.Button("ImageAct");
  ASSERT_NE(image->ShortCutHintWindow(), nullptr);
  EXPECT_TRUE(image->ShortCutHintWindow()->Visible());
  SaveComposed(rig, "ribbon_main_keytips_html.png");
  TypeKey(rig, Qt::Key_I);
  EXPECT_EQ(rig.Runs("ImageAct"), 1);
  EXPECT_FALSE(rig.Page("HTMLPage")->ToolBarKeyTipsShowing());
  EXPECT_FALSE(image->ShortCutHintWindow()->Visible());
  EXPECT_TRUE(edit->Focused());
  // Another round: Escape leaves the tips without running anything.
  SendKey(rig, QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
  SendKey(rig, QEvent::KeyRelease, Qt::Key_Alt);
  rig.Advance(50);
  ASSERT_TRUE(rig.pager->KeyTipMode());
  TypeKey(rig, Qt::Key_Escape);
  EXPECT_FALSE(rig.pager->KeyTipMode());
  EXPECT_EQ(rig.Runs("ImageAct"), 1);
}

TEST(MainRibbonKeys, CtrlF1MinimisesAndTheTabsOpenThePopup) {
  MainRibbonRig rig;
  auto* edit = new vcl::TEdit(rig.form);
  edit->SetParent(rig.form);
  edit->SetBounds(10, 200, 200, 22);
  rig.form->Widget()->activateWindow();
  edit->SetFocus();
  rig.Pump();
  CtrlF1(rig);
  EXPECT_FALSE(rig.pager->IsExpanded());
  EXPECT_EQ(rig.pager->Height(), 34);
  SaveGrab(rig.pager, "ribbon_main_minimised.png");

  // A click on the active tab: the File page in the popup under the tabs.
  rig.Advance(700);
  rig.ClickTab(0);
  ASSERT_TRUE(rig.pager->IsPopupShowing());
  TMinimizedRibbonWindow* popup = rig.pager->MinimizedPopup();
  EXPECT_EQ(popup->Name(), "mainpager_RibbonWindow");
  const vcl::TPoint under = rig.pager->ClientToScreen({2, 34});
  EXPECT_EQ(popup->Left(), under.X);
  EXPECT_EQ(popup->Top(), under.Y);
  EXPECT_EQ(rig.Bar("File", "FilePage")->Parent(), rig.Page("FilePage")->Twin());
  EXPECT_TRUE(rig.Bar("File", "FilePage")->Widget()->isVisible()) << "shown in the popup";
  // 120 less the 34 of the tabs, the page margin and 1; the window 3 more.
  EXPECT_EQ(popup->ClientHeight(), rig.Page("FilePage")->Twin()->Height() + 3);
  SaveComposed(rig, "ribbon_main_minimised_popup.png");
  // A button in the popup runs its action.
  rig.Click(rig.Button("ExitAct"), QPoint(10, 10));
  EXPECT_EQ(rig.Runs("ExitAct"), 1);
  // Another tab: the popup stays, now with that page.
  rig.Advance(700);
  if (!rig.pager->IsPopupShowing()) rig.ClickTab(0);
  rig.ClickTab(2);
  ASSERT_TRUE(rig.pager->IsPopupShowing());
  EXPECT_EQ(rig.pager->ActivePage(), rig.Page("HTMLPage"));
  EXPECT_EQ(rig.Bar("Image", "HTMLPage")->Parent(), rig.Page("HTMLPage")->Twin());
  EXPECT_EQ(rig.Bar("File", "FilePage")->Parent(), rig.Page("FilePage"));
  // Escape in the popup closes it; the groups are home.
  TypeKey(rig, Qt::Key_Escape);
  rig.Advance(2);
  EXPECT_FALSE(rig.pager->IsPopupShowing());
  EXPECT_EQ(rig.Bar("Image", "HTMLPage")->Parent(), rig.Page("HTMLPage"));
  // Open again; a click outside closes it through its 1 ms timer.
  rig.Advance(700);
  rig.ClickTab(2);
  ASSERT_TRUE(rig.pager->IsPopupShowing());
  rig.Click(edit, QPoint(5, 5));
  rig.Advance(2);
  EXPECT_FALSE(rig.pager->IsPopupShowing());
  // Ctrl+F1 again: back to 120 with every group on its page.
  CtrlF1(rig);
  EXPECT_TRUE(rig.pager->IsExpanded());
  EXPECT_EQ(rig.pager->Height(), 120);
  EXPECT_EQ(rig.Bar("Image", "HTMLPage")->BoundsRect().Top, 3);
  EXPECT_EQ(rig.Bar("Image", "HTMLPage")->Height(), 75);
}

}  // namespace
