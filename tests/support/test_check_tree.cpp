// The framed tree and the check tree: cascades as a property over random
// trees, the edge cases, synthetic mouse and keys, node menus, the frame in
// the window border, colours and the check images in pixels.
#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>
#include <map>
#include <random>
#include <set>

#include "rtl/Clock.h"
#include "rtl/SystemInfo.h"
#include "support/StartupProbes.h"
#include "support/WexCheckTree.h"
#include "vcl/Forms.h"
#include "vcl/Pictures.h"
#include "vcl/UxTheme.h"
#include "vcl/WinApi.h"
#include "SupportTestUtil.h"

using namespace support;
using namespace vcl;

namespace {

// A popup menu that records where it was asked to show instead of showing.
class RecordingMenu : public TPopupMenu {
 public:
  using TPopupMenu::TPopupMenu;
  std::vector<TPoint> shown;
  std::vector<TComponent*> components;
  void Popup(Integer x, Integer y) override {
    shown.push_back({x, y});
    components.push_back(PopupComponent());
  }
};

// One event of the check tree, for comparing sequences.
struct Event {
  std::string kind;  // "changing", "change", "children", "complete"
  TTreeNode* node = nullptr;
  bool operator==(const Event&) const = default;
};

class CheckTreeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    clock = std::make_shared<rtl::ManualClock>(200000);
    scoped = std::make_unique<rtl::ScopedClock>(clock);
    form = new TForm(Application, 0);
    form->SetClientWidth(320);
    form->SetClientHeight(300);
    tree = new TWexCheckTree(form);
    tree->SetBounds(10, 10, 240, 260);
    tree->SetParent(form);
    tree->SetHideSelection(false);
    form->Show();
    supporttest::Pump();
  }
  void TearDown() override {
    SetThemeActive(true);
    Free(form);
    scoped.reset();
  }
  void Record() {
    tree->OnStateChanging = [this](TObject*, TTreeNode* n, TWexCheckState, bool& allow) {
      events.push_back({"changing", n});
      if (veto && veto(n)) allow = false;
    };
    tree->OnStateChange = [this](TObject*, TTreeNode* n, TWexCheckState) { events.push_back({"change", n}); };
    tree->OnUpdateChildren = [this](TObject*) { events.push_back({"children", nullptr}); };
    tree->OnCascadeComplete = [this](TObject*, TTreeNode* n) { events.push_back({"complete", n}); };
  }
  static TWexCheckState State(TTreeNode* n) { return static_cast<TWexCheckState>(n->StateIndex()); }
  // The box's horizontal span of a shown node: (L - image - 16, L - image].
  TPoint BoxPoint(TTreeNode* n, Integer fromLeft = 8) {
    n->MakeVisible();
    tree->Update();
    TRect r = n->DisplayRect(true);
    Integer imageWidth = tree->Images() ? tree->Images()->Width() : 0;
    return {r.Left - imageWidth - 16 + fromLeft, r.Top + r.Height() / 2};
  }
  void Press(TPoint p) {
    QTest::mousePress(tree->Widget(), Qt::LeftButton, Qt::NoModifier, QPoint(p.X + 2, p.Y + 2));
  }
  void Release(TPoint p) {
    QTest::mouseRelease(tree->Widget(), Qt::LeftButton, Qt::NoModifier, QPoint(p.X + 2, p.Y + 2));
    clock->Advance(2000);  // never a double click
  }
  void ClickBox(TTreeNode* n, Integer fromLeft = 8) {
    TPoint p = BoxPoint(n, fromLeft);
    Press(p);
    Release(p);
  }
  // Every node with children holds what its children give.
  ::testing::AssertionResult Consistent() {
    for (TTreeNode* n = tree->Items()->GetFirstNode(); n; n = n->GetNext()) {
      if (n->Count() == 0) continue;
      Integer checked = 0, unchecked = 0;
      bool partial = false;
      for (Integer i = 0; i < n->Count(); ++i) {
        Integer s = n->Item(i)->StateIndex();
        partial |= s == 3;
        checked += s == 2;
        unchecked += s == 1;
      }
      Integer want = partial || (checked && unchecked) ? 3 : checked ? 2 : 1;
      if (n->StateIndex() != want)
        return ::testing::AssertionFailure() << "node " << n->Text() << " has " << n->StateIndex() << ", children give "
                                             << want;
    }
    return ::testing::AssertionSuccess();
  }

  std::shared_ptr<rtl::ManualClock> clock;
  std::unique_ptr<rtl::ScopedClock> scoped;
  TForm* form = nullptr;
  TWexCheckTree* tree = nullptr;
  std::vector<Event> events;
  std::function<bool(TTreeNode*)> veto;
};

}  // namespace

