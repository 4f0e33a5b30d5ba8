// The gallery's log on disk: the lines of a text log joined by CR LF, packed by the block packer behind a
// header that tells a gallery log from any other file and a whole one from a damaged one.
//   bytes 0-7    "VQLOG\r\n" and 0x1A
//   bytes 8-11   format version, 1 (little-endian, as the sizes)
//   bytes 12-15  size of the text
//   bytes 16-19  FNV-1a hash of the text
//   bytes 20-    the packed text, up to the end of the file
#pragma once

#include <stdint.h>

#include "toolkit/controls/text_log.h"

inline constexpr uint32_t galleryLogLineSize = 160; // bytes of a line, its zero byte included
inline constexpr uint32_t galleryLogLines = 200;
inline constexpr uint32_t logFileHeaderSize = 20;
// The longest text a log of the gallery's size gives, and the largest file that can hold it.
inline constexpr uint32_t logFileTextLimit =
    galleryLogLines * (galleryLogLineSize - 1) + 2 * (galleryLogLines - 1);
inline constexpr uint32_t logFileSizeLimit = logFileHeaderSize + logFileTextLimit + logFileTextLimit / 4 + 3;

enum LogFileResult : uint32_t {
    logFileDone,
    logFileNotRead,    // missing, or it cannot be read
    logFileNotWritten, // it cannot be written
    logFileForeign,    // not a gallery log
    logFileDamaged,    // a gallery log whose contents do not add up
    logFileDoesNotFit, // a whole log with more or longer lines than this log holds
};

// The file's bytes for the log's lines; returns their count, 0 when they do not fit in capacity.
uint32_t EncodeLogFile(const TextLog* log, uint8_t* file, uint32_t capacity);
// Checks the whole file first; only a file that is whole and fits replaces the log's lines, which end with
// the last line current. Otherwise the log is left as it was.
LogFileResult DecodeLogFile(const uint8_t* file, uint32_t size, TextLog* log);

LogFileResult SaveLogFile(const TextLog* log, const char* path);
LogFileResult LoadLogFile(TextLog* log, const char* path);
