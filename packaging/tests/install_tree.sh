#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# install_tree BUILD_DIR SOURCE_DIR
#
# Installs the build into an empty prefix and checks every file that lands there: nothing
# missing, nothing extra, and each file usable by what reads it (the shell, the desktop menu,
# the icon theme, man).
set -euo pipefail

build=${1:?build folder}
src=${2:?source folder}

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

tmp=$(mktemp -d "${TMPDIR:-/tmp}/zirk-install.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
prefix=$tmp/prefix

cmake --install "$build" --prefix "$prefix" >"$tmp/install.log" ||
    { cat "$tmp/install.log" >&2; fail "cmake --install failed"; }

sizes=(16 24 32 48 64 128 256)
mazes=()
for f in "$src"/mazes/*.dat; do
    mazes+=("$(basename "$f")")
done
[[ ${#mazes[@]} -gt 0 ]] || fail "no sample mazes in $src/mazes"

# ---------------------------------------------------------------- exactly these files
{
    echo bin/zirk
    echo share/applications/zirk.desktop
    echo share/doc/zirk/copyright
    for n in "${sizes[@]}"; do echo "share/icons/hicolor/${n}x${n}/apps/zirk.png"; done
    echo share/man/man6/zirk.6.gz
    echo share/man/fr/man6/zirk.6.gz
    echo share/metainfo/org.zirk.zirk.metainfo.xml
    for m in "${mazes[@]}"; do echo "share/zirk/mazes/$m"; done
} | LC_ALL=C sort >"$tmp/expected"
(cd "$prefix" && find . ! -type d | sed 's|^\./||' | LC_ALL=C sort) >"$tmp/actual"
if ! diff -u "$tmp/expected" "$tmp/actual" >"$tmp/diff"; then
    cat "$tmp/diff" >&2
    fail "installed files differ from the expected list (- missing, + unexpected)"
fi

# ---------------------------------------------------------------- the program
exe=$prefix/bin/zirk
[[ -f $exe && -x $exe ]] || fail "bin/zirk is not an executable file"
[[ $(od -An -N4 -tx1 "$exe" | tr -d ' \n') == 7f454c46 ]] || fail "bin/zirk is not an ELF file"
if command -v readelf >/dev/null 2>&1; then
    # A library search path baked in would reach outside the system's library folders.
    search=$(readelf -d "$exe" | grep -E '\((RPATH|RUNPATH)\)' || true)
    [[ -z $search ]] || fail "bin/zirk carries a library search path: $search"
else
    echo "SKIP: readelf is missing (package binutils): library search path not checked"
fi

# Found from the program's own place, with no data folder to look in.
help=$(env -u XDG_DATA_HOME XDG_DATA_DIRS=/nonexistent HOME="$tmp" "$exe" --help) || fail "zirk --help failed"
grep -qF "$prefix/share/zirk/mazes" <<<"$help" || fail "zirk --help does not name $prefix/share/zirk/mazes"
grep -qF "Ctrl+R" <<<"$help" || fail "zirk --help lists no keys"

cmp -s "$prefix/share/metainfo/org.zirk.zirk.metainfo.xml" "$src/packaging/org.zirk.zirk.metainfo.xml" ||
    fail "the installed metainfo is not packaging/org.zirk.zirk.metainfo.xml"

# ---------------------------------------------------------------- desktop entry
desktop=$prefix/share/applications/zirk.desktop
if command -v desktop-file-validate >/dev/null 2>&1; then
    # It reports hints and some warnings with a zero status, so any output counts.
    if ! out=$(desktop-file-validate "$desktop" 2>&1) || [[ -n $out ]]; then
        echo "$out" >&2
        fail "desktop-file-validate rejects zirk.desktop"
    fi
else
    echo "SKIP: desktop-file-validate is not installed (package desktop-file-utils)"
fi
key() {
    grep -E "^$1=" "$desktop" | head -n1 | cut -d= -f2-
}
# The menu runs Exec through PATH and finds Icon in the theme: both must name installed files.
exec_word=$(key Exec | cut -d' ' -f1)
[[ -x $prefix/bin/$exec_word ]] || fail "Exec=$exec_word names no installed program"
icon=$(key Icon)
[[ -f $prefix/share/icons/hicolor/32x32/apps/$icon.png ]] || fail "Icon=$icon names no installed icon"
[[ $(key 'Name\[fr\]') == "Zirk pour Windows" ]] || fail "Name[fr] is '$(key 'Name\[fr\]')'"
[[ $(key Terminal) == false ]] || fail "Terminal is not false"
[[ -n $(key Comment) && -n $(key 'Comment\[fr\]') ]] || fail "Comment or Comment[fr] missing"

# ---------------------------------------------------------------- icons
# PNG: 8-byte signature, then the IHDR chunk: length, "IHDR", width and height (big endian),
# bit depth, colour type.
bytes() { # FILE OFFSET COUNT
    od -An -j"$2" -N"$3" -tu1 "$1" | tr -s ' \n' ' ' | sed 's/^ //; s/ $//'
}
be32() { # FILE OFFSET
    local b
    read -r -a b <<<"$(bytes "$1" "$2" 4)"
    echo $(((b[0] << 24) | (b[1] << 16) | (b[2] << 8) | b[3]))
}
have_im=""
if command -v identify >/dev/null 2>&1; then
    have_im=yes
else
    echo "SKIP: ImageMagick (identify) is missing: icon corners are not checked"
fi
for n in "${sizes[@]}"; do
    png=$prefix/share/icons/hicolor/${n}x${n}/apps/zirk.png
    [[ $(bytes "$png" 0 8) == "137 80 78 71 13 10 26 10" ]] || fail "$png is not a PNG"
    [[ $(bytes "$png" 12 4) == "73 72 68 82" ]] || fail "$png does not start with IHDR"
    w=$(be32 "$png" 16)
    h=$(be32 "$png" 20)
    [[ $w == "$n" && $h == "$n" ]] || fail "${n}x${n} icon is ${w}x${h}"
    read -r depth colour <<<"$(bytes "$png" 24 2)"
    [[ $depth == 8 && $colour == 6 ]] ||
        fail "${n}x${n} icon has bit depth $depth, colour type $colour; want 8-bit RGBA (6)"
    if [[ -n $have_im ]]; then
        # The icon's corners are transparent; a theme draws it on any background.
        alpha=$(identify -format '%[fx:p{0,0}.a] %[fx:p{w-1,h-1}.a]' "$png")
        [[ $alpha == "0 0" ]] || fail "${n}x${n} icon corners have alpha '$alpha', want transparent"
    fi
    # The icon drawn for this size, the one the window shows too.
    cmp -s "$png" "$src/app/pictures/zirk_$n.png" || fail "${n}x${n} icon is not app/pictures/zirk_$n.png"
done

# ---------------------------------------------------------------- sample mazes
for m in "${mazes[@]}"; do
    cmp -s "$src/mazes/$m" "$prefix/share/zirk/mazes/$m" || fail "installed maze $m differs from mazes/$m"
done

# ---------------------------------------------------------------- manual pages
# The English page, and the French one under man/fr with French section names.
check_man() { # INSTALLED SOURCE SECTIONS...
    local man_gz=$1 page=$2
    shift 2
    gzip -t "$man_gz" || fail "$man_gz is not a valid gzip file"
    # Byte 3 holds the flags (8 = an original file name is stored), bytes 4-7 the time stamp: both
    # zero, or the page differs from one build to the next.
    [[ $(bytes "$man_gz" 3 5) == "0 0 0 0 0" ]] || fail "$man_gz stores a name or time stamp"
    cmp -s <(gzip -dc "$man_gz") "$src/packaging/$page" || fail "$man_gz does not hold packaging/$page"

    local render=""
    if command -v man >/dev/null 2>&1; then
        render="man"
        MANPAGER=cat MANWIDTH=80 man --warnings -E UTF-8 -l "$man_gz" >"$tmp/man.txt" 2>"$tmp/man.err" ||
            { cat "$tmp/man.err" >&2; fail "man cannot render $page"; }
    elif command -v groff >/dev/null 2>&1; then
        render="groff"
        gzip -dc "$man_gz" | groff -man -Tutf8 -ww >"$tmp/man.txt" 2>"$tmp/man.err" ||
            { cat "$tmp/man.err" >&2; fail "groff cannot render $page"; }
    else
        echo "SKIP: neither man nor groff is installed: $page is not rendered"
        return
    fi
    if [[ -s $tmp/man.err ]]; then
        cat "$tmp/man.err" >&2
        fail "$render warns about $page"
    fi
    # Rendered headings may carry overstrike or escape sequences; strip them before looking.
    sed 's/.\x08//g; s/\x1b\[[0-9;]*m//g' "$tmp/man.txt" >"$tmp/man.plain"
    local section
    for section in "$@"; do
        grep -q "^$section\$" "$tmp/man.plain" || fail "$page has no $section section"
    done
    grep -q "ZIRK(6)" "$tmp/man.plain" || fail "$page is not ZIRK(6)"
}
check_man "$prefix/share/man/man6/zirk.6.gz" zirk.6 NAME SYNOPSIS DESCRIPTION KEYS FILES ENVIRONMENT NOTES
check_man "$prefix/share/man/fr/man6/zirk.6.gz" zirk.fr.6 NOM SYNOPSIS DESCRIPTION TOUCHES FICHIERS ENVIRONNEMENT NOTES

echo "install tree OK: $(wc -l <"$tmp/actual") files"
