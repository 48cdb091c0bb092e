// The grid's indicator windows: the arrows that show where a dragged
// column or row lands, shaped to their polygons, and the caption window of
// column moves; the XP and theme questions; the grid making them.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QWidget>

#include "grid/GridComponent.h"
#include "grid/GridObjects.h"
#include "grid/draw/GridDraw.h"
#include "rtl/SystemInfo.h"
#include "vcl/ScrollBars.h"
#include "vcl/Forms.h"
#include "vcl/Regions.h"
#include "vcl/UxTheme.h"
#include "vcl/WinApi.h"

using namespace grid;
using vcl::TForm;

namespace {

TForm* MakeIndicatorForm() {
  auto* form = new TForm(vcl::Application, 0);
  form->SetBounds(0, 0, 300, 200);
  return form;
}

QImage Grab(vcl::TWinControl* control) {
  vcl::Application->ProcessMessages();
  control->Invalidate();
  return control->Widget()->grab().toImage();
}

bool IsLime(QRgb p) { return p == qRgb(0, 255, 0); }

}  // namespace

TEST(GridIndicators, ArrowWindowsAreShapedToTheirArrows) {
  TForm* form = MakeIndicatorForm();
  auto* host = new vcl::TPanel(form);
  host->SetParent(form);
  host->SetBounds(0, 0, 200, 100);
  form->Show();
  // Pixels inside and outside each arrow (x, y, inside).
  struct Probe {
    Integer x, y;
    bool inside;
  };
  struct Case {
    Integer direction;
    std::vector<Probe> probes;
  } cases[] = {
      {TArrowWindow::adUp, {{5, 1, true}, {5, 7, true}, {1, 4, true}, {1, 7, false}, {9, 8, false}, {0, 0, false}}},
      {TArrowWindow::adDown, {{5, 1, true}, {5, 6, true}, {2, 4, true}, {1, 1, false}, {8, 1, false}, {1, 7, false}}},
      {TArrowWindow::adRight, {{1, 5, true}, {6, 5, true}, {4, 1, true}, {1, 1, false}, {1, 9, false}, {8, 1, false}}},
      {TArrowWindow::adLeft, {{1, 5, true}, {6, 5, true}, {3, 2, true}, {7, 1, false}, {7, 9, false}, {0, 0, false}}},
  };
  for (const Case& c : cases) {
    auto* arrow = new TArrowWindow(host, c.direction);
    EXPECT_EQ(arrow->Owner(), host);
    EXPECT_EQ(arrow->Parent(), host);
    EXPECT_FALSE(arrow->Visible());
    EXPECT_EQ(arrow->Color(), vcl::clLime);
    EXPECT_EQ(arrow->Direction(), c.direction);
    arrow->SetBounds(20 * c.direction, 10, 11, 11);
    arrow->SetVisible(true);
    arrow->HandleNeeded();
    EXPECT_EQ(arrow->WindowStyle() & vcl::WS_POPUP, vcl::WS_POPUP);

    vcl::TRegion shape;
    ASSERT_TRUE(vcl::GetWindowRgn(arrow->Handle(), &shape)) << c.direction;
    EXPECT_EQ(shape, vcl::PolygonRegion(TArrowWindow::ArrowPoints(c.direction), true));
    const QImage painted = Grab(arrow);
    for (const Probe& p : c.probes) {
      EXPECT_EQ(shape.Contains({p.x, p.y}), p.inside) << c.direction << " " << p.x << "," << p.y;
      // The window paints its face in lime wherever it shows.
      if (p.inside) EXPECT_TRUE(IsLime(painted.pixel(p.x, p.y))) << c.direction << " " << p.x << "," << p.y;
    }
  }
  EXPECT_TRUE(TArrowWindow::ArrowPoints(4).empty());
  vcl::Free(form);
}

