#include "toolkit/window/control.h"

// Kinds whose draw routine is not part of this build yet stay null and are skipped like kind 0.
const DrawRoutine PaintTable[9] = {
    nullptr,   // Button
    nullptr,   // ScrollBar
    nullptr,   // TreeList
    nullptr,   // Label
    nullptr,   // TextLog
    nullptr,   // EditField
    nullptr,   // ListBox
    DrawPanel, // Panel
    DrawPicture,
};

DrawRoutine DrawRoutineOf(uint32_t kind) {
    if (kind == 0 || (kind & 3) != 0 || kind / 4 > 9) return nullptr;
    return PaintTable[kind / 4 - 1];
}
