// The toolbar's option window and its add-or-remove menu, driven by Qt
// mouse events on the windows' panels: the overflow panel's flow and
// entries, the popup menu's lines and widths measured on fixed metrics, the
// popup opened right of the entry or left of it at the work area's edge,
// check lines hiding and showing the toolbar's controls, the options entry
// dropping the option menu or the customise window, the sizing corners, and
// the chain of windows closing after a press outside.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QCursor>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>
#include <QWidget>
#include <functional>
#include <memory>

#include "controls/LumMenus.h"
#include "ribbon/RorIvezEviButtons.h"
#include "ribbon/RorIvezEviOptionWindow.h"
#include "ribbon/RorIvezEviToolBar.h"
#include "rtl/Clock.h"
#include "vcl/Forms.h"
#include "vcl/Menus.h"
#include "vcl/Messages.h"
#include "vcl/TestCanvases.h"

namespace {

using namespace ribbon;

// An option menu that records where it was asked to pop up instead of
// running its loop.
class RecordingOptionMenu : public vcl::TPopupMenu {
 public:
  using vcl::TPopupMenu::TPopupMenu;
  void Popup(vcl::Integer x, vcl::Integer y) override {
    ++shown;
    at = {x, y};
    if (whileOpen) whileOpen();
  }
  std::function<void()> whileOpen;
  int shown = 0;
  vcl::TPoint at{};
};

class RecordingCustomizer : public TRIEToolBarCustomizer {
 public:
  using TRIEToolBarCustomizer::TRIEToolBarCustomizer;
  rtl::AnsiString CustomizeText() const override { return "Customize"; }
  void ShowCustomization(TLumCustomToolBar* ToolBar) override { shownFor = ToolBar; }
  TLumCustomToolBar* shownFor = nullptr;
};

struct OptionRig {
  std::shared_ptr<rtl::ManualClock> clock = std::make_shared<rtl::ManualClock>(1000000);
  vcl::TForm* form = nullptr;
  TRorIvezEvi* bar = nullptr;
  std::vector<TLumCustomToolBarButton*> buttons;
  TRorIvezEviSeparator* separator = nullptr;
  TOptionSelectorWindow* window = nullptr;
  TControlSelectorPanel* panel = nullptr;
  vcl::TFakeMetricsCanvas metrics;

