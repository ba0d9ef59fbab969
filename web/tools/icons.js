// Draws the page's icon, a white tick on the page's blue, as icon.svg and as
// the PNGs that a browser wants for an installed app: node icons.js FOLDER.
// Drawn here rather than kept as pictures, so that the icon has a source.
'use strict';
const fs = require('fs');
const path = require('path');
const zlib = require('zlib');

const out = process.argv[2];
const blue = [0x1f, 0x5f, 0xc7];
// the tick, in 512ths of the side: a polyline and its width
const tick = [[143, 266], [225, 348], [379, 184]], width = 72;

fs.writeFileSync(path.join(out, 'icon.svg'),
  '<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 512 512">' +
  '<rect width="512" height="512" fill="#1f5fc7"/>' +
  `<path d="M${tick.map(p => p.join(' ')).join(' L')}" fill="none" stroke="#fff" stroke-width="${width}"` +
  ' stroke-linecap="round" stroke-linejoin="round"/></svg>\n');

// how far a point is from a segment
function distance(x, y, [ax, ay], [bx, by]) {
  const dx = bx - ax, dy = by - ay;
  const t = Math.max(0, Math.min(1, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)));
  return Math.hypot(x - ax - t * dx, y - ay - t * dy);
}

const table = Array.from({ length: 256 }, (_, n) => {
  let c = n;
  for (let k = 0; k < 8; k++) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
  return c >>> 0;
});
function crc32(bytes) {
  let c = 0xffffffff;
  for (const b of bytes) c = table[(c ^ b) & 0xff] ^ (c >>> 8);
  return (c ^ 0xffffffff) >>> 0;
}
function chunk(type, data) {
  const head = Buffer.alloc(8), tail = Buffer.alloc(4);
  head.writeUInt32BE(data.length, 0);
  head.write(type, 4, 'latin1');
  tail.writeUInt32BE(crc32(Buffer.concat([head.subarray(4), data])), 0);
  return Buffer.concat([head, data, tail]);
}

for (const size of [192, 512]) {
  const rows = Buffer.alloc((size * 3 + 1) * size);
  for (let y = 0; y < size; y++) {
    for (let x = 0; x < size; x++) {
      // four samples a pixel, for smooth edges
      let inside = 0;
      for (const [sx, sy] of [[0.25, 0.25], [0.75, 0.25], [0.25, 0.75], [0.75, 0.75]]) {
        const px = (x + sx) * 512 / size, py = (y + sy) * 512 / size;
        if (Math.min(distance(px, py, tick[0], tick[1]), distance(px, py, tick[1], tick[2])) <= width / 2) inside++;
      }
      const at = y * (size * 3 + 1) + 1 + x * 3;
      for (let i = 0; i < 3; i++) rows[at + i] = Math.round(blue[i] + (255 - blue[i]) * inside / 4);
    }
  }
  const header = Buffer.alloc(13);
  header.writeUInt32BE(size, 0);
  header.writeUInt32BE(size, 4);
  header[8] = 8; // bits a sample
  header[9] = 2; // red, green, blue
  fs.writeFileSync(path.join(out, `icon-${size}.png`), Buffer.concat([
    Buffer.from([0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a]),
    chunk('IHDR', header), chunk('IDAT', zlib.deflateSync(rows, { level: 9 })), chunk('IEND', Buffer.alloc(0))]));
}
