// The insert and link commands through their actions and dialogs, driven
// by clicks and keys: pictures (copied into the project folder or taken
// from it, the short-name rule, a different file of the same name), tables
// without "None" classes, anchors and image links whose values are
// written as attribute text and read back unchanged, Cancel changing
// nothing, and the graphics list.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <QTest>
#include <QTimer>

#include "MainWindowRig.h"
#include "htmledit/control/psObjectSelection.h"
#include "ide/CommandForms.h"
#include "ide/CreateLinkOrAnchorDlg.h"
#include "ide/DocumentGraphicsDlg.h"
#include "ide/ImageAltTextDlg.h"
#include "ide/InsertAnchorDlg.h"
#include "ide/InsertPictureDlg.h"
#include "ide/InsertTableDlg.h"
#include "ide/PrintPreviewDlg.h"
#include "vcl/ListBox.h"
#include "vcl/Printers.h"
#include "vcl/StdCtrls.h"

using namespace idetest;

namespace {

template <class T>
void OnShown(std::function<void(T*)> act) {
  auto* timer = new QTimer();
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    for (Integer i = vcl::Screen->FormCount() - 1; i >= 0; --i)
      if (auto* f = dynamic_cast<T*>(vcl::Screen->Forms(i));
          f && f->Visible() && !dynamic_cast<ide::Tfrm_Main*>(vcl::Screen->Forms(i))) {
        timer->stop();
        timer->deleteLater();
        act(f);
        return;
      }
  });
  timer->start();
}

void Press(vcl::TButton* b) { QTest::mouseClick(b->Widget(), Qt::LeftButton); }

void SaveGrabOf(vcl::TWinControl* form, const char* png) {
  Pump();
  form->Widget()->grab().toImage().save(QString(TOLVANE_BUILD_DIR "/") + png);
}

std::string SavePicture(const std::string& path, int w, int h, Qt::GlobalColor colour) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(colour);
  image.save(QString::fromStdString(path));
  return path;
}

// A window on a project with one open page.
struct PageWindow {
  Scratch scratch;
  WindowGuard window;
  ide::Tfrm_Main* form = window.form;
  std::string page;
  explicit PageWindow(const std::string& body) {
    ide::CreateCommandForms();
    page = scratch.Write("page.htm", "<html><head><title>T</title></head><body>" + body + "</body></html>");
    form->Project()->SetFileName(scratch.Project() + "site.PJT");
    form->OpenPage(page);
    form->psHtmlEditActionList1->UpdateActions();
    Pump();
  }
  std::string Body() const { return form->HTMLEdit->SaveToString(false, false); }
  std::string Whole() const { return form->HTMLEdit->SaveToString(true, true); }
  // The picture dialog answered: Browse to file, then Ok.
  void InsertPicture(const std::string& file) {
    FileDialogScript files({file});
    OnShown<ide::TfrmInsertPicture>([](ide::TfrmInsertPicture* d) {
      Press(d->Button1);
      Pump();
      Press(d->btnOk);
    });
    form->ImageAct->Execute();
    Pump();
  }
};

}  // namespace