TEST(GridIndicators, PopupCaptionWindow) {
  TForm* form = MakeIndicatorForm();
  auto* caption = new TPopupButton(form);
  EXPECT_EQ(caption->GradFrom(), clNone);
  EXPECT_EQ(caption->GradTo(), clNone);
  EXPECT_EQ(caption->Images(), nullptr);
  EXPECT_FALSE(caption->Flat());
  EXPECT_FALSE(caption->Enabled());
  EXPECT_EQ(caption->Color(), vcl::clBtnFace);
  caption->SetParent(form);
  caption->SetBounds(10, 10, 120, 24);
  form->Show();
  caption->HandleNeeded();
  EXPECT_EQ(caption->WindowStyle() & (vcl::WS_POPUP | vcl::WS_BORDER | vcl::WS_DISABLED),
            vcl::WS_POPUP | vcl::WS_BORDER | vcl::WS_DISABLED);
  EXPECT_NE(caption->ClassStyle() & 0x0800u, 0u);  // the pixels under it are kept
  EXPECT_NE(caption->WindowExStyle() & vcl::WS_EX_TOPMOST, 0u);
  EXPECT_EQ(caption->ClientWidth(), 118);  // the thin border

  caption->SetGradFrom(0x00C000);  // a solid face: no colour to go to
  QImage img = Grab(caption);
  const TColor frame = vcl::ColorToRGB(vcl::clWindowFrame);
  EXPECT_EQ(img.pixel(0, 0), qRgb(frame & 0xFF, (frame >> 8) & 0xFF, (frame >> 16) & 0xFF)) << "thin border";
  EXPECT_EQ(img.pixel(1, 1), qRgb(255, 255, 255)) << "3-D frame, top left";
  EXPECT_EQ(img.pixel(118, 22), qRgb(128, 128, 128)) << "3-D frame, bottom right";
  EXPECT_EQ(img.pixel(4, 4), qRgb(0, 192, 0));
  // No caption: the face alone.
  for (int x = 2; x < 118; ++x) ASSERT_EQ(img.pixel(x, 12), qRgb(0, 192, 0)) << x;

  caption->SetFlat(true);
  img = Grab(caption);
  EXPECT_EQ(img.pixel(1, 1), qRgb(0, 192, 0)) << "flat: no 3-D frame";

  // A gradient from top to bottom.
  caption->SetGradFrom(0xFFFFFF);
  caption->SetGradTo(0x000000);
  img = Grab(caption);
  EXPECT_GT(qRed(img.pixel(60, 2)), qRed(img.pixel(60, 20)));

  // The caption is centred on one line; an HTML caption shows its text.
  auto darkColumns = [](const QImage& im) {
    int first = -1, last = -1;
    for (int x = 0; x < im.width(); ++x)
      for (int y = 2; y < im.height() - 2; ++y)
        if (qGray(im.pixel(x, y)) < 60) {
          if (first < 0) first = x;
          last = x;
          break;
        }
    return std::pair{first, last};
  };
  caption->SetGradFrom(0xFFFFFF);
  caption->SetGradTo(clNone);
  caption->SetCaption("Unit");
  const QImage unit = Grab(caption);
  const auto [first, last] = darkColumns(unit);
  ASSERT_GT(first, 0);
  EXPECT_NEAR((first + last) / 2.0, 60, 3) << first << ".." << last;
  caption->SetCaption("<b>Unit</b>");
  const auto [htmlFirst, htmlLast] = darkColumns(Grab(caption));
  EXPECT_GT(htmlFirst, 0);
  EXPECT_LT(htmlLast - htmlFirst, 60) << "the tags are not shown";
  // A caption too long for the window ends in an ellipsis inside it.
  caption->SetCaption("A very long caption of a column that is being moved");
  const QImage cut = Grab(caption);
  const auto [longFirst, longLast] = darkColumns(cut);
  EXPECT_GE(longFirst, 1);
  EXPECT_LE(longLast, 118);
  caption->SetFlat(false);
  caption->SetGradFrom(0xF0D0B0);
  caption->SetGradTo(0xC08040);
  caption->SetCaption("Value");
  const QImage gradient = Grab(caption);
  QImage sheet(3 * 130, 30, QImage::Format_RGB32);
  sheet.fill(Qt::white);
  QPainter painter(&sheet);
  painter.drawImage(0, 0, unit);
  painter.drawImage(130, 0, cut);
  painter.drawImage(260, 0, gradient);
  painter.end();
  ASSERT_TRUE(sheet.save(TOLVANE_BUILD_DIR "/grid-caption-window.png"));
  vcl::Free(form);
}

TEST(GridIndicators, XPAndThemeQuestions) {
  // The desktop is a current one: XP or later always.
  EXPECT_TRUE(IsWinXPOrLater());
  struct Case {
    bool themed;
    std::optional<rtl::TFileVersionWords> comctl;
    bool expected;
  } cases[] = {
      {true, rtl::TFileVersionWords{0x0006000A, 0}, true},
      {false, rtl::TFileVersionWords{0x0006000A, 0}, false},
      {true, rtl::TFileVersionWords{0x00050052, 0}, false},  // 5.82
      {true, std::nullopt, false},
  };
  const bool wasThemed = vcl::IsThemeActive();
  for (const Case& c : cases) {
    vcl::SetThemeActive(c.themed);
    rtl::SetFileVersionForTesting("comctl32.dll", c.comctl);
    EXPECT_EQ(IsThemedXP(), c.expected) << c.themed;
  }
  rtl::ResetFileVersionsForTesting();
  vcl::SetThemeActive(wasThemed);
}

