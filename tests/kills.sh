#!/usr/bin/env bash
# Kills vexsum at each system call of a run in turn (strace injects SIGKILL
# at the call's entry) and checks that the file is then byte for byte either
# as it was or exactly filled, never anything in between: both alignments of
# the CRC field, with and without data after the object.
# usage: kills.sh VEXSUM
set -u
vexsum=$1
title=kills
. "$(dirname "$0")/harness.sh"
needtools strace
export ASAN_OPTIONS=detect_leaks=0 # a leak check cannot run under a tracer

# name | before | filled: the harness's smallest objects, and each with data
# after it (after the odd one, in its pad half-byte too)
while IFS='|' read -r name before filled; do
	name=$(trim "$name") before=$(trim "$before") filled=$(trim "$filled")
	printf '%s' "$before" | xxd -r -p >"$work/$name"
	strace -qq -o "$work/calls" "$vexsum" "$work/$name" >/dev/null 2>&1
	[ "$(hexof "$work/$name")" = "$filled" ] || { failed "$name" "an untroubled run did not fill"; continue; }
	# each call in the run's order, as the Nth call of its name
	declare -A seen=()
	kept=0 done=0 torn=""
	for call in $(sed -n 's/^\([a-z0-9_]*\)(.*/\1/p' "$work/calls"); do
		n=$((${seen[$call]:-0} + 1)) && seen[$call]=$n
		printf '%s' "$before" | xxd -r -p >"$work/$name"
		# bash's own word of the kill goes where the group's standard error goes
		{ strace -qq -o /dev/null -e trace="$call" -e inject="$call:signal=KILL:when=$n" \
			"$vexsum" "$work/$name" >/dev/null; } 2>/dev/null
		case $(hexof "$work/$name") in
		"$before") kept=$((kept + 1)) ;;
		"$filled") done=$((done + 1)) ;;
		*) torn+=" $call#$n: $(hexof "$work/$name")" ;;
		esac
	done
	unset seen
	# no kill may tear the file; one before the write must keep it, one after
	# it must not undo it
	if [ -n "$torn" ]; then failed "$name" "killed at a call, the file holds something between:$torn"
	elif [ "$kept" = 0 ] || [ "$done" = 0 ]; then failed "$name" "$kept kills kept the file, $done found it filled"
	else passed; fi
	echo "$name: killed at $((kept + done)) calls: $kept left it as it was, $done filled"
done <<EOT
odd             | $odd         | $oddfilled
odd-data-after  | ${odd%00}F099 | ${oddfilled%07}F799
even            | $even        | $evenfilled
even-data-after | ${even}FF99   | ${evenfilled}FF99
EOT
summary
