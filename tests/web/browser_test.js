// The page in a real headless Chromium (Debian's, driven by playwright-core):
//   node browser_test.js TEST
// with BILIJAR_SITE_URL_FILE (the fixture's address file), BILIJAR_README_EXAMPLE,
// BILIJAR_WINDOW_CASES (the window tests' table as JSON) and
// BILIJAR_SCREENSHOTS in the environment. Each TEST is one ctest test.
'use strict';
const assert = require('assert/strict');
const fs = require('fs');
const path = require('path');
const zlib = require('zlib');
let launchChromium;
try {
  ({ launchChromium } = require('./chromium.js'));
} catch {
  console.error('playwright-core is missing: run npm ci in the source folder (it downloads no browser)');
  process.exit(1);
}

const env = (name) => {
  const value = process.env[name];
  if (!value) {
    throw new Error(`${name} is not set`);
  }
  return value;
};

async function openPage() {
  const browser = await launchChromium();
  const page = await browser.newPage({ viewport: { width: 1300, height: 2000 }, deviceScaleFactor: 1 });
  const base = fs.readFileSync(env('BILIJAR_SITE_URL_FILE'), 'utf8').trim();
  const foreign = [];
  page.on('request', (request) => {
    if (!request.url().startsWith(base) && !request.url().startsWith('data:')) {
      foreign.push(request.url());
    }
  });
  page.on('pageerror', (error) => console.log(`page error: ${error.message}`));
  // The site is served from a folder below the server's root, as a static
  // host may serve it.
  await page.goto(`${base}site/index.html`);
  return { browser, page, foreign };
}

const run = (page, expression) => page.evaluate(`window.bilijarPage.run.${expression}`);

function waitFor(page, predicate, what, timeout = 20000, arg = null) {
  return page.waitForFunction(predicate, arg, { timeout, polling: 20 }).catch(() => {
    throw new Error(`timed out waiting for ${what}`);
  });
}

// Waits until the program waits for input, then types one answer.
async function answer(page, text) {
  await waitFor(page, () => window.bilijarPage.run.waitingRead !== null, 'a prompt');
  await page.locator('#input').pressSequentially(text);
  await page.keyboard.press('Enter');
}

async function stdout(page) {
  return Buffer.from(await run(page, 'stdout'));
}

// Pastes text into the input line, as the clipboard would.
async function paste(page, text) {
  await page.locator('#input').focus();
  await page.evaluate((pasted) => {
    const data = new DataTransfer();
    data.setData('text/plain', pasted);
    const event = new ClipboardEvent('paste', { clipboardData: data, bubbles: true, cancelable: true });
    document.getElementById('input').dispatchEvent(event);
  }, text);
}

async function nextFrames(page) {
  await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve))));
}

async function waitForEnd(page) {
  await waitFor(page, () => window.bilijarPage.run.status !== null, 'the end of the program');
  return run(page, 'status');
}

// ---- The picture checks of the X window tests, on the canvas ----

function decodePng(png) {
  assert.equal(png.subarray(1, 4).toString(), 'PNG');
  let offset = 8;
  let width = 0;
  let height = 0;
  let channels = 0;
  const data = [];
  while (offset < png.length) {
    const length = png.readUInt32BE(offset);
    const type = png.subarray(offset + 4, offset + 8).toString();
    const body = png.subarray(offset + 8, offset + 8 + length);
    if (type === 'IHDR') {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      assert.equal(body[8], 8, '8 bits per channel');
      channels = { 2: 3, 6: 4 }[body[9]];
      assert.ok(channels && body[12] === 0, 'RGB or RGBA, not interlaced');
    } else if (type === 'IDAT') {
      data.push(body);
    }
    offset += 12 + length;
  }
  const raw = zlib.inflateSync(Buffer.concat(data));
  const stride = width * channels;
  const pixels = Buffer.alloc(height * stride);
  for (let y = 0; y < height; y++) {
    const filter = raw[y * (stride + 1)];
    for (let x = 0; x < stride; x++) {
      const value = raw[y * (stride + 1) + 1 + x];
      const left = x >= channels ? pixels[y * stride + x - channels] : 0;
      const up = y > 0 ? pixels[(y - 1) * stride + x] : 0;
      const upLeft = x >= channels && y > 0 ? pixels[(y - 1) * stride + x - channels] : 0;
      let predicted = 0;
      if (filter === 1) predicted = left;
      else if (filter === 2) predicted = up;
      else if (filter === 3) predicted = (left + up) >> 1;
      else if (filter === 4) {
        const p = left + up - upLeft;
        const [pa, pb, pc] = [Math.abs(p - left), Math.abs(p - up), Math.abs(p - upLeft)];
        predicted = pa <= pb && pa <= pc ? left : pb <= pc ? up : upLeft;
      }
      pixels[y * stride + x] = (value + predicted) & 0xff;
    }
  }
  const at = (x, y) => {
    const i = y * stride + x * channels;
    return [pixels[i], pixels[i + 1], pixels[i + 2]];
  };
  return { width, height, at };
}

