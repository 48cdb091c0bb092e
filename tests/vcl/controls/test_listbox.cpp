// The list box: sorted and unsorted items, the selection that follows its
// item, mouse and keyboard choices with their events, scrolling, owner
// drawing and painting.
#include <gtest/gtest.h>

#include <QImage>
#include <QScrollBar>
#include <QTest>

#include "TestSupport.h"
#include "rtl/Clock.h"
#include "vcl/ListBox.h"
#include "vcl/WinApi.h"

using namespace vcl;
using namespace vcltest;

namespace {

class ListBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    clock = std::make_shared<rtl::ManualClock>(100000);
    scoped = std::make_unique<rtl::ScopedClock>(clock);
    form = MakeForm(300, 260);
    box = new TListBox(form);
    box->SetBounds(10, 10, 150, 104);  // 100 pixels inside the border
    box->SetItemHeight(20);
    box->SetParent(form);
    box->OnClick = [this](TObject*) { clicks.push_back(box->ItemIndex()); };
    box->OnDblClick = [this](TObject*) { doubleClicks.push_back(box->ItemIndex()); };
    form->Show();
    Pump();
  }
  void TearDown() override {
    Free(form);
    scoped.reset();
  }
  void Fill(int n) {
    for (int i = 0; i < n; ++i) box->Items()->Add("item " + std::to_string(i));
  }
  void Click(TPoint p) {
    clock->Advance(5000);
    QTest::mouseClick(box->Widget(), Qt::LeftButton, Qt::NoModifier, QPoint(p.X + 2, p.Y + 2));
  }
  void Key(Qt::Key k) { QTest::keyClick(box->Widget(), k); }
  std::vector<std::string> Texts() {
    std::vector<std::string> v;
    for (Integer i = 0; i < box->Count(); ++i) v.push_back(box->Items()->Get(i));
    return v;
  }

  std::shared_ptr<rtl::ManualClock> clock;
  std::unique_ptr<rtl::ScopedClock> scoped;
  TForm* form = nullptr;
  TListBox* box = nullptr;
  std::vector<Integer> clicks, doubleClicks;
};

using Strings = std::vector<std::string>;

}  // namespace

TEST_F(ListBoxTest, SortedListsIgnoreCaseAndKeepTheSelectionOnItsItem) {
  box->Items()->Add("pear");
  box->Items()->Add("Apple");
  box->Items()->Add("fig");
  EXPECT_EQ(Texts(), (Strings{"pear", "Apple", "fig"}));
  box->SetItemIndex(0);  // pear
  box->SetSorted(true);
  EXPECT_EQ(Texts(), (Strings{"Apple", "fig", "pear"}));
  EXPECT_EQ(box->ItemIndex(), 2);
  box->Items()->Add("banana");  // before the selection
  EXPECT_EQ(box->ItemIndex(), 3);
  EXPECT_EQ(box->Items()->Get(box->ItemIndex()), "pear");
  box->Items()->Add("quince");  // after it
  EXPECT_EQ(box->ItemIndex(), 3);
  box->Items()->Delete(0);
  EXPECT_EQ(box->ItemIndex(), 2);
  box->Items()->Delete(2);  // the selected item itself
  EXPECT_EQ(box->ItemIndex(), -1);
  EXPECT_TRUE(clicks.empty());  // nothing of this was the user's
  box->SetItemIndex(99);
  EXPECT_EQ(box->ItemIndex(), -1);
  box->Clear();
  EXPECT_EQ(box->Count(), 0);
}

TEST_F(ListBoxTest, UnsortedInsertsMovesAndExchangesCarryTheSelection) {
  Fill(4);
  box->SetItemIndex(1);
  box->Items()->Insert(0, "new");
  EXPECT_EQ(box->ItemIndex(), 2);
  box->Items()->Move(2, 0);
  EXPECT_EQ(box->ItemIndex(), 0);
  box->Items()->Exchange(0, 3);
  EXPECT_EQ(box->ItemIndex(), 3);
  EXPECT_EQ(box->Items()->Get(3), "item 1");
  // Objects ride along.
  int tag = 7;
  box->Items()->AddObject("with object", &tag);
  EXPECT_EQ(box->Items()->Objects(box->Count() - 1), &tag);
}

