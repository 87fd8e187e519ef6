// A hostile page tries to drive the band with events of its own making: the menu, the height
// buttons, the dialogs' buttons and keys, Escape, mouse moves, page hiding and resizing, and
// element.click(). None of it may reach the host, the settings, the band's text or the tab.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import { after, before, test } from 'node:test';
import {
  callWorkerFunction, clickIn, hostMessages, launchBrowser, openPage, servePages, shadowPoint, tempDir,
  waitInContentWorld,
} from './helpers.mjs';

const PAGE = `<!doctype html><html><head><meta charset="utf-8"><style>
  body { font: 24px/1.5 sans-serif; margin: 10px; }</style></head>
<body><p id="zh">中国人很多。</p>
<script>
  // Everything a page's script can do to the band and its dialogs: their roots are closed, so it
  // presses what it can reach, and everything inside when a root is open to it.
  function fake(target, type, init = {}) {
    const Kind = type.startsWith('key') ? KeyboardEvent : type.startsWith('mouse') ? MouseEvent : Event;
    target.dispatchEvent(new Kind(type, Object.assign({ bubbles: true, cancelable: true, composed: true }, init)));
  }
  function pressEverything(root) {
    for (const el of root.querySelectorAll('button, .item, textarea, input, .dialog, .overlay')) {
      fake(el, 'mousedown');
      fake(el, 'mouseup');
      fake(el, 'click');
      el.click();
      for (const key of ['Enter', 'Escape']) fake(el, 'keydown', { key });
    }
  }
  function pressHost(host) {
    if (host.shadowRoot) pressEverything(host.shadowRoot);
    for (const type of ['mousedown', 'mouseup', 'click']) fake(host, type);
    host.click();
    for (const key of ['Enter', 'Escape']) fake(host, 'keydown', { key });
  }
  window.attack = () => {
    pressHost(document.querySelector('peluxbar-band'));
    for (const dialog of document.querySelectorAll('peluxbar-dialog')) pressHost(dialog);
    const box = document.querySelector('#zh').getBoundingClientRect();
    for (const target of [document, document.body, document.querySelector('#zh')]) {
      fake(target, 'mousemove', { clientX: box.left + 5, clientY: box.top + 5 });
      fake(target, 'keydown', { key: 'Escape' });
      fake(target, 'keyup', { key: 'Escape' });
    }
    for (const type of ['pagehide', 'resize']) window.dispatchEvent(new Event(type));
  };
</script></body></html>`;

let server;
let translator;
let browser;
const log = path.join(tempDir('hostlog'), 'input');

before(async () => {
  server = await servePages({ '/': PAGE });
  const asked = [];
  const service = http.createServer((request, response) => {
    asked.push(request.url);
    response.end('<textarea>translated</textarea>');
  });
  await new Promise((resolve) => service.listen(0, '127.0.0.1', resolve));
  translator = { asked, base: `http://127.0.0.1:${service.address().port}`, close: () => new Promise((r) => service.close(r)) };
  browser = await launchBrowser({ hostInput: log, settings: { FontSize: '-23', TranslationService: translator.base } });
});
after(async () => {
  await browser?.close();
  await server?.close();
  await translator?.close();
  fs.rmSync(path.dirname(log), { recursive: true, force: true });
});

// Everything the page did has reached the host once a resize, sent after it from the same
// frame, has come back as the band's new layout.
async function resizeAndWait(page, width) {
  await page.setViewportSize({ width, height: 700 });
  await waitInContentWorld(page, (w, shadowOf) => shadowOf(document.querySelector('peluxbar-band'))
    .querySelector('textarea').getBoundingClientRect().width === w - 60, width);
}

// Firefox also runs the content scripts in a new tab's first, blank document, whose band closes
// when the page replaces it; only what came after the page was open counts.
let openedAt = 0;
const received = (type) => hostMessages(log).slice(openedAt).filter((m) => m.type === type);

test('events made by the page do nothing', async () => {
  const settingsFile = path.join(browser.config, 'peluxbar', 'settings');
  const page = await openPage(browser.context, `${server.base}/`);
  openedAt = hostMessages(log).length;
  const settingsBefore = fs.readFileSync(settingsFile);
  await page.bringToFront();
  const url = page.url();
  await page.evaluate(() => {
    const band = document.querySelector('peluxbar-band');
    window.bandTexts = [];
    band.addEventListener('peluxbar-text', () => window.bandTexts.push(band.shadowRoot.querySelector('textarea').value));
  });
  const bandHeight = () => page.evaluate(() => document.querySelector('peluxbar-band').getBoundingClientRect().height);
  const heightBefore = await bandHeight();

  // The user opened the menu; the page presses every row and button.
  await clickIn(page, 'peluxbar-band', '#menu');
  await page.evaluate(() => window.attack());
  await resizeAndWait(page, 900);
  assert.equal(await bandHeight(), heightBefore);
  for (const type of ['command', 'key', 'pointer', 'bandClosed', 'colorAnswer', 'noticeClosed']) {
    assert.deepEqual(received(type), [], `no "${type}" message`);
  }

  // The user opened the Text Color dialog; the page presses OK, Other Colors, Enter.
  await clickIn(page, 'peluxbar-band', '#menu-popup .item', { hasText: 'Color' });
  const dialogCount = (kind) => page.evaluate((k) => document.querySelectorAll(`peluxbar-dialog[data-kind="${k}"]`).length, kind);
  await shadowPoint(page, 'peluxbar-dialog[data-kind="textColor"]', '.dialog');
  await page.evaluate(() => window.attack());
  await resizeAndWait(page, 800);
  assert.equal(await dialogCount('textColor'), 1);
  assert.deepEqual(received('colorAnswer'), []);

  // A translation waits for the notice that Chinese is the default; the page presses its OK.
  const tab = await browser.worker.evaluate(async () => (await chrome.tabs.query({ active: true, lastFocusedWindow: true }))[0].id);
  await callWorkerFunction(browser, 'translateSelection', tab, 'hello');
  await shadowPoint(page, 'peluxbar-dialog[data-kind="notice"]', '.dialog');
  await page.evaluate(() => window.attack());
  await resizeAndWait(page, 1000);
  assert.equal(await dialogCount('notice'), 1);
  assert.deepEqual(received('noticeClosed'), []);
  assert.deepEqual(translator.asked, []);

  assert.deepEqual(received('command').map((m) => m.id), [32802], 'only the user\'s own command');
  assert.deepEqual(received('key'), []);
  assert.deepEqual(received('pointer'), []);
  assert.deepEqual(await page.evaluate(() => window.bandTexts), []);
  assert.equal(page.url(), url);
  assert.deepEqual(fs.readFileSync(settingsFile), settingsBefore);
  await page.close();
});
