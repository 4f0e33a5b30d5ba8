// Window classes by name, as the Linux backends keep them (the table lives in each backend's state).
#pragma once

#include <stdint.h>

#include "toolkit/platform/platform.h"

enum : int32_t { classTableSize = 32, classNameLength = 255 };

struct WindowClass {
    char name[classNameLength + 1];
    WindowProc procedure;
    uint32_t style;
    uint32_t largeIcon; // resource id, 0 = none
};

struct ClassTable {
    WindowClass entries[classTableSize];
    int32_t count;
};

// The new class's number (1 for the first); 0 for a missing, overlong or taken name, a missing procedure
// or a full table.
int32_t ClassTableAdd(ClassTable* table, const char* name, WindowProc procedure, uint32_t style,
                      uint32_t largeIcon);
// The index of the class called name, -1 when there is none.
int32_t ClassTableFind(const ClassTable* table, const char* name);
