#!/usr/bin/env bash
# Builds the offset benchmark, generates plates (default: about 100k loose pieces) and times the offset of
# every closed loop against Clipper's round-joined offset of the chorded loops, in the same run.
# Usage: bench/run_bench_offset.sh [build-dir] [sizes...]     (default size: 100000)
# Options for bench_offset (--distance D, --chord E, --repeat N) go in BENCH_ARGS.
dir="$(dirname "$0")"
build=${1:-build-bench}
shift || true
[ $# -eq 0 ] && set -- 100000
# The import's merge of duplicate pieces is quadratic today and the benchmark skips it: no duplicates.
export PLATE_ARGS="--dup-frac 0 --overlap-frac 0 ${PLATE_ARGS:-}"
exec "$dir/run_bench.sh" bench_offset "$build" "$@"
