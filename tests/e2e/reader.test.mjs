// Reader mode in Chromium: the options page, the popup with its mark in the page, and the
// dictionary that loads by itself after a restart. Set PELUXBAR_SCREENSHOT to a file name to
// keep a picture of the popup (scripts/screenshot.sh does).
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, test } from 'node:test';
import {
  DATA, IN_FIREFOX, PELUXBAR, asTextArea, characterCentre, clickMenuItem, extensionErrors, inContentWorld,
  launchBrowser, openPage, servePages, waitForBandText,
} from './helpers.mjs';

const EXTENSION_ID = 'dnmjknmpjiimmmefmjaadnbbmaldmlcj';
const SWITCHES = ['AllEntries', 'StandardPinyin', 'HepburnRomaji', 'Deinflect', 'ReaderPopup', 'LoadAtStart'];
const PAGE = `<!doctype html><html lang="en"><head><meta charset="utf-8"><style>
  body { font: 24px/1.5 sans-serif; margin: 10px; height: 3000px; }
  .corner { position: fixed; margin: 0; } #bottom { bottom: 4px; left: 300px; } #right { top: 220px; right: 4px; }
  :lang(zh) { font-family: "Noto Sans CJK SC", sans-serif; } :lang(ja) { font-family: "Noto Sans CJK JP", sans-serif; }
</style></head><body>
<p id="zh" lang="zh">中国人很多。我们学习汉语。</p>
<p id="ja" lang="ja">日本語を話す。東京は大きい。</p>
<p id="en">The cats were sleeping.</p>
<p id="bottom" class="corner" lang="zh">我们学习汉语。</p>
<p id="right" class="corner" lang="zh">学习汉语</p>
<p id="short" lang="zh">中国人很多。</p>
<script>
  // Once, right after the pointer's text was read: the page cuts that text short.
  document.querySelector('#short').addEventListener('mousemove', (e) => { e.currentTarget.firstChild.data = '中'; }, { once: true });
</script>
</body></html>`;
const FRAMED = `<!doctype html><html><head><meta charset="utf-8"><style>iframe { width: 600px; height: 200px; }</style></head>
<body><iframe src="/inner"></iframe></body></html>`;
const INNER = '<!doctype html><html><head><meta charset="utf-8"></head><body><p id="zh" lang="zh" style="font: 24px sans-serif">中国人很多。</p></body></html>';

let server;
before(async () => { server = await servePages({ '/': PAGE, '/second': PAGE, '/framed': FRAMED, '/inner': INNER }); });
after(async () => { await server?.close(); });

function lookupWith(lang, text, flags) {
  const out = execFileSync(PELUXBAR, ['lookup', '--dict-dir', DATA, '--lang', lang, ...flags, '--json', text],
    { env: { ...process.env, ASAN_OPTIONS: 'detect_leaks=0' } });
  return asTextArea(JSON.parse(out.toString('utf8')).band);
}

async function waitForSetting(browser, line) {
  const file = path.join(browser.config, 'peluxbar', 'settings');
  for (const start = Date.now(); Date.now() - start < 5000; await new Promise((r) => setTimeout(r, 30))) {
    if (fs.readFileSync(file, 'utf8').split('\n').includes(line)) return;
  }
  assert.fail(`the settings file never held ${line}`);
}

// The popup as the user sees it: shown or not, its box, text, colour and size, and the text of
// the page's "peluxbar-match" highlight.
function popupState(page, frame = null) {
  return inContentWorld(page, (_, shadowOf) => {
    const host = document.querySelector('peluxbar-popup');
    const box = host && shadowOf(host).querySelector('#box');
    const highlight = CSS.highlights.get('peluxbar-match');
    // Firefox's content scripts see the page's highlight through a wrapper that cannot iterate it;
    // its unwrapped form can.
    const ranges = highlight ? [...(highlight.wrappedJSObject || highlight)] : [];
    const marked = highlight ? ranges.map((range) => range.toString()).join('') : null;
    if (!box || box.hidden) return { shown: false, marked };
    const r = box.getBoundingClientRect();
    const style = getComputedStyle(box);
    return {
      shown: true, marked, text: box.textContent, lang: box.lang, color: style.color, fontSize: style.fontSize,
      card: box.classList.contains('card'), senses: [...box.querySelectorAll('ol > li')].map((li) => li.lastChild.textContent),
      box: { left: r.left, top: r.top, right: r.right, bottom: r.bottom },
      view: { width: document.documentElement.clientWidth, height: document.documentElement.clientHeight },
      tones: [...box.querySelectorAll('[class^=tone]')].map((s) => `${s.className}:${s.textContent}`),
    };
  }, null, { frame });
}

