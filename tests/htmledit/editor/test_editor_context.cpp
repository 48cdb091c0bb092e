// The caret's formatting context on real pages, the caret placed by keys:
// the block (its tag, class, id, alignment, font, style), the custom tag,
// the table and the blocks around the caret, each change through them one
// undo step with the saved HTML checked, and the queries that read them.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "CaretNotation.h"
#include "EditorFixture.h"
#include "htmledit/control/psBlockContext.h"
#include "htmledit/control/psObjectSelection.h"
#include "htmledit/control/psSpanLists.h"
#include "htmledit/doc/psDataChunk.h"
#include "htmledit/doc/psLookupLists.h"
#include "htmledit/doc/psTagStyles.h"
#include "htmledit/doc/psStyleSheets.h"
#include "htmledit/view/psMessages.h"
#include "htmledit/view/psBodyNode.h"
#include "htmledit/view/psImageNode.h"
#include "htmledit/view/psWindows.h"

using namespace htmledittest;

namespace {

void LoadContextPage(EditorOnForm& f, const std::string& aPage) {
  // Classes stay on a page only when the sheet knows them.
  f.Editor->LoadStyleSheetFromString(".intro{color:red} .note{color:blue} .grid{color:green}", false);
  f.Editor->CodeGenerator.SaveLastEditingPosition = true;
  f.Editor->LoadFromString(WithCaret(aPage), true, false);
}

void PressKey(TpsHTMLEdit* aEditor, Integer aKey, int aTimes = 1, bool aShift = false) {
  for (int i = 0; i < aTimes; ++i) {
    auto m = htmlview::TpsMessage::Create(htmlview::mrFocused, aKey);
    if (aShift) m->Shift = htmlview::ssShiftBit;
    aEditor->WindowManager()->PostMessage(std::move(m));
    aEditor->ProcessMessages();
    // As the control's key handling does after each key.
    aEditor->NotifyCursorMoved();
    aEditor->ProcessPendingUpdates();
  }
}

TEST(EditorContext, TheBlockFollowsTheCaretMovedByKeys) {
  EditorOnForm f;
  LoadContextPage(f, "<p class=\"intro\" id=\"p1\">a|b</p><h1 id=\"h\">cd</h1>");
  htmledit::TpsBlock* block = f.Editor->GetCurrentBlock();
  ASSERT_NE(block, nullptr);
  EXPECT_TRUE(f.Editor->IsCursorInBlock());
  EXPECT_EQ(block->GetClass(), "intro");
  EXPECT_EQ(block->GetId(), "p1");
  EXPECT_EQ(block->GetTagCode(), htmldoc::TagNameToCode("p"));
  PressKey(f.Editor, htmlview::psmKeyRight, 2);
  ASSERT_EQ(ShowCaret(f.Body()), "<p class=\"intro\" id=\"p1\">ab</p><h1 id=\"h\">|cd</h1>");
  ASSERT_EQ(f.Editor->GetCurrentBlock(), block);
  EXPECT_EQ(block->GetClass(), "");
  EXPECT_EQ(block->GetId(), "h");
  EXPECT_EQ(block->GetTagCode(), htmldoc::TagNameToCode("h1"));
  ASSERT_EQ(f.Editor->GetBlocksAroundCursor()->GetCount(), 1);
  EXPECT_EQ(f.Editor->GetBlocksAroundCursor()->GetTag(0)->GetText(), "<h1>");
}

TEST(EditorContext, SetClassChangesTheCaretBlockInOneStep) {
  EditorOnForm f;
  LoadContextPage(f, "<p class=\"intro\">a|b</p><p>cd</p>");
  const std::string before = f.Body();
  f.Editor->GetCurrentBlock()->SetClass("note");
  EXPECT_EQ(ShowCaret(f.Body()), "<p class=\"note\">a|b</p><p>cd</p>");
  EXPECT_EQ(f.Editor->GetCurrentBlock()->GetClass(), "note");
  EXPECT_EQ(f.Editor->UndoList().Count(), 1);
  f.Editor->Undo();
  EXPECT_EQ(f.Body(), before);

  f.Editor->SetReadOnly(true);
  const Integer steps = f.Editor->UndoList().Count();
  f.Editor->GetCurrentBlock()->SetClass("other");
  EXPECT_EQ(f.Body(), before);
  EXPECT_EQ(f.Editor->UndoList().Count(), steps);
}

TEST(EditorContext, AlignmentOnlyAChangeIsAStep) {
  EditorOnForm f;
  LoadContextPage(f, "<p>a|b</p>");
  htmledit::TpsBlock* block = f.Editor->GetCurrentBlock();
  const rtl::Byte current = block->GetAlignment();
  block->SetAlignment(current);
  EXPECT_EQ(f.Editor->UndoList().Count(), 0);
  block->SetAlignment(2);
  EXPECT_EQ(f.Editor->UndoList().Count(), 1);
  EXPECT_EQ(f.Editor->GetCurrentBlock()->GetAlignment(), 2);
  EXPECT_NE(f.Body().find("center"), std::string::npos) << f.Body();
}

TEST(EditorContext, FontsFromTheSpansTheBlockAndTheSheetsBody) {
  struct Case {
    const char* Page;
    const char* Family;  // nullptr: the sheet's body
    double Size;         // 0: the sheet's body
  };
  const std::vector<Case> cases = {
      {"<p>a|b</p>", nullptr, 0},
      {"<p style=\"font-family:Courier;font-size:14pt\">a|b</p>", "Courier", 14},
      {"<p style=\"font-size:14pt\"><span style=\"font-family:Arial\">a|b</span></p>", "Arial", 14},
      {"<p style=\"font-family:Courier\"><span style=\"font-size:9pt\"><span style=\"font-size:20pt\">a|b</span></span></p>",
       "Courier", 20},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Page);
    EditorOnForm f;
    LoadContextPage(f, c.Page);
    const htmldoc::TpsStyleSheet& sheet = *f.Editor->StyleSheet();
    AnsiString family;
    f.Editor->GetCursorFontFamily(family);
    EXPECT_EQ(family, c.Family ? AnsiString(c.Family) : sheet.GetFontFamily("body"));
    htmldoc::TpsFontSizeValue size;
    f.Editor->GetCursorFontSize(size);
    EXPECT_DOUBLE_EQ(size.Value, c.Size > 0 ? c.Size : sheet.GetFontSize("body").Value);
    if (!c.Family) {
      EXPECT_EQ(f.Editor->GetCurrentBlock()->GetFontFamily(), sheet.GetFontFamily("body"));
      EXPECT_DOUBLE_EQ(f.Editor->GetCurrentBlock()->GetFontSize().Value, sheet.GetFontSize("body").Value);
    }
  }
  // A selection answers nothing.
  EditorOnForm f;
  LoadContextPage(f, "<p style=\"font-family:Courier;font-size:14pt\">a|bc</p>");
  PressKey(f.Editor, htmlview::psmKeyRight, 1, true);
  ASSERT_TRUE(f.Editor->HasTextSelection());
  AnsiString family = "x";
  f.Editor->GetCursorFontFamily(family);
  EXPECT_EQ(family, "");
  htmldoc::TpsFontSizeValue size;
  size.Value = 3;
  f.Editor->GetCursorFontSize(size);
  EXPECT_EQ(size.Value, 0);
}

