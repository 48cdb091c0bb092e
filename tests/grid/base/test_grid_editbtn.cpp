// The grid's edit-with-button editor: the button and F4 through
// OnEllipsClick, the numeric kinds' typed characters, pasting, lookup
// completion and its leave keys, over synthetic keys.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <string>
#include <vector>

#include "grid/GridComponent.h"
#include "grid/GridEditBtn.h"
#include "grid/model/GridEnvironment.h"
#include "vcl/Clipbrd.h"
#include "vcl/Forms.h"
#include "vcl/Messages.h"

using namespace grid;

namespace {

struct TEditBtnGrid {
  vcl::TForm* form = nullptr;
  TVadOdizadEzev* grid = nullptr;
  TGridEditBtn* edit = nullptr;
  TEditorType type = edEditBtn;
  std::vector<std::string> events;
  std::string verdict;
  TEditBtnGrid() {
    form = new vcl::TForm(vcl::Application, 0);
    form->SetBounds(0, 0, 600, 400);
    grid = new TVadOdizadEzev(form);
    grid->SetParent(form);
    grid->SetColCount(3);
    grid->SetRowCount(6);
    grid->SetColWidths(1, 140);
    auto options = grid->Options();
    options.Include(vcl::goEditing);
    grid->SetOptions(options);
    for (Integer r = 1; r < 6; ++r) grid->SetCells(1, r, "start");
    edit = dynamic_cast<TGridEditBtn*>(grid->EditorControl(ecEditBtn));
    grid->OnGetEditorType = [this](vcl::TObject*, Integer, Integer, TEditorType& editor) { editor = type; };
    grid->OnEllipsClick = [this](vcl::TObject* sender, Integer col, Integer row, AnsiString& s) {
      EXPECT_EQ(sender, grid);
      events.push_back("ellips " + std::to_string(col) + "," + std::to_string(row) + " " + s);
      s = "chosen";
    };
    grid->OnCellValidate = [this](vcl::TObject*, Integer col, Integer row, AnsiString& value, bool& valid) {
      events.push_back("validate " + std::to_string(col) + "," + std::to_string(row) + " " + value);
      if (verdict == "refuse") valid = false;
    };
    grid->OnEditingDone = [this](vcl::TObject*) { events.push_back("editing done"); };
    form->Show();
    grid->SetFocus();
  }
  ~TEditBtnGrid() { vcl::Free(form); }
  void Edit(Integer row, TEditorType editor = edEditBtn, const char* text = nullptr) {
    type = editor;
    if (text != nullptr) grid->SetCells(1, row, text);
    grid->SetCol(1);
    grid->SetRow(row);
    grid->Perform(vcl::WM_KEYDOWN, vcl::VK_F2, 0);
    ASSERT_EQ(grid->ActiveEditorControl(), edit);
    edit->SetSelStart(static_cast<Integer>(edit->Text().size()));
    edit->SetSelLength(0);
    events.clear();
  }
  void Key(vcl::Word key) { edit->Perform(vcl::WM_KEYDOWN, key, 0); }
  void Type(const QString& text) {
    for (QChar ch : text) {
      const int key = ch == '\b' ? Qt::Key_Backspace : 0;
      QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(ch));
      QApplication::sendEvent(edit->Widget(), &press);
      QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(ch));
      QApplication::sendEvent(edit->Widget(), &release);
    }
    vcl::Application->ProcessMessages();
  }
};

}  // namespace

TEST(GridEditBtnEditor, ButtonAndF4AskTheOwner) {
  TEditBtnGrid g;
  g.Edit(2);
  g.Key(vcl::VK_F4);
  EXPECT_EQ(g.events, (std::vector<std::string>{"ellips 1,2 start"}));
  EXPECT_EQ(g.edit->Text(), "chosen");
  EXPECT_EQ(g.edit->SelLength(), 6);
  EXPECT_EQ(g.grid->ActiveEditorControl(), g.edit);
  g.Key(vcl::VK_ESCAPE);
  EXPECT_EQ(g.grid->Cells(1, 2), "start");

  // With StopEditAfterClick the click ends the edit with the new text.
  g.edit->StopEditAfterClick = true;
  g.Edit(3);
  g.edit->ButtonClick();
  EXPECT_EQ(g.grid->ActiveEditorControl(), nullptr);
  EXPECT_EQ(g.grid->Cells(1, 3), "chosen");
  EXPECT_EQ(g.events, (std::vector<std::string>{"ellips 1,3 start", "validate 1,3 chosen", "editing done"}));
}

