#!/usr/bin/env bash
# Runs the settings-file fuzzer for a bounded time (seconds, default 30). The
# corpus it grows stays in the build tree between runs; the seeds are the
# checked-in examples and the tests' hostile files. Prints one line of
# figures and fails on any crash, leak or time-out.
# shellcheck source=tools/lib.sh
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
seconds="${1:-30}"
fuzz="$root/build/fuzz"
mkdir -p "$fuzz/corpus" "$fuzz/seeds"
rm -rf "$fuzz/artifacts"
mkdir -p "$fuzz/artifacts"
seeds=$("$fuzz/bin/write_seeds" "$fuzz/seeds")
log="$fuzz/last-run.log"
status=0
(cd "$fuzz/artifacts" && "$fuzz/bin/settings_fuzz" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$fuzz/artifacts/" "$fuzz/corpus" "$root/tests/fuzz/corpus" "$fuzz/seeds") >"$log" 2>&1 || status=$?
grep -E '^(==[0-9]+==ERROR|SUMMARY|WARNING)' "$log" || true
stat() { sed -n "s/^stat::$1: *//p" "$log" | tail -1; }
runs=$(stat number_of_executed_units)
rate=$(stat average_exec_per_sec)
found=$(ls "$fuzz/artifacts" | grep -cE '^(crash|leak|timeout|oom)-' || true)
echo "fuzz: ${runs:-0} inputs in ${seconds} s (${rate:-0} a second) from $(ls "$fuzz/corpus" | wc -l) corpus files and ${seeds} hostile seeds; ${found} crashes"
if [ "$status" -ne 0 ] || [ "$found" -ne 0 ] || [ -z "$runs" ]; then
    echo "fuzz: the reader failed on an input; see $log and $fuzz/artifacts" >&2
    exit 1
fi