TEST(EditorContext, StyleTextAndClearStyles) {
  EditorOnForm f;
  LoadContextPage(f, "<p style=\"color:red\"><b><a href=\"u.html\"><i>a|b</i></a></b></p>");
  EXPECT_EQ(f.Editor->GetCurrentBlock()->GetStyleText(), "color:red;");
  f.Editor->GetCurrentBlock()->ClearStyles();
  EXPECT_EQ(ShowCaret(f.Body()), "<p style=\"color:red;\"><a href=\"u.html\">a|b</a></p>");
  EXPECT_EQ(f.Editor->UndoList().Count(), 1);
}

const char* const kTablePage =
    "<table id=\"t\" class=\"grid\" style=\"width:50%\"><tr><td>a</td><td>b|c</td></tr>"
    "<tr><td>d</td><td>e</td></tr><tr><td>f</td><td>g</td></tr></table><p>x</p>";

TEST(EditorContext, TheTableAtTheCaretAndAfterIt) {
  EditorOnForm f;
  LoadContextPage(f, kTablePage);
  htmledit::TpsTable* table = f.Editor->GetCurrentTable();
  ASSERT_NE(table, nullptr);
  EXPECT_TRUE(f.Editor->IsCursorInTable());
  EXPECT_EQ(table->GetCurrentRow(), 0);
  EXPECT_EQ(table->GetCurrentColumn(), 1);
  EXPECT_EQ(table->GetRowCount(), 3);
  EXPECT_EQ(table->GetColumnCount(), 2);
  EXPECT_EQ(table->GetLastRowIndex(), 2);
  EXPECT_EQ(table->GetLastColumnIndex(), 1);
  EXPECT_EQ(table->GetClassName(), ".grid");  // as the table access reads it
  EXPECT_EQ(table->GetStyleText(), "width:50%;");
  EXPECT_EQ(table->GetId(), "t");
  PressKey(f.Editor, htmlview::psmKeyRight, 2);
  EXPECT_EQ(f.Editor->GetCurrentTable()->GetCurrentRow(), 1);
  EXPECT_EQ(f.Editor->GetCurrentTable()->GetCurrentColumn(), 0);
  const htmledit::TpsBlocksAroundCursorList* blocks = f.Editor->GetBlocksAroundCursor();
  std::vector<std::string> names;
  for (Integer i = 0; i < blocks->GetCount(); ++i) names.push_back(blocks->GetTag(i)->GetText());
  ASSERT_FALSE(names.empty());
  EXPECT_EQ(names.back(), "<table>");

  // Out of the table: no current table, the last one's values stay.
  PressKey(f.Editor, htmlview::psmKeyRight, 10);
  EXPECT_FALSE(f.Editor->IsCursorInTable());
  EXPECT_EQ(f.Editor->GetCurrentTable(), nullptr);
  EXPECT_EQ(table->GetCurrentRow(), 2);
  EXPECT_EQ(table->GetCurrentColumn(), 1);
  EXPECT_EQ(table->GetRowCount(), 3);
  EXPECT_EQ(table->GetId(), "t");
}

