// What the Linux backends report of the process itself: its module instance and working directory.
#include <string.h>
#include <unistd.h>

#include "toolkit/platform/platform.h"

// The toolkit only hands it back; 0x400000 is where Windows loads programs.
uintptr_t PlatformModuleInstance() {
    return 0x400000;
}

uint32_t PlatformCurrentDirectory(uint32_t size, char* destination) {
    char buffer[4096];
    if (!getcwd(buffer, sizeof buffer)) return 0;
    uint32_t n = static_cast<uint32_t>(strlen(buffer));
    if (!destination || n + 1 > size) return n + 1;
    memcpy(destination, buffer, n + 1);
    return n;
}
