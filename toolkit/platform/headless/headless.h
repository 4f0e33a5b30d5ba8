// Controls of the headless backend for tests: the screen, the virtual clock, scripted answers and what
// reached each window's "screen".
#pragma once

#include <stdint.h>

#include "toolkit/platform/platform.h"

// Frame metrics of overlapped windows (popups have none).
enum : int32_t { headlessBorder = 3, headlessThickBorder = 4, headlessCaption = 20 };

// Forgets every window, class, message, timer and script; screen 1024 × 768, 5-6-5, clock 0.
void HeadlessReset();
void HeadlessSetScreenSize(int32_t width, int32_t height);
// 1: the platform draws and decodes 5-6-5 pixels (the probe reads 0x07E0); 0: 5-5-5 (0x03E0).
void HeadlessSetPixelFormat565(int32_t on);
void HeadlessSetCommandLine(const char* commandLine);

// The virtual clock, in milliseconds. Advancing it makes due timers pending.
uint64_t HeadlessNow();
void HeadlessAdvanceClock(uint32_t milliseconds);

// Fetches and dispatches every message available now, without waiting or advancing the clock.
// Returns the number dispatched; stops at the quit message (see HeadlessQuitCode).
int32_t HeadlessPump();
int32_t HeadlessQuitSeen();
int32_t HeadlessQuitCode();
// Messages waiting in the posted queue.
int32_t HeadlessQueueLength();

// Called by PlatformGetMessage when nothing is available; returns non-zero when it posted or changed
// something. Without a hook (or when it returns 0) the clock jumps to the next timer; with no timer
// either, PlatformGetMessage gives up and returns 0 as if the quit code were -1 (HeadlessStalled).
typedef int32_t (*HeadlessIdleHook)(void* context);
void HeadlessSetIdleHook(HeadlessIdleHook hook, void* context);
int32_t HeadlessStalled();

// Message boxes: answers are taken in order; with none scripted the answer is IDYES.
void HeadlessPushMessageBoxAnswer(int32_t answer);
int32_t HeadlessMessageBoxCount();
const char* HeadlessLastMessageBoxText();
const char* HeadlessLastMessageBoxCaption();

// The input method's strings for PlatformImeString; a negative count makes the call fail with it.
void HeadlessSetImeString(uint32_t kind, const char* bytes, int32_t count);
// How often the toolkit told the input method to throw its composition away (PlatformCancelComposition).
int32_t HeadlessCancelledCompositions();

// The system clipboard as other programs put it there and read it: UTF-8 of up to headlessClipboardSize
// bytes with the zero byte (a reset empties it). Setting returns 0 and keeps the old text when the new one
// does not fit; null empties it. PlatformSetClipboardText fails the same way.
enum : uint32_t { headlessClipboardSize = 65536 };
int32_t HeadlessSetClipboardUtf8(const char* utf8);
const char* HeadlessClipboardUtf8();

// Where PlatformDataDirectory makes the program's directory (a real directory; null or "" = none, the
// state after a reset), and the time PlatformLocalTime gives (after a reset: Saturday 2000-01-01 00:00).
void HeadlessSetDataRoot(const char* root);
void HeadlessSetLocalTime(const PlatformTime* time);

// The next n page allocations / pixel buffers fail.
void HeadlessFailAllocations(int32_t count);
void HeadlessFailPixels(int32_t count);
int32_t HeadlessLivePixelBuffers();

// Window state.
int32_t HeadlessWindowExists(WindowHandle window);
int32_t HeadlessWindowVisible(WindowHandle window);
uint32_t HeadlessWindowStyle(WindowHandle window);
const char* HeadlessWindowTitle(WindowHandle window);
WindowHandle HeadlessCaptureWindow();
int32_t HeadlessTimerCount(WindowHandle window);
// Moves and resizes the whole window as a user would, sending WM_GETMINMAXINFO limits and WM_SIZE.
void HeadlessResizeWindow(WindowHandle window, int32_t width, int32_t height);

// A turn of the wheel over the client point (x, y): posts WM_MOUSEWHEEL with delta (wheelDelta per notch,
// positive away from the user) and the point on the screen, as the desktop would. 0 for no window.
int32_t HeadlessMouseWheel(WindowHandle window, int32_t clientX, int32_t clientY, int32_t delta,
                           uint32_t keyState = 0);

// What a user sees of the window: the whole window rectangle, frame included. Pixels are raw 16-bit
// words in the current format; the frame is 0. Client coordinates add the frame offset.
int32_t HeadlessPresentCount(WindowHandle window);
// The surface rectangle (right and bottom exclusive) that the last present copied: only the changed area
// once the screen has been filled; empty when it copied nothing.
int32_t HeadlessLastCopied(WindowHandle window, PlatformRect* copied);
uint32_t HeadlessScreenPixel(WindowHandle window, int32_t clientX, int32_t clientY);
