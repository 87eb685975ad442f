// The page in three browser engines (engines.js), one case at a time:
//   node browser_test.js CASE.ENGINE      run one case; ctest names it Browser.CASE.ENGINE
//   node browser_test.js --list           every CASE.ENGINE, for CMake
// with BILIJAR_BUILD (the web build's tree, which holds site/, the picture
// check and tests/web/glu_check.html) in the environment, and DISPLAY or
// BILIJAR_DISPLAY_FILE (the X fixture's) for Firefox and WebKit. The site is
// served from the build tree on 127.0.0.1 by sirv for the case's length; an
// engine that is not installed skips with the reason, except under CI (CI
// set), which installs all three.
'use strict';
const assert = require('assert/strict');
const { spawnSync } = require('child_process');
const fs = require('fs');
const http = require('http');
const path = require('path');
const { pathToFileURL } = require('url');

const build = process.env.BILIJAR_BUILD;
const consoleTests = path.resolve(__dirname, '..', 'console');
const readmeTrace = fs.readFileSync(path.join(consoleTests, 'readme_example.txt'));
const readmeAnswers = ['10', '5', '2', '1', '1', '1', '1'];
const run = (expression) => `window.bilijarPage.run.${expression}`;
const byId = (id) => `document.getElementById('${id}')`;
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// ---- What the cases do on a tab ----

async function waitFor(tab, expression, what, seconds = 20) {
  const end = Date.now() + seconds * 1000;
  while (!(await tab.evaluate(expression))) {
    if (Date.now() > end) {
      const shown = await tab.evaluate(`${byId('output')}.textContent.slice(-300)`);
      throw new Error(`timed out waiting for ${what}; the console ends:\n${shown}`);
    }
    await sleep(20);
  }
}
const prompt = (tab) => waitFor(tab, `window.bilijarPage && ${run('waitingRead')} !== null`, 'a prompt');
const firstFrame = (tab, seconds) => waitFor(tab, `${run('firstFrameAt')} !== null`, 'the first frame', seconds);
async function programEnd(tab) {
  await waitFor(tab, `${run('status')} !== null`, 'the end of the program');
  return tab.evaluate(run('status'));
}

// Waits for each prompt and types its answer, as a user does.
async function answer(tab, answers) {
  for (const text of answers) {
    await prompt(tab);
    await tab.evaluate(`${byId('input')}.focus()`);
    await tab.type(text);
    await tab.press('Enter');
  }
}

// Standard output's bytes.
async function stdout(tab) {
  return Buffer.from(await tab.evaluate(`${run('stdout')}.map((b) => String.fromCharCode(b)).join('')`), 'latin1');
}

// Pastes text into the input line, as the clipboard would.
async function paste(tab, text) {
  await prompt(tab);
  await tab.evaluate(`(() => {
    const input = ${byId('input')};
    input.focus();
    const data = new DataTransfer();
    data.setData('text/plain', ${JSON.stringify(text)});
    // Firefox leaves out the clipboard data given to a page's own event.
    const event = new ClipboardEvent('paste', { bubbles: true, cancelable: true });
    Object.defineProperty(event, 'clipboardData', { value: data });
    input.dispatchEvent(event);
  })()`);
}

// A whole run: the answers pasted as lines at once, then its first frame.
async function pastedRun(tab, answers = readmeAnswers) {
  await paste(tab, answers.map((text) => `${text}\n`).join(''));
  await firstFrame(tab);
}

const canvasSize = (tab) => tab.evaluate(`(() => { const c = ${run('canvas')};
  const box = c.getBoundingClientRect();
  return { width: c.width, height: c.height, cssWidth: box.width, cssHeight: box.height }; })()`);

// The canvas's device pixels, from a screenshot of the page where the tall
// viewport shows it whole, unscrolled.
async function canvasPicture(tab) {
  await tab.evaluate('new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve)))');
  const { PNG } = require('pngjs');
  const page = PNG.sync.read(await tab.screenshot());
  const [left, top, width, height] = await tab.evaluate(`(() => { const c = ${run('canvas')};
    const r = c.getBoundingClientRect();
    return scrollY === 0 && [r.left, r.top].map((v) => Math.round(v * devicePixelRatio)).concat([c.width, c.height]); })()`);
  const canvas = new PNG({ width, height });
  PNG.bitblt(page, canvas, left, top, width, height, 0, 0);
  return canvas;
}

