#!/usr/bin/env bash
# Installs what the build and the tests need from Debian's packages, once.
# Idempotent: packages already present are left alone.
set -euo pipefail

need_pkgs=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

for p in cmake make g++ googletest g++-mingw-w64-i686-posix binutils-mingw-w64-i686 \
         g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64 xvfb xauth fonts-ipafont-gothic locales clang libclang-rt-14-dev \
         imagemagick fonts-wine; do
    have "$p" || need_pkgs+=("$p")
done
have wine32:i386 || need_pkgs+=("wine32:i386")

locale_ok() { locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; }

if [ ${#need_pkgs[@]} -gt 0 ] || ! locale_ok; then
    if [ "$(id -u)" -ne 0 ]; then
        echo "setup: these Debian packages are missing: ${need_pkgs[*]:-none}" >&2
        locale_ok || echo "setup: the locale ja_JP.UTF-8 is not generated" >&2
        echo "setup: run tools/setup.sh as root (or install them with apt-get) and try again" >&2
        exit 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    if [ ${#need_pkgs[@]} -gt 0 ]; then
        echo "setup: installing ${need_pkgs[*]}"
        if ! dpkg --print-foreign-architectures | grep -qx i386; then
            dpkg --add-architecture i386
        fi
        apt-get update -q
        apt-get install -y -q --no-install-recommends "${need_pkgs[@]}"
    fi
    if ! locale_ok; then
        echo "setup: generating the locale ja_JP.UTF-8"
        sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
        grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
        locale-gen
    fi
fi

echo "setup: everything needed is installed"
