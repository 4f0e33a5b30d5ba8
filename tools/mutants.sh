#!/usr/bin/env bash
# Do the tests catch real faults? Each fault below is one small edit (a flipped comparison, an off-by-one, a
# dropped mark, a swapped byte order...). The script copies the working tree to a scratch directory, builds
# it once, then for each fault applies the edit, rebuilds the programs that test it, runs the tests that
# should notice, and puts the line back. Not part of `make test`: run it by hand.
#
#   tools/mutants.sh                 every fault
#   tools/mutants.sh NAME...         only these faults
#   tools/mutants.sh --list          the faults, one a line
#
# A fault whose text is no longer in its file (the code moved on) prints "n/a": update its entry.
# MUTANTS_DIR (default build/mutants) holds the copy and its build; MUTANTS_TREE (default: this working
# tree) is the tree copied, e.g. an earlier commit's from `git archive`; MUTANTS_TIMEOUT (default 600)
# bounds the tests of one fault, in seconds. The Win32 faults need MinGW and Wine (tests/e2e-windows).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export MUTANTS_ROOT=${MUTANTS_TREE:-$root} MUTANTS_DIR=${MUTANTS_DIR:-$root/build/mutants}
exec python3 - "$@" <<'PY'
import filecmp, os, shutil, subprocess, sys, time

