// Key tips through real keys: Alt pressed and released, Alt held for 700 ms
// on the manual clock, Alt with an accelerator; the tab tips placed around
// their tabs; typing a tab's tip, then a button's; prefixes, exact matches
// and the beep; keys that type no letter; Escape; the tab tip windows given
// back; the Ctrl+F1 hook, once per process.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QTest>
#include <QWidget>
#include <QKeyEvent>
#include <memory>
#include <string>
#include <vector>

#include "controls/LumGlowButton.h"
#include "ribbon/RorIvezEviContainer.h"
#include "ribbon/RorIvezEviPager.h"
#include "ribbon/RorIvezEviPopups.h"
#include "rtl/Clock.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/MessageHooks.h"
#include "vcl/StdCtrls.h"
#include "vcl/WinApi.h"

namespace {

using namespace ribbon;
using controls::TLumGlowButton;
using Tips = std::vector<std::pair<const char*, const char*>>;

class KeyTipPager : public TRorIvezEviPager {
 public:
  explicit KeyTipPager(vcl::TComponent* owner) : TRorIvezEviPager(owner) {}
  void FinishLoading() { Loaded(); }
};

struct KeyTipRig {
  std::shared_ptr<rtl::ManualClock> clock = std::make_shared<rtl::ManualClock>(1000000);
  vcl::TForm* form = nullptr;
  vcl::TEdit* edit = nullptr;
  KeyTipPager* pager = nullptr;
  std::vector<TLumPage*> pages;
  std::vector<vcl::Cardinal> beeps;
  std::vector<std::string> clicks;

