#include "GlowButtonRig.h"

#include <QCoreApplication>
#include <QCursor>
#include <algorithm>

namespace glowtest {

Rig::Rig() : clock(std::make_shared<rtl::ManualClock>(1000000)) {
  rtl::InstallClock(clock);
  // The cursor away from every window, whatever an earlier test left.
  QCursor::setPos(2, 2);
  form = new vcl::TForm(vcl::Application, 0);
  form->SetClientWidth(420);
  form->SetClientHeight(260);
  form->SetLeft(40);
  form->SetTop(30);
  panel = new vcl::TPanel(form);
  panel->SetParent(form);
  panel->SetBounds(0, 0, 420, 260);
  panel->SetColor(kParentColour);
  form->Show();
  Pump();
}

Rig::~Rig() {
  vcl::Free(form);
  Pump();
  rtl::InstallClock(nullptr);
}

TLumGlowButton* Rig::Add(int left, int top, int width, int height) {
  auto* b = new TLumGlowButton(form);
  b->SetParent(panel);
  b->SetBounds(left, top, width, height);
  b->HandleNeeded();
  Pump();
  return b;
}

void Rig::Pump() {
  for (int i = 0; i < 4; ++i) {
    QCoreApplication::processEvents();
    vcl::Application->ProcessMessages();
  }
}

void Rig::Advance(uint64_t ms) {
  while (ms > 0) {
    const uint64_t step = std::min<uint64_t>(ms, 10);
    clock->Advance(step);
    ms -= step;
    vcl::Application->ProcessMessages();
  }
}

QImage Rig::Grab(vcl::TWinControl* control) {
  Pump();
  return control->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

TColor Rig::At(const QImage& image, int x, int y) {
  const QRgb p = image.pixel(x, y);
  return vcl::RGB(static_cast<uint8_t>(qRed(p)), static_cast<uint8_t>(qGreen(p)), static_cast<uint8_t>(qBlue(p)));
}

void Rig::PointAt(vcl::TControl* b, int x, int y) {
  const vcl::TPoint p = b->ClientToScreen({x, y});
  QCursor::setPos(p.X, p.Y);
}

void Rig::Move(TLumCustomGlowButton* b, int x, int y) {
  b->Perform(vcl::WM_MOUSEMOVE, 0, vcl::MakeLParam(static_cast<vcl::Word>(x), static_cast<vcl::Word>(y)));
}

void Rig::Press(TLumCustomGlowButton* b, int x, int y) {
  b->Perform(vcl::WM_LBUTTONDOWN, vcl::MK_LBUTTON,
             vcl::MakeLParam(static_cast<vcl::Word>(x), static_cast<vcl::Word>(y)));
}

void Rig::Release(TLumCustomGlowButton* b, int x, int y) {
  b->Perform(vcl::WM_LBUTTONUP, 0, vcl::MakeLParam(static_cast<vcl::Word>(x), static_cast<vcl::Word>(y)));
}

}  // namespace glowtest
