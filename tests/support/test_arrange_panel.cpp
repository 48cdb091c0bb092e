// The arrange panel: rows of child windows with their wrapping, sizing and
// limits; the settings' notices; the flat border, the caption and the grip
// in pixels; a transparent panel showing its parent.
#include <gtest/gtest.h>

#include <QTest>
#include <functional>

#include "support/MoxPanel.h"
#include "vcl/Forms.h"
#include "vcl/Gdi.h"
#include "vcl/Pictures.h"
#include "vcl/StdCtrls.h"
#include "vcl/TestCanvases.h"
#include "vcl/UxTheme.h"

using namespace support;
using namespace vcl;

namespace {

void Pump() {
  for (int i = 0; i < 5; ++i) Application->ProcessMessages();
}

// Takes a control off its parent before freeing it, so the parent's lists
// lose it while it is still the windowed control it was.
void Discard(TControl* c) {
  c->SetParent(nullptr);
  Free(c);
}

// Paints onto any canvas, for the stand-in canvases.
class OpenPanel : public TMoxPanel {
 public:
  using TMoxPanel::TMoxPanel;
  using TMoxPanel::PaintOn;
};

class ArrangePanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = new TForm(Application, 0);
    form->SetClientWidth(400);
    form->SetClientHeight(300);
    panel = new OpenPanel(form);
    panel->SetBounds(0, 0, 120, 100);
    panel->SetParent(form);
  }
  void TearDown() override {
    SetThemeActive(true);
    Free(form);
  }
  // A child window of the given size and tab order.
  TPanel* Child(Integer width, Integer height, Integer tabOrder = -1, TWinControl* parent = nullptr) {
    auto* c = new TPanel(form);
    c->SetBounds(300, 300, width, height);
    c->SetParent(parent ? parent : panel);
    if (tabOrder >= 0) c->SetTabOrder(tabOrder);
    return c;
  }
  TForm* form = nullptr;
  OpenPanel* panel = nullptr;
};

}  // namespace

TEST_F(ArrangePanelTest, ArrangementCasesWithExactPositions) {
  struct Case {
    const char* name;
    std::vector<Integer> widths;        // children, tab order as listed
    Integer panelWidth;
    std::function<void(TMoxArrangeSettings&)> settings;
    std::vector<TPoint> places;         // where each child ends up
    Integer finalWidth;
  };
  const Case cases[] = {
      {"two share row one, the third wraps", {50, 50, 50}, 120,
       [](TMoxArrangeSettings& s) { s.SetDistanceHorizontal(10); }, {{0, 0}, {60, 0}, {0, 20}}, 120},
      {"margins and row gap", {50, 50, 50}, 130,
       [](TMoxArrangeSettings& s) {
         s.SetBorderLeft(4);
         s.SetBorderTop(3);
         s.SetDistanceHorizontal(10);
         s.SetDistanceVertical(5);
       },
       {{4, 3}, {64, 3}, {4, 28}}, 130},
      {"without wrapping, one row", {50, 50, 50}, 120,
       [](TMoxArrangeSettings& s) {
         s.SetDistanceHorizontal(10);
         s.SetWrapControls(false);
       },
       {{0, 0}, {60, 0}, {120, 0}}, 120},
      {"a child wider than the panel widens it", {150, 20}, 120,
       [](TMoxArrangeSettings& s) { s.SetBorderLeft(5); }, {{5, 0}, {5, 20}}, 160},
      {"MaxWidth caps the widened panel and wraps at it", {150, 20, 30}, 120,
       [](TMoxArrangeSettings& s) { s.SetMaxWidth(100); }, {{0, 0}, {0, 20}, {20, 20}}, 100},
      {"a first child in its row never wraps", {200}, 120, [](TMoxArrangeSettings&) {}, {{0, 0}}, 200},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    panel->SetBounds(0, 0, c.panelWidth, 100);
    std::vector<TPanel*> children;
    for (size_t i = 0; i < c.widths.size(); ++i)
      children.push_back(Child(c.widths[i], 20, static_cast<Integer>(i)));
    TMoxArrangeSettings fresh;
    panel->ArrangeSettings()->Assign(&fresh);
    c.settings(*panel->ArrangeSettings());
    panel->ArrangeSettings()->SetAutoArrange(true);
    for (size_t i = 0; i < children.size(); ++i)
      EXPECT_EQ((TPoint{children[i]->Left(), children[i]->Top()}), c.places[i]) << i;
    EXPECT_EQ(panel->Width(), c.finalWidth);
    EXPECT_EQ(panel->Height(), 100);  // asNone: the height stays
    panel->ArrangeSettings()->SetAutoArrange(false);
    for (TPanel* child : children) Discard(child);
  }
}

