// The selection commands and the clipboard end to end: text selected by a
// search, the command, the saved body; copy in one editor and paste into
// another through the in-memory clipboard; text and HTML pasted as the
// desktop's clipboard would hand them over.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "CaretNotation.h"
#include "EditorFixture.h"
#include "htmledit/control/psClipboard.h"
#include "htmledit/doc/psGlobals.h"
#include "htmledit/view/psMessages.h"
#include "htmledit/view/psTextNode.h"

using namespace htmledittest;

namespace {

// An editor with its own in-memory clipboard for the test's life.
struct ClipboardScope {
  ClipboardScope() { htmledit::SetClipboardBackend(&Memory); }
  ~ClipboardScope() { htmledit::SetClipboardBackend(nullptr); }
  htmledit::TpsMemoryClipboard Memory;
};

// A key as the key table sends it, then the pending updates.
void SelectionKey(TpsHTMLEdit* aEditor, Integer aId, Integer aShift = 0) {
  auto m = htmlview::TpsMessage::Create(htmlview::mrFocused, aId);
  m->Shift = aShift;
  aEditor->WindowManager()->PostMessage(std::move(m));
  aEditor->ProcessMessages();
  aEditor->ProcessPendingUpdates();
}

// A page loaded with a selection: the caret put before aFind's first
// letter (found from the document start), then Shift+Right over it, so a
// selection may run across blocks ("\n" in aFind stands for a block boundary).
void LoadAndSelect(EditorOnForm& f, const std::string& aHtml, const std::string& aFind) {
  f.Editor->CodeGenerator.SaveLastEditingPosition = true;
  f.Editor->LoadFromString(aHtml, true, false);
  ASSERT_TRUE(f.Editor->FindText(aFind.substr(0, 1), false, true, true)) << aFind;
  // The caret stands after the letter found: one step back, then select.
  SelectionKey(f.Editor, htmlview::psmKeyLeft);
  for (size_t i = 0; i < aFind.size(); ++i) SelectionKey(f.Editor, htmlview::psmKeyRight, htmlview::ssShiftBit);
  ASSERT_TRUE(f.Editor->HasTextSelection());
}

std::string SelectedText(EditorOnForm& f) {
  AnsiString text;
  f.Editor->GetSelectedText(text);
  return text;
}

struct SelectionCase {
  const char* Name;
  const char* Page;
  const char* Find;
  std::function<void(TpsHTMLEdit&)> Run;
  const char* After;      // nullptr: unchanged, no undo step
  const char* Selected;   // the selection's text afterwards
};

TEST(EditorSelectionCommands, EachCommandOnASelectionGivesItsSavedPage) {
  const std::vector<SelectionCase> cases = {
      {"bold span", "<p>abcdef</p>", "bcd", [](TpsHTMLEdit& e) { e.AddSpanToSelection("<b>"); }, "<p>a<b>bcd|</b>ef</p>", "bcd"},
      {"span merged with one around it", "<p>a<b>bc</b>def</p>", "bcd", [](TpsHTMLEdit& e) { e.AddSpanToSelection("<b>"); }, "<p>a<b>bcd|</b>ef</p>", "bcd"},
      {"custom tag around", "<p>abcdef</p>", "cd", [](TpsHTMLEdit& e) { e.InsertTagAroundSelection("<a href=\"u\">"); }, "<p>ab<a href=\"u\">cd|</a>ef</p>", "cd"},
      {"remove bold", "<p><b>abcdef</b></p>", "cd", [](TpsHTMLEdit& e) { e.RemoveSpanFromSelection("<b>"); }, "<p><b>ab</b>cd<b>|ef</b></p>", "cd"},
      {"remove every inline tag", "<p><b>a<i>bc</i></b><u>de</u>f</p>", "bcde", [](TpsHTMLEdit& e) { e.RemoveSpanFromSelection(""); }, "<p><b>a</b>bcde<u>|</u>f</p>", "bcde"},
      {"delete", "<p>abcdef</p>", "bcd", [](TpsHTMLEdit& e) { e.DeleteSelection(); }, "<p>a|ef</p>", ""},
      {"align the selected blocks", "<p>ab</p><p>cd</p><p>ef</p>", "b\nc", [](TpsHTMLEdit& e) { e.SetAlignment(3); },
       "<p style=\"text-align:right;\">ab</p><p style=\"text-align:right;\">c|d</p><p>ef</p>", "bc"},
      {"font", "<p>abcdef</p>", "cd", [](TpsHTMLEdit& e) { e.SetSelectionFont("Arial", 12, 0x0000FF, {vcl::fsBold}, ""); },
       "<p>ab<span style=\"font-family:Arial;font-size:12pt;color:red;font-weight:bold\">cd|</span>ef</p>", "cd"},
      {"both colours", "<p>abcdef</p>", "cd", [](TpsHTMLEdit& e) { e.SetSelectionColors(0x0000FF, 0xFF0000); }, "<p>ab<span style=\"color:red;background-color:blue\">cd|</span>ef</p>", "cd"},
      {"text colour", "<p>abcdef</p>", "cd", [](TpsHTMLEdit& e) { e.SetSelectionColors(0x0000FF, htmldoc::clNone); }, "<p>ab<span style=\"color:red\">cd|</span>ef</p>", "cd"},
      {"no colour", "<p>abcdef</p>", "cd", [](TpsHTMLEdit& e) { e.SetSelectionColors(htmldoc::clNone, htmldoc::clNone); }, nullptr, "cd"},
      {"list kind of the selected items", "<ul><li>ab</li><li>cd</li></ul>", "b\nc", [](TpsHTMLEdit& e) { e.ChangeListKind(true); },
       "<ol><li>ab</li><li>c|d</li></ol>", "bc"},
  };
  for (const SelectionCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EditorOnForm f;
    LoadAndSelect(f, c.Page, c.Find);
    const std::string before = f.Body();
    const Integer steps = f.Editor->UndoList().Count();
    c.Run(*f.Editor);
    EXPECT_EQ(ShowCaret(f.Body()), c.After ? c.After : ShowCaret(before));
    EXPECT_EQ(f.Editor->UndoList().Count(), steps + (c.After ? 1 : 0));
    EXPECT_EQ(SelectedText(f), c.Selected);
    if (!c.After) continue;
    f.Editor->Undo();
    EXPECT_EQ(f.Body(), before);
  }
}

// Text as another program would put it on the clipboard.
void PutText(const std::string& aUtf8) {
  htmledit::IpsClipboardBackend& clipboard = htmledit::ClipboardBackend();
  clipboard.Open();
  clipboard.SetData(htmledit::CF_TEXT, aUtf8 + std::string(1, '\0'));
  clipboard.Close();
}

TEST(EditorClipboard, ASelectionCopiedInOneEditorPastesWithItsFormattingIntoAnother) {
  ClipboardScope scope;
  EditorOnForm from;
  LoadAndSelect(from, "<p>x<b>bc</b><a href=\"u.html\">d<i>e</i></a>f</p>", "bcdef");
  from.Editor->CopyToClipboard();
  // Both texts, and "HTML Format" whose fragment is the selected content.
  EXPECT_EQ(scope.Memory.GetData(htmledit::CF_TEXT), std::string("bcdef", 6));
  EXPECT_EQ(htmledit::TpsClipboard::GetUnicodeText(), u"bcdef");
  const std::string html = htmledit::TpsClipboard::GetHtml();
  const std::string fragment = htmledit::TpsClipboard::GetFragment(html);
  EXPECT_EQ(fragment, "<b>bc</b><a href=\"u.html\">d<i>e</i></a>f");
  EXPECT_EQ(html.rfind("Version:1.0\r\nStartHTML:000000163\r\n", 0), 0u);
  EXPECT_EQ(html.substr(html.size() - 9), "</html>\r\n");
  EXPECT_NE(html.find("<body>" + fragment + "</body>"), std::string::npos);

  EditorOnForm to;
  to.Editor->CodeGenerator.SaveLastEditingPosition = true;
  to.Editor->LoadFromString(WithCaret("<p>12|34</p>"), true, false);
  ASSERT_TRUE(to.Editor->CanPasteFromClipboard());
  to.Editor->PasteFromClipboard();
  EXPECT_EQ(ShowCaret(to.Body()), "<p>12<b>bc</b><a href=\"u.html\">d<i>e</i></a>f|34</p>");
  EXPECT_EQ(to.Editor->UndoList().Count(), 1);
  to.Editor->Undo();
  EXPECT_EQ(ShowCaret(to.Body()), "<p>12|34</p>");
}

TEST(EditorClipboard, CutDeletesOnlyWhenWritableButAlwaysCopiesWithASnapshot) {
  for (const bool readOnly : {false, true}) {
    SCOPED_TRACE(readOnly);
    ClipboardScope scope;
    EditorOnForm f;
    LoadAndSelect(f, "<p>abcdef</p>", "cd");
    f.Editor->SetReadOnly(readOnly);
    f.Editor->CutToClipboard();
    EXPECT_EQ(htmledit::TpsClipboard::GetUnicodeText(), u"cd");
    EXPECT_EQ(ShowCaret(f.Body()), readOnly ? "<p>abcd|ef</p>" : "<p>ab|ef</p>");
    EXPECT_EQ(f.Editor->UndoList().Count(), readOnly ? 1 : 2);
  }
}

TEST(EditorClipboard, PlainTextPastesAsParagraphsWithTabsAsNonBreakingSpaces) {
  struct TextCase {
    const char* Name;
    std::string Text;
    Integer TabStops;
    const char* After;
  };
  const std::vector<TextCase> cases = {
      {"tab", "a\tb", 3, "<p>xa&nbsp;&nbsp;&nbsp;b|y</p>"},
      {"tab without stops", "a\tb", 0, "<p>xa&nbsp;b|y</p>"},
      {"lines", "one\ntwo\n", 3, "<p>xone</p><p>two</p><p>|y</p>"},
      {"lines ended by CR LF", "one\r\ntwo", 3, "<p>xone</p><p>two|y</p>"},
  };
  for (const TextCase& c : cases) {
    SCOPED_TRACE(c.Name);
    ClipboardScope scope;
    PutText(c.Text);
    EditorOnForm f;
    f.Editor->EditingOptions.TabStops = c.TabStops;
    f.Editor->CodeGenerator.SaveLastEditingPosition = true;
    f.Editor->LoadFromString(WithCaret("<p>x|y</p>"), true, false);
    f.Editor->PasteFromClipboard();
    EXPECT_EQ(ShowCaret(f.Body()), c.After);
  }
}

TEST(EditorClipboard, NothingPastesInsideALinkOrWhileReadOnly) {
  ClipboardScope scope;
  PutText("zz");
  for (const bool readOnly : {false, true}) {
    EditorOnForm f;
    f.Editor->CodeGenerator.SaveLastEditingPosition = true;
    f.Editor->LoadFromString(WithCaret(readOnly ? "<p>a|b</p>" : "<p><a href=\"u\">a|b</a></p>"), true, false);
    f.Editor->SetReadOnly(readOnly);
    const std::string before = f.Body();
    f.Editor->PasteFromClipboard();
    EXPECT_EQ(f.Body(), before);
    EXPECT_EQ(f.Editor->UndoList().Count(), 0);
  }
}

TEST(EditorClipboard, HandlersDecideWhatPastes) {
  ClipboardScope scope;
  PutText("<#_zelbe54f7mdl type=\"pin\" />");
  EditorOnForm f;
  f.Editor->CodeGenerator.SaveLastEditingPosition = true;
  f.Editor->LoadFromString(WithCaret("<p>a|b</p>"), true, false);
  // A module tag copied as text pastes as the picture standing for it.
  f.Editor->OnPasteFromClipboard = [&](htmldoc::TObjectPtr, bool& aHandled) {
    const std::string bytes = scope.Memory.GetData(htmledit::CF_TEXT);
    if (bytes.rfind("<#_zelbe54f7mdl", 0) != 0) return;
    f.Editor->InsertHTML("<img src=\"pin.png\" alt=\"pin\">", true);
    aHandled = true;
  };
  f.Editor->PasteFromClipboard();
  EXPECT_EQ(ShowCaret(f.Body()), "<p>a<img src=\"pin.png\" alt=\"pin\" />|b</p>");
  // A refusal: nothing can be pasted.
  f.Editor->OnCanPasteFromClipboard = [](htmldoc::TObjectPtr, bool& aCan) { aCan = false; };
  EXPECT_FALSE(f.Editor->CanPasteFromClipboard());
  const std::string before = f.Body();
  f.Editor->PasteFromClipboard();
  EXPECT_EQ(f.Body(), before);
}

TEST(EditorClipboard, PastedImagesGoThroughTheImageHandler) {
  ClipboardScope scope;
  const std::string page = "<html><body><!--StartFragment--><p>a<img src=\"c:\\pic.png\">b</p><!--EndFragment--></body></html>";
  htmledit::ClipboardBackend().Open();
  htmledit::TpsClipboard::PutHtml(page, static_cast<Integer>(page.find("<p>")) + 1,
                                  static_cast<Integer>(page.find("<!--End")));
  htmledit::ClipboardBackend().Close();
  EditorOnForm f;
  f.Editor->CodeGenerator.SaveLastEditingPosition = true;
  f.Editor->LoadFromString(WithCaret("<p>x|y</p>"), true, false);
  f.Editor->OnPasteImageFromClipboard = [](htmldoc::TObjectPtr, htmldoc::TpsMarkupTag& aTag, AnsiString& aReplace) {
    if (aTag.GetAttribute("src") == "c:\\pic.png") aTag.SetAttribute("src", "pic.png");
    (void)aReplace;
  };
  f.Editor->PasteFromClipboard();
  EXPECT_EQ(ShowCaret(f.Body()), "<p>xa<img src=\"pic.png\" />b</p><p>|y</p>");
}

}  // namespace
