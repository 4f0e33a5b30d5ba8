// Lazy, posted drawing: controls are marked, and one paint composes what the marks ask for.
#pragma once

#include <stdint.h>

#include "toolkit/gfx/draw.h"
#include "toolkit/gfx/rect.h"
#include "toolkit/window/window_table.h"

void MarkForRedraw(Control* control, WindowRecord* window, uint32_t bits);
void MergeDirtyArea(WindowRecord* window, const Extent* area, Control* control, uint32_t seeThrough);
void MarkAllForBlit(WindowRecord* window);
// The window's surface skinned with nine images (a background handler's work); absent images are skipped.
void PaintSkin(WindowRecord* window, const WindowSkin* skin);
// -1 when the handle is not a toolkit window, otherwise the result of posting WM_PAINT.
int32_t RequestRepaint(WindowHandle window, uint32_t bits);
// What every change to a control ends with: mark it for redraw (0x30) and post its window a paint (0x80).
inline void RepaintControl(WindowHandle window, WindowRecord* record, Control* control) {
    MarkForRedraw(control, record, redrawBits);
    RequestRepaint(window, repaintPending);
}
// Link of the dispatcher's chain: -1 for any message but WM_PAINT, 0 after a paint.
int32_t PaintWindow(WindowHandle window, WindowRecord* record, uint32_t message, WParam wParam,
                    LParam lParam);

// What the compositions so far did, for tests and benchmarks.
struct CompositionStats {
    uint32_t paints;         // WM_PAINTs served
    uint32_t compositions;   // paints that found repaintPending
    uint32_t fullRedraws;    // backgrounds repainted
    uint32_t controlsDrawn;  // draw routines called
    uint32_t controlsCopied; // pending control copies served (or drawn onto the window), however much showed
    uint64_t pixelsWritten;  // background and control pixels written into the window surface
};
extern CompositionStats compositionStats;
// Forgets what every window was last seen to show, and the statistics (the toolkit's reset).
void ForgetCompositions();
