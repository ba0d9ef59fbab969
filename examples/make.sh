#!/bin/sh
# Makes the sample library objects with mklib; with --check, only compares
# them with the ones in this folder.
# usage: make.sh MKLIB [--check]
set -eu
mklib=$1 dir=$(dirname "$0") out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

"$mklib" 0123456789ABCDEF0 >"$out/odd.lib"            # field starts mid-byte
"$mklib" 0123456789ABCDEF >"$out/even.lib"            # field starts on a byte
"$mklib" 7E5C0DE5A3B1E4A11 0000 >"$out/wrongcrc.lib"  # stored CRC 0000 is wrong
"$mklib" "" >"$out/notlib.lib"                         # size 9: no body, refused
"$mklib" A0D0A0 >"$out/newline.lib"                    # bytes 0A 0D 0A: text mode would spoil them

for f in odd even wrongcrc notlib newline; do
	if [ "${2-}" = --check ]; then
		cmp "$out/$f.lib" "$dir/$f.lib"
	else
		cp "$out/$f.lib" "$dir/$f.lib"
	fi
done
