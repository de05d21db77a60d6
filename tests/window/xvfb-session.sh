# shellcheck shell=bash
# Helpers for the real-window tests: a private X server, a window manager, finding windows,
# screenshots and pixels, an empty home. Source it from a bash test script:
#
#   source "$(dirname "$0")/xvfb-session.sh"
#   fresh_home
#   start_xvfb
#   start_wm
#   zirk & track_pid $!
#   id=$(wait_window Zirk)
#
# Everything here works under the caller's `set -euo pipefail`: a helper that cannot do its job
# says why on stderr and returns non-zero, which ends a `set -e` script. Whatever start_xvfb,
# start_wm and track_pid started is stopped when the script exits, and the temporary folder is
# removed (set XS_KEEP_TMP=1 to keep it for a look after a failure). Bash runs a signal's trap
# only once the foreground command ends: wait with `sleep N & wait $!`, not a bare `sleep N`.

if [[ -n "${_XS_SOURCED:-}" ]]; then
    return 0
fi
_XS_SOURCED=1

_XS_TMP=""
_XS_XVFB_PID=""
_XS_PIDS=()        # stopped at exit, last started first
_XS_ON_EXIT=()     # extra commands run at exit, before the processes are stopped
_XS_TRAPPED=""

# ---------------------------------------------------------------- messages

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# assert_eq EXPECTED ACTUAL [WHAT]
assert_eq() {
    local expected="${1-}" actual="${2-}" what="${3:-value}"
    if [[ "$expected" != "$actual" ]]; then
        fail "$what: expected '$expected', got '$actual'"
    fi
}

_xs_log() {
    echo "xvfb-session: $*" >&2
}

# ---------------------------------------------------------------- cleanup

_xs_tmp() {
    if [[ -z "$_XS_TMP" ]]; then
        _XS_TMP="$(mktemp -d "${TMPDIR:-/tmp}/zirk-xs.XXXXXX")"
        _xs_trap
    fi
}

# Stops one process: politely, then for good after two seconds.
_xs_stop() {
    local pid="$1" i
    kill -TERM "$pid" 2>/dev/null || return 0
    for ((i = 0; i < 20; i++)); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}

