// The item selector on the offscreen platform: the layout in columns, the
// item size from boxes and captions, selection and hot tracking by calls
// and by real mouse input (disabled items refused, indexes past the items
// ignored), keyboard-style steps, prefix search through mini-HTML,
// scrolling an item into view, and the hot, selected and plain looks
// drawn through the grid's selection box for the three colour styles,
// pixel for pixel against the routine drawing the same box on a bitmap.
#include <gtest/gtest.h>

#include <QTest>
#include <string>
#include <vector>

#include "DropdownTestSupport.h"
#include "dropdown/LumDropDownDraw.h"
#include "dropdown/LumItemSelector.h"
#include "grid/draw/GridDraw.h"
#include "rtl/Exceptions.h"
#include "vcl/ImgList.h"
#include "vcl/Pictures.h"

namespace dropdown {
namespace {

using namespace ddtest;

struct SelectorRig {
  TForm* owner = MakeForm(320, 240);
  TLumCustomItemSelector* sel = nullptr;
  int selects = 0;

  explicit SelectorRig(int items = 5, int columns = 2, TSize itemSize = {40, 20}) {
    sel = new TLumCustomItemSelector(owner);
    sel->SetParent(owner);
    sel->SetBounds(10, 10, 200, 200);
    if (itemSize.cx > 0) sel->OnItemSize = [itemSize](TObject*, TSize& s) { s = itemSize; };
    sel->SetColumns(columns);
    sel->OnItemSelect = [this](TObject*) { ++selects; };
    for (int i = 0; i < items; ++i) sel->Items()->Add()->SetCaption("Item " + std::to_string(i));
    Pump();
  }
  ~SelectorRig() { Free(owner); }
  TCustomItemSelector* inner() const { return sel->Selector(); }
  TRect ItemRect(int i) const { return sel->Items()->Items(i)->ItemRect(); }
};

TEST(ItemSelector, FiveItemsInTwoColumnsMakeThreeRows) {
  SelectorRig rig(5, 2);
  const TRect want[] = {{2, 2, 42, 22}, {42, 2, 82, 22}, {2, 22, 42, 42}, {42, 22, 82, 42}, {2, 42, 42, 62}};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(rig.ItemRect(i), want[i]) << i;
  // Two items wide plus twice the margin; three rows plus twice the margin.
  EXPECT_EQ(rig.sel->GetSelectorSize().cx, 2 * 40 + 2 * 2);
  EXPECT_EQ(rig.sel->GetSelectorSize().cy, 3 * 20 + 2 * 2);
  EXPECT_EQ(rig.inner()->ItemAtPos(41, 21), 0);
  EXPECT_EQ(rig.inner()->ItemAtPos(42, 22), 3);
  EXPECT_EQ(rig.inner()->ItemAtPos(60, 50), -1);
  EXPECT_EQ(rig.inner()->ItemAtPos(1, 1), -1);
  rig.sel->SetColumns(0);  // refused
  EXPECT_EQ(rig.sel->Columns(), 2);
  rig.sel->SetColumns(5);
  EXPECT_EQ(rig.sel->GetSelectorSize().cx, 5 * 40 + 4);
  EXPECT_EQ(rig.sel->GetSelectorSize().cy, 20 + 4);
  rig.sel->Items()->Clear();
  rig.sel->LayoutItems();
  EXPECT_EQ(rig.sel->GetSelectorSize().cx, 100);
  EXPECT_EQ(rig.sel->GetSelectorSize().cy, 50);
}

TEST(ItemSelector, TheItemSizeComesFromTheBoxAndTheWidestCaption) {
  SelectorRig rig(0, 1, {0, 0});
  rig.sel->SetSelectorType(TSelectorType::stColor);
  rig.sel->Items()->Add()->SetCaption("Red");
  rig.sel->Items()->Add()->SetCaption("<b>Dark olive green</b>");
  // The captions measured as the selector measures them.
  TBitmap scratch(10, 10);
  scratch.Canvas()->Font()->Assign(rig.sel->ItemAppearance()->Font());
  int tw = 0, th = 0;
  for (const char* c : {"Red", "<b>Dark olive green</b>"}) {
    TSize s = DrawHTMLCaption(scratch.Canvas(), c, TRect{0, 0, 1000, 500}, nullptr, false, 0);
    tw = std::max<int>(tw, s.cx);
    th = std::max<int>(th, s.cy);
  }
  ASSERT_GT(tw, 0);
  tw += 4;
  struct Case {
    TItemLayout layout;
    int w, h;
  } cases[] = {
      {TItemLayout::ilCaptionRight, 2 * 4 + 14 + 4 + tw, std::max(th, 14) + 8},
      {TItemLayout::ilCaptionLeft, 2 * 4 + 14 + 4 + tw, std::max(th, 14) + 8},
      {TItemLayout::ilCaptionTop, std::max(tw, 14) + 8, 2 * 4 + 14 + 4 + th},
      {TItemLayout::ilCaptionBottom, std::max(tw, 14) + 8, 2 * 4 + 14 + 4 + th},
  };
  for (const Case& c : cases) {
    rig.sel->SetItemLayout(c.layout);
    rig.sel->LayoutItems();
    const TRect r = rig.ItemRect(1);
    EXPECT_EQ(r.Right - r.Left, c.w) << static_cast<int>(c.layout);
    EXPECT_EQ(r.Bottom - r.Top, c.h) << static_cast<int>(c.layout);
  }
  // Wider colour boxes lay the items out again.
  rig.sel->SetItemLayout(TItemLayout::ilCaptionRight);
  rig.sel->SetColorBoxWidth(30);
  EXPECT_EQ(rig.ItemRect(0).Right - rig.ItemRect(0).Left, 2 * 4 + 30 + 4 + tw);
  // Without captions or boxes an image item is its insets.
  SelectorRig bare(2, 1, {0, 0});
  for (int i = 0; i < 2; ++i) bare.sel->Items()->Items(i)->SetCaption("");
  EXPECT_EQ(bare.ItemRect(0), (TRect{2, 2, 10, 10}));
}

TEST(ItemSelector, SelectionRefusesDisabledItemsAndIndexesPastTheEnd) {
  SelectorRig rig(4, 1);
  rig.sel->Items()->Items(2)->SetEnabled(false);
  struct Step {
    const char* name;
    int index;
    int selected, selects;
  } steps[] = {
      {"first", 0, 0, 1},
      {"again fires again", 0, 0, 2},
      {"disabled refused", 2, 0, 2},
      {"past the end ignored", 4, 0, 2},
      {"far below ignored", -2, 0, 2},
      {"last", 3, 3, 3},
      {"none", -1, -1, 3},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.name);
    rig.sel->SetItemIndex(s.index);
    EXPECT_EQ(rig.sel->ItemIndex(), s.selected);
    EXPECT_EQ(rig.selects, s.selects);
  }
}

TEST(ItemSelector, StepsKeepWithinTheItems) {
  SelectorRig rig(3, 1);
  TLumCustomItemSelector* s = rig.sel;
  struct Step {
    const char* name;
    void (TLumCustomItemSelector::*op)();
    int selected, hot;
  } steps[] = {
      {"next from none selects the first", &TLumCustomItemSelector::SelectNext, 0, -1},
      {"next", &TLumCustomItemSelector::SelectNext, 1, -1},
      {"last", &TLumCustomItemSelector::SelectLast, 2, -1},
      {"next on the last keeps it", &TLumCustomItemSelector::SelectNext, 2, -1},
      {"previous", &TLumCustomItemSelector::SelectPrevious, 1, -1},
      {"first", &TLumCustomItemSelector::SelectFirst, 0, -1},
      {"previous on the first keeps it", &TLumCustomItemSelector::SelectPrevious, 0, -1},
      {"hot next from none", &TLumCustomItemSelector::HotNext, 0, 0},
      {"hot next", &TLumCustomItemSelector::HotNext, 0, 1},
      {"hot previous", &TLumCustomItemSelector::HotPrevious, 0, 0},
      {"hot previous on the first", &TLumCustomItemSelector::HotPrevious, 0, 0},
  };
  for (const Step& st : steps) {
    SCOPED_TRACE(st.name);
    (s->*st.op)();
    EXPECT_EQ(s->ItemIndex(), st.selected);
    EXPECT_EQ(s->HotIndex(), st.hot);
  }
  SelectorRig empty(0, 1);
  empty.sel->SelectNext();
  empty.sel->SelectLast();
  empty.sel->HotNext();
  EXPECT_EQ(empty.sel->ItemIndex(), -1);
  EXPECT_EQ(empty.sel->HotIndex(), -1);
  EXPECT_EQ(empty.selects, 0);
}

TEST(ItemSelector, PrefixSearchReadsTheCaptionsPlainText) {
  SelectorRig rig(0, 1);
  for (const char* c : {"<font color=\"clRed\">Red</font>", "  <b>Gr</b>een", "<i>grey</i>"})
    rig.sel->Items()->Add()->SetCaption(c);
  EXPECT_TRUE(rig.sel->SelectByPrefix("GR"));
  EXPECT_EQ(rig.sel->ItemIndex(), 1);
  EXPECT_TRUE(rig.sel->SelectByPrefix("GREY"));
  EXPECT_EQ(rig.sel->ItemIndex(), 2);
  EXPECT_FALSE(rig.sel->SelectByPrefix("Red"));  // compared as given
  EXPECT_FALSE(rig.sel->SelectByPrefix("BLUE"));
  EXPECT_EQ(rig.sel->ItemIndex(), 2);
}

TEST(ItemSelector, TheMouseSelectsAndTracksEnabledItemsOnly) {
  SelectorRig rig(4, 2);
  rig.sel->Items()->Items(1)->SetEnabled(false);
  rig.sel->Items()->Items(3)->SetHint("the fourth");
  QWidget* w = rig.inner()->Widget();
  auto centre = [&](int i) {
    TRect r = rig.ItemRect(i);
    return QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  };
  QTest::mouseMove(w, centre(3));
  Pump();
  EXPECT_EQ(rig.sel->HotIndex(), 3);
  EXPECT_EQ(rig.inner()->Hint(), "the fourth");
  QTest::mouseMove(w, centre(1));  // disabled: nothing hot
  Pump();
  EXPECT_EQ(rig.sel->HotIndex(), -1);
  QTest::mouseClick(w, Qt::LeftButton, {}, centre(1));
  Pump();
  EXPECT_EQ(rig.sel->ItemIndex(), -1);
  EXPECT_EQ(rig.selects, 0);
  QTest::mouseClick(w, Qt::RightButton, {}, centre(2));  // any button
  Pump();
  EXPECT_EQ(rig.sel->ItemIndex(), 2);
  EXPECT_EQ(rig.selects, 1);
  QTest::mouseMove(w, centre(0));
  Pump();
  EXPECT_EQ(rig.sel->HotIndex(), 0);
  QTest::mouseMove(w, QPoint(rig.sel->GetSelectorSize().cx - 1, rig.sel->GetSelectorSize().cy - 1));
  Pump();
  EXPECT_EQ(rig.sel->HotIndex(), -1);
  rig.sel->HotNext();
  rig.inner()->Perform(CM_MOUSELEAVE);
  EXPECT_EQ(rig.sel->HotIndex(), -1);
}

TEST(ItemSelector, SelectingScrollsTheItemIntoView) {
  SelectorRig rig(30, 1, {60, 20});
  rig.sel->SetBounds(10, 10, 100, 95);
  Pump();
  TControlScrollBar& bar = rig.sel->VertScrollBar();
  ASSERT_EQ(bar.Range(), 30 * 20 + 4);
  rig.sel->SetItemIndex(10);  // bottom 2 + 220 past the client height
  const int client = rig.sel->ClientHeight();
  EXPECT_EQ(bar.Position(), 222 - client);
  EXPECT_EQ(rig.inner()->Top(), -bar.Position());
  rig.sel->SetItemIndex(2);  // top 42 above the scrolled top
  EXPECT_EQ(bar.Position(), 42);
  rig.sel->SelectLast();
  EXPECT_EQ(bar.Position(), 602 - client);
  EXPECT_GT(rig.sel->VisibleItemCount(), 0);
  EXPECT_EQ(rig.sel->VisibleItemCount(), rig.sel->Height() / 20);
  // The thumb dragged moves the list at once.
  rig.sel->Perform(WM_VSCROLL, MakeWParam(SB_THUMBTRACK, 100), 0);
  EXPECT_EQ(bar.Position(), 100);
  EXPECT_EQ(rig.inner()->Top(), -100);
  EXPECT_EQ(rig.sel->Perform(WM_GETDLGCODE), 5);
}

TEST(ItemSelector, TheInnerListBelongsToASelectorOnly) {
  TComponent plain(nullptr);
  try {
    TCustomItemSelector inner(&plain);
    FAIL() << "created";
  } catch (const rtl::Exception& e) {
    EXPECT_EQ(std::string(e.Message()), "Invalid parent");
  }
}

// The looks on real pixels: the plain background, the hot and the selected
// box (selected winning over hot) for the three colour styles, each
// compared with the grid's routine drawing the same box on a bitmap.
TEST(ItemSelector, HotAndSelectedLooksAreTheGridsSelectionBox) {
  for (int style = 1; style <= 3; ++style) {
    SCOPED_TRACE(style);
    SelectorRig rig(3, 3, {40, 24});
    for (int i = 0; i < 3; ++i) rig.sel->Items()->Items(i)->SetCaption("");
    TItemAppearance* a = rig.sel->ItemAppearance();
    a->SetItemColorStyle(style);
    rig.sel->SetItemIndex(1);
    rig.inner()->SetHotIndex(1);  // hot as well: the selected look wins
    rig.inner()->SetHotIndex(2);
    rig.inner()->Invalidate();
    Pump();
    QImage shot = Grab(rig.inner());
    SaveShot(shot, ("dropdown_item_selector_style" + std::to_string(style) + ".png").c_str());
    const TColor background = ColorToRGB(clWindow);
    struct Look {
      int index;
      TColor from, to, mirror, mirrorTo;
    } looks[] = {
        {1, a->ColorSelected(), a->ColorSelectedTo(), a->ColorMirrorSelected(), a->ColorMirrorSelectedTo()},
        {2, a->ColorHot(), a->ColorHotTo(), a->ColorMirrorHot(), a->ColorMirrorHotTo()},
    };
    for (const Look& l : looks) {
      const TRect r = rig.ItemRect(l.index);
      TBitmap expected(r.Right, r.Bottom);
      grid::DrawSelectionBox(expected.Canvas(), l.from, l.to, l.mirror, l.mirrorTo, a->BorderColorTop(),
                             a->BorderColorBottom(), a->BorderColor(), a->EdgeColor(), background, r, 0);
      int differing = 0;
      for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) differing += PixelAt(shot, x, y) != expected.Canvas()->Pixels(x, y);
      EXPECT_EQ(differing, 0) << "item " << l.index;
    }
    const TRect plain = rig.ItemRect(0);
    for (int y = plain.Top; y < plain.Bottom; ++y)
      for (int x = plain.Left; x < plain.Right; ++x) ASSERT_EQ(PixelAt(shot, x, y), background) << x << "," << y;
  }
}

