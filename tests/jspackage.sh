#!/usr/bin/env bash
# The npm package as JavaScript developers take it, from its tarball: its
# types under tsc --strict (a right use compiles, each wrong use is the
# error it should be), bundled by vite and esbuild without a warning (and
# the bundles run), and publint and arethetypeswrong with nothing to say.
# The tools come from the npm registry at pinned versions (install, which
# the others need; without the registry each skips, saying so).
# usage: jspackage.sh WEB-BUILD install|types|bundlers|publint|attw
set -u
build=$(realpath "$1") which=$2
title=$which
. "$(dirname "$0")/harness.sh"
needtools npm node
tools=$build/jstools
bin=$tools/node_modules/.bin
export npm_config_audit=false npm_config_fund=false npm_config_update_notifier=false
# plain words to compare: with CI set in the environment, some tools colour them
export NO_COLOR=1
if [ "$which" = install ]; then
	# (two minutes at most: a machine without the registry must not wait on it)
	if timeout 120 npm install --prefix "$tools" --silent --fetch-retries=1 --fetch-timeout=30000 \
		typescript@7.0.2 publint@0.3.25 @arethetypeswrong/cli@0.18.5 vite@8.4.2 "esbuild@$ESBUILD" \
		>"$build/jstools.log" 2>&1; then
		passed
		summary
		exit
	fi
	skipall "the npm registry could not be reached (see $build/jstools.log)"
fi
[ -x "$bin/tsc" ] || skipall "the tools from the npm registry are not there (the install test skipped)"

# the package installed from its tarball into an app of its own
mkdir "$work/pack" "$work/app"
(cd "$work/pack" && npm pack "$build/npm" >"$work/pack.log" 2>&1) &&
	(cd "$work/app" && npm install --offline "$work"/pack/vexsum-*.tgz >"$work/install.log" 2>&1) ||
	{ failed install "$(cat "$work/pack.log" "$work/install.log" 2>/dev/null)"; summary; exit; }
app=$work/app

case $which in
types)
	cat >"$app/tsconfig.json" <<'EOF'
{ "compilerOptions": { "strict": true, "noEmit": true, "module": "nodenext", "moduleResolution": "nodenext",
  "target": "es2022", "lib": ["es2022"], "types": [] }, "include": ["right.mts"] }
EOF
	mkdir "$app/wrong"
	echo '{ "extends": "../tsconfig.json", "include": ["use.mts"] }' >"$app/wrong/tsconfig.json"
	cat >"$app/right.mts" <<'EOF'
import { check, type Result } from 'vexsum';
const r: Result = await check(new Uint8Array(16), 'game.lib');
export const kind: 'corrected' | 'right' | 'notlibrary' = r.kind;
export const bytes: Uint8Array = r.bytes;
export const lines: string[] = r.lines;
export const shown = r.stored !== null && r.truecrc !== null && r.at !== null ? [r.stored.toUpperCase(), r.truecrc, r.at + 1] : [];
export const others = [await check(new ArrayBuffer(16)), await check(new SharedArrayBuffer(16)),
  await check(new DataView(new ArrayBuffer(16)))];
EOF
	check right "tsc --strict refuses a right use: $(cd "$app" && "$bin/tsc" -p . --pretty false 2>&1 | head -n 5)" \
		sh -c 'cd "$1" && "$2" -p . >/dev/null 2>&1' - "$app" "$bin/tsc"
	# name | the error tsc must give (one of) | the wrong use
	rows='stored may be null | TS18047 TS2531 | (await check(new Uint8Array(16))).stored.toUpperCase();
a string            | TS2345  | await check("4B414C4D");
no such kind        | TS2367  | export const odd = (await check(new Uint8Array(16))).kind === "fixed";
bytes not a string  | TS2339  | (await check(new Uint8Array(16))).bytes.toUpperCase();
a number for name   | TS2345  | await check(new Uint8Array(16), 7);'
	while IFS='|' read -r name code use; do
		name=$(trim "$name") code=$(trim "$code") use=$(trim "$use")
		printf "import { check } from 'vexsum';\n%s\n" "$use" >"$app/wrong/use.mts"
		said=$(cd "$app/wrong" && "$bin/tsc" -p . --pretty false 2>&1)
		check "$name" "tsc gave: ${said:-no error}" grep -qE "error (${code// /|}):" <<<"$said"
	done <<<"$rows"
	;;
bundlers)
	printf "import { check } from 'vexsum';\nconsole.log((await check(new Uint8Array(16))).kind);\n" >"$app/main.js"
	said=$(cd "$app" && "$bin/esbuild" main.js --bundle --format=esm --platform=browser --target=es2022 \
		--outfile=out/esbuild.mjs --log-level=warning 2>&1)
	check "esbuild quiet" "esbuild said: $said" [ -z "$said" ]
	check "esbuild runs" "the bundle gave: $(node "$app/out/esbuild.mjs" 2>&1 | head -n 3)" \
		sh -c '[ "$(node "$1")" = notlibrary ]' - "$app/out/esbuild.mjs"
	# a library build: its one chunk holds the package and runs in Node
	echo "export default { build: { lib: { entry: 'main.js', formats: ['es'], fileName: 'vite' }, outDir: 'out' } };" \
		>"$app/vite.config.mjs"
	said=$(cd "$app" && "$bin/vite" build --logLevel warn 2>&1)
	check "vite quiet" "vite said: $said" [ -z "$said" ]
	check "vite runs" "the bundle gave: $(node "$app/out/vite.mjs" 2>&1 | head -n 3)" \
		sh -c '[ "$(node "$1")" = notlibrary ]' - "$app/out/vite.mjs"
	;;
publint)
	said=$(cd "$build/npm" && "$bin/publint" --strict 2>&1)
	check publint "publint said: $said" sh -c '[ "$(printf "%s\n" "$1" | tail -n 1)" = "All good!" ]' - "$said"
	;;
attw)
	# an ES module only package, which the README and the manual say:
	# require() from CommonJS (node16) and node10's resolution are not its
	said=$(cd "$work" && "$bin/attw" --pack "$build/npm" --profile esm-only --format ascii 2>&1) ||
		failed attw "arethetypeswrong ended with a failure: $said"
	check attw "arethetypeswrong said: $said" sh -c '! printf "%s\n" "$1" | grep -v ignored | grep -qE "⚠️|💀|❌|❗"' - "$said"
	;;
esac
summary
