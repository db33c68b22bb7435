#!/usr/bin/env bash
# Builds the program if needed, creates or updates an emulated device (a Wine
# prefix seeded from a device profile) and starts the program on it.
#
#   ./run.sh [--profile NAME] [--device DIR] [--radio on|off|flight] [--screenshot FILE]
#
# Profiles: devices/profiles/*.reg (vga, vga-l, qvga, qvga-l, hvga, hvga-l,
# wvga, wvga-l). --radio sets the radio line of the device's SIM card before
# the start (off: the program asks to switch the phone on; flight: it hands
# over to the control panel). With a DISPLAY the device's screen opens as a
# window; without one it runs under Xvfb, where only --screenshot makes sense.
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
cd "$top"

profile=vga device="" screenshot="" radio=""
while [ $# -gt 0 ]; do
    case $1 in
        --profile) profile=$2; shift 2 ;;
        --device) device=$2; shift 2 ;;
        --screenshot) screenshot=$2; shift 2 ;;
        --radio) radio=$2; shift 2 ;;
        -h|--help) sed -n '2,13p' "$0"; exit 0 ;;
        *) echo "run.sh: unknown option $1" >&2; exit 2 ;;
    esac
done

case $radio in
    ""|on|off|flight) ;;
    *) echo "run.sh: --radio takes on, off or flight" >&2; exit 2 ;;
esac

profile_reg=devices/profiles/$profile.reg
[ -f "$profile_reg" ] || { echo "run.sh: no profile '$profile' (see devices/profiles)" >&2; exit 2; }
size=$(sed -n 's/^; screen=//p' "$profile_reg")
width=${size%x*} height=${size#*x}
if [ -z "${DISPLAY:-}" ] && [ -z "$screenshot" ]; then
    echo "run.sh: no DISPLAY: the device runs headless, so give --screenshot FILE" >&2
    exit 2
fi

. tools/setup/ensure-packages.sh
ensure_packages

build=${QX_BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$(nproc)" >&2

device=${device:-$build/devices/$profile}
mkdir -p "$device"
export WINEPREFIX=$(cd "$device" && pwd) WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64

# A run still going on this device would hold its files.
/usr/lib/wine/wineserver -k 2>/dev/null || true

# A new device boots headless first, so Wine's first-run window never shows.
if [ ! -f "$WINEPREFIX/.qx-device" ]; then
    echo "run.sh: creating device $WINEPREFIX" >&2
    printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Wine\\Drivers]\n"Graphics"="null"\n' > "$WINEPREFIX/null.reg"
    "$wine" wineboot -i </dev/null >/dev/null 2>&1 || true
    "$wine" regedit /S "$WINEPREFIX/null.reg" </dev/null >/dev/null 2>&1
    /usr/lib/wine/wineserver -w
    touch "$WINEPREFIX/.qx-device"
fi

# Profile and program files, every run: the device follows the build.
"$wine" regedit /S "Z:$top/devices/common.reg" </dev/null >/dev/null 2>&1
"$wine" regedit /S "Z:$top/$profile_reg" </dev/null >/dev/null 2>&1
printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Wine\\Drivers]\n"Graphics"="x11"\n' > "$WINEPREFIX/x11.reg"
"$wine" regedit /S "$WINEPREFIX/x11.reg" </dev/null >/dev/null 2>&1
/usr/lib/wine/wineserver -w

windir=$WINEPREFIX/drive_c/windows
portrait=$([ "$width" -gt "$height" ] && echo "${height}x${width}" || echo "${width}x${height}")
cp skins/"$portrait"/*.png "$windir/"
for f in "$build"/bin/*.dll; do [ -e "$f" ] && cp "$f" "$windir/"; done
cp "$build/bin/QXPhoneVMSetting.exe" "$build/bin/ctlpnl.exe" "$build/bin/devicectl.exe" \
   "$build/bin/statusbar.exe" "$windir/"
# The SIM card is the user's data: seeded once, never replaced.
if [ -f devices/default-simcard.txt ] && [ ! -f "$windir/simcard.txt" ]; then
    cp devices/default-simcard.txt "$windir/simcard.txt"
fi
# Only the radio line changes; the rest of the card is the user's. Replaced
# whole, as the modem writes it, so it never reads half a card.
if [ -n "$radio" ]; then
    card=$windir/simcard.txt
    if [ -f "$card" ] && grep -qiE '^[[:space:]]*radio[[:space:]]' "$card"; then
        sed -E 's/^([[:space:]]*)[Rr][Aa][Dd][Ii][Oo]([[:space:]]+)[A-Za-z]+/\1radio\2'"$radio"'/' "$card" > "$card.new"
    else
        { echo "radio $radio"; [ -f "$card" ] && cat "$card"; } > "$card.new"
    fi
    mv -f "$card.new" "$card"
fi
# What the phone will do at start follows the card as it now is.
radio_state=$(sed -nE 's/^[[:space:]]*[Rr][Aa][Dd][Ii][Oo][[:space:]]+([A-Za-z]+).*/\1/p' "$windir/simcard.txt" 2>/dev/null | head -n 1)
radio_state=$(echo "${radio_state:-on}" | tr 'A-Z' 'a-z')

