// The Linux desktop's data directory (the XDG base directory rule) and local time.
#include <stdlib.h>
#include <string.h>
#include <time.h>

#include "toolkit/platform/common/user_files.h"
#include "toolkit/platform/platform.h"

uint32_t PlatformDataDirectory(const char* name, char* destination, uint32_t size) {
    const char* data = getenv("XDG_DATA_HOME");
    // Only an absolute path counts; otherwise the default under the home directory.
    if (data && data[0] == '/') return MakeDataDirectory(data, name, destination, size);
    const char* home = getenv("HOME");
    if (!home || home[0] != '/') return 0;
    char root[1024];
    size_t length = strlen(home);
    if (length + sizeof "/.local/share" > sizeof root) return 0;
    memcpy(root, home, length);
    memcpy(root + length, "/.local/share", sizeof "/.local/share");
    return MakeDataDirectory(root, name, destination, size);
}

void PlatformLocalTime(PlatformTime* time) {
    struct timespec now = {};
    clock_gettime(CLOCK_REALTIME, &now);
    struct tm local = {};
    localtime_r(&now.tv_sec, &local);
    time->year = static_cast<uint16_t>(local.tm_year + 1900);
    time->month = static_cast<uint16_t>(local.tm_mon + 1);
    time->dayOfWeek = static_cast<uint16_t>(local.tm_wday);
    time->day = static_cast<uint16_t>(local.tm_mday);
    time->hour = static_cast<uint16_t>(local.tm_hour);
    time->minute = static_cast<uint16_t>(local.tm_min);
    // A leap second shows as the 59th.
    time->second = static_cast<uint16_t>(local.tm_sec < 60 ? local.tm_sec : 59);
    time->milliseconds = static_cast<uint16_t>(now.tv_nsec / 1000000);
}
