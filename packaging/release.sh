#!/usr/bin/env bash
# Builds a release of the checked-out commit into one folder (default: build/release-out):
#   quelvar-edit_<version>_amd64.deb                 the Debian package
#   quelvar-edit-<version>-x86_64-setup.exe, .zip    the Windows setup programs and zips
#   quelvar-edit-<version>-i686-setup.exe, .zip
#   quelvar-edit-<version>.tar.gz                    the source (git archive of the commit)
#   SHA256SUMS                                       over all of them
# The version and date are those of RELEASES. Everything is built afresh under
# build/release-work, without a compiler cache, and carries the commit's time instead of the
# build's: two runs on the same commit, in any folders at any time, give the same bytes
# (packaging/check-reproducible.sh proves it).
set -euo pipefail
out=$(realpath -m "${1:-$(dirname "$0")/../build/release-out}")
cd "$(dirname "$0")/.."

if ! git diff --quiet HEAD --; then
    echo "release: the checkout has changes that are not committed; a release is of a commit" >&2
    exit 1
fi

# The conventions of reproducible builds: the commit's time for every file time, a fixed time
# zone, locale and umask, and no cache that could hide a difference between two builds.
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
export SOURCE_DATE_EPOCH TZ=UTC LC_ALL=C.UTF-8
umask 022
unset CMAKE_CXX_COMPILER_LAUNCHER CMAKE_C_COMPILER_LAUNCHER
jobs=${QUELVAR_JOBS:-2}

source packaging/newest-release
version=$(newest_release version)
echo "== release $version ($(newest_release date)) of commit $(git rev-parse --short HEAD)"
work=build/release-work
rm -rf "$work" "$out"
mkdir -p "$work" "$out"

echo "== Debian package"
cmake --preset release -B "$work/release" >/dev/null
cmake --build "$work/release" -j "$jobs"
(cd "$work/release" && cpack -G DEB >/dev/null)
cp "$work/release/quelvar-edit_${version}_amd64.deb" "$out/"

echo "== Windows setup programs and zips"
for preset in windows windows-i686; do
    cmake --preset "$preset" -B "$work/$preset" -DBUILD_TESTING=OFF >/dev/null
    cmake --build "$work/$preset" --target src/win/quelvar-edit.exe -j "$jobs"
done
packaging/windows/build-packages.sh --no-build --builds "$work" --out "$work/packages" >/dev/null
cp "$work"/packages/quelvar-edit-"$version"-* "$out/"

echo "== source archive"
git archive --format=tar.gz --prefix="quelvar-edit-$version/" \
    -o "$out/quelvar-edit-$version.tar.gz" HEAD

(cd "$out" && LC_ALL=C ls | grep -vx SHA256SUMS | xargs sha256sum >SHA256SUMS)
echo "== $out"
cat "$out/SHA256SUMS"
