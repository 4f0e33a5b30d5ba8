// The gallery: one resizable window in which every control kind of the toolkit can be seen and tried,
// grouped on panels, with a status line that reports what the controls do.
#pragma once

#include <stdint.h>

#include "gallery/log_file.h"
#include "toolkit/controls/button.h"
#include "toolkit/controls/edit_field.h"
#include "toolkit/controls/label.h"
#include "toolkit/controls/list_box.h"
#include "toolkit/controls/panel.h"
#include "toolkit/controls/picture.h"
#include "toolkit/controls/scroll_bar.h"
#include "toolkit/controls/text_log.h"
#include "toolkit/controls/tree_list.h"
#include "toolkit/input/edit_history.h"
#include "toolkit/window/window_table.h"

extern const char galleryTitle[];     // "Velquist Gallery"
extern const char galleryClassName[]; // "Gallery_Class"
extern const char galleryDataName[];  // "Velquist": the user's data directory of the program
extern const char galleryLogName[];   // "gallery-log.vqlog": the saved log, in that directory

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
    artExpander = 5401, // no items, collapsed, expanded: 5401 to 5403
    artGroup = 5404,
    artItem = 5405,
    artNode = 5411, // six node icons: 5411 to 5416
    artPicture = 5501,
};
enum : uint32_t { galleryArtCount = 25, galleryNodeIcons = 6 };
extern const uint32_t galleryArtIds[galleryArtCount];

enum GalleryGroup : uint32_t {
    groupLabels,
    groupButtons,
    groupScrollBars,
    groupEditFields,
    groupTree,
    groupList,
    groupLog,
    galleryGroups,
};
enum : uint32_t { galleryTreeGroups = 4, galleryTreeItems = 12, galleryListItems = 40 };

// Every control of the window, in the order they are linked (panels first, so the rest lies on them).
struct Gallery {
    Panel groups[galleryGroups];
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
    TreeList tree;
    ScrollBar treeBar;
    Button treeUp, treeDown;
    Button sort; // flips the name order
    ListBox list;
    ScrollBar listBar;
    Button listUp, listDown;
    TextLog log;
    ScrollBar logBar;
    Button logUp, logDown;
    EditField entry; // a line for the log
    Button send, save, load;
    Label file; // where the log is saved
    Picture picture;
    Label status; // reports what the controls do
    char singleText[64];
    char wrappedText[512];
    char entryText[120];
    EditHistory singleHistory, wrappedHistory, entryHistory; // each field's undo steps
    char logPath[512];                                       // empty: there is no data directory
    uint32_t treeMode;                                       // how the tree's rows are built
    TreeNode treeGroups[galleryTreeGroups];
    // The first galleryTreeItems and galleryListItems records from the start, then those Insert adds: one
    // more than the tree's and the list's tables hold, so that the table is what refuses.
    TreeNode treeItems[treeListItems + 1];
    ListBoxItem listItems[listBoxItems + 1];
    uint32_t treeItemCount, listItemCount; // records in use
    Surface art[galleryArtCount];
};
extern Gallery gallery;

// Registers the class, creates and shows the window and runs the message loop; the loop's exit code.
int32_t RunGallery();
// Registers the class and opens the window at placement (its outer rectangle), built, shown and with the
// caret's blink timer running; 0 when the window could not be made. RunGallery centres it at its default
// size; a test opens it at the size of another screen's gallery.
WindowHandle OpenGallery(const Extent* placement);
// Builds every control on the main window, whose client area is the window surface.
void BuildGallery(WindowHandle window, WindowRecord* record);
// Frees the art's pixels (the controls are destroyed with the window).
void ReleaseGalleryArt();
// After a message: when it was a paste into one of the fields, the status line tells how many characters
// became '?' and how many bytes did not fit.
void ReportPaste(WindowHandle window, uint32_t message, WParam wParam);
intptr_t GalleryWindowProc(WindowHandle window, uint32_t message, WParam wParam, LParam lParam);
