#!/usr/bin/env bash
# eslint's recommended rules (eslint.config.mjs) on every JavaScript file
# of the repository: no problem, and no warning. eslint, its rules and the
# table of globals come from the npm registry at the versions that
# cmake/web.cmake pins, into the build's folder; without the registry the
# test is skipped and says so.
# usage: eslint.sh BUILD-DIRECTORY SOURCE ESLINT-VERSION GLOBALS-VERSION
set -u
build=$1 source=$2 eslint=$3 globals=$4
# shellcheck disable=SC2034 # read by harness.sh
title=eslint
. "$(dirname "$0")/harness.sh"
lint=$build/eslint-$eslint-$globals/node_modules
if [ ! -x "$lint/.bin/eslint" ]; then
	# (five minutes at most: a machine without the registry must not wait on it)
	timeout 300 npm install --prefix "${lint%/node_modules}" --no-audit --no-fund --silent --fetch-retries=1 \
		"eslint@$eslint" "@eslint/js@$eslint" "globals@$globals" >"$build/eslint.log" 2>&1 ||
		skipall "eslint could not be installed from the npm registry: $(tail -n 1 "$build/eslint.log")"
fi
# (eslint reads the configuration of the folder it runs in)
lintall() { cd "$source" && NODE_PATH=$lint "$lint/.bin/eslint" --max-warnings 0 .; }
check eslint "it found problems (above)" lintall
summary
