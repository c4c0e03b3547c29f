# Quillet: the two commands a new user needs are `make demo` and `make test`.
SHELL := /bin/bash
JOBS ?= $(shell nproc)
CMAKE_GEN := -G Ninja
# Where ccache is installed, compilations are cached across builds and
# checkouts (paths below the checkout count relative to it).
ifneq ($(shell command -v ccache),)
CMAKE_GEN += -DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache
export CCACHE_BASEDIR := $(CURDIR)
endif

.PHONY: all build native win32 win64 release test test-native test-win test-asan test-valgrind demo bench fuzz clean \
        deps-base deps-win deps-bench deps-plot

all: build

deps-base:
	@scripts/install-deps.sh base plot
deps-win:
	@scripts/install-deps.sh win
deps-bench:
	@scripts/install-deps.sh bench

native: deps-base
	cmake -S . -B build $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release
	cmake --build build -j $(JOBS)

win32: deps-base deps-win
	JOBS=$(JOBS) scripts/build-libjpeg.sh i686
	cmake -S . -B build-win32 $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release \
	      -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
	cmake --build build-win32 -j $(JOBS)

win64: deps-base deps-win
	JOBS=$(JOBS) scripts/build-libjpeg.sh x86_64
	cmake -S . -B build-win64 $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release \
	      -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake
	cmake --build build-win64 -j $(JOBS)

build: native win32 win64

# Release packages in dist/: a zip per architecture for Plugins Admin (or a
# copy by hand), SHA256SUMS, and each zip's entry of Notepad++'s plug-in list.
# RELEASE_URL is the address the zips are downloaded from (a placeholder when
# empty). scripts/check-release.sh checks what this writes.
RELEASE_URL ?=
release: build
	rm -rf dist
	python3 scripts/release.py --out dist --url "$(RELEASE_URL)"

test-native: native
	ctest --test-dir build --output-on-failure -j $(JOBS)

test-win: native win32 win64
	scripts/run-wine-tests.sh

# Everything CI checks: the suites native and under Wine, the same suites
# with AddressSanitizer and UndefinedBehaviorSanitizer, the golden scripts
# under valgrind, and the fuzz regression corpus with a short fuzzing smoke;
# the closing lines give each phase's result and duration.
test:
	MAKE="$(MAKE)" JOBS=$(JOBS) scripts/run-tests.sh

test-asan: deps-base
	cmake -S . -B build-asan $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DZRT_SANITIZE=ON
	cmake --build build-asan -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
	  ctest --test-dir build-asan --output-on-failure -j $(JOBS)

VALGRIND := valgrind -q --error-exitcode=97 --leak-check=full \
  --errors-for-leak-kinds=definite,indirect --show-leak-kinds=definite,indirect \
  --suppressions=$(CURDIR)/tests/valgrind.supp
test-valgrind: native
	@scripts/install-deps.sh check
	ZRT_WRAPPER="$(VALGRIND)" ctest --test-dir build --output-on-failure -j $(JOBS) -R '^golden_'

demo: native
	@scripts/demo.sh

# Every benchmark program under bench/, each writing JSON; then docs/performance.md
# with Quillet's figures, its peers' and the ratios. BENCH_REPS repetitions of
# BENCH_MIN_TIME seconds each (the report takes the median).
BENCH_MIN_TIME ?= 0.2
BENCH_REPS ?= 3
bench: deps-base deps-bench
	cmake -S . -B build-bench $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DZRT_BENCH=ON
	cmake --build build-bench -j $(JOBS)
	@rm -rf build-bench/results && mkdir -p build-bench/results
	@for b in build-bench/bench_*; do [ -f "$$b" ] && [ -x "$$b" ] || continue; echo "== $$b"; \
	  $$b --benchmark_min_time=$(BENCH_MIN_TIME) --benchmark_repetitions=$(BENCH_REPS) \
	      --benchmark_report_aggregates_only=true \
	      --benchmark_out=build-bench/results/$$(basename $$b).json --benchmark_out_format=json || exit 1; done
	python3 scripts/bench-report.py --source . --build build-bench --out docs/performance.md \
	  build-bench/results/*.json

# libFuzzer harnesses under fuzz/ (clang): the regression corpus, then
# FUZZ_SECONDS seconds of fuzzing per harness.
FUZZ_SECONDS ?= 60
fuzz: deps-base
	FUZZ_SECONDS=$(FUZZ_SECONDS) JOBS=$(JOBS) scripts/fuzz.sh

clean:
	rm -rf build build-win32 build-win64 build-asan build-bench build-fuzz build-deps
