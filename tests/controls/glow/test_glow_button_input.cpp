// The glow button's behaviour through the class library's input messages:
// groups and check buttons, the drop-down part and its menu, the keyboard
// and dialog keys, the action link, and the key tip it shows.
#include <gtest/gtest.h>

#include "GlowButtonRig.h"
#include "controls/GDIPicture.h"
#include "rtl/Streams.h"
#include "vcl/ActnList.h"
#include "vcl/ImgList.h"
#include "vcl/Pictures.h"
#include "vcl/StdCtrls.h"

using namespace glowtest;

namespace {

struct Counter {
  int clicks = 0;
  void Attach(TLumGlowButton* b) {
    b->OnClick = [this](vcl::TObject*) { ++clicks; };
  }
};

void Key(TLumGlowButton* b, vcl::Word vk, char16_t ch) {
  b->Perform(vcl::WM_KEYDOWN, vk, 0);
  if (ch) b->Perform(vcl::WM_CHAR, ch, 0);
  b->Perform(vcl::WM_KEYUP, vk, 0);
}

}  // namespace

TEST(GlowButtonInput, GroupsPressOneButtonAndReleaseTheOthers) {
  for (bool allowAllUp : {false, true}) {
    Rig rig;
    TLumGlowButton* first = rig.Add(20, 20);
    TLumGlowButton* second = rig.Add(140, 20);
    for (TLumGlowButton* b : {first, second}) {
      b->SetGroupIndex(1);
      b->SetAllowAllUp(allowAllUp);
    }
    Rig::ClickAt(first, 50, 20);
    EXPECT_TRUE(first->Down());
    EXPECT_FALSE(second->Down());
    Rig::ClickAt(second, 50, 20);
    EXPECT_FALSE(first->Down()) << allowAllUp;
    EXPECT_TRUE(second->Down()) << allowAllUp;
    // Clicking the pressed one again releases it only when all may be up.
    Rig::ClickAt(second, 50, 20);
    EXPECT_EQ(second->Down(), !allowAllUp);
    EXPECT_FALSE(first->Down());
    // Setting Down is refused the same way.
    first->SetDown(true);
    first->SetDown(false);
    EXPECT_EQ(first->Down(), !allowAllUp);
  }
}

TEST(GlowButtonInput, APlainButtonWithoutGroupIsNeverDown) {
  Rig rig;
  TLumGlowButton* b = rig.Add();
  b->SetDown(true);
  EXPECT_FALSE(b->Down());
  Counter c;
  c.Attach(b);
  Rig::ClickAt(b, 50, 20);
  EXPECT_FALSE(b->Down());
  EXPECT_EQ(c.clicks, 1);
}

TEST(GlowButtonInput, ACheckButtonReleasedOutsideKeepsItsState) {
  Rig rig;
  TLumGlowButton* b = rig.Add();
  b->SetStyle(bsCheck);
  Counter c;
  c.Attach(b);
  struct Step {
    int releaseX;
    bool down;
    int clicks;
  } steps[] = {{150, false, 0}, {50, true, 1}, {-20, true, 1}, {50, false, 2}, {40, true, 3}, {160, true, 3}};
  for (const Step& s : steps) {
    Rig::Press(b, 50, 20);
    Rig::Move(b, s.releaseX, 20);
    Rig::Release(b, s.releaseX, 20);
    EXPECT_EQ(b->Down(), s.down) << s.releaseX;
    EXPECT_EQ(c.clicks, s.clicks) << s.releaseX;
  }
}

