// A tab's band lives as long as the tab: a navigation draws it anew with the same height, font
// and text. And hand-edited settings cannot make its text vanish or the band cover the page.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, test } from 'node:test';
import {
  PROMPT, bandText, clickIn, clickMenuItem, inContentWorld, launchBrowser, openPage, servePages, waitForBandText,
  waitInContentWorld,
} from './helpers.mjs';

const PAGE = '<!doctype html><html><head><meta charset="utf-8"></head><body><p>中国人很多。</p></body></html>';

let server;
let browser;
before(async () => {
  server = await servePages({ '/': PAGE, '/second': PAGE });
  browser = await launchBrowser();
});
after(async () => {
  await browser?.close();
  await server?.close();
});

const drawn = (page) => inContentWorld(page, (_, shadowOf) => {
  const band = document.querySelector('peluxbar-band');
  return { height: band.getBoundingClientRect().height,
    font: getComputedStyle(shadowOf(band).querySelector('textarea')).fontSize };
});

const settingsFile = () => path.join(browser.config, 'peluxbar', 'settings');

test('hand-edited Height and FontSize are drawn within bounds', async (t) => {
  const rows = [
    { name: 'a height under the minimum', Height: '5', FontSize: '-19', height: 30, font: '19px' },
    { name: 'a height in the thousands', Height: '5000', FontSize: '-19', height: 350, font: '19px' },
    { name: 'a font of height 0', Height: '40', FontSize: '0', height: 40, font: '8px' },
    { name: 'a tiny font', Height: '40', FontSize: '-2', height: 40, font: '8px' },
    { name: 'a font in the thousands', Height: '40', FontSize: '-5000', height: 40, font: '40px' },
    { name: 'a cell height in the thousands', Height: '40', FontSize: '3000', height: 40, font: '40px' },
  ];
  for (const row of rows) {
    await t.test(row.name, async () => {
      fs.writeFileSync(settingsFile(), `Height=${row.Height}\nFontSize=${row.FontSize}\n`);
      const page = await openPage(browser.context, `${server.base}/`);
      assert.deepEqual(await drawn(page), { height: row.height, font: row.font });
      await page.close();
      // The closed band stores its size; the next row's settings are written after that.
      while (!/^Width=/m.test(fs.readFileSync(settingsFile(), 'utf8'))) await new Promise((resolve) => setTimeout(resolve, 20));
    });
  }
});

test('a band keeps its height, font and text through its tab\'s navigations', async () => {
  fs.writeFileSync(settingsFile(), '');
  const page = await openPage(browser.context, `${server.base}/`);
  await clickIn(page, 'peluxbar-band', '#bigger');
  await page.waitForFunction(() => document.querySelector('peluxbar-band').getBoundingClientRect().height === 75);
  await clickMenuItem(page, 'Larger');
  await page.mouse.move(300, 400);
  const text = await waitForBandText(page, (t) => PROMPT.test(t));
  assert.deepEqual(await drawn(page), { height: 75, font: '23px' });

  // Another tab stores a font of its own meanwhile.
  const other = await openPage(browser.context, `${server.base}/`);
  await clickMenuItem(other, 'Larger');
  await clickMenuItem(other, 'Larger');
  await waitInContentWorld(other, (_, shadowOf) => getComputedStyle(shadowOf(document.querySelector('peluxbar-band'))
    .querySelector('textarea')).fontSize === '31px');

  await page.goto(`${server.base}/second`);
  await waitInContentWorld(page, (_, shadowOf) => shadowOf(document.querySelector('peluxbar-band'))?.querySelector('textarea').value !== '');
  assert.equal(await bandText(page), text);
  assert.deepEqual(await drawn(page), { height: 75, font: '23px' });
  await other.close();
  await page.close();
});
