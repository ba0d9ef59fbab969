#!/usr/bin/env bash
# Runs the scripting recipes exactly as the manual page shows them, on a
# filled, a refused and a failing file, and checks that README.md shows the
# one it has the same. A recipe is the .nf block after '.\" recipe: NAME' in
# the page, and the sh block after a line "<!-- recipe: NAME -->" in the README.
# usage: recipes.sh VEXSUM MANPAGE
set -u
vexsum=$(realpath "$1") page=$2
title=recipes
. "$(dirname "$0")/harness.sh"
loadtexts "$0" # EFBIG ESPIPE

manpage() { awk -v m=".\\\\\" recipe: $1" '$0 == m { on = 1; next } on && $0 == ".nf" { in_ = 1; next }
	in_ && $0 == ".fi" { exit } in_' "$page" | sed -e 's/\\-/-/g' -e "s/\\\\(aq/'/g" -e 's/\\e/\\/g'; }
# same NAME GOT WANT
same() {
	if [ "$2" = "$3" ]; then passed; return; fi
	failed "$1" "it differs:"; diff -u <(printf '%s\n' "$3") <(printf '%s\n' "$2")
}

for name in "one file" "many files"; do
	[ -n "$(manpage "$name")" ] || failed "$name" "no such recipe in the manual page"
done
same "README recipe \"one file\"" "$(recipe "one file")" "$(manpage "one file")"

# a sample with a wrong CRC, a refused file, and a field across byte 1024,
# which a 1 KiB file-size limit makes fail after the report is out
mkdir -p "$work/calc/games"
cp "$sample" "$work/calc/games/maze.lib"
cp "$top/examples/notlib.lib" "$work/calc/notes.lib"
printf '%s' "$limitodd" | xxd -r -p >"$work/calc/big.lib"
PATH=$(dirname "$vexsum"):$PATH

# shellcheck disable=SC2034 # the recipe reads f
for f in "$work/calc/games/maze.lib" "$work/calc/notes.lib" "$work/calc/big.lib"; do
	(ulimit -f 1 && eval "$(manpage "one file")")
done >"$work/one.out"
same "one-file recipe" "$(cat "$work/one.out")" "$work/calc/games/maze.lib: filled
$work/calc/notes.lib: not a library object
$work/calc/big.lib: failed (status 1)"

cp "$sample" "$work/calc/games/maze.lib"
mkfifo "$work/calc/pipe.lib"
(ulimit -f 1 && HOME=$work eval "$(manpage "many files")") | sort >"$work/many.out"
same "many-files recipe" "$(cat "$work/many.out")" "$(withtexts "$work/calc/big.lib: failed: {EFBIG}
$work/calc/games/maze.lib: filled, CRC $samplecrc
$work/calc/notes.lib: not a library object
$work/calc/pipe.lib: failed: {ESPIPE}")"
summary
