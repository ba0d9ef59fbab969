// eslint's recommended rules on every JavaScript file of the repository,
// with the globals of where each runs; and no name that hides another.
// Run by the web build's test "eslint" (see CONTRIBUTING.md).
// The build installs eslint, @eslint/js and globals in its own folder and
// names it in NODE_PATH, which require() reads and import does not.
import { createRequire } from 'node:module';

const require = createRequire(import.meta.url);
const js = require('@eslint/js');
const globals = require('globals');

export default [
  { ignores: ['build*/**', 'release/**'] },
  js.configs.recommended,
  { rules: { 'no-shadow': 'error' } },
  // the page's modules run in the browser; the engine in a browser or in
  // Node, so it may use only the names that both give
  { files: ['web/engine.js'], languageOptions: { globals: globals['shared-node-browser'] } },
  { files: ['web/page/**/*.js'], ignores: ['web/page/sw.js'], languageOptions: { globals: globals.browser } },
  { files: ['web/page/sw.js'], languageOptions: { sourceType: 'script', globals: globals.serviceworker } },
  // the console program for Node: its pre-js runs inside emscripten's code,
  // beside the program's Module, its file systems and its system calls
  { files: ['web/npm/**/*.js'],
    languageOptions: { sourceType: 'script', globals: { ...globals.node, Module: 'writable', FS: 'readonly',
      NODEFS: 'readonly', SYSCALLS: 'readonly', ERRNO_CODES: 'readonly', ___syscall_fstat64: 'writable' } } },
  { files: ['web/tools/**/*.js'], languageOptions: { sourceType: 'commonjs', globals: globals.node } },
  { files: ['tests/**/*.mjs', 'bench/**/*.mjs', '*.mjs'], languageOptions: { globals: globals.node } },
  // the Firefox test hands functions to the page, which run there
  { files: ['tests/firefox.mjs'], languageOptions: { globals: { ...globals.node, ...globals.browser } } },
];
