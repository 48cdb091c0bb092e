#pragma once
// The editor's key command table: shortcuts (virtual key in the low byte,
// 0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt) bound to numeric command ids.
// The component carries a few ids out itself; the rest go to the focused
// view node as editor messages.
#include <cstdint>
#include <memory>
#include <vector>

#include "rtl/Types.h"

namespace htmledit {

using TKeyShortCut = uint16_t;
constexpr TKeyShortCut kscShift = 0x2000;
constexpr TKeyShortCut kscCtrl = 0x4000;
constexpr TKeyShortCut kscAlt = 0x8000;

struct TpsKeyCmdTableItem {
  TKeyShortCut ShortCut = 0;
  rtl::Integer Command = 0;
  // Matches the key with or without Shift (navigation keys that extend
  // the selection with Shift).
  bool IgnoreShift = false;
};

class TpsKeyCmdTable {
 public:
  void Add(TKeyShortCut aShortCut, rtl::Integer aCommand, bool aIgnoreShift);
  // Every binding of aCommand goes.
  void RemoveCommand(rtl::Integer aCommand);
  // -1 when nothing is bound. A binding that ignores Shift and matches
  // wins at once over every exact one; among exact bindings the last
  // added wins.
  rtl::Integer Find(TKeyShortCut aShortCut) const;
  rtl::Integer Count() const { return static_cast<rtl::Integer>(FItems.size()); }
  const TpsKeyCmdTableItem& Item(rtl::Integer aIndex) const { return *FItems[static_cast<size_t>(aIndex)]; }
  void Clear() { FItems.clear(); }

 private:
  std::vector<std::unique_ptr<TpsKeyCmdTableItem>> FItems;
};

// The editor's own bindings, in their order: the editing and navigation
// keys, the selection keys, the clipboard, the three inline toggles, undo
// and redo.
void InitKeyCommands(TpsKeyCmdTable& aTable);

// The ids the component carries out itself.
constexpr rtl::Integer kcCopy = 3000;
constexpr rtl::Integer kcCut = 3001;
constexpr rtl::Integer kcPaste = 3002;
constexpr rtl::Integer kcBold = 3500;
constexpr rtl::Integer kcUnderline = 3501;
constexpr rtl::Integer kcItalic = 3502;
constexpr rtl::Integer kcUndo = 3520;
constexpr rtl::Integer kcRedo = 3530;

}  // namespace htmledit
