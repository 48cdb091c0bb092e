// The document skeleton, its head (title, style sheet text, meta and link
// tags), the parts around the body, and the meta tag list.
//
// Rows marked "mended" add only a missing half of a pair.
#include <gtest/gtest.h>

#include <string>

#include "../support/ChunkFixture.h"
#include "htmledit/doc/psDocument.h"
#include "rtl/CodePages.h"

using namespace htmldoc;
using htmldoc::testing::DumpFixture;
using htmldoc::testing::ReadFixture;

namespace {

std::unique_ptr<TpsDocument> Document(const char* aFixture, TpsStyleSheet& aSheet) {
  auto events = htmldoc::testing::SheetEvents(aSheet);
  return std::make_unique<TpsDocument>(aFixture ? ReadFixture(aFixture, events) : nullptr, &aSheet, events,
                                       TpsCharacterEncoding::CreateFromCodePage(rtl::CP_UTF8));
}

std::string Text(const WideString& aText) { return rtl::WideToUtf8(aText); }

const TpsCharacterEncoding& Utf8() {
  static const TpsCharacterEncoding encoding = TpsCharacterEncoding::CreateFromCodePage(rtl::CP_UTF8);
  return encoding;
}

}  // namespace

TEST(DocumentSkeleton, BuiltFromWhatIsThere) {
  struct Case {
    const char* fixture;
    const char* skeleton;
    const char* before;  // "nil" when nothing stands before the body
    const char* after;
  };
  const Case cases[] = {
      {nullptr, "<html><head></head><body></body></html>", "</head>", "</html>"},
      {"<p>x</p>", "<html><head></head><body><p>x</p></body></html>", "</head>", "</html>"},
      {"<body><p>x</p></body>", "<html><head></head><body><p>x</p></body></html>", "</head>", "</html>"},
      {"<html><body>x</body></html>", "<html><head></head><body>x</body></html>", "</head>", "</html>"},
      // mended: the missing end of the body before a trailing "</html>"
      {"<html><body><p>x", "<html><head></head><body><p>x</body></html>", "</head>", "</html>"},
      // mended: the missing start of the body after the head
      {"<html><head><title>t</title></head>x</body></html>",
       "<html><head><title>t</title></head><body>x</body></html>", "</head>", "</html>"},
      // mended: a missing "</html>" is added, so the head is not written again
      {"<html><head></head><body>x</body>", "<html><head></head><body>x</body></html>", "</head>", "</html>"},
      {"</head><body>x</body></html>", "<html></head><body>x</body></html>", "</head>", "</html>"},
      // mended: the body's end goes before the trailing "</html>"
      {"<html><body>x</html>", "<html><head></head><body>x</body></html>", "</head>", "</html>"},
      // a body that begins or ends the whole list: that side names nothing
      {"<body>x</body><html><head></head></html>", "<body>x</body><html><head></head></html>", "nil", "<html>"},
      {"<html><head></head></html><body>x</body>", "<html><head></head></html><body>x</body>", "</html>", "nil"},
  };
  for (const auto& c : cases) {
    TpsStyleSheet sheet;
    auto document = Document(c.fixture, sheet);
    EXPECT_NO_THROW(document->Chunk().Check()) << c.fixture;
    EXPECT_EQ(DumpFixture(document->Chunk()), c.skeleton) << (c.fixture ? c.fixture : "nil");
    auto shown = [](const TpsChunkElement* e) { return e ? e->Tag->GetText() : AnsiString("nil"); };
    EXPECT_EQ(shown(document->BeforeBody()), c.before);
    EXPECT_EQ(shown(document->AfterBody()), c.after);
  }
}

TEST(DocumentSkeleton, PartsAroundTheBody) {
  TpsStyleSheet sheet;
  auto document = Document("<html><head><title>\u00e9</title></head><body><p>x|</p></body></html>", sheet);
  EXPECT_EQ(Text(document->GetHtmlBeforeBody(Utf8())), "<html><head><title>\u00e9</title></head>");
  EXPECT_EQ(Text(document->GetHtmlBeforeBody(TpsCharacterEncoding::CreateFromCodePage(1251))),
            "<html><head><title>&eacute;</title></head>");
  EXPECT_EQ(Text(document->GetHtmlAfterBody(Utf8())), "</html>");
  auto body = document->ExtractBody();
  EXPECT_EQ(DumpFixture(*body), "<body><p>x|</p></body>");
  EXPECT_NO_THROW(body->Check());
  EXPECT_NO_THROW(document->Chunk().Check());
  EXPECT_EQ(DumpFixture(document->Chunk()), "<html><head><title>\u00e9</title></head></html>");

  // A body that starts the list: nothing before it is written.
  auto bare = Document("<body>x</body><html></html>", sheet);
  EXPECT_EQ(DumpFixture(bare->Chunk()), "<head></head><body>x</body><html></html>");
  EXPECT_EQ(Text(bare->GetHtmlBeforeBody(Utf8())), "<head></head>");

  // mended: a side that names no element writes nothing, where a nil
  // start or end would have meant the whole list (the head written twice).
  auto bodyFirst = Document("<body>x</body><html><head><title>t</title></head></html>", sheet);
  ASSERT_EQ(bodyFirst->BeforeBody(), nullptr);
  EXPECT_EQ(Text(bodyFirst->GetHtmlBeforeBody(Utf8())), "");
  EXPECT_EQ(Text(bodyFirst->GetHtmlAfterBody(Utf8())), "<html><head><title>t</title></head></html>");
  auto bodyLast = Document("<html><head><title>t</title></head></html><body>x</body>", sheet);
  ASSERT_EQ(bodyLast->AfterBody(), nullptr);
  EXPECT_EQ(Text(bodyLast->GetHtmlAfterBody(Utf8())), "");
  EXPECT_EQ(Text(bodyLast->GetHtmlBeforeBody(Utf8())), "<html><head><title>t</title></head></html>");
  EXPECT_EQ(DumpFixture(*bodyLast->ExtractBody()), "<body>x</body>");
  EXPECT_NO_THROW(bodyLast->Chunk().Check());
}

