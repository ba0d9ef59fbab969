#!/usr/bin/env bash
# Builds the web zip and checks what it holds: the files that the build's
# one list names (cmake/web.cmake), no more and no fewer; a service worker
# that keeps every one of the page's own files; nothing that the page
# fetches from elsewhere, and a Content-Security-Policy in the page.
# usage: webpackage.sh BUILD-DIRECTORY VERSION PAGE-FILES ZIP-FILES
# (each list a CMake list, a;b;c)
set -u
build=$1 version=$2
title=webpackage
. "$(dirname "$0")/harness.sh"
IFS=';' read -ra pagefiles <<<"$3"
IFS=';' read -ra zipfiles <<<"$4"
dir=$(cpackzip "$build" "vexsum-$version-web") || { failed zip "$dir"; summary; exit; }
held=$(cd "$dir" && ls | sort | tr '\n' ' ')
want=$(printf '%s\n' "${zipfiles[@]}" | sort | tr '\n' ' ')
check zip "it holds: $held; want: $want" [ "$held" = "$want" ]
kept=$(sed -n "s/^const own = '\([^']*\)'.*/\1/p" "$dir/sw.js")
check worker "it keeps: $kept; want: ${pagefiles[*]}" [ "$kept" = "${pagefiles[*]}" ]
check page "it loads something from elsewhere" sh -c '! grep -qE "(src|href)=\"(https?:)?//" "$1"' - "$dir/vexsum.html"
check index "index.html is not the page" cmp "$dir/index.html" "$dir/vexsum.html"
check page "it has no Content-Security-Policy" grep -q 'http-equiv="Content-Security-Policy"' "$dir/vexsum.html"
check page "it has an inline script or style" sh -c '! grep -qE "<script>|<style|style=" "$1"' - "$dir/vexsum.html"
summary
