// The gallery on the headless backend, run through its own message loop: each step of a scenario runs when
// the loop has nothing left to do, posts its input and checks what the previous step's input led to. The
// user's data directory lies under a fresh temporary root and the local time is fixed.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "gallery/gallery.h"
#include "tests/support/cp949.h"
#include "tests/support/position.h"
#include "tests/support/toolkit_fixture.h"
#include "toolkit/input/keyboard_routing.h"
#include "toolkit/platform/headless/headless.h"

class GalleryFixture : public BothFormats {
  protected:
    std::vector<std::pair<std::string, std::function<void()>>> steps; // named, in order
    size_t next = 0;
    std::string root;

    void SetUp() override {
        BothFormats::SetUp();
        memset(static_cast<void*>(&gallery), 0, sizeof gallery);
        caretBlinkCounter = 1;
        char pattern[] = "/tmp/velquist-gallery.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root = pattern;
        HeadlessSetDataRoot(root.c_str());
        PlatformTime when = {2024, 5, 3, 1, 15, 4, 9, 0}; // Wednesday 1 May 2024, 15:04:09
        HeadlessSetLocalTime(&when);
    }
    void TearDown() override {
        ReleaseGalleryArt();
        EXPECT_EQ(system(("rm -rf '" + root + "'").c_str()), 0);
        BothFormats::TearDown();
    }
    static int32_t Idle(void* context) {
        GalleryFixture* self = static_cast<GalleryFixture*>(context);
        if (self->next >= self->steps.size()) return 0;
        SCOPED_TRACE("step: " + self->steps[self->next].first);
        self->steps[self->next++].second();
        return 1;
    }
    // A step runs when the loop is idle: it checks what came of the input before it and posts the next.
    void Step(const std::string& name, std::function<void()> body) {
        steps.push_back({name, std::move(body)});
    }
    int32_t Run() {
        HeadlessSetIdleHook(Idle, this);
        int32_t code = RunGallery();
        HeadlessSetIdleHook(nullptr, nullptr);
        return code;
    }
    std::string LogPath() { return root + "/Velquist/gallery-log.vqlog"; }

    // ---- Input ----
    void Post(uint32_t message, WParam wParam, LParam lParam) {
        PlatformPostMessage(mainWindowHandle, message, wParam, lParam);
    }
    // A click at a point of a control, in client coordinates.
    void Click(const Control& c, int32_t x, int32_t y, WParam keys = 0) {
        Post(WM_LBUTTONDOWN, MK_LBUTTON | keys, Position(c.x + x, c.y + y));
        Post(WM_LBUTTONUP, keys, Position(c.x + x, c.y + y));
    }
    void ClickMiddle(const Control& c) { Click(c, c.surface.width / 2, c.surface.height / 2); }
    void Type(const std::string& text) {
        for (char ch : text) Post(WM_CHAR, static_cast<uint8_t>(ch), 1);
    }
    // One finished syllable from the input method (code page 949 bytes).
    void TypeSyllable(const std::string& bytes) {
        HeadlessSetImeString(GCS_RESULTSTR, bytes.data(), static_cast<int32_t>(bytes.size()));
        Post(WM_IME_COMPOSITION, 0, GCS_RESULTSTR);
    }

    // ---- The screen ----
    uint32_t Screen(int32_t x, int32_t y) { return HeadlessScreenPixel(mainWindowHandle, x, y); }
    // Pixels where the screen does not show the control's own surface.
    int32_t Mismatches(const Control& c) {
        int32_t n = 0;
        for (int32_t y = 0; y < c.surface.height; y++) {
            for (int32_t x = 0; x < c.surface.width; x++)
                n += Screen(c.x + x, c.y + y) != PixelAt(c.surface, x, y);
        }
        return n;
    }
    // Panels draw on the window itself; every other control that is not hidden shows its own surface.
    void ExpectEveryControlShown(const char* when) {
        SCOPED_TRACE(when);
        for (const Control* c : mainWindowRecord->controls) {
            if (!c || c->kind == kindPanel || (c->flags & hidden)) continue;
            EXPECT_EQ(Mismatches(*c), 0) << "control of kind " << c->kind << " at " << c->x << ", " << c->y;
        }
    }
    const Surface& Art(uint32_t id) {
        for (uint32_t i = 0; i < galleryArtCount; i++) {
            if (galleryArtIds[i] == id) return gallery.art[i];
        }
        return gallery.art[0];
    }
    // Where the image shows at (x, y) on the screen, apart from its keyed pixels.
    int32_t ImageMismatches(const Surface& image, int32_t x, int32_t y, uint32_t key) {
        int32_t n = 0;
        for (int32_t j = 0; j < image.height; j++) {
            for (int32_t i = 0; i < image.width; i++) {
                uint32_t p = PixelAt(image, i, j);
                n += p != key && Screen(x + i, y + j) != p;
            }
        }
        return n;
    }

    // ---- The lists ----
    // The middle of a tree row's name, relative to the tree.
    int32_t TreeRowY(const TreeNode* node) {
        int32_t row = FindTreeListRow(&gallery.tree, node, nullptr);
        EXPECT_GE(row, 0);
        return 1 +
               (row - static_cast<int32_t>(gallery.tree.firstRow)) *
                   static_cast<int32_t>(gallery.tree.rowHeight) +
               static_cast<int32_t>(gallery.tree.rowHeight) / 2;
    }
    // The names of the tree's rows, in order.
    std::vector<std::string> TreeRows() {
        std::vector<std::string> out;
        for (uint32_t i = 0; i < gallery.tree.rowCount; i++) out.push_back(gallery.tree.rows[i].node->name);
        return out;
    }
    int32_t ListRowY(int32_t row) {
        return row * static_cast<int32_t>(gallery.list.rowHeight) +
               static_cast<int32_t>(gallery.list.rowHeight) / 2;
    }
    std::vector<std::string> LogLines() {
        std::vector<std::string> out;
        for (uint32_t i = 0; i < gallery.log.lineCount; i++) out.push_back(TextLogLine(&gallery.log, i));
        return out;
    }
};
