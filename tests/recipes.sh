#!/usr/bin/env bash
# Runs the scripting recipes exactly as README.md shows them, on a filled, a
# refused and a failing file, and checks that the manual page shows the same
# recipes. A recipe is the sh block after a line "<!-- recipe: NAME -->" in
# the README, and the .nf block after '.\" recipe: NAME' in the page.
# usage: recipes.sh VEXSUM MANPAGE
set -u
vexsum=$(realpath "$1") page=$2 top=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d) && chmod 755 "$work" && trap 'rm -rf "$work"' EXIT
. "$(dirname "$0")/cases.sh"
loadtexts "$0" # EFBIG ESPIPE

readme() { awk -v m="<!-- recipe: $1 -->" '$0 == m { on = 1; next } on && /^```sh$/ { in_ = 1; next }
	in_ && /^```$/ { exit } in_' "$top/README.md"; }
manpage() { awk -v m=".\\\\\" recipe: $1" '$0 == m { on = 1; next } on && $0 == ".nf" { in_ = 1; next }
	in_ && $0 == ".fi" { exit } in_' "$page" | sed -e 's/\\-/-/g' -e "s/\\\\(aq/'/g" -e 's/\\e/\\/g'; }
# check NAME GOT WANT
check() {
	if [ "$2" = "$3" ]; then pass=$((pass + 1)); return; fi
	echo "FAIL $1"; diff -u <(printf '%s\n' "$3") <(printf '%s\n' "$2"); fail=$((fail + 1))
}

for name in "one file" "many files"; do
	[ -n "$(readme "$name")" ] || { echo "FAIL no recipe \"$name\" in README.md"; fail=$((fail + 1)); }
	check "manual page recipe \"$name\"" "$(manpage "$name")" "$(readme "$name")"
done

# a sample with a wrong CRC, a refused file, and a field across byte 1024,
# which a 1 KiB file-size limit makes fail after the report is out
mkdir -p "$work/calc/games"
cp "$top/examples/wrongcrc.lib" "$work/calc/games/maze.lib"
cp "$top/examples/notlib.lib" "$work/calc/notes.lib"
printf '%s' "$limitodd" | xxd -r -p >"$work/calc/big.lib"
export PATH=$(dirname "$vexsum"):$PATH

for f in "$work/calc/games/maze.lib" "$work/calc/notes.lib" "$work/calc/big.lib"; do
	(ulimit -f 1 && eval "$(readme "one file")")
done >"$work/one.out"
check "one-file recipe" "$(cat "$work/one.out")" "$work/calc/games/maze.lib: filled
$work/calc/notes.lib: not a library object
$work/calc/big.lib: failed (status 1)"

cp "$top/examples/wrongcrc.lib" "$work/calc/games/maze.lib"
mkfifo "$work/calc/pipe.lib"
(ulimit -f 1 && HOME=$work eval "$(readme "many files")") | sort >"$work/many.out"
check "many-files recipe" "$(cat "$work/many.out")" "$(withtexts "$work/calc/big.lib: failed: {EFBIG}
$work/calc/games/maze.lib: filled, CRC 92FA
$work/calc/notes.lib: not a library object
$work/calc/pipe.lib: failed: {ESPIPE}")"
summary recipes
