// The end of an edit on a grid: OnCellValidate accepting, refusing and
// replacing through real keys, the checker, the modified marks, the change
// records and the links to the two small components.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dropdown/VoeSpin.h"
#include "grid/GridComponent.h"
#include "grid/GridUndoRedo.h"
#include <QImage>
#include <QWidget>

#include "vcl/ToolTipBalloon.h"
#include "vcl/Forms.h"
#include "vcl/Messages.h"

using namespace grid;

namespace {

struct TValidatedGrid {
  vcl::TForm* form = nullptr;
  TVadOdizadEzev* grid = nullptr;
  TLumGridUndoRedo* undo = nullptr;
  std::vector<std::string> events;
  // What the handler does: "" accepts, "refuse" refuses, other text
  // refuses with that replacement.
  std::string verdict;
  TValidatedGrid() {
    form = new vcl::TForm(vcl::Application, 0);
    form->SetBounds(0, 0, 600, 400);
    grid = new TVadOdizadEzev(form);
    grid->SetParent(form);
    grid->SetColCount(3);
    grid->SetRowCount(6);
    auto options = grid->Options();
    options.Include(vcl::goEditing);
    grid->SetOptions(options);
    for (Integer r = 1; r < 6; ++r) grid->SetCells(1, r, "v" + std::to_string(r));
    grid->SetCells(2, 2, "8080");
    grid->OnGetEditorType = [](vcl::TObject*, Integer col, Integer, TEditorType& editor) {
      if (col == 2) editor = edSpinEdit;
    };
    grid->OnCellValidate = [this](vcl::TObject*, Integer col, Integer row, AnsiString& value, bool& valid) {
      events.push_back("validate " + std::to_string(col) + "," + std::to_string(row) + " " + value);
      if (verdict.empty()) return;
      valid = false;
      if (verdict != "refuse") value = verdict;
    };
    grid->OnEditingDone = [this](vcl::TObject*) { events.push_back("editing done"); };
    grid->OnCellsChanged = [this](vcl::TObject*, const vcl::TRect& r) {
      events.push_back("cells changed " + std::to_string(r.Left) + "," + std::to_string(r.Top));
    };
    undo = new TLumGridUndoRedo(form);
    grid->SetUndoRedo(undo);
    form->Show();
    grid->SetFocus();
  }
  ~TValidatedGrid() { vcl::Free(form); }
  void Key(vcl::Word key) { grid->Perform(vcl::WM_KEYDOWN, key, 0); }
  void At(Integer col, Integer row) {
    grid->SetCol(col);
    grid->SetRow(row);
    events.clear();
  }
  void Type(const char* text) {
    Key(vcl::VK_F2);
    ASSERT_TRUE(grid->EditorMode());
    grid->InplaceEditor()->SetText(text);
  }
};

}  // namespace

TEST(GridValidationRoad, AnAcceptedValueIsStoredMarkedAndRecorded) {
  TValidatedGrid g;
  g.grid->Navigation()->AdvanceOnEnter = true;
  g.grid->Navigation()->SetAdvanceDirection(adTopBottom);
  g.grid->ShowModified()->Enabled = true;
  g.At(1, 2);
  g.Type("new");
  g.Key(vcl::VK_RETURN);
  EXPECT_FALSE(g.grid->EditorMode());
  EXPECT_EQ(g.grid->Cells(1, 2), "new");
  EXPECT_EQ(g.events, (std::vector<std::string>{"validate 1,2 new", "cells changed 1,2", "editing done"}));
  EXPECT_TRUE(g.grid->Modified);
  EXPECT_TRUE(g.grid->RowModified()->HasValue(2));
  ASSERT_EQ(g.undo->Count(), 1);
  EXPECT_EQ(g.undo->Items(0).Col, 1);
  EXPECT_EQ(g.undo->Items(0).Row, 2);
  EXPECT_EQ(g.undo->Items(0).OrigValue, "v2");
  EXPECT_EQ(g.undo->Items(0).Value, "new");
  // Enter still advances after the cycle put it back.
  EXPECT_EQ(g.grid->Row(), 3);
  EXPECT_TRUE(g.grid->Navigation()->AdvanceOnEnter);

  // The same text again: nothing asked, nothing recorded.
  g.At(1, 2);
  g.Type("new");
  g.Key(vcl::VK_RETURN);
  EXPECT_EQ(g.events, (std::vector<std::string>{"editing done"}));
  EXPECT_EQ(g.undo->Count(), 1);
}