TEST_F(CheckTreeTest, DefaultsAndConstruction) {
  EXPECT_TRUE(tree->CascadeChecks());
  EXPECT_EQ(tree->HighlightColor(), clHighlight);
  EXPECT_TRUE(tree->ReadOnly());
  EXPECT_FALSE(tree->AutoSelect());
  EXPECT_EQ(tree->StateImages(), tree->CheckImages());
  EXPECT_EQ(tree->CheckImages()->Name(), "CheckImages");
  EXPECT_EQ(tree->CheckImages()->Count(), 4);
  EXPECT_EQ(tree->FrameColor(), clBtnShadow);
  EXPECT_EQ(tree->FocusColor(), clWindow);
  EXPECT_EQ(tree->DisabledColor(), clBtnFace);
  EXPECT_EQ(tree->FrameStyle(), fsFlat);
  EXPECT_EQ(tree->FrameHotStyle(), fsFlatBold);
  EXPECT_EQ(tree->FramingPreference(), fpXPThemes);
  EXPECT_EQ(tree->FrameControllerNotifications(), kAllFrameControllerNotifications);
  EXPECT_EQ(tree->SelectionPen()->Color(), clBtnShadow);
  EXPECT_EQ(tree->PathDelimiter(), '\\');
  EXPECT_TRUE(tree->TabStop());
  EXPECT_FALSE(tree->ParentColor());
}

TEST_F(CheckTreeTest, EdgeCasesOfThePart) {
  Record();
  TTreeNode* root = tree->Items()->Add(nullptr, "root");
  TTreeNode* a = tree->Items()->AddChild(root, "a");
  TTreeNode* a1 = tree->Items()->AddChild(a, "a1");
  TTreeNode* a2 = tree->Items()->AddChild(a, "a2");
  TTreeNode* b = tree->Items()->AddChild(root, "b");
  // A node added after the last paint shows an unchecked box at the next
  // one, without any event.
  EXPECT_EQ(a->StateIndex(), -1);
  tree->Invalidate();
  tree->Update();
  EXPECT_EQ(a->StateIndex(), 1);
  EXPECT_TRUE(events.empty());

  // Children give their parent's state.
  struct Case {
    std::vector<Integer> children;
    TWexCheckState parent;
  } cases[] = {{{2, 1}, csPartiallyChecked},
               {{2, 0}, csChecked},
               {{0, 0}, csUnchecked},
               {{1, 3}, csPartiallyChecked},
               {{2, 2}, csChecked},
               {{1, 1}, csUnchecked}};
  for (const Case& c : cases) {
    a1->SetStateIndex(c.children[0]);
    a2->SetStateIndex(c.children[1]);
    tree->SetCascadeChecks(true);
    // Setting a node to its own state: no event for it, but its parent is
    // worked out again and told.
    events.clear();
    tree->SetNodeCheckState(a1, State(a1));
    EXPECT_EQ(State(a), c.parent);
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(events[0], (Event{"children", nullptr}));
    EXPECT_EQ(events[1], (Event{"changing", a}));
    EXPECT_EQ(events[2], (Event{"change", a}));
  }

  // Toggling a partially checked node checks it and its whole subtree.
  a1->SetStateIndex(2);
  a2->SetStateIndex(1);
  a->SetStateIndex(3);
  events.clear();
  tree->Selected();
  tree->SetSelected(a);
  tree->SetFocus();
  QTest::keyClick(tree->Widget(), Qt::Key_Space);
  EXPECT_EQ(State(a), csChecked);
  EXPECT_EQ(State(a1), csChecked);
  EXPECT_EQ(State(a2), csChecked);
  // The user's toggle, in order.
  std::vector<Event> expected = {{"changing", a}, {"change", a},     {"changing", a1},     {"change", a1},
                                 {"changing", a2}, {"change", a2},   {"children", nullptr}, {"changing", root},
                                 {"change", root}, {"complete", a}};
  EXPECT_EQ(events, expected);

  // A node without a box does nothing at all.
  b->SetStateIndex(0);
  events.clear();
  tree->SetSelected(b);
  QTest::keyClick(tree->Widget(), Qt::Key_Space);
  EXPECT_TRUE(events.empty());
  EXPECT_EQ(b->StateIndex(), 0);

  // Without cascading only the node changes; the completion still comes.
  tree->SetCascadeChecks(false);
  events.clear();
  tree->SetSelected(a);
  QTest::keyClick(tree->Widget(), Qt::Key_Space);
  EXPECT_EQ(events, (std::vector<Event>{{"changing", a}, {"change", a}, {"complete", a}}));
  EXPECT_EQ(State(a), csUnchecked);
  EXPECT_EQ(State(a1), csChecked);
  tree->SetCascadeChecks(true);

  // Removing the only child of a checked node leaves it unchecked.
  TTreeNode* c = tree->Items()->AddChild(root, "c");
  TTreeNode* c1 = tree->Items()->AddChild(c, "c1");
  tree->SetNodeCheckState(c, csChecked);
  EXPECT_EQ(State(c1), csChecked);
  c1->Delete();
  EXPECT_EQ(State(c), csUnchecked);
}

