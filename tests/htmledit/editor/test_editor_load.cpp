// Pages in and out of the editor: loading with and without the importer,
// the failure path, the parts of a saved page, the application's hooks on
// saving, and HTML inserted at the caret with its undo.
#include <gtest/gtest.h>

#include <vector>

#include "EditorFixture.h"
#include "htmledit/doc/psStyleSheets.h"
#include "htmledit/doc/psTagParser.h"
#include "htmledit/view/psWindows.h"

using namespace htmledittest;

namespace {

struct LoadingErrors {
  explicit LoadingErrors(TpsHTMLEdit* aEditor) {
    aEditor->OnDocumentLoadingError = [this](htmldoc::TObjectPtr, const AnsiString& aClass, const AnsiString& aText) {
      Reports.push_back(aClass + ": " + aText);
    };
  }
  std::vector<std::string> Reports;
};

TEST(EditorLoading, BlankTextGivesOneEmptyParagraphWithoutError) {
  EditorOnForm f;
  LoadingErrors errors(f.Editor);
  for (const char* text : {"", "   ", " \t \t"}) {
    f.Editor->LoadFromString(text, false, true);
    EXPECT_EQ(f.Body(), "<p>&nbsp;</p>") << "[" << text << "]";
  }
  f.Editor->LoadFromString("<p>x</p>", false, false);
  EXPECT_EQ(f.Body(), "<p>x</p>");
  EXPECT_TRUE(errors.Reports.empty());
}

TEST(EditorLoading, SavesTheBodyAloneOrTheWholePage) {
  EditorOnForm f;
  f.Editor->LoadFromString(
      "<html><head><title>Pins</title></head><body><p>a <b>bold</b> word</p><p>second</p></body></html>", true,
      false);
  EXPECT_EQ(f.Body(), "<p>a <b>bold</b> word</p><p>second</p>");
  f.Editor->CodeGenerator.BeautifyCode = true;
  EXPECT_EQ(f.Editor->SaveToString(false, true),
            "<p>\r\n  a <b>bold</b> word\r\n</p>\r\n\r\n<p>\r\n  second\r\n</p>\r\n\r\n");
  f.Editor->CodeGenerator.BeautifyCode = false;
  f.Editor->CodeGenerator.GenerateStylesheet = false;
  const std::string whole = f.Editor->SaveToString(true, true);
  EXPECT_EQ(whole.rfind("<html>", 0), 0u) << whole;
  EXPECT_NE(whole.find("<title>Pins</title>"), std::string::npos) << whole;
  EXPECT_NE(whole.find("text/html; charset=utf-8"), std::string::npos) << whole;
  EXPECT_NE(whole.find("<body><p>a <b>bold</b> word</p><p>second</p></body>"), std::string::npos) << whole;
  EXPECT_EQ(whole.find("<style"), std::string::npos) << whole;
  f.Editor->CodeGenerator.DocType = "html";
  const std::string typed = f.Editor->SaveToString(true, true);
  EXPECT_EQ(typed.rfind("<!DOCTYPE html>\r\n<html>", 0), 0u) << typed;
  // The saved page loads back to the same page.
  f.Editor->LoadFromString(typed, true, false);
  EXPECT_EQ(f.Editor->SaveToString(true, true), typed);
}

TEST(EditorLoading, TheFirstStyleSheetLinkIsOfferedOnce) {
  EditorOnForm f;
  std::vector<std::string> offered;
  f.Editor->OnLoadExternalStylesheet = [&](htmldoc::TObjectPtr, const htmldoc::TpsMarkupTag& aLink) {
    offered.push_back(aLink.GetAttribute("href"));
  };
  f.Editor->LoadFromString(
      "<html><head><link rel=\"icon\" href=\"i.png\"><link rel=\"StyleSheet\" href=\"a.css\">"
      "<link rel=\"stylesheet\" href=\"b.css\"></head><body><p>x</p></body></html>",
      true, false);
  EXPECT_EQ(offered, std::vector<std::string>{"a.css"});
  EXPECT_EQ(f.Editor->LinkTags().Count(), 3);
}

TEST(EditorLoading, ThePagesStyleElementResetsTheSheetUnlessKept) {
  EditorOnForm f;
  const char* page = "<html><head><style>.pagerule { color: red }</style></head><body><p>x</p></body></html>";
  f.Editor->LoadStyleSheetFromString(".mine { color: blue }", false);
  f.Editor->LoadFromString(page, true, false);
  EXPECT_NE(f.Editor->StyleSheet()->FindStyle(".mine"), nullptr);
  EXPECT_EQ(f.Editor->StyleSheet()->FindStyle(".pagerule"), nullptr);
  f.Editor->LoadFromString(page, false, false);
  EXPECT_EQ(f.Editor->StyleSheet()->FindStyle(".mine"), nullptr);
  EXPECT_NE(f.Editor->StyleSheet()->FindStyle(".pagerule"), nullptr);
  EXPECT_NE(f.Editor->StyleSheet()->FindStyle("h1"), nullptr);
}

TEST(EditorLoading, AFailedLoadLeavesAnEmptyParagraphAndIsReported) {
  EditorOnForm f;
  LoadingErrors errors(f.Editor);
  f.Editor->OnParseTag = [](htmldoc::TObjectPtr, htmldoc::TpsMarkupTag& aTag) {
    if (aTag.GetName() == "b") throw htmldoc::EpsHtmlEditException("no bold here");
  };
  f.Editor->LoadFromString("<p>a <b>b</b></p>", true, false);
  EXPECT_EQ(f.Body(), "<p>&nbsp;</p>");
  ASSERT_EQ(errors.Reports.size(), 1u);
  EXPECT_EQ(errors.Reports[0], "EpsHtmlEditException: no bold here");
  // The editor stays usable.
  f.Editor->OnParseTag = nullptr;
  f.Editor->LoadFromString("<p>c</p>", true, false);
  EXPECT_EQ(f.Body(), "<p>c</p>");
}

// A handler that fails the empty paragraph as well: the first failure is
// reported once and the second propagates, no recursion.
TEST(EditorLoading, ARecoveryThatFailsTooReportsTheFirstFailureAndRaises) {
  EditorOnForm f;
  LoadingErrors errors(f.Editor);
  int calls = 0;
  f.Editor->OnParseTag = [&](htmldoc::TObjectPtr, htmldoc::TpsMarkupTag& aTag) {
    ++calls;
    throw htmldoc::EpsHtmlEditException("refused " + aTag.GetName());
  };
  EXPECT_THROW(f.Editor->LoadFromString("<div>a</div>", true, false), htmldoc::EpsHtmlEditException);
  ASSERT_EQ(errors.Reports.size(), 1u);
  EXPECT_EQ(errors.Reports[0], "EpsHtmlEditException: refused div");
  EXPECT_EQ(calls, 2);
}

TEST(EditorSaving, ASaveTagHandlerRewritesOrDropsTagsOfTheOutputOnly) {
  EditorOnForm f;
  f.Editor->LoadFromString("<p>a <span class=\"x\">b</span> <i>c</i></p>", true, false);
  f.Editor->OnSaveTag = [](htmldoc::TObjectPtr, htmldoc::TpsMarkupTag& aTag, bool& aDelete) {
    if (aTag.GetName() == "span") aDelete = true;
    if (aTag.GetName() == "i" && aTag.GetTagType() == htmldoc::ttOpening) aTag.SetAttribute("title", "t");
  };
  EXPECT_EQ(f.Body(), "<p>a b <i title=\"t\">c</i></p>");
  f.Editor->OnSaveTag = nullptr;
  EXPECT_EQ(f.Body(), "<p>a <span class=\"x\">b</span> <i>c</i></p>");
}

TEST(EditorSaving, TheEditingPositionComesBackWhereItWasSaved) {
  EditorOnForm f;
  f.Editor->CodeGenerator.SaveLastEditingPosition = true;
  f.Editor->LoadFromString("<p>ab<!-- EDITING POSITION -->cd</p>", true, false);
  EXPECT_EQ(f.Body(), "<p>ab<!-- EDITING POSITION -->cd</p>");
  f.Editor->CodeGenerator.SaveLastEditingPosition = false;
  EXPECT_EQ(f.Body(), "<p>abcd</p>");
}

// Custom tags: the parser asks for the HTML shown in their place; the
// saved page has the tag again, rebuilt by the application on request.
TEST(EditorSaving, CustomTagsAreShownAsTheirReplacementAndWrittenBack) {
  EditorOnForm f;
  f.Editor->OnParseCustomTag = [](htmldoc::TObjectPtr, htmldoc::TpsMarkupTag& aTag, AnsiString& aReplace) {
    aReplace = "<img src=\"tag-" + aTag.GetAttribute("type") + ".bmp\">";
  };
  std::vector<std::string> rebuilt;
  f.Editor->OnRecreateCustomTag = [&](htmldoc::TObjectPtr, htmldoc::TpsMarkupTag& aTag, const AnsiString& aInner) {
    rebuilt.push_back(aTag.GetName() + "|" + aInner);
  };
  f.Editor->LoadFromString("<p>pin <#_zelbe54f7mdl type=\"3\" pin=\"A1\" /> on</p>", true, false);
  EXPECT_EQ(f.Body(), "<p>pin <#_zelbe54f7mdl type=\"3\" pin=\"A1\" /> on</p>");
  ASSERT_EQ(rebuilt.size(), 1u);
  EXPECT_EQ(rebuilt[0], "#_zelbe54f7mdl|<img src=\"tag-3.bmp\" />");
  const std::string without = f.Editor->SaveToString(false, false);
  EXPECT_EQ(without.find("zelbe"), std::string::npos) << without;
  EXPECT_NE(without.find("tag-3.bmp"), std::string::npos) << without;
}

// --- HTML at the caret and its undo ---

TEST(EditorInsertHtml, InsertsAtTheCaretAndUndoRedoWalkTheSnapshots) {
  EditorOnForm f;
  f.Editor->LoadFromString("<p>ab<!-- EDITING POSITION -->cd</p>", true, false);
  EXPECT_FALSE(f.Editor->CanUndo());
  int changed = 0;
  f.Editor->OnDocumentChanged = [&](htmldoc::TObjectPtr) { ++changed; };
  f.Editor->InsertHTML("<b>x</b>", false);
  EXPECT_EQ(f.Body(), "<p>ab<b>x</b>cd</p>");
  EXPECT_EQ(changed, 1);
  f.Editor->InsertHTML("<p>new</p>", false);
  const std::string afterTwo = f.Body();
  EXPECT_NE(afterTwo.find("new"), std::string::npos) << afterTwo;
  EXPECT_TRUE(f.Editor->CanUndo());
  f.Editor->Undo();
  EXPECT_EQ(f.Body(), "<p>ab<b>x</b>cd</p>");
  f.Editor->Undo();
  EXPECT_EQ(f.Body(), "<p>abcd</p>");
  EXPECT_FALSE(f.Editor->CanUndo());
  f.Editor->Redo();
  EXPECT_EQ(f.Body(), "<p>ab<b>x</b>cd</p>");
  f.Editor->Redo();
  EXPECT_EQ(f.Body(), afterTwo);
  EXPECT_FALSE(f.Editor->CanRedo());
  // Read-only: neither edits nor undo.
  f.Editor->SetReadOnly(true);
  f.Editor->Undo();
  EXPECT_EQ(f.Body(), afterTwo);
  f.Editor->SetReadOnly(false);
  f.Editor->InsertHTML("", false);
  EXPECT_EQ(f.Body(), afterTwo);
}

// A command whose messages fail between 550 and 560 leaves the page as it
// was and nothing queued; the next command and its undo work.
TEST(EditorInsertHtml, AFailingEditPutsThePageBack) {
  EditorOnForm f;
  f.Editor->LoadFromString("<p>ab<!-- EDITING POSITION -->cd</p><p>ef</p>", true, false);
  const std::string before = f.Body();
  f.Editor->SaveUndoState();
  const Integer snapshots = f.Editor->UndoList().Count();
  EXPECT_THROW(f.Editor->RunCommand(nullptr,
                                    [&] {
                                      // The marker was never put in: a failed consistency check.
                                      htmlview::TpsMessage& insert =
                                          f.Editor->PostCommand(htmlview::psmInsertChunkAtMarker);
                                      insert.SetParam(1, 77);
                                      insert.Chunk = std::make_unique<htmldoc::TpsDataChunk>();
                                    }),
               rtl::Exception);
  EXPECT_EQ(f.Body(), before);
  EXPECT_EQ(f.Editor->WindowManager()->QueuedCount(), 0);
  EXPECT_EQ(f.Editor->UndoList().Count(), snapshots);
  f.Editor->InsertHTML("<i>y</i>", false);
  EXPECT_EQ(f.Body(), "<p>ab<i>y</i>cd</p><p>ef</p>");
  f.Editor->Undo();
  EXPECT_EQ(f.Body(), before);
}

}  // namespace

