// A user's session with the main window's ribbon, step by step through
// Qt's mouse, wheel and key events: tabs clicked, the "&Edit" pages
// swapped by the window's rule, a disabled page refused, buttons and
// shortcuts running their actions (or not, while the window disables
// them), Alt with a tab's accelerator, the wheel paging without wrapping,
// the help button's menu and the buttons' drop-down menus.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "MainRibbonRig.h"
#include "controls/LumGlowButton.h"
#include "ribbon/RorIvezEviPager.h"
#include "vcl/Forms.h"
#include "vcl/Menus.h"
#include "vcl/StdCtrls.h"

namespace {

using namespace ribbon;
using ide::testing::ChangingCall;
using ide::testing::MainRibbonRig;
using ide::testing::SaveGrab;

// What a pop-up menu showed while it was open: its window's place and
// size (empty when none opened).
struct Opened {
  QRect Geometry;
  bool Shown = false;
};

// Runs open (which shows a menu and returns when it closes); while the
// menu is up, records it and types keys into it (none: Escape).
Opened WhileMenuOpen(const std::function<void()>& open, std::vector<Qt::Key> keys = {}, const char* grab = nullptr) {
  Opened seen;
  // The menu may open at once or from a message the press posted: look
  // for it at every turn of the event loop, for a while.
  QTimer poll;
  poll.setInterval(0);
  int turns = 0;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    QWidget* w = QApplication::activePopupWidget();
    if (!w) {
      if (++turns > 500) poll.stop();
      return;
    }
    poll.stop();
    seen.Shown = true;
    seen.Geometry = w->geometry();
    if (grab) w->grab().toImage().save(QString(TOLVANE_BUILD_DIR "/") + grab);
    if (keys.empty()) keys.push_back(Qt::Key_Escape);
    // Each key to the menu on top (a submenu once it opened).
    for (Qt::Key k : keys)
      if (QWidget* top = QApplication::activePopupWidget()) QTest::keyClick(top, k);
    // Whatever stays open closes, so the test goes on.
    while (QWidget* top = QApplication::activePopupWidget()) top->close();
  });
  poll.start();
  open();
  for (int i = 0; i < 5 && poll.isActive(); ++i) QApplication::processEvents();
  poll.stop();
  return seen;
}

void PressAt(vcl::TWinControl* c, QPoint at) {
  QTest::mouseMove(c->Widget(), at);
  QTest::mousePress(c->Widget(), Qt::LeftButton, {}, at);
}

void ReleaseAt(vcl::TWinControl* c, QPoint at) { QTest::mouseRelease(c->Widget(), Qt::LeftButton, {}, at); }

QPoint Middle(vcl::TControl* c) { return {c->Width() / 2, c->Height() / 3}; }

struct Step {
  const char* What;
  std::function<void(MainRibbonRig&)> Do;
  int Active;                            // the active index afterwards
  std::vector<ChangingCall> Changing;    // OnChanging calls the step made
  std::vector<std::string> Ran = {};     // actions that ran, once each
  std::vector<std::string> Tabs = {};    // the tab strip afterwards (empty: unchanged)
};

const std::vector<std::string> kVisualTabs = {"&File", "&Edit", "&HTML ", "&Tools", "Tar&get"};

