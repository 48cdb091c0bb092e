// The pager's input through the class library's messages and Qt's own
// events: clicks on tabs, arrow keys, the wheel the form hears, focus
// moves, Alt with an accelerator, tab hints, and the hot fade on a manual
// clock.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "controls/LumGlowButton.h"
#include "ribbon/RorIvezEviPager.h"
#include "rtl/Clock.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/Messages.h"
#include "vcl/StdCtrls.h"
#include "vcl/TestCanvases.h"
#include "vcl/WinApi.h"

namespace {

using namespace ribbon;

class InputPager : public TRorIvezEviPager {
 public:
  explicit InputPager(vcl::TComponent* owner) : TRorIvezEviPager(owner) {}
  void FinishLoading() { Loaded(); }

 protected:
  vcl::TCanvas* TabMeasureCanvas() override { return &canvas_; }

 private:
  vcl::TFakeMetricsCanvas canvas_;
};

struct InputRig {
  std::shared_ptr<rtl::ManualClock> clock = std::make_shared<rtl::ManualClock>(1000000);
  vcl::TForm* form = nullptr;
  vcl::TEdit* before = nullptr;
  InputPager* pager = nullptr;
  std::vector<TLumPage*> pages;
  std::vector<int> tabClicks;
  int changes = 0;

