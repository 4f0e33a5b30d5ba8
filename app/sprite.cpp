#include "app/sprite.h"

#include "toolkit/window/composition.h"

Picture sprite;
Surface spriteImages[spriteImageCount];
uint32_t keyState;
uint32_t actionPending;

enum : uint32_t { idleX = 13, actionX = 60, spriteY = 48, keyColour = 0xFF00FF };
enum : uint32_t { firstActionStep = 8, secondActionStep = 9, idleSteps = 4 };

void SetUpSprite() {
    static const uint32_t ids[spriteImageCount] = {1000, 1001, 1002, 2100, 2101};
    for (uint32_t i = 0; i < spriteImageCount; i++) LoadBitmapSurface(ids[i], &spriteImages[i], 0);
    Extent extent = {idleX, spriteY, 96, 128};
    InitPicture(&sprite, &extent, keyColour, colourKeyed);
    sprite.header.backgroundColour = keyColour;
    sprite.images[0] = &spriteImages[0];
    sprite.images[1] = &spriteImages[1];
    sprite.images[2] = &spriteImages[2];
    sprite.images[3] = &spriteImages[1];
    sprite.images[firstActionStep] = &spriteImages[3];
    sprite.images[secondActionStep] = &spriteImages[4];
    sprite.header.onKey = SpriteKeyHandler;
    AddControl(&sprite.header, mainWindowRecord, addOnTop);
    mainWindowRecord->focusControl = &sprite.header;
}

uint32_t SpriteKeyHandler(WindowHandle, WindowRecord*, Control*, uint32_t virtualKey, uint32_t keyData) {
    if (virtualKey != vkControl) return 0;
    if (keyData & 0x80000000u) {
        keyState = 0;
    } else {
        keyState |= ctrlDown;
    }
    return 0;
}

void AnimationTick() {
    if (actionPending != 0) {
        sprite.imageIndex = secondActionStep;
        actionPending = 0;
        sprite.header.x = actionX;
    } else if (keyState == ctrlDown) {
        keyState |= actionStarted;
        actionPending = 1;
        sprite.imageIndex = firstActionStep;
        sprite.header.x = idleX;
    } else {
        sprite.header.x = idleX;
        sprite.imageIndex++;
        if (sprite.imageIndex >= idleSteps) sprite.imageIndex = 0;
    }
    MarkForRedraw(&sprite.header, mainWindowRecord, redrawBits);
    RequestRepaint(mainWindowHandle, repaintPending);
}
