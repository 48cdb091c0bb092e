// The grid's combo editor: completion against its items and the grid's
// lookup items, its leave keys as a table, the wheel, the lookup history
// and the width of the dropped list.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <string>
#include <vector>

#include "grid/GridCombo.h"
#include "grid/GridComponent.h"
#include "vcl/ComboEditSel.h"
#include "vcl/Forms.h"
#include "vcl/Messages.h"
#include "vcl/QtHost.h"

using namespace grid;

namespace {

struct TComboGrid {
  vcl::TForm* form = nullptr;
  TVadOdizadEzev* grid = nullptr;
  TGridCombo* combo = nullptr;
  std::vector<std::string> events;
  std::vector<std::string> items = {"low", "medium", "high"};
  std::string verdict;
  TEditorType type = edComboEdit;
  TComboGrid() {
    form = new vcl::TForm(vcl::Application, 0);
    form->SetBounds(0, 0, 600, 400);
    grid = new TVadOdizadEzev(form);
    grid->SetParent(form);
    grid->SetColCount(3);
    grid->SetRowCount(6);
    grid->SetColWidths(1, 120);
    auto options = grid->Options();
    options.Include(vcl::goEditing);
    grid->SetOptions(options);
    for (Integer r = 1; r < 6; ++r) grid->SetCells(1, r, "medium");
    combo = dynamic_cast<TGridCombo*>(grid->EditorControl(ecCombo));
    grid->OnGetEditorType = [this](vcl::TObject*, Integer, Integer, TEditorType& editor) {
      editor = type;
      combo->Items()->Clear();
      for (const std::string& item : items) combo->Items()->Add(item);
    };
    grid->OnCellValidate = [this](vcl::TObject*, Integer col, Integer row, AnsiString& value, bool& valid) {
      events.push_back("validate " + std::to_string(col) + "," + std::to_string(row) + " " + value);
      if (verdict == "refuse") valid = false;
    };
    grid->OnEditingDone = [this](vcl::TObject*) { events.push_back("editing done"); };
    grid->OnComboChange = [this](vcl::TObject* sender, Integer col, Integer row, Integer index, const AnsiString& text) {
      EXPECT_EQ(sender, grid);
      events.push_back("combo " + std::to_string(col) + "," + std::to_string(row) + " " + std::to_string(index) + " " +
                       text);
    };
    form->Show();
    grid->SetFocus();
  }
  ~TComboGrid() { vcl::Free(form); }
  void Edit(Integer row, TEditorType editor = edComboEdit) {
    type = editor;
    grid->SetCol(1);
    grid->SetRow(row);
    grid->Perform(vcl::WM_KEYDOWN, vcl::VK_F2, 0);
    ASSERT_EQ(grid->ActiveEditorControl(), combo);
    events.clear();
  }
  void Key(vcl::Word key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    vcl::SetInputModifiers(mods);
    combo->Perform(vcl::WM_KEYDOWN, key, 0);
    vcl::SetInputModifiers(Qt::NoModifier);
  }
  // Typed characters as the keyboard sends them, each released again.
  void Type(const QString& text) {
    for (QChar ch : text) {
      const int key = ch == '\b' ? Qt::Key_Backspace : 0;
      QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(ch));
      QApplication::sendEvent(combo->Widget(), &press);
      QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(ch));
      QApplication::sendEvent(combo->Widget(), &release);
    }
    vcl::Application->ProcessMessages();
  }
  void ClearText() {
    combo->SetText("");
    vcl::SetComboEditSel(combo, 0, 0);
  }
};

}  // namespace

