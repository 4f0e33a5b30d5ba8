// The text log's line store: one block of equal-sized slots, changed only by whole-slot moves, and the
// store's part in line editing (which line is edited, read-only, Enter). Nothing here draws or marks the
// log for redraw; the caller does.
#include <string.h>

#include "toolkit/controls/text_log.h"
#include "toolkit/input/line_editor.h"
#include "toolkit/platform/platform.h"
#include "util/dbcs_string.h"

// Larger blocks than this are refused rather than risk a size that wraps on 32-bit hosts.
static const uint64_t maxBlock = 0x7FFFFFFFu;

// Every operation leaves alone a log without slots, or one whose counts no longer fit its slots.
static bool Usable(const TextLog* log) {
    return log && log->lines && log->edit.capacity != 0 && log->maxLines != 0 &&
           log->lineCount <= log->maxLines;
}

static size_t SlotBytes(const TextLog* log, uint32_t slots) {
    return static_cast<size_t>(slots) * log->edit.capacity;
}

// Emptying writes a 32-bit zero word, cut to the slot size for slots under four bytes.
static void EmptySlot(TextLog* log, uint32_t index) {
    uint32_t n = log->edit.capacity < 4 ? log->edit.capacity : 4;
    memset(TextLogLine(log, index), 0, n);
}

// Copies a text into a slot, cut to the slot; a cut that falls inside a two-byte character drops its
// lead byte too, so no line ends in half a character.
static void FillSlot(TextLog* log, uint32_t index, const char* text) {
    const char* source = text ? text : "";
    char* slot = TextLogLine(log, index);
    uint32_t size = log->edit.capacity;
    uint32_t n = CopyString(source, slot, size);
    if (n > 0 && n == size - 1 && source[n] != 0 && ClassifyPosition(source, n) == kTrailByte)
        slot[n - 1] = 0;
}

// One line of [cursor, end): its length up to a carriage return, and the start of the next line after the
// CR and any line feeds. The text's own zero byte is already excluded by end, so nothing past it is read.
static uint32_t TakeLine(const char** cursor, const char* end) {
    const char* start = *cursor;
    const char* cr = static_cast<const char*>(memchr(start, 0x0D, static_cast<size_t>(end - start)));
    if (!cr) {
        *cursor = end;
        return static_cast<uint32_t>(end - start);
    }
    const char* next = cr + 1;
    while (next < end && *next == 0x0A) next++;
    *cursor = next;
    return static_cast<uint32_t>(cr - start);
}

// Bytes of a line that fit into room, cut back to whole characters.
static uint32_t FittingBytes(const char* line, uint32_t length, uint32_t room) {
    if (length <= room) return length;
    if (room > 0 && ClassifyPosition(line, room) == kTrailByte) room--;
    return room;
}

// Enter: the text from the caret on goes down into a new line below (a character at the split goes down
// whole), which becomes current. A current line past the end first becomes a line of the log, so the split
// cannot clear its text. A full log splits nothing, but the current line still moves down unless it is
// the last.
static void SplitCurrentLine(TextLog* log) {
    EditBuffer* b = &log->edit;
    uint32_t current = log->currentLine;
    if (log->lineCount < log->maxLines) {
        if (current >= log->lineCount) {
            ClearTextLogLines(log, log->lineCount, current - log->lineCount);
            log->lineCount = current + 1;
        }
        if (log->lineCount < log->maxLines && InsertTextLogLines(log, current + 1, 1) == 1) {
            char* text = TextLogLine(log, current);
            char* next = TextLogLine(log, current + 1);
            uint32_t length = StringLength(text, b->capacity), at = b->caret;
            if (at < length && ClassifyPosition(text, at) == kTrailByte) at--;
            if (at < length) {
                CopyString(text + at, next, b->capacity);
                text[at] = 0;
            } else {
                next[0] = 0;
            }
        }
    }
    if (log->currentLine + 1 < log->lineCount) log->currentLine++;
    b->caret = 0;
    b->text = TextLogLine(log, log->currentLine);
}

// With keepCaretInView: the view moves the least that shows the current line (not before the first
// layout). Returns lineViewMoved when it moved, else 0.
static uint32_t ShowCurrentLine(TextLog* log) {
    uint32_t rows = log->visibleRows, line = log->currentLine, top = log->firstRow;
    if (!(log->edit.flags & keepCaretInView) || rows == 0 || line >= log->lineCount) return 0;
    if (line < top) log->firstRow = line;
    if (line >= top + static_cast<uint64_t>(rows)) log->firstRow = line - rows + 1;
    return log->firstRow != top ? static_cast<uint32_t>(lineViewMoved) : 0u;
}

