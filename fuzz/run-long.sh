#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A long local fuzzing run: each target in turn, one process at a time and at low priority, so that the
# machine stays usable, starting from a fresh copy of its seeds. Prints what each run did at the end.
#
#   fuzz/run-long.sh [RUNS] [BUILD_DIR]      RUNS defaults to 10000000, BUILD_DIR to build-fuzz
#
# The build directory is one configured with -DZIRK_GAME_ONLY=ON -DZIRK_FUZZ=ON and clang. The grown corpora,
# the logs and anything that crashed stay under BUILD_DIR/fuzz/long/.
set -u

runs=${1:-10000000}
build=${2:-build-fuzz}
here=$(cd "$(dirname "$0")" && pwd)
long="$build/fuzz/long"
failed=0

for target in loader view_step; do
    fuzzer="$build/fuzz/fuzz_$target"
    if [ ! -x "$fuzzer" ]; then
        echo "run-long: $fuzzer is missing; build $build first" >&2
        exit 2
    fi
    work="$long/$target"
    rm -rf "$work"
    mkdir -p "$work"
    cp -R "$here/corpus/$target" "$work/corpus"
    seeds=$(find "$work/corpus" -type f | wc -l)

    echo "== fuzz_$target: $runs executions from $seeds seeds"
    start=$(date +%s)
    # In this very process (no -jobs, which would fork workers); room for the largest sample maze (a full
    # 100 x 100 grid) and its steering bytes.
    nice -n 10 "$fuzzer" -runs="$runs" -print_final_stats=1 -rss_limit_mb=512 \
        -max_len=12000 -artifact_prefix="$work/" "$work/corpus" >"$work/log" 2>&1
    status=$?
    seconds=$(($(date +%s) - start))

    done_line=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$work/log" | tail -n 1)
    executions=$(sed -n 's/^stat::number_of_executed_units:[[:space:]]*//p' "$work/log" | tail -n 1)
    rate=$(sed -n 's/^stat::average_exec_per_sec:[[:space:]]*//p' "$work/log" | tail -n 1)
    rss=$(sed -n 's/^stat::peak_rss_mb:[[:space:]]*//p' "$work/log" | tail -n 1)
    files=$(find "$work/corpus" -type f | wc -l)
    echo "   exit status   $status"
    echo "   executions    ${executions:-?} in ${seconds} s (${rate:-?} exec/s), peak RSS ${rss:-?} MB"
    echo "   coverage      $(echo "$done_line" | grep -oE 'cov: [0-9]+ ft: [0-9]+')"
    echo "   corpus        $files files ($(echo "$done_line" | grep -oE 'corp: [^ ]+'))"
    if [ "$status" -ne 0 ]; then
        failed=1
        echo "   FAILED: see $work/log; the input is kept as:"
        find "$work" -maxdepth 1 -type f \
            \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) -printf '     %p\n'
    fi
done

echo "== machine: $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)"
exit "$failed"
