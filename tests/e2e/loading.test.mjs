// Loading a big dictionary through the menu: every progress text in order, and Escape held in
// another tab cancelling the load at its first step.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import {
  characterCentre, clickMenuItem, inContentWorld, launchBrowser, makeBigChineseDictionary, openPage,
  recordBandTexts, servePages, waitForBandText,
} from './helpers.mjs';

const LINES = 100000;
const PAGE = `<!doctype html><html><head><meta charset="utf-8"><style>body { font: 24px/1.5 sans-serif; }</style></head>
<body><p id="zh">中国人很多。</p></body></html>`;
const progress = (n) => `${n}/34000 lines read.\t\tPress Escape to Cancel`;

let server;
let dictionary;
let browser;
before(async () => {
  server = await servePages({ '/': PAGE });
  dictionary = makeBigChineseDictionary(LINES);
  browser = await launchBrowser({ dictDir: dictionary.dir });
});
after(async () => {
  await browser?.close();
  await server?.close();
  dictionary?.close();
});

const recordBand = recordBandTexts;
const loadEnded = (page) => inContentWorld(page, () => window.__loadEnded);
const recorded = (page) => inContentWorld(page, () => window.__bandTexts.map(([text]) => text));

test('a load shows "Loading . . ." and then every thousandth line, in order', async () => {
  const page = await openPage(browser.context, `${server.base}/`);
  await recordBand(page);
  await clickMenuItem(page, 'Load Chinese/English Dictionary');
  await loadEnded(page);
  const expected = ['Loading . . .'];
  for (let n = 0; n < LINES; n += 1000) expected.push(progress(n));
  assert.deepEqual(await recorded(page), expected);

  const at = await characterCentre(page.mainFrame(), '#zh', 0);
  await page.mouse.move(at.x, at.y);
  await waitForBandText(page, (text) => text.includes('中国'));
  await page.close();
});

test('Escape held down in another tab cancels a load at its first step', async () => {
  const page = await openPage(browser.context, `${server.base}/`);
  const other = await openPage(browser.context, `${server.base}/`);
  await other.bringToFront();
  await other.keyboard.down('Escape');
  await new Promise((resolve) => setTimeout(resolve, 300));
  await recordBand(page);
  await clickMenuItem(page, 'Load Chinese/English Dictionary');
  await loadEnded(page);
  await other.keyboard.up('Escape');
  assert.deepEqual(await recorded(page), ['Loading . . .', progress(0)]);
  await page.close();
  await other.close();
});
