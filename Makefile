# Entry points for building and testing Tb58Wk31.
#
#   make demo          the main job: the reference status monitor tb58mon runs
#                      a query cycle against a simulated printer (DEMO_ARGS
#                      passes options, e.g. DEMO_ARGS="--scenario maximal")
#   make test          build and run every test this machine can run: the
#                      Linux library in-process, and the Windows DLL under
#                      Wine when MinGW-w64 and Wine are installed
#   make windows       cross-build Tb58Wk31.dll (build-windows/bin/)
#   make test-sanitize the Linux tests built with AddressSanitizer and
#                      UndefinedBehaviorSanitizer
#   make test-thread   the tests of concurrent calls under ThreadSanitizer
#   make test-release  the Linux tests on an optimized build (Release, -O3):
#                      what only the optimizer brings out, e.g. warnings
#                      and the shared library's exports
#   make bench         the benchmarks (Release build, Google Benchmark; BENCH_ARGS
#                      passes options), then the heap over 100,000 monitor
#                      cycles with the C allocator's free-list caches off,
#                      the event store (tb58mon_event_bench), the snmp://
#                      path apart from the network (tb58mon_snmp_bench), then
#                      'serve' polling a simulated fleet of 1,000 printers
#                      every 5 s (bench/fleet_bench.sh): plain, with 300
#                      silent printers, under 50 HTTP clients (wrk), and
#                      1,000 printers that answer SNMP only
#   make package       the Debian packages libtb58wk31-1, libtb58wk31-dev and
#                      tb58mon (CPack; PACKAGE_BUILD_DIR/packages/)
#   make package-check build them, install them on this machine (root) and
#                      check them: lintian, the systemd unit, a caller, the
#                      man page, the purge (tools/check_packages.sh)
#   make fuzz          build the libFuzzer targets (clang) and run each for
#                      FUZZ_SECONDS (default 60) on its seed corpus
#
# make demo and make test first install the Debian packages they need
# (tools/install_packages.sh; as root, or with sudo; TB58_NO_INSTALL=1 skips).
# CMAKE_FLAGS passes options to CMake (CI uses -DTB58_WERROR=ON);
# REQUIRE_WINDOWS=1 makes a missing MinGW-w64 or Wine an error.

SHELL := /bin/bash

BUILD_DIR ?= build
WINDOWS_BUILD_DIR ?= build-windows
SANITIZE_BUILD_DIR ?= build-sanitize
BENCH_BUILD_DIR ?= build-bench
FUZZ_BUILD_DIR ?= build-fuzz
THREAD_BUILD_DIR ?= build-thread
RELEASE_BUILD_DIR ?= build-release
PACKAGE_BUILD_DIR ?= build-package
FUZZ_SECONDS ?= 60
CMAKE_FLAGS ?=
DEMO_ARGS ?=
BENCH_ARGS ?=
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
REQUIRE_WINDOWS ?= 0


export WINEDEBUG ?= -all
export WINEDLLOVERRIDES ?= mscoree,mshtml=

.PHONY: all build demo test test-linux windows test-windows test-sanitize test-thread test-release bench fuzz clean package package-check \
	packages-build packages-test

all: build

build:
	cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS)
	cmake --build $(BUILD_DIR) -j $(JOBS)

packages-build:
	@bash tools/install_packages.sh build

packages-test:
	@bash tools/install_packages.sh test

# The demo needs the library and tb58mon only: the tests are built by 'make test'.
demo: packages-build
	cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS)
	cmake --build $(BUILD_DIR) -j $(JOBS) --target tb58mon
	$(BUILD_DIR)/cli/tb58mon demo $(DEMO_ARGS)

test-linux: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

windows:
	cmake -S . -B $(WINDOWS_BUILD_DIR) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake $(CMAKE_FLAGS)
	cmake --build $(WINDOWS_BUILD_DIR) -j $(JOBS)

test-windows: windows
	ctest --test-dir $(WINDOWS_BUILD_DIR) --output-on-failure -j $(JOBS)

test: packages-test
	$(MAKE) test-linux
	@if command -v x86_64-w64-mingw32-g++ >/dev/null && { command -v wine >/dev/null || command -v wine64 >/dev/null; }; then \
		$(MAKE) test-windows; \
	elif [ "$(REQUIRE_WINDOWS)" = 1 ]; then \
		echo "MinGW-w64 (g++-mingw-w64-x86-64) and Wine (wine64) are needed for the Windows tests" >&2; exit 1; \
	else \
		echo "Windows tests skipped: install g++-mingw-w64-x86-64 and wine64 to run them"; \
	fi

test-sanitize:
	cmake -S . -B $(SANITIZE_BUILD_DIR) -DTB58_SANITIZE=ON -DTB58_BUILD_BENCHMARKS=OFF $(CMAKE_FLAGS)
	cmake --build $(SANITIZE_BUILD_DIR) -j $(JOBS)
	ASAN_OPTIONS=allocator_may_return_null=1:detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
		ctest --test-dir $(SANITIZE_BUILD_DIR) --output-on-failure -j $(JOBS) -E install_consumer

