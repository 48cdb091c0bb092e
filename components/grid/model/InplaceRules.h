#pragma once
// The rules of the grid's in-place text editor without a window: which
// typed characters each editor type takes, how pasted text is merged and
// filtered, and completion from a lookup list.
#include <bitset>
#include <string_view>
#include <vector>

#include "grid/model/GridTypes.h"

namespace grid {

enum class TCharVerdict {
  // The character goes to the edit as it is (or as Char says).
  cvPass,
  // Refused with a beep; the text stays.
  cvRefuse,
  // Dropped without a sound.
  cvIgnore,
};

struct TCharRuleInput {
  TEditorType Editor = edNormal;
  // The typed character (a byte of the text's encoding; 8, 9, 13 and 27
  // for Backspace, Tab, Enter and Escape).
  unsigned char Char = 0;
  AnsiString Text;
  Integer SelStart = 0;
  Integer SelLength = 0;
  bool Ctrl = false;
  char DecimalSeparator = '.';
  char ThousandSeparator = ',';
  // 0 or less: no limit.
  Integer LengthLimit = 0;
  // Enter makes a line break in the plain text types.
  bool LineFeedOnEnter = false;
  AnsiString ValidChars;
  // Used when ValidChars is empty.
  std::bitset<256> ValidSet;
};

struct TCharRule {
  TCharVerdict Verdict = TCharVerdict::cvPass;
  // The character to insert (case-changed for the case types).
  unsigned char Char = 0;
  // edMixedCase: after insertion the whole text becomes MixedCase of it
  // and the caret moves one past its old place.
  bool MixedCaseAfter = false;
  // Enter handed to the edit's own line-break handling.
  bool LineBreak = false;
};

TCharRule ApplyCharRule(const TCharRuleInput& in);

struct TPasteInput {
  TEditorType Editor = edNormal;
  AnsiString Text;
  Integer SelStart = 0;
  Integer SelLength = 0;
  AnsiString Pasted;
  Integer LengthLimit = 0;
  AnsiString ValidChars;
};

struct TPasteResult {
  // The limits let the paste through (the owner's events have already
  // allowed it); when a type's check refuses the merged text, Text is the
  // text unchanged.
  bool Merged = false;
  AnsiString Text;
  // The pasted text selected afterwards when it replaced a selection,
  // else the caret after it (SelLength 0).
  Integer SelStart = 0;
  Integer SelLength = 0;
};

// The merge and the type's check of a paste. edPositiveNumeric takes only
// digits, as its typing does.
TPasteResult ApplyPaste(const TPasteInput& in);

struct TLookupCompletion {
  bool Completed = false;
  AnsiString Text;
  Integer SelStart = 0;
  Integer SelLength = 0;
};

// The typed text up to the caret completed by the first item beginning
// with it (case ignored unless caseSensitive); the completed part selected.
TLookupCompletion CompleteFromLookup(std::string_view text, Integer caret, const std::vector<AnsiString>& items,
                                     bool caseSensitive);

}  // namespace grid
