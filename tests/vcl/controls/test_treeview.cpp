// The tree view: nodes and their order, deletion notices, row layout and
// hit tests, keyboard, mouse, scrolling, label editing, tooltips and
// painting.
#include <gtest/gtest.h>

#include <QTest>

#include "TestSupport.h"
#include "rtl/Clock.h"
#include "vcl/Pictures.h"
#include "vcl/QtHost.h"
#include "vcl/StdCtrls.h"
#include "vcl/TreeView.h"
#include "vcl/WinApi.h"

using namespace vcl;
using namespace vcltest;

namespace {

// Logs the deletion notices and right clicks it gets.
class LoggingTree : public TTreeView {
 public:
  using TTreeView::TTreeView;
  std::vector<std::string> deleted;
  std::vector<bool> parentGoing;
  int rightClicks = 0;
  LRESULT rightClickAnswer = 0;
  std::vector<TPoint> menus;

  void Dispatch(TMessage& m) override {
    if (m.Msg == CN_NOTIFY && reinterpret_cast<NMHDR*>(m.LParam)->code == NM_RCLICK) {
      ++rightClicks;
      m.Result = rightClickAnswer;
      return;
    }
    if (m.Msg == WM_CONTEXTMENU) {
      menus.push_back({GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
      return;
    }
    TTreeView::Dispatch(m);
  }

 protected:
  void Delete(TTreeNode* node) override {
    deleted.push_back(node->Text());
    parentGoing.push_back(node->Parent() ? node->Parent()->Deleting() : Items()->Clearing());
    TTreeView::Delete(node);
  }
};

class TreeViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    clock = std::make_shared<rtl::ManualClock>(100000);
    scoped = std::make_unique<rtl::ScopedClock>(clock);
    form = MakeForm(300, 260);
    tree = new LoggingTree(form);
    tree->SetBounds(10, 10, 200, 200);
    tree->SetParent(form);
    // root
    //   alpha (a1, a2)
    //   beta
    //   gamma (g1)
    root = tree->Items()->Add(nullptr, "root");
    alpha = tree->Items()->AddChild(root, "alpha");
    tree->Items()->AddChild(alpha, "a1");
    tree->Items()->AddChild(alpha, "a2");
    beta = tree->Items()->AddChild(root, "beta");
    gamma = tree->Items()->AddChild(root, "gamma");
    tree->Items()->AddChild(gamma, "g1");
    form->Show();
    Pump();
  }
  void TearDown() override {
    Free(form);
    scoped.reset();
  }
  std::vector<std::string> VisibleTexts() {
    std::vector<std::string> v;
    for (TTreeNode* n = tree->Items()->GetFirstNode(); n; n = n->GetNextVisible()) v.push_back(n->Text());
    return v;
  }
  void Click(TPoint p, Qt::MouseButton b = Qt::LeftButton) {
    clock->Advance(5000);
    QPoint at(p.X + 2, p.Y + 2);  // past the border
    QTest::mouseClick(tree->Widget(), b, Qt::NoModifier, at);
  }
  void Key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(tree->Widget(), k, mods); }

  std::shared_ptr<rtl::ManualClock> clock;
  std::unique_ptr<rtl::ScopedClock> scoped;
  TForm* form = nullptr;
  LoggingTree* tree = nullptr;
  TTreeNode *root = nullptr, *alpha = nullptr, *beta = nullptr, *gamma = nullptr;
};

}  // namespace

