#!/usr/bin/env node
// npx vexsum: the console program compiled for Node, with web/npm/node.js
