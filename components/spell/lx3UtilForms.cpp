#include "spell/lx3UtilForms.h"

#include <algorithm>

#include "vcl/Forms.h"
#include "vcl/Messages.h"
#include "vcl/WinApi.h"

namespace spell {

namespace {
vcl::TRect MonitorOf(const vcl::TCustomForm* form) { return vcl::Screen->MonitorBoundsRect(form->BoundsRect()); }
}  // namespace

void KeepFormOnMonitor(vcl::TCustomForm* form, Integer left, Integer top) {
  if (!form) return;
  vcl::InitApplication();
  const vcl::TRect m = MonitorOf(form);
  left = std::max(left, m.Left);
  top = std::max(top, m.Top);
  if (left + form->Width() > m.Right) left = m.Right - form->Width();
  if (top + form->Height() > m.Bottom) top = m.Bottom - form->Height();
  form->SetBounds(left, top, form->Width(), form->Height());
}

void PlaceFormNearRect(vcl::TCustomForm* form, const vcl::TRect& rect, bool horizontal, bool vertical) {
  if (!form) return;
  vcl::InitApplication();
  const vcl::TRect m = MonitorOf(form);
  Integer left = form->Left();
  Integer top = form->Top();
  if (horizontal) left = rect.Left + form->Width() <= m.Right ? rect.Left : m.Right - form->Width();
  if (vertical) top = rect.Bottom + form->Height() <= m.Bottom ? rect.Bottom : rect.Top - form->Height();
  KeepFormOnMonitor(form, left, top);
}

bool IsRichEditControl(vcl::HWND window) {
  vcl::TCharRange range{-2, -2};
  vcl::SendMessage(window, vcl::EM_EXGETSEL, 0, reinterpret_cast<vcl::LPARAM>(&range));
  return range.cpMin != -2 || range.cpMax != -2;
}

}  // namespace spell