TEST_F(ArrangePanelTest, TabOrderNotChildOrderAndHiddenChildrenStayPut) {
  // Made in one order, tabbed in another: the rows follow the tab order.
  TPanel* last = Child(30, 10);
  TPanel* first = Child(30, 10);
  TPanel* hidden = Child(30, 10);
  TPanel* middle = Child(30, 10);
  first->SetTabOrder(0);
  hidden->SetTabOrder(1);
  middle->SetTabOrder(2);
  last->SetTabOrder(3);
  hidden->SetVisible(false);
  auto* label = new TLabel(form);  // not a window: takes no part
  label->SetBounds(300, 300, 30, 10);
  label->SetParent(panel);
  panel->ArrangeSettings()->SetAutoArrange(true);
  EXPECT_EQ((TPoint{first->Left(), first->Top()}), (TPoint{0, 0}));
  EXPECT_EQ((TPoint{middle->Left(), middle->Top()}), (TPoint{30, 0}));
  EXPECT_EQ((TPoint{last->Left(), last->Top()}), (TPoint{60, 0}));
  EXPECT_EQ((TPoint{hidden->Left(), hidden->Top()}), (TPoint{300, 300}));
  EXPECT_EQ((TPoint{label->Left(), label->Top()}), (TPoint{300, 300}));
  // Shown again, it takes its place in the row at the next arrangement.
  hidden->SetVisible(true);
  panel->ArrangeControls();
  EXPECT_EQ((TPoint{hidden->Left(), hidden->Top()}), (TPoint{30, 0}));
  EXPECT_EQ((TPoint{middle->Left(), middle->Top()}), (TPoint{60, 0}));
  EXPECT_EQ((TPoint{last->Left(), last->Top()}), (TPoint{90, 0}));  // ends exactly at 120: no wrap
}

TEST_F(ArrangePanelTest, AutoSizeFollowsTheChildren) {
  // asWidth with BorderLeft 5: the width falls by BorderLeft per arrangement
  // until it reaches the children's right edge + BorderLeft.
  panel->SetBounds(0, 0, 200, 100);
  Child(40, 10, 0);
  Child(35, 10, 1);  // ends at 5 + 40 + 35 = 80
  std::vector<Integer> widths;
  panel->OnChangedWidth = [&](TObject*, Integer w) { widths.push_back(w); };
  auto& s = *panel->ArrangeSettings();
  s.SetBorderLeft(5);
  s.SetAutoSize(asWidth);
  s.SetAutoArrange(true);
  EXPECT_EQ(panel->Width(), 195);
  panel->ArrangeControls();
  EXPECT_EQ(panel->Width(), 190);
  for (int i = 0; i < 40; ++i) panel->ArrangeControls();
  EXPECT_EQ(panel->Width(), 85);
  EXPECT_EQ(widths.front(), 195);
  EXPECT_EQ(widths.back(), 85);
  EXPECT_EQ(panel->ArrangedExtent().X, 2 * 5 + 80);

  // asHeight: bottom of the last row + BorderTop.
  s.SetBorderTop(7);
  s.SetDistanceVertical(3);
  s.SetAutoSize(asBoth);
  EXPECT_EQ(panel->Height(), 7 + 10 + 7);
  // OnResizeParent takes over from the parent's arranging.
  s.SetAutoArrange(false);
  std::vector<Integer> told;
  panel->OnResizeParent = [&](TObject*, Integer l, Integer t, Integer w, Integer h) { told = {l, t, w, h}; };
  panel->SetBounds(0, 0, 60, 30);
  EXPECT_EQ(told, (std::vector<Integer>{0, 0, 60, 30}));
}

TEST_F(ArrangePanelTest, InnerPanelsArrangeFirstAndTellTheirParent) {
  auto* inner = new TMoxPanel(form);
  inner->SetBounds(300, 300, 10, 10);
  inner->SetParent(panel);
  inner->SetTabOrder(0);
  Child(20, 15, 1, inner);
  Child(20, 15, 2, inner);
  TPanel* after = Child(30, 10, 1);
  inner->ArrangeSettings()->SetAutoSize(asBoth);
  inner->ArrangeSettings()->SetAutoArrange(true);
  EXPECT_EQ(inner->Width(), 40);
  EXPECT_EQ(inner->Height(), 15);
  panel->ArrangeSettings()->SetAutoArrange(true);
  EXPECT_EQ(after->Left(), 40);
  // A child panel that grows moves its neighbours.
  Child(20, 15, 3, inner);
  inner->ArrangeControls();
  EXPECT_EQ(inner->Width(), 60);
  EXPECT_EQ(after->Left(), 60);
}

