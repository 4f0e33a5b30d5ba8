// Each note is a toolkit window of its own with a caption label and up to a window's worth of chips, made
// on the heap as they are asked for and freed with the window.
#include "gallery/gallery_notes.h"

#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>

#include "gallery/gallery_build.h"
#include "toolkit/window/composition.h"
#include "toolkit/window/dispatch.h"

static const char noteClassName[] = "Gallery_Note";
static const char noteWord[] = "\xC2\xCA\xC1\xF6"; // 쪽지
static const char chipWord[] = "\xC1\xB6\xB0\xA2"; // 조각
static const char windowWord[] = "\xC3\xA2";       // 창
// F8: 조각 하나 더, F7: 쪽지 하나 더
static const char noteCaption[] = "F8: \xC1\xB6\xB0\xA2 \xC7\xCF\xB3\xAA \xB4\xF5, "
                                  "F7: \xC2\xCA\xC1\xF6 \xC7\xCF\xB3\xAA \xB4\xF5";
enum : uint32_t { vkF7 = vkF1 + 6, vkF8 = vkF1 + 7 };
enum : int32_t { noteWidth = 250, noteHeight = 180, chipSize = 12, chipStep = 14, chipColumns = 16 };
static const uint32_t chipColours[] = {0x3050E0, 0x30A040, 0xE08030, 0xA040C0, 0x20B0D0, 0x606060};

struct Note {
    WindowHandle window;
    uint32_t number;
    int32_t chipCount;
    Label caption;
    Label* chips[controlSlots];
};
static Note* notes[windowSlots];
static uint32_t notesOpened; // ever: each note's number

static void Report(const char* format, ...) {
    char text[labelCaptionSize];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (mainWindowRecord) SetStatus(mainWindowHandle, mainWindowRecord, text);
}

static int32_t WindowsInUse() {
    int32_t n = 0;
    for (WindowHandle h : windowTable.handles) n += h != 0;
    return n;
}

static Note* NoteOf(WindowHandle window) {
    for (Note* n : notes) {
        if (n && n->window == window) return n;
    }
    return nullptr;
}

static Note* Newest() {
    Note* newest = nullptr;
    for (Note* n : notes) {
        if (n && (!newest || n->number > newest->number)) newest = n;
    }
    return newest;
}

// The toolkit destroys what is still in the list after this; the note's controls leave it first, since
// their memory goes with the note.
static void NoteDestroyed(WindowHandle window, WindowRecord* record) {
    for (Note*& n : notes) {
        if (!n || n->window != window) continue;
        for (int32_t i = 0; i < n->chipCount; i++) {
            RemoveControl(record, &n->chips[i]->header);
            DestroyControl(&n->chips[i]->header);
            free(n->chips[i]);
        }
        RemoveControl(record, &n->caption.header);
        DestroyControl(&n->caption.header);
        free(n);
        n = nullptr;
    }
}

static intptr_t NoteWindowProc(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
    int32_t result = DispatchToolkitMessage(window, message, wParam, lParam);
    if (NoteKey(window, message, wParam) || result == 0) return 0;
    return PlatformDefaultProcessing(window, message, wParam, lParam);
}

static Note* OpenNote() {
    int32_t free = 0;
    while (free < windowSlots && notes[free]) free++;
    uint32_t number = notesOpened + 1;
    char title[64];
    snprintf(title, sizeof title, "%s %s %u", galleryTitle, noteWord, number);
    int32_t step = static_cast<int32_t>(number % 16) * 24;
    Extent at = {40 + step, 40 + step, noteWidth, noteHeight};
    WindowRecord* record = nullptr;
    bool tableFull = FindFreeWindowSlot() < 0;
    WindowHandle window =
        free < windowSlots && !tableFull
            ? CreateToolkitWindow(systemMenu | clientSurface, noteClassName, title, &at, 0, 0, &record)
            : 0;
    Note* n = window ? static_cast<Note*>(calloc(1, sizeof(Note))) : nullptr;
    if (!n) {
        if (window) PlatformDestroyWindow(window);
        Report(tableFull ? "%s Windows: all %d in use, no note opened"
                         : "%s Windows: no window could be made",
               windowWord, windowSlots);
        return nullptr;
    }
    notesOpened = number;
    n->window = window;
    n->number = number;
    Extent captionAt = {6, 4, noteWidth - 30, 18};
    InitLabel(&n->caption, &captionAt, ink, panelGrey, &galleryFont, noteCaption, nullptr, 0, 0);
    AddControl(&n->caption.header, record, addOnTop);
    record->backgroundColour = panelGrey;
    record->onDestroy = NoteDestroyed;
    notes[free] = n;
    PlatformShowWindow(window, SW_SHOWNORMAL);
    PlatformUpdateWindow(window);
    Report("%s Note %u: %d of %d windows in use", noteWord, number, WindowsInUse(), windowSlots);
    return n;
}

static void AddChip(Note* n) {
    WindowRecord* record = FindWindowRecord(n->window);
    if (!record) return;
    int32_t i = n->chipCount;
    Label* chip = i < controlSlots ? static_cast<Label*>(calloc(1, sizeof(Label))) : nullptr;
    if (chip) {
        Extent at = {6 + (i % chipColumns) * chipStep, 26 + (i / chipColumns) * chipStep, chipSize, chipSize};
        InitLabel(chip, &at, ink, chipColours[i % 6], &galleryFont, "", nullptr, 0, 0);
    }
    if (!chip || AddControl(&chip->header, record, addOnTop) == 0) {
        if (chip) DestroyControl(&chip->header);
        free(chip);
        Report("%s Chips: note %u has all %d controls, nothing added", chipWord, n->number, controlSlots);
        return;
    }
    n->chips[n->chipCount++] = chip;
    RepaintControl(n->window, record, &chip->header);
    Report("%s Chip %d on note %u: %d of %d controls", chipWord, n->chipCount, n->number,
           static_cast<int32_t>(record->controlCount), controlSlots);
}

void RegisterNotes() {
    PlatformRegisterClass(noteClassName, NoteWindowProc, 0x3, 0, 0); // redrawn whole when resized
}

bool NoteKey(WindowHandle window, uint32_t message, WParam wParam) {
    if (message != WM_KEYDOWN || (wParam != vkF7 && wParam != vkF8)) return false;
    if (wParam == vkF7) {
        OpenNote();
        return true;
    }
    Note* n = NoteOf(window);
    if (!n) n = Newest();
    if (!n) n = OpenNote();
    if (n) AddChip(n);
    return true;
}

void CloseNotes() {
    for (Note* n : notes) {
        if (n) PlatformDestroyWindow(n->window);
    }
    notesOpened = 0;
}

int32_t NoteCount() {
    int32_t count = 0;
    for (Note* n : notes) count += n != nullptr;
    return count;
}
