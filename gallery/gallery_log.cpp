// The gallery's text log: lines typed into it (Enter) or sent from the line below it, each stamped with the
// Korean date and time, kept with a scroll bar and arrow buttons, saved to and loaded from a file in the
// user's data directory; and the picture beside it.
#include <stdio.h>
#include <string.h>

#include "gallery/gallery_build.h"
#include "toolkit/window/composition.h"
#include "util/dbcs_string.h"
#include "util/korean_date.h"

// Code page 949 text.
static const char startedLine[] =
    "\xB0\xB6\xB7\xAF\xB8\xAE\xB8\xA6 \xBD\xC3\xC0\xDB\xC7\xDF\xBD\xC0\xB4\xCF\xB4\xD9. "
    "Gallery started.";                                               // 갤러리를 시작했습니다.
static const char sendCaption[] = "\xBA\xB8\xB3\xBB\xB1\xE2";         // 보내기
static const char saveCaption[] = "\xC0\xFA\xC0\xE5";                 // 저장
static const char loadCaption[] = "\xBA\xD2\xB7\xAF\xBF\xC0\xB1\xE2"; // 불러오기
static const char fileWord[] = "\xB1\xE2\xB7\xCF \xC6\xC4\xC0\xCF Log file:"; // 기록 파일
static const char noPlace[] = "\xC0\xFA\xC0\xE5\xC7\xD2 \xB0\xF7\xC0\xCC \xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9 "
                              "No data directory"; // 저장할 곳이 없습니다
static const char addedWord[] = "\xB1\xE2\xB7\xCF\xBF\xA1 \xC3\xDF\xB0\xA1 Added:"; // 기록에 추가
// 기록이 가득 찼습니다.
static const char fullWord[] = "\xB1\xE2\xB7\xCF\xC0\xCC \xB0\xA1\xB5\xE6 \xC3\xA1\xBD\xC0\xB4\xCF\xB4\xD9. "
                               "The log is full.";
static const char linesWord[] = "\xC1\xD9 lines"; // 줄
static const char savedWord[] = "\xB1\xE2\xB7\xCF\xC0\xBB \xC0\xFA\xC0\xE5\xC7\xDF\xBD\xC0\xB4\xCF\xB4\xD9 "
                                "Saved"; // 기록을 저장했습니다
static const char loadedWord[] = "\xB1\xE2\xB7\xCF\xC0\xBB \xBA\xD2\xB7\xAF\xBF\xD4\xBD\xC0\xB4\xCF\xB4\xD9 "
                                 "Loaded"; // 기록을 불러왔습니다
static const char notReadWord[] =
    "\xB1\xE2\xB7\xCF \xC6\xC4\xC0\xCF\xC0\xBB \xC0\xD0\xC0\xBB \xBC\xF6 "
    "\xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9 Cannot read"; // 기록 파일을 읽을 수 없습니다
static const char notWrittenWord[] =
    "\xB1\xE2\xB7\xCF \xC6\xC4\xC0\xCF\xC0\xBB \xBE\xB5 \xBC\xF6 "
    "\xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9 Cannot write"; // 기록 파일을 쓸 수 없습니다
// 갤러리 기록이 아닙니다. 아무것도 바꾸지 않았습니다.
static const char foreignWord[] =
    "\xB0\xB6\xB7\xAF\xB8\xAE \xB1\xE2\xB7\xCF\xC0\xCC \xBE\xC6\xB4\xD5\xB4\xCF\xB4\xD9. "
    "\xBE\xC6\xB9\xAB\xB0\xCD\xB5\xB5 \xB9\xD9\xB2\xD9\xC1\xF6 \xBE\xCA\xBE\xD2\xBD\xC0"
    "\xB4\xCF\xB4\xD9. Not a gallery log; nothing changed";
// 기록 파일이 손상되었습니다. 아무것도 바꾸지 않았습니다.
static const char damagedWord[] =
    "\xB1\xE2\xB7\xCF \xC6\xC4\xC0\xCF\xC0\xCC \xBC\xD5\xBB\xF3\xB5\xC7\xBE\xFA\xBD\xC0"
    "\xB4\xCF\xB4\xD9. \xBE\xC6\xB9\xAB\xB0\xCD\xB5\xB5 \xB9\xD9\xB2\xD9\xC1\xF6 "
    "\xBE\xCA\xBE\xD2\xBD\xC0\xB4\xCF\xB4\xD9. Damaged log; nothing changed";
