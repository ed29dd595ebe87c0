#!/usr/bin/env bash
# End to end: the real program under Xvfb, given a file whose name is Latin-1 (not UTF-8) on the
# command line, opens that file; Save then writes that same file, not one named with U+FFFD.
set -euo pipefail
binary=$1
work=$(mktemp -d)
app="" xvfb=""
cleanup() {
    [ -n "$app" ] && kill "$app" 2>/dev/null || true
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")" QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8

file="$work/caf"$'\xe9'".kvd"
printf '[Quelvar]\r\nTagName=latin\r\n' >"$file"
"$binary" "$file" &
app=$!

focus() {
    local window
    window=$(timeout 20 xdotool search --sync --onlyvisible --name "$1" | head -n 1)
    xdotool windowfocus --sync "$window"
}

focus "Quelvar Edit Tool"
# A file that did not open would bring up Open's message instead of the window alone.
sleep 1
if xdotool search --onlyvisible --name "Open Templete" >/dev/null 2>&1; then
    echo "the program reported the file it was given as not opened"; exit 1
fi
# Save keeps the name given; the dialog shows it with U+FFFD for the byte it cannot show.
focus "Quelvar Edit Tool"
xdotool key ctrl+s
focus "Save Templete"
xdotool key Return
expected=$(printf '[Quelvar]\r\nTagName=latin\r\nEdited=\r\nBaseElement=\r\nCloseTag=\r\nElement1Default=\r\nElement2Default=\r\nElement3Default=\r\nElement1=\r\nElement2=\r\nElement3=\r\nIndex=\r\n' | od -An -tx1)
for _ in $(seq 100); do
    [ "$(od -An -tx1 "$file")" = "$expected" ] && break
    sleep 0.1
done
if [ "$(od -An -tx1 "$file")" != "$expected" ]; then
    echo "the Latin-1 file was not saved:"; cat -A "$file"; ls -b "$work"; exit 1
fi
listing=$(cd "$work" && ls -b | tr '\n' ' ')
if [ "$listing" != 'caf\351.kvd display ' ]; then
    echo "unexpected files: $listing"; exit 1
fi
echo "1 passed, 0 failed"