TEST(InsertCommands, PicturesCopiedOrTakenFromTheProjectFolder) {
  struct Row {
    const char* name;
    bool inProjectFolder;  // the picture chosen lies in the project folder
    bool sameNameDiffers;  // a different file of that name is already there
    const char* message;   // "" when inserted
  };
  const Row rows[] = {
      {"outside.png", false, false, ""},
      {"inside.png", true, false, ""},
      {"abcdefghijk.png", false, false, "Tolvane only supports short (8.3) file names. Please rename the image"},
      {"clash.png", false, true,
       "The project folder already holds a different file named clash.png. Please rename the image"},
  };
  for (const Row& row : rows) {
    PageWindow w("<p>text</p>");
    const std::string elsewhere = w.scratch.Root() + "pictures/";
    std::filesystem::create_directories(elsewhere);
    const std::string chosen =
        SavePicture((row.inProjectFolder ? w.scratch.Project() : elsewhere) + row.name, 40, 20, Qt::red);
    std::string old;
    if (row.sameNameDiffers) old = Slurp(SavePicture(w.scratch.Project() + row.name, 30, 30, Qt::blue));
    const std::string before = w.Body();
    const auto filesBefore = ListTree(w.scratch.Project());
    DialogScript boxes({"OK"});
    w.InsertPicture(chosen);
    const std::string body = w.Body();
    const std::string src = std::string("src=\"") + row.name + "\"";
    if (*row.message) {
      EXPECT_EQ(body, before) << row.name;
      ASSERT_EQ(boxes.Asked().size(), 1u) << row.name;
      EXPECT_EQ(boxes.Asked()[0], row.message);
      EXPECT_EQ(ListTree(w.scratch.Project()), filesBefore) << row.name;
      if (row.sameNameDiffers) {
        EXPECT_EQ(Slurp(w.scratch.Project() + row.name), old);
      }
      continue;
    }
    EXPECT_TRUE(boxes.Asked().empty()) << row.name;
    EXPECT_NE(body.find(src), std::string::npos) << body;
    EXPECT_EQ(body.find("pictures/"), std::string::npos) << body;
    EXPECT_NE(body.find("width=\"40\""), std::string::npos) << body;
    // Copied beside the project, once; the chosen file itself when it was
    // there already; in the project either way (a full path was chosen).
    EXPECT_EQ(Slurp(w.scratch.Project() + row.name), Slurp(chosen));
    EXPECT_EQ(ListTree(w.scratch.Project()).size(), filesBefore.size() + (row.inProjectFolder ? 0 : 1)) << row.name;
    EXPECT_NE(w.form->Project()->FindFile(w.scratch.Project() + row.name), nullptr) << row.name;
  }
  // The same file once more is taken as it is.
  PageWindow w("<p>text</p>");
  const std::string chosen = SavePicture(w.scratch.Root() + "again.png", 10, 10, Qt::green);
  std::filesystem::copy_file(chosen, w.scratch.Project() + "again.png");
  w.InsertPicture(chosen);
  EXPECT_NE(w.Body().find("src=\"again.png\""), std::string::npos);
}

TEST(InsertCommands, CancelChangesNothing) {
  {
    PageWindow w("<p>text</p>");
    const std::string before = w.Whole();
    const std::pair<vcl::TAction*, const char*> actions[] = {
        {w.form->ImageAct, "picture"}, {w.form->TableAct, "table"}, {w.form->btnHyperlinkAct, "anchor"}};
    for (const auto& [action, what] : actions) {
      OnShown<vcl::TForm>([](vcl::TForm* d) { Press(dynamic_cast<vcl::TButton*>(d->FindComponent("btnCancel"))); });
      action->OnExecute(action);
      Pump();
      EXPECT_EQ(w.Whole(), before) << what;
    }
  }
  PageWindow w("<p>text</p>");
  w.form->HTMLEdit->InsertImage("pic.png", 0, "", "", nullptr, 10, 10, true, "old");
  Pump();
  const std::string before = w.Whole();
  for (auto run : {&ide::Tfrm_Main::mi_CreateImageLinkClick, &ide::Tfrm_Main::mi_AlternativeTextClick}) {
    OnShown<vcl::TForm>([](vcl::TForm* d) {
      if (auto* edit = dynamic_cast<vcl::TEdit*>(d->ActiveControl())) TypeText(edit, "typed");
      Press(dynamic_cast<vcl::TButton*>(d->FindComponent("btnCancel")));
    });
    (w.form->*run)(nullptr);
    Pump();
    EXPECT_EQ(w.Whole(), before);
  }
}

TEST(InsertCommands, TableWithoutNoneClassesOrStyles) {
  struct Row {
    const char* tableStyle;
    const char* cellStyle;
    std::vector<std::string> present, absent;
  };
  const Row rows[] = {
      {"None", "None", {"cellspacing=\"1\"", "cellpadding=\"5\"", "width=\"300\""}, {"None", "class=", "style="}},
      {"border-collapse:collapse;border-width:1px", "background-color:#81cefc",
       {"<table style=\"border-width:1px;border-collapse:collapse;\"", "<td style=\"background-color:#81cefc;\""},
       {"None", "class="}},
  };
  for (const Row& row : rows) {
    PageWindow w("<p>text</p>");
    OnShown<ide::TfrmInsertTable>([&](ide::TfrmInsertTable* d) {
      d->cbTableStyle->SetText(row.tableStyle);
      d->cbCellStyle->SetText(row.cellStyle);
      Press(d->btnOk);
    });
    w.form->TableAct->Execute();
    Pump();
    const std::string body = w.Body();
    size_t cells = 0;
    for (size_t at = body.find("<td"); at != std::string::npos; at = body.find("<td", at + 1)) ++cells;
    EXPECT_EQ(cells, 6u) << body;
    for (const auto& p : row.present) EXPECT_NE(body.find(p), std::string::npos) << p << "\n" << body;
    for (const auto& a : row.absent) EXPECT_EQ(body.find(a), std::string::npos) << a << "\n" << body;
  }
}

