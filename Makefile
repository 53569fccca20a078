# Two commands do everything on a fresh Debian machine:
#   make play   install what is missing, build, generate the pictures and sounds, start the game
#   make serve  the same, then the score server on 127.0.0.1:8080 (SQLite in the build folder)
#   make test   the same set-up, then every test: plain, AddressSanitizer+UBSan, ThreadSanitizer
# Further targets: build, install, package, package-test, bench, soak, fuzz, fuzz-run, clean.
#   make install [PREFIX=/usr/local] [DESTDIR=...]   the game, its data, desktop entry, icons, manual
#   make package        the Debian package, built with Debian's compiler and hardening flags
#   make package-test   the package's contents, dependencies and installed program, and a second
#                       build of it that must give the same files

JOBS      ?= $(shell nproc)
BUILD     ?= build
ASAN      ?= build-asan
TSAN      ?= build-tsan
FUZZ      ?= build-fuzz
FUZZ_SECONDS ?= 600
SOAK_STEPS ?= 1000000
SOAK_SEED ?= 1
# The score server's soak: publishes sent (a quarter of them distinct) before the boards are checked.
PUBLISH_SOAK_COUNT ?= 1000000
PACKAGE   ?= build-package
PREFIX    ?= /usr/local
# Packages carry the time of the commit they were built from, not the time of the build.
SOURCE_DATE_EPOCH ?= $(shell git log -1 --format=%ct 2>/dev/null || echo 0)
export SOURCE_DATE_EPOCH
CMAKE_GEN := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")

.PHONY: deps build play serve install package package-test test test-plain test-asan test-tsan bench soak fuzz fuzz-run clean

deps:
	@scripts/install-deps

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

play: build
	./$(BUILD)/marshwade

# The score server on 127.0.0.1:8080 with an SQLite file in the build folder; the game's Publish
# reaches it once its INI has the [Links] line printed at start.
serve: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) --target marshwade-scores game_assets
	./$(BUILD)/marshwade-scores --listen 127.0.0.1:8080 --database sqlite:$(BUILD)/marshwade-scores.db

install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# As Debian builds packages: the distribution's flags (CMake does not read CPPFLAGS, so they join the
# compiler flags), no build-type flags of our own, no tests.
package: deps
	scripts/build-package $(PACKAGE)

package-test: package
	scripts/package-test $(PACKAGE) $(BUILD)

# The project's own test builds turn warnings into errors; no other build does.
test-plain: deps
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMARSHWADE_WERROR=ON
	cmake --build $(BUILD) -j $(JOBS)
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-asan: deps
	cmake -S . -B $(ASAN) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DMARSHWADE_SANITIZE=address -DMARSHWADE_WERROR=ON
	cmake --build $(ASAN) -j $(JOBS)
	cd $(ASAN) && ctest --output-on-failure -j $(JOBS) -LE e2e

test-tsan: deps
	cmake -S . -B $(TSAN) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DMARSHWADE_SANITIZE=thread -DMARSHWADE_WERROR=ON
	cmake --build $(TSAN) -j $(JOBS) --target threaded_tests
	cd $(TSAN) && ctest --output-on-failure -j $(JOBS) -L threaded

test: test-plain test-asan test-tsan

# The score server's benchmark runs once more against a throw-away PostgreSQL cluster.
bench: build
	cmake --build $(BUILD) -j $(JOBS) --target benchmarks
	for b in $(BUILD)/bench/bench_*; do "$$b"; done
	pg_virtualenv env MARSHWADE_BENCH_DATABASE=postgresql:// $(BUILD)/bench/bench_server

# The long soak: SOAK_STEPS frame steps of the real game, headless, under seeded random input, every
# invariant checked after every step (a short soak runs in `make test`). A failure names its seed and
# step; SOAK_SEED=<seed> SOAK_STEPS=<step> plays the same game up to it again.
soak: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) --target soak_test
	MARSHWADE_SOAK_STEPS=$(SOAK_STEPS) MARSHWADE_SOAK_SEED=$(SOAK_SEED) \
		$(BUILD)/tests/soak/soak_test --gtest_filter='*OnRequest*'
	cmake --build $(BUILD) -j $(JOBS) --target publish_soak_test
	MARSHWADE_PUBLISH_SOAK_COUNT=$(PUBLISH_SOAK_COUNT) MARSHWADE_PUBLISH_SOAK_SEED=$(SOAK_SEED) \
		$(BUILD)/tests/server/publish_soak_test

# libFuzzer targets, built with clang; fuzz-run runs each for FUZZ_SECONDS.
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMARSHWADE_FUZZ=ON
	cmake --build $(FUZZ) -j $(JOBS) --target fuzzers

fuzz-run: fuzz
	scripts/run-fuzzers $(FUZZ) $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD) $(ASAN) $(TSAN) $(FUZZ) $(PACKAGE) $(PACKAGE)-again
