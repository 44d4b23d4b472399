#!/usr/bin/env bash
# Installs dependencies, builds the geomfeature program, imports the bundled bracket (a plate with an
# outer contour and one of every standard hole, drawn as loose lines and arcs), prints the part's summary
# and draws it to a PNG.
# Usage: scripts/demo.sh [DXF file]      (default: samples/bracket.dxf)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs" --target geomfeature >/dev/null
input=${1:-samples/bracket.dxf}
name=$(basename "${input%.*}")
mkdir -p build/demo
./build/apps/geomfeature import "$input" -o "build/demo/$name.db" --force --tree
./build/apps/geomfeature render "build/demo/$name.db" -o "build/demo/$name.png" --force >/dev/null
echo "part database: $(pwd)/build/demo/$name.db"
echo "picture: $(pwd)/build/demo/$name.png"
