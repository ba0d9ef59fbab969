#!/usr/bin/env bash
# Installs vexsum into a scratch root, checks its manual page for roff
# warnings at 60 to 80 columns, builds the Debian package, holds it to
# lintian and runs the program it carries.
# usage: package.sh BUILD-DIRECTORY VERSION ARCHITECTURE [EMULATOR]
# ARCHITECTURE: the Debian name of the CPU built for; EMULATOR: the command
# that runs the build's programs, in a cross build
set -eu
build=$1 version=$2 arch=$3 emulator=${4:-} top=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d) && chmod 755 "$work" && trap 'rm -rf "$work"' EXIT
fail() { echo "package: $*"; exit 1; }

DESTDIR=$work/root cmake --install "$build" --prefix /usr/local >/dev/null
root=$work/root/usr/local
[ -x "$root/bin/vexsum" ] || fail "no bin/vexsum installed"
for f in share/man/man1/vexsum.1.gz share/doc/vexsum/copyright share/doc/vexsum/changelog.gz; do
	[ -f "$root/$f" ] || fail "no $f installed"
done
gunzip -c "$root/share/man/man1/vexsum.1.gz" >"$work/vexsum.1"
warnings=$( { groff -t -man -ww -z "$work/vexsum.1"
	for width in 60 70 80; do MANWIDTH=$width man -l "$work/vexsum.1" >/dev/null; done; } 2>&1)
[ -z "$warnings" ] || fail "manual page warnings: $warnings"
grep -q "vexsum $version" "$work/vexsum.1" || fail "manual page does not say version $version"
gunzip -c "$root/share/doc/vexsum/changelog.gz" | head -n 1 | grep -q "^vexsum ($version)" ||
	fail "the changelog's last entry is not for version $version"

(cd "$build" && cpack -G DEB -B "$work/deb" >"$work/cpack.log" 2>&1) || fail "cpack: $(cat "$work/cpack.log")"
deb=$work/deb/vexsum_${version}_$arch.deb
[ -f "$deb" ] || fail "no $(basename "$deb")"
[ "$(dpkg-deb -f "$deb" Package)" = vexsum ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version"
[ "$(dpkg-deb -f "$deb" Architecture)" = "$arch" ] || fail "package architecture"
dpkg-deb -f "$deb" Depends | grep -q libc6 || fail "no computed dependency on libc6"
# lintian would rather not run as root; what it finds is the same
asuser=
[ "$(id -u)" != 0 ] || asuser="setpriv --reuid=65534 --regid=65534 --clear-groups"
if command -v lintian >/dev/null; then
	tags=$(cd "$work" && $asuser env HOME="$work" lintian --fail-on error,warning "$deb" 2>&1) || fail "lintian: $tags"
else
	echo "package: lintian not installed, the .deb is not checked"
fi
dpkg-deb -x "$deb" "$work/unpacked"
[ -f "$work/unpacked/usr/share/man/man1/vexsum.1.gz" ] || fail "no manual page in the package"
cp "$top/examples/wrongcrc.lib" "$work/sample.lib"
out=$($emulator "$work/unpacked/usr/bin/vexsum" "$work/sample.lib" 2>"$work/err") || fail "packaged vexsum failed"
[ "$out" = "$(printf '\tLibrary CRC:\t0000\n\tTrue CRC:\t92FA')" ] || fail "packaged vexsum said: $out"
[ "$(cat "$work/err")" = "vexsum v$version by Zarvik" ] || fail "banner: $(cat "$work/err")"

echo "package: 1 passed, 0 failed"
