// The gallery's layout and shared steps, and its first groups: labels, buttons, scroll bars, edit fields and
// the status line. Positions are laid out from the client area at start-up; the anchoring flags keep them in
// place as the window is resized.
#include <stdio.h>
#include <string.h>

#include "gallery/gallery_build.h"
#include "toolkit/gfx/text.h"
#include "toolkit/input/line_editor.h"
#include "toolkit/window/composition.h"
#include "util/dbcs_string.h"

const uint32_t galleryArtIds[galleryArtCount] = {
    artInformation,  artWarning,      artDone,     artStar,   artPlay,      artPlay + 1, artPlay + 2,
    artTrack,        artUp,           artDown,     artThumb,  artThumb + 1, artPattern,  artExpander,
    artExpander + 1, artExpander + 2, artGroup,    artItem,   artNode,      artNode + 1, artNode + 2,
    artNode + 3,     artNode + 4,     artNode + 5, artPicture};

const LogFont galleryFont = {-12, 0, 0, 0, 400, 0, 0, 0, 129, 0, 0, 0, 0, ""};

const uint32_t groupAnchors[galleryGroups] = {
    0,                                                // labels
    stretchX | followRight,                           // buttons
    stretchY | followBottom,                          // scroll bars
    stretchX | followRight | stretchY | followBottom, // edit fields
    followRight | stretchY | followBottom,            // tree
    followRight | followBottom,                       // list
    stretchX | followRight | followBottom,            // log
};

namespace {

enum : int32_t { margin = 8, firstColumn = 280, lastColumn = 272, topBand = 180, bottomBand = 180 };

} // namespace

static LogFont titleFont = {-13, 0, 0, 0, 700, 0, 0, 0, 129, 0, 0, 0, 0, ""};

// Code page 949 text.
static const char* const groupTitles[galleryGroups] = {
    "\xB7\xB9\xC0\xCC\xBA\xED Labels",                       // 레이블
    "\xB4\xDC\xC3\xDF Buttons",                              // 단추
    "\xBD\xBA\xC5\xA9\xB7\xD1 \xB8\xB7\xB4\xEB Scroll bars", // 스크롤 막대
    "\xC0\xD4\xB7\xC2\xB6\xF5 Edit fields",                  // 입력란
    "\xC6\xAE\xB8\xAE Tree list",                            // 트리
    "\xB8\xF1\xB7\xCF List box",                             // 목록
    "\xC5\xD8\xBD\xBA\xC6\xAE \xB1\xE2\xB7\xCF Text log",    // 텍스트 기록
};
static const char* const frameCaptions[4] = {
    "\xBA\xBC\xB7\xCF Raised",           // 볼록
    "\xBF\xC0\xB8\xF1 Sunken",           // 오목
    "\xC6\xF2\xB8\xE9 Flat",             // 평면
    "\xC6\xF2\xB8\xE9 \xBF\xC0\xB8\xF1", // 평면 오목
};
static const uint32_t frameFlags[4] = {labelFrame, labelFrame | labelSunkenFrame, labelFrame | labelFlatFrame,
                                       labelFrame | labelFlatFrame | labelSunkenFrame};
// 바탕 무늬 위에서 줄이 바뀌는 설명입니다.
static const char tiledCaption[] =
    "\xB9\xD9\xC5\xC1 \xB9\xAB\xB4\xCC \xC0\xA7\xBF\xA1\xBC\xAD \xC1\xD9\xC0\xCC "
    "\xB9\xD9\xB2\xEE\xB4\xC2 \xBC\xB3\xB8\xED\xC0\xD4\xB4\xCF\xB4\xD9. "
    "A caption that wraps over a tiled background.";
// 누른 단추를 밖으로 끌면 클릭되지 않고, 다시 들어오면 다시 눌립니다.
static const char noteCaption[] =
    "\xB4\xA9\xB8\xA5 \xB4\xDC\xC3\xDF\xB8\xA6 \xB9\xDB\xC0\xB8\xB7\xCE \xB2\xF8\xB8\xE9 "
    "\xC5\xAC\xB8\xAF\xB5\xC7\xC1\xF6 \xBE\xCA\xB0\xED, \xB4\xD9\xBD\xC3 "
    "\xB5\xE9\xBE\xEE\xBF\xC0\xB8\xE9 \xB4\xD9\xBD\xC3 \xB4\xAD\xB8\xB3\xB4\xCF\xB4\xD9. "
    "Drag a pressed button off to cancel its click.";
