// The component's construction, properties and style sheet.
#include <gtest/gtest.h>

#include "EditorFixture.h"
#include "htmledit/doc/psStyleSheets.h"
#include "vcl/Pictures.h"

using namespace htmledittest;

namespace {

TEST(EditorComponent, ANewEditorHasItsConstructorValues) {
  EditorOnForm f;
  TpsHTMLEdit* e = f.Editor;
  EXPECT_EQ(e->Width(), 400);  // the fixture's bounds
  TpsHTMLEdit fresh(nullptr);
  EXPECT_EQ(fresh.Width(), 360);
  EXPECT_EQ(fresh.Height(), 230);
  EXPECT_EQ(fresh.GetDocumentWidth(), 500);
  EXPECT_EQ(fresh.GetMaxWordWidth(), 300);
  EXPECT_TRUE(fresh.WantReturns);
  EXPECT_TRUE(fresh.GetMemoStyle());
  EXPECT_TRUE(fresh.GetShowDocumentFrame());
  EXPECT_TRUE(fresh.GetDownsizingEnabled());
  EXPECT_FALSE(fresh.GetReadOnly());
  EXPECT_EQ(fresh.GetVersion(), "3.0.0.94");
  fresh.SetVersion("3.0.0.67");
  EXPECT_EQ(fresh.GetVersion(), "3.0.0.94");
  EXPECT_FALSE(fresh.CanUndo());
  EXPECT_FALSE(fresh.CanRedo());
  // The downsize mark is the built-in 24 x 24 picture.
  ASSERT_NE(fresh.ImageDownsizeOverlay(), nullptr);
  EXPECT_EQ(fresh.ImageDownsizeOverlay()->Width(), 24);
  EXPECT_EQ(fresh.ImageDownsizeOverlay()->Height(), 24);
}

TEST(EditorComponent, DocumentWidthBelowOneHundredIsIgnored) {
  EditorOnForm f;
  f.Editor->SetDocumentWidth(99);
  EXPECT_EQ(f.Editor->GetDocumentWidth(), 500);
  f.Editor->SetDocumentWidth(100);
  EXPECT_EQ(f.Editor->GetDocumentWidth(), 100);
}

TEST(EditorComponent, LoadedGivesAnEmptyParagraphAndFiresOnCreate) {
  vcl::TForm* form = new vcl::TForm(vcl::Application, 0);
  auto* e = new TpsHTMLEdit(form);
  e->SetParent(form);
  int created = 0;
  e->OnCreate = [&](htmldoc::TObjectPtr) { ++created; };
  e->Loaded();
  e->Loaded();
  EXPECT_EQ(created, 1);
  EXPECT_TRUE(e->HasCaret());
  e->CodeGenerator.BeautifyCode = false;
  EXPECT_EQ(e->SaveToString(false, true), "<p>&nbsp;</p>");
  e->SetDefaultDocument("<p>one</p><p>two</p>");
  EXPECT_EQ(e->SaveToString(false, true), "<p>one</p><p>two</p>");
  e->SetDefaultDocument("");
  EXPECT_EQ(e->SaveToString(false, true), "<p>&nbsp;</p>");
  vcl::Free(form);
}

// --- The style sheet ---

TEST(EditorStyleSheet, HoldsTheBuiltInRulesAndResetsToThem) {
  EditorOnForm f;
  htmldoc::TpsStyleSheet* sheet = f.Editor->StyleSheet();
  const Integer builtIn = sheet->GetCount();
  for (const char* selector : {"body", "p", "div", "blockquote", "b", "i", "u", "a", "sup", "sub", "strong", "cite",
                               "em", "strike", "s", "h1", ".h1", "h6", ".h6", "ul", "ol", "li", "table", "tr", "td",
                               "th", "img", "img:left", "img:right", "span"})
    EXPECT_GE(sheet->IndexOfStyle(selector), 0) << selector;
  EXPECT_EQ(sheet->FindStyle("body")->GetFontFamily(), "Times New Roman");
  EXPECT_EQ(sheet->FindStyle("h3")->GetAttributesAsString().find("font-size: 18px") != AnsiString::npos ||
                sheet->FindStyle("h3")->GetAttributesAsString().find("font-size:18px") != AnsiString::npos,
            true)
      << sheet->FindStyle("h3")->GetAttributesAsString();
  f.Editor->LoadStyleSheetFromString(".note { color: red }", false);
  EXPECT_EQ(sheet->GetCount(), builtIn + 1);
  ASSERT_NE(sheet->FindStyle(".note"), nullptr);
  EXPECT_TRUE(sheet->FindStyle(".note")->IsClass());
  EXPECT_EQ(sheet->FindStyle(".note")->Name(), "note");
  f.Editor->LoadStyleSheetFromString("", true);
  EXPECT_EQ(f.Editor->StyleSheet()->GetCount(), builtIn);
  EXPECT_EQ(f.Editor->StyleSheet()->FindStyle(".note"), nullptr);
}

TEST(EditorStyleSheet, AnEmptySelectorNameRaises) {
  EditorOnForm f;
  try {
    f.Editor->SetStyleAttribute(".", "color", "red");
    FAIL() << "no exception";
  } catch (const htmldoc::EpsHtmlEditException& e) {
    EXPECT_EQ(e.Message(), "TpsHTMLEditBase.SetStyleAttribute: empty style name!");
  }
}

TEST(EditorStyleSheet, InlineStyleTextsShareInternalRules) {
  EditorOnForm f;
  htmldoc::TpsStyleSheet* sheet = f.Editor->StyleSheet();
  EXPECT_EQ(f.Editor->GetInternalStyleID(""), -1);
  const Integer count = sheet->GetCount();
  const Integer red = f.Editor->GetInternalStyleID("color: red; margin-left: 3px");
  EXPECT_EQ(sheet->GetStyle(red)->Name(), "internal-" + std::to_string(count));
  EXPECT_FALSE(sheet->GetStyle(red)->Output());
  EXPECT_EQ(f.Editor->GetInternalStyleID("margin-left:3px;color:red"), red);
  const Integer blue = f.Editor->GetInternalStyleID("color: blue");
  EXPECT_NE(blue, red);
  EXPECT_EQ(sheet->GetStyle(blue)->Name(), "internal-" + std::to_string(count + 1));
  EXPECT_EQ(sheet->GetCount(), count + 2);
}

// Declarations the sheet does not know take part in the comparison, in
// any order: none of these texts may take another one's rule.
TEST(EditorStyleSheet, UnknownDeclarationsKeepTheirOwnRule) {
  EditorOnForm f;
  htmldoc::TpsStyleSheet* sheet = f.Editor->StyleSheet();
  const Integer cursor = f.Editor->GetInternalStyleID("cursor:pointer");
  const Integer display = f.Editor->GetInternalStyleID("display:none");
  const Integer redHidden = f.Editor->GetInternalStyleID("color:red;display:none");
  const Integer red = f.Editor->GetInternalStyleID("color:red");
  const Integer both = f.Editor->GetInternalStyleID("display:none;cursor:pointer");
  for (Integer id : {cursor, display, redHidden, red, both}) {
    EXPECT_TRUE(sheet->GetStyle(id)->Name().rfind("internal-", 0) == 0) << sheet->GetStyle(id)->Name();
  }
  EXPECT_NE(cursor, display);
  EXPECT_NE(redHidden, red);
  EXPECT_NE(both, cursor);
  EXPECT_NE(both, display);
  EXPECT_EQ(f.Editor->GetInternalStyleID("cursor:pointer;display:none"), both);
  EXPECT_EQ(f.Editor->GetInternalStyleID("display:none;color:red"), redHidden);
  AnsiString text;
  f.Editor->DocumentEvents()->OnStyleIdToText(nullptr, redHidden, text);
  EXPECT_NE(text.find("display"), AnsiString::npos) << text;
}

}  // namespace
