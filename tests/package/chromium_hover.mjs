// A hover in Chromium against the installed package: the extension from /usr/share/peluxbar, the
// host found through the system manifest in /etc/chromium/native-messaging-hosts (the profile holds
// none), and the dictionary the installed peluxbar finds on its own. tests/package/install_test.sh
// runs this after installing the package.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { test } from 'node:test';
import { chromium } from 'playwright-core';
import {
  asTextArea, characterCentre, clickMenuItem, inContentWorld, openPage, recordBandTexts, servePages, tempDir,
  waitForBandText,
} from '../e2e/helpers.mjs';

const EXTENSION = '/usr/share/peluxbar/extension';
const INSTALLED = '/usr/bin/peluxbar';
const PAGE = `<!doctype html><html><head><meta charset="utf-8"><style>body { font: 24px/1.5 sans-serif; }</style></head>
<body><p id="zh">中国人很多。</p></body></html>`;

test('hovering Chinese text shows the full dictionary through the installed host', async () => {
  assert.ok(fs.existsSync('/etc/chromium/native-messaging-hosts/com.tandrel.peluxbar.json'));
  const profile = tempDir('package-profile');
  const config = tempDir('package-config');
  assert.ok(!fs.existsSync(path.join(profile, 'NativeMessagingHosts')));
  const environment = { ...process.env, XDG_CONFIG_HOME: config };
  delete environment.PELUXBAR_DICT_DIR;
  const expected = JSON.parse(execFileSync(INSTALLED, ['lookup', '--lang', 'zh', '--json', '中国人很多。'],
    { env: environment }).toString('utf8'));
  const server = await servePages({ '/': PAGE });
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: process.env.PELUXBAR_CHROMIUM || '/usr/bin/chromium',
    headless: false,
    viewport: { width: 1000, height: 700 },
    env: environment,
    args: ['--headless=new', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--no-first-run',
      '--disable-features=DisableLoadExtensionCommandLineSwitch',
      `--disable-extensions-except=${EXTENSION}`, `--load-extension=${EXTENSION}`],
  });
  try {
    const page = await openPage(context, `${server.base}/`);
    await recordBandTexts(page);
    await clickMenuItem(page, 'Load Chinese/English Dictionary');
    await inContentWorld(page, () => window.__loadEnded);
    const at = await characterCentre(page.mainFrame(), '#zh', 0);
    await page.mouse.move(at.x, at.y);
    const text = await waitForBandText(page, (band) => band.includes('中国人'), 20000);
    assert.equal(text, asTextArea(expected.band));
    assert.match(text, /central; center/);  // the full CC-CEDICT's words, not the bundled set's
  } finally {
    await context.close();
    await server.close();
    for (const dir of [profile, config]) fs.rmSync(dir, { recursive: true, force: true });
  }
});
