// The drop-down's buttons on the offscreen platform: the header and footer
// button's colour record, its state looks in pixels, its sizing, the
// closing of a pop-up by modal result from the mouse and the keyboard; the
// arrow container's width and its opening on the press; the arrow greyed
// for a read-only drop-down.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>

#include "DropdownTestSupport.h"
#include "dropdown/LumDropDownButtons.h"
#include "vcl/ImgList.h"
#include "vcl/Pictures.h"
#include "vcl/StdCtrls.h"
#include "vcl/UxTheme.h"

namespace dropdown {
namespace {

using namespace ddtest;

TEST(LumButtonAppearance, StartsWithItsDefaultsAndTellsOnlyRealChanges) {
  TLumButtonAppearance a;
  EXPECT_EQ(a.Color(), clNone);
  EXPECT_EQ(a.ColorTo(), clNone);
  EXPECT_EQ(a.BorderColor(), clNone);
  EXPECT_EQ(a.ColorHot(), TColor(0xF5F0E1));
  EXPECT_EQ(a.ColorHotTo(), TColor(0xF9D2B2));
  EXPECT_EQ(a.BorderColorHot(), TColor(0x808080));
  EXPECT_EQ(a.ColorDown(), TColor(0xF5D8CA));
  EXPECT_EQ(a.ColorDownTo(), TColor(0xF9BDA0));
  EXPECT_EQ(a.BorderColorDown(), TColor(0x800000));
  EXPECT_EQ(a.ColorDisabled(), TColor(0xF2F2F2));
  EXPECT_EQ(a.ColorDisabledTo(), clNone);
  EXPECT_EQ(a.BorderColorDisabled(), TColor(0x808080));
  EXPECT_EQ(a.Gradient(), TGradientDirection::gdVertical);
  EXPECT_EQ(a.Font()->Name(), "Tahoma");
  int changes = 0;
  a.OnChange = [&](TObject*) { ++changes; };
  a.SetColorHot(0xF5F0E1);
  a.SetGradient(TGradientDirection::gdVertical);
  EXPECT_EQ(changes, 0);
  a.SetColorHot(0x123456);
  a.SetBorderColorDisabled(0x654321);
  a.SetGradient(TGradientDirection::gdHorizontal);
  EXPECT_EQ(changes, 3);
  TLumButtonAppearance b;
  b.Font()->SetName("Other");
  b.Assign(&a);
  EXPECT_EQ(b.ColorHot(), TColor(0x123456));
  EXPECT_EQ(b.BorderColorDisabled(), TColor(0x654321));
  EXPECT_EQ(b.Gradient(), TGradientDirection::gdHorizontal);
  EXPECT_EQ(b.Font()->Name(), "Other");  // the colours and gradient only
}

// Plain colours for each state, so a pixel tells the state.
void PlainLooks(TLumButtonAppearance& a) {
  a.SetColor(0x00C000);
  a.SetColorHot(0x0000C0);
  a.SetColorHotTo(clNone);
  a.SetColorDown(0xC00000);
  a.SetColorDownTo(clNone);
  a.SetColorDisabled(0x808080);
  a.SetColorDisabledTo(clNone);
  a.SetBorderColor(0x000000);
  a.SetBorderColorHot(0x000000);
  a.SetBorderColorDown(0x000000);
  a.SetBorderColorDisabled(0x000000);
}

TEST(LumButton, EachStateDrawsItsColoursWithAOnePixelBorder) {
  TForm* form = MakeForm(200, 100);
  TLumButtonAppearance looks;
  PlainLooks(looks);
  auto* b = new TLumButton(form);
  b->SetParent(form);
  b->SetBounds(10, 10, 60, 24);
  EXPECT_EQ(b->LeaveTimer()->Interval(), 1u);
  // Without an appearance nothing is drawn over the parent's background.
  QImage bare = Grab(b);
  EXPECT_EQ(PixelAt(bare, 30, 12), ColorToRGB(form->Color()));
  QCursor::setPos(QPoint(-500, -500));
  Pump();
  b->Perform(CM_MOUSELEAVE);
  b->SetAppearance(&looks);
  QImage normal = Grab(b);
  EXPECT_EQ(PixelAt(normal, 30, 12), TColor(0x00C000));
  EXPECT_EQ(PixelAt(normal, 0, 0), TColor(0x000000));
  EXPECT_EQ(PixelAt(normal, 59, 23), TColor(0x000000));
  // Hot while the pointer is over it; the leave timer ends the hot look
  // once the pointer is elsewhere, even without a leave message.
  QCursor::setPos(b->Widget()->mapToGlobal(QPoint(30, 12)));
  b->Perform(CM_MOUSEENTER);
  EXPECT_TRUE(b->MouseInControl());
  EXPECT_TRUE(b->LeaveTimer()->Enabled());
  EXPECT_EQ(PixelAt(Grab(b), 30, 12), TColor(0x0000C0));
  QCursor::setPos(QPoint(-500, -500));
  for (int i = 0; i < 20 && b->MouseInControl(); ++i) {
    Pump();
    QTest::qWait(2);
  }
  EXPECT_FALSE(b->MouseInControl());
  EXPECT_FALSE(b->LeaveTimer()->Enabled());
  EXPECT_EQ(PixelAt(Grab(b), 30, 12), TColor(0x00C000));
  QCursor::setPos(b->Widget()->mapToGlobal(QPoint(30, 12)));
  b->Perform(CM_MOUSEENTER);
  MouseDown(b, 30, 12);
  EXPECT_TRUE(b->Pressed());
  EXPECT_EQ(PixelAt(Grab(b), 30, 12), TColor(0xC00000));
  MouseUp(b, 30, 12);
  EXPECT_FALSE(b->Pressed());
  b->Perform(CM_MOUSELEAVE);
  EXPECT_FALSE(b->MouseInControl());
  EXPECT_FALSE(b->LeaveTimer()->Enabled());
  b->SetEnabled(false);
  EXPECT_EQ(PixelAt(Grab(b), 30, 12), TColor(0x808080));
  SaveShot(Grab(form), "dropdown_lum_button.png");
  delete form;
}

struct Closer : TDropDownCloser {
  int hides = 0;
  bool cancelled = false;
  void HideDropDown(bool c) override {
    ++hides;
    cancelled = c;
  }
};

TEST(LumButton, AFooterButtonClosesThePopUpByItsModalResult) {
  struct Case {
    TModalResult result;
    bool closes, cancelled;
  } cases[] = {
      {mrNone, false, false}, {mrOk, true, false},     {mrCancel, true, true}, {mrAbort, true, true},
      {mrRetry, false, false}, {mrIgnore, true, true}, {mrYes, true, false},   {mrNo, true, true},
      {mrAll, true, false},    {mrNoToAll, true, true}, {mrYesToAll, true, false},
  };
  TForm* form = MakeForm(200, 100);
  for (const Case& c : cases) {
    for (bool keyboard : {false, true}) {
      SCOPED_TRACE(std::to_string(c.result) + (keyboard ? " by key" : " by mouse"));
      auto* b = new TLumButton(form);
      b->SetParent(form);
      b->SetBounds(10, 10, 60, 24);
      Closer closer;
      int clicks = 0;
      bool hiddenBeforeClick = false;
      b->OnClick = [&](TObject*) {
        ++clicks;
        hiddenBeforeClick = closer.hides > 0;
      };
      b->SetModalResult(c.result);
      b->SetOwnerDropDown(&closer);
      form->SetModalResult(-1);
      if (keyboard) {
        b->Perform(WM_KEYDOWN, VK_RETURN);
      } else {
        MouseDown(b, 5, 5);
        MouseUp(b, 5, 5);
      }
      EXPECT_EQ(form->ModalResult(), c.result);
      EXPECT_EQ(closer.hides, c.closes ? 1 : 0);
      EXPECT_EQ(closer.cancelled, c.cancelled);
      // The keyboard closes without OnClick; the mouse fires it after the
      // pop-up is hidden.
      EXPECT_EQ(clicks, keyboard ? 0 : 1);
      if (!keyboard && c.closes) EXPECT_TRUE(hiddenBeforeClick);
      delete b;
    }
  }
  // A header button (no drop-down to close) only clicks; Space clicks
  // like Enter; the release outside the button does not click.
  auto* b = new TLumButton(form);
  b->SetParent(form);
  b->SetBounds(10, 10, 60, 24);
  b->SetCaption("&Go");
  b->SetModalResult(mrOk);
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  MouseDown(b, 5, 5);
  MouseUp(b, 5, 5);
  EXPECT_EQ(clicks, 1);
  MouseDown(b, 5, 5);
  MouseUp(b, 100, 50);
  EXPECT_EQ(clicks, 1);
  Closer closer;
  b->SetOwnerDropDown(&closer);
  b->Perform(WM_KEYDOWN, VK_SPACE);
  EXPECT_EQ(closer.hides, 1);
  EXPECT_EQ(clicks, 1);
  // Its accelerator clicks it, OnClick included.
  EXPECT_EQ(b->Perform(CM_DIALOGCHAR, 'g'), 1);
  EXPECT_EQ(closer.hides, 2);
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(b->Perform(CM_DIALOGCHAR, 'x'), 0);
  delete form;
}

TEST(LumButton, SizesItselfToTheLargerOfCaptionAndImage) {
  TForm* form = MakeForm(200, 100);
  TLumButtonAppearance looks;
  auto* b = new TLumButton(form);
  b->SetParent(form);
  b->SetCaption("Apply");
  b->AutoSizeToContent();  // nothing without an appearance
  EXPECT_EQ(b->Width(), 23);
  EXPECT_EQ(b->Height(), 22);
  b->SetAppearance(&looks);
  TBitmap probe(1, 1);
  probe.Canvas()->Font()->Assign(looks.Font());
  TSize text = GetTextSize(probe.Canvas(), "Apply");
  b->AutoSizeToContent();
  EXPECT_EQ(b->Width(), text.cx + 8);
  EXPECT_EQ(b->Height(), text.cy + 4);
  TImageList images(nullptr);
  images.SetWidth(10);
  images.SetHeight(40);
  TBitmap tall(10, 40);
  images.Add(&tall, nullptr);
  b->SetImages(&images);
  b->SetImageIndex(0);
  b->AutoSizeToContent();
  EXPECT_EQ(b->Width(), std::max(text.cx, 10) + 8);  // the larger, not the sum
  EXPECT_EQ(b->Height(), 44);
  delete form;
}

TEST(DropDownEditButton, KeepsItsWidthAndOpensOnTheLeftPress) {
  TForm* form = MakeForm(200, 100);
  auto* edit = new TEdit(form);
  edit->SetParent(form);
  edit->SetBounds(10, 10, 120, 25);
  auto* container = new TDropDownEditButton(edit);
  container->SetParent(form);
  EXPECT_EQ(container->Width(), 16);
  EXPECT_EQ(container->Height(), 25);
  EXPECT_FALSE(container->TabStop());
  container->SetBounds(114, 10, 40, 21);
  EXPECT_EQ(container->Width(), 16);
  EXPECT_EQ(container->Button()->Width(), 16);
  EXPECT_EQ(container->Button()->Height(), 21);
  container->SetButtonWidth(20);
  EXPECT_EQ(container->Width(), 20);
  EXPECT_EQ(container->Button()->Width(), 20);
  EXPECT_EQ(container->Button()->ButtonStyle(), TDropButtonStyle::bsDropDown);
  int clicks = 0;
  container->OnClick = [&](TObject* sender) {
    EXPECT_EQ(sender, container);
    ++clicks;
  };
  MouseDown(container, 8, 8);
  EXPECT_EQ(clicks, 1);  // on the press
  MouseUp(container, 8, 8);
  EXPECT_EQ(clicks, 1);
  // A right press does nothing.
  QWidget* w = container->Widget();
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(8, 8), w->mapToGlobal(QPointF(8, 8)), Qt::RightButton,
                    Qt::RightButton, Qt::NoModifier);
  QCoreApplication::sendEvent(w, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(8, 8), w->mapToGlobal(QPointF(8, 8)), Qt::RightButton,
                      Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(w, &release);
  EXPECT_EQ(clicks, 1);

  // The arrow is black while the drop-down takes input and grey while it is
  // read-only or disabled.
  container->SetButtonWidth(17);
  auto darkest = [&] {
    QImage img = Grab(container);
    TColor best = 0xFFFFFF;
    int bestSum = 3 * 255;
    // Around the middle, where the arrow is, away from the face's edges.
    for (int y = 6; y < img.height() - 6; ++y)
      for (int x = 4; x < img.width() - 4; ++x) {
        TColor p = PixelAt(img, x, y);
        int sum = int(p & 0xFF) + int((p >> 8) & 0xFF) + int((p >> 16) & 0xFF);
        if (sum < bestSum) bestSum = sum, best = p;
      }
    return best;
  };
  auto sum = [](TColor p) { return int(p & 0xFF) + int((p >> 8) & 0xFF) + int((p >> 16) & 0xFF); };
  const bool wasThemed = IsThemeActive();
  for (bool themed : {true, false}) {
    SCOPED_TRACE(themed ? "themed" : "plain");
    SetThemeActive(themed);
    container->Button()->Invalidate();
    TColor usable = darkest();
    EXPECT_TRUE(container->Button()->Enabled());
    if (!themed) EXPECT_EQ(usable, clBlack);
    if (themed) SaveShot(Grab(container), "dropdown_arrow_button_themed.png");
    edit->SetReadOnly(true);
    container->Button()->Invalidate();
    TColor readOnly = darkest();
    EXPECT_FALSE(container->Button()->Enabled());
    EXPECT_GT(sum(readOnly), sum(usable));
    if (!themed) EXPECT_EQ(readOnly, ColorToRGB(clGrayText));
    edit->SetReadOnly(false);
    edit->SetEnabled(false);
    container->Button()->Invalidate();
    EXPECT_EQ(darkest(), readOnly);
    edit->SetEnabled(true);
    container->Button()->Invalidate();
    EXPECT_EQ(darkest(), usable);
  }
  SaveShot(Grab(container), "dropdown_arrow_button.png");
  SetThemeActive(wasThemed);
  delete form;
}

}  // namespace
}  // namespace dropdown
