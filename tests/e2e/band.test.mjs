// The band in Chromium with the bundled dictionaries: the prompt, the menu, loading through the
// menu, pointing at Chinese, Japanese and English text in pages and frames, two tabs, hiding.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, test } from 'node:test';
import {
  PROMPT, asTextArea, bandText, callWorkerFunction, characterCentre, clickIn, clickMenuItem, inContentWorld,
  launchBrowser, lookup, openPage, servePages, shadowTexts, waitForBandText,
} from './helpers.mjs';

const PAGE = `<!doctype html><html><head><meta charset="utf-8"><style>
  body { font: 24px/1.5 sans-serif; margin: 10px; } iframe { width: 600px; height: 120px; }</style></head>
<body>
<p id="zh">中国人很多。我们学习汉语。</p>
<p id="ja">日本語を話す。東京は大きい。</p>
<p id="en">The cats were sleeping.</p>
<p id="empty-space" style="height: 60px"></p>
<iframe id="frame" src="/frame"></iframe>
<iframe id="srcdoc" srcdoc="<meta charset=utf-8><p id=ja style='font: 24px sans-serif'>猫が好きです。</p>"></iframe>
</body></html>`;
const FRAME = `<!doctype html><html><head><meta charset="utf-8"><style>body { font: 24px/1.5 sans-serif; }</style></head>
<body><p id="zh">学生在图书馆看书。</p></body></html>`;

let server;
let browser;
before(async () => {
  server = await servePages({ '/': PAGE, '/frame': FRAME, '/second': PAGE });
  browser = await launchBrowser({ settings: { UseToolTips: '1' } });
});
after(async () => {
  await browser?.close();
  await server?.close();
});

async function pointAt(page, frame, selector, index) {
  const at = await characterCentre(frame, selector, index);
  let offset = { x: 0, y: 0 };
  if (frame !== page.mainFrame()) {
    const box = await (await frame.frameElement()).boundingBox();
    offset = { x: box.x + 2, y: box.y + 2 };  // the frame's border
  }
  const before = await bandText(page);
  await page.mouse.move(at.x + offset.x, at.y + offset.y);
  return before;
}

test('before any load the band asks for a dictionary with the pointer position', async () => {
  const page = await openPage(browser.context, `${server.base}/`);
  await page.mouse.move(123, 47);
  const text = await waitForBandText(page, (t) => PROMPT.test(t));
  const [, x, y] = text.match(PROMPT);
  assert.deepEqual([Number(x), Number(y)], [123, 47]);
  await page.close();
});

test('the band is drawn with the layout of a band window', async () => {
  const page = await openPage(browser.context, `${server.base}/`);
  const boxes = await inContentWorld(page, (_, shadowOf) => {
    const root = shadowOf(document.querySelector('peluxbar-band'));
    const box = (id) => { const r = root.querySelector(id).getBoundingClientRect(); return [r.x, r.y, r.width, r.height]; };
    return { band: box.call(null, 'textarea') && document.querySelector('peluxbar-band').getBoundingClientRect().height,
      width: document.documentElement.clientWidth, menu: box('#menu'), text: box('textarea'),
      smaller: box('#smaller'), bigger: box('#bigger'), font: getComputedStyle(root.querySelector('textarea')).fontSize,
      colour: getComputedStyle(root.querySelector('textarea')).color };
  });
  const w = boxes.width;
  assert.equal(boxes.band, 40);
  assert.deepEqual(boxes.menu, [0, 0, 35, 40]);
  assert.deepEqual(boxes.text, [35, 0, w - 60, 40]);
  assert.deepEqual(boxes.smaller, [w - 24, 0, 24, 20]);
  assert.deepEqual(boxes.bigger, [w - 24, 21, 24, 19]);
  assert.equal(boxes.font, '19px');
  assert.equal(boxes.colour, 'rgb(0, 0, 255)');
  await page.close();
});