# name / file / find: exact text, unique in the file (\n for a line break) / replace / build: targets /
# tests: ctest regex of the tests that should fail, matching only tests of the programs in build.
FAULTS = r"""
name: sdl-shift-tab-types-nothing
file: toolkit/platform/sdl/raw_keys.cpp
find: if (tabKey) return ctrl ? 0 : 9;
replace: if (tabKey && ctrl) return 0;
build: test_sdl_backend
tests: ^RawKeys\.

name: files-one-temporary-for-all
file: toolkit/platform/common/user_files.cpp
find: "%s.%ld.new", target, static_cast<long>(getpid())
replace: "%s.%ld.new", target, 0L
build: test_headless
tests: ^UserDataTest\.TwoWriters

name: util-sort-equal-order
file: util/sort.cpp
find: bool before = (flags & descending) ? order >= 0 : order <= 0;
replace: bool before = (flags & descending) ? order > 0 : order < 0;
build: test_util
tests: ^Sort\.

name: util-delete-drops-terminator
file: util/dbcs_string.cpp
find: uint32_t moved = length - position - count + 1;
replace: uint32_t moved = length - position - count;
build: test_util
tests: ^DbcsString\.

name: util-noon-as-twelve
file: util/korean_date.cpp
find: return hour > 12 ? static_cast<uint16_t>(hour - 12) : hour;
replace: return hour >= 12 ? static_cast<uint16_t>(hour - 12) : hour;
build: test_util
tests: ^KoreanDate\.

name: util-minus-sign
file: util/number_text.cpp
find: if (value < 0 && !(flags & absoluteValue)) buffer[n++] = '-';
replace: if (value < 0 && (flags & absoluteValue)) buffer[n++] = '-';
build: test_util
tests: ^(NumberText|KoreanDate)\.

name: util-packer-varint-size
file: util/block_packer.cpp
find: while (n >= 0x80) n >>= 7, size++;
replace: while (n > 0x80) n >>= 7, size++;
build: test_packer
tests: ^BlockPacker\.

name: gfx-565-green
file: toolkit/gfx/surface.cpp
find: return ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3);
replace: return ((r >> 3) << 11) | ((g >> 3) << 5) | (b >> 3);
build: test_surface test_gfx
tests: ^SurfaceTest\.|Formats/(Blit|Draw)\.

name: gfx-stride-odd-width
file: toolkit/gfx/surface.cpp
find: return ((width >> 1) + (width & 1)) * 4;
replace: return (width >> 1) * 4;
build: test_surface test_gfx
tests: ^SurfaceTest\.|Formats/(Blit|Draw)\.

name: gfx-uncovered-right-piece
file: toolkit/gfx/rect.cpp
find: if (p.right > c.right) to[kept++] = {c.right + 1, top, p.right, bottom};
replace: if (p.right > c.right) to[kept++] = {c.right, top, p.right, bottom};
build: test_gfx test_composition
tests: ^Rect\.|Formats/VisibleParts\.

name: gfx-bevel-bottom-row
file: toolkit/gfx/draw.cpp
find: DrawLine(surface, r.left, r.bottom, width, bottom, 0);
replace: DrawLine(surface, r.left, r.bottom - 1, width, bottom, 0);
build: test_gfx
tests: Formats/Draw\.

name: gfx-line-one-short
file: toolkit/gfx/draw.cpp
find: int64_t end = along + length;
replace: int64_t end = along + length - 1;
build: test_gfx
tests: Formats/Draw\.

name: gfx-keyed-tail
file: toolkit/gfx/blit.cpp
find: if (pixel != key) memcpy(destination + 2 * i, &pixel, 2);
replace: if (pixel == key) memcpy(destination + 2 * i, &pixel, 2);
build: test_gfx
tests: Formats/Blit\.

name: window-add-after-reference
file: toolkit/window/control_list.cpp
find: position = slot + 1;
replace: position = slot;
build: test_window
tests: ^ControlListTest\.

name: window-hit-right-edge
file: toolkit/window/mouse_routing.cpp
find: if (p->x <= x && x < right && p->y <= y && y < bottom) return p;
replace: if (p->x <= x && x <= right && p->y <= y && y < bottom) return p;
build: test_routing
tests: ^MouseRoutingTest\.

name: window-mark-drops-content
file: toolkit/window/composition.cpp
find: control->flags |= bits & redrawBits;
replace: control->flags |= bits & blitPending;
build: test_composition
tests: Formats/(Composition|VisibleParts)

name: window-repaint-drops-full
file: toolkit/window/composition.cpp
find: w->flags |= bits & (repaintPending | fullRedraw);
replace: w->flags |= bits & repaintPending;
build: test_composition
tests: Formats/(Composition|VisibleParts)

name: window-overlap-not-blitted
file: toolkit/window/composition.cpp
find:         p->flags |= blitPending;\n        if (pb.left < r.left) r.left = pb.left;
replace:         if (pb.left < r.left) r.left = pb.left;
build: test_composition
tests: Formats/(Composition|VisibleParts)

name: input-composition-byte-order
file: toolkit/input/keyboard_routing.cpp
find: return (value & 0xFFFF0000u) | ((value & 0xFF) << 8) | ((value >> 8) & 0xFF);
replace: return value;
build: test_routing
tests: ^KeyboardRoutingTest\.

name: input-caret-blink-reset
file: toolkit/input/keyboard_routing.cpp
find: caretBlinkCounter = 3;
replace: caretBlinkCounter = 2;
build: test_routing
tests: ^KeyboardRoutingTest\.

name: input-trail-byte-step
file: toolkit/input/line_editor.cpp
find: return at + 1 < e.length && ClassifyPosition(e.text, at) == kLeadByte ? 2 : 1;
replace: return at + 1 < e.length && ClassifyPosition(e.text, at) == kTrailByte ? 2 : 1;
build: test_input
tests: ^LineEditor\.

name: controls-button-inside-edge
file: toolkit/controls/button.cpp
find: return x >= 0 && y >= 0 && x < control->surface.width && y < control->surface.height;
replace: return x >= 0 && y >= 0 && x <= control->surface.width && y < control->surface.height;
build: test_controls
tests: Formats/ButtonTest\.

name: controls-list-visible-rows
file: toolkit/controls/list_box.cpp
find: list->visibleRows = rows.shownRows;
replace: list->visibleRows = rows.shownRows + (rows.shownRows < list->itemCount);
build: test_controls
tests: Formats/ListBoxTest\.

name: controls-list-separator-row
file: toolkit/controls/list_box.cpp
find: DrawLine(own, 1, top + rowHeight - 1, static_cast<uint32_t>(width - 2), list->separatorColour, 0);
replace: DrawLine(own, 1, top + rowHeight, static_cast<uint32_t>(width - 2), list->separatorColour, 0);
build: test_controls
tests: Formats/ListBoxTest\.

name: controls-tree-hit-row
file: toolkit/controls/tree_list.cpp
find: uint64_t index = static_cast<uint64_t>(y - 1) / tree->rowHeight + tree->firstRow;
replace: uint64_t index = static_cast<uint64_t>(y) / tree->rowHeight + tree->firstRow;
build: test_controls
tests: Formats/TreeListTest\.

name: controls-tree-visible-rows
file: toolkit/controls/tree_list.cpp
find: tree->visibleRows = rows.shownRows;
replace: tree->visibleRows = rows.shownRows + (rows.shownRows < tree->rowCount);
build: test_controls
tests: Formats/TreeListTest\.

name: controls-log-scroll-range
file: toolkit/controls/text_log.cpp
find: KeepScrollBarInStep(window, log->scrollBar, log->companions, log->lineCount - log->rowsShown,
replace: KeepScrollBarInStep(window, log->scrollBar, log->companions, log->lineCount - log->rowsShown + (log->lineCount > log->rowsShown),
build: test_controls
tests: Formats/TextLogTest\.

name: controls-log-split-half-character
file: toolkit/controls/text_log_lines.cpp
find: if (room > 0 && ClassifyPosition(line, room) == kTrailByte) room--;
replace: if (room > 0 && ClassifyPosition(line, room) == kLeadByte) room--;
build: test_textlog test_controls
tests: ^LineStore\.|Formats/TextLogTest\.

name: controls-scroll-thumb-length
file: toolkit/controls/scroll_bar.cpp
find: bar->thumbLength = bar->trackLength - range;
replace: bar->thumbLength = bar->trackLength - range + 1;
build: test_controls
tests: Formats/ScrollBarTest\.

name: controls-label-icon-index
file: toolkit/controls/label.cpp
find: label->icons[i] = images ? images[i + 1] : nullptr;
replace: label->icons[i] = images ? images[i] : nullptr;
build: test_controls
tests: Formats/LabelTest\.

name: controls-label-box-height
file: toolkit/controls/label.cpp
find: static_cast<int32_t>(height - 1 - 2 * inset)};
replace: static_cast<int32_t>(height - 2 * inset)};
build: test_controls
tests: Formats/LabelTest\.

name: sdl-ctrl-letter
file: toolkit/platform/sdl/events.cpp
find: if (ctrl && vk >= 'A' && vk <= 'Z') return vk - 'A' + 1;
replace: if (ctrl && vk >= 'A' && vk <= 'Z') return vk - 'A';
build: test_sdl_backend
tests: ^Sdl

name: sdl-ime-byte-order
file: toolkit/platform/sdl/events.cpp
find: static_cast<uint8_t>(bytes[0])) << 8 | static_cast<uint8_t>(bytes[1]);
replace: static_cast<uint8_t>(bytes[1])) << 8 | static_cast<uint8_t>(bytes[0]);
build: test_sdl_backend
tests: ^Sdl

name: sdl-letter-key
file: toolkit/platform/sdl/keys.cpp
find: if (key >= SDLK_a && key <= SDLK_z) return 'A' + static_cast<uint32_t>(key - SDLK_a);
replace: if (key >= SDLK_a && key < SDLK_z) return 'A' + static_cast<uint32_t>(key - SDLK_a);
build: test_sdl_backend
tests: ^Sdl

name: sdl-wheel-flipped
file: toolkit/platform/sdl/events.cpp
find: if (e->direction == SDL_MOUSEWHEEL_FLIPPED) turned = -turned;
replace: if (e->direction == SDL_MOUSEWHEEL_FLIPPED) turned = +turned;
build: test_sdl_backend
tests: ^Sdl

name: wheel-direction
file: toolkit/controls/mouse_wheel.cpp
find: return static_cast<int32_t>(-rows);
replace: return static_cast<int32_t>(rows);
build: test_gallery
tests: GalleryWheel

name: win32-bottom-up-rows
file: toolkit/platform/win32/pixels.cpp
find: info.bmiHeader.biHeight = -height; // top-down rows
replace: info.bmiHeader.biHeight = height; // top-down rows
build: screen_check x11_helper
tests: ^e2e_windows$

name: win32-no-word-break
file: toolkit/platform/win32/text.cpp
find: UINT format = (mode & platformTextWordBreak) ? DT_WORDBREAK : 0;
replace: UINT format = 0;
build: screen_check x11_helper
tests: ^e2e_windows$

name: win32-opaque-text
file: toolkit/platform/win32/text.cpp
find: SetBkMode(t->dc, OPAQUE);
replace: SetBkMode(t->dc, TRANSPARENT);
build: screen_check x11_helper
tests: ^e2e_windows$

name: button-clicks-after-repeats
file: toolkit/controls/button.cpp
find: bool repeated = Repeats(control) && button->repeats > 0;
replace: bool repeated = false;
build: test_gallery
tests: ^Formats/GalleryHeld\.

name: hangul-initial-boundary
file: util/hangul_initial.cpp
find: while (initial + 1 < hangulInitials && firsts[initial + 1] <= code) initial++;
replace: while (initial + 1 < hangulInitials && firsts[initial + 1] < code) initial++;
build: test_util
tests: ^HangulInitial\.

name: list-type-ahead-never-pauses
file: toolkit/controls/list_box_keys.cpp
find: if (since > typeAheadPause) list->typedCount = 0;
replace: if (since > 10 * typeAheadPause) list->typedCount = 0;
build: test_controls
tests: KeysTest

name: tab-leaves-editors
file: toolkit/input/focus_keys.cpp
find: if (focus && focus->editBuffer && !(held & editCtrl)) return false;
replace: if (focus && focus->editBuffer && (held & editCtrl)) return false;
build: test_controls
tests: KeysTest

name: scroll-bar-tracks-only-unmoved
file: toolkit/controls/scroll_bar.cpp
find: if (bar->onTrack && bar->position != before)
replace: if (bar->onTrack && bar->position == before)
build: test_gallery
tests: ^Formats/GalleryHeld\.

name: list-drag-fills-only-downwards
file: toolkit/controls/list_box.cpp
find: if (from == listBoxItems || end == listBoxItems || from == end) return false;
replace: if (from == listBoxItems || end == listBoxItems || from + 1 >= end) return false;
build: test_gallery
tests: ^Formats/GalleryHeld\.

name: app-ctrl-release-keeps-played
file: app/sprite.cpp
find: keyState = 0;
replace: keyState &= ~ctrlDown;
build: velquist velquist_monkey
tests: ^velquist_monkey$
"""

