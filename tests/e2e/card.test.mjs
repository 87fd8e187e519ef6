// The learner's card in Chromium: its entries drawn from the host's reply, its keys (c copies, w
// saves, Escape hides and still reaches the host) taken before the page sees them and never from
// a field the user types in, and its dark scheme. Set PELUXBAR_CARD_SCREENSHOTS to a folder to
// keep pictures of the card (scripts/screenshot.sh does).
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, test } from 'node:test';
import {
  IN_FIREFOX, characterCentre, clickMenuItem, hostMessages, inContentWorld, launchBrowser, openPage, servePages, tempDir,
  waitForBandText,
} from './helpers.mjs';

const FULL_DICT = process.env.PELUXBAR_FULL_DICT_DIR;
const SHOTS = process.env.PELUXBAR_CARD_SCREENSHOTS;
const PAGE = `<!doctype html><html lang="en"><head><meta charset="utf-8"><style>
  body { font: 24px/1.5 sans-serif; margin: 10px; } input, textarea, [contenteditable] { font: 16px sans-serif; }
  :lang(zh) { font-family: "Noto Sans CJK SC", sans-serif; } :lang(ja) { font-family: "Noto Sans CJK JP", sans-serif; }
  @media (prefers-color-scheme: dark) { body { background: #15161a; color: #d8d8d8; } }
</style></head><body>
<p id="zh" lang="zh">中国人很多。我们学习汉语。</p>
<p id="guo" lang="zh">国。</p>
<p id="ja" lang="ja">昨日は本を読まなかった。日本語を話す。</p>
<p><input id="input"> <textarea id="textarea"></textarea> <span id="editable" contenteditable="true">x</span>
<span id="closed"></span></p>
<script>
  // What the page hears of the keyboard and the clipboard.
  window.heard = [];
  for (const target of [window, document]) {
    for (const type of ['keydown', 'keyup', 'keypress', 'copy']) {
      target.addEventListener(type, (e) => window.heard.push(type + ':' + (e.key || '')), true);
    }
  }
  const closed = document.querySelector('#closed').attachShadow({ mode: 'closed' });
  closed.innerHTML = '<input>';
  window.closedInput = closed.querySelector('input');
</script>
</body></html>`;

let server;
before(async () => { server = await servePages({ '/': PAGE }); });
after(async () => { await server?.close(); });

// The card as the user sees it, read from its closed root in the content-script world.
function cardState(page) {
  return inContentWorld(page, (_, shadowOf) => {
    const host = document.querySelector('peluxbar-popup');
    const box = host && shadowOf(host).querySelector('#box');
    if (!box || box.hidden || !box.classList.contains('card')) return { shown: false };
    const entries = [...box.querySelectorAll('.entry')].map((entry) => ({
      heading: entry.querySelector('h2').textContent,
      written: entry.querySelector('.written').textContent,
      form: entry.querySelector('.form')?.textContent ?? null,
      senses: [...entry.querySelectorAll('ol > li')].map((li) => li.textContent),
      tags: [...entry.querySelectorAll('ol .tag')].map((tag) => tag.textContent),
    }));
    const r = box.getBoundingClientRect();
    return {
      shown: true, entries, chars: [...box.querySelectorAll('.chars .glyph')].map((g) => g.textContent),
      foot: box.querySelector('.foot').textContent, background: getComputedStyle(box).backgroundColor,
      box: { left: r.left, top: r.top, right: r.right, bottom: r.bottom },
      view: { width: document.documentElement.clientWidth, height: document.documentElement.clientHeight },
    };
  });
}

async function waitForCard(page, test) {
  for (const start = Date.now(); ; await new Promise((resolve) => setTimeout(resolve, 20))) {
    const state = await cardState(page);
    if (test(state)) return state;
    if (Date.now() - start > 10000) assert.fail(`card never matched; last: ${JSON.stringify(state)}`);
  }
}

async function waitFor(read, test) {
  for (const start = Date.now(); ; await new Promise((resolve) => setTimeout(resolve, 20))) {
    const value = read();
    if (test(value)) return value;
    if (Date.now() - start > 10000) assert.fail(`never matched; last: ${JSON.stringify(value)}`);
  }
}

