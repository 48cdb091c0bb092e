#pragma once
// A laid-out page driven as the editor drives it: keys become kind-0
// messages posted to the focused node and processed at once (with their
// shift state), typed text a 1150, mouse presses, moves and releases
// positional messages at document points; the clock is a manual one, so
// double and triple clicks are timed exactly. The page is written back by
// the document model's HTML writer with "|" for the cursor, and after
// every step the tree's geometry is compared with a fresh full layout of
// the same document.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "LayoutFixture.h"
#include "rtl/Clock.h"

namespace htmlview::testing {

inline std::vector<TpsTextNode*> TextLines(TpsWindow* aRoot) {
  std::vector<TpsTextNode*> lines;
  for (TpsWindow* w = FollowingTextNode(aRoot); w; w = FollowingTextNode(w))
    lines.push_back(static_cast<TpsTextNode*>(w));
  return lines;
}

struct KeyPage : LayoutPage {
  explicit KeyPage(Integer aWidth = 400, Integer aHeight = 300)
      : LayoutPage(aWidth, aHeight), Width(aWidth), Height(aHeight), Clock(std::make_shared<rtl::ManualClock>(1000)), ClockScope(Clock) {
    Host.DC = &Fake;
    Host.Manager = &Manager;
    // Paints draw on the fake-metrics canvas.
    Manager.OnGetDC = [this]() -> vcl::TCanvas* { return &Fake; };
    Manager.OnReleaseDC = [](vcl::TCanvas*) {};
  }

  // "|" in aHtml stands for the cursor, unless aBarIsCursor is off (pages
  // that hold a "|" of their own; the cursor comment places it then).
  void Open(std::string aHtml, const std::string& aCss = "", bool aBarIsCursor = true) {
    const char* kCursor = kCursorComment;
    const size_t bar = aBarIsCursor ? aHtml.find('|') : std::string::npos;
    if (bar != std::string::npos) aHtml.replace(bar, 1, kCursor);
    if (!aCss.empty()) htmldoc::testing::LoadCss(Host.Sheet, aCss);
    htmldoc::TpsHtmlParser parser(kCursor);
    parser.TagEvents = Host.Events;
    rtl::TStringStream stream(aHtml);
    htmldoc::TpsCharacterEncoding encoding = htmldoc::TpsCharacterEncoding::CreateFromCodePage(rtl::CP_UTF8);
    LoadChunk(parser.Parse(stream, encoding, false));
    Host.Selection.Root = Body;
    // Without a cursor in the page the first line takes one.
    if (!Body->GetChunk(true)->HasCursor())
      if (TpsWindow* first = FollowingTextNode(Body)) {
        TpsMessage place(mrCommand, psmPlaceInitialCursor, first);
        place.AutoFree = false;
        first->HandleMessage(place);
      }
    // The editor places the caret once the view is built.
    Host.UpdateCaretPosition();
    Host.Forget();
  }

  // A key as the editor's KeyDown sends it.
  void Key(Integer aId, Integer aShift = 0) {
    TpsMessagePtr m = TpsMessage::Create(mrFocused, aId);
    m->Shift = aShift;
    Send(std::move(m));
  }
  void Type(const std::string& aText) {
    TpsMessagePtr m = TpsMessage::Create(mrFocused, psmInsertTypedText);
    m->WideText = rtl::Utf8ToWide(aText);
    Send(std::move(m));
  }
  void Send(TpsMessagePtr m) {
    if (!Manager.SendToFocusedNode(m)) ADD_FAILURE() << "no focused node for key " << m->Id;
    Checked();
  }

  // Mouse input at a document point (the root's coordinates).
  void Mouse(Integer aId, Integer aX, Integer aY, Integer aButton = 0, Integer aShift = 0) {
    TpsMessagePtr m = TpsMessage::Create(mrPositional, aId);
    m->X = aX;
    m->Y = aY;
    auto buttons = std::make_unique<TpsVCLMouseButtons>();
    if (aButton >= 0) buttons->SetMouseButton(aButton);
    m->SetButtons(std::move(buttons));
    m->Shift = aShift | (aButton == 0 ? ssLeftBit : aButton == 1 ? ssRightBit : 0);
    Manager.PostAndProcess(std::move(m));
    Checked();
  }
  void Click(Integer aX, Integer aY, Integer aShift = 0) {
    Mouse(psmMouseDown, aX, aY, 0, aShift);
    Mouse(psmMouseUp, aX, aY, 0, aShift);
  }

  // The page as the HTML writer writes it, "|" for the cursor; selected
  // characters in brackets.
  std::string Html() {
    std::unique_ptr<htmldoc::TpsDataChunk> chunk = Body->GetChunk(true);
    chunk->AppendCopyOf(*Rest);
    const htmldoc::TpsCharacterEncoding utf8("utf-8");
    std::string html = rtl::WideToUtf8(chunk->GetHtmlText(nullptr, nullptr, "|", false, utf8));
    const size_t body = html.find("<body>");
    const size_t end = html.rfind("</body>");
    if (body != std::string::npos && end != std::string::npos) html = html.substr(body + 6, end - body - 6);
    return html;
  }
  // The whole document as the writer writes it, the cursor as a comment.
  std::string WrittenPage() {
    std::unique_ptr<htmldoc::TpsDataChunk> chunk = Body->GetChunk(true);
    chunk->AppendCopyOf(*Rest);
    const htmldoc::TpsCharacterEncoding utf8("utf-8");
    return rtl::WideToUtf8(chunk->GetHtmlText(nullptr, nullptr, kCursorComment, false, utf8));
  }
  static constexpr const char* kCursorComment = "<!-- editing position -->";
  // The selected characters, in order.
  std::string Selected() {
    std::string s;
    for (TpsTextNode* line : TextLines(Body))
      for (const htmldoc::TpsChunkElement* e = line->GetLineChunk()->First(); e; e = e->Next)
        if (e->Selected && e->Kind == htmldoc::ceChar) rtl::AppendUtf8(s, e->Char);
    return s;
  }
  std::string FreshLayout() {
    std::unique_ptr<htmldoc::TpsDataChunk> chunk = Body->GetChunk(true);
    chunk->AppendCopyOf(*Rest);
    LayoutPage fresh(Width, Height);
    fresh.LoadChunk(std::move(chunk));
    return DumpLayout(fresh.Body);
  }
  // The list is consistent and the geometry is a full layout's.
  void Checked() {
    if (!CheckEveryStep) return;
    std::unique_ptr<htmldoc::TpsDataChunk> chunk = Body->GetChunk(true);
    chunk->Check();
    Integer cursors = 0;
    for (const htmldoc::TpsChunkElement* e = chunk->First(); e; e = e->Next) cursors += e->Kind == htmldoc::ceCursor;
    EXPECT_LE(cursors, 1) << Html();
    EXPECT_EQ(DumpLayout(Body), FreshLayout()) << Html();
  }
  TpsTextNode* Focused() { return dynamic_cast<TpsTextNode*>(Manager.FocusedNode()); }

  Integer Width;
  Integer Height;
  // Off: the steps leave the checks to the caller.
  bool CheckEveryStep = true;
  std::shared_ptr<rtl::ManualClock> Clock;
  rtl::ScopedClock ClockScope;
};

}  // namespace htmlview::testing