static const char playName[] = "\xC0\xE7\xBB\xFD \xB4\xDC\xC3\xDF";         // 재생 단추
static const char okCaption[] = "\xC8\xAE\xC0\xCE";                         // 확인
static const char cancelCaption[] = "\xC3\xEB\xBC\xD2";                     // 취소
static const char disabledCaption[] = "\xBB\xE7\xBF\xEB \xBE\xC8 \xC7\xD4"; // 사용 안 함
static const char horizontalName[] = "\xB0\xA1\xB7\xCE";                    // 가로
static const char verticalName[] = "\xBC\xBC\xB7\xCE";                      // 세로
static const char smallName[] = "10";
static const char clickedWord[] = "\xB4\xA9\xB8\xA7";                    // 누름
static const char releasedWord[] = "\xB3\xF5\xC0\xBD";                   // 놓음
static const char enteredWord[] = "\xC0\xD4\xB7\xC2";                    // 입력
static const char singleInitial[] = "Velquist \xB0\xB6\xB7\xAF\xB8\xAE"; // 갤러리
// 여기에 한국어를 입력해 보세요.
static const char wrappedInitial[] =
    "\xBF\xA9\xB1\xE2\xBF\xA1 \xC7\xD1\xB1\xB9\xBE\xEE\xB8\xA6 \xC0\xD4\xB7\xC2\xC7\xD8 "
    "\xBA\xB8\xBC\xBC\xBF\xE4. Type Korean or English here: a long text wraps over "
    "several rows.";
// 입력란: 끌기, Shift+화살표, Ctrl+A/C/X/V/Z/Y. 트리 이름 바꾸기: 고른 줄을 다시 누르기.
static const char readyCaption[] =
    "\xC0\xD4\xB7\xC2\xB6\xF5: \xB2\xF8\xB1\xE2, Shift+\xC8\xAD\xBB\xEC\xC7\xA5, "
    "Ctrl+A/C/X/V/Z/Y. \xC6\xAE\xB8\xAE \xC0\xCC\xB8\xA7 \xB9\xD9\xB2\xD9\xB1\xE2: "
    "\xB0\xED\xB8\xA5 \xC1\xD9\xC0\xBB \xB4\xD9\xBD\xC3 \xB4\xA9\xB8\xA3\xB1\xE2. "
    "Fields: select, copy, paste, undo.";
// 붙여 넣었습니다 Pasted. ?로 바꾼 글자 %u개, 넣지 못한 바이트 %u개
static const char pastedFormat[] = "\xBA\xD9\xBF\xA9 \xB3\xD6\xBE\xFA\xBD\xC0\xB4\xCF\xB4\xD9 Pasted. "
                                   "?\xB7\xCE \xB9\xD9\xB2\xDB \xB1\xDB\xC0\xDA %u\xB0\xB3, "
                                   "\xB3\xD6\xC1\xF6 \xB8\xF8\xC7\xD1 \xB9\xD9\xC0\xCC\xC6\xAE %u\xB0\xB3";

// ---- What the callbacks report ----

// userData names the button.
static uint32_t ReportClick(WindowHandle window, WindowRecord* record, Control*, uintptr_t userData, uint32_t,
                            int32_t x, int32_t y) {
    char text[labelCaptionSize];
    snprintf(text, sizeof text, "%s %s (%d, %d)", reinterpret_cast<const char*>(userData), clickedWord, x, y);
    SetStatus(window, record, text);
    return redrawBits;
}

static void ShowPositions() {
    const ScrollBar &h = gallery.horizontal, &v = gallery.vertical, &s = gallery.small;
    snprintf(gallery.positions.caption, labelCaptionSize, "%s %u / %u, %s %u / %u, %s %u / %u",
             horizontalName, h.position, h.range, verticalName, v.position, v.range, smallName, s.position,
             s.range);
}

// The positions follow a bar's thumb while it is dragged.
static void TrackPositions(WindowHandle window, WindowRecord* record, Control*, uintptr_t, uint32_t, uint32_t,
                           uint32_t) {
    ShowPositions();
    RepaintControl(window, record, &gallery.positions.header);
}

// userData names the bar.
static void ReportRelease(WindowHandle window, WindowRecord* record, Control*, uintptr_t userData, uint32_t,
                          uint32_t range, uint32_t position) {
    ShowPositions();
    RepaintControl(window, record, &gallery.positions.header);
    char text[labelCaptionSize];
    snprintf(text, sizeof text, "%s %s: %u / %u", reinterpret_cast<const char*>(userData), releasedWord,
             position, range);
    SetStatus(window, record, text);
}

