# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# Helpers for the real-window tests: a private X server, a window manager, finding windows,
# screenshots and pixels, an empty home. Source it from a bash test script:
#
#   source "$(dirname "$0")/xvfb-session.sh"
#   need_x_tools              # exit 77 (skip) without Xvfb or xdotool
#   fresh_home
#   start_xvfb
#   use_xcb
#   start_wm                  # only for a test that wants a window manager
#   zirk & pid=$!; track_pid "$pid"
#   id=$(wait_window Zirk 10 "$pid")
#   wait_pixel 100 100 255,0,0 5 "the red panel" || fail "the panel is not red"
#   wait_exit "$pid" 5 && echo "ended with $EXIT_STATUS"
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

# scratch NAME: prints the path of a new empty folder NAME inside the temporary folder, removed at
# exit like the rest of it.
scratch() {
    _xs_tmp
    local dir="$_XS_TMP/${1:?usage: scratch NAME}"
    mkdir -p "$dir"
    echo "$dir"
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

# ---------------------------------------------------------------- tools

# need_x_tools: ends the script with status 77 (a skip, for CTest's SKIP_RETURN_CODE) when Xvfb or
# xdotool is not installed, and fails when they are but another tool the helpers use is missing.
need_x_tools() {
    local tool missing=()
    for tool in Xvfb xdotool; do
        command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
    done
    if ((${#missing[@]})); then
        echo "SKIP: ${missing[*]} not installed (packages xvfb, xdotool); no real-window test here" >&2
        exit 77
    fi
    for tool in xwininfo xprop xdpyinfo "$_XS_IMPORT" "$_XS_CONVERT" "$_XS_COMPARE"; do
        command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
    done
    if ((${#missing[@]})); then
        fail "Xvfb and xdotool are here but not ${missing[*]} (packages x11-utils, imagemagick)"
    fi
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
    local n pid i ready log=""
    for ((n = 90; n <= 140; n++)); do
        if _xs_display_taken "$n"; then
            continue
        fi
        log="$_XS_TMP/xvfb-$n.log"
        ready="$_XS_TMP/xvfb-$n.ready"
        : >"$ready"
        # The server writes its display number to -displayfd only once it listens on every
        # socket, so a server that lost the number to another one (whose abstract socket a
        # connection test would happily reach) never looks ready. Without -noreset the server
        # starts over whenever its last client leaves, and refuses whoever connects meanwhile:
        # the readiness test's own connection made the program fail now and then.
        Xvfb ":$n" -screen 0 "1024x768x${1:-24}" -nolisten tcp -noreset -displayfd 3 3>"$ready" \
            >"$log" 2>&1 &
        pid=$!
        for ((i = 0; i < 100; i++)); do
            if [[ -s "$ready" ]]; then
                if kill -0 "$pid" 2>/dev/null && _xs_display_ready ":$n"; then
                    _XS_XVFB_PID="$pid"
                    _XS_PIDS+=("$pid")
                    export DISPLAY=":$n"
                    return 0
                fi
                break
            fi
            if ! kill -0 "$pid" 2>/dev/null; then
                break # lost the race for this number to another server: try the next one
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

# use_xcb: makes the Qt programs started from here open real windows on $DISPLAY at one pixel per
# pixel, whatever the calling shell had set (an offscreen platform, a desktop's scaling, theme or
# session bus, which would let a test depend on the machine it runs on).
use_xcb() {
    export QT_QPA_PLATFORM=xcb
    unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR \
        QT_ENABLE_HIGHDPI_SCALING QT_FONT_DPI QT_USE_PHYSICAL_DPI QT_DEVICE_PIXEL_RATIO \
        QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE QT_QPA_PLATFORM_PLUGIN_PATH WAYLAND_DISPLAY \
        DBUS_SESSION_BUS_ADDRESS
}

# ---------------------------------------------------------------- windows

# wait_window NAME [TIMEOUT] [PID]: waits until exactly one visible window's title matches NAME
# (an extended regular expression, anchored at both ends; xdotool ignores case) and prints its id.
# TIMEOUT in whole seconds, 10 by default. Given the PID of the program that should show it, gives
# up at once when that program has ended.
wait_window() {
    local name="${1:?usage: wait_window NAME [SECONDS] [PID]}" timeout="${2:-10}" pid="${3:-}"
    local ids count=0 deadline
    deadline="$(_xs_deadline "$timeout")"
    while _xs_before "$deadline"; do
        ids="$(xdotool search --onlyvisible --name "^$name\$" 2>/dev/null || true)"
        count=$(grep -c . <<<"$ids" || true)
        if [[ "$count" == 1 ]]; then
            echo "$ids"
            return 0
        fi
        if [[ -n "$pid" ]] && ! still_running "$pid"; then
            _xs_log "wait_window: the program (pid $pid) ended before a window named '$name' showed"
            return 1
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

# geometry_is ID "X Y W H": true when window_geometry ID prints exactly that.
geometry_is() {
    local actual
    actual="$(window_geometry "$1" 2>/dev/null)" || return 1
    [[ "$actual" == "$2" ]]
}

# ---------------------------------------------------------------- waiting

# _xs_deadline SECONDS: prints the time, in milliseconds, SECONDS from now; _xs_before DEADLINE
# is true until then. Counting turns of a polling loop instead would stretch every timeout by
# however long each turn's own work takes.
_xs_now_ms() {
    if [[ -n "${EPOCHREALTIME:-}" ]]; then
        local t="${EPOCHREALTIME/[.,]/}"
        echo "${t:0:${#t}-3}"
    else
        date +%s%3N
    fi
}
_xs_deadline() { echo $(($(_xs_now_ms) + $1 * 1000)); }
_xs_before() { (($(_xs_now_ms) < $1)); }

# wait_for SECONDS WHAT COMMAND [ARG...]: runs COMMAND every tenth of a second until it succeeds;
# after SECONDS says it timed out waiting for WHAT and returns non-zero.
wait_for() {
    local seconds="${1:?usage: wait_for SECONDS WHAT COMMAND...}" what="${2:?}" deadline
    shift 2
    deadline="$(_xs_deadline "$seconds")"
    while _xs_before "$deadline"; do
        if "$@"; then
            return 0
        fi
        sleep 0.1
    done
    "$@" && return 0
    _xs_log "timed out after $seconds s waiting for $what"
    return 1
}

# still_running PID: true while PID runs (a child that ended but was not yet waited for still
# answers kill -0, so that is not enough).
still_running() {
    local stat
    kill -0 "$1" 2>/dev/null || return 1
    stat="$(cat "/proc/$1/stat" 2>/dev/null)" || return 1
    stat="${stat##*) }"
    [[ "${stat%% *}" != Z ]]
}

# wait_exit PID [SECONDS]: waits for the child PID (started with & by this shell) to end and
# leaves its exit status in EXIT_STATUS; returns non-zero if it still runs after SECONDS (5 by
# default). Call it directly, not inside $(...): a subshell cannot wait for its parent's child.
EXIT_STATUS=""
# shellcheck disable=SC2034 # EXIT_STATUS is for the caller
wait_exit() {
    local pid="${1:?usage: wait_exit PID [SECONDS]}" seconds="${2:-5}" deadline
    EXIT_STATUS=""
    deadline="$(_xs_deadline "$seconds")"
    while _xs_before "$deadline"; do
        if ! still_running "$pid"; then
            EXIT_STATUS=0
            wait "$pid" || EXIT_STATUS=$?
            return 0
        fi
        sleep 0.1
    done
    _xs_log "process $pid still runs after $seconds s"
    return 1
}

# ---------------------------------------------------------------- pictures

# ImageMagick's tools by path: the first `convert` on PATH may be something else.
_XS_CONVERT=/usr/bin/convert
_XS_IMPORT=/usr/bin/import
_XS_COMPARE=/usr/bin/compare

# screenshot FILE: the whole screen of $DISPLAY as the server shows it, in the format FILE's
# extension names. `xwd -root` is no good here: once windows with a colormap of their own overlap,
# it pieces the screen together window by window and paints a lower window's hidden part over the
# one above it (seen: a message box came out black). `import` reads the root window in one piece.
screenshot() {
    local file="${1:?usage: screenshot FILE}" out
    if [[ -z "${DISPLAY:-}" ]]; then
        _xs_log "screenshot: no DISPLAY"
        return 1
    fi
    if ! out="$("$_XS_IMPORT" -silent -display "$DISPLAY" -window root "$file" 2>&1)"; then
        _xs_log "screenshot: import failed: $out"
        return 1
    fi
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

# differing_pixels A B: prints how many pixels differ between two pictures of the same size.
differing_pixels() {
    local out status=0
    out="$("$_XS_COMPARE" -metric AE "${1:?usage: differing_pixels A B}" "${2:?}" null: 2>&1)" || status=$?
    # compare exits 1 when the pictures differ and 2 when it cannot compare them.
    if ((status > 1)) || [[ ! "$out" =~ ^[0-9]+$ ]]; then
        _xs_log "differing_pixels: $out"
        return 1
    fi
    echo "$out"
}

# wait_pixel X Y R,G,B [SECONDS] [WHAT]: waits until the screen shows that colour at (X, Y)
# (5 s by default). On a timeout it names WHAT and the colour last seen, and keeps that screen
# as last-wait.png in the temporary folder (see XS_KEEP_TMP).
wait_pixel() {
    local x="${1:?usage: wait_pixel X Y R,G,B [SECONDS] [WHAT]}" y="${2:?}" want="${3:?}"
    local seconds="${4:-5}" what="${5:-the colour $3 at $1,$2}" seen="" deadline
    _xs_tmp
    deadline="$(_xs_deadline "$seconds")"
    while :; do
        if screenshot "$_XS_TMP/last-wait.png" && seen="$(pixel "$_XS_TMP/last-wait.png" "$x" "$y")" &&
            [[ "$seen" == "$want" ]]; then
            return 0
        fi
        _xs_before "$deadline" || break
        sleep 0.1
    done
    _xs_log "timed out after $seconds s waiting for $what: $x,$y shows $seen, not $want"
    return 1
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
