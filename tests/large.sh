#!/usr/bin/env bash
# A file past 4 GiB, sparse: an object at its start and data at its end. The
# CRC is filled and the data kept, as with any file: the program must open
# and write it with 64-bit positions, which a 32-bit build does not have
# unless it asks for them.
# usage: large.sh VEXSUM [crlf]
set -u
vexsum=$1 eol='\n'
[ "${2:-}" != crlf ] || eol='\r\n'
title=large
. "$(dirname "$0")/harness.sh"
f=$work/large.lib end=$((4 * 1024 * 1024 * 1024 + 4096))
printf %s "$odd" | xxd -r -p >"$f"
printf 'data' | dd of="$f" bs=1 seek="$end" conv=notrunc status=none || skipall "no sparse file here"
"$vexsum" "$f" >"$work/out" 2>/dev/null
got=$?
printf "\tLibrary CRC:\t0000$eol\tTrue CRC:\t737A$eol" >"$work/want.out"
head -c 16 "$f" >"$work/head" && tail -c 4 "$f" >"$work/tail"
printf %s "$oddfilled" | xxd -r -p >"$work/want.head" && printf data >"$work/want.tail"
size=$(stat -c %s "$f")
check size "the file is now $size bytes" [ "$size" = $((end + 4)) ]
verdict large "$got" 0 "$work/head" "$(hexof "$work/want.head")" "$work/out" "$work/want.out" \
	"$work/tail" "$work/want.tail"
summary
