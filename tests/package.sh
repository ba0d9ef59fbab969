#!/usr/bin/env bash
# Installs vexsum into a scratch root, checks its manual page for roff
# warnings, builds the Debian package and runs the program it carries.
# usage: package.sh BUILD-DIRECTORY VERSION
set -eu
build=$1 version=$2 top=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT
fail() { echo "package: $*"; exit 1; }

DESTDIR=$work/root cmake --install "$build" --prefix /usr/local >/dev/null
page=$work/root/usr/local/share/man/man1/vexsum.1
[ -x "$work/root/usr/local/bin/vexsum" ] || fail "no bin/vexsum installed"
[ -f "$page" ] || fail "no share/man/man1/vexsum.1 installed"
warnings=$( { groff -t -man -ww -z "$page"; MANWIDTH=80 man -l "$page" >/dev/null; } 2>&1)
[ -z "$warnings" ] || fail "manual page warnings: $warnings"
grep -q "vexsum $version" "$page" || fail "manual page does not say version $version"

(cd "$build" && cpack -G DEB -B "$work/deb" >/dev/null)
deb=$work/deb/vexsum_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $(basename "$deb")"
[ "$(dpkg-deb -f "$deb" Package)" = vexsum ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version"
[ "$(dpkg-deb -f "$deb" Section)" = utils ] || fail "section"
dpkg-deb -f "$deb" Depends | grep -q libc6 || fail "no computed dependency on libc6"
dpkg-deb -x "$deb" "$work/unpacked"
[ -f "$work/unpacked/usr/share/man/man1/vexsum.1" ] || fail "no manual page in the package"

cp "$top/examples/wrongcrc.lib" "$work/sample.lib"
out=$("$work/unpacked/usr/bin/vexsum" "$work/sample.lib" 2>"$work/err") || fail "packaged vexsum failed"
[ "$out" = "$(printf '\tLibrary CRC:\t0000\n\tTrue CRC:\t92FA')" ] || fail "packaged vexsum said: $out"
[ "$(cat "$work/err")" = "vexsum v$version by Zarvik" ] || fail "banner: $(cat "$work/err")"
echo "package: 1 passed, 0 failed"
