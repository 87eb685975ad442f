// A static file server on 127.0.0.1 for the browser tests, started and
// stopped by CTest as the setup and cleanup of their fixture.
//   node site_server.js start STATE-DIR ROOT   serve ROOT on a free port and
//                                              write its address to STATE-DIR/url
//   node site_server.js stop STATE-DIR         stop it again
// It serves files only, as any static host would: no directory listings,
// nothing outside ROOT.
'use strict';
const { spawn } = require('child_process');
const fs = require('fs');
const http = require('http');
const path = require('path');

const types = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript',
  '.css': 'text/css',
  '.wasm': 'application/wasm',
  '.json': 'application/json',
  '.png': 'image/png',
  '.svg': 'image/svg+xml',
  '.webmanifest': 'application/manifest+json',
};

function serve(root, urlFile) {
  const server = http.createServer((request, response) => {
    const url = new URL(request.url, 'http://127.0.0.1');
    let file = path.join(root, decodeURIComponent(url.pathname));
    if (url.pathname.endsWith('/')) {
      file = path.join(file, 'index.html');
    }
    if (!file.startsWith(root + path.sep) || !fs.statSync(file, { throwIfNoEntry: false })?.isFile()) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { 'Content-Type': types[path.extname(file)] || 'application/octet-stream' });
    fs.createReadStream(file).pipe(response);
  });
  server.listen(0, '127.0.0.1', () => {
    // Written whole under another name first: the starter polls for it.
    fs.writeFileSync(`${urlFile}.part`, `http://127.0.0.1:${server.address().port}/`);
    fs.renameSync(`${urlFile}.part`, urlFile);
  });
}

function stop(state) {
  const pidFile = path.join(state, 'pid');
  let pid = 0;
  try {
    pid = Number(fs.readFileSync(pidFile, 'utf8'));
  } catch {
    return;
  }
  // Only if that process is still this server: the file may outlive it.
  try {
    const command = fs.readFileSync(`/proc/${pid}/cmdline`, 'utf8');
    if (command.includes('site_server.js')) {
      process.kill(pid);
    }
  } catch {
    // gone already
  }
  fs.rmSync(pidFile, { force: true });
  fs.rmSync(path.join(state, 'url'), { force: true });
}

async function start(state, root) {
  fs.mkdirSync(state, { recursive: true });
  stop(state);
  const urlFile = path.join(state, 'url');
  const log = fs.openSync(path.join(state, 'log'), 'w');
  // Detached, with its own output, so that CTest does not wait for it.
  const child = spawn(process.execPath, [__filename, 'serve', path.resolve(root), urlFile], {
    detached: true,
    stdio: ['ignore', log, log],
  });
  fs.writeFileSync(path.join(state, 'pid'), String(child.pid));
  child.unref();
  for (let i = 0; i < 100; i++) {
    if (fs.existsSync(urlFile)) {
      console.log(`serving ${root} at ${fs.readFileSync(urlFile, 'utf8')}`);
      return;
    }
    await new Promise((resolve) => setTimeout(resolve, 100));
  }
  console.error('the server did not start');
  stop(state);
  process.exit(1);
}

const [mode, state, root] = process.argv.slice(2);
if (mode === 'serve') {
  const [servedRoot, urlFile] = process.argv.slice(3);
  serve(servedRoot, urlFile);
} else if (mode === 'start' && state && root) {
  start(state, root);
} else if (mode === 'stop' && state) {
  stop(state);
} else {
  console.error('usage: site_server.js start STATE-DIR ROOT | stop STATE-DIR');
  process.exit(2);
}
