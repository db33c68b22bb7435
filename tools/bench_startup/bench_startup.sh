#!/usr/bin/env bash
# Start-up benchmark on an emulated phone: the settings program against a bare
# full-screen window (bench_floor.exe), started alternately on the same device
# and desktop, first on the Xvfb "Phone" desktop as run.sh makes it, then with
# Wine's headless null driver. Usage:
#
#   tools/bench_startup/bench_startup.sh [--profile NAME] [--driver x11|null|both] [--cpu N|all]
#                                        [--before EXE] [--no-build] [COUNT] [-- BENCH_OPTION...]
#
# --before EXE: an earlier build of the program, started in every round
# between the floor and this build, for a before-and-after in one run.
# COUNT pairs (default 15) after bench_startup.exe's warm-up; options after --
# go to bench_startup.exe (--each prints every pair, --warm-up N, --settle MS,
# --traces DIR). The device is run.sh's (build/devices/NAME): run.sh makes or
# updates it first, with its radio on, and takes one screenshot, so the program
# is known to come up there. The phone's shell stand-ins (status bar, phone
# application) run beside both programs, as on the device.
#
# The whole device (Wine's server, Xvfb, the stand-ins, both programs) runs on
# one CPU, N (default 0), as on the phone's one core. Left to the scheduler
# (--cpu all) each start lands bimodally: on this kind of VM waking a process
# on the other CPU costs tens of microseconds, and a start makes thousands of
# round trips to Wine's server.
set -euo pipefail
self=$(cd "$(dirname "$0")" && pwd)/$(basename "$0")
top=$(cd "$(dirname "$0")/../.." && pwd)
cd "$top"

profile=vga driver=both cpu=0 build_opt="" count=15 bench_opts=() before=""
while [ $# -gt 0 ]; do
    case $1 in
        --profile) profile=${2:?--profile needs a name}; shift 2 ;;
        --driver) driver=${2:?--driver needs x11, null or both}; shift 2 ;;
        --cpu) cpu=${2:?--cpu needs a CPU number or all}; shift 2 ;;
        --no-build) build_opt=--no-build; shift ;;
        --before) before=${2:?--before needs a program}; shift 2 ;;
        -h|--help) sed -n '2,24p' "$self" | sed 's/^# \{0,1\}//'; exit 0 ;;
        [0-9]*) count=$1; shift ;;
        --) shift; bench_opts=("$@"); break ;;
        *) echo "bench_startup.sh: unknown option '$1' (see --help)" >&2; exit 2 ;;
    esac
done
case $driver in x11|null|both) ;; *) echo "bench_startup.sh: --driver takes x11, null or both" >&2; exit 2 ;; esac
if [ "$cpu" != all ] && ! taskset -c "$cpu" true 2>/dev/null; then
    echo "bench_startup.sh: --cpu takes all or one of this machine's CPUs (0-$(($(nproc) - 1))), not '$cpu'" >&2
    exit 2
fi

build=${QX_BUILD_DIR:-build}
out=$build/bench-startup
mkdir -p "$out"
./run.sh --profile "$profile" --radio on $build_opt --screenshot "$out/check-$profile.png" >"$out/run.log" 2>&1 ||
    { tail -n 3 "$out/run.log" >&2; echo "bench_startup.sh: run.sh failed; its output is in $out/run.log" >&2; exit 1; }

# From here on everything this script starts runs on the chosen CPU; run.sh
# has stopped the device, so Wine's server starts again here, on it too.
[ "$cpu" = all ] || taskset -cp "$cpu" $$ >/dev/null

export WINEPREFIX=$(cd "$build/devices/$profile" && pwd) WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
windir=$WINEPREFIX/drive_c/windows
cp "$build/bin/bench_floor.exe" "$build/bin/bench_startup.exe" "$windir/"
if [ -n "$before" ]; then
    cp "$before" "$windir/QXBeforeBuild.exe"
    bench_opts=(--before 'C:\windows\QXBeforeBuild.exe' "${bench_opts[@]}")
fi
size=$(sed -n 's/^; screen=//p' "devices/profiles/$profile.reg")
width=${size%x*} height=${size#*x}

xvfb_pid=""
stop_device() {
    /usr/lib/wine/wineserver -k 2>/dev/null || true
    /usr/lib/wine/wineserver -w 2>/dev/null || true
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=""
}
set_graphics() {
    printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Wine\\Drivers]\n"Graphics"="%s"\n' "$1" >"$WINEPREFIX/bench-graphics.reg"
    "$wine" regedit /S "$WINEPREFIX/bench-graphics.reg" </dev/null >/dev/null 2>&1
    /usr/lib/wine/wineserver -w
}
# run.sh leaves the device on x11; so does this script.
trap 'stop_device; set_graphics x11' EXIT

bench() {
    local drv=$1
    stop_device
    set_graphics "$drv"
    if [ "$drv" = x11 ]; then
        # The device's screen as run.sh makes it: Xvfb at the profile's size, and
        # a second screen of the turned size.
        rm -f "$WINEPREFIX/xvfb.display"
        Xvfb -displayfd 3 -screen 0 "${width}x${height}x24" -screen 1 "${height}x${width}x24" +xinerama -nolisten tcp \
            3>"$WINEPREFIX/xvfb.display" >/dev/null 2>&1 &
        xvfb_pid=$!
        for _ in $(seq 100); do [ -s "$WINEPREFIX/xvfb.display" ] && break; sleep 0.1; done
        [ -s "$WINEPREFIX/xvfb.display" ] || { echo "bench_startup.sh: Xvfb did not start" >&2; exit 1; }
        export DISPLAY=":$(head -n 1 "$WINEPREFIX/xvfb.display")"
    else
        unset DISPLAY
    fi
    "$wine" 'C:\windows\statusbar.exe' </dev/null >/dev/null 2>>"$out/shell.log" &
    "$wine" 'C:\windows\phoneapp.exe' </dev/null >/dev/null 2>>"$out/shell.log" &
    "$wine" 'C:\windows\devicectl.exe' wait-shell 60 </dev/null >/dev/null 2>&1 ||
        { echo "bench_startup.sh: the phone's shell did not come up ($drv)" >&2; exit 1; }
    echo "== $profile, $drv, CPU $cpu, $(date '+%Y-%m-%d %H:%M'), $(nproc --all) cores ($(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)), load average $(cut -d' ' -f1-3 /proc/loadavg)"
    "$wine" 'C:\windows\bench_startup.exe' "$count" "${bench_opts[@]}" </dev/null 2>&1 | tr -d '\r' || status=1
}

# 1 when a start failed (the bench says which); the other driver still runs.
status=0
[ "$driver" = null ] || bench x11
[ "$driver" = x11 ] || bench null
exit $status
