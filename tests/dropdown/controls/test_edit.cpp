// The edit with a button inside its right edge and the unit edit.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>

#include "DropdownTestSupport.h"
#include "dropdown/VoeEdit.h"
#include "vcl/Menus.h"
#include "vcl/UxTheme.h"

namespace dropdown {
namespace {

using namespace ddtest;

class EditBtn : public ::testing::Test {
 protected:
  void SetUp() override {
    form = MakeForm();
    edit = new TVoeEditBtn(form);
    edit->SetParent(form);
    edit->SetBounds(10, 10, 140, 30);
    edit->OnClickBtn = [this](TObject* sender) { clicks.push_back(sender); };
    Pump();
  }
  void TearDown() override { Free(form); }
  TForm* form = nullptr;
  TVoeEditBtn* edit = nullptr;
  std::vector<TObject*> clicks;
};

TEST_F(EditBtn, StartsWithAnEighteenPixelButton) {
  EXPECT_EQ(edit->Text(), "0");
  EXPECT_TRUE(edit->EditorEnabled());
  EXPECT_EQ(edit->ButtonWidth(), 18);
  EXPECT_EQ(edit->Button()->FocusControl(), edit);
  EXPECT_FALSE(edit->ControlStyle().Contains(csSetCaption));
  edit->SetButtonWidth(24);
  EXPECT_EQ(edit->ButtonWidth(), 24);
  EXPECT_EQ(edit->Button()->Width(), 24);
}

TEST_F(EditBtn, LayoutBesideTheButton) {
  struct Case {
    TBorderStyle border;
    Integer unitSpace;
    TRect button, text;
  } cases[] = {
      // 140 x 30 with a sunken border: client 136 x 26, k = 5.
      {bsSingle, 0, Rect(140 - 18 - 5, 0, 140 - 5, 25), Rect(1, 1, 136 - 18 - 5, 27)},
      {bsSingle, 20, Rect(140 - 18 - 5, 0, 140 - 5, 25), Rect(1, 1, 136 - 18 - 20 - 5 - 3, 27)},
      {bsNone, 0, Rect(140 - 18 - 1, 0, 140 - 1, 29), Rect(3, 3, 140 - 18 - 5, 31)},
      {bsNone, 1, Rect(140 - 18 - 1, 0, 140 - 1, 29), Rect(3, 3, 140 - 18 - 1 - 5 - 3, 31)},
  };
  for (const auto& c : cases) {
    edit->SetBorderStyle(c.border);
    edit->SetUnitSpace(c.unitSpace);
    edit->SetBounds(10, 10, 140, 30);
    EXPECT_EQ(edit->Button()->BoundsRect(), c.button);
    TRect r;
    edit->Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r, c.text) << "unit space " << c.unitSpace;
  }
  edit->SetCtl3D(false);
  edit->SetBounds(10, 10, 141, 30);
  EXPECT_EQ(edit->Button()->BoundsRect(), Rect(141 - 18, 1, 141, 28));
}

TEST_F(EditBtn, TheButtonsFaces) {
  TVoeEditButton* box = edit->Button();
  TLumSpeedButton* b = box->Button();
  int w = box->Width(), h = box->Height();
  struct Case {
    const char* look;
    bool flat, pressed;
    TColor topLeft, bottomRight;
  } cases[] = {
      // The push button's raised frame, outer lines.
      {"push", false, false, ColorToRGB(cl3DLight), ColorToRGB(cl3DDkShadow)},
      // The flat face's single inner edge, raised or sunken.
      {"flat", true, false, ColorToRGB(clBtnHighlight), ColorToRGB(clBtnShadow)},
      {"flat pressed", true, true, ColorToRGB(cl3DDkShadow), ColorToRGB(cl3DLight)},
  };
  for (const auto& c : cases) {
    box->SetFlat(c.flat);
    EXPECT_EQ(b->Flat(), c.flat) << c.look;
    if (c.pressed) MouseDown(box, w / 2, h / 2);
    QImage img = Grab(box);
    if (c.pressed) MouseUp(box, w / 2, h / 2);
    EXPECT_EQ(PixelAt(img, 0, 0), c.topLeft) << c.look;
    EXPECT_EQ(PixelAt(img, w - 1, h - 1), c.bottomRight) << c.look;
    EXPECT_EQ(PixelAt(img, 3, h / 2), ColorToRGB(clBtnFace)) << c.look;
  }
}

TEST_F(EditBtn, TheThemedButtonFallsBackToItsPlainFace) {
  QImage plain = Grab(edit->Button());
  edit->SetIsWinXP(true);
  QImage themed = Grab(edit->Button());
  EXPECT_NE(themed, plain);
  SetThemeActive(false);
  QImage unthemed = Grab(edit->Button());
  edit->SetIsWinXP(false);
  QImage plainUnthemed = Grab(edit->Button());
  SetThemeActive(true);
  EXPECT_EQ(unthemed, plainUnthemed);
}

TEST_F(EditBtn, TheButtonClicksOnReleaseWhereverTheMouseIs) {
  TVoeEditButton* b = edit->Button();
  MouseDown(b, 5, 5);
  MouseUp(b, 200, 200);
  Pump();
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0], b);
  EXPECT_TRUE(edit->Focused());
}

