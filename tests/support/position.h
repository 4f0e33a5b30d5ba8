// A mouse message's position: x in the low 16 bits, y in the high 16, each cut to 16 bits.
#pragma once

#include "toolkit/platform/platform.h"

inline LParam Position(int32_t x, int32_t y) {
    return static_cast<LParam>((static_cast<uint32_t>(x) & 0xFFFF) |
                               ((static_cast<uint32_t>(y) & 0xFFFF) << 16));
}
