// The frame controller: what reaches each kind of linked control, when,
// and in which order; and a controlled frame painted into a real window
// border.
#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>
#include <vector>

#include "support/FrameController.h"
#include "vcl/Forms.h"
#include "vcl/Pictures.h"
#include "vcl/WinApi.h"
#include "SupportTestUtil.h"

using namespace support;
using namespace vcl;

namespace {

// A control carrying every controller property, logging each push. Its
// frame, while visible, takes a two-pixel border of the window.
class FramedPanel : public TCustomControl, public IWexFrameControllerTarget {
 public:
  explicit FramedPanel(TComponent* owner) : TCustomControl(owner) {}

  std::vector<TWexFrameControllerProperty> pushes;
  TWexFrameControllerNotifications notifications = kAllFrameControllerNotifications;
  TColor focusColor = clWindow, disabledColor = clBtnFace, readOnlyColor = clInfoBk, flatButtonColor = clBtnFace;
  bool readOnlyColorOnFocus = false, flatButtons = true, frameHotTrack = false, frameVisible = false;
  TColor frameColor = clBtnShadow, frameHotColor = clBtnShadow;
  TFrameStyle frameStyle = fsFlat, frameHotStyle = fsFlatBold;
  TSides frameSides = kAllSides;
  TFramingPreference framing = fpXPThemes;
  int ncPaints = 0;

  TWexFrameControllerNotifications FrameControllerNotifications() const override { return notifications; }

  bool SetFrameControllerProperty(TWexFrameControllerProperty p, const TWexFrameController& c) override {
    pushes.push_back(p);
    switch (p) {
      case fcpColor: SetColor(c.Color()); break;
      case fcpParentColor: SetParentColor(c.ParentColor()); break;
      case fcpFocusColor: focusColor = c.FocusColor(); break;
      case fcpDisabledColor: disabledColor = c.DisabledColor(); break;
      case fcpReadOnlyColor: readOnlyColor = c.ReadOnlyColor(); break;
      case fcpReadOnlyColorOnFocus: readOnlyColorOnFocus = c.ReadOnlyColorOnFocus(); break;
      case fcpFlatButtonColor: flatButtonColor = c.FlatButtonColor(); break;
      case fcpFlatButtons: flatButtons = c.FlatButtons(); break;
      case fcpFrameColor: frameColor = c.FrameColor(); RepaintFrame(); break;
      case fcpFrameHotColor: frameHotColor = c.FrameHotColor(); break;
      case fcpFrameHotTrack: frameHotTrack = c.FrameHotTrack(); break;
      case fcpFrameHotStyle: frameHotStyle = c.FrameHotStyle(); break;
      case fcpFrameSides: frameSides = c.FrameSides(); RepaintFrame(); break;
      case fcpFrameStyle: frameStyle = c.FrameStyle(); RepaintFrame(); break;
      case fcpFrameVisible:
        frameVisible = c.FrameVisible();
        if (HandleAllocated()) UpdateNonClientArea();
        break;
      case fcpFramingPreference: framing = c.FramingPreference(); break;
      case fcpAll: return false;
    }
    return true;
  }

  void Dispatch(TMessage& m) override {
    switch (m.Msg) {
      case WM_NCCALCSIZE:
        if (frameVisible) {
          auto* r = reinterpret_cast<TRect*>(m.LParam);
          *r = {r->Left + 2, r->Top + 2, r->Right - 2, r->Bottom - 2};
        }
        return;
      case WM_NCPAINT: {
        TCustomControl::Dispatch(m);
        ++ncPaints;
        std::unique_ptr<TCanvas> dc = GetWindowDC(Handle());
        PaintControlFrame(dc.get(), Width(), Height(), frameStyle, Color(), frameColor, frameSides, false);
        return;
      }
      default: TCustomControl::Dispatch(m);
    }
  }

 protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(clYellow);
    Canvas()->FillRect(ClientRect());
  }

 private:
  void RepaintFrame() {
    if (HandleAllocated()) InvalidateNonClientFrame(Handle(), BoundsRect());
  }
};

// A control that only hears that something changed.
class ClientPanel : public TCustomControl, public IWexFrameControllerClient {
 public:
  using TCustomControl::TCustomControl;
  int changes = 0;
  void FrameControllerChanged() override { ++changes; }
};

const std::vector<TWexFrameControllerProperty> kAllInOrder = {
    fcpParentColor,  fcpColor,         fcpDisabledColor, fcpReadOnlyColor, fcpReadOnlyColorOnFocus, fcpFocusColor,
    fcpFlatButtonColor, fcpFlatButtons, fcpFrameColor,  fcpFrameHotColor, fcpFrameHotTrack,       fcpFrameHotStyle,
    fcpFrameSides,   fcpFrameStyle,    fcpFrameVisible,  fcpFramingPreference};

class FrameControllerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    owner = new TComponent(nullptr);
    controller = new TWexFrameController(owner);
    panel = new FramedPanel(owner);
  }
  void TearDown() override { delete owner; }
  TComponent* owner = nullptr;
  TWexFrameController* controller = nullptr;
  FramedPanel* panel = nullptr;
};

}  // namespace

TEST_F(FrameControllerTest, DefaultsAreThePublishedOnes) {
  EXPECT_EQ(controller->Color(), clWindow);
  EXPECT_FALSE(controller->ParentColor());
  EXPECT_EQ(controller->FlatButtonColor(), clBtnFace);
  EXPECT_TRUE(controller->FlatButtons());
  EXPECT_EQ(controller->DisabledColor(), clBtnFace);
  EXPECT_EQ(controller->ReadOnlyColor(), clInfoBk);
  EXPECT_FALSE(controller->ReadOnlyColorOnFocus());
  EXPECT_EQ(controller->FocusColor(), clWindow);
  EXPECT_EQ(controller->FrameColor(), clBtnShadow);
  EXPECT_EQ(controller->FrameHotColor(), clBtnShadow);
  EXPECT_FALSE(controller->FrameHotTrack());
  EXPECT_EQ(controller->FrameHotStyle(), fsFlatBold);
  EXPECT_EQ(controller->FrameSides(), kAllSides);
  EXPECT_EQ(controller->FrameStyle(), fsFlat);
  EXPECT_FALSE(controller->FrameVisible());
  EXPECT_EQ(controller->FramingPreference(), fpXPThemes);
  EXPECT_EQ(controller->RegIniFile(), nullptr);
  EXPECT_EQ(controller->LinkedControlCount(), 0);
}

TEST_F(FrameControllerTest, LinkingPushesEverythingOnceInOrder) {
  controller->LinkControl(panel);
  EXPECT_EQ(panel->pushes, kAllInOrder);
  controller->LinkControl(panel);  // a second link is ignored
  EXPECT_EQ(panel->pushes.size(), kAllInOrder.size());
  EXPECT_EQ(controller->LinkedControlCount(), 1);

  // While the controller's colour follows its parent, its own colour is
  // not pushed with the rest.
  controller->UnlinkControl(panel);
  EXPECT_EQ(controller->LinkedControlCount(), 0);
  controller->SetParentColor(true);
  panel->pushes.clear();
  controller->LinkControl(panel);
  std::vector<TWexFrameControllerProperty> withoutColor = kAllInOrder;
  withoutColor.erase(withoutColor.begin() + 1);
  EXPECT_EQ(panel->pushes, withoutColor);
}

TEST_F(FrameControllerTest, EachSetterPushesItsOwnProperty) {
  controller->LinkControl(panel);
  struct Case {
    std::function<void()> set;
    std::vector<TWexFrameControllerProperty> pushed;
  } cases[] = {
      {[&] { controller->SetFrameColor(clRed); }, {fcpFrameColor}},
      {[&] { controller->SetFrameColor(clRed); }, {}},  // unchanged: nothing
      {[&] { controller->SetFrameHotColor(clLime); }, {fcpFrameHotColor}},
      {[&] { controller->SetFrameStyle(fsRaised); }, {fcpFrameStyle}},
      {[&] { controller->SetFrameHotStyle(fsLowered); }, {fcpFrameHotStyle}},
      {[&] { controller->SetFrameSides({sdLeft}); }, {fcpFrameSides}},
      {[&] { controller->SetDisabledColor(clGray); }, {fcpDisabledColor}},
      {[&] { controller->SetReadOnlyColor(clAqua); }, {fcpReadOnlyColor}},
      {[&] { controller->SetReadOnlyColorOnFocus(true); }, {fcpReadOnlyColorOnFocus}},
      {[&] { controller->SetFlatButtonColor(clTeal); }, {fcpFlatButtonColor}},
      {[&] { controller->SetFlatButtons(false); }, {fcpFlatButtons}},
      {[&] { controller->SetFramingPreference(fpCustomFraming); }, {fcpFramingPreference}},
      // Hot tracking brings the frame and all four sides with it.
      {[&] { controller->SetFrameHotTrack(true); }, {fcpFrameHotTrack, fcpFrameVisible, fcpFrameSides}},
      {[&] { controller->SetFrameHotTrack(false); }, {fcpFrameHotTrack}},
      {[&] { controller->SetFocusColor(clSilver); }, {fcpFocusColor}},
      // The focus colour does not follow when it differs.
      {[&] { controller->SetColor(clCream); }, {fcpColor}},
      {[&] { controller->SetParentColor(true); }, {fcpParentColor}},
      // Turning the parent colour off sends the own colour too.
      {[&] { controller->SetParentColor(false); }, {fcpParentColor, fcpColor}},
      {[&] { controller->SetFocusColor(clCream); }, {fcpFocusColor}},
      // Equal colours move together; a colour of its own ends the parent's.
      {[&] { controller->SetParentColor(true); }, {fcpParentColor}},
      {[&] { controller->SetColor(clMoneyGreen); }, {fcpFocusColor, fcpParentColor, fcpColor}},
  };
  int i = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(i++);
    panel->pushes.clear();
    c.set();
    EXPECT_EQ(panel->pushes, c.pushed);
  }
  EXPECT_EQ(controller->FocusColor(), clMoneyGreen);
  EXPECT_FALSE(controller->ParentColor());
  EXPECT_EQ(panel->Color(), clMoneyGreen);
  EXPECT_EQ(panel->frameColor, clRed);
  EXPECT_EQ(panel->frameStyle, fsRaised);
  EXPECT_EQ(panel->frameSides, kAllSides);
  EXPECT_TRUE(panel->frameVisible);
  EXPECT_EQ(panel->framing, fpCustomFraming);
}