TEST_F(EditBtn, F4ClicksUnlessCtrlOrAltIsDown) {
  edit->SetFocus();
  Pump();
  Key(edit, Qt::Key_F4);
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0], edit);
  Key(edit, Qt::Key_F4, Qt::ControlModifier);
  Key(edit, Qt::Key_F4, Qt::AltModifier);
  EXPECT_EQ(clicks.size(), 1u);
}

TEST_F(EditBtn, ANonEditableEditTakesNoTypingPasteOrCut) {
  edit->SetFocus();
  Pump();
  BeepRecorder beeps;
  int presses = 0;
  edit->OnKeyPress = [&](TObject*, WideChar&) { ++presses; };
  edit->SetEditorEnabled(false);
  edit->SetText("12");
  edit->SetSelStart(2);
  Type(edit, "34");
  EXPECT_EQ(edit->Text(), "12");
  EXPECT_EQ(presses, 0);
  edit->SelectAll();
  Key(edit, Qt::Key_X, Qt::ControlModifier);
  edit->Perform(WM_CUT);
  EXPECT_EQ(edit->Text(), "12");
  edit->Perform(WM_PASTE);
  EXPECT_EQ(edit->Text(), "12");
  EXPECT_EQ(beeps.count, 0);
  Key(edit, Qt::Key_F4);
  EXPECT_EQ(clicks.size(), 1u);
  // Editable again: typing reaches the edit.
  edit->SetEditorEnabled(true);
  edit->SetSelStart(2);
  Type(edit, "3");
  EXPECT_EQ(edit->Text(), "123");
  EXPECT_EQ(presses, 1);
  // A read-only edit keeps its text from cut too.
  edit->SetReadOnly(true);
  edit->SelectAll();
  edit->Perform(WM_CUT);
  EXPECT_EQ(edit->Text(), "123");
}

TEST_F(EditBtn, SelectionMessagesCountCharacters) {
  edit->SetText("a" "\xF0\x9F\x98\x80" "bc");  // a, U+1F600, b, c
  edit->Perform(EM_SETSEL, 1, 3);
  EXPECT_EQ(edit->SelStart(), 1);  // UTF-16 units
  EXPECT_EQ(edit->SelLength(), 3);
  Cardinal from = 0, to = 0;
  edit->Perform(EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
  EXPECT_EQ(from, 1u);
  EXPECT_EQ(to, 3u);
  edit->Perform(EM_SETSEL, 2, -1);
  EXPECT_EQ(edit->SelText(), "bc");
  edit->Perform(EM_SETSEL, static_cast<WPARAM>(-1), 0);
  EXPECT_EQ(edit->SelLength(), 0);
}

TEST_F(EditBtn, RightAlignKeepsTheText) {
  edit->SetText("value");
  edit->SetRightAlign(true);
  EXPECT_EQ(edit->Text(), "value");
  QImage img = Grab(edit);
  // The text ends near the button instead of starting at the left.
  int firstDark = -1;
  for (int x = 0; x < img.width() && firstDark < 0; ++x)
    for (int y = 4; y < img.height() - 4; ++y)
      if (qGray(img.pixel(x, y)) < 100) {
        firstDark = x;
        break;
      }
  EXPECT_GT(firstDark, 60);
}

class UnitEdit : public ::testing::Test {
 protected:
  void SetUp() override {
    form = MakeForm();
    edit = new TVoeUnitEditBtn(form);
    edit->SetParent(form);
    edit->SetBounds(10, 10, 160, 30);
    Pump();
  }
  void TearDown() override { Free(form); }
  // Chooses the menu entry at index once the unit menu is open.
  void ChooseLater(int index) {
    Later([index] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      ASSERT_NE(menu, nullptr);
      QList<QAction*> actions = menu->actions();
      if (index < actions.size()) actions[index]->trigger();
      menu->close();
    });
  }
  TForm* form = nullptr;
  TVoeUnitEditBtn* edit = nullptr;
};

