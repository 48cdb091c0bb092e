// The tab strip on a form shaped like the main window: the panels it takes
// over when the form has loaded, its thickness, tab geometry and hit-
// testing, its pixels on each edge, hover colours, the scroll band, the
// presets and the style interface.
#include <gtest/gtest.h>

#include <QPainter>
#include <QWidget>

#include "PanelRig.h"
#include "controls/ToolPanelDrawing.h"
#include "rtl/Convert.h"
#include "vcl/ImgList.h"
#include "vcl/UxTheme.h"

using namespace paneltest;

namespace {

// The colour band i of a 16-band gradient from `from` to `to` (the
// stepped gradient's own rounding, half to even).
TColor StripBand(TColor from, TColor to, int i) {
  auto ch = [&](int shift) {
    const int f = (from >> shift) & 0xFF, t = (to >> shift) & 0xFF;
    return static_cast<TColor>(f + rtl::Round(i * (static_cast<double>(t - f) / 16))) << shift;
  };
  return ch(0) | ch(8) | ch(16);
}

// What a 16-band left-to-right gradient over a tab rectangle shows at x:
// the last band whose span (from round(i * size), round(size) + 1 wide, the
// rectangle less its last column) holds it.
TColor TabGradientAt(const vcl::TRect& r, TColor from, TColor to, int x) {
  const double size = (r.Right - 1 - r.Left) / 16.0;
  TColor c = 0;
  for (int i = 0; i < 16; ++i) {
    const int start = r.Left + static_cast<int>(rtl::Round(i * size));
    if (x >= start && x < start + static_cast<int>(rtl::Round(size)) + 1) c = StripBand(from, to, i);
  }
  return c;
}

}  // namespace

TEST(ToolPanelStrip, LoadingTakesThePanelsOverAndSizesTheStrips) {
  Rig rig;
  MainLikeForm* f = rig.form;
  ASSERT_EQ(f->ct->Panels()->Count(), 4);
  const TLumToolPanel* expected[] = {f->ProjectManagerTab, f->insertPanel, f->SimTab, f->simErrorsTab};
  const char* captions[] = {"Project Manager", "Insert", "Simulate", "Simulate Errors"};
  for (int i = 0; i < 4; ++i) {
    const TToolPanel* item = f->ct->Panels()->Items(i);
    EXPECT_EQ(item->Panel, expected[i]);
    EXPECT_EQ(item->Caption, captions[i]);
    EXPECT_EQ(item->OpenWidth(), 150);
    EXPECT_EQ(item->State, psClosed);
    EXPECT_EQ(expected[i]->OwningStrip(), f->ct);
    EXPECT_EQ(expected[i]->Parent(), f) << "the panels move beside the strip";
    EXPECT_FALSE(expected[i]->Visible());
  }
  EXPECT_EQ(f->ct->Width(), 23);
  EXPECT_EQ(f->ct->Left(), 0);
  EXPECT_EQ(f->ct->VisibleTabCount(), 4);
  // The empty strips of the right and bottom edges take no room.
  EXPECT_EQ(f->RightBar->Width(), 0);
  EXPECT_EQ(f->bottomBar->Height(), 0);
  EXPECT_EQ(f->page->Left(), 23);
  EXPECT_EQ(f->page->Width(), f->ClientWidth() - 23);
  EXPECT_EQ(f->ct->PanelByName("SimTab"), f->SimTab);
  EXPECT_EQ(f->ct->PanelByName("simtab"), nullptr) << "names compare exactly";
  EXPECT_EQ(f->ct->HostForm()->Name(), "tabf");
  EXPECT_TRUE(f->ct->Hooked());
}

TEST(ToolPanelStrip, TabsCloseTheGapOfPanelsWithoutATabAndHitInTheirGap) {
  Rig rig;
  MainLikeForm* f = rig.form;
  TLumToolPanelTab* ct = f->ct;
  // "Project Manager" is 15 characters of 8 pixels: t = 124, painted from
  // 2 to 130, hit from 3 to 135 (exclusive), the next tab from 136.
  auto spans = ct->TabSpans();
  ASSERT_EQ(spans.size(), 4u);
  EXPECT_EQ(spans[0].Start, 2);
  EXPECT_EQ(spans[0].Length, 124);
  EXPECT_EQ(spans[1].Start, 136);
  EXPECT_EQ(spans[1].Length, 52);
  EXPECT_EQ(ct->TabsLength(), 2 + 134 + 62 + 78 + 134);
  struct Case {
    int y;
    int item;
  } cases[] = {{2, -1}, {3, -1}, {4, 0}, {130, 0}, {134, 0}, {135, -1}, {137, -1}, {138, 1}, {196, 1}, {197, -1}};
  for (const Case& c : cases) EXPECT_EQ(ct->TabAtPos(5, c.y), c.item) << c.y;
  // The other coordinate is not looked at.
  EXPECT_EQ(ct->TabAtPos(500, 50), 0);
  // A hidden panel, a pinned one: no tab, the rest move up.
  f->insertPanel->SetHidden(true);
  spans = ct->TabSpans();
  ASSERT_EQ(spans.size(), 3u);
  EXPECT_EQ(spans[1].Item, 2);
  EXPECT_EQ(spans[1].Start, 136);
  EXPECT_EQ(ct->VisibleTabCount(), 3);
  f->insertPanel->SetHidden(false);
  // An image list: the tab with an image is its width + 6 longer.
  vcl::TImageList images(f);
  images.SetWidth(16);
  images.SetHeight(16);
  ct->SetImages(&images);
  f->SimTab->SetImageIndex(0);
  spans = ct->TabSpans();
  EXPECT_EQ(spans[2].Length, 64 + 16 + 10);
  EXPECT_EQ(spans[3].Length, 124);
}

