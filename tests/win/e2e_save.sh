#!/usr/bin/env bash
# End to end, run by wine-gui-run --script: the real program with the platform's own dialogs and
# message boxes, driven by keys. Starts with a file named on the command line; types into four
# fields reached by Tab and access keys, one in Japanese; saves with Ctrl+S through the save
# dialog to a Japanese file name and checks the bytes in code page 932; New answered No (the
# default button) and then Yes, each followed by a save that shows what the fields held; Quit
# from the menu, which ends the program with exit code 0.
set -euo pipefail
program=$1
read -ra wine <<<"$QUELVAR_WINE_LOADER"
source "$(dirname "${BASH_SOURCE[0]}")/../../tools/runners/end-to-end"

printf '[Quelvar]\r\nIndex=B12\r\n' >"$work/開く 前.kvd"
"${wine[@]}" "$program" "$(windows_path "$work/開く 前.kvd")" &
app=$!
focus_wine_desktop

save_as() {
    xdotool key ctrl+s
    sleep 2
    xdotool key ctrl+a
    xdotool type --delay 30 "$(windows_path "$(dirname "$1")")\\"
    # Characters that the keyboard map lacks are typed by remapping a key: slowly, or the
    # remapping may not have reached Wine yet.
    xdotool type --delay 150 "$(basename "$1")"
    xdotool key Return
    for _ in $(seq 100); do [ -s "$1" ] && break; sleep 0.1; done
    sleep 0.5
}

empty='Element1Default=\r\nElement2Default=\r\nElement3Default=\r\nElement1=\r\nElement2=\r\nElement3=\r\n'
typed="[Quelvar]\r\nEdited=author\r\nBaseElement=\r\nCloseTag=</a>\r\n${empty}Index=B1\r\nTagName=\x89\xe6\x91\x9c\r\n"
cleared="[Quelvar]\r\nEdited=\r\nBaseElement=\r\nCloseTag=\r\n${empty}Index=\r\nTagName=\r\n"

# Focus starts in the tag name box; Tab leads to the author's.
xdotool key Tab
xdotool type --delay 30 "author"
xdotool key shift+Tab
xdotool type --delay 150 "画像"
# Access keys: Alt+C to the closing tag; Alt+I to the index, whose text is selected and replaced.
xdotool key alt+c
xdotool type --delay 30 "</a>"
xdotool key alt+i
xdotool type --delay 30 "B1"
save_as "$work/テンプレート.kvd"
expect_bytes "$work/テンプレート.kvd" "$typed"

# New asks; Return answers the default button, No: the fields stay.
xdotool key ctrl+n
sleep 1.5
xdotool key Return
sleep 1
save_as "$work/after-no.kvd"
expect_bytes "$work/after-no.kvd" "$typed"

# Asked again, answered Yes by its access key: the fields are emptied.
xdotool key ctrl+n
sleep 1.5
xdotool key y
sleep 1
save_as "$work/after-yes.kvd"
expect_bytes "$work/after-yes.kvd" "$cleared"

# Quit through the menu: Alt+F, then Q. The program ends without a question, with code 0.
xdotool key alt+f
sleep 1
xdotool key q
# Quit ends the program at once; a program still running after its deadline fails the test.
expect_end 15 0 "Quit"
echo "1 passed, 0 failed"
