#!/usr/bin/env bash
# Builds the Windows setup programs and zips (build-packages.sh) and proves them under Wine, on
# a fresh prefix with the Japanese locale, as a new user would meet them: a silent install for
# the current user puts the files, the Start menu shortcut, the uninstall entry and the .kvd
# file type in place; a template opened through the file type comes up loaded in the installed
# program, where it is edited and saved under a new name; a silent uninstall leaves no file,
# folder or registry key behind and hands .kvd back to a program that had it; on an English
# system the setup program speaks English; each zip's program starts and loads a template.
# Takes the options of build-packages.sh and checks the packages where --out put them. Needs Xvfb
# and xdotool; uses a display, a Wine prefix and a home folder of its own under
# build/installer-check.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
out=build/packages
options=("$@")
while [ $# -gt 0 ]; do
    case $1 in
    --out) out=$2 && shift ;;
    --builds) shift ;;
    esac
    shift
done
packaging/windows/build-packages.sh "${options[@]}"
out=$(realpath "$out")
source packaging/newest-release
version=$(newest_release version)
work=$root/build/installer-check
rm -rf "$work"
mkdir -p "$work"

# One loader for the whole check: where 32-bit programs cannot run, the 64-bit ones still run
# through the 64-bit loader, and the 32-bit packages are reported skipped.
source tools/runners/wine
if wine_runs_32bit; then
    run32=true
    wine=(wine)
else
    run32=false
    wine_use_64bit_loader
fi
# Wine links the user's Documents and Desktop to the home folder: a home of the check's own.
export HOME=$work/home WINEPREFIX=$work/prefix
mkdir -p "$HOME"
# No Linux menu entries or file types from Wine's side.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"

# The display the tests use: Xvfb on a free display number, with xdotool for the keys.
source tools/runners/display
needs xdotool
cleanup() {
    wineserver -k 2>/dev/null || true
    stop_display
}
trap cleanup EXIT
start_display

passed=0
ok() {
    passed=$((passed + 1))
    echo "ok: $*"
}
fail() {
    echo "FAILED: $*" >&2
    exit 1
}

