#!/usr/bin/env bash
# Installs dependencies, builds the programs and runs the demonstration on a few lines and arcs.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs" --target gf_demo
./build/apps/gf_demo "$@"