TEST(GlowButtonInput, ASplitButtonOpensItsMenuFromTheArrowZoneAndClicksElsewhere) {
  Rig rig;
  TLumGlowButton* b = rig.Add(20, 20);
  auto* menu = new RecordingMenu(rig.form);
  b->SetDropDownButton(true);
  b->SetDropDownMenu(menu);
  Counter c;
  c.Attach(b);
  int dropDowns = 0;
  b->OnDropDown = [&](vcl::TObject*) { ++dropDowns; };
  bool droppedWhileOpen = false;
  menu->whileOpen = [&] { droppedWhileOpen = b->DroppedDown(); };
  struct Case {
    int x;
    bool menu;
  } cases[] = {{86, false}, {87, true}, {89, true}, {10, false}, {99, true}};
  for (const Case& k : cases) {
    const size_t shownBefore = menu->shownAt.size();
    const int clicksBefore = c.clicks;
    Rig::ClickAt(b, k.x, 20);
    EXPECT_EQ(menu->shownAt.size() - shownBefore, k.menu ? 1u : 0u) << k.x;
    EXPECT_EQ(c.clicks - clicksBefore, k.menu ? 0 : 1) << k.x;
  }
  EXPECT_EQ(dropDowns, 3);
  EXPECT_TRUE(droppedWhileOpen);
  EXPECT_FALSE(b->DroppedDown());
  // Below the button's bottom-left corner, on the screen.
  const vcl::TPoint corner = rig.panel->ClientToScreen({20, 20 + 41});
  EXPECT_EQ(menu->shownAt.back().X, corner.X);
  EXPECT_EQ(menu->shownAt.back().Y, corner.Y);
}

TEST(GlowButtonInput, ANonSplitDropDownOpensFromAnyPointAndNeverClicks) {
  for (TDropDownDirection direction : {ddDown, ddRight}) {
    Rig rig;
    TLumGlowButton* b = rig.Add(30, 40);
    auto* menu = new RecordingMenu(rig.form);
    b->SetDropDownButton(true);
    b->SetDropDownSplit(false);
    b->SetDropDownDirection(direction);
    b->SetDropDownMenu(menu);
    Counter c;
    c.Attach(b);
    Rig::ClickAt(b, 10, 10);
    Rig::ClickAt(b, 60, 30);
    EXPECT_EQ(c.clicks, 0);
    ASSERT_EQ(menu->shownAt.size(), 2u);
    const vcl::TPoint want =
        rig.panel->ClientToScreen(direction == ddDown ? vcl::TPoint{30, 40 + 41} : vcl::TPoint{30 + 100, 40});
    EXPECT_EQ(menu->shownAt[0].X, want.X);
    EXPECT_EQ(menu->shownAt[0].Y, want.Y);
  }
}

TEST(GlowButtonInput, TheButtonIsNotHotAfterItsMenuClosesWithTheCursorOutside) {
  for (bool cursorLeaves : {true, false}) {
    Rig rig;
    TLumGlowButton* b = rig.Add(20, 20);
    auto* menu = new RecordingMenu(rig.form);
    b->SetDropDownButton(true);
    b->SetDropDownSplit(false);
    b->SetDropDownMenu(menu);
    TGlowButtonState last = gsDown;
    b->OnDrawButton = [&](vcl::TObject*, vcl::TCanvas*, const vcl::TRect&, TGlowButtonState s) { last = s; };
    Rig::PointAt(b, 50, 20);
    Rig::Enter(b);
    menu->whileOpen = [&] {
      if (cursorLeaves) Rig::PointAt(b, 250, 200);
    };
    Rig::Press(b, 50, 20);
    rig.Advance(300);
    b->Repaint();
    EXPECT_EQ(last, cursorLeaves ? gsNormal : gsHot) << cursorLeaves;
  }
}