TEST_F(ListBoxTest, ClicksKeysAndDoubleClicksChooseItems) {
  Fill(3);
  Click({20, 25});  // the second item
  EXPECT_EQ(box->ItemIndex(), 1);
  EXPECT_EQ(clicks, (std::vector<Integer>{1}));
  Click({20, 90});  // below the items: nothing
  EXPECT_EQ(box->ItemIndex(), 1);
  EXPECT_EQ(clicks.size(), 1u);
  Key(Qt::Key_Down);
  Key(Qt::Key_Down);  // already on the last one: no event
  EXPECT_EQ(box->ItemIndex(), 2);
  Key(Qt::Key_Home);
  EXPECT_EQ(clicks, (std::vector<Integer>{1, 2, 0}));
  // A double click selects, then reports the item.
  clock->Advance(5000);
  QTest::mouseClick(box->Widget(), Qt::LeftButton, Qt::NoModifier, QPoint(22, 47));
  QTest::mouseClick(box->Widget(), Qt::LeftButton, Qt::NoModifier, QPoint(22, 47));
  EXPECT_EQ(doubleClicks, (std::vector<Integer>{2}));
  // Typing a first letter finds the next item with it.
  box->Items()->Add("zebra");
  QTest::keyClicks(box->Widget(), "z");
  EXPECT_EQ(box->ItemIndex(), 3);
  QTest::keyClicks(box->Widget(), "i");  // wraps round to the first "item"
  EXPECT_EQ(box->ItemIndex(), 0);
}

TEST_F(ListBoxTest, ScrollingKeepsTheSelectionInView) {
  Fill(30);
  EXPECT_EQ(box->VisibleItemCount(), 5);
  box->SetItemIndex(12);
  EXPECT_EQ(box->TopIndex(), 8);  // the item shows as the last row
  Key(Qt::Key_PageDown);
  EXPECT_EQ(box->ItemIndex(), 16);
  EXPECT_EQ(box->TopIndex(), 12);
  box->Perform(WM_VSCROLL, MakeWParam(SB_BOTTOM, 0));
  EXPECT_EQ(box->TopIndex(), 25);
  box->Perform(WM_VSCROLL, MakeWParam(SB_LINEUP, 0));
  EXPECT_EQ(box->TopIndex(), 24);
  EXPECT_EQ(box->ItemAtPos({10, 5}, true), 24);
  EXPECT_EQ(box->ItemRect(25), Rect(0, 20, box->ClientWidth(), 40));
  box->SetTopIndex(-4);
  EXPECT_EQ(box->TopIndex(), 0);
  // Emptying the list leaves nothing to scroll.
  box->Clear();
  EXPECT_EQ(box->TopIndex(), 0);
  EXPECT_EQ(box->ItemAtPos({10, 5}, false), -1);
}

TEST_F(ListBoxTest, PaintsSelectionDisabledItemsAndOwnerDrawing) {
  Fill(3);
  box->SetItemIndex(1);
  box->Update();
  TCanvas* c = box->Canvas();
  EXPECT_EQ(c->Pixels(box->ClientWidth() - 3, 30), ColorToRGB(clHighlight));
  EXPECT_EQ(c->Pixels(box->ClientWidth() - 3, 10), ColorToRGB(clWindow));
  // Owner drawing gets each item with its state.
  std::vector<std::pair<Integer, bool>> drawn;
  box->SetStyle(lbOwnerDrawFixed);
  box->OnDrawItem = [&](TWinControl* control, Integer index, TRect r, TOwnerDrawState state) {
    drawn.push_back({index, state.Contains(odSelected)});
    TCanvas* canvas = static_cast<TListBox*>(control)->Canvas();
    canvas->Brush()->SetColor(index == 2 ? clRed : clWindow);
    canvas->FillRect(r);
  };
  box->Update();
  EXPECT_EQ(drawn, (std::vector<std::pair<Integer, bool>>{{0, false}, {1, true}, {2, false}}));
  EXPECT_EQ(c->Pixels(10, 50), ColorToRGB(clRed));
  box->SetStyle(lbStandard);
  box->SetEnabled(false);
  box->Update();
  AnsiString file = AnsiString(TOLVANE_BUILD_DIR) + "/vcl-listbox.png";
  ASSERT_TRUE(form->SaveWindowImage(file));
}

