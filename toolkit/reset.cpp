// Sits above the toolkit's layers: it reaches the globals of window, gfx and input alike.
#include "toolkit/reset.h"

#include <string.h>

#include "toolkit/gfx/surface.h"
#include "toolkit/input/focus_keys.h"
#include "toolkit/input/keyboard_routing.h"
#include "toolkit/input/line_editor.h"
#include "toolkit/window/composition.h"
#include "toolkit/window/window_table.h"

void ResetToolkitState() {
    for (int32_t i = 0; i < windowSlots; i++) ReleaseSurface(&windowTable.records[i].surface);
    memset(&windowTable, 0, sizeof windowTable);
    mainWindowHandle = 0;
    mainWindowRecord = nullptr;
    drawingWindow = 0;
    screenWidth = screenHeight = 0;
    toolkitCommandMessage = 0;
    Theme[pixelFormat] = 0;
    ForgetCompositions();
    caretBlinkCounter = 1;
    ForgetEditorKeys();
    ForgetFocusKeys();
}