// Emscripten's loader under Node, as the build's emulator runs it (without
// Node's fetch, which would send it down the browser's path); a check that
// cannot be started fails the test with the reason.
function pictureCheck(args) {
  const check = spawnSync(process.execPath,
    ['--no-experimental-fetch', path.join(build, 'tests', 'web', 'picture_check.js'), ...args], { encoding: 'utf8' });
  if (check.error) {
    throw check.error;
  }
  return check;
}

// A picture (a PNG image) checked by the window tests' own check
// (picture_check, built from their table) for the case row and shape of that
// table; the picture is kept as a PPM beside the test's output. Returns the
// failures.
function pictureFailures(picture, row, width, height, scale = 1) {
  const dir = path.join(build, 'tests', 'web', 'screenshots');
  fs.mkdirSync(dir, { recursive: true });
  const file = path.join(dir, `${process.argv[2]}-${row}-${width}x${height}.ppm`);
  const rgb = picture.data.filter((_, i) => i % 4 !== 3);
  fs.writeFileSync(file, Buffer.concat([Buffer.from(`P6\n${picture.width} ${picture.height}\n255\n`), rgb]));
  const check = pictureCheck([row, String(width), String(height), String(scale), file]);
  return check.status === 0 ? [] : [`${file}: ${check.stdout}${check.stderr}`];
}
const checkPicture = async (tab, row, width, height, scale) =>
  pictureFailures(await canvasPicture(tab), row, width, height, scale);
// The canvas at 640x480 is the row's picture.
const expectPicture = async (tab, row = 'table10x5', scale = 1) =>
  assert.deepEqual(await checkPicture(tab, row, 640, 480, scale), []);

// The window tests' scenes, as the picture check lists them: a line each
// with the row's name, its shapes (640x480,300x700) and its answers.
function pictureTable() {
  const listed = pictureCheck(['--list']);
  assert.equal(listed.status, 0, listed.stderr);
  return listed.stdout.trim().split('\n').map((line) => line.split(/\s+/));
}

// Where the element with this id is on the page, in CSS pixels.
const box = (tab, id) => tab.evaluate(`${byId(id)}.getBoundingClientRect().toJSON()`);

// Drags the window's corner handle, with the mouse or a finger, until the
// canvas is width by height.
async function dragToSize(tab, width, height, pointer = 'mouse') {
  const size = await canvasSize(tab);
  const { x, y, width: w, height: h } = await box(tab, 'resize-handle');
  const handle = { x: x + w / 2, y: y + h / 2 };
  await tab.drag(pointer, handle, { x: handle.x + width - size.width, y: handle.y + height - size.height });
  await waitFor(tab, `${run('canvas')}.width === ${width} && ${run('canvas')}.height === ${height}`,
    `a ${width}x${height} canvas`);
}

// Where on the page the program's trace and window are, with nothing else.
async function readmeRun(tab) {
  await answer(tab, readmeAnswers);
  await firstFrame(tab);
  assert.deepEqual(await stdout(tab), readmeTrace, 'standard output is the README example byte for byte');
  assert.equal(await tab.evaluate(run('stderr')), '');
}

// The files the page saves: what its next download would be, as
// {name, bytes}, taken from the page (no engine's downloads are needed).
async function savedFile(tab, button) {
  await tab.evaluate(`(() => { window.savedFile = null;
    const makeUrl = URL.createObjectURL;
    URL.createObjectURL = (blob) => { window.savedBlob = blob; return makeUrl(blob); };
    HTMLAnchorElement.prototype.click = function () {
      window.savedBlob.arrayBuffer().then((b) => { window.savedFile = { name: this.download,
        bytes: [...new Uint8Array(b)].map((c) => String.fromCharCode(c)).join('') }; });
    }; })()`);
  await tab.click(button);
  await waitFor(tab, 'window.savedFile', `the file of ${button}`);
  const file = await tab.evaluate('window.savedFile');
  return { name: file.name, bytes: Buffer.from(file.bytes, 'latin1') };
}

async function closeWindow(tab) {
  await tab.click('#close');
  assert.equal(await programEnd(tab), 0, 'closing the window ends the program with status 0');
}