TEST_F(CheckTreeTest, TheBoxHitTestAtBothEdgesAndAReleaseOutside) {
  TImageList images(nullptr);
  images.SetWidth(10);
  tree->SetImages(&images);
  TTreeNode* root = tree->Items()->Add(nullptr, "root");
  TTreeNode* n = tree->Items()->AddChild(root, "node");
  root->Expand(false);
  int toggles = 0;
  tree->OnCascadeComplete = [&](TObject*, TTreeNode*) { ++toggles; };
  struct Case {
    Integer fromLeft;  // within the 16 pixels before the node image
    bool toggles;
  } cases[] = {{0, false}, {1, true}, {16, true}, {17, false}, {25, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fromLeft);
    toggles = 0;
    ClickBox(n, c.fromLeft);
    EXPECT_EQ(toggles, c.toggles ? 1 : 0);
  }
  // A press on the box and a release outside the control: no toggle, and
  // the press does not wait for a later release either.
  toggles = 0;
  TPoint p = BoxPoint(n);
  Press(p);
  Release({tree->ClientWidth() + 30, p.Y});
  EXPECT_EQ(toggles, 0);
  TRect label = n->DisplayRect(true);
  Press({label.Left + 3, label.Top + 3});
  Release({label.Left + 3, label.Top + 3});
  EXPECT_EQ(toggles, 0);
  tree->SetImages(nullptr);
}

TEST_F(CheckTreeTest, SpaceTogglesAndNeverSearches) {
  TTreeNode* first = tree->Items()->Add(nullptr, "first");
  tree->Items()->Add(nullptr, " spaced");
  tree->SetSelected(first);
  tree->SetFocus();
  int keyPresses = 0;
  tree->OnKeyPress = [&](TObject*, WideChar&) { ++keyPresses; };
  QTest::keyClick(tree->Widget(), Qt::Key_Space);
  EXPECT_EQ(tree->Selected(), first);
  EXPECT_EQ(State(first), csChecked);
  EXPECT_EQ(keyPresses, 0);
  // While a label is edited the space belongs to the editor.
  tree->SetReadOnly(false);
  ASSERT_TRUE(first->EditText());
  tree->Perform(WM_KEYUP, VK_SPACE);
  EXPECT_EQ(State(first), csChecked);
  first->EndEdit(true);
}

