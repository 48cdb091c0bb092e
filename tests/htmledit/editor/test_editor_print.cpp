// Printing through the class library's printer to a PDF file (A4 at 300
// pixels per inch): the pages poppler's tools read back (count, size,
// text in order, the rendered first page), the screen the same before and
// after, and the printer's errors.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <cstdio>
#include <regex>
#include <string>
#include <vector>

#include "CaretNotation.h"
#include "EditorFixture.h"
#include "vcl/Printers.h"

using namespace htmledittest;

namespace {

bool HaveTool(const char* aName) {
  return std::system((std::string("command -v ") + aName + " >/dev/null 2>&1").c_str()) == 0;
}

std::string RunTool(const std::string& aCommand) {
  std::string out;
  if (FILE* pipe = popen(aCommand.c_str(), "r")) {
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    pclose(pipe);
  }
  return out;
}

// The process's printer aimed at a PDF file of a temporary folder for the
// test's life, then back to a fresh one.
struct PdfPrinter {
  PdfPrinter() {
    File = QDir(Dir.path()).filePath("print.pdf").toStdString();
    vcl::Printer()->SetPdfTarget(File, 210, 297, 300);
  }
  ~PdfPrinter() { vcl::SetPrinter(nullptr); }
  QTemporaryDir Dir;
  std::string File;
};

// Paragraphs "Line 001 alpha beta gamma" and on.
std::string NumberedLines(int aCount) {
  std::string html;
  char line[96];
  for (int i = 1; i <= aCount; ++i) {
    std::snprintf(line, sizeof line, "<p>Line %03d alpha beta gamma delta</p>", i);
    html += line;
  }
  return html;
}

TEST(Printer, TargetsAndErrors) {
  vcl::TPrinter printer;
  printer.SetNoTarget();
  EXPECT_FALSE(printer.HasTarget());
  EXPECT_EQ(printer.PageWidth(), 0);
  EXPECT_EQ(printer.PageHeight(), 0);
  EXPECT_EQ(printer.XPixelsPerInch(), 0);
  try {
    printer.BeginDoc();
    ADD_FAILURE() << "no error";
  } catch (const vcl::EPrinter& e) {
    EXPECT_STREQ(e.what(), "Printer selected is not valid");
  }
  EXPECT_FALSE(printer.Printing());
  EXPECT_THROW(printer.NewPage(), vcl::EPrinter);
  EXPECT_THROW(printer.EndDoc(), vcl::EPrinter);
  EXPECT_THROW(printer.Canvas()->FillRect({0, 0, 10, 10}), rtl::EInvalidOperation);

  QTemporaryDir dir;
  const std::string file = QDir(dir.path()).filePath("t.pdf").toStdString();
  printer.SetPdfTarget(file, 210, 297, 300);
  // A4 as whole points (595 x 842) at 300 pixels per inch.
  EXPECT_EQ(printer.PageWidth(), 2479);
  EXPECT_EQ(printer.PageHeight(), 3508);
  EXPECT_EQ(printer.XPixelsPerInch(), 300);
  EXPECT_EQ(printer.YPixelsPerInch(), 300);
  printer.Title = "Title";
  printer.BeginDoc();
  EXPECT_TRUE(printer.Printing());
  EXPECT_EQ(printer.PageNumber(), 1);
  EXPECT_EQ(printer.PageWidth(), 2479);
  EXPECT_EQ(printer.PageHeight(), 3508);
  try {
    printer.BeginDoc();
    ADD_FAILURE() << "no error";
  } catch (const vcl::EPrinter& e) {
    EXPECT_STREQ(e.what(), "Printing in progress");
  }
  EXPECT_THROW(printer.SetNoTarget(), vcl::EPrinter);
  printer.Canvas()->Brush()->SetColor(vcl::clBlack);
  printer.Canvas()->FillRect({0, 0, 100, 100});
  printer.NewPage();
  EXPECT_EQ(printer.PageNumber(), 2);
  printer.EndDoc();
  EXPECT_FALSE(printer.Printing());
  EXPECT_TRUE(QFile::exists(QString::fromStdString(file)));
  if (HaveTool("pdfinfo")) {
    const std::string info = RunTool("pdfinfo '" + file + "'");
    EXPECT_TRUE(std::regex_search(info, std::regex("Pages:\\s+2\\n"))) << info;
    EXPECT_TRUE(std::regex_search(info, std::regex("Title:\\s+Title\\n"))) << info;
  }
  // An aborted document leaves no file.
  QFile::remove(QString::fromStdString(file));
  printer.BeginDoc();
  printer.Abort();
  EXPECT_TRUE(printer.Aborted());
  EXPECT_FALSE(printer.Printing());
  EXPECT_FALSE(QFile::exists(QString::fromStdString(file)));
}

TEST(EditorPrint, PrintingToPdfGivesThePagesAndLeavesTheScreenAsItWas) {
  if (!HaveTool("pdfinfo") || !HaveTool("pdftotext") || !HaveTool("pdftoppm"))
    GTEST_SKIP() << "poppler-utils (pdfinfo, pdftotext, pdftoppm) not installed";
  PdfPrinter pdf;
  EditorOnForm f;
  f.Editor->SmartTags.Enabled = false;
  f.Editor->SetMemoStyle(false);
  constexpr int kLines = 120;
  f.Editor->CodeGenerator.SaveLastEditingPosition = true;
  f.Editor->LoadFromString(NumberedLines(kLines), true, false);
  f.Editor->ScrollTo(200);
  const std::string before = f.Editor->SaveToString(true, true);
  const Integer scroll = f.Editor->ScrollPosition();
  const QImage grabBefore = Grab(f.Editor);

  f.Editor->Print({100, 100, 100, 100});

  EXPECT_EQ(f.Editor->SaveToString(true, true), before);
  EXPECT_EQ(f.Editor->ScrollPosition(), scroll);
  EXPECT_EQ(Grab(f.Editor), grabBefore);
  EXPECT_FALSE(f.Editor->Printing());

  const std::string info = RunTool("pdfinfo -f 1 -l 9 '" + pdf.File + "'");
  EXPECT_TRUE(std::regex_search(info, std::regex("Pages:\\s+3\\n"))) << info;
  for (int page = 1; page <= 3; ++page)
    EXPECT_TRUE(std::regex_search(info, std::regex("Page\\s+" + std::to_string(page) + " size:\\s+595 x 842 pts \\(A4\\)")))
        << info;

  // Every line's words, in order, as text.
  const std::string text = RunTool("pdftotext -layout '" + pdf.File + "' -");
  std::vector<int> numbers;
  const std::regex line("Line (\\d{3}) alpha beta gamma delta");
  for (auto it = std::sregex_iterator(text.begin(), text.end(), line); it != std::sregex_iterator(); ++it)
    numbers.push_back(std::stoi((*it)[1]));
  ASSERT_EQ(numbers.size(), static_cast<size_t>(kLines)) << text.substr(0, 2000);
  for (int i = 0; i < kLines; ++i) EXPECT_EQ(numbers[static_cast<size_t>(i)], i + 1);
  // The third page holds the end, the first the start.
  const std::string page3 = RunTool("pdftotext -f 3 -l 3 '" + pdf.File + "' -");
  EXPECT_NE(page3.find("Line 120"), std::string::npos);
  EXPECT_EQ(page3.find("Line 001"), std::string::npos);

  // The first page's pixels, rendered at 100 pixels per inch (a third of
  // the printer's): ink inside the margins of 100 printer pixels, none in
  // them and no page frame.
  const std::string png = QDir(pdf.Dir.path()).filePath("page").toStdString();
  RunTool("pdftoppm -r 100 -f 1 -l 1 -png '" + pdf.File + "' '" + png + "'");
  QImage page(QString::fromStdString(png + "-1.png"));
  ASSERT_FALSE(page.isNull());
  EXPECT_EQ(page.width(), 827);
  EXPECT_EQ(page.height(), 1170);
  page.save(QDir::current().filePath("editor_print_page1.png"));
  const auto inkIn = [&](int x0, int y0, int x1, int y1) {
    int ink = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x)
        if (qGray(page.pixel(x, y)) < 160) ++ink;
    return ink;
  };
  EXPECT_EQ(inkIn(0, 0, 33, 1170), 0);
  EXPECT_EQ(inkIn(0, 0, 827, 33), 0);
  EXPECT_EQ(inkIn(794, 0, 827, 1170), 0);
  EXPECT_GT(inkIn(33, 33, 433, 133), 300);  // the first lines
  EXPECT_EQ(inkIn(433, 33, 794, 1170), 0);  // right of the short lines
}

TEST(EditorPrint, WithoutAPrinterPrintRaisesThePrinterErrorAndTheScreenStays) {
  vcl::Printer()->SetNoTarget();
  EditorOnForm f;
  // The smart-tag threads repaint marked lines whenever they finish; the
  // grabs compare the page alone.
  f.Editor->SmartTags.Enabled = false;
  f.Editor->LoadFromString(NumberedLines(30), true, false);
  const std::string before = f.Editor->SaveToString(true, true);
  const QImage grabBefore = Grab(f.Editor);
  try {
    f.Editor->Print({100, 100, 100, 100});
    ADD_FAILURE() << "no error";
  } catch (const vcl::EPrinter& e) {
    EXPECT_STREQ(e.what(), "Printer selected is not valid");
  }
  EXPECT_FALSE(f.Editor->Printing());
  EXPECT_EQ(f.Editor->SaveToString(true, true), before);
  EXPECT_EQ(Grab(f.Editor), grabBefore);
  vcl::SetPrinter(nullptr);
}

}  // namespace
