#!/usr/bin/env bash
# Every test: the set-up, the portable code natively with the sanitizers, the
# Windows build with its unit, in-process and end-to-end tests under Wine, and
# a bounded run of the settings-file fuzzer.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

bash tools/setup.sh

echo "== native build and tests"
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native

echo "== Windows build and tests under Wine"
cmake --preset windows >/dev/null
cmake --build --preset windows
tools/wine-env.sh --test ctest --preset windows

echo "== settings-file fuzzer"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
tools/fuzz.sh "${TIDYMOTH_FUZZ_SECONDS:-30}"

echo "== all tests passed"
