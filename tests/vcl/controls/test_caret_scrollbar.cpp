// The system caret, the scroll bar control, and the fixed-pitch face the
// text metrics tell apart.
#include <gtest/gtest.h>

#include <QAbstractSlider>
#include <QImage>
#include <QScrollBar>
#include <QTest>

#include "TestSupport.h"
#include "rtl/Clock.h"
#include "vcl/Caret.h"
#include "vcl/ScrollBars.h"
#include "vcl/TestCanvases.h"

namespace vcltest {
namespace {

TEST(Caret, CreatedHiddenShownNestedAndDestroyed) {
  TForm* form = MakeForm();
  auto* rec = new Recorder(form);
  rec->SetParent(form);
  rec->SetBounds(0, 0, 50, 40);
  HWND h = rec->Handle();
  EXPECT_FALSE(CreateCaret(0, 2, 10));
  ASSERT_TRUE(CreateCaret(h, 2, 10));
  TCaretState s = GetCaretState();
  EXPECT_EQ(s.Owner, h);
  EXPECT_FALSE(s.Visible);  // a new caret waits for ShowCaret
  EXPECT_TRUE(ShowCaret(h));
  EXPECT_TRUE(GetCaretState().Visible);
  EXPECT_TRUE(SetCaretPos(7, 3));
  TPoint p;
  EXPECT_TRUE(GetCaretPos(p));
  EXPECT_EQ(p, (TPoint{7, 3}));
  EXPECT_EQ(GetCaretState().Bounds, Rect(7, 3, 9, 13));
  HideCaret(h);
  HideCaret(h);
  ShowCaret(h);
  EXPECT_FALSE(GetCaretState().Visible);  // hiding nests
  ShowCaret(h);
  EXPECT_TRUE(GetCaretState().Visible);
  EXPECT_FALSE(ShowCaret(h + 1000));  // not the owner
  EXPECT_TRUE(DestroyCaret());
  EXPECT_EQ(GetCaretState().Owner, 0u);
  EXPECT_FALSE(DestroyCaret());
  // A caret whose window goes away goes with it.
  CreateCaret(h, 2, 10);
  Free(form);
  EXPECT_EQ(GetCaretState().Owner, 0u);
}

TEST(Caret, BlinksOnTheClockService) {
  auto clock = std::make_shared<rtl::ManualClock>(1000);
  rtl::ScopedClock scoped(clock);
  TForm* form = MakeForm();
  auto* rec = new Recorder(form);
  rec->SetParent(form);
  rec->SetBounds(0, 0, 50, 40);
  SetCaretBlinkTime(400);
  CreateCaret(rec->Handle(), 2, 10);
  ShowCaret(rec->Handle());
  EXPECT_TRUE(GetCaretState().BlinkOn);
  clock->Advance(399);
  EXPECT_TRUE(GetCaretState().BlinkOn);
  clock->Advance(1);
  EXPECT_FALSE(GetCaretState().BlinkOn);
  clock->Advance(400);
  EXPECT_TRUE(GetCaretState().BlinkOn);
  clock->Advance(400);
  SetCaretPos(1, 1);  // a move shows it at once
  EXPECT_TRUE(GetCaretState().BlinkOn);
  SetCaretBlinkTime(530);
  DestroyCaret();
  Free(form);
}

TEST(Caret, DrawnOnTheScreenCopyOnly) {
  // A stopped clock keeps the caret in the showing half of its blink.
  auto clock = std::make_shared<rtl::ManualClock>(1000);
  rtl::ScopedClock scoped(clock);
  TForm* form = MakeForm();
  auto* rec = new Recorder(form);
  rec->fill = clWhite;
  rec->SetParent(form);
  rec->SetBounds(0, 0, 50, 40);
  form->Show();
  Pump();
  CreateCaret(rec->Handle(), 2, 10);
  SetCaretPos(10, 5);
  ShowCaret(rec->Handle());
  // Inverted white: black on the screen, nothing in the buffer.
  EXPECT_EQ(ScreenPixel(rec->Widget(), 10, 5), clBlack);
  EXPECT_EQ(ScreenPixel(rec->Widget(), 11, 14), clBlack);
  EXPECT_EQ(ScreenPixel(rec->Widget(), 12, 5), clWhite);
  EXPECT_EQ(rec->Canvas()->Pixels(10, 5), clWhite);
  HideCaret(rec->Handle());
  EXPECT_EQ(ScreenPixel(rec->Widget(), 10, 5), clWhite);
  DestroyCaret();
  Free(form);
}

TEST(ScrollBar, RangePositionAndChange) {
  TForm* form = MakeForm();
  auto* bar = new TScrollBar(form);
  bar->SetParent(form);
  int changes = 0;
  bar->OnChange = [&](TObject*) { ++changes; };
  bar->SetParams(5, 0, 50);
  EXPECT_EQ(bar->Position(), 5);
  EXPECT_EQ(changes, 1);
  bar->SetPosition(80);
  EXPECT_EQ(bar->Position(), 50);  // clamped to Max
  bar->SetPosition(50);
  EXPECT_EQ(changes, 2);
  bar->SetMax(-3);  // below Min: taken as Min
  EXPECT_EQ(bar->Max(), 0);
  EXPECT_EQ(bar->Position(), 0);
  bar->SetKind(sbVertical);
  EXPECT_EQ(bar->Width(), GetSystemMetrics(SM_CYHSCROLL));
  EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 17);
  EXPECT_EQ(GetSystemMetrics(999), 0);
  Free(form);
}

TEST(ScrollBar, UserScrollCodesAndTheHandlersVarPosition) {
  TForm* form = MakeForm();
  auto* bar = new TScrollBar(form);
  bar->SetParent(form);
  bar->SetParams(10, 0, 100);
  bar->SetSmallChange(2);
  bar->SetLargeChange(20);
  std::vector<std::pair<TScrollCode, Integer>> seen;
  bar->OnScroll = [&](TObject*, TScrollCode code, Integer& pos) {
    seen.push_back({code, pos});
    if (code == scPageDown) pos = 77;  // the handler decides
  };
  bar->UserScroll(scLineDown);
  EXPECT_EQ(bar->Position(), 12);
  bar->UserScroll(scPageUp);
  EXPECT_EQ(bar->Position(), 0);
  bar->UserScroll(scPageDown);
  EXPECT_EQ(bar->Position(), 77);
  bar->UserScroll(scTrack, 40);
  EXPECT_EQ(bar->Position(), 40);
  bar->UserScroll(scBottom);
  EXPECT_EQ(bar->Position(), 100);
  EXPECT_EQ(seen, (std::vector<std::pair<TScrollCode, Integer>>{
                      {scLineDown, 12}, {scPageUp, -8}, {scPageDown, 20}, {scTrack, 40}, {scBottom, 100}}));
  Free(form);
}

TEST(ScrollBar, QtSliderActionsArriveAsScrollCodes) {
  TForm* form = MakeForm();
  auto* bar = new TScrollBar(form);
  bar->SetParent(form);
  bar->SetKind(sbVertical);
  bar->SetParams(0, 0, 99);
  bar->SetPageSize(10);
  std::vector<TScrollCode> codes;
  bar->OnScroll = [&](TObject*, TScrollCode code, Integer&) { codes.push_back(code); };
  auto* q = static_cast<QScrollBar*>(bar->Widget());
  EXPECT_EQ(q->maximum(), 90);  // the thumb's last place: Max - PageSize + 1
  EXPECT_EQ(q->pageStep(), 10);
  q->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(bar->Position(), 1);
  EXPECT_EQ(q->value(), 1);
  q->triggerAction(QAbstractSlider::SliderToMaximum);
  EXPECT_EQ(bar->Position(), 99);
  EXPECT_EQ(q->value(), 90);
  EXPECT_EQ(codes, (std::vector<TScrollCode>{scLineDown, scEndScroll, scBottom, scEndScroll}));
  Free(form);
}

TEST(TextMetrics, FixedAndVariablePitch) {
  EXPECT_EQ(SubstituteFontName("FixedSys"), "DejaVu Sans Mono");
  TCanvas c;
  struct Face {
    const char* name;
    bool variable;
  };
  for (const Face& f : {Face{"Arial", true}, Face{"Tahoma", true}, Face{"Courier New", false}, Face{"FixedSys", false}}) {
    c.Font()->SetName(f.name);
    c.Font()->SetHeight(-13);
    EXPECT_EQ(c.GetTextMetrics().VariablePitch, f.variable) << f.name;
  }
  TFakeMetricsCanvas fake;
  EXPECT_FALSE(fake.GetTextMetrics().VariablePitch);
}

}  // namespace
}  // namespace vcltest
