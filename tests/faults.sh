#!/usr/bin/env bash
# Makes vexsum's I/O fail in every way we know of and checks that it says so
# in one line naming the file (or standard output) with the system's reason,
# exits 1, and leaves the file exactly as it was, or exactly filled. strace
# injects system call failures; setpriv drops root, which could otherwise open
# a read-only file for writing; a file-size limit and a full tmpfs make real
# short writes; pipes and FIFOs must be refused at once, not hang.
# usage: faults.sh VEXSUM VERSION [ROWS [crlf]]
# ROWS: the names of the rows to run, all when left out or empty; crlf: the
# program ends its lines with CR LF, as on Windows.
set -u
vexsum=$1 version=$2 rows=${3:-} eol='\n'
[ "${4:-}" != crlf ] || eol='\r\n'
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
none=none fifo=fifo # and limitodd, limiteven from cases.sh
# the field across byte 4096, into a page of a sparse file that a full tmpfs
# cannot give: bytes 4095-4097 and 4095-4096
holeodd=$(printf '4B414C4D49522D58402BE0FE01%08170d' 0)
holeeven=$(printf '4B414C4D49522D58402BD0FE01%08168d' 0)
oddcut=${odd:0:28} evencut=${even:0:28} # both cut to 14 bytes, inside the field

V=$(realpath "$vexsum")
# inject FAULT: run vexsum on $F with a system call fault on the file
# (a sanitizer build's leak check cannot run under a tracer)
inject() { ASAN_OPTIONS=detect_leaks=0 strace -o /dev/null -P "$F" -e inject="$1" "$V" "$F"; }
# readonly: run vexsum on the file, made read-only, as an unprivileged user
# who may still read and search any folder, so that a checkout in a private
# home (and all that a wrapper runs from it) stays within reach; that right
# gives no write access
readonly() {
	chmod 444 "$F" && setpriv --reuid=65534 --regid=65534 --clear-groups \
		--inh-caps=+dac_read_search --ambient-caps=+dac_read_search "$V" "$F"
}
# shrink SIZE FAULT: cut the file to SIZE bytes while FAULT holds vexsum just
# before the rewrite, once its report is out (the walk is over by then)
shrink() {
	inject "$2" >"$work/report" &
	local pid=$! s
	until [ -s "$work/report" ] || ! kill -0 $pid 2>/dev/null; do sleep 0.01; done
	truncate -s "$1" "$F"
	wait $pid; s=$?; rm -f "$work/report"
	return $s
}
# ontmpfs: run vexsum on $F, sparse, in a tmpfs of its own filled up to the last byte
ontmpfs() {
	unshare -m bash -c '
		cp --sparse=always "$2" "$3" && mount -t tmpfs -o size=64k tmpfs "${2%/*}" || exit 9
		cp --sparse=always "$3" "$2" && { head -c 1M /dev/zero >"${2%/*}/fill"; } 2>/dev/null
		"$1" "$2"; s=$?
		cp "$2" "$3" && exit $s' - "$V" "$F" "$work/keep"
	local s=$?
	mv "$work/keep" "$F"
	return $s
}
# unbuffered: vexsum with an unbuffered standard output (a sanitizer's
# runtime must otherwise be the first library loaded)
unbuffered() { ASAN_OPTIONS=verify_asan_link_order=0 stdbuf -o0 "$V" "$F"; }
# piped: a pipe with the start of a header in it, as the path
piped() { printf KALMIR | timeout 5 "$V" /dev/stdin; }
# whole: a FIFO whose writer sends a whole object with the field starting mid-byte, then closes
whole() { rm -f "$F" && mkfifo "$F" && { timeout 5 sh -c 'printf %s "$1" | xxd -r -p >"$2"' - "$odd" "$F" & } && timeout 5 "$V" "$F"; local s=$?; kill $! 2>/dev/null; wait; return $s; }

# name | file before | how (FILE is the file's path, V vexsum) | status | stderr after the banner | file after
while IFS='|' read -r name before how status err after; do
	name=$(trim "$name") how=$(trim "$how")
	case $name in '' | '#'*) continue ;; esac
	[ -z "$rows" ] || [[ " $rows " == *" $name "* ]] || continue
	before=$(trim "$before") after=$(trim "$after")
	status=$(trim "$status") F=$work/$name.lib
	if [ "$status" = root ]; then # a mount of its own
		[ "$(id -u)" = 0 ] && unshare -m true 2>/dev/null || { echo "skip $name: needs root and mount namespaces"; continue; }
		mkdir -p "$work/mnt" && status=1 F=$work/mnt/$name.lib
	fi
	case $before in
	none) ;;
	fifo) mkfifo "$F" ;;
	*) printf '%s' "${!before}" | xxd -r -p >"$F" ;;
	esac
	(eval "${how//FILE/\$F}") >/dev/null 2>"$work/err"
	got=$?
	err=$(trim "$err")
	# "-": nothing at all, with standard error closed
	[ "$err" = - ] && : >"$work/want.err" || wanterr "$version" "$eol" "${err//FILE/$F}" >"$work/want.err"
	case $after in = | '') after=${!before} ;; *) after=${!after} ;; esac
	verdict "$name" "$got" "$status" "$F" "$after" "$work/err" "$work/want.err"
