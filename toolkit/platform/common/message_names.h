// Registered message names: each distinct name gets its own number from 0xC000 up, as on Windows.
#pragma once

#include <stdint.h>

enum : int32_t { messageNamesSize = 64, messageNameLength = 255 };

struct MessageNames {
    char names[messageNamesSize][messageNameLength + 1];
    int32_t count;
};

// The name's number; 0 for an empty or overlong name, or a full table.
uint32_t MessageNamesRegister(MessageNames* table, const char* name);
