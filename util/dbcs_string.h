// String routines for zero-terminated code-page-949 text: a byte above 0x80 starts a two-byte character and
// the byte after it is that character's second byte. Sizes count the whole buffer, zero byte included;
// lengths never count it. Nothing here allocates.
#pragma once

#include <stdint.h>

// ClassifyPosition results: bit 0x2 marks a byte of a two-byte character, bit 0x1 a trail byte.
constexpr uint32_t kSingleByte = 0, kLeadByte = 2, kTrailByte = 3;

// CompareStrings flags (the sorts add 0x4 for descending order).
constexpr uint32_t lengthFirst = 0x1, ignoreCase = 0x2;

// PrepareCharSlot flags.
constexpr uint32_t kSlotInsert = 0x1, kSlotTwoBytes = 0x2;

// Count for InsertString meaning "the whole source".
constexpr uint32_t kWholeString = 0xFFFFFFFFu;

// One command-line token: not zero-terminated, double quotes kept.
struct Token {
    const char* text;
    uint32_t length;
};

// Copies up to size - 1 bytes and always terminates when size > 0; may split a two-byte character.
uint32_t CopyString(const char* source, char* destination, uint32_t size);

// Bytes before the first zero byte, looking at no more than bound bytes.
uint32_t StringLength(const char* text, uint32_t bound);

// Inserts the first count bytes of source (kWholeString: all of it) at position, padding with spaces up to a
// position past the end. The text stays within size - 1 bytes; whatever does not fit is lost. Returns the
// number of source bytes taken (the would-be count when position >= size).
uint32_t InsertString(const char* source, char* destination, uint32_t position, uint32_t count,
                      uint32_t size);

// Appends source to destination; the caller guarantees the room. Returns the bytes appended.
uint32_t AppendString(char* destination, const char* source);

// Byte-wise comparison: 1 when a orders after b, -1 before, 0 equal.
int32_t CompareStrings(const char* a, const char* b, uint32_t flags);

// Class of the byte at position, found by walking from the start. The terminating zero byte is classified
// like any other byte; positions past it are single bytes.
uint32_t ClassifyPosition(const char* text, uint32_t position);

// Makes the slot at position (stepped back to the lead byte when it is a trail byte) exactly as wide as the
// character the caller writes next (two bytes with kSlotTwoBytes), inserting in insert mode. A slot at or
// past the end of the text is always made by inserting, so the zero byte survives the caller's write.
// Returns the result of the insert or delete used, 0 when nothing changed. The slot is whole, and writing it
// keeps the zero byte, when slot position + width < size.
uint32_t PrepareCharSlot(char* text, uint32_t size, uint32_t position, uint32_t flags);

// Removes count bytes at position. Returns the length when the position is past the end or the text is cut
// at the position, otherwise the number of bytes moved (zero byte included).
uint32_t DeleteBytes(char* text, uint32_t position, uint32_t count);

// Characters among at most limit bytes: a byte below 0x80 counts a whole one, any other byte half.
uint32_t CountCharacters(const char* text, uint32_t limit);

// The command line the program recorded at start-up, which TokenizeCommandLine reads. Not copied.
void SetCommandLineText(const char* commandLine);

// Splits the recorded command line at spaces and control bytes outside double quotes. Fills at most
// capacity tokens and returns how many it filled.
uint32_t TokenizeCommandLine(Token* tokens, uint32_t capacity);

// SplitLine's next-line pointer after the last line.
inline const char* const kNoNextLine = reinterpret_cast<const char*>(~uintptr_t(0));

// Length of the first line (ended by a carriage return or the zero byte), or -1 for an empty text. *next
// gets the start of the following line after the CR and any line feeds, or kNoNextLine at the end.
int32_t SplitLine(const char* text, const char** next);

// 1 plus the carriage returns among at most limit bytes before the zero byte.
uint32_t CountLines(const char* text, uint32_t limit);
