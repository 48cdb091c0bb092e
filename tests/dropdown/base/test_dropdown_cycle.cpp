// The drop-down's cycle on the offscreen platform and the manual clock:
// opening by real presses on its button and on a non-editable edit, the
// pop-up placed below or above the edit with the content's size, closing
// by deactivation (a press elsewhere, including on the open drop-down's
// own button, which must not reopen it at once), the events in order, the
// committed text restored on a cancel, a refused drop and the remembered
// size.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QWheelEvent>
#include <string>
#include <vector>

#include "DropdownTestSupport.h"
#include "dropdown/LumDropDown.h"
#include "dropdown/VoeEdit.h"
#include "controls/LumStyleIF.h"
#include "grid/draw/GridDraw.h"
#include "rtl/Clock.h"
#include "vcl/TestCanvases.h"
#include "vcl/ExtCtrls.h"
#include "vcl/ImgList.h"
#include "vcl/Menus.h"
#include "vcl/Pictures.h"
#include "vcl/StdCtrls.h"

namespace dropdown {
namespace {

using namespace ddtest;

struct CycleRig {
  TForm* owner = MakeForm(400, 300);
  TLumCustomDropDown* drop = nullptr;
  TPanel* content = nullptr;
  TPanel* elsewhere = nullptr;
  std::vector<std::string> log;

  CycleRig() {
    drop = new TLumCustomDropDown(owner);
    drop->SetParent(owner);
    drop->SetBounds(20, 30, 160, 22);
    drop->DropDownHeader()->SetVisible(false);
    drop->DropDownFooter()->SetVisible(false);
    drop->SetDropPosition(TDropPosition::dpDown);
    content = new TPanel(owner);
    content->SetBounds(0, 0, 150, 90);
    drop->SetDropDownControl(content);
    elsewhere = new TPanel(owner);
    elsewhere->SetParent(owner);
    elsewhere->SetBounds(250, 200, 60, 40);
    drop->OnBeforeDropDown = [this](TObject*) { log.push_back("before"); };
    drop->OnDropDown = [this](TObject*, bool&) { log.push_back("drop"); };
    drop->OnDropUp = [this](TObject*, bool cancelled) { log.push_back(cancelled ? "up cancelled" : "up"); };
    Pump();
  }
  ~CycleRig() { Free(owner); }