// The window tests' table: the scenes, their colours and how near a colour
// must be.
const table = JSON.parse(fs.readFileSync(env('BILIJAR_WINDOW_CASES'), 'utf8'));
const { colours, pointReach } = table;
const near = (a, b) => a.every((v, i) => Math.abs(v - b[i]) <= table.colourTolerance);
// Where the camera puts things, to within a pixel.
const positionTolerance = 1;

function toPixel(c, shape, p) {
  return {
    x: shape.width / 2 + (p.x - c.cx) * shape.pixelsPerUnit,
    y: shape.height / 2 - (p.y - c.cy) * shape.pixelsPerUnit,
  };
}

function colourNear(image, at, colour) {
  for (let dy = -positionTolerance; dy <= positionTolerance; dy++) {
    for (let dx = -positionTolerance; dx <= positionTolerance; dx++) {
      const x = Math.floor(at.x) + dx;
      const y = Math.floor(at.y) + dy;
      if (x >= 0 && y >= 0 && x < image.width && y < image.height && near(image.at(x, y), colour)) {
        return true;
      }
    }
  }
  return false;
}

function extentOf(image, colour) {
  const e = { count: 0, left: Infinity, right: -Infinity, top: Infinity, bottom: -Infinity };
  for (let y = 0; y < image.height; y++) {
    for (let x = 0; x < image.width; x++) {
      if (near(image.at(x, y), colour)) {
        e.count++;
        e.left = Math.min(e.left, x);
        e.right = Math.max(e.right, x);
        e.top = Math.min(e.top, y);
        e.bottom = Math.max(e.bottom, y);
      }
    }
  }
  return e;
}

// Returns the failures of one picture, as the X window tests check it.
function checkPicture(c, shape, image) {
  const failures = [];
  const expect = (ok, what) => ok || failures.push(what);
  const within = (actual, expected, what) =>
    expect(Math.abs(actual - expected) <= positionTolerance,
      `${what}: at ${actual}, expected ${expected.toFixed(2)} within ${positionTolerance} pixel`);
  expect(image.width === shape.width && image.height === shape.height,
    `the canvas is ${image.width}x${image.height}`);
  let strange = 0;
  let edge = true;
  for (let y = 0; y < image.height; y++) {
    for (let x = 0; x < image.width; x++) {
      const pixel = image.at(x, y);
      if (!Object.values(colours).some((colour) => near(pixel, colour))) strange++;
      if ((x === 0 || y === 0 || x === image.width - 1 || y === image.height - 1) &&
          !near(pixel, colours.background)) edge = false;
    }
  }
  expect(strange === 0, `${strange} pixels are none of the background, black, red and blue`);
  expect(edge, 'something is drawn at the edge');
  expect(colourNear(image, toPixel(c, shape, c.start), colours.blue), 'blue start point');
  const walls = extentOf(image, colours.black);
  const pathExtent = extentOf(image, colours.red);
  if (!c.accepted) {
    expect(walls.count === 0 && pathExtent.count === 0, 'a rejected start point is drawn alone');
    const point = extentOf(image, colours.blue);
    expect(point.right - point.left <= 4 && point.bottom - point.top <= 4, 'one 4-pixel point');
    return failures;
  }
  const lowerLeft = toPixel(c, shape, { x: -0.01, y: -0.01 });
  const upperRight = toPixel(c, shape, { x: c.a + 0.01, y: c.b + 0.01 });
  if (walls.count === 0) {
    return failures.concat('no black walls');
  }
  // A 4-pixel point centred on x covers the pixels x - 2 to x + 1.
  within(walls.left, lowerLeft.x - pointReach, 'left wall');
  within(walls.right, upperRight.x + pointReach - 1, 'right wall');
  within(walls.top, upperRight.y - pointReach, 'top wall');
  within(walls.bottom, lowerLeft.y + pointReach - 1, 'bottom wall');
  if (c.checkPath) {
    expect(pathExtent.count > 0, 'red path');
    expect(colourNear(image, toPixel(c, shape, c.redSample), colours.red), 'red path where the camera puts it');
    expect(colourNear(image, toPixel(c, shape, c.firstLegMiddle), colours.blue), 'blue first leg');
  }
  return failures;
}

