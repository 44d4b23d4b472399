#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang (AddressSanitizer + UBSan) and runs them.
#
#   fuzz/run.sh ci                      replay every regression input, then run each harness for
#                                       GF_FUZZ_SECONDS (default 30) seconds; fails on any finding
#   fuzz/run.sh run HARNESS [ARGS...]   run one harness (dxf_reader, import, part_loader) on its seeds
#                                       and its growing corpus in build-fuzz/corpus/HARNESS, passing
#                                       ARGS to libFuzzer (e.g. -runs=5000000 or -max_total_time=3600)
#   fuzz/run.sh replay                  replay the regression inputs only
#
# Seeds: the DXF harnesses start from samples/*.dxf and the shared corpus of real drawings
# (GF_CORPUS_DIR, default ../shared/corpus beside the repository, skipped when absent), cut into small
# files by fuzz/make_seeds.py; the part loader from those drawings imported and written as rows
# (fuzz/PartRows.h), and from fuzz/seeds/part_loader/ (every pattern type, arrays with their seeds, loops). A finding is written to
# build-fuzz/findings/HARNESS/; once fixed, it belongs in fuzz/regressions/HARNESS/ for good.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${GF_FUZZ_BUILD:-$root/build-fuzz}
mode=${1:-ci}
harnesses=(dxf_reader import part_loader)

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S fuzz -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
cmake --build "$build" -j "${GF_FUZZ_JOBS:-$(nproc 2>/dev/null || echo 2)}" >/dev/null

# Leaks are findings too; each input gets at most 10 s and 2 GB.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
limits=(-timeout=10 -rss_limit_mb=2048)

# The shared corpus of real drawings sits beside the repository (or beside the folder of worktrees).
corpus_dir=${GF_CORPUS_DIR:-}
if [ -z "$corpus_dir" ]; then
    for dir in "$root/../shared/corpus" "$root/../../shared/corpus"; do
        [ -d "$dir" ] && { corpus_dir=$dir; break; }
    done
fi
seeds() {  # seeds HARNESS -> prints the seed folder
    local dir="$build/seeds/$1"
    if [ ! -d "$dir" ]; then
        local drawings=(samples/*.dxf)
        if [ -n "$corpus_dir" ]; then
            mapfile -t -O ${#drawings[@]} drawings < <(find "$corpus_dir" -name '*.dxf' | sort)
        fi
        python3 fuzz/make_seeds.py "$build/seeds/dxf" "${drawings[@]}" >/dev/null
        ASAN_OPTIONS=detect_leaks=0 "$build/gf_fuzz_seeds" "$build/seeds/part_loader" "${drawings[@]}" >/dev/null
        cp fuzz/seeds/part_loader/* "$build/seeds/part_loader/"  # every pattern type, arrays and loops
        ln -sfn dxf "$build/seeds/dxf_reader"
        ln -sfn dxf "$build/seeds/import"
    fi
    echo "$build/seeds/$1"
}

dict() {  # dict HARNESS -> libFuzzer dictionary option, if there is one
    case $1 in
        dxf_reader|import) echo "-dict=$root/fuzz/dxf.dict" ;;
        part_loader) echo "-dict=$root/fuzz/rows.dict" ;;
    esac
}

replay() {
    for h in "${harnesses[@]}"; do
        local inputs=(fuzz/regressions/$h/*)
        [ -e "${inputs[0]}" ] || continue
        echo "replaying ${#inputs[@]} regression inputs of $h"
        "$build/fuzz_$h" "${limits[@]}" "${inputs[@]}" >"$build/replay_$h.log" 2>&1 ||
            { tail -40 "$build/replay_$h.log"; echo "regression input of $h fails again"; exit 1; }
    done
}

run() {  # run HARNESS [libFuzzer args]
    local h=$1; shift
    local seed; seed=$(seeds "$h")
    mkdir -p "$build/corpus/$h" "$build/findings/$h"
    "$build/fuzz_$h" "${limits[@]}" "$(dict "$h")" -artifact_prefix="$build/findings/$h/" -print_final_stats=1 \
        "$@" "$build/corpus/$h" "$seed"
}

case $mode in
    ci)
        replay
        for h in "${harnesses[@]}"; do
            echo "fuzzing $h for ${GF_FUZZ_SECONDS:-30} s"
            # A fixed seed: every CI run tries the same inputs first, so a finding is not a matter of luck.
            run "$h" -seed=1 -max_total_time="${GF_FUZZ_SECONDS:-30}" >"$build/ci_$h.log" 2>&1 ||
                { tail -60 "$build/ci_$h.log"; echo "fuzz_$h found a problem: see $build/findings/$h/"; exit 1; }
            grep -h "stat::number_of_executed_units" "$build/ci_$h.log" || true
        done
        ;;
    run) shift; run "$@" ;;
    replay) replay ;;
    *) echo "usage: fuzz/run.sh ci | run HARNESS [libFuzzer args] | replay" >&2; exit 64 ;;
esac