TEST_F(CheckTreeTest, CascadesHoldOverRandomTreesAndSteps) {
  std::mt19937 random(20260315);
  for (int round = 0; round < 12; ++round) {
    SCOPED_TRACE(round);
    events.clear();
    veto = nullptr;
    tree->Items()->Clear();
    // A random tree, some nodes without boxes, all unchecked at the start.
    std::vector<TTreeNode*> nodes{tree->Items()->Add(nullptr, "n0")};
    const int size = 8 + static_cast<int>(random() % 25);
    for (int i = 1; i < size; ++i)
      nodes.push_back(tree->Items()->AddChild(nodes[random() % nodes.size()], "n" + std::to_string(i)));
    for (TTreeNode* n : nodes) n->SetStateIndex(random() % 5 == 0 ? 0 : 1);
    tree->Silent();
    tree->SetSilent(true);
    for (TTreeNode* n : nodes)
      if (n->Count() == 0 && n->StateIndex() != 0) tree->SetNodeCheckState(n, csUnchecked);
    tree->SetSilent(false);
    tree->FullExpand();
    ASSERT_TRUE(Consistent());
    Record();
    for (int step = 0; step < 15; ++step) {
      std::vector<TTreeNode*> all;
      for (TTreeNode* n = tree->Items()->GetFirstNode(); n; n = n->GetNext()) all.push_back(n);
      TTreeNode* n = all[random() % all.size()];
      const int kind = static_cast<int>(random() % 4);
      const Integer before = n->StateIndex();
      events.clear();
      switch (kind) {
        case 0:  // a click on the box
          tree->SetSelected(n);
          ClickBox(n);
          break;
        case 1:  // the space bar
          tree->SetSelected(n);
          tree->SetFocus();
          QTest::keyClick(tree->Widget(), Qt::Key_Space);
          break;
        case 2: tree->SetNodeCheckState(n, random() % 2 ? csChecked : csUnchecked); break;
        case 3:
          if (n->Parent()) n->Delete();
          break;
      }
      ASSERT_TRUE(Consistent()) << "step " << step << " kind " << kind;
      if ((kind == 0 || kind == 1) && before != 0) {
        // The toggled subtree holds the node's new state.
        const Integer now = n->StateIndex();
        EXPECT_EQ(now, before == 2 ? 1 : 2);
        for (TTreeNode* d = n->GetNext(); d && d->HasAsParent(n); d = d->GetNext()) EXPECT_EQ(d->StateIndex(), now);
        EXPECT_EQ(events.back(), (Event{"complete", n}));
      }
    }
  }
}

TEST_F(CheckTreeTest, VetoesKeepTheirNodesAndTheOrderStays) {
  std::mt19937 random(77);
  for (int round = 0; round < 20; ++round) {
    SCOPED_TRACE(round);
    tree->Items()->Clear();
    std::vector<TTreeNode*> nodes{tree->Items()->Add(nullptr, "r")};
    for (int i = 1; i < 15; ++i)
      nodes.push_back(tree->Items()->AddChild(nodes[random() % nodes.size()], "n" + std::to_string(i)));
    for (TTreeNode* n : nodes) n->SetStateIndex(1 + static_cast<Integer>(random() % 2));
    tree->FullExpand();
    std::set<TTreeNode*> refused;
    for (TTreeNode* n : nodes)
      if (random() % 3 == 0) refused.insert(n);
    veto = [&](TTreeNode* n) { return refused.count(n) > 0; };
    Record();
    TTreeNode* target = nodes[random() % nodes.size()];
    std::map<TTreeNode*, Integer> before;
    for (TTreeNode* n : nodes) before[n] = n->StateIndex();
    events.clear();
    tree->SetSelected(target);
    tree->SetFocus();
    QTest::keyClick(tree->Widget(), Qt::Key_Space);
    // The order: the node, its descendants in pre-order, the children
    // notice, the ancestors upwards, the completion; a veto drops only the
    // node's own change.
    std::vector<Event> expected;
    auto visit = [&](TTreeNode* n) {
      expected.push_back({"changing", n});
      if (!refused.count(n)) expected.push_back({"change", n});
    };
    visit(target);
    for (TTreeNode* d = target->GetNext(); d && d->HasAsParent(target); d = d->GetNext()) visit(d);
    expected.push_back({"children", nullptr});
    for (TTreeNode* p = target->Parent(); p; p = p->Parent()) visit(p);
    expected.push_back({"complete", target});
    EXPECT_EQ(events, expected);
    for (TTreeNode* n : refused) EXPECT_EQ(n->StateIndex(), before[n]) << n->Text();
  }
  veto = nullptr;
}