// The popup shows the band's entries: its text, or a card each of whose senses the band has.
const showsBand = (state, band) => (state.card ? state.senses.length > 0 && state.senses.every((sense) => band.includes(sense))
  : state.text === band);

async function waitForPopup(page, test, frame = null) {
  const start = Date.now();
  for (;;) {
    const state = await popupState(page, frame);
    if (test(state)) return state;
    if (Date.now() - start > 10000) throw new Error(`popup never matched; last: ${JSON.stringify(state)}`);
    await new Promise((resolve) => setTimeout(resolve, 20));
  }
}

async function pointAt(page, selector, index) {
  const at = await characterCentre(page.mainFrame(), selector, index);
  await page.mouse.move(at.x, at.y);
}

function wordBox(page, selector, start, end) {
  return page.evaluate(([sel, s, e]) => {
    const range = document.createRange();
    range.setStart(document.querySelector(sel).firstChild, s);
    range.setEnd(document.querySelector(sel).firstChild, e);
    const r = range.getBoundingClientRect();
    return { left: r.left, top: r.top, right: r.right, bottom: r.bottom };
  }, [selector, start, end]);
}

const overlaps = (a, b) => a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;

// Firefox gives the options page an address of its own per install (moz-extension://UUID), and
// the test works its check boxes through Playwright's own page calls.
test('the options page switches each setting and every tab follows', { skip: IN_FIREFOX && 'the options page is addressed by its Chromium URL' }, async () => {
  const browser = await launchBrowser();
  try {
    const tabs = [await openPage(browser.context, `${server.base}/`), await openPage(browser.context, `${server.base}/second`)];
    await clickMenuItem(tabs[0], 'Load Chinese/English Dictionary');
    await waitForBandText(tabs[0], (text) => /34000 lines read/.test(text));
    const options = await browser.context.newPage();
    await options.goto(`chrome-extension://${EXTENSION_ID}/options/options.html`);
    await options.waitForSelector('body[data-ready="true"]');
    for (const name of SWITCHES) assert.equal(await options.isChecked(`input[name=${name}]`), false, name);
    for (const name of SWITCHES) {
      await options.click(`input[name=${name}]`);
      await waitForSetting(browser, `${name}=1`);
      await options.waitForSelector(`input[name=${name}]:checked:not([disabled])`);
    }
    const expected = lookupWith('zh', '中国人很多。', ['--all-entries', '--standard-pinyin']);
    for (const tab of tabs) {
      await pointAt(tab, '#zh', 0);
      await waitForBandText(tab, (text) => text === expected);
      await waitForPopup(tab, (s) => s.shown && showsBand(s, expected));
    }
    // Turning the popup off hides it at once in the tab that shows it.
    await options.click('input[name=ReaderPopup]');
    await waitForSetting(browser, 'ReaderPopup=0');
    await waitForPopup(tabs[1], (s) => !s.shown && s.marked === null);
  } finally {
    await browser.close();
  }
});

