// Debian's Chromium, headless, for the browser tests and the benchmark:
// a fresh profile, no GPU but SwiftShader's WebGL, and none of Chromium's
// own connections (the machine has no network beyond localhost).
'use strict';
const { chromium } = require('playwright-core');

function launchChromium() {
  return chromium.launch({
    executablePath: process.env.BILIJAR_CHROMIUM || '/usr/bin/chromium',
    args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      '--no-first-run', '--disable-default-apps'],
  });
}

module.exports = { launchChromium };
