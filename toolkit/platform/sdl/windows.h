// SDL windows' size and tracking limits, shared by window creation and event translation.
#pragma once

#include <stdint.h>

struct SdlWindow;

// Asks the window procedure for the tracking limits and hands them to SDL.
void SdlApplyLimits(SdlWindow* w);
// The client size as the toolkit sees it: 0 × 0 while minimised.
void SdlClientSize(const SdlWindow* w, int32_t* width, int32_t* height);
