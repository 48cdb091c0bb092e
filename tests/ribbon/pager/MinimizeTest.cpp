// The minimised ribbon: collapsed heights, double clicks on the active tab
// within 600 ms on the manual clock, the page shown in a popup below the
// tabs through its twin (its toolbars moved in and back), and the state
// kept in an INI file or in the registry stand-in.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QCursor>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <memory>

#include "controls/LumGlowButton.h"
#include "ribbon/RorIvezEviDraw.h"
#include "ribbon/RorIvezEviPager.h"
#include "ribbon/RorIvezEviPopups.h"
#include "rtl/Clock.h"
#include "rtl/IniFiles.h"
#include "rtl/Registry.h"
#include "vcl/Forms.h"

namespace {

using namespace ribbon;

class MinimizePager : public TRorIvezEviPager {
 public:
  explicit MinimizePager(vcl::TComponent* owner) : TRorIvezEviPager(owner) {}
  void FinishLoading() { Loaded(); }
};

struct MinimizeRig {
  std::shared_ptr<rtl::ManualClock> clock = std::make_shared<rtl::ManualClock>(1000000);
  vcl::TForm* form = nullptr;
  MinimizePager* pager = nullptr;
  std::vector<TLumPage*> pages;
  std::vector<TRorIvezEvi*> bars;
  int collapses = 0, expands = 0;

