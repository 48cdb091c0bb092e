// The window's editing commands through keys and clicks: Esc steps the
// focus on, Ctrl+C reaches the editor of the view shown, the "&Edit" page
// follows the view, block classes across a split or a merge, the combo
// boxes' spans, and which commands are enabled in each state of the window.
#include <gtest/gtest.h>

#include <QApplication>

#include "MainWindowRig.h"
#include "htmledit/control/psBlockContext.h"
#include "htmledit/control/psObjectSelection.h"
#include "htmledit/view/psEditorHost.h"
#include "memo/LumMemo.h"
#include "memo/LumMemoSource.h"
#include "ribbon/RorIvezEviPager.h"
#include "rtl/Strings.h"
#include "rtl/Files.h"
#include "vcl/Clipbrd.h"
#include "vcl/Shell.h"
#include "vcl/StdCtrls.h"

using namespace idetest;

namespace {

void ShowSheet(ide::Tfrm_Main* form, vcl::TTabSheet* sheet) {
  const vcl::TRect r = form->PageControl->TabRect(sheet->TabIndex());
  Click(form->PageControl, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  ASSERT_EQ(form->PageControl->ActivePage(), sheet);
  form->psHtmlEditActionList1->UpdateActions();
  Pump();
}

std::string Body(ide::Tfrm_Main* form) { return form->HTMLEdit->SaveToString(false, false); }

}  // namespace

TEST(Commands, EscCopyAndTheEditPageFollowTheViewShown) {
  Scratch scratch;
  const std::string page = scratch.Write("cmd.htm", "<html><body><p>visual words</p></body></html>");
  WindowGuard window;
  ide::Tfrm_Main* form = window.form;
  form->Project()->SetFileName(scratch.Project() + "cmd.PJT");
  form->OpenPage(page);
  form->psHtmlEditActionList1->UpdateActions();
  ribbon::TRorIvezEviPager* pager = form->mainpager;

  // Visual: Ctrl+C copies the editor's selection.
  form->HTMLEdit->SetFocus();
  PressKey(form->HTMLEdit, Qt::Key_Home);
  PressKey(form->HTMLEdit, Qt::Key_End, Qt::ShiftModifier);
  vcl::Clipboard()->SetAsText("");
  PressKey(form->HTMLEdit, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(vcl::Clipboard()->AsText(), "visual words");

  // The ribbon stands on "&Tools" when the view changes: it comes back
  // there, with the source "&Edit" page in place of the visual one.
  pager->SetActivePageIndex(3);
  ASSERT_EQ(pager->GetPageByIndex(pager->GetActivePageIndex())->Name(), "ToolsPage");
  ShowSheet(form, form->ts_HTML);
  EXPECT_EQ(pager->GetPageByIndex(1)->Name(), "EditSource");
  EXPECT_EQ(pager->GetActivePageIndex(), 3);
  EXPECT_FALSE(form->FindComponent("HTMLPage") && dynamic_cast<vcl::TControl*>(form->FindComponent("HTMLPage"))->Enabled());

  // HTML: the same key copies from the code editor.
  memo::TLumMemo* html = form->re_HTML;
  html->SetFocus();
  Pump();
  PressKey(html, Qt::Key_Home, Qt::ControlModifier);
  PressKey(html, Qt::Key_End, Qt::ShiftModifier);
  const std::string firstLine = html->GetSelText();
  ASSERT_FALSE(firstLine.empty());
  vcl::Clipboard()->SetAsText("");
  PressKey(html, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(vcl::Clipboard()->AsText(), firstLine);

  // Esc steps the focus on from the code editor.
  ASSERT_EQ(form->ActiveControl(), html);
  PressKey(html, Qt::Key_Escape);
  EXPECT_NE(form->ActiveControl(), html);
  EXPECT_NE(form->ActiveControl(), nullptr);

  // Back to Visual: the visual "&Edit" page returns, the index kept.
  ShowSheet(form, form->ts_HTMLEdit);
  EXPECT_EQ(pager->GetPageByIndex(1)->Name(), "EditHTMLPage");
  EXPECT_EQ(pager->GetActivePageIndex(), 3);
}

TEST(Commands, BlockClassesAcrossSplitsAndMerges) {
  Scratch scratch;
  WindowGuard window;
  htmledit::TpsHTMLEdit* editor = window.form->HTMLEdit;
  struct SplitRow {
    const char* current;
    rtl::Byte position;
    const char* second;
  };
  const SplitRow splits[] = {
      {"heading1", htmlview::cpBlockEnd, "heading2"},
      {"heading1", htmlview::cpBlockMiddle, "heading2"},
      {"heading2", htmlview::cpBlockEnd, ""},
      {"big", htmlview::cpBlockMiddle, ""},
      // At the beginning nothing changes.
      {"heading1", htmlview::cpBlockBegin, "kept"},
  };
  for (const SplitRow& row : splits) {
    SCOPED_TRACE(std::string(row.current) + " at " + std::to_string(row.position));
    AnsiString first = row.current, second = "kept";
    bool allow = true;
    editor->OnSplitBlock(editor, row.current, row.position, first, second, allow);
    EXPECT_EQ(second, row.second);
    EXPECT_EQ(first, row.current);
    EXPECT_TRUE(allow);
  }
  struct MergeRow {
    bool firstEmpty;
    const char* merged;
  };
  for (const MergeRow& row : {MergeRow{false, "one"}, MergeRow{true, "two"}}) {
    AnsiString merged;
    editor->OnMergeBlocks(editor, "one", "two", row.firstEmpty, false, merged);
    EXPECT_EQ(merged, row.merged);
  }
}

TEST(Commands, TheCombosWrapTheSelectionAndQuoteTheirValues) {
  Scratch scratch;
  const std::string page = scratch.Write("combo.htm", "<html><body><p>one two</p></body></html>");
  WindowGuard window;
  ide::Tfrm_Main* form = window.form;
  form->Project()->SetFileName(scratch.Project() + "combo.PJT");
  form->HTMLEdit->CodeGenerator.BeautifyCode = false;
  form->OpenPage(page);
  form->HTMLEdit->SetFocus();
  PressKey(form->HTMLEdit, Qt::Key_Home);
  PressKey(form->HTMLEdit, Qt::Key_Right, Qt::ShiftModifier);
  PressKey(form->HTMLEdit, Qt::Key_Right, Qt::ShiftModifier);
  PressKey(form->HTMLEdit, Qt::Key_Right, Qt::ShiftModifier);
  form->CB_RibbonfontSize->SetItemIndex(form->CB_RibbonfontSize->Items()->IndexOf("12pt"));
  form->CB_RibbonfontSize->OnChange(form->CB_RibbonfontSize);
  EXPECT_NE(Body(form).find("<span style=\"font-size:12pt\">one</span>"), std::string::npos) << Body(form);
  // A font name holding a quote and an ampersand stays inside the tag.
  form->Cb_ribbonFontPicker->SetText("A\"B&C");
  form->Cb_ribbonFontPicker->OnChange(form->Cb_ribbonFontPicker);
  const std::string body = Body(form);
  EXPECT_EQ(body.find("B&C\">"), std::string::npos) << body;
  EXPECT_NE(body.find("font-family:"), std::string::npos) << body;
  EXPECT_NE(body.find(">one<"), std::string::npos) << "the text is still the span's, not the tag's: " << body;
  EXPECT_TRUE(form->Modified());
}

TEST(Commands, EnabledStateOfTheCommandsInEachStateOfTheWindow) {
  Scratch scratch;
  const std::string page = scratch.Write(
      "states.htm",
      "<html><body><table border=\"1\"><tr><td><p>cell</p></td></tr></table>"
      "<p><img src=\"missing.png\" width=\"60\" height=\"40\"></p><p><!--(PIN 1)--></p></body></html>");
  WindowGuard window;
  ide::Tfrm_Main* form = window.form;

  enum State { NoProject, ProjectNoPage, Visual, Html, Image, TagPicture, InTable, kStates };
  const char* stateNames[] = {"no project", "project without page", "page on Visual", "page on HTML",
                              "image selected", "tag picture selected", "caret in a table"};
  struct Row {
    const char* action;
    bool enabled[kStates];
  };
  // NoProject, ProjectNoPage, Visual, Html, Image, TagPicture, InTable
  const Row rows[] = {
      {"NewAct", {false, true, true, true, true, true, true}},
      {"SaveAct", {false, true, true, true, true, true, true}},
      {"ExitAct", {true, true, true, true, true, true, true}},
      {"RemoveSpanAct", {true, true, true, true, true, true, true}},
      {"RevealTagsAct", {true, true, true, true, true, true, true}},
      {"EditPaste1", {false, false, false, true, false, false, false}},
      {"EditCopy1", {false, false, false, false, false, false, false}},  // no selection in a code editor
      {"UndoAction", {false, false, false, false, false, false, false}},
      {"NextTab", {true, true, true, true, true, true, true}},
      {"ac_Copy", {false, false, false, false, true, true, false}},
      {"RestoreSizeAct", {false, false, false, false, true, false, false}},
      {"DeleteImageAct", {false, false, false, false, true, false, false}},
      {"AlignImgMiddleAct", {false, false, false, false, true, false, false}},
      {"EdtZelExt", {false, false, false, false, false, true, false}},
      {"DeleteTableAct", {false, false, false, false, false, false, true}},
      {"WordCntAct", {true, true, true, true, true, true, true}},
      {"SpellCheckAct", {true, true, true, true, true, true, true}},
      {"ImportTextAct", {true, true, true, true, true, true, true}},
      {"RemoveLinkAct", {false, false, false, false, false, false, false}},  // no link at the caret
      {"ProjectManagerAct", {true, true, true, true, true, true, true}},
      {"InsertAction", {true, true, true, true, true, true, true}},
      {"SimulateAct", {true, true, true, true, true, true, true}},
      {"SimErrors", {true, true, true, true, true, true, true}},
  };
  const auto check = [&](State state) {
    form->psHtmlEditActionList1->UpdateActions();
    Pump();
    for (const Row& row : rows) {
      auto* action = dynamic_cast<vcl::TCustomAction*>(form->FindComponent(row.action));
      ASSERT_NE(action, nullptr) << row.action;
      EXPECT_EQ(action->Enabled(), row.enabled[state]) << row.action << " with " << stateNames[state];
    }
  };

  check(NoProject);
  form->Project()->SetFileName(scratch.Project() + "states.PJT");
  check(ProjectNoPage);
  form->OpenPage(page);
  // A page opens with the caret at its start, in the table's cell.
  ASSERT_TRUE(form->HTMLEdit->IsCursorInTable());
  check(InTable);
  ShowSheet(form, form->ts_HTML);
  check(Html);
  ShowSheet(form, form->ts_HTMLEdit);

  // The picture of the missing image is the first thing below the table,
  // the tag picture the last thing on the page.
  const vcl::TRect box = InkBox(form->HTMLEdit, Grab(form->HTMLEdit));
  ASSERT_GT(box.Right, box.Left);
  const int imageTop = box.Top + 45;
  Click(form->HTMLEdit, box.Left + 20, imageTop + 15);
  ASSERT_NE(form->HTMLEdit->SelectedImage(), nullptr);
  ASSERT_FALSE(form->SelectedImageIsDeviceTag());
  check(Image);
  Click(form->HTMLEdit, box.Left + 40, box.Bottom - 12);
  ASSERT_NE(form->HTMLEdit->SelectedImage(), nullptr);
  ASSERT_TRUE(form->SelectedImageIsDeviceTag()) << form->HTMLEdit->SelectedImage()->GetSrc();
  check(TagPicture);
  // The caret beside the tag picture: visual editing on plain text.
  Click(form->HTMLEdit, box.Right - 5, box.Bottom - 12);
  form->HTMLEdit->ProcessPendingUpdates();
  ASSERT_EQ(form->HTMLEdit->SelectedImage(), nullptr);
  check(Visual);

  // The image commands act on the selected picture.
  Click(form->HTMLEdit, box.Left + 20, imageTop + 15);
  ASSERT_NE(form->HTMLEdit->SelectedImage(), nullptr);
  form->RestoreSizeAct->Execute();
  EXPECT_EQ(Body(form).find("width=\"60\""), std::string::npos) << Body(form);
  form->DeleteImageAct->Execute();
  EXPECT_EQ(Body(form).find("missing.png"), std::string::npos) << Body(form);
}

namespace {

// The rows of text on the editor's page, top and bottom in client
// coordinates, from the first painted column on.
std::vector<std::pair<int, int>> TextRows(htmledit::TpsHTMLEdit* editor) {
  const QImage image = Grab(editor);
  const vcl::TRect& insets = editor->NonClientInsets();
  std::vector<std::pair<int, int>> rows;
  bool inRow = false;
  for (int y = insets.Top + 2; y < image.height() - insets.Bottom - 2; ++y) {
    bool ink = false;
    for (int x = insets.Left + 2; x < image.width() - insets.Right - 24 && !ink; ++x)
      ink = PixelAt(image, x, y) != vcl::clWhite;
    // An underline a pixel or two below its letters belongs to their row.
    if (ink && !inRow && (rows.empty() || y - insets.Top - rows.back().second > 4))
      rows.push_back({y - insets.Top, y - insets.Top});
    if (ink) rows.back().second = y - insets.Top;
    inRow = ink;
  }
  return rows;
}

}  // namespace

TEST(Commands, ClickedLinksShowViewsOpenPagesBesideThePageAndOnlyWebAddresses) {
  Scratch scratch;
  scratch.Write("other.htm", "<html><body><p>the other page</p></body></html>");
  const std::string page = scratch.Write(
      "links.htm",
      "<html><body><p><a href=\"goto_css\">sheet</a></p><p><a href=\"GOTO_CSS\">SHEET</a></p>"
      "<p><a href=\"goto_html\">source</a></p><p><a href=\"http://example.com/x\">web</a></p>"
      "<p><a href=\"javascript:alert(1)\">script</a></p><p><a href=\"index.htm\">template</a></p>"
      "<p><a href=\"other.htm\">other</a></p></body></html>");
  ASSERT_TRUE(Exists(ide::Tfrm_Main::ProgramDataFolder() + "index.htm")) << "a page of that name beside the program";
  WindowGuard window;
  ide::Tfrm_Main* form = window.form;
  form->Project()->SetFileName(scratch.Project() + "links.PJT");
  form->OpenPage(page);
  std::vector<std::string> opened;
  vcl::SetOpenURLHandler([&opened](const AnsiString& url) {
    opened.push_back(url);
    return true;
  });
  const std::vector<std::pair<int, int>> rows = TextRows(form->HTMLEdit);
  ASSERT_EQ(rows.size(), 7u);
  const vcl::TRect box = InkBox(form->HTMLEdit, Grab(form->HTMLEdit));

  struct Row {
    const char* href;
    vcl::TTabSheet* shown;   // the view afterwards
    const char* url;         // handed to the desktop ("" none)
    bool refused;            // a message said no
    const char* pageAfter;   // the page open afterwards
  };
  const Row table[] = {
      {"goto_css", form->ts_Stylesheet, "", false, "links.htm"},
      {"GOTO_CSS", form->ts_Stylesheet, "", false, "links.htm"},
      {"goto_html", form->ts_HTML, "", false, "links.htm"},
      {"http://example.com/x", form->ts_HTMLEdit, "http://example.com/x", false, "links.htm"},
      // Before: handed to the desktop, which may run it.
      {"javascript:alert(1)", form->ts_HTMLEdit, "", true, "links.htm"},
      // Before: looked up beside the program, which opened the shipped
      // template in place of the page.
      {"index.htm", form->ts_HTMLEdit, "", true, "links.htm"},
      {"other.htm", form->ts_HTMLEdit, "", false, "other.htm"},
  };
  for (size_t i = 0; i < std::size(table); ++i) {
    const Row& row = table[i];
    SCOPED_TRACE(row.href);
    if (form->PageControl->ActivePage() != form->ts_HTMLEdit) ShowSheet(form, form->ts_HTMLEdit);
    opened.clear();
    {
      DialogScript script({"OK"});
      Click(form->HTMLEdit, box.Left + 8, (rows[i].first + rows[i].second) / 2);
      Pump();
      EXPECT_EQ(script.Asked().size(), row.refused ? 1u : 0u);
      if (row.refused && !script.Asked().empty()) EXPECT_NE(script.Asked()[0].find(row.href), std::string::npos);
    }
    EXPECT_EQ(form->PageControl->ActivePage(), row.shown);
    EXPECT_EQ(opened, row.url[0] ? std::vector<std::string>{row.url} : std::vector<std::string>{});
    EXPECT_EQ(rtl::ExtractFileName(form->PageFileName()), row.pageAfter);
  }
  vcl::SetOpenURLHandler(nullptr);
}

TEST(Commands, WordCountAndTextImportWithAndWithoutLineBreaks) {
  Scratch scratch;
  const std::string page = scratch.Write("words.htm", "<html><body><p>one two three</p></body></html>");
  const std::string text = scratch.Write("import.txt", "first line\nsecond line\n\nthird part\n");
  WindowGuard window;
  ide::Tfrm_Main* form = window.form;
  form->Project()->SetFileName(scratch.Project() + "words.PJT");
  form->HTMLEdit->CodeGenerator.BeautifyCode = false;
  form->OpenPage(page);
  {
    DialogScript script({"OK"});
    form->WordCntAct->Execute();
    ASSERT_EQ(script.Asked().size(), 1u);
    EXPECT_EQ(script.Asked()[0], "The current document contains 3 words.");
  }
  const auto paragraphs = [form] {
    const std::string body = Body(form);
    size_t n = 0;
    for (size_t at = body.find("<p"); at != std::string::npos; at = body.find("<p", at + 1)) ++n;
    return n;
  };
  // A cancelled dialog imports nothing.
  {
    FileDialogScript files({""});
    form->ImportTextAct->Execute();
  }
  EXPECT_EQ(paragraphs(), 1u);
  // The page becomes the text: a paragraph per line, or per run of lines
  // up to a blank one.
  struct Row {
    vcl::TAction* action;
    size_t paragraphs;
    const char* joined;  // what one paragraph holds
  };
  for (const Row& row : {Row{form->ImportTextAct, 3, "<p>second line</p>"},
                         Row{form->ImportWOlinebreaks, 2, "second line"}}) {
    SCOPED_TRACE(row.action->Name());
    form->OpenPage(page);
    {
      FileDialogScript files({text});
      row.action->Execute();
      EXPECT_TRUE(files.Done());
    }
    const std::string body = Body(form);
    EXPECT_EQ(paragraphs(), row.paragraphs) << body;
    EXPECT_NE(body.find(row.joined), std::string::npos) << body;
    EXPECT_NE(body.find("<p>third part</p>"), std::string::npos) << body;
    EXPECT_EQ(body.find("one two three"), std::string::npos) << body;
  }
}

TEST(Commands, TheCombosAndTheStatusBarFollowTheCaret) {
  Scratch scratch;
  const std::string page = scratch.Write(
      "caret.htm",
      "<html><body><table border=\"1\"><tr><td><p>a</p></td><td><p>b</p></td></tr>"
      "<tr><td><p>c</p></td><td><p class=\"heading1\">d</p></td></tr></table>"
      "<p><span style=\"font-size:14pt\">points</span> <span style=\"font-size:20px\">pixels</span>"
      " <span>ems</span></p></body></html>");
  WindowGuard window;
  ide::Tfrm_Main* form = window.form;
  form->Project()->SetFileName(scratch.Project() + "caret.PJT");
  form->OpenPage(page);
  // A class the style sheet would offer.
  form->Cb_RibbonStyle->Items()->Add("heading1");
  form->HTMLEdit->SetFocus();
  const auto status = [form] { return form->StatusBar->Panels()->Items(2)->Text(); };
  // The editor's caret-moved update, as its next round runs it.
  const auto settle = [form] {
    form->HTMLEdit->NotifyCursorMoved();
    form->HTMLEdit->ProcessPendingUpdates();
  };
  // Through the cells by keys: the status bar names column and row.
  PressKey(form->HTMLEdit, Qt::Key_Home, Qt::ControlModifier);
  PressKey(form->HTMLEdit, Qt::Key_Right);  // past "a", into the next cell
  PressKey(form->HTMLEdit, Qt::Key_Right);
  settle();
  EXPECT_EQ(status(), "(1,0)");
  EXPECT_EQ(form->Cb_RibbonStyle->Text(), "") << "a block without class";
  PressKey(form->HTMLEdit, Qt::Key_Down);
  settle();
  EXPECT_EQ(status(), "(1,1)");
  EXPECT_EQ(form->Cb_RibbonStyle->Text(), "heading1");

  // Into the paragraph of sized spans: points and pixels select their
  // entries.
  PressKey(form->HTMLEdit, Qt::Key_End, Qt::ControlModifier);  // in the last span
  for (int i = 0; i < 5; ++i) PressKey(form->HTMLEdit, Qt::Key_Left);
  settle();
  EXPECT_EQ(form->CB_RibbonfontSize->Text(), "20px");
  for (int i = 0; i < 8; ++i) PressKey(form->HTMLEdit, Qt::Key_Left);
  settle();
  EXPECT_EQ(form->CB_RibbonfontSize->Text(), "14pt");
  for (int i = 0; i < 8; ++i) PressKey(form->HTMLEdit, Qt::Key_Right);
  settle();
  EXPECT_EQ(form->CB_RibbonfontSize->Text(), "20px");
}

TEST(Commands, MakeHyperlinkTakesTheAddressFromTheLinkEditAndRemoveHyperlinkUndoesIt) {
  Scratch scratch;
  const std::string page = scratch.Write("link.htm", "<html><body><p>go here now</p></body></html>");
  WindowGuard window;
  ide::Tfrm_Main* form = window.form;
  form->Project()->SetFileName(scratch.Project() + "link.PJT");
  form->HTMLEdit->CodeGenerator.BeautifyCode = false;
  form->OpenPage(page);
  const auto settle = [form] {
    form->HTMLEdit->NotifyCursorMoved();
    form->HTMLEdit->ProcessPendingUpdates();
  };
  vcl::TEdit* edit = form->ed_LinkHRef;
  ASSERT_NE(edit, nullptr);
  settle();
  EXPECT_TRUE(edit->ReadOnly());
  EXPECT_FALSE(form->btnHyperlink->Enabled()) << "nothing selected";

  // Select "here": the edit takes an address, starting from "http://".
  form->HTMLEdit->SetFocus();
  PressKey(form->HTMLEdit, Qt::Key_Home);
  for (int i = 0; i < 3; ++i) PressKey(form->HTMLEdit, Qt::Key_Right);
  for (int i = 0; i < 4; ++i) PressKey(form->HTMLEdit, Qt::Key_Right, Qt::ShiftModifier);
  settle();
  ASSERT_TRUE(form->HTMLEdit->HasTextSelection());
  EXPECT_TRUE(form->btnHyperlink->Enabled());
  EXPECT_FALSE(edit->ReadOnly());
  EXPECT_EQ(edit->Text(), "http://");

  // An address holding quotes and an ampersand, typed on the "&HTML " page
  // and applied with Enter: it stays the link's address (it used to end the
  // attribute at its first quote).
  form->mainpager->SetActivePageIndex(2);
  Pump();
  ASSERT_TRUE(edit->CanFocus());
  edit->SetFocus();
  Pump();
  TypeText(edit, "x.htm?a=\"b\"&c");
  PressKey(edit, Qt::Key_Return);
  const std::string body = Body(form);
  EXPECT_NE(body.find("<a href=\"http://x.htm?a=&quot;b&quot;&amp;c\">here</a>"), std::string::npos) << body;
  EXPECT_TRUE(edit->ReadOnly());
  EXPECT_EQ(edit->Text(), "");

  // The caret in the link: the edit shows its address, locked; Remove
  // Hyperlink takes the link away and leaves the text.
  form->HTMLEdit->SetFocus();
  PressKey(form->HTMLEdit, Qt::Key_Home);
  for (int i = 0; i < 5; ++i) PressKey(form->HTMLEdit, Qt::Key_Right);
  settle();
  ASSERT_NE(form->CaretLinkTag(), nullptr) << Body(form);
  // The tag keeps the attribute's text as the page writes it.
  EXPECT_EQ(form->CaretLinkTag()->GetAttribute("href"), "http://x.htm?a=&quot;b&quot;&amp;c");
  EXPECT_EQ(edit->Text(), "http://x.htm?a=&quot;b&quot;&amp;c");
  EXPECT_TRUE(edit->ReadOnly());
  EXPECT_FALSE(form->btnHyperlink->Enabled());
  form->psHtmlEditActionList1->UpdateActions();
  ASSERT_TRUE(form->RemoveLinkAct->Enabled());
  form->RemoveLinkAct->Execute();
  EXPECT_EQ(Body(form).find("<a"), std::string::npos) << Body(form);
  EXPECT_NE(Body(form).find("go here now"), std::string::npos) << Body(form);
}

TEST(Commands, DeleteRemovesTheSelectedPictureOnlyFromTheEditor) {
  Scratch scratch;
  const std::string page = scratch.Write(
      "delete.htm", "<html><body><p><img src=\"missing.png\" width=\"60\" height=\"40\"></p><p>text</p></body></html>");
  WindowGuard window;
  ide::Tfrm_Main* form = window.form;
  form->Project()->SetFileName(scratch.Project() + "delete.PJT");
  form->OpenPage(page);
  const vcl::TRect box = InkBox(form->HTMLEdit, Grab(form->HTMLEdit));
  ASSERT_GT(box.Right, box.Left);
  const auto selectPicture = [&] {
    form->mainpager->SetActivePageIndex(2);
    Click(form->HTMLEdit, box.Left + 20, box.Top + 15);
    ASSERT_NE(form->HTMLEdit->SelectedImage(), nullptr);
  };
  // Before: a Delete typed in the link edit removed the picture too.
  selectPicture();
  form->ed_LinkHRef->SetFocus();
  Pump();
  PressKey(form->ed_LinkHRef, Qt::Key_Delete);
  EXPECT_NE(Body(form).find("missing.png"), std::string::npos) << Body(form);
  // In the editor it goes.
  selectPicture();
  form->HTMLEdit->SetFocus();
  Pump();
  PressKey(form->HTMLEdit, Qt::Key_Delete);
  EXPECT_EQ(Body(form).find("missing.png"), std::string::npos) << Body(form);
  EXPECT_NE(Body(form).find("text"), std::string::npos) << Body(form);
}
