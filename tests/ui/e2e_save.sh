#!/usr/bin/env bash
# End to end, run by display-run: the real program on an X display; type a tag name, save
# through the real file dialog with the keyboard, check the file's bytes, and quit through the
# File menu.
set -euo pipefail
binary=$1
source "$(dirname "${BASH_SOURCE[0]}")/../../tools/runners/end-to-end"
export QT_QPA_PLATFORM=xcb

"$binary" &
app=$!

focus "Quelvar Edit Tool"
xdotool type --delay 20 "e2e-tag"
xdotool key Tab
xdotool type --delay 20 "author"
xdotool key ctrl+s
focus "Save Templete"
xdotool type --delay 10 "$work/saved.kvd"
xdotool key Return
for _ in $(seq 100); do [ -s "$work/saved.kvd" ] && break; sleep 0.1; done

expected=$(printf '[Quelvar]\r\nEdited=author\r\nBaseElement=\r\nCloseTag=\r\nElement1Default=\r\nElement2Default=\r\nElement3Default=\r\nElement1=\r\nElement2=\r\nElement3=\r\nIndex=\r\nTagName=e2e-tag\r\n' | od -An -tx1)
actual=$(od -An -tx1 "$work/saved.kvd" 2>/dev/null || true)
if [ "$actual" != "$expected" ]; then
    echo "saved file differs:"; cat -A "$work/saved.kvd" 2>/dev/null || echo "(no file)"
    exit 1
fi

# Quit through the menu: Alt+F, then Q. The program ends without a question.
focus "Quelvar Edit Tool"
xdotool key alt+f
sleep 0.5
xdotool key q
expect_end 10 0 "Quit"
echo "1 passed, 0 failed"