  InputRig() {
    rtl::InstallClock(clock);
    QCursor::setPos(2, 2);
    form = new vcl::TForm(vcl::Application, 0);
    form->SetClientWidth(700);
    form->SetClientHeight(300);
    before = new vcl::TEdit(form);
    before->SetParent(form);
    before->SetBounds(10, 200, 100, 20);
    pager = new InputPager(form);
    pager->SetParent(form);
    pager->SetHeight(120);
    pager->PageCaption()->SetVisible(false);
    pager->TabSettings()->SetHeight(34);
    pager->SetShowHelpButton(false);
    for (const char* c : {"&File", "&Edit", "&HTML", "Tar&get"}) {
      auto* p = new TLumPage(form);
      p->SetCaption(c);
      p->SetParent(pager);
      pages.push_back(p);
    }
    pager->FinishLoading();
    pager->SetActivePageIndex(0);
    pager->OnTabClick = [this](vcl::TObject*, int page) { tabClicks.push_back(page); };
    pager->OnChange = [this](vcl::TObject*) { ++changes; };
    form->Show();
    Pump();
  }
  ~InputRig() {
    pager->OnTabClick = nullptr;
    pager->OnChange = nullptr;
    vcl::Free(form);
    Pump();
    rtl::InstallClock(nullptr);
  }
  void Pump() {
    for (int i = 0; i < 3; ++i) {
      QCoreApplication::processEvents();
      vcl::Application->ProcessMessages();
    }
  }
  void Advance(uint64_t ms) {
    clock->Advance(ms);
    vcl::Application->ProcessMessages();
  }
  vcl::TPoint TabCentre(int i) const {
    const vcl::TRect r = pager->GetTabRect(i);
    return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
  }
  void Click(int tab, vcl::Cardinal down = vcl::WM_LBUTTONDOWN, vcl::Cardinal up = vcl::WM_LBUTTONUP) {
    const vcl::TPoint p = TabCentre(tab);
    const vcl::LPARAM at = vcl::MakeLParam(static_cast<vcl::Word>(p.X), static_cast<vcl::Word>(p.Y));
    pager->Perform(down, 0, at);
    pager->Perform(up, 0, at);
  }
  void Move(int x, int y) {
    pager->Perform(vcl::WM_MOUSEMOVE, 0, vcl::MakeLParam(static_cast<vcl::Word>(x), static_cast<vcl::Word>(y)));
  }
};

TEST(RibbonPagerInput, ClicksOnTabs) {
  InputRig rig;
  rig.Click(2);
  EXPECT_EQ(rig.pager->GetActivePageIndex(), 2);
  EXPECT_EQ(rig.tabClicks, std::vector<int>{2});
  EXPECT_EQ(rig.changes, 1);
  // A disabled tab: OnTabClick, no change; it is the pressed tab until
  // the release.
  rig.pages[3]->SetTabEnabled(false);
  const vcl::TPoint p = rig.TabCentre(3);
  rig.pager->Perform(vcl::WM_LBUTTONDOWN, 0, vcl::MakeLParam(static_cast<vcl::Word>(p.X), static_cast<vcl::Word>(p.Y)));
  EXPECT_EQ(rig.pager->PressedTab(), 3);
  rig.pager->Perform(vcl::WM_LBUTTONUP, 0, vcl::MakeLParam(static_cast<vcl::Word>(p.X), static_cast<vcl::Word>(p.Y)));
  EXPECT_EQ(rig.pager->PressedTab(), -1);
  EXPECT_EQ(rig.pager->GetActivePageIndex(), 2);
  EXPECT_EQ(rig.tabClicks, (std::vector<int>{2, 3}));
  EXPECT_EQ(rig.changes, 1);
  // A right click activates like a left one; below the tabs nothing.
  rig.Click(1, vcl::WM_RBUTTONDOWN, vcl::WM_RBUTTONUP);
  EXPECT_EQ(rig.pager->GetActivePageIndex(), 1);
  rig.pager->Perform(vcl::WM_LBUTTONDOWN, 0, vcl::MakeLParam(300, 80));
  EXPECT_EQ(rig.tabClicks, (std::vector<int>{2, 3, 1}));
  EXPECT_TRUE(rig.pages[1]->Visible());
  EXPECT_FALSE(rig.pages[2]->Visible());
}

TEST(RibbonPagerInput, ArrowsWrapTheWheelDoesNot) {
  InputRig rig;
  EXPECT_EQ(rig.pager->Perform(vcl::WM_GETDLGCODE), 129);
  rig.pager->Perform(vcl::WM_KEYDOWN, vcl::VK_LEFT);
  EXPECT_EQ(rig.pager->GetActivePageIndex(), 3);
  rig.pager->Perform(vcl::WM_KEYDOWN, vcl::VK_RIGHT);
  EXPECT_EQ(rig.pager->GetActivePageIndex(), 0);
  // The wheel turned over the pager reaches the form (nothing below the
  // cursor takes it): towards the user the following tab, away the
  // previous, stopping at the ends.
  const vcl::TPoint over = rig.pager->ClientToScreen({300, 60});
  QCursor::setPos(over.X, over.Y);
  auto wheel = [&](int delta) {
    const vcl::WPARAM w = static_cast<vcl::WPARAM>(static_cast<uint32_t>(static_cast<uint16_t>(delta)) << 16);
    rig.pager->Perform(vcl::WM_MOUSEWHEEL, w, vcl::MakeLParam(static_cast<vcl::Word>(over.X), static_cast<vcl::Word>(over.Y)));
  };
  wheel(-120);
  EXPECT_EQ(rig.pager->GetActivePageIndex(), 1);
  wheel(-120);
  wheel(-120);
  wheel(-120);
  EXPECT_EQ(rig.pager->GetActivePageIndex(), 3);  // no wrap
  wheel(120);
  EXPECT_EQ(rig.pager->GetActivePageIndex(), 2);
  // Below the pager the form's wheel does not page.
  const vcl::TPoint below = rig.form->ClientToScreen({300, 250});
  QCursor::setPos(below.X, below.Y);
  wheel(120);
  EXPECT_EQ(rig.pager->GetActivePageIndex(), 2);
  rig.pager->SetEnableWheel(false);
  QCursor::setPos(over.X, over.Y);
  wheel(120);
  EXPECT_EQ(rig.pager->GetActivePageIndex(), 2);
}

TEST(RibbonPagerInput, DownFocusesTheFirstToolBarEscapeGoesBack) {
  InputRig rig;
  auto* bar = new TLumCustomToolBar(rig.form);
  bar->SetParent(rig.pages[0]);
  bar->SetTabStop(true);
  rig.Pump();
  rig.pager->SetFocus();
  rig.Pump();
  ASSERT_TRUE(rig.pager->Focused());
  rig.pager->Perform(vcl::WM_KEYDOWN, vcl::VK_DOWN);
  rig.Pump();
  EXPECT_TRUE(bar->Focused());
  rig.pager->SetFocus();
  rig.Pump();
  rig.pager->Perform(vcl::WM_KEYDOWN, vcl::VK_ESCAPE);
  rig.Pump();
  EXPECT_TRUE(rig.before->Focused());
}

TEST(RibbonPagerInput, AltAcceleratorActivatesVisibleTabs) {
  InputRig rig;
  rig.pages[2]->SetTabEnabled(false);
  rig.pages[3]->SetTabVisible(false);
  rig.pager->SetFocus();
  rig.Pump();
  auto altKey = [&](Qt::Key key, char ch) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::AltModifier, QString(QChar(ch)));
    QCoreApplication::sendEvent(rig.pager->Widget(), &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::AltModifier, QString(QChar(ch)));
    QCoreApplication::sendEvent(rig.pager->Widget(), &release);
    rig.Pump();
  };
  altKey(Qt::Key_H, 'h');  // disabled but visible: taken
  EXPECT_EQ(rig.pager->GetActivePageIndex(), 2);
  altKey(Qt::Key_G, 'g');  // invisible: not taken
  EXPECT_EQ(rig.pager->GetActivePageIndex(), 2);
  altKey(Qt::Key_E, 'e');
  EXPECT_EQ(rig.pager->GetActivePageIndex(), 1);
}

