#include "toolkit/platform/common/class_table.h"

#include <string.h>

#include "util/dbcs_string.h"

int32_t ClassTableAdd(ClassTable* table, const char* name, WindowProc procedure, uint32_t style,
                      uint32_t largeIcon) {
    if (!name || !procedure || table->count >= classTableSize) return 0;
    // A cut name could never be found again by the name it was registered under.
    if (StringLength(name, classNameLength + 1) > classNameLength) return 0;
    if (ClassTableFind(table, name) >= 0) return 0;
    WindowClass& c = table->entries[table->count++];
    CopyString(name, c.name, sizeof c.name);
    c.procedure = procedure;
    c.style = style;
    c.largeIcon = largeIcon;
    return table->count;
}

int32_t ClassTableFind(const ClassTable* table, const char* name) {
    for (int32_t i = 0; name && i < table->count; i++) {
        if (strcmp(table->entries[i].name, name) == 0) return i;
    }
    return -1;
}