async function pointAt(page, selector, index) {
  const at = await characterCentre(page.mainFrame(), selector, index);
  await page.mouse.move(at.x, at.y);
}

async function loaded(browser, caption, done) {
  const page = await openPage(browser.context, `${server.base}/`);
  await clickMenuItem(page, caption);
  await waitForBandText(page, (text) => done.test(text), 60000);
  return page;
}

async function showCard(page, selector, index) {
  await page.mouse.move(5, 690);
  await waitForCard(page, (s) => !s.shown);
  await pointAt(page, selector, index);
  return waitForCard(page, (s) => s.shown);
}

const brightness = (rgb) => rgb.match(/\d+/g).slice(0, 3).map(Number).reduce((a, b) => a + b, 0) / 3;

test('the card for 国 with every entry shows each entry with its senses as list items', { skip: !FULL_DICT && 'needs PELUXBAR_FULL_DICT_DIR' }, async () => {
  const browser = await launchBrowser({ dictDir: FULL_DICT, settings: { ReaderPopup: '1', AllEntries: '1', StandardPinyin: '1' } });
  try {
    const page = await loaded(browser, 'Load Chinese/English Dictionary', /lines read/);
    const state = await showCard(page, '#guo', 0);
    assert.equal(state.entries.length, 2, JSON.stringify(state.entries));
    for (const entry of state.entries) {
      assert.match(entry.heading, /^国/);
      assert.ok(entry.senses.length >= 1);
      for (const sense of entry.senses) assert.ok(!sense.includes('/'), sense);
    }
    assert.deepEqual(state.chars, ['国']);
  } finally {
    await browser.close();
  }
});

test('the card\'s keys: c copies, w saves, Escape hides and still reaches the host; the page hears none of them', async (t) => {
  const log = path.join(tempDir('cardlog'), 'input');
  const browser = await launchBrowser({ hostInput: log, settings: { ReaderPopup: '1', StandardPinyin: '1' } });
  const words = path.join(browser.config, 'peluxbar', 'words.tsv');
  const savedLines = () => (fs.existsSync(words) ? fs.readFileSync(words, 'utf8').split('\n').filter(Boolean) : []);
  try {
    await browser.context.grantPermissions(['clipboard-read', 'clipboard-write'], { origin: server.base });
    const page = await loaded(browser, 'Load Chinese/English Dictionary', /34000 lines read/);
    const heard = () => page.evaluate(() => window.heard.splice(0));

    await t.test('c puts the first entry on the clipboard and says so', async () => {
      await showCard(page, '#zh', 0);
      await heard();
      await page.keyboard.press('c');
      const state = await waitForCard(page, (s) => s.shown && s.foot === 'Copied.');
      const copied = await page.evaluate(() => navigator.clipboard.readText());
      const lines = copied.split('\n');
      assert.ok(lines[0].startsWith(`${state.entries[0].written} `), copied);
      assert.match(lines[0], / \[.+\]$/);
      assert.match(lines[1], /^1\. /);
      assert.deepEqual(await heard(), []);
    });

    await t.test('w saves the first entry to the word list and shows the answer', async () => {
      await showCard(page, '#zh', 0);
      await page.keyboard.press('w');
      const state = await waitForCard(page, (s) => s.shown && /word list/.test(s.foot));
      assert.equal(state.foot, 'Saved to the word list.');
      const lines = savedLines();
      assert.equal(lines.length, 1);
      assert.match(lines[0], /^中国人(; 中國人)?\t/);
      assert.match(lines[0].split('\t')[3], /^中国人很多。/);
      assert.equal(lines[0].split('\t')[4], `${server.base}/`);
      await page.keyboard.press('w');
      await waitForCard(page, (s) => s.shown && s.foot === 'Already in the word list.');
      assert.equal(savedLines().length, 1);
      assert.deepEqual(await heard(), []);
    });

    await t.test('Escape hides the card and is still passed to the host', async () => {
      await showCard(page, '#zh', 0);
      const before = hostMessages(log).filter((m) => m.type === 'key').length;
      await page.keyboard.press('Escape');
      await waitForCard(page, (s) => !s.shown);
      const keys = await waitFor(() => hostMessages(log).filter((m) => m.type === 'key').slice(before), (k) => k.length >= 2);
      assert.deepEqual(keys.map((m) => [m.key, m.down]), [['Escape', true], ['Escape', false]]);
      assert.deepEqual(await heard(), []);
    });

    await t.test('other keys reach the page as before', async () => {
      await showCard(page, '#zh', 0);
      await page.keyboard.press('x');
      await page.keyboard.press('Control+c');
      assert.ok((await heard()).includes('keydown:x'));
      assert.equal((await cardState(page)).foot, 'c copy \u00b7 w save \u00b7 Esc close');
    });

    const FIELDS = [
      ['a text field', (p) => p.focus('#input'), (p) => p.inputValue('#input')],
      ['a text area', (p) => p.focus('#textarea'), (p) => p.inputValue('#textarea')],
      ['an editable element', (p) => p.focus('#editable'), (p) => p.evaluate(() => document.querySelector('#editable').textContent)],
      ['a field in a closed shadow root of the page', (p) => p.evaluate(() => window.closedInput.focus()),
        (p) => p.evaluate(() => window.closedInput.value)],
    ];
    for (const [name, focus, value] of FIELDS) {
      await t.test(`keys typed into ${name} do nothing and reach the field`, async () => {
        await focus(page);
        const before = await value(page);
        const saved = savedLines().length;
        await showCard(page, '#zh', 0);
        await heard();
        await page.keyboard.type('cw');
        assert.equal((await value(page)).replace('cw', ''), before);
        assert.ok((await heard()).includes('keydown:c'));
        const state = await cardState(page);
        assert.equal(state.foot, 'c copy \u00b7 w save \u00b7 Esc close');
        assert.equal(savedLines().length, saved);
        await page.evaluate(() => document.activeElement.blur());
      });
    }
  } finally {
    await browser.close();
    fs.rmSync(path.dirname(log), { recursive: true, force: true });
  }
});

