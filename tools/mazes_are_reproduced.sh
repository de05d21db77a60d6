#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# mazes_are_reproduced.sh MAKEMAZES SCRATCH MAZES: draws the generated mazes into SCRATCH and fails unless each
# one is in MAZES with the same bytes, so that nobody edits one by hand or changes the generator alone.
set -euo pipefail
makemazes=$1 scratch=$2 mazes=$3
rm -rf "$scratch"
mkdir -p "$scratch"
"$makemazes" "$scratch"
count=0
for drawn in "$scratch"/*.dat; do
    name=${drawn##*/}
    cmp "$drawn" "$mazes/$name" || { echo "$name differs from the committed maze (or is not committed)" >&2; exit 1; }
    count=$((count + 1))
done
[[ $count -ge 6 ]] || { echo "makemazes drew $count mazes, expected at least 6" >&2; exit 1; }
echo "$count mazes reproduced"
