#!/usr/bin/env bash
# Makes vexsum's I/O fail in every way we know of and checks that it says so
# in one line naming the file (or standard output) with the system's reason,
# exits 1, and leaves the file exactly as it was, or exactly filled. strace
# injects system call failures and holds the program at a chosen call while
# the file is changed under it; setpriv drops root, which could otherwise
# open a read-only file for writing; a file-size limit and a full tmpfs must
# be refused before a byte is written; pipes, FIFOs, terminals and other
# devices must be refused unopened, at once; a second run on the same file
# must wait for the first, and another program's lock or lease for a while;
# a file renamed over or removed during the run must not be filled unseen.
# usage: faults.sh VEXSUM VERSION [root] [ROWS [crlf]]
# root: run the rows that need root (and skip, status 77, when not root);
# without it, the others. ROWS: the names of the rows to run, all when left
# out or empty, or to leave out, each after a "-"; crlf: the program ends its
# lines with CR LF, as on Windows.
# ERRTEXT names the errtext helper (harness.sh), HOLDER the holder helper.
set -u
vexsum=$1 version=$2 eol='\n' mode=user
shift 2
[ "${1:-}" != root ] || { mode=root; shift; }
rows=${1:-}
[ "${2:-}" != crlf ] || eol='\r\n'
if [ "$mode" = root ] && [ "$(id -u)" != 0 ]; then
	echo "faults-root: skipped: these rows need root (another user, a mount namespace of their own)"
	exit 77
fi
# in a process group of our own, so that no helper outlives the script
# shellcheck disable=SC2046 # "root", or no argument at all
[ -n "${VEXSUM_FAULTS_GROUP:-}" ] || VEXSUM_FAULTS_GROUP=1 exec setsid -w "$0" "$vexsum" "$version" \
	$([ $mode = user ] || echo root) "$rows" "${2:-}"
reap() {
	local p
	for p in $(pgrep -g $$); do [ "$p" = $$ ] || kill -KILL "$p" 2>/dev/null; done
	wait 2>/dev/null
}
title=faults
[ $mode = user ] || title=faults-root
. "$(dirname "$0")/harness.sh"
onexit=reap
loadtexts "$0"
# shellcheck disable=SC2034 # the table names it
short=4B414C4D49522D58402BA000000000 # refused: ends inside the CRC field
# shellcheck disable=SC2034 # the table names it
long=$(printf '4B414C4D49522D58402B90E204%020004d' 0) # a 20000-nibble body, read in bulk
# shellcheck disable=SC2034 # the table names them
none=none fifo=fifo # and odd, even, their filled forms and the limit objects from harness.sh
# the field across byte 4096, into a page of a sparse file that a full tmpfs
# cannot give: bytes 4095-4097 and 4095-4096
# shellcheck disable=SC2034 # the table names it
holeodd=$(printf '4B414C4D49522D58402BE0FE01%08170d' 0)
# shellcheck disable=SC2034 # the table names it
holeeven=$(printf '4B414C4D49522D58402BD0FE01%08168d' 0)
# shellcheck disable=SC2034 # the table names them
oddcut=${odd:0:28} evencut=${even:0:28} # both cut to 14 bytes, inside the field
# shellcheck disable=SC2034 # the table names them
oddless=${odd:0:30} evenless=${even:0:30} # both one byte short of the field's end
# shellcheck disable=SC2034 # the table names it
oddless00=${oddless}00 # and grown back with a zero byte
# the field on bytes 1022-1024: a 1 KiB limit would let two bytes through
# shellcheck disable=SC2034 # the table names it
limitodd2=$(printf '4B414C4D49522D58402BC07E00%02024d' 0)
# limitodd with bytes 1023 new and 1024-1025 old: the one byte that a 1 KiB
# limit lets through, with a put-back that failed
# shellcheck disable=SC2034 # the table names it
limittorn=${limitodd:0:2046}60${limitodd:2048}

