// Measuring styled items on the fake-metrics canvas (every character 8
// wide, text 13 high), the shortcut texts, and what painting draws as
// calls on the recording canvas.
#include <gtest/gtest.h>

#include "MenuTestSupport.h"
#include "vcl/ActnList.h"
#include "vcl/ImgList.h"
#include "vcl/Pictures.h"
#include "vcl/TestCanvases.h"

using namespace menutest;

namespace {

vcl::TSize Measure(TMenuItem* item, bool sideBar = false, Integer startHeight = 15) {
  vcl::TFakeMetricsCanvas canvas;
  Integer w = 0, h = startHeight;
  MeasureMenuItem(item, &canvas, w, h, sideBar);
  return {w, h};
}

}  // namespace

TEST(MenuMeasure, ItemsOfEveryKindAsATable) {
  vcl::TComponent owner(nullptr);
  auto* popup = new TLumPopupMenu(&owner);
  auto* images = new vcl::TImageList(&owner);
  images->SetWidth(16);
  images->SetHeight(16);
  images->Add(std::make_unique<vcl::TBitmap>(16, 16).get(), nullptr);
  auto* main = new TLumMainMenu(&owner);
  TMenuItem* root = AddItem(main->Items(), "File");
  TMenuItem* rootImage = AddItem(main->Items(), "Edit");
  TMenuItem* plain = AddItem(popup->Items(), "Open");
  TMenuItem* line = AddItem(popup->Items(), "-");
  TMenuItem* shortcut = AddItem(popup->Items(), "Open");
  shortcut->SetShortCut(vcl::ShortCut('O', {vcl::ssCtrl}));
  TMenuItem* windowsKey = AddItem(popup->Items(), "Open");
  windowsKey->SetShortCut(0x200 | 'W');
  TMenuItem* bitmap = AddItem(popup->Items(), "Open");
  bitmap->Bitmap()->SetSize(20, 20);
  TMenuItem* afterBreak = AddItem(popup->Items(), "Open");
  afterBreak->SetBreak(vcl::mbBreak);
  TMenuItem* notes = AddItem(popup->Items(), "Open\\nOpens it");

  struct Case {
    const char* what;
    TMenuItem* item;
    bool sideBar;
    vcl::TSize expected;
  } cases[] = {
      // icon bar 24 + 15, text 32 + 7, height max(15 - 3 + 2, 13 + 6) even, + 17
      {"plain", plain, false, {95, 20}},
      {"separator", line, false, {-2, 3}},
      {"shortcut", shortcut, false, {143, 20}},                 // "Open" + "Ctrl+O"
      {"windows key", windowsKey, false, {167, 20}},            // "Open" + "Win+W", then "Win+" again
      {"bitmap", bitmap, false, {95, 22}},                      // height at least 20, + 2
      {"side bar", plain, true, {120, 20}},                     // + 24 + 1
      {"after a break", afterBreak, true, {95, 20}},            // no side bar after a break
      {"notes", notes, false, {120, 33}},                       // the note line: 64 + 24 + 32; + 13
      {"root", root, false, {32, 19}},                         // -7 + 32 + 7; the bar button's 19
  };
  for (const Case& c : cases) EXPECT_EQ(Measure(c.item, c.sideBar), c.expected) << c.what;

  popup->SetImages(images);
  EXPECT_EQ(Measure(plain), (vcl::TSize{95, 20})) << "an image 16 high under the text's 19";
  EXPECT_EQ(Measure(plain, false, 10), (vcl::TSize{95, 20})) << "the image, not the start, decides";
  main->SetImages(images);
  rootImage->SetImageIndex(0);
  EXPECT_EQ(Measure(rootImage), (vcl::TSize{16 + 32 + 7, 19})) << "a root item as wide as its image";
  EXPECT_EQ(Measure(root), (vcl::TSize{-7 + 32 + 7, 19})) << "a root item without an image index";

  // Ordinary heights are even, whatever the start.
  for (Integer start = 10; start < 30; ++start) {
    EXPECT_EQ(Measure(plain, false, start).cy % 2, 0) << start;
    EXPECT_EQ(Measure(bitmap, false, start).cy % 2, 0) << start;
  }
  // Notes off: the whole caption, backslash and all, on one line.
  popup->SetShowNotes(false);
  EXPECT_EQ(Measure(notes), (vcl::TSize{39 + 14 * 8 + 7 + 17, 20}));
  plain->SetVisible(false);
  EXPECT_EQ(Measure(plain), (vcl::TSize{0, 0})) << "invisible";
}

