#!/usr/bin/env bash
# Uses an installed geomFeature the way others will: builds the README's C++ example with find_package and
# with pkg-config, runs it and the README's Python example, all against the install prefix only.
# Usage: tests/consumer/run.sh PREFIX DXF-FILE
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
prefix=$(cd "$1" && pwd)
dxf=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The README shows these files; they must not drift apart.
readme="$here/../../README.md"
python3 - "$readme" "$here" <<'PY'
import pathlib, re, sys
readme = pathlib.Path(sys.argv[1]).read_text()
for name, lang in (("example.cpp", "cpp"), ("example.py", "python")):
    block = re.search(r"```" + lang + r"\n(.*?)```", readme, re.S)
    want = (pathlib.Path(sys.argv[2]) / name).read_text()
    if not block or block.group(1) != want:
        sys.exit(f"README.md: the {lang} example differs from tests/consumer/{name}")
PY

echo "== find_package(geomFeature CONFIG)"
cmake -S "$here" -B "$work/cmake" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$work/cmake" -j 2 >/dev/null
(cd "$work" && "$work/cmake/example" "$dxf" && test -s part.db && rm part.db)

echo "== pkg-config geomFeature-io"
export PKG_CONFIG_PATH="$prefix/lib/pkgconfig${PKG_CONFIG_PATH:+:$PKG_CONFIG_PATH}"
libdir=$(pkg-config --variable=libdir geomFeature)
# shellcheck disable=SC2046
g++ -std=c++20 -o "$work/example-pc" "$here/example.cpp" $(pkg-config --cflags --libs geomFeature-io) \
    -Wl,-rpath,"$libdir"
(cd "$work" && "$work/example-pc" "$dxf" && test -s part.db && rm part.db)

echo "== python3: import geomfeature from the prefix"
pydir=$(ls -d "$prefix"/lib/python3*/dist-packages)
(cd "$work" && env -u PYTHONPATH PYTHONPATH="$pydir" python3 -c \
    'import geomfeature, sys; assert geomfeature.__file__.startswith(sys.argv[1]), geomfeature.__file__' "$prefix")
(cd "$work" && PYTHONPATH="$pydir" python3 "$here/example.py" "$dxf" && test -s part.db)
