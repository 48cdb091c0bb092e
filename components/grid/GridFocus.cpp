// The grid getting and losing the focus, and its enter and exit steps.
#include "grid/GridComponent.h"
#include "grid/model/GridEditing.h"
#include "vcl/Messages.h"

namespace grid {

void TVadOdizadEzev::FocusGained(vcl::TMessage& message) {
  TBaseGrid::Dispatch(message);
  if (IsCheckBoxCell(Col(), Row())) return;
  const bool inView = Col() >= LeftCol() && Col() < LeftCol() + VisibleColCount() && Row() >= TopRow() &&
                      Row() < TopRow() + VisibleRowCount();
  // The owner's editor-type handler sets its editors up as it answers, so
  // it is asked only when the answer matters.
  const auto textEditor = [this] {
    TEditorType editor = DefaultEditor;
    GetCellEditorType(RealColIndex(Col()), Row(), editor);
    return EditorRoute(editor).Text;
  };
  const vcl::TGridState state = GridState();
  const bool moving = state == vcl::gsRowMoving || state == vcl::gsColMoving;
  if (vcl::TInplaceEdit* inplace = InplaceEditor()) {
    // Coming back from the grid's own editor needs no reopening.
    const bool fromEditor = inplace->HandleAllocated() && message.WParam != 0 &&
                            static_cast<vcl::HWND>(message.WParam) == inplace->Handle();
    if (!fromEditor && !moving && navigation_->AlwaysEdit && textEditor()) {
      bool canEdit = true;
      CheckCanEdit(Col(), Row(), canEdit);
      if (inView && canEdit) {
        ShowCellEditor();
        message.Result = 0;
        return;
      }
    }
  } else if (navigation_->AlwaysEdit) {
    bool canEdit = true;
    CheckCanEdit(Col(), Row(), canEdit);
    if (inView && canEdit && !mouseActions_->DirectEdit && !controlLook_->DropDownAlwaysVisible() &&
        HasComboBox(Col(), Row()))
      ShowCellEditor();
  }
  // A grid of fixed cells only shows no current cell.
  if ((RowCount() == 1 && FixedRowAlways()) || (ColCount() == 1 && FixedColAlways())) ParkSelection();
}

void TVadOdizadEzev::FocusLost(vcl::TMessage& message) {
  // The editor taking the focus while its value is written back is no
  // leaving of the grid.
  if (committing_) {
    message.Result = 1;
    return;
  }
  TBaseGrid::Dispatch(message);
  // A merged current cell draws its focus over all its cells.
  if (Model().IsMergedCell(Col(), Row())) {
    const TCellCoord base = Model().BaseCell(Col(), Row());
    RepaintGridRect(WidenToMerges({base.X, base.Y, base.X, base.Y}));
  }
  // A form button held down in a cell comes back up.
  if (pressedHtmlButton_.X >= 0) {
    const TCellCoord pressed = pressedHtmlButton_;
    pressedHtmlButton_ = {-1, -1};
    InvalidateCell(DisplColIndex(pressed.X), pressed.Y);
  }
}

void TVadOdizadEzev::DoEnter() {
  // The focus coming back from the grid's own editor is no entering.
  if (editorHandover_ || committing_) return;
  // An edit in progress keeps the text it started from, or its
  // validation would see no change.
  const auto startEdit = [this] {
    if (!editorActive_) StartEditCell(Col(), Row());
  };
  try {
    TBaseGrid::DoEnter();
    if (Options().Contains(vcl::goEditing) || mouseActions_->RangeSelectAndEdit) SelectCell(Col(), Row());
  } catch (...) {
    startEdit();
    throw;
  }
  startEdit();
}

void TVadOdizadEzev::DoExit() {
  if (committing_) return;
  TBaseGrid::DoExit();
}

}  // namespace grid
