// The toolkit's only door to the operating system. Every backend (win32/, sdl/, headless/) implements all
// of it; one backend is linked into each program. Message numbers and wParam/lParam layouts are the
// documented Win32 ones on every backend.
#pragma once

#include <stddef.h>
#include <stdint.h>

struct Surface;

typedef uintptr_t WindowHandle; // 0 = no window
typedef uintptr_t WParam;
typedef intptr_t LParam;
typedef intptr_t (*WindowProc)(WindowHandle window, uint32_t message, WParam wParam, LParam lParam);

// Message numbers and constants; the Win32 backend takes them from <windows.h> instead.
#if !defined(_WINDOWS_) && !defined(_WINUSER_)
enum : uint32_t {
    WM_DESTROY = 2,
    WM_SIZE = 5,
    WM_KILLFOCUS = 8,
    WM_PAINT = 15,
    WM_CLOSE = 16,
    WM_QUIT = 18,
    WM_GETMINMAXINFO = 36,
    WM_KEYDOWN = 256,
    WM_KEYUP = 257,
    WM_CHAR = 258,
    WM_SYSKEYDOWN = 260,
    WM_SYSKEYUP = 261,
    WM_IME_STARTCOMPOSITION = 269,
    WM_IME_ENDCOMPOSITION = 270,
    WM_IME_COMPOSITION = 271,
    WM_TIMER = 275,
    WM_MOUSEMOVE = 512,
    WM_LBUTTONDOWN = 513,
    WM_LBUTTONUP = 514,
    WM_LBUTTONDBLCLK = 515,
    WM_RBUTTONDOWN = 516,
    WM_RBUTTONUP = 517,
    WM_RBUTTONDBLCLK = 518,
    WM_MOUSEWHEEL = 0x020A,
};

// Window styles understood by PlatformCreateWindow.
enum : uint32_t {
    WS_POPUP = 0x80000000u,
    WS_THICKFRAME = 0x40000u,
    WS_SYSMENU = 0x80000u,
    WS_MINIMIZEBOX = 0x20000u,
    WS_MAXIMIZEBOX = 0x10000u,
};

enum : int32_t { SW_HIDE = 0, SW_SHOWNORMAL = 1, SW_MINIMIZE = 6, SW_RESTORE = 9 };
enum : uint32_t { MB_YESNO = 4 };
enum : int32_t { IDCANCEL = 2, IDYES = 6, IDNO = 7 };
enum : uint32_t { GCS_COMPSTR = 0x8, GCS_RESULTSTR = 0x800 };
enum : uint32_t { MK_LBUTTON = 1, MK_RBUTTON = 2, MK_SHIFT = 4, MK_CONTROL = 8 };
enum : uint32_t { SIZE_RESTORED = 0, SIZE_MINIMIZED = 1, SIZE_MAXIMIZED = 2 };
#endif

// Virtual-key codes, the wParam of WM_KEYDOWN and WM_KEYUP, as Windows numbers them (letters and digits are
// their upper-case ASCII codes).
enum : uint32_t {
    vkBack = 8,
    vkTab = 9,
    vkClear = 12,
    vkReturn = 13,
    vkShift = 16,
    vkControl = 17,
    vkMenu = 18,
    vkPause = 19,
    vkCapital = 20,
    vkHangul = 0x15,
    vkHanja = 0x19,
    vkEscape = 27,
    vkSpace = 32,
    vkPrior = 33,
    vkNext = 34,
    vkEnd = 35,
    vkHome = 36,
    vkLeft = 37,
    vkUp = 38,
    vkRight = 39,
    vkDown = 40,
    vkSnapshot = 44,
    vkInsert = 45,
    vkDelete = 46,
    vkLeftWin = 91,
    vkRightWin = 92,
    vkApps = 93,
    vkNumpad0 = 96,
    vkMultiply = 106,
    vkAdd = 107,
    vkSubtract = 109,
    vkDecimal = 110,
    vkDivide = 111,
    vkF1 = 112,
    vkF4 = 115,
    vkF10 = 121,
    vkF13 = 124,
    vkNumLock = 144,
    vkScroll = 145,
    vkOem1 = 186,
    vkOemPlus = 187,
    vkOemComma = 188,
    vkOemMinus = 189,
    vkOemPeriod = 190,
    vkOem2 = 191,
    vkOem3 = 192,
    vkOem4 = 219,
    vkOem5 = 220,
    vkOem6 = 221,
    vkOem7 = 222,
    vkOem102 = 226,
};

