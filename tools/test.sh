#!/usr/bin/env bash
# Every test: the set-up, the portable code natively with the sanitizers, both
# Windows builds, the unit, in-process and end-to-end tests of each
# architecture this machine's Wine can run (x64 always, x86 where the kernel
# runs 32-bit programs), and a bounded run of the settings-file fuzzer.
# shellcheck source=tools/lib.sh
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

bash tools/setup.sh
wine_say_probe

echo "== native build and tests"
build_preset native
ctest --preset native

for arch in x86 x64; do
    echo "== Windows build: $arch"
    build_preset "$arch"
done

declare -A outcome
failed=0
for arch in x64 x86; do
    if [ "$arch" = x86 ] && [ "$TIDYMOTH_X86" != yes ]; then
        outcome[$arch]="not run: $TIDYMOTH_X86"
        continue
    fi
    echo "== Windows tests under Wine: $arch"
    if tools/wine-env.sh --arch "$arch" --test ctest --preset "$arch"; then
        outcome[$arch]="unit, win and e2e passed"
    else
        outcome[$arch]="FAILED (see above)"
        failed=1
    fi
done

echo "== settings-file fuzzer"
build_preset fuzz
tools/fuzz.sh "${TIDYMOTH_FUZZ_SECONDS:-30}"

echo "== Windows architectures"
for arch in x86 x64; do echo "$arch: ${outcome[$arch]}"; done
if [ "$failed" = 1 ]; then
    echo "== some tests failed" >&2
    exit 1
fi
echo "== all tests passed"
