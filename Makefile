# Convenience wrapper around CMake. `make demo` and `make test` are the two
# commands; both install missing build dependencies first.

JOBS      ?= $(shell nproc 2>/dev/null || echo 2)
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")
FUZZ_SECONDS ?= 20

.PHONY: all deps demo build test bench fuzz fuzz-smoke format clean

all: build

deps:
	@scripts/install-deps.sh

build/CMakeCache.txt:
	@$(MAKE) --no-print-directory deps
	cmake -S . -B build $(GENERATOR) -DCMAKE_BUILD_TYPE=Release

build: build/CMakeCache.txt
	cmake --build build -j $(JOBS)

demo: deps build
	@mkdir -p build/demo-snapshots
	GLINT_SNAPSHOT_DIR=build/demo-snapshots build/bin/glintscr examples/demo.gs
	@if [ -f build/demo-trace.txt ]; then echo "--- build/demo-trace.txt"; cat build/demo-trace.txt; fi
	@echo "--- examples/menu.gs (click a button or press 1, 2 or q; headless it ends by itself)"
	GLINT_SNAPSHOT_DIR=build/demo-snapshots build/bin/glintscr examples/menu.gs
	@if [ -f build/menu-trace.txt ]; then echo "--- build/menu-trace.txt"; cat build/menu-trace.txt; fi

# Sanitized build of everything, then the whole suite.
test: deps
	cmake -S . -B build-asan $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DGLINT_SANITIZE=ON -DGLINT_BENCH=OFF
	cmake --build build-asan -j $(JOBS)
	cd build-asan && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS)

bench: deps build
	build/bin/glint_bench

fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B build-fuzz $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGLINT_FUZZ=ON
	cmake --build build-fuzz -j $(JOBS)

# Each fuzz target for a short bounded time on its seed corpus.
fuzz-smoke: fuzz
	FUZZ_SECONDS=$(FUZZ_SECONDS) scripts/fuzz-smoke.sh

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build build-asan build-fuzz
