#!/usr/bin/env bash
# The build files on what no toolchain file names: a Linux CPU that the
# Debian map lacks builds, and only its Debian package stops, saying how to
# name the architecture; one that the map has packages; and VEXSUM_STATIC
# refuses a toolchain whose "static" program still names a loader.
# usage: buildfiles.sh SOURCE VERSION
set -u
source=$1 version=$2
title=buildfiles
. "$(dirname "$0")/harness.sh"
# configure NAME CMAKE-ARGUMENTS...: a fresh build of vexsum in $work/NAME
configure() {
	local name=$1 && shift
	cmake -S "$source" -B "$work/$name" "$@" >"$work/$name.log" 2>&1 &&
		cmake --build "$work/$name" --target vexsum >>"$work/$name.log" 2>&1
}

for cpu in sparc64 loongarch64; do
	configure $cpu -DCMAKE_SYSTEM_NAME=Linux -DCMAKE_SYSTEM_PROCESSOR=$cpu
	built=$? # before the $(...) of the check, which would set $? again
	check "$cpu build" "$(tail -n 5 "$work/$cpu.log")" [ $built = 0 ]
done
(cd "$work/sparc64" && cpack -G DEB) >"$work/cpack.log" 2>&1
packed=$?
check "sparc64 package" "cpack -G DEB did not stop" [ $packed != 0 ]
# (cmake folds its messages)
check "sparc64 package" "cpack said: $(cat "$work/cpack.log")" sh -c 'tr -s "\n " "  " <"$1" |
	grep -q "no Debian architecture known for the processor sparc64: configure with -DVEXSUM_DEBIAN_ARCH=NAME"' - "$work/cpack.log"
(cd "$work/loongarch64" && cpack -G DEB) >"$work/cpack.log" 2>&1
check "loongarch64 package" "cpack said: $(tail -n 3 "$work/cpack.log")" [ -f "$work/loongarch64/vexsum_${version}_loong64.deb" ]

configure static -DVEXSUM_STATIC=ON -DCMAKE_EXE_LINKER_FLAGS=-Wl,--dynamic-linker=/lib/ld-elsewhere.so
built=$?
check "static with a loader" "it configured" [ $built != 0 ]
check "static with a loader" "it said: $(grep -A2 Error "$work/static.log")" \
	grep -q 'VEXSUM_STATIC: this toolchain cannot link a static PIE' "$work/static.log"
summary