TEST(EditorContext, TheTableTagCopyChangesTheTableInOneStep) {
  EditorOnForm f;
  LoadContextPage(f, kTablePage);
  const std::string before = f.Body();
  f.Editor->GetCurrentTable()->GetTableTag()->SetAttribute("id", "u");
  EXPECT_NE(f.Body().find("<table id=\"u\" class=\"grid\""), std::string::npos) << f.Body();
  EXPECT_EQ(f.Editor->GetCurrentTable()->GetId(), "u");
  EXPECT_EQ(f.Editor->UndoList().Count(), 1);
  f.Editor->Undo();
  EXPECT_EQ(f.Body(), before);
}

TEST(EditorContext, CommonAttributesOfTheSelectedBlocks) {
  EditorOnForm f;
  LoadContextPage(f, "<p><b><i>a|b</i></b></p><p><i>c</i><b>d</b></p><p>e</p>");
  std::vector<std::string> seen;
  int tag = 0;
  const auto collect = [&](htmldoc::TObjectPtr aList, Integer aIndex, const AnsiString& aText) {
    EXPECT_EQ(aList, &tag);
    EXPECT_EQ(aIndex, static_cast<Integer>(seen.size()));
    seen.push_back(aText);
  };
  f.Editor->ForEachCommonAttribute(collect, &tag);
  EXPECT_TRUE(seen.empty());  // no selection
  PressKey(f.Editor, htmlview::psmKeyRight, 3, true);
  ASSERT_TRUE(f.Editor->HasTextSelection());
  f.Editor->ForEachCommonAttribute(collect, &tag);
  EXPECT_EQ(seen, (std::vector<std::string>{"<b>", "<i>"}));
  seen.clear();
  PressKey(f.Editor, htmlview::psmKeyRight, 4, true);
  f.Editor->ForEachCommonAttribute(collect, &tag);
  EXPECT_TRUE(seen.empty());
}

TEST(EditorContext, SendToCursorParentReachesTheCaretsBlock) {
  EditorOnForm f;
  LoadContextPage(f, "<p style=\"text-align:center\">a|b</p>");
  htmlview::TpsMessage m(htmlview::mrCommand, htmlview::psmQueryAlignment, nullptr);
  m.AutoFree = false;
  EXPECT_TRUE(f.Editor->SendToCursorParent(m));
  EXPECT_TRUE(m.IsHandled());
}

// The image node showing aSrc, found by walking the view.
htmlview::TpsImageNode* ContextImageNode(htmlview::TpsWindow* aWindow, const std::string& aSrc) {
  if (auto* image = dynamic_cast<htmlview::TpsImageNode*>(aWindow))
    if (image->ImageElement && image->ImageElement->Tag->GetAttribute("src") == aSrc) return image;
  for (htmlview::TpsWindow* child : aWindow->ChildList())
    if (htmlview::TpsImageNode* found = ContextImageNode(child, aSrc)) return found;
  return nullptr;
}

