#pragma once
// What the view's tests share: a fake editor host that answers options
// from a table and records each call, a window that records the messages
// it receives, and pixel tables.
#include <QImage>
#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <memory>
#include <string>
#include <vector>

#include "htmldoc/support/ChunkFixture.h"
#include "htmldoc/support/StyleSheetLoader.h"
#include "htmledit/view/psCanvas.h"
#include "htmledit/view/psDocumentNode.h"
#include "htmledit/view/psEditorHost.h"
#include "htmledit/view/psImageCache.h"
#include "htmledit/view/psSelectionMarks.h"
#include "htmledit/view/psImageEditing.h"
#include "htmledit/view/psTextNode.h"
#include "htmledit/view/psTextWalk.h"
#include "htmledit/view/psWindows.h"
#include "rtl/Strings.h"
#include "vcl/Pictures.h"

namespace htmlview::testing {

// The editor's selection object as the editor keeps it: an anchor, the
// position last extended to and the selected range, marked on the lines'
// elements in document order (the text lines found by the 371 walk from
// the root). Records its requests in the host's call list.
class FakeSelection : public IpsTextSelection {
 public:
  explicit FakeSelection(std::vector<std::string>* aCalls) : Calls(aCalls) {}
  void Clear() override {
    Calls->push_back("TextSelection.Clear");
    Forget();
  }
  bool Active() override { return FActive; }
  bool Selecting() override { return FSelecting; }
  bool ExtendSuspended() override { return FSuspended; }
  void SetAnchor(const TpsSelectionRange& p) override {
    Calls->push_back("TextSelection.SetAnchor");
    if (FActive) Unmark();
    if (!Valid(p)) return;
    FSelecting = true;
    FSuspended = false;
    Anchor = p;
    Current = {};
  }
  void ExtendTo(const TpsSelectionRange& p) override {
    if (!Valid(p)) return;
    FSuspended = false;
    if (p.StartElementID == Current.StartElementID && p.EndElementID == Current.EndElementID) return;
    Current = p;
    TpsSelectionRange r;
    if (Anchor.StartElementID != 0 && Anchor.StartElementID == p.EndElementID) {
      r = {p.EndNode, p.EndElementID, p.EndNode, p.EndElementID};
    } else if (Anchor.EndElementID != 0 && Anchor.EndElementID == p.StartElementID) {
      r = {p.StartNode, p.StartElementID, p.StartNode, p.StartElementID};
    } else if (Order(RefNode(Anchor), RefId(Anchor)) < Order(RefNode(p), RefId(p))) {
      r = {Anchor.EndNode, Anchor.EndElementID, p.StartNode, p.StartElementID};
    } else {
      r = {p.EndNode, p.EndElementID, Anchor.StartNode, Anchor.StartElementID};
    }
    SetRange(r);
  }
  void ClearAnchor() override {
    FSelecting = false;
    FSuspended = false;
    Anchor = {};
    Current = {};
  }
  void SuspendExtending() override { FSuspended = true; }
  // The root's mark walk over the whole document, as the editor's
  // selection asks it: exactly the range's elements end up marked, a
  // block's own tags included when the range names them.
  void SetRange(const TpsSelectionRange& r) override {
    Calls->push_back("TextSelection.SetRange");
    TpsSelectionMarkRequest marks(TpsSelectionRange{}, r);
    if (auto* root = dynamic_cast<TpsDocumentNode*>(Root)) root->MarkSelection(marks, nullptr, nullptr);
    Range = r;
    FActive = marks.RangeFound();
  }
  bool LiesWithin(TpsWindow* aWindow) override {
    return FActive && aWindow && aWindow->IsAncestorOf(RangeStartNode(Range)) &&
           aWindow->IsAncestorOf(RangeEndNode(Range));
  }
  // The range read back from the marks (the editor does this after every
  // command: a relayout frees the lines the range named); the anchor goes.
  void UpdateFromMarks() {
    TpsSelectionRange r;
    for (auto& [line, e, index] : Elements()) {
      if (!e->Selected) continue;
      if (!r.StartNode) r.StartNode = static_cast<TpsTextNode*>(line), r.StartElementID = e->Id;
      r.EndNode = static_cast<TpsTextNode*>(line);
      r.EndElementID = e->Id;
    }
    Range = r;
    FActive = r.StartNode != nullptr;
    FSelecting = false;
    FSuspended = false;
    Anchor = {};
    Current = {};
  }
  // Unmarks and forgets (the editor's Clear with unmarking).
  void Forget() {
    if (FActive) Unmark();
    FActive = false;
    FSelecting = false;
    Anchor = {};
    Current = {};
    Range = {};
  }

