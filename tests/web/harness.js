// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

// The page as its users meet it: the built folder (PAGE_DIR) served by Python's http.server or
// opened as a file (PAGE_MODE http or file), in Debian's Chromium, headless.

const { chromium } = require('playwright-core');
const { execFileSync, spawn } = require('node:child_process');
const fs = require('node:fs');
const path = require('node:path');
const vm = require('node:vm');

const folder = path.resolve(process.env.PAGE_DIR);
const mode = process.env.PAGE_MODE;
if (!fs.existsSync(path.join(folder, 'index.html')) || !['http', 'file'].includes(mode)) {
  throw new Error(`set PAGE_MODE to http or file, and PAGE_DIR to the built page ('make web')`);
}

// Without the background-networking flags Chromium reaches for the closed network at start.
const kFlags = ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];

function launch(flags = []) {
  return chromium.launch({ executablePath: '/usr/bin/chromium', args: kFlags.concat(flags) });
}

let server = null;

// The folder's address: its index.html's folder, ending in '/'.
async function folderUrl() {
  if (mode === 'file') {
    return 'file://' + folder + '/';
  }
  if (!server) {
    server = spawn('/usr/bin/python3', ['-u', '-m', 'http.server', '--bind', '127.0.0.1', '0',
      '--directory', folder], { stdio: ['ignore', 'pipe', 'ignore'] });
    server.port = await new Promise((resolve, reject) => {
      server.stdout.on('data', (line) => {
        const port = /port (\d+)/.exec(line.toString());
        if (port) {
          resolve(port[1]);
        }
      });
      server.on('exit', reject);
    });
  }
  return `http://127.0.0.1:${server.port}/`;
}

function stopServing() {
  if (server) {
    server.kill();
    server = null;
  }
}

// The design table as the page reads it.
const design = (() => {
  const sandbox = { window: {} };
  vm.runInNewContext(fs.readFileSync(path.join(folder, 'design.js'), 'utf8'), sandbox);
  return JSON.parse(JSON.stringify(sandbox.Buffon.design));  // out of the sandbox's realm
})();

// A page of its own in a new context (`context`: viewport, deviceScaleFactor, locale...),
// opened at index.html plus `suffix` once `before` has prepared it; unless `ready` is false,
// once the window shows.
async function openPage(browser, { context = {}, suffix = '', before, ready = true } = {}) {
  const made = await browser.newContext({
    viewport: { width: design.clientSize[0], height: design.clientSize[1] }, ...context,
  });
  const page = await made.newPage();
  page.failures = [];
  page.on('pageerror', (error) => page.failures.push(error.message));
  if (before) {
    await before(page);
  }
  await page.goto((await folderUrl()) + 'index.html' + suffix);
  if (ready) {
    await page.waitForSelector('#Form1:not([hidden])');
  }
  return page;
}

// The canvas's pixels, bytes red, green, blue, alpha, row by row.
async function canvasPixels(page) {
  const { width, height, data } = await page.evaluate(() => {
    const canvas = document.querySelector('#Picture1 canvas');
    const image = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height);
    let text = '';
    for (let at = 0; at < image.data.length; at += 0x8000) {
      text += String.fromCharCode.apply(null, image.data.subarray(at, at + 0x8000));
    }
    return { width: canvas.width, height: canvas.height, data: btoa(text) };
  });
  return { width, height, pixels: Buffer.from(data, 'base64') };
}

// The desktop's board and texts for a clock reading (board_pixels, BOARD_PIXELS).
function desktopBoard(seconds, ratio, separator, runSize) {
  const output = execFileSync(process.env.BOARD_PIXELS,
    [String(seconds), String(ratio), separator, String(runSize)], { maxBuffer: 1 << 26 });
  const lineEnd = output.indexOf('\n');
  return { ...JSON.parse(output.subarray(0, lineEnd)), pixels: output.subarray(lineEnd + 1) };
}

// What the browser tells a screen reader of an element: its role, name and description, and
// whether it announces its changes (live).
async function accessible(page, selector) {
  const session = await page.context().newCDPSession(page);
  const { root } = await session.send('DOM.getDocument');
  const { nodeId } = await session.send('DOM.querySelector', { nodeId: root.nodeId, selector });
  const { nodes } = await session.send('Accessibility.getPartialAXTree',
    { nodeId, fetchRelatives: false });
  await session.detach();
  const value = (property) => (property ? property.value : undefined);
  const live = (nodes[0].properties || []).find((property) => property.name === 'live');
  return { role: value(nodes[0].role), name: value(nodes[0].name),
    description: value(nodes[0].description), live: live && value(live.value) };
}

const controlsWithRole = (...roles) => design.controls.filter((c) => roles.includes(c.role));

module.exports = {
  accessible, canvasPixels, controlsWithRole, design, desktopBoard, folderUrl, launch, mode,
  openPage, stopServing,
};
