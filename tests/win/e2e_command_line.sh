#!/usr/bin/env bash
# End to end, run by wine-gui-run --script: the real program started the ways a user or the
# shell starts it. No file: an empty template. One file whose folder and name hold blanks and
# Japanese: that file's fields. A missing file: Open's message over an empty template. Two or
# three arguments: the usage box and exit code 2. What the window holds is shown by saving it
# through the real save dialog and checking the bytes; the message boxes shown are read from
# Wine's trace of them. Every run ends within its own deadline.
set -euo pipefail
program=$1
read -ra wine <<<"$QUELVAR_WINE_LOADER"
source "$(dirname "${BASH_SOURCE[0]}")/../../tools/runners/end-to-end"

fail() {
    echo "$*"
    exit 1
}

# Starts the program with these arguments and gives its first window the keyboard.
start() {
    WINEDEBUG=+msgbox "${wine[@]}" "$program" "$@" 2>"$work/trace" &
    app=$!
    focus_wine_desktop
}

save_as() {
    xdotool key ctrl+s
    sleep 2
    xdotool key ctrl+a
    xdotool type --delay 30 "$(windows_path "$1")"
    xdotool key Return
    for _ in $(seq 100); do [ -s "$1" ] && break; sleep 0.1; done
    sleep 0.5
}

# The text of every message box the program showed, or that it showed none.
expect_box() {
    grep -aq "trace:msgbox.*$1" "$work/trace" || fail "$2: no message box saying \"$1\""
}
expect_no_box() {
    if grep -aq "trace:msgbox" "$work/trace"; then
        grep -a "trace:msgbox" "$work/trace"
        fail "$1: a message box came up"
    fi
}

quit() {
    xdotool key alt+f
    sleep 1
    xdotool key q
    expect_end 15 0 "$1"
}

empty='Element1Default=\r\nElement2Default=\r\nElement3Default=\r\nElement1=\r\nElement2=\r\nElement3=\r\n'
cleared="[Quelvar]\r\nEdited=\r\nBaseElement=\r\nCloseTag=\r\n${empty}Index=\r\nTagName=\r\n"

# No file: the fields start empty.
start
save_as "$work/none.kvd"
expect_bytes "$work/none.kvd" "$cleared" "no file"
expect_no_box "no file"
quit "no file"

# One file, quoted as the shell quotes it, in a folder and under a name with blanks and Japanese.
mkdir "$work/テンプレート 集"
printf '[Quelvar]\r\nTagName=\x89\xe6\x91\x9c\r\nIndex=B1\r\nEdited=me\r\n' \
    >"$work/テンプレート 集/画像 タグ.kvd"
start "$(windows_path "$work/テンプレート 集/画像 タグ.kvd")"
save_as "$work/one.kvd"
expect_bytes "$work/one.kvd" \
    "[Quelvar]\r\nEdited=me\r\nBaseElement=\r\nCloseTag=\r\n${empty}Index=B1\r\nTagName=\x89\xe6\x91\x9c\r\n" \
    "one file"
expect_no_box "one file"
quit "one file"

# A missing file: Open's message, answered with Return, over empty fields.
start "$(windows_path "$work/missing.kvd")"
xdotool key Return
sleep 1
expect_box "The template could not be opened. The fields were not changed." "missing file"
# The trace shows the start of the text only: the path, not the reason after it.
expect_box 'missing\.kvd' "missing file"
[ ! -e "$work/missing.kvd" ] || fail "missing file: the program made the file it was to open"
save_as "$work/after-missing.kvd"
expect_bytes "$work/after-missing.kvd" "$cleared" "missing file"
quit "missing file"

# More than one argument: the usage box, answered with Return, then exit code 2.
for arguments in "a.kvd b.kvd" "a.kvd b.kvd c.kvd"; do
    read -ra split <<<"$arguments"
    start "${split[@]}"
    xdotool key Return
    expect_end 15 2 "arguments $arguments"
    expect_box "Give one template file to start with it open." "arguments $arguments"
done
echo "1 passed, 0 failed"