// Without a top border colour the look is the drop-down's own background:
// a gradient with a one-pixel border.
TEST(ItemSelector, WithoutATopBorderTheLookIsAFramedGradient) {
  SelectorRig rig(2, 2, {40, 24});
  for (int i = 0; i < 2; ++i) rig.sel->Items()->Items(i)->SetCaption("");
  TItemAppearance* a = rig.sel->ItemAppearance();
  a->SetBorderColorTop(clNone);
  a->SetBorderColor(0x0000FF);
  a->SetColorSelected(0x00FF00);
  a->SetColorSelectedTo(0x00FF00);
  rig.sel->SetItemIndex(0);
  Pump();
  QImage shot = Grab(rig.inner());
  const TRect r = rig.ItemRect(0);
  EXPECT_EQ(PixelAt(shot, r.Left, r.Top), TColor(0x0000FF));
  EXPECT_EQ(PixelAt(shot, r.Right - 1, r.Bottom - 1), TColor(0x0000FF));
  EXPECT_EQ(PixelAt(shot, r.Left + 5, r.Top + 5), TColor(0x00FF00));
}

// Colour boxes and captions where the layouts put them: a black-framed box
// in the item's colour at the content's top left (caption right), and a
// picture centred in an item without a caption (caption top).
TEST(ItemSelector, BoxesAndPicturesSitWhereTheLayoutPutsThem) {
  SelectorRig rig(0, 1, {0, 0});
  rig.sel->SetSelectorType(TSelectorType::stColor);
  TSelectorItem* red = rig.sel->Items()->Add();
  red->SetColor(0x0000FF);
  red->SetCaption("Red");
  Pump();
  QImage shot = Grab(rig.inner());
  const TRect r = rig.ItemRect(0);
  const int left = r.Left + 4, top = r.Top + 4;
  EXPECT_EQ(PixelAt(shot, left, top), TColor(clBlack));
  EXPECT_EQ(PixelAt(shot, left + 13, top + 13), TColor(clBlack));
  EXPECT_EQ(PixelAt(shot, left + 7, top + 7), TColor(0x0000FF));
  int ink = 0;
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = left + 14 + 4; x < r.Right; ++x) ink += PixelAt(shot, x, y) != ColorToRGB(clWindow);
  EXPECT_GT(ink, 5);  // the caption after the box and the spacing

  SelectorRig pictures(0, 1, {60, 50});
  pictures.sel->SetItemLayout(TItemLayout::ilCaptionTop);
  TBitmap square(10, 10);
  square.Canvas()->Brush()->SetColor(0xFF0000);
  square.Canvas()->FillRect(TRect{0, 0, 10, 10});
  TPicture picture;
  picture.SetGraphic(&square);
  TSelectorItem* item = pictures.sel->Items()->Add();
  item->SetImage(&picture);  // untold: the owner lays the items out
  pictures.sel->LayoutItems();
  Pump();
  shot = Grab(pictures.inner());
  SaveShot(shot, "dropdown_item_selector_picture.png");
  const TRect p = pictures.ItemRect(0);
  // Content 52 x 42 from (6, 6): the square at (6 + 21, 6 + 16).
  EXPECT_EQ(PixelAt(shot, p.Left + 4 + 21, p.Top + 4 + 16), TColor(0xFF0000));
  EXPECT_EQ(PixelAt(shot, p.Left + 4 + 30, p.Top + 4 + 25), TColor(0xFF0000));
  EXPECT_NE(PixelAt(shot, p.Left + 4 + 20, p.Top + 4 + 16), TColor(0xFF0000));
  EXPECT_NE(PixelAt(shot, p.Left + 4 + 21, p.Top + 4 + 26), TColor(0xFF0000));
}

}  // namespace
}  // namespace dropdown
