// Throwing the input method's composition away when the toolkit drops the half-composed character.
#include "toolkit/platform/win32/handles.h"

void PlatformCancelComposition(WindowHandle window) {
    HIMC context = ImmGetContext(AsWindow(window));
    if (!context) return;
    ImmNotifyIME(context, NI_COMPOSITIONSTR, CPS_CANCEL, 0);
    ImmReleaseContext(AsWindow(window), context);
}
