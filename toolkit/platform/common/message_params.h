// wParam/lParam packing shared by the Linux backends.
#pragma once

#include <stdint.h>

#include "toolkit/platform/platform.h"

// Two 16-bit words in one lParam, low first, as WM_SIZE sizes and mouse positions travel.
inline LParam PackWords(int32_t low, int32_t high) {
    return static_cast<LParam>((static_cast<uint32_t>(low) & 0xFFFF) |
                               ((static_cast<uint32_t>(high) & 0xFFFF) << 16));
}