TEST_F(ArrangePanelTest, SettingsAnnounceOneChangePerBracket) {
  TMoxArrangeSettings s;
  std::vector<std::string> log;
  s.OnChange = [&](TObject*) { log.push_back("changed"); };
  s.OnPropertyChanged = [&](TObject*, const AnsiString& n) { log.push_back(n); };
  s.SetBorderLeft(0);  // unchanged: nothing
  s.SetShowNotVisibleAtDesignTime(false);  // stored silently
  EXPECT_TRUE(log.empty());
  EXPECT_FALSE(s.ShowNotVisibleAtDesignTime());
  s.SetMaxWidth(10);
  EXPECT_EQ(log, (std::vector<std::string>{"MaxWidth", "changed"}));
  log.clear();
  TMoxArrangeSettings other;
  other.SetAutoArrange(true);
  other.SetAutoSize(asHeight);
  other.SetWrapControls(false);
  other.SetBorderTop(2);
  s.Assign(&other);
  EXPECT_EQ(log, (std::vector<std::string>{"AutoArrange", "AutoSize", "WrapControls", "BorderTop", "MaxWidth",
                                           "changed"}));
  EXPECT_TRUE(s.ShowNotVisibleAtDesignTime());
  EXPECT_EQ(s.MaxWidth(), 0);
}

TEST_F(ArrangePanelTest, FlatBordersInPixels) {
  SetThemeActive(false);
  panel->SetFlatBorder(true);
  panel->SetFlatBorderColor(clRed);
  panel->SetColor(clWhite);
  panel->SetBounds(0, 0, 20, 12);
  form->Show();
  // Row 6 from the left edge, and from the right: border pixels are red.
  struct Case {
    Integer width;
    const char* left;   // pixels 0..4
    const char* right;  // pixels 19 down to 15
  };
  const Case cases[] = {{1, "RWWWW", "RWWWW"}, {2, "RRWWW", "RRWWW"}, {3, "RRRWW", "RRRWW"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    panel->SetBorderWidth(c.width);
    panel->Repaint();
    TCanvas* cv = panel->Canvas();
    std::string left, right, top;
    for (int x = 0; x < 5; ++x) left += cv->Pixels(x, 6) == clRed ? 'R' : cv->Pixels(x, 6) == clWhite ? 'W' : '?';
    for (int x = 19; x > 14; --x) right += cv->Pixels(x, 6) == clRed ? 'R' : cv->Pixels(x, 6) == clWhite ? 'W' : '?';
    for (int y = 0; y < 5; ++y) top += cv->Pixels(10, y) == clRed ? 'R' : cv->Pixels(10, y) == clWhite ? 'W' : '?';
    EXPECT_EQ(left, c.left);
    EXPECT_EQ(right, c.right);
    EXPECT_EQ(top, c.left);
  }
  // Without FlatBorder: the raised bevel, white over grey.
  panel->SetFlatBorder(false);
  panel->SetBorderWidth(0);
  panel->Repaint();
  EXPECT_EQ(panel->Canvas()->Pixels(0, 6), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(panel->Canvas()->Pixels(19, 6), ColorToRGB(clBtnShadow));
}

TEST_F(ArrangePanelTest, CaptionsThroughTheFakeMetricsCanvas) {
  SetThemeActive(false);
  panel->SetColor(clWhite);
  panel->SetBevelOuter(bvNone);
  panel->SetCaption("abcd");  // 4 x 8 = 32 wide, 13 high
  panel->SetBounds(0, 0, 100, 41);
  panel->Font()->SetColor(clBlack);
  struct Case {
    TAlignment alignment;
    Integer left;
  };
  const Case cases[] = {{taCenter, (100 - 32) / 2}, {taLeftJustify, 0}, {taRightJustify, 100 - 32}};
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.alignment));
    panel->SetAlignment(c.alignment);
    TFakeMetricsCanvas canvas(100, 41);
    panel->PaintOn(&canvas);
    // The first character box: advance - 1 wide, ascent high, at the cell
    // whose top is (41 - 13) / 2 = 14.
    EXPECT_EQ(canvas.Pixels(c.left, 14), clBlack);
    EXPECT_EQ(canvas.Pixels(c.left + 6, 23), clBlack);
    EXPECT_EQ(canvas.Pixels(c.left + 7, 14), clWhite);
    EXPECT_EQ(canvas.Pixels(c.left, 13), clWhite);
    if (c.left > 0) EXPECT_EQ(canvas.Pixels(c.left - 1, 14), clWhite);
  }
  // A disabled panel writes in grey.
  panel->SetAlignment(taCenter);
  panel->SetEnabled(false);
  TFakeMetricsCanvas canvas(100, 41);
  panel->PaintOn(&canvas);
  EXPECT_EQ(canvas.Pixels(34, 14), ColorToRGB(clGrayText));
  // OnPaint replaces everything.
  int painted = 0;
  panel->OnPaint = [&](TObject*) { ++painted; };
  TFakeMetricsCanvas blank(100, 41);
  panel->PaintOn(&blank);
  EXPECT_EQ(painted, 1);
  EXPECT_EQ(blank.Pixels(34, 14), clWhite);
}