TEST(GlowButtonInput, KeysClickTheFocusedDefaultAndCancelButtons) {
  Rig rig;
  auto* edit = new vcl::TEdit(rig.form);
  edit->SetParent(rig.panel);
  edit->SetBounds(20, 200, 100, 21);
  TLumGlowButton* ok = rig.Add(20, 20);
  TLumGlowButton* cancel = rig.Add(140, 20);
  TLumGlowButton* other = rig.Add(260, 20);
  ok->SetDefault(true);
  ok->SetModalResult(vcl::mrOk);
  cancel->SetCancel(true);
  Counter okClicks, cancelClicks, otherClicks;
  okClicks.Attach(ok);
  cancelClicks.Attach(cancel);
  otherClicks.Attach(other);
  edit->SetFocus();
  rig.Pump();

  // Enter while a field has the focus: the default button.
  rig.form->Perform(vcl::CM_DIALOGKEY, vcl::VK_RETURN, 0);
  EXPECT_EQ(okClicks.clicks, 1);
  EXPECT_EQ(rig.form->ModalResult(), vcl::mrOk);
  rig.form->SetModalResult(vcl::mrNone);
  // Escape: the cancel button.
  rig.form->Perform(vcl::CM_DIALOGKEY, vcl::VK_ESCAPE, 0);
  EXPECT_EQ(cancelClicks.clicks, 1);
  // Once another glow button has the focus, Enter is that button's.
  other->SetFocus();
  rig.Pump();
  rig.form->Perform(vcl::CM_DIALOGKEY, vcl::VK_RETURN, 0);
  EXPECT_EQ(okClicks.clicks, 1);
  EXPECT_EQ(otherClicks.clicks, 1);
  // Space on the focused button fires OnClick through the key press.
  Key(other, vcl::VK_SPACE, u' ');
  EXPECT_EQ(otherClicks.clicks, 2);
  // Other keys do nothing.
  Key(other, 'A', u'a');
  EXPECT_EQ(otherClicks.clicks, 2);
}

TEST(GlowButtonInput, F4AndAltWithTheAcceleratorOpenTheMenuOrClick) {
  Rig rig;
  TLumGlowButton* withMenu = rig.Add(20, 20);
  TLumGlowButton* plain = rig.Add(140, 20);
  auto* menu = new RecordingMenu(rig.form);
  withMenu->SetDropDownMenu(menu);
  withMenu->SetCaption("&Open");
  plain->SetCaption("&Save");
  Counter menuClicks, plainClicks;
  menuClicks.Attach(withMenu);
  plainClicks.Attach(plain);

  Key(withMenu, vcl::VK_F4, 0);
  EXPECT_EQ(menu->shownAt.size(), 1u);
  Key(plain, vcl::VK_F4, 0);  // no menu: nothing
  EXPECT_EQ(plainClicks.clicks, 0);

  constexpr vcl::LPARAM alt = 0x20000000;
  struct Case {
    char16_t ch;
    vcl::LPARAM keyData;
    size_t menus;
    int clicks;
  } cases[] = {{u's', 0, 1, 0}, {u's', alt, 1, 1}, {u'o', alt, 2, 1}, {u'x', alt, 2, 1}};
  for (const Case& c : cases) {
    rig.form->Perform(vcl::CM_DIALOGCHAR, c.ch, c.keyData);
    EXPECT_EQ(menu->shownAt.size(), c.menus) << char(c.ch);
    EXPECT_EQ(plainClicks.clicks, c.clicks) << char(c.ch);
  }
  EXPECT_EQ(menuClicks.clicks, 0);
  // A wide caption's accelerator counts when Caption is empty.
  plain->SetCaption("");
  plain->SetWideCaption(u"&Wide");
  rig.form->Perform(vcl::CM_DIALOGCHAR, u'w', alt);
  EXPECT_EQ(plainClicks.clicks, 2);
}