TEST_F(FrameControllerTest, AMissingNotificationMemberBlocksOnlyThatProperty) {
  panel->notifications = kAllFrameControllerNotifications - TWexFrameControllerNotifications{fcpColor, fcpFrameStyle};
  panel->SetColor(clAqua);
  controller->LinkControl(panel);
  std::vector<TWexFrameControllerProperty> expected = kAllInOrder;
  std::erase(expected, fcpColor);
  std::erase(expected, fcpFrameStyle);
  EXPECT_EQ(panel->pushes, expected);
  panel->pushes.clear();
  controller->SetColor(clRed);
  // The focus colour followed and is let through; the colour is not.
  EXPECT_EQ(panel->pushes, (std::vector<TWexFrameControllerProperty>{fcpFocusColor}));
  EXPECT_EQ(panel->Color(), clAqua);
  controller->SetFrameStyle(fsBump);
  EXPECT_EQ(panel->frameStyle, fsFlat);
}

TEST_F(FrameControllerTest, UpdateBracketAndAssignSendAllOnce) {
  controller->LinkControl(panel);
  panel->pushes.clear();
  controller->BeginUpdate();
  controller->BeginUpdate();
  controller->SetFrameColor(clRed);
  controller->SetFrameStyle(fsGroove);
  controller->EndUpdate();
  EXPECT_TRUE(panel->pushes.empty());
  controller->EndUpdate();
  EXPECT_EQ(panel->pushes, kAllInOrder);
  panel->pushes.clear();
  controller->EndUpdate();  // unbalanced: nothing
  EXPECT_TRUE(panel->pushes.empty());

  TWexFrameController other(nullptr);
  other.SetColor(clAqua);
  other.SetFrameStyle(fsButtonUp);
  other.SetFrameHotTrack(true);
  other.SetFrameSides({sdTop, sdBottom});
  other.SetFramingPreference(fpCustomFraming);
  other.SetReadOnlyColorOnFocus(true);
  controller->Assign(&other);
  EXPECT_EQ(panel->pushes, kAllInOrder);
  EXPECT_EQ(controller->Color(), clAqua);
  EXPECT_EQ(controller->FocusColor(), clAqua);
  EXPECT_EQ(controller->FrameStyle(), fsButtonUp);
  EXPECT_TRUE(controller->FrameHotTrack());
  EXPECT_TRUE(controller->FrameVisible());
  EXPECT_EQ(controller->FrameSides(), (TSides{sdTop, sdBottom}));
  EXPECT_EQ(controller->FramingPreference(), fpCustomFraming);
  EXPECT_TRUE(controller->ReadOnlyColorOnFocus());
  EXPECT_EQ(panel->frameStyle, fsButtonUp);

  TBitmap notAController;
  EXPECT_THROW(controller->Assign(&notAController), EConvertError);
}

TEST_F(FrameControllerTest, ClientsHearOnceAndPlainControlsTakeTheirColours) {
  auto* client = new ClientPanel(owner);
  controller->LinkControl(client);
  EXPECT_EQ(client->changes, 1);
  controller->SetFrameColor(clRed);
  controller->SetColor(clLime);  // moves the focus colour: two notifications
  EXPECT_EQ(client->changes, 4);

  auto* plain = new TCustomControl(owner);
  plain->SetParentColor(true);
  controller->LinkControl(plain);
  EXPECT_FALSE(plain->ParentColor());
  EXPECT_EQ(plain->Color(), clLime);
  controller->SetColor(clRed);
  EXPECT_EQ(plain->Color(), clRed);
  controller->SetParentColor(true);
  EXPECT_TRUE(plain->ParentColor());
}

