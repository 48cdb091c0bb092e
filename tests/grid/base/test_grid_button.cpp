// The search footer's button and check box: groups, the check style, the
// drop-down part, glyph layout, the disabled and shadow glyphs, theme
// colour sets, the check box's clicks, keys and read-only state, and their
// pixels (flat, hot, checked, themed and classic; a transparent box over a
// patterned parent), grabbed in the build folder.
#include <gtest/gtest.h>

#include <functional>

#include <QApplication>
#include <QImage>
#include <QTimer>
#include <QWidget>

#include "GridTestInput.h"
#include "grid/GridButton.h"
#include "vcl/ExtCtrls.h"
#include "vcl/ActnList.h"
#include "vcl/Forms.h"
#include "vcl/Menus.h"
#include "vcl/Pictures.h"
#include "vcl/QtHost.h"
#include "vcl/UxTheme.h"

using namespace grid;

namespace {

struct ButtonForm {
  vcl::TForm* form = nullptr;
  vcl::TPanel* panel = nullptr;
  ButtonForm() {
    form = new vcl::TForm(vcl::Application, 0);
    form->SetBounds(0, 0, 360, 120);
    panel = new vcl::TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(0, 0, 340, 100);
    panel->SetColor(clWhite);
    panel->SetBevelOuter(vcl::bvNone);
    form->Show();
  }
  ~ButtonForm() { vcl::Free(form); }
  TLumGridButton* Button(Integer left, Integer width = 90) {
    auto* b = new TLumGridButton(form);
    b->SetParent(panel);
    b->SetBounds(left, 5, width, 23);
    return b;
  }
  QImage Grab(const char* png) {
    vcl::Application->ProcessMessages();
    panel->Invalidate();
    QImage img = panel->Widget()->grab().toImage();
    img.save(QString(TOLVANE_BUILD_DIR "/") + png);
    return img;
  }
};

using grid_test::Press;
using grid_test::Release;

TColor Rgb(const QImage& img, int x, int y) {
  const QRgb p = img.pixel(x, y);
  return vcl::RGB(static_cast<Byte>(qRed(p)), static_cast<Byte>(qGreen(p)), static_cast<Byte>(qBlue(p)));
}

// A 16 x 16 glyph: a magenta ground (the transparent corner) and a
// coloured 8 x 8 square in the middle.
std::unique_ptr<vcl::TBitmap> Glyph(TColor square) {
  auto b = std::make_unique<vcl::TBitmap>(16, 16);
  b->Canvas()->Brush()->SetColor(0xFF00FF);
  b->Canvas()->FillRect({0, 0, 16, 16});
  b->Canvas()->Brush()->SetColor(square);
  b->Canvas()->FillRect({4, 4, 12, 12});
  return b;
}

}  // namespace

TEST(GridButton, GroupsAndCheckStyle) {
  ButtonForm f;
  TLumGridButton* a = f.Button(5);
  TLumGridButton* b = f.Button(100);
  int clicks = 0;
  a->OnClick = [&](vcl::TObject*) { ++clicks; };
  for (auto* x : {a, b}) x->SetGroupIndex(1);
  grid_test::Click(a, 10, 10);
  EXPECT_TRUE(a->Down());
  EXPECT_EQ(clicks, 1);
  grid_test::Click(a, 10, 10);  // the last down button of a group stays down
  EXPECT_TRUE(a->Down());
  grid_test::Click(b, 10, 10);
  EXPECT_TRUE(b->Down());
  EXPECT_FALSE(a->Down());
  b->SetAllowAllUp(true);  // the group follows
  EXPECT_TRUE(a->AllowAllUp());
  grid_test::Click(b, 10, 10);
  EXPECT_FALSE(b->Down());

  TLumGridButton* check = f.Button(200);
  check->SetStyle(tasCheck);
  int checkClicks = 0;
  check->OnClick = [&](vcl::TObject*) { ++checkClicks; };
  grid_test::Click(check, 10, 10);
  EXPECT_TRUE(check->Down());
  grid_test::Click(check, 10, 10);
  EXPECT_FALSE(check->Down());
  Press(check, 10, 10);
  check->Perform(vcl::WM_MOUSEMOVE, vcl::MK_LBUTTON, vcl::MakeLParam(200, 10));
  Release(check, 200, 10);  // released outside: nothing
  EXPECT_FALSE(check->Down());
  EXPECT_EQ(checkClicks, 2);

  TLumGridButton* plain = f.Button(300, 30);
  plain->SetDown(true);  // a plain button never stays down
  EXPECT_FALSE(plain->Down());
}

