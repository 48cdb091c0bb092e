// The drop-down's pop-up form on the offscreen platform, served by a
// stand-in drop-down: its frame and gradient, the header and footer bars
// (creation, heights, buttons and their arrangement, captions, outer edges
// without a frame), the size grip's squares and its resize, closing on
// deactivation with CancelOnDeactivate on and off, and the buttons' clicks.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QTest>
#include <QWidget>
#include <string>
#include <vector>

#include "DropdownTestSupport.h"
#include "dropdown/LumDropDownForm.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Graphics.h"
#include "vcl/TestCanvases.h"

namespace dropdown {
namespace {

using namespace ddtest;

// The drop-down's side of the pop-up, recording what the pop-up asks.
class FormRigHost final : public TDropDownHost {
 public:
  explicit FormRigHost(TWinControl* control)
      : control_(control), header_(nullptr), footer_(nullptr) {}
  TWinControl* HostControl() override { return control_; }
  Integer DropDownBorderWidth() const override { return borderWidth; }
  TColor DropDownBorderColor() const override { return borderColor; }
  TColor DropDownColor() const override { return color; }
  TColor DropDownColorTo() const override { return colorTo; }
  bool DropDownSizeable() const override { return sizeable; }
  THeaderAppearance* DropDownHeader() override { return &header_; }
  TFooterAppearance* DropDownFooter() override { return &footer_; }
  TImageList* Images() const override { return nullptr; }
  TLumButtonAppearance* ButtonAppearance() override { return &buttons_; }
  TDrawBackGroundEvent HeaderDrawHandler() const override { return nullptr; }
  TGetTextEvent HeaderTextHandler() const override { return headerText; }
  TDrawBackGroundEvent FooterDrawHandler() const override { return nullptr; }
  TGetTextEvent FooterTextHandler() const override { return nullptr; }
  void HeaderButtonClick(Integer i) override { log.push_back("header " + std::to_string(i)); }
  void FooterButtonClick(Integer i) override { log.push_back("footer " + std::to_string(i)); }
  void HideDropDown(bool cancelled) override {
    log.push_back(cancelled ? "hide cancelled" : "hide");
    if (form) form->HidePopup();
  }

  Integer borderWidth = 1;
  TColor borderColor = 0x0000FF;
  TColor color = 0xFFFFFF;
  TColor colorTo = 0x000000;
  bool sizeable = true;
  TGetTextEvent headerText;
  std::vector<std::string> log;
  TDropDownForm* form = nullptr;

 private:
  TWinControl* control_;
  THeaderAppearance header_;
  TFooterAppearance footer_;
  TLumButtonAppearance buttons_;
};

struct FormRig {
  TForm* owner = MakeForm(300, 200);
  TPanel* edit = nullptr;
  std::unique_ptr<FormRigHost> host;
  TDropDownForm* form = nullptr;