TEST(InsertCommands, AnchorAndImageLinkValuesAreAttributeTextThatReadsBack) {
  // Anchor names, typed into the dialog.
  const std::pair<const char*, const char*> anchors[] = {
      {"top", "<a name=\"top\">"}, {"", "<a name=\"\">"}, {"a\"b&c", "<a name=\"a&quot;b&amp;c\">"}};
  for (const auto& [typed, tag] : anchors) {
    PageWindow w("<p>text</p>");
    w.form->psHtmlEditActionList1->UpdateActions();
    OnShown<ide::TInsertAnchorFrm>([typed = typed](ide::TInsertAnchorFrm* d) {
      if (*typed) TypeText(d->edName, typed);
      Press(d->btnOk);
    });
    w.form->btnHyperlinkAct->OnExecute(w.form->btnHyperlinkAct);
    Pump();
    EXPECT_NE(w.Body().find(tag), std::string::npos) << w.Body();
  }

  // Image links: only a URL gives href and the blank before ">"; a URL
  // holding '"' and '&' is written once encoded and survives save and
  // reopen unchanged.
  struct Link {
    const char *url, *name, *target, *tag;
  };
  const Link links[] = {
      {"http://a.example/", "", "", "<a href=\"http://a.example/\" >"},
      {"http://a.example/?q=\"x\"&y=1", "n&1", "_blank",
       "<a href=\"http://a.example/?q=&quot;x&quot;&amp;y=1\" target=\"_blank\" name=\"n&amp;1\" >"},
  };
  for (const Link& l : links) {
    PageWindow w("<p>text</p>");
    // An alternative text, as an empty one is not written back after a reload.
    w.form->HTMLEdit->InsertImage("pic.png", 0, "", "", nullptr, 10, 10, true, "p");
    Pump();
    OnShown<ide::Tfrm_CreateLinkOrAnchor>([&](ide::Tfrm_CreateLinkOrAnchor* d) {
      EXPECT_EQ(d->ed_URL->Text(), "http://");
      d->ed_URL->SetText("");
      TypeText(d->ed_URL, l.url);
      if (*l.name) TypeText(d->ed_Name, l.name);
      if (*l.target) TypeText(d->ed_Target, l.target);
      Press(d->btnOk);
    });
    w.form->mi_CreateImageLinkClick(nullptr);
    Pump();
    const std::string body = w.Body();
    const std::string tag = l.tag;
    const std::string bare = tag.substr(0, tag.size() - 2) + ">";  // the writer may drop the blank
    EXPECT_TRUE(body.find(tag) != std::string::npos || body.find(bare) != std::string::npos) << body;
    w.form->SavePage();
    const std::string saved = Slurp(w.page);
    EXPECT_EQ(saved.find("&amp;amp;"), std::string::npos) << saved;
    EXPECT_EQ(saved.find("&amp;quot;"), std::string::npos) << saved;
    w.form->OpenPage(w.page);
    Pump();
    w.form->SavePage();
    EXPECT_EQ(Slurp(w.page), saved);
  }
}

TEST(InsertCommands, AlternativeTextThroughTheDialog) {
  PageWindow w("<p>text</p>");
  w.form->HTMLEdit->InsertImage("pic.png", 0, "", "", nullptr, 10, 10, true, "old text");
  Pump();
  OnShown<ide::Tfrm_ImageAltText>([](ide::Tfrm_ImageAltText* d) {
    EXPECT_EQ(d->ed_AltText->Text(), "old text");
    d->ed_AltText->SetText("");
    TypeText(d->ed_AltText, "new text");
    Press(d->btnOk);
  });
  w.form->mi_AlternativeTextClick(nullptr);
  Pump();
  EXPECT_NE(w.Body().find("alt=\"new text\""), std::string::npos) << w.Body();
}