test('the menu lists every item in order with the check marks', async () => {
  const page = await openPage(browser.context, `${server.base}/`);
  await clickIn(page, 'peluxbar-band', '#menu');
  const items = await shadowTexts(page, 'peluxbar-band', '#menu-popup .item');
  assert.deepEqual(items, [
    'Load Chinese/English Dictionary', 'Load Japanese/English Dictionary', 'Google Chinese News',
    'Google Japanese News', 'Babelfish Translation', 'Google Translation', 'Mandarin Tools',
    'Japanese-English Lookup (WWWJDIC)', 'Chinese Character Lookup', 'ZhongWen', 'Smaller', 'Larger', 'Color',
    '✓Use Tooltips', 'Show sub-word translations', 'Comments, Bugs, Requests, Updates']);
  await page.close();
});

test('pointing at text shows what peluxbar lookup gives for the captured text', async (t) => {
  const page = await openPage(browser.context, `${server.base}/`);
  await clickMenuItem(page, 'Load Chinese/English Dictionary');
  await waitForBandText(page, (text) => /lines read/.test(text));
  const cases = [
    { name: 'Chinese at the start of a sentence', lang: 'zh', sel: '#zh', index: 0, captured: '中国人很多。' },
    { name: 'Chinese inside a word', lang: 'zh', sel: '#zh', index: 1, captured: '国人很多。' },
    { name: 'Chinese second sentence', lang: 'zh', sel: '#zh', index: 8, captured: '学习汉语。' },
    { name: 'English plural', lang: 'zh', sel: '#en', index: 5, captured: 'cats' },
    { name: 'English irregular form', lang: 'zh', sel: '#en', index: 10, captured: 'were' },
  ];
  for (const c of cases) {
    await t.test(c.name, async () => {
      await pointAt(page, page.mainFrame(), c.sel, c.index);
      const expected = lookup(c.lang, c.captured);
      await waitForBandText(page, (text) => text === asTextArea(expected.band));
      const title = await page.evaluate((sel) => document.querySelector(sel).getAttribute('title'), c.sel);
      assert.equal(title, expected.tooltip);
    });
  }
  await t.test('Japanese after loading the Japanese dictionary', async () => {
    await clickMenuItem(page, 'Load Japanese/English Dictionary');
    await waitForBandText(page, (text) => /116000 lines read/.test(text));
    for (const [index, captured] of [[0, '日本語を話す。'], [3, 'を話す。'], [7, '東京は大きい。']]) {
      await pointAt(page, page.mainFrame(), '#ja', index);
      const expected = lookup('ja', captured);
      await waitForBandText(page, (text) => text === asTextArea(expected.band));
    }
  });
  await page.close();
});

test('a frame is read like its page and the band of the tab shows it', async () => {
  const page = await openPage(browser.context, `${server.base}/`);
  await clickMenuItem(page, 'Load Chinese/English Dictionary');
  await waitForBandText(page, (text) => /34000 lines read/.test(text));
  const frame = page.frames().find((f) => f.url().endsWith('/frame'));
  await pointAt(page, frame, '#zh', 3);
  const expected = lookup('zh', '图书馆看书。');
  await waitForBandText(page, (text) => text === asTextArea(expected.band));
  assert.equal(await frame.evaluate(() => document.querySelector('#zh').getAttribute('title')), expected.tooltip);

  // A frame made from text, with no address of its own.
  await clickMenuItem(page, 'Load Japanese/English Dictionary');
  await waitForBandText(page, (text) => /116000 lines read/.test(text));
  const srcdoc = page.frames().find((f) => f.url() === 'about:srcdoc');
  await pointAt(page, srcdoc, '#ja', 0);
  await waitForBandText(page, (text) => text === asTextArea(lookup('ja', '猫が好きです。').band));
  await page.close();
});