// After a=10, pressing the end of input ends the program: the message on
// standard error, set apart, status 1 and no window.
async function endsInput(tab, press) {
  await answer(tab, ['10']);
  await prompt(tab);
  await press();
  assert.equal(await programEnd(tab), 1);
  assert.equal(await tab.evaluate(run('stderr')), 'Unos je prekinut pre kraja dijaloga.\n');
  assert.ok(await tab.evaluate("document.querySelectorAll('#output .stderr').length > 0"),
    'standard error is set apart');
  assert.match((await stdout(tab)).toString(), /^Unesite dimenzije pravougaonika:\na=b=/);
  assert.ok(await tab.evaluate(`${byId('window')}.hidden`), 'no window');
}

// The picture's text alternative.
const pictureLabel = (tab) => tab.evaluate(`${byId('canvas-slot')}.getAttribute('aria-label')`);

// axe-core's violations on the page as it is now.
async function accessibilityViolations(tab) {
  await tab.evaluate(`(() => { ${fs.readFileSync(require.resolve('axe-core/axe.min.js'), 'utf8')}; })()`);
  return tab.evaluate('axe.run(document).then((r) => r.violations.map((v) => `${v.id}: ${v.help}`))');
}

// ---- The cases ----
// Each is a row: the tab it needs (scale, webgl, page: 'file' for the site
// opened from its folder, or a path below the build tree), the engines it is
// checked in (all if not named), and what it does and expects.

