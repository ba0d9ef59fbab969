#!/usr/bin/env bash
# Builds the Windows zip, unpacks it and runs the program inside under wine.
# usage: winpackage.sh BUILD-DIRECTORY VERSION
set -u
build=$1 version=$2
title=winpackage
. "$(dirname "$0")/harness.sh"
dir=$(cpackzip "$build" "vexsum-$version-win64") || { failed zip "$dir"; summary; exit; }
for f in vexsum.exe vexsum.html vexsum.txt LICENSE.txt; do
	check zip "no $f in it" [ -f "$dir/$f" ]
done
check manual "the text manual does not say version $version" grep -q "vexsum $version" "$dir/vexsum.txt"
check manual "the HTML manual has no heading" grep -q '<h1' "$dir/vexsum.html"
# the Windows manual, not the Linux one: cmd and PowerShell, no POSIX shell
check manual "no cmd example" grep -q 'C:\\calc> vexsum.exe' "$dir/vexsum.txt"
check manual "no PowerShell batch" grep -q 'Get-ChildItem' "$dir/vexsum.txt"
check manual "it speaks of a POSIX shell" sh -c '! grep -qE "xargs|POSIX shell|\\\$ vexsum" "$@"' - "$dir/vexsum.txt" "$dir/vexsum.html"
# HTML that carries its own style and shows code blocks as they are
check manual "the HTML has no style of its own" grep -q '<style>' "$dir/vexsum.html"
check manual "the HTML links a stylesheet" sh -c '! grep -q "<link rel=\"stylesheet\"" "$1"' - "$dir/vexsum.html"
check manual "the HTML breaks lines in code blocks" \
	sh -c '! sed -n "/<pre>/,/<\/pre>/p" "$1" | grep -q "<br/>"' - "$dir/vexsum.html"
# every line of the text files ends in CR LF
for f in vexsum.txt LICENSE.txt; do
	check crlf "$f has a line without CR LF" sh -c '! grep -qv "$(printf "\r")\$" "$1"' - "$dir/$f"
done
cp "$sample" "$work/sample.lib"
for stored in 0000 "$samplecrc"; do # the run fills it, the second finds it filled
	out=$("$top/tools/wine" "$dir/vexsum.exe" "$work/sample.lib" 2>"$work/err")
	got=$?
	check program "it failed, saying: $out" [ $got = 0 ]
	check program "it said: $out" [ "$out" = "$(printf '\tLibrary CRC:\t%s\r\n\tTrue CRC:\t%s\r' "$stored" "$samplecrc")" ]
	check program "its banner: $(cat "$work/err")" [ "$(cat "$work/err")" = "$(printf 'vexsum v%s by Zarvik\r' "$version")" ]
done
summary