TEST(GridIndicators, TheGridMakesItsArrowsAndCaptionWindow) {
  TForm* form = MakeIndicatorForm();
  auto* grid = new TVadOdizadEzev(form);
  grid->SetParent(form);
  for (Integer d = 0; d < 4; ++d) {
    TArrowWindow* arrow = grid->DropArrow(d);
    ASSERT_NE(arrow, nullptr) << d;
    EXPECT_EQ(arrow->Direction(), d);
    EXPECT_EQ(arrow->Owner(), grid);
    EXPECT_FALSE(arrow->Visible());
  }
  auto* caption = dynamic_cast<TPopupButton*>(grid->EditorControl(ecPopupButton));
  ASSERT_NE(caption, nullptr);
  EXPECT_FALSE(caption->Enabled());
  EXPECT_FALSE(caption->Visible());
  EXPECT_NE(grid->EditorControl(ecControlEdit), nullptr);
  EXPECT_NE(grid->EditorControl(ecControlCombo), nullptr);
  vcl::Free(form);
}

TEST(GridIndicators, TheWindowPlacesTheScrollBarControlsAndStartsTheTimer) {
  TForm* form = MakeIndicatorForm();
  auto* grid = new TVadOdizadEzev(form);
  for (Integer i = 0; i < 2; ++i) {
    ASSERT_NE(grid->ScrollBarControl(i), nullptr);
    EXPECT_EQ(grid->ScrollBarControl(i)->Owner(), grid);
    EXPECT_EQ(grid->ScrollBarControl(i)->Parent(), nullptr) << "not before the window";
  }
  grid->SetParent(form);
  form->Show();
  grid->HandleNeeded();
  for (Integer i = 0; i < 2; ++i) {
    vcl::TScrollBar* bar = grid->ScrollBarControl(i);
    EXPECT_EQ(bar->Parent(), grid);
    EXPECT_FALSE(bar->Visible());
    EXPECT_FALSE(bar->TabStop());
    EXPECT_EQ(bar->Kind(), vcl::sbVertical);
    EXPECT_FALSE(bar->Ctl3D());
  }
  // The 500 ms timer runs: stopping it finds it.
  EXPECT_TRUE(vcl::KillTimer(grid->Handle(), GridTimerId));
  EXPECT_FALSE(vcl::KillTimer(grid->Handle(), GridTimerId));
  vcl::Free(form);
}

// The layered-window calls go through to user32 and do nothing, answering
// True, when the library or the export is missing.
TEST(GridIndicators, LayeredWindowCallsPassThroughOrDoNothing) {
  TForm* form = MakeIndicatorForm();
  form->Show();
  auto* panel = new vcl::TPanel(form);
  panel->SetParent(form);
  panel->SetBounds(0, 0, 40, 30);
  panel->HandleNeeded();

  EXPECT_TRUE(CallSetLayeredWindowAttributes(form->Handle(), 0, 128, vcl::LWA_ALPHA));
  EXPECT_NEAR(form->Widget()->window()->windowOpacity(), 128 / 255.0, 0.01);
  EXPECT_FALSE(CallSetLayeredWindowAttributes(0, 0, 128, vcl::LWA_ALPHA)) << "the call's own answer";

  const vcl::TPoint to{5, 6};
  const vcl::TSize size{20, 10};
  EXPECT_TRUE(CallUpdateLayeredWindow(panel->Handle(), nullptr, &to, &size, nullptr, nullptr, 0, nullptr, 0));
  EXPECT_EQ(panel->BoundsRect(), vcl::Bounds(5, 6, 20, 10));

  struct Missing {
    const char* module;
    const char* exportName;
  } missing[] = {{"user32", nullptr}, {"user32", "SetLayeredWindowAttributes"}, {"user32", "UpdateLayeredWindow"}};
  for (const Missing& m : missing) {
    if (m.exportName == nullptr)
      vcl::SetModuleHidden(m.module, true);
    else
      vcl::SetExportHidden(m.module, m.exportName, true);
    const vcl::TPoint away{30, 20};
    const bool movedAllowed = m.exportName != nullptr && std::string(m.exportName) == "SetLayeredWindowAttributes";
    const bool setPresent = m.exportName != nullptr && std::string(m.exportName) == "UpdateLayeredWindow";
    // Without the export: True; with it, the call's own False for no window.
    EXPECT_EQ(CallSetLayeredWindowAttributes(0, 0, 200, vcl::LWA_ALPHA), !setPresent)
        << (m.exportName ? m.exportName : "module");
    EXPECT_TRUE(CallUpdateLayeredWindow(panel->Handle(), nullptr, &away, &size, nullptr, nullptr, 0, nullptr, 0));
    if (movedAllowed)
      EXPECT_EQ(panel->Left(), 30);  // only the other export is missing
    else
      EXPECT_EQ(panel->Left(), 5) << "nothing done";
    panel->SetBounds(5, 6, 20, 10);
    if (m.exportName == nullptr)
      vcl::SetModuleHidden(m.module, false);
    else
      vcl::SetExportHidden(m.module, m.exportName, false);
  }
  vcl::Free(form);
}