TEST(GridEditBtnEditor, NumericKindsFilterTypedCharacters) {
  TEditBtnGrid g;
  FixedLocaleSettings us;
  ScopedLocale scope(us);
  struct Case {
    TEditorType editor;
    const char* typed;
    const char* shown;
  };
  const Case cases[] = {
      {edEditBtn, "a-1.x", "a-1.x"},
      {edNumericEditBtn, "-5-a6", "-56"},
      {edFloatEditBtn, "-1.5.2e,", "-1.52"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.typed);
    g.Edit(1, k.editor, "");
    g.Type(k.typed);
    EXPECT_EQ(g.edit->Text(), k.shown);
    g.Key(vcl::VK_ESCAPE);
  }
}

TEST(GridEditBtnEditor, PasteAndLookupCompletion) {
  TEditBtnGrid g;
  g.Edit(1, edEditBtn, "ab");
  vcl::Clipboard()->SetAsText("12\r\n");
  g.edit->Perform(vcl::WM_PASTE);
  EXPECT_EQ(g.edit->Text(), "ab12");
  EXPECT_EQ(g.edit->SelStart(), 4);
  // Two lines keep every line break.
  vcl::Clipboard()->SetAsText("x\r\ny\r\n");
  g.edit->SetSelStart(0);
  g.edit->SetSelLength(2);
  g.edit->Perform(vcl::WM_PASTE);
  EXPECT_EQ(g.edit->Text(), "x\r\ny\r\n12");
  g.Key(vcl::VK_ESCAPE);

  g.grid->Lookup = true;
  g.grid->LookupItems()->Add("Network");
  g.Edit(2, edEditBtn, "");
  g.Type("ne");
  EXPECT_EQ(g.edit->Text(), "network");
  EXPECT_EQ(g.edit->SelStart(), 2);
  EXPECT_EQ(g.edit->SelLength(), 5);
  g.Type("\b");
  EXPECT_EQ(g.edit->Text(), "ne");
  EXPECT_FALSE(g.edit->AutoCompleteAllowed());
  g.Key(vcl::VK_ESCAPE);
}

TEST(GridEditBtnEditor, LeaveKeys) {
  TEditBtnGrid g;
  g.grid->Navigation()->AdvanceOnEnter = true;
  g.grid->Navigation()->SetAdvanceDirection(adTopBottom);
  struct Case {
    const char* name;
    vcl::Word key;
    const char* verdict;
    const char* cell;
    Integer row;
    bool open;
    std::vector<std::string> events;
  };
  const std::vector<Case> cases = {
      {"enter", vcl::VK_RETURN, "", "typed", 3, false, {"validate 1,2 typed", "editing done"}},
      {"enter refused", vcl::VK_RETURN, "refuse", "start", 2, true, {"validate 1,2 typed"}},
      {"escape", vcl::VK_ESCAPE, "", "start", 2, false, {"editing done"}},
      {"down", vcl::VK_DOWN, "", "typed", 3, false, {"validate 1,2 typed", "editing done"}},
      {"up", vcl::VK_UP, "", "typed", 1, false, {"validate 1,2 typed", "editing done"}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    g.verdict = k.verdict;
    g.Edit(2, edEditBtn, "start");
    g.edit->SetText("typed");
    g.events.clear();
    g.Key(k.key);
    EXPECT_EQ(g.grid->Cells(1, 2), k.cell);
    EXPECT_EQ(g.grid->Row(), k.row);
    EXPECT_EQ(g.grid->ActiveEditorControl() == g.edit, k.open);
    EXPECT_EQ(g.events, k.events);
    if (k.open) {
      // The refused text stays, all of it selected.
      EXPECT_EQ(g.edit->Text(), "typed");
      EXPECT_EQ(g.edit->SelLength(), 5);
      g.verdict.clear();
      g.Key(vcl::VK_ESCAPE);
    }
  }
}

TEST(GridEditBtnEditor, BelongsToAGrid) {
  vcl::TForm* form = new vcl::TForm(vcl::Application, 0);
  EXPECT_THROW(TGridEditBtn edit(form), EInvalidCast);
  vcl::Free(form);
}
