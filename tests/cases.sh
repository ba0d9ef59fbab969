# Shared by the scripts that run vexsum on tables of cases; sourced, not run.

pass=0 fail=0

trim() { local s=$1; s=${s#"${s%%[![:space:]]*}"}; printf '%s' "${s%"${s##*[![:space:]]}"}"; }
# a file's bytes in upper-case hex; "none" for a missing file, "fifo" for a FIFO
hexof() {
	if [ -p "$1" ]; then printf fifo
	elif [ -e "$1" ]; then xxd -p "$1" | tr -d '\n' | tr a-f A-F
	else printf none
	fi
}

# the smallest objects, before and after filling: the field starting in the
# high half of byte 13 (odd) and on byte 14 (even)
odd=4B414C4D49522D58402BA00000000000 oddfilled=4B414C4D49522D58402BA00000A03707
even=4B414C4D49522D58402BB00000210000 evenfilled=4B414C4D49522D58402BB00000211751

# the field across byte 1024, where a 1 KiB file-size limit falls: bytes
# 1023-1025 (mid-byte start) and 1023-1024
limitodd=$(printf '4B414C4D49522D58402BE07E00%02026d' 0)
limiteven=$(printf '4B414C4D49522D58402BD07E00%02024d' 0)

# verdict NAME STATUS WANT-STATUS FILE WANT-HEX [GOT WANT]...
# Compares the exit status, every byte of the file, and each pair of output
# files, shows what differs, and counts the case.
verdict() {
	local name=$1 got=$2 want=$3 file=$4 hex=$5 bad= i
	shift 5
	[ "$got" = "$want" ] || bad+=" status $got"
	local have=$(hexof "$file")
	if [ "$have" != "$hex" ]; then # a long file: where it starts to differ
		local same=0
		while [ "${have:same:2}" = "${hex:same:2}" ]; do same=$((same + 2)); done
		[ ${#have} -le 80 ] && bad+=" bytes $have" || bad+=" bytes from $((same / 2)): ${have:same:16}"
	fi
	for ((i = 1; i < $#; i += 2)); do
		cmp -s "${!i}" "${@:i+1:1}" || bad+=" $(basename "${!i}")"
	done
	if [ -z "$bad" ]; then
		pass=$((pass + 1))
		return
	fi
	echo "FAIL $name:$bad"
	for ((i = 1; i < $#; i += 2)); do
		diff -u "${@:i+1:1}" "${!i}"
	done
	fail=$((fail + 1))
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

# summary TITLE: the closing count, and the script's status
summary() {
	echo "$1: $pass passed, $fail failed"
	[ "$fail" = 0 ] && [ "$pass" -gt 0 ]
}
