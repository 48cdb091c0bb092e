// The drop-down base driven the way the grid's drop-down cell editors drive
// it: a stand-in adapter over a stand-in grid loads the cell with
// SetTextDirect, opens the pop-up right after showing, lets DroppedDown
// decide whether an arrow or Enter belongs to the pop-up, falls back to the
// base's KeyDown and KeyPress, and asks CM_WANTSPECIALKEY with and without
// the form's key preview. The adapter's steps are the grid's; what is
// checked is what the base answers at each of them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DropdownTestSupport.h"
#include "dropdown/LumDropDown.h"
#include "vcl/ExtCtrls.h"
#include "vcl/WinApi.h"

namespace dropdown {
namespace {

using namespace ddtest;

// What the grid keeps for one edit: the cell, the validation and the calls
// the adapter makes on it.
struct StandInGrid {
  std::string cell = "apple";
  std::string validated;
  bool refuse = false;
  std::vector<std::string> calls;
};

class StandInAdapter : public TLumCustomDropDown {
 public:
  StandInAdapter(TComponent* owner, StandInGrid* grid) : TLumCustomDropDown(owner), grid_(grid) {}

  // The drop-down adapters' key protocol.
  void KeyDown(Word& key, TShiftState shift) override {
    const bool alt = shift.Contains(ssAlt);
    const bool leaves = (key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE || key == VK_PRIOR ||
                         key == VK_NEXT || key == VK_END || key == VK_UP || key == VK_DOWN) &&
                        !(key == VK_DOWN && alt);
    if (!leaves) {
      TLumCustomDropDown::KeyDown(key, shift);
      return;
    }
    if (key == VK_ESCAPE) {
      SetTextDirect(grid_->cell);
      grid_->calls.push_back("hide");
      return;
    }
    if (key == VK_RETURN || key == VK_UP || key == VK_DOWN) {
      grid_->cell = GetText();
      grid_->calls.push_back("validate " + GetText());
      if (grid_->refuse) {
        SetTextDirect(grid_->validated);
        SelectAll();
        key = 0;
        return;
      }
      SetTextDirect(grid_->cell);
    }
    const bool listMode = DroppedDown();
    if (listMode) {
      grid_->calls.push_back("hide");
      if (key == VK_PRIOR || key == VK_NEXT || key == VK_UP || key == VK_DOWN) key = 0;
    } else if (key == VK_END) {
      TLumCustomDropDown::KeyDown(key, shift);
      return;
    }
    grid_->calls.push_back("leave " + std::to_string(key));
    key = 0;
    TLumCustomDropDown::KeyDown(key, shift);
  }
  void KeyPress(WideChar& key) override {
    grid_->calls.push_back("grid keypress " + std::to_string(key));
    if (key == 27 || key == 13 || key == 9) key = 0;
    TLumCustomDropDown::KeyPress(key);
  }

 private:
  StandInGrid* grid_;
};

struct ContractRig {
  TForm* owner = MakeForm(400, 300);
  TPanel* gridWindow = nullptr;
  StandInGrid grid;
  StandInAdapter* editor = nullptr;
  TPanel* content = nullptr;

  explicit ContractRig(bool keyPreview = false) {
    owner->SetKeyPreview(keyPreview);
    gridWindow = new TPanel(owner);
    gridWindow->SetParent(owner);
    gridWindow->SetBounds(0, 0, 380, 280);
    editor = new StandInAdapter(owner, &grid);
    editor->SetVisible(false);
    editor->SetParent(gridWindow);
    content = new TPanel(owner);
    content->SetBounds(0, 0, 120, 80);
    editor->SetDropDownControl(content);
    editor->DropDownHeader()->SetVisible(false);
    editor->DropDownFooter()->SetVisible(false);
    Pump();
  }
  ~ContractRig() { Free(owner); }

