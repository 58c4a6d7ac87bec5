#!/usr/bin/env bash
# Runs a Windows program under Wine in the test environment and passes on its
# output and exit code:  tools/wine-run.sh [--arch x86|x64] program [args...]
# Wine's helper processes outlive the program, so they are given a file
# instead of our output: whoever reads our output (ctest) sees its end as
# soon as the program ends.
set -u
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
arch=()
if [ "${1:-}" = "--arch" ]; then arch=(--arch "$2"); shift 2; fi
out="$(mktemp /tmp/tidymoth-run.XXXXXX)"
"$here/wine-env.sh" "${arch[@]}" --test wine "$@" >"$out" 2>&1 </dev/null
rc=$?
cat "$out"
rm -f "$out"
exit $rc
