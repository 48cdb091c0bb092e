#include "core/forms/FormMessagesU.h"

#include <cmath>

#include "rtl/Convert.h"
#include "rtl/Locale.h"
#include "vcl/WinApi.h"

namespace core {

namespace {
TMessageAnswerer& AnswererSlot() {
  static TMessageAnswerer answerer;
  return answerer;
}
}  // namespace

TMessageAnswerer SetMessageAnswerer(TMessageAnswerer answerer) {
  TMessageAnswerer old = std::move(AnswererSlot());
  AnswererSlot() = std::move(answerer);
  return old;
}

rtl::Integer FormMessageDlg(const rtl::AnsiString& msg, vcl::TMsgDlgType type, const vcl::TMsgDlgButtons& buttons) {
  if (const auto& answerer = AnswererSlot()) return answerer(msg, type, buttons);
  return vcl::MessageDlg(msg, type, buttons, 0);
}

rtl::Integer BeepAndMessage(rtl::Cardinal beep, const rtl::AnsiString& msg, vcl::TMsgDlgType type,
                            const vcl::TMsgDlgButtons& buttons) {
  vcl::MessageBeep(beep);
  return FormMessageDlg(msg, type, buttons);
}

bool TryFixedTextToFloat(const rtl::AnsiString& text, double& value) {
  static const rtl::TFormatSettings fixed;  // "." decimals
  return rtl::TryStrToFloat(text, value, fixed);
}

rtl::AnsiString FixedTwoDecimals(double value) {
  const long long hundredths = std::llround(value * 100.0);
  const long long whole = std::llabs(hundredths) / 100;
  const long long cents = std::llabs(hundredths) % 100;
  rtl::AnsiString text = hundredths < 0 ? "-" : "";
  text += std::to_string(whole) + "." + (cents < 10 ? "0" : "") + std::to_string(cents);
  return text;
}

}  // namespace core