struct PlatformMessage {
    WindowHandle window;
    uint32_t message;
    WParam wParam;
    LParam lParam;
};

struct PlatformPoint {
    int32_t x;
    int32_t y;
};

// The platform's MINMAXINFO, as WM_GETMINMAXINFO hands it over in lParam.
struct MinMaxInfo {
    PlatformPoint ptReserved;
    PlatformPoint ptMaxSize;
    PlatformPoint ptMaxPosition;
    PlatformPoint ptMinTrackSize;
    PlatformPoint ptMaxTrackSize;
};

// A rectangle as the platform reports it: right and bottom exclusive.
struct PlatformRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

// Start and end.
uintptr_t PlatformModuleInstance();
const char* PlatformCommandLine();
uint32_t PlatformCurrentDirectory(uint32_t size, char* destination);

// Classes and windows. Icons are resource ids (0 = none).
int32_t PlatformRegisterClass(const char* className, WindowProc procedure, uint32_t classStyle,
                              uint32_t largeIcon, uint32_t smallIcon);
WindowHandle PlatformCreateWindow(const char* className, const char* title, uint32_t style, int32_t x,
                                  int32_t y, int32_t width, int32_t height, WindowHandle parent,
                                  uintptr_t menu);
int32_t PlatformShowWindow(WindowHandle window, int32_t command);
int32_t PlatformUpdateWindow(WindowHandle window);
int32_t PlatformDestroyWindow(WindowHandle window);
WindowHandle PlatformActiveWindow();

// Geometry.
void PlatformScreenSize(int32_t* width, int32_t* height);
int32_t PlatformClientRect(WindowHandle window, PlatformRect* rect);
int32_t PlatformWindowRect(WindowHandle window, PlatformRect* rect);
int32_t PlatformClientToScreen(WindowHandle window, PlatformPoint* point);

// The message queue. PlatformGetMessage blocks and returns 0 once the quit message is fetched (its
// wParam is the quit code). PlatformDefaultProcessing destroys the window on WM_CLOSE; destruction
// sends WM_DESTROY to the window procedure before it returns.
int32_t PlatformPostMessage(WindowHandle window, uint32_t message, WParam wParam, LParam lParam);
int32_t PlatformGetMessage(PlatformMessage* message);
int32_t PlatformTranslateMessage(const PlatformMessage* message);
intptr_t PlatformDispatchMessage(const PlatformMessage* message);
intptr_t PlatformDefaultProcessing(WindowHandle window, uint32_t message, WParam wParam, LParam lParam);
void PlatformPostQuit(int32_t code);
uint32_t PlatformRegisterMessage(const char* name);

// Timers and capture.
uintptr_t PlatformSetTimer(WindowHandle window, uintptr_t id, uint32_t milliseconds);
int32_t PlatformKillTimer(WindowHandle window, uintptr_t id);
// How long a held key waits before it repeats and how often it repeats then, in milliseconds: the user's
// keyboard settings where the system has them, 400 and 50 elsewhere. Held buttons repeat at the same pace.
void PlatformKeyRepeat(uint32_t* delayMs, uint32_t* intervalMs);
WindowHandle PlatformSetCapture(WindowHandle window);
int32_t PlatformReleaseCapture();

// The mouse wheel comes as WM_MOUSEWHEEL: wParam's high word the signed distance turned, wheelDelta per notch
// (positive away from the user), its low word the key state as for mouse messages; lParam the pointer's
// screen position (x low, y high, signed). Rows a notch scrolls by the user's setting (3 where there is
// none).
enum : int32_t { wheelDelta = 120 };
uint32_t PlatformWheelScrollLines();

// A Yes/No question; returns IDYES, IDNO, IDCANCEL when it was put away with Escape (Wine's box does
// that), or 0 when it could not be shown.
int32_t PlatformMessageBox(WindowHandle window, const char* text, const char* caption, uint32_t style);

