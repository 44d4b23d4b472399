#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the benchmarks need. Safe to run again.
set -euo pipefail
packages=(
  build-essential g++ cmake pkg-config
  libboost-dev
  libgtest-dev libgmock-dev
  libbenchmark-dev
  libsqlite3-dev
  libcairo2-dev
  libdxflib-dev
  libcli11-dev
  nlohmann-json3-dev
  python3-ezdxf
  libpolyclipping-dev
  clang libclang-rt-dev
  python3-dev pybind11-dev
  libgtk-3-dev xvfb xdotool
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq "${missing[@]}"