TEST(GridComboEditor, CompletionAgainstItemsAndLookupItems) {
  TComboGrid g;
  g.grid->Lookup = true;
  g.items = {"Abc", "abd"};
  struct Case {
    bool caseSensitive;
    const char* typed;
    const char* text;
    Integer itemIndex;
    Integer selStart, selLength;
  };
  const Case cases[] = {
      // The typed letters keep their case; the class library's combo
      // names an item only for its exact text, so ItemIndex stays -1 here.
      {false, "ab", "abc", -1, 2, 1},
      {false, "Ab", "Abc", 0, 2, 1},
      {true, "ab", "abd", 1, 2, 1},
      {false, "x", "x", -1, 1, 0},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.typed);
    g.grid->LookupCaseSensitive = k.caseSensitive;
    g.Edit(1);
    g.combo->SetItemIndex(-1);
    g.ClearText();
    g.Type(k.typed);
    EXPECT_EQ(g.combo->Text(), k.text);
    EXPECT_EQ(g.combo->ItemIndex(), k.itemIndex);
    Integer start = 0, length = 0;
    ASSERT_TRUE(vcl::GetComboEditSel(g.combo, start, length));
    EXPECT_EQ(start, k.selStart);
    EXPECT_EQ(length, k.selLength);
    g.Key(vcl::VK_ESCAPE);
  }
  // Backspace takes the completion away and completes nothing.
  g.grid->LookupCaseSensitive = false;
  g.Edit(1);
  g.ClearText();
  g.Type("a");
  EXPECT_EQ(g.combo->Text(), "abc");
  g.Type("\b");
  EXPECT_EQ(g.combo->Text(), "a");
  EXPECT_FALSE(g.combo->AutoCompleteAllowed());
  g.Key(vcl::VK_ESCAPE);
  // The grid's LookupItems when no item matches: ItemIndex stays.
  g.grid->LookupItems()->Add("Zebra");
  g.Edit(1);
  g.combo->SetItemIndex(-1);
  g.ClearText();
  g.Type("z");
  EXPECT_EQ(g.combo->Text(), "zebra");
  EXPECT_EQ(g.combo->ItemIndex(), -1);
  g.Key(vcl::VK_ESCAPE);
}