async function canvasImage(page, name) {
  await nextFrames(page);
  // The canvas's own pixels: its size, from where it starts on the page.
  const canvas = page.locator('#canvas-slot canvas');
  const box = await canvas.boundingBox();
  const size = await canvas.evaluate((c) => ({ width: c.width, height: c.height }));
  const png = await page.screenshot({
    clip: { x: Math.round(box.x), y: Math.round(box.y), width: size.width, height: size.height },
  });
  const dir = env('BILIJAR_SCREENSHOTS');
  fs.mkdirSync(dir, { recursive: true });
  fs.writeFileSync(path.join(dir, `${name}.png`), png);
  return decodePng(png);
}

// Drags the window's corner handle until the canvas is width by height.
async function dragToSize(page, width, height) {
  const canvas = page.locator('#canvas-slot canvas');
  const size = await canvas.evaluate((c) => ({ width: c.width, height: c.height }));
  const handle = await page.locator('#resize-handle').boundingBox();
  const x = handle.x + handle.width / 2;
  const y = handle.y + handle.height / 2;
  await page.mouse.move(x, y);
  await page.mouse.down();
  await page.mouse.move(x + (width - size.width) / 2, y + (height - size.height) / 2, { steps: 3 });
  await page.mouse.move(x + width - size.width, y + height - size.height, { steps: 3 });
  await page.mouse.up();
  await waitFor(page, `(() => { const c = document.querySelector('#canvas-slot canvas');
    return c.width === ${width} && c.height === ${height}; })()`, `a ${width}x${height} canvas`);
}

// ---- The tests ----

const readmeAnswers = ['10', '5', '2', '1', '1', '1', '1'];

