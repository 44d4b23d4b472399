#!/usr/bin/env bash
# Builds the loop benchmark, generates plates of about 1k, 10k and 100k loose pieces (deterministic) and
# prints the time of every stage of the import pipeline for each.
# Usage: bench/run_bench_loops.sh [build-dir] [sizes...]     (default sizes: 1000 10000 100000)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-bench}
shift || true
sizes=("$@")
[ ${#sizes[@]} -eq 0 ] && sizes=(1000 10000 100000)
bash scripts/install-deps.sh
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DGF_BUILD_TESTS=OFF -DGF_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target bench_loops
mkdir -p "$build/plates"
plates=()
for n in "${sizes[@]}"; do
  /usr/bin/python3 bench/gen_plate.py --segments "$n" --seed 1 --out "$build/plates/plate_$n" --no-dxf >/dev/null
  plates+=("$build/plates/plate_$n.txt")
done
"$build/bench/bench_loops" "${plates[@]}"