// 이 기록에 들어가지 않습니다. 아무것도 바꾸지 않았습니다.
static const char doesNotFitWord[] =
    "\xC0\xCC \xB1\xE2\xB7\xCF\xBF\xA1 \xB5\xE9\xBE\xEE\xB0\xA1\xC1\xF6 "
    "\xBE\xCA\xBD\xC0\xB4\xCF\xB4\xD9. \xBE\xC6\xB9\xAB\xB0\xCD\xB5\xB5 "
    "\xB9\xD9\xB2\xD9\xC1\xF6 \xBE\xCA\xBE\xD2\xBD\xC0\xB4\xCF\xB4\xD9. Does not fit; "
    "nothing changed";

// Year, month, day, weekday, morning or afternoon, the hour on a 12-hour clock, minute and second.
static const uint32_t stampParts = kDateYear | kDateMonth | kDateDay | kDateWeekday | kDateHalfDay |
                                   kDateHour | kDateTwelveHour | kDateMinute | kDateSecond;

// "2024년5월6일(월)[오후]3시4분5초 " at the start of out; returns its length.
static uint32_t Stamp(char (&out)[kKoreanDateTextSize + 1]) {
    PlatformTime now = {};
    PlatformLocalTime(&now);
    TimeRecord t = {now.year, now.month,  now.dayOfWeek, now.day,
                    now.hour, now.minute, now.second,    now.milliseconds};
    uint32_t n = FormatKoreanDate(&t, out, stampParts);
    out[n++] = ' ';
    out[n] = 0;
    return n;
}

// Appends as much of text as fits in whole characters.
static void AppendWhole(char* line, uint32_t size, const char* text) {
    uint32_t used = StringLength(line, size), room = size - 1 - used;
    uint32_t n = StringLength(text, room + 1);
    if (n > room) {
        n = room;
        if (n > 0 && ClassifyPosition(text, n) == kTrailByte) n--;
    }
    memcpy(line + used, text, n);
    line[used + n] = 0;
}

// The current line stays in view after the log changed under it.
static void KeepCurrentLineInView(TextLog* log) {
    uint32_t rows = log->visibleRows ? log->visibleRows : 1;
    if (log->currentLine < log->firstRow) log->firstRow = log->currentLine;
    if (log->currentLine >= log->firstRow + rows) log->firstRow = log->currentLine - rows + 1;
}

// A full log makes room by letting its oldest line go, unless that is the line being typed.
static void MakeRoom(TextLog* log) {
    if (log->lineCount < log->maxLines || log->currentLine == 0) return;
    DeleteTextLogLines(log, 0, 1);
    if (log->currentLine > 0) log->currentLine--;
}

// Only the last line takes typing; the lines above it are history, which the caret may select and copy.
static uint32_t BeginLogInput(TextLog* log, Control* owner, EditBuffer* buffer) {
    uint32_t answer = TextLogLineRequest(owner, buffer, lineBeginInput);
    if (log->currentLine + 1 >= log->lineCount || (answer & ~lineViewMoved) != lineEdit) return answer;
    return lineSelectOnly | (answer & lineViewMoved);
}

// Enter in the log: the line typed is stamped (or, when the stamp would not fit beside it, gets a stamp line
// of its own above it) and a new empty line opens below it for the next one.
static uint32_t LogLine(Control* owner, EditBuffer* buffer, uint32_t request) {
    TextLog* log = &gallery.log;
    if (owner != &log->header || !log->lines) return TextLogLineRequest(owner, buffer, request);
    if (request == lineBeginInput) return BeginLogInput(log, owner, buffer);
    if (request != lineEnter) return TextLogLineRequest(owner, buffer, request);
    char* line = TextLogLine(log, log->currentLine);
    uint32_t length = StringLength(line, buffer->capacity);
    if (length > 0) {
        char stamp[kKoreanDateTextSize + 1];
        uint32_t n = Stamp(stamp);
        if (length + n < buffer->capacity) {
            InsertString(stamp, line, 0, n, buffer->capacity);
        } else {
            MakeRoom(log);
            if (InsertTextLogLines(log, log->currentLine, 1) == 1) {
                stamp[n - 1] = 0;
                CopyString(stamp, TextLogLine(log, log->currentLine), buffer->capacity);
                log->currentLine++;
            }
        }
        MakeRoom(log);
    }
    // The split happens at the end of the line, so the whole line stays where it is.
    buffer->caret = StringLength(TextLogLine(log, log->currentLine), buffer->capacity);
    uint32_t answer = TextLogLineRequest(owner, buffer, lineEnter);
    KeepCurrentLineInView(log);
    return answer;
}