// The input method: copies the string of the given kind (GCS_RESULTSTR) of the window's current
// composition as code page 949 bytes; returns its byte count, or a negative number on failure.
int32_t PlatformImeString(WindowHandle window, uint32_t kind, char* destination, uint32_t size);
// Tells the input method to throw away what it is composing for the window, so a syllable the toolkit
// dropped is not committed later into whatever has the focus then.
void PlatformCancelComposition(WindowHandle window);

// Zero-filled page memory; null on failure.
void* PlatformAllocatePages(size_t size);
void PlatformFreePages(void* pages);

// Pixel memory of surfaces: returns the owning bitmap handle (0 on failure) and the top-down pixel
// address; the buffer holds stride × height bytes.
uintptr_t PlatformCreatePixels(int32_t width, int32_t height, uint32_t stride, uint8_t** pixels);
void PlatformFreePixels(uintptr_t bitmap);

// Writes one colour (0x00BBGGRR) into a platform-owned surface the way the platform's own drawing
// would (the pixel-format probe reads it back).
int32_t PlatformSetPixel(WindowHandle window, const Surface* surface, int32_t x, int32_t y, uint32_t colour);

// Bitmaps: a resource id (name ≤ 0xFFFF), a resource name, or a file path (fromFile).
uintptr_t PlatformLoadImage(uintptr_t name, int32_t fromFile);
int32_t PlatformImageSize(uintptr_t image, int32_t* width, int32_t* height);
// Converts the whole image into the surface's 16-bit pixels at (0, 0), clipped to the surface.
int32_t PlatformCopyImage(WindowHandle window, uintptr_t image, const Surface* surface);
void PlatformFreeImage(uintptr_t image);

// Paints and the screen copy.
int32_t PlatformBeginPaint(WindowHandle window);
int32_t PlatformEndPaint(WindowHandle window);
// Copies the surface to the window: to the client area, or to the whole window frame included. changed
// (surface coordinates, right and bottom exclusive) holds every pixel that changed since the surface was
// last presented, so the backend may copy only that; null when the whole surface is to be copied.
int32_t PlatformPresent(WindowHandle window, const Surface* surface, int32_t wholeWindow,
                        const PlatformRect* changed);

// ---- The clipboard ------------------------------------------------------------------------------------
// Text goes to and comes from the system clipboard as Unicode, so it reads the same in every program
// whatever the system's code page; the toolkit sees code page 949 only.

// Puts length bytes of code page 949 text (fewer when a zero byte comes first) on the clipboard, owned by
// the window (Windows needs an owner; the other backends ignore it). A byte that starts no character goes
// over as '?'. 1 on success, 0 on failure.
int32_t PlatformSetClipboardText(WindowHandle window, const char* text, uint32_t length);

// What a paste could not bring over whole.
struct ClipboardRead {
    uint32_t
        replaced;     // characters that code page 949 cannot hold, written as '?' (left-out ones not counted)
    uint32_t leftOut; // bytes of code page 949, in whole characters, that did not fit in the buffer
};
// Copies the clipboard's text as code page 949 into buffer and returns the bytes written. They stop short of
// capacity to leave room for the zero byte that always ends them, and never end inside a two-byte character:
// from the first character that does not fit, everything is left out. Line breaks come as they are. Returns
// 0 when the clipboard holds no text or cannot be read (read, when not null, then says 0 and 0).
int32_t PlatformGetClipboardText(WindowHandle window, char* buffer, uint32_t capacity, ClipboardRead* read);
// ---- End of the clipboard -----------------------------------------------------------------------------

// ---- Text ---------------------------------------------------------------------------------------------
// Code page 949 text drawn and measured in fonts described like the platform's LOGFONTA (field for field,
// so the Win32 backend hands a LogFont over as a LOGFONTA). A null font means the default font: a
// Korean-capable sans of about 12 px.
struct LogFont {
    int32_t lfHeight; // < 0: character height in pixels; > 0: cell height; 0: the default height
    int32_t lfWidth;
    int32_t lfEscapement;
    int32_t lfOrientation;
    int32_t lfWeight; // 0 default, 400 normal, 700 bold
    uint8_t lfItalic;
    uint8_t lfUnderline;
    uint8_t lfStrikeOut;
    uint8_t lfCharSet; // 129 Hangul
    uint8_t lfOutPrecision;
    uint8_t lfClipPrecision;
    uint8_t lfQuality;
    uint8_t lfPitchAndFamily;
    char lfFaceName[32];
};