TEST(MainRibbonSession, ScriptedSession) {
  MainRibbonRig rig;
  rig.SetProjectOpen(false);
  // The recent-projects menu as the window fills it.
  vcl::TPopupMenu* recent = rig.Menu("RecentPrjMenu");
  std::vector<std::string> reopened;
  for (const char* p : {"/work/pages/one.prj", "/work/pages/two.prj"}) {
    auto* item = new vcl::TMenuItem(rig.form);
    item->SetCaption(p);
    item->OnClick = [&reopened, p](vcl::TObject*) { reopened.push_back(p); };
    recent->Items()->Add(item);
  }
  auto click = [](const char* key) {
    return [key](MainRibbonRig& r) {
      controls::TLumGlowButton* b = r.Button(key);
      ASSERT_NE(b, nullptr) << key;
      r.Click(b, Middle(b));
    };
  };
  auto tab = [](int i) { return [i](MainRibbonRig& r) { r.ClickTab(i); }; };
  auto key = [](int k, Qt::KeyboardModifiers m) {
    return [k, m](MainRibbonRig& r) {
      r.pager->SetFocus();
      r.Pump();
      r.Key(k, m);
    };
  };
  auto wheel = [](int delta) {
    return [delta](MainRibbonRig& r) {
      r.Wheel(QPoint(300, 12), delta);
    };
  };
  Opened openMenu, tableMenu, importMenu, helpMenu;
  vcl::TPoint openMenuAt, helpAt;

  const std::vector<Step> steps = {
      {"click the Edit tab", tab(1), 1, {{0, 1, true}}},
      {"click the HTML tab", tab(2), 2, {{1, 2, true}}},
      {"click the Tools tab", tab(3), 3, {{2, 3, true}}},
      {"click the Target tab", tab(4), 4, {{3, 4, true}}},
      {"click the File tab", tab(0), 0, {{4, 0, true}}},
      {"click the active tab again", tab(0), 0, {}},
      {"Save while no project is open", click("SaveAct"), 0, {}},
      {"Ctrl+S while no project is open", key(Qt::Key_S, Qt::ControlModifier), 0, {}},
      {"open a project", [](MainRibbonRig& r) { r.SetProjectOpen(true); }, 0, {}},
      {"click Save", click("SaveAct"), 0, {}, {"SaveAct"}},
      {"Ctrl+S", key(Qt::Key_S, Qt::ControlModifier), 0, {}, {"SaveAct"}},
      {"Ctrl+Shift+S", key(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier), 0, {}, {"SaveAsACt"}},
      {"Ctrl+Alt+S", key(Qt::Key_S, Qt::ControlModifier | Qt::AltModifier), 0, {}, {"SavePrjAct"}},
      {"Ctrl+P", key(Qt::Key_P, Qt::ControlModifier), 0, {}, {"NewPrjAct"}},
      {"Ctrl+N", key(Qt::Key_N, Qt::ControlModifier), 0, {}, {"NewAct"}},
      {"click Exit", click("ExitAct"), 0, {}, {"ExitAct"}},
      {"Open Project's upper part runs it",
       [](MainRibbonRig& r) {
         controls::TLumGlowButton* b = r.Button("OpenPrjAct");
         r.Click(b, QPoint(b->Width() / 2, 8));
       },
       0, {}, {"OpenPrjAct"}},
      {"Open Project's arrow drops the recent projects",
       [&](MainRibbonRig& r) {
         controls::TLumGlowButton* b = r.Button("OpenPrjAct");
         const QPoint arrow(b->Width() / 2, b->Height() - 5);
         openMenu = WhileMenuOpen([&] { PressAt(b, arrow); }, {Qt::Key_Down, Qt::Key_Down, Qt::Key_Return},
                                  "ribbon_main_recent_menu.png");
         ReleaseAt(b, arrow);
         openMenuAt = recent->PopupPoint();
         r.Pump();
       },
       0, {}},
      {"Alt+H takes the HTML tab", key(Qt::Key_H, Qt::AltModifier), 2, {{0, 2, true}}},
      {"Alt+E takes the Edit tab", key(Qt::Key_E, Qt::AltModifier), 1, {{2, 1, true}}},
      {"Edit Table's body runs Insert Table", click("EditTableBtn"), 1, {}, {"TableAct"}},
      {"Edit Table's arrow drops the table menu",
       [&](MainRibbonRig& r) {
         controls::TLumGlowButton* b = r.Button("EditTableBtn");
         const QPoint arrow(b->Width() / 2, b->Height() - 5);
         // Insert, then its first entry.
         tableMenu = WhileMenuOpen([&] { PressAt(b, arrow); }, {Qt::Key_Down, Qt::Key_Right, Qt::Key_Return});
         ReleaseAt(b, arrow);
         r.Pump();
       },
       1, {}, {"ac_TableInsertColumnToTheLeft"}},
      {"Import Text drops its menu on a click",
       [&](MainRibbonRig& r) {
         controls::TLumGlowButton* b = r.Button("ImportTextBtn");
         importMenu = WhileMenuOpen([&] { PressAt(b, Middle(b)); }, {Qt::Key_Down, Qt::Key_Down, Qt::Key_Return});
         ReleaseAt(b, Middle(b));
         r.Pump();
       },
       1, {}, {"ImportWOlinebreaks"}},
      {"click Bold in its container", click("ac_Bold"), 1, {}, {"ac_Bold"}},
      {"click the Tools tab", tab(3), 3, {{1, 3, true}}},
      {"the Show Tags check box",
       [](MainRibbonRig& r) {
         auto* box = dynamic_cast<vcl::TCheckBox*>(r.form->FindComponent("ViewContainer")
                                                      ? static_cast<vcl::TWinControl*>(
                                                            r.form->FindComponent("ViewContainer"))
                                                            ->Controls(0)
                                                      : nullptr);
         ASSERT_NE(box, nullptr);
         r.Click(box, QPoint(6, box->Height() / 2));
       },
       3, {}, {"RevealTagsAct"}},
      {"switch to source editing",
       [](MainRibbonRig& r) {
         r.SetVisualEditing(false);
         EXPECT_EQ(r.pager->GetPageByIndex(1), r.Page("EditSource"));
         EXPECT_EQ(r.Page("EditHTMLPage")->Pager(), nullptr);
       },
       // The visual page leaves (Tools shifts to 2), the source page is
       // added and moved to 1 (Tools back to 3), File, then the noted 3.
       3, {{3, 2, true}, {2, 3, true}, {3, 0, true}, {0, 3, true}}, {}, kVisualTabs},
      {"the HTML tab is refused while disabled", tab(2), 3, {{3, 2, false}}},
      {"click the source Edit tab", tab(1), 1, {{3, 1, true}}},
      {"Ctrl+Shift+Z (the source Redo)", key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier), 1, {}, {"RedoAct"}},
      {"click the source Paste", click("EditPaste1"), 1, {}, {"EditPaste1"}},
      {"back to visual editing",
       [](MainRibbonRig& r) {
         r.SetVisualEditing(true);
         EXPECT_EQ(r.pager->GetPageByIndex(1), r.Page("EditHTMLPage"));
         EXPECT_EQ(r.Page("EditSource")->Pager(), nullptr);
       },
       // The active source page leaves: the next page (HTML) first, then
       // its index after the removal; the visual page comes back at 1
       // (HTML to 2), File, then the noted 1.
       1, {{1, 2, true}, {2, 1, true}, {1, 2, true}, {2, 0, true}, {0, 1, true}}, {}, kVisualTabs},
      {"wheel down over the tabs", wheel(-120), 2, {{1, 2, true}}},
      {"wheel down", wheel(-120), 3, {{2, 3, true}}},
      {"wheel down", wheel(-120), 4, {{3, 4, true}}},
      {"wheel down at the last tab: no wrap", wheel(-120), 4, {}},
      {"wheel up", wheel(120), 3, {{4, 3, true}}},
      {"click the File tab", tab(0), 0, {{3, 0, true}}},
      {"wheel up at the first tab: no wrap", wheel(120), 0, {}},
      {"the help button pops the help menu; About",
       [&](MainRibbonRig& r) {
         controls::TLumGlowButton* help = r.pager->HelpButton();
         helpMenu = WhileMenuOpen([&] { r.Click(help, QPoint(10, 10)); },
                                  {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Return},
                                  "ribbon_main_help_menu.png");
         helpAt = r.Menu("HelpPopup")->PopupPoint();
       },
       0, {}, {"AboutAct"}},
  };

  std::map<std::string, int> before = rig.runs;
  for (const Step& s : steps) {
    SCOPED_TRACE(s.What);
    const size_t calls = rig.changing.size();
    s.Do(rig);
    rig.Pump();
    EXPECT_EQ(rig.pager->GetActivePageIndex(), s.Active);
    ASSERT_GE(rig.pager->GetActivePageIndex(), 0);
    EXPECT_TRUE(rig.pager->ActivePage()->Visible());
    const std::vector<ChangingCall> made(rig.changing.begin() + static_cast<long>(calls), rig.changing.end());
    EXPECT_EQ(made.size(), s.Changing.size()) << [&] {
      std::string text;
      for (const ChangingCall& c : made)
        text += "(" + std::to_string(c.From) + "," + std::to_string(c.To) + (c.Allowed ? ",yes) " : ",no) ");
      return text;
    }();
    for (size_t i = 0; i < std::min(made.size(), s.Changing.size()); ++i) {
      EXPECT_EQ(made[i].From, s.Changing[i].From) << i;
      EXPECT_EQ(made[i].To, s.Changing[i].To) << i;
      EXPECT_EQ(made[i].Allowed, s.Changing[i].Allowed) << i;
    }
    std::map<std::string, int> expected = before;
    for (const std::string& a : s.Ran) ++expected[a];
    for (auto& [name, count] : rig.runs)
      EXPECT_EQ(count, expected[name]) << name;
    for (auto& [name, count] : expected)
      EXPECT_EQ(rig.Runs(name.c_str()), count) << name;
    before = rig.runs;
    if (!s.Tabs.empty()) EXPECT_EQ(rig.TabCaptions(), s.Tabs);
  }
  // The second tab is the visual "&Edit" page again; the source one is off
  // the ribbon.
  EXPECT_EQ(rig.pager->GetPageByIndex(1), rig.Page("EditHTMLPage"));
  EXPECT_EQ(rig.Page("EditSource")->Pager(), nullptr);
  // The menus opened where they were asked to: the recent projects under
  // Open Project's left edge, the help menu at the window's client point
  // (917, 32); the recent entry chosen ran.
  controls::TLumGlowButton* open = rig.Button("OpenPrjAct");
  const vcl::TPoint under = open->Parent()->ClientToScreen({open->Left(), open->Top() + open->Height()});
  EXPECT_TRUE(openMenu.Shown);
  EXPECT_EQ(openMenuAt, under);
  EXPECT_EQ(reopened, std::vector<std::string>{"/work/pages/two.prj"});
  EXPECT_TRUE(tableMenu.Shown);
  EXPECT_TRUE(importMenu.Shown);
  EXPECT_TRUE(helpMenu.Shown);
  ASSERT_EQ(rig.helpPopups.size(), 1u);
  EXPECT_EQ(rig.helpPopups[0], rig.form->ClientToScreen({917, 32}));
  // The styled menu keeps itself on the desktop: asked past its right
  // edge, it moves left and keeps the height asked for.
  EXPECT_EQ(helpAt.Y, rig.helpPopups[0].Y);
  EXPECT_LE(helpAt.X, rig.helpPopups[0].X);
  if (rig.helpPopups[0].X + helpMenu.Geometry.width() <= vcl::Screen->Width())
    EXPECT_EQ(helpAt.X, rig.helpPopups[0].X);
  EXPECT_LE(helpMenu.Geometry.right(), vcl::Screen->Width());
}

}  // namespace
