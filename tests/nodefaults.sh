#!/usr/bin/env bash
# The fault rows that the console program for Node (npx vexsum) keeps as the
# native one does, from faults.sh's table: another's lease is waited for ten
# seconds at most, not for the kernel's 45; a FIFO swapped in after the look
# at the path is never opened; a file renamed over or removed at the write is
# not reported filled. The holder helper is built for this machine here.
# usage: nodefaults.sh VEXSUM VERSION   (ERRTEXT names the errtext helper)
set -u
title=nodefaults
# shellcheck source-path=SCRIPTDIR source=harness.sh
. "$(dirname "$0")/harness.sh"
needtools c++ strace
c++ -o "$work/holder" "$top/tests/holder.cpp" || skipall "c++ cannot build the holder helper here"
HOLDER=$work/holder "$top/tests/faults.sh" "$1" "$2" \
	"leased fifo-swapped-reader fifo-swapped-writer renamed-at-write removed-at-write"
