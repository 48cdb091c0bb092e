#pragma once
// The two small components a grid links to: the change records it keeps
// for its owner (TLumGridUndoRedo, through the grid's UndoRedo) and the
// base of a cell checker (TVadOdizadEzevCheck, through CellChecker).
#include <functional>

#include "grid/model/GridUndo.h"
#include "vcl/Components.h"

namespace grid {

class TBaseGrid;

using TLumGridUndoRedoEvent = std::function<void(vcl::TObject* Sender, TBaseGrid* Grid, Integer Col, Integer Row,
                                                 const AnsiString& OrigValue, const AnsiString& NewValue)>;

// Records every change the linked grid reports; it never replays them:
// undoing and redoing are the program's, which may use OnUndo and OnRedo.
class TLumGridUndoRedo : public vcl::TComponent, public TUndoRedoRecords {
 public:
  explicit TLumGridUndoRedo(vcl::TComponent* owner) : vcl::TComponent(owner) {}
  TBaseGrid* Grid() const { return grid_; }
  // Set by the grid's UndoRedo.
  void SetGrid(TBaseGrid* grid) { grid_ = grid; }

  TLumGridUndoRedoEvent OnUndo;
  TLumGridUndoRedoEvent OnRedo;

 protected:
  void Notification(vcl::TComponent* component, vcl::TOperation operation) override;

 private:
  TBaseGrid* grid_ = nullptr;
};

// A checker the grid passes edited values through: AutoCorrect before
// OnCellValidate, AutoMarkError after it. This base changes nothing.
class TVadOdizadEzevCheck : public vcl::TComponent, public TCellCheck {
 public:
  explicit TVadOdizadEzevCheck(vcl::TComponent* owner) : vcl::TComponent(owner) {}
};

}  // namespace grid
