#!/bin/sh
# Renders the manual page for the Windows package: HTML, and plain text with
# no overstriking and CR LF line ends, as Notepad expects.
# usage: winman.sh PAGE.1 OUT.html OUT.txt
set -eu
mandoc -T html -O style=none "$1" >"$2"
mandoc -T ascii -O width=78 "$1" | sed -e 's/.\x08//g' -e 's/$/\r/' >"$3"
