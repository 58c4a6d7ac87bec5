#!/usr/bin/env bash
# Runs a command in Tidymoth's Wine environment:
#   tools/wine-env.sh [--arch x86|x64] [--test] command [args...]
# - x86: a dedicated win32 prefix in the build tree and the 32-bit loader;
#   x64: a win64 prefix and /usr/lib/wine/wine64, called directly (Debian's
#   wine script takes the 32-bit loader whenever it is installed, even where
#   the kernel cannot run it). Without --arch: x86 where it runs, else x64.
#   Each prefix is created on first use; `wine`, `winepath`, `wineboot`,
#   `regedit` and `wineserver` on the PATH are that architecture's.
# - LC_ALL=ja_JP.UTF-8, so the ANSI code page is 932;
# - the dialog font "ＭＳ Ｐゴシック" substituted by IPA P Gothic;
# - Xvfb when there is no display;
# - with --test, a comctl32.dll found first is loaded as Windows would, and XDG_DATA_HOME (and so the Recycle Bin) in a temporary folder.
# Everything it started is stopped by process id afterwards. Nested calls for
# the same architecture just run the command in the environment already set up.
set -uo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/.." && pwd)"
# shellcheck source=tools/wine-arch.sh
. "$here/wine-arch.sh"

arch=""
test_mode=0
while [ $# -gt 0 ]; do
    case "$1" in
        --arch) [ $# -ge 2 ] || { echo "wine-env: --arch needs x86 or x64" >&2; exit 2; }; arch="$2"; shift 2 ;;
        --test) test_mode=1; shift ;;
        *) break ;;
    esac
done
[ $# -gt 0 ] || { echo "usage: $0 [--arch x86|x64] [--test] command [args...]" >&2; exit 2; }
[ -n "$arch" ] || arch="$(wine_arch)"

if [ "${TIDYMOTH_WINE_ENV:-}" = "1" ]; then
    if [ "$arch" != "${TIDYMOTH_WINE_ARCH:-}" ]; then
        echo "wine-env: already inside the ${TIDYMOTH_WINE_ARCH:-?} environment; $arch needs its own" >&2
        exit 2
    fi
    exec "$@"
fi

build="${TIDYMOTH_BUILD_ROOT:-$root/build}"
mkdir -p "$build"

case "$arch" in
    x86)
        wine_probe_x86
        if [ "$TIDYMOTH_X86" != yes ]; then
            echo "wine-env: x86 programs cannot run here: $TIDYMOTH_X86" >&2
            exit 1
        fi
        export WINEARCH=win32
        export TIDYMOTH_WINE_LOADER=/usr/lib/wine/wine
        unset WINELOADER
        ;;
    x64)
        export WINEARCH=win64
        export TIDYMOTH_WINE_LOADER=/usr/lib/wine/wine64
        export WINELOADER=/usr/lib/wine/wine64
        ;;
    *) echo "wine-env: unknown architecture '$arch' (x86 or x64)" >&2; exit 2 ;;
esac
[ -x "$TIDYMOTH_WINE_LOADER" ] || { echo "wine-env: $TIDYMOTH_WINE_LOADER is missing; run tools/setup.sh as root" >&2; exit 1; }
if [ -x /usr/lib/wine/wineserver64 ]; then
    export TIDYMOTH_WINESERVER=/usr/lib/wine/wineserver64
else
    export TIDYMOTH_WINESERVER=/usr/lib/wine/wineserver32
fi
export WINESERVER="$TIDYMOTH_WINESERVER"
export PATH="$here/wine-bin:$PATH"
export WINEPREFIX="$build/wineprefix-$arch"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Tests: Wine takes a comctl32.dll it finds before the system's, as Windows
# does for a DLL it does not know, so that a planted one is a real threat.
[ "$test_mode" = 1 ] && WINEDLLOVERRIDES="$WINEDLLOVERRIDES;comctl32=n,b"
export LC_ALL=ja_JP.UTF-8
export LANG=ja_JP.UTF-8
export TIDYMOTH_WINE_ENV=1
export TIDYMOTH_WINE_ARCH="$arch"

