// The drawing calls on the canvases of controls: a graphic control's
// canvas has its own coordinates and clipping inside its parent's buffer.
#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>
#include <functional>

#include "vcl/Controls.h"
#include "vcl/Forms.h"
#include "vcl/Gdi.h"
#include "vcl/Pictures.h"

namespace {

using namespace vcl;

class Painter : public TGraphicControl {
 public:
  using TGraphicControl::TGraphicControl;
  std::function<void(TCanvas*)> paint;

 protected:
  void Paint() override {
    if (paint) paint(Canvas());
  }
};

TColor Screen(QWidget* w, int x, int y) {
  QRgb p = w->grab().toImage().pixel(x, y);
  return RGB(static_cast<Byte>(qRed(p)), static_cast<Byte>(qGreen(p)), static_cast<Byte>(qBlue(p)));
}

class ControlCanvas : public ::testing::Test {
 protected:
  void SetUp() override {
    form = new TForm(Application, 0);
    form->SetClientWidth(200);
    form->SetClientHeight(120);
    painter = new Painter(form);
    painter->SetBounds(30, 20, 60, 40);
    painter->SetParent(form);
    form->Show();
  }
  void TearDown() override { Free(form); }
  TForm* form = nullptr;
  Painter* painter = nullptr;
};

TEST_F(ControlCanvas, ClippingUsesTheControlsCoordinates) {
  painter->paint = [](TCanvas* c) {
    c->Brush()->SetColor(clRed);
    c->SaveDC();
    c->IntersectClipRect(Rect(0, 0, 20, 40));
    c->FillRect(Rect(-10, -10, 100, 100));
    c->RestoreDC(-1);
    c->Brush()->SetColor(clBlue);
    c->Ellipse(40, 10, 60, 30);
  };
  form->Update();
  QWidget* client = form->Widget();
  TColor face = ColorToRGB(clBtnFace);
  EXPECT_EQ(Screen(client, 30, 20), clRed);
  EXPECT_EQ(Screen(client, 49, 59), clRed);
  EXPECT_EQ(Screen(client, 50, 20), face) << "clipped by the intersected rectangle";
  EXPECT_EQ(Screen(client, 29, 20), face) << "clipped by the control's bounds";
  EXPECT_EQ(Screen(client, 30 + 50, 20 + 20), clBlue);
  // Outside a paint the canvas clips to the control.
  EXPECT_EQ(painter->Canvas()->ClipRect(), Rect(0, 0, 60, 40));
}

TEST_F(ControlCanvas, CopiesAndTextLandInTheParentsBuffer) {
  TBitmap picture(10, 10);
  picture.Canvas()->Brush()->SetColor(clLime);
  picture.Canvas()->FillRect(Rect(0, 0, 10, 10));
  form->Update();
  TCanvas* c = painter->Canvas();
  // Drawing outside a paint message: a copy hanging over the right edge
  // stops at the control.
  c->CopyRect(Rect(55, 0, 65, 10), picture.Canvas(), Rect(0, 0, 10, 10));
  c->Draw(0, 30, &picture);
  c->Font()->SetColor(clBlack);
  c->Brush()->SetStyle(bsClear);
  TRect r = Rect(0, 0, 60, 30);
  c->DrawText("Hi", r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  QWidget* client = form->Widget();
  EXPECT_EQ(Screen(client, 30 + 55, 20), clLime);
  EXPECT_EQ(Screen(client, 30 + 59, 20 + 9), clLime);
  EXPECT_EQ(Screen(client, 30 + 60, 20), ColorToRGB(clBtnFace));
  EXPECT_EQ(Screen(client, 30 + 0, 20 + 39), clLime);
  // Dark ink of the text lies near the control's middle.
  int ink = 0;
  QImage shot = client->grab().toImage();
  for (int y = 20 + 5; y < 20 + 25; ++y)
    for (int x = 30 + 20; x < 30 + 40; ++x) ink += qGray(shot.pixel(x, y)) < 100;
  EXPECT_GT(ink, 5);
}

}  // namespace