TEST_F(ArrangePanelTest, ATransparentPanelShowsItsParentAligned) {
  // A parent with a pattern of its own and a windowed sibling under the panel.
  auto* back = new TMoxPanel(form);
  back->SetBounds(0, 0, 200, 100);
  back->SetParent(form);
  back->OnPaint = [back](TObject*) {
    TCanvas* c = back->Canvas();
    for (int x = 0; x < 200; ++x) {
      c->Brush()->SetColor((x / 5) % 2 ? clNavy : clSilver);
      c->FillRect(Rect(x, 0, x + 1, 100));
    }
  };
  auto* sibling = new TPanel(form);
  sibling->SetBounds(50, 10, 20, 20);
  sibling->SetBevelOuter(bvNone);
  sibling->SetColor(clLime);
  sibling->SetParent(back);
  auto* glass = new TMoxPanel(form);
  glass->SetBevelOuter(bvNone);
  glass->SetTransparent(true);
  glass->SetBounds(13, 5, 80, 40);
  glass->SetParent(back);
  form->Show();
  Pump();
  glass->Repaint();
  TCanvas* c = glass->Canvas();
  for (int x = 0; x < 30; ++x) EXPECT_EQ(c->Pixels(x, 30), ((x + 13) / 5) % 2 ? clNavy : clSilver) << x;
  // The sibling before it in the child order shows where it lies.
  EXPECT_EQ(c->Pixels(50 - 13, 10 - 5), clLime);
  EXPECT_EQ(c->Pixels(69 - 13, 29 - 5), clLime);
  EXPECT_EQ(c->Pixels(70 - 13, 29 - 5), ((70) / 5) % 2 ? clNavy : clSilver);
  EXPECT_TRUE(glass->WindowExStyle() & WS_EX_TRANSPARENT);
  glass->SetTransparent(false);
  EXPECT_FALSE(glass->WindowExStyle() & WS_EX_TRANSPARENT);
}

TEST_F(ArrangePanelTest, SizingByTheGripAndMovingByDragging) {
  panel->SetSizeable(true);
  panel->SetBounds(10, 10, 100, 60);
  form->Show();
  Pump();
  QWidget* w = panel->Widget();
  // Outside the corner: nothing.
  QTest::mousePress(w, Qt::LeftButton, {}, QPoint(80, 40));
  QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(80, 40));
  EXPECT_FALSE(panel->Sizing());
  QTest::mousePress(w, Qt::LeftButton, {}, QPoint(90, 50));  // 10 from each edge
  EXPECT_TRUE(panel->Sizing());
  EXPECT_EQ(Screen->Cursor(), crSizeNWSE);
  QTest::mouseMove(w, QPoint(110, 65));
  EXPECT_EQ(panel->Width(), 120);
  EXPECT_EQ(panel->Height(), 75);
  QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(110, 65));
  EXPECT_FALSE(panel->Sizing());
  EXPECT_EQ(Screen->Cursor(), crDefault);
  // The grip shows in the lower right corner, the classic ridges without styles.
  SetThemeActive(false);
  panel->Repaint();
  bool ridge = false;
  for (int x = 100; x < 118; ++x) ridge = ridge || panel->Canvas()->Pixels(x, 70) == ColorToRGB(clBtnShadow);
  EXPECT_TRUE(ridge);

  // Moving: a hit test inside the edges answers as a caption when allowed.
  panel->SetMovable(true);
  std::vector<std::string> log;
  bool allow = true;
  panel->OnBeforeMove = [&](TObject*, Integer x, Integer y, bool& a) {
    log.push_back("before " + std::to_string(x) + "," + std::to_string(y));
    a = allow;
  };
  panel->OnAfterMove = [&](TObject*) { log.push_back("after"); };
  auto hit = [&](int x, int y) {
    TPoint s = panel->ClientToScreen({x, y});
    return panel->Perform(WM_NCHITTEST, 0, MakeLParam(static_cast<Word>(s.X), static_cast<Word>(s.Y)));
  };
  EXPECT_EQ(hit(20, 20), HTCAPTION);
  EXPECT_NE(hit(3, 20), HTCAPTION);
  panel->Perform(WM_EXITSIZEMOVE);
  panel->Perform(WM_EXITSIZEMOVE);  // the flag went with the first
  allow = false;
  EXPECT_NE(hit(20, 20), HTCAPTION);
  EXPECT_EQ(log, (std::vector<std::string>{"before 20,20", "after", "before 20,20"}));
}