  std::vector<std::string>* Calls;
  // The root whose lines are marked.
  TpsWindow* Root = nullptr;
  TpsSelectionRange Anchor, Current, Range;

 private:
  struct Item {
    TpsWindow* Line;
    htmldoc::TpsChunkElement* Element;
    long long Index;
  };
  static bool Valid(const TpsSelectionRange& p) {
    return (p.StartNode && p.StartElementID) || (p.EndNode && p.EndElementID);
  }
  static TpsWindow* RefNode(const TpsSelectionRange& p) {
    return p.EndElementID ? static_cast<TpsWindow*>(p.EndNode) : static_cast<TpsWindow*>(p.StartNode);
  }
  static uint32_t RefId(const TpsSelectionRange& p) { return p.EndElementID ? p.EndElementID : p.StartElementID; }
  std::vector<Item> Elements();
  long long Order(TpsWindow* aLine, uint32_t aId) {
    for (auto& [line, e, index] : Elements())
      if (line == aLine && e->Id == aId) return index;
    return -1;
  }
  // Block tags included: the root's walk with no range.
  void Unmark() {
    TpsSelectionMarkRequest marks(TpsSelectionRange{}, TpsSelectionRange{});
    if (auto* root = dynamic_cast<TpsDocumentNode*>(Root)) root->MarkSelection(marks, nullptr, nullptr);
    FActive = false;
  }
  bool FActive = false;
  bool FSelecting = false;
  bool FSuspended = false;
};

inline std::vector<FakeSelection::Item> FakeSelection::Elements() {
  std::vector<Item> out;
  long long index = 0;
  if (!Root) return out;
  for (TpsWindow* w = FollowingTextNode(Root); w; w = FollowingTextNode(w))
    if (auto* line = dynamic_cast<TpsTextNode*>(w))
      for (htmldoc::TpsChunkElement* e = line->GetLineChunk()->First(); e; e = e->Next) out.push_back({w, e, index++});
  return out;
}

class FakeHost : public IpsEditorHost {
 public:
  FakeHost() : Tree(&Sheet), Events(htmldoc::testing::SheetEvents(Sheet)) {}

  // Answers, by member name.
  std::map<std::string, Integer> Options{
      {"EditMode", emText}, {"AllowMultipleSpaces", 0}, {"TabStops", 4}, {"Cursor", vcl::crIBeam},
      {"MemoStyle", 1}, {"DocumentWidth", 500}, {"ClientWidth", 600}, {"ClientHeight", 400},
      {"DownsizingEnabled", 1}, {"MaxWordWidth", 300}, {"HighlightColor", 0x6A240A}};
  std::vector<std::string> Calls;
  // The options read, in order (kept apart from the requests above).
  std::vector<std::string> Reads;
  htmldoc::TpsStyleSheet Sheet;
  htmldoc::TpsStyleContextTree Tree;
  htmldoc::TpsHtmlTagEventsRef Events;
  TpsScrollCanvas Canvas;
  vcl::TCanvas* DC = nullptr;
  vcl::TPoint ScreenOffset{100, 200};
  FakeSelection Selection{&Calls};

