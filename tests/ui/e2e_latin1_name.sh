#!/usr/bin/env bash
# End to end, run by display-run: the real program on an X display, given a file name that is
# not UTF-8 on the command line (Latin-1 in the file's own name, or in its folder's), opens that
# file; Save accepted as the dialog shows it then writes that same file, not one named with
# U+FFFD nor one elsewhere.
set -euo pipefail
binary=$(realpath "$1")
source "$(dirname "${BASH_SOURCE[0]}")/../../tools/runners/end-to-end"
export QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8

expected=$(printf '[Quelvar]\r\nTagName=latin\r\nEdited=\r\nBaseElement=\r\nCloseTag=\r\nElement1Default=\r\nElement2Default=\r\nElement3Default=\r\nElement1=\r\nElement2=\r\nElement3=\r\nIndex=\r\n' | od -An -tx1)
passed=0
# The file, relative to the case's folder; the listing of that folder after the save.
for case in "caf"$'\xe9'".kvd|caf\\351.kvd elsewhere " "d"$'\xe9'"/t.kvd|d\\351 elsewhere "; do
    name=${case%%|*} listing=${case#*|}
    dir="$work/case$passed"
    mkdir -p "$dir/elsewhere" "$(dirname "$dir/$name")"
    file="$dir/$name"
    printf '[Quelvar]\r\nTagName=latin\r\n' >"$file"
    # Started in an empty folder: a dialog that falls back to it would save there.
    (cd "$dir/elsewhere" && exec "$binary" "$file") &
    app=$!
    focus "Quelvar Edit Tool" "the window"
    # Open runs before the window takes keys; had it failed, its message would hold the window
    # and Save's dialog would not come.
    xdotool key ctrl+s
    focus "Save Templete" "Save after Open of $(printf %q "$name")"
    if xdotool search --onlyvisible --name "Open Templete" >/dev/null 2>&1; then
        echo "the program reported $(printf %q "$name") as not opened"; exit 1
    fi
    xdotool key Return
    for _ in $(seq 100); do
        [ "$(od -An -tx1 "$file")" = "$expected" ] && break
        sleep 0.1
    done
    if [ "$(od -An -tx1 "$file")" != "$expected" ]; then
        echo "$(printf %q "$name") was not saved within 10 s:"; cat -A "$file"
        ls -bR "$dir"; exit 1
    fi
    got=$(cd "$dir" && ls -b | tr '\n' ' ')
    elsewhere=$(ls -b "$dir/elsewhere" | tr '\n' ' ')
    if [ "$got" != "$listing" ] || [ -n "$elsewhere" ]; then
        echo "unexpected files for $(printf %q "$name"): $got / in elsewhere: $elsewhere"; exit 1
    fi
    kill "$app"
    wait "$app" 2>/dev/null || true
    app=""
    passed=$((passed + 1))
done
echo "$passed passed, 0 failed"
