#include "toolkit/platform/common/message_names.h"

#include <string.h>

#include "util/dbcs_string.h"

enum : uint32_t { firstRegisteredMessage = 0xC000u };

uint32_t MessageNamesRegister(MessageNames* table, const char* name) {
    // A cut name would match nothing later, so every call would take a new number.
    if (!name || !*name || StringLength(name, messageNameLength + 1) > messageNameLength) return 0;
    for (int32_t i = 0; i < table->count; i++) {
        if (strcmp(table->names[i], name) == 0) return firstRegisteredMessage + static_cast<uint32_t>(i);
    }
    if (table->count >= messageNamesSize) return 0;
    CopyString(name, table->names[table->count], sizeof table->names[0]);
    return firstRegisteredMessage + static_cast<uint32_t>(table->count++);
}
