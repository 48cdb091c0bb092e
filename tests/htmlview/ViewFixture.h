#pragma once
// What the view's tests share: a fake editor host that answers options
// from a table and records each call, a window that records the messages
// it receives, and pixel tables.
#include <QImage>
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
#include "htmledit/view/psWindows.h"
#include "rtl/Strings.h"
#include "vcl/Pictures.h"

namespace htmlview::testing {

// The editor's selection object: records that it was cleared in the
// host's call list.
class FakeSelection : public IpsTextSelection {
 public:
  explicit FakeSelection(std::vector<std::string>* aCalls) : Calls(aCalls) {}
  void Clear() override { Calls->push_back("TextSelection.Clear"); }
  std::vector<std::string>* Calls;
};

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
  void UpdateCaretPosition() override { Calls.push_back("UpdateCaretPosition"); }
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
  // The image cache the view reads; none: every picture is missing.
  TpsImageCache* Images = nullptr;
  TpsImageCache* ImageCache() override { return Images; }

  // Drops the calls and reads recorded so far.
  void Forget() {
    Calls.clear();
    Reads.clear();
  }

 private:
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