// Measures length bytes of text in the font as the window's text drawing would; 0 on failure.
int32_t PlatformMeasureText(WindowHandle window, const LogFont* font, const char* text, int32_t length,
                            int32_t* width, int32_t* height);

// A text context draws into one platform-owned surface with one font, from open to close. Open fails
// (0) for a surface without a platform bitmap.
typedef uintptr_t TextContext; // 0 = none
TextContext PlatformOpenText(WindowHandle window, const Surface* surface, const LogFont* font);
void PlatformCloseText(TextContext context);
// Width and height of length bytes, ampersands counted as characters; 0 on failure.
int32_t PlatformTextExtent(TextContext context, const char* text, int32_t length, int32_t* width,
                           int32_t* height);
// The number of bytes, whole characters only, whose width is at most maxWidth; their width goes to
// width when it is not null.
int32_t PlatformTextFit(TextContext context, const char* text, int32_t length, int32_t maxWidth,
                        int32_t* width);

enum : uint32_t {
    platformTextOpaque = 0x1,    // the cells behind the glyphs take the background colour
    platformTextWordBreak = 0x2, // lines break between words at the rectangle's right edge
};
// Draws text (length < 0: up to its zero byte) left- and top-aligned into the rectangle (right and bottom
// exclusive), clipped to it, a new line at each line break. An ampersand is not drawn and underlines the
// next character; two draw one. Colours are 0x00BBGGRR.
int32_t PlatformDrawText(TextContext context, const char* text, int32_t length, const PlatformRect* rect,
                         uint32_t textColour, uint32_t backgroundColour, uint32_t mode);
// Where PlatformDrawText, given the same arguments, puts the text: the byte offset at which each line it
// draws starts (-1 for a line with nothing on it) and the offset of each character it underlines. The
// checks that compare the backends' layouts ask for it; drawing does not need it. Returns 0 on failure.
enum : int32_t { textLayoutLines = 24, textLayoutMarks = 8 };
struct TextLayout {
    int32_t lines; // lines drawn, more than textLayoutLines included
    int32_t lineStart[textLayoutLines];
    int32_t marks;
    int32_t markAt[textLayoutMarks];
};
int32_t PlatformTextLayout(TextContext context, const char* text, int32_t length, const PlatformRect* rect,
                           uint32_t mode, TextLayout* layout);
// ---- End of text --------------------------------------------------------------------------------------

// ---- The user's files and the local time --------------------------------------------------------------
// Field for field the platform's SYSTEMTIME.
struct PlatformTime {
    uint16_t year;
    uint16_t month;     // 1 to 12
    uint16_t dayOfWeek; // 0 Sunday to 6 Saturday
    uint16_t day;
    uint16_t hour;
    uint16_t minute;
    uint16_t second;
    uint16_t milliseconds;
};
void PlatformLocalTime(PlatformTime* time);

// The directory where the program called name keeps its user's files, created when missing, with its
// trailing separator: $XDG_DATA_HOME/name/ (or ~/.local/share/name/) on Linux, %APPDATA%\name\ on Windows.
// Returns its length; 0 when there is none, or when it and its zero byte do not fit in size bytes. A name
// must be one plain path component.
uint32_t PlatformDataDirectory(const char* name, char* destination, uint32_t size);

// Reads a file: returns its size in bytes, of which at most capacity were copied (a size above capacity
// means the file was larger than the buffer), or -1 when it cannot be read.
int64_t PlatformReadFile(const char* path, void* destination, uint32_t capacity);
// Replaces a file's contents with size bytes. They are written beside it first and then moved over it, so a
// failed write leaves the old contents. -1 on success, 0 on failure.
int32_t PlatformWriteFile(const char* path, const void* data, uint32_t size);
// ---- End of the user's files --------------------------------------------------------------------------
