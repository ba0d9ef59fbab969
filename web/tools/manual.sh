#!/bin/sh
# The manual as HTML beside the page, with the page's style sheet: mandoc's
# own style would be inline, which the page's policy refuses, and so would
# a style attribute. Code blocks as in pkg/winman.sh.
# usage: manual.sh PAGE.1 OUT.html
set -eu
mandoc -T html -O style=vexsum.css "$1" | sed -e '/<pre>/,/<\/pre>/{/^<br\/>$/d}' -e 's/ style="[^"]*"//g' >"$2"
