#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The screenshot in the README, taken again by the script that made it, must not differ by a pixel.
#
# usage: screenshot_is_current.sh ZIRK COMMITTED.png
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
zirk="${1:?usage: screenshot_is_current.sh ZIRK COMMITTED.png}"
committed="${2:?usage: screenshot_is_current.sh ZIRK COMMITTED.png}"
command -v Xvfb >/dev/null && command -v xdotool >/dev/null || exit 77

fresh="$(mktemp -d)"
trap 'rm -rf "$fresh"' EXIT
bash "$here/../../tools/screenshot.sh" "$zirk" "$fresh/screenshot.png"
differing="$(/usr/bin/compare -metric AE "$committed" "$fresh/screenshot.png" null: 2>&1 || true)"
if [[ "$differing" != "0" ]]; then
    echo "FAIL: docs/screenshot.png is out of date ($differing pixels differ); run: make screenshot" >&2
    exit 1
fi
echo "ok: the README's screenshot is current"
