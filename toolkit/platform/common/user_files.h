// The user's files on the Linux backends: plain POSIX reads and replacing writes, and the data directory
// made under a root the backend chooses.
#pragma once

#include <stdint.h>

// root/name/ with its trailing slash, every missing directory made on the way; its length, or 0 on failure
// (no root, a name that is not one plain component, no room, a directory that cannot be made).
uint32_t MakeDataDirectory(const char* root, const char* name, char* destination, uint32_t size);