TEST_F(CheckTreeTest, ARefreshLikeTheProjectTreeKeepsEveryFlag) {
  // The main window's handler: a file is active exactly when its node is
  // checked.
  struct File {
    bool active;
  };
  std::vector<File> files = {{true}, {false}, {true}, {false}, {false}, {true}};
  tree->OnStateChange = [&](TObject*, TTreeNode* n, TWexCheckState s) {
    if (auto* f = static_cast<File*>(n->Data())) f->active = s == csChecked;
  };
  auto refill = [&] {
    tree->Items()->BeginUpdate();
    tree->Items()->Clear();
    TTreeNode* root = tree->Items()->Add(nullptr, "project.PJT");
    for (File& f : files) {
      TTreeNode* n = tree->Items()->AddChildObject(root, "file", &f);
      tree->SetNodeCheckState(n, f.active ? csChecked : csUnchecked);
    }
    root->Expand(false);
    tree->Items()->EndUpdate();
  };
  const std::vector<bool> flags = {true, false, true, false, false, true};
  for (int refresh = 0; refresh < 3; ++refresh) {
    refill();
    std::vector<bool> now;
    for (const File& f : files) now.push_back(f.active);
    EXPECT_EQ(now, flags);
  }
  // Removing one file's node (its parent stays) works out the parent as the
  // Part says.
  TTreeNode* root = tree->Items()->GetFirstNode();
  root->Item(1)->Delete();
  EXPECT_TRUE(Consistent());
}

TEST_F(CheckTreeTest, RightClickMenusAndTheKeyboardMenu) {
  auto* menu = new RecordingMenu(form);
  TTreeNode* root = tree->Items()->Add(nullptr, "root");
  TTreeNode* child = tree->Items()->AddChild(root, "child");
  root->Expand(false);
  // No menu and no handler: nothing shows.
  TRect r = child->DisplayRect(true);
  QTest::mouseClick(tree->Widget(), Qt::RightButton, Qt::NoModifier, QPoint(r.Left + 5, r.Top + 4));
  EXPECT_TRUE(menu->shown.empty());

  tree->SetPopupMenu(menu);
  tree->SetRightClickSelect(true);
  TTreeNode* seenNode = nullptr;
  TTreeNode* selectedDuring = nullptr;
  tree->OnNodeContextMenu = [&](TObject*, TTreeNode* n, TPoint& pos, TPopupMenu*& m) {
    seenNode = n;
    selectedDuring = tree->GetSelected();
    pos.X += 1;
  };
  QTest::mouseClick(tree->Widget(), Qt::RightButton, Qt::NoModifier, QPoint(r.Left + 5, r.Top + 4));
  EXPECT_EQ(seenNode, child);
  EXPECT_EQ(selectedDuring, child);  // the right-clicked node while its menu shows
  ASSERT_EQ(menu->shown.size(), 1u);  // and no second menu from the release
  EXPECT_EQ(menu->shown[0], tree->ClientToScreen({r.Left + 4, r.Top + 2}));
  EXPECT_EQ(menu->components[0], tree);
  EXPECT_EQ(tree->GetSelected(), tree->Selected());

  // A handler may clear the menu.
  tree->OnNodeContextMenu = [&](TObject*, TTreeNode*, TPoint&, TPopupMenu*& m) { m = nullptr; };
  clock->Advance(2000);
  QTest::mouseClick(tree->Widget(), Qt::RightButton, Qt::NoModifier, QPoint(r.Left + 5, r.Top + 4));
  EXPECT_EQ(menu->shown.size(), 1u);
  tree->OnNodeContextMenu = nullptr;

  // The keyboard: the selected node's menu at the centre of its label.
  tree->SetSelected(child);
  tree->SetFocus();
  QTest::keyClick(tree->Widget(), Qt::Key_Menu);
  ASSERT_EQ(menu->shown.size(), 2u);
  EXPECT_EQ(menu->shown[1], tree->ClientToScreen({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}));

  // Shift+F10 on an empty tree: the control's menu at its top-left corner.
  tree->Items()->Clear();
  QTest::keyClick(tree->Widget(), Qt::Key_F10, Qt::ShiftModifier);
  ASSERT_EQ(menu->shown.size(), 3u);
  EXPECT_EQ(menu->shown[2], tree->ClientToScreen({0, 0}));
  // A right click on an empty tree: the node menu of no node.
  int asked = 0;
  tree->OnNodeContextMenu = [&](TObject*, TTreeNode* n, TPoint&, TPopupMenu*&) {
    ++asked;
    EXPECT_EQ(n, nullptr);
  };
  clock->Advance(2000);
  QTest::mouseClick(tree->Widget(), Qt::RightButton, Qt::NoModifier, QPoint(40, 40));
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(menu->shown.size(), 4u);
}