  // The grid's showing of the editor on a cell: loaded without committing,
  // placed, shown, focused, and with DirectComboDrop opened at once.
  void Show(bool directDrop) {
    editor->SetTextDirect(grid.cell);
    editor->SetBounds(40, 40, 150, 22);
    editor->SetVisible(true);
    editor->SetFocus();
    Pump();
    if (directDrop) {
      editor->DropDown();
      Pump();
    }
  }
  void KeyDown(Word key, bool alt = false) {
    TShiftState shift;
    if (alt) shift.Include(ssAlt);
    editor->KeyDown(key, shift);
    Pump();
  }
};

TEST(DropDownGridContract, LoadingTheCellDoesNotCommitAndADirectDropOpensAfterShowing) {
  ContractRig rig;
  rig.editor->SetText("committed");
  rig.Show(true);
  EXPECT_EQ(rig.editor->GetText(), "apple");
  EXPECT_EQ(rig.editor->CommittedText(), "committed");
  EXPECT_TRUE(rig.editor->DroppedDown());
  EXPECT_TRUE(rig.editor->DropDownForm()->Visible());
  // A cancel brings back what SetText last wrote, not the loaded cell.
  rig.editor->HideDropDown(true);
  EXPECT_EQ(rig.editor->GetText(), "committed");
  EXPECT_FALSE(rig.editor->DroppedDown());
}

TEST(DropDownGridContract, DroppedDownDecidesWhetherArrowsAndEnterBelongToThePopup) {
  struct Case {
    const char* name;
    bool open;
    Word key;
    bool alt;
    bool refuse;
    std::vector<std::string> calls;
    std::string text;
    bool openAfter;
  } cases[] = {
      {"Down on a closed editor commits and leaves down", false, VK_DOWN, false, false,
       {"validate pear", "leave 40"}, "pear", false},
      {"Down on an open pop-up ends the edit without moving", true, VK_DOWN, false, false,
       {"validate pear", "hide", "leave 0"}, "pear", true},
      {"Enter on an open pop-up commits and leaves", true, VK_RETURN, false, false,
       {"validate pear", "hide", "leave 13"}, "pear", true},
      {"Escape restores the cell", false, VK_ESCAPE, false, false, {"hide"}, "apple", false},
      {"a refused Enter keeps the editor with the validated value", false, VK_RETURN, false, true,
       {"validate pear"}, "fixed", false},
      {"Alt+Down is the base's: it opens", false, VK_DOWN, true, false, {}, "pear", true},
      {"Alt+Down on an open pop-up closes it", true, VK_DOWN, true, false, {}, "pear", false},
      {"End on a closed editor stays in the field", false, VK_END, false, false, {}, "pear", false},
      {"PageDown on an open pop-up ends the edit", true, VK_NEXT, false, false, {"hide", "leave 0"}, "pear",
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ContractRig rig;
    rig.Show(c.open);
    ASSERT_EQ(rig.editor->DroppedDown(), c.open);
    rig.editor->SetTextDirect("pear");
    rig.grid.refuse = c.refuse;
    rig.grid.validated = "fixed";
    rig.KeyDown(c.key, c.alt);
    EXPECT_EQ(rig.grid.calls, c.calls);
    EXPECT_EQ(rig.editor->GetText(), c.text);
    // The base's KeyDown closes the pop-up only on Alt+Up/Down; the grid
    // hides the editor (and with it the pop-up) itself.
    EXPECT_EQ(rig.editor->DroppedDown(), c.openAfter);
    if (c.refuse) EXPECT_EQ(rig.editor->SelLength(), 5);
  }
}

TEST(DropDownGridContract, KeyPressReachesTheGridAndTheBaseSwallowsEnter) {
  ContractRig rig;
  rig.Show(false);
  rig.editor->SetTextDirect("ab");
  rig.editor->SetSelStart(2);
  for (WideChar k : {WideChar('c'), WideChar(13), WideChar(27), WideChar(9)})
    rig.editor->Perform(WM_CHAR, k, 0);
  EXPECT_EQ(rig.grid.calls, (std::vector<std::string>{"grid keypress 99", "grid keypress 27", "grid keypress 9"}));
  EXPECT_EQ(rig.editor->GetText(), "abc");
}

TEST(DropDownGridContract, TheOpenPopupWantsEscapeOnlyUnderKeyPreview) {
  for (bool preview : {false, true}) {
    SCOPED_TRACE(preview ? "key preview" : "no key preview");
    ContractRig rig(preview);
    rig.Show(true);
    ASSERT_TRUE(rig.editor->DroppedDown());
    EXPECT_EQ(rig.editor->Perform(CM_WANTSPECIALKEY, VK_ESCAPE, 0), preview ? 1 : 0);
    EXPECT_EQ(rig.editor->Perform(CM_WANTSPECIALKEY, VK_TAB, 0), 0);
    rig.editor->HideDropDown(false);
    EXPECT_EQ(rig.editor->Perform(CM_WANTSPECIALKEY, VK_ESCAPE, 0), 0);
  }
}

}  // namespace
}  // namespace dropdown