test-thread:
	cmake -S . -B $(THREAD_BUILD_DIR) -DTB58_SANITIZE_THREAD=ON -DTB58_BUILD_BENCHMARKS=OFF $(CMAKE_FLAGS)
	cmake --build $(THREAD_BUILD_DIR) -j $(JOBS) --target tb58_unit_tests tb58_api_tests
	TSAN_OPTIONS=halt_on_error=1 $(THREAD_BUILD_DIR)/tests/tb58_api_tests --gtest_filter='Concurrency*'
	TSAN_OPTIONS=halt_on_error=1 $(THREAD_BUILD_DIR)/tests/tb58_unit_tests --gtest_filter='SetLocale.*:LastError.*'

# The library's tests on an -O3 build, where the optimizer could show what a
# debug build hides.  The monitor's optimized build is the package's, which
# package-check runs; TB58_RELEASE_ALL=1 runs the whole suite here too.
test-release:
	cmake -S . -B $(RELEASE_BUILD_DIR) -DCMAKE_BUILD_TYPE=Release -DTB58_BUILD_BENCHMARKS=OFF $(CMAKE_FLAGS)
	@if [ "$(TB58_RELEASE_ALL)" = 1 ]; then \
		cmake --build $(RELEASE_BUILD_DIR) -j $(JOBS) && \
		ctest --test-dir $(RELEASE_BUILD_DIR) --output-on-failure -j $(JOBS); \
	else \
		cmake --build $(RELEASE_BUILD_DIR) -j $(JOBS) --target Tb58Wk31 tb58_unit_tests tb58_api_tests && \
		ctest --test-dir $(RELEASE_BUILD_DIR) --output-on-failure -j $(JOBS) -R '^(unit|api|exports)$$'; \
	fi

bench:
	cmake -S . -B $(BENCH_BUILD_DIR) -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS)
	cmake --build $(BENCH_BUILD_DIR) -j $(JOBS) --target tb58_bench tb58mon tb58mon_event_bench tb58mon_snmp_bench tb58mon_round_bench tb58mon_snmp_fleet
	$(BENCH_BUILD_DIR)/bench/tb58_bench --benchmark_filter=-HeapGrowth $(BENCH_ARGS)
	GLIBC_TUNABLES=glibc.malloc.tcache_count=0:glibc.malloc.mxfast=0 \
		$(BENCH_BUILD_DIR)/bench/tb58_bench --benchmark_filter=HeapGrowth
	$(BENCH_BUILD_DIR)/bench/tb58mon_event_bench
	$(BENCH_BUILD_DIR)/bench/tb58mon_snmp_bench
	$(BENCH_BUILD_DIR)/bench/tb58mon_round_bench
	PLAIN=1 bash bench/fleet_bench.sh $(BENCH_BUILD_DIR)/cli/tb58mon 1000 5 30
	PLAIN=1 SILENT=300 bash bench/fleet_bench.sh $(BENCH_BUILD_DIR)/cli/tb58mon 1000 5 30
	PLAIN=1 CLIENTS=50 bash bench/fleet_bench.sh $(BENCH_BUILD_DIR)/cli/tb58mon 1000 5 30
	SNMP=1 bash bench/fleet_bench.sh $(BENCH_BUILD_DIR)/cli/tb58mon 1000 5 30

# Debian's hardening flags on a build of its own (no tests, no benchmarks),
# installed under /usr.
package:
	@test -f $(PACKAGE_BUILD_DIR)/CMakeCache.txt || \
		CXXFLAGS="$$(dpkg-buildflags --get CXXFLAGS) $$(dpkg-buildflags --get CPPFLAGS)" \
		CFLAGS="$$(dpkg-buildflags --get CFLAGS) $$(dpkg-buildflags --get CPPFLAGS)" \
		LDFLAGS="$$(dpkg-buildflags --get LDFLAGS)" \
		cmake -S . -B $(PACKAGE_BUILD_DIR) -DCMAKE_INSTALL_PREFIX=/usr -DTB58_BUILD_TESTS=OFF \
			-DTB58_BUILD_BENCHMARKS=OFF $(CMAKE_FLAGS)
	cmake --build $(PACKAGE_BUILD_DIR) --target package -j $(JOBS)

package-check:
	CMAKE_FLAGS="$(CMAKE_FLAGS)" JOBS=$(JOBS) bash tools/check_packages.sh $(PACKAGE_BUILD_DIR)

fuzz:
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD_DIR) -DTB58_FUZZ=ON -DTB58_BUILD_TESTS=OFF \
		-DTB58_BUILD_BENCHMARKS=OFF $(CMAKE_FLAGS)
	cmake --build $(FUZZ_BUILD_DIR) -j $(JOBS) --target fuzzers
	@set -e; for fuzzer in $(FUZZ_BUILD_DIR)/fuzz/fuzz_*; do \
		name=$${fuzzer##*/fuzz_}; work=$(FUZZ_BUILD_DIR)/corpus/$$name; mkdir -p $$work fuzz/corpus/$$name; \
		echo "== fuzzing $$name for $(FUZZ_SECONDS) s"; \
		$$fuzzer -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=2048 -print_final_stats=1 \
			-artifact_prefix=$(FUZZ_BUILD_DIR)/$$name- $$work fuzz/corpus/$$name 2>&1 | tail -12; \
		test $${PIPESTATUS[0]} -eq 0; \
	done

clean:
	rm -rf $(BUILD_DIR) $(WINDOWS_BUILD_DIR) $(SANITIZE_BUILD_DIR) $(BENCH_BUILD_DIR) $(FUZZ_BUILD_DIR) \
		$(THREAD_BUILD_DIR) $(RELEASE_BUILD_DIR) $(PACKAGE_BUILD_DIR)
