// The animated character: a colour-keyed picture that idles and jumps when Ctrl is pressed.
#pragma once

#include <stdint.h>

#include "toolkit/controls/picture.h"
#include "toolkit/window/window_table.h"

enum : uint32_t { ctrlDown = 0x1, actionStarted = 0x2 };
enum : uint32_t { spriteImageCount = 5 };

extern Picture sprite;
extern Surface spriteImages[spriteImageCount]; // bitmaps 1000, 1001, 1002, 2100, 2101
extern uint32_t keyState;
extern uint32_t actionPending;

void SetUpSprite();
uint32_t SpriteKeyHandler(WindowHandle window, WindowRecord* record, Control* control, uint32_t virtualKey,
                          uint32_t keyData);
void AnimationTick();