TEST_F(TreeViewTest, NodesKeepTheirOrderAndIndexes) {
  EXPECT_EQ(tree->Items()->Count(), 7);
  std::vector<std::string> preorder;
  for (TTreeNode* n = tree->Items()->GetFirstNode(); n; n = n->GetNext()) preorder.push_back(n->Text());
  EXPECT_EQ(preorder, (std::vector<std::string>{"root", "alpha", "a1", "a2", "beta", "gamma", "g1"}));
  for (Integer i = 0; i < 7; ++i) EXPECT_EQ(tree->Items()->Item(i)->AbsoluteIndex(), i);
  EXPECT_EQ(tree->Items()->Item(7), nullptr);
  EXPECT_EQ(gamma->Item(0)->GetPrev(), gamma);
  EXPECT_EQ(beta->GetPrev()->Text(), "a2");
  EXPECT_EQ(beta->Index(), 1);
  EXPECT_EQ(alpha->Item(1)->Level(), 2);
  EXPECT_THROW(beta->Item(0), rtl::EListError);
  TTreeNode* first = tree->Items()->AddChildFirst(root, "first");
  TTreeNode* between = tree->Items()->Insert(beta, "between");
  EXPECT_EQ(first->Index(), 0);
  EXPECT_EQ(between->GetNextSibling(), beta);
  EXPECT_EQ(tree->Items()->Add(beta, "last")->Index(), 5);
  // Only the root shows until it is expanded.
  EXPECT_EQ(VisibleTexts(), (std::vector<std::string>{"root"}));
  root->Expand(false);
  EXPECT_EQ(VisibleTexts(), (std::vector<std::string>{"root", "first", "alpha", "between", "beta", "gamma", "last"}));
  EXPECT_TRUE(alpha->Item(0)->HasAsParent(root));
  EXPECT_FALSE(alpha->Item(0)->IsVisible());
  alpha->Item(0)->MakeVisible();
  EXPECT_TRUE(alpha->Expanded());
}

TEST_F(TreeViewTest, DeletionTellsChildrenBeforeParentsWithTheSubtreeGoing) {
  root->Expand(true);
  tree->Items()->Delete(alpha);
  EXPECT_EQ(tree->deleted, (std::vector<std::string>{"a1", "a2", "alpha"}));
  EXPECT_EQ(tree->parentGoing, (std::vector<bool>{true, true, false}));
  EXPECT_EQ(tree->Items()->Count(), 4);
  tree->deleted.clear();
  tree->parentGoing.clear();
  tree->Items()->Clear();
  EXPECT_EQ(tree->deleted, (std::vector<std::string>{"beta", "g1", "gamma", "root"}));
  EXPECT_EQ(tree->parentGoing, (std::vector<bool>{true, true, true, true}));
  EXPECT_EQ(tree->Items()->Count(), 0);
  EXPECT_FALSE(tree->Items()->Clearing());

  // The tree's own destruction tells every node too, while it is whole.
  std::vector<std::string> gone;
  auto* other = new LoggingTree(form);
  other->Items()->AddChild(other->Items()->Add(nullptr, "x"), "y");
  other->OnDeletion = [&](TObject*, TTreeNode* n) { gone.push_back(n->Text()); };
  Free(other);
  EXPECT_EQ(gone, (std::vector<std::string>{"y", "x"}));
}

TEST_F(TreeViewTest, RowsLayOutIndentStateImageNodeImageAndLabel) {
  root->Expand(false);
  TImageList states(nullptr), images(nullptr);
  images.SetWidth(12);
  images.SetHeight(18);
  tree->SetStateImages(&states);
  tree->SetImages(&images);
  alpha->SetStateIndex(2);
  const Integer h = tree->RowHeight();
  EXPECT_EQ(h, 18);
  TCanvas measure;
  measure.SetFont(tree->Font());
  // alpha: level 1 with ShowRoot: two indents, a state image, a node image.
  TRect r = alpha->DisplayRect(true);
  EXPECT_EQ(r, Rect(2 * 19 + 16 + 12, h, 2 * 19 + 16 + 12 + measure.TextWidth("alpha") + 4, 2 * h));
  // beta has no state image: its label starts 16 pixels further left.
  EXPECT_EQ(beta->DisplayRect(true).Left, 2 * 19 + 12);
  EXPECT_EQ(beta->DisplayRect(false), Rect(0, 2 * h, tree->ClientWidth(), 3 * h));
  struct Case {
    Integer x;
    THitTest where;
  } cases[] = {{0, htOnIndent},           {19, htOnButton},     {37, htOnButton},  {38, htOnStateIcon},
               {53, htOnStateIcon},       {54, htOnIcon},       {65, htOnIcon},    {66, htOnLabel},
               {r.Right - 1, htOnLabel}, {r.Right, htOnRight}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.x);
    EXPECT_TRUE(tree->GetHitTestInfoAt(c.x, h + 3).Contains(c.where));
    EXPECT_EQ(tree->GetNodeAt(c.x, h + 3), alpha);
  }
  EXPECT_TRUE(tree->GetHitTestInfoAt(70, h).Contains(htOnItem));
  EXPECT_TRUE(tree->GetHitTestInfoAt(5, 10 * h).Contains(htNowhere));
  EXPECT_TRUE(tree->GetHitTestInfoAt(5, -1).Contains(htAbove));
  EXPECT_TRUE(tree->GetHitTestInfoAt(-1, 5).Contains(htToLeft));
  // Without ShowRoot the root level has no indent.
  tree->SetShowRoot(false);
  EXPECT_EQ(root->DisplayRect(true).Left, 12);
  tree->SetStateImages(nullptr);
  tree->SetImages(nullptr);
}

