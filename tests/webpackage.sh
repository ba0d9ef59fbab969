#!/usr/bin/env bash
# Builds the web zip and checks what it holds: the page, its script and
# program, and the licence, and nothing that the page fetches from elsewhere.
# usage: webpackage.sh BUILD-DIRECTORY VERSION
set -eu
build=$1 version=$2
work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT
fail() { echo "webpackage: $*"; exit 1; }

. "$(dirname "$0")/cases.sh"
dir=$(cpackzip "$build" "vexsum-$version-web") || fail "$dir"
[ "$(cd "$dir" && ls | sort | tr '\n' ' ')" = "LICENSE vexsum.html vexsum.js vexsum.wasm " ] ||
	fail "the zip holds: $(cd "$dir" && ls | tr '\n' ' ')"
! grep -qE '(src|href)="(https?:)?//' "$dir/vexsum.html" || fail "the page loads something from elsewhere"
echo "webpackage: 1 passed, 0 failed"