win() { "${wine[@]}" "$@"; }
# Wine's console tools write the ANSI code page (932 here).
win_out() { win "$@" 2>/dev/null | iconv -f CP932 -t UTF-8 | tr -d '\r'; }
reg_value() { # key [name]: the value's data; fails when it is missing
    local which=(/ve)
    [ $# -gt 1 ] && which=(/v "$2")
    local lines
    lines=$(win reg query "$1" "${which[@]}" 2>/dev/null | iconv -f CP932 -t UTF-8 | tr -d '\r') ||
        return 1
    sed -n 's/^    .*    REG_[A-Z_]*    //p' <<<"$lines"
}
expect_value() { # key name expected
    local got
    got=$(reg_value "$1" ${2:+"$2"}) || fail "missing: $1 ${2:-(default)}"
    [ "$got" = "$3" ] || fail "$1 ${2:-(default)} is '$got', not '$3'"
}
reg_absent() { ! win reg query "$1" >/dev/null 2>&1; }
unix_path() { win winepath.exe -u "$1" 2>/dev/null | tr -d '\r'; } # prints UTF-8
settle() { wineserver -w; }

echo "== Wine prefix (Japanese locale)"
win wineboot -i >/dev/null 2>&1
settle
# The helper that reads the editor's window, from the 64-bit Windows build.
cmake --preset windows >/dev/null
cmake --build --preset windows --target quelvar_read_fields >/dev/null
cp build/windows/packaging/windows/read-fields.exe "$work/read-fields.exe"
local_appdata=$(win_out cmd.exe /c echo %LOCALAPPDATA%)
appdata=$(win_out cmd.exe /c echo %APPDATA%)
profile=$(win_out cmd.exe /c echo %USERPROFILE%)
# The user's template, with a Japanese name and a blank in it.
template="$profile\\Documents\\見本 template.kvd"
template_file="$(readlink -f "$(unix_path "$profile")/Documents")/見本 template.kvd"
cp data/example.kvd "$template_file"

instdir="$local_appdata\\Programs\\Quelvar Edit Tool"
exe="$instdir\\quelvar-edit.exe"
shortcut=$(unix_path "$appdata\\Microsoft\\Windows\\Start Menu\\Programs\\Quelvar Edit Tool.lnk")
classes='HKCU\Software\Classes'
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\QuelvarEditTool'

# Everything of the user's and the machine's an install may touch, for before-and-after diffs.
# The temporary folder is left out: the uninstaller runs from a copy of itself there, which
# cannot delete its own folder (Windows clears it later, Wine not at all).
snapshot() {
    (cd "$WINEPREFIX/drive_c" &&
        find users ProgramData "Program Files" "Program Files (x86)" \
            \( -path 'users/*/Temp' -o -path 'users/*/AppData/Local/Temp' \) -prune -o -print |
        sort) >"$work/$1.files"
    win reg export 'HKCU\Software' "$(win_out winepath.exe -w "$work/$1.reg")" /y >/dev/null
    win reg export 'HKLM\Software\Classes' "$(win_out winepath.exe -w "$work/$1.hklm.reg")" \
        /y >/dev/null
}
# The registry keys an install may change, with all below them: its file type, the .kvd keys,
# the "Open with" entry and the uninstall entry; in HKLM the copies this check makes for Wine's shell. Wine keeps its
# own records in the same hives, and they are none of the installer's business: its font list
# under HKCU\Software\Wine\Fonts, for one, changes names between runs when the IPA fonts are
# installed (IPAGothic in one run, IPAゴシック in the next).
export INSTALLER_KEYS='HKEY_CURRENT_USER\Software\Classes\.kvd
HKEY_CURRENT_USER\Software\Classes\Quelvar.Template
HKEY_CURRENT_USER\Software\Classes\Applications
HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Uninstall
HKEY_LOCAL_MACHINE\Software\Classes\.kvd
HKEY_LOCAL_MACHINE\Software\Classes\Quelvar.Template
HKEY_LOCAL_MACHINE\Software\Classes\Applications\quelvar-edit.exe'
installer_keys() { # snapshot: its registry exports cut down to the keys above, in lower case
    cat "$work/$1.reg" "$work/$1.hklm.reg" | iconv -f UTF-16 -t UTF-8 | tr -d '\r' |
        awk 'BEGIN { n = split(tolower(ENVIRON["INSTALLER_KEYS"]), key, "\n") }
             /^\[/ { name = tolower(substr($0, 2, length($0) - 2)); keep = 0
                     for (i = 1; i <= n; i++)
                         if (name == key[i] || index(name, key[i] "\\") == 1) keep = 1 }
             keep { print tolower(substr($0, 1, 1)) == "[" ? tolower($0) : $0 }'
}
same_as() { # snapshot: the prefix as it was then
    snapshot now
    diff "$work/$1.files" "$work/now.files" || fail "files differ from before the install"
    diff <(installer_keys "$1") <(installer_keys now) ||
        fail "the installer's registry keys differ from before the install"
}

# Reads the editor's window: the owning program must be $1, the boxes must hold the template
# (with $2 as its tag name); then closes it, or with $3 = keep leaves it open.
expect_loaded() {
    local fields
    fields=$(win "$work/read-fields.exe" 30 ${3:+"$3"} | tr -d '\r') ||
        fail "no editor window: $fields"
    grep -qxF "program=$1" <<<"$fields" || fail "the window is not of $1: $fields"
    for value in "${2:-img}" '山田太郎' '<img src="' 'B123' 'width' '100' 'height' '50' 'alt' '画像'; do
        grep -qxF "field=$value" <<<"$fields" || fail "no box holds '$value': $fields"
    done
}

# As a user: adds "2" to the tag name (the box that has the focus at start) and saves the
# template under a new name through the program's own save dialog. Keys go through xdotool.
edit_and_save_as() { # name
    local saved folder before
    folder=$(dirname "$template_file")
    saved="$folder/$1"
    before=$(ls -A "$folder")
    xdotool key End type 2
    sleep 1
    xdotool key ctrl+s
    # The save dialog comes up with the current name selected in its name box.
    win "$work/read-fields.exe" 30 modal || fail "no save dialog after Ctrl+S"
    xdotool type "$1"
    xdotool key Return
    for _ in $(seq 50); do
        grep -q '^TagName=' "$saved" 2>/dev/null && break
        sleep 0.2
    done
    expect_loaded "$exe" img2
    sed 's/^TagName=img\r$/TagName=img2\r/' data/example.kvd | cmp -s - "$saved" ||
        fail "the saved template is not the opened one with the new tag name: $(cat -A "$saved")"
    rm "$saved"
    [ "$(ls -A "$folder")" = "$before" ] || fail "the save left files behind: $(ls -A "$folder")"
}

install_silently() { # setup options...
    win "$@" || fail "setup $* ended with status $?"
    settle
}
uninstall_silently() {
    win "$instdir\\uninstall.exe" /S || fail "the uninstaller ended with status $?"
    settle
    [ ! -e "$(unix_path "$instdir")" ] || fail "the program's folder is left"
}

# A silent install for the user, with snapshots of the prefix before and after.
install_for_the_user() { # setup
    # Every Windows user has this key; a fresh Wine prefix does not.
    win reg add "$classes" /f >/dev/null
    # One virtual desktop, where xdotool's keys reach the focused window.
    wine_virtual_desktop
    snapshot fresh
    install_silently "$1" /S
    # The keys compared before and after hold what the install wrote: the comparison sees it.
    snapshot installed
    local keys
    keys=$(installer_keys installed)
    grep -qxF '[hkey_current_user\software\classes\quelvar.template]' <<<"$keys" ||
        fail "the installer's file type is not among the keys compared: $keys"
}

check_installed_files() { # arch
    local dir
    dir=$(unix_path "$instdir")
    [ "$(find "$dir" -mindepth 1 -printf '%P\n' | LC_ALL=C sort | tr '\n' ' ')" = \
        "README.txt quelvar-edit.exe quelvar-kvd.ico uninstall.exe " ] ||
        fail "installed files: $(ls "$dir")"
    cmp -s "$dir/quelvar-edit.exe" <(unzip -p "$out/quelvar-edit-$version-$1.zip" "*/quelvar-edit.exe") ||
        fail "the installed program is not the packaged one"
    cmp -s "$dir/quelvar-kvd.ico" data/icons/quelvar-kvd.ico || fail "the template icon differs"
    ok "$1: installed for the user under $instdir"
    { [ -f "$shortcut" ] && strings -e l "$shortcut" | grep -qF 'quelvar-edit.exe'; } ||
        fail "no Start menu shortcut to the program: $shortcut"
    ok "$1: Start menu shortcut"
}

check_uninstall_entry() { # arch
    expect_value "$uninstall_key" DisplayName "Quelvar Edit Tool"
    expect_value "$uninstall_key" DisplayVersion "$version"
    expect_value "$uninstall_key" Publisher "Quelvar"
    expect_value "$uninstall_key" DisplayIcon "$exe,0"
    expect_value "$uninstall_key" UninstallString "\"$instdir\\uninstall.exe\""
    expect_value "$uninstall_key" QuietUninstallString "\"$instdir\\uninstall.exe\" /S"
    [ $(($(reg_value "$uninstall_key" EstimatedSize))) -gt 0 ] || fail "no EstimatedSize"
    reg_absent 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\QuelvarEditTool' ||
        fail "an uninstall entry for all users"
    ok "$1: \"Installed apps\" entry of the user"
}

check_file_type() { # arch
    expect_value "$classes\\Quelvar.Template" "" "Quelvar タグ テンプレート"
    expect_value "$classes\\Quelvar.Template\\DefaultIcon" "" "$instdir\\quelvar-kvd.ico"
    expect_value "$classes\\Quelvar.Template\\shell\\open\\command" "" "\"$exe\" \"%1\""
    expect_value "$classes\\.kvd" "" "Quelvar.Template"
    expect_value "$classes\\.kvd\\OpenWithProgids" "Quelvar.Template" ""
    reg_absent 'HKLM\Software\Classes\Quelvar.Template' || fail "a file type for all users"
    ok "$1: .kvd opens with Quelvar.Template (Japanese type name, icon, open verb)"
}

check_open_edit_and_save() { # arch
    # Windows merges HKCU\Software\Classes into HKEY_CLASSES_ROOT; Wine 8 does not (its bug
    # 14771). Wine's shell is shown the merged view by copying the user's keys for this step.
    for key in .kvd Quelvar.Template; do
        win reg copy "$classes\\$key" "HKLM\\Software\\Classes\\$key" /s /f >/dev/null
    done
    win start "$template" || fail "wine start on the template ended with status $?"
    expect_loaded "$exe" img keep
    ok "$1: a template opened through its file type comes up loaded in the installed program"
    # xdotool loses characters it has to map to a spare key code (any Japanese one) now and
    # then: the new name is ASCII, the opened template's name was not.
    edit_and_save_as "saved $1.kvd"
    settle
    for key in .kvd Quelvar.Template; do
        win reg delete "HKLM\\Software\\Classes\\$key" /f >/dev/null
    done
    ok "$1: edited and saved under a new name, byte for byte as expected"
}

check_uninstall_waits_for_the_editor() { # arch
    # A running editor keeps the uninstaller from starting. Run in place (_?=, which must stand
    # unquoted at the end of its command line: hence a batch file), it gives its status.
    printf 'start /wait "" "%s\\uninstall.exe" /S _?=%s\r\nexit /b %%errorlevel%%\r\n' \
        "$instdir" "$instdir" >"$work/uninstall-in-place.bat"
    win "$exe" &
    local editor=$!
    win "$work/read-fields.exe" 30 keep >/dev/null || fail "the installed program did not start"
    local status=0
    win cmd.exe /c "$(win_out winepath.exe -w "$work/uninstall-in-place.bat")" >/dev/null ||
        status=$?
    [ "$status" -eq 2 ] || fail "with the editor running the uninstaller ended with status $status"
    { [ -f "$(unix_path "$exe")" ] && reg_value "$uninstall_key" DisplayName >/dev/null; } ||
        fail "the uninstaller gave up but removed things"
    win "$work/read-fields.exe" 30 >/dev/null || fail "the editor did not close"
    wait "$editor"
    ok "$1: the uninstaller asks for the running editor to be closed (silently: gives up, status 2)"
}

check_uninstall_leaves_nothing() { # arch
    uninstall_silently
    same_as fresh
    cmp -s "$template_file" data/example.kvd || fail "the template changed"
    ok "$1: the uninstaller leaves nothing behind and the template as it was"
}

# Another program opens .kvd files: the install only offers itself, unless asked.
give_kvd_to_another_program() {
    win reg add "$classes\\.kvd" /ve /d Other.Template /f >/dev/null
    win reg add "$classes\\Other.Template\\shell\\open\\command" /ve \
        /d 'C:\windows\notepad.exe "%1"' /f >/dev/null
    snapshot other
}

check_kvd_stays_with_the_other_program() { # arch setup
    install_silently "$2" /S
    expect_value "$classes\\.kvd" "" "Other.Template"
    expect_value "$classes\\.kvd\\OpenWithProgids" "Quelvar.Template" ""
    uninstall_silently
    same_as other
    ok "$1: another program's .kvd stays its own, and the editor is offered under Open with"
}

check_associate_takes_kvd_over() { # arch setup
    install_silently "$2" /S /ASSOCIATE
    expect_value "$classes\\.kvd" "" "Quelvar.Template"
    uninstall_silently
    same_as other
    ok "$1: /ASSOCIATE takes .kvd over; the uninstaller gives it back"
}

check_english_setup() { # arch setup
    LC_ALL=C.UTF-8 install_silently "$2" /S
    expect_value "$classes\\Quelvar.Template" "" "Quelvar tag template"
    LC_ALL=C.UTF-8 uninstall_silently
    same_as other
    ok "$1: on an English system the setup program speaks English"
}

remove_the_other_program() {
    win reg delete "$classes\\.kvd" /f >/dev/null
    win reg delete "$classes\\Other.Template" /f >/dev/null
}

check_setup() { # arch
    local setup=$out/quelvar-edit-$version-$1-setup.exe
    echo "== $(basename "$setup")"
    install_for_the_user "$setup"
    check_installed_files "$1"
    check_uninstall_entry "$1"
    check_file_type "$1"
    check_open_edit_and_save "$1"
    check_uninstall_waits_for_the_editor "$1"
    check_uninstall_leaves_nothing "$1"
    give_kvd_to_another_program
    check_kvd_stays_with_the_other_program "$1" "$setup"
    check_associate_takes_kvd_over "$1" "$setup"
    check_english_setup "$1" "$setup"
    remove_the_other_program
}

check_zip() { # arch
    local zip=$out/quelvar-edit-$version-$1.zip name=quelvar-edit-$version-$1
    echo "== $(basename "$zip")"
    [ "$(unzip -Z1 "$zip" | LC_ALL=C sort | tr '\n' ' ')" = "$name/ $name/README.txt $name/quelvar-edit.exe " ] ||
        fail "zip contents: $(unzip -Z1 "$zip")"
    rm -rf "$work/unzipped"
    unzip -q "$zip" -d "$work/unzipped"
    local program
    program=$(win_out winepath.exe -w "$work/unzipped/$name/quelvar-edit.exe")
    win "$program" "$template" &
    expect_loaded "$program"
    wait $! || fail "the zip's program ended with status $?"
    settle
    ok "$1: the zip's program starts and loads a template"
}

# What needs no Windows to see: the kind of each program, no elevation asked, the DLLs needed.
source packaging/windows/system-dlls
for arch in x86_64 i686; do
    setup=$out/quelvar-edit-$version-$arch-setup.exe
    zip=$out/quelvar-edit-$version-$arch.zip
    kind="PE32+ executable (GUI) x86-64"
    [ $arch = i686 ] && kind="PE32 executable (GUI) Intel 80386"
    file -b "$setup" | grep -qF "$kind" || fail "$setup: $(file -b "$setup")"
    unzip -p "$zip" "*/quelvar-edit.exe" >"$work/$arch.exe"
    file -b "$work/$arch.exe" | grep -qF "$kind" || fail "$zip's program: $(file -b "$work/$arch.exe")"
    grep -aqF 'level="asInvoker"' "$setup" || fail "$setup asks for administrator rights"
    dlls=$(objdump -p "$work/$arch.exe" | sed -n 's/^\s*DLL Name: //p' | tr '[:upper:]' '[:lower:]' | sort -u)
    for dll in $dlls; do
        is_system_dll "$dll" || fail "$zip's program needs $dll, which Windows does not bring"
    done
    ok "$arch: $kind, setup without administrator rights, only system DLLs (${dlls//$'\n'/ })"
    LC_ALL=C ls -l "$setup" "$zip"
done

check_setup x86_64
check_zip x86_64
skipped=0
if $run32; then
    check_setup i686
    check_zip i686
else
    skipped=2
    echo "SKIPPED: i686 setup and zip under Wine: this machine cannot run 32-bit programs"
fi
settle
rm -rf "$WINEPREFIX" # 700 MB; a failed run keeps it to look into
echo "installer: $passed passed, 0 failed, $skipped skipped"
