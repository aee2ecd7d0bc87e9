# The README's two commands: `make run` and `make test`.
BUILD_DIR ?= build
GENERATOR ?= Ninja
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps configure build run test clean sanitize-test

all: build

deps:
	@bash scripts/install-deps

$(BUILD_DIR)/build.ninja $(BUILD_DIR)/Makefile: CMakeLists.txt | deps
	cmake -S . -B $(BUILD_DIR) -G $(GENERATOR) $(CMAKE_FLAGS)

configure: deps
	cmake -S . -B $(BUILD_DIR) -G $(GENERATOR) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	$(BUILD_DIR)/app/Clipwright

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The engine's tests under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize-test: deps
	cmake -S . -B build-asan -G $(GENERATOR) -DCLIPWRIGHT_SANITIZE=ON -DCLIPWRIGHT_ENGINE_ONLY=ON
	cmake --build build-asan -j $(JOBS)
	cd build-asan && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) -L engine

clean:
	rm -rf $(BUILD_DIR) build-asan
