#!/usr/bin/env bash
# Builds the Windows program for x86_64 and i686 (CMake presets windows, windows-i686) and makes
# from each a setup program and a portable zip in build/packages:
#   quelvar-edit-<version>-<arch>-setup.exe   quelvar-edit-<version>-<arch>.zip
# --no-build packages the programs already built in build/windows*/src/win.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=true
[ "${1:-}" = "--no-build" ] && build=false

version=$(sed -n 's/^project(QuelvarEditTool VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
out=build/packages
rm -rf "$out"
mkdir -p "$out"

package() { # arch preset triplet
    local arch=$1 preset=$2 triplet=$3
    local name=quelvar-edit-$version-$arch
    local stage=$out/$name
    if $build; then
        cmake --preset "$preset" >/dev/null
        # The agreed output path, whatever the target is called.
        cmake --build "build/$preset" --target src/win/quelvar-edit.exe -j 1
    fi
    mkdir -p "$stage"
    "$triplet-strip" -o "$stage/quelvar-edit.exe" "build/$preset/src/win/quelvar-edit.exe"
    # Notepad on every Windows version reads UTF-8 with a byte-order mark and CR LF.
    {
        printf '\xef\xbb\xbf'
        sed -e "s/@VERSION@/$version/g" -e "s/@ARCH@/$arch/g" -e 's/$/\r/' \
            packaging/windows/README.txt
    } >"$stage/README.txt"

    makensis -INPUTCHARSET UTF8 -V2 -DVERSION="$version" -DARCH="$arch" \
        -DEXE="$PWD/$stage/quelvar-edit.exe" -DREADME="$PWD/$stage/README.txt" \
        -DICONS="$PWD/data/icons" -DOUTFILE="$PWD/$out/$name-setup.exe" \
        packaging/windows/installer.nsi
    (cd "$out" && TZ=UTC zip -q -X -r -9 "$name.zip" "$name")
    rm -rf "$stage"
}

package x86_64 windows x86_64-w64-mingw32
package i686 windows-i686 i686-w64-mingw32
ls -l "$out"
