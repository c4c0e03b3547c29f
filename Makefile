# Quillet: the two commands a new user needs are `make demo` and `make test`.
SHELL := /bin/bash
JOBS ?= $(shell nproc)
CMAKE_GEN := -G Ninja

.PHONY: all build native win32 win64 test test-native test-win test-asan demo bench fuzz clean \
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

test-native: native
	ctest --test-dir build --output-on-failure -j $(JOBS)

test-win: native win32 win64
	scripts/run-wine-tests.sh

test: build
	ctest --test-dir build --output-on-failure -j $(JOBS)
	scripts/run-wine-tests.sh

test-asan: deps-base
	cmake -S . -B build-asan $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DZRT_SANITIZE=ON
	cmake --build build-asan -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
	  ctest --test-dir build-asan --output-on-failure -j $(JOBS)

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

# libFuzzer harnesses under fuzz/ (clang): FUZZ_TIME seconds each.
FUZZ_TIME ?= 60
fuzz: deps-base
	@scripts/install-deps.sh fuzz
	cmake -S fuzz -B build-fuzz $(CMAKE_GEN) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang
	cmake --build build-fuzz -j $(JOBS)
	@for f in build-fuzz/fuzz_*; do echo "== $$f"; mkdir -p build-fuzz/corpus/$$(basename $$f); \
	  $$f $(CURDIR)/build-fuzz/corpus/$$(basename $$f) -max_total_time=$(FUZZ_TIME) -max_len=4096 -timeout=10 || exit 1; done

clean:
	rm -rf build build-win32 build-win64 build-asan build-bench build-fuzz build-deps
