#!/usr/bin/env bash
# Proves that a release is reproducible: the release command runs twice on the checked-out
# commit, in two fresh clones in folders of different names and depths, one after the other,
# with different time zones, locales and umasks; every artefact must be the same bytes. On a
# difference it names the first file that differs and where, and ends with status 1.
# Usage: packaging/check-reproducible.sh [work folder]   (default: build/reproducible)
#        packaging/check-reproducible.sh --compare <release folder> <release folder>
#        (only the comparison, for example of a rebuild with a published release)
set -euo pipefail

run() { # folder umask time-zone locale
    local clone=$work/$1
    git clone -q --no-hardlinks "$root" "$clone"
    git -C "$clone" checkout -q --detach "$commit"
    echo "== release in $clone (umask $2, TZ=$3, LC_ALL=$4)"
    local start=$SECONDS
    (umask "$2" && cd "$clone" && TZ=$3 LC_ALL=$4 packaging/release.sh "$clone/out") \
        >"$work/$(basename "$1").log" 2>&1 ||
        {
            tail -n 30 "$work/$(basename "$1").log"
            echo "FAILED: the release command in $clone"
            exit 1
        }
    echo "   $((SECONDS - start)) s"
}

# Where two files first differ: the member of a package, then the byte.
first_difference() { # a b
    local a=$1 b=$2
    case $a in
    *.deb)
        diff <(dpkg-deb -c "$a") <(dpkg-deb -c "$b") | head -n 4 || true
        diff <(dpkg-deb -I "$a") <(dpkg-deb -I "$b") | head -n 4 || true
        ;;
    *.zip) diff <(unzip -Zv "$a") <(unzip -Zv "$b") | head -n 4 || true ;;
    *.tar.gz) diff <(tar -tzvf "$a") <(tar -tzvf "$b") | head -n 4 || true ;;
    esac
    local offset
    offset=$(cmp "$a" "$b" | sed -n 's/.* \(byte\|char\) \([0-9]*\),.*/\2/p' || true)
    if [ -z "$offset" ]; then
        echo "   sizes: $(stat -c %s "$a") and $(stat -c %s "$b") bytes"
        return
    fi
    echo "   first different byte: $offset (of $(stat -c %s "$a") and $(stat -c %s "$b"))"
    local from=$((offset > 16 ? offset - 17 : 0))
    echo "   first run:"
    xxd -s "$from" -l 48 "$a" | sed 's/^/     /'
    echo "   second run:"
    xxd -s "$from" -l 48 "$b" | sed 's/^/     /'
}

# Every artefact of the two folders, the checksums last: the first difference is named.
compare() { # folder folder
    local one=$1 two=$2
    if ! diff <(cd "$one" && LC_ALL=C ls) <(cd "$two" && LC_ALL=C ls); then
        echo "FAILED: the two releases hold different files"
        return 1
    fi
    local status=0 file
    for file in $(cd "$one" && LC_ALL=C ls | grep -vx SHA256SUMS) SHA256SUMS; do
        if ! cmp -s "$one/$file" "$two/$file"; then
            echo "FAILED: $file differs"
            first_difference "$one/$file" "$two/$file"
            status=1
            break
        fi
    done
    echo "== SHA256SUMS, first | second"
    paste -d '|' "$one/SHA256SUMS" "$two/SHA256SUMS"
    return $status
}

if [ "${1:-}" = --compare ]; then
    compare "$2" "$3"
    echo "reproducible: the files of $2 and $3 are the same"
    exit 0
fi

work=$(realpath -m "${1:-$(dirname "$0")/../build/reproducible}")
cd "$(dirname "$0")/.."
root=$PWD
commit=$(git rev-parse HEAD)
git diff --quiet HEAD -- ||
    echo "note: the checkout has uncommitted changes; the check builds the commit $commit"
rm -rf "$work"
mkdir -p "$work"

run first 022 UTC C.UTF-8
run second-run/of/the/release 002 Asia/Tokyo ja_JP.UTF-8
one=$work/first/out
two=$work/second-run/of/the/release/out
compare "$one" "$two" || exit 1
count=$(wc -l <"$one/SHA256SUMS")
rm -rf "$work"
echo "reproducible: $count files and SHA256SUMS the same in both runs"
