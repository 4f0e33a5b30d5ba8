// Every kind's draw routine and layout routine, by kind / 4 - 1.
#include "toolkit/window/control.h"

const DrawRoutine PaintTable[9] = {
    DrawButton,    // 4
    DrawScrollBar, // 8
    DrawTreeList,  // 12
    DrawLabel,     // 16
    DrawTextLog,   // 20
    DrawEditField, // 24
    DrawListBox,   // 28
    DrawPanel,     // 32
    DrawPicture,   // 36
};

const LayoutRoutine LayoutTable[9] = {
    nullptr,        // 4 button
    nullptr,        // 8 scroll bar
    LayOutTreeList, // 12
    nullptr,        // 16 label
    LayOutTextLog,  // 20
    nullptr,        // 24 edit field
    LayOutListBox,  // 28
    nullptr,        // 32 panel
    nullptr,        // 36 picture
};

static bool KnownKind(uint32_t kind) {
    return kind != 0 && (kind & 3) == 0 && kind / 4 <= 9;
}

DrawRoutine DrawRoutineOf(uint32_t kind) {
    return KnownKind(kind) ? PaintTable[kind / 4 - 1] : nullptr;
}

LayoutRoutine LayoutRoutineOf(uint32_t kind) {
    return KnownKind(kind) ? LayoutTable[kind / 4 - 1] : nullptr;
}
