// The page's icon, drawn from one list of shapes as SVG and as the PNG
// sizes that an installable web application needs:
//   node icon.js DIR     writes DIR/icon.svg, DIR/icon-192.png, DIR/icon-512.png
// A table with its walls, a path that bounces off the top wall, and the
// ball at its start, in the window's colours. The PNGs are the same for the
// same Node (zlib), so the site's ZIP stays reproducible.
'use strict';
const fs = require('fs');
const path = require('path');
const zlib = require('zlib');

// On a 48 by 48 grid, y downwards; painted in order, the last on top.
const grid = 48;
const shapes = [
  { rect: [0, 0, 48, 48], color: '#3b5b8c' },
  { rect: [5, 10, 43, 38], color: '#000000' },
  { rect: [7, 12, 41, 36], color: '#e6e6ce' },
  { line: [13, 31, 25, 13], width: 2, color: '#0000ff' },
  { line: [25, 13, 38, 26], width: 2, color: '#ff0000' },
  { circle: [13, 31, 3.5], color: '#222222' },
];

function svg() {
  const parts = shapes.map((shape) => {
    if (shape.rect) {
      const [x0, y0, x1, y1] = shape.rect;
      return `<rect x="${x0}" y="${y0}" width="${x1 - x0}" height="${y1 - y0}" fill="${shape.color}"/>`;
    }
    if (shape.line) {
      const [x0, y0, x1, y1] = shape.line;
      return `<line x1="${x0}" y1="${y0}" x2="${x1}" y2="${y1}" stroke="${shape.color}" ` +
        `stroke-width="${shape.width}" stroke-linecap="round"/>`;
    }
    const [cx, cy, r] = shape.circle;
    return `<circle cx="${cx}" cy="${cy}" r="${r}" fill="${shape.color}"/>`;
  });
  return `<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 ${grid} ${grid}">\n${parts.join('\n')}\n</svg>\n`;
}

// Whether the grid point (x, y) is inside the shape.
function covers(shape, x, y) {
  if (shape.rect) {
    const [x0, y0, x1, y1] = shape.rect;
    return x >= x0 && x < x1 && y >= y0 && y < y1;
  }
  if (shape.line) {
    // Distance to the segment, round caps as in the SVG.
    const [x0, y0, x1, y1] = shape.line;
    const dx = x1 - x0;
    const dy = y1 - y0;
    const t = Math.max(0, Math.min(1, ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)));
    return Math.hypot(x - x0 - t * dx, y - y0 - t * dy) <= shape.width / 2;
  }
  const [cx, cy, r] = shape.circle;
  return Math.hypot(x - cx, y - cy) <= r;
}

const rgb = (color) => [1, 3, 5].map((i) => parseInt(color.slice(i, i + 2), 16));

// size by size RGB pixels, each the mean of 4 by 4 samples.
function raster(size) {
  const samples = 4;
  const rows = [];
  for (let py = 0; py < size; py++) {
    const row = Buffer.alloc(1 + 3 * size);  // filter byte 0: none
    for (let px = 0; px < size; px++) {
      const sum = [0, 0, 0];
      for (let sy = 0; sy < samples; sy++) {
        for (let sx = 0; sx < samples; sx++) {
          const x = ((px + (sx + 0.5) / samples) * grid) / size;
          const y = ((py + (sy + 0.5) / samples) * grid) / size;
          let color = shapes[0].color;
          shapes.forEach((shape) => {
            if (covers(shape, x, y)) {
              color = shape.color;
            }
          });
          rgb(color).forEach((value, i) => {
            sum[i] += value;
          });
        }
      }
      sum.forEach((value, i) => {
        row[1 + 3 * px + i] = Math.round(value / (samples * samples));
      });
    }
    rows.push(row);
  }
  return Buffer.concat(rows);
}

const crcTable = Array.from({ length: 256 }, (_, n) => {
  let c = n;
  for (let k = 0; k < 8; k++) {
    c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
  }
  return c >>> 0;
});
function crc32(bytes) {
  let c = 0xffffffff;
  for (const byte of bytes) {
    c = crcTable[(c ^ byte) & 0xff] ^ (c >>> 8);
  }
  return (c ^ 0xffffffff) >>> 0;
}

function chunk(type, data) {
  const length = Buffer.alloc(4);
  length.writeUInt32BE(data.length);
  const body = Buffer.concat([Buffer.from(type, 'ascii'), data]);
  const crc = Buffer.alloc(4);
  crc.writeUInt32BE(crc32(body));
  return Buffer.concat([length, body, crc]);
}

function png(size) {
  const header = Buffer.alloc(13);
  header.writeUInt32BE(size, 0);
  header.writeUInt32BE(size, 4);
  header[8] = 8;  // bits per channel
  header[9] = 2;  // RGB
  return Buffer.concat([
    Buffer.from([0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a]),
    chunk('IHDR', header),
    chunk('IDAT', zlib.deflateSync(raster(size), { level: 9 })),
    chunk('IEND', Buffer.alloc(0)),
  ]);
}

const dir = process.argv[2];
if (!dir) {
  console.error('usage: node icon.js DIR');
  process.exit(2);
}
fs.mkdirSync(dir, { recursive: true });
fs.writeFileSync(path.join(dir, 'icon.svg'), svg());
for (const size of [192, 512]) {
  fs.writeFileSync(path.join(dir, `icon-${size}.png`), png(size));
}
