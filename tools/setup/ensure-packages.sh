# Sourced by test.sh and run.sh: installs the Debian packages the build, the
# tests and the emulated device need, when any is missing.
QX_PACKAGES=(cmake make g++-mingw-w64-x86-64 wine64 xvfb fonts-liberation imagemagick x11-utils x11-apps
             googletest flock libxinerama1 libxrandr2 clang libclang-rt-14-dev gammu socat fonts-croscore)

# The device's fonts are Arimo (fonts-croscore): metric-compatible with the
# Helvetica faces the skin names, and smoothed at every size, where
# Liberation Sans is drawn unsmoothed from 9 to 17 pixels (its gasp table).
# Wine's recommended libraries (XRender, XRandR, Xinerama, ...) are wanted:
# they draw the device's screen under X and let it turn. clang and its
# runtime (the sanitizers) build the native tests. gammu, a real AT client,
# and socat, which gives it a pty joined to the modem server, run the test
# of the server as an AT peer.

# The packages still to install, one line.
missing_packages() {
    local missing=()
    local p
    for p in "${QX_PACKAGES[@]}"; do
        [ "$p" = flock ] && { command -v flock >/dev/null || missing+=(util-linux); continue; }
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
    done
    echo "${missing[*]}"
}

ensure_packages() {
    local missing
    missing=$(missing_packages)
    [ -z "$missing" ] && return 0
    echo "Installing: $missing"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -qq
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq $missing >&2
}
