#!/usr/bin/env bash
# Runs a fuzzer for a while and fails on any crash, leak, hang or
# sanitizer report.
#   run_fuzzer.sh FUZZER WORK_DIR SECONDS SEED_DIR...
# FUZZ_SECONDS in the environment overrides SECONDS. New inputs collect in
# WORK_DIR/corpus, failing inputs in WORK_DIR/artifacts; seed folders that
# do not exist are left out, except under CI.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../tests/support/skip.sh"

fuzzer=$1
work=$2
seconds=${FUZZ_SECONDS:-$3}
shift 3

seeds=()
for dir in "$@"; do
    if [[ -d $dir ]]; then
        seeds+=("$dir")
    else
        ci_forbids_skips && { echo "FAIL: no seed folder $dir (under CI=$CI every seed must be there)"; exit 1; }
        echo "run_fuzzer.sh: no seed folder $dir, fuzzing without it"
    fi
done

mkdir -p "$work/corpus" "$work/artifacts"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
exec "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$work/artifacts/" \
    "$work/corpus" "${seeds[@]}"
