#!/usr/bin/env bash
# Builds and runs the benchmarks under Wine: tools/bench.sh [search|listing|delete|recycle|all] [runs]
# The x86 build where this machine runs 32-bit programs, else x64
# (TIDYMOTH_WINE_ARCH=x64 or x86 picks one).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
bash tools/setup.sh >/dev/null
. tools/wine-arch.sh
arch="${TIDYMOTH_WINE_ARCH:-$(wine_default_arch)}"
wine_say_probe
echo "bench: the $arch build"
cmake --preset "$arch" >/dev/null
cmake --build --preset "$arch" --target tidymoth_bench >/dev/null
tools/wine-run.sh --arch "$arch" "build/$arch/bin/tidymoth_bench.exe" "${1:-all}" "${2:-5}"
