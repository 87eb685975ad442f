#!/usr/bin/env node
// The browser build's size and speed beside the desktop program's, on this
// machine in one run (a measurement, not a test):
//   node tools/web-benchmark.js [LOADS]      (20 by default)
// after `cmake --workflow --preset web`, `cmake --build --preset default`
// and `npm ci`; it needs Xvfb and xwininfo (packages xvfb, x11-utils).
// It prints
//   - the page's transfer size with gzip (every file of build-web/site);
//   - over LOADS loads in headless Chromium, each in a fresh context, the
//     median time from navigation to the first prompt shown, and for the
//     README example and a 98-bounce dialogue the median time from the last
//     answer to the first frame drawn, and the longest task of the page
//     during the dialogues (Chromium's long-task entries, over 50 ms);
//   - the median time of the desktop program under Xvfb from its start, with
//     the same answers on standard input, until its window is viewable.
'use strict';
const { spawn, spawnSync } = require('child_process');
const fs = require('fs');
const path = require('path');
const zlib = require('zlib');
const { launchChromium } = require('../tests/web/chromium.js');

const root = path.resolve(__dirname, '..');
const site = path.join(root, 'build-web', 'site');
const nativeProgram = path.join(root, 'build-default', 'billiard', 'bilijar');
const loads = Number(process.argv[2] || 20);
const dialogues = {
  'README example': ['10', '5', '2', '1', '1', '1', '1'],
  '98 bounces': ['7', '3', '1.5', '0.5', '0.37', '0.91', '98'],
};

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
  const state = fs.mkdtempSync('/tmp/bilijar-benchmark-');
  const server = path.join(root, 'tests', 'web', 'site_server.js');
  spawnSync(process.execPath, [server, 'start', state, path.join(root, 'build-web')], { stdio: 'inherit' });
  const browser = await launchChromium();
  const url = `${fs.readFileSync(path.join(state, 'url'), 'utf8')}site/`;
  const toPrompt = [];
  const afterHtml = [];
  const toFrame = Object.fromEntries(Object.keys(dialogues).map((name) => [name, []]));
  let longestTask = 0;
  try {
    for (let i = 0; i < loads; i++) {
      const context = await browser.newContext(); // nothing cached
      const page = await context.newPage();
      await page.addInitScript(() => {
        window.longestTask = 0;
        new PerformanceObserver((list) => {
          for (const entry of list.getEntries()) {
            window.longestTask = Math.max(window.longestTask, entry.duration);
          }
        }).observe({ type: 'longtask' });
      });
      await page.goto(url);
      const waitForRead = () => page.waitForFunction(
        () => window.bilijarPage && window.bilijarPage.run.waitingRead !== null, null, { polling: 5 });
      await waitForRead();
      // performance.now() counts from the navigation's start.
      toPrompt.push(await page.evaluate(() => window.bilijarPage.run.firstPromptAt));
      // The part after the HTML has arrived: scripts, WebAssembly, main.
      afterHtml.push(await page.evaluate(() =>
        window.bilijarPage.run.firstPromptAt - performance.getEntriesByType('navigation')[0].responseEnd));
      // The page's load is no part of a dialogue.
      await page.evaluate(() => { window.longestTask = 0; });
      for (const [name, answers] of Object.entries(dialogues)) {
        if (name !== Object.keys(dialogues)[0]) {
          await page.click('#new-run');
          await waitForRead();
        }
        for (const text of answers) {
          await waitForRead();
          await page.locator('#input').pressSequentially(text);
          await page.keyboard.press('Enter');
        }
        await page.waitForFunction(() => window.bilijarPage.run.firstFrameAt !== null, null, { polling: 5 });
        toFrame[name].push(await page.evaluate(() =>
          window.bilijarPage.run.firstFrameAt - window.bilijarPage.run.lastAnswerAt));
      }
      // Long-task entries arrive after their task.
      await page.evaluate(() => new Promise((resolve) => setTimeout(resolve, 100)));
      longestTask = Math.max(longestTask, await page.evaluate(() => window.longestTask));
      await context.close();
    }
  } finally {
    await browser.close();
    spawnSync(process.execPath, [server, 'stop', state], { stdio: 'inherit' });
  }
  return { toPrompt, afterHtml, toFrame, longestTask };
}

async function nativeTimes(answers) {
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
  const { toPrompt, afterHtml, toFrame, longestTask } = await browserTimes();
  const line = (what, values, native) => {
    const m = median(values);
    console.log(`${what}: median ${m.toFixed(0)} ms of ${loads}, ${(m / native).toFixed(2)} x native (at most 1.5)`);
  };
  let first = true;
  for (const [name, answers] of Object.entries(dialogues)) {
    const native = median(await nativeTimes(answers));
    console.log(`${name}: native under Xvfb, start to viewable window: median ${native.toFixed(0)} ms`);
    if (first) {
      line('  browser, navigation to first prompt', toPrompt, native);
      line('    of it after the HTML arrived', afterHtml, native);
      first = false;
    }
    line('  browser, last answer to first frame', toFrame[name], native);
  }
  console.log(`browser, longest task during the dialogues: ${longestTask.toFixed(0)} ms (at most 100)`);
}

main().catch((error) => {
  console.error(error.stack || String(error));
  process.exit(1);
});
