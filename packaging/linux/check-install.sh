#!/usr/bin/env bash
# Installs the build into a staging folder and checks what a Linux desktop reads from it: the
# desktop entry, the AppStream data, and the media type a .kvd file gets.
set -euo pipefail
# The desktop's own validators; without them the check is skipped (77), naming the one missing.
source "$(dirname "${BASH_SOURCE[0]}")/../../tools/runners/needs"
needs desktop-file-validate appstreamcli update-mime-database
source "$(dirname "${BASH_SOURCE[0]}")/icon-sizes"
build=$1
mime_lookup=$2
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null
share="$stage/usr/share"

# The id the build gave the AppStream data; every other file goes by the same.
id=$(sed -n 's:^  <id>\(.*\)</id>$:\1:p' "$share"/metainfo/*.metainfo.xml)
desktop-file-validate "$share/applications/$id.desktop"
appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml"
grep -qx "Icon=$id" "$share/applications/$id.desktop"
for size in $program_icon_sizes; do
    test -f "$share/icons/hicolor/${size}x${size}/apps/$id.png"
done
test -f "$share/icons/hicolor/scalable/apps/$id.svg"
test -f "$share/icons/hicolor/scalable/mimetypes/$id.template.svg"
test -x "$stage/usr/bin/quelvar-edit"

update-mime-database "$share/mime" 2>/dev/null
printf '[Quelvar]\r\nTagName=a\r\n' > "$stage/by-name.kvd"
printf '[Quelvar]\r\nTagName=a\r\n' > "$stage/by-content"
types=$(XDG_DATA_DIRS="$share" "$mime_lookup" "$stage/by-name.kvd" "$stage/by-content")
expected=$'application/x-quelvar-template\napplication/x-quelvar-template'
if [ "$types" != "$expected" ]; then
    echo "media types: $types"
    exit 1
fi
echo "installed files: 1 passed, 0 failed"