static void ReportEnter(WindowHandle window, WindowRecord* record, Control*, EditBuffer* buffer) {
    char text[labelCaptionSize];
    snprintf(text, sizeof text, "%s: %s", enteredWord, buffer->text);
    SetStatus(window, record, text);
}

// The caption in the middle of the button.
static void CentreCaption(Button* button) {
    TextSize size = {};
    MeasureText(mainWindowHandle, button->font, button->caption,
                static_cast<int32_t>(strlen(button->caption)), &size);
    button->captionX = (button->header.surface.width - size.cx) / 2;
    button->captionY = (button->header.surface.height - size.cy) / 2;
}

static void Field(WindowRecord* record, EditField* field, Extent e, char* text, uint32_t capacity,
                  const char* initial, uint32_t anchors, EditHistory* history) {
    InitEditField(field, &e, editFieldFrame | editFieldSunkenFrame | anchors, text, capacity);
    TakeEditingKeys(field, history);
    CopyString(initial, text, capacity);
    field->header.backgroundColour = paper;
    field->edit.backColour = paper;
    field->edit.caret = field->edit.selectionAnchor = StringLength(text, capacity);
    field->edit.font = &galleryFont;
    Add(record, &field->header);
}

// ---- Layout and shared steps ----

void ReportPaste(WindowHandle window, uint32_t message, WParam wParam) {
    bool paste = (message == WM_CHAR && wParam == 22) ||
                 (message == WM_KEYDOWN && wParam == vkInsert && HeldModifiers() == editShift);
    WindowRecord* record = paste ? FindWindowRecord(window) : nullptr;
    if (!record) return;
    Control* focus = record->focusControl;
    if (focus != &gallery.single.header && focus != &gallery.wrapped.header && focus != &gallery.entry.header)
        return;
    ClipboardRead read = LastPasteReport();
    char text[labelCaptionSize];
    snprintf(text, sizeof text, pastedFormat, read.replaced, read.leftOut);
    SetStatus(window, record, text);
}

void TakeEditingKeys(EditField* field, EditHistory* history) {
    field->edit.flags |= selectText | clipboardKeys | undoKeys | keepCaretInView | inlineComposition;
    field->edit.history = history;
    InstallEditFieldMouse(field);
}

GalleryLayout LayOutGallery(int32_t width, int32_t height) {
    GalleryLayout l = {};
    int32_t lastX = width - margin - lastColumn;
    int32_t middleX = margin + firstColumn + margin, middleWidth = lastX - margin - middleX;
    int32_t bottomY = height - 44 - bottomBand, middleY = margin + topBand + margin;
    int32_t middleHeight = bottomY - margin - middleY;
    l.groups[groupLabels] = {margin, margin, firstColumn, topBand};
    l.groups[groupButtons] = {middleX, margin, middleWidth, topBand};
    l.groups[groupScrollBars] = {margin, middleY, firstColumn, middleHeight};
    l.groups[groupEditFields] = {middleX, middleY, middleWidth, middleHeight};
    l.groups[groupTree] = {lastX, margin, lastColumn, middleY + middleHeight - margin};
    l.groups[groupList] = {lastX, bottomY, lastColumn, bottomBand};
    l.groups[groupLog] = {margin, bottomY, middleX + middleWidth - margin, bottomBand};
    l.status = {margin, height - 36, width - 2 * margin, 28};
    return l;
}

Surface* Art(uint32_t id) {
    for (uint32_t i = 0; i < galleryArtCount; i++) {
        if (galleryArtIds[i] == id) return gallery.art[i].pixels ? &gallery.art[i] : nullptr;
    }
    return nullptr;
}

void SetStatus(WindowHandle window, WindowRecord* record, const char* text) {
    CopyString(text, gallery.status.caption, labelCaptionSize - 1);
    RepaintControl(window, record, &gallery.status.header);
}

void Add(WindowRecord* record, Control* control) {
    AddControl(control, record, addOnTop);
}

void Group(WindowRecord* record, GalleryGroup group, const GalleryLayout& layout) {
    const Extent& e = layout.groups[group];
    InitPanel(&gallery.groups[group], &e, panelGrey, panelLight, panelDark, 1,
              panelBevel | groupAnchors[group]);
    Add(record, &gallery.groups[group].header);
    Extent titleAt = {e.x + 8, e.y + 6, 180, 18};
    // The title keeps to the group's top-left corner.
    uint32_t anchors = groupAnchors[group], follow = 0;
    if ((anchors & followRight) && !(anchors & stretchX)) follow |= followRight;
    if ((anchors & followBottom) && !(anchors & stretchY)) follow |= followBottom;
    InitLabel(&gallery.titles[group], &titleAt, titleInk, panelGrey, &titleFont, groupTitles[group], nullptr,
              follow, 0);
    Add(record, &gallery.titles[group].header);
}

