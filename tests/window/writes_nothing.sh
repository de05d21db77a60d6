#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program writes nothing: a whole game (a cancelled file dialog first, then the sample maze
# to its exit, then q) leaves the home and XDG folders empty and the working folder as it was;
# under strace, when it is there, no file is opened for writing, created, renamed, linked or
# removed outside /dev and /proc, and no network socket is made.
#
# usage: writes_nothing.sh ZIRK MAZES

# shellcheck source-path=SCRIPTDIR
# Screen points travel as one "X Y" word and are split on purpose where they are used.
# shellcheck disable=SC2046,SC2086
set -euo pipefail
# shellcheck source=play_game.sh
source "$(dirname "$0")/play_game.sh"
zirk="$(realpath "${1:?usage: writes_nothing.sh ZIRK MAZES}")"
mazes="$(realpath "${2:?usage: writes_nothing.sh ZIRK MAZES}")"
[[ -x "$zirk" ]] || fail "no program at $zirk"
need_x_tools
[[ -f "$mazes/exemple.dat" ]] || fail "no $mazes/exemple.dat"

start_xvfb
use_xcb

# snapshot DIR: every entry under DIR with its type, size, mode and modification time.
snapshot() {
    (cd "$1" && find . -printf '%p %y %s %m %T@\n' | LC_ALL=C sort)
}

# play_once LABEL COMMAND...: a fresh home, a working folder holding a copy of exemple.dat, the
# game played through COMMAND (the program, or a wrapper that runs it); then the folders are
# checked.
play_once() {
    local label="$1" work before found
    shift
    fresh_home
    work="$(scratch "work-$label")"
    WORK_DIR="$work"
    cp "$mazes/exemple.dat" "$work/"
    before="$(snapshot "$work")"

    start_game "$work" "$@"
    cancel_dialog
    play_exemple

    # Only the six empty folders fresh_home made may be there.
    found="$(find "$FRESH_ROOT" -mindepth 1 -printf '%y %p\n' |
        grep -v -x -E "d $FRESH_ROOT/(home|config|cache|data|state|runtime)" || true)"
    [[ -z "$found" ]] || fail "$label: the program left things in the home and XDG folders:
$found"
    [[ "$(snapshot "$work")" == "$before" ]] || fail "$label: the working folder changed:
$(diff <(echo "$before") <(snapshot "$work") || true)"
    echo "ok ($label): home, XDG folders and working folder untouched"
}

play_once plain "$zirk"

# Without XDG_RUNTIME_DIR, Qt would make a runtime folder of its own under the temporary folder.
empty_tmp="$(scratch empty-tmp)"
play_once unset-runtime env -u XDG_RUNTIME_DIR TMPDIR="$empty_tmp" "$zirk"
[[ -z "$(ls -A "$empty_tmp")" ]] || fail "unset-runtime: the program made $(ls -A "$empty_tmp") in TMPDIR"
echo "ok (unset-runtime): nothing made in TMPDIR"

# On these desktops Qt would load the GTK platform theme, which keeps settings and caches of its own.
play_once gnome env XDG_CURRENT_DESKTOP=GNOME DESKTOP_SESSION=gnome "$zirk"

# ---------------------------------------------------------------- under strace

if ! command -v strace >/dev/null 2>&1; then
    echo "note: strace is not installed; the system-call check did not run"
    echo "PASS"
    exit 0
fi
if ! probe="$(strace -f -o /dev/null true 2>&1)"; then
    echo "note: strace cannot trace here ($probe); the system-call check did not run"
    echo "PASS"
    exit 0
fi

trace_dir="$(scratch trace)"
log="$trace_dir/strace.log"
# execve and the process and thread starts as well, to name whoever does what; rmdir because
# taking a folder away is writing too.
WAIT=30 play_once strace strace -f -s 4096 \
    -e trace=execve,clone,clone3,fork,vfork,openat,open,creat,rename,renameat,renameat2,link,linkat,symlink,symlinkat,unlink,unlinkat,mkdir,mkdirat,rmdir,socket,connect \
    -o "$log" "$zirk"
[[ -s "$log" ]] || fail "strace wrote no log"