TEST(GridButton, ActionLinkFollowsWhatIsLinked) {
  ButtonForm f;
  vcl::TActionList list(f.form);
  auto* action = new vcl::TAction(f.form);
  action->SetActionList(&list);
  action->SetCaption("&Bold");
  action->SetGroupIndex(1);
  action->SetChecked(true);
  int executed = 0;
  action->OnExecute = [&](vcl::TObject*) { ++executed; };
  TLumGridButton* b = f.Button(5);
  b->SetStyle(tasCheck);
  b->SetAllowAllUp(true);
  b->SetAction(action);
  // Linking hands over every value.
  EXPECT_EQ(b->Caption(), "&Bold");
  EXPECT_EQ(b->GroupIndex(), 1);
  EXPECT_TRUE(b->Down());
  EXPECT_TRUE(b->ActionLink().IsCaptionLinked());
  EXPECT_TRUE(b->ActionLink().IsCheckedLinked());
  EXPECT_TRUE(b->ActionLink().IsGroupIndexLinked());
  struct Step {
    const char* what;
    std::function<void()> act;
    const char* caption;
    bool down;
    bool enabled;
  };
  const std::vector<Step> steps = {
      {"the action's caption", [&] { action->SetCaption("B&old"); }, "B&old", true, true},
      {"unchecked", [&] { action->SetChecked(false); }, "B&old", false, true},
      {"disabled", [&] { action->SetEnabled(false); }, "B&old", false, false},
      {"the button's own caption stays", [&] {
         action->SetEnabled(true);
         b->SetCaption("Mine");
         action->SetCaption("Bold");
       }, "Mine", false, true},
      {"the button's own Down stays", [&] {
         b->SetDown(true);
         action->SetHint("down by hand");  // any change of the action
       }, "Mine", true, true},
      {"without AllowAllUp Checked is not linked", [&] {
         b->SetDown(false);
         b->SetAllowAllUp(false);
         action->SetChecked(true);
       }, "Mine", false, true},
  };
  for (const Step& s : steps) {
    s.act();
    EXPECT_EQ(b->Caption(), s.caption) << s.what;
    EXPECT_EQ(b->Down(), s.down) << s.what;
    EXPECT_EQ(b->Enabled(), s.enabled) << s.what;
  }
  // The group index follows while the button keeps the action's.
  action->SetGroupIndex(2);
  action->SetHint("group");  // the action tells of its change
  EXPECT_EQ(b->GroupIndex(), 2);
  EXPECT_EQ(b->Hint(), "group");
  b->SetGroupIndex(7);
  action->SetGroupIndex(3);
  action->SetHint("again");
  EXPECT_EQ(b->GroupIndex(), 7);
  EXPECT_FALSE(b->ActionLink().IsGroupIndexLinked());
  // A click runs the action.
  grid_test::Click(b, 10, 10);
  EXPECT_EQ(executed, 1);
  // Another action is a new link: everything is taken again.
  auto* other = new vcl::TAction(f.form);
  other->SetCaption("Other");
  b->SetAction(other);
  EXPECT_EQ(b->Caption(), "Other");
  EXPECT_EQ(b->GroupIndex(), 0);
}