const tests = {
  // The README's dialogue typed answer by answer: its trace byte for byte,
  // the window after it, and the close button ending the run with status 0.
  async readmeDialogue(page) {
    for (const text of readmeAnswers) {
      await answer(page, text);
    }
    await waitFor(page, () => window.bilijarPage.run.firstFrameAt !== null, 'the first frame');
    assert.deepEqual(await stdout(page), fs.readFileSync(env('BILIJAR_README_EXAMPLE')),
      'standard output is the README example byte for byte');
    assert.equal(await run(page, 'stderr'), '');
    assert.ok(await page.locator('#window').isVisible(), 'the window is shown after the trace');
    assert.equal(await page.locator('#window .title').textContent(), 'Bilijar - prikaz');
    await nextFrames(page);
    await page.screenshot({ path: path.join(env('BILIJAR_SCREENSHOTS'), 'readme-page.png'), fullPage: true });
    await page.click('#close');
    assert.equal(await waitForEnd(page), 0, 'closing the window ends the program with status 0');
    assert.ok(!(await page.locator('#window').isVisible()), 'the window is gone');
    assert.match(await page.locator('#output').textContent(), /Kraj rada programa, izlazni status 0/);
    assert.ok(await page.locator('#input').isDisabled(), 'no more input after the end');
  },

  // Several lines pasted at once answer several prompts.
  async pastedLines(page) {
    await waitFor(page, () => window.bilijarPage.run.waitingRead !== null, 'the first prompt');
    await paste(page, '10\r\n5\n2\n1\n1\n1\n');
    await page.locator('#input').pressSequentially('1');
    await page.keyboard.press('Enter');
    await waitFor(page, () => window.bilijarPage.run.firstFrameAt !== null, 'the first frame');
    assert.deepEqual(await stdout(page), fs.readFileSync(env('BILIJAR_README_EXAMPLE')));
  },

  // A token that is not a number is reported and asked for again; Backspace
  // edits the line before it is sent.
  async badTokenAskedAgain(page) {
    await answer(page, 'abc');
    await waitFor(page, () => window.bilijarPage.run.waitingRead !== null, 'the prompt again');
    const text = (await stdout(page)).toString();
    assert.match(text, /^Unesite dimenzije pravougaonika:\na=[^]+\na=$/, 'reported, and a= is asked again');
    await page.locator('#input').pressSequentially('1x');
    await page.keyboard.press('Backspace');
    await page.keyboard.press('0');
    await page.keyboard.press('Enter');
    await waitFor(page, () => window.bilijarPage.run.waitingRead !== null, 'the next prompt');
    assert.ok((await stdout(page)).toString().endsWith('\na=b='), '10 was taken');
  },

  // Ctrl-D on an empty line ends the input: the message on standard error,
  // status 1 and no window.
  async earlyEndOfInput(page) {
    await answer(page, '10');
    await waitFor(page, () => window.bilijarPage.run.waitingRead !== null, 'the prompt for b');
    await page.locator('#input').press('Control+d');
    assert.equal(await waitForEnd(page), 1);
    assert.equal(await run(page, 'stderr'), 'Unos je prekinut pre kraja dijaloga.\n');
    assert.ok(await page.locator('#output .stderr').count() > 0, 'standard error is set apart');
    assert.match((await stdout(page)).toString(), /^Unesite dimenzije pravougaonika:\na=b=/);
    assert.ok(!(await page.locator('#window').isVisible()), 'no window');
  },

  // A new run is a fresh program with a fresh scene: after the README's
  // table, a rejected start point is drawn alone.
  async newRunIsFresh(page) {
    await paste(page, readmeAnswers.join('\n') + '\n');
    await waitFor(page, () => window.bilijarPage.run.firstFrameAt !== null, 'the first frame');
    await page.click('#new-run');
    assert.doesNotMatch(await page.locator('#output').textContent(), /=10/, 'the console starts afresh');
    const rejected = table.cases.find((c) => c.name === 'rejectedStartPoint');
    await waitFor(page, () => window.bilijarPage.run.waitingRead !== null, 'the first prompt');
    await paste(page, rejected.input);
    await waitFor(page, () => window.bilijarPage.run.firstFrameAt !== null, 'the first frame');
    assert.match((await stdout(page)).toString(), /^Unesite dimenzije pravougaonika:\n/);
    const failures = checkPicture(rejected, rejected.shapes[0], await canvasImage(page, 'new-run'));
    assert.deepEqual(failures, []);
  },

  // A page narrower than the window cuts it down, as a desktop cuts a
  // window to its screen, and the window's corner is in reach of the mouse
  // and of the keyboard (the arrow keys on the handle); nothing goes beyond
  // the page's room.
  async narrowPage(page) {
    await page.setViewportSize({ width: 400, height: 800 });
    await paste(page, readmeAnswers.join('\n') + '\n');
    await waitFor(page, () => window.bilijarPage.run.firstFrameAt !== null, 'the first frame');
    const inView = () => page.evaluate(() =>
      document.getElementById('window').getBoundingClientRect().right <= document.documentElement.clientWidth);
    const width = () => page.evaluate(() => window.bilijarPage.run.canvas.width);
    assert.ok(await width() < 640, 'the window is cut down to the page');
    assert.equal(await page.evaluate(() => window.bilijarPage.run.canvas.height), 480, 'the height fits as it is');
    assert.ok(await inView(), 'the whole window, its close button and handle, is in view');
    const cut = await width();
    await page.focus('#resize-handle');
    await page.keyboard.press('ArrowLeft');
    await waitFor(page, (w) => window.bilijarPage.run.canvas.width === w, 'a narrower window', 5000, cut - 10);
    await page.keyboard.press('Shift+ArrowRight');
    await nextFrames(page);
    assert.equal(await width(), cut, 'no wider than the page');
    assert.ok(await inView());
    await page.click('#close');
    assert.equal(await waitForEnd(page), 0);
    assert.equal(await page.evaluate(() => document.activeElement.id), 'new-run', 'the next step has the focus');
  },

  // The picture tables of the X window tests, on the canvas: every scene
  // at every shape, the later shapes reached by dragging the corner.
  async pictures(page) {
    const failures = [];
    for (const c of table.cases) {
      await page.click('#new-run');
      await waitFor(page, () => window.bilijarPage.run.waitingRead !== null, 'the first prompt');
      await paste(page, c.input);
      await waitFor(page, () => window.bilijarPage.run.firstFrameAt !== null, `${c.name}: the first frame`);
      for (const shape of c.shapes) {
        const name = `${c.name}-${shape.width}x${shape.height}`;
        await dragToSize(page, shape.width, shape.height);
        const found = checkPicture(c, shape, await canvasImage(page, name));
        console.log(`${name}: ${found.length === 0 ? 'as the camera puts it' : found.join('; ')}`);
        failures.push(...found.map((f) => `${name}: ${f}`));
      }
    }
    assert.deepEqual(failures, []);
  },

  // The reshape's projection, on which every picture depends, must be
  // GLU's; what Emscripten 3.1.6 makes of the other two is reported.
  async gluMatrices(page) {
    const base = fs.readFileSync(env('BILIJAR_SITE_URL_FILE'), 'utf8').trim();
    await page.goto(`${base}tests/web/glu_check.html`);
    await waitFor(page, () => document.getElementById('result').textContent.includes('done'), 'the check');
    const result = await page.locator('#result').textContent();
    console.log(result);
    assert.match(result, /gluPerspective after glLoadIdentity: same/);
  },
};

async function main() {
  const name = process.argv[2];
  if (!tests[name]) {
    console.error(`usage: browser_test.js ${Object.keys(tests).join('|')}`);
    process.exit(2);
  }
  const { browser, page, foreign } = await openPage();
  try {
    await tests[name](page);
    assert.deepEqual(foreign, [], 'the page asks for nothing but its own files');
    console.log(`${name}: passed`);
  } finally {
    await browser.close();
  }
}

main().catch((error) => {
  console.error(error.stack || String(error));
  process.exit(1);
});