TEST(GlowButtonInput, TheActionLinkCarriesCheckedGroupAndImage) {
  Rig rig;
  auto* images = new vcl::TImageList(rig.form);
  vcl::TBitmap strip;

  strip.SetSize(48, 16);
  strip.Canvas()->Brush()->SetColor(vcl::clRed);
  strip.Canvas()->FillRect(vcl::Rect(0, 0, 48, 16));
  images->Add(&strip, nullptr);
  auto* list = new vcl::TActionList(rig.form);
  list->SetImages(images);
  auto* action = new vcl::TAction(rig.form);
  action->SetActionList(list);
  action->SetCaption("Act");
  action->SetImageIndex(2);
  auto* grouped = new vcl::TAction(rig.form);
  grouped->SetActionList(list);
  grouped->SetGroupIndex(3);

  TLumGlowButton* b = rig.Add();
  b->SetStyle(bsCheck);
  b->SetAction(action);
  EXPECT_EQ(b->ImageIndex(), 2);
  EXPECT_EQ(b->Caption(), "Act");
  action->SetChecked(true);
  EXPECT_TRUE(b->Down());
  action->SetChecked(false);
  EXPECT_FALSE(b->Down());
  action->SetImageIndex(1);
  EXPECT_EQ(b->ImageIndex(), 1);
  // A button without a group of its own takes its action's.
  TLumGlowButton* inGroup = rig.Add(140, 20);
  inGroup->SetAction(grouped);
  EXPECT_EQ(inGroup->GroupIndex(), 3);
  // The glyph comes from the action list's images.
  QImage shot = rig.Grab(b);
  int red = 0;
  for (int y = 0; y < shot.height(); ++y)
    for (int x = 0; x < shot.width(); ++x)
      if (Rig::At(shot, x, y) == vcl::clRed) ++red;
  if (red != 16 * 16) shot.save(TOLVANE_BUILD_DIR "/glow_action_glyph.png");
  EXPECT_EQ(red, 16 * 16);
}

TEST(GlowButtonInput, VersionAssignAndModalResult) {
  Rig rig;
  TLumGlowButton* a = rig.Add(20, 20);
  TLumGlowButton* b = rig.Add(140, 20);
  EXPECT_EQ(a->Version(), "1.9.1.1");
  auto* images = new vcl::TImageList(rig.form);
  a->SetImages(images);
  a->SetCaption("Copy me");
  a->SetLayout(blGlyphTop);
  a->SetSpacing(5);
  a->SetRounded(false);
  a->SetModalResult(vcl::mrCancel);
  a->SetShortCutHint("C");
  a->Notes()->Add("a note");
  b->Assign(a);
  EXPECT_EQ(b->Caption(), "Copy me");
  EXPECT_EQ(b->Spacing(), 5);
  EXPECT_FALSE(b->Rounded());
  EXPECT_EQ(b->ModalResult(), vcl::mrCancel);
  EXPECT_EQ(b->ShortCutHint(), "C");
  EXPECT_EQ(b->Notes()->Count(), 1);
  EXPECT_EQ(b->Images(), images);
  EXPECT_EQ(b->Layout(), blGlyphLeft) << "Layout is not among the copied settings";
  b->Assign(rig.panel);  // another kind of source is ignored
  Rig::ClickAt(b, 10, 10);
  EXPECT_EQ(rig.form->ModalResult(), vcl::mrCancel);
  // A freed image list leaves no reference behind.
  vcl::Free(images);
  EXPECT_EQ(a->Images(), nullptr);
  EXPECT_EQ(b->Images(), nullptr);
}

// ------------------------------------------------------------ key tips

TEST(GlowButtonKeyTip, EveryPositionRoundTheButtonOnTheScreen) {
  Rig rig;
  TLumGlowButton* b = rig.Add(60, 70);
  b->SetShortCutHint("FX");
  const vcl::TPoint P = b->ClientToScreen({0, 0});
  for (int i = 0; i <= static_cast<int>(shpBelowBottomCenter); ++i) {
    const auto position = static_cast<TShortCutHintPos>(i);
    b->SetShortCutHintPos(position);
    b->ShowShortCutHint();
    TShortCutHintWindow* tip = b->ShortCutHintWindow();
    ASSERT_NE(tip, nullptr);
    EXPECT_TRUE(tip->Visible());
    const vcl::TPoint want = KeyTipPlacement(position, P, 100, 41, tip->Width(), tip->Height());
    EXPECT_EQ(tip->Left(), want.X) << i;
    EXPECT_EQ(tip->Top(), want.Y) << i;
  }
  // A bubble of 20 x 16 at the top right: P.X + 81, P.Y - 8.
  b->SetShortCutHintPos(shpTopRight);
  b->ShortCutHintWindow()->SetBounds(0, 0, 20, 16);
  b->ShowShortCutHint();
  EXPECT_EQ(b->ShortCutHintWindow()->Left(), P.X + 81);
  EXPECT_EQ(b->ShortCutHintWindow()->Top(), P.Y - 8);
}

