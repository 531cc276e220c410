// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

// The board's context menu, opened every way a user opens it, moved in by keys, and clean to
// axe-core while open.

const { test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const harness = require('./harness');

let browser;
before(async () => { browser = await harness.launch(); });
after(async () => { await browser.close(); harness.stopServing(); });

const board = harness.controlsWithRole('board')[0].place;
const boardMiddle = [board[0] + board[2] / 2, board[1] + board[3] / 2];

// Holds a finger on the board's middle for `ms`.
async function press(page, ms) {
  const session = await page.context().newCDPSession(page);
  const [x, y] = boardMiddle;
  await session.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: [{ x, y }] });
  await page.waitForTimeout(ms);
  await session.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
  await session.detach();
}

// Whether the menu shows, inside the window, and where the focus is.
const shown = (page) => page.evaluate(() => {
  const menu = document.querySelector('[role=menu]').getBoundingClientRect();
  const form = Form1.getBoundingClientRect();
  return { open: menu.width > 0 && menu.left >= form.left && menu.top >= form.top &&
    menu.right <= form.right && menu.bottom <= form.bottom,
  focused: document.activeElement.id || document.activeElement.getAttribute('role') };
});

const kOpeners = [
  { name: 'the right button at the board\'s far corner', focus: 'Picture1', open: (page) =>
    page.mouse.click(board[0] + board[2] - 2, board[1] + board[3] - 2, { button: 'right' }),
  opens: true, corner: true },
  { name: 'a long press on the board', touch: true, focus: 'Picture1',
    open: (page) => press(page, 700), opens: true },
  { name: 'a short touch on the board', touch: true, focus: 'Picture1',
    open: (page) => press(page, 200), opens: false },
  { name: 'the Menu key on a run button', focus: 'Command3',
    open: (page) => page.keyboard.press('ContextMenu'), opens: true },
  { name: 'Shift+F10 on Exit', focus: 'Command5',
    open: (page) => page.keyboard.press('Shift+F10'), opens: true },
  { name: 'F10 alone', focus: 'Command5', open: (page) => page.keyboard.press('F10'),
    opens: false },
];

for (const row of kOpeners) {
  test(`${row.name} ${row.opens ? 'opens the menu; Escape gives the focus back' :
    'opens nothing'}`, async () => {
    const page = await harness.openPage(browser, { context: { hasTouch: !!row.touch } });
    await page.focus('#' + row.focus);
    await row.open(page);
    assert.deepEqual(await shown(page), row.opens ? { open: true, focused: 'menuitemcheckbox' }
      : { open: false, focused: row.focus });
    // Opened where the board was clicked, as far as the window lets it.
    assert.ok(!row.corner || await page.evaluate(() => ['right', 'bottom'].every((edge) =>
      Math.abs(BoardMenu.getBoundingClientRect()[edge] - Form1.getBoundingClientRect()[edge]) < 1)));
    await page.keyboard.press('Escape');
    assert.deepEqual(await shown(page), { open: false, focused: row.focus });
    await page.context().close();
  });
}

// The menu and each entry as a screen reader meets them: role, name, checked.
const entries = async (page) => (await page.locator('[role=menu]').ariaSnapshot()).split('\n')
  .filter((line) => line.includes('menu')).map((line) => line.replace(/^ *- /, ''));
const entry = (role, text, checked) => `menuitem${role} "${text}"${checked ? ' [checked]' : ''}`;
const modeLine = (page) => page.evaluate(() => ModeLine.textContent);

test('the entries are the modes, the pace one choice of four; keys move and choose', async () => {
  const page = await harness.openPage(browser, { suffix: '?addup=1' });
  await page.keyboard.press('Shift+F10');
  const [textbook, pace, addUp, showReseed, thick] = harness.design.modes;
  assert.deepEqual(await entries(page), [`menu "${harness.design.menuName}":`,
    entry('checkbox', textbook.text),
    ...pace.choices.map((choice) => entry('radio', choice.text, choice.value === '0')),
    entry('checkbox', addUp.text, true), entry('checkbox', showReseed.text),
    entry('checkbox', thick.text), `menuitem "${harness.design.stopRunEntry}" [disabled]`]);
  // What a sighted user sees checked.
  assert.deepEqual(await page.$$eval('[aria-checked=true]', (items) => items.map((item) =>
    item.innerText)), [`●${pace.choices[0].text}`, `✓${addUp.text}`]);
  const focusedText = () => page.evaluate(() => document.activeElement.lastChild.textContent);
  const stop = harness.design.stopRunEntry;
  for (const [key, text] of [['End', stop], ['ArrowDown', textbook.text],
    ['ArrowUp', stop], ['Home', textbook.text], ['ArrowDown', pace.choices[0].text],
    ['ArrowDown', pace.choices[1].text], ['ArrowDown', pace.choices[2].text]]) {
    await page.keyboard.press(key);
    assert.equal(await focusedText(), text, key);
  }
  await page.keyboard.press('Enter');
  assert.equal(await modeLine(page), `${pace.choices[2].text} · runs add up`);
  await page.keyboard.press('ContextMenu');
  assert.deepEqual((await entries(page)).slice(2, 6),
    pace.choices.map((choice, at) => entry('radio', choice.text, at === 2)));
  await page.getByRole('menuitemcheckbox', { name: addUp.text }).click();
  await page.keyboard.press('ContextMenu');
  await page.keyboard.press(' ');
  assert.equal(await modeLine(page), `Textbook needles · ${pace.choices[2].text}`);
  await page.context().close();
});