  Byte EditMode() override { return static_cast<Byte>(Option("EditMode")); }
  bool AllowMultipleSpaces() override { return Option("AllowMultipleSpaces") != 0; }
  Integer TabStops() override { return Option("TabStops"); }
  vcl::TCursor Cursor() override { return static_cast<vcl::TCursor>(Option("Cursor")); }
  htmldoc::TpsStyleSheet* StyleSheet() override { return &Sheet; }
  htmldoc::TpsStyleContextTree* StyleContextTree() override { return &Tree; }
  const htmldoc::TpsHtmlTagEventsRef& DocumentEvents() override { return Events; }
  Integer GetInternalStyleID(const AnsiString& aStyleText) override {
    Calls.push_back("GetInternalStyleID " + aStyleText);
    Integer id = -1;
    Events->OnStyleAttributeToId(nullptr, aStyleText, id);
    return id;
  }
  void RequestRepaint() override { Calls.push_back("RequestRepaint"); }
  void NotifyDocumentChange(htmldoc::TpsDocumentChange aChange) override {
    Calls.push_back("NotifyDocumentChange " + std::to_string(aChange));
  }
  void NotifyCursorMoved() override { Calls.push_back("NotifyCursorMoved"); }
  IpsTextSelection* TextSelection() override { return &Selection; }
  void UpdateScrollRanges() override { Calls.push_back("UpdateScrollRanges"); }
  TpsAbstractCanvas* ScreenCanvas() override { return &Canvas; }
  vcl::TCanvas* GetDC() override {
    Calls.push_back("GetDC");
    return DC;
  }
  void ReleaseDC(vcl::TCanvas*) override { Calls.push_back("ReleaseDC"); }
  vcl::TPoint ClientToScreen(const vcl::TPoint& p) override { return {p.X + ScreenOffset.X, p.Y + ScreenOffset.Y}; }
  std::unique_ptr<TpsHintWindow> CreateHintWindow(const vcl::TPoint& aScreenPoint, TpsHintTriggerArea* aArea,
                                                  const AnsiString& aText) override {
    Calls.push_back("CreateHintWindow " + std::to_string(aScreenPoint.X) + "," + std::to_string(aScreenPoint.Y) +
                    " " + aText);
    return std::make_unique<TpsHintWindow>(aArea);
  }

  // Page and layout answers, from the same table (absent names read 0,
  // so they are given here).
  bool MemoStyle() override { return Option("MemoStyle") != 0; }
  Integer DocumentWidth() override { return Option("DocumentWidth"); }
  Integer ClientWidth() override { return Option("ClientWidth"); }
  Integer ClientHeight() override { return Option("ClientHeight"); }
  bool IsPrintPreview() override { return Option("IsPrintPreview") != 0; }
  Integer PageWidth() override { return Option("PageWidth"); }
  Integer PageHeight() override { return Option("PageHeight"); }
  TpsRect PrintMargins() override { return Margins; }
  Integer GetMinDocumentHeight() override { return Option("MinDocumentHeight"); }
  void SetLayoutRunning(bool aRunning) override { Calls.push_back(aRunning ? "LayoutRunning 1" : "LayoutRunning 0"); }
  bool RevealTags() override { return Option("RevealTags") != 0; }
  bool DownsizingEnabled() override { return Option("DownsizingEnabled") != 0; }
  Integer MaxWordWidth() override { return Option("MaxWordWidth"); }
  TColor HighlightColor() override { return static_cast<TColor>(Option("HighlightColor")); }
  TpsRect Margins{200, 100, 200, 100};