TEST(GlowButtonKeyTip, AutoAndAHookAnsweringAutoPlaceAtTheTop) {
  Rig rig;
  TLumGlowButton* b = rig.Add(60, 70);
  b->SetShortCutHint("Q");
  b->SetShortCutHintPos(shpAuto);
  b->ShowShortCutHint();
  TShortCutHintWindow* tip = b->ShortCutHintWindow();
  const vcl::TPoint P = b->ClientToScreen({0, 0});
  const vcl::TPoint top = KeyTipPlacement(shpTop, P, 100, 41, tip->Width(), tip->Height());
  EXPECT_EQ(tip->Left(), top.X);
  EXPECT_EQ(tip->Top(), top.Y);
  std::vector<TButtonSizeState> asked;
  b->SetShortCutHintPos(shpBottom);
  b->OnShortCutHintPos = [&](vcl::TObject*, TButtonSizeState s, TShortCutHintPos& p) {
    asked.push_back(s);
    p = shpAuto;
  };
  b->ShowShortCutHint();
  EXPECT_EQ(tip->Left(), top.X);
  EXPECT_EQ(tip->Top(), top.Y);
  b->OnShortCutHintPos = [&](vcl::TObject*, TButtonSizeState s, TShortCutHintPos& p) {
    asked.push_back(s);
    p = shpCenter;
  };
  b->SetButtonSizeState(bsLabel);
  b->ShowShortCutHint();
  EXPECT_EQ(tip->Top(), KeyTipPlacement(shpCenter, P, 100, b->Height(), tip->Width(), tip->Height()).Y);
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_EQ(asked[0], bsLarge);
  EXPECT_EQ(asked[1], bsLabel);
}

TEST(GlowButtonKeyTip, OneWindowForManyShowsAndNoneFromAnEarlyHide) {
  Rig rig;
  TLumGlowButton* b = rig.Add();
  b->HideShortCutHint();
  EXPECT_EQ(b->ShortCutHintWindow(), nullptr);
  b->SetShortCutHint("I");
  b->ShowShortCutHint();
  TShortCutHintWindow* tip = b->ShortCutHintWindow();
  ASSERT_NE(tip, nullptr);
  tip->Canvas()->SetFont(tip->Font());
  EXPECT_EQ(tip->Width(), tip->Canvas()->TextWidth("O") + 8);
  b->HideShortCutHint();
  EXPECT_FALSE(tip->Visible());
  b->SetShortCutHint("WWW");
  b->ShowShortCutHint();
  EXPECT_EQ(b->ShortCutHintWindow(), tip);
  EXPECT_TRUE(tip->Visible());
  EXPECT_EQ(tip->Width(), tip->Canvas()->TextWidth("WWW") + 6);
  EXPECT_EQ(tip->Owner(), b);
}