TEST_F(TreeViewTest, KeyboardMovesSelectsExpandsAndSearches) {
  tree->SetFocus();
  std::vector<std::string> changes;
  tree->OnChange = [&](TObject*, TTreeNode* n) { changes.push_back(n ? n->Text() : "-"); };
  Key(Qt::Key_Down);
  EXPECT_EQ(tree->Selected(), root);
  Key(Qt::Key_Right);  // expands
  EXPECT_TRUE(root->Expanded());
  Key(Qt::Key_Right);  // into the first child
  EXPECT_EQ(tree->Selected(), alpha);
  Key(Qt::Key_Down);
  EXPECT_EQ(tree->Selected(), beta);
  Key(Qt::Key_End);
  EXPECT_EQ(tree->Selected(), gamma);
  Key(Qt::Key_Plus, Qt::KeypadModifier);
  EXPECT_TRUE(gamma->Expanded());
  Key(Qt::Key_Minus, Qt::KeypadModifier);
  EXPECT_FALSE(gamma->Expanded());
  Key(Qt::Key_Left);  // collapsed: up to the parent
  EXPECT_EQ(tree->Selected(), root);
  Key(Qt::Key_Home);
  EXPECT_EQ(tree->Selected(), root);
  EXPECT_EQ(changes, (std::vector<std::string>{"root", "alpha", "beta", "gamma", "root"}));
  // Typing finds the next visible label that starts with what was typed.
  QTest::keyClicks(tree->Widget(), "be");
  EXPECT_EQ(tree->Selected(), beta);
  clock->Advance(2000);
  QTest::keyClicks(tree->Widget(), "g");
  EXPECT_EQ(tree->Selected(), gamma);
  clock->Advance(2000);
  QTest::keyClicks(tree->Widget(), "r");
  EXPECT_EQ(tree->Selected(), root);
  // A refusal keeps the selection.
  tree->OnChanging = [](TObject*, TTreeNode*, bool& allow) { allow = false; };
  Key(Qt::Key_Down);
  EXPECT_EQ(tree->Selected(), root);
}