  FormRig() {
    edit = new TPanel(owner);
    edit->SetParent(owner);
    edit->SetBounds(10, 10, 120, 22);
    host = std::make_unique<FormRigHost>(edit);
    form = new TDropDownForm(Application);
    host->form = form;
    form->SetOwnerDropDown(host.get());
    form->SetBounds(30, 60, 200, 150);
  }
  ~FormRig() {
    Free(form);
    Free(owner);
  }
  void Show() {
    form->UpdateHeaderFooter();
    form->ShowPopup();
    Pump();
    host->log.clear();
  }
  QImage Shot() {
    Pump();
    return form->WindowWidget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  }
};

TColor FormPixel(const QImage& img, int x, int y) { return PixelAt(img, x, y); }

TEST(DropDownForm, PaintsItsFrameAndAGradientInsideIt) {
  FormRig rig;
  rig.host->DropDownHeader()->SetVisible(false);
  rig.host->DropDownFooter()->SetVisible(false);
  rig.host->borderWidth = 2;
  rig.Show();
  QImage img = rig.Shot();
  ASSERT_EQ(img.width(), 200);
  // The frame: two pixels of the border colour on every side.
  for (auto [x, y] : {std::pair{0, 0}, {1, 1}, {199, 75}, {198, 75}, {100, 149}, {100, 148}, {0, 140}})
    EXPECT_EQ(FormPixel(img, x, y), TColor(0x0000FF)) << x << "," << y;
  // Inside: white on the left to black on the right, the same down a column.
  TColor left = FormPixel(img, 2, 75), right = FormPixel(img, 197, 75);
  EXPECT_GE(left & 0xFF, 0xF0u);
  EXPECT_LE(right & 0xFF, 0x10u);
  EXPECT_EQ(FormPixel(img, 100, 3), FormPixel(img, 100, 146));
  // The client area for the content lies inside the frame.
  TRect r = rig.form->ClientRect();
  rig.form->AdjustClientRect(r);
  EXPECT_EQ(r, Rect(2, 2, 198, 148));

  // A plain colour, and no frame at all with the border colour clNone.
  rig.host->colorTo = clNone;
  rig.host->color = 0x00FF00;
  rig.host->borderColor = clNone;
  rig.form->Invalidate();
  img = rig.Shot();
  EXPECT_EQ(FormPixel(img, 100, 75), TColor(0x00FF00));
  EXPECT_EQ(FormPixel(img, 197, 75), TColor(0x00FF00));
}

TEST(DropDownForm, CreatesItsBarsFromTheAppearancesAndFollowsTheirHeight) {
  FormRig rig;
  rig.host->DropDownHeader()->SetVisible(true);
  rig.host->DropDownFooter()->SetVisible(false);
  rig.Show();
  ASSERT_NE(rig.form->Header(), nullptr);
  EXPECT_EQ(rig.form->Footer(), nullptr);
  EXPECT_EQ(rig.form->Header()->Top(), 1);  // inside the one-pixel frame
  EXPECT_EQ(rig.form->Header()->Left(), 1);
  EXPECT_EQ(rig.form->Header()->Width(), 198);
  EXPECT_EQ(rig.form->Header()->Height(), 22);
  // Only the height changed: the existing header takes it all the same.
  rig.host->DropDownHeader()->SetHeight(30);
  rig.form->UpdateHeaderFooter();
  EXPECT_EQ(rig.form->Header()->Height(), 30);
  // Hidden, then a footer comes at the bottom.
  rig.host->DropDownHeader()->SetVisible(false);
  rig.host->DropDownFooter()->SetVisible(true);
  rig.form->UpdateHeaderFooter();
  EXPECT_FALSE(rig.form->Header()->Visible());
  ASSERT_NE(rig.form->Footer(), nullptr);
  EXPECT_EQ(rig.form->Footer()->Top() + rig.form->Footer()->Height(), 149);
  // The bar's appearance is a copy of the drop-down's.
  rig.host->DropDownFooter()->SetColor(0x123456);
  rig.form->UpdateHeaderFooter();
  EXPECT_EQ(rig.form->Footer()->BarAppearance()->Color(), TColor(0x123456));
}

TEST(DropDownForm, ArrangesBarButtonsByAlignmentAndCutsTheirHeight) {
  struct Case {
    TButtonAlignment alignment;
    bool footer;
    bool sizeable;
    Integer areaRight;  // of the caption area, for a 200-wide pop-up
  };
  const Case cases[] = {
      {TButtonAlignment::baRight, false, true, 196},
      {TButtonAlignment::baLeft, false, true, 196},
      {TButtonAlignment::baRight, true, true, 184},
      {TButtonAlignment::baRight, true, false, 196},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "footer " << c.footer << " sizeable " << c.sizeable << " left "
                                    << (c.alignment == TButtonAlignment::baLeft));
    FormRig rig;
    rig.host->sizeable = c.sizeable;
    rig.host->DropDownHeader()->SetVisible(!c.footer);
    rig.host->DropDownFooter()->SetVisible(c.footer);
    auto add = [&](const char* caption, Integer width, Integer height) {
      if (c.footer) {
        auto* b = rig.host->DropDownFooter()->ButtonsList()->Add();
        b->SetCaption(caption);
        b->SetWidth(width);
        b->SetHeight(height);
      } else {
        auto* b = rig.host->DropDownHeader()->ButtonsList()->Add();
        b->SetCaption(caption);
        b->SetWidth(width);
        b->SetHeight(height);
      }
    };
    rig.host->DropDownHeader()->SetButtonAlignment(c.alignment);
    rig.host->DropDownFooter()->SetButtonAlignment(c.alignment);
    add("One", 40, 0);
    add("Two", 30, 100);
    rig.Show();
    TLumButton* b0 = c.footer ? rig.form->Footer()->ButtonControl(0) : rig.form->Header()->ButtonControl(0);
    TLumButton* b1 = c.footer ? rig.form->Footer()->ButtonControl(1) : rig.form->Header()->ButtonControl(1);
    TRect area = c.footer ? rig.form->Footer()->CaptionArea() : rig.form->Header()->CaptionArea();
    EXPECT_EQ(area.Right, c.areaRight);
    EXPECT_EQ(b0->Width(), 40);
    EXPECT_EQ(b1->Width(), 30);
    EXPECT_EQ(b1->Height(), area.Height());  // 100 cut to the caption area
    if (c.alignment == TButtonAlignment::baRight) {
      EXPECT_EQ(b0->Left(), area.Right - 40);  // the first item rightmost
      EXPECT_EQ(b1->Left(), area.Right - 70);
    } else {
      EXPECT_EQ(b0->Left(), area.Left);
      EXPECT_EQ(b1->Left(), area.Left + 40);
    }
    EXPECT_EQ(b1->Top(), std::max(area.Top, (area.Bottom - b1->Height()) / 2));
    // Reading past the buttons raises.
    const TDbgList& list = c.footer ? rig.form->Footer()->ButtonControls() : rig.form->Header()->ButtonControls();
    try {
      list.Items(2);
      ADD_FAILURE() << "no exception";
    } catch (rtl::Exception& e) {
      EXPECT_EQ(e.Message(), "Index out of bounds in list read access");
    }
  }
}

TEST(DropDownForm, ButtonClicksReachTheDropDownAndFooterResultsClose) {
  FormRig rig;
  rig.host->DropDownHeader()->SetVisible(true);
  rig.host->DropDownFooter()->SetVisible(true);
  rig.host->DropDownHeader()->ButtonsList()->Add()->SetCaption("H0");
  rig.host->DropDownHeader()->ButtonsList()->Add()->SetCaption("H1");
  auto* ok = rig.host->DropDownFooter()->ButtonsList()->Add();
  ok->SetCaption("OK");
  ok->SetModalResult(mrOk);
  auto* cancel = rig.host->DropDownFooter()->ButtonsList()->Add();
  cancel->SetCaption("Cancel");
  cancel->SetModalResult(mrCancel);
  rig.Show();
  rig.form->Header()->ButtonControl(1)->Click();
  EXPECT_EQ(rig.host->log, (std::vector<std::string>{"header 1"}));
  rig.host->log.clear();
  rig.form->Footer()->ButtonControl(1)->Click();
  EXPECT_EQ(rig.host->log, (std::vector<std::string>{"hide cancelled", "footer 1"}));
  rig.Show();
  rig.form->Footer()->ButtonControl(0)->Click();
  EXPECT_EQ(rig.host->log, (std::vector<std::string>{"hide", "footer 0"}));
}

TEST(DropDownForm, DeactivationClosesByCancelOnDeactivateAndNotesTheTick) {
  for (bool cancelOn : {true, false}) {
    SCOPED_TRACE(cancelOn);
    ManualTime time(500000);
    FormRig rig;
    rig.form->SetCancelOnDeactivate(cancelOn);
    rig.Show();
    time.Advance(40);
    QTest::mousePress(rig.edit->Widget(), Qt::LeftButton, {}, QPoint(3, 3));
    QTest::mouseRelease(rig.edit->Widget(), Qt::LeftButton, {}, QPoint(3, 3));
    Pump();
    EXPECT_EQ(rig.host->log, (std::vector<std::string>{cancelOn ? "hide cancelled" : "hide"}));
    EXPECT_EQ(rig.form->LastDeactivateTick(), static_cast<Cardinal>(rtl::GetTickCount()));
    EXPECT_FALSE(rig.form->Visible());
  }
  // Without a drop-down, the form just hides.
  FormRig lone;
  lone.form->SetOwnerDropDown(nullptr);
  lone.form->SetPopupParent(lone.edit);
  lone.form->ShowPopup();
  Pump();
  QTest::mousePress(lone.edit->Widget(), Qt::LeftButton, {}, QPoint(3, 3));
  QTest::mouseRelease(lone.edit->Widget(), Qt::LeftButton, {}, QPoint(3, 3));
  Pump();
  EXPECT_FALSE(lone.form->Visible());
  EXPECT_TRUE(lone.host->log.empty());
}

TEST(DropDownForm, SizeGripSquaresAtTheirExactPixels) {
  TFakeMetricsCanvas canvas(20, 20);
  canvas.Brush()->SetColor(0x808080);
  canvas.FillRect(Rect(0, 0, 20, 20));
  DrawSizeGrip(&canvas, Rect(2, 1, 17, 18), 0x000080);
  // L = 2, B = 18: white squares at (L+5,B-4) ..., shadow one up-left.
  const int white[][2] = {{7, 14}, {11, 14}, {15, 14}, {15, 10}, {15, 6}, {11, 10}};
  std::vector<std::vector<char>> want(20, std::vector<char>(20, '.'));
  for (auto& w : white)
    for (int dx = 0; dx < 2; ++dx)
      for (int dy = 0; dy < 2; ++dy) want[w[1] + dy][w[0] + dx] = 'w';
  for (auto& w : white)
    for (int dx = 0; dx < 2; ++dx)
      for (int dy = 0; dy < 2; ++dy) want[w[1] - 1 + dy][w[0] - 1 + dx] = 's';
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) {
      TColor p = canvas.Pixels(x, y);
      TColor expected = want[y][x] == 'w' ? clWhite : want[y][x] == 's' ? TColor(0x000080) : TColor(0x808080);
      EXPECT_EQ(p, expected) << x << "," << y;
    }
}

