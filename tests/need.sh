#!/usr/bin/env bash
# tools/need as a newcomer meets it: where there is no dpkg it installs
# nothing, passes when each name is a command there and names those that
# are not; on Debian, a user who is not root is told what to run as root.
# usage: need.sh
set -u
title=need
. "$(dirname "$0")/harness.sh"
need=$top/tools/need
# no dpkg: a PATH of cmake alone, and an apt-get that must never run
mkdir "$work/bin"
ln -s "$(command -v cmake)" "$work/bin/cmake"
printf '#!/bin/sh\ntouch "%s/apt-ran"\n' "$work" >"$work/bin/apt-get" && chmod 755 "$work/bin/apt-get"
PATH=$work/bin "$need" cmake >"$work/out" 2>&1
got=$?
check "no dpkg, all there" "status $got: $(cat "$work/out")" [ $got = 0 ]
check "no dpkg, all there" "it said: $(cat "$work/out")" [ ! -s "$work/out" ]
PATH=$work/bin "$need" cmake vexsum-none-such >"$work/out" 2>&1
got=$?
check "no dpkg, one missing" "status $got: $(cat "$work/out")" [ $got = 1 ]
check "no dpkg, one missing" "it did not name it: $(cat "$work/out")" grep -q ': vexsum-none-such$' "$work/out"
check "no dpkg, one missing" "it ran apt-get" [ ! -e "$work/apt-ran" ]

# a user on Debian: the command to run as root, and no install
if ! command -v dpkg-query >/dev/null; then
	skipped "user" "no dpkg-query here"
else
	asuser=()
	[ "$(id -u)" != 0 ] || asuser=(setpriv --reuid=65534 --regid=65534 --clear-groups
		--inh-caps=+dac_read_search --ambient-caps=+dac_read_search)
	"${asuser[@]}" "$need" vexsum-none-such >"$work/out" 2>&1
	got=$?
	check user "status $got: $(cat "$work/out")" [ $got = 1 ]
	check user "it said: $(cat "$work/out")" grep -qxF \
		"please install: vexsum-none-such (as root: apt-get install vexsum-none-such)" "$work/out"
fi
summary
