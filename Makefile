# The README's two commands: `make run` and `make test`.
BUILD_DIR ?= build
GENERATOR ?= Ninja
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps configure build run test clean sanitize-test tsan-test fuzz

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

# Every test program under AddressSanitizer, UndefinedBehaviorSanitizer and LeakSanitizer. Leaks inside the
# codecs' own code are suppressed by library name in tests/lsan.supp (what Qt allocates at start-up is still
# reachable at exit and needs none); any other report fails its test.
SANITIZE_ENV = QT_QPA_PLATFORM=offscreen \
	ASAN_OPTIONS="detect_leaks=1" \
	LSAN_OPTIONS="suppressions=$(CURDIR)/tests/lsan.supp print_suppressions=0" \
	UBSAN_OPTIONS="print_stacktrace=1 halt_on_error=1"
sanitize-test: deps
	cmake -S . -B build-asan -G $(GENERATOR) -DCLIPWRIGHT_SANITIZE=ON -DCLIPWRIGHT_ENGINE_ONLY=OFF
	cmake --build build-asan -j $(JOBS)
	cd build-asan && $(SANITIZE_ENV) ctest --output-on-failure -j $(JOBS)

# The engine's tests under ThreadSanitizer (on demand, not in CI).
tsan-test: deps
	cmake -S . -B build-tsan -G $(GENERATOR) -DCLIPWRIGHT_SANITIZE_THREAD=ON -DCLIPWRIGHT_ENGINE_ONLY=ON
	cmake --build build-tsan -j $(JOBS)
	cd build-tsan && QT_QPA_PLATFORM=offscreen TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$(CURDIR)/tests/tsan.supp" \
		ctest --output-on-failure -j $(JOBS) -L engine

# The fuzz targets (libFuzzer, clang) for FUZZ_SECONDS each (on demand, not in CI); crashes land in build-fuzz/.
FUZZ_SECONDS ?= 60
fuzz:
	@bash scripts/install-deps --fuzz
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -G $(GENERATOR) -DCLIPWRIGHT_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build build-fuzz -j $(JOBS) --target fuzz_profile_reader fuzz_strings_table fuzz_media_open
	mkdir -p build-fuzz/corpus/fuzz_profile_reader build-fuzz/corpus/fuzz_strings_table build-fuzz/corpus/fuzz_media_open
	cp Settings.bundle/functionFolder/*/*.pf build-fuzz/corpus/fuzz_profile_reader/
	cp Settings.bundle/en.lproj/Main.strings build-fuzz/corpus/fuzz_strings_table/
	ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=size=64x48:rate=10:duration=0.3 -f lavfi -i sine=duration=0.3 \
		-c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -shortest build-fuzz/corpus/fuzz_media_open/seed.mp4
	cd build-fuzz && for t in fuzz_profile_reader fuzz_strings_table fuzz_media_open; do \
		QT_QPA_PLATFORM=offscreen ./tests/fuzz/$$t -max_total_time=$(FUZZ_SECONDS) -max_len=65536 -timeout=20 \
			corpus/$$t || exit 1; done

clean:
	rm -rf $(BUILD_DIR) build-asan build-tsan build-fuzz