V=$(realpath "$vexsum") H=${HOLDER:-}
# inject FAULT...: run vexsum on $F with system call faults on the file
# (a sanitizer build's leak check cannot run under a tracer)
# (LIMIT: a file-size limit in bytes for vexsum alone)
inject() {
	ASAN_OPTIONS=detect_leaks=0 strace -qq -o /dev/null -P "$F" "${@/#/-einject=}" \
		${LIMIT:+prlimit --fsize="$LIMIT"} "$V" "$F"
}
# held CALL[:when=N] ACTION [CALL ACTION]... [-- FAULT...]: run vexsum on $F,
# hold it right after its (Nth) CALL on the file, run ACTION while it waits,
# and let it go on; so for each pair in turn, each CALL a different one. The
# array pre, when set, is a command that starts vexsum, its arguments last.
pre=()
held() {
	local trace=$work/trace stops=() actions=() s i
	while [ $# -gt 0 ] && [ "$1" != -- ]; do
		stops+=("-einject=${1%%:*}:signal=STOP${1#"${1%%:*}"}") actions+=("$2")
		shift 2
	done
	[ $# -eq 0 ] || shift
	: >"$trace"
	ASAN_OPTIONS=detect_leaks=0 strace -qq -o "$trace" -P "$F" "${stops[@]}" "${@/#/-einject=}" "${pre[@]}" "$V" "$F" &
	local tracer=$!
	for i in "${!actions[@]}"; do
		until [ "$(grep -c '^--- stopped by SIGSTOP' "$trace")" -gt "$i" ] || ! kill -0 $tracer 2>/dev/null; do
			sleep 0.01
		done
		eval "${actions[i]}"
		pkill -CONT -P $tracer
	done
	wait $tracer
}
# readonly: run vexsum on the file, made read-only, as an unprivileged user
# who may still read and search any folder, so that a checkout in a private
# home (and all that a wrapper runs from it) stays within reach; that right
# gives no write access
readonly() {
	chmod 444 "$F" && setpriv --reuid=65534 --regid=65534 --clear-groups \
		--inh-caps=+dac_read_search --ambient-caps=+dac_read_search "$V" "$F"
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
# nodev REDIRECTION: run vexsum on $F with a standard stream closed, where
# there is no /dev/null either (an empty /dev, as in a minimal container)
nodev() {
	unshare -m true 2>/dev/null || { echo "no mount namespaces here" >&2; return 77; }
	unshare -m sh -c 'mount -t tmpfs tmpfs /dev || exit 9; eval "exec \"\$1\" \"\$2\" $3"' - "$V" "$F" "$1"
}
# queued: a second run on the file while a first is held after its re-read
# (and then fails its write); the second must try the lock again and again,
# still waiting, and fill the file once the first is done
queued() {
	: >"$work/second"
	held pread64 'ASAN_OPTIONS=detect_leaks=0 strace -qq -o "$work/second" -e trace=flock "$V" "$F" >/dev/null 2>&1 &
		second=$!
		until [ "$(grep -c "= -1 EAGAIN" "$work/second")" -ge 3 ] || ! kill -0 $second 2>/dev/null; do
			sleep 0.01
		done
		kill -0 $second 2>/dev/null || echo "the second run did not wait" >&2' -- pwrite64:error=EIO
	local s=$?
	# shellcheck disable=SC2154 # set by the action that held runs
	wait $second || echo "the second run failed" >&2
	return $s
}
# hold HOW [USER]: another program (as USER, who may only read $F) takes $F
# in the background, as $holder, and this returns once it holds it: a shared
# flock, or as the holder helper does (a lockf lock, a lock on the CRC field
# alone, a read lock, or a read lease whose holder will not give it up)
hold() {
	local as=() cmd=("$H" "$1" "$F")
	[ "$1" != flock ] || cmd=(flock -s "$F" sleep 60)
	[ -z "${2:-}" ] || { chmod 644 "$F"; as=(setpriv --reuid="$2" --regid="$2" --clear-groups); }
	"${as[@]}" "${cmd[@]}" >/dev/null & holder=$!
	until grep -q ":$(stat -c %i "$F") " /proc/locks || ! kill -0 $holder 2>/dev/null; do sleep 0.01; done
}
# lockedby HOW [USER]: vexsum on $F while it is held as hold says; the run
# must give up after ten seconds, not before and not much after
lockedby() {
	hold "$@"
	local start; start=$(date +%s%N)
	timeout 30 "$V" "$F"; local s=$?
	local took=$((($(date +%s%N) - start) / 1000000))
	[ $took -ge 9900 ] && [ $took -le 13000 ] || echo "gave up after $took ms" >&2
	kill $holder
	return $s
}
# awhile HOW: vexsum on $F while another program holds it as hold says for a
# second; the run must wait for it, holding nothing meanwhile (another's flock
# is had at once), try again within milliseconds and then every 100 ms (its
# pauses, in ms: 1 2 4 8 16 32 64 100 100...), and then fill the file
awhile() {
	hold "$1"
	local start run s took i free=
	start=$(date +%s%N)
	ASAN_OPTIONS=detect_leaks=0 strace -qq -o "$work/pauses" -e trace=clock_nanosleep,nanosleep \
		"$V" "$F" & run=$!
	for i in 1 2 3 4 5; do
		sleep 0.1
		! flock -n -x "$F" true || { free=1; break; }
	done
	[ -n "$free" ] || echo "another's flock was refused while the run waited" >&2
	sleep 0.5
	kill $holder
	wait $run; s=$?
	took=$((($(date +%s%N) - start) / 1000000))
	[ $took -ge 550 ] || echo "did not wait for the $1 holder: $took ms" >&2
	local pauses
	pauses=$(sed -n 's/.*tv_sec=\([0-9]*\), tv_nsec=\([0-9]*\).*/\1 \2/p' "$work/pauses" |
		awk '{ printf "%s%d", (NR > 1 ? " " : ""), $1 * 1000 + $2 / 1000000 }')
	[[ "$pauses " =~ ^"1 2 4 8 16 32 64 100 "(100 )*$ ]] || echo "it paused (ms): $pauses" >&2
	return $s
}
# lockfrefused: another program's lockf on $F must be refused
lockfrefused() {
	"$H" trylockf "$F"
	[ $? = 3 ] || echo "lockf was granted while the run held the file" >&2
}
# crowd: 200 runs at once on the file; every one must succeed
crowd() {
	local i bad=0
	for i in $(seq 200); do "$V" "$F" >/dev/null 2>"$work/crowd.$i" & done
	for i in $(seq 200); do wait -n || bad=$((bad + 1)); done
	[ $bad = 0 ] || { echo "$bad of 200 runs failed:"; sort "$work"/crowd.* | uniq -c; } >&2
}
# unwritten: vexsum on $F, which must not write a byte to it
unwritten() {
	ASAN_OPTIONS=detect_leaks=0 strace -qq -o "$work/writes" -P "$F" -e trace=pwrite64,write "$V" "$F"
	local s=$?
	[ ! -s "$work/writes" ] || echo "it wrote: $(cat "$work/writes")" >&2
	return $s
}
# tightroot REDIRECTION: vexsum on $F as an unprivileged user with a standard
# stream closed, in a root folder of mode 0711, which it may enter but not
# read; the system's folders and the program's are mounted into it
tightroot() {
	unshare -m true 2>/dev/null || { echo "no mount namespaces here" >&2; return 77; }
	chmod 666 "$F"
	unshare -m sh -c '
		r=$4 && mkdir -p "$r" && mount -t tmpfs -o mode=0711 tmpfs "$r" || exit 9
		for d in /*; do
			if [ -L "$d" ]; then cp -P "$d" "$r$d"
			elif [ "$d" = /usr ] || [ "$d" = /proc ] || [ "$d" = /dev ]; then
				mkdir "$r$d" && mount --rbind "$d" "$r$d" || exit 9
			fi
		done
		# the program and its file, with folders any user may search on the way
		for f in "$1" "$2" $(grep -Io "/[^ \"]*" "$1" | grep -v ^/usr/); do
			d=$(dirname "$f") && mkdir -p "$r$d" && mount --bind "$d" "$r$d" || exit 9
		done
		exec chroot "$r" setpriv --reuid=65534 --regid=65534 --clear-groups sh -c "exec \"\$1\" \"\$2\" $3" - "$1" "$2"
		' - "$V" "$F" "$1" "$work/tight"
}
# unbuffered: vexsum with an unbuffered standard output (a sanitizer's
# runtime must otherwise be the first library loaded)
unbuffered() { ASAN_OPTIONS=verify_asan_link_order=0 stdbuf -o0 "$V" "$F"; }
# merged: standard error and output into one pipe; its first line must be the banner
merged() { "$V" "$F" 2>&1 | sed -n 1p >&2; }
# piped: a pipe with the start of a header in it, as the path
piped() { printf KALMIR | timeout 5 "$V" /dev/stdin; }
# peer reader|writer: $F made a FIFO with a reader (or a writer that sends a
# whole object) waiting to open it, as $peer
peer() {
	rm -f "$F" && mkfifo "$F" || return 9
	if [ "$1" = reader ]; then
		cat "$F" >/dev/null &
	else
		sh -c 'printf %s "$1" | xxd -r -p >"$2"' - "$odd" "$F" &
	fi
	peer=$!
}
# stillwaiting reader|writer: the peer must not have been let go, and the
# writer's bytes must still reach a reader that comes later
stillwaiting() {
	sleep 0.2 # time for a peer let go to finish
	kill -0 $peer 2>/dev/null || echo "the waiting $1 was let go" >&2
	if [ "$1" = reader ]; then
		local i # read and write: opens at once, until a reader late to block on its open has gone
		for i in $(seq 50); do
			kill -0 $peer 2>/dev/null || break
			exec 3<>"$F" && exec 3>&- && sleep 0.1
		done
	else
		local got
		got=$(timeout 5 xxd -p "$F" | tr -d '\n' | tr a-f A-F)
		[ "$got" = "$odd" ] || echo "the writer's bytes were lost" >&2
	fi
	wait $peer
}
# waiting reader|writer: vexsum on a FIFO with a peer waiting to open it;
# the run must leave the peer waiting
waiting() {
	peer "$1" || return
	timeout 5 "$V" "$F"
	local s=$?
	stillwaiting "$1"
	return $s
}
# swapped reader|writer: the file turned into a FIFO with a peer waiting,
# right after the run's look at the path; the run must open nothing (the
# open alone lets the peer go) and never wait on a read (it is killed after
# 5 s)
swapped() {
	dog=
	held %%stat:when=1 "peer $1; (sleep 5 && kill -KILL \$(pgrep -P \$tracer)) 2>/dev/null & dog=\$!"
	local s=$?
	kill $dog 2>/dev/null
	stillwaiting "$1"
	return $s
}
# swapat CALL [rm]: right after the run's CALL, the path renamed over by a
# copy of the file as it was (or removed); the run's own file, which a second
# name still reaches, must be as it was as well
swapat() {
	ln "$F" "$F.run" && cp "$F" "$F.old" || return 9
	if [ "${2:-}" = rm ]; then
		held "$1" 'rm "$F"'
	else
		held "$1" 'cp "$F.old" "$F.new" && mv "$F.new" "$F"'
	fi
	local s=$?
	cmp -s "$F.run" "$F.old" || echo "the run's own file was changed: $(hexof "$F.run")" >&2
	return $s
}
# mountns: status 77, saying so, where there are no mount namespaces
mountns() { unshare -m true 2>/dev/null || { echo "no mount namespaces here" >&2; return 77; }; }
# the command that runs its arguments in a mount namespace with an empty
# /proc, where the run must reopen the file by its name
noproc=(unshare -m sh -c 'mount -t tmpfs tmpfs /proc && exec "$@"' -)
# twin: $F in a tmpfs of its own, and a file with the same inode number in
# another tmpfs bound over the path after the re-read: the same number on
# another device is another file
twin() {
	mountns || return
	mkdir -p "$work/twin" && cp "$F" "$work/keep" || return 9
	pre=(unshare -m sh -c '
		mount -t tmpfs tmpfs "$1" && mount -t tmpfs tmpfs "$2" && cp "$3" "$4" && cp "$3" "$2/twin" || exit 9
		[ "$(stat -c %i "$4")" = "$(stat -c %i "$2/twin")" ] ||
			{ echo "tmpfs here numbers the files of all its mounts in one count" >&2; exit 77; }
		shift 4 && exec "$@"' - "${F%/*}" "$work/twin" "$work/keep" "$F")
	held pread64 'nsenter -t "$(pgrep -P $tracer)" -m mount --bind "$work/twin/twin" "$F"'
}
# noctty: without /proc, the path turned into a link to a terminal right
# after the run's look by a bare path; the run, a session leader without a
# terminal, opens the path again, and must refuse it without making it its own
noctty() {
	mountns || return
	command -v python3 >/dev/null || { echo "python3 is not installed" >&2; return 77; }
	python3 -c 'import os, pty, time; m, s = pty.openpty(); print(os.ttyname(s), flush=True); time.sleep(60)' \
		>"$work/pts" & local pty=$!
	until [ -s "$work/pts" ] || ! kill -0 $pty 2>/dev/null; do sleep 0.01; done
	ctty=
	pre=("${noproc[@]}" setsid)
	held %%stat:when=2 "rm \"\$F\" && ln -s $(cat "$work/pts") \"\$F\"" \
		openat:when=2 'ctty=$(cut -d" " -f7 /proc/$(pgrep -P $tracer)/stat)'
	local s=$?
	kill $pty
	rm "$F"
	[ "$ctty" = 0 ] || echo "the terminal became the run's own: $ctty" >&2
	return $s
}
# unopened PATH: vexsum on PATH, which it must refuse without opening it
unopened() {
	ASAN_OPTIONS=detect_leaks=0 timeout 5 strace -qq -o "$work/opens" -P "$1" -e trace=open,openat "$V" "$1"
	local s=$?
	[ ! -s "$work/opens" ] || echo "it opened it: $(cat "$work/opens")" >&2
	return $s
}
# loopback: $F made into a loop block device, through a link to it; the run
# must refuse the device and leave the file behind it as it was
loopback() {
	local dev
	dev=$(losetup -f --show "$F" 2>/dev/null) || { echo "no loop devices here" >&2; return 77; }
	mv "$F" "$work/backing" && ln -s "$dev" "$F"
	timeout 5 "$V" "$F"
	local s=$?
	losetup -d "$dev"
	rm "$F" && mv "$work/backing" "$F"
	return $s
}

only= # the rows named to run, if any
for row in $rows; do [ "${row#-}" != "$row" ] || only+=" $row"; done

# name | file before | how (FILE is the file's path, V vexsum) | status | stderr after the banner | file after
# A status "root" runs in a mount namespace of its own, a status "N root"
# as root otherwise; both expect status 1 and run only in root mode.
while IFS='|' read -r name before how status err after; do
	name=$(trim "$name") how=$(trim "$how")
	case $name in '' | '#'*) continue ;; esac
	[[ " $rows " != *" -$name "* ]] || { skipped "$name" "not for this build"; continue; }
	[ -z "$only" ] || [[ "$only " == *" $name "* ]] || continue
	before=$(trim "$before") after=$(trim "$after")
	status=$(trim "$status") F=$work/$name.lib
	case $status in *root) needs=root ;; *) needs=user ;; esac
	[ "$needs" = "$mode" ] || continue
	if [ "$status" = root ]; then # a mount of its own
		unshare -m true 2>/dev/null || { skipped "$name" "no mount namespaces here"; continue; }
		mkdir -p "$work/mnt" && status=1 F=$work/mnt/$name.lib
	fi
	status=${status% root}
	case $before in
	none) ;;
	fifo) mkfifo "$F" ;;
	*) printf '%s' "${!before}" | xxd -r -p >"$F" ;;
	esac
	(eval "${how//FILE/\$F}") >/dev/null 2>"$work/err"
	got=$?
	# a helper that cannot set its case up here says why (no mount namespaces in a chroot)
	[ "$got" != 77 ] || { skipped "$name" "$(trim "$(cat "$work/err")")"; continue; }
	err=$(trim "$err")
	# "-": nothing at all, with standard error closed
	[ "$err" = - ] && : >"$work/want.err" || wanterr "$version" "$eol" "$(withtexts "${err//FILE/$F}")" >"$work/want.err"
	case $after in = | '') after=${!before} ;; *) after=${!after} ;; esac
	verdict "$name" "$got" "$status" "$F" "$after" "$work/err" "$work/want.err"
done <<'EOT'
# the file cannot be opened, read or sought
open-denied       | odd      | inject openat:error=EACCES            | 1 | FILE: {EACCES}\n        | =
read-only         | odd      | readonly                              | 1 root | FILE: {EACCES}\n   | =
missing           | none     | $V FILE                               | 1 | FILE: {ENOENT}\n| none
type-check        | odd      | inject %%stat:error=EIO:when=1        | 1 | FILE: {EIO}\n                | =
first-read        | odd      | inject read:error=EIO:when=1          | 1 | FILE: {EIO}\n       | =
bulk-read         | long     | inject read,readv:error=EIO:when=2    | 1 | FILE: {EIO}\n       | =
reread-odd        | odd      | inject pread64:error=EIO              | 1 | FILE: {EIO}\n       | =
reread-even       | even     | inject pread64:error=EIO              | 1 | FILE: {EIO}\n       | =
# the file shrinks after the walk has read it: cut before the re-read, by
# one byte or into the field, or between the re-read and the write, it is
# never grown back
shrunk-odd        | odd      | held read 'truncate -s 14 FILE'       | 1 | FILE: {EIO}\n       | oddcut
shrunk-even       | even     | held read 'truncate -s 14 FILE'       | 1 | FILE: {EIO}\n       | evencut
one-short-odd     | odd      | held read 'truncate -s 15 FILE'       | 1 | FILE: {EIO}\n       | oddless
one-short-even    | even     | held read 'truncate -s 15 FILE'       | 1 | FILE: {EIO}\n       | evenless
cut-before-write  | odd      | held pread64 'truncate -s 15 FILE'    | 1 | FILE: {EIO}\n       | oddless
# or cut by a byte before the re-read and grown back before the write
regrown           | odd      | held read 'truncate -s 15 FILE' pread64 'truncate -s 16 FILE' | 1 | FILE: {EIO}\n | oddless00
# a second run on the same file waits until the first is done, and then fills it;
# so do 200 at once; another program's lock is waited for ten seconds at most
queued            | odd      | queued                                | 1 | FILE: {EIO}\n       | oddfilled
crowd             | even     | crowd                                 | 0 | -                    | evenfilled
locked            | odd      | lockedby flock                        | 1 | FILE: {EWOULDBLOCK}\n | =
locked-by-reader  | odd      | lockedby flock 65534                  | 1 root | FILE: {EWOULDBLOCK}\n | =
lockf-held        | odd      | lockedby lockf                        | 1 | FILE: {EWOULDBLOCK}\n | =
# a run that waits holds nothing, polls at once and then gently; so for a
# lockf lock, a write lock on the CRC field alone, and a read lock
lockf-awhile      | odd      | awhile lockf                          | 0 |                      | oddfilled
field-awhile      | odd      | awhile fieldlock                      | 0 |                      | oddfilled
read-awhile       | odd      | awhile readlock                       | 0 |                      | oddfilled
lockf-refused     | odd      | held pread64 lockfrefused             | 0 |                      | oddfilled
# a lease makes an open wait for its holder to give it up, which this one never does
leased            | odd      | lockedby lease                        | 1 | FILE: {EWOULDBLOCK}\n | =
# a lock that fails is a failure, not a wait, nor a lock taken (the run sets
# no signal handler, so no call of it ever fails with EINTR but this one)
lock-fails        | odd      | inject flock:error=EIO:when=1         | 1 | FILE: {EIO}\n       | =
lock-eintr        | odd      | inject flock:error=EINTR:when=1       | 1 | FILE: {EINTR}\n     | =
# the write fails outright: the reason is told, also when the bytes were right already
enospc-odd        | odd      | inject pwrite64:error=ENOSPC          | 1 | FILE: {ENOSPC}\n  | =
edquot-even       | even     | inject pwrite64:error=EDQUOT          | 1 | FILE: {EDQUOT}\n      | =
eio-right         | oddfilled| inject pwrite64:error=EIO             | 1 | FILE: {EIO}\n       | =
disk-full         | odd      | inject fallocate:error=ENOSPC         | 1 | FILE: {ENOSPC}\n  | =
# a file system (or a system) that cannot allocate ahead, or lock, still
# gets its CRC
no-fallocate      | odd      | inject fallocate:error=EOPNOTSUPP     | 0 |                                  | oddfilled
no-fallocate-sys  | odd      | inject fallocate:error=ENOSYS         | 0 |                                  | oddfilled
no-fallocate-mode | odd      | inject fallocate:error=EINVAL         | 0 |                                  | oddfilled
no-locks          | odd      | inject flock:error=ENOLCK             | 0 |                                  | oddfilled
no-flock          | odd      | inject flock:error=EOPNOTSUPP         | 0 |                                  | oddfilled
no-ofd-lock       | odd      | inject fcntl:error=EINVAL:when=2      | 0 |                                  | oddfilled
# a file-size limit inside the field refuses it before a byte is written,
# whatever else goes wrong later, also one byte inside it (1025 for bytes
# 1023-1025); one exactly at the field's end lets it through
limit-odd         | limitodd | ulimit -f 1; unwritten                | 1 | FILE: {EFBIG}\n           | =
limit-even        | limiteven| ulimit -f 1; unwritten                | 1 | FILE: {EFBIG}\n           | =
limit-odd-2       | limitodd2| ulimit -f 1; unwritten                | 1 | FILE: {EFBIG}\n           | =
limit-then-eio    | limitodd | ulimit -f 1; inject pwrite64:error=EIO:when=2 | 1 | FILE: {EFBIG}\n | =
limit-then-kill   | limitodd | LIMIT=1025 inject pwrite64:signal=KILL:when=2 | 1 | FILE: {EFBIG}\n | =
limit-at-end      | limitodd | prlimit --fsize=1026 $V FILE          | 0 |                      | limitoddfilled
# a short write, from a limit that comes only after the checks: the bytes
# that landed are put back; when the put-back fails too, the line says the
# field may be partly new
write-odd         | limitodd | held fallocate 'prlimit --pid $(pgrep -P $tracer) --fsize=1024:' | 1 | FILE: {EFBIG}\n | =
write-even        | limiteven| held fallocate 'prlimit --pid $(pgrep -P $tracer) --fsize=1024:' | 1 | FILE: {EFBIG}\n | =
limit-late-torn   | limitodd | held fallocate 'prlimit --pid $(pgrep -P $tracer) --fsize=1024:' -- pwrite64:error=EIO:when=3 | 1 | FILE: {EFBIG}; the CRC field may now be partly new\n | limittorn
full-tmpfs-odd    | holeodd  | ontmpfs                               | root | FILE: {ENOSPC}\n | =
full-tmpfs-even   | holeeven | ontmpfs                               | root | FILE: {ENOSPC}\n | =
# the path names another file by the open, or by the write, or none: the run's file is not
# filled unseen (nor written at all: a write would fail), and the path's is left as it is
swapped-at-open   | odd      | held %%stat:when=1 'cp FILE FILE.new && mv FILE.new FILE' | 1 | FILE: the file was replaced or removed during the run\n | =
renamed-over      | odd      | held pread64 'cp FILE FILE.new && mv FILE.new FILE' -- pwrite64:error=EIO | 1 | FILE: the file was replaced or removed during the run\n | =
removed           | odd      | held pread64 'rm FILE' -- pwrite64:error=EIO | 1 | FILE: the file was replaced or removed during the run\n | none
# the same at the write: the old bytes go back into the run's file
renamed-at-write  | odd      | swapat pwrite64:when=1                | 1 | FILE: the file was replaced or removed during the run\n | =
removed-at-write  | odd      | swapat pwrite64:when=1 rm             | 1 | FILE: the file was replaced or removed during the run\n | none
# a file with the path's inode number on another device is another file
twin-device       | odd      | twin                                  | root   | FILE: the file was replaced or removed during the run\n | =
# the path turned into a FIFO with a peer waiting, after the look: opened it
# would let the peer go, and a read of it could wait for ever
fifo-swapped-reader | odd    | swapped reader                        | 1 | FILE: the file was replaced or removed during the run\n | fifo
fifo-swapped-writer | odd    | swapped writer                        | 1 | FILE: the file was replaced or removed during the run\n | fifo
# without /proc the path is opened again by name: as well, and a terminal
# swapped in is refused and never made the run's own
no-proc           | odd      | mountns && "${noproc[@]}" $V FILE     | 0 root |                      | oddfilled
no-proc-terminal  | odd      | noctty                                | 1 root | FILE: the file was replaced or removed during the run\n | none
# closing fails after the write: the file holds the new field, and the line says so
close-odd         | odd      | inject close:error=EIO                | 1 | FILE: {EIO} (closing it, after the CRC was written)\n | oddfilled
close-even        | even     | inject close:error=EIO                | 1 | FILE: {EIO} (closing it, after the CRC was written)\n | evenfilled
# pipes and FIFOs may never end while vexsum holds them open: refused unopened,
# at once, and a peer waiting on a FIFO is not let go
fifo-no-writer    | fifo     | timeout 5 $V FILE                     | 1 | FILE: {ESPIPE}\n             | fifo
fifo-reader       | fifo     | waiting reader                        | 1 | FILE: {ESPIPE}\n             | fifo
fifo-writer       | fifo     | waiting writer                        | 1 | FILE: {ESPIPE}\n             | fifo
pipe-stdin        | odd      | piped                                 | 1 | /dev/stdin: {ESPIPE}\n       | =
# and so are terminals and devices, which the open itself could act on
dev-null          | none     | unopened /dev/null                    | 1 | /dev/null: {ESPIPE}\n | none
dev-zero          | none     | unopened /dev/zero                    | 1 | /dev/zero: {ESPIPE}\n | none
terminal          | none     | unopened /dev/ptmx                    | 1 | /dev/ptmx: {ESPIPE}\n | none
loop-device       | odd      | loopback                              | 1 root | FILE: {ESPIPE}\n      | =
# a file-size limit met on standard error loses the line but kills nothing
limit-stderr      | odd      | ulimit -f 0; $V FILE 2>>$work/log     | 1 | -                    | =
# standard output full or closed: the report fails before the file is touched
stdout-full       | odd      | $V FILE >/dev/full                    | 1 | standard output: {ENOSPC}\n | =
stdout-closed     | even     | $V FILE >&-                           | 1 | standard output: {EBADF}\n     | =
# unbuffered, the report fails as it is printed and the flush has nothing left to fail
stdout-unbuffered | odd      | unbuffered >/dev/full                 | 1 | standard output: {ENOSPC}\n | =
# one pipe for both streams: the banner comes first
merged            | odd      | merged                                | 0 |                                  | oddfilled
# with standard output closed, runs that print no report go as usual
closed-notlib     | short    | $V FILE >&-                           | 0 | Not a library object, ignoring CRC fill.\n | =
closed-missing    | none     | $V FILE >&-                           | 1 | FILE: {ENOENT}\n          | none
# closed standard streams must not lend their numbers to the library file;
# one that cannot be stood in for is named
stdout-unkept     | odd      | ASAN_OPTIONS=detect_leaks=0 strace -qq -o /dev/null -P / -einject=openat:error=EACCES $V FILE >&- | 1 | standard output: {EACCES}\n | =
in-err-closed     | short    | $V FILE <&- 2>&-                      | 0 | -                                | =
stderr-closed     | short    | $V FILE 2>&-                          | 0 | -                                | =
# and need no /dev/null to stand in for them
no-dev-stdin      | odd      | nodev '<&-'                           | 0 root |                             | oddfilled
no-dev-stdout     | odd      | nodev '>&-'                           | 1 root | standard output: {EBADF}\n | =
# nor a root folder that they may read
tight-stdin       | odd      | tightroot '<&-'                       | 0 root |                             | oddfilled
tight-stdout      | odd      | tightroot '>&-'                       | 1 root | standard output: {EBADF}\n | =
tight-stderr      | odd      | tightroot '2>&-'                      | 0 root | -                           | oddfilled
EOT
summary
