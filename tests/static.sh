#!/usr/bin/env bash
# The release's static programs for any Linux, each unpacked and run in an
# empty root: a folder that holds only the program and a copy of the
# sample, with no C library or loader in it. x86-64 runs there through
# chroot (which needs root), aarch64 under qemu-user with that folder as
# its only library path. Each must fill the sample.
# usage: static.sh RELEASE-DIRECTORY VERSION
set -u
release=$1 version=$2
title=static
. "$(dirname "$0")/harness.sh"
[ "$(id -u)" = 0 ] || skipall "chroot needs root"
needtools qemu-aarch64
for cpu in x86_64 aarch64; do
	tarball=$release/vexsum-$version-linux-$cpu.tar.gz root=$work/$cpu
	mkdir "$root" && tar -C "$work" -xzf "$tarball" || { failed "$cpu" "cannot unpack $tarball"; continue; }
	tree=$work/vexsum-$version-linux-$cpu
	check "$cpu tarball" "it holds: $(ls "$tree" | tr '\n' ' ')" [ "$(ls "$tree" | tr '\n' ' ')" = "LICENSE vexsum vexsum.1 " ]
	cp "$tree/vexsum" "$root/vexsum" && cp "$sample" "$root/sample.lib"
	if [ $cpu = x86_64 ]; then
		chroot "$root" /vexsum /sample.lib >"$work/out" 2>"$work/err"
	else
		qemu-aarch64 -L "$root" "$root/vexsum" "$root/sample.lib" >"$work/out" 2>"$work/err"
	fi
	got=$?
	printf '\tLibrary CRC:\t0000\n\tTrue CRC:\t%s\n' "$samplecrc" >"$work/want.out"
	wanterr "$version" '\n' '' >"$work/want.err"
	verdict "$cpu run" "$got" 0 "$root/sample.lib" "$samplefilled" "$work/out" "$work/want.out" "$work/err" "$work/want.err"
done
summary
