#!/bin/sh
# The manual as HTML beside the page, with the page's style sheet: mandoc's
# own style would be inline, which the page's policy refuses, and so would
# a style attribute. Code blocks as in pkg/winman.sh. Like the page it has
# a language, the page's icon (else the browser asks for /favicon.ico) and
# a way back to the page.
# usage: manual.sh PAGE.1 OUT.html
set -eu
mandoc -T html -O style=vexsum.css "$1" | sed -e '/<pre>/,/<\/pre>/{/^<br\/>$/d}' -e 's/ style="[^"]*"//g' \
	-e 's/^<html>$/<html lang="en">/' \
	-e 's|^\( *\)<link rel="stylesheet"|\1<link rel="icon" href="icon.svg" type="image/svg+xml"/>\n&|' \
	-e 's|^<body>$|&\n<nav class="back"><a href="vexsum.html">Back to the page: vexsum in the browser</a></nav>|' >"$2"