TEST(DropDownForm, TheFooterGripResizesThePopupAndTellsOnSizing) {
  FormRig rig;
  rig.host->DropDownFooter()->SetVisible(true);
  rig.host->DropDownHeader()->SetVisible(false);
  int sizings = 0;
  rig.form->OnSizing = [&](TObject*) { ++sizings; };
  rig.Show();
  TLumFooter* footer = rig.form->Footer();
  ASSERT_TRUE(footer->GripShowing());
  QImage img = rig.Shot();
  // The grip's first square at (L+5, B-4) in footer coordinates: white,
  // its top-left pixel under the border-coloured shadow.
  const int gl = footer->Width() - 1 - 16, gb = footer->Height();
  const int fx = footer->Left() + gl, fy = footer->Top() + gb;
  EXPECT_EQ(FormPixel(img, fx + 6, fy - 3), clWhite);
  EXPECT_EQ(FormPixel(img, fx + 5, fy - 4), TColor(clBlack));
  EXPECT_EQ(FormPixel(img, fx + 4, fy - 5), TColor(clBlack));
  EXPECT_EQ(FormPixel(img, fx + 14, fy - 11), clWhite);  // the top square
  // A press in the grip zone starts the resize; the pop-up follows the mouse.
  QWidget* frame = rig.form->WindowWidget();
  QPoint inGrip(footer->Width() - 4, footer->Height() - 4);
  QCursor::setPos(footer->Widget()->mapToGlobal(inGrip));
  QTest::mousePress(footer->Widget(), Qt::LeftButton, {}, inGrip);
  Pump();
  ASSERT_TRUE(rig.form->GripResizing());
  QPoint corner = frame->mapFromGlobal(footer->Widget()->mapToGlobal(inGrip));
  QTest::mouseMove(frame, corner + QPoint(40, 25));
  QTest::mouseRelease(frame, Qt::LeftButton, {}, corner + QPoint(40, 25));
  Pump();
  EXPECT_FALSE(rig.form->GripResizing());
  EXPECT_EQ(rig.form->Width(), 240);
  EXPECT_EQ(rig.form->Height(), 175);
  EXPECT_GE(sizings, 1);
  EXPECT_TRUE(rig.form->PopupShowing());
  EXPECT_EQ(footer->Top() + footer->Height(), 174);
  // A press outside the zone does nothing of the kind.
  QTest::mousePress(footer->Widget(), Qt::LeftButton, {}, QPoint(5, 5));
  QTest::mouseRelease(footer->Widget(), Qt::LeftButton, {}, QPoint(5, 5));
  Pump();
  EXPECT_FALSE(rig.form->GripResizing());
  // Not sizeable: no grip, no resize.
  rig.host->sizeable = false;
  QTest::mousePress(footer->Widget(), Qt::LeftButton, {}, QPoint(footer->Width() - 4, footer->Height() - 4));
  Pump();
  EXPECT_FALSE(rig.form->GripResizing());
  QTest::mouseRelease(footer->Widget(), Qt::LeftButton, {}, QPoint(footer->Width() - 4, footer->Height() - 4));
}