test('the popup appears beside the word, inside the viewport, marks the match and hides', async (t) => {
  const browser = await launchBrowser({ settings: { ReaderPopup: '1', StandardPinyin: '1' } });
  try {
    const page = await openPage(browser.context, `${server.base}/`);
    await clickMenuItem(page, 'Load Chinese/English Dictionary');
    await waitForBandText(page, (text) => /34000 lines read/.test(text));

    await t.test('beside the word, with the band\'s text, colour and size and coloured tones', async () => {
      await pointAt(page, '#zh', 0);
      const band = lookupWith('zh', '中国人很多。', ['--standard-pinyin']);
      const state = await waitForPopup(page, (s) => s.shown && showsBand(s, band));
      assert.equal(state.marked, '中国人');
      assert.ok(!overlaps(state.box, await wordBox(page, '#zh', 0, 3)));
      assert.deepEqual([state.lang, state.color, state.fontSize], ['zh', 'rgb(0, 0, 255)', '19px']);
      assert.ok(state.tones.length >= 3 && state.tones.every((s) => /^tone[1-5]:/.test(s)), state.tones.join(' '));
      if (process.env.PELUXBAR_SCREENSHOT) await page.screenshot({ path: process.env.PELUXBAR_SCREENSHOT });
    });

    await t.test('an English word is marked whole', async () => {
      await pointAt(page, '#en', 6);
      const state = await waitForPopup(page, (s) => s.shown && s.marked === 'cats');
      assert.ok(!overlaps(state.box, await wordBox(page, '#en', 4, 8)));
    });

    for (const [name, selector, index, word] of [['bottom', '#bottom', 0, [0, 2]], ['right', '#right', 2, [2, 4]]]) {
      await t.test(`near the ${name} edge it stays inside the viewport`, async () => {
        await pointAt(page, selector, index);
        const state = await waitForPopup(page, (s) => s.shown && s.marked === (name === 'bottom' ? '我们' : '汉语'));
        const { box, view } = state;
        assert.ok(box.left >= 0 && box.top >= 40 && box.right <= view.width && box.bottom <= view.height, JSON.stringify(state));
        assert.ok(!overlaps(box, await wordBox(page, selector, ...word)));
      });
    }

    await t.test('a text the page cuts short during its lookup shows no popup, and the next move is looked up', async () => {
      const errors = extensionErrors(page);
      await page.mouse.move(600, 600);
      const at = await characterCentre(page.mainFrame(), '#short', 3);
      const next = await characterCentre(page.mainFrame(), '#zh', 8);
      await page.mouse.move(at.x, at.y);
      await page.mouse.move(next.x, next.y);
      await waitForPopup(page, (s) => s.shown && s.marked === '学习');
      assert.deepEqual(errors, []);
    });

    await t.test('Escape, scrolling and leaving the text hide it; untrusted moves show nothing', async () => {
      for (const hide of [() => page.keyboard.press('Escape'), () => page.mouse.wheel(0, 200), () => page.mouse.move(600, 600)]) {
        await page.evaluate(() => window.scrollTo(0, 0));
        await pointAt(page, '#zh', 0);
        await waitForPopup(page, (s) => s.shown && s.marked === '中国人');
        await hide();
        await waitForPopup(page, (s) => !s.shown && s.marked === null);
      }
      // Each showing puts the text into the popup's box anew.
      await inContentWorld(page, (_, shadowOf) => {
        const box = shadowOf(document.querySelector('peluxbar-popup')).querySelector('#box');
        window.__shown = [];
        new MutationObserver((records) => { for (const r of records) window.__shown.push(r.target.textContent); })
          .observe(box, { childList: true });
      });
      const fake = await characterCentre(page.mainFrame(), '#ja', 0);
      await page.evaluate(({ x, y }) => document.elementFromPoint(x, y).dispatchEvent(
        new MouseEvent('mousemove', { bubbles: true, clientX: x, clientY: y })), fake);
      await pointAt(page, '#zh', 8);
      await waitForPopup(page, (s) => s.shown && s.marked === '学习');
      assert.equal(await inContentWorld(page, () => window.__shown.length), 1);
    });
  } finally {
    await browser.close();
  }
});

test('a frame\'s popup draws FontSize by the band\'s rules: at least 8 pixels, at most half the frame', async (t) => {
  for (const [fontSize, drawn] of [['0', '8px'], ['-5000', '100px'], ['-23', '23px']]) {
    await t.test(`FontSize=${fontSize}`, async () => {
      const browser = await launchBrowser({ settings: { ReaderPopup: '1', FontSize: fontSize } });
      try {
        const page = await openPage(browser.context, `${server.base}/framed`);
        await clickMenuItem(page, 'Load Chinese/English Dictionary');
        await waitForBandText(page, (text) => /34000 lines read/.test(text));
        const frame = page.frames().find((f) => f.url().endsWith('/inner'));
        const at = await characterCentre(frame, '#zh', 0);
        const box = await (await frame.frameElement()).boundingBox();
        await page.mouse.move(box.x + 2 + at.x, box.y + 2 + at.y);
        const state = await waitForPopup(page, (s) => s.shown, frame);
        assert.equal(state.fontSize, drawn);
      } finally {
        await browser.close();
      }
    });
  }
});

test('with LoadAtStart the last completed load comes back after a browser restart', async () => {
  const first = await launchBrowser({ settings: { LoadAtStart: '1' } });
  let reuse = null;
  try {
    const page = await openPage(first.context, `${server.base}/`);
    await clickMenuItem(page, 'Load Japanese/English Dictionary');
    await waitForBandText(page, (text) => /116000 lines read/.test(text));
    await waitForSetting(first, 'LastLoadedLanguage=1');
    reuse = { profile: first.profile, config: first.config };
  } finally {
    await first.close({ keep: true });
  }
  const again = await launchBrowser({ reuse });
  try {
    const page = await openPage(again.context, `${server.base}/`);
    await pointAt(page, '#ja', 0);
    const expected = asTextArea(JSON.parse(execFileSync(PELUXBAR, ['lookup', '--dict-dir', DATA, '--lang', 'ja', '--json', '日本語を話す。'])).band);
    await waitForBandText(page, (text) => text === expected);
  } finally {
    await again.close();
  }
});
