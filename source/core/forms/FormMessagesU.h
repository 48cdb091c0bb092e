#pragma once
// The beeps and message boxes of the module dialogs. Every box goes through
// one entry, so that a test (and later the main window's tests) can answer
// the boxes from a script instead of a person.
#include <functional>

#include "rtl/Types.h"
#include "vcl/Dialogs.h"

namespace core {

// Answers one box: the text, its type and buttons; returns the modal
// result of the button "pressed".
using TMessageAnswerer =
    std::function<rtl::Integer(const rtl::AnsiString& msg, vcl::TMsgDlgType type, const vcl::TMsgDlgButtons& buttons)>;

// Replaces the message box (an empty answerer restores the real box) and
// hands back the one it replaced.
TMessageAnswerer SetMessageAnswerer(TMessageAnswerer answerer);

// The class library's MessageDlg, or the installed answerer.
rtl::Integer FormMessageDlg(const rtl::AnsiString& msg, vcl::TMsgDlgType type, const vcl::TMsgDlgButtons& buttons);

// The beep of a box type (MB_ICONHAND and kin), then the box.
rtl::Integer BeepAndMessage(rtl::Cardinal beep, const rtl::AnsiString& msg, vcl::TMsgDlgType type,
                            const vcl::TMsgDlgButtons& buttons);

// Installs an answerer for the lifetime of the object and puts the old one back.
class TScopedMessageAnswerer {
 public:
  explicit TScopedMessageAnswerer(TMessageAnswerer answerer) : saved_(SetMessageAnswerer(std::move(answerer))) {}
  ~TScopedMessageAnswerer() { SetMessageAnswerer(std::move(saved_)); }
  TScopedMessageAnswerer(const TScopedMessageAnswerer&) = delete;
  TScopedMessageAnswerer& operator=(const TScopedMessageAnswerer&) = delete;

 private:
  TMessageAnswerer saved_;
};

// Decimal text with "." whatever the desktop's regional settings say: the
// simulator's volts and the tag parameters are stored that way.
bool TryFixedTextToFloat(const rtl::AnsiString& text, double& value);
// value with exactly two decimals and "." ("3.30", "-0.05").
rtl::AnsiString FixedTwoDecimals(double value);

}  // namespace core
