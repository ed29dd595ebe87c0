#!/usr/bin/env bash
# Fails when the program imports a DLL that Windows does not ship.
set -euo pipefail
objdump=$1 program=$2
source "$(dirname "${BASH_SOURCE[0]}")/../../packaging/windows/system-dlls"
status=0
while read -r dll; do
    if ! is_system_dll "$dll"; then
        echo "not a system DLL: $dll"
        status=1
    fi
    echo "$dll"
done < <("$objdump" -p "$program" | sed -n 's/^[[:space:]]*DLL Name: //p')
exit $status
