#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the benchmarks of a build tree offscreen, start-up also on a private Xvfb, and prints the table; fails
# when a budget is missed.
#   bench/run.sh [build-dir]     (default build-bench)
set -eu
dir=${1:-build-bench}
case $dir in /*) ;; *) dir=$PWD/$dir ;; esac

# Qt wants a private runtime folder and makes one in /tmp, with a warning, when none is given.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
	rm -rf "$dir/xdg-runtime"
	mkdir -m 700 "$dir/xdg-runtime"
	XDG_RUNTIME_DIR=$dir/xdg-runtime
	export XDG_RUNTIME_DIR
fi

echo "Running the benchmarks (details in $dir/bench.json)..." >&2
# Offscreen, with a real X server (xvfb-run) for the start-up on X11. Nine repetitions of each case, medians
# only; thirty-one starts, since one differs from the next by a fifth. The repetitions of all cases are
# shuffled together, so that a case and its baseline meet the same load from whatever else the machine does.
exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" \
	sh -c 'ZIRK_BENCH_DISPLAY=$DISPLAY QT_QPA_PLATFORM=offscreen exec "$@"' sh \
	"$dir/bench/zirk_bench" \
	--benchmark_repetitions=9 \
	--benchmark_report_aggregates_only=true \
	--benchmark_min_time=0.25 \
	--benchmark_enable_random_interleaving=true \
	--benchmark_out="$dir/bench.json" \
	--benchmark_out_format=json
