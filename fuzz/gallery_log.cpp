// The gallery's log file reader over untrusted bytes: raw files, files with the right magic in front, and
// saved logs with one byte changed. Every file either loads, leaving lines that are terminated within their
// slots, or is refused and leaves the log exactly as it was; a saved log always loads back line for line.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "gallery/log_file.h"
#include "toolkit/gfx/surface.h"

namespace {

struct Log {
    TextLog log = {};
    Log(uint32_t lineSize, uint32_t lines) {
        log.header.kind = kindTextLog;
        log.edit.lineMode = 1;
        AllocateTextLogLines(&log, lineSize, lines);
    }
    ~Log() {
        FreeTextLogLines(&log);
        ReleaseSurface(&log.header.surface);
    }
    std::vector<std::string> Lines() const {
        std::vector<std::string> out;
        for (uint32_t i = 0; i < log.lineCount; i++) {
            const char* slot = TextLogLine(&log, i);
            CHECK(memchr(slot, 0, log.edit.capacity) != nullptr);
            out.push_back(slot);
        }
        return out;
    }
};

} // namespace

// Loads the file and checks the rule: loaded and sound, or refused and unchanged.
static void Check(Log& target, const uint8_t* file, uint32_t size) {
    std::vector<std::string> before = target.Lines();
    uint32_t current = target.log.currentLine;
    LogFileResult result = DecodeLogFile(file, size, &target.log);
    if (result != logFileDone) {
        CHECK(target.Lines() == before && target.log.currentLine == current);
        return;
    }
    CHECK(target.log.lineCount >= 1 && target.log.lineCount <= target.log.maxLines);
    CHECK(target.log.currentLine == target.log.lineCount - 1);
    target.Lines();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in = {data, size};
    static uint8_t file[logFileSizeLimit];
    Log target(in.Byte() % 2 ? galleryLogLineSize : 12, in.Byte() % 2 ? galleryLogLines : 3);
    uint32_t mode = in.Byte() % 3;
    if (mode == 0) {
        Check(target, in.data,
              static_cast<uint32_t>(in.size < logFileSizeLimit ? in.size : logFileSizeLimit));
        return 0;
    }
    if (mode == 1) {
        // The magic and version in front of arbitrary sizes, hashes and streams.
        static const uint8_t head[12] = {'V', 'Q', 'L', 'O', 'G', '\r', '\n', 0x1A, 1, 0, 0, 0};
        uint32_t n = static_cast<uint32_t>(in.size < logFileSizeLimit - 12 ? in.size : logFileSizeLimit - 12);
        memcpy(file, head, 12);
        memcpy(file + 12, in.data, n);
        Check(target, file, n + 12);
        return 0;
    }
    // A log of lines cut from the input: saved, loaded back whole, then loaded with one byte changed.
    Log source(galleryLogLineSize, galleryLogLines);
    ResetTextLog(&source.log);
    source.log.lineCount = 0;
    std::string line;
    while (in.size) {
        uint8_t b = in.Byte();
        if (b == 0xFF || line.size() == galleryLogLineSize - 1) {
            AddTextLogLine(&source.log, appendLine, line.c_str(), 0);
            line.clear();
            if (b == 0xFF) continue;
        }
        if (b) line += static_cast<char>(b);
    }
    AddTextLogLine(&source.log, appendLine, line.c_str(), 0);
    uint32_t n = EncodeLogFile(&source.log, file, sizeof file);
    CHECK(n > 0);
    Log whole(galleryLogLineSize, galleryLogLines);
    CHECK(DecodeLogFile(file, n, &whole.log) == logFileDone);
    // Line breaks inside lines come back as spaces.
    std::vector<std::string> expected = source.Lines();
    for (std::string& s : expected) {
        for (char& c : s) c = c == '\r' || c == '\n' ? ' ' : c;
    }
    CHECK(whole.Lines() == expected);
    uint32_t at = size ? data[0] * 257u % n : 0;
    file[at] ^= static_cast<uint8_t>(size > 1 ? data[1] | 1 : 1);
    Check(target, file, n);
    return 0;
}
