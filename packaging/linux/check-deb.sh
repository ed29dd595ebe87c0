#!/usr/bin/env bash
# Builds the Debian package from a release build and proves it on this machine: it installs
# with its dependencies, starts (offscreen), and removes without leaving files behind.
# Installs and removes a package: run it as root (CI) or through sudo.
set -euo pipefail
cd "$(dirname "$0")/../.."
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)

cmake --preset release >/dev/null
cmake --build --preset release
(cd build/release && cpack -G DEB >/dev/null)
deb=$(ls -t build/release/quelvar-edit_*.deb | head -n 1)
echo "== $deb"
dpkg-deb --field "$deb" Package Version Depends
# Debian's own checks, with the informational tags: the package must give none of them.
tags=$(lintian -I --tag-display-limit 0 "$deb" 2>/dev/null) || {
    echo "$tags"
    echo "lintian failed on $deb"
    exit 1
}
if [ -n "$tags" ]; then
    echo "$tags"
    echo "lintian reports the tags above for $deb"
    exit 1
fi

if dpkg-query -W quelvar-edit >/dev/null 2>&1; then
    echo "quelvar-edit is already installed here; not touching it"
    exit 1
fi
trap '"${as_root[@]}" apt-get remove -y -qq quelvar-edit >/dev/null 2>&1 || true' EXIT
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq "./$deb" >/dev/null
files=$(dpkg -L quelvar-edit | while read -r f; do [ -f "$f" ] && echo "$f"; done)

test "$(/usr/bin/quelvar-edit --version)" = "quelvar-edit $(dpkg-deb --field "$deb" Version)"
# The manual pages: in English, and in Japanese for a Japanese locale.
man -l /usr/share/man/man1/quelvar-edit.1.gz 2>/dev/null | grep -q 'edit the tag templates (.kvd files)' ||
    { echo "no English manual page"; exit 1; }
zcat /usr/share/man/ja/man1/quelvar-edit.1.gz | grep -q 'タグ テンプレート (.kvd) を編集する' ||
    { echo "no Japanese manual page"; exit 1; }
# Started offscreen, the window stays up until it is told to end.
status=0
QT_QPA_PLATFORM=offscreen timeout 3 /usr/bin/quelvar-edit || status=$?
if [ "$status" -ne 124 ]; then
    echo "the installed program ended early with status $status"
    exit 1
fi

DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get remove -y -qq quelvar-edit >/dev/null
trap - EXIT
for f in $files; do
    if [ -e "$f" ]; then
        echo "left behind: $f"
        exit 1
    fi
done
echo "package: 1 passed, 0 failed"
