#!/usr/bin/env bash
# Runs the settings program on an emulated phone: builds it if needed, makes
# or updates the phone (a Wine prefix seeded from a device profile), starts
# the phone's shell stand-ins and the program, and waits for the program
# itself. ./run.sh --help tells how.
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
cd "$top"

usage() {
    cat <<'EOF'
Usage: ./run.sh [OPTION]...
Runs the settings program on an emulated phone. With a DISPLAY the phone's
screen opens as a window; without one it runs headless under Xvfb, where
--screenshot is needed.

  --profile NAME       the screen: vga (default, 480x640), vga-l, qvga, qvga-l,
                       hvga, hvga-l, wvga, wvga-l (devices/profiles/NAME.reg)
  --device DIR         the phone's folder (default build/devices/NAME)
  --radio on|off|flight
                       sets the radio line of the phone's SIM card first
  --modem sim|tcp:127.0.0.1:PORT|COMn:
                       the phone's modem: the built-in simulated one, a modem
                       server on a TCP port, or a serial port
  --sim-type N         the phone's SIM type (SIMTYPE; 2 with --cphs off reads
                       the mailbox number from EF_MBDN)
  --cphs on|off        whether the phone reads the CPHS mailbox file (ReadCPHS)
  --screenshot FILE    once the screen is up, saves it as a PNG, then ends the
                       program as its user would, with "Cancel"
  --turn               with --screenshot: turns the screen first (the power
                       prompt too), so the shot shows it turned, and back
                       again before the end
  --done               with --screenshot: ends with "Done" (saves what the
                       screen shows) instead of "Cancel"
  --no-build           runs the build as it is
  -h, --help           this text

--modem, --sim-type and --cphs are written into the phone, which keeps them
for later runs; the profile's screen, fonts and display values are applied
on every run. One run at a time per phone: a phone whose program or shell
is running is left alone. The program's trace goes to standard error,
run.sh's own lines to standard output. Exit status: 0 when the program came
up and ended as asked; 1 when it did not, with one line saying why (no
modem answered, flight mode handed to the control panel, the power prompt
refused); 2 on a bad option, a path that cannot be made or a phone in use.
EOF
}

say() { echo "run.sh: $*"; }
fail() { echo "run.sh: $*" >&2; exit 1; }
refuse() { echo "run.sh: $*" >&2; exit 2; }
bad_usage() { refuse "$* (see ./run.sh --help)"; }
# A folder made, or one line saying why it cannot be.
make_dir() {
    local why
    why=$(mkdir -p -- "$2" 2>&1) || refuse "cannot make $1 $2: ${why##*: }"
    [ -w "$2" ] || refuse "cannot write in $1 $2: permission denied"
}

profile=vga device="" screenshot="" radio="" modem="" simtype="" cphs="" turn="" end_key=cancel build_it=1
while [ $# -gt 0 ]; do
    case $1 in
        --*=*) set -- "${1%%=*}" "${1#*=}" "${@:2}"; continue ;;
        --profile|--device|--radio|--modem|--sim-type|--cphs|--screenshot)
            if [ $# -lt 2 ] || [ -z "$2" ] || [ "${2#--}" != "$2" ]; then bad_usage "$1 needs a value"; fi
            case $1 in
                --profile) profile=$2 ;;
                --device) device=$2 ;;
                --radio) radio=$2 ;;
                --modem) modem=$2 ;;
                --sim-type) simtype=$2 ;;
                --cphs) cphs=$2 ;;
                --screenshot) screenshot=$2 ;;
            esac
            shift 2 ;;
        --turn) turn=1; shift ;;
        --done) end_key=done; shift ;;
        --no-build) build_it=""; shift ;;
        -h|--help) usage; exit 0 ;;
        *) bad_usage "unknown option '$1'" ;;
    esac
done

profile_reg=devices/profiles/$profile.reg
if [ ! -f "$profile_reg" ]; then
    bad_usage "no profile '$profile'; there are: $(cd devices/profiles && ls *.reg | sed 's/\.reg$//' | tr '\n' ' ')"
fi
case $radio in
    ""|on|off|flight) ;;
    *) bad_usage "--radio takes on, off or flight, not '$radio'" ;;