TEST(DropDownForm, BarsDrawTheirOuterEdgesWhenNoFrameSurroundsThem) {
  for (TColor frameColour : {TColor(0x0000FF), clNone}) {
    SCOPED_TRACE(frameColour);
    FormRig rig;
    rig.host->borderColor = frameColour;
    rig.host->borderWidth = frameColour == clNone ? 0 : 1;
    auto* ha = rig.host->DropDownHeader();
    ha->SetVisible(true);
    ha->SetColor(0xE0E0E0);
    ha->SetColorTo(clNone);
    ha->SetBorderColor(0x008000);
    rig.host->DropDownFooter()->SetVisible(false);
    rig.Show();
    QImage img = rig.Shot();
    TLumHeader* h = rig.form->Header();
    const int x0 = h->Left(), y0 = h->Top();
    // The line along the bottom in the border colour, always.
    EXPECT_EQ(FormPixel(img, x0 + 50, y0 + h->Height() - 1), TColor(0x008000));
    // The inner rectangle's blend just inside.
    EXPECT_EQ(FormPixel(img, x0 + 50, y0 + h->Height() - 2), BlendColor(0x008000, clWhite, 20));
    // The top and left edges: the inner blend inside the pop-up's frame, or
    // the bar's own border with the blend inside it.
    const TColor blend = BlendColor(0x008000, clWhite, 20);
    if (frameColour == clNone) {
      EXPECT_EQ(FormPixel(img, x0 + 50, y0), TColor(0x008000));
      EXPECT_EQ(FormPixel(img, x0, y0 + 10), TColor(0x008000));
      EXPECT_EQ(FormPixel(img, x0 + h->Width() - 1, y0 + 10), TColor(0x008000));
      EXPECT_EQ(FormPixel(img, x0 + 50, y0 + 1), blend);
      EXPECT_EQ(FormPixel(img, x0 + 1, y0 + 10), blend);
    } else {
      EXPECT_EQ(FormPixel(img, x0 + 50, y0), blend);
      EXPECT_EQ(FormPixel(img, x0, y0 + 10), blend);
      EXPECT_EQ(FormPixel(img, x0 - 1, y0 + 10), TColor(0x0000FF));  // the frame
    }
    EXPECT_EQ(FormPixel(img, x0 + 50, y0 + 5), TColor(0xE0E0E0));
  }
}


