// Where DrawTextA puts a text, read back from its own drawing: the same call is recorded into an enhanced
// metafile, whose text records give each line's characters and row, and whose line records give the
// underline under a prefixed character.
#include "toolkit/platform/win32/handles.h"

#include <string.h>

// The recording of one short text is a few kilobytes.
alignas(4) static uint8_t recording[1 << 16]; // records are 4-byte aligned

// Where the drawn bytes of one line begin in the text at or after from: a single ampersand is not drawn,
// two draw one. The first byte after the match goes to after; -1 when nothing matches.
static int32_t MatchDrawn(const char* text, int32_t end, int32_t from, const char* drawn, int32_t n,
                          int32_t* after) {
    for (int32_t start = from; start < end; start++) {
        int32_t i = start, j = 0;
        while (j < n && i < end) {
            if (text[i] == '&' && i + 1 < end) { // the text's last byte is drawn as it is
                bool twice = i + 1 < end && text[i + 1] == '&';
                if (twice && drawn[j] != '&') break;
                i += twice ? 2 : 1;
                j += twice ? 1 : 0;
                continue;
            }
            if (text[i] != drawn[j]) break;
            i++;
            j++;
        }
        if (j == n) {
            *after = i;
            return start;
        }
    }
    return -1;
}

// The offset of the character whose drawn bytes begin drawnBytes into a line that starts at start.
static int32_t SourceOffset(const char* text, int32_t end, int32_t start, int32_t drawnBytes) {
    int32_t i = start;
    for (int32_t j = 0; i < end && j < drawnBytes;) {
        bool twice = text[i] == '&' && i + 1 < end && text[i + 1] == '&';
        if (text[i] != '&' || twice || i + 1 == end) j++;
        i += twice ? 2 : 1;
    }
    if (i + 1 < end && text[i] == '&' && text[i + 1] != '&') i++;
    return i;
}

namespace {
struct DrawnLine {
    const WCHAR* text; // null until a line is read
    int32_t length;
    int32_t x;
    int32_t start; // its first byte in the source text
};
} // namespace

// An underline from x: the character of the last line that begins there.
static void AddMark(HDC dc, const DrawnLine& line, const char* text, int32_t end, int32_t x,
                    TextLayout* layout) {
    if (!line.text || layout->marks >= textLayoutMarks) return;
    for (int32_t k = 0; k < line.length; k++) {
        SIZE size = {0, 0};
        GetTextExtentPoint32W(dc, line.text, k, &size);
        if (line.x + size.cx != x) continue;
        char bytes[512];
        int drawn = k ? WideCharToMultiByte(949, 0, line.text, k, bytes, sizeof bytes, nullptr, nullptr) : 0;
        layout->markAt[layout->marks++] = SourceOffset(text, end, line.start, drawn);
        return;
    }
}

int32_t PlatformTextLayout(TextContext context, const char* text, int32_t length, const PlatformRect* rect,
                           uint32_t mode, TextLayout* layout) {
    if (!layout) return 0;
    memset(layout, 0, sizeof *layout);
    HDC dc = TextContextDC(context);
    if (!dc || !text || !rect) return 0;
    int32_t end = length < 0 ? static_cast<int32_t>(strlen(text)) : length;
    TEXTMETRICA metrics;
    if (!GetTextMetricsA(dc, &metrics) || metrics.tmHeight <= 0) return 0;
    HDC record = CreateEnhMetaFileA(dc, nullptr, nullptr, nullptr);
    if (!record) return 0;
    SelectObject(record, GetCurrentObject(dc, OBJ_FONT));
    RECT r = {rect->left, rect->top, rect->right, rect->bottom};
    DrawTextA(record, text, end, &r, (mode & platformTextWordBreak) ? DT_WORDBREAK : 0);
    HENHMETAFILE file = CloseEnhMetaFile(record);
    if (!file) return 0;
    UINT size = GetEnhMetaFileBits(file, 0, nullptr);
    bool read = size <= sizeof recording && GetEnhMetaFileBits(file, size, recording) == size;
    DeleteEnhMetaFile(file);
    if (!read) return 0;

    for (int32_t& start : layout->lineStart) start = -1;
    DrawnLine line = {};
    int32_t cursor = 0, underlineX = 0;
    for (UINT at = 0; at + sizeof(EMR) <= size;) {
        const EMR* emr = reinterpret_cast<const EMR*>(recording + at);
        if (emr->nSize < sizeof(EMR) || emr->nSize > size - at) break;
        if (emr->iType == EMR_EXTTEXTOUTW) {
            const EMREXTTEXTOUTW* out = reinterpret_cast<const EMREXTTEXTOUTW*>(emr);
            int32_t row = (out->emrtext.ptlReference.y - rect->top) / metrics.tmHeight;
            if (row >= layout->lines) layout->lines = row + 1;
            line.text = reinterpret_cast<const WCHAR*>(recording + at + out->emrtext.offString);
            line.length = static_cast<int32_t>(out->emrtext.nChars);
            line.x = out->emrtext.ptlReference.x;
            char bytes[512];
            int drawn = line.length ? WideCharToMultiByte(949, 0, line.text, line.length, bytes, sizeof bytes,
                                                          nullptr, nullptr)
                                    : 0;
            int32_t after = cursor;
            line.start = drawn > 0 ? MatchDrawn(text, end, cursor, bytes, drawn, &after) : -1;
            if (line.start >= 0) cursor = after;
            if (row >= 0 && row < textLayoutLines) layout->lineStart[row] = line.start;
        } else if (emr->iType == EMR_MOVETOEX) {
            underlineX = reinterpret_cast<const EMRMOVETOEX*>(emr)->ptl.x;
        } else if (emr->iType == EMR_LINETO && line.start >= 0) {
            AddMark(dc, line, text, end, underlineX, layout);
        }
        at += emr->nSize;
    }
    return 1;
}