// textLogFollowEnd: whether the last line is in view, before lines are added; then, keeping it there.
static bool ViewAtEnd(const TextLog* log) {
    return (log->header.flags & textLogFollowEnd) && log->visibleRows != 0 &&
           log->firstRow + static_cast<uint64_t>(log->visibleRows) >= log->lineCount;
}
static void FollowEnd(TextLog* log, bool atEnd) {
    if (atEnd && log->lineCount > log->visibleRows) log->firstRow = log->lineCount - log->visibleRows;
}

// The bytes of text's lines, without their line ends.
static uint64_t TextBytes(const char* text, const char* end) {
    uint64_t n = 0;
    while (text < end) n += TakeLine(&text, end);
    return n;
}

// linePaste: the clipboard's lines go in at the caret of the current line; the last of them becomes
// current, with the caret after the pasted text and before the rest of the line it was pasted into.
static uint32_t PasteLines(TextLog* log, EditBuffer* b) {
    LinePaste* paste = LinePasteInProgress();
    if (!paste || log->currentLine >= log->lineCount) return lineNothing;
    const uint32_t size = b->capacity, line = log->currentLine;
    const char* first = TextLogLine(log, line);
    uint32_t before = StringLength(first, size);
    uint32_t at = b->caret < before ? b->caret : before;
    if (at < before && ClassifyPosition(first, at) == kTrailByte) at--;
    uint32_t placed = InsertTextLogText(log, paste->text, paste->length, line, at);
    if (placed == 0) return lineNothing;
    uint64_t after = 0;
    for (uint32_t i = 0; i < placed; i++) after += StringLength(TextLogLine(log, line + i), size);
    const char* text = paste->text;
    uint64_t whole = TextBytes(text, text + StringLength(text, paste->length));
    uint64_t inserted = after - before;
    paste->leftOut += static_cast<uint32_t>(whole > inserted ? whole - inserted : 0);
    log->currentLine = line + placed - 1;
    b->text = TextLogLine(log, log->currentLine);
    b->caret = StringLength(b->text, size) - (before - at);
    ShowCurrentLine(log);
    return lineEdit;
}

uint32_t TextLogLineRequest(Control* owner, EditBuffer* buffer, uint32_t request) {
    TextLog* log = reinterpret_cast<TextLog*>(owner);
    if (!owner || owner->kind != kindTextLog || &log->edit != buffer) return lineNothing;
    if (request == lineEnter) {
        if (log->lines && log->currentLine < log->maxLines) SplitCurrentLine(log);
        return lineNothing;
    }
    if (owner->flags & textLogReadOnly) return lineReadOnly;
    if (!log->lines || log->currentLine >= log->maxLines || buffer->capacity == 0) return lineNothing;
    if (request == linePaste) return PasteLines(log, buffer);
    // The line being edited is always the current one, even before a draw has re-pointed text.
    buffer->text = TextLogLine(log, log->currentLine);
    return request == lineKeyUp ? lineEdit : lineEdit | ShowCurrentLine(log);
}

char* TextLogLine(const TextLog* log, uint32_t index) {
    return log->lines + SlotBytes(log, index);
}

int32_t AllocateTextLogLines(TextLog* log, uint32_t lineSize, uint32_t limit) {
    uint64_t bytes = static_cast<uint64_t>(lineSize) * limit;
    log->lines = bytes != 0 && bytes <= maxBlock ? static_cast<char*>(PlatformAllocatePages(bytes)) : nullptr;
    log->edit.capacity = lineSize;
    log->edit.lineHandler = TextLogLineRequest;
    log->currentLine = 0;
    log->firstRow = 0;
    if (!log->lines) {
        log->maxLines = 0;
        log->lineCount = 0;
        log->edit.text = nullptr;
        return 0;
    }
    log->maxLines = limit;
    log->lineCount = 1;
    log->edit.text = log->lines;
    return -1;
}

void FreeTextLogLines(TextLog* log) {
    if (log->lines) PlatformFreePages(log->lines);
    log->lines = nullptr;
    log->edit.text = nullptr;
    log->maxLines = 0;
    log->lineCount = 0;
    log->currentLine = 0;
}

void ResetTextLog(TextLog* log) {
    log->currentLine = 0;
    log->firstRow = 0;
    if (!log->lines || log->edit.capacity == 0) {
        log->lineCount = 0; // no slot to show
        return;
    }
    log->lineCount = log->maxLines != 0 ? 1 : 0;
    for (uint32_t i = 0; i < log->maxLines; i++) EmptySlot(log, i);
}

