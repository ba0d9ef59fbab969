#!/usr/bin/env bash
# Installs vexsum into a scratch root, checks its manual page for roff
# warnings at 60 to 80 columns, builds the Debian package, holds it to
# lintian and runs the program it carries.
# usage: package.sh BUILD-DIRECTORY VERSION ARCHITECTURE [EMULATOR]
# ARCHITECTURE: the Debian name of the CPU built for; EMULATOR: the command
# that runs the build's programs, in a cross build
set -u
build=$1 version=$2 arch=$3 emulator=${4:-}
title=package
. "$(dirname "$0")/harness.sh"
needtools lintian groff man dpkg-deb

DESTDIR=$work/root cmake --install "$build" --prefix /usr/local >/dev/null
root=$work/root/usr/local
for f in bin/vexsum share/man/man1/vexsum.1.gz share/doc/vexsum/copyright share/doc/vexsum/changelog.gz; do
	check install "no $f installed" [ -f "$root/$f" ]
done
gunzip -c "$root/share/man/man1/vexsum.1.gz" >"$work/vexsum.1"
warnings=$( { groff -t -man -ww -z "$work/vexsum.1"
	for width in 60 70 80; do MANWIDTH=$width man -l "$work/vexsum.1" >/dev/null; done; } 2>&1)
check manual "warnings: $warnings" [ -z "$warnings" ]
check manual "it does not say version $version" grep -q "vexsum $version" "$work/vexsum.1"
check changelog "the last entry is not for version $version" \
	sh -c 'gunzip -c "$1" | head -n 1 | grep -q "^vexsum ($2)"' - "$root/share/doc/vexsum/changelog.gz" "$version"

deb=$work/deb/vexsum_${version}_$arch.deb
(cd "$build" && cpack -G DEB -B "$work/deb" >"$work/cpack.log" 2>&1)
check deb "cpack made no $(basename "$deb"): $(cat "$work/cpack.log")" [ -f "$deb" ] || { summary; exit; }
for field in "Package vexsum" "Version $version" "Architecture $arch"; do
	check deb "its ${field% *} is $(dpkg-deb -f "$deb" "${field% *}")" [ "$(dpkg-deb -f "$deb" "${field% *}")" = "${field#* }" ]
done
check deb "no computed dependency on libc6" sh -c 'dpkg-deb -f "$1" Depends | grep -q libc6' - "$deb"
# lintian would rather not run as root; what it finds is the same
asuser=
[ "$(id -u)" != 0 ] || asuser="setpriv --reuid=65534 --regid=65534 --clear-groups"
tags=$(cd "$work" && $asuser env HOME="$work" lintian --fail-on error,warning "$deb" 2>&1)
got=$?
check lintian "$tags" [ $got = 0 ]
dpkg-deb -x "$deb" "$work/unpacked"
check deb "no manual page in it" [ -f "$work/unpacked/usr/share/man/man1/vexsum.1.gz" ]
cp "$sample" "$work/sample.lib"
out=$($emulator "$work/unpacked/usr/bin/vexsum" "$work/sample.lib" 2>"$work/err")
got=$?
check program "it failed, saying: $out" [ $got = 0 ]
check program "it said: $out" [ "$out" = "$(printf '\tLibrary CRC:\t0000\n\tTrue CRC:\t%s' "$samplecrc")" ]
check program "its banner: $(cat "$work/err")" [ "$(cat "$work/err")" = "vexsum v$version by Zarvik" ]
summary
