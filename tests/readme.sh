#!/usr/bin/env bash
# Runs every recipe of README.md and then of CONTRIBUTING.md, verbatim, in a
# fresh clone of the checkout's commit, in their order, and checks what each
# should leave behind. A recipe is the sh block after a line
# "<!-- recipe: NAME -->".
# Run by .ci/run as root: the recipes install what they name. The install
# goes under DESTDIR, the web server and the fuzzer run for seconds, the
# benchmark in few rounds.
# usage: tests/readme.sh [NAME...]   (recipes to leave to other tests)
set -u
title=readme
. "$(dirname "$0")/harness.sh"
git clone -q "$top" "$work/clone" && cd "$work/clone" || { echo "readme: cannot clone $top"; exit 1; }
version=$(tools/version) || exit 1
readme() { recipe "$1" README.md; recipe "$1" CONTRIBUTING.md; }
ok() { passed; echo "readme: $1: passed"; }
bad() { failed "$1" "$2"; tail -n 30 "$work/log"; }
# run NAME: the recipe in a shell of its own; its output in $work/log
run() { sh -ec "$(readme "$1")" >"$work/log" 2>&1 </dev/null; }

names=$(sed -n 's/^<!-- recipe: \(.*\) -->$/\1/p' README.md CONTRIBUTING.md)
while IFS= read -r name; do
	case " $* " in *" $name "*) skipped "$name" "left to another test"; continue ;; esac
	case $name in
	install)
		if DESTDIR=$work/root run "$name" && file "$work/root/usr/local/bin/vexsum" | grep -q ', stripped' &&
			[ -f "$work/root/usr/local/share/man/man1/vexsum.1.gz" ]; then ok "$name"; else bad "$name" "no stripped program installed"; fi ;;
	manual)
		if MANPAGER=cat PAGER=cat run "$name" && grep -q 'VEXSUM(1)' "$work/log"; then ok "$name"; else bad "$name" "no manual page shown"; fi ;;
	package)
		if run "$name" && [ -f "build/vexsum_${version}_amd64.deb" ] &&
			[ "$(tar -tzf "vexsum-$version.tar.gz" | grep -v '/$' | sed "s|^vexsum-$version/||" | sort)" = "$(git ls-files | sort)" ]; then
			ok "$name"; else bad "$name" "no package, or the tarball is not the commit's files"; fi ;;
	static)
		if run "$name" && file build-static/vexsum | grep -q 'static-pie linked'; then ok "$name"; else bad "$name" "no static PIE"; fi ;;
	windows)
		if run "$name" && [ -f "build-win/vexsum-$version-win64.zip" ]; then ok "$name"; else bad "$name" "no zip"; fi ;;
	web)
		if run "$name" && [ -f build-web/vexsum.html ] && [ -f build-web/vexsum.js ]; then ok "$name"; else bad "$name" "no page"; fi ;;
	serve) # until the page is served, and no longer
		setsid sh -ec "$(readme "$name")" >"$work/log" 2>&1 </dev/null &
		server=$!
		served=
		for _ in $(seq 50); do
			if /usr/bin/python3 -c 'import sys, urllib.request
sys.exit(0 if b"createVexsum" in urllib.request.urlopen("http://127.0.0.1:8000/vexsum.js", timeout=2).read() else 1)' \
				2>/dev/null; then served=1 && break; fi
			sleep 0.2
		done
		kill -TERM -- -$server 2>/dev/null; wait $server 2>/dev/null
		if [ -n "$served" ]; then ok "$name"; else bad "$name" "the page was not served"; fi ;;
	aarch64)
		if run "$name" && [ -f "build-aarch64/vexsum_${version}_arm64.deb" ]; then ok "$name"; else bad "$name" "no arm64 package"; fi ;;
	"fuzz run") # for seconds; libFuzzer ends on Ctrl-C
		timeout -s INT 15 sh -ec "$(readme "$name")" >"$work/log" 2>&1 </dev/null
		s=$?
		if { [ $s = 0 ] || [ $s = 124 ]; } && grep -q 'INITED' "$work/log"; then ok "$name"; else bad "$name" "status $s"; fi ;;
	bench)
		if RUNS=20 BATCH=20 BATCHRUNS=1 run "$name" && grep -q 'instructions (callgrind)' "$work/log"; then
			ok "$name"; else bad "$name" "no figures"; fi ;;
	"test sets")
		if run "$name" && [ "$(grep -c '100% tests passed' "$work/log")" = 2 ]; then ok "$name"; else bad "$name" "a set failed"; fi ;;
	*)
		if run "$name"; then ok "$name"; else bad "$name" "status $?"; fi ;;
	esac
done <<<"$names"
summary
