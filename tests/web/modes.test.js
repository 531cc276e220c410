// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

// The teacher's modes in the page, chosen by the address or the board's menu: textbook needles,
// needles at a pace, runs that add up, runs named by their reseed values, thick needles; each
// count held against the companion's (STATS) for the reseed value the mode line shows.

const { test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const { execFileSync } = require('node:child_process');
const harness = require('./harness');

let browser;
before(async () => { browser = await harness.launch(); });
after(async () => { await browser.close(); harness.stopServing(); });

const kReseed = '45296.25';
const runSize = (id) => Number(harness.design.controls.find((c) => c.id === id).text
  .replace(/,/g, ''));

// The companion's count for one run of `needles` reseeded from `reseed`: the window's rule with
// its deduction, the textbook's without.
function companionCount(rule, reseed, needles) {
  const rows = execFileSync(process.env.STATS, ['--rule', rule, '--reseed', reseed, '--needles',
    String(needles), '--csv', '-'], { stdio: ['ignore', 'pipe', 'ignore'] }).toString().trim();
  return Number(rows.split('\n').pop().split(',')[2]);
}

const shown = (page) => page.evaluate(() => ({ estimate: Label2.textContent,
  count: Number(Label4.textContent), modes: ModeLine.textContent,
  announced: document.querySelector('[role=status]').textContent }));
const reseedOf = (modes) => (/reseeded from (\S+)/.exec(modes) || [])[1];

const isNeedle = ({ width, height, pixels }, x, y) => x >= 0 && y >= 0 && x < width &&
  y < height && pixels[(y * width + x) * 4] === 0 &&
  pixels[(y * width + x) * 4 + 1] + pixels[(y * width + x) * 4 + 2] === 255;

// Needles' pixels (blue or green) in 8-connected groups, those touching the board's edge left
// out: each group's length along the line between its two farthest pixels, a one-pixel needle
// painting one pixel a step along its longer axis.
function needleLengths(board) {
  const seen = new Set();
  const lengths = [];
  for (let start = 0; start < board.width * board.height; ++start) {
    const [x0, y0] = [start % board.width, Math.floor(start / board.width)];
    if (seen.has(start) || !isNeedle(board, x0, y0)) {
      continue;
    }
    const group = [[x0, y0]];
    seen.add(start);
    for (const [x, y] of group) {
      for (const [nx, ny] of [-1, 0, 1].flatMap((dx) => [-1, 0, 1].map((dy) => [x + dx, y + dy]))) {
        if (isNeedle(board, nx, ny) && !seen.has(ny * board.width + nx)) {
          seen.add(ny * board.width + nx);
          group.push([nx, ny]);
        }
      }
    }
    const [dx, dy] = group.flatMap(([x1, y1]) => group.map(([x2, y2]) => [x2 - x1, y2 - y1]))
      .reduce((far, d) => (Math.hypot(...d) > Math.hypot(...far) ? d : far));
    if (!group.some(([x, y]) => !x || !y || x === board.width - 1 || y === board.height - 1)) {
      lengths.push(group.length * Math.hypot(dx, dy) / Math.max(Math.abs(dx), Math.abs(dy)));
    }
  }
  return lengths;
}

// How wide needles are drawn, in device pixels: the median, over needles' pixels, of the shorter
// of the two runs of needle pixels through each, across and down.
function needleWidth(board) {
  const run = (x, y, dx, dy) => {
    let length = 1;
    for (const sign of [1, -1]) {
      for (let step = sign; isNeedle(board, x + step * dx, y + step * dy); step += sign) ++length;
    }
    return length;
  };
  const widths = [];
  for (let y = 0; y < board.height; ++y) {
    for (let x = 0; x < board.width; ++x) {
      if (isNeedle(board, x, y)) widths.push(Math.min(run(x, y, 1, 0), run(x, y, 0, 1)));
    }
  }
  return widths.sort((a, b) => a - b)[widths.length >> 1];
}

const kCounts = [
  { name: 'textbook needles, 10 at ratio 2: each 40 long, the textbook\'s count',
    suffix: '?textbook=1&reseed=777', ratio: 2, button: 'Command1', rule: 'geometric',
    modes: 'Textbook needles · reseeded from 777', length: 40 },
  { name: 'textbook needles, 100 at 1,000 a second with every mode on: the textbook\'s count, ' +
    'the mode line whole', suffix: '?textbook=1&showreseed=1&addup=1&thick=1&pace=1000', ratio: 1,
  button: 'Command2', rule: 'geometric', wait: 600, width: 3 },
  { name: 'the design\'s needles, 1,000 reseeded from a given value, thick at ratio 2: the ' +
    'window\'s count', suffix: `?reseed=${kReseed}&colour=red&thick=1`, ratio: 2,
  button: 'Command3', rule: 'window', modes: `reseeded from ${kReseed} · thick needles`, width: 3 },
];

for (const row of kCounts) {
  test(row.name, async () => {
    const page = await harness.openPage(browser,
      { suffix: row.suffix, context: { deviceScaleFactor: row.ratio } });
    await page.click('#' + row.button);
    await page.waitForTimeout(row.wait || 0);
    const after = await shown(page);
    assert.ok(await page.evaluate(() => ModeLine.scrollWidth <= ModeLine.clientWidth));
    if (row.length) {
      const lengths = needleLengths(await harness.canvasPixels(page));
      assert.ok(lengths.length >= 5 && lengths.every((length) =>
        Math.abs(length - row.length * row.ratio) <= row.ratio), lengths.join(' '));
      assert.equal(await page.textContent('#Label3'), harness.design.textbookCountCaption);
      assert.doesNotMatch(await page.getAttribute('#' + row.button, 'aria-description'), /less/);
      assert.match(after.announced, /^Needles crossing a line: /);
    }
    assert.equal(after.modes, row.modes || after.modes);
    if (row.width) {
      assert.equal(needleWidth(await harness.canvasPixels(page)), row.width, 'device pixels wide');
    }
    const reseed = reseedOf(after.modes);
    assert.ok(after.announced.includes(reseed), 'the reseed value is announced with the run');
    assert.equal(after.count, companionCount(row.rule, reseed, runSize(row.button)));
    assert.deepEqual(page.failures, []);
    await page.context().close();
  });
}

const needlePixels = ({ pixels }) => pixels.filter((byte, at) => at % 4 === 0 && !byte &&
  pixels[at + 1] + pixels[at + 2] === 255).length;

test('50 a second: the count grows as needles fall, Escape stops and keeps them, a run button ' +
  'is not queued behind a run', async () => {
  const page = await harness.openPage(browser, { suffix: '?pace=50&showreseed=1' });
  await page.click('#Command3');
  const seen = [];
  for (let sample = 0; sample < 4; ++sample) {
    await page.waitForTimeout(400);
    seen.push({ ...(await shown(page)), needles: needlePixels(await harness.canvasPixels(page)) });
  }
  assert.ok(seen.every((now, at) => !at || now.needles > seen[at - 1].needles), 'needles fall');
  assert.ok(seen[0].needles > 0 && seen[3].count > seen[0].count, 'the count grows');
  await page.keyboard.press('Escape');
  const stopped = await shown(page);
  const fallen = Math.round(stopped.count * Number(stopped.estimate));
  assert.ok(fallen > 80 && fallen < 500, `${fallen} needles fell`);
  assert.equal(stopped.count, companionCount('window', reseedOf(stopped.modes), fallen));
  assert.ok(stopped.announced.includes(String(stopped.count)));
  await page.waitForTimeout(300);
  assert.deepEqual(await shown(page), stopped);
  // 1,000 needles take 20 s at this pace; 10 needles behind them come in a fifth of a second.
  await page.click('#Command3');
  await page.waitForTimeout(200);
  await page.click('#Command1');
  await page.waitForTimeout(600);
  const last = await shown(page);
  assert.equal(last.count, companionCount('window', reseedOf(last.modes), 10));
  // Init stops a falling run and clears.
  await page.click('#Command3');
  await page.waitForTimeout(300);
  await page.click('#Command6');
  await page.waitForTimeout(300);
  assert.deepEqual([needlePixels(await harness.canvasPixels(page)), (await shown(page)).estimate,
    (await shown(page)).announced], [0, '', '']);
  // From the menu: a falling run takes a new pace as it falls; the stop entry, or needles of
  // another kind, end it where it stands.
  const fromMenu = async (role, name) => {
    await page.click('#Command3');
    await page.waitForTimeout(200);
    await page.keyboard.press('Shift+F10');
    await page.getByRole(role, { name }).click();
    await page.waitForTimeout(100);
    return shown(page);
  };
  const whole = await fromMenu('menuitemradio', harness.design.modes[1].choices[0].text);
  assert.equal(whole.count, companionCount('window', reseedOf(whole.modes), 1000));
  await page.keyboard.press('Shift+F10');
  await page.getByRole('menuitemradio', { name: harness.design.modes[1].choices[2].text }).click();
  for (const [role, name] of [['menuitem', harness.design.stopRunEntry],
    ['menuitemcheckbox', harness.design.modes[0].text]]) {
    const ended = await fromMenu(role, name);
    await page.waitForTimeout(300);
    assert.equal((await shown(page)).count, ended.count, name);
  }
  assert.deepEqual(page.failures, []);
  await page.context().close();
});

test('runs that add up: the labels show the totals; Init starts again from nothing', async () => {
  const page = await harness.openPage(browser, { suffix: '?addup=1&showreseed=1' });
  let total = 0;
  for (const button of ['Command2', 'Command3', 'Command2']) {
    await page.click('#' + button);
    total += companionCount('window', reseedOf((await shown(page)).modes), runSize(button));
  }
  const added = await shown(page);
  assert.deepEqual([added.count, Number(added.estimate).toFixed(9)],
    [total, (1200 / total).toFixed(9)]);
  await page.click('#Command6');
  await page.click('#Command2');
  const again = await shown(page);
  assert.equal(again.count, companionCount('window', reseedOf(again.modes), 100));
  await page.context().close();
});

// A mode's bad value is left out with one line in the console; other parameters change nothing.
const kAddresses = [
  { suffix: '?pace=1001', lines: 1 },
  { suffix: '?textbook=maybe&addup=2', lines: 2 },
  { suffix: '?pace=50&reseed=0x10', lines: 1, modes: '50 a second' },
  { suffix: '?lesson=3&scale=2', lines: 0 },
];

for (const { suffix, lines, modes = '' } of kAddresses) {
  test(`${suffix}: ${lines} console line(s), the window otherwise as without them`, async () => {
    const said = [];
    const page = await harness.openPage(browser, {
      suffix, context: { timezoneId: 'UTC' },
      before: (page) => {
        page.on('console', (message) => said.push(message.text()));
        return page.clock.setFixedTime(new Date('2026-01-05T10:20:30.500Z'));
      },
    });
    assert.equal(said.length, lines, said.join('\n'));
    assert.equal((await shown(page)).modes, modes);
    if (!modes) {
      await page.click('#Command3');
      const desktop = harness.desktopBoard(10 * 3600 + 20 * 60 + 30.5, 1, '.',
        harness.design.controls.find((c) => c.id === 'Command3').runSize);
      assert.ok((await harness.canvasPixels(page)).pixels.equals(desktop.pixels));
      assert.deepEqual(await page.evaluate(() => Label4.textContent), desktop.count);
      assert.doesNotMatch((await shown(page)).announced, /Reseeded/, 'not shown, not said');
    }
    await page.context().close();
  });
}


