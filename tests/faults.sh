#!/usr/bin/env bash
# Makes each I/O operation of a run fail in turn and checks that vexsum says
# so in one line naming the file (or standard output) with the system's
# reason, exits 1, and leaves the file unchanged, or filled when the write had
# already reached it. strace injects the failures; setpriv drops root, which
# could otherwise open a read-only file for writing.
# usage: faults.sh VEXSUM VERSION
set -u
vexsum=$1 version=$2
command -v strace >/dev/null && command -v setpriv >/dev/null || {
	echo "faults: strace and setpriv are needed"
	exit 77
}
work=$(mktemp -d) && chmod 755 "$work" && trap 'rm -rf "$work"' EXIT
. "$(dirname "$0")/cases.sh"
odd=4B414C4D49522D58402BA00000000000 oddfilled=4B414C4D49522D58402BA00000A03707
even=4B414C4D49522D58402BB00000210000 evenfilled=4B414C4D49522D58402BB00000211751
short=4B414C4D49522D58402BA000000000 # refused: ends inside the CRC field
long=$(printf '4B414C4D49522D58402B90E204%020004d' 0) # a 20000-nibble body, read in bulk

# name | file | how: a syscall fault strace injects, or another way to fail | status | stderr after the banner | file after
while IFS='|' read -r name before how status err after; do
	name=$(trim "$name") how=$(trim "$how")
	case $name in '' | '#'*) continue ;; esac
	before=$(trim "$before") after=$(trim "$after")
	before=${!before}
	file=$work/$name.lib
	printf '%s' "$before" | xxd -r -p >"$file"
	case $how in
	stdout-full) "$vexsum" "$file" >/dev/full 2>"$work/err" ;;
	stdout-closed) "$vexsum" "$file" >&- 2>"$work/err" ;;
	stderr-closed) "$vexsum" "$file" >/dev/null 2>&- 3>"$work/err" ;; # nothing to see on stderr
	read-only) # a copy of the program, where the unprivileged user surely may run it
		chmod 444 "$file" && cp "$vexsum" "$work/vexsum"
		setpriv --reuid=65534 --regid=65534 --clear-groups "$work/vexsum" "$file" >/dev/null 2>"$work/err"
		;;
	*) # a sanitizer build's leak check cannot run under a tracer
		ASAN_OPTIONS=detect_leaks=0 strace -o /dev/null -P "$file" -e inject="$how" \
			"$vexsum" "$file" >/dev/null 2>"$work/err"
		;;
	esac
	got=$?
	err=$(trim "$err") who=$file
	[ "$how" = "${how#stdout}" ] || who="standard output"
	{
		printf 'vexsum v%s by Zarvik\n' "$version"
		[ -z "$err" ] || printf '%s: %s\n' "$who" "$err"
	} >"$work/want.err"
	[ "$how" != stderr-closed ] || : >"$work/want.err"
	case $after in = | '') after=$before ;; *) after=${!after} ;; esac
	verdict "$name" "$got" "$(trim "$status")" "$file" "$after" "$work/err" "$work/want.err"
done <<'EOT'
open-denied      | odd  | openat:error=EACCES       | 1 | Permission denied           | =
read-only        | odd  | read-only                 | 1 | Permission denied           | =
first-read       | odd  | read:error=EIO:when=1     | 1 | Input/output error          | =
peek-after-object| odd  | read:error=EIO:when=2     | 1 | Input/output error          | =
reread-byte      | odd  | read:error=EIO:when=3     | 1 | Input/output error          | =
bulk-read        | long | read:error=EIO:when=2     | 1 | Input/output error          | =
seek-odd-1       | odd  | lseek:error=EIO:when=1    | 1 | Input/output error          | =
# stdio gets over a failed repositioning before the write; the write lands right
seek-odd-2       | odd  | lseek:error=EIO:when=2    | 0 |                             | oddfilled
seek-odd-3       | odd  | lseek:error=EIO:when=3    | 1 | Input/output error          | =
seek-even        | even | lseek:error=ESPIPE        | 1 | Illegal seek                | =
write-odd        | odd  | write:error=ENOSPC        | 1 | No space left on device     | =
write-even       | even | write:error=EDQUOT        | 1 | Disk quota exceeded         | =
close-odd        | odd  | close:error=EIO           | 1 | Input/output error          | oddfilled
close-even       | even | close:error=EIO           | 1 | Input/output error          | evenfilled
stdout-full      | odd  | stdout-full               | 1 | No space left on device     | =
stdout-closed    | even | stdout-closed             | 1 | Bad file descriptor         | =
stderr-closed    | short| stderr-closed             | 0 |                             | =
EOT
summary faults