TEST(DocumentHead, TitleStyleSheetAndTags) {
  TpsStyleSheet sheet;
  auto document = Document(nullptr, sheet);
  document->SetTitle("Hello & bye");
  EXPECT_EQ(DumpFixture(document->Chunk()), "<html><head><title>Hello \\& bye</title></head><body></body></html>");
  EXPECT_EQ(document->Chunk().GetTagPairText(TAG_TITLE), "Hello &amp; bye");
  document->SetTitle("Two");
  EXPECT_EQ(document->Chunk().GetTagPairText(TAG_TITLE), "Two");
  document->KeepEmptyTitle = true;
  document->SetTitle("");
  EXPECT_TRUE(document->Chunk().HasTagPair(TAG_TITLE));
  EXPECT_EQ(document->Chunk().GetTagPairText(TAG_TITLE), "");
  document->KeepEmptyTitle = false;
  document->SetTitle("");
  EXPECT_FALSE(document->Chunk().HasTagPair(TAG_TITLE));

  document->SetStyleSheetText("p { color: red }\r\nb < i { }");
  document->SetStyleSheetText("p { color: blue }");
  EXPECT_EQ(DumpFixture(document->Chunk()),
            "<html><head><style type=\"text/css\">{s:p { color: blue \\}}</style></head><body></body></html>");
  EXPECT_EQ(document->GetStyleSheetText(), "p { color: blue }");
  document->SetStyleSheetText("");
  EXPECT_FALSE(document->Chunk().HasTagPair(TAG_STYLE));

  TpsMarkupTagList metas(true);
  metas.AddText("<meta name=\"a\" content=\"1\" />");
  metas.AddText("<meta name=\"b\" content=\"2\" />");
  metas.AddText("<meta http-equiv=\"content-type\" content=\"text/html; charset=utf-8\" />");
  document->SetMetaTags(metas);
  TpsMarkupTagList two(true);
  two.AddText("<meta name=\"c\" content=\"3\" />");
  two.AddText("<meta name=\"d\" content=\"4\" />");
  document->SetMetaTags(two);
  TpsMarkupTagList links(true);
  links.AddText("<link rel=\"stylesheet\" href=\"a.css\" />");
  document->SetLinkTags(links);
  EXPECT_EQ(DumpFixture(document->Chunk()),
            "<html><head><link rel=\"stylesheet\" href=\"a.css\" /><meta name=\"c\" content=\"3\" />"
            "<meta name=\"d\" content=\"4\" /></head><body></body></html>");
  EXPECT_NO_THROW(document->Chunk().Check());
  document->ResetStyleContext();
}

TEST(DocumentHead, TagPairs) {
  auto chunk = ReadFixture("<p>a<b>x</b>b<b>y</b></p>");
  EXPECT_TRUE(chunk->HasTagPair(TAG_B));
  EXPECT_FALSE(chunk->HasTagPair(TAG_I));
  EXPECT_EQ(chunk->GetTagPairText(TAG_B), "x");
  EXPECT_TRUE(chunk->SetTagPairText(TAG_B, "zz"));
  EXPECT_FALSE(chunk->SetTagPairText(TAG_I, "zz"));
  EXPECT_EQ(DumpFixture(*chunk), "<p>a<b>zz</b>b<b>y</b></p>");
  EXPECT_TRUE(chunk->RemoveTagPair(TAG_B));
  EXPECT_EQ(DumpFixture(*chunk), "<p>ab<b>y</b></p>");
  chunk->InsertTagPairWithText(nullptr, TAG_I, false, chunk->Last(), "w");
  EXPECT_EQ(DumpFixture(*chunk), "<p>ab<b>y</b><i>w</i></p>");
  EXPECT_TRUE(chunk->SetTagPairElement(TAG_I, NewCharacterElement(u'q')));
  EXPECT_EQ(DumpFixture(*chunk), "<p>ab<b>y</b><i>q</i></p>");
  EXPECT_FALSE(chunk->RemoveTagPair(TAG_U));
  EXPECT_NO_THROW(chunk->Check());
  EXPECT_EQ(MakePoint(3, 4), (TpsPoint{3, 4}));
}

TEST(MetaTags, ListLookUps) {
  TpsMetaTagList list;
  list.AddText("<meta http-equiv=\"content-type\" content=\"text/html\" />");
  list.AddText("<meta name=\"ReadOnly\" content=\"yes\" />");
  EXPECT_EQ(list.IndexOfHttpEquiv("Content-Type"), 0);
  EXPECT_EQ(list.IndexOfName("readonly"), 1);
  EXPECT_EQ(list.IndexOfName("none"), -1);
  EXPECT_EQ(list.GetContentByName("READONLY"), "yes");
  EXPECT_EQ(list.GetContentByName("absent"), "");
  list.SetContentByHttpEquiv("Content-Type", "text/html; charset=utf-8");
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(list.GetContentByHttpEquiv("content-type"), "text/html; charset=utf-8");
  list.SetContentByHttpEquiv("refresh", "5");
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.GetTag(2)->GetText(), "<meta http-equiv=\"refresh\" content=\"5\" />");
}
