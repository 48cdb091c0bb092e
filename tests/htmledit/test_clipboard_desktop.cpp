// The clipboard routines over the desktop's clipboard (Qt's, offscreen):
// what the editor puts there reads back for other programs as text/html
// and text/plain, and another program's text/html and text/plain come back
// through GetHtml, GetFragment and GetUnicodeText.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "htmledit/control/psClipboardDesktop.h"
#include "vcl/ClipboardData.h"
#include "vcl/Forms.h"

using namespace htmledit;

namespace {

class DesktopClipboard : public ::testing::Test {
 protected:
  void SetUp() override {
    vcl::InitApplication();
    QGuiApplication::clipboard()->clear();
    SetClipboardBackend(&desktop);
  }
  void TearDown() override { SetClipboardBackend(nullptr); }
  static const QMimeData* Mime() { return QGuiApplication::clipboard()->mimeData(); }
  TpsDesktopClipboard desktop;
};

std::string Bytes(const QByteArray& aBytes) { return std::string(aBytes.constData(), static_cast<size_t>(aBytes.size())); }

}  // namespace

TEST_F(DesktopClipboard, TheEditorsCopyReadsAsHtmlAndText) {
  const std::string html = "<body><p>caf\xc3\xa9</p></body>";
  desktop.Open();
  TpsClipboard::PutHtml(html, 7, 18);
  TpsClipboard::PutUnicodeText(u"caf\u00e9 \u2019x\u2019");
  desktop.Close();

  const QMimeData* mime = Mime();
  ASSERT_NE(mime, nullptr);
  // Other programs: the HTML text from StartHTML to EndHTML, and the text.
  EXPECT_EQ(Bytes(mime->data("text/html")), html + "\r\n");
  EXPECT_EQ(mime->text(), QString::fromUtf8("caf\xc3\xa9 \xe2\x80\x99x\xe2\x80\x99"));
  // Our readers: the exact bytes.
  const std::string block = TpsClipboard::BuildHtmlFormat(html, 7, 18);
  EXPECT_EQ(desktop.GetData(TpsClipboard::HtmlFormat()), block);
  EXPECT_EQ(TpsClipboard::GetHtml(), block.substr(0, block.size() - 1));
  EXPECT_EQ(TpsClipboard::GetFragment(TpsClipboard::GetHtml()), "<p>caf\xc3\xa9</p>");
  EXPECT_EQ(TpsClipboard::GetUnicodeText(), u"caf\u00e9 \u2019x\u2019");
  EXPECT_EQ(desktop.GetData(CF_UNICODETEXT), std::string("c\0a\0f\0\xe9\0 \0\x19\x20x\0\x19\x20\0\0", 18));
  EXPECT_EQ(desktop.GetData(CF_TEXT), "caf\xc3\xa9 \xe2\x80\x99x\xe2\x80\x99");
  EXPECT_TRUE(desktop.HasFormat(TpsClipboard::HtmlFormat()));
}

TEST_F(DesktopClipboard, PlainTextAloneAndNothing) {
  EXPECT_EQ(TpsClipboard::GetHtml(), "");
  EXPECT_EQ(TpsClipboard::GetUnicodeText(), u"");
  EXPECT_FALSE(desktop.HasFormat(TpsClipboard::HtmlFormat()));
  // UTF-8 text set alone is offered as text/plain and reads as Unicode text.
  desktop.SetData(CF_TEXT, "line one\nline \xc3\xa9");
  EXPECT_EQ(Mime()->text(), QString::fromUtf8("line one\nline \xc3\xa9"));
  EXPECT_EQ(TpsClipboard::GetUnicodeText(), u"line one\nline \u00e9");
  EXPECT_EQ(TpsClipboard::GetHtml(), "");
  // Opening and closing without setting leaves the clipboard as it was.
  desktop.Open();
  desktop.Close();
  EXPECT_EQ(Mime()->text(), QString::fromUtf8("line one\nline \xc3\xa9"));
}

TEST_F(DesktopClipboard, AnotherProgramsHtmlAndText) {
  struct Case {
    const char* name;
    const char* html;
    const char* fragment;
  };
  const Case cases[] = {
      {"fragment markers", "<html><body>before<!--StartFragment--><b>bold</b><!--EndFragment-->after</body></html>",
       "<b>bold</b>"},
      {"the body's content without markers", "<html><BODY class=\"x\"><p>caf\xc3\xa9</p></BODY></html>",
       "<p>caf\xc3\xa9</p>"},
      {"a body that is never closed", "<body bgcolor=white><i>x</i>", "<i>x</i>"},
      {"everything without a body", "<p>just this</p>", "<p>just this</p>"},
      {"a start marker without an end", "<body><!--StartFragment-->a</body>", "<!--StartFragment-->a"},
  };
  for (const Case& c : cases) {
    auto* mime = new QMimeData;
    mime->setHtml(QString::fromUtf8(c.html));
    mime->setText("plain \u00e9");
    QGuiApplication::clipboard()->setMimeData(mime);
    ASSERT_TRUE(desktop.HasFormat(TpsClipboard::HtmlFormat())) << c.name;
    const AnsiString data = TpsClipboard::GetHtml();
    EXPECT_EQ(TpsClipboard::GetFragment(data), c.fragment) << c.name;
    // The header is the one PutHtml writes over the same text.
    const std::string html = c.html;
    const size_t first = html.find(c.fragment);
    const std::string block = TpsClipboard::BuildHtmlFormat(html, static_cast<Integer>(first + 1),
                                                            static_cast<Integer>(first + std::string(c.fragment).size()));
    EXPECT_EQ(data, block.substr(0, block.size() - 1)) << c.name;
    EXPECT_EQ(TpsClipboard::GetUnicodeText(), u"plain \u00e9") << c.name;
  }
}
