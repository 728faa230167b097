# Entry points for building and testing Tb58Wk31.
#
#   make test          build and run every test this machine can run: the
#                      Linux library in-process, and the Windows DLL under
#                      Wine when MinGW-w64 and Wine are installed
#   make windows       cross-build Tb58Wk31.dll (build-windows/bin/)
#   make test-sanitize the Linux tests built with AddressSanitizer and
#                      UndefinedBehaviorSanitizer
#   make bench         the benchmarks (Release build, Google Benchmark)
#
# CMAKE_FLAGS passes options to CMake (CI uses -DTB58_WERROR=ON);
# REQUIRE_WINDOWS=1 makes a missing MinGW-w64 or Wine an error.

BUILD_DIR ?= build
WINDOWS_BUILD_DIR ?= build-windows
SANITIZE_BUILD_DIR ?= build-sanitize
BENCH_BUILD_DIR ?= build-bench
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
REQUIRE_WINDOWS ?= 0

MINGW_CXX := $(shell command -v x86_64-w64-mingw32-g++-posix || command -v x86_64-w64-mingw32-g++)
WINE := $(shell command -v wine || command -v wine64)

export WINEDEBUG ?= -all
export WINEDLLOVERRIDES ?= mscoree,mshtml=

.PHONY: all build test test-linux windows test-windows test-sanitize bench clean

all: build

build:
	cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS)
	cmake --build $(BUILD_DIR) -j $(JOBS)

test-linux: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

windows:
	cmake -S . -B $(WINDOWS_BUILD_DIR) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake $(CMAKE_FLAGS)
	cmake --build $(WINDOWS_BUILD_DIR) -j $(JOBS)

test-windows: windows
	ctest --test-dir $(WINDOWS_BUILD_DIR) --output-on-failure -j $(JOBS)

test: test-linux
ifneq ($(and $(MINGW_CXX),$(WINE)),)
	$(MAKE) test-windows
else ifeq ($(REQUIRE_WINDOWS),1)
	@echo "MinGW-w64 (g++-mingw-w64-x86-64) and Wine (wine64) are needed for the Windows tests" >&2; exit 1
else
	@echo "Windows tests skipped: install g++-mingw-w64-x86-64 and wine64 to run them"
endif

test-sanitize:
	cmake -S . -B $(SANITIZE_BUILD_DIR) -DTB58_SANITIZE=ON $(CMAKE_FLAGS)
	cmake --build $(SANITIZE_BUILD_DIR) -j $(JOBS)
	ASAN_OPTIONS=allocator_may_return_null=1:detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
		ctest --test-dir $(SANITIZE_BUILD_DIR) --output-on-failure -j $(JOBS) -E install_consumer

bench:
	cmake -S . -B $(BENCH_BUILD_DIR) -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS)
	cmake --build $(BENCH_BUILD_DIR) -j $(JOBS) --target tb58_bench
	$(BENCH_BUILD_DIR)/bench/tb58_bench

clean:
	rm -rf $(BUILD_DIR) $(WINDOWS_BUILD_DIR) $(SANITIZE_BUILD_DIR) $(BENCH_BUILD_DIR)
