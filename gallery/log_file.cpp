// Saving and loading the gallery's log. Loading checks everything before it changes anything: the header,
// the packed stream, the text's size and hash, and every line against the log's slots.
#include "gallery/log_file.h"

#include <string.h>

#include "toolkit/platform/platform.h"
#include "util/block_packer.h"
#include "util/dbcs_string.h"

static const uint8_t magic[8] = {'V', 'Q', 'L', 'O', 'G', '\r', '\n', 0x1A};
static const uint32_t formatVersion = 1;

// One file's worth of room, and the text it unpacks to; the gallery is one thread.
static uint8_t fileBytes[logFileSizeLimit];
static char textBytes[logFileTextLimit];

static uint32_t Hash(const char* text, uint32_t size) {
    uint32_t h = 2166136261u;
    for (uint32_t i = 0; i < size; i++) h = (h ^ static_cast<uint8_t>(text[i])) * 16777619u;
    return h;
}

static void Put32(uint8_t* at, uint32_t value) {
    for (int i = 0; i < 4; i++) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

static uint32_t Get32(const uint8_t* at) {
    return at[0] | static_cast<uint32_t>(at[1]) << 8 | static_cast<uint32_t>(at[2]) << 16 |
           static_cast<uint32_t>(at[3]) << 24;
}

// The lines of the text: each ends at CR LF or the end, holds no zero byte, CR or LF of its own, and fits a
// slot with its zero byte. Returns the number of lines, or 0 when any does not.
static uint32_t CheckLines(const char* text, uint32_t size, uint32_t slotSize, bool* fits) {
    uint32_t lines = 0;
    *fits = true;
    for (uint32_t start = 0;;) {
        uint32_t end = start;
        while (end < size && text[end] != '\r' && text[end] != '\n' && text[end] != 0) end++;
        if (end < size && (text[end] == 0 || text[end] == '\n')) return 0;
        if (end < size && (end + 1 >= size || text[end + 1] != '\n')) return 0; // CR without LF
        if (end - start >= slotSize) *fits = false;
        lines++;
        if (end >= size) return lines;
        start = end + 2;
    }
}

uint32_t EncodeLogFile(const TextLog* log, uint8_t* file, uint32_t capacity) {
    if (!log->lines || capacity < logFileHeaderSize) return 0;
    uint32_t size = 0;
    for (uint32_t i = 0; i < log->lineCount; i++) {
        const char* line = TextLogLine(log, i);
        uint32_t length = StringLength(line, log->edit.capacity);
        if (static_cast<uint64_t>(size) + length + 2 > sizeof textBytes) return 0;
        if (i > 0) {
            textBytes[size++] = '\r';
            textBytes[size++] = '\n';
        }
        // A line break inside a line would split it in two when loaded: it is saved as a space.
        for (uint32_t k = 0; k < length; k++)
            textBytes[size++] = line[k] == '\r' || line[k] == '\n' ? ' ' : line[k];
    }
    int64_t packed = PackBlocks(reinterpret_cast<const uint8_t*>(textBytes), size, file + logFileHeaderSize,
                                capacity - logFileHeaderSize);
    if (packed < 0) return 0;
    memcpy(file, magic, sizeof magic);
    Put32(file + 8, formatVersion);
    Put32(file + 12, size);
    Put32(file + 16, Hash(textBytes, size));
    return logFileHeaderSize + static_cast<uint32_t>(packed);
}

LogFileResult DecodeLogFile(const uint8_t* file, uint32_t size, TextLog* log) {
    if (size < sizeof magic || memcmp(file, magic, sizeof magic) != 0) return logFileForeign;
    if (size < logFileHeaderSize) return logFileDamaged;
    if (Get32(file + 8) != formatVersion) return logFileForeign;
    uint32_t textSize = Get32(file + 12);
    if (textSize > sizeof textBytes) return logFileDamaged;
    int64_t unpacked = UnpackBlocks(file + logFileHeaderSize, size - logFileHeaderSize,
                                    reinterpret_cast<uint8_t*>(textBytes), textSize);
    if (unpacked != textSize || Hash(textBytes, textSize) != Get32(file + 16)) return logFileDamaged;
    bool fits = false;
    uint32_t lines = CheckLines(textBytes, textSize, log->edit.capacity, &fits);
    if (lines == 0) return logFileDamaged;
    if (!log->lines || !fits || lines > log->maxLines) return logFileDoesNotFit;
    ResetTextLog(log);
    uint32_t start = 0;
    for (uint32_t i = 0; i < lines; i++) {
        const char* line = textBytes + start;
        const char* cr = static_cast<const char*>(memchr(line, '\r', textSize - start));
        uint32_t length = cr ? static_cast<uint32_t>(cr - line) : textSize - start;
        char* slot = TextLogLine(log, i);
        memcpy(slot, line, length);
        slot[length] = 0;
        start += length + 2;
    }
    log->lineCount = lines;
    log->currentLine = lines - 1;
    log->edit.caret = 0;
    log->firstRow = lines > log->visibleRows && log->visibleRows ? lines - log->visibleRows : 0;
    return logFileDone;
}

LogFileResult SaveLogFile(const TextLog* log, const char* path) {
    uint32_t size = EncodeLogFile(log, fileBytes, sizeof fileBytes);
    if (size == 0) return logFileDoesNotFit;
    return PlatformWriteFile(path, fileBytes, size) == -1 ? logFileDone : logFileNotWritten;
}

LogFileResult LoadLogFile(TextLog* log, const char* path) {
    int64_t size = PlatformReadFile(path, fileBytes, sizeof fileBytes);
    if (size < 0) return logFileNotRead;
    if (size > static_cast<int64_t>(sizeof fileBytes)) {
        // Larger than any log this gallery writes: foreign, or a damaged log.
        return memcmp(fileBytes, magic, sizeof magic) == 0 ? logFileDamaged : logFileForeign;
    }
    return DecodeLogFile(fileBytes, static_cast<uint32_t>(size), log);
}