done <<'EOT'
# the file cannot be opened, read or sought
open-denied       | odd      | inject openat:error=EACCES            | 1 | FILE: Permission denied\n        | =
read-only         | odd      | readonly                              | 1 | FILE: Permission denied\n        | =
missing           | none     | $V FILE                               | 1 | FILE: No such file or directory\n| none
seek-check        | odd      | inject lseek:error=ESPIPE             | 1 | FILE: Illegal seek\n             | =
first-read        | odd      | inject read:error=EIO:when=1          | 1 | FILE: Input/output error\n       | =
bulk-read         | long     | inject read:error=EIO:when=2          | 1 | FILE: Input/output error\n       | =
reread-odd        | odd      | inject pread64:error=EIO              | 1 | FILE: Input/output error\n       | =
reread-even       | even     | inject pread64:error=EIO              | 1 | FILE: Input/output error\n       | =
# the file shrinks between the walk and the rewrite: nothing is written back
shrunk-odd        | odd      | shrink 14 pread64:delay_enter=500000  | 1 | FILE: Input/output error\n       | oddcut
shrunk-even       | even     | shrink 14 pread64:delay_enter=500000  | 1 | FILE: Input/output error\n       | evencut
# the write fails: the field keeps its old bytes, also when they were right already
write-odd         | odd      | inject pwrite64:error=ENOSPC          | 1 | FILE: No space left on device\n  | =
write-even        | even     | inject pwrite64:error=EDQUOT          | 1 | FILE: Disk quota exceeded\n      | =
write-right       | oddfilled| inject pwrite64:error=EIO             | 1 | FILE: Input/output error\n       | =
# a short write: the first byte lands, the rest cannot; that byte is put back
limit-odd         | limitodd | ulimit -f 1; $V FILE                  | 1 | FILE: File too large\n           | =
limit-even        | limiteven| ulimit -f 1; $V FILE                  | 1 | FILE: File too large\n           | =
full-tmpfs-odd    | holeodd  | ontmpfs                               | root | FILE: No space left on device\n | =
full-tmpfs-even   | holeeven | ontmpfs                               | root | FILE: No space left on device\n | =
# closing fails after the write: the file holds the new field
close-odd         | odd      | inject close:error=EIO                | 1 | FILE: Input/output error\n       | oddfilled
close-even        | even     | inject close:error=EIO                | 1 | FILE: Input/output error\n       | evenfilled
# pipes and FIFOs never end while vexsum holds them open: refused unread, at once
fifo-no-writer    | fifo     | timeout 5 $V FILE                     | 1 | FILE: Illegal seek\n             | fifo
fifo-whole-object | fifo     | whole                                 | 1 | FILE: Illegal seek\n             | fifo
pipe-stdin        | odd      | piped                                 | 1 | /dev/stdin: Illegal seek\n       | =
dev-null          | none     | $V /dev/null                          | 0 | Not a library object, ignoring CRC fill.\n | none
dev-zero          | none     | $V /dev/zero                          | 0 | Not a library object, ignoring CRC fill.\n | none
# standard output full or closed: the report fails before the file is touched
stdout-full       | odd      | $V FILE >/dev/full                    | 1 | standard output: No space left on device\n | =
stdout-closed     | even     | $V FILE >&-                           | 1 | standard output: Bad file descriptor\n     | =
# unbuffered, the report fails as it is printed and the flush has nothing left to fail
stdout-unbuffered | odd      | unbuffered >/dev/full                 | 1 | standard output: No space left on device\n | =
# with standard output closed, runs that print no report go as usual
closed-notlib     | short    | $V FILE >&-                           | 0 | Not a library object, ignoring CRC fill.\n | =
closed-missing    | none     | $V FILE >&-                           | 1 | FILE: No such file or directory\n          | none
# closed standard streams must not lend their numbers to the library file
in-err-closed     | short    | $V FILE <&- 2>&-                      | 0 | -                                | =
stderr-closed     | short    | $V FILE 2>&-                          | 0 | -                                | =
EOT
summary faults