namespace {

// Text typed into elements the model keeps without a tag code of its own
// is saved inside them.
TEST(EditorTyping, TextTypedInsideKeptElementsIsSaved) {
  struct Case {
    const char* Page;
    const char* Want;
    const char* Undone;
  };
  const Case cases[] = {
      {"<pre>li<!-- EDITING POSITION -->ne</pre>", "<pre>liTYPEDne</pre>", "<pre>li<!-- EDITING POSITION -->ne</pre>"},
      {"<p>a <code>co<!-- EDITING POSITION -->de</code> b</p>", "<p>a <code>coTYPEDde</code> b</p>",
       "<p>a <code>co<!-- EDITING POSITION -->de</code> b</p>"},
      {"<p>a <font color=\"red\">re<!-- EDITING POSITION -->d</font> b</p>", "<p>a <font color=\"red\">reTYPEDd</font> b</p>",
       "<p>a <font color=\"red\">re<!-- EDITING POSITION -->d</font> b</p>"},
      {"<p>plain te<!-- EDITING POSITION -->xt</p>", "<p>plain teTYPEDxt</p>", "<p>plain text</p>"},
  };
  for (const Case& c : cases) {
    EditorOnForm f;
    f.Editor->LoadFromString(c.Page, true, false);
    f.Editor->InsertText("TYPED", false);
    EXPECT_EQ(f.Body(), c.Want) << c.Page;
    // Undo takes the typing back out of the element too: an element as it
    // was loaded is written as the page had it.
    f.Editor->Undo();
    EXPECT_EQ(f.Body(), c.Undone) << c.Page;
  }
}

}  // namespace
