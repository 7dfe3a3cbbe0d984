# Shared steps of scripts/run and scripts/test: packages, builds, display and Wine prefix.
# Sourced, not run.

TASTOLINK_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
BUILD_DIR=${TASTOLINK_BUILD_DIR:-$TASTOLINK_ROOT/build}
export WINEPREFIX=${WINEPREFIX:-$BUILD_DIR/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# Wine takes its ANSI code page, its language and the variant of its raster fonts from the
# locale: pin a Russian one, as on the Windows the program is made for (code page 1251; "MS Sans
# Serif" with Cyrillic letters). install_packages makes sure it exists.
export LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8

# fonts-wine: Wine's own Tahoma and MS Sans Serif, so that every machine shows (and tests) the
# same glyphs; with --no-install-recommends nothing else brings them.
PACKAGES=(cmake make g++ python3 g++-mingw-w64-x86-64-posix wine wine64 fonts-wine xvfb xdotool x11-utils
          socat imagemagick libgtest-dev googletest libbenchmark-dev clang libclang-rt-dev llvm clang-format
          ccache python3-pytest python3-xlib python3-psutil locales libutfcpp-dev)
# The served display of scripts/run; the release zip of scripts/package, and the command line's
# manual page and Debian package (help2man, dpkg-shlibdeps).
PACKAGES+=(x11vnc novnc websockify zip help2man dpkg-dev)
# The window manager of the private displays; the browser that the served display's test drives,
# and what it speaks to the served display as a VNC viewer would (WebSocket, DES, a certificate).
PACKAGES+=(openbox chromium chromium-driver python3-selenium python3-websocket python3-pycryptodome openssl)

say() { printf '\n== %s\n' "$*"; }

# Installs only what is missing, so a second run costs a dpkg query.
install_packages() {
    local missing=()
    for package in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
    done
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    if [ ${#missing[@]} -gt 0 ]; then
        say "installing ${missing[*]}"
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
    fi
    locale -a 2>/dev/null | grep -qx 'ru_RU.utf8' || $sudo localedef -i ru_RU -f UTF-8 ru_RU.UTF-8
}

# ccache keeps a second build of the same sources (a fresh clone, CI) to seconds.
export CCACHE_BASEDIR=$TASTOLINK_ROOT
LAUNCHER=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

build_all() {
    say "building the Windows program"
    cmake -S "$TASTOLINK_ROOT" -B "$BUILD_DIR/windows" -DCMAKE_BUILD_TYPE=Release "${LAUNCHER[@]}" \
        -DCMAKE_TOOLCHAIN_FILE="$TASTOLINK_ROOT/cmake/mingw-w64.cmake" >/dev/null
    cmake --build "$BUILD_DIR/windows" -j"$(nproc)"
    say "building the host tree"
    cmake -S "$TASTOLINK_ROOT" -B "$BUILD_DIR/host" -DCMAKE_BUILD_TYPE=Release "${LAUNCHER[@]}" \
        -DTASTOLINK_WINDOWS_BUILD_DIR="$BUILD_DIR/windows" >/dev/null
    cmake --build "$BUILD_DIR/host" -j"$(nproc)"
}

# The core, its unit tests and its fuzz targets, built by clang with the address and
# undefined-behaviour sanitizers and libFuzzer (fuzz/CMakeLists.txt).
FUZZ_BUILD_DIR=$BUILD_DIR/fuzz
build_fuzz_tree() {
    say "building the sanitized core, its unit tests and its fuzz targets"
    cmake -S "$TASTOLINK_ROOT" -B "$FUZZ_BUILD_DIR" -DCMAKE_BUILD_TYPE=Debug -DTASTOLINK_FUZZ=ON "${LAUNCHER[@]}" \
        -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
    cmake --build "$FUZZ_BUILD_DIR" -j"$(nproc)"
}

# Windows can't be created without an X display: when there is none, start a private one of size
# $1 (WIDTHxHEIGHT): Xvfb with a window manager, as tools/driver starts it for the tests.
ensure_display() {
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
    coproc PRIVATE_DISPLAY {
        exec /usr/bin/python3 "$TASTOLINK_ROOT/tools/driver/tastolink_driver" display --size "${1:-2560x1600}"
    }
    DISPLAY_PID=$PRIVATE_DISPLAY_PID
    # Its name, and the cookie that lets a program in: nobody else's programs get in.
    if ! read -r -t 30 DISPLAY XAUTHORITY <&"${PRIVATE_DISPLAY[0]}"; then
        echo "the private display did not start" >&2
        return 1
    fi
    export DISPLAY XAUTHORITY
    say "no display: started a private one on $DISPLAY"
}

# A private prefix under the build tree, readied as the tests ready theirs (tools/driver's
# prepare_prefix: Wine's fonts, no debugger at a crash); its server and its desktop are kept for
# the whole run (keep_desktop), until stop_background ends them.
ensure_wine_prefix() {
    [ -f "$WINEPREFIX/system.reg" ] || say "creating the Wine prefix $WINEPREFIX"
    /usr/bin/python3 "$TASTOLINK_ROOT/tools/driver/tastolink_driver" prefix
}

stop_background() {
    wineserver -k >/dev/null 2>&1 || true
    [ -n "${DISPLAY_PID:-}" ] && kill "$DISPLAY_PID" 2>/dev/null || true
}

# The first port from $2 on that nobody listens on at address $1.
free_port() {
    python3 - "$1" "$2" <<'PYTHON'
import socket, sys
for port in range(int(sys.argv[2]), 65536):
    with socket.socket() as probe:
        probe.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        try:
            probe.bind((sys.argv[1], port))
        except OSError:
            continue
        print(port)
        break
PYTHON
}

# Shows $DISPLAY in a browser, to whoever has SERVED_ADDRESS: x11vnc serves it on a socket in a
# private folder, and websockify serves noVNC on address $1 (WEB_PORT; localhost unless given),
# over HTTPS with certificate $2 and key $3 when given. Both secrets of the address are new at each
# run: websockify relays only a connection that names its token, and x11vnc asks for the VNC
# password. VNC reads 8 characters and DES drops one bit of each, so the password checks at most
# 56 bits: the token's 128 are what a guesser is up against.
serve_display() {
    local address=${1:-localhost} cert=${2:-} key=${3:-}
    SERVED_DIR=$(mktemp -d "${TMPDIR:-/tmp}/tastolink-display.XXXXXX")  # mode 0700
    local socket=$SERVED_DIR/vnc.sock password password_in_address token
    # Handed over by pipes only: no command line that ps shows carries a secret.
    read -r password password_in_address token < <(/usr/bin/python3 -c '
import secrets, string, urllib.parse
password = "".join(secrets.choice(string.ascii_letters + string.digits + string.punctuation) for _ in range(8))
print(password, urllib.parse.quote(password, safe=""), secrets.token_urlsafe(16))') || true
    # x11vnc asks for the password twice, then whether to write it.
    printf '%s\n%s\ny\n' "$password" "$password" | x11vnc -storepasswd "$SERVED_DIR/passwd" >/dev/null 2>&1 || true
    if [ -z "$token" ] || [ ! -s "$SERVED_DIR/passwd" ]; then
        echo "the display's password could not be made in $SERVED_DIR" >&2
        return 1
    fi
    echo "$token: unix_socket:$socket" >"$SERVED_DIR/tokens"
    # The socket in the private folder is x11vnc's only door: its TCP ports (IPv4 and IPv6) are off.
    # The desktop's name is the page's title.
    x11vnc -display "$DISPLAY" -desktop Tastolink -unixsock "$socket" -rfbport 0 -rfbportv6 0 \
        -rfbauth "$SERVED_DIR/passwd" -forever -shared -quiet </dev/null >/dev/null 2>&1 &
    VNC_PID=$!
    local scheme=http tls=()
    if [ -n "$cert" ]; then
        scheme=https tls=(--ssl-only --cert "$cert" ${key:+--key "$key"})
    fi
    WEB_PORT=$(free_port "$address" 6080)
    # A session of its own, so that stop_served_display also ends the workers it forks.
    setsid websockify --web /usr/share/novnc "${tls[@]}" --token-plugin TokenFile \
        --token-source "$SERVED_DIR/tokens" "$address:$WEB_PORT" </dev/null >/dev/null 2>&1 &
    WEBSOCKIFY_PID=$!
    local host=$address
    case "$address" in
        localhost|127.0.0.1) host=localhost ;;
        0.0.0.0|::) host=$(hostname) ;;
        *:*) host="[$address]" ;;  # an IPv6 address
    esac
    # noVNC's own options: connect at once, scale the display to the page, the path of the
    # relay (with its token) and the password.
    SERVED_ADDRESS="$scheme://$host:$WEB_PORT/vnc.html?autoconnect=true&resize=scale"
    SERVED_ADDRESS+="&path=websockify%3Ftoken%3D$token&password=$password_in_address"
    local _
    for _ in $(seq 100); do
        { [ -S "$socket" ] && : </dev/tcp/"$address"/"$WEB_PORT"; } 2>/dev/null && return 0
        sleep 0.1
    done
    echo "the display could not be served (x11vnc on $socket, websockify on $WEB_PORT)" >&2
    return 1
}

stop_served_display() {
    # Neither leaves anything to clean up, and neither ends surely on TERM: x11vnc's handler can
    # hang on a lock that the code it interrupted holds (seen under load: alive 10 s on, waiting
    # in a futex), and websockify stopped just after its start can take a TERM and serve on, deaf
    # to every TERM after it (its handler acts once; seen in 2 of 9 such stops). So both are KILLed.
    if [ -n "${WEBSOCKIFY_PID:-}" ]; then kill -KILL -- -"$WEBSOCKIFY_PID" 2>/dev/null || true; fi
    if [ -n "${VNC_PID:-}" ]; then kill -KILL "$VNC_PID" 2>/dev/null || true; fi
    wait ${WEBSOCKIFY_PID:-} ${VNC_PID:-} 2>/dev/null || true
    if [ -n "${SERVED_DIR:-}" ]; then rm -rf "$SERVED_DIR"; fi
    WEBSOCKIFY_PID="" VNC_PID="" SERVED_DIR=""
}
