// Pages between disk and editor: the module's comment tags come back in
// their canonical form and the text around them as it was; the page's meta
// tags steer the editor; every saved page carries the UTF-8 content type;
// unreadable pages, failed writes and files that are no pages leave the
// page and the files on disk as they were.
#include <gtest/gtest.h>

#include <QTest>
#include <csignal>
#include <filesystem>
#include <sys/resource.h>

#include "MainWindowRig.h"
#include "htmledit/control/psSmartTags.h"
#include "rtl/Files.h"

using namespace idetest;

namespace {

struct TagRow {
  const char* page;       // as written in a page
  const char* canonical;  // as the module's page form writes it back
};

// One of each of the fourteen kinds, some spelt in lower case.
const TagRow kTags[] = {
    {"<!--(pin 3)-->", "<!--(PIN 3)-->"},
    {"<!--(PIN 3 ANALOG)-->", "<!--(PIN 3 ANALOG)-->"},
    {"<!--(pin 5 analog-1,0)-->", "<!--(PIN 5 ANALOG-1,0)-->"},
    {"<!--(PIN 3 off/on)-->", "<!--(PIN 3 off/on)-->"},
    {"<!--(serial data 10 )-->", "<!--(SERIAL DATA 10 )-->"},
    {"<!--(PLUG-IN abc def)-->", "<!--(PLUG-IN abc def)-->"},
    {"<!--(IF PIN 2 = 1)-->", "<!--(IF PIN 2 = 1)-->"},
    {"<!--(if pin 4>4.25)-->", "<!--(IF PIN 4 > 4.25)-->"},
    {"<!--(IF SSN != abc)-->", "<!--(IF SSN != abc)-->"},
    {"<!--(ELSE)-->", "<!--(ELSE)-->"},
    {"<!--(endif)-->", "<!--(ENDIF)-->"},
    {"<!--(EXEC IP = 1)-->", "<!--(EXEC IP = 1)-->"},
    {"<!--(READ SSN)-->", "<!--(READ SSN)-->"},
    {"<!--(a note)-->", "<!--(a note)-->"},
};

std::string Body(const std::string& page) {
  const size_t open = page.find("<body>");
  const size_t close = page.rfind("</body>");
  if (open == std::string::npos || close == std::string::npos) return "(no body) " + page;
  return page.substr(open + 6, close - open - 6);
}

std::string TagPage(bool canonical) {
  std::string page = "<html><head><title>Tags</title></head><body>";
  int i = 0;
  for (const TagRow& row : kTags) {
    page += "<p>Before " + std::to_string(i) + " " + (canonical ? row.canonical : row.page) + " after " +
            std::to_string(i) + ".</p>";
    ++i;
  }
  return page + "</body></html>";
}

}  // namespace


TEST(Pages, EveryTagComesBackCanonicalAndTheTextAroundItAsItWas) {
  Scratch scratch;
  const std::string page = scratch.Write("tags.htm", TagPage(false));
  WindowGuard window;
  ide::Tfrm_Main* form = window.form;
  // The page commands need a project.
  form->Project()->SetFileName(scratch.Project() + "tags.PJT");
  form->OpenPage(page);
  EXPECT_EQ(form->PageFileName(), page);
  EXPECT_FALSE(form->Modified());
  // Unbeautified, the body is the page's own, byte for byte, with every
  // tag in its canonical form.
  form->HTMLEdit->CodeGenerator.BeautifyCode = false;
  PressKey(form->HTMLEdit, Qt::Key_S, Qt::ControlModifier);
  const std::string saved = Slurp(page);
  EXPECT_EQ(Body(saved), Body(TagPage(true)));
  EXPECT_EQ(saved.find("zelbe"), std::string::npos) << "no internal tag reaches the disk";
  EXPECT_EQ(saved.find("0331BA3E"), std::string::npos) << "nor a body marker";
  EXPECT_EQ(saved.find("ZEL_TOLVANE_CMD"), std::string::npos) << "nor a picture";
  // Beautified (the editor's default), the tags still come in order.
  form->HTMLEdit->CodeGenerator.BeautifyCode = true;
  form->SavePage();
  const std::string pretty = Slurp(page);
  size_t at = 0;
  for (const TagRow& row : kTags) {
    at = pretty.find(row.canonical, at);
    ASSERT_NE(at, std::string::npos) << row.canonical;
  }
  EXPECT_EQ(form->DocumentHistory().Count(), 1);
  EXPECT_EQ(form->StatusBar->Panels()->Items(0)->Text(), "Tags");
  EXPECT_EQ(form->StatusBar->Panels()->Items(1)->Text(), "tags.htm");
}

