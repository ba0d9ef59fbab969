#!/usr/bin/env bash
# Runs vexsum once per line of the golden table and compares standard output,
# standard error, exit status and every byte of the file afterwards.
# usage: golden.sh VEXSUM VERSION [TABLE]
set -u
vexsum=$1 version=$2 table=${3:-$(dirname "$0")/golden.txt}
work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT
. "$(dirname "$0")/cases.sh"

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
	verdict "$name" "$got" "$(trim "$status")" "$file" "$after" \
		"$work/out" "$work/want.out" "$work/err" "$work/want.err"
done <"$table"
summary golden