TEST(ToolPanelStrip, AVerticalStripShorterThanItsTabsScrollsByTheArrowBand) {
  Rig rig;
  MainLikeForm* f = rig.form;
  f->SetClientHeight(300);
  rig.Pump();
  TLumToolPanelTab* ct = f->ct;
  ASSERT_EQ(ct->Height(), 300);
  ASSERT_GT(ct->TabsLength(), 300);  // 410
  // Nothing below height - 10 is a tab.
  EXPECT_EQ(ct->TabAtPos(5, 291), -1);
  EXPECT_EQ(ct->TabAtPos(5, 290), 3);
  const QImage shot = rig.Grab(ct);
  // The band in the strip's colour, the arrows' black at (1 + 2, B - 9 + 3).
  EXPECT_EQ(Rig::At(shot, 20, 299), ct->Color());
  EXPECT_EQ(Rig::At(shot, 3, 294), vcl::clBlack);
  EXPECT_EQ(Rig::At(shot, 13, 293), vcl::clBlack);
  // Up arrow (x 13 to 23) moves the tabs up until they end at the band.
  int presses = 0;
  for (; presses < 20; ++presses) {
    const int before = ct->ScrollOffset();
    Rig::Click(ct, 15, 295);
    if (ct->ScrollOffset() == before) break;
  }
  EXPECT_EQ(presses, 11);
  EXPECT_EQ(ct->ScrollOffset(), -110);
  EXPECT_GE(ct->ScrollOffset(), ct->Height() - ct->TabsLength() - 10);
  EXPECT_EQ(ct->TabSpans()[0].Start, -108);
  // Down arrow (x below 12) brings them back, never above 0.
  for (int i = 0; i < 15; ++i) Rig::Click(ct, 5, 295);
  EXPECT_EQ(ct->ScrollOffset(), 0);
  Rig::Click(ct, 15, 295);
  EXPECT_EQ(ct->ScrollOffset(), -10);
  // A resize starts again from the top.
  f->SetClientHeight(320);
  rig.Pump();
  EXPECT_EQ(ct->ScrollOffset(), 0);
}

