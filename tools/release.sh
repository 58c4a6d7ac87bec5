#!/usr/bin/env bash
# Builds the release: both architectures in Release, each in a fresh build
# tree, packed by CPack into dist/Tidymoth-<version>-x86.zip and -x64.zip with
# the SHA-256 of each beside it. Everything is built twice, in two trees, and
# the zips must come out byte for byte the same.
# shellcheck source=tools/lib.sh
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

bash tools/setup.sh
version="$(sed -n 's/^project(Tidymoth VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
# Every time inside a zip is the time of the commit (or a fixed one).
epoch="$(git log -1 --format=%ct 2>/dev/null || echo 1767225600)"
export SOURCE_DATE_EPOCH="$epoch"

rm -rf build/release
for run in a b; do
    for arch in x86 x64; do
        tree="build/release/$run/$arch"
        echo "== release: $arch (build $run)"
        # The release preset, in its own tree for each of the two builds.
        cmake --preset "release-$arch" -B "$tree" >/dev/null
        cmake --build "$tree" -j2 --target Tidymoth TidymothC
        touch -d "@$epoch" "$tree/bin/Tidymoth.exe" "$tree/bin/TidymothC.exe" "$tree"/package-texts/*
        (cd "$tree" && cpack -G ZIP >/dev/null)
    done
done

mkdir -p dist
for arch in x86 x64; do
    zip="Tidymoth-$version-$arch.zip"
    if ! cmp -s "build/release/a/$arch/package/$zip" "build/release/b/$arch/package/$zip"; then
        echo "release: two builds of $zip differ; the release is not reproducible" >&2
        exit 1
    fi
    cp "build/release/a/$arch/package/$zip" dist/
    (cd dist && sha256sum "$zip" > "$zip.sha256")
    echo "release: dist/$zip ($(cut -c1-16 "dist/$zip.sha256")...), the same from both builds"
done

# Each zip as a user unpacks it: the four files, an exe that starts under
# Wine (the architecture this machine runs) and shows its main window, and a
# console program that answers.
arch="$(wine_default_arch)"
build_preset "$arch" --target tidymoth_screenshot >/dev/null
for a in x86 x64; do
    unpacked="$(mktemp -d /tmp/tidymoth-release.XXXXXX)"
    (cd "$unpacked" && cmake -E tar xf "$root/dist/Tidymoth-$version-$a.zip")
    listing="$(cd "$unpacked" && ls | tr '\n' ' ')"
    if [ "$listing" != "LICENSE.txt README.ja.txt Tidymoth.exe TidymothC.exe " ]; then
        echo "release: Tidymoth-$version-$a.zip holds $listing" >&2
        exit 1
    fi
    if [ "$a" = "$arch" ]; then
        cp "build/$arch/bin/tidymoth_screenshot.exe" "$unpacked/"
        mkdir -p "$unpacked/home" "$unpacked/shots"
        env -u DISPLAY tools/wine-env.sh --arch "$arch" bash -c \
            'wine "$1/tidymoth_screenshot.exe" "$(winepath -w "$1/home")" "$(winepath -w "$1/shots")" </dev/null' _ "$unpacked" >/dev/null
        if [ ! -s "$unpacked/shots/main-window.bmp" ]; then
            echo "release: the unpacked $a exe did not show its main window" >&2
            exit 1
        fi
        echo "release: the unpacked $a exe starts under Wine and shows its main window"
        answer="$(tools/wine-env.sh --arch "$arch" wine "$unpacked/TidymothC.exe" --version </dev/null | tr -d '\r')"
        if [ "$answer" != "TidymothC $version" ]; then
            echo "release: the unpacked $a TidymothC.exe answered '$answer' to --version" >&2
            exit 1
        fi
        echo "release: the unpacked $a TidymothC.exe answers: $answer"
    fi
    rm -rf "$unpacked"
done