TEST_F(CheckTreeTest, WheelScrollsThreeRows) {
  TTreeNode* root = tree->Items()->Add(nullptr, "root");
  for (int i = 0; i < 60; ++i) tree->Items()->AddChild(root, "row " + std::to_string(i));
  root->Expand(false);
  tree->Update();
  auto wheel = [&](int delta) {
    QWheelEvent e(QPointF(30, 30), tree->Widget()->mapToGlobal(QPointF(30, 30)), QPoint(), QPoint(0, delta),
                  Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(tree->Widget(), &e);
  };
  wheel(-120);
  EXPECT_EQ(GetScrollPos(tree->Handle(), SB_VERT), 3);
  EXPECT_EQ(tree->TopItem(), root->Item(2));
  wheel(-120);
  EXPECT_EQ(GetScrollPos(tree->Handle(), SB_VERT), 6);
  wheel(120);
  wheel(120);
  wheel(120);
  EXPECT_EQ(GetScrollPos(tree->Handle(), SB_VERT), 0);
}

TEST_F(CheckTreeTest, SelectionOutlineAfterFocusLeaves) {
  TTreeNode* root = tree->Items()->Add(nullptr, "root");
  TTreeNode* child = tree->Items()->AddChild(root, "child");
  root->Expand(false);
  tree->SelectionPen()->SetColor(clRed);
  tree->SetSelected(child);
  auto* other = new TCustomControl(form);
  other->SetBounds(260, 10, 40, 40);
  other->SetTabStop(true);
  other->SetParent(form);
  tree->SetFocus();
  supporttest::Pump();
  other->SetFocus();
  supporttest::Pump();
  ASSERT_FALSE(tree->Focused());
  tree->Update();
  TRect r = child->DisplayRect(true);
  TCanvas* c = tree->Canvas();
  for (Integer x = r.Left; x < r.Right; x += 5) {
    EXPECT_EQ(c->Pixels(x, r.Top), clRed) << x;
    EXPECT_EQ(c->Pixels(x, r.Bottom - 1), clRed) << x;
  }
  EXPECT_EQ(c->Pixels(r.Left, r.Top + 3), clRed);
  EXPECT_EQ(c->Pixels(r.Right - 1, r.Top + 3), clRed);
  // With the focus back: no outline, the focused selection.
  tree->SetFocus();
  supporttest::Pump();
  tree->Update();
  EXPECT_EQ(c->Pixels(r.Left + 3, r.Top + 3), ColorToRGB(clHighlight));
}

TEST_F(CheckTreeTest, ClassicCheckImagesInPixels) {
  SetThemeActive(false);
  tree->SetHighlightColor(clBlue);  // rebuilds, unthemed now
  tree->SetFrameColor(clNavy);
  TImageList* images = tree->CheckImages();
  ASSERT_EQ(images->Count(), 4);
  // The tick of the checked image, in image coordinates: the glyph sits at
  // (2, 2), its inner corner at (3, 3).
  const std::vector<std::pair<int, int>> tick = {{5, 7}, {6, 8}, {7, 9}, {8, 8}, {9, 7}, {10, 6}, {11, 5}};
  for (Integer index = 0; index < 4; ++index) {
    SCOPED_TRACE(index);
    TBitmap b;
    images->GetBitmap(index, &b);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        QRgb p = b.Image()->pixel(x, y);
        TColor want;
        bool transparent = false;
        if (x < 2 || y < 2) {
          transparent = true;  // the olive background
          want = 0;
        } else if (x >= 15 || y >= 15) {
          want = clWhite;  // the glyph bitmap's own margin
        } else if (x == 2 || y == 2 || x == 14 || y == 14) {
          want = clNavy;
        } else {
          want = ColorToRGB(clWindow);
          if (index == 3 && x >= 5 && x < 12 && y >= 5 && y < 12) want = clBlue;
          if (index == 2)
            for (auto [cx, top] : tick)
              if (x == cx && y >= top && y < top + 3) want = clBlue;
        }
        if (transparent) {
          EXPECT_EQ(qAlpha(p), 0) << x << "," << y;
        } else {
          EXPECT_EQ(qAlpha(p), 255) << x << "," << y;
          EXPECT_EQ(RGB(static_cast<Byte>(qRed(p)), static_cast<Byte>(qGreen(p)), static_cast<Byte>(qBlue(p))), want)
              << x << "," << y;
        }
      }
  }
}

