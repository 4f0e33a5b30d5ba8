// A first program on the Velquist toolkit: a window with a label, an edit field and a button. The button
// (or Enter in the field) greets whoever was typed, in Korean; the window closes without asking.
#include <stdio.h>

#include "toolkit/controls/button.h"
#include "toolkit/controls/edit_field.h"
#include "toolkit/controls/label.h"
#include "toolkit/window/composition.h"
#include "toolkit/window/dispatch.h"

static Label greeting;
static EditField nameField;
static Button greetButton;
static char name[64] = "Velquist";

// "반갑습니다, <name>!" in code page 949, the toolkit's text encoding.
static void Greet(WindowHandle window, WindowRecord* record) {
    snprintf(greeting.caption, sizeof greeting.caption, "\xB9\xDD\xB0\xA9\xBD\xC0\xB4\xCF\xB4\xD9, %s!",
             name);
    RepaintControl(window, record, &greeting.header);
}

static uint32_t GreetOnClick(WindowHandle window, WindowRecord* record, Control*, uintptr_t, uint32_t,
                             int32_t, int32_t) {
    Greet(window, record);
    return redrawBits;
}

static void GreetOnEnter(WindowHandle window, WindowRecord* record, Control*, EditBuffer*) {
    Greet(window, record);
}

static intptr_t HelloProc(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
    if (DispatchToolkitMessage(window, message, wParam, lParam) == 0) return 0;
    return PlatformDefaultProcessing(window, message, wParam, lParam);
}

int main() {
    PlatformRegisterClass("Hello_Class", HelloProc, 0x8, 0, 0);
    Extent placement = {120, 120, 380, 130};
    WindowRecord* record = nullptr;
    WindowHandle window = CreateToolkitWindow(systemMenu | mainWindow | clientSurface, "Hello_Class", "Hello",
                                              &placement, 0, 0, &record);
    if (!window) return 1;
    InitDisplay();
    record->backgroundColour = 0xF0F0F0;

    Extent label = {16, 16, 348, 24}, field = {16, 52, 240, 24}, button = {268, 50, 96, 28};
    // "이름을 입력하세요:" — "Type a name:"
    InitLabel(&greeting, &label, 0x000000, 0xF0F0F0, nullptr,
              "\xC0\xCC\xB8\xA7\xC0\xBB \xC0\xD4\xB7\xC2\xC7\xCF\xBC\xBC\xBF\xE4:", nullptr, 0, 0);
    InitEditField(&nameField, &field, editFieldFrame | editFieldSunkenFrame, name, sizeof name);
    nameField.edit.enterHandler = GreetOnEnter;
    nameField.edit.backColour = 0xFFFFFF;
    nameField.edit.originX = 4;
    nameField.edit.originY = 4;
    nameField.header.backgroundColour = 0xFFFFFF;
    // "인사" — "Greet"
    InitButton(&greetButton, &button, 0x000000, 0xD8D8D8, nullptr, "\xC0\xCE\xBB\xE7", nullptr, buttonBevel,
               GreetOnClick);
    greetButton.captionX = 32;
    greetButton.captionY = 6;
    AddControl(&greeting.header, record, addOnTop);
    AddControl(&nameField.header, record, addOnTop);
    AddControl(&greetButton.header, record, addOnTop);
    nameField.edit.caret = 8; // after "Velquist"
    record->focusControl = &nameField.header;

    PlatformShowWindow(window, SW_SHOWNORMAL);
    PlatformUpdateWindow(window);
    PlatformMessage message = {};
    while (PlatformGetMessage(&message) != 0) {
        PlatformTranslateMessage(&message);
        PlatformDispatchMessage(&message);
    }
    return static_cast<int>(message.wParam);
}
