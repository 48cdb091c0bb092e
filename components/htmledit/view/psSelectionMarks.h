#pragma once
// What the text selection hands down the view to mark a range: the nodes
// walk their elements in document order (the body its flowing children,
// a block its opening tag, its children and its closing tag, a text line
// its elements) and let the request decide each element's mark. Elements
// inside the covering range are marked exactly when they lie in the range;
// those outside it keep their marks. An empty covering range covers the
// whole document. The walk stops once the covering range's end is passed.
#include "htmledit/doc/psDataChunk.h"
#include "htmledit/view/psEditorHost.h"

namespace htmlview {

class TpsSelectionMarkRequest {
 public:
  TpsSelectionMarkRequest(const TpsSelectionRange& aCover, const TpsSelectionRange& aRange);

  // One element met at aNode; its mark is set when aMarkable (a body's
  // own tags take part in the walk but are never marked). True when the
  // element's mark changed.
  bool Visit(TpsDocumentNode* aNode, htmldoc::TpsChunkElement* aElement, bool aMarkable = true);
  // The covering range's end was passed: the walk ends.
  bool StopReached() const { return FStopped; }
  // The range's first and last element were both met.
  bool RangeFound() const { return FStartMet && FEndMet; }

 private:
  static bool Names(TpsDocumentNode* aHalfNode, uint32_t aHalfId, TpsDocumentNode* aNode, uint32_t aId);

  TpsSelectionRange FCover;
  TpsSelectionRange FRange;
  bool FWholeDocument;
  bool FHasRange;
  bool FInCover;
  bool FInRange = false;
  bool FStopped = false;
  bool FStartMet = false;
  bool FEndMet = false;
};

}  // namespace htmlview
