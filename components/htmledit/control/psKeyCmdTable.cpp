#include "htmledit/control/psKeyCmdTable.h"

#include <algorithm>

namespace htmledit {

using rtl::Integer;

void TpsKeyCmdTable::Add(TKeyShortCut aShortCut, Integer aCommand, bool aIgnoreShift) {
  FItems.push_back(std::make_unique<TpsKeyCmdTableItem>(TpsKeyCmdTableItem{aShortCut, aCommand, aIgnoreShift}));
}

void TpsKeyCmdTable::RemoveCommand(Integer aCommand) {
  std::erase_if(FItems, [aCommand](const std::unique_ptr<TpsKeyCmdTableItem>& i) { return i->Command == aCommand; });
}

Integer TpsKeyCmdTable::Find(TKeyShortCut aShortCut) const {
  Integer result = -1;
  for (const auto& item : FItems) {
    if (item->IgnoreShift) {
      if ((item->ShortCut & ~kscShift) == (aShortCut & ~kscShift)) return item->Command;
    } else if (item->ShortCut == aShortCut) {
      result = item->Command;
    }
  }
  return result;
}

void InitKeyCommands(TpsKeyCmdTable& aTable) {
  // Virtual keys (the desktop's numbers).
  constexpr TKeyShortCut back = 0x08, tab = 0x09, enter = 0x0D, escape = 0x1B, pageUp = 0x21, pageDown = 0x22,
                         end = 0x23, home = 0x24, left = 0x25, up = 0x26, right = 0x27, down = 0x28, insert = 0x2D,
                         del = 0x2E;
  auto key = [](char aLetter) { return static_cast<TKeyShortCut>(aLetter); };
  struct Binding {
    TKeyShortCut ShortCut;
    Integer Command;
    bool IgnoreShift;
  };
  const Binding bindings[] = {
      {enter, 1030, false},
      {back, 1130, false},
      {kscCtrl | back, 1130, false},
      {kscShift | back, 1130, false},
      {del, 1140, false},
      {kscCtrl | del, 1140, false},
      {escape, 1040, false},
      {tab, 1050, false},
      {kscShift | tab, 1060, false},
      {left, 1070, true},
      {right, 1080, true},
      {up, 1090, true},
      {down, 1100, true},
      {home, 1110, true},
      {end, 1120, true},
      {kscCtrl | left, 1160, true},
      {kscCtrl | right, 1170, true},
      {kscCtrl | home, 1180, true},
      {kscCtrl | end, 1190, true},
      {pageUp, 1200, true},
      {pageDown, 1210, true},
      {static_cast<TKeyShortCut>(kscCtrl | key('T')), 10, false},
      {static_cast<TKeyShortCut>(kscCtrl | key('A')), 180, false},
      {static_cast<TKeyShortCut>(kscCtrl | key('L')), 200, false},
      {kscCtrl | kscShift | up, 215, false},
      {kscCtrl | kscShift | down, 216, false},
      {static_cast<TKeyShortCut>(kscCtrl | kscShift | key('B')), 190, false},
      {static_cast<TKeyShortCut>(kscCtrl | key('C')), kcCopy, false},
      {kscCtrl | insert, kcCopy, false},
      {static_cast<TKeyShortCut>(kscCtrl | key('V')), kcPaste, false},
      {kscShift | insert, kcPaste, false},
      {static_cast<TKeyShortCut>(kscCtrl | key('X')), kcCut, false},
      {kscShift | del, kcCut, false},
      {kscShift | enter, 4000, false},
      {static_cast<TKeyShortCut>(kscCtrl | key('B')), kcBold, false},
      {static_cast<TKeyShortCut>(kscCtrl | key('U')), kcUnderline, false},
      {static_cast<TKeyShortCut>(kscCtrl | key('I')), kcItalic, false},
      {static_cast<TKeyShortCut>(kscCtrl | key('Z')), kcUndo, false},
      {kscAlt | back, kcUndo, false},
      {static_cast<TKeyShortCut>(kscCtrl | key('Y')), kcRedo, false},
  };
  for (const Binding& b : bindings) aTable.Add(static_cast<TKeyShortCut>(b.ShortCut), b.Command, b.IgnoreShift);
}

}  // namespace htmledit
