#!/usr/bin/env bash
# Fails when the program imports a DLL that Windows does not ship.
set -euo pipefail
objdump=$1 program=$2
allowed='^(kernel32|user32|gdi32|comdlg32|comctl32|shell32|advapi32|msvcrt)\.dll$'
status=0
while read -r dll; do
    if ! grep -qiE "$allowed" <<<"$dll"; then
        echo "not a system DLL: $dll"
        status=1
    fi
    echo "$dll"
done < <("$objdump" -p "$program" | sed -n 's/^[[:space:]]*DLL Name: //p')
exit $status
