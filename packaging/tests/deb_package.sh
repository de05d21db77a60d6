#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# deb_package BUILD_DIR SOURCE_DIR
#
# Builds the .deb into a temporary folder, reads its control fields and file list, unpacks it
# (never installs it) and starts the unpacked program on the offscreen platform.
set -euo pipefail

build=${1:?build folder}
src=${2:?source folder}

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

for tool in cpack dpkg-deb dpkg; do
    command -v "$tool" >/dev/null 2>&1 || fail "$tool is missing (cpack: cmake; the others: dpkg-dev)"
done
# Without it CPack silently leaves the Qt libraries out of Depends.
command -v dpkg-shlibdeps >/dev/null 2>&1 || fail "dpkg-shlibdeps is missing (package dpkg-dev)"

tmp=$(mktemp -d "${TMPDIR:-/tmp}/zirk-deb.XXXXXX")
trap 'rm -rf "$tmp"' EXIT

(cd "$tmp" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/out") >"$tmp/cpack.log" 2>&1 ||
    { cat "$tmp/cpack.log" >&2; fail "cpack failed"; }

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$build/CMakeCache.txt")
[[ -n $version ]] || fail "no project version in $build/CMakeCache.txt"
arch=$(dpkg --print-architecture)

shopt -s nullglob
debs=("$tmp"/out/*.deb)
[[ ${#debs[@]} -eq 1 ]] || fail "expected one .deb, got: ${debs[*]:-none}"
deb=${debs[0]}
[[ $(basename "$deb") == "zirk_${version}_${arch}.deb" ]] || fail "package file is named $(basename "$deb")"

# ---------------------------------------------------------------- control fields
field() {
    dpkg-deb --field "$deb" "$1"
}
dpkg-deb --info "$deb" >"$tmp/info" || fail "dpkg-deb --info cannot read the package"
[[ $(field Package) == zirk ]] || fail "Package is '$(field Package)'"
[[ $(field Version) == "$version" ]] || fail "Version is '$(field Version)', project is $version"
[[ $(field Architecture) == "$arch" ]] || fail "Architecture is '$(field Architecture)'"
[[ $(field Section) == games ]] || fail "Section is '$(field Section)'"
[[ -n $(field Maintainer) ]] || fail "no Maintainer"
[[ -n $(field Description) ]] || fail "no Description"

depends=$(field Depends)
echo "Depends: $depends"
# One package name per comma-separated item, version constraints and alternatives dropped.
names=$(echo "$depends" | tr ',|' '\n' | sed 's/(.*)//; s/[[:space:]]//g' | sed '/^$/d')
for need in libqt6widgets6 libqt6gui6 libqt6core6 qt6-qpa-plugins qt6-translations-l10n fonts-liberation; do
    grep -qx "$need" <<<"$names" || fail "Depends does not name $need"
done

# ---------------------------------------------------------------- files
dpkg-deb --contents "$deb" >"$tmp/contents" || fail "dpkg-deb --contents cannot read the package"
# Columns: mode, owner/group, size, date, time, path (paths hold no spaces here).
awk '{ print $6 }' "$tmp/contents" >"$tmp/paths"
outside=$(grep -v -e '^\./$' -e '^\./usr/' "$tmp/paths" || true)
[[ -z $outside ]] || fail "files outside /usr: $outside"
awk '$2 != "root/root" { print $6 }' "$tmp/contents" >"$tmp/not_root"
[[ ! -s $tmp/not_root ]] || fail "not owned by root: $(cat "$tmp/not_root")"

{
    echo ./usr/bin/zirk
    echo ./usr/share/applications/zirk.desktop
    echo ./usr/share/doc/zirk/copyright
    for n in 16 24 32 48 64 128 256; do echo "./usr/share/icons/hicolor/${n}x${n}/apps/zirk.png"; done
    echo ./usr/share/man/man6/zirk.6.gz
    echo ./usr/share/man/fr/man6/zirk.6.gz
    echo ./usr/share/metainfo/org.zirk.zirk.metainfo.xml
    for f in "$src"/mazes/*.dat; do echo "./usr/share/zirk/mazes/$(basename "$f")"; done
} | LC_ALL=C sort >"$tmp/expected"
awk '$1 !~ /^d/ { print $6 }' "$tmp/contents" | LC_ALL=C sort >"$tmp/files"
if ! diff -u "$tmp/expected" "$tmp/files" >"$tmp/diff"; then
    cat "$tmp/diff" >&2
    fail "packaged files differ from the expected list (- missing, + unexpected)"
fi
mode=$(awk '$6 == "./usr/bin/zirk" { print $1 }' "$tmp/contents")
[[ $mode == -rwxr-xr-x ]] || fail "/usr/bin/zirk has mode $mode"

# ---------------------------------------------------------------- the unpacked program starts
root=$tmp/root
dpkg-deb -x "$deb" "$root" || fail "dpkg-deb -x cannot unpack the package"
for f in "$src"/mazes/*.dat; do
    cmp -s "$f" "$root/usr/share/zirk/mazes/$(basename "$f")" || fail "packaged $(basename "$f") differs"
done

mkdir -m 700 "$tmp/runtime"
mkdir "$tmp/home"
status=0
(cd "$tmp/home" &&
    env HOME="$tmp/home" XDG_RUNTIME_DIR="$tmp/runtime" XDG_CONFIG_HOME="$tmp/home/.config" \
        XDG_CACHE_HOME="$tmp/home/.cache" XDG_DATA_HOME="$tmp/home/.local/share" \
        QT_QPA_PLATFORM=offscreen \
        timeout 2 "$root/usr/bin/zirk") >"$tmp/run.log" 2>&1 || status=$?
# timeout's 124 means the game was still running, waiting for the player, when time was up.
if [[ $status -ne 124 ]]; then
    cat "$tmp/run.log" >&2
    fail "the unpacked /usr/bin/zirk ended with status $status within 2 seconds"
fi

echo "package OK: $(basename "$deb")"