  // Pages with these captions and key tips; the last page gets a group of
  // glow buttons with the tips given.
  explicit KeyTipRig(std::vector<std::pair<const char*, const char*>> tabs,
                     std::vector<std::pair<const char*, const char*>> buttons = {}) {
    rtl::InstallClock(clock);
    vcl::SetBeepHandler([this](vcl::Cardinal type) { beeps.push_back(type); });
    QCursor::setPos(2, 2);
    form = new vcl::TForm(vcl::Application, 0);
    form->SetBounds(40, 40, 800, 300);
    edit = new vcl::TEdit(form);
    edit->SetParent(form);
    edit->SetBounds(10, 200, 100, 20);
    pager = new KeyTipPager(form);
    pager->SetParent(form);
    pager->SetHeight(120);
    pager->PageCaption()->SetVisible(false);
    pager->TabSettings()->SetHeight(34);
    pager->SetShowHelpButton(false);
    for (auto [caption, tip] : tabs) {
      auto* p = new TLumPage(form);
      p->SetCaption(caption);
      p->SetShortCutHint(tip);
      p->SetParent(pager);
      pages.push_back(p);
    }
    if (!buttons.empty()) {
      auto* bar = new TRorIvezEvi(form);
      bar->SetCaption("Group");
      int left = 2;
      for (auto [caption, tip] : buttons) {
        auto* b = new TLumGlowButton(form);
        b->SetCaption(caption);
        b->SetShortCutHint(tip);
        b->SetBounds(left, 2, 60, 20);
        left += 62;
        const std::string name = caption;
        b->OnClick = [this, name](vcl::TObject*) { clicks.push_back(name); };
        b->SetParent(bar);
      }
      bar->SetParent(pages.back());
    }
    pager->FinishLoading();
    pager->SetActivePageIndex(0);
    form->Show();
    Pump();
    form->Widget()->activateWindow();
    edit->SetFocus();
    Pump();
  }
  ~KeyTipRig() {
    vcl::Free(form);
    Pump();
    vcl::SetBeepHandler(nullptr);
    rtl::InstallClock(nullptr);
  }
  void Pump() {
    for (int i = 0; i < 3; ++i) {
      QCoreApplication::processEvents();
      vcl::Application->ProcessMessages();
    }
  }
  void Advance(int ms) {
    for (int t = 0; t < ms; t += 10) {
      clock->Advance(10);
      vcl::Application->ProcessMessages();
    }
    Pump();
  }
  // One key event to the focused widget, as the window system gives it.
  // mods is the state the event reports; a modifier key's event reports
  // its own modifier flipped (the state after the key), so it is stored
  // flipped here.
  void Send(QEvent::Type type, Qt::Key key, Qt::KeyboardModifiers mods) {
    if (key == Qt::Key_Alt) mods ^= Qt::AltModifier;
    if (key == Qt::Key_Control) mods ^= Qt::ControlModifier;
    if (key == Qt::Key_Shift) mods ^= Qt::ShiftModifier;
    // To the focused widget, else to the active window.
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
    if (!target) target = form->Widget();
    QString text;
    if (key >= Qt::Key_A && key <= Qt::Key_Z && !(mods & Qt::ControlModifier))
      text = QChar(static_cast<char16_t>('a' + (key - Qt::Key_A)));
    if (key >= Qt::Key_0 && key <= Qt::Key_9) text = QChar(static_cast<char16_t>('0' + (key - Qt::Key_0)));
    QKeyEvent e(type, key, mods, text);
    QApplication::sendEvent(target, &e);
    Pump();
  }
  void Press(Qt::Key key, Qt::KeyboardModifiers mods = {}) { Send(QEvent::KeyPress, key, mods); }
  void Release(Qt::Key key, Qt::KeyboardModifiers mods = {}) { Send(QEvent::KeyRelease, key, mods); }
  void Type(Qt::Key key, Qt::KeyboardModifiers mods = {}) {
    Press(key, mods);
    Release(key, mods);
  }
  // Alt pressed and let go, then the next look of the poll.
  void ShowByAlt() {
    Press(Qt::Key_Alt, Qt::AltModifier);
    Release(Qt::Key_Alt);
    Advance(50);
  }
  std::vector<bool> TabTipsShown() const {
    std::vector<bool> shown;
    for (TLumPage* p : pages) shown.push_back(p->TabKeyTipWindow() && p->TabKeyTipWindow()->Visible());
    return shown;
  }
};

TEST(RibbonKeyTips, AltReleasedHeldAndAsAccelerator) {
  KeyTipRig rig(Tips{{"&File", "F"}, {"&Edit", "E"}, {"&Home", "H"}});
  ASSERT_TRUE(rig.edit->Focused());
  // Pressed: armed, the poll running, nothing shown yet.
  rig.Press(Qt::Key_Alt, Qt::AltModifier);
  EXPECT_TRUE(rig.pager->AltArmed());
  ASSERT_NE(rig.pager->KeyTipTimer(), nullptr);
  EXPECT_TRUE(rig.pager->KeyTipTimer()->Enabled());
  EXPECT_EQ(rig.pager->KeyTipTimer()->Interval(), 50u);
  rig.Advance(100);
  EXPECT_FALSE(rig.pager->KeyTipMode());
  // Released: shown at the next look, the pager focused, the tips over
  // every tab.
  rig.Release(Qt::Key_Alt);
  rig.Advance(50);
  EXPECT_TRUE(rig.pager->KeyTipMode());
  EXPECT_FALSE(rig.pager->KeyTipTimer()->Enabled());
  EXPECT_TRUE(rig.pager->Focused());
  EXPECT_EQ(rig.TabTipsShown(), (std::vector<bool>{true, true, true}));
  EXPECT_EQ(rig.pages[1]->TabKeyTipWindow()->Caption(), "E");
  // Alt again while they show hides them.
  rig.Press(Qt::Key_Alt, Qt::AltModifier);
  EXPECT_FALSE(rig.pager->KeyTipMode());
  rig.Release(Qt::Key_Alt);
  rig.Advance(100);
  EXPECT_FALSE(rig.pager->KeyTipMode());

  // Held: not before 700 ms, then while Alt is still down.
  rig.edit->SetFocus();
  rig.Pump();
  rig.Press(Qt::Key_Alt, Qt::AltModifier);
  rig.Advance(650);
  EXPECT_FALSE(rig.pager->KeyTipMode());
  rig.Advance(50);
  EXPECT_TRUE(rig.pager->KeyTipMode());
  EXPECT_FALSE(rig.pager->AltArmed());
  rig.Release(Qt::Key_Alt);
  rig.Type(Qt::Key_Escape);
  EXPECT_FALSE(rig.pager->KeyTipMode());
  EXPECT_EQ(rig.TabTipsShown(), (std::vector<bool>{false, false, false}));

  // Alt with an accelerator letter is a menu key: no key tips.
  rig.edit->SetFocus();
  rig.Pump();
  rig.Press(Qt::Key_Alt, Qt::AltModifier);
  rig.Type(Qt::Key_E, Qt::AltModifier);
  EXPECT_FALSE(rig.pager->AltArmed());
  EXPECT_EQ(rig.pager->GetActivePageIndex(), 1);
  rig.Release(Qt::Key_Alt);
  rig.Advance(1000);
  EXPECT_FALSE(rig.pager->KeyTipMode());
}

TEST(RibbonKeyTips, TabTipPlacedAroundItsTab) {
  KeyTipRig rig(Tips{{"&File", "F"}, {"&Edit", "E"}});
  TLumPage* page = rig.pages[1];
  const vcl::TRect t = rig.pager->GetTabRect(1);
  const vcl::TPoint p = rig.pager->ClientToScreen({t.Left, t.Top});
  const int tw = t.Width(), th = t.Height();
  struct Row {
    controls::TShortCutHintPos pos;
    int dx, dy;  // from P, with w and h the window's size
  };
  page->ShowTabKeyTip();
  controls::TShortCutHintWindow* w = page->TabKeyTipWindow();
  ASSERT_NE(w, nullptr);
  const int ww = w->Width(), wh = w->Height();
  for (const Row& r : {Row{controls::shpLeft, -ww / 2, (th - wh) / 2}, Row{controls::shpTop, (tw - ww) / 2, -wh / 2},
                       Row{controls::shpRight, tw - ww / 2, (th - wh) / 2},
                       Row{controls::shpBottom, (tw - ww) / 2, th - wh / 2}}) {
    page->SetShortCutHintPos(r.pos);
    page->ShowTabKeyTip();
    EXPECT_EQ(w->Left(), p.X + r.dx) << static_cast<int>(r.pos);
    EXPECT_EQ(w->Top(), p.Y + r.dy) << static_cast<int>(r.pos);
  }
  // Any other position leaves the window where it is.
  page->SetShortCutHintPos(controls::shpBelowBottomLeft);
  const vcl::TPoint was{w->Left(), w->Top()};
  page->ShowTabKeyTip();
  EXPECT_EQ((vcl::TPoint{w->Left(), w->Top()}), was);
  // A disabled tab shows none.
  rig.pages[0]->SetTabEnabled(false);
  rig.pages[0]->ShowTabKeyTip();
  EXPECT_EQ(rig.pages[0]->TabKeyTipWindow(), nullptr);
}

TEST(RibbonKeyTips, TabWindowsGivenBackWhenHidden) {
  KeyTipRig rig(Tips{{"&File", "F"}, {"&Edit", "E"}, {"&Home", "H"}});
  for (int round = 0; round < 5; ++round) {
    rig.pager->ShowKeyTips();
    EXPECT_EQ(rig.pager->KeyTipWindows().size(), 3u);
    rig.pager->HideKeyTips(false);
    EXPECT_TRUE(rig.pager->KeyTipWindows().empty()) << "round " << round;
    EXPECT_EQ(rig.pages[0]->TabKeyTipWindow(), nullptr);
  }
}

TEST(RibbonKeyTips, TypingATabThenAButton) {
  KeyTipRig rig(Tips{{"&File", "F"}, {"&Edit", "E"}, {"&Home", "H"}}, Tips{{"Bold", "B"}, {"Italic", "I"}, {"Find", "FD"}});
  rig.ShowByAlt();
  ASSERT_TRUE(rig.pager->KeyTipMode());
  // The tab's letter: the page comes up with its buttons' tips, the focus
  // in its group.
  rig.Type(Qt::Key_H);
  EXPECT_EQ(rig.pager->GetActivePageIndex(), 2);
  EXPECT_FALSE(rig.pager->KeyTipMode());
  TLumPage* home = rig.pages[2];
  EXPECT_TRUE(home->ToolBarKeyTipsShowing());
  TLumCustomToolBar* bar = home->ToolBars(0);
  auto* bold = dynamic_cast<TLumGlowButton*>(bar->ToolBarControl(0));
  ASSERT_NE(bold, nullptr);
  ASSERT_NE(bold->ShortCutHintWindow(), nullptr);
  EXPECT_TRUE(bold->ShortCutHintWindow()->Visible());
  EXPECT_TRUE(bar->ContainsControl(dynamic_cast<vcl::TWinControl*>(vcl::Screen->ActiveControl())));
  // A prefix keeps its tip and hides the rest; the letters run the button
  // and the focus goes back to where it was before Alt.
  rig.Type(Qt::Key_F);
  auto* find = dynamic_cast<TLumGlowButton*>(bar->ToolBarControl(2));
  EXPECT_TRUE(find->ShortCutHintWindow()->Visible());
  EXPECT_FALSE(bold->ShortCutHintWindow()->Visible());
  EXPECT_TRUE(rig.clicks.empty());
  rig.Type(Qt::Key_D);
  EXPECT_EQ(rig.clicks, (std::vector<std::string>{"Find"}));
  EXPECT_FALSE(home->ToolBarKeyTipsShowing());
  EXPECT_FALSE(find->ShortCutHintWindow()->Visible());
  EXPECT_TRUE(rig.edit->Focused());
  EXPECT_TRUE(rig.beeps.empty());
}

TEST(RibbonKeyTips, PrefixesExactMatchesAndTheBeep) {
  // F and FI in either order: F is an exact match and ends the search.
  for (bool fiFirst : {true, false}) {
    KeyTipRig rig(fiFirst ? Tips{{"&Edit", "E"}, {"F&ind", "FI"}, {"&File", "F"}}
                          : Tips{{"&Edit", "E"}, {"&File", "F"}, {"F&ind", "FI"}});
    rig.ShowByAlt();
    rig.Type(Qt::Key_F);
    EXPECT_EQ(rig.pager->ActivePage()->ShortCutHint(), "F") << fiFirst;
    EXPECT_FALSE(rig.pager->KeyTipMode());
    EXPECT_TRUE(rig.beeps.empty());
  }
  KeyTipRig rig(Tips{{"&Edit", "E"}, {"Fo&rmat", "FA"}, {"F&ind", "FB"}, {"&Numbers", "1"}});
  rig.ShowByAlt();
  // A prefix: its tips stay, the others go, no beep.
  rig.Type(Qt::Key_F);
  EXPECT_EQ(rig.TabTipsShown(), (std::vector<bool>{false, true, true, false}));
  EXPECT_TRUE(rig.beeps.empty());
  // Keys that give no letter or digit type nothing: a beep, the matching
  // tips kept (F1 is not "p"; a modifier alone is not typing at all).
  rig.Type(Qt::Key_F1);
  rig.Type(Qt::Key_Shift);
  EXPECT_EQ(rig.beeps.size(), 1u);
  EXPECT_EQ(rig.pager->KeyTipText(), "F");
  EXPECT_EQ(rig.TabTipsShown(), (std::vector<bool>{false, true, true, false}));
  // A letter that matches nothing: beep, no tip left, the mode ends.
  rig.Type(Qt::Key_Q);
  EXPECT_EQ(rig.beeps.size(), 2u);
  EXPECT_FALSE(rig.pager->KeyTipMode());
  EXPECT_EQ(rig.TabTipsShown(), (std::vector<bool>{false, false, false, false}));
  EXPECT_EQ(rig.pager->GetActivePageIndex(), 0);
  // Numpad 1 types the digit 1.
  rig.ShowByAlt();
  rig.Type(Qt::Key_1, Qt::KeypadModifier);
  EXPECT_EQ(rig.pager->GetActivePageIndex(), 3);
}

TEST(RibbonKeyTips, DisabledTabHidesWithoutActivating) {
  KeyTipRig rig(Tips{{"&File", "F"}, {"&Edit", "E"}});
  rig.pages[1]->SetTabEnabled(false);
  rig.ShowByAlt();
  EXPECT_EQ(rig.TabTipsShown(), (std::vector<bool>{true, false}));
  rig.Type(Qt::Key_E);
  EXPECT_EQ(rig.pager->GetActivePageIndex(), 0);
  EXPECT_FALSE(rig.pager->KeyTipMode());
  EXPECT_TRUE(rig.beeps.empty());
}

TEST(RibbonKeyTips, CtrlF1HookTogglesOncePerPress) {
  KeyTipRig rig(Tips{{"&File", "F"}, {"&Edit", "E"}});
  EXPECT_EQ(TRorIvezEviPager::KeyHookPager(), rig.pager);
  EXPECT_EQ(vcl::InstalledMessageHooks(), 1);
  int collapses = 0, expands = 0;
  rig.pager->OnCollaps = [&](vcl::TObject*) { ++collapses; };
  rig.pager->OnExpand = [&](vcl::TObject*) { ++expands; };
  // Held down: the repeats are the same key and toggle nothing more.
  rig.Press(Qt::Key_Control, Qt::ControlModifier);
  rig.Press(Qt::Key_F1, Qt::ControlModifier);
  rig.Press(Qt::Key_F1, Qt::ControlModifier);
  rig.Press(Qt::Key_F1, Qt::ControlModifier);
  EXPECT_FALSE(rig.pager->IsExpanded());
  EXPECT_EQ(rig.pager->Height(), 34);
  rig.Release(Qt::Key_F1, Qt::ControlModifier);
  rig.Press(Qt::Key_F1, Qt::ControlModifier);
  rig.Release(Qt::Key_F1, Qt::ControlModifier);
  rig.Release(Qt::Key_Control);
  EXPECT_TRUE(rig.pager->IsExpanded());
  EXPECT_EQ(rig.pager->Height(), 120);
  EXPECT_EQ(collapses, 1);
  EXPECT_EQ(expands, 1);
  // With Shift, or F1 alone: nothing.
  rig.Type(Qt::Key_F1, Qt::ControlModifier | Qt::ShiftModifier);
  rig.Type(Qt::Key_F1);
  EXPECT_TRUE(rig.pager->IsExpanded());
  EXPECT_EQ(collapses, 1);
  rig.pager->OnCollaps = nullptr;
  rig.pager->OnExpand = nullptr;
}

TEST(RibbonKeyTips, OneHookPerProcessRemovedWithItsPager) {
  auto* form = new vcl::TForm(vcl::Application, 0);
  auto* first = new KeyTipPager(form);
  first->SetParent(form);
  auto* second = new KeyTipPager(form);
  second->SetParent(form);
  first->FinishLoading();
  second->FinishLoading();
  EXPECT_EQ(TRorIvezEviPager::KeyHookPager(), first);
  EXPECT_EQ(vcl::InstalledMessageHooks(), 1);
  vcl::Free(second);
  EXPECT_EQ(TRorIvezEviPager::KeyHookPager(), first);
  vcl::Free(first);
  EXPECT_EQ(TRorIvezEviPager::KeyHookPager(), nullptr);
  EXPECT_EQ(vcl::InstalledMessageHooks(), 0);
  vcl::Free(form);
}

// A shape button as a form may place one on the pager: found by its class
// name, told of the key tips by message 45104, clicked by its own tip.
class TAdvShapeButton : public vcl::TCustomControl, public IPublishedShortCutHint {
 public:
  explicit TAdvShapeButton(vcl::TComponent* owner) : vcl::TCustomControl(owner) {}
  rtl::AnsiString PublishedShortCutHint() const override { return hint; }
  void ClickByShortCut() override { ++clicks; }
  rtl::AnsiString hint;
  int clicks = 0;
  std::vector<std::pair<vcl::WPARAM, vcl::LPARAM>> tips;