TEST(GridButton, DropDownPartMarginsAndLayout) {
  ButtonForm f;
  TLumGridButton* b = f.Button(5);
  b->DropDownButton = true;
  auto* menu = new vcl::TPopupMenu(f.form);
  b->SetDropDownMenu(menu);
  auto* item = new vcl::TMenuItem(menu);
  item->SetCaption("Item");
  menu->Items()->Add(item);
  int clicks = 0, drops = 0, popups = 0;
  menu->OnPopup = [&](vcl::TObject*) { ++popups; };
  b->OnClick = [&](vcl::TObject*) { ++clicks; };
  b->OnDropDown = [&](vcl::TObject*) { ++drops; };
  bool menuShown = false;
  QTimer::singleShot(0, [&] {
    menuShown = QApplication::activePopupWidget() != nullptr;
    while (QWidget* p = QApplication::activePopupWidget()) p->close();
  });
  grid_test::Click(b, 85, 10);  // the rightmost 12 pixels
  EXPECT_EQ(drops, 1);
  EXPECT_EQ(popups, 1);
  EXPECT_TRUE(menuShown);
  EXPECT_EQ(clicks, 0);
  grid_test::Click(b, 20, 10);
  EXPECT_EQ(clicks, 1);
  vcl::Free(menu);
  EXPECT_EQ(b->DropDownMenu(), nullptr);  // a freed menu is forgotten

  b->SetMargin(-2);
  EXPECT_EQ(b->Margin(), -1);
  b->SetMargin(3);
  b->SetMargin(-1);
  EXPECT_EQ(b->Margin(), -1);
  b->SetGlyph(Glyph(0x0000FF).get());
  b->SetCaption("Find");
  const vcl::TRect client{0, 0, 90, 23};
  const auto centred = b->LayoutContent(client, {0, 0});
  const Integer textWidth = centred.TextBounds.Width();
  // Glyph, 4 pixels of spacing and the caption, centred across.
  EXPECT_EQ(centred.GlyphPos.X, (90 - 16 - 4 - textWidth + 1) / 2);
  EXPECT_EQ(centred.GlyphPos.Y, (23 - 16 + 1) / 2);
  EXPECT_EQ(centred.TextBounds.Left, centred.GlyphPos.X + 16 + 4);
  b->SetMargin(2);
  b->SetLayout(blGlyphRight);
  const auto right = b->LayoutContent(client, {1, 1});
  EXPECT_EQ(right.GlyphPos.X, 90 - 2 - 16 + 1);
  EXPECT_EQ(right.TextBounds.Right, right.GlyphPos.X - 4);
  b->SetSpacing(-1);
  b->SetMargin(-1);
  b->SetLayout(blGlyphLeft);
  const auto spread = b->LayoutContent(client, {0, 0});
  const Integer third = (90 - 16 - textWidth) / 3;
  EXPECT_EQ(spread.GlyphPos.X, third);
  EXPECT_EQ(spread.TextBounds.Left, third + 16 + third);
}

TEST(GridButton, DisabledAndShadowGlyphs) {
  ButtonForm f;
  TLumGridButton* b = f.Button(5);
  vcl::TBitmap g(16, 16);
  // Every channel value once across the picture.
  for (Integer y = 0; y < 16; ++y)
    for (Integer x = 0; x < 16; ++x) {
      const Byte v = static_cast<Byte>(y * 16 + x);
      g.Canvas()->SetPixels(x, y, vcl::RGB(v, static_cast<Byte>(255 - v), v));
    }
  g.Canvas()->SetPixels(0, 0, vcl::RGB(0, 0, 0));
  g.Canvas()->SetPixels(1, 0, vcl::RGB(255, 255, 255));
  b->SetGlyph(&g);
  Integer darkest = 255, brightest = 0;
  for (Integer y = 0; y < 16; ++y)
    for (Integer x = 0; x < 16; ++x) {
      const TColor c = b->GlyphDisabled()->Canvas()->Pixels(x, y);
      ASSERT_EQ(vcl::GetRValue(c), vcl::GetGValue(c));
      ASSERT_EQ(vcl::GetRValue(c), vcl::GetBValue(c));
      darkest = std::min<Integer>(darkest, vcl::GetRValue(c));
      brightest = std::max<Integer>(brightest, vcl::GetRValue(c));
    }
  EXPECT_EQ(darkest, 96);
  EXPECT_EQ(brightest, 223);
  // A disabled glyph of one's own is kept.
  b->SetGlyphDisabled(Glyph(0x00FF00).get());
  b->SetGlyph(&g);
  EXPECT_EQ(b->GlyphDisabled()->Canvas()->Pixels(8, 8), 0x00FF00);

  b->SetGlyph(Glyph(0x0000FF).get());
  EXPECT_EQ(b->ShadowGlyph()->Canvas()->Pixels(8, 8), 0x808080);
  EXPECT_EQ(b->ShadowGlyph()->Canvas()->Pixels(1, 1), 0xFF00FF);  // the ground stays transparent
}

