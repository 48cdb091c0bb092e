// The edits only the body carries out, as they need the whole document:
// Enter's split of a block at a marker, deleting an image with its
// custom-tag wrappers, and the class or alignment of the caret's block.
#include "htmledit/doc/psLookupLists.h"
#include "htmledit/view/psBodyNode.h"

namespace htmlview {

using htmldoc::TpsChunkElement;
using htmldoc::TpsDataChunk;

namespace {

// Releases a focus when the scope ends, also on failure.
class BodyFocusScope {
 public:
  BodyFocusScope(TpsDataChunk& aChunk, bool aFocused) : FChunk(aChunk), FFocused(aFocused) {}
  ~BodyFocusScope() {
    if (FFocused) FChunk.Unfocus();
  }
  BodyFocusScope(const BodyFocusScope&) = delete;
  BodyFocusScope& operator=(const BodyFocusScope&) = delete;

 private:
  TpsDataChunk& FChunk;
  bool FFocused;
};

}  // namespace

bool TpsBodyNode::HandleBodyEdit(TpsMessage& m) {
  switch (m.Id) {
    case psmSplitBlockAtMarker:
    case psmDeleteImage:
    case psmSetBlockClass:
    case psmSetBlockAlignment:
    case psmSetMarkedBlockAlignment:
      break;
    default:
      return false;
  }
  RequireContentOut();
  TpsDataChunk& chunk = *EditChunk;
  switch (m.Id) {
    case psmSplitBlockAtMarker:
      SplitForEnter(m);
      break;
    case psmDeleteImage:
      DeleteImageElement(m.ElementId);
      break;
    case psmSetBlockClass:
      SetCursorBlockClass(m.Text);
      break;
    case psmSetBlockAlignment: {
      BodyFocusScope focus(chunk, chunk.FocusCursorBlock());
      SetBlockAlignment(m.Alignment);
      break;
    }
    case psmSetMarkedBlockAlignment: {
      BodyFocusScope focus(chunk, chunk.FocusMarkedBlock(m.GetParam(1)));
      SetBlockAlignment(m.Alignment);
      break;
    }
    default:
      break;
  }
  m.MarkHandled(this);
  return true;
}

void TpsBodyNode::SplitBlockAtMarker(Integer aMarker, bool aRemoveMarker) {
  TpsDataChunk& chunk = *EditChunk;
  {
    BodyFocusScope focus(chunk, chunk.FocusMarkedBlock(aMarker));
    TpsChunkElement* open = chunk.First();
    TpsChunkElement* close = chunk.Last();
    chunk.SplitInlineTagsAtMarker(aMarker);
    TpsChunkElement* marker = chunk.FindMarker(aMarker);
    chunk.InsertElement(htmldoc::NewTagElement(TpsDataChunk::CopyTag(close)), marker, false);
    chunk.InsertElement(htmldoc::NewTagElement(TpsDataChunk::CopyTag(open)), marker, true);
  }
  if (aRemoveMarker) chunk.RemoveMarker(aMarker);
}

void TpsBodyNode::SetCursorBlockClass(const AnsiString& aClass) {
  TpsDataChunk& chunk = *EditChunk;
  BodyFocusScope focus(chunk, chunk.FocusCursorBlock());
  TpsChunkElement* open = chunk.First();
  PS_ASSERT(TpsDataChunk::IsBlockOpenTag(open));
  AnsiString name = aClass;
  if (name.size() >= 2 && name[0] == '.') name.erase(0, 1);
  if (name.empty()) {
    open->Tag->RemoveClass();
  } else {
    htmldoc::TpsStyleSheet* sheet = Editor ? Editor->StyleSheet() : nullptr;
    open->Tag->SetClassStyleId(sheet ? sheet->IndexOfStyle("." + name) : -1);
  }
}

void TpsBodyNode::SplitForEnter(const TpsMessage& m) {
  TpsDataChunk& chunk = *EditChunk;
  const Integer markerId = m.GetParam(1);
  TpsChunkElement* marker = chunk.FindMarker(markerId);
  if (!marker) throw htmldoc::EpsHtmlEditException("TpsBodyNode: split marker not found");
  bool textBefore = false, textAfter = false;
  {
    BodyFocusScope focus(chunk, chunk.FocusMarkedBlock(markerId));
    textBefore = chunk.GetAdjacentCharacter(marker, true, true) != nullptr;
    textAfter = chunk.GetAdjacentCharacter(marker, false, true) != nullptr;
  }
  const bool allowEmpty = !Editor || Editor->AllowMultipleEmptyBlocks();
  bool split;
  if (textBefore) {
    bool sameLevel = true;
    TpsChunkElement* next = chunk.FindNextBlock(marker, sameLevel);
    split = textAfter || allowEmpty || !next || !sameLevel || chunk.BlockHasContent(next);
    if (!split) chunk.MoveCursor(next, true);
  } else {
    TpsChunkElement* previous = chunk.FindPreviousBlock(marker);
    split = allowEmpty || !previous || chunk.BlockHasContent(previous);
  }
  if (split) {
    const bool classes = m.Result;
    if (classes && !m.FirstBlockClass.empty()) SetCursorBlockClass(m.FirstBlockClass);
    SplitBlockAtMarker(markerId, false);
    if (classes && !m.SecondBlockClass.empty()) SetCursorBlockClass(m.SecondBlockClass);
  }
  if (!m.Option) chunk.RemoveMarker(markerId);
}

void TpsBodyNode::DeleteImageElement(uint32_t aElementId) {
  TpsDataChunk& chunk = *EditChunk;
  TpsChunkElement* image = chunk.FindElementById(aElementId);
  if (!image) return;
  TpsChunkElement* before = image->Prev;
  TpsChunkElement* after = image->Next;
  if (TpsDataChunk::IsCustomOpenTag(before)) chunk.RemoveElement(before, true);
  if (TpsDataChunk::IsCustomCloseTag(after)) chunk.RemoveElement(after, true);
  chunk.RemoveElement(image, true);
}

}  // namespace htmlview
