#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# add-spdx.sh [FILE...]: puts the licence line on line 1 of each source file that lacks it, or on line 2 under
# a "#!" line so that the script still starts. Without arguments, every tracked source file (what the format
# test checks). Running it twice changes nothing.
set -euo pipefail

root=$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/..
files=()
for f in "$@"; do
    files+=("$(realpath -m --relative-to="$root" -- "$f")")
done
cd "$root"
# shellcheck source=tools/source-files.sh
. tools/source-files.sh

if [[ $# -eq 0 ]]; then
    mapfile -d '' files < <(zirk_files)
fi

added=0
for f in "${files[@]}"; do
    comment=$(zirk_comment "$f")
    # A symbolic link is left alone: sed -i would replace it with a copy of its target.
    [[ -n $comment && -f $f && ! -L $f ]] || continue
    zirk_has_spdx "$f" "$comment" && continue
    line="$comment $ZIRK_SPDX"
    if [[ ! -s $f ]]; then
        printf '%s\n' "$line" >"$f"
    elif [[ $(head -c 2 -- "$f") == '#!' ]]; then
        sed -i "1a\\
$line" -- "$f"
    else
        sed -i "1i\\
$line" -- "$f"
    fi
    echo "$f"
    added=$((added + 1))
done
echo "licence line added to $added file(s)" >&2
