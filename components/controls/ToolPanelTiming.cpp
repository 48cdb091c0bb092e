#include "controls/ToolPanelTiming.h"

#include "rtl/Clock.h"
#include "rtl/MessagePump.h"

namespace controls::toolpanels {

int SlideStepDelay(TSlideSpeed Speed) {
  switch (Speed) {
    case ssSlow: return 18;
    case ssMedium: return 9;
    case ssFast: return 3;
    case ssInstant: return 0;
  }
  return 0;
}

uint32_t AutoOpenCloseInterval(TAutoOpenCloseSpeed Speed) {
  switch (Speed) {
    case aocSlow: return 500;
    case aocMedium: return 200;
    case aocFast: return 75;
    case aocVerySlow: return 1500;
    case aocVeryFast: return 40;
  }
  return 200;
}

void WaitSlideStep(int DelayMs) {
  if (DelayMs <= 0) return;
  const uint64_t start = rtl::GetTickCount64();
  for (;;) {
    const uint64_t passed = rtl::GetTickCount64() - start;
    if (passed >= static_cast<uint64_t>(DelayMs)) break;
    if (passed % 3 == 0) rtl::ProcessMessages();
    rtl::Sleep(1);
  }
}

}  // namespace controls::toolpanels