const cases = {
  // The README's dialogue typed answer by answer: its trace byte for byte,
  // its picture, and the close button ending the run with status 0.
  readmeDialogue: { async run(tab) {
    await readmeRun(tab);
    assert.equal(await tab.evaluate("document.querySelector('#window .title').textContent"), 'Bilijar - prikaz');
    await expectPicture(tab);
    await closeWindow(tab);
    assert.ok(await tab.evaluate(`${byId('window')}.hidden`), 'the window is gone');
    assert.match(await tab.evaluate(`${byId('output')}.textContent`), /Kraj rada programa, izlazni status 0/);
    assert.ok(await tab.evaluate(`${byId('input')}.disabled`), 'no more input after the end');
  } },

  // 98 bounces: the trace is the native program's (kept beside the README's)
  // and the page keeps drawing its frames while the trace is written.
  longDialogue: { async run(tab) {
    await answer(tab, ['7', '3', '1.5', '0.5', '0.37', '0.91']);
    await prompt(tab);
    await tab.evaluate(`(() => { window.longestFrameGap = 0; let last = performance.now();
      const tick = (now) => { window.longestFrameGap = Math.max(window.longestFrameGap, now - last);
        last = now; if (${run('firstFrameAt')} === null) requestAnimationFrame(tick); };
      requestAnimationFrame(tick); })()`);
    await tab.type('98');
    await tab.press('Enter');
    await firstFrame(tab, 60);
    assert.deepEqual(await stdout(tab), fs.readFileSync(path.join(consoleTests, 'bounces98_example.txt')),
      'the native trace');
    const gap = await tab.evaluate('window.longestFrameGap');
    assert.ok(gap < 1000, `the page stood still for ${Math.round(gap)} ms while the trace was written`);
  } },

  // Several lines pasted at once answer several prompts.
  pastedLines: { async run(tab) {
    await paste(tab, '10\r\n5\n2\n1\n1\n1\n');
    await answer(tab, ['1']);
    await firstFrame(tab);
    assert.deepEqual(await stdout(tab), readmeTrace);
  } },

  // A token that is not a number is reported and asked for again; Backspace
  // edits the line before it is sent.
  badTokenAskedAgain: { async run(tab) {
    await answer(tab, ['abc']);
    await prompt(tab);
    assert.match((await stdout(tab)).toString(), /^Unesite dimenzije pravougaonika:\na=[^]+\na=$/,
      'reported, and a= is asked again');
    await tab.type('1x');
    await tab.evaluate(`${byId('input')}.dispatchEvent(new KeyboardEvent('keydown',
      { key: 'Enter', code: 'Enter', isComposing: true, bubbles: true, cancelable: true }))`);
    assert.equal(await tab.evaluate(`${byId('input')}.value`), '1x', 'Enter while composing is the input method\'s');
    await tab.press('Backspace');
    await tab.type('0');
    await tab.press('Enter');
    await prompt(tab);
    assert.ok((await stdout(tab)).toString().endsWith('\na=b='), '10 was taken');
  } },

  // Ctrl-D on an empty line ends the input.
  earlyEndOfInput: { run: (tab) => endsInput(tab, () => tab.press('Control+d')) },

  // Ctrl-D is the D key wherever it is and whatever it types: here on a
  // Serbian Cyrillic layout, where it types 'д'.
  endOfInputOnCyrillicLayout: { run: (tab) => endsInput(tab, () => tab.evaluate(`${byId('input')}.dispatchEvent(
    new KeyboardEvent('keydown', { key: 'д', code: 'KeyD', ctrlKey: true, bubbles: true, cancelable: true }))`)) },

  // A new run is a fresh program with a fresh scene: after the README's
  // table, a rejected start point is drawn alone.
  newRunIsFresh: { async run(tab) {
    await pastedRun(tab);
    await tab.click('#new-run');
    assert.doesNotMatch(await tab.evaluate(`${byId('output')}.textContent`), /=10/, 'the console starts afresh');
    await pastedRun(tab, ['10', '5', '12', '3', '1', '1', '1']);
    assert.match((await stdout(tab)).toString(), /^Unesite dimenzije pravougaonika:\n/);
    await expectPicture(tab, 'rejectedStartPoint');
    assert.equal(await pictureLabel(tab), 'Prikaz bez stola.');
  } },

  // A page narrower than the window cuts it down, as a desktop cuts a
  // window to its screen; the arrow keys on the handle resize it, never
  // beyond the page's room.
  narrowPage: { async run(tab) {
    await tab.resize(400, 800);
    await pastedRun(tab);
    const inView = () => tab.evaluate(
      `${byId('window')}.getBoundingClientRect().right <= document.documentElement.clientWidth`);
    const cut = (await canvasSize(tab)).width;
    assert.ok(cut < 640, 'the window is cut down to the page');
    assert.ok(await inView(), 'the whole window, its close button and handle, is in view');
    await tab.evaluate(`${byId('resize-handle')}.focus()`);
    await tab.press('ArrowLeft');
    // (10 pixels narrower, and less where a scrollbar takes room meanwhile)
    await waitFor(tab, `${run('canvas')}.width <= ${cut - 10}`, 'a narrower window', 5);
    await tab.press('Shift+ArrowRight');
    await sleep(200);
    assert.ok((await canvasSize(tab)).width <= cut, 'no wider than the page');
    assert.ok(await inView());
    await closeWindow(tab);
    assert.equal(await tab.evaluate('document.activeElement.id'), 'new-run', 'the next step has the focus');
  } },

  // The window tests' table on the canvas: every scene at every shape, the
  // later shapes reached by dragging the corner with the mouse.
  pictures: { async run(tab) {
    const failures = [];
    for (const [row, shapes, ...answers] of pictureTable()) {
      await tab.click('#new-run');
      await pastedRun(tab, answers);
      for (const [width, height] of shapes.split(',').map((shape) => shape.split('x').map(Number))) {
        await dragToSize(tab, width, height);
        failures.push(...await checkPicture(tab, row, width, height));
      }
    }
    assert.deepEqual(failures, []);
  } },

  // Opened from its folder (file://), as from an unzipped download: the
  // same trace and picture as from a server.
  openedFromFile: { page: 'file', async run(tab) {
    await readmeRun(tab);
    await expectPicture(tab);
  } },

  // Without WebGL the trace stays, the program says on standard error that
  // the window cannot be shown, and ends with status 1. Without its
  // program the page says that it could not start one.
  withoutWebGL: { webgl: false, async run(tab) {
    assert.ok(!(await tab.evaluate("document.createElement('canvas').getContext('webgl')")), 'WebGL is off');
    await answer(tab, readmeAnswers);
    assert.equal(await programEnd(tab), 1, 'status 1, as the desktop program without a display');
    assert.deepEqual(await stdout(tab), readmeTrace);
    const stderr = await tab.evaluate(run('stderr'));
    assert.ok(stderr.length > 0 && !/Error/.test(stderr), `a message of the program's own: ${stderr}`);
    assert.ok(await tab.evaluate(`${byId('input')}.disabled`), 'no more input after the end');
    // A program that cannot be loaded at all (bilijar.js's loader gone) is
    // not started, and says so.
    await tab.evaluate('(createBilijar = undefined, true)');
    await tab.click('#new-run');
    assert.equal(await programEnd(tab), -1);
    assert.deepEqual(await tab.evaluate(`[${byId('status')}.textContent, ${byId('input')}.disabled]`),
      ['Program nije pokrenut.', true]);
  } },

  // At two device pixels to a CSS pixel the canvas has twice the pixels and
  // the picture is the same, scaled; at one again, it has one.
  doubleDensity: { scale: 2, async run(tab) {
    assert.equal(await tab.evaluate('devicePixelRatio'), 2);
    await readmeRun(tab);
    const size = await canvasSize(tab);
    assert.deepEqual([size.width, size.height], [size.cssWidth * 2, size.cssHeight * 2],
      'the canvas has device pixels');
    await expectPicture(tab, 'table10x5', 2);
    // Zoomed out, or moved to a screen of one pixel a CSS pixel: the canvas
    // follows, with the same CSS size.
    if (tab.rescale) {
      await tab.rescale(1);
      await waitFor(tab, `${run('canvas')}.width === ${size.cssWidth}`, 'a canvas of one pixel a CSS pixel');
      await expectPicture(tab);
    }
  } },

  // Three runs in a row, each closed: every run takes away the listeners it
  // added to the window and the document.
  runsLeaveNothingBehind: { async run(tab) {
    // Each listener with the targets, types and phases it is added for.
    await tab.evaluate(`(() => { const live = window.liveListeners = new Map();
      for (const [name, target] of [['window', window], ['document', document]]) {
        const { addEventListener: add, removeEventListener: remove } = target;
        const key = (type, o) => name + ' ' + type + (o === true || (o && o.capture) ? ' capture' : '');
        target.addEventListener = function (type, listener, options) {
          (live.get(listener) || live.set(listener, new Set()).get(listener)).add(key(type, options));
          return add.call(this, type, listener, options);
        };
        target.removeEventListener = function (type, listener, options) {
          const keys = live.get(listener);
          if (keys && keys.delete(key(type, options)) && keys.size === 0) live.delete(listener);
          return remove.call(this, type, listener, options);
        };
      } })()`);
    const left = [];
    for (let i = 0; i < 3; i++) {
      await tab.click('#new-run');
      await pastedRun(tab);
      await closeWindow(tab);
      left.push(await tab.evaluate('[...window.liveListeners.values()].flatMap((keys) => [...keys]).join(", ")'));
      left.push(await tab.evaluate(`${run('canvas')}.getContext('webgl').isContextLost() ? '' : 'its WebGL context'`));
    }
    assert.deepEqual(left, ['', '', '', '', '', ''], 'listeners and context left behind by each run');
  } },

  // A finger swiping over the picture, then resizing the window by its
  // handle (a target of at least 24x24 CSS pixels), with nothing said in
  // the console meanwhile.
  touchResize: { async run(tab) {
    await pastedRun(tab);
    const before = (await tab.messages()).length;
    const { x, y, width, height } = await box(tab, 'resize-handle');
    assert.ok(width >= 24 && height >= 24, `a handle of ${width}x${height} CSS pixels is too small for a finger`);
    await tab.drag('touch', { x: x - 200, y: y - 150 }, { x: x - 300, y: y - 200 }); // a swipe over the picture
    await dragToSize(tab, 500, 400, 'touch');
    assert.deepEqual((await tab.messages()).slice(before), []);
  } },

  // A whole run, from the first prompt to the closed window, says nothing
  // in the browser's console.
  quietConsole: { async run(tab) {
    await readmeRun(tab);
    await closeWindow(tab);
    assert.deepEqual(await tab.messages(), []);
  } },

  // axe-core finds nothing before a run, during the dialogue and after the
  // picture, whose text alternative tells the table's size and the path's
  // legs.
  accessibility: { async run(tab) {
    await prompt(tab);
    assert.deepEqual(await accessibilityViolations(tab), [], 'before the run');
    await answer(tab, readmeAnswers.slice(0, 3));
    assert.deepEqual(await accessibilityViolations(tab), [], 'during the dialogue');
    await answer(tab, readmeAnswers.slice(3));
    await firstFrame(tab);
    assert.deepEqual(await accessibilityViolations(tab), [], 'after the picture');
    assert.equal(await pictureLabel(tab), 'Sto 10 x 5 i putanja kugle, broj deonica: 2.');
    // The widest table there is, its right wall at 2^31 as drawn.
    await tab.click('#new-run');
    await pastedRun(tab, ['2147483647', '5', '2', '1', '1', '1', '1']);
    assert.equal(await pictureLabel(tab), 'Sto 2147483648 x 5 i putanja kugle, broj deonica: 2.');
  } },

  // A run with a bad answer, a NaN and Ctrl-D (a piece without its newline,
  // then the end), replayed from its link in a fresh page: the same console,
  // trace, picture and status.
  linkReplay: { async run(tab, site) {
    await answer(tab, ['10', 'abc', '5', '2', '1', 'nan', '1']);
    await prompt(tab);
    await tab.type('1');
    await tab.press('Control+d');
    await tab.press('Control+d');
    await firstFrame(tab);
    const shown = `[${run('stdout')}, ${byId('output')}.textContent]`;
    const sent = await tab.evaluate(shown);
    const picture = (await canvasPicture(tab)).data;
    await tab.click('#copy-link');
    await waitFor(tab, `${byId('tool-note')}.textContent !== ''`, 'the link');
    const link = await tab.evaluate(`${byId('link')}.value`);
    assert.ok(link.startsWith(`${site.base}site/index.html#v1:`), link);
    await closeWindow(tab);
    await tab.goto('about:blank');
    await tab.goto(link);
    await firstFrame(tab);
    await waitFor(tab, `${run('replay')} === null`, 'the rest of the answers');
    assert.deepEqual(await tab.evaluate(shown), sent);
    assert.ok((await canvasPicture(tab)).data.equals(picture), 'the same picture');
    await closeWindow(tab);
  } },

  // A fragment that is not a link of ours (HTML, 100 kB, broken base64 or
  // UTF-8) types nothing: an ordinary run with a note, and nothing of it
  // in the page.
  foreignLinks: { async run(tab, site) {
    const base64 = (bytes) => Buffer.from(bytes).toString('base64url');
    for (const fragment of ['<img src=x onerror="document.title=1">', `v1:${'A'.repeat(100000)}`,
      'v1:@@@', `v1:${base64([0x7b, 0xff, 0xfe, 0x7d])}`, `v1:${base64('{"typed":["1\\n2\\n"],"end":true}')}`]) {
      await tab.goto('about:blank');
      await tab.goto(`${site.base}site/index.html#${fragment}`);
      await prompt(tab);
      assert.deepEqual(await tab.evaluate(`[${byId('output')}.textContent,
        document.querySelectorAll('#output :not(span)').length, ${run('typed')}.length, document.title]`),
      ['[Veza nije ispravna ili je duza od 4 kB: odgovori iz nje nisu uneti, program radi kao obicno.]\n' +
        'Unesite dimenzije pravougaonika:\na=', 0, 0, 'bilijar'], fragment.slice(0, 40));
    }
  } },

  // "Sacuvaj ispis" saves the bytes of standard output alone (the README
  // example, as `bilijar > trag.txt`), "Sacuvaj sliku" the window's picture.
  savedTraceAndPicture: { async run(tab) {
    await readmeRun(tab);
    const trace = await savedFile(tab, '#save-output');
    assert.equal(trace.name, 'trag.txt');
    assert.ok(trace.bytes.equals(readmeTrace), 'the saved trace is the README example byte for byte');
    const picture = await savedFile(tab, '#save-picture');
    assert.equal(picture.name, 'bilijar.png');
    assert.deepEqual(pictureFailures(require('pngjs').PNG.sync.read(picture.bytes), 'table10x5', 640, 480), []);
  } },

  // After one visit the page opens and runs with the server gone; a new
  // version on the server is in use after the next visit.
  offlineAndUpdated: { engines: ['chromium'], async run(tab, site) {
    const url = `${site.base}site/index.html`;
    await prompt(tab);
    await tab.evaluate('navigator.serviceWorker.ready.then(() => true)');
    const { installabilityErrors } = await tab.cdp('Page.getInstallabilityErrors');
    assert.deepEqual(installabilityErrors, [], 'Chromium finds the page installable');
    const [first] = await tab.evaluate('caches.keys()');
    site.offline = true;
    await tab.goto(url);
    await readmeRun(tab);
    site.offline = false;
    // A new build: page.css and, as the build writes it, the worker's version.
    fs.appendFileSync(path.join(site.dir, 'site', 'page.css'), '\n.new-version {}\n');
    const worker = path.join(site.dir, 'site', 'service-worker.js');
    fs.writeFileSync(worker, fs.readFileSync(worker, 'utf8').replace(/'[0-9a-f]{16}'/, "'0123456789abcdef'"));
    await tab.goto(url);
    await waitFor(tab, `caches.keys().then((names) => names.length === 1 && names[0] !== ${JSON.stringify(first)})`,
      'the new version alone in the cache');
    await tab.goto(url);
    await prompt(tab);
    assert.ok(await tab.evaluate("[...document.styleSheets].some((sheet) => [...sheet.cssRules].some((rule) => " +
      "rule.selectorText === '.new-version'))"), 'the new page.css is in use');
  } },

  // The reshape's projection, on which every picture depends, must be
  // GLU's; what Emscripten makes of the other two is reported.
  gluMatrices: { page: 'tests/web/glu_check.html', async run(tab) {
    await waitFor(tab, `${byId('result')}.textContent.includes('done')`, 'the check');
    const result = await tab.evaluate(`${byId('result')}.textContent`);
    console.log(result);
    assert.match(result, /gluPerspective after glLoadIdentity: same/);
  } },
};

