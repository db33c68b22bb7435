#!/usr/bin/env bash
# Runs a Windows program under Wine in the build's own headless prefix.
# Used by CTest as the cross-compiling emulator.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
: "${QX_WINEPREFIX:=${TMPDIR:-/tmp}/qx-wineprefix}"
export WINEPREFIX=$QX_WINEPREFIX WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64

if [ ! -f "$WINEPREFIX/.qx-ready" ]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        if [ ! -f "$WINEPREFIX/.qx-ready" ]; then
            "$wine" wineboot -i </dev/null >/dev/null 2>&1 || true
            "$wine" regedit /S "Z:$here/test-prefix.reg" </dev/null >/dev/null 2>&1
            /usr/lib/wine/wineserver -w
            touch "$WINEPREFIX/.qx-ready"
        fi
    ) 9>"$WINEPREFIX.lock"
fi

# Wine's services must not inherit the test's output pipe, or ctest waits on them.
"$wine" cmd /c exit </dev/null >/dev/null 2>&1 || true
exec "$wine" "$@"
