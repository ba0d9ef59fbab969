#!/usr/bin/env bash
# Builds the web zip and checks what it holds: the page, its style, its
# script with the program and fflate (for its zips) inside, the licences, the
# manifest, icons and service worker, the manual; index.html, the page again
# for a served folder's root;
# nothing that the page fetches from elsewhere, and a Content-Security-Policy
# in the page.
# usage: webpackage.sh BUILD-DIRECTORY VERSION
set -u
build=$1 version=$2
title=webpackage
. "$(dirname "$0")/harness.sh"
dir=$(cpackzip "$build" "vexsum-$version-web") || { failed zip "$dir"; summary; exit; }
held=$(cd "$dir" && ls | sort | tr '\n' ' ')
check zip "it holds: $held" [ "$held" = "LICENSE fflate-LICENSE icon-192.png icon-512.png icon.svg index.html manual.html sw.js vexsum.css vexsum.html vexsum.js vexsum.webmanifest " ]
check page "it loads something from elsewhere" sh -c '! grep -qE "(src|href)=\"(https?:)?//" "$1"' - "$dir/vexsum.html"
check index "index.html is not the page" cmp "$dir/index.html" "$dir/vexsum.html"
check page "it has no Content-Security-Policy" grep -q 'http-equiv="Content-Security-Policy"' "$dir/vexsum.html"
check page "it has an inline script or style" sh -c '! grep -qE "<script>|<style|style=" "$1"' - "$dir/vexsum.html"
summary