  // --- Editing from the text lines ---
  // With a manager the host routes what the editor would send to the
  // focused node (the caret update after a relayout, 1150 for inserted
  // text); without one it only records.
  TpsWindowManager* Manager = nullptr;
  bool ReadOnly() override { return Option("ReadOnly") != 0; }
  bool AllowMultipleEmptyBlocks() override { return Options.count("AllowMultipleEmptyBlocks") == 0 || Option("AllowMultipleEmptyBlocks") != 0; }
  bool AllowMultipleLineBreaks() override { return Options.count("AllowMultipleLineBreaks") == 0 || Option("AllowMultipleLineBreaks") != 0; }
  void SaveUndoSnapshot() override { Calls.push_back("SaveUndoSnapshot"); }
  void ClearSelection() override {
    Calls.push_back("ClearSelection");
    Selection.Forget();
  }
  void SelectAll() override {
    Calls.push_back("SelectAll");
    TpsSelectionRange all;
    for (TpsWindow* w = Selection.Root ? FollowingTextNode(Selection.Root) : nullptr; w; w = FollowingTextNode(w)) {
      auto* line = static_cast<TpsTextNode*>(w);
      htmldoc::TpsDataChunk* chunk = line->GetLineChunk();
      if (chunk->IsEmpty()) continue;
      if (!all.StartNode) all.StartNode = line, all.StartElementID = chunk->First()->Id;
      all.EndNode = line;
      all.EndElementID = chunk->Last()->Id;
    }
    if (all.StartNode) Selection.SetRange(all);
  }
  // As the editor does: 190 to the focused node.
  void SelectCurrentBlock() override {
    Calls.push_back("SelectCurrentBlock");
    if (Manager) SendToFocused(psmSelectBlock);
  }
  void InsertText(const WideString& aText) override {
    Calls.push_back("InsertText " + rtl::WideToUtf8(aText));
    SendToFocused(psmInsertTypedText, aText);
  }
  void IncreaseListIndent(Integer aKind) override { Calls.push_back("IncreaseListIndent " + std::to_string(aKind)); }
  void DecreaseListIndent() override { Calls.push_back("DecreaseListIndent"); }
  void RequestRelayout() override { Calls.push_back("RequestRelayout"); }
  void ProcessPendingUpdates() override { Calls.push_back("ProcessPendingUpdates"); }
  void LeaveImageMode() override {}
  void PlaceCaret(const TpsRect& aRect, bool aScroll) override {
    Caret = aRect;
    ++CaretPlacements;
  }
  bool ScrollPageUp() override {
    Calls.push_back("ScrollPageUp");
    return Option("CanScrollPage") != 0;
  }
  bool ScrollPageDown() override {
    Calls.push_back("ScrollPageDown");
    return Option("CanScrollPage") != 0;
  }
  void ScrollToTop() override { Calls.push_back("ScrollToTop"); }
  void ScrollToBottom() override { Calls.push_back("ScrollToBottom"); }
  void SplitBlock(const AnsiString& aCurrentClass, TpsCursorPosition aPosition, AnsiString& ioFirstClass,
                  AnsiString& ioSecondClass, bool& oAllowSplit) override {
    Calls.push_back("OnSplitBlock " + aCurrentClass + " " + std::to_string(aPosition));
    if (OnSplitBlock) OnSplitBlock(ioFirstClass, ioSecondClass, oAllowSplit);
  }
  void MergeBlocks(const AnsiString& aFirstClass, bool aFirstEmpty, const AnsiString& aSecondClass, bool aSecondEmpty,
                   AnsiString& ioMergedClass) override {
    Calls.push_back("OnMergeBlocks " + aFirstClass + (aFirstEmpty ? " empty" : "") + " " + aSecondClass +
                    (aSecondEmpty ? " empty" : ""));
    if (OnMergeBlocks) OnMergeBlocks(ioMergedClass);
  }
  bool TextDoubleClicked() override {
    Calls.push_back("OnTextDoubleClicked");
    return Option("DoubleClickHandled") != 0;
  }
  void TextClicked() override { Calls.push_back("OnTextClicked"); }
  void PopupLinkMenu(const TpsPoint& p) override {
    Calls.push_back("PopupLinkMenu " + std::to_string(p.X) + "," + std::to_string(p.Y));
  }
  bool SmartTagsActive() override { return Option("SmartTagsActive") != 0; }
  void RequestSmartTagAnalysis() override { Calls.push_back("RequestSmartTagAnalysis"); }
  void SmartTagClicked(const AnsiString& aText, const TpsRect& r, const TpsPoint& p) override {
    Calls.push_back("SmartTagClicked " + aText);
  }
  void UpdateCaretPosition() override {
    Calls.push_back("UpdateCaretPosition");
    if (Manager && Manager->Root()) {
      if (Selection.Root) Selection.UpdateFromMarks();
      TpsMessage update(mrCommand, psmUpdateCaret, nullptr);
      update.AutoFree = false;
      Manager->BroadcastMessage(update);
    }
  }
  std::function<void(AnsiString&, AnsiString&, bool&)> OnSplitBlock;
  std::function<void(AnsiString&)> OnMergeBlocks;
  TpsRect Caret{-1, -1, -1, -1};
  Integer CaretPlacements = 0;
  // The calls of one name recorded so far.
  Integer CallCount(const std::string& aName) const {
    return static_cast<Integer>(std::count(Calls.begin(), Calls.end(), aName));
  }
  // The image cache the view reads; none: every picture is missing.
  TpsImageCache* Images = nullptr;
  TpsImageCache* ImageCache() override { return Images; }
  // The editor's image selection and events; none: images are only
  // selected and painted.
  IpsImageEditing* ImageEditor = nullptr;
  IpsImageEditing* ImageEditing() override { return ImageEditor; }
  // FireQueryLinkHint: recorded, answered by the hook when one is set.
  std::function<void(bool& ioCanShow, AnsiString& ioText, TpsHintSettings& ioSettings)> OnQueryLinkHint;
  void QueryLinkHint(htmldoc::TpsHtmlTag* aLinkTag, bool& ioCanShow, AnsiString& ioText,
                     TpsHintSettings& ioSettings) override {
    Calls.push_back("QueryLinkHint " + aLinkTag->GetAttribute("href"));
    if (OnQueryLinkHint) OnQueryLinkHint(ioCanShow, ioText, ioSettings);
  }

