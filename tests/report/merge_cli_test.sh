#!/usr/bin/env bash
# nkp3-tool merge: exit 0 with the report written, 1 with the engine's message
# in UTF-8 on stderr, 2 for a bad command line.
set -u
tool="$1"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
printf 'A #X#\n' > "$dir/t"
printf '|0:X:1\n' > "$dir/d"
fail() { echo "FAIL: $*"; exit 1; }

"$tool" merge "$dir/d" "$dir/t" "$dir/r" || fail "merge failed"
[[ "$(od -An -c "$dir/r" | tr -s ' ')" == " A 1 \r \n" ]] || fail "report: $(od -c "$dir/r")"

"$tool" merge "$dir/none" "$dir/t" "$dir/r" 2> "$dir/err"
[[ $? -eq 1 ]] || fail "missing data file: exit status"
[[ "$(cat "$dir/err")" == "Не открыт файл данных" ]] || fail "message: $(cat "$dir/err")"

"$tool" merge "$dir/d" "$dir/t" 2> /dev/null
[[ $? -eq 2 ]] || fail "bad command line: exit status"
echo ok
