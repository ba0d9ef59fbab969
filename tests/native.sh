#!/bin/sh
# The console program built for this machine from the same sources, in
# BUILD/console, for the WebAssembly build's tests to compare with (a ctest
# fixture: web and npm need it).
# usage: native.sh BUILD SOURCE
set -eu
build=$(cd "$1" && pwd) source=$2
cmake -S "$source" -B "$build/console" -DBUILD_TESTING=OFF >"$build/console.log" 2>&1 &&
	cmake --build "$build/console" --target vexsum mklib >>"$build/console.log" 2>&1 ||
	{ cat "$build/console.log"; exit 1; }
