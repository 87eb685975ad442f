// The three browser engines behind one small interface, each from Debian's
// packages and driven by a pinned npm package that downloads no browser:
// Chromium and Firefox ESR by puppeteer-core (Firefox over WebDriver BiDi),
// WebKitGTK's MiniBrowser by selenium-webdriver through WebKitWebDriver.
//   const tab = await openTab('firefox', { scale: 2, webgl: false });
// A tab opens a URL, types, presses keys (as 'Control+d'), clicks, drags a
// mouse or a finger, evaluates an expression (awaiting a promise), takes
// a PNG of the page's top (the viewport unscrolled), and gives the page's console warnings and errors
// so far (tab.messages()). Firefox and WebKit draw WebGL only on a display:
// DISPLAY must name one (the X fixture's).
'use strict';
const fs = require('fs');

const executables = {
  chromium: process.env.BILIJAR_CHROMIUM || '/usr/bin/chromium',
  firefox: process.env.BILIJAR_FIREFOX || '/usr/bin/firefox-esr',
  webkit: process.env.BILIJAR_WEBKIT_DRIVER || '/usr/bin/WebKitWebDriver',
};
const miniBrowser = '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';
const packages = { chromium: 'chromium', firefox: 'firefox-esr', webkit: 'webkit2gtk-driver' };

// Why the engine cannot run here, or null.
function missing(engine) {
  const needed = engine === 'webkit' ? [executables.webkit, miniBrowser] : [executables[engine]];
  const absent = needed.find((file) => !fs.existsSync(file));
  if (absent) {
    return `${absent} is missing: install the Debian package ${packages[engine]}`;
  }
  if (engine !== 'chromium' && !process.env.DISPLAY) {
    return `${engine} draws WebGL only on a display, and DISPLAY is not set`;
  }
  return null;
}

const width = 1300;
const height = 2000;
// A drag's path after its start: four even steps to its end.
const dragSteps = (from, to) => [1, 2, 3, 4].map((step) =>
  ({ x: from.x + (to.x - from.x) * step / 4, y: from.y + (to.y - from.y) * step / 4 }));

async function puppeteerTab(engine, { scale, webgl }) {
  const puppeteer = require('puppeteer-core');
  const chromium = engine === 'chromium';
  const browser = await puppeteer.launch({
    browser: chromium ? 'chrome' : 'firefox',
    executablePath: executables[engine],
    protocol: chromium ? 'cdp' : 'webDriverBiDi',
    headless: true,
    // Chromium: SwiftShader's WebGL, none of its own connections.
    args: chromium ? ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      '--no-first-run', '--disable-default-apps', ...(webgl ? [] : ['--disable-3d-apis'])] : [],
    extraPrefsFirefox: webgl ? {} : { 'webgl.disabled': true },
  });
  const page = await browser.newPage();
  const resize = (w, h) => page.setViewport({ width: w, height: h, deviceScaleFactor: scale, hasTouch: true });
  await resize(width, height);
  const messages = [];
  page.on('console', (m) => ['warn', 'warning', 'error'].includes(m.type()) &&
    messages.push(`${m.type()}: ${m.text()}`));
  page.on('pageerror', (e) => messages.push(`error: ${e.message}`));
  return {
    messages: async () => messages,
    goto: (url) => page.goto(url),
    evaluate: (expression) => page.evaluate(expression),
    type: (text) => page.keyboard.type(text),
    async press(keys) {
      const names = keys.split('+');
      for (const name of names) await page.keyboard.down(name);
      for (const name of names.reverse()) await page.keyboard.up(name);
    },
    click: (selector) => page.click(selector),
    async drag(type, from, to) {
      const touch = type === 'touch' ? await page.touchscreen.touchStart(from.x, from.y)
        : await page.mouse.move(from.x, from.y).then(() => page.mouse.down());
      for (const { x, y } of dragSteps(from, to)) await (touch ? touch.move(x, y) : page.mouse.move(x, y));
      await (touch ? touch.end() : page.mouse.up());
    },
    // The viewport as it is now: a capture beyond it may give an older frame.
    screenshot: async () => Buffer.from(await page.screenshot({ captureBeyondViewport: false })),
    resize,
    // Another pixel ratio for the page as it is, in Firefox. Chromium's
    // emulated ratio changes without an event (neither the resolution query's
    // change nor a resize), as no real screen does; WebKit's MiniBrowser
    // takes its ratio once, at its start.
    rescale: chromium ? undefined : (ratio) => page.setViewport({ ...page.viewport(), deviceScaleFactor: ratio }),
    // Chromium's own protocol, for what only Chromium can tell.
    cdp: async (method, params) => (await page.createCDPSession()).send(method, params),
    close: () => browser.close(),
  };
}

