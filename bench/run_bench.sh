#!/usr/bin/env bash
# Builds one benchmark program, generates plates of loose pieces (deterministic, bench/gen_plate.py) and
# runs the program on them.
# Usage: bench/run_bench.sh PROGRAM [build-dir] [sizes...]      (PROGRAM: bench_import, bench_offset, ...)
# Extra options for the program go in BENCH_ARGS, extra options for the generator in PLATE_ARGS.
set -euo pipefail
cd "$(dirname "$0")/.."
program=$1
shift
build=${1:-build-bench}
shift || true
sizes=("$@")
[ ${#sizes[@]} -eq 0 ] && sizes=(1000 10000 100000)
bash scripts/install-deps.sh
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DGF_BUILD_TESTS=OFF -DGF_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target "$program"
mkdir -p "$build/plates"
plates=()
for n in "${sizes[@]}"; do
  # shellcheck disable=SC2086
  /usr/bin/python3 bench/gen_plate.py --segments "$n" --seed 1 --out "$build/plates/plate_$n" --no-dxf ${PLATE_ARGS:-} >/dev/null
  plates+=("$build/plates/plate_$n.txt")
done
# shellcheck disable=SC2086
"$build/bench/$program" ${BENCH_ARGS:-} "${plates[@]}"
