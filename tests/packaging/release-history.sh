#!/usr/bin/env bash
# The reader of RELEASES (cmake/ReleaseHistory.cmake in script mode): what it makes of a good
# history (version, date, AppStream releases, Debian changelog with its days of the week) and
# the message for each kind of malformed file.
set -uo pipefail
reader=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0

run() { # file print -> output of the reader, its messages on failure
    cmake -DRELEASES="$1" -DPRINT="$2" -DPACKAGE=quelvar-edit \
        "-DMAINTAINER=Packager <packager@example.org>" -P "$reader" 2>&1
}
expect() { # name expected actual
    if [ "$2" = "$3" ]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAILED: $1"
        diff <(printf '%s\n' "$2") <(printf '%s\n' "$3")
    fi
}

# Three releases, newest first; a leap day, a January date (the day-of-week rule's special
# case), a change over two lines, and text that XML must escape.
cat >"$work/good" <<'EOF'
# comment lines and blank lines are skipped

1.2.0 2027-01-31
- Saves keep <CR LF> & tabs.
- A change that goes on
  over a second line.
1.1.0 2024-02-29
- Leap day.

1.0.0 2000-01-01
- First.
EOF
expect "good: version" "1.2.0" "$(run "$work/good" version)"
expect "good: date" "2027-01-31" "$(run "$work/good" date)"
expect "good: AppStream releases" '  <releases>
    <release version="1.2.0" date="2027-01-31">
      <description>
        <ul>
          <li>Saves keep &lt;CR LF&gt; &amp; tabs.</li>
          <li>A change that goes on over a second line.</li>
        </ul>
      </description>
    </release>
    <release version="1.1.0" date="2024-02-29">
      <description>
        <ul>
          <li>Leap day.</li>
        </ul>
      </description>
    </release>
    <release version="1.0.0" date="2000-01-01">
      <description>
        <ul>
          <li>First.</li>
        </ul>
      </description>
    </release>
  </releases>' "$(run "$work/good" appstream)"
expect "good: Debian changelog" 'quelvar-edit (1.2.0) unstable; urgency=medium

  * Saves keep <CR LF> & tabs.
  * A change that goes on
    over a second line.

 -- Packager <packager@example.org>  Sun, 31 Jan 2027 00:00:00 +0000

quelvar-edit (1.1.0) unstable; urgency=medium

  * Leap day.

 -- Packager <packager@example.org>  Thu, 29 Feb 2024 00:00:00 +0000

quelvar-edit (1.0.0) unstable; urgency=medium

  * First.

 -- Packager <packager@example.org>  Sat, 01 Jan 2000 00:00:00 +0000' "$(run "$work/good" changelog)"

# Malformed files: the text of the file | the message expected (the file's name is "bad").
long_change="- $(printf 'x%.0s' $(seq 75))"
while IFS='|' read -r text message; do
    printf '%b' "$text" >"$work/bad"
    output=$(run "$work/bad" version)
    status=$?
    # CMake wraps its messages: compared with blanks and line breaks squeezed.
    if [ $status -ne 0 ] && grep -qF "$(tr -s ' ' <<<"bad:$message")" <<<"$(tr -s ' \n' ' ' <<<"$output")"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAILED: '$text' gave status $status and: $output"
    fi
done <<EOF
|1: no release in the file
# only a comment\n|1: no release in the file
- a change first\n|1: expected '<version> <date>' first
1.2 2026-01-01\n- x\n|1: expected '<major>.<minor>.<patch> YYYY-MM-DD', not '1.2 2026-01-01'
01.2.0 2026-01-01\n- x\n|1: expected '<major>.<minor>.<patch> YYYY-MM-DD', not '01.2.0 2026-01-01'
1.0.0 2026-1-01\n- x\n|1: the date '2026-1-01' is not YYYY-MM-DD
1.0.0 2026-13-01\n- x\n|1: the date '2026-13-01' has no month 13
1.0.0 2026-02-29\n- x\n|1: the date '2026-02-29' has no day 29
1.0.0 2100-02-29\n- x\n|1: the date '2100-02-29' has no day 29
1.0.0 2026-04-31\n- x\n|1: the date '2026-04-31' has no day 31
1.0.0 2026-01-01\n\n|1: release 1.0.0 lists no change
1.1.0 2026-01-02\n1.0.0 2026-01-01\n- x\n|1: release 1.1.0 lists no change
1.0.0 2026-01-02\n- x\n1.0.0 2026-01-01\n- y\n|3: release 1.0.0 is listed twice
1.0.0 2026-01-02\n- x\n1.1.0 2026-01-01\n- y\n|3: release 1.1.0 of 2026-01-01 stands above 1.0.0 of 2026-01-02: the newest release comes first
1.1.0 2026-01-01\n- x\n1.0.0 2026-01-02\n- y\n|3: release 1.0.0 of 2026-01-02 stands above 1.1.0 of 2026-01-01: the newest release comes first
1.0.0 2026-01-01\n  more\n|2: a continued line with no change before it
1.0.0 2026-01-01\n- a; b\n|2: a ';' (write a comma or a full stop)
1.0.0 2026-01-01\n-\ttab\n|2: a tab
1.0.0 2026-01-01\n$long_change\n|2: longer than 76 bytes
1.0.0 2026-01-01\n-  two blanks\n|2: neither '<version> <date>', '- <change>' nor '  <more>'
1.0.0 2026-01-01\n- trailing blank \n|2: neither '<version> <date>', '- <change>' nor '  <more>'
EOF

echo "release history: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