test('a second tab uses the dictionary loaded in the first', async () => {
  const first = await openPage(browser.context, `${server.base}/`);
  await clickMenuItem(first, 'Load Chinese/English Dictionary');
  await waitForBandText(first, (text) => /34000 lines read/.test(text));
  const second = await openPage(browser.context, `${server.base}/second`);
  await pointAt(second, second.mainFrame(), '#zh', 0);
  const expected = lookup('zh', '中国人很多。');
  await waitForBandText(second, (text) => text === asTextArea(expected.band));
  assert.ok(!PROMPT.test(await bandText(first)));
  await first.close();
  await second.close();
});

test('a hidden band does nothing, and comes back in every tab', async () => {
  const pages = [await openPage(browser.context, `${server.base}/`), await openPage(browser.context, `${server.base}/second`)];
  const page = pages[0];
  await pointAt(page, page.mainFrame(), '#zh', 0);
  const shownBefore = await waitForBandText(page, (text) => text.length > 0);
  await callWorkerFunction(browser, 'toggleBand');
  for (const p of pages) {
    await p.waitForFunction(() => document.querySelector('peluxbar-band').hidden);
  }
  await page.evaluate(() => document.querySelector('#en').removeAttribute('title'));
  await pointAt(page, page.mainFrame(), '#en', 5);
  await page.mouse.move(200, 300);
  await new Promise((resolve) => setTimeout(resolve, 500));
  assert.equal(await bandText(page), shownBefore);
  assert.equal(await page.evaluate(() => document.querySelector('#en').getAttribute('title')), null);
  await callWorkerFunction(browser, 'toggleBand');
  for (const p of pages) {
    await p.waitForFunction(() => !document.querySelector('peluxbar-band').hidden);
  }
  await pointAt(page, page.mainFrame(), '#en', 5);
  await waitForBandText(page, (text) => text !== shownBefore);
  for (const p of pages) await p.close();
});

test('the height buttons step the band by 35 and hiding the band saves its size', async () => {
  const page = await openPage(browser.context, `${server.base}/`);
  const bandBoxes = () => inContentWorld(page, (_, shadowOf) => {
    const band = document.querySelector('peluxbar-band');
    const box = (id) => { const r = shadowOf(band).querySelector(id).getBoundingClientRect(); return [r.x, r.y, r.width, r.height]; };
    return { height: band.getBoundingClientRect().height, smaller: box('#smaller'), bigger: box('#bigger') };
  });
  const waitForHeight = (h) => page.waitForFunction((want) => document.querySelector('peluxbar-band').getBoundingClientRect().height === want, h);
  const width = await page.evaluate(() => document.documentElement.clientWidth);

  await clickIn(page, 'peluxbar-band', '#bigger');
  await waitForHeight(75);
  assert.deepEqual(await bandBoxes(), { height: 75, smaller: [width - 24, 0, 24, 37], bigger: [width - 24, 38, 24, 37] });
  await clickIn(page, 'peluxbar-band', '#smaller');
  await waitForHeight(40);
  await clickIn(page, 'peluxbar-band', '#smaller');
  await waitForHeight(35);
  await clickIn(page, 'peluxbar-band', '#bigger');
  await waitForHeight(70);

  await callWorkerFunction(browser, 'toggleBand');
  await page.waitForFunction(() => document.querySelector('peluxbar-band').hidden);
  const settingsFile = path.join(browser.config, 'peluxbar', 'settings');
  const start = Date.now();
  while (!/Height=70/.test(fs.readFileSync(settingsFile, 'utf8')) && Date.now() - start < 5000) {
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
  const saved = fs.readFileSync(settingsFile, 'utf8');
  assert.match(saved, /^Height=70$/m);
  assert.match(saved, new RegExp(`^Width=${width}$`, 'm'));
  assert.match(saved, /^UseToolTips=1$/m);

  // A band drawn from now on starts at the saved height.
  await callWorkerFunction(browser, 'toggleBand');
  const next = await openPage(browser.context, `${server.base}/second`);
  await next.waitForFunction(() => document.querySelector('peluxbar-band').getBoundingClientRect().height === 70);
  await next.close();
  await page.close();
});
