// Window icons built into the SDL backend, keyed by the icon id that a window class names: 24-bit bitmaps
// whose magenta pixels are transparent. The build generates the table.
#pragma once

#include <stdint.h>

#include "toolkit/platform/common/embedded_resources.h"

extern const EmbeddedResource sdlWindowIcons[];
extern const uint32_t sdlWindowIconCount;