TEST(GridComboEditor, LeaveKeys) {
  TComboGrid g;
  g.grid->Navigation()->AdvanceOnEnter = true;
  g.grid->Navigation()->AdvanceAutoEdit = false;
  g.grid->Navigation()->SetAdvanceDirection(adTopBottom);
  struct Case {
    const char* name;
    TEditorType editor;
    vcl::Word key;
    Qt::KeyboardModifiers mods;
    const char* verdict;
    const char* cell;  // (1, 2) afterwards
    Integer row;
    bool open;
    std::vector<std::string> events;
  };
  const std::vector<Case> cases = {
      {"enter", edComboEdit, vcl::VK_RETURN, Qt::NoModifier, "", "high", 3, false, {"validate 1,2 high", "editing done"}},
      {"enter refused", edComboEdit, vcl::VK_RETURN, Qt::NoModifier, "refuse", "medium", 2, true, {"validate 1,2 high"}},
      {"escape", edComboEdit, vcl::VK_ESCAPE, Qt::NoModifier, "", "medium", 2, false, {"editing done"}},
      {"up", edComboEdit, vcl::VK_UP, Qt::NoModifier, "", "high", 1, false, {"validate 1,2 high", "editing done"}},
      {"down", edComboEdit, vcl::VK_DOWN, Qt::NoModifier, "", "high", 3, false, {"validate 1,2 high", "editing done"}},
      // End only moves the caret in an editable combo.
      {"end stays", edComboEdit, vcl::VK_END, Qt::NoModifier, "", "medium", 2, true, {}},
      // Alt+Down opens the list instead of leaving.
      {"alt down stays", edComboEdit, vcl::VK_DOWN, Qt::AltModifier, "", "medium", 2, true, {}},
      {"list enter", edComboList, vcl::VK_RETURN, Qt::NoModifier, "", "high", 3, false, {"validate 1,2 high", "editing done"}},
      // In a list, Right leaves towards the next column, the choice kept.
      {"list right", edComboList, vcl::VK_RIGHT, Qt::NoModifier, "", "high", 2, false,
       {"validate 1,2 high", "editing done"}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    g.grid->SetCells(1, 2, "medium");
    g.verdict = k.verdict;
    g.Edit(2, k.editor);
    g.combo->SetItemIndex(2);
    if (k.editor == edComboEdit) g.combo->SetText("high");
    g.events.clear();
    g.Key(k.key, k.mods);
    EXPECT_EQ(g.grid->Cells(1, 2), k.cell);
    EXPECT_EQ(g.grid->Row(), k.row);
    EXPECT_EQ(g.grid->ActiveEditorControl() == g.combo, k.open);
    EXPECT_EQ(g.events, k.events);
    if (std::string(k.name) == "enter refused") {
      // The refused value stays shown, all of it selected.
      EXPECT_EQ(g.combo->Text(), "high");
      Integer start = 0, length = 0;
      vcl::GetComboEditSel(g.combo, start, length);
      EXPECT_EQ(start, 0);
      EXPECT_EQ(length, 4);
    }
    if (std::string(k.name) == "list right") EXPECT_EQ(g.grid->Col(), 2);
    if (g.grid->ActiveEditorControl() == g.combo) {
      g.verdict.clear();
      g.Key(vcl::VK_ESCAPE);
    }
    g.grid->SetCol(1);
  }
  // With AdvanceAutoEdit the editor opens again on the cell Enter moved to.
  g.grid->Navigation()->AdvanceAutoEdit = true;
  g.Edit(2);
  g.combo->SetText("low");
  g.Key(vcl::VK_RETURN);
  EXPECT_EQ(g.grid->Cells(1, 2), "low");
  EXPECT_EQ(g.grid->Row(), 3);
  EXPECT_EQ(g.grid->ActiveEditorControl(), g.combo);
  EXPECT_EQ(g.combo->Text(), "medium");
  g.Key(vcl::VK_ESCAPE);
}

TEST(GridComboEditor, WheelHistoryAndDropWidth) {
  TComboGrid g;
  g.Edit(1, edComboList);
  g.combo->SetItemIndex(2);
  // Towards the user on the last item: nothing changes.
  g.combo->Perform(vcl::WM_MOUSEWHEEL, static_cast<vcl::WPARAM>(static_cast<uint32_t>(-120) << 16), 0);
  EXPECT_EQ(g.combo->ItemIndex(), 2);
  g.combo->Perform(vcl::WM_MOUSEWHEEL, static_cast<vcl::WPARAM>(120u << 16), 0);
  EXPECT_EQ(g.combo->ItemIndex(), 1);
  EXPECT_EQ(g.events.back(), "combo 1,1 1 medium");
  g.combo->SetItemIndex(0);
  g.events.clear();
  g.combo->Perform(vcl::WM_MOUSEWHEEL, static_cast<vcl::WPARAM>(120u << 16), 0);
  EXPECT_EQ(g.combo->ItemIndex(), 0);
  g.Key(vcl::VK_ESCAPE);

  // The lookup history keeps a new text once.
  g.grid->LookupHistory = true;
  g.Edit(1);
  g.combo->SetText("extreme");
  g.grid->SetFocus();
  vcl::Application->ProcessMessages();
  g.combo->Perform(vcl::CM_EXIT, 0, 0);
  const Integer count = g.combo->Items()->Count();
  EXPECT_GE(g.combo->Items()->IndexOf("extreme"), 0);
  g.combo->Perform(vcl::CM_EXIT, 0, 0);
  EXPECT_EQ(g.combo->Items()->Count(), count);

  // The dropped list: 8 wider than a wide item of a short list.
  g.items = {"a", std::string(60, 'W')};
  g.Edit(2);
  g.combo->SizeDropDownToItems();
  g.grid->Canvas()->Font()->Assign(g.grid->Font());
  const Integer wide = g.grid->Canvas()->TextWidth(std::string(60, 'W'));
  EXPECT_EQ(g.combo->Perform(vcl::CB_GETDROPPEDWIDTH, 0, 0), wide + 8);
  // More items than DropDownCount: 25 wider.
  g.combo->SetDropDownCount(1);
  g.combo->SizeDropDownToItems();
  EXPECT_EQ(g.combo->Perform(vcl::CB_GETDROPPEDWIDTH, 0, 0), wide + 25);
  g.Key(vcl::VK_ESCAPE);
}

TEST(GridComboEditor, BelongsToAGrid) {
  vcl::TForm* form = new vcl::TForm(vcl::Application, 0);
  EXPECT_THROW(TGridCombo combo(form), EInvalidCast);
  vcl::Free(form);
}
