// The gallery's controls: where each one goes and how it follows the window's size, and what the callbacks
// report on the status line. Positions are laid out from the client area at start-up; the anchoring flags
// keep them in place as the window is resized.
#include <stdio.h>
#include <string.h>

#include "gallery/gallery.h"
#include "toolkit/gfx/text.h"
#include "toolkit/window/composition.h"
#include "util/dbcs_string.h"

namespace {

const uint32_t panelGrey = 0xBFBFBF, panelLight = 0xFFFFFF, panelDark = 0x808080, windowColour = 0x8C7860,
               titleInk = 0x802000, paper = 0xFFFFFF, ink = 0x000000, greyInk = 0x808080,
               statusPaper = 0xE8E8E8, thumbKey = 0xFF00FF, smallThumb = 0xC08040;

LogFont titleFont = {-13, 0, 0, 0, 700, 0, 0, 0, 129, 0, 0, 0, 0, ""};

// Code page 949 text.
const char* const groupTitles[galleryGroups] = {
    "\xB7\xB9\xC0\xCC\xBA\xED Labels",                       // 레이블
    "\xB4\xDC\xC3\xDF Buttons",                              // 단추
    "\xBD\xBA\xC5\xA9\xB7\xD1 \xB8\xB7\xB4\xEB Scroll bars", // 스크롤 막대
    "\xC0\xD4\xB7\xC2\xB6\xF5 Edit fields",                  // 입력란
};
const char* const frameCaptions[4] = {
    "\xBA\xBC\xB7\xCF Raised",                       // 볼록
    "\xBF\xC0\xB8\xF1 Sunken",                       // 오목
    "\xC6\xF2\xB8\xE9 Flat",                         // 평면
    "\xC6\xF2\xB8\xE9 \xBF\xC0\xB8\xF1 Flat sunken", // 평면 오목
};
const uint32_t frameFlags[4] = {labelFrame, labelFrame | labelSunkenFrame, labelFrame | labelFlatFrame,
                                labelFrame | labelFlatFrame | labelSunkenFrame};
// 바탕 무늬 위에서 줄이 바뀌는 설명입니다.
const char tiledCaption[] = "\xB9\xD9\xC5\xC1 \xB9\xAB\xB4\xCC \xC0\xA7\xBF\xA1\xBC\xAD \xC1\xD9\xC0\xCC "
                            "\xB9\xD9\xB2\xEE\xB4\xC2 \xBC\xB3\xB8\xED\xC0\xD4\xB4\xCF\xB4\xD9. "
                            "A caption that wraps over a tiled background.";
// 누른 단추를 밖으로 끌면 클릭되지 않고, 다시 들어오면 다시 눌립니다.
const char noteCaption[] =
    "\xB4\xA9\xB8\xA5 \xB4\xDC\xC3\xDF\xB8\xA6 \xB9\xDB\xC0\xB8\xB7\xCE \xB2\xF8\xB8\xE9 "
    "\xC5\xAC\xB8\xAF\xB5\xC7\xC1\xF6 \xBE\xCA\xB0\xED, \xB4\xD9\xBD\xC3 "
    "\xB5\xE9\xBE\xEE\xBF\xC0\xB8\xE9 \xB4\xD9\xBD\xC3 \xB4\xAD\xB8\xB3\xB4\xCF\xB4\xD9. "
    "Drag a pressed button off to cancel its click.";
const char playName[] = "\xC0\xE7\xBB\xFD \xB4\xDC\xC3\xDF";         // 재생 단추
const char okCaption[] = "\xC8\xAE\xC0\xCE";                         // 확인
const char cancelCaption[] = "\xC3\xEB\xBC\xD2";                     // 취소
const char disabledCaption[] = "\xBB\xE7\xBF\xEB \xBE\xC8 \xC7\xD4"; // 사용 안 함
const char horizontalName[] = "\xB0\xA1\xB7\xCE";                    // 가로
const char verticalName[] = "\xBC\xBC\xB7\xCE";                      // 세로
const char smallName[] = "10";
const char clickedWord[] = "\xB4\xA9\xB8\xA7";                    // 누름
const char releasedWord[] = "\xB3\xF5\xC0\xBD";                   // 놓음
const char enteredWord[] = "\xC0\xD4\xB7\xC2";                    // 입력
const char singleInitial[] = "Velquist \xB0\xB6\xB7\xAF\xB8\xAE"; // 갤러리
// 여기에 한국어를 입력해 보세요.
const char wrappedInitial[] =
    "\xBF\xA9\xB1\xE2\xBF\xA1 \xC7\xD1\xB1\xB9\xBE\xEE\xB8\xA6 \xC0\xD4\xB7\xC2\xC7\xD8 "
    "\xBA\xB8\xBC\xBC\xBF\xE4. Type Korean or English here: a long text wraps over "
    "several rows.";
// 준비되었습니다.
const char readyCaption[] =
    "\xC1\xD8\xBA\xF1\xB5\xC7\xBE\xFA\xBD\xC0\xB4\xCF\xB4\xD9. Click, drag and type to "
    "try the controls.";

const uint32_t artIds[galleryArtCount] = {artInformation, artWarning,   artDone,   artStar, artPlay,
                                          artPlay + 1,    artPlay + 2,  artTrack,  artUp,   artDown,
                                          artThumb,       artThumb + 1, artPattern};

Surface* Art(uint32_t id) {
    for (uint32_t i = 0; i < galleryArtCount; i++) {
        if (artIds[i] == id) return gallery.art[i].pixels ? &gallery.art[i] : nullptr;
    }
    return nullptr;
}

// ---- What the callbacks report ----

void SetStatus(WindowHandle window, WindowRecord* record, const char* text) {
    CopyString(text, gallery.status.caption, labelCaptionSize - 1);
    RepaintControl(window, record, &gallery.status.header);
}

// userData names the button.
uint32_t ReportClick(WindowHandle window, WindowRecord* record, Control*, uintptr_t userData, uint32_t,
                     int32_t x, int32_t y) {
    char text[labelCaptionSize];
    snprintf(text, sizeof text, "%s %s (%d, %d)", reinterpret_cast<const char*>(userData), clickedWord, x, y);
    SetStatus(window, record, text);
    return redrawBits;
}

void ShowPositions() {
    const ScrollBar &h = gallery.horizontal, &v = gallery.vertical, &s = gallery.small;
    snprintf(gallery.positions.caption, labelCaptionSize, "%s %u / %u, %s %u / %u, %s %u / %u",
             horizontalName, h.position, h.range, verticalName, v.position, v.range, smallName, s.position,
             s.range);
}

// userData names the bar.
void ReportRelease(WindowHandle window, WindowRecord* record, Control*, uintptr_t userData, uint32_t,
                   uint32_t range, uint32_t position) {
    ShowPositions();
    RepaintControl(window, record, &gallery.positions.header);
    char text[labelCaptionSize];
    snprintf(text, sizeof text, "%s %s: %u / %u", reinterpret_cast<const char*>(userData), releasedWord,
             position, range);
    SetStatus(window, record, text);
}

void ReportEnter(WindowHandle window, WindowRecord* record, Control*, EditBuffer* buffer) {
    char text[labelCaptionSize];
    snprintf(text, sizeof text, "%s: %s", enteredWord, buffer->text);
    SetStatus(window, record, text);
}

// ---- Building ----

void Add(WindowRecord* record, Control* control) {
    AddControl(control, record, addOnTop);
}

void Group(WindowRecord* record, uint32_t index, Extent e, uint32_t anchors) {
    InitPanel(&gallery.groups[index], &e, panelGrey, panelLight, panelDark, 1, panelBevel | anchors);
    Add(record, &gallery.groups[index].header);
}

void Title(WindowRecord* record, uint32_t index, int32_t x, int32_t y) {
    Extent e = {x, y, 220, 18};
    InitLabel(&gallery.titles[index], &e, titleInk, panelGrey, &titleFont, groupTitles[index], nullptr, 0, 0);
    Add(record, &gallery.titles[index].header);
}

// The caption in the middle of the button.
void CentreCaption(Button* button) {
    TextSize size = {};
    MeasureText(mainWindowHandle, button->font, button->caption,
                static_cast<int32_t>(strlen(button->caption)), &size);
    button->captionX = (button->header.surface.width - size.cx) / 2;
    button->captionY = (button->header.surface.height - size.cy) / 2;
}

void CaptionButton(WindowRecord* record, Button* button, Extent e, const char* caption, uint32_t flags) {
    InitButton(button, &e, (flags & ignoreMouse) ? greyInk : ink, panelGrey, nullptr, caption, nullptr,
               buttonBevel | flags, ReportClick);
    button->userData = reinterpret_cast<uintptr_t>(button->caption);
    CentreCaption(button);
    Add(record, &button->header);
}

void BuildLabels(WindowRecord* record) {
    Group(record, 0, {8, 8, 340, 196}, 0);
    Title(record, 0, 16, 14);
    Surface* icons[32] = {nullptr, Art(artInformation), Art(artWarning), Art(artDone), Art(artStar)};
    for (uint32_t i = 0; i < 4; i++) {
        Extent e = {16 + static_cast<int32_t>(i % 2) * 166, 38 + static_cast<int32_t>(i / 2) * 46, 158, 40};
        InitLabel(&gallery.frames[i], &e, ink, panelGrey, nullptr, frameCaptions[i], icons, frameFlags[i], 0);
        gallery.frames[i].iconIndex = i;
        gallery.frames[i].textInset = 11;
        Add(record, &gallery.frames[i].header);
    }
    Surface* background[32] = {Art(artPattern)};
    Extent e = {16, 132, 324, 64};
    InitLabel(&gallery.tiled, &e, titleInk, panelGrey, nullptr, tiledCaption, background, labelFrame, 0);
    gallery.tiled.textInset = 4;
    Add(record, &gallery.tiled.header);
}

void BuildButtons(WindowRecord* record, int32_t clientWidth) {
    Group(record, 1, {356, 8, clientWidth - 364, 196}, stretchX | followRight);
    Title(record, 1, 364, 14);
    Surface* images[6] = {Art(artPlay), Art(artPlay + 1), Art(artPlay + 2)};
    Extent playAt = {364, 40, 72, 24}, offAt = {444, 40, 72, 24};
    InitButton(&gallery.play, &playAt, ink, panelGrey, nullptr, nullptr, images, buttonBevel, ReportClick);
    gallery.play.userData = reinterpret_cast<uintptr_t>(playName);
    Add(record, &gallery.play.header);
    InitButton(&gallery.playDisabled, &offAt, ink, panelGrey, nullptr, nullptr, images,
               buttonBevel | ignoreMouse, ReportClick);
    Add(record, &gallery.playDisabled.header);
    CaptionButton(record, &gallery.ok, {364, 76, 80, 24}, okCaption, 0);
    CaptionButton(record, &gallery.cancel, {452, 76, 80, 24}, cancelCaption, 0);
    CaptionButton(record, &gallery.disabled, {540, 76, 96, 24}, disabledCaption, ignoreMouse);
    Extent noteAt = {364, 110, clientWidth - 380, 88};
    InitLabel(&gallery.note, &noteAt, ink, panelGrey, nullptr, noteCaption, nullptr, stretchX | followRight,
              0);
    Add(record, &gallery.note.header);
}

void Bar(WindowRecord* record, ScrollBar* bar, Extent e, uint32_t range, uint32_t position, uint32_t flags,
         const char* name) {
    InitScrollBar(bar, &e, range, position, flags);
    bar->onRelease = ReportRelease;
    bar->userData = reinterpret_cast<uintptr_t>(name);
    Add(record, &bar->header);
}

void BuildScrollBars(WindowRecord* record, int32_t clientHeight) {
    int32_t bottom = clientHeight - 44;
    Group(record, 2, {8, 212, 340, bottom - 212}, stretchY | followBottom);
    Title(record, 2, 16, 218);
    Bar(record, &gallery.horizontal, {16, 244, 292, 16}, 100, 42, scrollBarBevel, horizontalName);
    Bar(record, &gallery.small, {16, 268, 292, 12}, 10, 3, 0, smallName);
    gallery.small.thumbColour = smallThumb;
    Bar(record, &gallery.vertical, {320, 240, 16, bottom - 8 - 240}, 1000, 500,
        scrollBarVertical | stretchY | followBottom, verticalName);
    ScrollBar* v = &gallery.vertical;
    v->trackImage = Art(artTrack);
    v->startImage = Art(artUp);
    v->endImage = Art(artDown);
    v->thumbImages[0] = Art(artThumb);
    v->thumbImages[1] = Art(artThumb + 1);
    v->thumbColour = thumbKey;
    Extent e = {16, 290, 292, 44};
    InitLabel(&gallery.positions, &e, ink, paper, nullptr, nullptr, nullptr, labelFrame | labelSunkenFrame,
              0);
    gallery.positions.textInset = 2;
    ShowPositions();
    Add(record, &gallery.positions.header);
}

void Field(WindowRecord* record, EditField* field, Extent e, char* text, uint32_t capacity,
           const char* initial, uint32_t anchors) {
    InitEditField(field, &e, editFieldFrame | editFieldSunkenFrame | anchors, text, capacity);
    CopyString(initial, text, capacity);
    field->header.backgroundColour = paper;
    field->edit.backColour = paper;
    field->edit.caret = StringLength(text, capacity);
    Add(record, &field->header);
}

void BuildEditFields(WindowRecord* record, int32_t clientWidth, int32_t clientHeight) {
    int32_t bottom = clientHeight - 44;
    Group(record, 3, {356, 212, clientWidth - 364, bottom - 212},
          stretchX | followRight | stretchY | followBottom);
    Title(record, 3, 364, 218);
    Field(record, &gallery.single, {364, 242, clientWidth - 380, 24}, gallery.singleText,
          sizeof gallery.singleText, singleInitial, stretchX | followRight);
    TextSize size = {};
    MeasureText(mainWindowHandle, nullptr, " ", 1, &size);
    gallery.single.edit.originX = 4;
    gallery.single.edit.originY = (24 - size.cy) / 2;
    gallery.single.edit.enterHandler = ReportEnter;
    Field(record, &gallery.wrapped, {364, 274, clientWidth - 380, bottom - 8 - 274}, gallery.wrappedText,
          sizeof gallery.wrappedText, wrappedInitial, stretchX | followRight | stretchY | followBottom);
    gallery.wrapped.edit.flags |= wrapText;
    gallery.wrapped.edit.rowSpacing = 2;
}

void BuildStatus(WindowRecord* record, int32_t clientWidth, int32_t clientHeight) {
    Surface* icons[32] = {nullptr, Art(artInformation)};
    Extent e = {8, clientHeight - 36, clientWidth - 16, 28};
    InitLabel(&gallery.status, &e, ink, statusPaper, nullptr, readyCaption, icons,
              labelFrame | labelSunkenFrame | stretchX | followRight | followBottom, 0);
    gallery.status.textInset = 5;
    Add(record, &gallery.status.header);
}

} // namespace

void BuildGallery(WindowHandle, WindowRecord* record) {
    for (uint32_t i = 0; i < galleryArtCount; i++) LoadBitmapSurface(artIds[i], &gallery.art[i], 0);
    record->backgroundColour = windowColour;
    int32_t width = record->surface.width, height = record->surface.height;
    BuildLabels(record);
    BuildButtons(record, width);
    BuildScrollBars(record, height);
    BuildEditFields(record, width, height);
    BuildStatus(record, width, height);
    // Typing goes to the single-row field from the start.
    record->focusControl = &gallery.single.header;
}

void ReleaseGalleryArt() {
    for (Surface& s : gallery.art) ReleaseSurface(&s);
}
