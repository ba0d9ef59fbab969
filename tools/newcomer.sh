#!/usr/bin/env bash
# Does what a new user does on a fresh minimal Debian 12: in a freshly
# bootstrapped root, with nothing but the Debian mirror, it clones the
# checkout's commit and runs the two commands that open README.md, exactly
# as written there. The first must fill the sample's CRC; the second must
# pass. The bootstrapped root is cached in the folder given; each run starts
# from a fresh copy of it. Needs root.
# usage: tools/newcomer.sh [CACHE-FOLDER]
set -eu
title=newcomer
. "$(dirname "$0")/../tests/harness.sh"
cache=$(mkdir -p "${1:-$top/build-newcomer}" && cd "${1:-$top/build-newcomer}" && pwd)
mirror=http://deb.debian.org/debian
"$top/tools/need" debootstrap git

if [ ! -f "$cache/bookworm.tar" ]; then
	echo "newcomer: bootstrapping a minimal Debian 12 root (kept in $cache)"
	rm -rf "${cache:?}/boot"
	# in a mount namespace of its own: what it mounts inside the root goes with it
	unshare -m debootstrap --variant=minbase bookworm "$cache/boot" "$mirror" >"$cache/debootstrap.log" 2>&1 ||
		{ tail -n 20 "$cache/debootstrap.log"; exit 1; }
	tar -C "$cache/boot" --one-file-system -cf "$cache/bookworm.tar.new" . &&
		mv "$cache/bookworm.tar.new" "$cache/bookworm.tar"
	rm -rf "${cache:?}/boot"
fi
root=$cache/root
rm -rf "$root" && mkdir "$root" && tar -C "$root" -xf "$cache/bookworm.tar"
cp /etc/resolv.conf "$root/etc/resolv.conf"
git clone -q "$top" "$root/root/vexsum"

# the README's two commands: the first builds and runs, the second tests
recipe "two commands" >"$cache/commands"
[ "$(wc -l <"$cache/commands")" = 2 ] || { failed readme "the README has no two commands"; summary; exit; }

# run LINE: one README line in the fresh root, as root, from the checkout
run() {
	unshare -m sh -c 'mount --rbind /dev "$1/dev" && mount -t proc proc "$1/proc" &&
		exec chroot "$1" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root TERM=dumb \
			/bin/sh -c "cd /root/vexsum && $2"' - "$root" "$1"
}
first=$(sed -n 1p "$cache/commands") second=$(sed -n 2p "$cache/commands")
echo "newcomer: $first"
if run "$first" >"$cache/first.out" 2>&1; then
	tail -n 3 "$cache/first.out"
	check first "it printed no report" grep -q "$(printf '^\tTrue CRC:\t%s$' "$samplecrc")" "$cache/first.out"
else
	tail -n 30 "$cache/first.out"
	failed first "the command failed"
fi
[ "$fail" = 0 ] || { summary; exit; } # the second would only repeat the failure, at length
echo "newcomer: $second"
if run "$second" >"$cache/second.out" 2>&1; then
	grep -E 'tests passed|tests failed' "$cache/second.out" || true
	passed
else
	tail -n 40 "$cache/second.out"
	failed second "the command failed"
fi
[ "$fail" != 0 ] || rm -rf "$root" # a failed root stays, to be looked into
summary
