// Throwing the input method's composition away when the toolkit drops the half-composed character, and
// the result that some input methods still send for it (ibus commits what it composed when Wine resets it).
#include "toolkit/platform/win32/handles.h"

static bool cancelled; // a composition was thrown away and no new one has begun since

void PlatformCancelComposition(WindowHandle window) {
    HIMC context = ImmGetContext(AsWindow(window));
    if (!context) return;
    cancelled = ImmGetCompositionStringA(context, GCS_COMPSTR, nullptr, 0) > 0;
    ImmNotifyIME(context, NI_COMPOSITIONSTR, CPS_CANCEL, 0);
    ImmReleaseContext(AsWindow(window), context);
}

bool TakeCancelledResult() {
    bool late = cancelled;
    cancelled = false;
    return late;
}

void CompositionBegun() {
    cancelled = false;
}
