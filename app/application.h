// The application: class registration, the main window, its set-up and callbacks, the message loop.
#pragma once

#include <stdint.h>

#include "toolkit/gfx/surface.h"
#include "toolkit/window/window_table.h"

enum : uint32_t { directorySize = 256 };

extern char programDirectory[directorySize];
extern char currentDirectory[directorySize];
extern Surface backgroundTile;
extern const char quitQuestion[]; // "종료하시겠습니까?" in code page 949
extern const char applicationTitle[];
extern const char mainClassName[];

int32_t RunApplication(uintptr_t instance, uint32_t unused, const char* commandLine, int32_t showCommand);
// Registers the class and opens and shows the main window; 0 when there is no window.
int32_t OpenApplication(const char* commandLine);
void SetUpMainWindow();
intptr_t AppWindowProc(WindowHandle window, uint32_t message, WParam wParam, LParam lParam);
int32_t ConfirmQuit(WindowHandle window, WindowRecord* record);
void StopAnimationTimer(WindowHandle window, WindowRecord* record);
void PaintTiledBackground(WindowRecord* record);
uint32_t GetProgramDirectory(const char* commandLine, char* destination);
// Where the 640 × 480 main window goes on a screen of this size: centred, and never off the screen's
// top-left corner when the screen is smaller than the window.
Extent MainWindowPlacement(int32_t screenWidth, int32_t screenHeight);
