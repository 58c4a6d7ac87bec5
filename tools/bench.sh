#!/usr/bin/env bash
# Builds and runs the benchmarks under Wine: tools/bench.sh [search|listing|delete|recycle|all] [runs]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
bash tools/setup.sh >/dev/null
cmake --preset windows >/dev/null
cmake --build --preset windows --target tidymoth_bench >/dev/null
tools/wine-env.sh --test tools/wine-run.sh build/windows/bin/tidymoth_bench.exe "${1:-all}" "${2:-5}"
