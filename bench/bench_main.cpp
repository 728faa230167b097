// The benchmark program: every bench/*_bench.cpp registers its benchmarks.
#include <benchmark/benchmark.h>

BENCHMARK_MAIN();