TEST(GridButton, ThemeColourSets) {
  ButtonForm f;
  TLumGridButton* b = f.Button(5);
  const struct {
    const char16_t* scheme;
    bool themes;
    TColor color, colorTo, hot, checked, border;
  } cases[] = {
      {u"NormalColor", true, 0xFDEADA, 0xE4AE88, 0xCCF4FF, 0x8ED3FF, 0x000000},
      {u"HomeStead", true, 0xCFF0EA, 0x8CC0B1, 0xCCF4FF, 0x8ED3FF, 0x000000},
      {u"Metallic", true, 0xECE2E1, 0xB39698, 0xCCF4FF, 0x8ED3FF, 0x000000},
      {u"Other", true, vcl::clBtnFace, clNone, 0xEED2C1, 0xE8E6E1, 0xC56A31},
      {u"NormalColor", false, vcl::clBtnFace, clNone, 0xEED2C1, 0xE8E6E1, 0xC56A31},
  };
  for (const auto& c : cases) {
    vcl::SetThemeColorSchemeName(c.scheme);
    vcl::SetThemeActive(c.themes);
    b->SetFlat(false);
    b->Rounded = true;
    b->SetAutoThemeAdapt(true);
    EXPECT_TRUE(b->Flat());
    EXPECT_FALSE(b->Rounded);
    EXPECT_EQ(b->Color(), c.color);
    EXPECT_EQ(b->ColorTo, c.colorTo);
    EXPECT_EQ(b->ColorHot, c.hot);
    EXPECT_EQ(b->ColorChecked, c.checked);
    EXPECT_EQ(b->BorderDownColor, c.border);
    EXPECT_EQ(b->BorderHotColor, c.border);
    EXPECT_EQ(b->BorderColor, clNone);
  }
  vcl::SetThemeActive(true);
  vcl::SetThemeColorSchemeName(u"NormalColor");
}

TEST(GridButton, PixelsFlatHotCheckedThemedAndClassic) {
  ButtonForm f;
  TLumGridButton* flat = f.Button(5);
  flat->SetCaption("Flat");
  flat->BorderColor = 0x000080;
  TLumGridButton* hot = f.Button(100);
  hot->SetCaption("Hot");
  hot->BorderHotColor = 0x800000;
  hot->Perform(vcl::CM_MOUSEENTER);
  TLumGridButton* checked = f.Button(195);
  checked->SetCaption("Down");
  checked->SetStyle(tasCheck);
  checked->ColorChecked = 0x00C000;
  checked->SetDown(true);
  TLumGridButton* themed = new TLumGridButton(f.form);
  themed->SetParent(f.panel);
  themed->SetBounds(5, 40, 90, 23);
  themed->SetCaption("Themed");
  themed->SetFlat(false);
  themed->AutoXPStyle = true;
  TLumGridButton* classic = new TLumGridButton(f.form);
  classic->SetParent(f.panel);
  classic->SetBounds(100, 40, 90, 23);
  classic->SetCaption("Classic");
  classic->SetFlat(false);
  TLumGridButton* gradient = new TLumGridButton(f.form);
  gradient->SetParent(f.panel);
  gradient->SetBounds(195, 40, 90, 32);
  gradient->SetColor(0xFFFFFF);
  gradient->ColorTo = 0x000000;
  gradient->SetCaption("Gradient");
  const QImage img = f.Grab("grid-buttons.png");
  EXPECT_TRUE(hot->Hot());
  EXPECT_EQ(Rgb(img, 5 + 45, 5 + 1), 0x000080);      // the flat border, a pixel in
  EXPECT_EQ(Rgb(img, 5 + 3, 5 + 3), vcl::ColorToRGB(vcl::clBtnFace));
  EXPECT_EQ(Rgb(img, 100 + 1, 5 + 12), 0x800000);    // the hot outline
  EXPECT_EQ(Rgb(img, 100 + 4, 5 + 4), 0xCAC7C7);     // the hot fill
  EXPECT_EQ(Rgb(img, 195 + 4, 5 + 4), 0x00C000);     // checked
  // Gradient bands top to bottom: light at the top, dark at the bottom.
  const TColor top = Rgb(img, 195 + 10, 40 + 1), bottom = Rgb(img, 195 + 10, 40 + 30);
  EXPECT_GT(vcl::GetRValue(top), 200);
  EXPECT_LT(vcl::GetRValue(bottom), 40);
  // The classic push button's frame: a light top edge, a dark bottom one.
  EXPECT_GT(vcl::GetRValue(Rgb(img, 100 + 40, 40)), vcl::GetRValue(Rgb(img, 100 + 40, 40 + 22)));
  vcl::SetThemeActive(false);
  const QImage off = f.Grab("grid-buttons-classic.png");
  vcl::SetThemeActive(true);
  // Without themes the themed button falls back to the classic frame.
  for (int y = 40; y < 63; ++y) EXPECT_EQ(Rgb(off, 5 + 8, y), Rgb(off, 100 + 8, y)) << y;
}

