// The caption bar with Caption.Visible True: the three buttons as the set
// asks (placed, shown, enabled, freed), their clicks, a double click
// maximising, a right click asking for the window menu and a press moving
// the form (recorded), and grabs of the title in one colour (centred) and
// in two colours around " - ".
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QCursor>
#include <QImage>
#include <QTest>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "controls/LumGlowButton.h"
#include "ribbon/RorIvezEviDraw.h"
#include "ribbon/RorIvezEviPager.h"
#include "vcl/Forms.h"
#include "vcl/Messages.h"
#include "vcl/Pictures.h"
#include "vcl/SystemMenu.h"

namespace {

using namespace ribbon;
using controls::TLumGlowButton;

class CaptionPager : public TRorIvezEviPager {
 public:
  explicit CaptionPager(vcl::TComponent* owner) : TRorIvezEviPager(owner) {}
  void FinishLoading() { Loaded(); }
};

struct CaptionRig {
  vcl::TForm* form = nullptr;
  CaptionPager* pager = nullptr;
  std::vector<vcl::WPARAM> sysCommands;  // WM_SYSCOMMAND the form heard
  std::vector<vcl::TPoint> menus;        // where the window menu was asked for
  vcl::Cardinal menuAnswer = 0;
  int hook = 0;

  CaptionRig() {
    QCursor::setPos(2, 2);
    form = new vcl::TForm(vcl::Application, 0);
    form->SetBounds(60, 60, 700, 300);
    pager = new CaptionPager(form);
    pager->SetParent(form);
    pager->SetHeight(147);
    pager->TabSettings()->SetHeight(34);
    pager->SetShowHelpButton(false);
    for (const char* c : {"&File", "&Edit"}) {
      auto* p = new TLumPage(form);
      p->SetCaption(c);
      p->SetParent(pager);
    }
    pager->FinishLoading();
    pager->SetActivePageIndex(0);
    hook = form->AddWindowHook([this](vcl::TMessage& m, const vcl::TControl::TWndMethod& next) {
      if (m.Msg == vcl::WM_SYSCOMMAND) sysCommands.push_back(m.WParam);
      next(m);
    });
    vcl::SetSystemMenuHandler([this](vcl::TCustomForm*, vcl::TPoint at) {
      menus.push_back(at);
      return menuAnswer;
    });
    form->Show();
    Pump();
  }
  ~CaptionRig() {
    vcl::SetSystemMenuHandler(nullptr);
    form->RemoveWindowHook(hook);
    vcl::Free(form);
    Pump();
  }
  void Pump() {
    for (int i = 0; i < 3; ++i) {
      QCoreApplication::processEvents();
      vcl::Application->ProcessMessages();
    }
  }
  void Press(QPoint at, Qt::MouseButton button) {
    QTest::mousePress(pager->Widget(), button, {}, at);
    QTest::mouseRelease(pager->Widget(), button, {}, at);
    Pump();
  }
  // A double click as the class library delivers it.
  void DblClick(int x, int y) {
    pager->Perform(vcl::WM_LBUTTONDBLCLK, 0, vcl::MakeLParam(static_cast<vcl::Word>(x), static_cast<vcl::Word>(y)));
    Pump();
  }
  QImage Grab() {
    pager->Invalidate();
    Pump();
    return pager->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  }
};

TEST(RibbonCaptionBar, ButtonsFollowTheSet) {
  CaptionRig rig;
  const int w = rig.pager->Width(), m = RibbonPageMargin();
  ASSERT_NE(rig.pager->CloseButton(), nullptr);
  // Placed from the right, 2 apart, at the caption's top plus the margin.
  EXPECT_EQ(rig.pager->CloseButton()->BoundsRect(), vcl::Bounds(w - m - 18, m, 16, 16));
  EXPECT_EQ(rig.pager->MaximizeButton()->BoundsRect(), vcl::Bounds(w - m - 36, m, 16, 16));
  EXPECT_EQ(rig.pager->MinimizeButton()->BoundsRect(), vcl::Bounds(w - m - 54, m, 16, 16));
  EXPECT_EQ(rig.pager->GetCaptionButtonsRect(), (vcl::TRect{w - m - 54, m, w - m - 2, m + 16}));
  EXPECT_EQ(rig.pager->PageCaption()->RightIndent(), m + 54);
  struct Row {
    TCaptionButtons set;
    bool closeShown, minShown, maxShown, maxEnabled;
  };
  for (const Row& r : {Row{{cbClose, cbMinimize, cbMaximize}, true, true, true, true},
                       Row{{cbMinimize}, false, true, true, false}, Row{{cbClose}, true, false, false, false},
                       Row{{cbMaximize}, false, false, true, true}}) {
    rig.pager->SetCaptionButtons(r.set);
    EXPECT_EQ(rig.pager->CloseButton()->Visible(), r.closeShown);
    EXPECT_EQ(rig.pager->MinimizeButton()->Visible(), r.minShown);
    EXPECT_EQ(rig.pager->MinimizeButton()->Enabled(), r.minShown);
    EXPECT_EQ(rig.pager->MaximizeButton()->Visible(), r.maxShown);
    EXPECT_EQ(rig.pager->MaximizeButton()->Enabled(), r.maxEnabled);
  }
  // None asked for, or the caption hidden: the buttons go and the right
  // indent is given back.
  rig.pager->SetCaptionButtons({});
  EXPECT_EQ(rig.pager->CloseButton(), nullptr);
  EXPECT_EQ(rig.pager->GetCaptionButtonsRect(), (vcl::TRect{-1, -1, -1, -1}));
  EXPECT_EQ(rig.pager->PageCaption()->RightIndent(), 0);
  rig.pager->SetCaptionButtons({cbClose});
  ASSERT_NE(rig.pager->CloseButton(), nullptr);
  rig.pager->PageCaption()->SetVisible(false);
  EXPECT_EQ(rig.pager->CloseButton(), nullptr);
}

TEST(RibbonCaptionBar, ClicksOnTheButtonsAndTheBar) {
  CaptionRig rig;
  vcl::TObject* closedBy = nullptr;
  rig.pager->OnCloseButtonClick = [&](vcl::TObject* Sender) { closedBy = Sender; };
  rig.Press(QPoint(8, 8), Qt::LeftButton);
  // A press on the bar: the form is asked to follow the mouse.
  ASSERT_EQ(rig.sysCommands.size(), 1u);
  EXPECT_EQ(rig.sysCommands[0], 0xF011u);
  // A right click asks for the window menu at the cursor; its answer is
  // carried out.
  rig.sysCommands.clear();
  rig.menuAnswer = vcl::SC_MAXIMIZE;
  rig.Press(QPoint(300, 10), Qt::RightButton);
  ASSERT_EQ(rig.menus.size(), 1u);
  EXPECT_EQ(rig.menus[0], rig.pager->ClientToScreen({300, 10}));
  EXPECT_EQ(rig.sysCommands, (std::vector<vcl::WPARAM>{vcl::SC_MAXIMIZE}));
  rig.form->SetWindowState(vcl::wsNormal);
  // The close button runs its handler with itself as Sender.
  TLumGlowButton* close = rig.pager->CloseButton();
  QTest::mouseClick(close->Widget(), Qt::LeftButton, {}, QPoint(8, 8));
  rig.Pump();
  EXPECT_EQ(closedBy, close);
  // Double clicks on the bar maximise and restore; the maximise glyph
  // turns into the restore glyph.
  const QImage maxGlyph = rig.pager->MaximizeButton()->Widget()->grab().toImage();
  rig.DblClick(300, 10);
  EXPECT_EQ(rig.form->WindowState(), vcl::wsMaximized);
  EXPECT_NE(rig.pager->MaximizeButton()->Widget()->grab().toImage(), maxGlyph);
  rig.DblClick(300, 10);
  EXPECT_EQ(rig.form->WindowState(), vcl::wsNormal);
  // Without cbMaximize a double click does nothing; one over a tab
  // reports the tab.
  rig.pager->SetCaptionButtons({cbClose});
  int dblTab = -1;
  rig.pager->OnTabDblClick = [&](vcl::TObject*, int Page) { dblTab = Page; };
  rig.DblClick(300, 10);
  const vcl::TRect tab = rig.pager->GetTabRect(1);
  rig.DblClick((tab.Left + tab.Right) / 2, tab.Top + 10);
  EXPECT_EQ(rig.form->WindowState(), vcl::wsNormal);
  EXPECT_EQ(dblTab, 1);
  rig.pager->OnTabDblClick = nullptr;
  rig.pager->OnCloseButtonClick = nullptr;
}

// Columns of the caption bar holding a pixel near the colour.
std::vector<int> ColumnsOf(const QImage& shot, int top, int bottom, QRgb colour) {
  std::vector<int> columns;
  for (int x = 0; x < shot.width(); ++x)
    for (int y = top; y < bottom; ++y) {
      const QRgb p = shot.pixel(x, y);
      if (std::abs(qRed(p) - qRed(colour)) < 60 && std::abs(qGreen(p) - qGreen(colour)) < 60 &&
          std::abs(qBlue(p) - qBlue(colour)) < 60) {
        columns.push_back(x);
        break;
      }
    }
  return columns;
}

TEST(RibbonCaptionBar, EdgesLeftToTheFormsFrame) {
  CaptionRig rig;
  const int w = rig.pager->Width();
  struct Row {
    int x, y;
    bool frame;
  };
  for (const Row& r : {Row{2, 20, true}, Row{20, 2, true}, Row{w - 5, 20, true}, Row{3, 3, false},
                       Row{w - 6, 20, false}, Row{300, 60, false}}) {
    const vcl::TPoint at = rig.pager->ClientToScreen({r.x, r.y});
    const vcl::LRESULT answer = rig.pager->Perform(
        vcl::WM_NCHITTEST, 0, vcl::MakeLParam(static_cast<vcl::Word>(at.X), static_cast<vcl::Word>(at.Y)));
    EXPECT_EQ(answer == vcl::HTTRANSPARENT, r.frame) << r.x << "," << r.y;
  }
}

TEST(RibbonCaptionBar, TitleInOneAndTwoColours) {
  CaptionRig rig;
  TVistaTextBackground* a = rig.pager->CurrentStyler()->PagerCaption();
  a->SetColor(vcl::clWhite);
  a->SetColorTo(vcl::clWhite);
  a->SetColorMirror(vcl::clWhite);
  a->SetColorMirrorTo(vcl::clWhite);
  a->SetTextColor(0x0000C0);          // red
  a->SetTextColorExtended(0xC00000);  // blue
  const QRgb red = qRgb(0xC0, 0, 0), blue = qRgb(0, 0, 0xC0);
  rig.pager->PageCaption()->SetIndent(10);
  const vcl::TRect c = rig.pager->GetCaptionRect();

  rig.pager->PageCaption()->SetCaption("Tolvane");
  QImage shot = rig.Grab();
  shot.save(TOLVANE_BUILD_DIR "/ribbon_caption_title.png");
  std::vector<int> text = ColumnsOf(shot, c.Top, c.Bottom, red);
  ASSERT_FALSE(text.empty());
  EXPECT_TRUE(ColumnsOf(shot, c.Top, c.Bottom, blue).empty()) << "one colour without \" - \"";
  // Centred over the whole bar.
  const int middle = (text.front() + text.back()) / 2;
  EXPECT_NEAR(middle, rig.pager->Width() / 2, 4);

  rig.pager->PageCaption()->SetCaption("index.html - Tolvane");
  shot = rig.Grab();
  shot.save(TOLVANE_BUILD_DIR "/ribbon_caption_two_colours.png");
  const std::vector<int> document = ColumnsOf(shot, c.Top, c.Bottom, blue);
  const std::vector<int> program = ColumnsOf(shot, c.Top, c.Bottom, red);
  ASSERT_FALSE(document.empty());
  ASSERT_FALSE(program.empty());
  // The document name and the dash before the program's name.
  EXPECT_LT(document.back(), program.front());
  EXPECT_GT(program.back() - program.front(), 20);
}

}  // namespace

