#!/usr/bin/env bash
# Runs the settings-file fuzzer for a bounded time (seconds, default 30) from
# the seed corpus, printing libFuzzer's figures. Fails on any crash.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-30}"
work="$(mktemp -d /tmp/tidymoth-fuzz-corpus.XXXXXX)"
trap 'rm -rf "$work"' EXIT
cd "$work"
"$root/build/fuzz/bin/settings_fuzz" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$work/" "$work" "$root/tests/fuzz/corpus" 2>&1 \
    | grep -E '^(stat::|Done|INFO: seed corpus|==[0-9]+==ERROR|SUMMARY)' || true
if ls "$work"/crash-* "$work"/leak-* "$work"/timeout-* >/dev/null 2>&1; then
    echo "fuzz: the reader failed on an input; see the artifacts above" >&2
    exit 1
fi
echo "fuzz: no crashes in ${seconds} s"