uint32_t InsertTextLogLines(TextLog* log, uint32_t index, uint32_t n) {
    if (!Usable(log) || index >= log->maxLines) return 0;
    if (index < log->lineCount) {
        uint32_t free = log->maxLines - log->lineCount;
        if (n > free) n = free;
        if (n == 0) return 0;
        memmove(TextLogLine(log, index + n), TextLogLine(log, index), SlotBytes(log, log->lineCount - index));
        log->lineCount += n;
        return n;
    }
    // Past the end, the lines between the old end and index become empty lines, even when n is 0.
    if (n > log->maxLines - index) n = log->maxLines - index;
    uint32_t end = index + n;
    ClearTextLogLines(log, log->lineCount, end - log->lineCount);
    log->lineCount = end;
    return n;
}

void ClearTextLogLines(TextLog* log, uint32_t index, uint32_t n) {
    if (!Usable(log) || index >= log->maxLines) return;
    if (n > log->maxLines - index) n = log->maxLines - index;
    for (uint32_t i = 0; i < n; i++) EmptySlot(log, index + i);
}

void DeleteTextLogLines(TextLog* log, uint32_t index, uint32_t n) {
    if (!Usable(log) || index >= log->lineCount) return;
    if (n >= log->lineCount - index) {
        ClearTextLogLines(log, index, log->lineCount - index);
        log->lineCount = index;
        return;
    }
    memmove(TextLogLine(log, index), TextLogLine(log, index + n), SlotBytes(log, log->lineCount - index - n));
    log->lineCount -= n;
}

int32_t AddTextLogLine(TextLog* log, uint32_t index, const char* text, uint32_t options) {
    if (!Usable(log)) return -1;
    if (log->lineCount >= log->maxLines && (options & addDropOldest)) DeleteTextLogLines(log, 0, 1);
    if (index >= log->maxLines) index = log->lineCount;
    bool atEnd = ViewAtEnd(log);
    if (index >= log->maxLines || InsertTextLogLines(log, index, 1) != 1) return -1;
    FillSlot(log, index, text);
    FollowEnd(log, atEnd);
    if (options & addScrollIntoView) {
        // Before the first layout visibleRows is 0; the line then becomes the top row.
        uint64_t rows = log->visibleRows != 0 ? log->visibleRows : 1;
        if (log->firstRow > index) {
            log->firstRow = index;
        } else if (log->firstRow + rows <= index) {
            log->firstRow = static_cast<uint32_t>(index - rows + 1);
        }
    }
    return static_cast<int32_t>(index);
}

uint32_t InsertTextLogText(TextLog* log, const char* text, uint32_t maxBytes, uint32_t line,
                           uint32_t position) {
    if (!Usable(log) || !text || line >= log->maxLines) return 0;
    const uint32_t size = log->edit.capacity;
    const char* end = text + StringLength(text, maxBytes);
    const uint32_t lines = CountLines(text, maxBytes);
    const bool atEnd = ViewAtEnd(log);

    // Make room: lines - 1 new lines after an existing line, or the line and lines more past the end.
    uint32_t added;
    if (line < log->lineCount) {
        added = InsertTextLogLines(log, line + 1, lines - 1);
        ClearTextLogLines(log, line + 1, added);
    } else {
        added = InsertTextLogLines(log, line, lines < 0xFFFFFFFFu ? lines + 1 : lines) - 1;
    }
    // A full log takes the first lines only; the last of them also receives the rest of line L.
    uint32_t placed = added + 1 < lines ? added + 1 : lines;
    uint32_t last = line + placed - 1;

    char* first = TextLogLine(log, line);
    uint32_t length = StringLength(first, size);
    if (position < length && ClassifyPosition(first, position) == kTrailByte) position--;
    if (last != line && position < length) {
        CopyString(first + position, TextLogLine(log, last), size);
        first[position] = 0;
    }

    // The rest of line L is already in place in the last line, so each text line goes in with only the room
    // left beside it: the paste is shortened, never the rest of line L.
    const char* cursor = text;
    for (uint32_t i = 0; i < placed; i++) {
        const char* source = cursor;
        uint32_t n = TakeLine(&cursor, end);
        char* slot = TextLogLine(log, line + i);
        uint32_t at = i == 0 ? position : 0;
        uint32_t used = StringLength(slot, size);
        if (at > used) used = at;
        uint32_t room = used + 1 < size ? size - 1 - used : 0;
        n = FittingBytes(source, n, room);
        if (n) InsertString(source, slot, at, n, size);
    }
    FollowEnd(log, atEnd);
    return placed;
}
