// With "Deinflect" on in the settings file, pointing at a conjugated verb in Chromium shows it
// under its dictionary form, in the band and in the tooltip.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import { characterCentre, clickMenuItem, launchBrowser, openPage, servePages, waitForBandText } from './helpers.mjs';

const PAGE = `<!doctype html><html><head><meta charset="utf-8"><style>
  body { font: 24px/1.5 sans-serif; margin: 10px; }</style></head>
<body><p id="ja">昨日は寿司を食べました。</p></body></html>`;

let server;
let browser;
before(async () => {
  server = await servePages({ '/': PAGE });
  browser = await launchBrowser({ settings: { Deinflect: '1', UseToolTips: '1' } });
});
after(async () => {
  await browser?.close();
  await server?.close();
});

test('with Deinflect on, pointing at 食べました shows 食べる', async () => {
  const page = await openPage(browser.context, `${server.base}/`);
  await clickMenuItem(page, 'Load Japanese/English Dictionary');
  await waitForBandText(page, (text) => /116000 lines read/.test(text));
  const at = await characterCentre(page.mainFrame(), '#ja', 6);
  await page.mouse.move(at.x, at.y);
  const text = await waitForBandText(page, (t) => t.startsWith('食べました ← 食べる (polite past)\n'));
  assert.match(text, /\n食べる \[たべる ta·be·ru\] \/\(v1\) to eat\//);
  const title = await page.evaluate(() => document.querySelector('#ja').getAttribute('title'));
  assert.ok(title.startsWith('食べました ← 食べる (polite past)\r\n食べる [たべる'), title);
  await page.close();
});
