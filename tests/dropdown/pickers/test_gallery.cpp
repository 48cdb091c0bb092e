// A gallery of the pickers as they show, for people to look at: the date
// and time picker with its companion, the time picker, the calculator,
// the memo and the track bar, closed, and the time picker's and the
// calculator's pop-ups open beside them.
#include <gtest/gtest.h>

#include <QPainter>
#include <QWidget>

#include "DropdownTestSupport.h"
#include "dropdown/LumCalculatorDropdown.h"
#include "dropdown/LumDateTimePicker.h"
#include "dropdown/LumMemoDropDown.h"
#include "dropdown/LumTimePickerDropDown.h"
#include "dropdown/LumTrackBarDropDown.h"
#include "rtl/DateTime.h"
#include "vcl/StdCtrls.h"

namespace dropdown {
namespace {

using namespace ddtest;

TEST(PickerGallery, WrittenToTheBuildFolder) {
  ManualTime time;
  TForm* form = MakeForm(300, 230);
  auto add = [&](TWinControl* c, int top) {
    c->SetParent(form);
    c->SetBounds(10, top, 260, 24);
  };
  auto* date = new TLumDateTimePicker(form);
  add(date, 10);
  date->SetDateTime(rtl::EncodeDate(2026, 12, 11) + rtl::EncodeTime(7, 35, 0, 0));
  auto* timePicker = new TLumTimePickerDropDown(form);
  add(timePicker, 45);
  timePicker->SetTime(rtl::EncodeTime(14, 25, 36, 0));
  timePicker->SetAnimation(false);
  auto* calc = new TLumCalculatorDropdown(form);
  add(calc, 80);
  calc->SetText("1234.5");
  auto* memo = new TLumMemoDropDown(form);
  add(memo, 115);
  memo->MemoText()->SetText("The first line\r\nand a second");
  auto* track = new TLumTrackBarDropDown(form);
  add(track, 150);
  track->SetPosition(7);
  Pump();
  QImage closed = form->Widget()->grab().toImage();

  auto openShot = [&](TLumCustomDropDown* d) {
    TDropDownEditButton* b = d->DropDownButton();
    MouseDown(b, b->Width() / 2, b->Height() / 2);
    MouseUp(b, b->Width() / 2, b->Height() / 2);
    Pump();
    EXPECT_TRUE(d->DroppedDown());
    QImage shot = d->DropDownForm()->Widget()->grab().toImage();
    d->HideDropDown(false);
    time.Advance(TLumCustomDropDown::ReopenGuardMs + 50);
    Pump();
    return shot;
  };
  const QImage clock = openShot(timePicker);
  const QImage keypad = openShot(calc);
  const QImage memoPopup = openShot(memo);
  QImage gallery(closed.width() + clock.width() + keypad.width() + 40,
                 std::max({closed.height(), clock.height(), keypad.height() + memoPopup.height() + 10}) + 20,
                 QImage::Format_RGB32);
  gallery.fill(QColor(0xE0, 0xE0, 0xE0));
  QPainter p(&gallery);
  p.drawImage(10, 10, closed);
  p.drawImage(closed.width() + 20, 10, clock);
  p.drawImage(closed.width() + clock.width() + 30, 10, keypad);
  p.drawImage(closed.width() + clock.width() + 30, keypad.height() + 20, memoPopup);
  p.end();
  SaveShot(gallery, "dropdown_gallery_pickers.png");
  EXPECT_EQ(calc->Text(), "1234.50");
  EXPECT_EQ(timePicker->Text(), "14:25:36");
  EXPECT_EQ(track->Text(), "7");
  EXPECT_EQ(memo->Text(), "The first line...");
  Free(form);
}

}  // namespace
}  // namespace dropdown
