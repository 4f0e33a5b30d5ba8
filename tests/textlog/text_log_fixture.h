// A text log record with a line array from the headless page allocator, and helpers to read and fill it.
#pragma once

#include <gtest/gtest.h>
#include <string.h>

#include <string>
#include <vector>

#include "toolkit/controls/text_log.h"
#include "toolkit/gfx/surface.h"
#include "toolkit/platform/headless/headless.h"

struct TestLog {
    TextLog log;

    // Returns false when the allocation failed.
    bool Make(uint32_t lineSize, uint32_t limit) {
        memset(&log, 0, sizeof log);
        log.header.recordSize = sizeof log;
        log.header.kind = kindTextLog;
        log.header.editBuffer = &log.edit;
        log.edit.flags = insertMode;
        log.edit.lineMode = 1;
        log.rowSpacing = 4;
        return AllocateTextLogLines(&log, lineSize, limit) == -1;
    }
    ~TestLog() {
        FreeTextLogLines(&log);
        ReleaseSurface(&log.header.surface);
    }

    std::string Line(uint32_t i) const {
        const char* slot = TextLogLine(&log, i);
        return std::string(slot, strnlen(slot, log.edit.capacity));
    }
    // Lines 0 .. lineCount - 1.
    std::vector<std::string> Lines() const {
        std::vector<std::string> out;
        for (uint32_t i = 0; i < log.lineCount; i++) out.push_back(Line(i));
        return out;
    }
    // Fills the log with the given lines (each must fit its slot).
    void Fill(const std::vector<std::string>& lines) {
        ResetTextLog(&log);
        log.lineCount = 0;
        for (const std::string& s : lines) AddTextLogLine(&log, appendLine, s.c_str(), 0);
    }
    // Every slot holds its zero byte.
    bool SlotsTerminated() const {
        for (uint32_t i = 0; i < log.maxLines; i++)
            if (!memchr(TextLogLine(&log, i), 0, log.edit.capacity)) return false;
        return true;
    }
};
