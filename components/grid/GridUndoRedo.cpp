#include "grid/GridUndoRedo.h"

#include "grid/BaseGrid.h"

namespace grid {

void TLumGridUndoRedo::Notification(vcl::TComponent* component, vcl::TOperation operation) {
  vcl::TComponent::Notification(component, operation);
  if (operation == vcl::TOperation::opRemove && component != nullptr && component == grid_) grid_ = nullptr;
}

}  // namespace grid
