#!/bin/sh
# Measures the npm package against the native program, in one run on the
# same files: a warm check() against one native process on the tiny and
# the largest object, the first check() after import, 5,000 calls at once
# (time, and how far memory rises), the peak memory of a 600 MB input, and
# node_modules/.bin/vexsum FILE (the package installed from its tarball)
# against node -e 0. The goals (see the figures):
#   a warm check() at most a tenth of a native run on the tiny object, and
#   no longer than a native run on the largest;
#   5,000 calls at once add at most 150 MB;
#   a 600 MB input peaks at at most 2.1 times its size plus 100 MB (1360 MB);
#   node_modules/.bin/vexsum FILE within 1.2 times node -e 0.
# usage: bench/api.sh WEB-BUILD [RUNS]   (a web build whose tests have run:
# its console/ holds the native program and sample maker)
# Needs hyperfine, node and npm.
set -eu
build=$(cd "$1" && pwd) runs=${2:-200}
here=$(cd "$(dirname "$0")" && pwd)
"$here/../tools/need" hyperfine
native=$build/console/vexsum mklib=$build/console/mklib module=$build/npm/vexsum.mjs
work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT
# random upper-case hex digits, enough for the largest body
head -c 524283 /dev/urandom | od -An -v -tx1 | tr -d ' \n' | tr a-f A-F >"$work/hex"
head -c 1048566 "$work/hex" | "$mklib" - 0000 >"$work/largest.lib"
"$mklib" 0 0000 >"$work/tiny.lib"

# wall time, and the processor time (User, System) that load disturbs less
hf() { hyperfine -N --style basic "$@" 2>&1 | grep -E '^Benchmark|Time \(|times faster'; }
echo "== one native process (the file filled in its first run, checked in the rest)"
hf --warmup 20 --runs "$runs" -n tiny "$native $work/tiny.lib" -n largest "$native $work/largest.lib"
echo "== warm check(), 500 calls each after 50"
node "$here/api.mjs" warm "$module" "$work/tiny.lib" "$work/largest.lib"
echo "== the first check() after import (three fresh processes)"
for _ in 1 2 3; do node "$here/api.mjs" first "$module" "$work/tiny.lib"; done
echo "== 5,000 calls at once, on the tiny object"
node "$here/api.mjs" crowd "$module" "$work/tiny.lib"
echo "== a 600 MB input"
node "$here/api.mjs" big "$module" 600

echo "== node_modules/.bin/vexsum FILE against node -e 0"
mkdir "$work/pack" "$work/app"
(cd "$work/pack" && npm pack "$build/npm" >/dev/null 2>&1)
(cd "$work/app" && npm install --offline --no-audit --no-fund "$work"/pack/vexsum-*.tgz >/dev/null 2>&1)
# and, for where the time goes, Node running an empty script from the
# package's folder (a file of its own, as cli.js is)
echo >"$work/app/node_modules/vexsum/empty.js"
hf --warmup 10 --runs "$((runs / 4 + 10))" -n "node -e 0" "node -e 0" \
	-n ".bin/vexsum" "$work/app/node_modules/.bin/vexsum $work/tiny.lib" \
	-n "an empty script" "node $work/app/node_modules/vexsum/empty.js"