// A left click in the middle of the picture, as the mouse handlers send it.
void ContextClickImage(TpsHTMLEdit* aEditor, const std::string& aSrc) {
  htmlview::TpsImageNode* node = ContextImageNode(aEditor->RootWindow(), aSrc);
  ASSERT_NE(node, nullptr) << aSrc;
  const htmldoc::TpsRect r = node->GetAbsoluteRect();
  for (Integer id : {htmlview::psmMouseDown, htmlview::psmMouseUp}) {
    auto m = htmlview::TpsMessage::Create(htmlview::mrPositional, id);
    m->X = (r.Left + r.Right) / 2;
    m->Y = (r.Top + r.Bottom) / 2;
    auto buttons = std::make_unique<htmlview::TpsVCLMouseButtons>();
    buttons->SetMouseButton(0);
    m->SetButtons(std::move(buttons));
    m->Shift = htmlview::ssLeftBit;
    aEditor->WindowManager()->PostAndProcess(std::move(m));
    aEditor->ProcessPendingUpdates();
  }
}

TEST(EditorContext, ImageLinksMadeAndTakenAwayEachOneStep) {
  EditorOnForm f(600, 400);
  const std::string page = "<p>ab<img src=\"a.png\" width=\"40\" height=\"30\" alt=\"x\" />cd</p>";
  f.Editor->LoadFromString(page, true, false);
  const std::string plain = f.Body();
  // Nothing without a selected image.
  f.Editor->CreateImageLink("<a href=\"u.html\">");
  EXPECT_EQ(f.Body(), plain);
  EXPECT_EQ(f.Editor->UndoList().Count(), 0);

  ContextClickImage(f.Editor, "a.png");
  ASSERT_TRUE(f.Editor->IsImageSelected());
  f.Editor->DeleteImageLink();  // it has none
  EXPECT_EQ(f.Editor->UndoList().Count(), 0);
  f.Editor->CreateImageLink("<a href=\"u.html\" target=\"_blank\">");
  const std::string linked = f.Body();
  EXPECT_EQ(linked, "<p>ab<a href=\"u.html\" target=\"_blank\"><img src=\"a.png\" width=\"40\" height=\"30\" alt=\"x\" /></a>cd</p>");
  EXPECT_EQ(f.Editor->UndoList().Count(), 1);
  ASSERT_TRUE(f.Editor->IsImageSelected());
  ASSERT_NE(f.Editor->SelectedImage()->LinkTag, nullptr);
  // A linked image takes no second link.
  f.Editor->CreateImageLink("<a href=\"v.html\">");
  EXPECT_EQ(f.Body(), linked);
  EXPECT_EQ(f.Editor->UndoList().Count(), 1);

  f.Editor->DeleteImageLink();
  EXPECT_EQ(f.Body(), plain);
  EXPECT_EQ(f.Editor->UndoList().Count(), 2);
  f.Editor->Undo();
  EXPECT_EQ(f.Body(), linked);
  f.Editor->Undo();
  EXPECT_EQ(f.Body(), plain);

  f.Editor->SetReadOnly(true);
  ContextClickImage(f.Editor, "a.png");
  f.Editor->CreateImageLink("<a href=\"u.html\">");
  EXPECT_EQ(f.Body(), plain);
}

TEST(EditorContext, TheCustomTagAroundTheCaret) {
  EditorOnForm f;
  f.Editor->OnSupportedCustomTag = [](htmldoc::TObjectPtr, const htmldoc::TpsMarkupTag&, bool& aKeep) { aKeep = true; };
  LoadContextPage(f, "<p>x<mod:var name=\"t\">a|b</mod:var>y</p>");
  htmledit::TpsCustomTagsAroundCursorList* custom = f.Editor->GetCurrentBlock()->GetCustomTags();
  ASSERT_TRUE(custom->HasCustomTag()) << f.Body();
  EXPECT_EQ(custom->GetCustomTag()->GetName(), "mod:var");
  EXPECT_EQ(custom->GetCustomTag()->GetAttribute("name"), "t");
  // Past the pair there is none; the list is made anew after the move.
  PressKey(f.Editor, htmlview::psmKeyRight, 3);
  EXPECT_FALSE(f.Editor->GetCurrentBlock()->GetCustomTags()->HasCustomTag()) << ShowCaret(f.Body());
}

TEST(EditorContext, BackgroundColourOfTheCaretsBlockInOneStep) {
  EditorOnForm f;
  LoadContextPage(f, "<div>a|b</div>");
  const std::string before = f.Body();
  f.Editor->GetCurrentBlock()->SetBackgroundColor(0x0000FF);  // red, as TColor holds it
  EXPECT_EQ(f.Editor->UndoList().Count(), 1);
  EXPECT_EQ(ShowCaret(f.Body()), "<div style=\"background-color:red;\">a|b</div>");
  EXPECT_NE(f.Editor->GetCurrentBlock()->GetStyleText().find("background-color"), std::string::npos);
  f.Editor->Undo();
  EXPECT_EQ(f.Body(), before);
}

