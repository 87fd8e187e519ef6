// Without the native host registered, the band says what to do instead of staying silent.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { bandText, launchBrowser, openPage, servePages, waitForBandText } from './helpers.mjs';

test('a band whose host is not registered tells the user to install it', async () => {
  const server = await servePages({ '/': '<!doctype html><meta charset="utf-8"><p>中国人很多。</p>' });
  const browser = await launchBrowser({ install: false });
  try {
    const page = await openPage(browser.context, `${server.base}/`, { drawn: false });
    await page.mouse.move(20, 60);
    await waitForBandText(page, (text) => text.includes('peluxbar install'));
    assert.match(await bandText(page), /not running/);
  } finally {
    await browser.close();
    await server.close();
  }
});