// The whole pop-up for a person to look at: frame, gradient, a header with
// a bold caption and two buttons on the right, a footer with its caption,
// an OK button on the left and the grip.
TEST(DropDownForm, GalleryOfAPopupWithHeaderAndFooter) {
  FormRig rig;
  rig.host->color = 0xFFF4E8;
  rig.host->colorTo = 0xE0C8B0;
  rig.host->borderColor = 0x7F4F2F;
  auto* ha = rig.host->DropDownHeader();
  ha->SetVisible(true);
  ha->SetCaption("<b>Colours</b> of the page");
  ha->ButtonsList()->Add()->SetCaption("X");
  ha->ButtonsList()->Add()->SetCaption("?");
  auto* fa = rig.host->DropDownFooter();
  fa->SetVisible(true);
  fa->SetCaption("3 items");
  fa->SetButtonAlignment(TButtonAlignment::baLeft);
  fa->ButtonsList()->Add()->SetCaption("OK");
  rig.Show();
  QImage img = rig.Shot();
  SaveShot(img, "dropdown_popup_form.png");
  // Text drawn in the header left of its buttons, none past the caption's end.
  TLumHeader* h = rig.form->Header();
  const int lastLeft = h->Left() + h->ButtonControl(1)->Left();
  int dark = 0;
  for (int y = h->Top() + 2; y < h->Top() + h->Height() - 2; ++y)
    for (int x = h->Left() + 2; x < lastLeft - 2; ++x)
      if ((FormPixel(img, x, y) & 0xFF) < 0x60) ++dark;
  EXPECT_GT(dark, 20);
  // The footer's caption starts after its left-aligned button: text pixels
  // there, none between the button and the caption's start.
  TLumFooter* f = rig.form->Footer();
  TLumButton* ok = f->ButtonControl(0);
  EXPECT_EQ(ok->Left(), 2);
  const int captionLeft = f->Left() + ok->Left() + ok->Width() + 2;
  int footerDark = 0;
  for (int y = f->Top() + 2; y < f->Top() + f->Height() - 2; ++y) {
    EXPECT_GE(FormPixel(img, captionLeft - 1, y) & 0xFF, 0x60u) << y;
    for (int x = captionLeft; x < captionLeft + 40; ++x)
      if ((FormPixel(img, x, y) & 0xFF) < 0x60) ++footerDark;
  }
  EXPECT_GT(footerDark, 10);
}

}  // namespace
}  // namespace dropdown