TEST(RibbonPagerInput, TabHints) {
  InputRig rig;
  rig.pager->SetShowTabHint(true);
  auto hintAt = [&](int tab) {
    const vcl::TPoint p = rig.TabCentre(tab);
    rig.Move(p.X, p.Y);
    vcl::THintInfo info;
    info.HintStr = "";
    rig.pager->Perform(vcl::CM_HINTSHOW, 0, reinterpret_cast<vcl::LPARAM>(&info));
    return info.HintStr;
  };
  EXPECT_EQ(hintAt(1), "");  // fits: no automatic hint
  rig.pages[1]->ContentWidth = 20;  // squeezed below its caption
  EXPECT_EQ(hintAt(0), "");
  EXPECT_EQ(hintAt(1), "&Edit");
  rig.pages[1]->SetTabHint("Editing commands");
  EXPECT_EQ(hintAt(0), "");
  EXPECT_EQ(hintAt(1), "Editing commands");
  rig.pager->SetShowTabHint(false);
  vcl::THintInfo info;
  info.HintStr = "prepared";
  rig.pager->Perform(vcl::CM_HINTSHOW, 0, reinterpret_cast<vcl::LPARAM>(&info));
  EXPECT_EQ(info.HintStr, "");
}

TEST(RibbonPagerInput, HotFadeInTwentySteps) {
  InputRig rig;
  const vcl::TPoint p = rig.TabCentre(2);
  rig.Move(p.X, p.Y);
  EXPECT_EQ(rig.pager->HotTab(), 2);
  ASSERT_NE(rig.pages[2]->FadeTimer(), nullptr);
  EXPECT_EQ(rig.pages[2]->FadeTimer()->Interval(), static_cast<vcl::Cardinal>(controls::GlowFadeInterval));
  for (int expected : {20, 40, 60, 80, 100}) {
    rig.Advance(30);
    EXPECT_EQ(rig.pages[2]->HotFade(), expected);
  }
  // The fade is over: its timer is gone.
  EXPECT_EQ(rig.pages[2]->FadeTimer(), nullptr);
  EXPECT_EQ(rig.pages[2]->FadeMode(), 2);
  // Onto the next tab: the first fades out while the second fades in.
  const vcl::TPoint q = rig.TabCentre(3);
  rig.Move(q.X, q.Y);
  rig.Advance(30);
  EXPECT_EQ(rig.pages[2]->HotFade(), 80);
  EXPECT_EQ(rig.pages[3]->HotFade(), 20);
  for (int i = 0; i < 4; ++i) rig.Advance(30);
  EXPECT_EQ(rig.pages[2]->HotFade(), 0);
  EXPECT_EQ(rig.pages[3]->HotFade(), 100);
  EXPECT_EQ(rig.pages[2]->FadeTimer(), nullptr);
}

}  // namespace