  // Persistence is set up before loading when a key is given.
  explicit MinimizeRig(bool caption = false, const char* key = nullptr,
                       TPersistenceLocation location = plIniFile) {
    rtl::InstallClock(clock);
    QCursor::setPos(2, 2);
    form = new vcl::TForm(vcl::Application, 0);
    form->SetBounds(40, 40, 800, 300);
    pager = new MinimizePager(form);
    pager->SetName("mainpager");
    pager->SetParent(form);
    pager->SetHeight(caption ? 147 : 120);
    pager->PageCaption()->SetVisible(caption);
    pager->TabSettings()->SetHeight(34);
    pager->SetShowHelpButton(false);
    for (const char* c : {"&File", "&Edit", "&Home"}) {
      auto* p = new TLumPage(form);
      p->SetCaption(c);
      p->SetParent(pager);
      auto* bar = new TRorIvezEvi(form);
      bar->SetCaption(c);
      auto* b = new controls::TLumGlowButton(form);
      b->SetCaption("Run");
      b->SetBounds(2, 2, 60, 20);
      b->SetParent(bar);
      bar->SetParent(p);
      pages.push_back(p);
      bars.push_back(bar);
    }
    pager->OnCollaps = [this](vcl::TObject*) { ++collapses; };
    pager->OnExpand = [this](vcl::TObject*) { ++expands; };
    if (key) {
      pager->Persistence()->SetLocation(location);
      pager->Persistence()->SetKey(key);
      pager->Persistence()->SetSection("Ribbon");
      pager->Persistence()->SetEnabled(true);
    }
    pager->FinishLoading();
    pager->SetActivePageIndex(0);
    form->Show();
    Pump();
  }
  ~MinimizeRig() {
    if (pager) {
      pager->OnCollaps = nullptr;
      pager->OnExpand = nullptr;
    }
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
  void Advance(int ms) {
    clock->Advance(static_cast<uint64_t>(ms));
    vcl::Application->ProcessMessages();
    Pump();
  }
  QPoint TabCentre(int index) const {
    const vcl::TRect r = pager->GetTabRect(index);
    return QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }
  void ClickTab(int index) {
    const QPoint at = TabCentre(index);
    QTest::mousePress(pager->Widget(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(pager->Widget(), Qt::LeftButton, {}, at);
    Pump();
  }
};

TEST(RibbonMinimize, CollapsedHeightsAndEvents) {
  struct Row {
    bool caption;
    int expanded, collapsed;
  };
  // Hidden caption: the tab row alone (the main window's 120 to 34); with
  // the caption bar its 27 pixels stay too.
  for (const Row& r : {Row{false, 120, 34}, Row{true, 147, 61}}) {
    MinimizeRig rig(r.caption);
    EXPECT_TRUE(rig.pager->IsExpanded());
    const vcl::TRect page = rig.pages[0]->BoundsRect();
    rig.pager->Collapse();
    EXPECT_FALSE(rig.pager->IsExpanded());
    EXPECT_EQ(rig.pager->Height(), r.collapsed);
    EXPECT_EQ(rig.pager->SavedExpandedHeight(), r.expanded);
    rig.pager->Collapse();  // already minimised: nothing
    EXPECT_EQ(rig.collapses, 1);
    // The pages keep their size under the tab row.
    EXPECT_EQ(rig.pages[0]->BoundsRect(), page);
    rig.pager->Expand();
    rig.pager->Expand();
    EXPECT_TRUE(rig.pager->IsExpanded());
    EXPECT_EQ(rig.pager->Height(), r.expanded);
    EXPECT_EQ(rig.pages[0]->BoundsRect(), page);
    EXPECT_EQ(rig.expands, 1);
  }
}

TEST(RibbonMinimize, DoubleClickOnTheActiveTab) {
  MinimizeRig rig;
  // Two clicks within 600 ms on the active tab collapse; two more expand.
  rig.ClickTab(0);
  rig.Advance(300);
  rig.ClickTab(0);
  EXPECT_FALSE(rig.pager->IsExpanded());
  EXPECT_EQ(rig.pager->Height(), 34);
  EXPECT_EQ(rig.collapses, 1);
  rig.Advance(700);
  rig.ClickTab(0);
  rig.ClickTab(0);
  EXPECT_TRUE(rig.pager->IsExpanded());
  EXPECT_EQ(rig.pager->Height(), 120);
  EXPECT_EQ(rig.expands, 1);
  EXPECT_FALSE(rig.pager->IsPopupShowing());
  // Clicks 600 ms apart are two single clicks.
  rig.Advance(700);
  rig.ClickTab(0);
  rig.Advance(600);
  EXPECT_EQ(rig.pager->ClickCount(), 0);
  rig.ClickTab(0);
  EXPECT_TRUE(rig.pager->IsExpanded());
  // A double click on an inactive tab only selects it; another one, after
  // the window has passed, minimises.
  rig.Advance(700);
  rig.ClickTab(1);
  rig.ClickTab(1);
  EXPECT_EQ(rig.pager->GetActivePageIndex(), 1);
  EXPECT_TRUE(rig.pager->IsExpanded());
  rig.Advance(700);
  rig.ClickTab(1);
  rig.ClickTab(1);
  EXPECT_FALSE(rig.pager->IsExpanded());
  // HidePagesOnDblClick False: double clicks toggle nothing.
  rig.pager->Expand();
  rig.pager->SetHidePagesOnDblClick(false);
  rig.Advance(700);
  rig.ClickTab(1);
  rig.ClickTab(1);
  EXPECT_TRUE(rig.pager->IsExpanded());
}

TEST(RibbonMinimize, PagePopupHoldsTheTwin) {
  MinimizeRig rig;
  rig.pager->Collapse();
  EXPECT_EQ(rig.pager->MinimizedPopup(), nullptr);
  // A click on the active tab: the popup below the tabs at the page's
  // left less 2, the page's toolbar in its twin.
  rig.ClickTab(0);
  ASSERT_TRUE(rig.pager->IsPopupShowing());
  TMinimizedRibbonWindow* popup = rig.pager->MinimizedPopup();
  EXPECT_EQ(popup->Name(), "mainpager_RibbonWindow");
  const vcl::TPoint at = rig.pager->ClientToScreen({rig.pager->GetPageRect().Left - 2, rig.pager->GetTabsArea().Bottom});
  EXPECT_EQ(popup->Left(), at.X);
  EXPECT_EQ(popup->Top(), at.Y);
  TLumPage* twin = rig.pages[0]->Twin();
  ASSERT_NE(twin, nullptr);
  EXPECT_EQ(twin->TwinOf(), rig.pages[0]);
  EXPECT_EQ(twin->Parent(), popup);
  EXPECT_EQ(popup->Page(), twin);
  EXPECT_EQ(twin->Caption(), "&File");
  EXPECT_EQ(rig.bars[0]->Parent(), twin);
  EXPECT_EQ(rig.pages[0]->ToolBarCount(), 1);
  // 120 less the tab row, the page margin and 1 high; the window 3 larger.
  EXPECT_EQ(twin->Height(), 120 - 34 - RibbonPageMargin() - 1);
  EXPECT_EQ(popup->ClientHeight(), twin->Height() + 3);
  EXPECT_EQ(popup->ClientWidth(), twin->Width() + 3);
  // The twin paints in the pager's styler (not a blank control).
  EXPECT_EQ(rig.bars[0]->CurrentStyler(), rig.pager->CurrentStyler());
  // A second click on it (past the double-click window) closes the popup;
  // the toolbar is home again.
  rig.Advance(700);
  rig.ClickTab(0);
  EXPECT_FALSE(rig.pager->IsExpanded());
  EXPECT_FALSE(rig.pager->IsPopupShowing());
  EXPECT_EQ(rig.pages[0]->Twin(), nullptr);
  EXPECT_EQ(rig.bars[0]->Parent(), rig.pages[0]);
  // Another tab: its page in a new popup, the first page's toolbar left
  // at home.
  rig.Advance(700);
  rig.ClickTab(2);
  ASSERT_TRUE(rig.pager->IsPopupShowing());
  EXPECT_EQ(rig.pager->GetActivePageIndex(), 2);
  EXPECT_EQ(rig.bars[2]->Parent(), rig.pages[2]->Twin());
  EXPECT_EQ(rig.bars[0]->Parent(), rig.pages[0]);
  // Expanding closes it and brings everything back.
  rig.pager->Expand();
  rig.Pump();
  EXPECT_EQ(rig.pager->MinimizedPopup(), nullptr);
  EXPECT_EQ(rig.bars[2]->Parent(), rig.pages[2]);
  EXPECT_EQ(rig.bars[2]->Top(), 3);
}

TEST(RibbonMinimize, StateKeptInAnIniFileAndTheRegistry) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string ini = dir.filePath("ribbon.ini").toStdString();
  const std::string registry = dir.filePath("registry.ini").toStdString();
  rtl::SetRegistryFile(registry);
  struct Row {
    TPersistenceLocation location;
    std::string key;
  };
  for (const Row& r : {Row{plIniFile, ini}, Row{plRegistry, "Software\\Tolvane\\Ribbon"}}) {
    {
      MinimizeRig rig(false, r.key.c_str(), r.location);
      EXPECT_TRUE(rig.pager->IsExpanded()) << "nothing stored yet";
      rig.pager->Collapse();
    }  // saved as the pager goes
    std::unique_ptr<rtl::TCustomIniFile> store;
    if (r.location == plIniFile)
      store = std::make_unique<rtl::TIniFile>(r.key);
    else
      store = std::make_unique<rtl::TRegistryIniFile>(r.key);
    EXPECT_EQ(store->ReadInteger("Ribbon", "Minimized", -1), 1);
    EXPECT_EQ(store->ReadInteger("Ribbon", "ShowQATBelow", -1), 0);
    // Without a quick access toolbar a stored 1 for it changes nothing.
    store->WriteInteger("Ribbon", "ShowQATBelow", 1);
    store->UpdateFile();
    {
      MinimizeRig rig(false, r.key.c_str(), r.location);
      EXPECT_FALSE(rig.pager->IsExpanded()) << "minimised right after loading";
      EXPECT_EQ(rig.pager->Height(), 34);
      EXPECT_EQ(rig.collapses, 1);
      rig.pager->Expand();
    }
    std::unique_ptr<rtl::TCustomIniFile> again;
    if (r.location == plIniFile)
      again = std::make_unique<rtl::TIniFile>(r.key);
    else
      again = std::make_unique<rtl::TRegistryIniFile>(r.key);
    EXPECT_EQ(again->ReadInteger("Ribbon", "Minimized", -1), 0);
    EXPECT_EQ(again->ReadInteger("Ribbon", "ShowQATBelow", -1), 0);
  }
  // An empty section: nothing read or written.
  const std::string other = dir.filePath("other.ini").toStdString();
  {
    MinimizeRig rig(false, other.c_str(), plIniFile);
    rig.pager->Persistence()->SetSection("");
    rig.pager->Collapse();
  }
  EXPECT_FALSE(QFile::exists(QString::fromStdString(other)));
  // A store that cannot be written: the state is lost, the pager still goes.
  const std::string unwritable = dir.filePath("missing/folder/ribbon.ini").toStdString();
  EXPECT_NO_THROW({
    MinimizeRig rig(false, unwritable.c_str(), plIniFile);
    rig.pager->Collapse();
  });
  rtl::SetRegistryFile("");
}

}  // namespace