TEST_F(UnitEdit, StartsRightAlignedWithRoomForTheUnit) {
  EXPECT_TRUE(edit->RightAlign());
  EXPECT_EQ(edit->UnitSpace(), 20);
  EXPECT_EQ(edit->Units()->Count(), 0);
  EXPECT_EQ(edit->UnitID(), "");
}

TEST_F(UnitEdit, ChoosingAMenuEntrySetsTheUnit) {
  rtl::TStringList units;
  units.SetText("mV\r\nV\r\nkV\r\n");
  edit->SetUnits(&units);
  edit->SetUnits(nullptr);  // ignored
  EXPECT_EQ(edit->Units()->Count(), 3);
  edit->SetText("12");
  int btnClicks = 0;
  edit->OnClickBtn = [&](TObject* s) {
    EXPECT_EQ(s, edit);
    ++btnClicks;
  };
  ChooseLater(2);
  edit->ClickBtn(edit->Button());
  Pump();
  EXPECT_EQ(btnClicks, 1);
  EXPECT_EQ(edit->UnitID(), "kV");
  EXPECT_EQ(edit->Text(), "12");
  EXPECT_EQ(edit->UnitMenu(), nullptr);
  // The menu's command numbers: 1 for the first entry; 0x300 notifications
  // and numbers outside the list change nothing.
  edit->Perform(WM_COMMAND, MakeWParam(1, 0));
  EXPECT_EQ(edit->UnitID(), "mV");
  edit->Perform(WM_COMMAND, MakeWParam(2, 0x300));
  edit->Perform(WM_COMMAND, MakeWParam(4, 0));
  edit->Perform(WM_COMMAND, MakeWParam(0, 0));
  EXPECT_EQ(edit->UnitID(), "mV");
}

TEST_F(UnitEdit, AnEmptyListNeverChangesTheUnit) {
  edit->SetUnitID("Hz");
  ChooseLater(0);
  edit->ClickBtn(edit->Button());
  Pump();
  EXPECT_EQ(edit->UnitID(), "Hz");
}

TEST_F(UnitEdit, TheUnitShowsRightOfTheValue) {
  edit->SetText("");
  QImage blank = Grab(edit);
  edit->SetUnitID("mm");
  QImage shown = Grab(edit);
  SaveShot(shown, "dropdown_unit_edit.png");
  // The unit's rectangle in widget coordinates (client origin at 2, 2).
  Integer right = edit->ClientWidth() - (edit->ButtonWidth() + 3);
  TRect unit = Rect(right - 20 + 2, 2 + 2, right + 2, edit->ClientHeight() + 2);
  int changedInside = 0, changedOutside = 0;
  for (int y = 0; y < shown.height(); ++y)
    for (int x = 0; x < shown.width(); ++x)
      if (shown.pixel(x, y) != blank.pixel(x, y)) (unit.Contains({x, y}) ? changedInside : changedOutside)++;
  EXPECT_GT(changedInside, 10);
  EXPECT_EQ(changedOutside, 0);
}

}  // namespace
}  // namespace dropdown
