#!/usr/bin/env bash
# Builds the Windows program for x86_64 and i686 (CMake presets windows, windows-i686) and makes
# from each a setup program and a portable zip:
#   quelvar-edit-<version>-<arch>-setup.exe   quelvar-edit-<version>-<arch>.zip
# Options:
#   --no-build        package the programs already built in <builds>/windows*/src/win
#   --builds <dir>    where the preset builds are (default: build)
#   --out <dir>       where the packages go (default: build/packages; emptied first)
# The packages are the same bytes for the same programs and commit: every file in them carries
# the time of the commit (SOURCE_DATE_EPOCH when set), in a fixed order, with fixed modes.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=true
builds=build
out=build/packages
while [ $# -gt 0 ]; do
    case $1 in
    --no-build) build=false ;;
    --builds) builds=$2 && shift ;;
    --out) out=$2 && shift ;;
    *) echo "usage: $0 [--no-build] [--builds <dir>] [--out <dir>]" >&2 && exit 2 ;;
    esac
    shift
done

source packaging/newest-release
version=$(newest_release version)
date=$(newest_release date)
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
rm -rf "$out"
mkdir -p "$out"
out=$(cd "$out" && pwd)

# Fixed time and mode on every file that goes into a package: zip and NSIS store both.
settle_files() { # folder
    find "$1" -type d -exec chmod 755 {} +
    find "$1" -type f -exec chmod 644 {} +
    find "$1" -name '*.exe' -exec chmod 755 {} +
    find "$1" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
}

# The TimeDateStamp of a PE file's header: 8 bytes into the header that 0x3c points to.
pe_time_stamp() { # program
    local header
    header=$(od -An -t u4 -j 60 -N 4 "$1" | tr -d ' ')
    od -An -t u4 -j $((header + 8)) -N 4 "$1" | tr -d ' '
}

package() { # arch preset
    local arch=$1 preset=$2
    local name=quelvar-edit-$version-$arch
    local stage=$out/$name
    if $build; then
        cmake --preset "$preset" -B "$builds/$preset" >/dev/null
        # Ninja takes an output file as a target: the program is built by the path it is copied
        # from below, whatever its CMake target is called.
        cmake --build "$builds/$preset" --target src/win/quelvar-edit.exe -j 1
    fi
    mkdir -p "$stage"
    # As linked: without symbols already (-s), and with no time stamp, which strip would put back.
    cp "$builds/$preset/src/win/quelvar-edit.exe" "$stage/quelvar-edit.exe"
    local stamp
    stamp=$(pe_time_stamp "$stage/quelvar-edit.exe")
    if [ "$stamp" != 0 ]; then
        echo "$builds/$preset/src/win/quelvar-edit.exe carries a time stamp: $stamp" >&2
        exit 1
    fi
    # Notepad on every Windows version reads UTF-8 with a byte-order mark and CR LF.
    {
        printf '\xef\xbb\xbf'
        sed -e "s/@VERSION@/$version/g" -e "s/@DATE@/$date/g" -e "s/@ARCH@/$arch/g" \
            -e 's/$/\r/' packaging/windows/README.txt
    } >"$stage/README.txt"
    cp data/icons/quelvar-kvd.ico "$out/quelvar-kvd-$arch.ico"
    settle_files "$stage"
    settle_files "$out/quelvar-kvd-$arch.ico"

    makensis -INPUTCHARSET UTF8 -V2 -DVERSION="$version" -DRELEASE_DATE="$date" -DARCH="$arch" \
        -DEXE="$stage/quelvar-edit.exe" -DREADME="$stage/README.txt" \
        -DKVD_ICON="$out/quelvar-kvd-$arch.ico" -DICONS="$PWD/data/icons" \
        -DOUTFILE="$out/$name-setup.exe" packaging/windows/installer.nsi
    # Named one by one for a fixed order; -X leaves out the owner and the extra time fields,
    # and TZ=UTC makes the DOS time of each entry the commit's time in UTC.
    (cd "$out" && TZ=UTC zip -q -X -9 "$name.zip" "$name/" "$name/README.txt" \
        "$name/quelvar-edit.exe")
    rm -rf "$stage" "$out/quelvar-kvd-$arch.ico"
}

package x86_64 windows
package i686 windows-i686
ls -l "$out"