TEST(ToolPanelStrip, PixelsOnEachEdge) {
  Rig rig(false);
  MainLikeForm* f = rig.form;
  struct Case {
    MeasuredStrip* strip;
    TPanelPosition position;
  };
  auto* top = new MeasuredStrip(f);
  top->SetName("topBar");
  top->SetParent(f);
  top->SetStyle(esOffice2007Silver);
  top->SetPosition(ppTop);
  MeasuredStrip* strips[] = {f->ct, f->RightBar, top, f->bottomBar};
  // A panel each, captioned "Tab" (t = 28) and "Second" (t = 52).
  for (MeasuredStrip* s : strips) {
    for (const char* caption : {"Tab", "Second"}) {
      auto* p = new TLumToolPanel(f);
      p->SetParent(f);
      p->SetCaption(caption);
      p->SetVisible(false);
      s->AddPanel(p);
      // A strip adopting a panel by hand is its owning strip too.
      EXPECT_EQ(s->PanelIndex(p), s->Panels()->Count() - 1);
    }
  }
  rig.Pump();
  EXPECT_EQ(f->RightBar->Width(), 23) << "tabs give an empty strip its thickness again";
  EXPECT_EQ(f->bottomBar->Height(), 23);
  EXPECT_EQ(top->Height(), 23);
  for (MeasuredStrip* s : strips) {
    SCOPED_TRACE(s->Name());
    const QImage shot = rig.Grab(s);
    const vcl::TRect client = s->ClientRect();
    // First tab at p = 2, t = 28: painted 2 to 34 along the strip.
    const vcl::TRect r = toolpanels::TabRect(s->Position(), client, 23, 2, 28);
    const bool vertical = IsVerticalStrip(s->Position());
    // Outline in the border colour on the tab's first row or column.
    EXPECT_EQ(Rig::At(shot, r.Left, r.Top + 10), 0x74706F);
    EXPECT_EQ(Rig::At(shot, r.Left + 10, r.Top), 0x74706F);
    EXPECT_EQ(Rig::At(shot, r.Right - 1, r.Bottom - 10), 0x74706F);
    // Inside: the 16-band tab gradient, left to right on every edge.
    const int row = vertical ? r.Bottom - 2 : r.Top + 2;  // clear of the caption
    for (int x = r.Left + 1; x < r.Right - 1; ++x)
      EXPECT_EQ(Rig::At(shot, x, row), TabGradientAt(r, 0xF8F7F6, 0xE8E0DB, x)) << x;
    // Between the tabs (positions 35 and 36): the background gradient,
    // across the strip.
    const int gap = 35;
    const TColor first = StripBand(0xFFFFFF, 0xDDD4D0, 0);
    if (vertical)
      EXPECT_EQ(Rig::At(shot, 0, gap), first);
    else
      EXPECT_EQ(Rig::At(shot, gap, 0), first);
    // The 6-pixel gap after the painted end still belongs to the tab.
    EXPECT_EQ(vertical ? s->TabAtPos(0, 38) : s->TabAtPos(38, 0), 0);
    EXPECT_EQ(vertical ? s->TabAtPos(0, 39) : s->TabAtPos(39, 0), -1);
  }
  // Hovering a tab paints it in the hover colours.
  const vcl::TPoint at = Rig::TabPoint(f->ct, 1);
  Rig::Move(f->ct, at.X, at.Y);
  EXPECT_EQ(f->ct->HotTab(), 1);
  const QImage hot = rig.Grab(f->ct);
  const vcl::TRect tab{0, 0, 22, 1};
  for (int x : {1, 8, 20}) {
    EXPECT_EQ(Rig::At(hot, x, 94), TabGradientAt(tab, 0xDCFFFF, 0x5BC0F7, x)) << x;
    EXPECT_EQ(Rig::At(hot, x, 32), TabGradientAt(tab, 0xF8F7F6, 0xE8E0DB, x)) << "the other tab keeps its colours";
  }
  Rig::Leave(f->ct);
  EXPECT_EQ(f->ct->HotTab(), -1);
  EXPECT_EQ(Rig::At(rig.Grab(f->ct), 8, 94), TabGradientAt(tab, 0xF8F7F6, 0xE8E0DB, 8));
}

TEST(ToolPanelStrip, PresetsStyleInterfaceAndVersion) {
  Rig rig;
  MainLikeForm* f = rig.form;
  TLumToolPanelTab* ct = f->ct;
  ct->SetStyle(esOffice2003Olive);
  EXPECT_EQ(ct->TabColor(), 0xCFF0EAu);
  EXPECT_EQ(ct->TabColorTo(), 0x8CC0B1u);
  EXPECT_EQ(ct->TabBorderColor(), 0x588060u);
  EXPECT_EQ(ct->Color(), 0xFFFFFFu);
  EXPECT_EQ(ct->ColorTo(), 0xCEE7E7u);
  EXPECT_EQ(ct->Font()->Color(), 0u);
  // Every panel of the list follows.
  EXPECT_EQ(f->SimTab->Style(), esOffice2003Olive);
  EXPECT_EQ(f->SimTab->Color(), 0xDEEFEFu);
  // esCustom changes no colour; the style interface maps by ordinal.
  ct->SetTabColor(0x123456);
  ct->SetAutoThemeAdapt(true);
  static_cast<IStyleAware*>(ct)->SetComponentStyle(tsCustom);
  EXPECT_EQ(ct->Style(), esCustom);
  EXPECT_EQ(ct->TabColor(), 0x123456u);
  EXPECT_FALSE(ct->AutoThemeAdapt());
  static_cast<IStyleAware*>(ct)->SetComponentStyle(tsWindowsXP);
  EXPECT_EQ(ct->TabColor(), vcl::clInactiveCaption);
  EXPECT_EQ(ct->TabHoverColor(), vcl::clHighlight);
  ct->SetVersion("9");
  EXPECT_EQ(ct->Version(), "1.5.1.0");
  // The desktop's colour scheme chooses the preset.
  vcl::SetThemeColorSchemeName(u"HomeStead");
  ct->ThemeAdapt();
  EXPECT_EQ(ct->Style(), esOffice2003Olive);
  vcl::SetThemeActive(false);
  ct->ThemeAdapt();
  EXPECT_EQ(ct->Style(), esOffice2003Classic);
  vcl::SetThemeActive(true);
  vcl::SetThemeColorSchemeName(u"NormalColor");
}