TEST_F(ArrangePanelTest, HotTrackingLooksAndFonts) {
  panel->SetBounds(0, 0, 60, 30);
  panel->Font()->SetName("Sans");
  panel->Font()->SetHeight(-13);
  panel->Font()->SetColor(clBlue);
  panel->HotTrackFont()->SetColor(clRed);
  panel->SetHotTrackFontOptions({hoFollowFont, hoPreserveColor});
  EXPECT_EQ(panel->HotTrackFont()->Name(), "Sans");
  EXPECT_EQ(panel->HotTrackFont()->Height(), -13);
  EXPECT_EQ(panel->HotTrackFont()->Color(), clRed);
  panel->SetHotTrackFontOptions({hoPreserveHeight});  // without following, nothing copied
  EXPECT_EQ(panel->HotTrackFont()->Color(), clRed);
  EXPECT_EQ(panel->HotTrackOptions()->Color(), clBtnFace);

  panel->SetHotTrack(true);
  panel->HotTrackOptions()->SetEnabled(true);
  panel->HotTrackOptions()->SetColor(clYellow);
  panel->SetColor(clWhite);
  form->Show();
  Pump();
  panel->Perform(CM_MOUSEENTER);
  ASSERT_TRUE(panel->MouseOver());
  panel->Repaint();
  EXPECT_EQ(panel->Canvas()->Pixels(30, 15), clYellow);
  panel->Perform(CM_MOUSELEAVE);
  panel->Repaint();
  EXPECT_EQ(panel->Canvas()->Pixels(30, 15), clWhite);
}

TEST_F(ArrangePanelTest, GalleryOfAnAboutBoxPanel) {
  Discard(panel);
  form->SetColor(clWhite);
  form->SetClientWidth(360);
  form->SetClientHeight(140);
  auto* about = new TMoxPanel(form);
  about->SetAlign(alBottom);
  about->SetHeight(80);
  about->SetColor(RGB(233, 233, 233));
  about->SetBevelOuter(bvRaised);
  about->SetParent(form);
  const char* lines[] = {"Tolvane", "Web pages for the networked module", "Version 0.1"};
  for (int i = 0; i < 3; ++i) {
    auto* l = new TLabel(form);
    l->SetBounds(12, 8 + 20 * i, 240, 16);
    l->SetCaption(lines[i]);
    l->SetParent(about);
  }
  auto* ok = new TButton(form);
  ok->SetBounds(272, 44, 75, 25);
  ok->SetCaption("OK");
  ok->SetParent(about);
  auto* note = new TMoxPanel(form);
  note->SetBounds(10, 10, 340, 44);
  note->SetCaption("A flat bordered panel with a centred caption");
  note->SetFlatBorder(true);
  note->SetBorderWidth(2);
  note->SetSizeable(true);
  note->SetParent(form);
  form->Show();
  Pump();
  about->Update();
  note->Update();
  EXPECT_EQ(about->Canvas()->Pixels(100, 75), static_cast<TColor>(RGB(233, 233, 233)));
  ASSERT_TRUE(form->SaveWindowImage(AnsiString(TOLVANE_BIN_DIR) + "/../support_about_panel.png"));
}
