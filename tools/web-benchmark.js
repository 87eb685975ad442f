#!/usr/bin/env node
// The browser build's size and speed beside the desktop program's, on this
// machine in one run (a measurement, not a test):
//   node tools/web-benchmark.js [--pace=MS] [LOADS] [ENGINE...]
// (10 loads, every engine; answers typed as fast as the driver can, or MS
// milliseconds apart, as a person types them, with --pace)
// after `cmake --workflow --preset web`, `cmake --build --preset default`
// and `npm ci`; it needs Xvfb and xwininfo (packages xvfb, x11-utils).
// It prints
//   - the page's transfer size with gzip (every file of build-web/site);
//   - for each engine, over LOADS loads, each in a fresh browser, the median
//     time from navigation to the first prompt shown, and for the README
//     example and a 98-bounce dialogue the median time from the last answer
//     to the first frame drawn; in Chromium also the longest task of the
//     page during the dialogues (its long-task entries, over 50 ms), over
//     all loads and the median of each load's longest;
//   - the median time of the desktop program under Xvfb from its start, with
//     the same answers on standard input, until its window is viewable.
// Firefox and WebKit draw on the same Xvfb as the desktop program.
'use strict';
const { spawn, spawnSync } = require('child_process');
const fs = require('fs');
const http = require('http');
const path = require('path');
const zlib = require('zlib');
const { engines, missing, openTab } = require('../tests/web/engines.js');

const root = path.resolve(__dirname, '..');
const site = path.join(root, 'build-web', 'site');
const nativeProgram = path.join(root, 'build-default', 'billiard', 'bilijar');
const paceOption = process.argv.slice(2).find((word) => word.startsWith('--pace='));
const words = process.argv.slice(2).filter((word) => word !== paceOption);
const pace = paceOption ? Number(paceOption.slice('--pace='.length)) : 0;
const loads = Number(words[0] || 10);
const chosen = words.length > 1 ? words.slice(1) : engines;
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

// Long tasks from now on, in Chromium (the other engines have no such entries).
const observeLongTasks = `(() => {
  if (!(PerformanceObserver.supportedEntryTypes || []).includes('longtask')) {
    window.longestTask = null;
    return true;
  }
  window.longestTask = 0;
  new PerformanceObserver((list) => {
    for (const entry of list.getEntries()) window.longestTask = Math.max(window.longestTask, entry.duration);
  }).observe({ type: 'longtask' });
  return true;
})()`;

async function browserTimes(engine, url) {
  const toPrompt = [];
  const toFrame = Object.fromEntries(Object.keys(dialogues).map((name) => [name, []]));
  const longestTasks = [];
  const waitFor = async (tab, expression) => {
    while (!(await tab.evaluate(expression))) await sleep(5);
  };
  for (let i = 0; i < loads; i++) {
    const tab = await openTab(engine); // nothing cached
    try {
      await tab.goto(url);
      const waitForRead = () => waitFor(tab, 'window.bilijarPage && window.bilijarPage.run.waitingRead !== null');
      await waitForRead();
      // performance.now() counts from the navigation's start.
      toPrompt.push(await tab.evaluate('window.bilijarPage.run.firstPromptAt'));
      await tab.evaluate(observeLongTasks);
      let first = true;
      for (const [name, answers] of Object.entries(dialogues)) {
        if (!first) {
          await tab.click('#new-run');
          await waitForRead();
        }
        first = false;
        for (const text of answers) {
          await waitForRead();
          await tab.type(text);
          await tab.press('Enter');
          if (pace > 0) await sleep(pace);
        }
        await waitFor(tab, 'window.bilijarPage.run.firstFrameAt !== null');
        toFrame[name].push(await tab.evaluate(
          'window.bilijarPage.run.firstFrameAt - window.bilijarPage.run.lastAnswerAt'));
      }
      await sleep(100); // long-task entries arrive after their task
      const longest = await tab.evaluate('window.longestTask');
      if (longest !== null) longestTasks.push(longest);
    } finally {
      await tab.close();
    }
  }
  return { toPrompt, toFrame, longestTasks };
}

async function nativeTimes(env, answers) {
  const times = [];
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
  return times;
}

async function main() {
  console.log('The page\'s files:');
  const size = transferSize();
  console.log(`transfer size, gzip: ${(size / 1024).toFixed(1)} kB (at most 100 kB)`);
  const xvfb = spawn('Xvfb', ['-displayfd', '3', '-noreset', '-screen', '0', '1920x2200x24', '-nolisten', 'tcp'],
    { stdio: ['ignore', 'ignore', 'ignore', 'pipe'] });
  const server = http.createServer(require('sirv')(site, { dev: true }));
  try {
    process.env.DISPLAY = await new Promise((resolve) =>
      xvfb.stdio[3].once('data', (d) => resolve(`:${String(d).trim()}`)));
    await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
    const url = `http://127.0.0.1:${server.address().port}/`;
    const native = {};
    for (const [name, answers] of Object.entries(dialogues)) {
      native[name] = median(await nativeTimes(process.env, answers));
      console.log(`native under Xvfb, ${name}, start to viewable window: median ${native[name].toFixed(0)} ms`);
    }
    const line = (what, values, reference) => {
      const m = median(values);
      console.log(`  ${what}: median ${m.toFixed(0)} ms of ${loads}, ${(m / reference).toFixed(2)} x native ` +
        '(at most 1.5)');
    };
    console.log(pace > 0 ? `answers typed ${pace} ms apart` : 'answers typed as fast as the driver can');
    for (const engine of chosen) {
      const why = missing(engine);
      if (why) {
        console.log(`${engine}: skipped: ${why}`);
        continue;
      }
      const { toPrompt, toFrame, longestTasks } = await browserTimes(engine, url);
      console.log(`${engine}:`);
      line('navigation to first prompt', toPrompt, native['README example']);
      for (const name of Object.keys(dialogues)) {
        line(`${name}, last answer to first frame`, toFrame[name], native[name]);
      }
      if (longestTasks.length > 0) {
        console.log(`  longest task during the dialogues: ${Math.max(...longestTasks).toFixed(0)} ms (at most 100); ` +
          `in each load: median ${median(longestTasks).toFixed(0)} ms, ` +
          `over 100 ms in ${longestTasks.filter((ms) => ms > 100).length} of ${longestTasks.length}`);
      }
    }
  } finally {
    server.close();
    xvfb.kill();
  }
}

main().catch((error) => {
  console.error(error.stack || String(error));
  process.exit(1);
});