void CaptionButton(WindowRecord* record, Button* button, Extent e, const char* caption, uint32_t flags,
                   ButtonClickHandler onClick) {
    InitButton(button, &e, (flags & ignoreMouse) ? greyInk : ink, panelGrey, &galleryFont, caption, nullptr,
               buttonBevel | flags, onClick);
    CentreCaption(button);
    Add(record, &button->header);
}

void ArrowButton(WindowRecord* record, Button* button, Extent e, uint32_t art, uint32_t flags,
                 ButtonClickHandler onClick, void* userData) {
    Surface* images[buttonImages] = {Art(art), nullptr, Art(art)};
    // Held, an arrow keeps scrolling.
    InitButton(button, &e, ink, panelGrey, nullptr, nullptr, images, buttonBevel | buttonRepeats | flags,
               onClick);
    button->userData = reinterpret_cast<uintptr_t>(userData);
    Add(record, &button->header);
}

// ---- The first groups ----

void BuildLabels(WindowRecord* record, const GalleryLayout& layout) {
    Group(record, groupLabels, layout);
    const Extent& g = layout.groups[groupLabels];
    Surface* icons[32] = {nullptr, Art(artInformation), Art(artWarning), Art(artDone), Art(artStar)};
    int32_t width = (g.width - 24) / 2;
    for (uint32_t i = 0; i < 4; i++) {
        Extent e = {g.x + 8 + static_cast<int32_t>(i % 2) * (width + 8),
                    g.y + 30 + static_cast<int32_t>(i / 2) * 42, width, 36};
        InitLabel(&gallery.frames[i], &e, ink, panelGrey, &galleryFont, frameCaptions[i], icons,
                  frameFlags[i], 0);
        gallery.frames[i].iconIndex = i;
        gallery.frames[i].textInset = 10;
        Add(record, &gallery.frames[i].header);
    }
    Surface* background[32] = {Art(artPattern)};
    Extent e = {g.x + 8, g.y + 116, g.width - 16, 56};
    InitLabel(&gallery.tiled, &e, titleInk, panelGrey, &galleryFont, tiledCaption, background, labelFrame, 0);
    gallery.tiled.textInset = 3;
    Add(record, &gallery.tiled.header);
}

void BuildButtons(WindowRecord* record, const GalleryLayout& layout) {
    Group(record, groupButtons, layout);
    const Extent& g = layout.groups[groupButtons];
    Surface* images[6] = {Art(artPlay), Art(artPlay + 1), Art(artPlay + 2)};
    Extent playAt = {g.x + 8, g.y + 30, 72, 24}, offAt = {g.x + 88, g.y + 30, 72, 24};
    InitButton(&gallery.play, &playAt, ink, panelGrey, nullptr, nullptr, images, buttonBevel | takesFocus,
               ReportClick);
    gallery.play.header.onKey = ButtonSpaceKey;
    gallery.play.userData = reinterpret_cast<uintptr_t>(playName);
    Add(record, &gallery.play.header);
    InitButton(&gallery.playDisabled, &offAt, ink, panelGrey, nullptr, nullptr, images,
               buttonBevel | ignoreMouse, ReportClick);
    Add(record, &gallery.playDisabled.header);
    Button* captioned[3] = {&gallery.ok, &gallery.cancel, &gallery.disabled};
    const char* captions[3] = {okCaption, cancelCaption, disabledCaption};
    const Extent at[3] = {
        {g.x + 8, g.y + 62, 56, 24}, {g.x + 70, g.y + 62, 56, 24}, {g.x + 132, g.y + 62, 76, 24}};
    for (uint32_t i = 0; i < 3; i++) {
        CaptionButton(record, captioned[i], at[i], captions[i], i == 2 ? ignoreMouse : takesFocus,
                      ReportClick);
        if (i < 2) captioned[i]->header.onKey = ButtonSpaceKey;
        captioned[i]->userData = reinterpret_cast<uintptr_t>(captioned[i]->caption);
    }
    Extent noteAt = {g.x + 8, g.y + 94, g.width - 16, g.height - 100};
    InitLabel(&gallery.note, &noteAt, ink, panelGrey, &galleryFont, noteCaption, nullptr,
              stretchX | followRight, 0);
    Add(record, &gallery.note.header);
}