TEST(GridValidationRoad, ARefusalKeepsTheEditorOnTheCell) {
  TValidatedGrid g;
  g.grid->Navigation()->AdvanceOnEnter = true;
  g.grid->Navigation()->SetAdvanceDirection(adTopBottom);
  g.At(1, 3);
  g.verdict = "refuse";
  g.Type("wrong");
  g.Key(vcl::VK_RETURN);
  // The old text is back, the editor open on the same cell, the grid not
  // modified and nothing recorded.
  EXPECT_EQ(g.grid->Row(), 3);
  EXPECT_TRUE(g.grid->EditorMode());
  EXPECT_TRUE(g.grid->EditorActive());
  EXPECT_EQ(g.grid->Cells(1, 3), "v3");
  EXPECT_EQ(g.grid->InplaceEditor()->Text(), "v3");
  EXPECT_FALSE(g.grid->Modified);
  EXPECT_FALSE(g.grid->RowModified()->HasValue(3));
  EXPECT_EQ(g.undo->Count(), 0);
  EXPECT_EQ(g.events, (std::vector<std::string>{"validate 1,3 wrong"}));

  // Refused with a replacement: the cell holds it, the editor stays.
  g.verdict = "0";
  g.grid->InplaceEditor()->SetText("wrong again");
  g.Key(vcl::VK_RETURN);
  EXPECT_EQ(g.grid->Cells(1, 3), "0");
  EXPECT_TRUE(g.grid->EditorMode());
  EXPECT_EQ(g.grid->Row(), 3);
  EXPECT_TRUE(g.grid->Modified);
  ASSERT_EQ(g.undo->Count(), 1);
  EXPECT_EQ(g.undo->Items(0).Value, "0");

  // Accepted at last: the edit ends and Enter moves on.
  g.verdict.clear();
  g.grid->InplaceEditor()->SetText("7");
  g.Key(vcl::VK_RETURN);
  EXPECT_FALSE(g.grid->EditorMode());
  EXPECT_EQ(g.grid->Cells(1, 3), "7");
  EXPECT_EQ(g.grid->Row(), 4);
}

TEST(GridValidationRoad, ARefusedSpinValueReopensItsControl) {
  TValidatedGrid g;
  auto* spin = dynamic_cast<dropdown::TVoeSpinEdit*>(g.grid->EditorControl(ecSpin));
  ASSERT_NE(spin, nullptr);
  spin->SetMaxValue(65535);
  g.At(2, 2);
  g.Key(vcl::VK_F2);
  ASSERT_EQ(g.grid->ActiveEditorControl(), spin);
  ASSERT_EQ(spin->Value(), 8080);
  spin->SetValue(9090);
  g.verdict = "refuse";
  g.grid->HideCellEditor();
  EXPECT_EQ(g.grid->Cells(2, 2), "8080");
  ASSERT_EQ(g.grid->ActiveEditorControl(), spin);
  EXPECT_TRUE(spin->Visible());
  EXPECT_EQ(spin->Value(), 8080);
  EXPECT_EQ(g.events.front(), "validate 2,2 9090");

  g.verdict.clear();
  spin->SetValue(9191);
  g.grid->HideCellEditor();
  EXPECT_EQ(g.grid->Cells(2, 2), "9191");
  EXPECT_EQ(g.grid->ActiveEditorControl(), nullptr);
  EXPECT_FALSE(spin->Visible());
}

TEST(GridValidationRoad, TheCheckerCorrectsBeforeAndMarksAfter) {
  TValidatedGrid g;
  struct Speller : TVadOdizadEzevCheck {
    using TVadOdizadEzevCheck::TVadOdizadEzevCheck;
    AnsiString Correct(Integer, Integer, const AnsiString& v) override { return v == "teh" ? "the" : v; }
    AnsiString MarkError(Integer, Integer, const AnsiString& v) override { return "[" + v + "]"; }
  };
  auto* checker = new Speller(g.form);
  g.grid->SetCellChecker(checker);
  checker->AutoCorrect = true;
  g.At(1, 1);
  g.Type("teh");
  g.Key(vcl::VK_RETURN);
  EXPECT_EQ(g.events.front(), "validate 1,1 the");
  EXPECT_EQ(g.grid->Cells(1, 1), "the");
  checker->AutoMarkError = true;
  g.At(1, 1);
  g.Type("word");
  g.Key(vcl::VK_RETURN);
  EXPECT_EQ(g.grid->Cells(1, 1), "[word]");
  // The base checker changes nothing.
  auto* plain = new TVadOdizadEzevCheck(g.form);
  plain->AutoCorrect = plain->AutoMarkError = true;
  g.grid->SetCellChecker(plain);
  g.At(1, 2);
  g.Type("as typed");
  g.Key(vcl::VK_RETURN);
  EXPECT_EQ(g.grid->Cells(1, 2), "as typed");
  // A freed checker is forgotten.
  vcl::Free(plain);
  EXPECT_EQ(g.grid->CellChecker(), nullptr);
}