// An owner-drawn list with more items than fit shows its vertical bar in the
// strip the client area leaves: the bar's own pixels, not the items', are
// what a grab of the box shows there, whether the bar came before or after
// the window was shown, with or without the sunken border, and for a box
// made on a form already shown.
TEST(ListBoxScrollBar, OwnerDrawnListShowsItsBarInTheStrip) {
  struct Case {
    const char* name;
    bool border;
    bool fillAfterShow;
    bool createdOnShownForm;
  };
  const Case cases[] = {{"bordered-filled-before-show", true, false, false},
                        {"bordered-filled-after-show", true, true, false},
                        {"borderless-filled-before-show", false, false, false},
                        {"borderless-filled-after-show", false, true, false},
                        {"bordered-created-on-shown-form", true, false, true}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    TForm* form = MakeForm(300, 200);
    if (k.createdOnShownForm) {
      form->Show();
      Pump();
    }
    auto* box = new TListBox(form);
    box->SetBorderVisible(k.border);
    box->SetBounds(10, 10, 150, 104);
    box->SetItemHeight(20);
    box->SetStyle(lbOwnerDrawFixed);
    box->OnDrawItem = [box](TWinControl*, Integer, TRect r, TOwnerDrawState) {
      box->Canvas()->Brush()->SetColor(clRed);
      box->Canvas()->FillRect(r);
    };
    box->SetParent(form);
    auto fill = [box] {
      for (int i = 0; i < 30; ++i) box->Items()->Add("item " + std::to_string(i));
    };
    if (!k.fillAfterShow) fill();
    form->Show();
    Pump();
    if (k.fillAfterShow) fill();
    Pump();
    box->Update();

    QScrollBar* bar = nullptr;
    for (QObject* o : box->Widget()->children())
      if (auto* b = qobject_cast<QScrollBar*>(o)) bar = b;
    ASSERT_NE(bar, nullptr);
    // The client area gives up the bar's width, inside the border.
    const int edge = k.border ? 2 : 0;
    const int ext = bar->width();
    EXPECT_GT(ext, 0);
    ASSERT_EQ(box->ClientWidth(), 150 - 2 * edge - ext);
    const QRect strip(edge + box->ClientWidth(), edge, ext, 104 - 2 * edge);
    EXPECT_EQ(bar->geometry(), strip);
    const QImage shot = box->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    shot.save(QString(TOLVANE_BUILD_DIR) + "/vcl-listbox-scrollbar-" + k.name + ".png");
    // The items reach the strip's edge and stop there.
    EXPECT_EQ(shot.pixel(strip.left() - 1, 50), qRgb(255, 0, 0));
    int red = 0, dark = 0;
    for (int y = strip.top(); y <= strip.bottom(); ++y)
      for (int x = strip.left(); x <= strip.right(); ++x) {
        const QRgb p = shot.pixel(x, y);
        if (p == qRgb(255, 0, 0)) ++red;
        if (qGray(p) < 128) ++dark;
      }
    EXPECT_EQ(red, 0) << "items painted in the bar's strip";
    EXPECT_GT(dark, 0) << "no arrow drawn in the strip";
    // What shows in the strip is the window's own bar as it draws itself.
    const QImage own = bar->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shot.copy(strip), own);
    // The form's picture shows it as well.
    const QImage window = form->WindowWidget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QPoint at = box->Widget()->mapTo(form->WindowWidget(), strip.topLeft());
    EXPECT_EQ(window.copy(QRect(at, strip.size())), own);
    Free(form);
  }
}
