#!/usr/bin/env bash
# Builds and runs the benchmarks under Wine: tools/bench.sh [search|listing|delete|recycle|console|all] [runs]
# The x86 build where this machine runs 32-bit programs, else x64
# (TIDYMOTH_WINE_ARCH=x64 or x86 picks one).
# shellcheck source=tools/lib.sh
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
bash tools/setup.sh >/dev/null
arch="$(wine_arch)"
wine_say_probe
echo "bench: the $arch build"
build_preset "$arch" --target tidymoth_bench >/dev/null
tools/wine-run.sh --arch "$arch" "build/$arch/bin/tidymoth_bench.exe" "${1:-all}" "${2:-5}"
