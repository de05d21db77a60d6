#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The format test: every tracked C++ file laid out as clang-format 14 lays it out under the
# committed .clang-format, and every source file opening with its SPDX licence line. Names each
# file that is not and fails; `make format` puts them right. Runs on the source tree it lives in,
# wherever it is called from.
set -euo pipefail
cd "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/.."
# shellcheck source=tools/source-files.sh
. tools/source-files.sh

fail() { echo "FAIL: $*" >&2 && exit 1; }

# Each major version lays some code out differently, so another one would fail files that 14
# accepts and pass files that it rejects.
cf=$(command -v clang-format-14 || command -v clang-format || true)
[[ -n $cf ]] || fail "clang-format is missing (package clang-format)"
version=$("$cf" --version)
[[ $version =~ version\ 14\. ]] || fail "$cf is not clang-format 14: $version"
# Without it clang-format falls back to its own style and every file would be judged by that.
[[ -f .clang-format ]] || fail "no .clang-format at the top of the tree"

mapfile -d '' files < <(zirk_files)
cpp=0
sources=0
off=()
unlicensed=()
for f in "${files[@]}"; do
    comment=$(zirk_comment "$f")
    [[ -n $comment && -f $f ]] || continue
    sources=$((sources + 1))
    zirk_has_spdx "$f" "$comment" || unlicensed+=("$f")
    [[ $comment == // ]] || continue
    cpp=$((cpp + 1))
    if ! out=$("$cf" --dry-run --Werror -- "$f" 2>&1); then
        # Anything but a layout complaint (an unreadable .clang-format, a file it cannot read)
        # would otherwise show up as every file being off.
        if ! grep -q 'Wclang-format-violations' <<<"$out"; then
            echo "$out" >&2
            fail "$cf cannot check $f"
        fi
        off+=("$f")
    fi
done
[[ $cpp -gt 0 ]] || fail "no C++ files found: is this the source tree?"

if [[ ${#off[@]} -gt 0 ]]; then
    echo "Not laid out as .clang-format says (${#off[@]} of $cpp C++ files):"
    printf '  %s\n' "${off[@]}"
fi
if [[ ${#unlicensed[@]} -gt 0 ]]; then
    echo "Without the line '$ZIRK_SPDX' at the top (${#unlicensed[@]} of $sources source files):"
    printf '  %s\n' "${unlicensed[@]}"
fi
if [[ ${#off[@]} -gt 0 || ${#unlicensed[@]} -gt 0 ]]; then
    fail "run \`make format\`"
fi
echo "format OK: $cpp C++ files laid out, $sources source files licensed"
