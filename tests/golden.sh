#!/usr/bin/env bash
# Runs vexsum once per line of the golden table and compares standard output,
# standard error, exit status and every byte of the file afterwards.
# usage: golden.sh VEXSUM VERSION [TABLE]
set -u
vexsum=$1 version=$2 table=${3:-$(dirname "$0")/golden.txt}
work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT
pass=0 fail=0

trim() { local s=$1; s=${s#"${s%%[![:space:]]*}"}; printf '%s' "${s%"${s##*[![:space:]]}"}"; }
hexof() { xxd -p "$1" | tr -d '\n' | tr a-f A-F; }

while IFS='|' read -r name args before status out err after; do
	name=$(trim "$name")
	case $name in '' | '#'*) continue ;; esac
	before=$(trim "$before") after=$(trim "$after")
	file=$work/$name
	printf '%s' "$before" | xxd -r -p >"$file"
	read -ra argv <<<"${args//FILE/$file}"
	"$vexsum" "${argv[@]}" >"$work/out" 2>"$work/err"
	got=$?
	printf '%b' "$(trim "$out")" >"$work/want.out"
	err=$(trim "$err")
	printf 'vexsum v%s by Zarvik\n%b' "$version" "${err//FILE/$file}" >"$work/want.err"
	[ "$after" = = ] && after=$before
	bad=
	[ "$got" = "$(trim "$status")" ] || bad+=" status $got"
	cmp -s "$work/out" "$work/want.out" || bad+=" stdout"
	cmp -s "$work/err" "$work/want.err" || bad+=" stderr"
	[ "$(hexof "$file")" = "$after" ] || bad+=" bytes $(hexof "$file")"
	if [ -n "$bad" ]; then
		echo "FAIL $name:$bad"
		diff -u "$work/want.out" "$work/out"
		diff -u "$work/want.err" "$work/err"
		fail=$((fail + 1))
	else
		pass=$((pass + 1))
	fi
done <"$table"
echo "golden: $pass passed, $fail failed"
[ "$fail" = 0 ] && [ "$pass" -gt 0 ]
