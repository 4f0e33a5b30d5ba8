// The gallery program: its window, the caret's blink timer and the message loop.
#include "gallery/gallery.h"

#include "gallery/gallery_build.h"
#include "gallery/gallery_notes.h"
#include "toolkit/controls/mouse_wheel.h"
#include "toolkit/input/keyboard_routing.h"
#include "toolkit/window/dispatch.h"

const char galleryTitle[] = "Velquist Gallery";
const char galleryClassName[] = "Gallery_Class";
const char galleryDataName[] = "Velquist";
const char galleryLogName[] = "gallery-log.vqlog";
Gallery gallery;

enum : uint32_t { classStyle = 0x200B, largeIconId = 100, smallIconId = 101 };
// The window's outer size: its client area is about 800 × 600 on Windows, a little more elsewhere.
enum : int32_t { windowWidth = 820, windowHeight = 640, minimumWidth = 800, minimumHeight = 600 };
enum : int32_t { blinkTimer = 1, blinkPeriod = 500 };

static void StopTimers(WindowHandle window, WindowRecord*) {
    PlatformKillTimer(window, blinkTimer);
    PlatformKillTimer(window, buttonRepeatTimer);
    CloseNotes();
}

// "종료하시겠습니까?" — Yes closes; No, Escape (IDCANCEL under Wine) keep the gallery open. A question that
// could not be asked lets it close.
static int32_t ConfirmClose(WindowHandle window, WindowRecord*) {
    int32_t answer = PlatformMessageBox(
        window, "\xC1\xBE\xB7\xE1\xC7\xCF\xBD\xC3\xB0\xDA\xBD\xC0\xB4\xCF\xB1\xEE?", galleryTitle, MB_YESNO);
    return answer == IDNO || answer == IDCANCEL ? 0 : 1;
}

WindowHandle OpenGallery(const Extent* placement) {
    PlatformRegisterClass(galleryClassName, GalleryWindowProc, classStyle, largeIconId, smallIconId);
    RegisterNotes();
    WindowRecord* record = nullptr;
    WindowHandle window = CreateToolkitWindow(systemMenu | resizableFrame | mainWindow | clientSurface,
                                              galleryClassName, galleryTitle, placement, 0, 0, &record);
    if (window == 0) return 0;
    InitDisplay();
    record->onDestroy = StopTimers;
    record->onClose = ConfirmClose;
    record->minTrackWidth = minimumWidth;
    record->minTrackHeight = minimumHeight;
    BuildGallery(window, record);
    PlatformSetTimer(window, blinkTimer, blinkPeriod);
    PlatformShowWindow(window, SW_SHOWNORMAL);
    PlatformUpdateWindow(window);
    return window;
}

int32_t RunGallery() {
    int32_t screenW = 0, screenH = 0;
    PlatformScreenSize(&screenW, &screenH);
    Extent placement = {(screenW - windowWidth) / 2, (screenH - windowHeight) / 2, windowWidth, windowHeight};
    if (placement.x < 0) placement.x = 0;
    if (placement.y < 0) placement.y = 0;
    if (OpenGallery(&placement) == 0) return 1;
    PlatformMessage message = {};
    while (PlatformGetMessage(&message) != 0) {
        PlatformTranslateMessage(&message);
        PlatformDispatchMessage(&message);
    }
    ReleaseGalleryArt();
    return static_cast<int32_t>(message.wParam);
}

// What the keys do in the control that Tab has just brought the focus to. In code page 949: ↑↓ → ← are
// A1E8 A1E9 A1E6 A1E7; ㄱ..ㅎ A4A1..A4BE; ㅅㄱ: 사과.
static const char* KeysOf(const Control* focus) {
    if (focus == &gallery.list.header)
        return "List: \xA1\xE8\xA1\xE9 PgUp PgDn Home End, Shift+ extends, Ctrl+Space toggles, "
               "a letter or \xA4\xA1..\xA4\xBE jumps (\xA4\xB5\xA4\xA1: \xBB\xE7\xB0\xFA), Insert adds";
    if (focus == &gallery.tree.header)
        return "Tree: \xA1\xE8\xA1\xE9 PgUp PgDn Home End, \xA1\xE6 opens, \xA1\xE7 closes, F2 renames, "
               "Insert adds";
    if (focus && focus->kind == kindButton) return "Button: Space or Enter clicks; Tab moves on";
    if (focus && focus->editBuffer) return "Text: Tab types; Ctrl+Tab moves on";
    return nullptr;
}

// The toolkit takes what it knows; the wheel scrolls what is under the pointer; timer 1 blinks the
// focused field's caret and the repeat timer clicks a held arrow again; the rest is the platform's.
intptr_t GalleryWindowProc(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
    WindowRecord* record = FindWindowRecord(window);
    Control* before = record ? record->focusControl : nullptr;
    int32_t result = DispatchToolkitMessage(window, message, wParam, lParam);
    if (message == WM_KEYDOWN && wParam == vkTab && FindWindowRecord(window) == record && record &&
        record->focusControl != before && KeysOf(record->focusControl))
        SetStatus(window, record, KeysOf(record->focusControl));
    ReportPaste(window, message, wParam);
    if (NoteKey(window, message, wParam) || result == 0) return 0;
    if (result == -1 && message == WM_MOUSEWHEEL) {
        RouteMouseWheel(window, FindWindowRecord(window), message, wParam, lParam);
        return 0;
    }
    if (result == -1 && message == WM_TIMER && wParam == blinkTimer) {
        CaretBlinkTick();
        return 0;
    }
    if (result == -1 && message == WM_TIMER && wParam == buttonRepeatTimer) {
        ButtonRepeatTimer(window);
        return 0;
    }
    return PlatformDefaultProcessing(window, message, wParam, lParam);
}
