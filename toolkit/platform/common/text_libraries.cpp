#include "toolkit/platform/common/text_libraries.h"

#include <dlfcn.h>

TextLibraries textLibraries;

static int32_t openState; // 0 untried, 1 open, -1 missing

// The names the libraries' packages install for programs (their development links may be absent).
static void* OpenLibrary(const char* name, const char* fallback) {
    void* library = dlopen(name, RTLD_NOW | RTLD_GLOBAL);
    return library ? library : dlopen(fallback, RTLD_NOW | RTLD_GLOBAL);
}

bool OpenTextLibraries() {
    if (openState != 0) return openState == 1;
    openState = -1;
    void* freetype = OpenLibrary("libfreetype.so.6", "libfreetype.so");
    void* fontconfig = OpenLibrary("libfontconfig.so.1", "libfontconfig.so");
    if (!freetype || !fontconfig) return false;
    bool found = true;
#define VQ_TEXT_LIBRARY_FIND(name)                                                                           \
    textLibraries.name = reinterpret_cast<decltype(&::name)>(                                                \
        dlsym(#name[0] == 'F' && #name[1] == 'T' ? freetype : fontconfig, #name));                           \
    found = found && textLibraries.name;
    VQ_TEXT_LIBRARY_CALLS(VQ_TEXT_LIBRARY_FIND)
#undef VQ_TEXT_LIBRARY_FIND
    if (found) openState = 1;
    return found;
}
