#!/usr/bin/env bash
# Builds Tidymoth.exe and runs it under Wine: the x86 build where this machine
# runs 32-bit programs, else the x64 build (TIDYMOTH_WINE_ARCH=x64 or x86 picks one).
#   tools/run.sh                   starts it on your display, in the start-up
#                                  directory $TIDYMOTH_HOME (default ~/Tidymoth),
#                                  which holds its settings file Tidymoth.use
#   tools/run.sh --screenshot DIR  starts it on a virtual display in the same
#                                  directory and writes PNGs of its main window,
#                                  About box and results window (after a search
#                                  over the current pattern; nothing is deleted)
#                                  to DIR
# TIDYMOTH_BUILD_ROOT, if set, is the build tree to use instead of build/.
# shellcheck source=tools/lib.sh
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

usage() {
    sed -n '2,12p' "${BASH_SOURCE[0]}" | sed 's/^# \{0,1\}//' >&2
    exit "${1:-2}"
}

shot_dir=""
case "${1:-}" in
    "") ;;
    --screenshot) [ $# -eq 2 ] || usage; shot_dir="$2" ;;
    -h|--help) usage 0 ;;
    *) usage ;;
esac

if [ -z "$shot_dir" ] && [ -z "${DISPLAY:-}" ]; then
    cat >&2 <<'EOF'
run: there is no display (DISPLAY is not set), so Tidymoth's window could not be seen.
  To see it, run this from a desktop session or with an X server you can reach
  (for example ssh -X, or a VNC desktop, with DISPLAY set).
  To look at it without a display, take pictures of its windows instead:
      tools/run.sh --screenshot DIR
EOF
    exit 2
fi

bash tools/setup.sh
arch="$(wine_arch)"
wine_say_probe
echo "run: the $arch build of Tidymoth.exe"

targets=(Tidymoth)
[ -z "$shot_dir" ] || targets+=(tidymoth_screenshot)
if [ -n "${TIDYMOTH_BUILD_ROOT:-}" ]; then
    # The preset's configuration, in that tree instead of the preset's own.
    bin="$TIDYMOTH_BUILD_ROOT/$arch/bin"
    cmake --preset "$arch" -B "$TIDYMOTH_BUILD_ROOT/$arch" >/dev/null
    cmake --build "$TIDYMOTH_BUILD_ROOT/$arch" -j2 --target "${targets[@]}"
else
    bin="$root/build/$arch/bin"
    build_preset "$arch" --target "${targets[@]}"
fi

home="${TIDYMOTH_HOME:-$HOME/Tidymoth}"
mkdir -p "$home"
home="$(cd "$home" && pwd)"

if [ -z "$shot_dir" ]; then
    echo "run: starting Tidymoth in $home"
    cd "$home"
    exec "$root/tools/wine-env.sh" --arch "$arch" wine "$bin/Tidymoth.exe"
fi

mkdir -p "$shot_dir"
out="$(cd "$shot_dir" && pwd)"
rm -f "$out/main-window.bmp" "$out/about-box.bmp" "$out/results-window.bmp"
# Always our own virtual display, so the pictures do not depend on the caller's.
env -u DISPLAY "$root/tools/wine-env.sh" --arch "$arch" bash -c \
    'wine "$1" "$(winepath -w "$2")" "$(winepath -w "$3")" </dev/null' \
    _ "$bin/tidymoth_screenshot.exe" "$home" "$out"
for bmp in "$out/main-window.bmp" "$out/about-box.bmp" "$out/results-window.bmp"; do
    [ -f "$bmp" ] || { echo "run: $bmp was not written" >&2; exit 1; }
    convert "$bmp" "${bmp%.bmp}.png"
    rm -f "$bmp"
    echo "run: wrote ${bmp%.bmp}.png"
done
