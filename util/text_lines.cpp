// Line splitting and counting: lines end at a carriage return, and the line feeds after it are skipped.
#include "util/dbcs_string.h"

int32_t SplitLine(const char* text, const char** next) {
    uint32_t n = 0;
    while (text[n] != 0 && text[n] != 0x0D) n++;
    const char* rest = text + n;
    bool empty = n == 0 && *rest == 0;
    if (*rest == 0x0D) {
        rest++;
        while (*rest == 0x0A) rest++;
    }
    *next = *rest == 0 ? kNoNextLine : rest;
    return empty ? -1 : static_cast<int32_t>(n);
}

uint32_t CountLines(const char* text, uint32_t limit) {
    uint32_t lines = 1;
    for (uint32_t i = 0; i < limit && text[i]; i++) lines += text[i] == 0x0D;
    return lines;
}