// Adds a stamped line above the line being typed at the bottom, which becomes current again (a line of
// the history clicked before loses the caret), and shows both. False when the log had no room.
static bool AddStampedLine(const char* text) {
    TextLog* log = &gallery.log;
    char line[galleryLogLineSize];
    char stamp[kKoreanDateTextSize + 1];
    Stamp(stamp);
    CopyString(stamp, line, sizeof line);
    AppendWhole(line, sizeof line, text);
    MakeRoom(log);
    uint32_t bottom = log->lineCount > 0 ? log->lineCount - 1 : 0;
    int32_t added = AddTextLogLine(log, bottom, line, addScrollIntoView);
    if (added < 0) return false;
    // Keeping the line clicked before in view would undo the scroll to the new line.
    EditBuffer* b = &log->edit;
    if (log->currentLine != bottom + 1 && bottom + 1 < log->lineCount) {
        log->currentLine = bottom + 1;
        b->caret = StringLength(TextLogLine(log, bottom + 1), b->capacity);
        b->scrollX = 0;
    }
    b->selectionAnchor = b->caret;
    KeepCurrentLineInView(log);
    return true;
}

static void Send(WindowHandle window, WindowRecord* record) {
    if (gallery.entryText[0] == 0) return;
    if (!AddStampedLine(gallery.entryText)) {
        SetStatus(window, record, fullWord);
        return;
    }
    char text[labelCaptionSize];
    snprintf(text, sizeof text, "%s %s", addedWord, gallery.entryText);
    gallery.entryText[0] = 0;
    gallery.entry.edit.caret = 0;
    RepaintControl(window, record, &gallery.entry.header);
    RepaintControl(window, record, &gallery.log.header);
    SetStatus(window, record, text);
}

static uint32_t SendClicked(WindowHandle window, WindowRecord* record, Control*, uintptr_t, uint32_t, int32_t,
                            int32_t) {
    Send(window, record);
    return redrawBits;
}

static void SendEntered(WindowHandle window, WindowRecord* record, Control*, EditBuffer*) {
    Send(window, record);
}

static void ReportFile(WindowHandle window, WindowRecord* record, LogFileResult result, const char* done) {
    const char* what = done;
    switch (result) {
    case logFileDone:
        break;
    case logFileNotRead:
        what = notReadWord;
        break;
    case logFileNotWritten:
        what = notWrittenWord;
        break;
    case logFileForeign:
        what = foreignWord;
        break;
    case logFileDamaged:
        what = damagedWord;
        break;
    case logFileDoesNotFit:
        what = doesNotFitWord;
        break;
    }
    char text[labelCaptionSize], count[32];
    CopyString(what, text, sizeof text);
    if (result == logFileDone) {
        snprintf(count, sizeof count, " (%u%s)", gallery.log.lineCount, linesWord);
        AppendWhole(text, sizeof text, count);
    }
    AppendWhole(text, sizeof text, ": ");
    AppendWhole(text, sizeof text, gallery.logPath);
    SetStatus(window, record, text);
}

static uint32_t SaveClicked(WindowHandle window, WindowRecord* record, Control*, uintptr_t, uint32_t, int32_t,
                            int32_t) {
    if (!gallery.logPath[0]) {
        SetStatus(window, record, noPlace);
        return redrawBits;
    }
    ReportFile(window, record, SaveLogFile(&gallery.log, gallery.logPath), savedWord);
    return redrawBits;
}

static uint32_t LoadClicked(WindowHandle window, WindowRecord* record, Control*, uintptr_t, uint32_t, int32_t,
                            int32_t) {
    if (!gallery.logPath[0]) {
        SetStatus(window, record, noPlace);
        return redrawBits;
    }
    LogFileResult result = LoadLogFile(&gallery.log, gallery.logPath);
    if (result == logFileDone) RepaintControl(window, record, &gallery.log.header);
    ReportFile(window, record, result, loadedWord);
    return redrawBits;
}

