#include "grid/GridCombo.h"

#include <vector>

#include "grid/GridComponent.h"
#include "grid/model/InplaceRules.h"
#include "rtl/CodePages.h"
#include "vcl/ComboEditSel.h"
#include "vcl/Messages.h"
#include "vcl/WinApi.h"

namespace grid {

TGridCombo::TGridCombo(vcl::TComponent* owner) : dropdown::TVOEComboBox(owner) {
  grid_ = dynamic_cast<TVadOdizadEzev*>(owner);
  if (grid_ == nullptr) throw EInvalidCast("Invalid class typecast");
  SetButtonWidth(16);
}

bool TGridCombo::ListMode() const { return Style() == vcl::csDropDownList || DroppedDown(); }

void TGridCombo::ItemChanged() {
  const Integer col = grid_->RealColIndex(grid_->Col()), row = grid_->Row();
  const Integer index = ItemIndex();
  if (grid_->OnComboChange) grid_->OnComboChange(grid_, col, row, index, Text());
  if (grid_->OnComboObjectChange)
    grid_->OnComboObjectChange(grid_, col, row, index, Text(),
                               index >= 0 && index < Items()->Count() ? Items()->Objects(index) : nullptr);
}

bool TGridCombo::Commit(bool selectAllOnRefusal) {
  grid_->SetCurrentCellText(Text());
  if (!grid_->CellValidate(Text())) {
    const AnsiString validated = grid_->Validation().EndText();
    SetText(validated);
    const Integer length = static_cast<Integer>(rtl::Utf8ToWide(validated).size());
    if (selectAllOnRefusal) {
      if (Style() != vcl::csDropDownList) vcl::SetComboEditSel(this, 0, length);
    } else {
      vcl::SetComboEditSel(this, length, 0);
    }
    Invalidate();
    return false;
  }
  if (Style() == vcl::csDropDownList)
    SetItemIndex(Items()->IndexOf(grid_->GetCurrentCellRawText()));
  else
    SetText(grid_->GetCurrentCellRawText());
  return true;
}

void TGridCombo::KeyDown(vcl::Word& key, vcl::TShiftState shift) {
  const bool list = ListMode();
  bool leaves = list ? key == vcl::VK_TAB || key == vcl::VK_RETURN || key == vcl::VK_ESCAPE ||
                           key == vcl::VK_LEFT || key == vcl::VK_RIGHT
                     : key == vcl::VK_TAB || key == vcl::VK_RETURN || key == vcl::VK_ESCAPE ||
                           key == vcl::VK_PRIOR || key == vcl::VK_NEXT || key == vcl::VK_END || key == vcl::VK_UP ||
                           key == vcl::VK_DOWN;
  // Alt+Down opens the list.
  if (key == vcl::VK_DOWN && shift.Contains(vcl::ssAlt)) leaves = false;
  autoComplete_ = key != vcl::VK_BACK && key != vcl::VK_DELETE;
  if (!leaves) {
    dropdown::TVOEComboBox::KeyDown(key, shift);
    return;
  }
  if (key == vcl::VK_ESCAPE) {
    // Nothing was written: the cell still holds its text.
    const AnsiString kept = grid_->GetCurrentCellRawText();
    SetText(kept);
    const Integer index = Items()->IndexOf(kept);
    if (index >= 0) SetItemIndex(index);
    grid_->HideCellEditor();
    if (grid_->CanFocus()) grid_->SetFocus();
    key = 0;
    return;
  }
  if (key == vcl::VK_RETURN || key == vcl::VK_UP || key == vcl::VK_DOWN) {
    if (!Commit(true)) {
      key = 0;
      return;
    }
  }
  if (key == vcl::VK_TAB) {
    if (grid_->TabNeedsValidation() && !Commit(false)) {
      key = 0;
      return;
    }
    if (grid_->Options().Contains(vcl::goTabs)) {
      const bool backward = vcl::GetKeyState(vcl::VK_SHIFT) < 0;
      grid_->HideCellEditor();
      if (grid_->CanFocus()) grid_->SetFocus();
      grid_->TabAdvance(backward);
      key = 0;
      return;
    }
    if (grid_->HandleAllocated()) vcl::PostMessage(grid_->Handle(), vcl::WM_KEYDOWN, vcl::VK_TAB, 0);
  }
  if (list) {
    grid_->HideCellEditor();
    if (key == vcl::VK_PRIOR || key == vcl::VK_NEXT || key == vcl::VK_UP || key == vcl::VK_DOWN) key = 0;
  } else if (key == vcl::VK_END) {
    // End moves the caret; it never leaves an editable combo.
    dropdown::TVOEComboBox::KeyDown(key, shift);
    return;
  }
  grid_->EditorLeaveKey(key, shift);
  if (grid_->Navigation()->AdvanceOnEnter && grid_->Navigation()->AdvanceAutoEdit) grid_->ShowCellEditor();
  key = 0;
  dropdown::TVOEComboBox::KeyDown(key, shift);
}

void TGridCombo::KeyUp(vcl::Word& key, vcl::TShiftState shift) {
  if (key != vcl::VK_RETURN) dropdown::TVOEComboBox::KeyUp(key, shift);
  DoLookup();
}

void TGridCombo::DoLookup() {
  if (!autoComplete_ || !grid_->Lookup) return;
  Integer start = 0, length = 0;
  if (!vcl::GetComboEditSel(this, start, length)) return;
  const AnsiString text = Text();
  const WideString wide = rtl::Utf8ToWide(text);
  const Integer caret = static_cast<Integer>(rtl::WideToUtf8(wide.substr(0, std::min<size_t>(wide.size(), start))).size());
  auto complete = [&](const AnsiString& item) {
    return CompleteFromLookup(text, caret, {item}, grid_->LookupCaseSensitive);
  };
  auto apply = [&](const TLookupCompletion& c) {
    SetText(c.Text);
    const WideString shown = rtl::Utf8ToWide(c.Text);
    const Integer typed = static_cast<Integer>(rtl::Utf8ToWide(c.Text.substr(0, c.SelStart)).size());
    vcl::SetComboEditSel(this, typed, static_cast<Integer>(shown.size()) - typed);
  };
  for (Integer i = 0; i < Items()->Count(); ++i) {
    const TLookupCompletion c = complete(Items()->Strings(i));
    if (!c.Completed) continue;
    SetItemIndex(i);
    apply(c);
    return;
  }
  for (Integer i = 0; i < grid_->LookupItems()->Count(); ++i) {
    const TLookupCompletion c = complete(grid_->LookupItems()->Strings(i));
    if (!c.Completed) continue;
    apply(c);
    return;
  }
}

void TGridCombo::SizeDropDownToItems() {
  vcl::TCanvas* canvas = grid_->Canvas();
  Integer width = Width();
  const bool scrolls = Items()->Count() > DropDownCount();
  for (Integer i = 0; i < Items()->Count(); ++i) {
    const Integer w = canvas->TextWidth(Items()->Strings(i));
    if (scrolls) {
      if (w > width - 25) width = w + 25;
    } else if (w > width - 5) {
      width = w + 8;
    }
  }
  Perform(vcl::CB_SETDROPPEDWIDTH, static_cast<vcl::WPARAM>(width), 0);
}

void TGridCombo::KeyPress(vcl::WideChar& key) {
  const Integer before = ItemIndex();
  if (grid_->OnKeyPress) grid_->OnKeyPress(this, key);
  if (key == 27) key = 0;
  if (key == '\r' && OnReturnKey) OnReturnKey(this);
  if (key == '\r' || key == '\t') key = 0;
  dropdown::TVOEComboBox::KeyPress(key);
  if (ItemIndex() != before) ItemChanged();
}

void TGridCombo::Dispatch(vcl::TMessage& m) {
  if (m.Msg == vcl::WM_MOUSEWHEEL) {
    // A turn towards the user goes to the next item, away to the previous.
    const bool towards = static_cast<int32_t>(m.WParam) < 0;
    const Integer index = ItemIndex();
    if (towards) {
      if (index + 1 < Items()->Count()) SetItemIndex(index + 1);
    } else if (index > 0) {
      SetItemIndex(index - 1);
    }
    if (ItemIndex() >= 0) {
      const AnsiString item = Items()->Strings(ItemIndex());
      if (grid_->OnEditChange) grid_->OnEditChange(grid_, grid_->Col(), grid_->Row(), item);
    }
    ItemChanged();
    m.Result = 0;
    return;
  }
  if (m.Msg == vcl::CM_WANTSPECIALKEY) {
    dropdown::TVOEComboBox::Dispatch(m);
    if (m.WParam == vcl::VK_RETURN || m.WParam == vcl::VK_ESCAPE ||
        (m.WParam == vcl::VK_TAB && grid_->TabNeedsValidation()))
      m.Result = 1;
    return;
  }
  dropdown::TVOEComboBox::Dispatch(m);
}

void TGridCombo::DoExit() {
  if (grid_->LookupHistory && !Text().empty() && Items()->IndexOf(Text()) < 0) Items()->Add(Text());
  grid_->HideCellEditor();
  dropdown::TVOEComboBox::DoExit();
}

void TGridCombo::Change() {
  dropdown::TVOEComboBox::Change();
  if (grid_ != nullptr && grid_->OnEditChange) grid_->OnEditChange(grid_, grid_->Col(), grid_->Row(), Text());
}

}  // namespace grid
