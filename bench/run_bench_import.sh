#!/usr/bin/env bash
# The import benchmark: generates plates of about 10k, 100k and 1M pieces with bench/gen_plate.py (seed 1,
# kept between runs), imports each with bench_import and prints a table: the time of reading the DXF with
# dxflib alone, the time of each stage (the project's reader, the pipeline's stages, the save), the total,
# the peak memory, the ratio total / read-alone, whether the counts match the generator's manifest, and the
# verdict on the targets (100k: within 1.5x read-alone and under 150 MB; 1M: within 2x, and the total
# growing no faster than n^1.15 from 100k to 1M).
#
# Times are processor seconds of the benchmark process (the machine may be shared: wall-clock times are
# noisier and are shown for the total only). With REPEAT=n each plate is imported n times and the run with
# the least processor time is shown.
#
# Usage: bench/run_bench_import.sh [build-dir] [sizes...]     (default: build-bench 10000 100000 1000000)
#        PLATES=dir  where generated plates are kept (default: <build-dir>/plates)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-bench}
shift || true
sizes=("$@")
[ ${#sizes[@]} -eq 0 ] && sizes=(10000 100000 1000000)
repeat=${REPEAT:-1}
plates=${PLATES:-$build/plates}

bash scripts/install-deps.sh
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DGF_BUILD_TESTS=OFF -DGF_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j2 --target bench_import >/dev/null
mkdir -p "$plates"

results=()
for n in "${sizes[@]}"; do
  prefix="$plates/plate_$n"
  if [ ! -f "$prefix.dxf" ] || [ ! -f "$prefix.json" ]; then
    echo "generating $prefix.dxf ..." >&2
    /usr/bin/python3 bench/gen_plate.py --segments "$n" --seed 1 --out "$prefix" >/dev/null
  fi
  echo "importing $prefix.dxf ..." >&2
  runs=()
  for ((r = 0; r < repeat; r++)); do
    line=$("$build/bench/bench_import" "$prefix.dxf" "$prefix.json" || true)
    [ -z "$line" ] && { echo "bench_import failed on $prefix.dxf" >&2; exit 1; }
    runs+=("$line")
  done
  # The run with the least processor time.
  best=$(printf '%s\n' "${runs[@]}" |
    awk '{for (i = 1; i <= NF; i++) if ($i ~ /^total_cpu=/) { split($i, a, "="); print a[2] "\t" $0 }}' |
    sort -g | head -1 | cut -f2-)
  results+=("$n $best")
done

printf '%s\n' "${results[@]}" | /usr/bin/python3 -c '
import math, sys
rows = []
for line in sys.stdin.read().splitlines():
    name, rest = line.split(" ", 1)
    d = dict(kv.split("=", 1) for kv in rest.split())
    d["plate"] = name
    rows.append(d)
stages = ["read_alone", "read", "merge", "tiny", "loops", "orient", "recognise", "nesting", "save"]
head = ["plate", "pieces"] + stages + ["total", "ratio", "wall", "wall ratio", "peak MB", "after read", "silence", "manifest"]
table = []
for d in rows:
    cpu = lambda k: float(d.get(k + "_cpu", "nan"))
    ratio = cpu("total") / cpu("read_alone")
    wall = float(d["total"]) / float(d["read_alone"])
    d["ratio"] = ratio
    table.append([d["plate"], d["pieces"]] + ["%.3f" % cpu(s) for s in stages] +
                 ["%.3f" % cpu("total"), "%.2f" % ratio, "%.3f" % float(d["total"]), "%.2f" % wall,
                  d["peak_mb"], d.get("peak_after_read_mb", "-"), d.get("longest_silence_cpu", "-"), d.get("manifest", "-")])
widths = [max(len(str(r[i])) for r in table + [head]) for i in range(len(head))]
print("processor seconds per stage (read_alone: dxflib alone; read: the project reader; then the pipeline; save);")
print("wall: wall-clock seconds of the whole import; after read: peak MB of the pipeline and save; silence: longest")
print("gap in processor seconds between two progress reports of the pipeline and save")
for r in [head] + table:
    print("  ".join(str(c).rjust(w) for c, w in zip(r, widths)))
by = {int(d["plate"]): d for d in rows}
verdicts = []
if 100000 in by:
    d = by[100000]
    verdicts.append("100k: ratio %.2f (target <= 1.5): %s; peak %s MB (target < 150): %s" % (
        d["ratio"], "met" if d["ratio"] <= 1.5 else "NOT met", d["peak_mb"],
        "met" if float(d["peak_mb"]) < 150 else "NOT met"))
if 1000000 in by:
    d = by[1000000]
    verdicts.append("1M: ratio %.2f (target <= 2): %s" % (d["ratio"], "met" if d["ratio"] <= 2 else "NOT met"))
    if 100000 in by:
        a, b = by[100000], by[1000000]
        e = math.log(float(b["total_cpu"]) / float(a["total_cpu"])) / math.log(float(b["pieces"]) / float(a["pieces"]))
        verdicts.append("growth 100k -> 1M: n^%.3f (target <= 1.15): %s" % (e, "met" if e <= 1.15 else "NOT met"))
for v in verdicts:
    print(v)
'
