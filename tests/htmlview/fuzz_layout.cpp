// Arbitrary bytes as a page: parsed without the syntax check, its skeleton
// completed as the editor completes it, the body laid out by the body node
// on the fake-metrics canvas and painted. The layout ends, raises
// nothing but the editor's own exceptions, and one that succeeds keeps, in
// order, every non-blank character that a tag pair encloses (the body
// drops only characters standing outside every pair).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "LayoutFixture.h"
#include "htmledit/doc/psDocument.h"
#include "htmledit/view/psTableNodes.h"
#include "vcl/Forms.h"

namespace {

using namespace htmlview;
using namespace htmlview::testing;

// The non-blank characters of a node list, in order.
std::u16string Characters(const htmldoc::TpsDataChunk& aChunk) {
  std::u16string s;
  for (const htmldoc::TpsChunkElement* e = aChunk.First(); e; e = e->Next)
    if (e->Kind == htmldoc::ceChar && e->Char != u' ' && e->Char != u'\t' && e->Char != u'\r' && e->Char != u'\n' &&
        e->Char != 0xA0)
      s += e->Char;
  return s;
}

bool IsSubsequence(const std::u16string& aPart, const std::u16string& aWhole) {
  size_t at = 0;
  for (char16_t c : aWhole)
    if (at < aPart.size() && aPart[at] == c) ++at;
  return at == aPart.size();
}

const bool kReady = [] {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  vcl::InitApplication();
  RegisterTableNodeClasses();
  return true;
}();

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* aData, size_t aSize) {
  if (aSize > 4096) return 0;
  const std::string html(reinterpret_cast<const char*>(aData), aSize);
  LayoutPage page(300, 200);
  std::unique_ptr<htmldoc::TpsDataChunk> parsed;
  try {
    parsed = ParsePage(html, page.Host.Events);
  } catch (const htmldoc::EpsHtmlEditParserError&) {
    return 0;
  }
  // The body as the editor hands it to the view: the skeleton completed,
  // the body pair taken out.
  htmldoc::TpsDocument document(std::move(parsed), &page.Host.Sheet, page.Host.Events,
                                htmldoc::TpsCharacterEncoding::CreateFromCodePage(rtl::CP_UTF8));
  std::unique_ptr<htmldoc::TpsDataChunk> body = document.ExtractBody();
  if (!body || !body->First()) return 0;
  // What must survive: the characters inside tag pairs within the body.
  std::u16string expected;
  {
    std::unique_ptr<htmldoc::TpsDataChunk> copy = body->Clone(false);
    htmldoc::TpsChunkElement* open = copy->First();
    htmldoc::TpsChunkElement* close = copy->FindPartnerTag(open, nullptr);
    if (close && open->Next != close) {
      std::unique_ptr<htmldoc::TpsDataChunk> content = copy->Extract(open->Next, close->Prev);
      content->RemoveTopLevelCharacters();
      expected = Characters(*content);
    }
  }
  try {
    page.LoadChunk(std::move(body));
  } catch (const htmldoc::EpsHtmlEditException&) {
    return 0;
  }
  page.Host.Canvas.BeginPaint(&page.Fake);
  page.Body->Paint(page.Host.Canvas, true);
  page.Host.Canvas.EndPaint();
  std::unique_ptr<htmldoc::TpsDataChunk> laid = page.Body->GetChunk(true);
  laid->AppendCopyOf(*page.Rest);
  if (!IsSubsequence(expected, Characters(*laid))) {
    std::fprintf(stderr, "characters inside tag pairs were lost\ninput: %s\n", html.c_str());
    std::abort();
  }
  return 0;
}