TEST(GlowButtonKeyTip, ItsColoursFollowTheAppearanceAndShowInItsPaint) {
  Rig rig;
  TLumGlowButton* b = rig.Add();
  b->SetShortCutHint("K");
  b->ShowShortCutHint();
  TShortCutHintWindow* tip = b->ShortCutHintWindow();
  EXPECT_EQ(tip->TopColor(), vcl::clWhite);
  EXPECT_EQ(tip->BottomColor(), b->Appearance()->Color());
  b->Appearance()->SetColor(vcl::RGB(10, 200, 30));
  EXPECT_EQ(tip->BottomColor(), vcl::RGB(10, 200, 30));
  b->SetComponentStyle(REZORuvar::tsWindows7);
  EXPECT_EQ(tip->BottomColor(), TColor(16575452));
  TGlowButtonAppearance other;
  other.SetColor(vcl::RGB(0, 0, 160));
  tip->SetTopColor(vcl::clBlack);
  b->SetAppearance(&other);
  EXPECT_EQ(tip->TopColor(), vcl::clWhite);
  EXPECT_EQ(tip->BottomColor(), vcl::RGB(0, 0, 160));

  b->ShowShortCutHint();
  tip->Widget()->show();
  rig.Pump();
  QImage shot = tip->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const int w = shot.width(), h = shot.height();
  ASSERT_GT(h, 6);
  // Sixteen bands from white down to the face colour, each reaching one
  // row into the next, under a one-pixel outline.
  auto bandAt = [&](int row) {
    const double size = h / 16.0;
    int band = 0;
    for (int i = 0; i < 16; ++i) {
      const int from = static_cast<int>(std::nearbyint(i * size));
      if (row >= from && row < from + static_cast<int>(std::nearbyint(size)) + 1) band = i;
    }
    auto channel = [&](int to) { return static_cast<uint8_t>(255 + std::nearbyint(band * (to - 255) / 16.0)); };
    return vcl::RGB(channel(0), channel(0), channel(160));
  };
  EXPECT_EQ(bandAt(0), vcl::clWhite);
  for (int y = 1; y < h - 1; ++y) EXPECT_EQ(Rig::At(shot, 2, y), bandAt(y)) << y;
  EXPECT_EQ(Rig::At(shot, w / 2, 0), vcl::clGray);
  EXPECT_EQ(Rig::At(shot, w / 2, h - 1), vcl::clGray);
  EXPECT_EQ(Rig::At(shot, 0, h / 2), vcl::clGray);
  EXPECT_EQ(Rig::At(shot, w - 1, h / 2), vcl::clGray);
}

TEST(GlowButtonInput, AChangedImageListRepaintsEveryButtonShowingIt) {
  Rig rig;
  auto* images = new vcl::TImageList(rig.form);
  TLumGlowButton* a = rig.Add(20, 20);
  TLumGlowButton* b = rig.Add(140, 20);
  int paintsA = 0, paintsB = 0;
  a->OnDrawButton = [&](vcl::TObject*, vcl::TCanvas*, const vcl::TRect&, TGlowButtonState) { ++paintsA; };
  b->OnDrawButton = [&](vcl::TObject*, vcl::TCanvas*, const vcl::TRect&, TGlowButtonState) { ++paintsB; };
  int ownHandler = 0;
  images->OnChange = [&](vcl::TObject*) { ++ownHandler; };
  a->SetImages(images);
  b->SetHotImages(images);
  rig.Pump();
  paintsA = paintsB = 0;
  vcl::TBitmap glyph;
  glyph.SetSize(16, 16);
  images->Add(&glyph, nullptr);
  rig.Pump();
  EXPECT_EQ(paintsA, 1);
  EXPECT_EQ(paintsB, 1);
  EXPECT_EQ(ownHandler, 1) << "the list's own handler stays its owner's";
  // A button that lets go of the list hears no more of it.
  a->SetImages(nullptr);
  rig.Pump();
  paintsA = paintsB = 0;
  images->Clear();
  rig.Pump();
  EXPECT_EQ(paintsA, 0);
  EXPECT_EQ(paintsB, 1);
}

