#pragma once
// What the layout tests share: a page parsed from HTML text without the
// syntax check, laid out by a body node on the fake-metrics canvas (8
// pixels a character, 10 up and 3 down), and the tree's geometry as a
// table of text.
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

#include "ViewFixture.h"
#include "htmledit/doc/psHtmlParser.h"
#include "htmledit/view/psBodyNode.h"
#include "htmledit/view/psDivNodes.h"
#include "htmledit/view/psImageNode.h"
#include "htmledit/view/psTextNode.h"
#include "rtl/CodePages.h"
#include "rtl/Streams.h"
#include "vcl/TestCanvases.h"

namespace htmlview::testing {

// The English Apache manual (apache2-doc): real pages for the corpus runs.
inline const std::filesystem::path kApacheManual = "/usr/share/doc/apache2-doc/manual/en";

inline std::unique_ptr<htmldoc::TpsDataChunk> ParsePage(const std::string& aHtml,
                                                        const htmldoc::TpsHtmlTagEventsRef& aEvents) {
  htmldoc::TpsHtmlParser parser("editing-position");
  parser.TagEvents = aEvents;
  rtl::TStringStream stream(aHtml);
  htmldoc::TpsCharacterEncoding encoding = htmldoc::TpsCharacterEncoding::CreateFromCodePage(rtl::CP_UTF8);
  return parser.Parse(stream, encoding, false);
}

// A page on the fake-metrics canvas.
struct LayoutPage {
  explicit LayoutPage(Integer aWidth = 400, Integer aHeight = 300, vcl::TFakeMetrics aMetrics = {})
      : Fake(aWidth, aHeight, aMetrics), Manager(&Host.Canvas) {
    Host.Options["ClientWidth"] = aWidth;
    Host.Options["ClientHeight"] = aHeight;
    Host.Canvas.SetHandle(&Fake);
    Host.Canvas.SetViewRect({0, 0, aWidth - 1, aHeight - 1});
  }
  ~LayoutPage() { Manager.SetRootWindow(nullptr); }

  // Parses and lays out; the body is the manager's root.
  TpsBodyNode* Load(const std::string& aHtml, const std::string& aCss = "") {
    if (!aCss.empty()) htmldoc::testing::LoadCss(Host.Sheet, aCss);
    return LoadChunk(ParsePage(aHtml, Host.Events));
  }

  TpsBodyNode* LoadChunk(std::unique_ptr<htmldoc::TpsDataChunk> chunk) {
    auto body = NewWindow<TpsBodyNode>(&Host);
    Body = body.get();
    Manager.SetRootWindow(std::move(body));
    Body->LayoutChunk(*chunk);
    Rest = std::move(chunk);
    return Body;
  }

  FakeHost Host;
  vcl::TFakeMetricsCanvas Fake;
  TpsWindowManager Manager;
  TpsBodyNode* Body = nullptr;
  std::unique_ptr<htmldoc::TpsDataChunk> Rest;
};

inline std::string ClassName(TpsWindow* w) {
  if (dynamic_cast<TpsParagraphNode*>(w)) return "p";
  if (dynamic_cast<TpsExplicitDivNode*>(w)) return "div";
  if (dynamic_cast<TpsHeadingNode*>(w)) return "h";
  if (dynamic_cast<TpsBlockQuoteNode*>(w)) return "quote";
  if (dynamic_cast<TpsListNode*>(w)) return "list";
  if (dynamic_cast<TpsListItemNode*>(w)) return "li";
  if (dynamic_cast<TpsBodyNode*>(w)) return "body";
  if (dynamic_cast<TpsTextNode*>(w)) return "line";
  if (dynamic_cast<TpsSkinNode*>(w)) return "image";
  if (dynamic_cast<TpsImageNode*>(w)) return "img";
  return "window";
}

// A line's characters as text, "[img]" for an embedded node, "|" for a
// line break.
inline std::string LineText(TpsTextNode* aLine) {
  std::string s;
  const htmldoc::TpsDataChunk* chunk = aLine->GetLineChunk();
  for (const htmldoc::TpsChunkElement* e = chunk->First(); e; e = e->Next) {
    if (e->Kind == htmldoc::ceChar) {
      rtl::AppendUtf8(s, e->Char);
    } else if (e->Kind == htmldoc::ceNode) {
      s += "[img]";
    } else if (htmldoc::TpsDataChunk::TagCodeOf(e) == htmldoc::TAG_BR && e->Tag->GetTagType() != htmldoc::ttClosing) {
      s += "|";
    }
  }
  return s;
}

inline void DumpNode(std::ostringstream& aOut, TpsWindow* w, Integer aDepth) {
  const TpsRect r = w->GetAbsoluteRect();
  aOut << std::string(static_cast<size_t>(aDepth) * 2, ' ') << ClassName(w) << " " << r.Left << "," << r.Top << ","
       << r.Right << "," << r.Bottom;
  if (auto* line = dynamic_cast<TpsTextNode*>(w)) {
    if (line->HasText()) {
      aOut << " \"" << LineText(line) << "\"";
    } else {
      const TpsRect c = line->EmptyLineCaret();
      aOut << " caret " << c.Left << "," << c.Top << "," << c.Right << "," << c.Bottom;
    }
  }
  if (w->WindowFlags.GetFlag(wfFloating)) aOut << " float of " << ClassName(w->Owner);
  aOut << "\n";
  for (TpsWindow* c : w->ChildList())
    if (!c->WindowFlags.GetFlag(wfFloating)) DumpNode(aOut, c, aDepth + 1);
}

// The tree's geometry: class, depth (indent), inclusive absolute
// rectangle, a line's text or its empty-line caret, the floats at the end
// with their owners.
inline std::string DumpLayout(TpsBodyNode* aBody) {
  std::ostringstream out;
  DumpNode(out, aBody, 0);
  for (TpsWindow* f : aBody->FloatingWindows()) {
    const TpsRect r = f->GetAbsoluteRect();
    out << "float " << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom << " of "
        << ClassName(f->Owner) << "\n";
  }
  return out.str();
}

}  // namespace htmlview::testing