xvfb_pid=""
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    WINEPREFIX=$WINEPREFIX /usr/lib/wine/wineserver -k 2>/dev/null || true
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
    for n in $(seq 90 120); do [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] || break; done
    Xvfb ":$n" -screen 0 "${width}x${height}x24" -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
fi

# Wine's desktop window is the phone's screen; the program's trace goes to our stderr.
# The phone shell's status bar first, then the program on the same desktop.
"$wine" explorer "/desktop=Phone,${width}x${height}" 'C:\windows\statusbar.exe' </dev/null >/dev/null 2>&1 &
sleep 1
"$wine" explorer "/desktop=Phone,${width}x${height}" 'C:\windows\QXPhoneVMSetting.exe' </dev/null >/dev/null &
app_pid=$!

if [ -z "$screenshot" ]; then
    wait "$app_pid"
    exit 0
fi

shoot() {
    mkdir -p "$(dirname "$screenshot")"
    if [ -n "$xvfb_pid" ]; then
        import -display "$DISPLAY" -window root "$screenshot"
    else
        import -window "$(xwininfo -name 'Phone - Wine desktop' | sed -n 's/.*Window id: \(0x[0-9a-f]*\).*/\1/p')" "$screenshot"
    fi
    echo "run.sh: screenshot $screenshot (${width}x${height})" >&2
}

# Waits up to $1 seconds for the program to end.
wait_program() {
    for _ in $(seq $(( $1 * 10 ))); do kill -0 "$app_pid" 2>/dev/null || return 0; sleep 0.1; done
    return 1
}

case $radio_state in
flight)
    # The control panel's phone page takes over; the program shows nothing.
    wait_program 60 || { echo "run.sh: the program did not hand over" >&2; exit 1; }
    [ -f "$windir/ctlpnl.log" ] && echo "run.sh: control panel: $(tail -n 1 "$windir/ctlpnl.log")" >&2
    shoot
    exit 0
    ;;
off)
    # The power prompt comes before the settings screen, under the same title.
    if ! "$wine" 'C:\windows\devicectl.exe' wait-window "Voice Mail and Text Messages" 60 </dev/null >/dev/null 2>&1; then
        echo "run.sh: the power prompt did not come up" >&2
        exit 1
    fi
    shoot
    # Its "Cancel" button, as the box lays it out on this screen: the box
    # sits below the 26*s status bar.
    case $profile in
        vga|wvga) cancel="344 522" ;;
        vga-l|wvga-l) cancel="501 365" ;;
        qvga) cancel="167 248" ;;
        qvga-l) cancel="246 169" ;;
        hvga) cancel="233 317" ;;
        hvga-l) cancel="313 246" ;;
        *) echo "run.sh: no Cancel position known for $profile" >&2; exit 1 ;;
    esac
    "$wine" 'C:\windows\devicectl.exe' tap $cancel </dev/null >/dev/null 2>&1 || true
    wait_program 30 || { echo "run.sh: the program did not end on Cancel" >&2; exit 1; }
    exit 0
    ;;
esac

if ! "$wine" 'C:\windows\devicectl.exe' wait-screen 60 </dev/null >/dev/null 2>&1; then
    echo "run.sh: the settings screen did not come up" >&2
    exit 1
fi
shoot

# End as the user would: the Cancel soft key.
"$wine" 'C:\windows\devicectl.exe' press cancel </dev/null >/dev/null 2>&1 || true
"$wine" 'C:\windows\devicectl.exe' wait-exit 30 </dev/null >/dev/null 2>&1 || true
exit 0
