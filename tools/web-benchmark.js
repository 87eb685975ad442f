#!/usr/bin/env node
// The browser build's size and speed beside the desktop program's, on this
// machine in one run (a measurement, not a test):
//   node tools/web-benchmark.js [LOADS]      (20 by default)
// after `cmake --workflow --preset web`, `cmake --build --preset default`
// and `npm ci`; it needs Xvfb and xwininfo (packages xvfb, x11-utils).
// It prints
//   - the page's transfer size with gzip (every file of build-web/site);
//   - over LOADS loads in headless Chromium, each in a fresh browser, the
//     median time from navigation to the first prompt shown, and from the
//     README example's last answer to the first frame drawn;
//   - the median time of the desktop program under Xvfb from its start, with
//     the README's answers on standard input, until its window is viewable.
'use strict';
const { spawn, spawnSync } = require('child_process');
const fs = require('fs');
const http = require('http');
const path = require('path');
const zlib = require('zlib');
const { openTab } = require('../tests/web/engines.js');

const root = path.resolve(__dirname, '..');
const site = path.join(root, 'build-web', 'site');
const nativeProgram = path.join(root, 'build-default', 'billiard', 'bilijar');
const loads = Number(process.argv[2] || 20);
const answers = ['10', '5', '2', '1', '1', '1', '1']; // the README example's

const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  const middle = Math.floor(sorted.length / 2);
  return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

function transferSize() {
  let total = 0;
  for (const name of fs.readdirSync(site)) {
    const gzipped = zlib.gzipSync(fs.readFileSync(path.join(site, name)), { level: 9 }).length;
    console.log(`  ${name}: ${gzipped} bytes gzip`);
    total += gzipped;
  }
  return total;
}

async function browserTimes() {
  const server = http.createServer(require('sirv')(site, { dev: true }));
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  const url = `http://127.0.0.1:${server.address().port}/`;
  const toPrompt = [];
  const afterHtml = [];
  const toFrame = [];
  const waitFor = async (tab, expression) => {
    while (!(await tab.evaluate(expression))) await sleep(5);
  };
  try {
    for (let i = 0; i < loads; i++) {
      const tab = await openTab('chromium'); // nothing cached
      try {
        await tab.goto(url);
        const waitForRead = () => waitFor(tab, 'window.bilijarPage && window.bilijarPage.run.waitingRead !== null');
        await waitForRead();
        // performance.now() counts from the navigation's start.
        toPrompt.push(await tab.evaluate('window.bilijarPage.run.firstPromptAt'));
        // The part after the HTML has arrived: scripts, WebAssembly, main.
        afterHtml.push(await tab.evaluate(
          "window.bilijarPage.run.firstPromptAt - performance.getEntriesByType('navigation')[0].responseEnd"));
        for (const text of answers) {
          await waitForRead();
          await tab.type(text);
          await tab.press('Enter');
        }
        await waitFor(tab, 'window.bilijarPage.run.firstFrameAt !== null');
        toFrame.push(await tab.evaluate('window.bilijarPage.run.firstFrameAt - window.bilijarPage.run.lastAnswerAt'));
      } finally {
        await tab.close();
      }
    }
  } finally {
    server.close();
  }
  return { toPrompt, afterHtml, toFrame };
}

async function nativeTimes() {
  const xvfb = spawn('Xvfb', ['-displayfd', '3', '-noreset', '-screen', '0', '1280x1024x24', '-nolisten', 'tcp'],
    { stdio: ['ignore', 'ignore', 'ignore', 'pipe'] });
  const display = await new Promise((resolve) => xvfb.stdio[3].once('data', (d) => resolve(`:${String(d).trim()}`)));
  const env = { ...process.env, DISPLAY: display };
  const times = [];
  try {
    for (let i = 0; i < loads; i++) {
      const started = process.hrtime.bigint();
      const program = spawn(nativeProgram, [], { env, stdio: ['pipe', 'ignore', 'ignore'] });
      program.stdin.end(answers.join('\n') + '\n');
      for (;;) {
        const info = spawnSync('xwininfo', ['-name', 'Bilijar - prikaz'], { env, encoding: 'utf8' });
        if (/Map State: IsViewable/.test(info.stdout || '')) {
          break;
        }
        await sleep(2);
      }
      times.push(Number(process.hrtime.bigint() - started) / 1e6);
      program.kill();
      await new Promise((resolve) => program.once('exit', resolve));
    }
  } finally {
    xvfb.kill();
  }
  return times;
}

async function main() {
  console.log('The page\'s files:');
  const size = transferSize();
  console.log(`transfer size, gzip: ${(size / 1024).toFixed(1)} kB (at most 100 kB)`);
  const { toPrompt, afterHtml, toFrame } = await browserTimes();
  const native = median(await nativeTimes());
  const line = (what, values) => {
    const m = median(values);
    console.log(`${what}: median ${m.toFixed(0)} ms of ${loads}, ${(m / native).toFixed(2)} x native (at most 1.5)`);
  };
  console.log(`native under Xvfb, start to viewable window: median ${native.toFixed(0)} ms of ${loads}`);
  line('browser, navigation to first prompt', toPrompt);
  line('  of it after the HTML arrived', afterHtml);
  line('browser, last answer to first frame', toFrame);
}

main().catch((error) => {
  console.error(error.stack || String(error));
  process.exit(1);
});