TEST(GlowButtonInput, APictureThatDoesNotDecodeIsSkippedAndPaintRaisesNothing) {
  Rig rig;
  TLumGlowButton* b = rig.Add();
  const char bytes[] = "\x89PNG\r\n\x1a\n but nothing after the signature";
  rtl::TMemoryStream stream;
  stream.Write(bytes, sizeof(bytes) - 1);
  stream.SetPosition(0);
  TGDIPPicture picture;
  picture.LoadFromStream(stream);
  b->SetPicture(&picture);
  b->SetHotPicture(&picture);
  b->SetCaption("Broken");
  Rig::Enter(b);
  EXPECT_NO_THROW(b->Repaint());
  EXPECT_FALSE(b->Painting());
  QImage shot = rig.Grab(b);
  EXPECT_EQ(Rig::At(shot, 50, 0), vcl::clSilver);
}

TEST(GlowButtonInput, TheHostsHooksAndTheCommandNotification) {
  Rig rig;
  TLumGlowButton* b = rig.Add();
  std::vector<std::string> order;
  b->OnClick = [&](vcl::TObject*) { order.push_back("click"); };
  b->OnInternalClick = [&](vcl::TObject*) { order.push_back("internal"); };
  EXPECT_EQ(b->Perform(vcl::WM_GETDLGCODE), 0);
  std::vector<vcl::Word> keys;
  b->OnInternalKeyDown = [&](vcl::TObject*, vcl::Word& key, vcl::TShiftState) { keys.push_back(key); };
  EXPECT_EQ(b->Perform(vcl::WM_GETDLGCODE), vcl::DLGC_WANTARROWS);
  b->Perform(vcl::WM_KEYDOWN, vcl::VK_LEFT, 0);
  EXPECT_EQ(keys, (std::vector<vcl::Word>{vcl::VK_LEFT}));
  b->Perform(vcl::CN_COMMAND, 0, 0);  // button clicked
  b->Perform(vcl::CN_COMMAND, 1u << 16, 0);  // another notification
  EXPECT_EQ(order, (std::vector<std::string>{"internal", "click"}));
}

TEST(GlowButtonInput, KeyboardClickTogglesChecksAndOpensNonSplitMenus) {
  Rig rig;
  TLumGlowButton* check = rig.Add(20, 20);
  TLumGlowButton* dropDown = rig.Add(140, 20);
  TLumGlowButton* split = rig.Add(260, 20);
  auto* menu = new RecordingMenu(rig.form);
  check->SetStyle(bsCheck);
  dropDown->SetDropDownButton(true);
  dropDown->SetDropDownSplit(false);
  dropDown->SetDropDownMenu(menu);
  split->SetDropDownButton(true);
  split->SetDropDownMenu(menu);
  Counter checkClicks, dropClicks, splitClicks;
  checkClicks.Attach(check);
  dropClicks.Attach(dropDown);
  splitClicks.Attach(split);
  check->KeyboardClick();
  EXPECT_TRUE(check->Down());
  check->KeyboardClick();
  EXPECT_FALSE(check->Down());
  EXPECT_EQ(checkClicks.clicks, 2);
  dropDown->KeyboardClick();
  EXPECT_EQ(menu->shownAt.size(), 1u);
  EXPECT_EQ(dropClicks.clicks, 0);
  split->KeyboardClick();  // a split button's keyboard trigger is its main part
  EXPECT_EQ(menu->shownAt.size(), 1u);
  EXPECT_EQ(splitClicks.clicks, 1);
  // Without a menu, a non-split drop-down clicks.
  dropDown->SetDropDownMenu(nullptr);
  dropDown->KeyboardClick();
  EXPECT_EQ(dropClicks.clicks, 1);
}

TEST(GlowButtonInput, DownSetWhileLoadingTakesEffectOnceTheGroupIsLoaded) {
  // A stored layout sets Down before GroupIndex: the value waits for the
  // end of loading.
  Rig rig;
  TLumGlowButton* b = rig.Add();
  b->BeginLoad();
  b->SetDown(true);
  EXPECT_FALSE(b->Down());
  b->SetGroupIndex(4);
  b->EndLoad();
  EXPECT_TRUE(b->Down());
}
