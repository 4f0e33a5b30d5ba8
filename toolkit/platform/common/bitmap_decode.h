// Bitmap decoding shared by the Linux backends: SDL2's BMP loader, converted into 16-bit pixels.
#pragma once

#include <stdint.h>

// The backend's 16-bit layout: 1 = 5-6-5, 0 = 5-5-5.
int32_t BackendPixelsAre565();
