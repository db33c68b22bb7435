#!/usr/bin/env bash
# Installs what is missing, builds the program and its tests for Windows with
# mingw-w64 and runs every test under Wine; builds the pure parts and their
# unit tests natively with clang and the sanitizers (native/) and runs those.
# Arguments go to both ctest runs. Exit status is non-zero when either fails.
set -euo pipefail
cd "$(dirname "$0")"
. tools/setup/ensure-packages.sh
ensure_packages

build=${QX_BUILD_DIR:-build}
native=${QX_NATIVE_BUILD_DIR:-build-native}
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$(nproc)"
cmake -S native -B "$native" -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$native" -j"$(nproc)"

status=0
(cd "$build" && ctest --output-on-failure -j"$(nproc)" "$@") || status=1
(cd "$native" && ctest --output-on-failure -j"$(nproc)" "$@") || status=1
exit "$status"