# Reads the log: a call split by another thread's ("<unfinished ...>" then "<... resumed>") is
# put back together first. Prints "BAD pid program: call" for a forbidden call that succeeded and
# "NOTE ..." for what is allowed but worth knowing.
report="$(awk -v work="$WORK_DIR" -v main="$zirk" '
function quoted(s, n,   i, rest) {   # the n-th quoted string of s
    rest = s
    for (i = 1; i <= n; i++) {
        if (!match(rest, /"([^"\\]|\\.)*"/)) return ""
        if (i == n) return substr(rest, RSTART + 1, RLENGTH - 2)
        rest = substr(rest, RSTART + RLENGTH)
    }
}
function absolute(p) { return p ~ /^\// ? p : work "/" p }
function allowed_write(p) { p = absolute(p); return p ~ /^\/dev\// || p ~ /^\/proc\// }
function bad(pid, what) { printf "BAD %s %s: %s\n", pid, (pid in prog ? prog[pid] : "?"), what }
{
    pid = $1
    line = $0
    sub(/^[0-9]+ +/, "", line)   # strace pads the pid column
    if (line ~ / <unfinished \.\.\.>$/) { sub(/ <unfinished \.\.\.>$/, "", line); pending[pid] = line; next }
    if (line ~ /^<\.\.\. [a-z0-9_]+ resumed>/) { sub(/^<\.\.\. [a-z0-9_]+ resumed>/, "", line); line = pending[pid] line; delete pending[pid] }
    if (line ~ /^(\+\+\+|---)/) next
    if (!match(line, /^[a-z0-9_]+\(/)) next
    call = substr(line, 1, RLENGTH - 1)
    calls[call]++
    result = line; sub(/.*\) += /, "", result)
    ok = result !~ /^(-1|\?)/
    if (call == "execve") {
        if (ok) { prog[pid] = quoted(line, 1); if (prog[pid] != main) ran[pid] = 1 }
        else if (!(quoted(line, 2) in tried)) tried[quoted(line, 2)] = pid " " line
        next
    }
    # A thread or a child process runs the program of its parent until an execve of its own.
    if (call ~ /^(clone|clone3|fork|vfork)$/) {
        if (ok && !(result in prog)) prog[result] = prog[pid]
        next
    }
    if (!ok) next
    if (call == "open" || call == "openat") {
        path = quoted(line, 1)
        if (line ~ /O_WRONLY|O_RDWR|O_CREAT|O_TRUNC|O_APPEND|O_TMPFILE/ && !allowed_write(path))
            bad(pid, line)
    } else if (call == "socket") {
        if (line ~ /AF_INET6?[,)]/) bad(pid, line)
    } else if (call == "connect") {
        if (line ~ /sa_family=AF_INET6?[,}]/) bad(pid, line)
        else if (line !~ /X11-unix/) printf "NOTE %s %s: %s\n", pid, prog[pid], line
    } else {
        # creat, rename*, link*, symlink*, unlink*, mkdir*, rmdir: each named path must be in /dev.
        for (i = 1; (path = quoted(line, i)) != ""; i++)
            if (absolute(path) !~ /^\/dev\//) { bad(pid, line); break }
    }
}
END {
    # A log this reading does not understand must not pass for a clean one.
    if (!calls["execve"] || !calls["openat"] || !calls["socket"] || !calls["connect"])
        printf "BAD - -: the trace could not be read (execve %d, openat %d, socket %d, connect %d calls)\n", calls["execve"], calls["openat"], calls["socket"], calls["connect"]
    # The game starts no other program: one that is missing here (dbus-launch, say) may exist elsewhere and write.
    for (p in prog) if (p in ran) printf "BAD %s ran %s\n", p, prog[p]
    for (t in tried) printf "BAD %s tried to run %s and failed: %s\n", substr(tried[t], 1, index(tried[t], " ") - 1), t, substr(tried[t], index(tried[t], " ") + 1)
}
' "$log")"

notes="$(grep '^NOTE' <<<"$report" || true)"
bad="$(grep '^BAD' <<<"$report" || true)"
if [[ -n "$notes" ]]; then
    echo "notes from the trace (allowed):"
    awk '{ sub(/^NOTE /, "  "); print }' <<<"$notes"
fi
if [[ -n "$bad" ]]; then
    fail "the program wrote or reached out (pid, program, call below; XS_KEEP_TMP=1 keeps the whole log):
$(awk '{ sub(/^BAD /, "  "); print }' <<<"$bad")"
fi
echo "ok (strace): no file written, created, renamed, linked or removed outside /dev and /proc; no network socket"
echo "PASS"