TEST(MenuMeasure, ShortcutTexts) {
  struct Case {
    vcl::TShortCut shortcut;
    bool international;
    const char* text;
  } cases[] = {
      {vcl::ShortCut('S', {vcl::ssCtrl}), false, "Ctrl+S"},
      {static_cast<vcl::TShortCut>(0x200 | 'E'), false, "Win+E"},
      {vcl::ShortCut('S', {vcl::ssCtrl}), true, "Ctrl+S"},
      {vcl::ShortCut('S', {vcl::ssCtrl, vcl::ssShift, vcl::ssAlt}), true, "Alt+Ctrl+Shift+S"},
      {vcl::ShortCut(vcl::VK_F5, {}), true, "F5"},
      {vcl::ShortCut(vcl::VK_F5 + 12, {vcl::ssShift}), true, "Shift+F17"},
      {vcl::ShortCut(vcl::VK_NEXT, {vcl::ssCtrl}), true, "Ctrl+Page down"},
      {vcl::ShortCut(vcl::VK_DELETE, {}), true, "Delete"},
      {vcl::ShortCut(vcl::VK_RETURN, {vcl::ssAlt}), true, "Alt+Enter"},
      {vcl::ShortCut(vcl::VK_OEM_PLUS, {vcl::ssCtrl}), true, "Ctrl+="},
      {static_cast<vcl::TShortCut>(0x200 | 'E'), true, "E"},
  };
  for (const Case& c : cases) EXPECT_EQ(MenuShortCutText(c.shortcut, c.international), c.text) << c.text;
}

TEST(MenuMeasure, SideBarAndCaptionPaintedOnceForThePopup) {
  vcl::TComponent owner(nullptr);
  auto* popup = new TLumPopupMenu(&owner);
  TCustomLumMenuStyler* styler = popup->GetCurrentStyler();
  styler->SideBar()->SetVisible(true);
  styler->SideBar()->SetVisibleIn(viFirstLevel);
  styler->SideBar()->SetCaption("Tolvane");
  std::vector<TMenuItem*> items;
  for (const char* c : {"One", "Two", "-", "Three"}) items.push_back(AddItem(popup->Items(), c));
  vcl::TRecordingCanvas rec;
  Integer top = 0;
  for (TMenuItem* item : items) {
    vcl::TSize size = Measure(item, true);
    DrawMenuItem(item, &rec, vcl::Rect(0, top, 120, top + size.cy), {}, SideBarShown(item, styler));
    top += size.cy;
  }
  int captions = 0;
  for (const auto& r : rec.Records())
    if (r.Op == "TextOut" && r.Text == "Tolvane") ++captions;
  EXPECT_EQ(captions, 1) << "the first visible item paints the bar for all";
  // Items start right of the bar.
  bool textRightOfBar = false;
  for (const auto& r : rec.Records())
    if (r.Op == "TextOut" && r.Text == "One") textRightOfBar = r.Args[0] >= 25 + 24 + 8;
  EXPECT_TRUE(textRightOfBar);
}

TEST(MenuMeasure, AnItemWithoutAStyledMenuIsNotPainted) {
  vcl::TComponent owner(nullptr);
  vcl::TPopupMenu plain(&owner);
  TMenuItem* item = AddItem(plain.Items(), "Plain");
  vcl::TRecordingCanvas rec;
  DrawMenuItem(item, &rec, vcl::Rect(0, 0, 100, 20), {}, false);
  EXPECT_TRUE(rec.Records().empty());
  Integer w = 7, h = 9;
  MeasureMenuItem(item, &rec, w, h, false);
  EXPECT_EQ(w, 7) << "the defaults stay";
  EXPECT_EQ(h, 9);
}
