// Internal state of the headless backend, shared by its sources.
#pragma once

#include <stdint.h>

#include "toolkit/platform/common/class_table.h"
#include "toolkit/platform/common/message_names.h"
#include "toolkit/platform/common/message_ring.h"
#include "toolkit/platform/common/timer_table.h"
#include "toolkit/platform/platform.h"

enum : int32_t { headlessMaxWindows = 512, headlessQueueSize = 8192 };

struct HeadlessWindow {
    WindowHandle handle; // 0 = free entry
    int32_t classIndex;
    uint32_t style;
    char title[128];
    int32_t x, y, width, height;
    int32_t visible;
    int32_t minimised;
    int32_t needsPaint;
    int32_t destroying;
    uint16_t* screen; // width × height words
    int32_t screenWidth, screenHeight;
    int32_t screenShown; // a present has filled the screen since it was made
    int32_t presentCount;
    PlatformRect lastCopied; // surface pixels the last present copied (empty: none)
};

struct HeadlessState {
    int32_t screenWidth, screenHeight;
    int32_t use565;
    char commandLine[512];
    ClassTable classes;
    HeadlessWindow windows[headlessMaxWindows];
    WindowHandle nextHandle;
    PlatformMessage queue[headlessQueueSize];
    MessageRing posted; // over queue
    int32_t quitCode;   // the last one posted, -1 once PlatformGetMessage gave up
    int32_t quitSeen;
    TimerTable timers;
    uint64_t now;
    MessageNames registered;
    WindowHandle capture;
    WindowHandle active;
    int32_t (*idleHook)(void*);
    void* idleContext;
    int32_t stalled;
    int32_t answers[64];
    int32_t answerHead, answerCount;
    int32_t messageBoxCount;
    char lastText[256], lastCaption[128];
    char imeResult[256];
    int32_t imeResultCount;
    char imeComposition[16];
    int32_t imeCompositionCount;
    int32_t cancelledCompositions;
    int32_t failAllocations, failPixels, livePixels;
    char dataRoot[512];
    PlatformTime localTime;
};

extern HeadlessState headless;

HeadlessWindow* HeadlessFind(WindowHandle window);
void HeadlessFrame(const HeadlessWindow* w, int32_t* left, int32_t* top, int32_t* right, int32_t* bottom);
void HeadlessResizeScreen(HeadlessWindow* w);
intptr_t HeadlessSend(WindowHandle window, uint32_t message, WParam wParam, LParam lParam);