TEST_F(CheckTreeTest, CustomFrameInTheWindowBorder) {
  tree->SetFramingPreference(fpCustomFraming);
  tree->SetFrameStyle(fsFlat);
  tree->SetFrameColor(clRed);
  tree->SetFrameVisible(true);
  supporttest::Pump();
  tree->Update();
  auto window = GetWindowDC(tree->Handle());
  const Integer w = tree->Width(), h = tree->Height();
  // Outer ring in the frame colour, the second ring in the tree's colour.
  for (Integer x = 0; x < w; x += 7) {
    EXPECT_EQ(window->Pixels(x, 0), clRed) << x;
    EXPECT_EQ(window->Pixels(x, h - 1), clRed) << x;
  }
  for (Integer y = 0; y < h; y += 7) {
    EXPECT_EQ(window->Pixels(0, y), clRed) << y;
    EXPECT_EQ(window->Pixels(w - 1, y), clRed) << y;
    if (y >= 1 && y < h - 1) {
      EXPECT_EQ(window->Pixels(1, y), ColorToRGB(tree->Color())) << y;
    }
  }
  // Hot tracking: the hot style and colour while focused.
  tree->SetFrameHotTrack(true);
  tree->SetFrameHotColor(clGreen);
  tree->SetFocus();
  supporttest::Pump();
  tree->Update();
  EXPECT_EQ(window->Pixels(0, 10), clGreen);
  EXPECT_EQ(window->Pixels(1, 10), clGreen);  // fsFlatBold: two pixels
  // Left to the visual styles: the frame is not drawn.
  tree->SetFramingPreference(fpXPThemes);
  RedrawWindow(tree->Handle(), nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_NE(window->Pixels(0, 10), clGreen);
  TBitmap grab(w, h);
  tree->SetFramingPreference(fpCustomFraming);
  tree->Update();
  grab.Canvas()->CopyRect(Rect(0, 0, w, h), window.get(), Rect(0, 0, w, h));
  TPngImage png;
  png.Assign(&grab);
  png.SaveToFile(AnsiString(TOLVANE_BIN_DIR) + "/../support_tree_frame.png");
}

TEST_F(CheckTreeTest, ColoursFollowFocusEnablingAndTheController) {
  tree->SetFocusColor(clCream);
  tree->SetDisabledColor(clSilver);
  tree->SetColor(clAqua);
  auto* other = new TCustomControl(form);
  other->SetBounds(260, 10, 40, 40);
  other->SetTabStop(true);
  other->SetParent(form);
  other->SetFocus();
  supporttest::Pump();
  EXPECT_EQ(tree->Color(), clAqua);
  tree->SetFocus();
  supporttest::Pump();
  EXPECT_EQ(tree->Color(), clCream);
  other->SetFocus();
  supporttest::Pump();
  EXPECT_EQ(tree->Color(), clAqua);
  tree->SetEnabled(false);
  EXPECT_EQ(tree->Color(), clSilver);
  tree->SetEnabled(true);
  EXPECT_EQ(tree->Color(), clAqua);
  // A focus colour equal to the normal one follows it.
  tree->SetFocusColor(clAqua);
  tree->SetColor(clLime);
  EXPECT_EQ(tree->FocusColor(), clLime);

  TWexFrameController controller(nullptr);
  controller.SetFrameStyle(fsRaised);
  controller.SetFrameColor(clMaroon);
  tree->SetFrameController(&controller);
  EXPECT_EQ(tree->FrameStyle(), fsRaised);
  EXPECT_EQ(tree->FrameColor(), clMaroon);
  EXPECT_EQ(tree->Color(), clWindow);
  tree->SetFrameControllerNotifications(kAllFrameControllerNotifications - TWexFrameControllerNotifications{fcpFrameColor});
  controller.SetFrameColor(clPurple);
  EXPECT_EQ(tree->FrameColor(), clMaroon);
  tree->SetFrameController(nullptr);
  EXPECT_EQ(controller.LinkedControlCount(), 0);
}

TEST_F(CheckTreeTest, AutoExpandAndAutoSelectExcludeEachOther) {
  TTreeNode* root = tree->Items()->Add(nullptr, "root");
  TTreeNode* a = tree->Items()->AddChild(root, "a");
  tree->Items()->AddChild(a, "a1");
  tree->SetAutoExpand(true);
  EXPECT_FALSE(tree->AutoSelect());
  tree->SetAutoSelect(true);
  EXPECT_FALSE(tree->AutoExpand());
  // Expanding selects after, collapsing before.
  root->Expand(false);
  EXPECT_EQ(tree->Selected(), root);
  a->Expand(false);
  EXPECT_EQ(tree->Selected(), a);
  tree->SetSelected(root);
  a->Collapse(false);
  EXPECT_EQ(tree->Selected(), a);
}

TEST_F(CheckTreeTest, OldCommonControlsMeanNoTooltips) {
  rtl::SetFileVersionForTesting("comctl32.dll", rtl::TFileVersionWords{0x00040047, 0});
  StartPlatformProbes();
  auto* old = new TWexCheckTree(form);
  old->SetParent(form);
  EXPECT_TRUE(GetWindowLong(old->Handle(), GWL_STYLE) & TVS_NOTOOLTIPS);
  StopPlatformProbes();
  rtl::ResetFileVersionsForTesting();
  StartPlatformProbes();
  auto* current = new TWexCheckTree(form);
  current->SetParent(form);
  EXPECT_FALSE(GetWindowLong(current->Handle(), GWL_STYLE) & TVS_NOTOOLTIPS);
  StopPlatformProbes();
}

TEST_F(CheckTreeTest, GalleryOfThemedAndClassicTrees) {
  auto fill = [](TWexCheckTree* t) {
    TTreeNode* root = t->Items()->Add(nullptr, "project.PJT");
    const char* names[] = {"index.htm", "error404.htm", "style.css", "logo.gif"};
    for (int i = 0; i < 4; ++i) {
      TTreeNode* n = t->Items()->AddChild(root, names[i]);
      t->SetNodeCheckState(n, i % 2 ? csUnchecked : csChecked);
    }
    root->Expand(false);
    t->SetSelected(root->Item(0));
  };
  fill(tree);
  tree->SetWidth(150);
  SetThemeActive(false);
  auto* classic = new TWexCheckTree(form);
  classic->SetBounds(165, 10, 150, 260);
  classic->SetParent(form);
  fill(classic);
  SetThemeActive(true);
  supporttest::Pump();
  tree->Update();
  classic->Update();
  ASSERT_TRUE(form->SaveWindowImage(AnsiString(TOLVANE_BIN_DIR) + "/../support_check_trees.png"));
}
