# The README's commands. Everything is cross-built into build/ and run under Wine.
BUILD := build
CMAKE_FLAGS := -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release

.PHONY: deps run-deps configure build installer test host-test fuzz run screenshot bench format clean dist

deps:
	bash scripts/deps.sh

run-deps:
	bash scripts/deps.sh --run

configure: deps
	@[ -f $(BUILD)/build.ninja ] || cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD)

# build/glimro-setup.exe: the per-user installer (NSIS), built with every build.
installer: build
	@echo "Installer: $(BUILD)/glimro-setup.exe"

# A failing test fails the run. The one retry is in scripts/wine-run.sh: a test process that
# ended with no output at all (a rare Wine start failure) runs once more, and says so.
# The plain C++ of src/core/ is first built for this machine and tested under ASan and UBSan,
# each of its fuzzers running a few seconds; then everything runs under Wine.
test: build host-test
	cd $(BUILD) && ctest --output-on-failure --timeout 120

host-test: deps
	bash scripts/host-test.sh 5

# Each fuzzer for a minute from its corpus in fuzz/corpus/ (findings land in build-host/findings/).
fuzz: deps
	bash scripts/host-test.sh 60

# glimro.exe in a Wine virtual desktop: on the user's display, or under Xvfb without one.
run: run-deps build
	bash scripts/run.sh

# Pictures of the Album Manager with a small demo album set (at 100 % and 150 %), and of an
# album's properties sheet, for the README.
screenshot: run-deps build
	cmake --build $(BUILD) --target glimro_post_message glimro_bench
	bash scripts/screenshot.sh docs/album-manager.png docs/album-sheet.png docs/album-images.png \
		docs/album-manager-150.png docs/options.png docs/album-feed.png docs/tray-recent.png \
		docs/album-manager-de.png docs/album-manager-ja.png
	bash scripts/crop-example.sh docs/fill-subject.png
	bash scripts/caption-example.sh docs/caption.png

# The figures against their bare references, then the resident's memory and its start-up,
# measured from outside in a private prefix; ends with "N of M goals met" (docs/performance.md).
# GLIMRO_BENCH_STRICT=1 fails on a missed goal; GLIMRO_BENCH_MARKDOWN=1 adds a table.
bench: configure
	cmake --build $(BUILD) --target glimro glimro_bench glimro_message_loop glimro_start_time
	bash scripts/bench.sh $(BUILD)

# What is handed out, into build/dist/: the installer, the portable zip, SHA256SUMS and the
# winget manifests for the installer at INSTALLER_URL.
INSTALLER_URL ?= https://downloads.example.com/glimro/glimro-setup.exe
dist: build
	python3 scripts/dist.py $(BUILD) $(BUILD)/dist "$(INSTALLER_URL)"

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD) build-host
