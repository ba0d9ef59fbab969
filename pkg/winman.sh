#!/bin/sh
# Renders the Windows manual page: HTML with mandoc's own style and code
# blocks as they are (mandoc marks a line that starts with a space with a
# break, which a browser shows as an empty line inside <pre>), and plain
# text with no overstriking and CR LF line ends, as Notepad expects; the
# licence with CR LF too.
# usage: winman.sh PAGE.1 OUT.html OUT.txt LICENSE LICENSE.txt
set -eu
mandoc -T html "$1" | sed -e '/<pre>/,/<\/pre>/{/^<br\/>$/d}' >"$2"
mandoc -T ascii -O width=78 "$1" | sed -e 's/.\x08//g' -e 's/$/\r/' >"$3"
sed -e 's/$/\r/' "$4" >"$5"
