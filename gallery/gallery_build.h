// What the gallery's builders share: where each group goes in the window, the colours, the art, the status
// line and the small steps every group is built from.
#pragma once

#include <stdint.h>

#include "gallery/gallery.h"

// The groups' places for a client area: three columns (labels and scroll bars; buttons and edit fields;
// the tree and the list) over the log's band and the status line. Columns one and three keep their width,
// the middle one takes what is left; the middle band takes the height that is left.
struct GalleryLayout {
    Extent groups[galleryGroups];
    Extent status;
};
GalleryLayout LayOutGallery(int32_t width, int32_t height);
// How each group follows the window's size; its controls follow it the same way.
extern const uint32_t groupAnchors[galleryGroups];

inline constexpr uint32_t panelGrey = 0xBFBFBF, panelLight = 0xFFFFFF, panelDark = 0x808080,
                          windowColour = 0x8C7860, titleInk = 0x802000, paper = 0xFFFFFF, ink = 0x000000,
                          greyInk = 0x808080, statusPaper = 0xE8E8E8, thumbKey = 0xFF00FF,
                          smallThumb = 0xC08040, softBlue = 0xFFE0B0, lineGrey = 0xE0E0E0,
                          currentLinePaper = 0xD8F8FF, logInk = 0x303030;

// Every text of the gallery but the group titles: 12 pixels, Hangul, the platform's face. (A null font would
// be the drawing context's default, which on Windows is the larger system font.)
extern const LogFont galleryFont;

// The loaded image of an art id, or null when it did not load.
Surface* Art(uint32_t id);
void SetStatus(WindowHandle window, WindowRecord* record, const char* text);
void Add(WindowRecord* record, Control* control);
// The group's panel and its title at its top-left corner.
void Group(WindowRecord* record, GalleryGroup group, const GalleryLayout& layout);
// A bevelled button with a centred caption, reporting to onClick; userData is the caller's to set.
void CaptionButton(WindowRecord* record, Button* button, Extent e, const char* caption, uint32_t flags,
                   ButtonClickHandler onClick);
// A 16 × 16 image button (an arrow of the art).
void ArrowButton(WindowRecord* record, Button* button, Extent e, uint32_t art, uint32_t flags,
                 ButtonClickHandler onClick, void* userData);

// The field selects, reaches the clipboard, undoes into history, keeps its caret in view, composes inline
// and takes the mouse as people expect of a text field.
void TakeEditingKeys(EditField* field, EditHistory* history);

// The builders of the groups, each in its own source.
void BuildLabels(WindowRecord* record, const GalleryLayout& layout);
void BuildButtons(WindowRecord* record, const GalleryLayout& layout);
void BuildScrollBars(WindowRecord* record, const GalleryLayout& layout);
void BuildEditFields(WindowRecord* record, const GalleryLayout& layout);
void BuildTree(WindowRecord* record, const GalleryLayout& layout);
void BuildList(WindowRecord* record, const GalleryLayout& layout);
void BuildLog(WindowRecord* record, const GalleryLayout& layout);
void BuildStatus(WindowRecord* record, const GalleryLayout& layout);
