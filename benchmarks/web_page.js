// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

// Figures of the page, not a test: a 50,000-needle run in Chromium, thrown and drawn to the
// canvas (the click's whole handler, median of 20), beside the desktop's bench_experiment run
// on the same machine in the same minute; the page's weight as served and its largest part; and
// its first paint from a local server (median of 5 loads).
//
//   node web_page.js PAGE_DIR [BENCH_EXPERIMENT]

const { chromium } = require('playwright-core');
const { execFileSync, spawn } = require('node:child_process');

const median = (values) => values.slice().sort((a, b) => a - b)[values.length >> 1];

async function serve(folder) {
  const server = spawn('/usr/bin/python3', ['-u', '-m', 'http.server', '--bind', '127.0.0.1', '0',
    '--directory', folder], { stdio: ['ignore', 'pipe', 'ignore'] });
  const port = await new Promise((resolve) => server.stdout.on('data', (line) => {
    const found = /port (\d+)/.exec(line.toString());
    if (found) {
      resolve(found[1]);
    }
  }));
  return { server, url: `http://127.0.0.1:${port}/index.html` };
}

async function load(browser, url) {
  const page = await browser.newPage({ viewport: { width: 570, height: 636 } });
  const sizes = {};
  // Each body read before the page may close: on a busy machine a read outlives the load.
  const bodies = [];
  page.on('response', (response) => bodies.push(response.body().then((body) => {
    sizes[response.url().split('/').pop()] = body.length;
  })));
  await page.goto(url);
  await page.waitForSelector('#Form1:not([hidden])');
  await Promise.all(bodies);
  return { page, sizes };
}

async function main(folder, bench) {
  const { server, url } = await serve(folder);
  const browser = await chromium.launch({ executablePath: '/usr/bin/chromium', args: [
    '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync'] });
  const paints = [];
  let sizes = {};
  for (let loadCount = 0; loadCount < 5; ++loadCount) {
    const loaded = await load(browser, url);
    paints.push(await loaded.page.evaluate(() =>
      performance.getEntriesByName('first-contentful-paint')[0].startTime));
    sizes = loaded.sizes;
    await loaded.page.close();
  }
  const { page } = await load(browser, url);
  const runs = await page.evaluate(() => {
    const button = document.getElementById('Command7');
    const times = [];
    for (let run = 0; run < 21; ++run) {
      const start = performance.now();
      button.click();
      times.push(performance.now() - start);
    }
    return times.slice(1);  // the first run warms the module up
  });
  await browser.close();
  server.kill();
  const total = Object.values(sizes).reduce((sum, size) => sum + size, 0);
  const largest = Object.entries(sizes).sort((a, b) => b[1] - a[1])[0];
  console.log(`page as served: ${total} bytes in ${Object.keys(sizes).length} files; largest ` +
    `${largest[0]}, ${largest[1]} bytes`);
  console.log(`first contentful paint: median ${median(paints).toFixed(0)} ms of ` +
    `${paints.map((time) => time.toFixed(0)).join(', ')}`);
  console.log(`50,000-needle run in Chromium, thrown and drawn: median ${median(runs).toFixed(2)} ` +
    `ms of 20 (from ${Math.min(...runs).toFixed(2)} to ${Math.max(...runs).toFixed(2)})`);
  if (bench) {
    const report = JSON.parse(execFileSync(bench, ['--benchmark_filter=BM_Run50000OnPixelBoard/' +
      'ratio_percent:100$', '--benchmark_repetitions=20', '--benchmark_format=json',
      '--benchmark_report_aggregates_only=true']));
    const desktop = report.benchmarks.find((entry) => entry.aggregate_name === 'median');
    console.log(`the desktop's run, bench_experiment: median ${desktop.real_time.toFixed(2)} ms ` +
      `wall, ${desktop.cpu_time.toFixed(2)} ms CPU; the page takes ` +
      `${(median(runs) / desktop.real_time).toFixed(2)} times its wall time`);
  }
}

main(process.argv[2], process.argv[3]);
