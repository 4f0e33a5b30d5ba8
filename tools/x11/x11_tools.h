// Small Xlib tools for driving programs on an X display: finding top-level windows by name, asking a
// window to close as a window manager would, focusing, and grabbing pixels.
#pragma once

#include <X11/Xlib.h>
#include <stdint.h>

struct FoundWindow {
    Window id;
    int32_t x, y, width, height; // client area on the screen
    int32_t transient;           // a dialog that names an owner (WM_TRANSIENT_FOR)
};

// Viewable top-level windows named exactly name (WM_NAME or _NET_WM_NAME); returns how many were found.
int32_t FindWindows(Display* display, const char* name, FoundWindow* found, int32_t capacity);
// WM_DELETE_WINDOW, the window manager's close request.
void AskToClose(Display* display, Window window);
void FocusWindow(Display* display, Window window);
// 0x00RRGGBB pixels of a screen rectangle, row by row; false when it cannot be read.
bool GrabScreen(Display* display, int32_t x, int32_t y, int32_t width, int32_t height, uint32_t* pixels);
// Writes 0x00RRGGBB pixels as a binary PPM.
bool WritePpm(const char* path, const uint32_t* pixels, int32_t width, int32_t height);
// Writes 0x00RRGGBB pixels as a PNG (stored, uncompressed: no zlib needed).
bool WritePng(const char* path, const uint32_t* pixels, int32_t width, int32_t height);
// The picture's file type from the path's ending: PNG for ".png", PPM otherwise.
bool WritePicture(const char* path, const uint32_t* pixels, int32_t width, int32_t height);