esac
# The ports the radio layer knows (docs/modem.md), written as it reads them.
if [ -n "$modem" ]; then
    octet='(25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9]?[0-9])'
    if [ "$modem" = sim ]; then
        :
    elif [[ $modem =~ ^[Cc][Oo][Mm]([1-9][0-9]{0,2}):?$ ]] && [ "${BASH_REMATCH[1]}" -le 255 ]; then
        modem=COM${BASH_REMATCH[1]}:
    elif [[ $modem =~ ^tcp:$octet\.$octet\.$octet\.$octet:([1-9][0-9]{0,4})$ ]] && [ "${BASH_REMATCH[5]}" -le 65535 ]; then
        :
    else
        bad_usage "--modem takes sim, tcp:A.B.C.D:PORT (e.g. tcp:127.0.0.1:5555) or COMn: (n 1-255), not '$modem'"
    fi
fi
if [ -n "$simtype" ] && ! [[ $simtype =~ ^[0-9]{1,9}$ ]]; then bad_usage "--sim-type takes a number, not '$simtype'"; fi
case $cphs in
    ""|on|off) ;;
    *) bad_usage "--cphs takes on or off, not '$cphs'" ;;
esac
if [ -z "$screenshot" ]; then
    [ -z "$turn" ] || bad_usage "--turn needs --screenshot"
    [ "$end_key" = cancel ] || bad_usage "--done needs --screenshot"
    [ -n "${DISPLAY:-}" ] || bad_usage "no DISPLAY: the phone runs headless, so give --screenshot FILE"
fi

size=$(sed -n 's/^; screen=//p' "$profile_reg")
width=${size%x*} height=${size#*x}
build=${QX_BUILD_DIR:-build}
device=${device:-$build/devices/$profile}

# One run per device: a device whose program or shell is running is left
# alone, and the line says which run it is and how to end it.
wine_running_on() {
    local p exe prefix want
    want=$(cd "$1" && pwd -P)
    for p in $(pgrep -f 'QXPhoneVMSetting\.exe|statusbar\.exe' || true); do
        prefix=$(tr '\0' '\n' 2>/dev/null <"/proc/$p/environ" | sed -n 's/^WINEPREFIX=//p')
        [ -n "$prefix" ] && [ "$(cd "$prefix" 2>/dev/null && pwd -P)" = "$want" ] || continue
        exe=$(tr '\0' ' ' 2>/dev/null <"/proc/$p/cmdline" | grep -oE '(QXPhoneVMSetting|statusbar)\.exe' | head -n 1)
        [ -n "$exe" ] && { echo "$p $exe"; return 0; }
    done
    return 1
}
claim_device() {
    local mark=$device/.qx-run pid="" what="" since="" found
    if [ -f "$mark" ]; then read -r pid what since <"$mark" || true; fi
    if [ -n "$pid" ] && tr '\0' ' ' 2>/dev/null <"/proc/$pid/cmdline" | grep -q 'run\.sh'; then
        refuse "the device $device is in use by run.sh (pid $pid, $what, since $since); end it with Cancel on its screen, or: kill $pid"
    fi
    if found=$(wine_running_on "$device"); then
        refuse "the device $device is in use: ${found#* } runs there (pid ${found%% *}); end it with: WINEPREFIX=$(cd "$device" && pwd) /usr/lib/wine/wineserver -k"
    fi
    echo "$$ $profile $(date +%H:%M:%S)" >"$mark"
}
make_dir "the device folder" "$device"
[ -z "$screenshot" ] || make_dir "the folder of the screenshot" "$(dirname -- "$screenshot")"
# Held only while the device is checked and claimed, so two starts at once
# cannot both pass; nothing started here inherits it.
exec 9>"$device/.qx-run.lock"
flock 9
claim_device
exec 9>&-

make_dir "the build folder" "$build"
log=$(cd "$build" && pwd)/run-build.log

# Packages and the build, their output in the log.
. tools/setup/ensure-packages.sh
: >"$log"
if [ -n "$(missing_packages)" ]; then
    say "installing $(missing_packages)"
    ensure_packages >>"$log" 2>&1 || fail "installing the packages failed; its output is in $log"
fi
if [ -n "$build_it" ]; then
    if ! { cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release &&
           cmake --build "$build" -j"$(nproc)"; } >>"$log" 2>&1; then
        fail "the build failed; its output is in $log"
    fi
fi
for exe in QXPhoneVMSetting ctlpnl devicectl statusbar phoneapp; do
    [ -f "$build/bin/$exe.exe" ] || fail "$build/bin/$exe.exe is missing; run without --no-build"
done

export WINEPREFIX=$(cd "$device" && pwd) WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
windir=$WINEPREFIX/drive_c/windows

xvfb_pid=""
cleanup() {
    # Wine first, so none of its processes sees its X server go.
    /usr/lib/wine/wineserver -k 2>/dev/null || true
    /usr/lib/wine/wineserver -w 2>/dev/null || true
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
    rm -f "$WINEPREFIX/.qx-run"
}
trap cleanup EXIT
# Killed, the run still ends its device (kill PID is the plain way to end it).
trap 'exit 143' TERM HUP
trap 'exit 130' INT

# What is left of an earlier run (its server, a program started by hand that
# ended) would hold the device's files.
/usr/lib/wine/wineserver -k 2>/dev/null || true
/usr/lib/wine/wineserver -w 2>/dev/null || true

# A new device boots headless first, so Wine's first-run window never shows,
# and takes the factory settings (devices/device.reg) once.
if [ ! -f "$WINEPREFIX/.qx-device" ]; then
    say "making a new device in $WINEPREFIX"
    printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Wine\\Drivers]\n"Graphics"="null"\n' >"$WINEPREFIX/null.reg"
    DISPLAY="" "$wine" wineboot -i </dev/null >/dev/null 2>&1 || true
    DISPLAY="" "$wine" regedit /S "$WINEPREFIX/null.reg" </dev/null >/dev/null 2>&1
    DISPLAY="" "$wine" regedit /S "Z:$top/devices/device.reg" </dev/null >/dev/null 2>&1
    /usr/lib/wine/wineserver -w
    touch "$WINEPREFIX/.qx-device"
