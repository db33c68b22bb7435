#!/usr/bin/env bash
# The program on the emulated device, started with run.sh as its user starts
# it: each radio mode (on, off, flight) on one profile, each run checked for
# its exit status, its screenshot, its trace and the SIM card afterwards.
# With "more", also a turn of the screen and back, a modem server on TCP
# chosen with --modem (and SIM type, CPHS) that the device keeps, a modem
# that does not answer, a change of profile, and a run left open at a
# display: a second run.sh on it is refused, and the shell's input panel
# types into the open screen; then one driven by keys alone, from the power
# prompt to Done.
#
#   device_test.sh PROFILE [more]      (QX_BUILD_DIR: the build to run)
set -uo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${QX_BUILD_DIR:?the build folder}" && pwd)
profile=$1
more=${2:-}
size=$(sed -n 's/^; screen=//p' "$top/devices/profiles/$profile.reg")
width=${size%x*} height=${size#*x}
scale=$(grep -qi '"LogicalPixelsX"=dword:000000c0' "$top/devices/profiles/$profile.reg" && echo 2 || echo 1)
dev=$build/test-devices/$profile
out=$build/test-devices/$profile-out
card=$dev/drive_c/windows/simcard.txt
rm -rf "$out"
mkdir -p "$out"

failed=0
fail() {
    echo "FAIL [$run_name]: $*"
    failed=1
}

# run NAME OPTION...: one run of run.sh with a screenshot; its standard
# output, standard error and exit status are kept under $out. The exit
# status expected is $expect_rc (default 0); run_s is how long it took.
run() {
    run_name=$1
    shift
    local t0=$SECONDS
    "$top/run.sh" --no-build --profile "$profile" --device "$dev" --screenshot "$out/$run_name.png" "$@" \
        >"$out/$run_name.out" 2>"$out/$run_name.err" </dev/null
    run_rc=$?
    run_s=$((SECONDS - t0))
    if [ "$run_rc" -ne "${expect_rc:-0}" ]; then
        fail "exit status $run_rc, not ${expect_rc:-0}"
        sed 's/^/    out: /' "$out/$run_name.out"
        grep -v '^\[' "$out/$run_name.err" | tr -d '\r' | grep -v '^$' | sed 's/^/    err: /'
    fi
}

said() { grep -qF -- "$1" "$out/$run_name.out" || fail "run.sh did not say: $1"; }
said_err() { grep -qF -- "$1" "$out/$run_name.err" || fail "run.sh did not say on standard error: $1"; }
traced() { grep -qF -- "$1" "$out/$run_name.err" || fail "the trace has no: $1"; }

# Standard error holds the program's trace alone: debug-output lines, each
# starting with its tag, the indented rest of a record dump and the blank
# lines between them.
trace_only() {
    local other
    other=$(tr -d '\r' <"$out/$run_name.err" | grep -v '^$' | grep -v '^\[' | grep -v '^  ' | grep -v '^run\.sh: ' | head -n 3)
    [ -z "$other" ] || fail "standard error has more than the trace: $other"
}

shot_is() {
    local got
    got=$(identify -format '%wx%h' "$out/$run_name.png" 2>/dev/null)
    [ "$got" = "$1" ] || fail "screenshot is '${got:-missing}', not $1"
}

# The SIM card as the default card with the given radio line.
card_is() {
    sed -E "s/^radio [a-z]+/radio $1/" "$top/devices/default-simcard.txt" >"$out/expected-card.txt"
    cmp -s "$out/expected-card.txt" "$card" || fail "the card changed: $(diff "$out/expected-card.txt" "$card" | head -n 4)"
}

# Light or dark at a point of the screenshot, in base units of the status bar.
light_at() {
    local p
    p=$(/usr/bin/convert "$out/$run_name.png" -crop "1x1+$(($1 * scale))+$(($2 * scale))" -format '%[fx:int(255*r)]' info: 2>/dev/null)
    [ "${p:-0}" -gt 160 ]
}
# What the status bar shows of the radio: the tallest signal bar lit, a cross
# over the bars, an aeroplane beside them.
radio_shown() {
    local want=$1 bar=no cross=no plane=no
    light_at 22 14 && bar=yes
    light_at 15 14 && cross=yes
    light_at 36 12 && plane=yes
    case $want in
        on) [ $bar/$cross/$plane = yes/no/no ] ;;
        off) [ $bar/$plane = no/no ] && [ $cross = yes ] ;;
        flight) [ $bar/$cross/$plane = no/no/yes ] ;;
    esac || fail "the status bar does not show the radio $want (bar $bar, cross $cross, plane $plane)"
}

