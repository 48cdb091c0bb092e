// The editor's pixels under the offscreen platform: the page in its
// workspace with frame and shadow, the scroll range of a short and a long
// page, the painting-failed screen, and a manual page for a person to look
// at (written to the build folder).
#include <gtest/gtest.h>

#include <QImage>

#include "EditorFixture.h"
#include "htmledit/view/psBodyNode.h"
#include "htmledit/view/psCaret.h"
#include "rtl/Files.h"
#include "rtl/Streams.h"
#include "vcl/WinApi.h"

using namespace htmledittest;

namespace {

constexpr vcl::TColor kWorkspace = 0x00C08040;  // 0x00BBGGRR

TEST(EditorPaint, APageOutsideTheMemoStyleSitsInItsWorkspaceWithFrameAndShadow) {
  EditorOnForm f(640, 400);
  f.Editor->SetAppWorkspaceColor(kWorkspace);
  f.Editor->SetMemoStyle(false);
  f.Editor->LoadFromString("<p>framed</p>", true, false);
  htmlview::TpsBodyNode* body = f.Editor->RootWindow();
  ASSERT_NE(body, nullptr);
  const htmldoc::TpsRect r = body->GetAbsoluteRect();
  EXPECT_EQ(r.Right - r.Left + 1, 500);
  EXPECT_EQ(r.Left, (f.Editor->ClientWidth() - 500) / 2);
  const QImage image = Grab(f.Editor);
  image.save(QString::fromStdString(std::string(TOLVANE_BUILD_DIR) + "/editor_workspace.png"));
  // The caret stands on the page, before the text, not off the client's
  // corner.
  const htmldoc::TpsPoint caret = f.Editor->GetCaret()->GetClientPos();
  EXPECT_GT(caret.X, r.Left);
  EXPECT_LT(caret.X, r.Left + 40);
  EXPECT_GT(caret.Y, r.Top);
  EXPECT_LT(caret.Y, r.Top + 40);
  const int y = r.Top + 30;  // below the caret
  EXPECT_EQ(PixelAt(image, r.Left - 3, y), kWorkspace);
  EXPECT_EQ(PixelAt(image, r.Left - 2, y), kWorkspace);
  EXPECT_EQ(PixelAt(image, r.Left - 1, y), vcl::clBlack);
  EXPECT_EQ(PixelAt(image, r.Left + 1, y), vcl::clWhite);
  EXPECT_EQ(PixelAt(image, r.Right - 1, y), vcl::clWhite);
  EXPECT_EQ(PixelAt(image, r.Right + 1, y), vcl::clBlack);
  EXPECT_EQ(PixelAt(image, r.Right + 2, y), vcl::clBlack);
  EXPECT_EQ(PixelAt(image, r.Right + 3, y), vcl::clBlack);
  EXPECT_EQ(PixelAt(image, r.Right + 4, y), kWorkspace);
  // The shadow starts one pixel below the top and one right of the left.
  EXPECT_EQ(PixelAt(image, r.Right + 2, r.Top), kWorkspace);
  EXPECT_EQ(PixelAt(image, r.Right + 2, r.Top + 1), vcl::clBlack);
  EXPECT_EQ(PixelAt(image, r.Left, r.Bottom + 2), kWorkspace);
  EXPECT_EQ(PixelAt(image, r.Left + 1, r.Bottom + 2), vcl::clBlack);
  EXPECT_EQ(PixelAt(image, r.Right + 3, r.Bottom + 3), vcl::clBlack);
  EXPECT_EQ(PixelAt(image, r.Left + 1, r.Bottom + 4), kWorkspace);
  EXPECT_EQ(PixelAt(image, 2, 2), kWorkspace);
  // Without the frame the workspace reaches the page.
  f.Editor->SetShowDocumentFrame(false);
  const QImage plain = Grab(f.Editor);
  EXPECT_EQ(PixelAt(plain, r.Left - 1, y), kWorkspace);
  EXPECT_EQ(PixelAt(plain, r.Right + 2, y), kWorkspace);
}

TEST(EditorPaint, AShortPageDisablesTheBarAndALongOneScrolls) {
  EditorOnForm f(400, 300);
  f.Editor->LoadFromString("<p>short</p>", true, false);
  EXPECT_EQ(f.Editor->VertScrollBar().Range(), f.Editor->ClientHeight() + 1);
  EXPECT_EQ(vcl::GetScrollBarArrows(f.Editor->Handle(), vcl::SB_VERT), vcl::ESB_DISABLE_BOTH);
  std::string lines;
  for (int i = 0; i < 80; ++i) lines += "<p>line " + std::to_string(i) + "</p>";
  f.Editor->LoadFromString(lines, true, false);
  const Integer height = f.Editor->GetDocumentHeight();
  EXPECT_GT(height, f.Editor->ClientHeight());
  EXPECT_EQ(f.Editor->VertScrollBar().Range(), height);
  EXPECT_EQ(vcl::GetScrollBarArrows(f.Editor->Handle(), vcl::SB_VERT), vcl::ESB_ENABLE_BOTH);
  // Scrolling moves the surface's origin with the bar.
  EXPECT_FALSE(f.Editor->ScrollPageUp());
  EXPECT_TRUE(f.Editor->ScrollPageDown());
  EXPECT_EQ(f.Editor->ScrollPosition(), static_cast<Integer>(std::nearbyint(f.Editor->Height() * 0.9)));
  EXPECT_EQ(f.Editor->GetViewRect().Top, f.Editor->ScrollPosition());
  f.Editor->ScrollToBottom();
  EXPECT_FALSE(f.Editor->ScrollPageDown());
  f.Editor->ScrollToTop();
  EXPECT_EQ(f.Editor->ScrollPosition(), 0);
  EXPECT_EQ(f.Editor->ClientToDocument({3, 4}).Y, 4);
}

class RaisingEditor : public TpsHTMLEdit {
 public:
  using TpsHTMLEdit::TpsHTMLEdit;
  void PaintDocument() override {
    ++Paints;
    throw htmldoc::EpsHtmlEditException("the page broke");
  }
  int Paints = 0;
};

TEST(EditorPaint, ARaisingPaintGivesTheCentredErrorScreenForGood) {
  vcl::TForm* form = new vcl::TForm(vcl::Application, 0);
  form->SetClientWidth(720);
  form->SetClientHeight(220);
  auto* e = new RaisingEditor(form);
  e->SetParent(form);
  e->SetBounds(10, 10, 700, 200);
  e->SetAppWorkspaceColor(kWorkspace);
  std::vector<std::string> boxes;
  e->OnShowPaintError = [&](const AnsiString& aText) { boxes.push_back(aText); };
  e->Loaded();
  form->Show();
  const QImage image = Grab(e);
  vcl::Application->ProcessMessages();
  EXPECT_TRUE(e->PaintFailed());
  EXPECT_EQ(e->Paints, 1);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], "Exception: EpsHtmlEditException: the page broke");
  // Workspace everywhere but the text, which lies around the middle row.
  int darkTop = image.height(), darkBottom = -1, darkLeft = image.width(), darkRight = -1;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (PixelAt(image, x, y) != kWorkspace) {
        darkTop = std::min(darkTop, y);
        darkBottom = std::max(darkBottom, y);
        darkLeft = std::min(darkLeft, x);
        darkRight = std::max(darkRight, x);
      }
  ASSERT_GE(darkBottom, 0);
  EXPECT_NEAR((darkTop + darkBottom) / 2.0, image.height() / 2.0, 4.0);
  EXPECT_NEAR((darkLeft + darkRight) / 2.0, image.width() / 2.0, 6.0);
  EXPECT_LT(darkBottom - darkTop, 20);
  image.save(QString::fromStdString(std::string(TOLVANE_BUILD_DIR) + "/editor_paint_failed.png"));
  // Later paints show the error screen without trying the page again.
  e->Invalidate();
  const QImage again = Grab(e);
  EXPECT_EQ(e->Paints, 1);
  EXPECT_EQ(again, image);
  EXPECT_FALSE(e->VertScrollBar().Visible());
  vcl::Free(form);
}

TEST(EditorPaint, AManualPageForAPerson) {
  const std::string path = "/usr/share/doc/apache2-doc/manual/en/bind.html";
  if (!rtl::FileExists(path)) GTEST_SKIP() << "apache2-doc is not installed";
  EditorOnForm f(700, 520);
  rtl::TFileStream file(path, rtl::fmOpenRead);
  rtl::TMemoryStream bytes;
  bytes.LoadFromStream(file);
  f.Editor->OnSupportedCustomTag = [](htmldoc::TObjectPtr, const htmldoc::TpsMarkupTag&, bool& aKeep) { aKeep = true; };
  f.Editor->LoadFromStream(bytes, true, true);
  const QImage image = Grab(f.Editor);
  image.save(QString::fromStdString(std::string(TOLVANE_BUILD_DIR) + "/editor_manual_page.png"));
  // Text was drawn: dark pixels on the white page.
  int dark = 0;
  for (int y = 0; y < image.height(); y += 2)
    for (int x = 0; x < image.width(); x += 2)
      if (qGray(image.pixel(x, y)) < 100) ++dark;
  EXPECT_GT(dark, 200);
}

}  // namespace
