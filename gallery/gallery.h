// The gallery: one resizable window in which every control kind of the toolkit can be seen and tried,
// grouped on panels, with a status line that reports clicks and releases.
#pragma once

#include <stdint.h>

#include "toolkit/controls/button.h"
#include "toolkit/controls/edit_field.h"
#include "toolkit/controls/label.h"
#include "toolkit/controls/panel.h"
#include "toolkit/controls/scroll_bar.h"
#include "toolkit/window/window_table.h"

extern const char galleryTitle[];     // "Velquist Gallery"
extern const char galleryClassName[]; // "Gallery_Class"

// Bitmap resources of the gallery's art (gallery/resources/make_art.py).
enum GalleryArt : uint32_t {
    artInformation = 5001,
    artWarning = 5002,
    artDone = 5003,
    artStar = 5004,
    artPlay = 5101, // released, disabled, pressed: 5101 to 5103
    artTrack = 5201,
    artUp = 5202,
    artDown = 5203,
    artThumb = 5204, // idle, dragged: 5204, 5205
    artPattern = 5301,
};
enum : uint32_t { galleryArtCount = 13, galleryGroups = 4 };

// Every control of the window, in the order they are linked (panels first, so the rest lies on them).
struct Gallery {
    Panel groups[galleryGroups]; // labels, buttons, scroll bars, edit fields
    Label titles[galleryGroups];
    Label frames[4]; // raised, sunken, flat, flat sunken, each with an icon
    Label tiled;     // tiled background, wrapped caption
    Button play;
    Button playDisabled;
    Button ok;
    Button cancel;
    Button disabled;
    Label note;
    ScrollBar horizontal;
    ScrollBar vertical; // skinned
    ScrollBar small;    // range 10: a long thumb
    Label positions;    // the bars' positions
    EditField single;
    EditField wrapped;
    Label status; // reports clicks, releases and Enter
    char singleText[64];
    char wrappedText[512];
    Surface art[galleryArtCount];
};
extern Gallery gallery;

// Registers the class, creates and shows the window and runs the message loop; the loop's exit code.
int32_t RunGallery();
// Builds every control on the main window, whose client area is the window surface.
void BuildGallery(WindowHandle window, WindowRecord* record);
// Frees the art's pixels (the controls are destroyed with the window).
void ReleaseGalleryArt();
intptr_t GalleryWindowProc(WindowHandle window, uint32_t message, WParam wParam, LParam lParam);