TEST_F(FrameControllerTest, LoadingEndsWithAllAndKeepsTheSides) {
  TComponent form(nullptr);
  form.BeginLoad();
  auto* loaded = new TWexFrameController(&form);
  ASSERT_TRUE(loaded->Loading());
  loaded->SetFrameSides({sdLeft});
  loaded->SetFrameHotTrack(true);  // while loading the sides stay as stored
  EXPECT_EQ(loaded->FrameSides(), (TSides{sdLeft}));
  EXPECT_TRUE(loaded->FrameVisible());
  auto* target = new FramedPanel(&form);
  loaded->LinkControl(target);
  target->pushes.clear();
  form.EndLoad();
  EXPECT_EQ(target->pushes, kAllInOrder);
  EXPECT_EQ(target->frameSides, (TSides{sdLeft}));
}

TEST_F(FrameControllerTest, FreedComponentsAreForgotten) {
  auto* storage = new TComponent(owner);
  controller->SetRegIniFile(storage);
  EXPECT_EQ(controller->RegIniFile(), storage);
  delete storage;
  EXPECT_EQ(controller->RegIniFile(), nullptr);

  controller->LinkControl(panel);
  auto* second = new FramedPanel(owner);
  controller->LinkControl(second);
  EXPECT_EQ(controller->LinkedControlCount(), 2);
  delete panel;
  panel = nullptr;
  EXPECT_EQ(controller->LinkedControlCount(), 1);
  EXPECT_EQ(controller->LinkedControl(0), second);
  controller->SetFrameColor(clRed);  // reaches only the one still there
  EXPECT_EQ(second->frameColor, clRed);

  // The controller may go first; its controls stay whole.
  delete controller;
  controller = nullptr;
  second->SetColor(clAqua);
  EXPECT_EQ(second->Color(), clAqua);
}

TEST_F(FrameControllerTest, ControlledFramePaintsIntoTheWindowBorder) {
  TForm* form = new TForm(Application, 0);
  form->SetBounds(20, 20, 160, 120);
  auto* framed = new FramedPanel(form);
  framed->SetBounds(10, 10, 60, 40);
  framed->SetParent(form);
  form->Show();
  supporttest::Pump();
  controller->SetFrameStyle(fsRaised);
  controller->SetFrameVisible(true);
  controller->LinkControl(framed);
  framed->Update();
  EXPECT_EQ(framed->ClientRect(), Rect(0, 0, 56, 36));
  EXPECT_EQ(framed->NonClientInsets(), Rect(2, 2, 2, 2));

  auto window = GetWindowDC(framed->Handle());
  auto expectRaised = [&] {
    EXPECT_EQ(window->Pixels(0, 0), ColorToRGB(cl3DLight));
    EXPECT_EQ(window->Pixels(59, 0), ColorToRGB(cl3DDkShadow));
    EXPECT_EQ(window->Pixels(1, 1), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(window->Pixels(58, 38), ColorToRGB(clBtnShadow));
    EXPECT_EQ(window->Pixels(59, 39), ColorToRGB(cl3DDkShadow));
  };
  expectRaised();
  // The client area is the control's own, from (2, 2) of the window.
  EXPECT_EQ(window->Pixels(2, 2), clYellow);
  EXPECT_EQ(window->Pixels(57, 37), clYellow);
  EXPECT_EQ(framed->Canvas()->Pixels(0, 0), clYellow);
  // The screen shows the border too.
  QImage screen = framed->Widget()->grab().toImage();
  const TColor light = ColorToRGB(cl3DLight);
  EXPECT_EQ(QColor(screen.pixel(0, 0)), QColor(GetRValue(light), GetGValue(light), GetBValue(light)));
  EXPECT_EQ(QColor(screen.pixel(30, 20)), QColor(Qt::yellow));

  // A style pushed by the controller repaints the frame and only it.
  framed->ncPaints = 0;
  controller->SetFrameStyle(fsFlat);
  controller->SetFrameColor(clRed);
  framed->Update();
  EXPECT_GE(framed->ncPaints, 1);
  EXPECT_EQ(window->Pixels(0, 0), clRed);
  EXPECT_EQ(window->Pixels(59, 39), clRed);
  EXPECT_EQ(window->Pixels(1, 1), ColorToRGB(clWindow));  // the erased second ring

  TPngImage png;
  TBitmap grab(60, 40);
  grab.Canvas()->CopyRect(Rect(0, 0, 60, 40), window.get(), Rect(0, 0, 60, 40));
  png.Assign(&grab);
  png.SaveToFile(AnsiString(TOLVANE_BIN_DIR) + "/../support_framed_border.png");

  // A hidden control's frame is left alone.
  framed->Hide();
  framed->ncPaints = 0;
  controller->SetFrameColor(clBlue);
  framed->Update();
  EXPECT_EQ(framed->ncPaints, 0);
  window.reset();
  controller->UnlinkControl(framed);
  Free(form);
}
