// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

// The window as the design table lays it out, and whole and usable on any screen.

const { test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const harness = require('./harness');

const shown = harness.design.controls.filter((control) => control.role !== 'device');
const buttons = harness.controlsWithRole('runButton', 'initButton');

let browser;
before(async () => { browser = await harness.launch(); });
after(async () => { await browser.close(); harness.stopServing(); });

// Both editions read one table: what it holds is checked against the window's design, kept here.
test('the layout table holds the window\'s design', () => {
  const stored = require('../stored/design_controls.json');
  const held = harness.design.controls.map(({ id, place, text, fontPixelSize, bold }) =>
    ({ id, place, text, fontPixelSize, bold }));
  assert.deepEqual(JSON.parse(JSON.stringify(held)), stored);
});

test('each control at its place and size, in its text and font, at scale 1', async () => {
  const page = await harness.openPage(browser);
  const laidOut = await page.evaluate((ids) => {
    const form = document.getElementById('Form1').getBoundingClientRect();
    return ids.map((id) => {
      const control = document.getElementById(id);
      const box = control.getBoundingClientRect();
      const style = getComputedStyle(control);
      const text = [...control.childNodes].filter((node) => !node.classList ||
        !node.classList.contains('unseen')).map((node) => node.textContent).join('');
      return { place: [box.left - form.left, box.top - form.top, box.width, box.height], text,
        font: [parseFloat(style.fontSize), Number(style.fontWeight)] };
    });
  }, shown.map((control) => control.id));
  // Controls without text have no font of their own.
  const fonted = (control) => control.fontPixelSize > 0;
  assert.deepEqual(laidOut.map((item, at) => (fonted(shown[at]) ? item : { ...item, font: null })),
    shown.map((control) => ({
      place: control.place, text: control.text,
      font: fonted(control) ? [control.fontPixelSize, control.bold ? 700 : 400] : null,
    })));
  // The formula reads as a fraction: the blanks carry the divisor onto the second line.
  const lines = await page.evaluate(() => {
    const text = document.querySelector('#Label7 [aria-hidden]').firstChild;
    const top = (at) => {
      const range = document.createRange();
      range.setStart(text, at);
      range.setEnd(text, at + 1);
      return range.getBoundingClientRect().top;
    };
    return [top(text.data.indexOf('）')) < top(text.data.indexOf('÷')),
      top(text.data.indexOf('÷')) === top(text.data.length - 1)];
  });
  assert.deepEqual(lines, [true, true]);
  await page.context().close();
});

const kScreens = [
  { name: 'a phone held upright',
    context: { viewport: { width: 390, height: 844 }, deviceScaleFactor: 3, isMobile: true,
      hasTouch: true } },
  { name: 'a projector', context: { viewport: { width: 1920, height: 1080 } } },
];

for (const screen of kScreens) {
  test(`whole, and every button works, on ${screen.name}`, async () => {
    const page = await harness.openPage(browser, { context: screen.context });
    const { width, height } = screen.context.viewport;
    // Placed on whole device pixels, the window may lie half of one beyond the viewport.
    const slack = 0.5 / (screen.context.deviceScaleFactor || 1);
    const whole = async (selector) => {
      const box = await page.locator(selector).boundingBox();
      return box.x >= -slack && box.y >= -slack && box.x + box.width <= width + slack &&
        box.y + box.height <= height + slack;
    };
    assert.ok(await whole('#Form1'));
    const form = await page.locator('#Form1').boundingBox();
    assert.ok(Math.abs(2 * form.x + form.width - width) <= 1 &&
      Math.abs(2 * form.y + form.height - height) <= 1, 'centred');
    // The board's canvas starts on a whole device pixel and spans one of them for each of its
    // pixels, to a tenth of a device pixel across the whole board (CSS keeps lengths to 1/64).
    const offPixels = await page.evaluate(() => {
      const canvas = document.querySelector('#Picture1 canvas');
      const box = canvas.getBoundingClientRect();
      const device = (css) => css * devicePixelRatio;
      const offWhole = (value) => Math.abs(value - Math.round(value));
      return [offWhole(device(box.left)), offWhole(device(box.top)),
        Math.abs(device(box.width) - canvas.width), Math.abs(device(box.height) - canvas.height)];
    });
    assert.ok(offPixels.every((error) => error < 0.1), offPixels.join(' '));
    const press = (id) => (screen.context.hasTouch ? page.tap('#' + id) : page.click('#' + id));
    const count = () => page.textContent('#Label4');
    for (const button of buttons) {
      await press(button.id);
      assert.equal(await count() !== '', button.role === 'runButton', button.id);
      await press('Command6');
      assert.equal(await count(), '');
    }
    await press('Command5');
    assert.ok(await whole('#ExitBox'));
    const scaleOf = (selector) => page.$eval(selector,
      (made) => made.getBoundingClientRect().width / made.offsetWidth);
    assert.ok(Math.abs(await scaleOf('#ExitBox') - await scaleOf('#Form1')) < 0.01, 'box\'s scale');
    await press('ExitBoxOK');
    await page.waitForSelector('#ended', { state: 'visible' });
    await page.context().close();
  });
}