// Where the log goes: the data directory made now, or nothing.
static void FindLogPath() {
    gallery.logPath[0] = 0;
    char directory[sizeof gallery.logPath];
    uint32_t n = PlatformDataDirectory(galleryDataName, directory, sizeof directory);
    if (n == 0 || n + strlen(galleryLogName) >= sizeof gallery.logPath) return;
    CopyString(directory, gallery.logPath, sizeof gallery.logPath);
    AppendWhole(gallery.logPath, sizeof gallery.logPath, galleryLogName);
}

void BuildLog(WindowRecord* record, const GalleryLayout& layout) {
    Group(record, groupLog, layout);
    const Extent& g = layout.groups[groupLog];
    const uint32_t stretch = stretchX | followRight | followBottom, follow = followRight | followBottom;
    const int32_t pictureWidth = 104, logHeight = 96;
    Extent logAt = {g.x + 8, g.y + 30, g.width - 16 - 20 - 8 - pictureWidth, logHeight};
    TextLog* log = &gallery.log;
    InitTextLog(log, &logAt, textLogFrame | textLogFollowEnd | stretch, &galleryFont, galleryLogLineSize,
                galleryLogLines);
    log->header.backgroundColour = paper;
    InstallTextLogMouse(log);
    log->edit.flags |= selectText | clipboardKeys | keepCaretInView | inlineComposition;
    log->lineTextColour = logInk;
    log->edit.backColour = currentLinePaper;
    log->edit.lineHandler = LogLine;
    log->rowSpacing = 3;
    Add(record, &log->header);
    int32_t column = logAt.x + logAt.width + 4;
    ArrowButton(record, &gallery.logUp, {column, logAt.y, 16, 16}, artUp, follow, TextLogScrollUp, log);
    Extent barAt = {column, logAt.y + 16, 16, logHeight - 32};
    InitScrollBar(&gallery.logBar, &barAt, 0, 0, scrollBarVertical | scrollBarBevel | follow);
    gallery.logBar.onRelease = gallery.logBar.onTrack = TextLogScrollTo;
    gallery.logBar.userData = reinterpret_cast<uintptr_t>(log);
    Add(record, &gallery.logBar.header);
    ArrowButton(record, &gallery.logDown, {column, logAt.y + logHeight - 16, 16, 16}, artDown, follow,
                TextLogScrollDown, log);
    log->scrollBar = &gallery.logBar;
    log->companions[0] = &gallery.logUp.header;
    log->companions[1] = &gallery.logDown.header;
    AddStampedLine(startedLine);

    Extent pictureAt = {g.x + g.width - 8 - pictureWidth, g.y + 28, pictureWidth, 96};
    InitPicture(&gallery.picture, &pictureAt, 0, follow);
    gallery.picture.images[0] = Art(artPicture);
    Add(record, &gallery.picture.header);

    int32_t rowY = g.y + 134, buttonsX = g.x + g.width - 8 - 3 * 64 + 6;
    Extent entryAt = {g.x + 8, rowY, buttonsX - 6 - g.x - 8, 24};
    InitEditField(&gallery.entry, &entryAt, editFieldFrame | editFieldSunkenFrame | stretch,
                  gallery.entryText, sizeof gallery.entryText);
    gallery.entry.header.backgroundColour = paper;
    gallery.entry.edit.backColour = paper;
    gallery.entry.edit.originX = 4;
    gallery.entry.edit.originY = 4;
    gallery.entry.edit.enterHandler = SendEntered;
    gallery.entry.edit.font = &galleryFont;
    TakeEditingKeys(&gallery.entry, &gallery.entryHistory);
    Add(record, &gallery.entry.header);
    CaptionButton(record, &gallery.send, {buttonsX, rowY, 58, 24}, sendCaption, follow, SendClicked);
    CaptionButton(record, &gallery.save, {buttonsX + 64, rowY, 58, 24}, saveCaption, follow, SaveClicked);
    CaptionButton(record, &gallery.load, {buttonsX + 128, rowY, 58, 24}, loadCaption, follow, LoadClicked);

    FindLogPath();
    Extent fileAt = {g.x + 8, rowY + 28, g.width - 16, 16};
    char caption[labelCaptionSize];
    CopyString(fileWord, caption, sizeof caption);
    AppendWhole(caption, sizeof caption, " ");
    AppendWhole(caption, sizeof caption, gallery.logPath[0] ? gallery.logPath : noPlace);
    InitLabel(&gallery.file, &fileAt, logInk, panelGrey, &galleryFont, caption, nullptr, stretch, 0);
    Add(record, &gallery.file.header);
}
