# Two commands do everything on a fresh Debian machine:
#   make play   install what is missing, build, generate the pictures and sounds, start the game
#   make test   the same set-up, then every test: plain, AddressSanitizer+UBSan, ThreadSanitizer
# Further targets: build, bench, fuzz, fuzz-run, clean.

JOBS      ?= $(shell nproc)
BUILD     ?= build
ASAN      ?= build-asan
TSAN      ?= build-tsan
FUZZ      ?= build-fuzz
FUZZ_SECONDS ?= 600
CMAKE_GEN := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")

.PHONY: deps build play test test-plain test-asan test-tsan bench fuzz fuzz-run clean

deps:
	@scripts/install-deps

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

play: build
	./$(BUILD)/marshwade

test-plain: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-asan: deps
	cmake -S . -B $(ASAN) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DMARSHWADE_SANITIZE=address
	cmake --build $(ASAN) -j $(JOBS)
	cd $(ASAN) && ctest --output-on-failure -j $(JOBS) -LE e2e

test-tsan: deps
	cmake -S . -B $(TSAN) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DMARSHWADE_SANITIZE=thread
	cmake --build $(TSAN) -j $(JOBS) --target threaded_tests
	cd $(TSAN) && ctest --output-on-failure -j $(JOBS) -L threaded

test: test-plain test-asan test-tsan

bench: build
	cmake --build $(BUILD) -j $(JOBS) --target benchmarks
	for b in $(BUILD)/bench/bench_*; do "$$b"; done

# libFuzzer targets, built with clang; fuzz-run runs each for FUZZ_SECONDS.
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMARSHWADE_FUZZ=ON
	cmake --build $(FUZZ) -j $(JOBS) --target fuzzers

fuzz-run: fuzz
	scripts/run-fuzzers $(FUZZ) $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD) $(ASAN) $(TSAN) $(FUZZ)