# A fresh card; the device's own choices as a new device has them.
rm -f "$card"
run on --radio on --modem sim --sim-type 1 --cphs on
shot_is "${width}x$height"
trace_only
card_is on
radio_shown on
said "modem sim, SIM type 1, CPHS on, radio on"
traced "VMail_Address=+1234567"

run off --radio off
shot_is "${width}x$height"
trace_only
card_is off
radio_shown off
traced "[WFN]"

said "radio off"
said "power prompt: answered Cancel"

# Flight mode hands over to the control panel: no screen, so exit 1.
expect_rc=1 run flight --radio flight
shot_is "${width}x$height"
trace_only
card_is flight
radio_shown flight
said "control panel: cplmain.cpl, 20"
said_err "flight mode: the program handed over to the control panel"

if [ "$more" = more ]; then
    # A turn and back: the shell fits the main window to the work area and
    # the program lays out its title and list for the turned screen.
    s=$scale t=30
    run turn --radio on --turn
    shot_is "${height}x$width"
    trace_only
    card_is on
    said "turned to ${height}x$width: screen $height $width; statusbar 0 0 $height $((26 * s)); radio on;"
    said "main 0 $((26 * s)) $height $((width - 52 * s)); title 0 $((26 * s)) $height $((t * s));"
    said "list 0 $(((26 + t) * s)) $height $(((188 - t) * s)); softkeys 0 $((width - 26 * s)) $height $((26 * s));"
    said "turned to ${width}x$height: screen $width $height;"
    said "main 0 $((26 * s)) $width $((height - 52 * s)); title 0 $((26 * s)) $((240 * s)) $((t * s));"
    said "list 0 $(((26 + t) * s)) $((240 * s)) $(((268 - t) * s)); softkeys 0 $((height - 26 * s)) $width $((26 * s));"

    # A modem server on TCP with a card of its own, the device pointed at it
    # once; SIM type 2 without CPHS reads EF_MBDN.
    server_card=$out/server-card.txt
    sed -e 's/^smsc .*/smsc +31611112222 145/' \
        -e '/^file 6FC7/,$ s/^record 1 .*/record 1 4D 42 44 4E FF FF FF FF FF FF FF FF FF FF 06 91 44 77 00 09 10 FF FF FF FF FF FF FF/' \
        "$top/devices/default-simcard.txt" >"$server_card"
    rm -f "$out/port.txt"
    QX_WINEPREFIX=${QX_WINEPREFIX:-$build/wineprefix} "$top/cmake/wine-run.sh" "$build/bin/modem_server.exe" \
        --card "Z:$server_card" --port 0 --port-file "Z:$out/port.txt" --idle 120000 \
        </dev/null >"$out/server.log" 2>&1 &
    server_pid=$!
    for _ in $(seq 300); do [ -s "$out/port.txt" ] && break; sleep 0.1; done
    port=$(tr -dc 0-9 <"$out/port.txt" 2>/dev/null)
    run_name=server
    [ -n "$port" ] || fail "the modem server did not start: $(cat "$out/server.log")"

    phone_log=$dev/drive_c/windows/phoneapp.log
    run tcp --modem "tcp:127.0.0.1:$port" --sim-type 2 --cphs off --done
    said "the device's modem is now tcp:127.0.0.1:$port"
    said "modem tcp:127.0.0.1:$port, SIM type 2, CPHS off"
    trace_only
    traced "TextMSG_Address=31611112222"
    traced "VMail_Address=+4477009001"
    # Done with nothing changed writes nothing through the server: its record
    # 1 keeps label and number; the device's own card is untouched.
    grep -q '^record 1 4D 42 44 4E FF FF FF FF FF FF FF FF FF FF 06 91 44 77 00 09 10' "$server_card" ||
        fail "Done changed the server's card: $(grep '^record 1' "$server_card" | tail -n 1)"
    traced "voice mail unchanged, SIM record kept."
    card_is on
    said "phone application:"
    tail -n 1 "$phone_log" | grep -q 'WM_CPROG_UPDATEVMAIL_NUMBER VMail_Address=\[+4477009001\]' ||
        fail "the phone application was not told: $(tail -n 1 "$phone_log" 2>/dev/null)"

    # A plain run keeps what the user chose.
    run kept
    said "modem tcp:127.0.0.1:$port, SIM type 2, CPHS off"
    traced "VMail_Address=+4477009001"
    kill "$server_pid" 2>/dev/null
    wait "$server_pid" 2>/dev/null

    # No modem on that port: run.sh says so and ends with the program, not
    # after the 60 s wait for a screen.
    expect_rc=1 run nomodem --modem tcp:127.0.0.1:1
    said_err "no modem answered on tcp:127.0.0.1:1"
    [ "$run_s" -lt 30 ] || fail "run.sh took $run_s s, as if it waited for the screen"

    # Another profile on this device: its screen from the first run on, and
    # this profile's again on the next.
    run other --profile qvga --modem sim --sim-type 1 --cphs on
    shot_is 240x320
    said "qvga, modem sim, SIM type 1, CPHS on"
    run back
    shot_is "${width}x$height"
    traced "VMail_Address=+1234567"

    # A run left open, as at a display: a second run.sh leaves it alone, and
    # the shell's input panel, raised by a tap on the voice-mail field, types
    # into it; Done then saves what the open screen shows.
    rm -f "$out/xvfb.display"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$out/xvfb.display" >/dev/null 2>&1 &
    xvfb=$!
    for _ in $(seq 100); do [ -s "$out/xvfb.display" ] && break; sleep 0.1; done
    export DISPLAY=":$(head -n 1 "$out/xvfb.display")"
    "$top/run.sh" --no-build --profile "$profile" --device "$dev" >"$out/open.out" 2>"$out/open.err" </dev/null &
    open_pid=$!
    ctl() { WINEPREFIX=$dev WINEDEBUG=-all /usr/lib/wine/wine64 'C:\windows\devicectl.exe' "$@" </dev/null 2>&1 | tr -d '\r'; }
    run_name=open
    # Its trace shows once the program runs, the device set up.
    for _ in $(seq 600); do grep -q TRACE_TICKCOUNT "$out/open.err" 2>/dev/null && break; sleep 0.1; done
    ctl wait-screen 60 >/dev/null || fail "the open run's screen did not come up: $(cat "$out/open.out")"
    ctl tap-field 2 >/dev/null
    sleep 0.5
    ctl layout >"$out/open-layout.txt"
    grep -qx "sip owner shell" "$out/open-layout.txt" || fail "the input panel is not the shell's: $(grep '^sip' "$out/open-layout.txt" | paste -sd ';')"
    read -r _ x y w h shown < <(grep '^sip ' "$out/open-layout.txt" | head -n 1)
    [ -z "$shown" ] || fail "the input panel did not come up on the tap: sip $x $y $w $h $shown"
    # The key "9": third row, third column of the 4 x 4 keypad.
    ctl tap $((x + w * 5 / 8)) $((y + h * 5 / 8)) >/dev/null
    expect_rc=2 run second
    said_err "is in use by run.sh (pid $open_pid"
    ctl layout | grep -q '^main 0 ' || fail "the open screen went away"
    ctl press done >/dev/null
    run_name=open
    wait "$open_pid" || fail "the open run.sh ended with $?"
    tail -n 1 "$phone_log" | grep -q 'VMail_Address=\[+12345679\]' ||
        fail "Done did not save what the panel typed: $(tail -n 1 "$phone_log" 2>/dev/null)"

    # Keys alone, from a fresh card with the radio off: Return on the power
    # prompt switches it on; the service centre has the focus at start, Down
    # goes to the voice mail, F1 is Done.
    run_name=keys
    sed -E 's/^radio [a-z]+/radio off/' "$top/devices/default-simcard.txt" >"$card"
    "$top/run.sh" --no-build --profile "$profile" --device "$dev" >"$out/keys.out" 2>"$out/keys.err" </dev/null &
    keys_pid=$!
    for _ in $(seq 600); do grep -q TRACE_TICKCOUNT "$out/keys.err" 2>/dev/null && break; sleep 0.1; done
    up=$(ctl wait-up 60)
    [ "$up" = prompt ] || fail "the power prompt did not come up: ${up:-nothing}"
    ctl key return >/dev/null
    ctl wait-screen 60 >/dev/null || fail "Return on the power prompt did not bring the screen up"
    for k in "type 9" "key down" "key end" "type 8" "key f1"; do
        # shellcheck disable=SC2086 # a devicectl command and its argument
        ctl $k >/dev/null || fail "devicectl $k was refused"
    done
    wait "$keys_pid" || fail "the keys run.sh ended with $?"
    grep -qx 'smsc +4412345678909 145' "$card" || fail "keys saved the service centre as: $(grep '^smsc' "$card")"
    tail -n 1 "$phone_log" | grep -q 'VMail_Address=\[+12345678\]' ||
        fail "keys did not save the voice mail: $(tail -n 1 "$phone_log" 2>/dev/null)"
    kill "$xvfb" 2>/dev/null
    wait "$xvfb" 2>/dev/null
    unset DISPLAY
fi

[ "$failed" -eq 0 ] && echo "device tests on $profile: passed"
exit "$failed"