def parse(text):
    faults = []
    for block in text.strip().split("\n\n"):
        f = {}
        for line in block.splitlines():
            key, _, value = line.partition(": ")
            f[key] = value.replace("\\n", "\n") if key in ("find", "replace") else value
        faults.append(f)
    return faults


root, work = os.environ["MUTANTS_ROOT"], os.environ["MUTANTS_DIR"]
src, build = os.path.join(work, "src"), os.path.join(work, "src", "build", "normal")
timeout = int(os.environ.get("MUTANTS_TIMEOUT", "600"))
faults = parse(FAULTS)
args = sys.argv[1:]
if args == ["--list"]:
    for f in faults:
        print(f"{f['name']:34} {f['file']}")
    sys.exit(0)
if args:
    unknown = set(args) - {f["name"] for f in faults}
    if unknown:
        sys.exit("unknown fault: " + " ".join(sorted(unknown)))
    faults = [f for f in faults if f["name"] in args]


def run(command, seconds=None, quiet=True):
    try:
        return subprocess.run(command, cwd=build, timeout=seconds, stdout=subprocess.DEVNULL if quiet else None,
                              stderr=subprocess.DEVNULL if quiet else None).returncode
    except subprocess.TimeoutExpired:
        return "timeout"


# The scratch copy: the working tree as it is, without build outputs; unchanged files keep their times, so
# the build stays incremental (and ccache answers for a line put back).
def sync():
    wanted = set()
    for top, dirs, files in os.walk(root):
        dirs[:] = [d for d in dirs if not (top == root and d in ("build", ".git"))]
        for name in files:
            if top == root and name == ".git":
                continue
            rel = os.path.relpath(os.path.join(top, name), root)
            wanted.add(rel)
            to = os.path.join(src, rel)
            if not os.path.exists(to) or not filecmp.cmp(os.path.join(root, rel), to, shallow=False):
                os.makedirs(os.path.dirname(to), exist_ok=True)
                shutil.copy(os.path.join(root, rel), to)
    for top, dirs, files in os.walk(src):
        dirs[:] = [d for d in dirs if not (top == src and d == "build")]
        for name in files:
            if os.path.relpath(os.path.join(top, name), src) not in wanted:
                os.remove(os.path.join(top, name))


