# The README's commands. Everything is cross-built into build/ and run under Wine.
BUILD := build
CMAKE_FLAGS := -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release

.PHONY: deps configure build test bench format clean

deps:
	bash scripts/deps.sh

configure: deps
	@[ -f $(BUILD)/build.ninja ] || cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD)

test: build
	cd $(BUILD) && ctest --output-on-failure --timeout 120

bench: configure
	cmake --build $(BUILD) --target glimro_bench
	scripts/wine-run.sh $(BUILD)/glimro_bench.exe

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD)
