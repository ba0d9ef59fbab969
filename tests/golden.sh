#!/usr/bin/env bash
# Runs vexsum once per line of the golden table and compares standard output,
# standard error, exit status and every byte of the file afterwards.
# usage: golden.sh VEXSUM VERSION [TABLE [SWAPS]]
# SWAPS, for another system: lines "CASE | OURS | THEIRS | TEXT" of error
# codes that it gives in place of ours (tests/windows.txt), by code: wherever
# a row expects OURS it expects THEIRS (the CASE only names the swap); its
# line ends are then CR LF, as Windows writes them.
# ERRTEXT names the errtext helper (harness.sh).
set -u
vexsum=$1 version=$2 table=${3:-$(dirname "$0")/golden.txt} swaps=${4:-} eol='\n'
[ -z "$swaps" ] || eol='\r\n'
title=golden
. "$(dirname "$0")/harness.sh"
loadtexts "$table" ${swaps:+"$swaps"}

while IFS='|' read -r name args before status out err after; do
	name=$(trim "$name")
	case $name in '' | '#'*) continue ;; esac
	before=$(trim "$before") after=$(trim "$after")
	file=$work/$name
	case $before in
	-) file= ;; # the run names no file
	none) ;;
	dir) mkdir "$file" ;;
	*) printf '%s' "$before" | xxd -r -p >"$file" ;;
	esac
	read -ra argv <<<"${args//FILE/$file}"
	"$vexsum" "${argv[@]}" </dev/null >"$work/out" 2>"$work/err"
	got=$?
	out=$(trim "$out") err=$(trim "$err")
	if [ -n "$swaps" ]; then
		while IFS='|' read -r swap ours theirs _; do
			case $swap in '' | '#'*) continue ;; esac
			ours=$(trim "$ours") theirs=$(trim "$theirs")
			[ -z "$ours" ] || err=${err//"{$ours}"/"{$theirs}"}
		done <"$swaps"
	fi
	printf '%b' "${out//\\n/$eol}" >"$work/want.out"
	wanterr "$version" "$eol" "$(withtexts "${err//FILE/$file}")" >"$work/want.err"
	[ "$after" = = ] && after=$before
	verdict "$name" "$got" "$(trim "$status")" "$file" "$after" \
		"$work/out" "$work/want.out" "$work/err" "$work/want.err"
done <"$table"
summary