TEST(Pages, MetaTagsSteerTheEditorAndTheContentTypeIsUtf8) {
  struct Row {
    const char* meta;
    bool readOnly;
    bool revealTags;
    bool spelling;
  };
  const Row rows[] = {
      {"", false, false, true},
      {"<meta name=\"readonly\" content=\"true\">", true, false, true},
      {"<meta name=\"readonly\" content=\"True\">", false, false, true},
      {"<meta name=\"READONLY\" content=\"true\">", true, false, true},
      {"<meta name=\"revealtags\" content=\"true\">", false, true, true},
      {"<meta name=\"revealtags\" content=\"TRUE\">", false, false, true},
      {"<meta name=\"spellchecker\" content=\"false\">", false, false, false},
      {"<meta name=\"spellchecker\" content=\"False\">", false, false, true},
      {"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">", false, false, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.meta);
    Scratch scratch;
    const std::string page =
        scratch.Write("meta.htm", std::string("<html><head>") + row.meta + "<title>M</title></head><body><p>Caf\xC3\xA9</p></body></html>");
    WindowGuard window;
    ide::Tfrm_Main* form = window.form;
    form->OpenPage(page);
    EXPECT_EQ(form->HTMLEdit->GetReadOnly(), row.readOnly);
    EXPECT_EQ(form->HTMLEdit->GetRevealTags(), row.revealTags);
    htmledit::TpsSmartTagHandler* spell = form->HTMLEdit->SmartTags.GetHandlerByID(form->SpellTagId());
    ASSERT_NE(spell, nullptr);
    EXPECT_EQ(spell->Enabled(), row.spelling);
    form->SavePage();
    const std::string saved = Slurp(page);
    EXPECT_NE(saved.find("content=\"text/html; charset=utf-8\""), std::string::npos) << saved.substr(0, 200);
    EXPECT_EQ(saved.find("8859"), std::string::npos);
    EXPECT_NE(saved.find("Caf\xC3\xA9"), std::string::npos) << "written as UTF-8";
  }
}

TEST(Pages, StoredTextRulesZeroByteAndTheEmptyBody) {
  Scratch scratch;
  WindowGuard window;
  ide::Tfrm_Main* form = window.form;
  form->HTMLEdit->CodeGenerator.BeautifyCode = false;
  DialogScript unexpected({"OK", "OK", "OK"});
  // Windows-1252 bytes (not UTF-8) are read as such and written as UTF-8.
  const std::string legacy = scratch.Write("legacy.htm", "<html><body><p>Caf\xE9 \x80</p></body></html>");
  form->OpenPage(legacy);
  form->SavePage();
  EXPECT_EQ(Body(Slurp(legacy)), "<p>Caf\xC3\xA9 \xE2\x82\xAC</p>");
  // A zero byte ends the text.
  const std::string zero = scratch.Write("zero.htm", std::string("<html><body><p>ab</p></body></html>\0<p>cd</p>", 45));
  form->OpenPage(zero);
  form->SavePage();
  EXPECT_NE(Slurp(zero).find("ab"), std::string::npos);
  EXPECT_EQ(Slurp(zero).find("cd"), std::string::npos);
  // "<body></body>" gets a division before the editor reads it.
  EXPECT_EQ(ide::AddBodyDiv("<html><body></body></html>"), "<html><BODY> <DIV> </DIV> </BODY></html>");
  EXPECT_EQ(ide::AddBodyDiv("<BoDy></bOdY><body></body>"), "<BODY> <DIV> </DIV> </BODY><BODY> <DIV> </DIV> </BODY>");
  EXPECT_EQ(ide::AddBodyDiv("<body> </body>"), "<body> </body>");
  EXPECT_EQ(unexpected.Asked(), std::vector<std::string>{});
}

TEST(Pages, IsHtmlNameLooksAtTheExtensionOnly) {
  const std::pair<const char*, bool> rows[] = {
      {"/p/index.htm", true},   {"/p/index.html", true},  {"/p/INDEX.HTM", true},    {"/p/x.HTML", true},
      {"/p/a.shtml", true},     {"/p/htmlsite/a.css", false}, {"/p/htmlsite/logo.png", false},
      {"/htm/readme", false},   {"/p/notes.txt", false},  {"", false},
  };
  for (const auto& [name, html] : rows) EXPECT_EQ(ide::IsHtmlName(name), html) << name;
}

TEST(Pages, MendsUnreadablePagesFailedWritesAndFilesThatAreNoPages) {
  Scratch scratch;
  WindowGuard window;
  ide::Tfrm_Main* form = window.form;
  form->HTMLEdit->CodeGenerator.BeautifyCode = false;
  form->Project()->SetFileName(scratch.Project() + "mends.PJT");
  const std::string good = scratch.Write("good.htm", "<html><body><p>Good page</p></body></html>");
  form->OpenPage(good);

  // A page that cannot be read is reported; the open page stays, under its
  // own name, and Save writes nothing to the unreadable name.
  for (const std::string& bad : {scratch.Project() + "missing.htm", scratch.Project() + "folder.htm"}) {
    if (bad.find("folder") != std::string::npos) std::filesystem::create_directories(bad);
    DialogScript script({"OK"});
    form->OpenPage(bad);
    Pump();
    ASSERT_EQ(script.Asked().size(), 1u) << bad;
    EXPECT_EQ(script.Asked()[0].rfind("Cannot read " + bad + ": ", 0), 0u) << script.Asked()[0];
    EXPECT_EQ(form->PageFileName(), good);
    EXPECT_NE(form->HTMLEdit->SaveToString(false, true).find("Good page"), std::string::npos);
    form->SavePage();
    EXPECT_FALSE(std::filesystem::is_regular_file(bad));
  }

  // A write that fails half-way leaves the old file whole, and the page
  // modified.
  const std::string goodBytes = Slurp(good);
  TypeText(form->HTMLEdit, "Q");
  ASSERT_TRUE(form->Modified());
  {
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    auto* previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 16;
    setrlimit(RLIMIT_FSIZE, &small);
    DialogScript script({"OK"});
    PressKey(form->HTMLEdit, Qt::Key_S, Qt::ControlModifier);
    Pump();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(script.Asked().size(), 1u) << "the failure reaches the window's handler";
  }
  EXPECT_EQ(Slurp(good), goodBytes);
  EXPECT_TRUE(form->Modified());
  EXPECT_EQ(std::filesystem::directory_iterator(scratch.Project()) != std::filesystem::directory_iterator(), true);
  for (const auto& entry : std::filesystem::directory_iterator(scratch.Project()))
    EXPECT_EQ(entry.path().filename().string().find("good.htm."), std::string::npos) << "no temporary left";
  PressKey(form->HTMLEdit, Qt::Key_S, Qt::ControlModifier);
  EXPECT_NE(Body(Slurp(good)).find("Q"), std::string::npos) << Body(Slurp(good));
  EXPECT_FALSE(form->Modified());

  // Upper-case extensions are pages.
  for (const char* name : {"x.HTML", "INDEX.HTM"}) {
    const std::string upper = scratch.Write(name, "<html><body><p>Upper</p></body></html>");
    form->OpenPage(upper);
    TypeText(form->HTMLEdit, "Z");
    EXPECT_TRUE(form->Modified()) << name;
    EXPECT_EQ(form->StatusBar->Panels()->Items(4)->Text(), "Modified");
    PressKey(form->HTMLEdit, Qt::Key_S, Qt::ControlModifier);
    EXPECT_NE(Slurp(upper).find("ZUpper"), std::string::npos) << name;
  }

  // A style sheet or a picture in a folder named like a page is no page:
  // not read into the editor, never written.
  form->OpenPage(good);
  for (const char* name : {"htmlsite/a.css", "htmlsite/logo.png"}) {
    const std::string bytes = std::string("body { color: red; } /* ") + name + " */";
    const std::string file = scratch.Write(name, bytes);
    form->OpenPage(file);
    EXPECT_EQ(form->PageFileName(), file);
    EXPECT_NE(form->HTMLEdit->SaveToString(false, true).find("Good page"), std::string::npos) << name;
    TypeText(form->HTMLEdit, "W");
    EXPECT_FALSE(form->Modified()) << "never shown as modified";
    PressKey(form->HTMLEdit, Qt::Key_S, Qt::ControlModifier);
    form->SavePage();
    EXPECT_EQ(Slurp(file), bytes) << name;
  }
}

TEST(Pages, SaveAsMovesTheProjectEntryOnlyOnceThePageIsWritten) {
  Scratch scratch;
  WindowGuard window;
  ide::Tfrm_Main* form = window.form;
  form->Project()->SetFileName(scratch.Project() + "as.PJT");
  const std::string page = scratch.Write("first.htm", "<html><body><p>First</p></body></html>");
  form->Project()->AddFile(page);
  form->OpenPage(page);
  // Into a folder that does not exist: the write fails, the entry stays.
  {
    FileDialogScript files({scratch.Project() + "missing/second.htm"});
    DialogScript boxes({"OK"});
    PressKey(form->HTMLEdit, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    Pump();
    EXPECT_TRUE(files.Done());
    EXPECT_EQ(boxes.Asked().size(), 1u);
  }
  EXPECT_NE(form->Project()->FindFile(page), nullptr);
  EXPECT_EQ(form->PageFileName(), page);
  // Cancel changes nothing.
  {
    FileDialogScript files({""});
    PressKey(form->HTMLEdit, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(files.Done());
  }
  EXPECT_EQ(form->PageFileName(), page);
  // A good name: written, and the project follows.
  const std::string second = scratch.Project() + "second.htm";
  {
    FileDialogScript files({second});
    PressKey(form->HTMLEdit, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(files.Done());
  }
  EXPECT_NE(Slurp(second).find("First"), std::string::npos);
  EXPECT_EQ(form->PageFileName(), second);
  EXPECT_EQ(form->Project()->FindFile(page), nullptr);
  EXPECT_NE(form->Project()->FindFile(second), nullptr);
  EXPECT_EQ(form->StatusBar->Panels()->Items(1)->Text(), "second.htm");
}
