#!/bin/sh
# The page's test (web.py) needs the console program to compare with: built
# here for this machine from the same sources, in the web build's folder.
# usage: web.sh WEB-BUILD SOURCE [SCREENSHOT.png]
set -eu
build=$(cd "$1" && pwd) source=$2
cmake -S "$source" -B "$build/console" -DBUILD_TESTING=OFF >"$build/console.log" 2>&1 &&
	cmake --build "$build/console" --target vexsum mklib >>"$build/console.log" 2>&1 ||
	{ cat "$build/console.log"; exit 1; }
# Debian's python, where python3-selenium goes
exec /usr/bin/python3 "$source/tests/web.py" "$build" "$build/console/vexsum" "$build/console/mklib" \
	"$source/tests/golden.txt" ${3:+"$3"}