static void Bar(WindowRecord* record, ScrollBar* bar, Extent e, uint32_t range, uint32_t position,
                uint32_t flags, const char* name) {
    InitScrollBar(bar, &e, range, position, flags);
    bar->onRelease = ReportRelease;
    bar->onTrack = TrackPositions;
    bar->userData = reinterpret_cast<uintptr_t>(name);
    Add(record, &bar->header);
}

void BuildScrollBars(WindowRecord* record, const GalleryLayout& layout) {
    Group(record, groupScrollBars, layout);
    const Extent& g = layout.groups[groupScrollBars];
    Bar(record, &gallery.horizontal, {g.x + 8, g.y + 30, 240, 16}, 100, 42, scrollBarBevel, horizontalName);
    Bar(record, &gallery.small, {g.x + 8, g.y + 52, 240, 12}, 10, 3, 0, smallName);
    gallery.small.thumbColour = smallThumb;
    Bar(record, &gallery.vertical, {g.x + 256, g.y + 28, 16, g.height - 36}, 1000, 500,
        scrollBarVertical | stretchY | followBottom, verticalName);
    ScrollBar* v = &gallery.vertical;
    v->trackImage = Art(artTrack);
    v->startImage = Art(artUp);
    v->endImage = Art(artDown);
    v->thumbImages[0] = Art(artThumb);
    v->thumbImages[1] = Art(artThumb + 1);
    v->thumbColour = thumbKey;
    Extent e = {g.x + 8, g.y + 70, 240, 44};
    InitLabel(&gallery.positions, &e, ink, paper, &galleryFont, nullptr, nullptr,
              labelFrame | labelSunkenFrame, 0);
    gallery.positions.textInset = 2;
    ShowPositions();
    Add(record, &gallery.positions.header);
}

void BuildEditFields(WindowRecord* record, const GalleryLayout& layout) {
    Group(record, groupEditFields, layout);
    const Extent& g = layout.groups[groupEditFields];
    Field(record, &gallery.single, {g.x + 8, g.y + 28, g.width - 16, 24}, gallery.singleText,
          sizeof gallery.singleText, singleInitial, stretchX | followRight, &gallery.singleHistory);
    TextSize size = {};
    MeasureText(mainWindowHandle, &galleryFont, " ", 1, &size);
    gallery.single.edit.originX = 4;
    gallery.single.edit.originY = (24 - size.cy) / 2;
    gallery.single.edit.enterHandler = ReportEnter;
    Field(record, &gallery.wrapped, {g.x + 8, g.y + 58, g.width - 16, g.height - 66}, gallery.wrappedText,
          sizeof gallery.wrappedText, wrappedInitial, stretchX | followRight | stretchY | followBottom,
          &gallery.wrappedHistory);
    gallery.wrapped.edit.flags |= wrapText;
    gallery.wrapped.edit.rowSpacing = 2;
}

void BuildStatus(WindowRecord* record, const GalleryLayout& layout) {
    Surface* icons[32] = {nullptr, Art(artInformation)};
    InitLabel(&gallery.status, &layout.status, ink, statusPaper, &galleryFont, readyCaption, icons,
              labelFrame | labelSunkenFrame | stretchX | followRight | followBottom, 0);
    gallery.status.textInset = 5;
    Add(record, &gallery.status.header);
}

void BuildGallery(WindowHandle, WindowRecord* record) {
    for (uint32_t i = 0; i < galleryArtCount; i++) LoadBitmapSurface(galleryArtIds[i], &gallery.art[i], 0);
    record->backgroundColour = windowColour;
    GalleryLayout layout = LayOutGallery(record->surface.width, record->surface.height);
    BuildLabels(record, layout);
    BuildButtons(record, layout);
    BuildScrollBars(record, layout);
    BuildEditFields(record, layout);
    BuildTree(record, layout);
    BuildList(record, layout);
    BuildLog(record, layout);
    BuildStatus(record, layout);
    // Typing goes to the single-row field from the start.
    record->focusControl = &gallery.single.header;
    // Tab walks the buttons, the fields, the tree, the list and the log; the focus shows once keys are used.
    record->flags |= windowTabFocus;
}

void ReleaseGalleryArt() {
    for (Surface& s : gallery.art) ReleaseSurface(&s);
}