sync()
if not os.path.exists(os.path.join(build, "CMakeCache.txt")):
    subprocess.run(["cmake", "-S", src, "-B", build, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release",
                    "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -g", "-DVQ_TESTS=ON", "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"],
                   check=True, stdout=subprocess.DEVNULL)


def build_targets(targets):
    return run(["nice", "cmake", "--build", ".", "-j2", "--target"] + targets.split(), 1800)


def run_tests(regex):
    # The Win32 check rebuilds its MinGW tree itself, inside the test.
    return run(["ctest", "-R", regex, "--stop-on-failure", "--timeout", str(timeout)], timeout + 60)


# The tests must pass on the unchanged tree, or a failure would say nothing about a fault.
healthy = {}
for f in faults:
    key = (f["build"], f["tests"])
    if key not in healthy:
        healthy[key] = build_targets(f["build"]) == 0 and run_tests(f["tests"]) == 0
        if not healthy[key]:
            print(f"warning: {f['tests']} fails on the unchanged tree", flush=True)

caught = missed = skipped = 0
for f in faults:
    path = os.path.join(src, f["file"])
    start = time.time()
    original = open(path).read() if os.path.exists(path) else ""
    if original.count(f["find"]) != 1 or not healthy[(f["build"], f["tests"])]:
        print(f"{f['name']:34} n/a", flush=True)
        skipped += 1
        continue
    with open(path, "w") as out:
        out.write(original.replace(f["find"], f["replace"]))
    try:
        built = build_targets(f["build"])
        result = run_tests(f["tests"]) if built == 0 else None
    finally:
        with open(path, "w") as out:
            out.write(original)
        build_targets(f["build"])  # no program is left with the fault in it (ccache makes this cheap)
    if built != 0:
        verdict = "n/a (does not build)"
        skipped += 1
    elif result == 0:
        verdict = "MISSED"
        missed += 1
    else:
        verdict = "caught" + (" (timeout)" if result == "timeout" else "")
        caught += 1
    print(f"{f['name']:34} {verdict:22} {time.time() - start:5.0f} s", flush=True)

print(f"total: {caught} caught, {missed} missed, {skipped} n/a of {len(faults)}")
PY
