# The one harness of the test scripts; sourced, not run. Before sourcing, a
# script sets title (the name its lines start with). It gives:
# - work, a temporary folder that goes when the script ends (onexit names a
#   command to run first);
# - counting: passed, failed, skipped, and summary for the closing line,
#   "TITLE: N passed, N failed" (", N skipped" when any), and the status;
# - skipall, which skips the whole script (status 77) saying why, and
#   needtools, which does so when a tool is missing; both, and each skipped
#   case, print a line "TITLE: skipped: [CASE: ]WHY", which tests/run shows;
# - recipe, the sh block of README.md after "<!-- recipe: NAME -->";
# - the fixtures: the sample and its true CRC, and the objects below;
# - the system's error texts, the expected standard error, and verdict.
# Every pipe runs under pipefail: a check takes the status of its first
# command as much as of its last.
# shellcheck shell=bash

set -o pipefail
: "${title:?a script sets title before it sources the harness}"
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
work=$(mktemp -d) && chmod 755 "$work"
onexit=:
trap 'eval "$onexit"; rm -rf "$work"' EXIT

pass=0 fail=0 skip=0
passed() { pass=$((pass + 1)); }
# failed NAME WHY...
failed() { echo "FAIL $1: ${*:2}"; fail=$((fail + 1)); }
# skipped NAME WHY...: counts a skipped case, in a line of the form that
# tests/run shows after ctest's summary, also when the script passes
skipped() { echo "$title: skipped: $1: ${*:2}"; skip=$((skip + 1)); }
# check NAME WHY COMMAND...: counts COMMAND's success, or fails NAME saying WHY
check() { if "${@:3}"; then passed; else failed "$1" "$2"; fi; }
# summary: the closing line; status 0 when all passed, 77 when nothing ran
# but skips, 1 otherwise
summary() {
	local line="$title: $pass passed, $fail failed"
	[ "$skip" = 0 ] || line+=", $skip skipped"
	echo "$line"
	[ "$fail" = 0 ] || return 1
	[ "$pass" -gt 0 ] || { [ "$skip" -gt 0 ] && return 77; return 1; }
}
# skipall WHY...: skip the whole script, saying why
skipall() {
	echo "$title: skipped: $*"
	exit 77
}
# needtools COMMAND...: skip the script unless each command is there
needtools() {
	local t
	for t; do
		command -v "$t" >/dev/null || skipall "$t is not installed"
	done
}
# recipe NAME [FILE]: the commands of README.md's (or FILE's) recipe NAME
recipe() {
	awk -v m="<!-- recipe: $1 -->" '$0 == m { on = 1; next } on && /^```sh$/ { in_ = 1; next }
		in_ && /^```$/ { exit } in_' "${2:-$top/README.md}"
}

trim() { local s=$1; s=${s#"${s%%[![:space:]]*}"}; printf '%s' "${s%"${s##*[![:space:]]}"}"; }
# a file's bytes in upper-case hex; "none" for a missing file, "fifo" for a
# FIFO, "dir" for a folder
hexof() {
	if [ -p "$1" ]; then printf fifo
	elif [ -d "$1" ]; then printf dir
	elif [ -e "$1" ]; then xxd -p "$1" | tr -d '\n' | tr a-f A-F
	else printf none
	fi
}

# the shipped sample whose stored CRC (0000) is wrong, its true CRC, and its
# bytes once filled (the field from the high half of byte 21)
# shellcheck disable=SC2034 # the scripts that source this use them
sample=$top/examples/wrongcrc.lib samplecrc=92FA
# shellcheck disable=SC2034 # the scripts that source this use it
samplefilled=4B414C4D49522D58402BA00100E7C5D05E3A1B4E1AA12F09
# the smallest objects, before and after filling: the field starting in the
# high half of byte 13 (odd) and on byte 14 (even)
# shellcheck disable=SC2034 # the scripts that source this use them
odd=4B414C4D49522D58402BA00000000000 oddfilled=4B414C4D49522D58402BA00000A03707
# shellcheck disable=SC2034 # the scripts that source this use them
even=4B414C4D49522D58402BB00000210000 evenfilled=4B414C4D49522D58402BB00000211751
# the field across byte 1024, where a 1 KiB file-size limit falls: bytes
# 1023-1025 (mid-byte start; its true CRC is 4606) and 1023-1024
limitodd=$(printf '4B414C4D49522D58402BE07E00%02026d' 0)
# shellcheck disable=SC2034 # the scripts that source this use it
limitoddfilled=${limitodd:0:2046}606004
# shellcheck disable=SC2034 # the scripts that source this use it
limiteven=$(printf '4B414C4D49522D58402BD07E00%02024d' 0)

# verdict NAME STATUS WANT-STATUS FILE WANT-HEX [GOT WANT]...
# Compares the exit status, every byte of the file (none when FILE is empty:
# the run was given no file), and each pair of output files, shows what
# differs, and counts the case.
verdict() {
	local name=$1 got=$2 want=$3 file=$4 hex=$5 bad='' i
	shift 5
	[ "$got" = "$want" ] || bad+=" status $got"
	local have=$hex
	[ -z "$file" ] || have=$(hexof "$file")
	if [ "$have" != "$hex" ]; then # a long file: where it starts to differ
		local same=0
		while [ "${have:same:2}" = "${hex:same:2}" ]; do same=$((same + 2)); done
		[ ${#have} -le 80 ] && bad+=" bytes $have" || bad+=" bytes from $((same / 2)): ${have:same:16}"
	fi
	for ((i = 1; i < $#; i += 2)); do
		cmp -s "${!i}" "${@:i+1:1}" || bad+=" $(basename "${!i}")"
	done
	if [ -z "$bad" ]; then
		passed
		return
	fi
	failed "$name" "${bad# }"
	for ((i = 1; i < $#; i += 2)); do
		diff -u "${@:i+1:1}" "${!i}"
	done
}

# The system's texts for error codes, as the C library that the program was
# built with words them: a table writes {EIO} for the text of EIO. ERRTEXT
# is the errtext helper built with the program, and run as it is.
declare -A systext=()
# loadtexts FILE...: the texts of the codes that the files name (words such
# as EOT that name no code are left out by errtext)
loadtexts() {
	local name text
	[ -x "${ERRTEXT:-}" ] || { echo "ERRTEXT must name the errtext helper"; exit 2; }
	# shellcheck disable=SC2046 # the codes, one a word
	while IFS='|' read -r name text; do
		systext[$name]=${text%$'\r'}
	done < <("$ERRTEXT" $(grep -ohw 'E[A-Z]\{2,\}' "$@" | sort -u))
}
# withtexts STRING: STRING with each {ECODE} in it replaced by its text
withtexts() {
	local s=$1 name
	for name in "${!systext[@]}"; do s=${s//"{$name}"/"${systext[$name]}"}; done
	printf '%s' "$s"
}

# wanterr VERSION EOL TEXT: the standard error a run should give, the banner
# and then TEXT (printf %b), with each line ending in EOL ('\n' or '\r\n')
wanterr() { printf 'vexsum v%s by Zarvik%b%b' "$1" "$2" "${3//\\n/$2}"; }

# cpackzip BUILD NAME: makes the build's package NAME.zip with cpack in $work
# and unpacks it there; the folder it holds, or a line that says why not
cpackzip() {
	(cd "$1" && cpack -B "$work" >"$work/cpack.log" 2>&1) || { echo "cpack: $(cat "$work/cpack.log")"; return 1; }
	[ -f "$work/$2.zip" ] || { echo "no $2.zip"; return 1; }
	cmake -E chdir "$work" cmake -E tar xf "$2.zip" && echo "$work/$2"
}
