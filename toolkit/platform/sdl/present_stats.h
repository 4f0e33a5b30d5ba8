// What the SDL backend's copies to the screen have done so far: the one call that benchmarks and tests
// outside the backend read it through.
#pragma once

#include <stdint.h>

struct SdlPresentStats {
    uint32_t presents;        // copies of a drawable surface to a window
    uint64_t pixelsSent;      // pixels that went to the screen, all copies together
    uint32_t lastPixels;      // of the last copy (0: nothing had changed)
    uint64_t lastNanoseconds; // wall time of the last copy
    uint32_t rendererWindows; // windows that present through a renderer rather than their own surface
};

SdlPresentStats SdlPresentStatistics();