TEST(ToolPanelStrip, PositionMovesTheStripToItsEdgeAndHidesThePanels) {
  Rig rig;
  MainLikeForm* f = rig.form;
  f->ct->OpenPanel(f->insertPanel);
  EXPECT_TRUE(f->insertPanel->Visible());
  f->ct->SetPosition(ppTop);
  rig.Pump();
  EXPECT_EQ(f->ct->Align(), vcl::alTop);
  EXPECT_FALSE(f->insertPanel->Visible());
  EXPECT_EQ(f->ct->Top(), 0);
  EXPECT_EQ(f->ct->Width(), f->ClientWidth());
}

TEST(ToolPanelStrip, GrabOfTheMainLikeForm) {
  // The project manager pinned, the simulator floating over the page, and
  // a panel open from the right strip in its host form.
  Rig rig(true, 1);
  MainLikeForm* f = rig.form;
  f->RightBar->SetSlideSpeed(ssInstant);
  f->ct->OpenPanel(f->ProjectManagerTab);
  f->ProjectManagerTab->SetLocked(true);
  f->ct->OpenPanel(f->SimTab);
  f->SimTab->SetLocked(true);
  f->SimTab->ManualFloat(vcl::Bounds(f->Left() + 420, f->Top() + 120, 220, 260));
  f->RightBar->OpenTab(0);
  rig.Pump();
  EXPECT_TRUE(f->SimTab->Floating());
  EXPECT_EQ(f->page->Left(), 173);
  EXPECT_TRUE(f->RightBar->HostForm()->Visible());
  EXPECT_EQ(f->rightPanels[0]->Parent(), f->RightBar->HostForm());
  // The whole desktop area the three windows cover, each drawn where it is.
  const vcl::TRect area = vcl::Bounds(f->Left() - 10, f->Top() - 10, 900, 600);
  QImage desk(area.Width(), area.Height(), QImage::Format_RGB32);
  desk.fill(Qt::darkGray);
  QPainter painter(&desk);
  for (vcl::TCustomForm* w : {static_cast<vcl::TCustomForm*>(f), static_cast<vcl::TCustomForm*>(f->RightBar->HostForm()),
                              static_cast<vcl::TCustomForm*>(dynamic_cast<vcl::TCustomForm*>(f->SimTab->Parent()))}) {
    const vcl::TPoint o = w->ClientOrigin();
    painter.drawImage(o.X - area.Left, o.Y - area.Top, rig.Grab(w));
  }
  painter.end();
  desk.save(TOLVANE_BUILD_DIR "/toolpanels_main_form.png");
}

TEST(ToolPanelStrip, TabImagesAndTheTabGlyph) {
  Rig rig;
  MainLikeForm* f = rig.form;
  TLumToolPanelTab* ct = f->ct;
  vcl::TImageList images(f);
  images.SetWidth(16);
  images.SetHeight(16);
  vcl::TBitmap red(16, 16);
  red.Canvas()->Brush()->SetColor(0x0000FF);
  red.Canvas()->FillRect(vcl::Rect(0, 0, 16, 16));
  images.Add(&red, nullptr);
  ct->SetImages(&images);
  f->SimTab->SetImageIndex(0);
  rig.Pump();
  // SimTab's tab starts at 2 + 134 + 62 = 198; its image sits at
  // (k, p + 6) with k = (23 - 16) / 2.
  const auto spans = ct->TabSpans();
  ASSERT_EQ(spans[2].Start, 198);
  QImage shot = rig.Grab(ct);
  EXPECT_EQ(Rig::At(shot, 3, 204), 0x0000FFu);
  EXPECT_EQ(Rig::At(shot, 18, 219), 0x0000FFu);
  EXPECT_NE(Rig::At(shot, 19, 219), 0x0000FFu);
  // A tab glyph replaces the rectangles: drawn from (0, p) along the tab,
  // its bottom-left colour (magenta here) left out.
  vcl::TBitmap glyph(23, 20);
  glyph.Canvas()->Brush()->SetColor(0x00AA00);
  glyph.Canvas()->FillRect(vcl::Rect(0, 0, 23, 20));
  glyph.Canvas()->Brush()->SetColor(0xFF00FF);
  glyph.Canvas()->FillRect(vcl::Rect(0, 18, 4, 20));
  ct->SetTabGlyph(&glyph);
  shot = rig.Grab(ct);
  EXPECT_EQ(Rig::At(shot, 20, 3), 0x00AA00u);
  EXPECT_EQ(Rig::At(shot, 20, 60), 0x00AA00u) << "the middle slice stretched along the tab";
  EXPECT_NE(Rig::At(shot, 1, 2 + 124 + 8 + 16 - 1), 0xFF00FFu) << "the key colour is left out";
  EXPECT_EQ(Rig::At(shot, 3, 204), 0x0000FFu) << "the image over the glyph";
}