_xs_cleanup() {
    local status=$? i cmd
    set +e
    for ((i = ${#_XS_ON_EXIT[@]} - 1; i >= 0; i--)); do
        cmd="${_XS_ON_EXIT[i]}"
        eval "$cmd"
    done
    for ((i = ${#_XS_PIDS[@]} - 1; i >= 0; i--)); do
        _xs_stop "${_XS_PIDS[i]}"
    done
    _XS_PIDS=()
    if [[ -n "$_XS_TMP" && -d "$_XS_TMP" ]]; then
        if [[ -n "${XS_KEEP_TMP:-}" ]]; then
            _xs_log "kept $_XS_TMP"
        else
            rm -rf "$_XS_TMP"
        fi
    fi
    return "$status"
}

# Installs the exit trap once, keeping an EXIT trap the caller set before. A trap the caller sets
# later replaces this one: use on_exit instead.
_xs_trap() {
    [[ -n "$_XS_TRAPPED" ]] && return 0
    _XS_TRAPPED=1
    local previous
    previous="$(trap -p EXIT)"
    if [[ -n "$previous" ]]; then
        # trap -p prints: trap -- 'COMMAND' EXIT
        previous="${previous#trap -- \'}"
        previous="${previous%\' EXIT}"
        previous="${previous//\'\\\'\'/\'}"
        _XS_ON_EXIT+=("$previous")
    fi
    trap _xs_cleanup EXIT
    # A signal ends the script through exit, so the EXIT trap still runs.
    trap 'exit 129' HUP
    trap 'exit 130' INT
    trap 'exit 143' TERM
}

# on_exit COMMAND: runs COMMAND when the script exits, before the processes are stopped.
on_exit() {
    _xs_trap
    _XS_ON_EXIT+=("$1")
}

# track_pid PID: stops PID when the script exits (before the window manager and the X server).
track_pid() {
    _xs_trap
    _XS_PIDS+=("$1")
}

# ---------------------------------------------------------------- X server

_xs_display_ready() {
    if command -v xdpyinfo >/dev/null 2>&1; then
        xdpyinfo -display "$1" >/dev/null 2>&1
    else
        DISPLAY="$1" xdotool getdisplaygeometry >/dev/null 2>&1
    fi
}

# True when display number N looks taken: a live server's lock file or socket.
_xs_display_taken() {
    local n="$1" pid
    if [[ -f "/tmp/.X$n-lock" ]]; then
        pid="$(tr -d ' \n' <"/tmp/.X$n-lock" 2>/dev/null || true)"
        if [[ -z "$pid" || -d "/proc/$pid" ]]; then
            return 0
        fi
    fi
    [[ -S "/tmp/.X11-unix/X$n" && ! -f "/tmp/.X$n-lock" ]]
}

# start_xvfb: starts Xvfb on the first free display from :90 to :140 and exports DISPLAY.
start_xvfb() {
    _xs_tmp
    if ! command -v Xvfb >/dev/null 2>&1; then
        _xs_log "Xvfb is not installed (package xvfb)"
        return 1
    fi
    local n pid i lockpid log=""
    for ((n = 90; n <= 140; n++)); do
        if _xs_display_taken "$n"; then
            continue
        fi
        log="$_XS_TMP/xvfb-$n.log"
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >"$log" 2>&1 &
        pid=$!
        for ((i = 0; i < 100; i++)); do
            if ! kill -0 "$pid" 2>/dev/null; then
                break # lost the race for this number to another server: try the next one
            fi
            if _xs_display_ready ":$n"; then
                # Another test may have started a server on the same number a moment before us;
                # the lock file names the server that really owns it.
                lockpid="$(tr -d ' \n' <"/tmp/.X$n-lock" 2>/dev/null || true)"
                if [[ "$lockpid" == "$pid" ]]; then
                    _XS_XVFB_PID="$pid"
                    _XS_PIDS+=("$pid")
                    export DISPLAY=":$n"
                    return 0
                fi
                break
            fi
            sleep 0.1
        done
        _xs_stop "$pid"
    done
    _xs_log "could not start Xvfb on any display from :90 to :140; last log:"
    cat "$log" >&2 2>/dev/null || true
    return 1
}

# start_wm: starts openbox on $DISPLAY and waits until it manages the screen. It gets a home of
# its own, so that whatever it writes never lands in the home a test inspects.
start_wm() {
    _xs_tmp
    if [[ -z "${DISPLAY:-}" ]]; then
        _xs_log "start_wm: no DISPLAY, call start_xvfb first"
        return 1
    fi
    local home="$_XS_TMP/wm-home" pid i
    mkdir -p "$home/.config" "$home/.cache" "$home/.local/share" "$home/.local/state"
    HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_CACHE_HOME="$home/.cache" \
        XDG_DATA_HOME="$home/.local/share" XDG_STATE_HOME="$home/.local/state" \
        openbox --sm-disable >"$_XS_TMP/openbox.log" 2>&1 &
    pid=$!
    _XS_PIDS+=("$pid")
    for ((i = 0; i < 100; i++)); do
        if ! kill -0 "$pid" 2>/dev/null; then
            _xs_log "openbox exited at once; its log:"
            cat "$_XS_TMP/openbox.log" >&2 || true
            return 1
        fi
        # A window manager announces itself on the root window.
        if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
            return 0
        fi
        sleep 0.1
    done
    _xs_log "openbox did not take the screen within 10 s"
    return 1
}

# ---------------------------------------------------------------- windows

# wait_window NAME [TIMEOUT]: waits until exactly one visible window's title matches NAME
# (an extended regular expression, anchored at both ends; xdotool ignores case) and prints its id.
# TIMEOUT in whole seconds, 10 by default.
wait_window() {
    local name="${1:?usage: wait_window NAME [SECONDS]}" timeout="${2:-10}" ids count=0 i
    for ((i = 0; i < timeout * 10; i++)); do
        ids="$(xdotool search --onlyvisible --name "^$name\$" 2>/dev/null || true)"
        count=$(grep -c . <<<"$ids" || true)
        if [[ "$count" == 1 ]]; then
            echo "$ids"
            return 0
        fi
        sleep 0.1
    done
    _xs_log "wait_window: expected one visible window named '$name', found $count after ${timeout} s"
    return 1
}

# window_geometry ID: prints "X Y W H" of the window's own area, X and Y relative to the screen.
# Read from xwininfo: `xdotool getwindowgeometry` counts the window manager's frame offset twice
# once the window is reparented (seen with openbox: 20 pixels too low, 1 too far right).
window_geometry() {
    local id="${1:?usage: window_geometry ID}" out key value x="" y="" w="" h=""
    if ! out="$(xwininfo -id "$id" 2>&1)"; then
        _xs_log "window_geometry: $out"
        return 1
    fi
    while IFS=':' read -r key value; do
        value="${value//[[:space:]]/}"
        case "$key" in
            *"Absolute upper-left X") x="$value" ;;
            *"Absolute upper-left Y") y="$value" ;;
            *"Width") w="$value" ;;
            *"Height") h="$value" ;;
        esac
    done <<<"$out"
    if [[ -z "$x" || -z "$y" || -z "$w" || -z "$h" ]]; then
        _xs_log "window_geometry: could not read: $out"
        return 1
    fi
    echo "$x $y $w $h"
}

# ---------------------------------------------------------------- pictures

# /usr/bin/convert by name: the first `convert` on PATH may be something else.
_XS_CONVERT=/usr/bin/convert

# screenshot FILE: the whole screen of $DISPLAY, in the format FILE's extension names.
screenshot() {
    local file="${1:?usage: screenshot FILE}" raw out
    if [[ -z "${DISPLAY:-}" ]]; then
        _xs_log "screenshot: no DISPLAY"
        return 1
    fi
    _xs_tmp
    # Two steps rather than a pipe, so that each tool's failure is told apart.
    raw="$_XS_TMP/screen.xwd"
    if ! out="$(xwd -root -silent -display "$DISPLAY" -out "$raw" 2>&1)"; then
        _xs_log "screenshot: xwd failed: $out"
        return 1
    fi
    if ! out="$("$_XS_CONVERT" "xwd:$raw" "$file" 2>&1)"; then
        _xs_log "screenshot: convert failed: $out"
        return 1
    fi
    rm -f "$raw"
}

# pixel FILE X Y: prints the colour at (X, Y) as "R,G,B", 0 to 255 each.
pixel() {
    local file="${1:?usage: pixel FILE X Y}" x="${2:?usage: pixel FILE X Y}" y="${3:?usage: pixel FILE X Y}"
    local out values r g b
    if ! out="$("$_XS_CONVERT" "$file" -crop "1x1+$x+$y" -depth 8 txt:- 2>&1)"; then
        _xs_log "pixel: $out"
        return 1
    fi
    # The line reads like "0,0: (255,0,0)  #FF0000  red"; grey pictures give a single value,
    # some builds add alpha or write fractions.
    values="$(sed -n 's/^[0-9]*,[0-9]*: *(\([^)]*\)).*/\1/p' <<<"$out" | head -n 1)"
    if [[ -z "$values" ]]; then
        _xs_log "pixel: no pixel at $x,$y in $file: $out"
        return 1
    fi
    IFS=',' read -r r g b _ <<<"$values"
    if [[ -z "$g" ]]; then
        g="$r" b="$r"
    fi
    LC_ALL=C printf '%.0f,%.0f,%.0f\n' "$r" "$g" "$b"
}

# ---------------------------------------------------------------- home

# fresh_home: points HOME and the XDG folders at new empty folders under a temporary folder,
# whose path is left in FRESH_ROOT (for a `find "$FRESH_ROOT" -type f` at the end, say).
fresh_home() {
    _xs_tmp
    FRESH_ROOT="$_XS_TMP/home-root"
    rm -rf "$FRESH_ROOT"
    mkdir -p "$FRESH_ROOT/home" "$FRESH_ROOT/config" "$FRESH_ROOT/cache" "$FRESH_ROOT/data" \
        "$FRESH_ROOT/state"
    mkdir -m 700 "$FRESH_ROOT/runtime"
    export FRESH_ROOT
    export HOME="$FRESH_ROOT/home"
    export XDG_CONFIG_HOME="$FRESH_ROOT/config"
    export XDG_CACHE_HOME="$FRESH_ROOT/cache"
    export XDG_DATA_HOME="$FRESH_ROOT/data"
    export XDG_STATE_HOME="$FRESH_ROOT/state"
    export XDG_RUNTIME_DIR="$FRESH_ROOT/runtime"
}
