#!/usr/bin/env bash
# Builds the Windows zip, unpacks it and runs the program inside under wine.
# usage: winpackage.sh BUILD-DIRECTORY VERSION
set -eu
build=$1 version=$2 top=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT
fail() { echo "package: $*"; exit 1; }

. "$(dirname "$0")/cases.sh"
dir=$(cpackzip "$build" "vexsum-$version-win64") || fail "$dir"
for f in vexsum.exe vexsum.html vexsum.txt LICENSE.txt; do
	[ -f "$dir/$f" ] || fail "no $f in the zip"
done
grep -q "vexsum $version" "$dir/vexsum.txt" || fail "the text manual does not say version $version"
grep -q '<h1' "$dir/vexsum.html" || fail "the HTML manual has no heading"
# the Windows manual, not the Linux one: cmd and PowerShell, no POSIX shell
grep -q 'C:\\calc> vexsum.exe' "$dir/vexsum.txt" || fail "the text manual shows no cmd example"
grep -q 'Get-ChildItem' "$dir/vexsum.txt" || fail "the text manual shows no PowerShell batch"
! grep -qE 'xargs|POSIX shell|\$ vexsum' "$dir/vexsum.txt" "$dir/vexsum.html" || fail "the manual speaks of a POSIX shell"
# HTML that carries its own style and shows code blocks as they are
grep -q '<style>' "$dir/vexsum.html" || fail "the HTML manual has no style of its own"
! grep -q '<link rel="stylesheet"' "$dir/vexsum.html" || fail "the HTML manual links a stylesheet"
! sed -n '/<pre>/,/<\/pre>/p' "$dir/vexsum.html" | grep -q '<br/>' || fail "the HTML manual breaks lines in code blocks"
# every line of the text files ends in CR LF
for f in vexsum.txt LICENSE.txt; do
	! grep -qv $'\r$' "$dir/$f" || fail "$f has a line without CR LF"
done
cp "$top/examples/wrongcrc.lib" "$work/sample.lib"
out=$("$top/tools/wine" "$dir/vexsum.exe" "$work/sample.lib" 2>"$work/err") || fail "vexsum.exe failed"
[ "$out" = "$(printf '\tLibrary CRC:\t0000\r\n\tTrue CRC:\t92FA\r')" ] || fail "vexsum.exe said: $out"
[ "$(cat "$work/err")" = "$(printf 'vexsum v%s by Zarvik\r' "$version")" ] || fail "banner: $(cat "$work/err")"
out=$("$top/tools/wine" "$dir/vexsum.exe" "$work/sample.lib" 2>/dev/null) || fail "vexsum.exe failed again"
[ "$out" = "$(printf '\tLibrary CRC:\t92FA\r\n\tTrue CRC:\t92FA\r')" ] || fail "the CRC was not filled: $out"
echo "package: 1 passed, 0 failed"
