// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

// The page keeps to its own folder, under a policy that allows nothing else, and a browser that
// cannot run it is told in one sentence what the page needs.

const { test, after } = require('node:test');
const assert = require('node:assert/strict');
const harness = require('./harness');

const browsers = [];
async function launch(flags) {
  browsers.push(await harness.launch(flags));
  return browsers[browsers.length - 1];
}
after(async () => {
  await Promise.all(browsers.map((browser) => browser.close()));
  harness.stopServing();
});

test('no request leaves the folder, and the page works under a policy that allows no other',
  async () => {
    const requested = [];
    const page = await harness.openPage(await launch(), {
      before: (page) => {
        page.on('request', (request) => requested.push(request.url()));
        return page.addInitScript(() => {
          window.refused = [];
          document.addEventListener('securitypolicyviolation',
            (event) => window.refused.push(event.blockedURI));
        });
      },
    });
    await page.click('#Command4');
    assert.notEqual(await page.textContent('#Label4'), '');
    await page.click('#Command5');
    await page.click('#ExitBoxOK');
    const folder = await harness.folderUrl();
    assert.ok(requested.length > 10);
    assert.deepEqual(requested.filter((url) => !url.startsWith(folder)), []);
    assert.deepEqual(await page.evaluate(() => window.refused), []);
    // The policy is the page's own, and holds: a request elsewhere is refused by it.
    const policy = await page.evaluate(() => {
      const meta = document.querySelector('meta[http-equiv="Content-Security-Policy"]');
      return meta && meta.content;
    });
    assert.match(policy, /default-src 'none'/);
    await page.evaluate(() => fetch('https://example.org/').catch(() => {}));
    assert.deepEqual(await page.evaluate(() => window.refused), ['https://example.org/']);
    await page.context().close();
  });

const kUnable = [
  // V8 without its compilers has no WebAssembly, as in some browsers' strictest security modes.
  { name: 'without WebAssembly', flags: ['--js-flags=--jitless'] },
  { name: 'with scripts off', context: { javaScriptEnabled: false } },
  // A server may send a policy of its own, which holds beside the page's.
  { name: 'from a server whose policy forbids compiling WebAssembly', byServer: true,
    before: (page) => page.route('**/index.html', async (route) => {
      const response = await route.fetch();
      await route.fulfill({ response,
        headers: { ...response.headers(), 'content-security-policy': "script-src 'self'" } });
    }) },
];

for (const browser of kUnable) {
  const skip = browser.byServer && harness.mode === 'file' && 'a file has no server';
  test(`${browser.name}, the page says in one sentence what it needs`, { skip }, async () => {
    const page = await harness.openPage(await launch(browser.flags),
      { context: browser.context, before: browser.before, ready: false });
    await page.waitForSelector('#needs', { state: 'visible' });
    const shown = await page.evaluate(() => document.body.innerText.trim());
    assert.equal(shown, await page.textContent('#needs'));
    assert.match(shown, /^[^.]*WebAssembly[^.]*\.$/);
    await page.context().close();
  });
}
