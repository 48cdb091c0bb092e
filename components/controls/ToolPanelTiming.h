#pragma once
// The tool panels' pace: the wait per 15-pixel sliding step and the period
// of a strip's auto-open and auto-close timer.
#include <cstdint>

#include "controls/ToolPanelDrawing.h"

namespace controls::toolpanels {

inline constexpr int kSlideStep = 15;  // pixels per sliding step

// ssSlow 18 ms, ssMedium 9, ssFast 3, ssInstant 0.
int SlideStepDelay(TSlideSpeed Speed);
// aocSlow 500 ms, aocMedium 200, aocFast 75, aocVerySlow 1500, aocVeryFast 40.
uint32_t AutoOpenCloseInterval(TAutoOpenCloseSpeed Speed);

// Waits one step's delay on the clock service in 1-ms sleeps, processing
// pending messages whenever the milliseconds passed are a multiple of 3, so
// timer ticks and input arrive in the middle of a slide as on the desktop.
// A delay of 0 or less returns at once without processing anything.
void WaitSlideStep(int DelayMs);

}  // namespace controls::toolpanels
