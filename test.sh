#!/usr/bin/env bash
# Installs what is missing, builds the program and its tests for Windows with
# mingw-w64, and runs every test under Wine. Exit status is ctest's.
set -euo pipefail
cd "$(dirname "$0")"
. tools/setup/ensure-packages.sh
ensure_packages

build=${QX_BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$(nproc)"
cd "$build"
exec ctest --output-on-failure -j"$(nproc)" "$@"
