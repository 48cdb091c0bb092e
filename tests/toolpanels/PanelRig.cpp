#include "PanelRig.h"

#include <QCoreApplication>
#include <QCursor>
#include <QWidget>
#include <algorithm>

#include "rtl/MessagePump.h"
#include "vcl/StdCtrls.h"
#include "vcl/WinApi.h"

namespace paneltest {

namespace {

std::function<void()> gRigPreviousPump;
Rig* gRigCurrent = nullptr;

MeasuredStrip* RigStrip(MainLikeForm* form, const char* name, TPanelPosition position) {
  auto* s = new MeasuredStrip(form);
  s->SetName(name);
  s->SetParent(form);
  s->SetStyle(esOffice2007Silver);
  s->Font()->SetName("Tahoma");
  s->Font()->SetHeight(-11);
  s->Font()->SetColor(0x723708);
  s->SetPosition(position);
  return s;
}

TLumToolPanel* RigPanel(MainLikeForm* form, MeasuredStrip* strip, const char* name, const char* caption,
                        TToolPanelStyle style) {
  auto* p = new TLumToolPanel(form);
  p->SetName(name);
  p->SetParent(strip);
  p->SetCaption(caption);
  p->SetStyle(style);
  return p;
}

}  // namespace

MainLikeForm::MainLikeForm(vcl::TComponent* owner, bool withPanels, int edgePanels) : vcl::TForm(owner) {
  SetBounds(100, 80, 800, 560);
  SetCaption("Tolvane");
  page = new vcl::TPanel(this);
  page->SetParent(this);
  page->SetAlign(vcl::alClient);
  page->SetColor(0xFFFFFF);
  page->SetCaption("");
  ct = RigStrip(this, "ct", ppLeft);
  ct->SetSlideSpeed(ssInstant);
  RightBar = RigStrip(this, "RightBar", ppRight);
  bottomBar = RigStrip(this, "bottomBar", ppBottom);
  for (int i = 1; i <= edgePanels; ++i) {
    const std::string n = std::to_string(i);
    rightPanels.push_back(RigPanel(this, RightBar, ("rightPanel" + n).c_str(), ("Right " + n).c_str(), esOffice2007Silver));
    bottomPanels.push_back(
        RigPanel(this, bottomBar, ("bottomPanel" + n).c_str(), ("Bottom " + n).c_str(), esOffice2007Silver));
  }
  if (!withPanels) return;
  ProjectManagerTab = RigPanel(this, ct, "ProjectManagerTab", "Project Manager", esOffice2007Silver);
  insertPanel = RigPanel(this, ct, "insertPanel", "Insert", esOffice2007Silver);
  SimTab = RigPanel(this, ct, "SimTab", "Simulate", esOffice2003Silver);
  simErrorsTab = RigPanel(this, ct, "simErrorsTab", "Simulate Errors", esOffice2007Silver);
  simEdit = new vcl::TEdit(this);
  simEdit->SetParent(SimTab);
  simEdit->SetBounds(10, 40, 120, 21);
}

Rig::Rig(bool withPanels, int edgePanels) : clock(std::make_shared<rtl::ManualClock>(1000000)) {
  clock->SetSleepAdvances(true);
  rtl::InstallClock(clock);
  gRigCurrent = this;
  gRigPreviousPump = rtl::SetProcessMessagesHandler([] {
    if (gRigCurrent && gRigCurrent->onStepWait) gRigCurrent->onStepWait();
    if (gRigPreviousPump) gRigPreviousPump();
  });
  Away();
  form = new MainLikeForm(vcl::Application, withPanels, edgePanels);
  form->AfterConstruction();
  form->Show();
  Pump();
}

Rig::~Rig() {
  vcl::Free(form);
  Pump();
  rtl::SetProcessMessagesHandler(gRigPreviousPump);
  gRigPreviousPump = nullptr;
  gRigCurrent = nullptr;
  vcl::Screen->SetCursor(vcl::crDefault);
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

void Rig::PointAt(vcl::TControl* c, int x, int y) {
  const vcl::TPoint p = c->ClientToScreen({x, y});
  QCursor::setPos(p.X, p.Y);
}

void Rig::Away() { QCursor::setPos(2, 2); }

void Rig::Move(vcl::TWinControl* c, int x, int y) {
  // The platform delivers the move to the window under the cursor, as the
  // class library's WM_MOUSEMOVE (and its enter and leave); a control
  // that is not under it gets the message directly.
  const vcl::TPoint before = vcl::GetCursorPos();
  PointAt(c, x, y);
  const vcl::TPoint screen = c->ClientToScreen({x, y});
  if (before == screen || !c->Showing())
    c->Perform(vcl::WM_MOUSEMOVE, 0, vcl::MakeLParam(static_cast<vcl::Word>(x), static_cast<vcl::Word>(y)));
  else
    QCoreApplication::processEvents();
}

void Rig::Press(vcl::TWinControl* c, int x, int y, bool right) {
  PointAt(c, x, y);
  c->Perform(right ? vcl::WM_RBUTTONDOWN : vcl::WM_LBUTTONDOWN, right ? vcl::MK_RBUTTON : vcl::MK_LBUTTON,
             vcl::MakeLParam(static_cast<vcl::Word>(x), static_cast<vcl::Word>(y)));
}

void Rig::Release(vcl::TWinControl* c, int x, int y, bool right) {
  PointAt(c, x, y);
  c->Perform(right ? vcl::WM_RBUTTONUP : vcl::WM_LBUTTONUP, 0,
             vcl::MakeLParam(static_cast<vcl::Word>(x), static_cast<vcl::Word>(y)));
}

void Rig::Leave(vcl::TWinControl* c) {
  Away();
  c->Perform(vcl::CM_MOUSELEAVE);
}

vcl::TPoint Rig::TabPoint(TLumToolPanelTab* strip, int item) {
  for (const toolpanels::TTabSpan& tab : strip->TabSpans()) {
    if (tab.Item != item) continue;
    const int along = tab.Start + tab.Length / 2 + 2;
    if (IsVerticalStrip(strip->Position())) return {strip->Width() - 5, along};
    return {along, strip->Height() - 5};
  }
  return {-1, -1};
}

}  // namespace paneltest