async function webkitTab({ scale, webgl }) {
  const { Builder, By, Key } = require('selenium-webdriver');
  const { Command, Name } = require('selenium-webdriver/lib/command');
  const { DriverService } = require('selenium-webdriver/remote');
  const port = await require('selenium-webdriver/net/portprober').findFreePort('127.0.0.1');
  // MiniBrowser takes its device scale from GDK_SCALE and WebKit's settings
  // from its command line. start() resolves once the driver answers.
  const service = new DriverService(executables.webkit, { port, hostname: '127.0.0.1',
    args: [`--port=${port}`, '--host=127.0.0.1'], env: { ...process.env, GDK_SCALE: String(scale) } });
  let driver;
  try {
    driver = await new Builder().usingServer(await service.start()).withCapabilities({
      browserName: 'MiniBrowser',
      'webkitgtk:browserOptions': { binary: miniBrowser, args: ['--automation', `--enable-webgl=${webgl}`] },
    }).build();
    await driver.manage().window().setRect({ width, height });
  } catch (error) {
    await service.kill();
    throw error;
  }
  const keys = { Enter: Key.ENTER, Backspace: Key.BACK_SPACE, Control: Key.CONTROL, Shift: Key.SHIFT,
    ArrowLeft: Key.ARROW_LEFT, ArrowRight: Key.ARROW_RIGHT };
  const actions = (list) => driver.execute(new Command(Name.ACTIONS).setParameter('actions', list));
  return {
    // The page's own console, recorded from the page: WebKitWebDriver has
    // no log of it.
    messages: () => driver.executeScript('return window.consoleRecord || []'),
    async goto(url) {
      await driver.get(url);
      await driver.executeScript(recordConsole);
    },
    evaluate: async (expression) => driver.executeScript(`return (${expression});`),
    type: (text) => driver.switchTo().activeElement().sendKeys(text),
    async press(combination) {
      const names = combination.split('+').map((name) => keys[name] || name);
      await actions([{ type: 'key', id: 'keyboard', actions: [
        ...names.map((value) => ({ type: 'keyDown', value })),
        ...names.reverse().map((value) => ({ type: 'keyUp', value }))] }]);
    },
    click: async (selector) => (await driver.findElement(By.css(selector))).click(),
    async drag(type, from, to) {
      const move = ({ x, y }) => ({ type: 'pointerMove', x: Math.round(x), y: Math.round(y), origin: 'viewport' });
      await actions([{ type: 'pointer', id: type, parameters: { pointerType: type }, actions: [
        move(from), { type: 'pointerDown', button: 0 }, ...dragSteps(from, to).map(move),
        { type: 'pointerUp', button: 0 }] }]);
    },
    // The page from its top, a viewport high (an element's own screenshot
    // comes out cut off or from elsewhere).
    screenshot: async () => Buffer.from(await driver.takeScreenshot(), 'base64'),
    resize: (w, h) => driver.manage().window().setRect({ width: w, height: h }),
    async close() {
      await driver.quit().catch(() => {});
      await service.kill();
    },
  };
}

const recordConsole = `window.consoleRecord = [];
for (const type of ['warn', 'error']) {
  const original = console[type];
  console[type] = (...args) => { window.consoleRecord.push(type + ': ' + args.join(' ')); original.apply(console, args); };
}
window.addEventListener('error', (e) => window.consoleRecord.push('error: ' + e.message));`;

function openTab(engine, { scale = 1, webgl = true } = {}) {
  return engine === 'webkit' ? webkitTab({ scale, webgl }) : puppeteerTab(engine, { scale, webgl });
}

module.exports = { engines: Object.keys(executables), missing, openTab };