TEST(InsertCommands, GraphicsListLeavesTagPicturesOutAndListsEachSourceOnce) {
  const std::string tagPicture = ide::TagImageHtmlForSource(ide::EscapeTagText("PIN 1"));
  struct Row {
    std::string body;
    std::vector<std::string> listed;
  };
  const Row rows[] = {
      {"<p>" + tagPicture + "</p>", {}},
      {"<p><img src=\"a.png\" width=\"5\" height=\"5\"> and <img src=\"a.png\" width=\"5\" height=\"5\"></p>", {"a.png"}},
      {"<p><img src=\"a.png\" width=\"5\" height=\"5\"><img src=\"b.png\" width=\"5\" height=\"5\">" + tagPicture +
           "</p>",
       {"a.png", "b.png"}},
  };
  for (const Row& row : rows) {
    PageWindow w(row.body);
    Grab(w.form->HTMLEdit);
    std::vector<std::string> shown;
    OnShown<ide::Tfrm_DocumentGraphics>([&](ide::Tfrm_DocumentGraphics* d) {
      for (Integer i = 0; i < d->lb_Graphics->Items()->Count(); ++i) shown.push_back((*d->lb_Graphics->Items())[i]);
      Press(d->btnClose);
    });
    w.form->GraphicsAct->Execute();
    Pump();
    EXPECT_EQ(shown, row.listed) << row.body;
  }
}

namespace {

bool HavePdfText() { return std::system("command -v pdftotext >/dev/null 2>&1") == 0; }

std::string ToolOutput(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    pclose(pipe);
  }
  return out;
}

// The left edge (points) of the first word box pdftotext reports, -1
// without one.
double FirstWordLeft(const std::string& bbox) {
  const size_t at = bbox.find("<word xMin=\"");
  if (at == std::string::npos) return -1;
  return std::stod(bbox.substr(at + 12));
}

}  // namespace

TEST(InsertCommands, PrintPreviewClosePrintsNothingAndPrintUsesNoMargins) {
  if (!HavePdfText()) GTEST_SKIP() << "poppler-utils (pdftotext) not installed";
  PageWindow w("<p>Preview words alpha beta</p>");
  const std::string pdf = w.scratch.Root() + "preview.pdf";
  vcl::Printer()->SetPdfTarget(pdf, 210, 297, 300);
  struct PrinterReset {
    ~PrinterReset() { vcl::SetPrinter(nullptr); }
  } reset;
  // The preview takes the printer's page as it is made: made again for
  // the PDF printer.
  vcl::Free(ide::frm_PrintPreview);
  ide::frm_PrintPreview = nullptr;
  ide::CreateCommandForms();
  w.form->psHtmlEditActionList1->UpdateActions();
  ASSERT_TRUE(w.form->printpreviewAct->Enabled());

  // Close: nothing printed. Then Print: the page's words, from the paper's
  // left edge.
  for (const char* button : {"btnClose", "btnPrint"}) {
    bool previewed = false;
    OnShown<vcl::TForm>([&, button](vcl::TForm* d) {
      auto* preview = dynamic_cast<htmledit::TpsHTMLEditBase*>(d->FindComponent("he_PrintPreview"));
      previewed = preview != nullptr;
      if (std::string(button) == "btnClose") {
        auto* p = dynamic_cast<ide::Tfrm_PrintPreview*>(d);
        p->cb_Zoom->SetItemIndex(5);
        p->cb_ZoomChange(p->cb_Zoom);
        SaveGrabOf(d, "ide_print_preview.png");
      }
      Press(dynamic_cast<vcl::TButton*>(d->FindComponent(button)));
    });
    w.form->printpreviewAct->Execute();
    Pump();
    EXPECT_TRUE(previewed);
    EXPECT_EQ(Exists(pdf), std::string(button) == "btnPrint") << button;
  }
  const std::string noMargins = ToolOutput("pdftotext -bbox '" + pdf + "' -");
  EXPECT_NE(noMargins.find(">Preview<"), std::string::npos) << noMargins;
  EXPECT_NE(noMargins.find(">alpha<"), std::string::npos);

  // The editor's print with 100-pixel margins starts further right.
  std::filesystem::remove(pdf);
  w.form->HTMLEdit->Print({100, 100, 100, 100});
  const std::string margins = ToolOutput("pdftotext -bbox '" + pdf + "' -");
  ASSERT_GE(FirstWordLeft(noMargins), 0);
  EXPECT_LT(FirstWordLeft(noMargins), FirstWordLeft(margins));
}