  // A real press and release on the arrow, through the button container.
  void PressButton() {
    TDropDownEditButton* b = drop->DropDownButton();
    MouseDown(b, b->Width() / 2, b->Height() / 2);
    MouseUp(b, b->Width() / 2, b->Height() / 2);
    Pump();
  }
  void PressElsewhere() {
    QTest::mousePress(elsewhere->Widget(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(elsewhere->Widget(), Qt::LeftButton, {}, QPoint(5, 5));
    Pump();
  }
  TPoint EditOnScreen() const { return owner->ClientToScreen(TPoint{drop->Left(), drop->Top()}); }
  bool Open() const { return drop->DroppedDown() && drop->DropDownForm()->Visible(); }
};

TEST(DropDownCycle, ButtonPressOpensBelowWithTheContentsSizeAndFiresBeforeThenDrop) {
  ManualTime time(300000);
  CycleRig rig;
  rig.PressButton();
  ASSERT_TRUE(rig.Open());
  EXPECT_EQ(rig.log, (std::vector<std::string>{"before", "drop"}));
  TDropDownForm* f = rig.drop->DropDownForm();
  TPoint p = rig.EditOnScreen();
  // Overlapping the edit's bottom edge by a pixel; content plus the frame.
  EXPECT_EQ(f->Left(), p.X);
  EXPECT_EQ(f->Top(), p.Y + rig.drop->Height() - 1);
  EXPECT_EQ(f->Width(), 150);
  EXPECT_EQ(f->Height(), 90 + 2 * 1);
  EXPECT_EQ(rig.content->Parent(), f);
}

TEST(DropDownCycle, UpPositionEndsAtTheEditsTop) {
  ManualTime time(300000);
  CycleRig rig;
  rig.owner->SetBounds(rig.owner->Left(), 300, rig.owner->Width(), rig.owner->Height());
  Pump();
  rig.drop->SetDropPosition(TDropPosition::dpUp);
  rig.drop->DropDown();
  Pump();
  ASSERT_TRUE(rig.Open());
  TPoint p = rig.EditOnScreen();
  EXPECT_EQ(rig.drop->DropDownForm()->Top(), p.Y - 92);
  EXPECT_EQ(rig.drop->DropDownForm()->Left(), p.X);
}

// A press on the open drop-down's own button deactivates the pop-up, which
// closes it; the same press must not open it again. Only a press more than
// 250 ms after that deactivation opens it.
TEST(DropDownCycle, ThePressThatClosesDoesNotReopenUntilTheGuardHasPassed) {
  struct Case {
    uint64_t waitMs;
    bool opens;
  };
  for (Case c : {Case{0, false}, Case{100, false}, Case{250, false}, Case{251, true}, Case{1000, true}}) {
    SCOPED_TRACE(c.waitMs);
    ManualTime time(300000);
    CycleRig rig;
    rig.PressButton();
    ASSERT_TRUE(rig.Open());
    time.Advance(30);
    rig.log.clear();
    rig.PressButton();
    EXPECT_FALSE(rig.Open());
    EXPECT_FALSE(rig.drop->DroppedDown());
    EXPECT_EQ(rig.log, (std::vector<std::string>{"up cancelled"}));
    time.Advance(c.waitMs);
    rig.log.clear();
    rig.PressButton();
    EXPECT_EQ(rig.Open(), c.opens);
    EXPECT_EQ(rig.log, c.opens ? (std::vector<std::string>{"before", "drop"}) : std::vector<std::string>{});
  }
}

TEST(DropDownCycle, DeactivationCancelsByCancelOnDeactivateAndRestoresTheCommittedText) {
  for (bool cancelOn : {true, false}) {
    SCOPED_TRACE(cancelOn);
    ManualTime time(300000);
    CycleRig rig;
    rig.drop->SetText("committed");
    rig.drop->DropDownForm()->SetCancelOnDeactivate(cancelOn);
    rig.PressButton();
    ASSERT_TRUE(rig.Open());
    rig.drop->SetTextDirect("typed");
    EXPECT_EQ(rig.drop->CommittedText(), "committed");
    rig.log.clear();
    time.Advance(10);
    rig.PressElsewhere();
    EXPECT_FALSE(rig.Open());
    EXPECT_EQ(rig.log, (std::vector<std::string>{cancelOn ? "up cancelled" : "up"}));
    EXPECT_EQ(rig.drop->Text(), cancelOn ? "committed" : "typed");
    EXPECT_FALSE(rig.drop->Modified());
  }
}

TEST(DropDownCycle, HideReportsDroppedDownFalseBeforeOnDropUpAndIsANoOpWhenClosed) {
  ManualTime time(300000);
  CycleRig rig;
  bool droppedAtUp = true;
  rig.drop->OnDropUp = [&](TObject*, bool cancelled) {
    droppedAtUp = rig.drop->DroppedDown();
    rig.log.push_back(cancelled ? "up cancelled" : "up");
  };
  rig.drop->DropDown();
  Pump();
  ASSERT_TRUE(rig.Open());
  // A second DropDown of an open drop-down does nothing.
  rig.drop->DropDown();
  rig.drop->HideDropDown(false);
  EXPECT_FALSE(droppedAtUp);
  EXPECT_FALSE(rig.Open());
  rig.drop->HideDropDown(true);
  EXPECT_EQ(rig.log, (std::vector<std::string>{"before", "drop", "up"}));
}

TEST(DropDownCycle, RefusedDisabledAndReadOnlyDropDownsStayClosed) {
  struct Case {
    const char* name;
    bool accept, enabled, readOnly;
    std::vector<std::string> log;
  };
  const std::vector<Case> cases = {
      {"refused in OnDropDown", false, true, false, {"before", "drop"}},
      {"disabled", true, false, false, {}},
      {"read-only", true, true, true, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ManualTime time(300000);
    CycleRig rig;
    rig.drop->OnDropDown = [&](TObject*, bool& accept) {
      rig.log.push_back("drop");
      accept = c.accept;
    };
    rig.drop->SetEnabled(c.enabled);
    rig.drop->SetReadOnly(c.readOnly);
    rig.drop->DropDown();
    Pump();
    EXPECT_FALSE(rig.drop->DroppedDown());
    EXPECT_FALSE(rig.drop->DropDownForm()->Visible());
    EXPECT_EQ(rig.log, c.log);
  }
}

TEST(DropDownCycle, APressOnANonEditableEditOpensAndAnEditableOneDoesNot) {
  for (bool editable : {true, false}) {
    SCOPED_TRACE(editable);
    ManualTime time(300000);
    CycleRig rig;
    rig.drop->SetEditorEnabled(editable);
    QTest::mousePress(rig.drop->Widget(), Qt::LeftButton, {}, QPoint(10, 8));
    QTest::mouseRelease(rig.drop->Widget(), Qt::LeftButton, {}, QPoint(10, 8));
    Pump();
    EXPECT_EQ(rig.Open(), !editable);
  }
}

TEST(DropDownCycle, AResizedPopupReopensAtItsSizeUntilTheWidthIsSetAgain) {
  ManualTime time(300000);
  CycleRig rig;
  rig.drop->DropDown();
  Pump();
  TDropDownForm* f = rig.drop->DropDownForm();
  f->SetBounds(f->Left(), f->Top(), 230, 140);
  rig.drop->HideDropDown(false);
  EXPECT_EQ(rig.drop->RememberedWidth(), 230);
  EXPECT_EQ(rig.drop->RememberedHeight(), 140);
  rig.drop->DropDown();
  Pump();
  EXPECT_EQ(f->Width(), 230);
  EXPECT_EQ(f->Height(), 140);
  rig.drop->HideDropDown(false);
  rig.drop->SetDropDownWidth(180);
  EXPECT_EQ(rig.drop->RememberedWidth(), -1);
  EXPECT_EQ(rig.drop->RememberedHeight(), 140);
  rig.drop->DropDown();
  Pump();
  EXPECT_EQ(f->Width(), 180);
  EXPECT_EQ(f->Height(), 140);
}

// Keys typed in the edit open the pop-up; typed while the pop-up is active
// they reach the edit through the pop-up's forwarding (key data 0) and
// close it, Escape as a cancel that restores the committed text.
TEST(DropDownCycle, KeysOpenFromTheEditAndCloseFromThePopup) {
  struct Case {
    const char* name;
    int qtKey;
    Qt::KeyboardModifiers mods;
    const char* upEvent;
    const char* textAfter;
  };
  const std::vector<Case> cases = {
      {"Enter", Qt::Key_Return, Qt::NoModifier, "up", "typed"},
      {"Escape", Qt::Key_Escape, Qt::NoModifier, "up cancelled", "committed"},
      {"F4", Qt::Key_F4, Qt::NoModifier, "up", "typed"},
      {"Alt+Down", Qt::Key_Down, Qt::AltModifier, "up", "typed"},
      {"Alt+Up", Qt::Key_Up, Qt::AltModifier, "up", "typed"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ManualTime time(300000);
    CycleRig rig;
    rig.drop->SetText("committed");
    rig.drop->SetFocus();
    Pump();
    // Escape and Enter do not open a closed drop-down.
    if (c.qtKey == Qt::Key_Escape || c.qtKey == Qt::Key_Return) {
      Key(rig.drop, c.qtKey, c.mods);
      Pump();
      EXPECT_FALSE(rig.Open());
      Key(rig.drop, Qt::Key_F4);
    } else {
      Key(rig.drop, c.qtKey, c.mods);
    }
    Pump();
    ASSERT_TRUE(rig.Open());
    EXPECT_EQ(rig.log, (std::vector<std::string>{"before", "drop"}));
    rig.drop->SetTextDirect("typed");
    rig.log.clear();
    Key(rig.drop->DropDownForm(), c.qtKey, c.mods);
    Pump();
    EXPECT_FALSE(rig.Open());
    EXPECT_EQ(rig.log, (std::vector<std::string>{c.upEvent}));
    EXPECT_EQ(rig.drop->Text(), c.textAfter);
  }
}

TEST(DropDownCycle, ANonEditableDropDownOpensByKeyAndAReadOnlyOneDoesNot) {
  for (bool readOnly : {false, true}) {
    SCOPED_TRACE(readOnly);
    ManualTime time(300000);
    CycleRig rig;
    rig.drop->SetEditorEnabled(false);
    rig.drop->SetReadOnly(readOnly);
    rig.drop->SetFocus();
    Pump();
    Key(rig.drop, Qt::Key_F4);
    Pump();
    EXPECT_EQ(rig.Open(), !readOnly);
    Key(rig.drop->DropDownForm(), Qt::Key_F4);
    Pump();
    EXPECT_FALSE(rig.Open());
    Key(rig.drop, Qt::Key_Down, Qt::AltModifier);
    Pump();
    EXPECT_EQ(rig.Open(), !readOnly);
  }
}

// A real click on a footer button closes by its modal result, cancelled
// for Cancel, Abort, Ignore, No and No to all, before the drop-down's
// footer click event; none and Retry leave the pop-up open.
TEST(DropDownCycle, FooterButtonsCloseByTheirModalResult) {
  struct Case {
    TModalResult result;
    const char* up;  // null: stays open
  };
  const std::vector<Case> cases = {
      {mrNone, nullptr}, {mrOk, "up"},          {mrCancel, "up cancelled"}, {mrAbort, "up cancelled"},
      {mrRetry, nullptr}, {mrIgnore, "up cancelled"}, {mrYes, "up"},        {mrNo, "up cancelled"},
      {mrAll, "up"},     {mrNoToAll, "up cancelled"}, {mrYesToAll, "up"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.result));
    ManualTime time(300000);
    CycleRig rig;
    rig.drop->SetText("committed");
    rig.drop->DropDownFooter()->SetVisible(true);
    auto* item = rig.drop->DropDownFooter()->ButtonsList()->Add();
    item->SetCaption("Go");
    item->SetModalResult(c.result);
    rig.drop->OnDropDownFooterButtonClick = [&](TObject*, Integer i) { rig.log.push_back("footer " + std::to_string(i)); };
    rig.PressButton();
    ASSERT_TRUE(rig.Open());
    rig.drop->SetTextDirect("typed");
    rig.log.clear();
    TLumButton* b = rig.drop->DropDownForm()->Footer()->ButtonControl(0);
    QTest::mouseClick(b->Widget(), Qt::LeftButton, {}, QPoint(4, 4));
    Pump();
    if (c.up) {
      EXPECT_FALSE(rig.Open());
      EXPECT_EQ(rig.log, (std::vector<std::string>{c.up, "footer 0"}));
      EXPECT_EQ(rig.drop->Text(), std::string(c.up) == "up" ? "typed" : "committed");
    } else {
      EXPECT_TRUE(rig.Open());
      EXPECT_EQ(rig.log, (std::vector<std::string>{"footer 0"}));
    }
  }
}

// The user's resize with the footer's grip is what the next drop-down
// opens at.
TEST(DropDownCycle, TheGripResizeIsRememberedForTheNextDropDown) {
  ManualTime time(300000);
  CycleRig rig;
  rig.drop->DropDownFooter()->SetVisible(true);
  rig.PressButton();
  ASSERT_TRUE(rig.Open());
  TDropDownForm* f = rig.drop->DropDownForm();
  const int w0 = f->Width(), h0 = f->Height();
  TLumFooter* footer = f->Footer();
  ASSERT_TRUE(footer && footer->GripShowing());
  QPoint inGrip(footer->Width() - 4, footer->Height() - 4);
  QCursor::setPos(footer->Widget()->mapToGlobal(inGrip));
  QTest::mousePress(footer->Widget(), Qt::LeftButton, {}, inGrip);
  Pump();
  ASSERT_TRUE(f->GripResizing());
  QWidget* frame = f->WindowWidget();
  QPoint corner = frame->mapFromGlobal(footer->Widget()->mapToGlobal(inGrip));
  QTest::mouseMove(frame, corner + QPoint(30, 20));
  QTest::mouseRelease(frame, Qt::LeftButton, {}, corner + QPoint(30, 20));
  Pump();
  EXPECT_EQ(f->Width(), w0 + 30);
  EXPECT_EQ(f->Height(), h0 + 20);
  time.Advance(10);
  rig.PressElsewhere();
  ASSERT_FALSE(rig.Open());
  time.Advance(300);
  rig.PressButton();
  ASSERT_TRUE(rig.Open());
  EXPECT_EQ(f->Width(), w0 + 30);
  EXPECT_EQ(f->Height(), h0 + 20);
}

TEST(DropDownCycle, ABarShownWhileOpenAppearsAtOnce) {
  ManualTime time(300000);
  CycleRig rig;
  rig.PressButton();
  ASSERT_TRUE(rig.Open());
  TDropDownForm* f = rig.drop->DropDownForm();
  EXPECT_TRUE(f->Header() == nullptr || !f->Header()->Visible());
  rig.drop->DropDownHeader()->SetVisible(true);
  ASSERT_NE(f->Header(), nullptr);
  EXPECT_TRUE(f->Header()->Visible());
  rig.drop->DropDownHeader()->SetVisible(false);
  EXPECT_TRUE(f->Header() == nullptr || !f->Header()->Visible());
}

// A menu opened from the content of the open pop-up belongs to it: the
// pop-up stays open while the menu shows and after its entry is chosen.
TEST(DropDownCycle, AContextMenuOpenedInsideThePopupLeavesItOpen) {
  ManualTime time(300000);
  CycleRig rig;
  auto* menu = new TPopupMenu(rig.owner);
  auto* entry = new TMenuItem(menu);
  entry->SetCaption("Copy");
  int chosen = 0;
  entry->OnClick = [&](TObject*) { ++chosen; };
  menu->Items()->Add(entry);
  rig.PressButton();
  ASSERT_TRUE(rig.Open());
  rig.log.clear();
  bool openWhileMenu = false;
  Later([&] {
    openWhileMenu = rig.Open();
    auto* shown = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(shown, nullptr);
    shown->actions().at(0)->trigger();
    shown->close();
  });
  TPoint at = rig.content->ClientToScreen(TPoint{10, 10});
  menu->Popup(at.X, at.Y);
  Pump();
  EXPECT_TRUE(openWhileMenu);
  EXPECT_EQ(chosen, 1);
  EXPECT_TRUE(rig.Open());
  EXPECT_TRUE(rig.log.empty());
}

// The linked control inside the pop-up takes the focus when it opens; on
// closing the focus comes back to the edit.
TEST(DropDownCycle, FocusGoesToTheLinkedControlAndBackToTheEdit) {
  ManualTime time(300000);
  CycleRig rig;
  auto* linked = new TEdit(rig.content);
  linked->SetParent(rig.content);
  linked->SetBounds(5, 5, 80, 21);
  rig.drop->SetLinkedControl(linked);
  rig.drop->SetFocus();
  Pump();
  rig.PressButton();
  ASSERT_TRUE(rig.Open());
  EXPECT_TRUE(linked->Focused());
  rig.drop->HideDropDown(false);
  Pump();
  EXPECT_FALSE(rig.Open());
  EXPECT_EQ(rig.log, (std::vector<std::string>{"before", "drop", "up"}));
  EXPECT_TRUE(rig.drop->Focused());
  // A freed linked control is forgotten.
  Free(linked);
  EXPECT_EQ(rig.drop->LinkedControl(), nullptr);
}

// A freed content control is forgotten; the pop-up then takes the edit's
// width and only its frame's height.
TEST(DropDownCycle, AFreedContentControlIsForgotten) {
  ManualTime time(300000);
  CycleRig rig;
  Free(rig.content);
  EXPECT_EQ(rig.drop->DropDownControl(), nullptr);
  rig.drop->DropDown();
  Pump();
  ASSERT_TRUE(rig.Open());
  EXPECT_EQ(rig.drop->DropDownForm()->Width(), rig.drop->Width());
  // 2 x border width, raised to the pop-up's smallest height.
  EXPECT_EQ(rig.drop->DropDownForm()->Height(), 50);
}

TEST(DropDownLooks, SelectionLooksSetTheirColoursAndOthersKeepThem) {
  struct Case {
    Byte style;
    TColor color, colorTo;
  };
  // Style 0 and unknown styles are stored but keep the colours there were.
  const Case cases[] = {{2, 0xFDF8F1, 0xFCEFD5}, {3, 0xFCEBDC, 0xFCDBC1}, {0, 0xFCEBDC, 0xFCDBC1},
                        {7, 0xFCEBDC, 0xFCDBC1}, {1, 0xD7FFFD, 0x58D4FC}};
  TForm* owner = MakeForm(100, 60);
  auto* drop = new TLumCustomDropDown(owner);
  EXPECT_EQ(drop->SelectionColorStyle(), 1);
  EXPECT_EQ(drop->SelectionColor(), TColor(0xD7FFFD));
  EXPECT_EQ(drop->SelectionColorTo(), TColor(0x58D4FC));
  EXPECT_EQ(drop->Version(), "1.0.7.0");
  drop->SetVersion("9.9");
  EXPECT_EQ(drop->Version(), "1.0.7.0");
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.style));
    drop->SetSelectionLook(c.style);
    EXPECT_EQ(drop->SelectionColorStyle(), c.style);
    EXPECT_EQ(drop->SelectionColor(), c.color);
    EXPECT_EQ(drop->SelectionColorTo(), c.colorTo);
  }
  Free(owner);
}

// Style 0 is a plain fill; styles 1 to 3 are the grid's selection box with
// the style's frame (border, inner top and bottom lines, edge and
// background corners, the mirror of style 1); other styles draw nothing.
TEST(DropDownLooks, SelectionBackgroundsDrawTheirStylesBox) {
  struct Case {
    Byte style;
    TColor edge, border, bottomBorder, topBorder, mirror, mirrorTo;
  };
  const Case cases[] = {
      {1, 0xC3D9DF, 0x8DD7D3, 0xCAF8FF, 0xF4FEFF, 0x58D4FC, 0xB3F1FC},
      {2, 0xFCEDCB, 0xFDDE99, 0xFDF5E7, 0xFDFBF6, clNone, clNone},
      {3, 0xE0C5AE, 0xCEA27D, 0xFDEADB, 0xFDF4EB, clNone, clNone},
  };
  TForm* owner = MakeForm(100, 60);
  auto* drop = new TLumCustomDropDown(owner);
  const TRect r{2, 2, 30, 20};
  const TColor bk = 0x102030;
  for (const Case& c : cases) {
    for (int part = 0; part < 4; ++part) {
      SCOPED_TRACE(std::to_string(c.style) + " part " + std::to_string(part));
      drop->SetSelectionLook(c.style);
      TFakeMetricsCanvas got(32, 24), want(32, 24);
      for (TCanvas* cv : {static_cast<TCanvas*>(&got), static_cast<TCanvas*>(&want)}) {
        cv->Brush()->SetColor(clWhite);
        cv->FillRect(TRect{0, 0, 32, 24});
      }
      drop->DrawSelectionBackground(&got, r, part, bk);
      grid::DrawSelectionBox(&want, drop->SelectionColor(), drop->SelectionColorTo(), c.mirror, c.mirrorTo,
                             c.topBorder, c.bottomBorder, c.border, c.edge, bk, r, static_cast<Byte>(part));
      int differing = 0;
      for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 32; ++x) differing += got.Pixels(x, y) != want.Pixels(x, y);
      EXPECT_EQ(differing, 0);
      // The frame's border colour shows on the box's top line.
      EXPECT_EQ(got.Pixels(15, 2), c.border);
    }
  }
  // Style 0 fills; another style leaves the canvas as it was.
  for (Byte style : {Byte{0}, Byte{4}}) {
    SCOPED_TRACE(static_cast<int>(style));
    drop->SetSelectionLook(style);
    TFakeMetricsCanvas canvas(32, 24);
    canvas.Brush()->SetColor(clWhite);
    canvas.FillRect(TRect{0, 0, 32, 24});
    drop->DrawSelectionBackground(&canvas, r, 0, bk);
    EXPECT_EQ(canvas.Pixels(10, 10), style == 0 ? drop->SelectionColor() : TColor(clWhite));
    EXPECT_EQ(canvas.Pixels(31, 23), TColor(clWhite));
  }
  Free(owner);
}

TEST(DropDownLooks, GradientBackgroundRunsByItsDirection) {
  TForm* owner = MakeForm(100, 60);
  auto* drop = new TLumCustomDropDown(owner);
  for (auto dir : {TGradientDirection::gdHorizontal, TGradientDirection::gdVertical}) {
    const bool across = dir == TGradientDirection::gdHorizontal;
    SCOPED_TRACE(across);
    TFakeMetricsCanvas canvas(10, 10);
    drop->DrawGradientBackground(&canvas, 0x000000, dir, TRect{0, 0, 10, 10}, 2, 0x0000F0);
    // Two bands: black first, then half way (red 0x78).
    EXPECT_EQ(canvas.Pixels(1, 1), TColor(0x000000));
    EXPECT_EQ(across ? canvas.Pixels(8, 1) : canvas.Pixels(1, 8), TColor(0x000078));
    EXPECT_EQ(across ? canvas.Pixels(1, 8) : canvas.Pixels(8, 1), TColor(0x000000));
  }
  Free(owner);
}

// Every application style reaches the drop-down through the style
// interface and sets the colours its tables give, leaving the others
// (and everything for the custom style) as they were.
TEST(DropDownLooks, EveryStyleSetsThePopupBarAndButtonColoursOfItsTable) {
  constexpr TColor before = 0x010203;
  TForm* owner = MakeForm(100, 60);
  auto* drop = new TLumCustomDropDown(owner);
  controls::IStyleAware* aware = controls::StyleAwareOf(drop);
  ASSERT_NE(aware, nullptr);
  int changedSomewhere = 0;
  for (int i = 0; i <= static_cast<int>(controls::tsTerminal); ++i) {
    const auto style = static_cast<controls::REZORuvar>(i);
    SCOPED_TRACE(i);
    drop->SetDropDownColor(before);
    drop->SetDropDownColorTo(before);
    drop->SetDropDownBorderColor(before);
    auto resetBar = [&](auto* bar) {
      bar->SetColor(before);
      bar->SetColorTo(before);
      bar->SetBorderColor(before);
      bar->Font()->SetColor(before);
    };
    resetBar(drop->DropDownHeader());
    resetBar(drop->DropDownFooter());
    drop->ButtonAppearance()->SetColor(before);
    drop->ButtonAppearance()->SetColorHot(before);
    aware->SetComponentStyle(style);
    const TPopupStyle& p = PopupStyle(style);
    auto want = [&](const TStyleColor& c) { return style == controls::tsCustom ? before : c.value_or(before); };
    EXPECT_EQ(drop->DropDownColor(), want(p.DropDownColor));
    EXPECT_EQ(drop->DropDownColorTo(), want(p.DropDownColorTo));
    EXPECT_EQ(drop->DropDownBorderColor(), want(p.DropDownBorderColor));
    auto checkBar = [&](auto* bar, const TBarStyle& b) {
      EXPECT_EQ(bar->Color(), want(b.Color));
      EXPECT_EQ(bar->ColorTo(), want(b.ColorTo));
      EXPECT_EQ(bar->BorderColor(), want(b.BorderColor));
      EXPECT_EQ(bar->Font()->Color(), want(b.FontColor));
    };
    checkBar(drop->DropDownHeader(), p.Header);
    checkBar(drop->DropDownFooter(), p.Footer);
    EXPECT_EQ(drop->ButtonAppearance()->Color(), want(ButtonStyle(style).Color));
    EXPECT_EQ(drop->ButtonAppearance()->ColorHot(), want(ButtonStyle(style).ColorHot));
    changedSomewhere += drop->DropDownHeader()->Color() != before;
  }
  // The tables are not all empty: most styles colour the header.
  EXPECT_GE(changedSomewhere, 10);
  Free(owner);
}

// What the grid relies on: without the form's key preview, Escape selects
// the text, clears Modified and goes to the parent as a key of its own;
// Enter goes to the parent when the parent has the focus; with key preview
// an Escape while the pop-up is open is the drop-down's.
TEST(DropDownKeys, SpecialKeysGoToTheParentByTheFormsKeyPreview) {
  struct Case {
    const char* name;
    bool preview;
    Word key;
    bool open, parentFocused;
    LRESULT result;
    std::vector<std::string> parentKeys;
  };
  const std::vector<Case> cases = {
      {"Escape to the parent", false, VK_ESCAPE, false, false, 0, {"down 27", "up 27"}},
      {"Escape to the parent while open", false, VK_ESCAPE, true, false, 0, {"down 27", "up 27"}},
      {"Escape kept by the open pop-up", true, VK_ESCAPE, true, false, 1, {}},
      {"Escape with preview, closed", true, VK_ESCAPE, false, false, 0, {}},
      {"Enter to a focused parent", false, VK_RETURN, false, true, 0, {"down 13", "up 13"}},
      {"Enter, parent without focus", false, VK_RETURN, false, false, 0, {}},
      {"Enter with preview", true, VK_RETURN, false, true, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ManualTime time(300000);
    TForm* owner = MakeForm(300, 200);
    owner->SetKeyPreview(c.preview);
    auto* grid = new TPanel(owner);
    grid->SetParent(owner);
    grid->SetBounds(0, 0, 250, 150);
    grid->SetTabStop(true);
    std::vector<std::string> keys;
    grid->OnKeyDown = [&](TObject*, Word& k, TShiftState) { keys.push_back("down " + std::to_string(k)); };
    grid->OnKeyUp = [&](TObject*, Word& k, TShiftState) { keys.push_back("up " + std::to_string(k)); };
    auto* drop = new TLumCustomDropDown(owner);
    drop->SetParent(grid);
    drop->SetBounds(10, 10, 120, 22);
    drop->SetTextDirect("cell");
    drop->SetModified(true);
    Pump();
    if (c.open) {
      drop->DropDown();
      Pump();
      ASSERT_TRUE(drop->DroppedDown());
    }
    if (c.parentFocused) {
      grid->SetFocus();
      Pump();
      ASSERT_TRUE(grid->Focused());
    }
    LRESULT r = drop->Perform(CM_WANTSPECIALKEY, c.key, 0);
    Pump();
    EXPECT_EQ(r, c.result);
    EXPECT_EQ(keys, c.parentKeys);
    if (c.key == VK_ESCAPE && !c.preview) {
      EXPECT_EQ(drop->SelLength(), 4);
      EXPECT_FALSE(drop->Modified());
    }
    Free(owner);
  }
  // Without a form the message is not handled at all.
  auto* lone = new TLumCustomDropDown(nullptr);
  lone->SetModified(true);
  EXPECT_EQ(lone->Perform(CM_WANTSPECIALKEY, VK_ESCAPE, 0), 0);
  EXPECT_TRUE(lone->Modified());
  Free(lone);
}

// The button fills the edit's right edge inside the border; the text's
// formatting rectangle stops short of it; an edit lower than its font
// needs is raised.
TEST(DropDownLayout, TheButtonAndTheEditRectangleShareTheEdit) {
  struct Case {
    const char* name;
    TBorderStyle border;
    bool ctl3D;
    TRect button;  // in the edit's client coordinates, for 160 x 24
    TRect edit;
  };
  const std::vector<Case> cases = {
      {"single, 3D", bsSingle, true, TRect{140, 0, 156, 20}, TRect{1, 1, 0, 0}},
      {"single, flat", bsSingle, false, TRect{142, 1, 158, 23}, TRect{1, 1, 0, 0}},
      {"none, 3D", bsNone, true, TRect{144, 1, 160, 23}, TRect{2, 3, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TForm* owner = MakeForm(300, 100);
    auto* drop = new TLumCustomDropDown(owner);
    drop->SetParent(owner);
    drop->SetBorderStyle(c.border);
    drop->SetCtl3D(c.ctl3D);
    drop->SetBounds(10, 10, 160, 24);
    Pump();
    TDropDownEditButton* b = drop->DropDownButton();
    EXPECT_EQ(b->BoundsRect(), c.button);
    TRect e = drop->GetEditRect();
    EXPECT_EQ(e.Left, c.edit.Left);
    EXPECT_EQ(e.Top, c.edit.Top);
    EXPECT_EQ(e.Right, drop->ClientWidth() - b->Width() - 3);
    EXPECT_EQ(e.Bottom, drop->ClientHeight() + 1);
    // Too low for its font: raised to the smallest height, button following.
    drop->SetBounds(10, 10, 160, 5);
    Pump();
    EXPECT_EQ(drop->Height(), EditMinimumHeight(drop->Font()));
    EXPECT_EQ(b->Left(), c.button.Left);
    Free(owner);
  }
}

TEST(DropDownLayout, ButtonWidthAndEnabledFollowTheDropDown) {
  TForm* owner = MakeForm(300, 100);
  auto* drop = new TLumCustomDropDown(owner);
  drop->SetParent(owner);
  drop->SetBounds(10, 10, 160, 24);
  Pump();
  // An unchanged 17 leaves the button at its own 16.
  EXPECT_EQ(drop->DropDownButtonWidth(), 17);
  EXPECT_EQ(drop->DropDownButton()->Width(), 16);
  drop->SetDropDownButtonWidth(22);
  Pump();
  EXPECT_EQ(drop->DropDownButton()->Width(), 22);
  EXPECT_EQ(drop->DropDownButton()->Left(), 160 - 22 - 4);
  EXPECT_EQ(drop->GetEditRect().Right, drop->ClientWidth() - 22 - 3);
  drop->SetEnabled(false);
  EXPECT_FALSE(drop->DropDownButton()->Enabled());
  drop->SetEnabled(true);
  EXPECT_TRUE(drop->DropDownButton()->Enabled());
  EXPECT_EQ(drop->Perform(WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
  Free(owner);
}

TEST(DropDownEdit, TheButtonHintShowsOnlyWhenThereIsOne) {
  TForm* owner = MakeForm(300, 100);
  auto* drop = new TLumCustomDropDown(owner);
  drop->SetDropDownButtonHint("Open the list");
  EXPECT_EQ(drop->DropDownButton()->Hint(), "Open the list");
  EXPECT_TRUE(drop->DropDownButton()->ShowHint());
  drop->SetDropDownButtonHint("");
  EXPECT_EQ(drop->DropDownButton()->Hint(), "");
  EXPECT_FALSE(drop->DropDownButton()->ShowHint());
  Free(owner);
}

TEST(DropDownEdit, CutOnlyFromAnEditableWritableEdit) {
  struct Case {
    bool editable, readOnly, cuts;
  };
  for (Case c : {Case{true, false, true}, Case{false, false, false}, Case{true, true, false}}) {
    SCOPED_TRACE(std::to_string(c.editable) + std::to_string(c.readOnly));
    TForm* owner = MakeForm(300, 100);
    auto* drop = new TLumCustomDropDown(owner);
    drop->SetParent(owner);
    drop->SetTextDirect("abc");
    drop->SetEditorEnabled(c.editable);
    drop->SetReadOnly(c.readOnly);
    drop->SelectAll();
    drop->Perform(WM_CUT, 0, 0);
    EXPECT_EQ(drop->Text(), c.cuts ? "" : "abc");
    Free(owner);
  }
}

// Records the wheel hooks a descendant would move its selection with.
class WheelProbeDropDown final : public TLumCustomDropDown {
 public:
  using TLumCustomDropDown::TLumCustomDropDown;
  std::vector<std::string> turns;
  void MouseWheelDownHook() override { turns.push_back("down"); }
  void MouseWheelUpHook() override { turns.push_back("up"); }
};

void TurnDropDownWheel(QWidget* w, int delta) {
  QPointF at(5, 5);
  QWheelEvent e(at, w->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                false);
  QCoreApplication::sendEvent(w, &e);
}

TEST(DropDownEdit, WheelTurnsOnTheEditAndOnThePopupReachTheHooks) {
  ManualTime time(300000);
  TForm* owner = MakeForm(300, 200);
  auto* drop = new WheelProbeDropDown(owner);
  drop->SetParent(owner);
  drop->SetBounds(10, 10, 160, 22);
  Pump();
  TurnDropDownWheel(drop->Widget(), -120);
  TurnDropDownWheel(drop->Widget(), 120);
  EXPECT_EQ(drop->turns, (std::vector<std::string>{"down", "up"}));
  drop->turns.clear();
  drop->DropDown();
  Pump();
  ASSERT_TRUE(drop->DroppedDown());
  TurnDropDownWheel(drop->DropDownForm()->Widget(), 120);
  TurnDropDownWheel(drop->DropDownForm()->Widget(), -120);
  EXPECT_EQ(drop->turns, (std::vector<std::string>{"up", "down"}));
  Free(owner);
}

// Text written as the grid writes it: SetText commits, SetTextDirect does
// not, and a cancel brings back what SetText last wrote.
TEST(DropDownEdit, SetTextCommitsAndSetTextDirectDoesNot) {
  ManualTime time(300000);
  CycleRig rig;
  rig.drop->SetModified(true);
  rig.drop->SetText("12 V");
  EXPECT_EQ(rig.drop->Text(), "12 V");
  EXPECT_EQ(rig.drop->CommittedText(), "12 V");
  EXPECT_FALSE(rig.drop->Modified());
  rig.drop->SetTextDirect("15 V");
  EXPECT_EQ(rig.drop->Text(), "15 V");
  EXPECT_EQ(rig.drop->CommittedText(), "12 V");
  rig.drop->DropDown();
  Pump();
  rig.drop->HideDropDown(true);
  EXPECT_EQ(rig.drop->Text(), "12 V");
}

// A focused non-editable drop-down shows its text white on the highlight
// inside a black box; unfocused or editable it looks like an edit.
TEST(DropDownEdit, AFocusedNonEditableDropDownShowsItsTextSelected) {
  struct Case {
    const char* name;
    bool editable, focused, boxed;
  };
  const Case cases[] = {
      {"non-editable, focused", false, true, true},
      {"non-editable, unfocused", false, false, false},
      {"editable, focused", true, true, false},
  };
  const TColor highlight = ColorToRGB(clHighlight);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TForm* owner = MakeForm(300, 100);
    auto* other = new TEdit(owner);
    other->SetParent(owner);
    other->SetBounds(10, 60, 80, 21);
    auto* drop = new TLumCustomDropDown(owner);
    drop->SetParent(owner);
    drop->SetBounds(10, 10, 160, 24);
    drop->SetEditorEnabled(c.editable);
    // An editable field would select its text on entering (AutoSelect),
    // which the field itself highlights; only the box is looked for here.
    drop->SetAutoSelect(false);
    drop->SetText("WWWW");
    Pump();
    if (c.focused)
      drop->SetFocus();
    else
      other->SetFocus();
    Pump();
    QImage img = Grab(drop);
    SaveShot(img, c.boxed ? "dropdown_focused_text.png" : "dropdown_unfocused_text.png");
    // Box (2, 2) .. (160 - 17 - 1, 24 - 2), outer pixels black.
    const int right = 160 - 17 - 1;
    if (c.boxed) {
      EXPECT_EQ(PixelAt(img, 2, 2), TColor(clBlack));
      EXPECT_EQ(PixelAt(img, right - 1, 21), TColor(clBlack));
      EXPECT_EQ(PixelAt(img, right - 2, 12), highlight);
      EXPECT_EQ(PixelAt(img, 3, 3), highlight);
      EXPECT_NE(PixelAt(img, right, 12), highlight);
      int textPixels = 0;
      for (int x = 3; x < right - 1; ++x)
        for (int y = 3; y < 21; ++y) textPixels += PixelAt(img, x, y) != highlight;
      EXPECT_GT(textPixels, 10);
    } else {
      int highlighted = 0;
      for (int x = 3; x < right - 1; ++x)
        for (int y = 3; y < 21; ++y) highlighted += PixelAt(img, x, y) == highlight;
      EXPECT_EQ(highlighted, 0);
    }
    Free(owner);
  }
}

TEST(DropDownEdit, AGlyphReplacesTheArrowUntilItIsEmptiedAgain) {
  TForm* owner = MakeForm(300, 100);
  auto* drop = new TLumCustomDropDown(owner);
  EXPECT_TRUE(drop->DropDownButton()->Glyph()->Empty());
  TBitmap red(10, 8);
  red.Canvas()->Brush()->SetColor(0x0000FF);
  red.Canvas()->FillRect(TRect{0, 0, 10, 8});
  drop->SetDropDownButtonGlyph(&red);
  EXPECT_FALSE(drop->DropDownButtonGlyph()->Empty());
  ASSERT_FALSE(drop->DropDownButton()->Glyph()->Empty());
  EXPECT_EQ(drop->DropDownButton()->Glyph()->Width(), 10);
  EXPECT_EQ(drop->DropDownButton()->Glyph()->Canvas()->Pixels(3, 3), TColor(0x0000FF));
  TBitmap empty;
  drop->SetDropDownButtonGlyph(&empty);
  EXPECT_TRUE(drop->DropDownButton()->Glyph()->Empty());
  Free(owner);
}

TEST(DropDownEdit, FreedImagesAreForgottenAndDropDownEnabledIsOnlyStored) {
  TForm* owner = MakeForm(300, 100);
  auto* drop = new TLumCustomDropDown(owner);
  auto* images = new TImageList(owner);
  drop->SetImages(images);
  EXPECT_EQ(drop->Images(), images);
  Free(images);
  EXPECT_EQ(drop->Images(), nullptr);
  EXPECT_FALSE(drop->DropDownEnabled());
  drop->SetDropDownEnabled(true);
  EXPECT_TRUE(drop->DropDownEnabled());
  drop->DropDown();
  Pump();
  EXPECT_TRUE(drop->DroppedDown());
  Free(owner);
}

TEST(DropDownLooks, TheSelectionStyleIsStreamedWithoutItsColours) {
  TForm* owner = MakeForm(300, 100);
  auto* drop = new TLumCustomDropDown(owner);
  drop->SetSelectionLook(3);
  rtl::TMemoryStream s;
  {
    TWriter w(s);
    drop->DefineProperties(w);
  }
  s.SetPosition(0);
  auto* back = new TLumCustomDropDown(owner);
  {
    TReader r(s);
    r.ReadDefinedProperty("TLumCustomDropDown", [&](TFiler& f) { back->DefineProperties(f); });
  }
  EXPECT_EQ(back->SelectionColorStyle(), 3);
  // Still the colours of style 1: a form file holds the colours themselves.
  EXPECT_EQ(back->SelectionColor(), TColor(0xD7FFFD));
  EXPECT_EQ(back->SelectionColorTo(), TColor(0x58D4FC));
  Free(owner);
}

// A non-editable drop-down lets no typed key change its text or move its
// caret, and only Enter and Escape reach OnKeyDown.
TEST(DropDownKeys, ANonEditableDropDownSwallowsLettersAndArrows) {
  ManualTime time(300000);
  CycleRig rig;
  rig.drop->SetEditorEnabled(false);
  rig.drop->SetText("abc");
  std::vector<int> seen;
  rig.drop->OnKeyDown = [&](TObject*, Word& k, TShiftState) { seen.push_back(k); };
  rig.drop->SetFocus();
  Pump();
  rig.drop->SetSelStart(1);
  rig.drop->SetSelLength(0);
  Type(rig.drop, "xy");
  Key(rig.drop, Qt::Key_Left);
  Key(rig.drop, Qt::Key_Delete);
  Key(rig.drop, Qt::Key_Backspace);
  Pump();
  EXPECT_EQ(rig.drop->Text(), "abc");
  EXPECT_EQ(rig.drop->SelStart(), 1);
  EXPECT_TRUE(seen.empty());
  Key(rig.drop, Qt::Key_Escape);
  Key(rig.drop, Qt::Key_Return);
  EXPECT_EQ(seen, (std::vector<int>{VK_ESCAPE, VK_RETURN}));
  EXPECT_FALSE(rig.Open());
}

}  // namespace
}  // namespace dropdown