if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
    echo "wine-env: the locale ja_JP.UTF-8 is not generated; run tools/setup.sh as root" >&2
    exit 1
fi

xvfb_pid=""
tmp_data=""
server_started=0
cleanup() {
    if [ "$server_started" = 1 ]; then wineserver -k >/dev/null 2>&1; fi
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; fi
    if [ -n "$tmp_data" ]; then rm -rf "$tmp_data"; fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# A display: the caller's, or our own Xvfb.
if [ -z "${DISPLAY:-}" ]; then
    command -v Xvfb >/dev/null || { echo "wine-env: no display and no Xvfb; run tools/setup.sh as root" >&2; exit 1; }
    for n in $(seq 91 140); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        xvfb_pid=$!
        for _ in $(seq 1 100); do
            [ -e "/tmp/.X11-unix/X$n" ] && break
            kill -0 "$xvfb_pid" 2>/dev/null || break
            sleep 0.05
        done
        if [ -e "/tmp/.X11-unix/X$n" ]; then export DISPLAY=":$n"; break; fi
        kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; xvfb_pid=""
    done
    [ -n "${DISPLAY:-}" ] || { echo "wine-env: could not start Xvfb" >&2; exit 1; }
fi

# The prefix, created once (serialised, since tests may run in parallel).
# Windows live in a Wine virtual desktop: without a window manager, Wine
# waits two seconds for every top-level window it hides. A crash prints its
# backtrace instead of waiting for someone to close a dialog.
prefix_version=3
(
    flock 9
    if [ "$(cat "$WINEPREFIX/.tidymoth-ready" 2>/dev/null)" != "$prefix_version" ]; then
        echo "wine-env: creating the $WINEARCH Wine prefix $WINEPREFIX (once)" >&2
        rm -rf "$WINEPREFIX"
        wineboot -i >/dev/null 2>&1
        reg="$build/prefix-settings-$arch.reg"
        printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
            '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]' \
            '"ＭＳ Ｐゴシック"="IPAPGothic"' '"ＭＳ ゴシック"="IPAGothic"' \
            '"MS PGothic"="IPAPGothic"' '"MS Gothic"="IPAGothic"' '"MS UI Gothic"="IPAPGothic"' '' \
            '[HKEY_CURRENT_USER\Software\Wine\Explorer]' '"Desktop"="Default"' '' \
            '[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]' '"Default"="1024x768"' '' \
            '[HKEY_CURRENT_USER\Software\Wine\WineDbg]' '"ShowCrashDialog"=dword:00000000' '' \
            | iconv -f UTF-8 -t UTF-16 > "$reg"
        wine regedit /S "$(winepath -w "$reg" 2>/dev/null)" >/dev/null 2>&1
        wineserver -w
        echo "$prefix_version" > "$WINEPREFIX/.tidymoth-ready"
    fi
) 9>"$build/.wineprefix-$arch.lock"
[ -f "$WINEPREFIX/.tidymoth-ready" ] || { echo "wine-env: the Wine prefix could not be created" >&2; exit 1; }
# Wine's Marlett (fonts-wine) draws the caption buttons; this Wine looks for it
# only in the prefix.
marlett=/usr/share/wine/fonts/marlett.ttf
if [ -f "$marlett" ] && [ ! -f "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf" ]; then
    cp "$marlett" "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
fi

if [ "$test_mode" = 1 ]; then
    tmp_data="$(mktemp -d /tmp/tidymoth-xdg.XXXXXX)"
    export XDG_DATA_HOME="$tmp_data"
fi

# Keep one wineserver for the whole run, so each program starts quickly.
if ! wineserver -p 2>/dev/null; then :; fi
server_started=1

"$@"
exit $?
