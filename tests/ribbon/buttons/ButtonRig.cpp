#include "ButtonRig.h"

#include <QCoreApplication>
#include <QCursor>
#include <QWidget>
#include <algorithm>

#include "vcl/Messages.h"

namespace ribbontest {

Rig::Rig() : clock(std::make_shared<rtl::ManualClock>(1000000)) {
  rtl::InstallClock(clock);
  QCursor::setPos(2, 2);
  form = new vcl::TForm(vcl::Application, 0);
  form->SetClientWidth(420);
  form->SetClientHeight(260);
  form->SetLeft(40);
  form->SetTop(30);
  panel = new vcl::TPanel(form);
  panel->SetParent(form);
  panel->SetBounds(0, 0, 420, 260);
  panel->SetColor(kPanelColour);
  bar = new RecordingToolBar(form);
  bar->SetParent(panel);
  bar->SetAutoSize(false);  // the buttons' own tests place and size it
  bar->SetBounds(10, 10, 400, 40);
  // A plain toolbar of one colour: no gradient, frame, grip or handle.
  TCustomRorIvezEviStyler* styler = bar->CurrentStyler();
  styler->Color()->SetColor(kToolBarColour);
  styler->Color()->SetColorTo(vcl::clNone);
  styler->SetBorderColor(vcl::clNone);
  styler->SetDragGripStyle(dsNone);
  bar->SetShowRightHandle(false);
  form->Show();
  Pump();
}

Rig::~Rig() {
  vcl::Free(form);
  Pump();
  rtl::InstallClock(nullptr);
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

namespace {
vcl::LPARAM RigPoint(vcl::TControl* b, int x, int y) {
  return vcl::MakeLParam(static_cast<vcl::Word>(b->Left() + x), static_cast<vcl::Word>(b->Top() + y));
}
}  // namespace

void Rig::Move(vcl::TControl* b, int x, int y) {
  const vcl::TPoint s = b->ClientToScreen({x, y});
  QCursor::setPos(s.X, s.Y);
  b->Parent()->Perform(vcl::WM_MOUSEMOVE, 0, RigPoint(b, x, y));
}

void Rig::Press(vcl::TControl* b, int x, int y) {
  b->Parent()->Perform(vcl::WM_LBUTTONDOWN, vcl::MK_LBUTTON, RigPoint(b, x, y));
}

void Rig::Release(vcl::TControl* b, int x, int y) {
  b->Parent()->Perform(vcl::WM_LBUTTONUP, 0, RigPoint(b, x, y));
}

void Rig::Away() {
  QCursor::setPos(2, 2);
  bar->Perform(vcl::CM_MOUSELEAVE);
}

}  // namespace ribbontest
