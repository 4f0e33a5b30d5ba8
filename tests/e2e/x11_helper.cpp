// Command-line face of the X tools, for scripts (tools/run-app.sh):
//   x11_helper find NAME            one line per window: id x y width height transient
//   x11_helper close ID             WM_DELETE_WINDOW, as a window manager's close button sends it
//   x11_helper focus ID             raise and give the keyboard focus
//   x11_helper grab X Y W H FILE    a screen rectangle as a PPM file
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "tests/e2e/x11_tools.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: x11_helper find NAME | close ID | focus ID | grab X Y W H FILE\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        fprintf(stderr, "x11_helper: cannot open the display\n");
        return 2;
    }
    int result = 0;
    if (strcmp(argv[1], "find") == 0) {
        FoundWindow found[16];
        int32_t n = FindWindows(display, argv[2], found, 16);
        for (int32_t i = 0; i < n; i++) {
            printf("0x%lx %d %d %d %d %d\n", found[i].id, found[i].x, found[i].y, found[i].width,
                   found[i].height, found[i].transient);
        }
        result = n > 0 ? 0 : 1;
    } else if (strcmp(argv[1], "close") == 0) {
        AskToClose(display, static_cast<Window>(strtoul(argv[2], nullptr, 0)));
    } else if (strcmp(argv[1], "focus") == 0) {
        FocusWindow(display, static_cast<Window>(strtoul(argv[2], nullptr, 0)));
    } else if (strcmp(argv[1], "grab") == 0 && argc == 7) {
        int32_t x = atoi(argv[2]), y = atoi(argv[3]), w = atoi(argv[4]), h = atoi(argv[5]);
        uint32_t* pixels =
            w > 0 && h > 0 ? static_cast<uint32_t*>(malloc(sizeof(uint32_t) * w * h)) : nullptr;
        result = pixels && GrabScreen(display, x, y, w, h, pixels) && WritePpm(argv[6], pixels, w, h) ? 0 : 1;
        free(pixels);
    } else {
        fprintf(stderr, "x11_helper: unknown command %s\n", argv[1]);
        result = 2;
    }
    XCloseDisplay(display);
    return result;
}