TEST_F(TreeViewTest, MouseSelectsTogglesAndAsksForMenus) {
  root->Expand(false);
  const Integer h = tree->RowHeight();
  Click({19 + 8, h / 2});  // root's label
  EXPECT_EQ(tree->Selected(), root);
  Click({19 + 9, h + h / 2});  // alpha's button
  EXPECT_TRUE(alpha->Expanded());
  EXPECT_EQ(tree->Selected(), root);
  // Double click on a label toggles it.
  clock->Advance(5000);
  QTest::mouseClick(tree->Widget(), Qt::LeftButton, Qt::NoModifier, QPoint(2 + 50, 2 + h + h / 2));
  QTest::mouseClick(tree->Widget(), Qt::LeftButton, Qt::NoModifier, QPoint(2 + 50, 2 + h + h / 2));
  EXPECT_FALSE(alpha->Expanded());
  // The right click is told, then the menu asked for at the screen point.
  Click({50, 2 * h + 3}, Qt::RightButton);
  EXPECT_EQ(tree->rightClicks, 1);
  ASSERT_EQ(tree->menus.size(), 1u);
  EXPECT_EQ(tree->menus[0], tree->ClientToScreen({50, 2 * h + 3}));
  tree->rightClickAnswer = 1;  // taken: no menu
  Click({50, 2 * h + 3}, Qt::RightButton);
  EXPECT_EQ(tree->rightClicks, 2);
  EXPECT_EQ(tree->menus.size(), 1u);
  // The keyboard's menu keys ask with -1, -1.
  tree->SetFocus();
  Key(Qt::Key_F10, Qt::ShiftModifier);
  ASSERT_EQ(tree->menus.size(), 2u);
  EXPECT_EQ(tree->menus[1], (TPoint{-1, -1}));
}

TEST_F(TreeViewTest, ScrollingByBarWheelAndSelection) {
  root->Expand(false);
  for (int i = 0; i < 40; ++i) tree->Items()->AddChild(beta, "b" + std::to_string(i));
  beta->Expand(false);
  const Integer rows = 4 + 40;  // root, alpha, beta and its forty, gamma
  const Integer page = tree->VisibleRowCount();
  ASSERT_LT(page, rows);
  SCROLLINFO info;
  info.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(tree->Handle(), SB_VERT, &info));
  EXPECT_EQ(info.nMax, rows - 1);
  EXPECT_EQ(info.nPage, static_cast<Cardinal>(page));
  // The scroll bar takes its width from the client area.
  EXPECT_EQ(tree->ClientWidth(), 200 - 4 - WindowScrollBarExtent());
  tree->Perform(WM_VSCROLL, MakeWParam(SB_THUMBPOSITION, 7));
  EXPECT_EQ(GetScrollPos(tree->Handle(), SB_VERT), 7);
  EXPECT_EQ(tree->TopItem(), tree->Items()->Item(7 + 2));  // rows 0..: root, alpha, beta, b0 ...
  tree->Perform(WM_VSCROLL, MakeWParam(SB_LINEUP, 0));
  EXPECT_EQ(GetScrollPos(tree->Handle(), SB_VERT), 6);
  tree->Perform(WM_VSCROLL, MakeWParam(SB_BOTTOM, 0));
  EXPECT_EQ(GetScrollPos(tree->Handle(), SB_VERT), rows - page);
  // A wheel step scrolls three rows.
  QWheelEvent wheel(QPointF(20, 20), tree->Widget()->mapToGlobal(QPointF(20, 20)), QPoint(), QPoint(0, 120),
                    Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(tree->Widget(), &wheel);
  EXPECT_EQ(GetScrollPos(tree->Handle(), SB_VERT), rows - page - 3);
  // Selecting a node scrolls it into view.
  tree->SetSelected(root);
  EXPECT_EQ(GetScrollPos(tree->Handle(), SB_VERT), 0);
  tree->SetSelected(beta->GetLastChild());  // row 42: the bottom row now
  EXPECT_EQ(GetScrollPos(tree->Handle(), SB_VERT), 42 - page + 1);
  // Collapsing brings the range back; the bar goes.
  beta->Collapse(false);
  EXPECT_EQ(tree->Selected(), beta);
  EXPECT_EQ(GetScrollPos(tree->Handle(), SB_VERT), 0);
  EXPECT_EQ(tree->ClientWidth(), 196);
}

