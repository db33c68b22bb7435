#!/usr/bin/env bash
# Gammu, a real AT client, against modem_server.exe as docs/modem.md shows:
# socat makes a pty of the server's TCP port, a gammurc names it. getsmsc,
# setsmsc and getsmsc again each succeed, and the card holds the address set.
#
#   gammu_test.sh      (QX_BUILD_DIR: the build; QX_WINEPREFIX: the tests' prefix)
set -uo pipefail
top=$(cd "$(dirname "$0")/../../.." && pwd)
build=$(cd "${QX_BUILD_DIR:?the build folder}" && pwd)
for tool in gammu socat; do
    command -v "$tool" >/dev/null || { echo "FAIL: no $tool (tools/setup/ensure-packages.sh installs it)"; exit 1; }
done
work=$(mktemp -d "${TMPDIR:-/tmp}/qx-gammu.XXXXXX")
server=0 bridge=0
finish() {
    [ "$bridge" -ne 0 ] && kill "$bridge" 2>/dev/null
    [ "$server" -ne 0 ] && kill "$server" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap finish EXIT

failed=0
fail() {
    echo "FAIL: $*"
    failed=1
}

# The server on a free port, for one connection; the first run may make the prefix.
cp "$top/devices/default-simcard.txt" "$work/card.txt"
"$top/cmake/wine-run.sh" "$build/bin/modem_server.exe" --card "Z:$work/card.txt" \
    --port-file "Z:$work/port.txt" --idle 30000 --once >"$work/server.log" 2>&1 </dev/null &
server=$!
for _ in $(seq 600); do [ -s "$work/port.txt" ] && break; sleep 0.1; done
port=$(tr -dc 0-9 <"$work/port.txt" 2>/dev/null)
[ -n "$port" ] || { echo "FAIL: the server did not come up"; cat "$work/server.log"; exit 1; }

socat pty,link="$work/modem",raw,echo=0 "tcp:127.0.0.1:$port" 2>"$work/socat.log" &
bridge=$!
for _ in $(seq 100); do [ -e "$work/modem" ] && break; sleep 0.1; done
printf '[gammu]\ndevice = %s\nconnection = at\nlogfile = %s\nlogformat = textall\n' \
    "$work/modem" "$work/gammu.log" >"$work/gammurc"

# gammu ARGS...: one run; its output in $work/out, a failure shown with the
# end of Gammu's log.
gammu_run() {
    timeout 60 gammu -c "$work/gammurc" "$@" >"$work/out" 2>&1
    local rc=$?
    if [ "$rc" -ne 0 ]; then
        fail "gammu $* exited $rc: $(tr '\n' ' ' <"$work/out")"
        grep -a '^[0-9] "' "$work/gammu.log" | tail -n 8 | sed 's/^/    /'
    fi
}
number_is() {
    grep -q "^Number *: \"$1\"" "$work/out" || fail "gammu showed no number $1: $(tr '\n' ' ' <"$work/out")"
}

gammu_run getsmsc 1
number_is "+441234567890"
gammu_run setsmsc 1 +447700900555
gammu_run getsmsc 1
number_is "+447700900555"
grep -qx 'smsc +447700900555 145' "$work/card.txt" || fail "the card has: $(grep smsc "$work/card.txt")"

# The server ends with its one connection.
kill "$bridge" 2>/dev/null
for _ in $(seq 100); do kill -0 "$server" 2>/dev/null || break; sleep 0.1; done
kill -0 "$server" 2>/dev/null && fail "the server did not stop when its connection closed"

[ "$failed" -eq 0 ] && echo "PASS: gammu getsmsc, setsmsc, getsmsc against modem_server"
exit "$failed"
