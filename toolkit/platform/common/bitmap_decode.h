// Bitmap decoding shared by the Linux backends: SDL2's BMP loader, converted into 16-bit pixels.
#pragma once

#include "toolkit/platform/common/backend_pixels.h"
