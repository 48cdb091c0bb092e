#pragma once

// The keys the list-style pickers (the colour picker's list and the image
// picker) answer on their item selector after the drop-down base has seen
// them. One routine, so the two pickers cannot drift apart in how they
// page, step by rows of the grid of items, or search by typed prefix.

#include <algorithm>

#include "vcl/Messages.h"
#include "vcl/WinApi.h"

namespace dropdown {

// Whether a key's code stands for the character typed (space, digits and
// letters), so a list picker searches with it.
inline bool IsSearchKey(vcl::Word key) {
  return key == 0x20 || (key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z');
}


// aItemCount is the picker's own item count; the selector's list is
// rebuilt from it when the two differ before paging.
template <class Picker>
void ListPickerKey(Picker& p, vcl::Word key, bool handledBefore, vcl::Integer aItemCount) {
  auto* s = p.listSelector_;
  const bool open = p.DroppedDown();
  switch (key) {
    case vcl::VK_RETURN:
      if (!handledBefore && p.OnSelect) p.OnSelect(&p);
      return;
    case vcl::VK_PRIOR:
    case vcl::VK_NEXT: {
      if (s->Items()->Count() != aItemCount) p.UpdateListSelector();
      const vcl::Integer page = s->VisibleItemCount();
      if (page < 1) return;
      const vcl::Integer i = key == vcl::VK_PRIOR ? std::max<vcl::Integer>(s->ItemIndex() - page, 0)
                                                  : std::min<vcl::Integer>(s->ItemIndex() + page, aItemCount - 1);
      if (i >= 0 && i < s->Items()->Count()) p.SelectInList(i);
      return;
    }
    case vcl::VK_END:
      if (open)
        p.Keyboard([&] { s->SelectLast(); });
      else
        p.SelectLast();
      return;
    case vcl::VK_HOME:
      if (open)
        p.Keyboard([&] { s->SelectFirst(); });
      else
        p.SelectFirst();
      return;
    case vcl::VK_LEFT:
      if (open && !p.EditorEnabled()) p.Keyboard([&] { s->SelectPrevious(); });
      return;
    case vcl::VK_RIGHT:
      if (open && !p.EditorEnabled()) p.Keyboard([&] { s->SelectNext(); });
      return;
    case vcl::VK_UP:
    case vcl::VK_DOWN: {
      if (!open) {
        if (key == vcl::VK_UP)
          p.SelectPrevious();
        else
          p.SelectNext();
        return;
      }
      const vcl::Integer i =
          s->ItemIndex() < 0 ? 0 : s->ItemIndex() + (key == vcl::VK_UP ? -p.columns_ : p.columns_);
      if (i >= 0 && i < s->Items()->Count()) p.SelectInList(i);
      return;
    }
    default:
      // Only keys that stand for a character search: Shift held for a
      // capital, or any other key without a character, would otherwise
      // put its code into the text and spoil the search.
      if (vcl::GetKeyState(vcl::VK_CONTROL) < 0 || !IsSearchKey(key)) return;
      p.searchText_ += static_cast<char>(key);
      p.Keyboard([&] { s->SelectByPrefix(p.searchText_); });
      if (p.searchTimer_) {
        // Restarted: the search resets after a pause of the interval.
        p.searchTimer_->SetEnabled(false);
        p.searchTimer_->SetEnabled(true);
      }
      return;
  }
}

}  // namespace dropdown