test('the card follows a dark colour scheme and stays inside the viewport', {
  skip: IN_FIREFOX && 'puppeteer emulates media features only over CDP, which Firefox lacks; the dark styles are one CSS media query in both browsers',
}, async () => {
  const browser = await launchBrowser({ settings: { ReaderPopup: '1', StandardPinyin: '1' } });
  try {
    const page = await loaded(browser, 'Load Chinese/English Dictionary', /34000 lines read/);
    for (const [scheme, dark] of [['light', false], ['dark', true]]) {
      await page.emulateMedia({ colorScheme: scheme });
      const state = await showCard(page, '#zh', 0);
      assert.equal(brightness(state.background) < 80, dark, state.background);
      const { box, view } = state;
      assert.ok(box.left >= 0 && box.top >= 0 && box.right <= view.width && box.bottom <= view.height, JSON.stringify(state));
    }
  } finally {
    await browser.close();
  }
});

// The README's pictures: a Chinese word, and a conjugated Japanese verb under its dictionary form.
test('pictures of the card', { skip: !SHOTS && 'set PELUXBAR_CARD_SCREENSHOTS' }, async () => {
  const rows = [
    ['zh', 'Load Chinese/English Dictionary', /lines read/, '#zh', 8, { StandardPinyin: '1' }],
    ['ja', 'Load Japanese/English Dictionary', /lines read/, '#ja', 5, { Deinflect: '1', AllEntries: '1', HepburnRomaji: '1' }],
  ];
  for (const [lang, caption, done, selector, index, settings] of rows) {
    const browser = await launchBrowser({ dictDir: FULL_DICT || undefined, settings: { ReaderPopup: '1', ...settings } });
    try {
      const page = await loaded(browser, caption, done);
      for (const scheme of ['light', 'dark']) {
        await page.emulateMedia({ colorScheme: scheme });
        await showCard(page, selector, index);
        await page.screenshot({ path: path.join(SHOTS, `card-${lang}-${scheme}.png`) });
      }
    } finally {
      await browser.close();
    }
  }
});
