# shellcheck shell=bash
# Sourced by tools/lib.sh and tools/wine-env.sh: which Windows architectures
# this machine's Wine runs.
#   wine_probe_x86     sets TIDYMOTH_X86 to "yes", or to the reason it cannot
#                      run (once per run: the answer is kept in the environment)
#   wine_say_probe     prints that answer in one line
#   wine_default_arch  x86 where it runs, else x64
#   wine_arch          the one to use: TIDYMOTH_WINE_ARCH if set, else the default
# TIDYMOTH_NO_X86=1 answers "no" as a kernel without 32-bit programs would,
# so that path can be tried on any machine.

wine_probe_x86() {
    [ -n "${TIDYMOTH_X86:-}" ] && return 0
    local out
    if [ -n "${TIDYMOTH_NO_X86:-}" ]; then
        TIDYMOTH_X86="switched off by TIDYMOTH_NO_X86"
    elif [ ! -x /usr/lib/wine/wine ]; then
        TIDYMOTH_X86="the 32-bit Wine loader (wine32:i386) is not installed"
    elif out="$(/usr/lib/wine/wine --version 2>&1)"; then
        TIDYMOTH_X86=yes
    elif ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
        TIDYMOTH_X86="this kernel runs no 32-bit programs (its 32-bit emulation is off)"
    else
        TIDYMOTH_X86="the 32-bit Wine loader does not start: ${out%%$'\n'*}"
    fi
    export TIDYMOTH_X86
}

wine_say_probe() {
    wine_probe_x86
    if [ "$TIDYMOTH_X86" = yes ]; then
        echo "wine: this machine runs 32-bit programs: x86 and x64 both run under Wine"
    else
        echo "wine: x86 cannot run here ($TIDYMOTH_X86); x64 runs under wine64"
    fi
}

wine_default_arch() {
    wine_probe_x86
    if [ "$TIDYMOTH_X86" = yes ]; then echo x86; else echo x64; fi
}

wine_arch() {
    echo "${TIDYMOTH_WINE_ARCH:-$(wine_default_arch)}"
}
