#!/bin/sh
# The page's test (web.py) needs the console program to compare with (built
# by native.sh in the web build's folder) and axe-core, from the npm
# registry, to check the page's accessibility (without it that check is
# skipped and says so).
# usage: web.sh WEB-BUILD SOURCE [SCREENSHOT.png]
set -eu
build=$(cd "$1" && pwd) source=$2
axe=$build/axe/node_modules/axe-core/axe.min.js
# (two minutes at most: a machine without the registry must not wait on it)
[ -f "$axe" ] || timeout 120 npm install --prefix "$build/axe" --no-audit --no-fund --silent \
	--fetch-retries=1 --fetch-timeout=30000 axe-core@4 >"$build/axe.log" 2>&1 || axe=-
# Debian's python, where python3-selenium goes
exec /usr/bin/python3 "$source/tests/web.py" "$build" "$build/console/vexsum" "$build/console/mklib" \
	"$source/tests/golden.txt" "$axe" ${3:+"$3"}