TEST_F(TreeViewTest, AutoExpandAndLabelEditing) {
  root->Expand(false);
  tree->SetAutoExpand(true);
  tree->SetSelected(alpha);
  EXPECT_TRUE(alpha->Expanded());
  tree->SetSelected(gamma);
  EXPECT_TRUE(gamma->Expanded());
  EXPECT_FALSE(alpha->Expanded());
  tree->SetAutoExpand(false);

  // F2 edits; Enter keeps the text, through OnEdited.
  tree->SetFocus();
  tree->OnEdited = [](TObject*, TTreeNode*, AnsiString& s) { s += "!"; };
  Key(Qt::Key_F2);
  ASSERT_TRUE(tree->IsEditing());
  TControl* editor = nullptr;
  for (Integer i = 0; i < tree->ControlCount(); ++i)
    if (dynamic_cast<TEdit*>(tree->Controls(i))) editor = tree->Controls(i);
  ASSERT_NE(editor, nullptr);
  static_cast<TEdit*>(editor)->SetText("delta");
  QTest::keyClick(static_cast<TEdit*>(editor)->Widget(), Qt::Key_Return);
  EXPECT_FALSE(tree->IsEditing());
  EXPECT_EQ(gamma->Text(), "delta!");
  Pump();
  // Esc gives the text up; ReadOnly refuses to edit.
  EXPECT_TRUE(gamma->EditText());
  gamma->EndEdit(true);
  EXPECT_EQ(gamma->Text(), "delta!");
  tree->SetReadOnly(true);
  EXPECT_FALSE(gamma->EditText());
}

TEST_F(TreeViewTest, ToolTipsShowCutLabelsUnlessSwitchedOff) {
  root->Expand(false);
  TTreeNode* wide = tree->Items()->AddChild(root, std::string(60, 'w'));
  const TRect r = wide->DisplayRect(true);
  ASSERT_GT(r.Right, tree->ClientWidth());
  auto move = [&](TPoint p) {
    QWidget* w = tree->Widget();
    QMouseEvent e(QEvent::MouseMove, QPointF(p.X + 2, p.Y + 2), w->mapToGlobal(QPointF(p.X + 2, p.Y + 2)),
                  Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
  };
  auto tipShowing = [&] {
    for (Integer i = 0; i < tree->ComponentCount(); ++i)
      if (auto* h = dynamic_cast<THintWindow*>(tree->Components(i)); h && h->Showing())
        return h->Caption() == wide->Text();
    return false;
  };
  move({r.Left + 5, r.Top + 2});
  EXPECT_TRUE(tipShowing());
  move({alpha->DisplayRect(true).Left + 2, alpha->DisplayRect(true).Top + 2});  // alpha shows whole
  EXPECT_FALSE(tipShowing());
  tree->SetToolTips(false);
  EXPECT_TRUE(GetWindowLong(tree->Handle(), GWL_STYLE) & TVS_NOTOOLTIPS);
  move({r.Left + 5, r.Top + 2});
  EXPECT_FALSE(tipShowing());
}

TEST_F(TreeViewTest, PaintsRowsLinesButtonsAndTheSelection) {
  root->Expand(false);
  alpha->Expand(false);
  tree->SetHideSelection(false);
  tree->SetSelected(beta);
  tree->SetFocus();
  tree->Update();
  TCanvas* c = tree->Canvas();
  const Integer h = tree->RowHeight();
  TRect sel = beta->DisplayRect(true);
  EXPECT_EQ(c->Pixels(sel.Left + 1, sel.Top + 1), ColorToRGB(clHighlight));
  // alpha's button: a grey box with a minus.
  const Integer cx = 2 * 19 - 19 / 2 - 1, cy = h + h / 2;
  EXPECT_EQ(c->Pixels(cx - 4, cy), ColorToRGB(clGray));
  EXPECT_EQ(c->Pixels(cx, cy), ColorToRGB(clBtnText));
  EXPECT_EQ(c->Pixels(cx, cy - 2), ColorToRGB(clWindow));
  // Focus gone: the inactive selection in the face colour.
  form->SetActiveControl(nullptr);
  QWidget* w = tree->Widget();
  w->clearFocus();
  Pump();
  tree->Update();
  EXPECT_EQ(c->Pixels(sel.Left + 1, sel.Top + 1), ColorToRGB(clBtnFace));
  AnsiString file = AnsiString(TOLVANE_BUILD_DIR) + "/vcl-treeview.png";
  ASSERT_TRUE(form->SaveWindowImage(file));
}
