// The 16-bit pixel layout of the Linux backends and colours written in it.
#pragma once

#include <stdint.h>

// The backend's 16-bit layout: 1 = 5-6-5, 0 = 5-5-5. Each backend defines it.
int32_t BackendPixelsAre565();

// A colour 0x00BBGGRR as a pixel of the backend's layout (5-6-5 or 5-5-5), low bits dropped.
uint16_t BackendPixel(uint32_t colour, int32_t is565);
