// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

// The window's events driven as a user drives them, by clicks and keys: a run, Init, the ruling
// at first showing, Exit and its box, and clicks that come while runs go on.

const { test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const harness = require('./harness');

let browser;
before(async () => { browser = await harness.launch(); });
after(async () => { await browser.close(); harness.stopServing(); });

const results = (page) => page.evaluate(() => [Label2.textContent, Label4.textContent]);
const focusedId = (page) => page.evaluate(() => document.activeElement.id);
// How many of the first ruled line's pixels are in this colour, at ratio 1.
const onFirstLine = (board, rgb) => {
  let count = 0;
  for (let x = 0; x < 480; ++x) {
    count += board.pixels.readUIntBE((80 * board.width + x) * 4, 3) === rgb;
  }
  return count;
};

test('first showing, Tab\'s order, a run and Init by keys, and a return from another tab',
  async () => {
    const page = await harness.openPage(browser);
    const firstShown = await harness.canvasPixels(page);
    assert.equal(onFirstLine(firstShown, 0x000000), 480);
    // The board holds the focus at first: Enter and Space there start nothing.
    await page.keyboard.press('Enter');
    await page.keyboard.press('Space');
    assert.deepEqual(await results(page), ['', '']);
    const order = harness.controlsWithRole('board', 'runButton', 'initButton', 'exitButton')
      .map((control) => control.id);
    const focused = [await focusedId(page)];
    while (focused.length < order.length) {
      await page.keyboard.press('Tab');
      focused.push(await focusedId(page));
    }
    assert.deepEqual(focused, order);
    await page.keyboard.press('Space');
    const ran = await harness.canvasPixels(page);
    assert.equal(onFirstLine(ran, 0x000000), 0, 'the black ruling cleared');
    assert.match((await results(page)).join(' '), /^-?\d+(\.\d+)? -?\d+$/);
    // Another tab and back is not a window of the program's own: the board stays as it was.
    await (await page.context().newPage()).bringToFront();
    await page.bringToFront();
    assert.ok((await harness.canvasPixels(page)).pixels.equals(ran.pixels));
    await page.keyboard.press('Shift+Tab');
    await page.keyboard.press('Enter');
    assert.equal(await focusedId(page), 'Command6');
    assert.ok((await harness.canvasPixels(page)).pixels.equals(firstShown.pixels));
    assert.deepEqual(await results(page), ['', '']);
    await page.context().close();
  });

// Records each cue started and stopped by its length.
const listenToCues = (page) => page.addInitScript(() => {
  window.sounded = [];
  for (const call of ['start', 'stop']) {
    const original = AudioBufferSourceNode.prototype[call];
    AudioBufferSourceNode.prototype[call] = function (...values) {
      window.sounded.push(`${call} ${this.buffer.duration.toFixed(3)}`);
      return original.apply(this, values);
    };
  }
});

function cueLength(name) {
  const wave = fs.readFileSync(path.join(__dirname, '../../assets/cues', name));
  const bytesPerSecond = wave.readUInt32LE(wave.indexOf('fmt ') + 16);
  return (wave.readUInt32LE(wave.indexOf('data') + 4) / bytesPerSecond).toFixed(3);
}

const kAnswers = [
  { name: 'its OK clicked', answer: (page) => page.click('#ExitBoxOK') },
  { name: 'Escape', answer: (page) => page.keyboard.press('Escape') },
  // OK is the box's one control: Tab keeps it in focus, as on the desktop.
  { name: 'Enter after a Tab from OK', answer: async (page) => {
    await page.focus('#ExitBoxOK');
    await page.keyboard.press('Tab');
    await page.keyboard.press('Enter');
  } },
];

for (const { name, answer } of kAnswers) {
  test(`Exit sounds and asks; answered by ${name}, the program ends and takes no more input`,
    async () => {
      const page = await harness.openPage(browser, { before: listenToCues });
      await page.click('#Command1');
      await page.click('#Command5');
      assert.deepEqual(await page.evaluate(() => [ExitBox.open,
        document.getElementById('ExitBoxTitle').textContent, ExitBoxPrompt.textContent,
        ExitBox.querySelectorAll('button').length]),
      [true, harness.design.boxTitle, harness.design.exitPrompt, 1]);
      // The box is modal: a click on the window behind it reaches no button.
      const before = await results(page);
      await page.mouse.click(...harness.controlsWithRole('initButton')[0].place.slice(0, 2));
      assert.deepEqual(await results(page), before);
      await answer(page);
      await page.waitForSelector('#ended', { state: 'visible' });
      assert.equal(await page.evaluate(() => document.body.innerText.trim()),
        await page.textContent('#ended'));
      const ended = await page.content();
      await page.keyboard.press('Tab');
      await page.keyboard.press('Enter');
      await page.mouse.click(100, 500);
      assert.equal(await page.evaluate(() => document.activeElement.tagName), 'BODY');
      assert.equal(await page.content(), ended);
      // The run's cue, stopped by Exit's.
      const [start, exit] = [harness.design.startCue, harness.design.exitCue].map(cueLength);
      assert.deepEqual(await page.evaluate(() => window.sounded),
        [`start ${start}`, `stop ${start}`, `start ${exit}`]);
      assert.deepEqual(page.failures, []);
      await page.context().close();
    });
}

test('200 clicks sent while runs go on are all handled, in order', async () => {
  const page = await harness.openPage(browser);
  await page.evaluate(() => {
    window.announced = [];
    new MutationObserver((changes) => changes.forEach((change) => change.addedNodes.forEach(
      (node) => window.announced.push(node.textContent))))
      .observe(document.querySelector('[role=status]'), { childList: true });
  });
  // Runs whose needles can be told from their count and estimate: the count is never 0.
  const runs = harness.controlsWithRole('runButton').filter((control) => control.text !== '10');
  const session = await page.context().newCDPSession(page);
  const sent = [];
  const clicked = [];
  for (let click = 0; click < 200; ++click) {
    const run = runs[(click * click + click / 2) % runs.length | 0];
    const [left, top, width, height] = run.place;
    for (const type of ['mousePressed', 'mouseReleased']) {
      sent.push(session.send('Input.dispatchMouseEvent', { type, button: 'left', clickCount: 1,
        x: left + width / 2, y: top + height / 2 }));
    }
    clicked.push(Number(run.text.replace(/,/g, '')));
  }
  await Promise.all(sent);
  await page.waitForFunction(() => window.announced.length >= 200);
  const handled = await page.evaluate(() => window.announced.map((text) => {
    const [count, estimate] = text.match(/-?\d+(\.\d+)?/g).map(Number);
    return Math.round(count * estimate);
  }));
  assert.deepEqual(handled, clicked);
  await page.context().close();
});

// Ways a browser may fail to sound; each is said once in the console, and the runs go on silent.
const kSilences = [
  { name: 'a cue that cannot be decoded', said: 'pinpon.wav', byServer: true,
    before: (page) => page.route('**/cues.js', async (route) => {
      const response = await route.fetch();
      const body = (await response.text()).replace(/("pinpon\.wav"\] = ")[^"]*/, '$1AAAA');
      await route.fulfill({ response, body });
    }) },
  { name: 'a browser without Web Audio', said: 'silent',
    before: (page) => page.addInitScript(() => {
      delete window.AudioContext;
      delete window.OfflineAudioContext;
    }) },
  { name: 'a sound device that cannot be opened', said: 'silent',
    before: (page) => page.addInitScript(() => {
      window.AudioContext = function () { throw new Error('no sound device'); };
    }) },
];

for (const silence of kSilences) {
  const skip = silence.byServer && harness.mode === 'file' && 'only a server can hand it';
  test(`${silence.name} is said once, and the runs go on silent`, { skip }, async () => {
    const warnings = [];
    const page = await harness.openPage(browser, {
      before: (page) => {
        page.on('console', (message) => message.type() === 'warning' &&
          warnings.push(message.text()));
        return silence.before(page);
      },
    });
    for (const button of ['#Command2', '#Command1', '#Command2']) {
      await page.click(button);
      assert.notEqual(await page.textContent('#Label4'), '');
    }
    assert.equal(warnings.filter((text) => text.includes(silence.said)).length, 1);
    assert.deepEqual(page.failures, []);
    await page.context().close();
  });
}
