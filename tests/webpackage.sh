#!/usr/bin/env bash
# Builds the web zip and checks what it holds: the page, its script and
# program, and the licence, and nothing that the page fetches from elsewhere.
# usage: webpackage.sh BUILD-DIRECTORY VERSION
set -u
build=$1 version=$2
title=webpackage
. "$(dirname "$0")/harness.sh"
dir=$(cpackzip "$build" "vexsum-$version-web") || { failed zip "$dir"; summary; exit; }
held=$(cd "$dir" && ls | sort | tr '\n' ' ')
check zip "it holds: $held" [ "$held" = "LICENSE vexsum.html vexsum.js vexsum.wasm " ]
check page "it loads something from elsewhere" sh -c '! grep -qE "(src|href)=\"(https?:)?//" "$1"' - "$dir/vexsum.html"
summary
