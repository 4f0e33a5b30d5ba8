// Headless data directory and local time: both set by the test. The directory is real (files in it are
// real files), under a root the test chooses; without one there is none, so no test writes into a home.
#include "toolkit/platform/common/user_files.h"
#include "toolkit/platform/headless/headless.h"
#include "toolkit/platform/headless/state.h"
#include "util/dbcs_string.h"

void HeadlessSetDataRoot(const char* root) {
    CopyString(root ? root : "", headless.dataRoot, sizeof headless.dataRoot);
}

void HeadlessSetLocalTime(const PlatformTime* time) {
    headless.localTime = *time;
}

uint32_t PlatformDataDirectory(const char* name, char* destination, uint32_t size) {
    return MakeDataDirectory(headless.dataRoot, name, destination, size);
}

void PlatformLocalTime(PlatformTime* time) {
    *time = headless.localTime;
}
