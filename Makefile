# The README's commands. Everything installs its own dependencies first.
JOBS ?= $(shell nproc)
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo Ninja || echo "Unix Makefiles")
FUZZ_SECONDS ?= 60
SOAK_MINUTES ?= 10

.PHONY: all deps build run run-windows gallery gallery-windows test soak bench fuzz windows format screenshots clean

all: build

deps:
	@bash tools/install-deps.sh

# The project's own builds treat warnings as errors (a plain CMake build does not: VQ_WERROR is off there).
CONFIGURE_NORMAL = cmake -S . -B build/normal -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=Release \
	-DCMAKE_CXX_FLAGS_RELEASE="-O2 -g" -DVQ_WERROR=ON
# The sanitizer build uses clang, the normal one GCC, so both compilers stay warning-free. A build/asan that
# another compiler configured is made afresh.
CONFIGURE_ASAN = cmake -S . -B build/asan -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=Debug \
	-DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" -DVQ_SANITIZE=ON -DVQ_WERROR=ON

# Everything: tests, benchmarks and fuzz regression programs included.
build: deps
	$(CONFIGURE_NORMAL) -DVQ_TESTS=ON >/dev/null
	cmake --build build/normal -j $(JOBS)

# Only what the application needs: its packages and its target. A build directory that make test made
# already keeps its tests.
run:
	@bash tools/install-deps.sh run
	@[ -f build/normal/CMakeCache.txt ] || $(CONFIGURE_NORMAL) -DVQ_TESTS=OFF
	cmake --build build/normal -j $(JOBS) --target velquist $(if $(DISPLAY),,x11_helper)
	@bash tools/run-app.sh build/normal/app/velquist Velquist build/velquist.png

# The Windows program under Wine, in a private prefix and the Korean locale.
run-windows:
	@bash tools/install-deps.sh windows
	@bash tools/run-windows.sh velquist Velquist build/velquist-windows.png

# The gallery of controls, the same way: only its target, a screenshot when there is no display.
gallery:
	@bash tools/install-deps.sh run
	@[ -f build/normal/CMakeCache.txt ] || $(CONFIGURE_NORMAL) -DVQ_TESTS=OFF
	cmake --build build/normal -j $(JOBS) --target gallery $(if $(DISPLAY),,x11_helper)
	@bash tools/run-app.sh build/normal/gallery/gallery "Velquist Gallery" build/gallery.png

# gallery.exe under Wine.
gallery-windows:
	@bash tools/install-deps.sh windows
	@bash tools/run-windows.sh gallery "Velquist Gallery" build/gallery-windows.png

test: deps
	$(CONFIGURE_NORMAL) -DVQ_TESTS=ON >/dev/null
	@grep -qs '^CMAKE_CXX_COMPILER:.*clang++' build/asan/CMakeCache.txt || { rm -rf build/asan; \
		$(CONFIGURE_ASAN) -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null; }
	$(CONFIGURE_ASAN) >/dev/null
	cmake --build build/normal -j $(JOBS)
	cmake --build build/asan -j $(JOBS)
	cd build/normal && ctest --output-on-failure -j $(JOBS)
	cd build/asan && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
		ctest --output-on-failure -j $(JOBS)

# The gallery's monkey for a long time: the sanitizer and the optimised build at once on Xvfb with
# ibus-hangul for SOAK_MINUTES, then gallery.exe under Wine for 3 minutes of the same kind of stream.
# SOAK_SEED replays a run from the seed it printed.
soak: deps
	@grep -qs '^CMAKE_CXX_COMPILER:.*clang++' build/asan/CMakeCache.txt || { rm -rf build/asan; \
		$(CONFIGURE_ASAN) -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null; }
	$(CONFIGURE_ASAN) -DVQ_TESTS=ON >/dev/null
	$(CONFIGURE_NORMAL) -DVQ_TESTS=ON >/dev/null
	cmake --build build/asan -j $(JOBS) --target test_gallery_monkey gallery
	cmake --build build/normal -j $(JOBS) --target test_gallery_monkey gallery
	@mkdir -p build/soak
	SOAK_SECONDS=$$(( $(SOAK_MINUTES) * 60 )) bash tools/soak-linux.sh build/soak
	SOAK_SECONDS=180 bash tests/e2e-windows/gallery.sh $(CURDIR) $(CURDIR)/build/normal/windows $(CURDIR)/build/soak \
		$(CURDIR)/build/normal/tests/e2e/test_gallery_monkey || [ $$? = 77 ]

# Google Benchmark in repetitions (the summary compares medians), then the Linux programs on Xvfb: the
# application's start and idle, and the gallery from a key to the screen.
bench: build
	./build/normal/bench/velquist_bench --benchmark_min_time=0.1 --benchmark_repetitions=7
	./build/normal/bench/velquist_desktop_bench build/normal/app/velquist build/normal/bench/velquist_present_timed \
		build/normal/bench/velquist_bare_window 10 20 build/normal/gallery/gallery
	./build/normal/bench/velquist_keystroke_bench build/normal/gallery/gallery build/normal/bench/velquist_bare_keys

fuzz: deps
	cmake -S . -B build/fuzz -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" \
		-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DVQ_SANITIZE=ON -DVQ_FUZZ=ON -DVQ_WERROR=ON
	cmake --build build/fuzz -j $(JOBS)
	@for f in build/fuzz/fuzz/fuzz_*; do \
		name=$$(basename $$f); name=$${name#fuzz_}; mkdir -p build/fuzz/corpus/$$name; \
		echo "== $$name for $(FUZZ_SECONDS) s"; \
		$$f -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 build/fuzz/corpus/$$name fuzz/corpus/$$name || exit 1; \
	done

# The 32-bit Windows programs, cross-compiled with MinGW-w64: build/windows/app/velquist.exe and
# build/windows/gallery/gallery.exe.
windows: deps
	cmake -S . -B build/windows -G "$(GENERATOR)" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
		-DCMAKE_BUILD_TYPE=Release -DVQ_TESTS=OFF -DVQ_WERROR=ON
	cmake --build build/windows -j $(JOBS) --target velquist gallery

# The README's pictures, taken from the real programs by the gallery's end-to-end scenario: the Linux build
# on Xvfb and gallery.exe under Wine, both with Korean typed through ibus-hangul. Lossless, made small by optipng.
SHOTS = build/normal/tests/e2e
screenshots: deps
	$(CONFIGURE_NORMAL) -DVQ_TESTS=ON >/dev/null
	cmake --build build/normal -j $(JOBS) --target test_gallery_e2e gallery x11_helper
	rm -f $(SHOTS)/gallery-linux-loaded.png $(SHOTS)/gallery-wine-loaded.png
	cd build/normal && ctest -R '^gallery_e2e(_windows)?$$' --output-on-failure
	@mkdir -p docs
	cp $(SHOTS)/gallery-linux-loaded.png docs/gallery-linux.png
	cp $(SHOTS)/gallery-wine-loaded.png docs/gallery-windows.png
	optipng -quiet -o5 -strip all docs/gallery-linux.png docs/gallery-windows.png

format:
	find app gallery examples toolkit tools util tests bench fuzz -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	rm -rf build
