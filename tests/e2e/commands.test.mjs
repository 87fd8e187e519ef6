// Every command of the band's menu in Chromium: the font size, the Text Color dialog, the two
// switches in two tabs at once, the reference pages, and the translation of a selection. No
// request leaves the machine: every page outside the local server is answered by the test.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import { after, before, test } from 'node:test';
import {
  DATA, PELUXBAR, asTextArea, callWorkerFunction, characterCentre, clickIn, clickMenuItem, inContentWorld,
  inShadow, launchBrowser, openPage, servePages, shadowPoint, shadowTexts, waitForBandDrawn, waitForBandText,
  waitInContentWorld,
} from './helpers.mjs';

const PAGE = `<!doctype html><html><head><meta charset="utf-8"><style>
  body { font: 24px/1.5 sans-serif; margin: 10px; }</style></head>
<body><p id="zh">中国人很多。</p><p id="en">The cats were sleeping.</p></body></html>`;

let server;
let translator;
let browser;
const outside = [];

// A stand-in for the translation service: its first textarea holds the pair and the text it
// was asked for.
async function serveTranslations() {
  const asked = [];
  // A request carries up to 9,999 bytes of text, nine characters each once escaped.
  const server = http.createServer({ maxHeaderSize: 128 * 1024 }, (request, response) => {
    const url = new URL(request.url, 'http://localhost');
    asked.push({ path: url.pathname, query: request.url.split('?')[1] || '' });
    response.writeHead(200, { 'Content-Type': 'text/html; charset=utf-8' });
    response.end(`<html><body><textarea name=q dir=ltr>${url.searchParams.get('langpair')}: ${url.searchParams.get('text')}</textarea>` +
      '<textarea id=second>not this one</textarea></body></html>');
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return { base: `http://127.0.0.1:${server.address().port}`, asked,
    close: () => new Promise((resolve) => server.close(resolve)) };
}

before(async () => {
  server = await servePages({ '/': PAGE, '/second': PAGE });
  translator = await serveTranslations();
  browser = await launchBrowser({ settings: { TranslationService: translator.base } });
  await browser.context.route('**/*', (route) => {
    const url = route.request().url();
    if (url.startsWith(server.base) || url.startsWith(translator.base)) return route.continue();
    outside.push(url);
    return route.fulfill({ status: 200, contentType: 'text/html', body: '<!doctype html><title>stand-in</title>' });
  });
});
after(async () => {
  await browser?.close();
  await server?.close();
  await translator?.close();
});

const settingsFile = () => path.join(browser.config, 'peluxbar', 'settings');

async function waitForSetting(name, value) {
  const line = new RegExp(`^${name}=${value.replace(/[#-]/g, '\\$&')}$`, 'm');
  const start = Date.now();
  while (!line.test(fs.readFileSync(settingsFile(), 'utf8'))) {
    if (Date.now() - start > 5000) assert.fail(`${name} never became ${value}: ${fs.readFileSync(settingsFile(), 'utf8')}`);
    await new Promise((resolve) => setTimeout(resolve, 30));
  }
}

function textStyle(page) {
  return inContentWorld(page, (_, shadowOf) => {
    const style = getComputedStyle(shadowOf(document.querySelector('peluxbar-band')).querySelector('textarea'));
    return { size: style.fontSize, colour: style.color };
  });
}

async function waitForTextStyle(page, want) {
  await waitInContentWorld(page, (w, shadowOf) => {
    const style = getComputedStyle(shadowOf(document.querySelector('peluxbar-band')).querySelector('textarea'));
    return (!w.size || style.fontSize === w.size) && (!w.colour || style.color === w.colour);
  }, want, (v) => v, { timeout: 5000 });
}

async function activeTabId() {
  return browser.worker.evaluate(async () => (await chrome.tabs.query({ active: true, lastFocusedWindow: true }))[0].id);
}

const dialog = (kind) => `peluxbar-dialog[data-kind="${kind}"]`;
const dialogCount = (page, kind) => page.evaluate((d) => document.querySelectorAll(d).length, dialog(kind));
// The dialog's window inside its host element, which has no box of its own.
const shown = (page, kind) => shadowPoint(page, dialog(kind), '.dialog');
const dialogTexts = (page, kind, selector) => shadowTexts(page, dialog(kind), selector);
const detached = (page, kind) => page.waitForFunction((d) => !document.querySelector(d), dialog(kind));
// As a user fills the edit: a click into it, all of it selected, the new text put in its place.
async function fillEdit(page, text, { typed = false } = {}) {
  await page.bringToFront();
  await clickIn(page, dialog('textColor'), '#edit');
  await page.keyboard.press('Control+A');
  await page.keyboard.press('Delete');
  if (typed) await page.keyboard.type(text);
  else await page.keyboard.insertText(text);
}

// First, while no dictionary has been loaded in this browser.
test('a selection is translated through the service and shown in windows that close one by one', async () => {
  const page = await openPage(browser.context, `${server.base}/`);
  await page.bringToFront();
  const tab = await activeTabId();
  await callWorkerFunction(browser, 'translateSelection', tab, 'A\t中');
  // The first translation without a dictionary says which language it assumes, and asks the
  // service only once that notice is closed.
  await shown(page, 'notice');
  assert.deepEqual(await dialogTexts(page, 'notice', '.title'), ['Error']);
  assert.deepEqual(await dialogTexts(page, 'notice', '#text'), ['Translating to/from Chinese by default until a dictionary is chosen ...']);
  assert.equal(translator.asked.length, 0);
  await clickIn(page, dialog('notice'), '#ok');
  await shown(page, 'translation');
  assert.deepEqual(await dialogTexts(page, 'translation', '.title'), ['PeluxBar Google Translation']);
  assert.deepEqual(await dialogTexts(page, 'translation', '#text'), ['en|zh-CN: A\t中']);
  assert.deepEqual(translator.asked.at(-1), { path: '/translate_t', query: 'text=%41%09%E4%B8%AD&langpair=en|zh-CN' });

  await callWorkerFunction(browser, 'translateSelection', tab, '12 中国');
  await page.waitForFunction(() => document.querySelectorAll('peluxbar-dialog[data-kind="translation"]').length === 2);
  assert.equal(await dialogCount(page, 'notice'), 0, 'the notice comes once');
  assert.match(translator.asked.at(-1).query, /&langpair=zh-CN\|en$/);
  assert.equal((await dialogTexts(page, 'translation', '.static'))[1], 'zh-CN|en: 12 中国');
  assert.equal(translator.asked.at(-1).query, 'text=%31%32%20%E4%B8%AD%E5%9B%BD&langpair=zh-CN|en');

  // OK closes one window, Escape the other; the notice stays until its own OK.
  await clickIn(page, dialog('translation'), '#ok', { nth: 1 });
  assert.equal(await dialogCount(page, 'translation'), 1);
  assert.deepEqual(await dialogTexts(page, 'translation', '.static'), ['en|zh-CN: A\t中']);
  await inShadow(page, dialog('translation'), '#ok', (els) => els[0].focus());
  await page.keyboard.press('Escape');
  assert.equal(await dialogCount(page, 'translation'), 0);
  assert.equal(await dialogCount(page, 'notice'), 0);
  await page.close();
});

test('a selection longer than the request carries is cut to its first 9,999 bytes', async () => {
  const page = await openPage(browser.context, `${server.base}/`);
  await page.bringToFront();
  const asked = translator.asked.length;
  // 3,333 characters of three bytes each fit; the 3,334th would not, nor would half of the pair.
  await callWorkerFunction(browser, 'translateSelection', await activeTabId(), `${'中'.repeat(3333)}\u{1F600}${'x'.repeat(70000)}`);
  await shown(page, 'translation');
  assert.equal(translator.asked.length, asked + 1);
  assert.equal(translator.asked.at(-1).query, `text=${'%E4%B8%AD'.repeat(3333)}&langpair=zh-CN|en`);
  await page.close();
});

test('a translation service that cannot be reached says "Exception occurred" and opens no window', async () => {
  const page = await openPage(browser.context, `${server.base}/`);
  await page.bringToFront();
  const useService = (base) => fs.writeFileSync(settingsFile(),
    fs.readFileSync(settingsFile(), 'utf8').replace(/^TranslationService=.*$/m, `TranslationService=${base}`));
  // Nothing listens on the discard port of the loopback address.
  useService('http://127.0.0.1:9');
  try {
    await callWorkerFunction(browser, 'translateSelection', await activeTabId(), 'hello');
    await shown(page, 'notice');
    assert.deepEqual(await dialogTexts(page, 'notice', '#text'), ['Exception occurred']);
    assert.deepEqual(await dialogTexts(page, 'notice', '.title'), ['Error']);
    assert.equal(await dialogCount(page, 'translation'), 0);
  } finally {
    useService(translator.base);
  }
  await page.close();
});

test('font Larger and Smaller step by 4 pixels, never under 8, and store FontSize', async () => {
  const page = await openPage(browser.context, `${server.base}/`);
  assert.equal((await textStyle(page)).size, '19px');
  for (const size of [23, 27, 31]) {
    await clickMenuItem(page, 'Larger');
    await waitForTextStyle(page, { size: `${size}px` });
  }
  await waitForSetting('FontSize', '-31');
  for (let i = 0; i < 7; i += 1) await clickMenuItem(page, 'Smaller');
  await waitForTextStyle(page, { size: '8px' });
  await waitForSetting('FontSize', '-8');
  // The size stays with the band through a change of its height, and a new band starts with it.
  await clickIn(page, 'peluxbar-band', '#bigger');
  await page.waitForFunction(() => document.querySelector('peluxbar-band').getBoundingClientRect().height === 75);
  assert.equal((await textStyle(page)).size, '8px');
  const next = await openPage(browser.context, `${server.base}/second`);
  assert.equal((await textStyle(next)).size, '8px');
  await clickMenuItem(next, 'Larger');
  await waitForTextStyle(next, { size: '12px' });
  assert.equal((await textStyle(page)).size, '8px', 'each band keeps its own font');
  await next.close();
  await page.close();
});

test('the Text Color dialog sets the colour of every band, and keeps it for a text that is no colour', async () => {
  const page = await openPage(browser.context, `${server.base}/`);
  const other = await openPage(browser.context, `${server.base}/second`);
  await page.bringToFront();
  await clickMenuItem(page, 'Color');
  await shown(page, 'textColor');
  assert.deepEqual(await dialogTexts(page, 'textColor', '.label'), ['Text Color', 'Black = "#000000"', 'Red = "#FF0000"']);
  assert.deepEqual(await dialogTexts(page, 'textColor', 'button'), ['OK', 'Cancel', 'Other Colors']);
  assert.deepEqual(await dialogTexts(page, 'textColor', '.title'), ['Text Color']);
  const editValue = async () => (await dialogTexts(page, 'textColor', '#edit'))[0];
  assert.equal(await editValue(), '#0000FF');
  // The edit takes seven characters at most.
  await fillEdit(page, '#FF0000FF', { typed: true });
  assert.equal(await editValue(), '#FF0000');
  await page.keyboard.press('Enter');
  await detached(page, 'textColor');
  await waitForTextStyle(page, { colour: 'rgb(255, 0, 0)' });
  await waitForTextStyle(other, { colour: 'rgb(255, 0, 0)' });
  await waitForSetting('FontColor', '#FF0000');

  await clickMenuItem(page, 'Color');
  await shown(page, 'textColor');
  assert.equal(await editValue(), '#FF0000');
  await fillEdit(page, 'green');
  await clickIn(page, dialog('textColor'), '#ok');
  await waitForSetting('FontColor', 'green');
  assert.equal((await textStyle(page)).colour, 'rgb(255, 0, 0)');

  // Escape cancels: nothing is stored.
  await clickMenuItem(page, 'Color');
  await shown(page, 'textColor');
  await fillEdit(page, '#00FF00');
  await page.keyboard.press('Escape');
  await detached(page, 'textColor');
  await new Promise((resolve) => setTimeout(resolve, 200));
  assert.match(fs.readFileSync(settingsFile(), 'utf8'), /^FontColor=green$/m);
  assert.equal((await textStyle(other)).colour, 'rgb(255, 0, 0)');

  // "Other Colors" opens the list of colour names in the tab.
  await clickMenuItem(page, 'Color');
  await clickIn(page, dialog('textColor'), '#other');
  await page.waitForURL('https://www.w3.org/TR/REC-html40/types.html#h-6.5');
  await other.close();
  await page.close();
});

test('a Text Color dialog whose tab closes or navigates away ends as Cancel and the band goes on', async () => {
  const page = await openPage(browser.context, `${server.base}/`);
  await clickMenuItem(page, 'Color');
  await shown(page, 'textColor');
  await page.close();
  const next = await openPage(browser.context, `${server.base}/`);
  await clickMenuItem(next, 'Color');
  await shown(next, 'textColor');
  await next.goto(`${server.base}/second`);
  const stored = fs.readFileSync(settingsFile(), 'utf8').match(/^FontColor=.*$/m)?.[0];
  // Commands are answered again: the font grows.
  await waitForBandDrawn(next);
  const before = (await textStyle(next)).size;
  await clickMenuItem(next, 'Larger');
  await waitForTextStyle(next, { size: `${parseInt(before, 10) + 4}px` });
  assert.equal(fs.readFileSync(settingsFile(), 'utf8').match(/^FontColor=.*$/m)?.[0], stored);
  await next.close();
});

test('Text Color dialogs open in two tabs at once may end in any order', async () => {
  const first = await openPage(browser.context, `${server.base}/`);
  const second = await openPage(browser.context, `${server.base}/second`);
  await clickMenuItem(first, 'Color');
  await shown(first, 'textColor');
  await clickMenuItem(second, 'Color');
  await shown(second, 'textColor');
  // The first one opened ends first, with a colour; the second is cancelled after it.
  await fillEdit(first, '#00FF00');
  await clickIn(first, dialog('textColor'), '#ok');
  await clickIn(second, dialog('textColor'), '#cancel');
  await waitForSetting('FontColor', '#00FF00');
  await waitForTextStyle(first, { colour: 'rgb(0, 255, 0)' });
  await waitForTextStyle(second, { colour: 'rgb(0, 255, 0)' });
  await first.close();
  await second.close();
});

test('the switches flip in the settings and the check marks follow in every tab', async () => {
  const first = await openPage(browser.context, `${server.base}/`);
  const second = await openPage(browser.context, `${server.base}/second`);
  const checks = (page) => inShadow(page, 'peluxbar-band', '#menu-popup .item',
    (items) => Object.fromEntries(items.map((item) => [item.lastChild.textContent, item.getAttribute('aria-checked')])));
  const menuRow = (page, selector, test) => waitInContentWorld(page, ([sel, t], shadowOf) => {
    const row = shadowOf(document.querySelector('peluxbar-band')).querySelector(sel);
    return t === 'checked' ? row.getAttribute('aria-checked') === 'true' : row.querySelector('.check').textContent === '\u2713';
  }, [selector, test]);
  // The second tab's menu is open while the first changes the switches.
  await clickIn(second, 'peluxbar-band', '#menu');
  const before = await checks(second);
  assert.equal(before['Use Tooltips'], 'false');
  assert.equal(before['Show sub-word translations'], 'false');
  await clickMenuItem(first, 'Use Tooltips');
  await waitForSetting('UseToolTips', '1');
  await menuRow(second, '#menu-popup .item[data-command="32795"]', 'checked');
  await clickMenuItem(first, 'Show sub-word translations');
  await waitForSetting('ShowSubWordTranslations', '1');
  await menuRow(second, '#menu-popup .item[data-command="32799"]', 'marked');
  await clickMenuItem(first, 'Show sub-word translations');
  await waitForSetting('ShowSubWordTranslations', '0');
  await clickMenuItem(first, 'Use Tooltips');
  await waitForSetting('UseToolTips', '0');
  await clickIn(first, 'peluxbar-band', '#menu');
  const after = await checks(first);
  assert.equal(after['Use Tooltips'], 'false');
  assert.equal(after['Show sub-word translations'], 'false');
  await first.close();
  await second.close();
});

function lookupWith(args, text) {
  const out = execFileSync(PELUXBAR, ['lookup', '--dict-dir', DATA, '--lang', 'zh', ...args, '--json', text],
    { env: { ...process.env, ASAN_OPTIONS: 'detect_leaks=0' } });
  return JSON.parse(out.toString('utf8'));
}

test('tooltips and sub-word lines follow their switches', async () => {
  const page = await openPage(browser.context, `${server.base}/`);
  await clickMenuItem(page, 'Load Chinese/English Dictionary');
  await waitForBandText(page, (text) => /lines read/.test(text));
  const point = async (selector, index) => {
    const at = await characterCentre(page.mainFrame(), selector, index);
    await page.mouse.move(0, 0);
    await page.mouse.move(at.x, at.y);
  };
  const title = (selector) => page.evaluate((s) => document.querySelector(s).getAttribute('title'), selector);
  const plain = lookupWith([], '中国人很多。');
  const withLines = lookupWith(['--subwords'], '中国人很多。');
  assert.notEqual(plain.band, withLines.band);

  await point('#zh', 0);
  await waitForBandText(page, (text) => text === asTextArea(plain.band));
  assert.equal(await title('#zh'), null, 'tooltips are off');

  await clickMenuItem(page, 'Use Tooltips');
  await clickMenuItem(page, 'Show sub-word translations');
  await waitForSetting('ShowSubWordTranslations', '1');
  await point('#zh', 0);
  await waitForBandText(page, (text) => text === asTextArea(withLines.band));
  assert.equal(await title('#zh'), withLines.tooltip);

  await clickMenuItem(page, 'Use Tooltips');
  await clickMenuItem(page, 'Show sub-word translations');
  await waitForSetting('ShowSubWordTranslations', '0');
  await page.evaluate(() => document.querySelector('#zh').removeAttribute('title'));
  await point('#zh', 0);
  await waitForBandText(page, (text) => text === asTextArea(plain.band));
  assert.equal(await title('#zh'), null);
  await page.close();
});

test('a reference page opens in the tab that hosts the band', async (t) => {
  const pages = [
    ['Google Chinese News', 'https://news.google.com/news?ned=cn'],
    ['Japanese-English Lookup (WWWJDIC)', 'http://www.csse.monash.edu.au/~jwb/wwwjdic.html'],
    ['Comments, Bugs, Requests, Updates', 'http://www.tandrel.com/peluxbarIE/'],
  ];
  for (const [caption, address] of pages) {
    await t.test(caption, async () => {
      const page = await openPage(browser.context, `${server.base}/`);
      await clickMenuItem(page, caption);
      // Chromium may ask a plain address over TLS first; either way the page is the same.
      const same = new RegExp(`^https?${address.replace(/^https?/, '').replace(/[.?~/]/g, '\\$&')}$`);
      await page.waitForURL(same);
      assert.ok(outside.some((url) => same.test(url)));
      await page.close();
    });
  }
});