async function main() {
  const { engines, missing, openTab } = require('./engines.js');
  if (process.argv[2] === '--list') {
    console.log(engines.flatMap((engine) => Object.keys(cases)
      .filter((name) => !cases[name].engines || cases[name].engines.includes(engine))
      .map((name) => `${name}.${engine}`)).join(';'));
    return;
  }
  const [name, engine] = String(process.argv[2]).split('.');
  const test = cases[name];
  if (!engines.includes(engine) || !test) {
    console.error(`usage: browser_test.js CASE.ENGINE, CASE one of ${Object.keys(cases).join('|')}, ` +
      `ENGINE one of ${engines.join('|')}`);
    process.exit(2);
  }
  if (process.env.BILIJAR_DISPLAY_FILE && fs.existsSync(process.env.BILIJAR_DISPLAY_FILE)) {
    process.env.DISPLAY = `:${fs.readFileSync(process.env.BILIJAR_DISPLAY_FILE, 'utf8').trim()}`;
  }
  const absent = missing(engine);
  if (absent && process.env.CI) {
    throw new Error(`CI installs every engine, but here ${absent}`);
  }
  const why = test.engines && !test.engines.includes(engine) ? `checked in ${test.engines.join(', ')} only` : absent;
  if (why) {
    console.log(`skipped: ${why}`);
    return;
  }
  // The site below the server's root, as a static host may serve it. A case
  // may take the server off the network (site.offline); a case that names
  // engines gets a copy of the site of its own to change (site.dir).
  const site = { offline: false, dir: build };
  if (test.engines) {
    site.dir = fs.mkdtempSync(path.join(require('os').tmpdir(), 'bilijar-site-'));
    fs.cpSync(path.join(build, 'site'), path.join(site.dir, 'site'), { recursive: true });
  }
  // A file that cannot be read fails its request alone, with the reason in
  // the test's output; sirv has answered a malformed path with 404.
  const serve = require('sirv')(site.dir, { dev: true });
  const server = http.createServer((request, response) => {
    const failed = (error) => {
      console.error(`cannot serve ${request.url}: ${error.message}`);
      response.headersSent ? response.destroy() : response.writeHead(500).end();
    };
    response.on('pipe', (file) => file.on('error', failed));
    try {
      site.offline ? request.socket.destroy() : serve(request, response);
    } catch (error) {
      failed(error);
    }
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  site.base = `http://127.0.0.1:${server.address().port}/`;
  const tab = await openTab(engine, { scale: test.scale || 1, webgl: test.webgl !== false });
  try {
    const page = test.page || 'site/index.html';
    await tab.goto(page === 'file' ? pathToFileURL(path.join(build, 'site', 'index.html')).href : site.base + page);
    await test.run(tab, site);
    // The page asks for nothing but its own files.
    const origin = page === 'file' ? 'file:' : site.base;
    assert.deepEqual(await tab.evaluate(`performance.getEntriesByType('resource').map((e) => e.name)
      .filter((url) => !url.startsWith(${JSON.stringify(origin)}) && !url.startsWith('data:'))`), []);
    console.log(`${name} in ${engine}: passed`);
  } finally {
    await tab.close();
    server.close();
    if (site.dir !== build) {
      fs.rmSync(site.dir, { recursive: true, force: true });
    }
  }
}

main().catch((error) => {
  console.error(error.stack || String(error));
  process.exit(1);
});
