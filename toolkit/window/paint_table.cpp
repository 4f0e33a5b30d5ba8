// Every kind's draw routine, by kind / 4 - 1.
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

DrawRoutine DrawRoutineOf(uint32_t kind) {
    if (kind == 0 || (kind & 3) != 0 || kind / 4 > 9) return nullptr;
    return PaintTable[kind / 4 - 1];
}
