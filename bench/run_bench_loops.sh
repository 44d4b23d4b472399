#!/usr/bin/env bash
# Builds the loop benchmark, generates plates of about 1k, 10k and 100k loose pieces (deterministic) and
# prints the time of every stage of the import pipeline for each.
# Usage: bench/run_bench_loops.sh [build-dir] [sizes...]     (default sizes: 1000 10000 100000)
exec "$(dirname "$0")/run_bench.sh" bench_loops "$@"
