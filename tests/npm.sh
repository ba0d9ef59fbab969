#!/usr/bin/env bash
# The npm package as a user gets it: npm pack, then npm install of that
# tarball into an empty folder with no network, then npx vexsum beside the
# native program, run for run: the same standard output and error, status
# and bytes after, on the sample, a refused file, a bad usage (255), a
# missing file (1) and a closed standard output, which Node alone would
# take for /dev/null.
# usage: npm.sh WEB-BUILD NATIVE-VEXSUM
set -u
build=$1 native=$(realpath "$2")
title=npm
. "$(dirname "$0")/harness.sh"
needtools npm npx node
export npm_config_offline=true npm_config_audit=false npm_config_fund=false npm_config_update_notifier=false
mkdir "$work/pack" "$work/app" "$work/native" "$work/npx"
(cd "$work/pack" && npm pack "$(realpath "$build/npm")" >"$work/pack.log" 2>&1) &&
	(cd "$work/app" && npm install "$work"/pack/vexsum-*.tgz >"$work/install.log" 2>&1) ||
	{ failed install "$(cat "$work/pack.log" "$work/install.log" 2>/dev/null)"; summary; exit; }
npx() { (cd "$work/app" && command npx --no-install vexsum "$@"); }

# name | file | arguments | redirection
cases="sample   | $sample                  | FILE      |
notlib   | $top/examples/notlib.lib | FILE      |
usage    | -                        |           |
missing  | -                        | FILE.none |
closed   | $sample                  | FILE      | >&-"
# each case on the same path for both, one after the other
f=$work/case.lib
while IFS='|' read -r name file args redirect; do
	name=$(trim "$name") file=$(trim "$file") args=$(trim "$args") redirect=$(trim "$redirect")
	for how in native npx; do
		rm -f "$f" && { [ "$file" = - ] || cp "$file" "$f"; }
		run=$native && [ $how = native ] || run=npx
		eval "$run ${args//FILE/\"\$f\"} >\"\$work/\$how/\$name.out\" 2>\"\$work/\$how/\$name.err\" $redirect"
		echo $? >"$work/$how/$name.status"
		[ ! -e "$f" ] || mv "$f" "$work/$how/$name.lib"
	done
	n=$work/native/$name x=$work/npx/$name
	verdict "$name" "$(cat "$x.status")" "$(cat "$n.status")" "$x.lib" "$(hexof "$n.lib")" \
		"$x.out" "$n.out" "$x.err" "$n.err"
done <<<"$cases"
check "usage status" "npx gave $(cat "$work/npx/usage.status")" [ "$(cat "$work/npx/usage.status")" = 255 ]
check "missing status" "npx gave $(cat "$work/npx/missing.status")" [ "$(cat "$work/npx/missing.status")" = 1 ]
check "closed status" "npx gave $(cat "$work/npx/closed.status")" [ "$(cat "$work/npx/closed.status")" = 1 ]
summary