 protected:
  void Dispatch(vcl::TMessage& Message) override {
    if (Message.Msg == 45104) tips.push_back({Message.WParam, Message.LParam});
    vcl::TCustomControl::Dispatch(Message);
  }
};

TEST(RibbonKeyTips, ShapeButtonsAndF10) {
  KeyTipRig rig(Tips{{"&File", "F"}, {"&Edit", "E"}});
  auto* shape = new TAdvShapeButton(rig.form);
  shape->hint = "Q";
  shape->SetBounds(200, 2, 20, 20);
  shape->SetParent(rig.pager);
  // F10 arms as Alt does.
  rig.Press(Qt::Key_F10);
  EXPECT_TRUE(rig.pager->AltArmed());
  rig.Release(Qt::Key_F10);
  rig.Advance(50);
  ASSERT_TRUE(rig.pager->KeyTipMode());
  EXPECT_EQ(shape->tips, (std::vector<std::pair<vcl::WPARAM, vcl::LPARAM>>{{1, 1}}));
  // Its own tip clicks it and ends the key tips (told with 1, 0).
  rig.Type(Qt::Key_Q);
  EXPECT_EQ(shape->clicks, 1);
  EXPECT_FALSE(rig.pager->KeyTipMode());
  EXPECT_EQ(shape->tips.back(), (std::pair<vcl::WPARAM, vcl::LPARAM>{1, 0}));
  EXPECT_TRUE(rig.beeps.empty());
  // The focus leaving the pager hides the key tips.
  rig.ShowByAlt();
  ASSERT_TRUE(rig.pager->KeyTipMode());
  rig.edit->SetFocus();
  rig.Pump();
  EXPECT_FALSE(rig.pager->KeyTipMode());
}

TEST(RibbonKeyTips, CollapsedGroupTypesInItsPopup) {
  KeyTipRig rig(Tips{{"&File", "F"}, {"&Home", "H"}}, Tips{{"Bold", "B"}, {"Italic", "I"}});
  TLumCustomToolBar* bar = rig.pages[1]->ToolBars(0);
  bar->SetCompactShortCutHint("Z");
  bar->SetGroupLoaded(true);
  bar->SetCollapsed(true);
  ASSERT_TRUE(bar->IsCollapsed());
  rig.ShowByAlt();
  rig.Type(Qt::Key_H);
  ASSERT_TRUE(rig.pages[1]->ToolBarKeyTipsShowing());
  EXPECT_TRUE(bar->CompactButton()->ShortCutHintWindow()->Visible());
  // The compact button's tip opens the group's window; the clone shows its
  // buttons' tips and takes the typing.
  rig.Type(Qt::Key_Z);
  ASSERT_TRUE(bar->CompactWindow()->Visible());
  TLumCustomToolBar* clone = bar->Clone();
  EXPECT_TRUE(clone->KeyTipsShowing());
  rig.Type(Qt::Key_I);
  EXPECT_EQ(rig.clicks, (std::vector<std::string>{"Italic"}));
  EXPECT_FALSE(clone->KeyTipsShowing());
  EXPECT_TRUE(rig.beeps.empty());
}

// Left and Right walk the group's controls in tab order: into a container's
// buttons (the container itself is never a stop), past a disabled button,
// and around to the page's groups (here the same one) at either end.
TEST(RibbonKeyTips, ArrowsWalkTheGroupPastContainersAndDisabledButtons) {
  KeyTipRig rig(Tips{{"&File", "F"}, {"&Home", "H"}}, Tips{{"Bold", "B"}, {"Italic", "I"}});
  TLumCustomToolBar* bar = rig.pages[1]->ToolBars(0);
  auto* box = new TRorIvezEviContainer(rig.form);
  box->SetBounds(130, 2, 200, 40);
  box->SetParent(bar);
  box->SetRorIvezEvi(bar);
  std::vector<TLumGlowButton*> boxed;
  for (const char* caption : {"Cut", "Copy", "Paste"}) {
    auto* b = new TLumGlowButton(rig.form);
    b->SetCaption(caption);
    b->SetBounds(4 + 62 * static_cast<int>(boxed.size()), 4, 60, 20);
    b->SetParent(box);
    boxed.push_back(b);
  }
  boxed[2]->SetEnabled(false);
  rig.pager->SetActivePageIndex(1);
  rig.Pump();
  std::vector<vcl::TWinControl*> order;
  bar->GetTabOrderList(order);
  TLumGlowButton* first = nullptr;
  TLumGlowButton* second = nullptr;
  for (vcl::TWinControl* w : order)
    if (auto* g = dynamic_cast<TLumGlowButton*>(w); g && g->Parent() == bar) (first ? second : first) = g;
  ASSERT_TRUE(first && second);
  first->SetFocus();
  rig.Pump();
  ASSERT_TRUE(first->Focused());

  const struct {
    Qt::Key key;
    vcl::TWinControl* focused;
  } steps[] = {
      {Qt::Key_Right, second},    {Qt::Key_Right, boxed[0]}, {Qt::Key_Right, boxed[1]},
      {Qt::Key_Right, first},     {Qt::Key_Left, boxed[1]},  {Qt::Key_Left, boxed[0]},
      {Qt::Key_Left, second},     {Qt::Key_Left, first},
  };
  int row = 0;
  for (const auto& step : steps) {
    rig.Type(step.key);
    EXPECT_TRUE(step.focused->Focused()) << "step " << row;
    EXPECT_FALSE(box->Focused()) << "step " << row;
    ++row;
  }
}

}  // namespace