TEST(GridValidationRoad, RecordsNameTheRealRowAndLinksClearWhenFreed) {
  TValidatedGrid g;
  // Row 1 hidden: display row 2 is real row 3.
  g.grid->Model().HideRow(1);
  g.At(1, 2);
  g.Type("after hiding");
  g.Key(vcl::VK_RETURN);
  ASSERT_EQ(g.undo->Count(), 1);
  EXPECT_EQ(g.undo->Items(0).Row, 3);
  EXPECT_EQ(g.undo->Items(0).OrigValue, "v3");

  EXPECT_EQ(g.undo->Grid(), g.grid);
  vcl::Free(g.undo);
  EXPECT_EQ(g.grid->UndoRedo(), nullptr);
  // Without records the edit still ends normally.
  g.At(1, 2);
  g.Type("unrecorded");
  g.Key(vcl::VK_RETURN);
  EXPECT_EQ(g.grid->Cells(1, 2), "unrecorded");

  // Freeing the grid clears the component's link.
  auto* other = new TLumGridUndoRedo(g.form);
  g.grid->SetUndoRedo(other);
  EXPECT_EQ(other->Grid(), g.grid);
  vcl::Free(g.grid);
  g.grid = nullptr;
  EXPECT_EQ(other->Grid(), nullptr);
}

TEST(GridValidationRoad, ARefusalShowsTheInvalidEntryBalloon) {
  TValidatedGrid g;
  g.grid->InvalidEntryTitle = "Invalid entry";
  g.grid->InvalidEntryText = "Enter a number between 1 and 10";
  g.verdict = "refuse";
  g.At(1, 2);
  g.Type("wrong");
  g.Key(vcl::VK_RETURN);
  vcl::TBalloonTip* tip = vcl::CurrentBalloonTip();
  ASSERT_NE(tip, nullptr);
  EXPECT_TRUE(tip->Showing());
  EXPECT_EQ(tip->Title, "Invalid entry");
  EXPECT_EQ(tip->Text, "Enter a number between 1 and 10");
  EXPECT_EQ(tip->Icon, vcl::biWarning);
  // The tail points at the editor's bottom edge, 10 pixels in.
  const vcl::TPoint at = g.grid->InplaceEditor()->ClientToScreen({10, g.grid->InplaceEditor()->Height()});
  EXPECT_EQ(tip->TailPoint().X, at.X);
  EXPECT_EQ(tip->TailPoint().Y, at.Y);
  tip->Repaint();
  const QImage img = tip->Widget()->grab().toImage();
  img.save(QString(TOLVANE_BUILD_DIR "/") + "grid-invalid-entry-balloon.png");
  // The warning icon's yellow and some dark text.
  bool yellow = false, dark = false;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) {
      const QRgb p = img.pixel(x, y);
      if (qRed(p) > 230 && qGreen(p) > 180 && qBlue(p) < 40) yellow = true;
      if (qRed(p) < 60 && qGreen(p) < 60 && qBlue(p) < 60) dark = true;
    }
  EXPECT_TRUE(yellow);
  EXPECT_TRUE(dark);
  // Accepted at last: the balloon goes.
  g.verdict.clear();
  g.grid->InplaceEditor()->SetText("5");
  g.Key(vcl::VK_RETURN);
  EXPECT_FALSE(tip->Showing());
  // Without a title or text no balloon shows.
  g.grid->InvalidEntryTitle.clear();
  g.grid->InvalidEntryText.clear();
  g.verdict = "refuse";
  g.At(1, 3);
  g.Type("again");
  g.Key(vcl::VK_RETURN);
  EXPECT_FALSE(tip->Showing());
}
