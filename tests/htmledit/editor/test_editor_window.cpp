// The component as a window: its border in each style, the carriage
// return it turns away without WantReturns, the popup menus it forgets
// when they are freed, the downsize mark it copies, and the hint window
// the view shows its hints in.
#include <gtest/gtest.h>

#include "EditorFixture.h"
#include "htmledit/control/psVCLHintWindow.h"
#include "htmledit/view/psHintAreas.h"
#include "vcl/Menus.h"
#include "vcl/Messages.h"
#include "vcl/Pictures.h"

using namespace htmledittest;

namespace {

int DarkPixels(const QImage& aImage) {
  int dark = 0;
  for (int y = 0; y < aImage.height(); ++y)
    for (int x = 0; x < aImage.width(); ++x) dark += qGray(aImage.pixel(x, y)) < 100;
  return dark;
}

TEST(EditorWindow, TheBorderInEachStyleAndThePageStillEditedAfterTheWindowIsMadeAgain) {
  EditorOnForm f(400, 300);
  TpsHTMLEdit* e = f.Editor;
  e->LoadFromString("<p>bordered<!-- EDITING POSITION --></p>", true, false);
  const Integer bar = e->NonClientInsets().Right - e->NonClientInsets().Left;
  struct Case {
    vcl::TBorderStyle Style;
    bool Ctl3D;
    Integer Border;
    bool ClientEdge;
    bool PlainBorder;
  };
  // The default first: a sunken client edge two pixels wide. The look
  // is read when the window is made, so Ctl3D changes while borderless.
  for (const Case& c : {Case{vcl::bsSingle, true, 2, true, false}, Case{vcl::bsNone, true, 0, false, false},
                        Case{vcl::bsSingle, false, 1, false, true}, Case{vcl::bsNone, false, 0, false, false},
                        Case{vcl::bsSingle, true, 2, true, false}}) {
    SCOPED_TRACE(static_cast<int>(c.Style) * 10 + c.Ctl3D);
    e->SetCtl3D(c.Ctl3D);
    e->SetBorderStyle(c.Style);
    vcl::Application->ProcessMessages();
    EXPECT_EQ(e->GetBorderStyle(), c.Style);
    EXPECT_EQ(e->NonClientInsets().Left, c.Border);
    EXPECT_EQ(e->NonClientInsets().Top, c.Border);
    EXPECT_EQ(e->ClientWidth(), 400 - 2 * c.Border - bar);
    EXPECT_EQ(e->ClientHeight(), 300 - 2 * c.Border);
    EXPECT_EQ((e->WindowExStyle() & vcl::WS_EX_CLIENTEDGE) != 0, c.ClientEdge);
    EXPECT_EQ((e->WindowStyle() & vcl::WS_BORDER) != 0, c.PlainBorder);
    const QImage window = GrabWindow(e);
    if (c.Border > 0) EXPECT_NE(PixelAt(window, 0, 150), vcl::clWhite);
    else EXPECT_EQ(PixelAt(window, 0, 150), vcl::clWhite);
    // The page is painted inside and still takes typing.
    EXPECT_GT(DarkPixels(Grab(e)), 20);
  }
  e->InsertText("!", false);
  EXPECT_EQ(f.Body(), "<p>bordered!</p>");
}

TEST(EditorWindow, WithoutWantReturnsACarriageReturnBecomesNothingAfterOnKeyPress) {
  EditorOnForm f;
  std::vector<int> heard;
  f.Editor->OnKeyPress = [&](vcl::TObject*, rtl::WideChar& aKey) { heard.push_back(aKey); };
  const auto press = [&](rtl::WideChar aKey) {
    vcl::TMessage m{};
    m.Msg = vcl::WM_CHAR;
    m.WParam = aKey;
    f.Editor->Dispatch(m);
    return static_cast<int>(m.WParam);
  };
  EXPECT_EQ(press(u'\r'), 13);
  f.Editor->WantReturns = false;
  EXPECT_EQ(press(u'\r'), 0);
  EXPECT_EQ(press(u'a'), 'a');
  EXPECT_EQ(press(u'\n'), 10);
  // The handler saw each character as typed.
  EXPECT_EQ(heard, (std::vector<int>{13, 13, 'a', 10}));
}

TEST(EditorWindow, APopupMenuFreedIsForgottenByTheOneItWasGivenTo) {
  EditorOnForm f;
  auto* link = new vcl::TPopupMenu(f.Form);
  auto* table = new vcl::TPopupMenu(f.Form);
  auto* image = new vcl::TPopupMenu(f.Form);
  f.Editor->SetLinkPopupMenu(link);
  f.Editor->SetTablePopupMenu(table);
  f.Editor->SetImagePopupMenu(image);
  f.Editor->SetPopupMenu(link);
  EXPECT_EQ(f.Editor->GetLinkPopupMenu(), link);
  EXPECT_EQ(f.Editor->GetTablePopupMenu(), table);
  EXPECT_EQ(f.Editor->GetImagePopupMenu(), image);
  vcl::Free(link);
  EXPECT_EQ(f.Editor->GetLinkPopupMenu(), nullptr);
  EXPECT_EQ(f.Editor->PopupMenu(), nullptr);
  EXPECT_EQ(f.Editor->GetTablePopupMenu(), table);
  // A menu taken back is no longer watched on the editor's behalf.
  f.Editor->SetTablePopupMenu(nullptr);
  f.Editor->SetImagePopupMenu(table);
  vcl::Free(image);
  EXPECT_EQ(f.Editor->GetImagePopupMenu(), table);
  vcl::Free(table);
  EXPECT_EQ(f.Editor->GetImagePopupMenu(), nullptr);
}

TEST(EditorWindow, TheDownsizeMarkIsACopyOfThePictureGiven) {
  EditorOnForm f;
  vcl::TPicture picture;
  {
    vcl::TBitmap bitmap;
    bitmap.SetSize(10, 12);
    picture.SetGraphic(&bitmap);
  }
  f.Editor->SetImageDownsizeOverlay(&picture);
  ASSERT_NE(f.Editor->ImageDownsizeOverlay(), nullptr);
  EXPECT_NE(f.Editor->ImageDownsizeOverlay(), picture.Graphic());
  EXPECT_EQ(f.Editor->ImageDownsizeOverlay()->Width(), 10);
  EXPECT_EQ(f.Editor->ImageDownsizeOverlay()->Height(), 12);
  // The picture given may change or go; the mark stays.
  picture.Graphic()->SetWidth(30);
  EXPECT_EQ(f.Editor->ImageDownsizeOverlay()->Width(), 10);
}

TEST(EditorWindow, TheHintWindowShowsTheTextBelowThePointInTheAreasColourAndWidth) {
  EditorOnForm f;
  auto settings = std::make_unique<htmlview::TpsHintSettings>();
  settings->HintColor = 0x00CCFFEE;
  settings->HintMaxWidth = 120;
  htmlview::TpsRectangularHintTriggerArea area(nullptr, {0, 0, 10, 10}, std::move(settings), "");
  const std::string text = "an alternative text long enough to be broken into lines";
  std::unique_ptr<htmlview::TpsHintWindow> hint = f.Editor->CreateHintWindow({300, 200}, &area, text);
  auto* shown = dynamic_cast<htmledit::TpsVCLHintWindow*>(hint.get());
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(hint->Area, &area);
  vcl::THintWindow* window = shown->Window();
  ASSERT_NE(window, nullptr);
  vcl::Application->ProcessMessages();
  EXPECT_TRUE(window->Showing());
  EXPECT_EQ(window->Color(), static_cast<vcl::TColor>(0x00CCFFEE));
  EXPECT_EQ(window->Left(), 300);
  EXPECT_EQ(window->Top(), 232);
  EXPECT_LE(window->Width(), 120 + 6);
  // Broken into lines at that width: taller than one line.
  EXPECT_GT(window->Height(), 2 * window->Canvas()->TextHeight("Ag"));
  EXPECT_EQ(window->Caption(), text);
  hint.reset();
}

}  // namespace