// The inline tags open at the caret, innermost first, read from the whole
// body's list: every inline opening tag before the cursor whose closing
// tag comes after it, within the cursor's block.
std::vector<std::string> OpenTagsAtCursor(TpsHTMLEdit* aEditor, std::string& aBlockTag) {
  std::unique_ptr<htmldoc::TpsDataChunk> copy = aEditor->RootWindow()->GetChunk(true);
  std::vector<std::string> stack;
  aBlockTag.clear();
  for (htmldoc::TpsChunkElement* e = copy->First(); e; e = e->Next) {
    if (e->Kind == htmldoc::ceCursor) break;
    if (htmldoc::TpsDataChunk::IsBlockTag(e)) {
      stack.clear();
      if (e->Tag->GetTagType() == htmldoc::ttOpening) aBlockTag = e->Tag->GetText();
    } else if (htmldoc::TpsDataChunk::IsInlineOpenTag(e)) {
      stack.push_back(e->Tag->GetText());
    } else if (htmldoc::TpsDataChunk::IsInlineCloseTag(e) && !stack.empty()) {
      stack.pop_back();
    }
  }
  return std::vector<std::string>(stack.rbegin(), stack.rend());
}

TEST(EditorContext, QueriesAtRandomCaretsEqualAReadingOfTheNodeList) {
  EditorOnForm f(600, 400);
  LoadContextPage(f,
                  "<p style=\"font-family:Courier\">|a<b>b<i>c<span style=\"font-size:20pt\">d</span>e</i>f</b>g</p>"
                  "<h2>h<u>i<span style=\"font-family:Arial\">j<b>k</b>l</span></u>m</h2>"
                  "<p style=\"font-size:9pt\"><a href=\"u.html\">n<i>o</i></a>p<span style=\"font-size:14pt;font-family:Tahoma\">q</span></p>");
  const htmldoc::TpsStyleSheet& sheet = *f.Editor->StyleSheet();
  std::mt19937 random(29);
  for (int step = 0; step < 40; ++step) {
    PressKey(f.Editor, random() % 4 != 0 ? htmlview::psmKeyRight : htmlview::psmKeyLeft, 1 + static_cast<int>(random() % 4));
    SCOPED_TRACE(ShowCaret(f.Body()));
    std::string blockText;
    const std::vector<std::string> open = OpenTagsAtCursor(f.Editor, blockText);
    htmledit::TpsSpanList* spans = f.Editor->GetCurrentBlock()->GetSpans();
    std::vector<std::string> listed;
    for (Integer i = 0; i < spans->GetCount(); ++i) listed.push_back(spans->GetSpanText(i));
    EXPECT_EQ(listed, open);

    vcl::TFontStyles styles;
    AnsiString family;
    htmldoc::TpsFontSizeValue size;
    for (const std::string& text : open) {
      htmldoc::TpsMarkupTag tag(text);
      if (tag.GetName() == "b") styles.Include(vcl::fsBold);
      if (tag.GetName() == "i") styles.Include(vcl::fsItalic);
      if (tag.GetName() == "u") styles.Include(vcl::fsUnderline);
      if (family.empty()) family = htmldoc::GetTagFontFamily(tag, sheet);
      if (size.Value <= 0) size = htmldoc::GetTagFontSize(tag, sheet);
    }
    const htmldoc::TpsMarkupTag block(blockText);
    if (family.empty()) family = htmldoc::GetTagFontFamily(block, sheet);
    if (family.empty()) family = sheet.GetFontFamily("body");
    if (size.Value <= 0) size = htmldoc::GetTagFontSize(block, sheet);
    if (size.Value <= 0) size = sheet.GetFontSize("body");
    EXPECT_EQ(f.Editor->GetFontStyleFlags(), styles);
    AnsiString gotFamily;
    f.Editor->GetCursorFontFamily(gotFamily);
    EXPECT_EQ(gotFamily, family);
    htmldoc::TpsFontSizeValue gotSize;
    f.Editor->GetCursorFontSize(gotSize);
    EXPECT_DOUBLE_EQ(gotSize.Value, size.Value);
    EXPECT_EQ(gotSize.Unit, size.Unit);
  }
}

}  // namespace
