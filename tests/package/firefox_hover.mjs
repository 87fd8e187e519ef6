// A hover in Firefox against the installed package: the extension from /usr/share/peluxbar (in the
// harness's test copy, which keeps its add-on ID), the host found through the system manifest in
// /usr/lib/mozilla/native-messaging-hosts (the home folder holds none), and the dictionary the
// installed peluxbar finds on its own. tests/package/install_test.sh runs this after installing.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { test } from 'node:test';

// The shared helpers read the browser from the environment when they load.
process.env.PELUXBAR_E2E_BROWSER = 'firefox';
const { asTextArea, characterCentre, clickMenuItem, inContentWorld, openPage, recordBandTexts, servePages, tempDir,
  waitForBandText } = await import('../e2e/helpers.mjs');
const { launchFirefox } = await import('../e2e/firefox.mjs');

const EXTENSION = '/usr/share/peluxbar/extension';
const INSTALLED = '/usr/bin/peluxbar';
const PAGE = `<!doctype html><html><head><meta charset="utf-8"><style>body { font: 24px/1.5 sans-serif; }</style></head>
<body><p id="zh">中国人很多。</p></body></html>`;

test('hovering Chinese text in Firefox shows the full dictionary through the installed host', async () => {
  assert.ok(fs.existsSync('/usr/lib/mozilla/native-messaging-hosts/com.tandrel.peluxbar.json'));
  const profile = tempDir('package-firefox-profile');
  const config = tempDir('package-firefox-config');
  const home = tempDir('package-firefox-home');
  assert.ok(!fs.existsSync(path.join(home, '.mozilla', 'native-messaging-hosts')));
  const environment = { ...process.env, XDG_CONFIG_HOME: config };
  delete environment.PELUXBAR_DICT_DIR;
  const expected = JSON.parse(execFileSync(INSTALLED, ['lookup', '--lang', 'zh', '--json', '中国人很多。'],
    { env: environment }).toString('utf8'));
  const server = await servePages({ '/': PAGE });
  const { context } = await launchFirefox({ extension: EXTENSION, peluxbar: INSTALLED, dictDir: null, profile, config, home, install: false });
  try {
    const page = await openPage(context, `${server.base}/`);
    await recordBandTexts(page);
    await clickMenuItem(page, 'Load Chinese/English Dictionary');
    await inContentWorld(page, () => window.__loadEnded);
    const at = await characterCentre(page.mainFrame(), '#zh', 0);
    await page.mouse.move(at.x, at.y);
    const text = await waitForBandText(page, (band) => band.includes('中国人'), 30000);
    assert.equal(text, asTextArea(expected.band));
    assert.match(text, /central; center/);  // the full CC-CEDICT's words, not the bundled set's
  } finally {
    await context.close();
    await server.close();
    for (const dir of [profile, config, home]) fs.rmSync(dir, { recursive: true, force: true });
  }
});
