// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

// The page as a screen reader meets it: axe-core finds nothing wrong, before a run and after
// it, and every control has the desktop's accessible name and description.

const { test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const harness = require('./harness');

const axeSource = fs.readFileSync(require.resolve('axe-core/axe.min.js'), 'utf8');

let browser;
before(async () => { browser = await harness.launch(); });
after(async () => { await browser.close(); harness.stopServing(); });

async function violations(page) {
  await page.evaluate(axeSource);
  const found = await page.evaluate(() => window.axe.run(document));
  return found.violations.map((violation) => `${violation.id}: ${violation.nodes.length}`);
}

test('axe-core finds no violation, before a run, after one and with the board\'s menu open',
  async () => {
  const page = await harness.openPage(browser, { suffix: '?showreseed=1' });
  assert.deepEqual(await violations(page), []);
  await page.click('#Command3');
  assert.deepEqual(await violations(page), []);
  await page.click('#Picture1', { button: 'right' });
  assert.deepEqual(await violations(page), []);
  await page.context().close();
});

test('names and descriptions are the desktop\'s; results are named by their captions',
  async () => {
    const page = await harness.openPage(browser);
    const captionOf = { estimateLabel: 'estimateCaption', countLabel: 'countCaption' };
    for (const control of harness.design.controls.filter((c) => c.role !== 'device')) {
      const read = await harness.accessible(page, '#' + control.id);
      const caption = captionOf[control.role] && harness.controlsWithRole(captionOf[control.role])[0];
      const name = caption ? caption.text : control.name || control.text;
      if (control.role.endsWith('aption')) {
        // A label is read as its text, or as its own name where it has one.
        const snapshot = await page.locator('#' + control.id).ariaSnapshot();
        assert.equal(snapshot, `- text: ${name}`, control.id);
        continue;
      }
      // No control is a live region of its own: the end of a run is announced once, whole.
      assert.deepEqual([read.name, read.description, read.live],
        [name, control.description, undefined], control.id);
    }
    assert.equal((await harness.accessible(page, '[role=status]')).live, 'polite');
    assert.equal((await harness.accessible(page, '#Form1')).description,
      harness.design.description);
    await page.context().close();
  });