  explicit OptionRig(int advance = 8) : metrics(0, 0, vcl::TFakeMetrics{advance, 10, 3}) {
    rtl::InstallClock(clock);
    form = new vcl::TForm(vcl::Application, 0);
    form->SetBounds(40, 40, 500, 300);
    bar = new TRorIvezEvi(form);
    bar->SetCaption("Standard");
    bar->SetParent(form);
    bar->SetBounds(10, 10, 200, 26);
    int left = 10;
    for (const char* caption : {"New", "Open", "Save"}) {
      auto* b = new TLumCustomToolBarButton(form);
      b->SetCaption(caption);
      b->SetName(caption);
      b->SetBounds(left, 2, 40, 22);
      b->SetParent(bar);
      buttons.push_back(b);
      left += 45;
    }
    separator = new TRorIvezEviSeparator(form);
    separator->SetBounds(left, 2, 6, 22);
    separator->SetParent(bar);
    window = new TOptionSelectorWindow(bar);
    window->SetRorIvezEvi(bar);
    panel = new TControlSelectorPanel(window);
    panel->SetParent(window);
    panel->SetRorIvezEvi(bar);
    panel->SetMeasureCanvas(&metrics);
    window->SetOptionsPanel(panel);
    form->Show();
    Pump();
  }
  ~OptionRig() {
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
  void Tick() {
    clock->Advance(1);
    vcl::Application->ProcessMessages();
    Pump();
  }
  // Arranges the panel and shows the window under the toolbar.
  void ShowWindow() {
    panel->Arrange();
    window->FitToPanel();
    window->ShowAt(bar->ClientToScreen({0, bar->Height()}));
    Pump();
  }
  // Straight to the widget: the offscreen window system does not stack
  // the pop-ups, so a move by the cursor could land on the window below.
  static void Move(vcl::TWinControl* c, vcl::TPoint p) {
    QWidget* w = c->Widget();
    const QPointF at(p.X, p.Y);
    QMouseEvent move(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &move);
    QCoreApplication::processEvents();
  }
  static void Click(vcl::TWinControl* c, vcl::TPoint p) {
    QTest::mousePress(c->Widget(), Qt::LeftButton, {}, QPoint(p.X, p.Y));
    QTest::mouseRelease(c->Widget(), Qt::LeftButton, {}, QPoint(p.X, p.Y));
    QCoreApplication::processEvents();
  }
  static vcl::TPoint Mid(const vcl::TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }
  static vcl::Integer HitTest(vcl::TCustomForm* w, int x, int y) {
    const vcl::TPoint p = w->ClientToScreen({x, y});
    return w->Perform(vcl::WM_NCHITTEST, 0, vcl::MakeLParam(static_cast<vcl::Word>(p.X), static_cast<vcl::Word>(p.Y)));
  }
};

// The popup menu's arrangement: lines 24 high, 2 apart, widths from the
// widest caption plus 7, 30 for a sub-menu arrow, the icon bar and the
// image column, at least 70, plus the margins of 2.
TEST(RibbonOptionWindow, PopupMenuArrangement) {
  OptionRig rig;
  auto* styler = new controls::TLumMenuStyler(rig.form);
  struct Case {
    const char* name;
    std::vector<const char*> captions;
    bool subItems, iconBar;
    int width;
  };
  const Case cases[] = {
      {"short captions stay at 70", {"Cut", "Copy"}, false, false, 74},
      {"40-pixel caption with sub-menu and icon bar", {"Paste"}, true, true, 40 + 7 + 30 + 24 + 4},
      {"widest caption plus 7", {"Ab", "Abcdefghijkl"}, false, false, 12 * 8 + 7 + 4},
      {"icon bar alone", {"Abcdefgh"}, false, true, 8 * 8 + 7 + 24 + 4},
  };
  for (const Case& c : cases) {
    auto* popup = new TRIEPopupWindow(rig.form);
    TRIEPopupPanel* panel = popup->PopupPanel();
    panel->SetMeasureCanvas(&rig.metrics);
    panel->SetMenuStyler(styler);
    panel->SetShowIconBar(c.iconBar);
    TRIEMenuItem* root = popup->CreateRootItem();
    for (const char* caption : c.captions) {
      TRIEMenuItem* item = root->Add();
      item->SetCaption(caption);
      EXPECT_EQ(item->Parent(), root);
      if (c.subItems) item->Add()->SetCaption("x");
    }
    panel->SetRootItem(root);
    popup->FitToPanel();
    EXPECT_EQ(panel->Width(), c.width) << c.name;
    EXPECT_EQ(popup->ClientWidth(), c.width) << c.name;
    const int n = static_cast<int>(c.captions.size());
    EXPECT_EQ(panel->Height(), 2 + 26 * n) << c.name;
    for (int i = 0; i < n; ++i)
      EXPECT_EQ(root->Items(i)->Rect(), vcl::Rect(2, 2 + 26 * i, c.width - 2, 2 + 26 * i + 24)) << c.name;
    EXPECT_EQ(panel->ItemAtPos({5, 3}), 0) << c.name;
    EXPECT_EQ(panel->ItemAtPos({5, 28}), n > 1 ? 1 : -1) << c.name;
    EXPECT_EQ(panel->ItemAtPos({5, 26}), -1) << c.name;  // the 2-pixel gap is nobody's
    EXPECT_EQ(panel->ItemAtPos({5, 27}), -1) << c.name;
    vcl::Free(popup);
  }
  // Entries: reading past the end raises; clearing frees the sub-entries.
  TRIEMenuItem root;
  root.Add()->Add();
  EXPECT_TRUE(root.HasSubItems());
  EXPECT_TRUE(root.Items(0)->HasSubItems());
  try {
    root.Items(1);
    ADD_FAILURE() << "no exception";
  } catch (const std::exception& e) {
    EXPECT_STREQ(e.what(), "Index out of bounds in list read access");
  }
  root.Clear();
  EXPECT_EQ(root.Count(), 0);
}

// The overflow panel: controls flow in lines as wide as the widest of them
// and the first entry, the entries 130 wide under short captions and 15
// more than a longer caption, the gap of 8 only between controls and an
// entry.
TEST(RibbonOptionWindow, OverflowPanelGeometry) {
  struct Case {
    const char* name;
    int advance;
    const char* first;
    const char* second;
    bool autoOption, options, controls;
    int width, height;
  };
  // Advance 7: "Add or Remove Buttons" is 21 characters, 147 pixels; 16
  // characters are 112, below 115; 20 characters are 140.
  const Case cases[] = {
      {"short captions: 130", 7, "Add or Remove 16", "Options", true, true, true, 136, 3 + 22 + 20 + 20 + 8 + 3},
      {"a 140-pixel caption: 155", 7, "Add or Remove abc 20", "Options", true, true, true, 161,
       3 + 22 + 20 + 20 + 8 + 3},
      {"a 140-pixel second caption: 155", 7, "Add", "Option captions 20ab", true, true, true, 161,
       3 + 22 + 20 + 20 + 8 + 3},
      {"second caption ignored without options", 7, "Add", "Option captions 20ab", true, false, true, 136,
       3 + 22 + 20 + 8 + 3},
      {"no entries: no gap", 7, "Add", "Options", false, false, true, 136, 3 + 22 + 3},
      {"entries only", 7, "Add", "Options", true, true, false, 136, 3 + 20 + 20 + 3},
  };
  for (const Case& c : cases) {
    OptionRig rig(c.advance);
    auto* menu = new RecordingOptionMenu(rig.form);
    rig.panel->SetAutoOptionMenu(c.autoOption);
    rig.panel->SetOptionMenu(c.options ? menu : nullptr);
    rig.panel->SetFirstCaption(c.first);
    rig.panel->SetSecondCaption(c.second);
    if (c.controls)
      for (TLumCustomToolBarButton* b : rig.buttons) rig.panel->AddControl(b);
    rig.panel->Arrange();
    EXPECT_EQ(rig.panel->Width(), c.width) << c.name;
    EXPECT_EQ(rig.panel->Height(), c.height) << c.name;
    EXPECT_EQ(rig.panel->FirstItem().Width, c.width - 6) << c.name;
    EXPECT_EQ(rig.panel->SecondItem().Width, c.width - 6) << c.name;
    const int h = c.height;
    EXPECT_EQ(rig.panel->FirstItem().Rect, c.autoOption ? vcl::Rect(3, h - 23, c.width - 3, h - 3) : vcl::TRect{})
        << c.name;
    const int secondBottom = c.autoOption ? h - 23 : h - 3;
    EXPECT_EQ(rig.panel->SecondItem().Rect,
              c.options ? vcl::Rect(3, secondBottom - 20, c.width - 3, secondBottom) : vcl::TRect{})
        << c.name;
    EXPECT_EQ(rig.panel->IsEmpty(), !c.controls && !c.autoOption && !c.options) << c.name;
  }
  // Three 40-pixel buttons in a 130-wide line sit side by side; a fourth
  // wraps to the next line under them; a control not listed is moved out
  // of sight.
  OptionRig rig(7);
  rig.panel->SetFirstCaption("Add");
  std::vector<TLumCustomToolBarButton*> plain;
  for (int i = 0; i < 4; ++i) {
    plain.push_back(new TLumCustomToolBarButton(rig.form));
    plain.back()->SetBounds(0, 0, 40, 22);
    const int index = rig.panel->AddControl(plain.back());
    EXPECT_EQ(index, i);
  }
  EXPECT_EQ(rig.panel->AddControl(plain[1]), 1);  // listed once
  EXPECT_EQ(rig.panel->AddControl(nullptr), -1);
  TLumCustomToolBarButton* fourth = plain[3];
  auto* stray = new TLumCustomToolBarButton(rig.form);
  stray->SetBounds(0, 0, 30, 18);
  stray->SetParent(rig.panel);
  rig.panel->Arrange();
  EXPECT_EQ(plain[0]->BoundsRect(), vcl::Bounds(3, 3, 40, 22));
  EXPECT_EQ(plain[1]->BoundsRect(), vcl::Bounds(43, 3, 40, 22));
  EXPECT_EQ(plain[2]->BoundsRect(), vcl::Bounds(83, 3, 40, 22));
  EXPECT_EQ(fourth->BoundsRect(), vcl::Bounds(3, 25, 40, 22));
  EXPECT_EQ(stray->Top(), -20);
  // A freed control leaves the list; the panel's own separators go when
  // it hides.
  vcl::Free(fourth);
  EXPECT_EQ(rig.panel->ListedControlCount(), 3);
  rig.separator->SetLineColor(0x123456);
  rig.panel->AddSeparator(rig.separator);
  ASSERT_EQ(rig.panel->CreatedSeparators().size(), 1u);
  EXPECT_EQ(rig.panel->CreatedSeparators()[0]->LineColor(), 0x123456);
  EXPECT_EQ(rig.panel->CreatedSeparators()[0]->Parent(), rig.panel);
  rig.ShowWindow();
  rig.window->HideWindow();
  EXPECT_TRUE(rig.panel->CreatedSeparators().empty());
  EXPECT_EQ(rig.panel->ListedControlCount(), 3);
}

// Hovering the first entry opens the add-or-remove popup right of the
// window; hovering its line opens the sub-menu of check lines beside it; a
// click on a check line hides the button and a second click shows it.
TEST(RibbonOptionWindow, AddOrRemoveHidesAndShows) {
  OptionRig rig;
  rig.ShowWindow();
  ASSERT_TRUE(rig.window->Visible());
  const vcl::TRect first = rig.panel->FirstItem().Rect;
  OptionRig::Move(rig.panel, OptionRig::Mid(first));
  rig.Pump();
  EXPECT_TRUE(rig.panel->FirstHot());
  EXPECT_TRUE(rig.panel->FirstDown());
  TRIEPopupWindow* popup = rig.panel->AddRemovePopup();
  ASSERT_NE(popup, nullptr);
  ASSERT_TRUE(popup->Visible());
  EXPECT_FALSE(rig.window->HideOnDeactivate());
  const vcl::TPoint corner = rig.panel->ClientToScreen({first.Right, first.Top});
  EXPECT_EQ(popup->Left(), corner.X);
  EXPECT_EQ(popup->Top(), corner.Y);
  // One line: the toolbar's caption with a sub-menu of its three buttons
  // (the separator left out).
  TRIEMenuItem* root = popup->RootItem();
  ASSERT_EQ(root->Count(), 1);
  TRIEMenuItem* line = root->Items(0);
  EXPECT_EQ(line->Caption(), "Standard");
  ASSERT_EQ(line->Count(), 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(line->Items(i)->Caption(), rig.buttons[static_cast<size_t>(i)]->Caption());
    EXPECT_TRUE(line->Items(i)->Checked());
    EXPECT_TRUE(line->Items(i)->AutoCheck());
    EXPECT_EQ(line->Items(i)->Data(), rig.buttons[static_cast<size_t>(i)]);
  }
  EXPECT_EQ(popup->PopupPanel()->MenuStyler(), rig.bar->CurrentStyler()->CurrentMenuStyler());
  // Its line hovered: the sub-menu opens 2 right of the line.
  OptionRig::Move(popup->PopupPanel(), OptionRig::Mid(line->Rect()));
  rig.Pump();
  TRIEPopupWindow* sub = popup->PopupPanel()->SubMenuWindow();
  ASSERT_NE(sub, nullptr);
  ASSERT_TRUE(sub->Visible());
  EXPECT_EQ(popup->PopupPanel()->OpenIndex(), 0);
  EXPECT_FALSE(popup->HideOnDeactivate());
  const vcl::TPoint lineCorner = popup->PopupPanel()->ClientToScreen({line->Rect().Right, line->Rect().Top});
  EXPECT_EQ(sub->Left(), lineCorner.X + 2);
  EXPECT_EQ(sub->Top(), lineCorner.Y);
  EXPECT_EQ(sub->PopupPanel()->RootItem(), line);
  EXPECT_TRUE(sub->PopupPanel()->ShowIconBar());
  // Leaving the first entry for the popup keeps the entry painted down.
  rig.panel->Perform(vcl::CM_MOUSELEAVE);
  EXPECT_FALSE(rig.panel->FirstHot());
  EXPECT_TRUE(rig.panel->FirstDown());
  // A click on "Open": hidden, unchecked; again: shown, checked.
  TRIEMenuItem* open = line->Items(1);
  OptionRig::Click(sub->PopupPanel(), OptionRig::Mid(open->Rect()));
  EXPECT_FALSE(rig.buttons[1]->Visible());
  EXPECT_FALSE(open->Checked());
  EXPECT_TRUE(rig.buttons[0]->Visible());
  OptionRig::Click(sub->PopupPanel(), OptionRig::Mid(open->Rect()));
  EXPECT_TRUE(rig.buttons[1]->Visible());
  EXPECT_TRUE(open->Checked());
  // A button freed while listed is forgotten, and a click on its line
  // does nothing.
  vcl::Free(rig.buttons[2]);
  rig.buttons.pop_back();
  EXPECT_EQ(line->Items(2)->Data(), nullptr);
  OptionRig::Click(sub->PopupPanel(), OptionRig::Mid(line->Items(2)->Rect()));
  EXPECT_TRUE(line->Items(2)->Checked());
}

// Near the work area's right edge the popup opens left of the first entry
// and the sub-menu left of its line.
TEST(RibbonOptionWindow, PopupFlipsAtTheWorkAreaEdge) {
  OptionRig rig;
  const vcl::TRect work = vcl::PrimaryWorkArea();
  rig.panel->Arrange();
  rig.window->FitToPanel();
  // The window ends 20 pixels before the work area's right edge.
  rig.window->ShowAt({work.Right - 20 - rig.window->Width(), work.Top + 100});
  rig.Pump();
  const vcl::TRect first = rig.panel->FirstItem().Rect;
  OptionRig::Move(rig.panel, OptionRig::Mid(first));
  rig.Pump();
  TRIEPopupWindow* popup = rig.panel->AddRemovePopup();
  ASSERT_TRUE(popup && popup->Visible());
  const vcl::TPoint entryLeft = rig.panel->ClientToScreen({first.Left, first.Top});
  EXPECT_EQ(popup->Left(), entryLeft.X - popup->Width());
  EXPECT_LE(popup->Left() + popup->Width(), work.Right);
  TRIEMenuItem* line = popup->RootItem()->Items(0);
  OptionRig::Move(popup->PopupPanel(), OptionRig::Mid(line->Rect()));
  rig.Pump();
  TRIEPopupWindow* sub = popup->PopupPanel()->SubMenuWindow();
  ASSERT_TRUE(sub && sub->Visible());
  // Right of the flipped popup there is room again: the sub-menu opens
  // right of its line, over the option window.
  const vcl::TPoint lineRight = popup->PopupPanel()->ClientToScreen({line->Rect().Right, line->Rect().Top});
  EXPECT_EQ(sub->Left(), lineRight.X + 2);
  // The placement beside an entry: right of it, left of it where the work
  // area ends, moved up to end 2 above the work area's bottom.
  struct Case {
    const char* name;
    vcl::TRect entry;
    vcl::TPoint at;
  };
  const Case cases[] = {
      {"room on the right", vcl::Bounds(100, work.Top + 10, 50, 24), {152, work.Top + 10}},
      {"right edge", vcl::Bounds(work.Right - 100, work.Top + 10, 50, 24), {work.Right - 180, work.Top + 10}},
      {"bottom edge", vcl::Bounds(100, work.Bottom - 10, 50, 24), {152, work.Bottom - 62}},
      {"both edges", vcl::Bounds(work.Right - 100, work.Bottom - 10, 50, 24), {work.Right - 180, work.Bottom - 62}},
  };
  for (const Case& c : cases) EXPECT_EQ(PlaceBesideEntry(c.entry, {80, 60}, 2, work), c.at) << c.name;
}

// The sizing corner of both windows; a press outside closes the deepest
// window on the next tick and the chain closes with it up to the option
// window.
TEST(RibbonOptionWindow, SizingCornerAndClosingChain) {
  OptionRig rig;
  rig.ShowWindow();
  const int w = rig.window->Width(), h = rig.window->Height();
  struct Probe {
    int x, y;
    bool corner;
  };
  for (const Probe& p : {Probe{w - 1, h - 1, true}, Probe{w - 10, h - 10, true}, Probe{w - 11, h - 1, false},
                         Probe{w - 1, h - 11, false}})
    EXPECT_EQ(OptionRig::HitTest(rig.window, p.x, p.y) == vcl::HT_BOTTOMRIGHT_CORNER, p.corner) << p.x << "," << p.y;
  OptionRig::Move(rig.panel, OptionRig::Mid(rig.panel->FirstItem().Rect));
  rig.Pump();
  TRIEPopupWindow* popup = rig.panel->AddRemovePopup();
  ASSERT_TRUE(popup && popup->Visible());
  const int pw = popup->Width(), ph = popup->Height();
  EXPECT_EQ(OptionRig::HitTest(popup, pw - 1, ph - 1), vcl::HT_BOTTOMRIGHT_CORNER);
  EXPECT_NE(OptionRig::HitTest(popup, pw - 11, ph - 1), vcl::HT_BOTTOMRIGHT_CORNER);
  OptionRig::Move(popup->PopupPanel(), OptionRig::Mid(popup->RootItem()->Items(0)->Rect()));
  rig.Pump();
  TRIEPopupWindow* sub = popup->PopupPanel()->SubMenuWindow();
  ASSERT_TRUE(sub && sub->Visible());
  // A press on the form: only the deepest window, the one whose
  // HideOnDeactivate holds, starts its timer.
  OptionRig::Click(rig.form, {300, 200});
  rig.Pump();
  EXPECT_TRUE(sub->HideTimer()->Enabled());
  EXPECT_FALSE(popup->HideTimer()->Enabled());
  rig.Tick();
  EXPECT_FALSE(sub->Visible());
  EXPECT_FALSE(popup->Visible());
  EXPECT_FALSE(rig.window->Visible());
  EXPECT_FALSE(rig.panel->FirstDown());
  EXPECT_EQ(popup->PopupPanel()->OpenIndex(), -1);
  EXPECT_EQ(popup->PopupPanel()->HoverIndex(), -1);
}

// The second entry: the option menu pops up at the entry's top-right
// corner and the window closes afterwards; with a customiser instead, a
// customise window opens there and its click starts the customiser.
TEST(RibbonOptionWindow, OptionsEntry) {
  {
    OptionRig rig;
    auto* menu = new RecordingOptionMenu(rig.form);
    auto* item = new vcl::TMenuItem(menu);
    item->SetCaption("Reset Toolbar");
    menu->Items()->Add(item);
    rig.panel->SetOptionMenu(menu);
    rig.ShowWindow();
    // While the menu is open its timer watches for the cursor on the
    // first entry: elsewhere it keeps running, there it stops (and ends
    // the menu's loop).
    bool runningElsewhere = false, stoppedOverFirst = false;
    menu->whileOpen = [&] {
      QCursor::setPos(QPoint(0, 0));
      rig.Tick();
      runningElsewhere = rig.panel->MenuTimer()->Enabled();
      const vcl::TPoint over = rig.panel->ClientToScreen(OptionRig::Mid(rig.panel->FirstItem().Rect));
      QCursor::setPos(QPoint(over.X, over.Y));
      rig.Tick();
      stoppedOverFirst = !rig.panel->MenuTimer()->Enabled();
      QCursor::setPos(QPoint(0, 0));
    };
    const vcl::TRect second = rig.panel->SecondItem().Rect;
    OptionRig::Move(rig.panel, OptionRig::Mid(second));
    rig.Pump();
    EXPECT_TRUE(runningElsewhere);
    EXPECT_TRUE(stoppedOverFirst);
    EXPECT_EQ(menu->shown, 1);
    EXPECT_EQ(menu->at, rig.panel->ClientToScreen({second.Right, second.Top}));
    EXPECT_FALSE(rig.panel->SecondHot());
    EXPECT_FALSE(rig.panel->MenuTimer()->Enabled());
    EXPECT_FALSE(rig.window->Visible());
    EXPECT_TRUE(rig.window->HideOnDeactivate());
    // A freed option menu leaves the panel.
    vcl::Free(menu);
    EXPECT_EQ(rig.panel->OptionMenu(), nullptr);
  }
  {
    OptionRig rig;
    auto* customizer = new RecordingCustomizer(rig.form);
    rig.panel->SetCustomizer(customizer);
    rig.ShowWindow();
    const vcl::TRect second = rig.panel->SecondItem().Rect;
    OptionRig::Move(rig.panel, OptionRig::Mid(second));
    rig.Pump();
    TOptionSelectorWindow* customize = rig.panel->CustomizeWindow();
    ASSERT_NE(customize, nullptr);
    ASSERT_TRUE(customize->Visible());
    EXPECT_TRUE(rig.window->Visible());
    auto* option = dynamic_cast<TCustomizeOption*>(customize->OptionsPanel());
    ASSERT_NE(option, nullptr);
    EXPECT_EQ(option->Text(), "Customize Standard");
    // Fit: 25 high, the text (18 characters of 8) plus margins and 12.
    EXPECT_EQ(option->Height(), 25);
    EXPECT_EQ(option->Width(), 18 * 8 + 6 + 12);
    EXPECT_EQ(customize->ClientWidth(), option->Width());
    EXPECT_EQ(customize->Left(), rig.panel->ClientToScreen({second.Right, 0}).X);
    OptionRig::Move(option, OptionRig::Mid(option->ItemRect()));
    EXPECT_TRUE(option->Hot());
    OptionRig::Click(option, OptionRig::Mid(option->ItemRect()));
    rig.Pump();
    EXPECT_EQ(customizer->shownFor, rig.bar);
    EXPECT_FALSE(customize->Visible());
    EXPECT_FALSE(rig.window->Visible());  // the customise window took it along
  }
}

// The option window, its add-or-remove popup and the sub-menu side by side
// in one picture, the first entry and a line hovered.
TEST(RibbonOptionWindow, GalleryGrab) {
  OptionRig rig;
  auto* menu = new RecordingOptionMenu(rig.form);
  rig.panel->SetOptionMenu(menu);
  rig.panel->SetMeasureCanvas(nullptr);
  // Two controls that did not fit, shown in the panel.
  for (const char* caption : {"Print", "Find"}) {
    auto* b = new TLumCustomToolBarButton(rig.form);
    b->SetCaption(caption);
    b->SetShowCaption(true);
    b->SetBounds(0, 0, 50, 22);
    rig.panel->AddControl(b);
  }
  rig.ShowWindow();
  OptionRig::Move(rig.panel, OptionRig::Mid(rig.panel->FirstItem().Rect));
  rig.Pump();
  TRIEPopupWindow* popup = rig.panel->AddRemovePopup();
  ASSERT_TRUE(popup && popup->Visible());
  OptionRig::Move(popup->PopupPanel(), OptionRig::Mid(popup->RootItem()->Items(0)->Rect()));
  rig.Pump();
  TRIEPopupWindow* sub = popup->PopupPanel()->SubMenuWindow();
  ASSERT_TRUE(sub && sub->Visible());
  OptionRig::Move(sub->PopupPanel(), OptionRig::Mid(sub->PopupPanel()->RootItem()->Items(1)->Rect()));
  rig.Pump();
  const QImage a = rig.window->Widget()->grab().toImage();
  const QImage b = popup->Widget()->grab().toImage();
  const QImage c = sub->Widget()->grab().toImage();
  QImage gallery(a.width() + b.width() + c.width() + 40, std::max({a.height(), b.height(), c.height()}) + 20,
                 QImage::Format_RGB32);
  gallery.fill(Qt::white);
  QPainter p(&gallery);
  p.drawImage(10, 10, a);
  p.drawImage(20 + a.width(), 10, b);
  p.drawImage(30 + a.width() + b.width(), 10, c);
  p.end();
  EXPECT_TRUE(gallery.save(TOLVANE_BUILD_DIR "/ribbon_option_windows.png"));
  // The frames in the border colour, the hovered entry in the hot colour.
  EXPECT_EQ(a.pixelColor(0, 0), QColor(0x80, 0x80, 0x80));
  const vcl::TRect first = rig.panel->FirstItem().Rect;
  EXPECT_EQ(a.pixelColor(first.Left + 3, first.Top + 3), QColor(0x80, 0x80, 0x80));  // down colour
}

}  // namespace
