#!/usr/bin/env bash
# What only Windows has, run under wine: files named in other scripts, a path
# in another script shown on a console, devices (and names Windows takes for
# devices) and named pipes refused, a file held or locked by another
# program, a path past 260 characters, and the program's resources and
# header as Windows reads them.
# usage: windows.sh VEXSUM.exe WINHELPER.exe VERSION
# ERRTEXT names the errtext helper (harness.sh).
set -u
exe=$(realpath "$1") helper=$(realpath "$2") version=$3
title=windows
. "$(dirname "$0")/harness.sh"
py=/usr/bin/python3 # Debian's, where python3-pefile goes
$py -c 'import pefile' 2>/dev/null || skipall "python3-pefile is not installed"
wine=$top/tools/wine
loadtexts "$0" "$(dirname "$0")/windows.txt"
win() { printf 'Z:%s' "${1//\//\\}"; } # the path as Windows names it
# run NAME WANT-STATUS FILE WANT-HEX WANT-ERROR ARGUMENT: vexsum on ARGUMENT,
# from the work folder; WANT-ERROR is the line after the banner, if any
run() {
	(cd "$work" && "$wine" "$exe" "$6") </dev/null >/dev/null 2>"$work/err"
	local got=$? line=${5//\\/\\\\}
	wanterr "$version" '\r\n' "$(withtexts "$line${5:+\n}")" >"$work/want.err"
	verdict "$1" "$got" "$2" "$3" "$4" "$work/err" "$work/want.err"
}
mkobj() { printf '%s' "$odd" | xxd -r -p >"$1"; }

# a name in two other scripts, on a console: shown as it is, not as the
# console's code page would read UTF-8 bytes (the console's own control
# sequences taken out)
shown=$(cd "$work" && script -qec "$wine $exe 'нет_文件.lib'" /dev/null </dev/null |
	sed -e 's/\x1b\[[0-9;?]*[A-Za-z]//g' | tr -d '\r')
want=$(withtexts 'нет_文件.lib:{ENOENT}')
if [[ "${shown// /}" == *"${want// /}"* ]]; then passed; else failed console "shown as: $shown"; fi

# existing files named in other scripts, filled: in wine's locale here (code
# page 1252) a narrow open would find none of them, not even café.lib
for name in 漢字.lib 😀.lib файл.lib café.lib; do
	mkobj "$work/$name"
	run "name $name" 0 "$work/$name" "$oddfilled" "" "$name"
done

# devices, and a real file with a device's name, which only the \\?\ form reaches
mkobj "$work/nul.lib"
for dev in NUL COM1 nul.lib; do
	run "device $dev" 1 "$work/nul.lib" "$odd" "$dev: {ESPIPE}" "$dev"
done
run 'nul.lib by \\?\' 0 "$work/nul.lib" "$oddfilled" "" "\\\\?\\$(win "$work/nul.lib")"

# a file that another program holds open and lets others only read
mkobj "$work/held.lib"
coproc holder { "$wine" "$helper" hold "$(win "$work/held.lib")"; }
helperpid=$!
read -r said <&"${holder[0]}"
[ "${said%$'\r'}" = held ] || echo "the helper could not hold the file: $said"
run held 1 "$work/held.lib" "$odd" "$(win "$work/held.lib"): {EACCES}" "$(win "$work/held.lib")"
# shellcheck disable=SC1083,SC2093 # closes the helper's input: bash's own syntax
exec {holder[1]}>&-
wait $helperpid

# a file that another program keeps locked: the run tries for ten seconds,
# then says so; a run that did not wait would be done in the time wine starts
mkobj "$work/locked.lib"
coproc locker { "$wine" "$helper" lock "$(win "$work/locked.lib")"; }
helperpid=$!
read -r said <&"${locker[0]}"
[ "${said%$'\r'}" = locked ] || echo "the helper could not lock the file: $said"
start=$(date +%s%N)
run locked 1 "$work/locked.lib" "$odd" "$(win "$work/locked.lib"): {EAGAIN}" "$(win "$work/locked.lib")"
took=$((($(date +%s%N) - start) / 1000000))
check locked "it gave up after $took ms" [ $took -ge 10000 ]
# shellcheck disable=SC1083,SC2093 # closes the helper's input: bash's own syntax
exec {locker[1]}>&-
wait $helperpid

# a named pipe that a server offers
pipe=vexsum-$$
coproc server { "$wine" "$helper" pipe "$pipe"; }
helperpid=$!
read -r said <&"${server[0]}"
[ "${said%$'\r'}" = ready ] || echo "the helper could not serve the pipe: $said"
run "named pipe" 1 none none "\\\\.\\pipe\\$pipe: {ESPIPE}" "\\\\.\\pipe\\$pipe"
wait $helperpid

# a path of 300 characters and more
deep=$work
while [ ${#deep} -lt 300 ]; do deep=$deep/$(printf 'folder%.0s' 1 2 3 4 5 6 7 8); done
mkdir -p "$deep" && mkobj "$deep/long.lib"
run "path of ${#deep} characters" 0 "$deep/long.lib" "$oddfilled" "" "$(win "$deep/long.lib")"

# the version resource, the manifest and the header, read back
out=$($py "$(dirname "$0")/peinfo.py" "$exe" "$version" 2>&1)
got=$?
check resources "$out" [ $got = 0 ]
# the table of Windows' texts: each the runtime's own for its code, and in the manual
while IFS='|' read -r what _ theirs text; do
	case $what in '' | '#'*) continue ;; esac
	what=$(trim "$what") text=$(trim "$text")
	if [ "$(withtexts "{$(trim "$theirs")}")" != "$text" ]; then
		failed texts "$what: the runtime says \"$(withtexts "{$(trim "$theirs")}")\", the table \"$text\""
	else
		check texts "the manual does not list \"$what\" as \"$text\"" grep -qxF "$what|$text" "$top/doc/vexsum.1.in"
	fi
done <"$(dirname "$0")/windows.txt"
summary