namespace {

TEST(RibbonPagerBackGround, PictureTiledCentredOrStretched) {
  auto* form = new vcl::TForm(vcl::Application, 0);
  form->SetBounds(60, 60, 300, 200);
  auto* pager = new TRorIvezEviPager(form);
  pager->SetParent(form);
  pager->SetHeight(60);
  pager->PageCaption()->SetVisible(false);
  pager->SetShowHelpButton(false);
  TCustomRorIvezEviStyler* s = pager->CurrentStyler();
  // No tab row fill, so the picture shows below the caption too.
  s->TabAppearance()->BackGround()->SetColor(vcl::clNone);
  vcl::TBitmap picture(4, 4);
  picture.Canvas()->Brush()->SetColor(vcl::clRed);
  picture.Canvas()->FillRect(vcl::TRect{0, 0, 4, 4});
  s->SetBackGround(&picture);
  form->Show();
  const int w = pager->Width(), h = pager->Height();
  struct Row {
    TBackGroundDisplay display;
    std::vector<QPoint> red, other;
  };
  for (const Row& r : {Row{bdTile, {{1, 1}, {5, 9}, {w - 1, h - 1}}, {{0, 0}, {0, 9}, {9, 0}}},
                       Row{bdCenter, {{w / 2, h / 2}}, {{1, 1}, {w / 2 + 4, h / 2}}},
                       Row{bdStretch, {{2, 2}, {w - 3, h - 3}, {w / 2, h / 2}}, {{1, 1}, {w - 2, h - 2}}}}) {
    s->SetBackGroundDisplay(r.display);
    pager->Invalidate();
    QCoreApplication::processEvents();
    const QImage shot = pager->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (QPoint p : r.red) EXPECT_EQ(shot.pixel(p), qRgb(255, 0, 0)) << static_cast<int>(r.display) << " at " << p.x() << "," << p.y();
    for (QPoint p : r.other) EXPECT_NE(shot.pixel(p), qRgb(255, 0, 0)) << static_cast<int>(r.display) << " at " << p.x() << "," << p.y();
  }
  vcl::Free(form);
}

}  // namespace
