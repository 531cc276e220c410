// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

// The page's board and results are the desktop's, pixel for pixel and character for character:
// the same experiment, compiled twice.

const { test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const harness = require('./harness');

// Clock readings are UTC; the browser's time zone is UTC too. German shows a decimal comma on
// the desktop.
const kRows = [
  { name: 'first showing, ratio 1', ratio: 1, locale: 'en-US', separator: '.' },
  { name: '10,000 needles, ratio 2, German', ratio: 2, locale: 'de-DE', separator: ',',
    button: 'Command4', clock: '08:00:01.500' },
  { name: '1,000 needles, ratio 1, drawn again when the window grows to twice the layout',
    ratio: 1, resized: 2, locale: 'en-US', separator: '.', button: 'Command3',
    clock: '17:45:30.750' },
  { name: '50,000 needles, ratio 1, German, odd parameters and a fragment in the address',
    ratio: 1, locale: 'de-DE', separator: ',', button: 'Command7', clock: '00:00:00.125',
    suffix: '?seed=7&lang=fr&ratio=3#Command5' },
  { name: '1,000 needles on the densest board, ratio 4', ratio: 4, locale: 'en-US', separator: '.',
    button: 'Command3', clock: '06:30:00.000' },
];

let browser;
before(async () => { browser = await harness.launch(); });
after(async () => { await browser.close(); harness.stopServing(); });

for (const row of kRows) {
  test(row.name, async () => {
    const clock = row.clock || '12:00:00.000';
    const page = await harness.openPage(browser, {
      context: { deviceScaleFactor: row.ratio, locale: row.locale, timezoneId: 'UTC' },
      suffix: row.suffix,
      before: (page) => page.clock.setFixedTime(new Date(`2026-01-05T${clock}Z`)),
    });
    const runSize = row.button ? harness.design.controls.find((c) => c.id === row.button).runSize
      : '-';
    if (row.button) {
      await page.click('#' + row.button);
    }
    if (row.resized) {
      const [width, height] = harness.design.clientSize;
      await page.setViewportSize({ width: width * row.resized, height: height * row.resized });
      await page.waitForFunction((ratio) => document.querySelector('canvas').width > 523 * ratio,
        row.resized - 0.5);
    }
    const [hours, minutes, seconds] = clock.split(':').map(Number);
    const desktop = harness.desktopBoard(hours * 3600 + minutes * 60 + seconds,
      row.ratio * (row.resized || 1), row.separator, runSize);
    const shown = await harness.canvasPixels(page);
    assert.deepEqual([shown.width, shown.height], [desktop.width, desktop.height]);
    assert.ok(shown.pixels.equals(desktop.pixels), 'pixels unlike the desktop\'s');
    const texts = await page.evaluate(() => [Label2.textContent, Label4.textContent,
      document.querySelector('[role=status]').textContent]);
    assert.deepEqual(texts, [desktop.estimate, desktop.count, desktop.announcement]);
    assert.deepEqual(page.failures, []);
    await page.context().close();
  });
}