  // Drops the calls and reads recorded so far.
  void Forget() {
    Calls.clear();
    Reads.clear();
  }

 private:
  void SendToFocused(Integer aId, const WideString& aText = {}) {
    if (!Manager) return;
    TpsMessagePtr m = TpsMessage::Create(mrFocused, aId);
    m->WideText = aText;
    Manager->SendToFocusedNode(m);
  }
  Integer Option(const std::string& aName) {
    Reads.push_back(aName);
    return Options[aName];
  }
};

// Every message a window is offered, as "name:id", in order.
using MessageLog = std::vector<std::string>;

// A window that logs what it is offered and consumes the ids it is told to.
class LogWindow : public TpsWindow {
 public:
  LogWindow(TpsWindow* aParent, std::string aName, MessageLog* aLog) : TpsWindow(aParent), Name(std::move(aName)), Log(aLog) {}
  void HandleMessage(TpsMessage& m) override {
    TpsWindow::HandleMessage(m);
    if (Log) Log->push_back(Name + ":" + std::to_string(m.Id) + (Destroyed ? "!" : ""));
    LastX = m.X;
    LastY = m.Y;
    LastValue = m.Value;
    if (Consumes.count(m.Id)) m.MarkHandled(this);
  }
  void Paint(TpsAbstractCanvas& aCanvas, bool aPaintChildren) override {
    if (Log) Log->push_back(Name + ":paint");
    TpsWindow::Paint(aCanvas, aPaintChildren);
  }
  std::string Name;
  MessageLog* Log;
  std::set<Integer> Consumes;
  Integer LastX = 0, LastY = 0, LastValue = 0;
};

// A pixel table of a bitmap's rectangle: one character per pixel, rows
// joined by '|'; colours by the key, '?' for others.
// Read from the pixels themselves, so a clipping left selected hides nothing.
inline std::string PixelRows(vcl::TBitmap& aBitmap, const vcl::TRect& r,
                             const std::map<vcl::TColor, char>& aKey) {
  std::string s;
  const QImage& image = aBitmap.Pixels();
  for (Integer y = r.Top; y < r.Bottom; ++y) {
    if (y > r.Top) s += '|';
    for (Integer x = r.Left; x < r.Right; ++x) {
      const QRgb rgb = image.pixel(x, y);
      const vcl::TColor color = vcl::RGB(qRed(rgb), qGreen(rgb), qBlue(rgb));
      auto it = aKey.find(color);
      s += it == aKey.end() ? '?' : it->second;
    }
  }
  return s;
}

}  // namespace htmlview::testing