TEST(GridCheckBox, ClicksKeysReadOnlyAndGrayed) {
  ButtonForm f;
  auto* box = new TLumCheckBox(f.form);
  box->SetParent(f.panel);
  box->SetBounds(10, 10, 120, 20);
  EXPECT_EQ(box->Caption(), "TLumCheckBox");
  box->SetCaption("Match &case");
  int clicks = 0;
  box->OnClick = [&](vcl::TObject*) { ++clicks; };
  grid_test::Click(box, 5, 8);
  EXPECT_TRUE(box->Checked());
  EXPECT_EQ(clicks, 1);
  Press(box, 5, 8);
  box->Perform(vcl::WM_MOUSEMOVE, vcl::MK_LBUTTON, vcl::MakeLParam(300, 8));
  EXPECT_FALSE(box->Pressed());
  Release(box, 300, 8);  // outside: no toggle, no click
  EXPECT_TRUE(box->Checked());
  EXPECT_EQ(clicks, 1);
  box->Perform(vcl::WM_KEYDOWN, vcl::VK_SPACE, 0);
  EXPECT_TRUE(box->Pressed());
  box->Perform(vcl::WM_KEYUP, vcl::VK_SPACE, 0);
  EXPECT_FALSE(box->Checked());
  EXPECT_EQ(clicks, 2);
  box->ReadOnly = true;
  grid_test::Click(box, 5, 8);
  EXPECT_FALSE(box->Checked());  // read-only: the click fires, the state stays
  EXPECT_EQ(clicks, 3);
  box->ReadOnly = false;
  box->SetState(cbGrayed);
  box->Toggle();
  EXPECT_EQ(box->State(), cbChecked);
  box->Perform(vcl::CM_DIALOGCHAR, 'c', 0);  // the accelerator
  EXPECT_FALSE(box->Checked());

  // Where the box goes.
  const struct {
    TLeftRight align;
    vcl::TTextLayout vert;
    vcl::TRect themed, classic;
  } places[] = {
      {TLeftRight::taLeftJustify, vcl::tlTop, {0, 4, 14, 18}, {0, 4, 13, 17}},
      {TLeftRight::taRightJustify, vcl::tlCenter, {105, 4, 119, 18}, {107, 4, 120, 17}},
      {TLeftRight::taLeftJustify, vcl::tlBottom, {0, 6, 14, 20}, {0, 3, 13, 16}},
  };
  for (const auto& p : places) {
    box->SetAlignment(p.align);
    box->SetButtonVertAlign(p.vert);
    vcl::SetThemeActive(true);
    EXPECT_EQ(box->BoxRect(), p.themed);
    vcl::SetThemeActive(false);
    EXPECT_EQ(box->BoxRect(), p.classic);
  }
  vcl::SetThemeActive(true);
}

TEST(GridCheckBox, PixelsThemedClassicAndTransparent) {
  ButtonForm f;
  // A parent that paints yellow with a blue stripe across.
  class Striped : public vcl::TCustomControl {
   public:
    using vcl::TCustomControl::TCustomControl;

   protected:
    void Paint() override {
      Canvas()->Brush()->SetColor(0x00FFFF);
      Canvas()->FillRect(ClientRect());
      Canvas()->Brush()->SetColor(0xFF0000);
      Canvas()->FillRect({0, 40, ClientWidth(), 60});
    }
  };
  auto* striped = new Striped(f.form);
  striped->SetParent(f.panel);
  striped->SetBounds(0, 0, 340, 100);
  auto* opaque = new TLumCheckBox(f.form);
  opaque->SetParent(striped);
  opaque->SetBounds(10, 5, 120, 20);
  opaque->SetParentColor(false);
  opaque->SetColor(clWhite);
  opaque->SetCaption("Opaque");
  opaque->SetChecked(true);
  auto* clear = new TLumCheckBox(f.form);
  clear->SetParent(striped);
  clear->SetBounds(10, 30, 120, 40);
  clear->SetCaption("Transparent");
  clear->SetTransparent(true);
  clear->SetButtonVertAlign(vcl::tlCenter);
  const QImage img = f.Grab("grid-checkboxes.png");
  EXPECT_EQ(Rgb(img, 10 + 100, 5 + 2), 0xFFFFFF);  // the opaque box's own colour
  // Through the transparent one: the parent's yellow above the stripe, the
  // stripe's blue inside it.
  EXPECT_EQ(Rgb(img, 10 + 110, 30 + 2), 0x00FFFF);
  EXPECT_EQ(Rgb(img, 10 + 110, 30 + 15), 0xFF0000);
  vcl::SetThemeActive(false);
  f.Grab("grid-checkboxes-classic.png");
  vcl::SetThemeActive(true);
}
