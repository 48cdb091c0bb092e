#pragma once
// The view side of smart tags. The smart-tag threads see view nodes only
// through htmledit::IpsSmartTagNode; here each window of the view stands
// behind one such node, which asks the window by the editor's messages:
// 980 (a block?) straight to the node, 480 (the line's text and hash),
// 500 (clear the marks but one id) and 490 (apply a queued mark) to each
// line. The line nodes answer them; 510 and 520, which read a mark back,
// are sent to a block's lines by the helpers at the end.
//
// What a line does with each message:
// - 480: Data is the analysis block being collected. A line answers with
//   its text in WideText (one unit per character element, a non-breaking
//   space as a blank, leading blanks left out, a trailing blank after a
//   final "br"), the CRC-32 of its character ids in ElementId, and Result.
// - 490: Params 1 and 2 are the first and last character (1-based, leading
//   blanks not counted), Value the mark id, Value2 the handler id,
//   SmartTagHandler the handler and Data the mark's data (a
//   htmledit::TpsSmartTagDataRef, valid during the call). Applied only when
//   no character of the range is marked yet.
// - 500: clears every mark whose id is not Value.
// - 510: appends the characters marked with Value to Text.
// - 520: Data is a TpsSelectionRange grown over the characters marked
//   with Value (start set once, end moved on); Result set by a line that
//   has the mark. A line without the mark after a started range sets
//   Option, which ends the search.
#include <map>
#include <memory>

#include "htmledit/control/psSmartTags.h"
#include "htmledit/view/psEditorHost.h"
#include "htmledit/view/psWindows.h"

namespace htmlview {

class TpsSmartTagView;

// One window as the smart-tag threads see it.
class TpsSmartTagViewNode final : public htmledit::IpsSmartTagNode {
 public:
  TpsSmartTagViewNode(TpsSmartTagView& aView, TpsWindow* aWindow) : FView(aView), FWindow(aWindow) {}
  TpsWindow* Window() const { return FWindow; }

  bool IsSmartTagBlock() override;
  Integer SmartTagChildCount() override;
  htmledit::IpsSmartTagNode* SmartTagChild(Integer aIndex) override;
  void CollectSmartTagText(htmledit::TpsSmartTagAnalysisBlock& aBlock) override;
  void ClearSmartTags(Integer aKeepId) override;
  void SetSmartTag(const htmledit::TpsSmartTagMarkRequest& aMark) override;

 private:
  TpsSmartTagView& FView;
  TpsWindow* FWindow;
};

// The stand-ins of one view's windows, made on first use and kept while
// their windows live. Used under the document lock only (the scheduling
// thread holds the mutex while it walks, the user-interface thread the
// lock while it edits).
class TpsSmartTagView {
 public:
  explicit TpsSmartTagView(TpsWindowManager& aManager) : FManager(aManager) {}
  TpsSmartTagView(const TpsSmartTagView&) = delete;
  TpsSmartTagView& operator=(const TpsSmartTagView&) = delete;

  // The root's stand-in, nullptr without a root. Forgets the stand-ins of
  // windows freed since the last call, so call it once per walk.
  htmledit::IpsSmartTagNode* Root();
  // nullptr for nullptr.
  htmledit::IpsSmartTagNode* NodeFor(TpsWindow* aWindow);
  // Painting of the view's windows, switched off while marks are applied.
  void SetPainting(bool aOn) { FManager.PaintingEnabled = aOn; }
  Integer NodeCount() const { return static_cast<Integer>(FNodes.size()); }

 private:
  TpsWindowManager& FManager;
  // By window id, which the manager never gives twice.
  std::map<Integer, std::unique_ptr<TpsSmartTagViewNode>> FNodes;
};

// Message 510 to each child of the block: the text marked with aMarkId.
AnsiString GetSmartTagText(TpsWindow* aBlock, Integer aMarkId);
// Message 520 to each child of the block: the range of the characters
// marked with aMarkId; false when no line has the mark.
bool FindSmartTag(TpsWindow* aBlock, Integer aMarkId, TpsSelectionRange& aRange);

}  // namespace htmlview