fi

# A value of the device's registry as Wine keeps it (the server has saved it:
# no run is going): REG_SZ text or a REG_DWORD in decimal; empty when absent.
device_value() {
    local v
    v=$(SEC="[$1]" NAME="\"$2\"=" awk '
        /^\[/ { inside = tolower($1) == tolower(ENVIRON["SEC"]); next }
        inside && index(tolower($0), tolower(ENVIRON["NAME"])) == 1 {
            print substr($0, length(ENVIRON["NAME"]) + 1); exit
        }' "$WINEPREFIX/system.reg")
    case $v in
        dword:*) echo $((16#${v#dword:})) ;;
        \"*\") v=${v#\"}; echo "${v%\"}" ;;
    esac
}

# What the device's user chose: kept, unless this run chooses again.
own_reg=""
if [ -n "$modem" ]; then
    own_reg+=$'[HKEY_LOCAL_MACHINE\\Drivers\\BuiltIn\\RIL]\n"Port"="'"$modem"$'"\n\n'
    say "the device's modem is now $modem (it keeps it for later runs)"
else
    modem=$(device_value 'Drivers\\BuiltIn\\RIL' Port)
fi
if [ -n "$cphs" ]; then
    own_reg+=$'[HKEY_LOCAL_MACHINE\\Drivers\\BuiltIn\\RIL]\n"ReadCPHS"=dword:'"$([ "$cphs" = on ] && echo 00000001 || echo 00000000)"$'\n\n'
    say "the device's CPHS reading is now $cphs (it keeps it for later runs)"
else
    read_cphs=$(device_value 'Drivers\\BuiltIn\\RIL' ReadCPHS)
    cphs=$([ "${read_cphs:-0}" != 0 ] && echo on || echo off)
fi
if [ -n "$simtype" ]; then
    own_reg+=$'[HKEY_LOCAL_MACHINE\\SOFTWARE\\OEM\\RIL]\n"SIMTYPE"=dword:'"$(printf %08x "$simtype")"$'\n\n'
    say "the device's SIM type is now $simtype (it keeps it for later runs)"
else
    simtype=$(device_value 'SOFTWARE\\OEM\\RIL' SIMTYPE)
fi
# The SIM card is the user's data: seeded once, never replaced.
if [ ! -f "$windir/simcard.txt" ]; then
    cp devices/default-simcard.txt "$windir/simcard.txt"
fi
# Only the radio line changes; the rest of the card is the user's. Replaced
# whole, as the modem writes it, so it never reads half a card.
if [ -n "$radio" ]; then
    card=$windir/simcard.txt
    if grep -qiE '^[[:space:]]*radio[[:space:]]' "$card"; then
        sed -E 's/^([[:space:]]*)[Rr][Aa][Dd][Ii][Oo]([[:space:]]+)[A-Za-z]+/\1radio\2'"$radio"'/' "$card" >"$card.new"
    else
        { echo "radio $radio"; cat "$card"; } >"$card.new"
    fi
    mv -f "$card.new" "$card"
fi
# What the phone will do at start follows the card as it now is; with
# another modem its own radio decides, and the phone is taken as on.
radio_state=on
if [ "${modem:-sim}" = sim ]; then
    radio_state=$(sed -nE 's/^[[:space:]]*[Rr][Aa][Dd][Ii][Oo][[:space:]]+([A-Za-z]+).*/\1/p' "$windir/simcard.txt" | head -n 1)
    radio_state=$(echo "${radio_state:-on}" | tr 'A-Z' 'a-z')
fi
if [ "$radio_state" != on ] && [ "$end_key" = done ]; then
    bad_usage "--done needs the settings screen, but the radio is $radio_state; --radio on sets it"
fi
radio_said="radio $radio_state"
[ "${modem:-sim}" = sim ] || radio_said="radio as the modem has it"
say "device $WINEPREFIX: $profile, modem ${modem:-sim}, SIM type ${simtype:-0}, CPHS $cphs, $radio_said"

# The screen turns where Wine's display offers the turned size: besides its
# own sizes it offers the one named "Default", which the shell names before
# each turn (tools/standins/statusbar.cpp); the first turn's is named here.
turned=${height}x${width}

if [ -z "${DISPLAY:-}" ]; then
    # Two screens over each other: the device's (Wine's primary), and one of
    # the turned size, so the turned desktop is all on the X server too.
    rm -f "$WINEPREFIX/xvfb.display"
    Xvfb -displayfd 3 -screen 0 "${width}x${height}x24" -screen 1 "${turned}x24" +xinerama -nolisten tcp \
        3>"$WINEPREFIX/xvfb.display" >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do [ -s "$WINEPREFIX/xvfb.display" ] && break; sleep 0.1; done
    [ -s "$WINEPREFIX/xvfb.display" ] || fail "Xvfb did not start"
    export DISPLAY=":$(head -n 1 "$WINEPREFIX/xvfb.display")"
fi

# Profile, program files and the desktop, every run: the device follows the
# build. Every process on the device opens on its desktop "Phone".
{
    echo REGEDIT4
    echo
    tail -n +2 devices/common.reg
    tail -n +2 "$profile_reg"
    cat <<EOF

[HKEY_CURRENT_USER\\Software\\Wine\\Drivers]
"Graphics"="x11"

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]
"Desktop"="Phone"

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]
"Phone"="${width}x${height}"
"Default"="$turned"

EOF
    printf '%s' "$own_reg"
} >"$WINEPREFIX/run.reg.new"
import_run_reg() {
    "$wine" regedit /S "$WINEPREFIX/run.reg.new" </dev/null >/dev/null 2>&1 || fail "the device's registry could not be set"
}
import_run_reg
# Importing starts the desktop with the values it had; when they changed (a
# new profile), the device starts again and imports them once more, so this
# run's desktop has them (and Wine's server none of our pipes).
if ! cmp -s "$WINEPREFIX/run.reg.new" "$WINEPREFIX/run.reg"; then
    /usr/lib/wine/wineserver -k 2>/dev/null || true
    /usr/lib/wine/wineserver -w 2>/dev/null || true
    import_run_reg
fi
mv -f "$WINEPREFIX/run.reg.new" "$WINEPREFIX/run.reg"

portrait=$([ "$width" -gt "$height" ] && echo "$turned" || echo "${width}x${height}")
cp skins/"$portrait"/*.png "$windir/"
for f in "$build"/bin/*.dll; do [ -e "$f" ] && cp "$f" "$windir/"; done
for exe in QXPhoneVMSetting ctlpnl devicectl statusbar phoneapp; do cp "$build/bin/$exe.exe" "$windir/"; done

devicectl() { "$wine" 'C:\windows\devicectl.exe' "$@" </dev/null 2>/dev/null; }
devicectl_said() { "$wine" 'C:\windows\devicectl.exe' "$@" </dev/null 2>&1 | tr -d '\r'; }
count_lines() { [ -f "$1" ] && wc -l <"$1" || echo 0; }

# The phone shell's stand-ins: the status bar (which also turns the screen)
# and the phone application, which logs what it is told in phoneapp.log.
shell_log=$WINEPREFIX/shell.log
: >"$shell_log"
"$wine" 'C:\windows\statusbar.exe' </dev/null >/dev/null 2>>"$shell_log" &
"$wine" 'C:\windows\phoneapp.exe' </dev/null >/dev/null 2>>"$shell_log" &
shell_said=$("$wine" 'C:\windows\devicectl.exe' wait-shell 60 </dev/null 2>&1 >/dev/null | tr -d '\r') ||
    fail "the phone's shell did not come up: ${shell_said#devicectl: } (see $shell_log)"

# The program itself, its trace on our standard error and kept, so the run
# can say how it ended.
ctlpnl_lines=$(count_lines "$windir/ctlpnl.log")
phone_lines=$(count_lines "$windir/phoneapp.log")
trace=$WINEPREFIX/program.trace
: >"$trace"
"$wine" 'C:\windows\QXPhoneVMSetting.exe' </dev/null >/dev/null 2> >(tee "$trace" >&2) &
app_pid=$!

# Gone, or a zombie not yet reaped (its state follows the name's ")").
program_running() {
    kill -0 "$app_pid" 2>/dev/null && [ "$(sed 's/.*) //; s/ .*//' "/proc/$app_pid/stat" 2>/dev/null)" != Z ]
}
# Waits up to $1 seconds for the program's process to end; app_rc is then
# its exit code.
app_rc=""
wait_program() {
    local i
    for ((i = 0; i < $1 * 10; i++)); do
        if ! program_running; then
            app_rc=0
            wait "$app_pid" || app_rc=$?
            return 0
        fi
        sleep 0.1
    done
    return 1
}
ended() {
    wait_program "$1" || fail "the program did not end $2"
    [ "$app_rc" -eq 0 ] || fail "the program ended with exit code $app_rc"
}
# A watcher (devicectl) in the background while the program runs: its
# output lands in $1; the watcher's pid in $watcher.
watch_in_background() {
    local out=$1
    shift
    : >"$out"
    "$wine" 'C:\windows\devicectl.exe' "$@" </dev/null >"$out" 2>/dev/null &
    watcher=$!
}
# Ends the watcher; watcher_rc is its exit status (0: it saw what it waited for).
stop_watcher() {
    kill -0 "$watcher" 2>/dev/null && kill "$watcher" 2>/dev/null
    watcher_rc=0
    wait "$watcher" 2>/dev/null || watcher_rc=$?
}
# The trace has the line (tee may still be writing the last of it).
traced() {
    local _
    for _ in 1 2 3 4 5; do grep -qF -- "$1" "$trace" && return 0; sleep 0.1; done
    return 1
}

shoot() {
    local id
    id=$(xwininfo -root -tree | awk '/"Phone - Wine desktop"/ { print $1; exit }')
    [ -n "$id" ] || fail "the device's screen is not on $DISPLAY"
    import -window "$id" "$screenshot"
    say "screenshot $screenshot ($(identify -format '%wx%h' "$screenshot"))"
}

# The program ended without showing a screen: say why, from what it left.
ended_without_screen() {
    wait_program 5 || true
    if traced "GetPhoneState return FALSE"; then
        local which=$modem
        [ "${modem:-sim}" != sim ] || which="sim (the built-in simulated modem)"
        fail "no modem answered on ${which}: the program ended at its start (--modem chooses another)"
    fi
    local _
    for _ in $(seq 50); do [ "$(count_lines "$windir/ctlpnl.log")" -gt "$ctlpnl_lines" ] && break; sleep 0.1; done
    if [ "$(count_lines "$windir/ctlpnl.log")" -gt "$ctlpnl_lines" ]; then
        say "control panel: $(tail -n 1 "$windir/ctlpnl.log" | tr -d '\r')"
        [ -z "$screenshot" ] || shoot
        fail "flight mode: the program handed over to the control panel's phone page (--radio on ends flight mode)"
    fi
    fail "the program ended before its screen came up (exit code ${app_rc:-unknown})"
}

# What the program shows first: the settings screen or the power prompt,
# unless it ends before either.
watch_in_background "$WINEPREFIX/.qx-up" wait-up "$([ -n "$screenshot" ] && echo 60 || echo 32767)"
while kill -0 "$watcher" 2>/dev/null && program_running; do sleep 0.1; done
[ -n "$(tr -d '\r\n' <"$WINEPREFIX/.qx-up")" ] || sleep 0.3  # it may have seen the screen as the program ended
stop_watcher
up=$(tr -d '\r\n' <"$WINEPREFIX/.qx-up")
if [ -z "$up" ]; then
    program_running || ended_without_screen
    fail "the program showed neither its screen nor the power prompt within 60 s"
fi

if [ -z "$screenshot" ]; then
    # The user's run: after the prompt, watch whether its OK brings the screen.
    [ "$up" = screen ] || watch_in_background "$WINEPREFIX/.qx-up" wait-screen 32767
    wait_program 999999999
    if [ "$up" = prompt ]; then
        sleep 0.3  # it may have seen the screen as the program ended
        stop_watcher
        if [ "$watcher_rc" -ne 0 ]; then
            traced "[CreateMainWindow]" && fail "the radio did not come on after OK on the power prompt"
            fail "the power prompt was refused: the radio stays off"
        fi
    fi
    [ "$app_rc" -eq 0 ] || fail "the program ended with exit code $app_rc"
    exit 0
fi

# Turns the screen through the shell and tells where the windows went.
turn_screen() {
    local to
    to=$(devicectl_said turn 60) && [[ $to =~ ^[0-9]+x[0-9]+$ ]] || fail "the screen did not turn: $to"
    say "turned to $to: $(devicectl_said layout | paste -sd ';' | sed 's/;/; /g')"
}

if [ "$up" = prompt ]; then
    [ "$end_key" = cancel ] || fail "the power prompt came up: the radio is off, so there is no screen to save"
    # Turned, the prompt is laid out for the turned screen, and again for
    # this one when turned back.
    [ -z "$turn" ] || turn_screen
    shoot
    [ -z "$turn" ] || turn_screen
    # Its "Cancel" button, where the box draws it on this screen.
    case $profile in
        vga) cancel="344 442" ;;
        wvga) cancel="344 522" ;;
        vga-l) cancel="421 339" ;;
        wvga-l) cancel="501 339" ;;
        qvga) cancel="166 208" ;;
        qvga-l) cancel="205 169" ;;
        hvga) cancel="232 317" ;;
        hvga-l) cancel="312 246" ;;
    esac
    devicectl tap $cancel || fail "the power prompt's Cancel could not be tapped"
    ended 30 "on Cancel"
    say "power prompt: answered Cancel, as asked; the radio stays off"
    exit 0
fi

[ -z "$turn" ] || turn_screen
shoot
[ -z "$turn" ] || turn_screen
# End as the user would: a soft key.
devicectl press "$end_key" || fail "the $end_key soft key could not be pressed"
ended 30 "on $end_key"
if [ "$end_key" = done ] && [ "$(count_lines "$windir/phoneapp.log")" -gt "$phone_lines" ]; then
    say "phone application: $(tail -n 1 "$windir/phoneapp.log" | tr -d '\r')"
fi
exit 0
