// A page and the frames it embeds try to read what PeluxBar shows and to steer the user's clicks
// onto PeluxBar's controls after restyling, moving or covering them. They learn nothing of what
// is looked up, in their own text or in another site's frame, and change nothing.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, test } from 'node:test';
import {
  bandText, characterCentre, clickIn, clickMenuItem, hostMessages, inContentWorld, launchBrowser, openPage,
  servePages, shadowPoint, tempDir, waitForBandText, waitInContentWorld,
} from './helpers.mjs';

// Everything a script may try to learn what PeluxBar draws: every event on every node, every
// change of the document, its whole markup and rendered text, the selection, the highlights and
// our hosts' roots. What it sees is kept in window.seen.
const PROBE = `<script>
  window.seen = new Set();
  const note = (v) => { if (typeof v === 'string' && v.length) window.seen.add(v); };
  const names = [window, Document.prototype, HTMLElement.prototype].flatMap((o) => Object.getOwnPropertyNames(o));
  const TYPES = [...new Set(names.filter((n) => n.startsWith('on')).map((n) => n.slice(2)).concat(
    ['peluxbar-text', 'peluxbar-popup', 'peluxbar-load-ended', 'selectionchange', 'focusin', 'focusout']))];
  function noteEvent(e) {
    note(e.type);
    for (const k in e) { try { if (typeof e[k] === 'string') note(e[k]); } catch {} }
    try { note(JSON.stringify(e.detail)); } catch {}
    for (const n of e.composedPath()) {
      if (n.nodeType !== 1) continue;
      note(n.textContent);
      if (n.shadowRoot) note(n.shadowRoot.textContent);
      if (typeof n.value === 'string') note(n.value);
    }
  }
  const listened = new WeakSet();
  function listen(target) {
    if (listened.has(target)) return;
    listened.add(target);
    for (const type of TYPES) { target.addEventListener(type, noteEvent, true); target.addEventListener(type, noteEvent); }
  }
  function sweep() {
    listen(window);
    listen(document);
    for (const el of document.querySelectorAll('*')) listen(el);
    note(document.documentElement.outerHTML);
    note(document.documentElement.innerText);
    note(String(getSelection()));
    for (const host of document.querySelectorAll('peluxbar-band, peluxbar-popup, peluxbar-dialog')) {
      if (host.shadowRoot) note(host.shadowRoot.textContent);
      note(host.innerText);
    }
    for (const [name, highlight] of CSS.highlights) { note(name); for (const r of highlight) note(r.toString()); }
  }
  new MutationObserver((records) => {
    for (const r of records) {
      if (r.attributeName) note(r.target.getAttribute(r.attributeName));
      note(r.oldValue);
      for (const n of r.addedNodes) note(n.textContent);
    }
    sweep();
  }).observe(document, { subtree: true, childList: true, attributes: true, characterData: true,
    attributeOldValue: true, characterDataOldValue: true });
  sweep();
  setInterval(sweep, 50);
</script>`;

const TOP = `<!doctype html><html><head><meta charset="utf-8"><style>
  body { font: 24px/1.5 sans-serif; margin: 10px; } iframe { width: 600px; height: 120px; border: 0; }</style></head>
<body><p id="zh">中国人很多。</p><iframe id="other"></iframe>${PROBE}</body></html>`;
const FRAME = `<!doctype html><html><head><meta charset="utf-8"><style>body { font: 24px/1.5 sans-serif; margin: 0; }</style></head>
<body><p id="zh">学生在图书馆看书。</p>${PROBE}</body></html>`;
const STEER = `<!doctype html><html><head><meta charset="utf-8"><style>
  body { font: 24px/1.5 sans-serif; margin: 10px; } .decoy { position: fixed; inset: 0; z-index: 2147483647; background: #fff; }
</style><style id="attack"></style></head><body><p>中国人很多。</p></body></html>`;

let top;
let other;
let browser;
const log = path.join(tempDir('hostlog'), 'input');
before(async () => {
  other = await servePages({ '/frame': FRAME });
  top = await servePages({ '/': TOP, '/steer': STEER });
  browser = await launchBrowser({ hostInput: log, settings: { ReaderPopup: '1' } });
});
after(async () => {
  await browser?.close();
  await top?.close();
  await other?.close();
  fs.rmSync(path.dirname(log), { recursive: true, force: true });
});

const settingsFile = () => path.join(browser.config, 'peluxbar', 'settings');
const received = (type) => hostMessages(log).filter((m) => m.type === type);

// The parts of a band text that only the dictionary knows: each line's reading and definitions.
const secrets = (text) => text.split('\n').map((line) => line.slice(line.indexOf('['))).filter((s) => s.length > 3);

async function learned(frame, text) {
  const seen = await frame.evaluate(() => [...window.seen]);
  return secrets(text).filter((secret) => seen.some((s) => s.includes(secret)));
}

test('neither a page nor another site\'s frame in it learns what is looked up, by reading or listening', async () => {
  const page = await openPage(browser.context, `${top.base}/`);
  // The frame comes from another origin: localhost on another port.
  await page.evaluate((src) => { document.querySelector('#other').src = src; }, `${other.base.replace('127.0.0.1', 'localhost')}/frame`);
  const frame = await (await page.waitForSelector('#other')).contentFrame();
  await frame.waitForSelector('#zh');
  const settingsBefore = fs.readFileSync(settingsFile());
  await clickMenuItem(page, 'Load Chinese/English Dictionary');
  await waitForBandText(page, (text) => /34000 lines read/.test(text));

  const texts = [];
  for (const [where, index] of [[frame, 3], [page.mainFrame(), 0]]) {
    const at = await characterCentre(where, '#zh', index);
    const offset = where === frame ? await (await frame.frameElement()).boundingBox() : { x: 0, y: 0 };
    const before = await bandText(page);
    await page.mouse.move(at.x + offset.x, at.y + offset.y);
    texts.push(await waitForBandText(page, (text) => text !== before && text.includes('[')));
  }
  // The user opens the menu and the Text Color dialog, and cancels it.
  await clickMenuItem(page, 'Color');
  await shadowPoint(page, 'peluxbar-dialog', '#cancel');
  await clickIn(page, 'peluxbar-dialog', '#cancel');
  await page.waitForFunction(() => !document.querySelector('peluxbar-dialog'));
  await new Promise((resolve) => setTimeout(resolve, 200));

  assert.ok(texts[0].includes('图书馆') && texts[1].includes('中国人'), texts.join('\n---\n'));
  for (const text of texts) {
    assert.deepEqual(await learned(page.mainFrame(), text), [], 'the top page');
    assert.deepEqual(await learned(frame, text), [], 'the frame');
  }
  assert.deepEqual(fs.readFileSync(settingsFile()), settingsBefore);
  await page.close();
});

// Each row disguises or covers a control of the band, then the user clicks where it is drawn.
const ATTACKS = [
  { name: 'a transparent band', css: 'peluxbar-band { opacity: 0 !important; }' },
  { name: 'a band nearly transparent through its inline style', script: (host) => { host.style.opacity = '0.02'; } },
  { name: 'a filtered band', css: 'peluxbar-band { filter: opacity(0.05) !important; }' },
  { name: 'a band moved down', css: 'peluxbar-band { top: 200px !important; }' },
  { name: 'a transformed band', css: 'peluxbar-band { transform: translateX(-300px) scale(2) !important; }' },
  { name: 'a band scaled by itself', css: 'peluxbar-band { scale: 1.5 !important; }' },
  { name: 'a clipped band', css: 'peluxbar-band { clip-path: inset(0 0 0 60%) !important; }' },
  { name: 'a blended band', css: 'peluxbar-band { mix-blend-mode: difference !important; }' },
  { name: 'a transparent document', css: 'html { opacity: 0.01 !important; }' },
  { name: 'a filtered document', css: 'html { filter: invert(1) !important; }' },
  { name: 'a decoy that lets the pointer through', script: () => {
    const decoy = document.createElement('div');
    decoy.className = 'decoy';
    decoy.style.pointerEvents = 'none';
    document.documentElement.append(decoy);
  } },
  { name: 'a decoy drawn after the document', css: 'html::after { content: ""; position: fixed; inset: 0; z-index: 2147483647; background: #fff; pointer-events: none; }' },
  { name: 'a decoy in the top layer', script: () => {
    const decoy = document.createElement('div');
    decoy.className = 'decoy';
    decoy.popover = 'manual';
    decoy.style.pointerEvents = 'none';
    document.body.append(decoy);
    decoy.showPopover();
  } },
  { name: 'the band moved into the page', script: (host) => { document.body.append(host); } },
  { name: 'a transparent band shown only while the press is dispatched',
    css: 'peluxbar-band { opacity: 0 !important; }',
    script: () => {
      const show = () => { document.querySelector('#attack').textContent = ''; };
      for (const type of ['pointerdown', 'mousedown']) window.addEventListener(type, show, { capture: true, once: true });
    } },
];

test('a click the page steers onto a restyled, moved or covered control is no command', async (t) => {
  const page = await openPage(browser.context, `${top.base}/steer`);
  const settingsBefore = fs.readFileSync(settingsFile());
  const commandsBefore = received('command').length;
  const reset = () => page.evaluate(() => {
    document.querySelector('#attack').textContent = '';
    for (const decoy of document.querySelectorAll('.decoy')) decoy.remove();
    const host = document.querySelector('peluxbar-band');
    host.removeAttribute('style');
    document.documentElement.append(host);
  });
  // Whatever the page did has reached the host once the band's next layout, asked for after it,
  // has come back.
  const settle = async (width) => {
    await page.setViewportSize({ width, height: 700 });
    await waitInContentWorld(page, (w, shadowOf) => shadowOf(document.querySelector('peluxbar-band'))
      .querySelector('textarea').getBoundingClientRect().width === w - 60, width);
  };
  let width = 1000;
  for (const attack of ATTACKS) {
    for (const target of ['#bigger', 'menu row']) {
      await t.test(`${attack.name}: ${target}`, async () => {
        // A click on the page closes a menu left open; then the user opens it.
        await page.mouse.click(500, 650);
        if (target === 'menu row') await clickIn(page, 'peluxbar-band', '#menu');
        const at = target === 'menu row'
          ? await shadowPoint(page, 'peluxbar-band', '#menu-popup .item', { hasText: 'Use Tooltips' })
          : await shadowPoint(page, 'peluxbar-band', target);
        await page.evaluate(({ css, script }) => {
          if (css) document.querySelector('#attack').textContent = css;
          if (script) (0, eval)(`(${script})`)(document.querySelector('peluxbar-band'));
        }, { css: attack.css, script: attack.script && attack.script.toString() });
        // Where the control is drawn now, else where it was: the user clicks what the page shows there.
        const drawn = await inContentWorld(page, ([sel, caption], shadowOf) => {
          const root = shadowOf(document.querySelector('peluxbar-band'));
          const el = [...root.querySelectorAll(sel)].find((e) => caption === null || e.textContent.includes(caption));
          const box = el && el.getBoundingClientRect();
          return box && box.width > 0 ? { x: box.left + box.width / 2, y: box.top + box.height / 2 } : null;
        }, target === 'menu row' ? ['#menu-popup .item', 'Use Tooltips'] : [target, null]);
        const point = drawn && drawn.x >= 0 && drawn.y >= 0 && drawn.x < 1000 && drawn.y < 700 ? drawn : at;
        await page.mouse.click(point.x, point.y);
        await reset();
        width = width === 1000 ? 900 : 1000;
        await settle(width);
        assert.equal(received('command').length, commandsBefore);
      });
    }
  }
  assert.deepEqual(fs.readFileSync(settingsFile()), settingsBefore);
  // The same click on the band as drawn is a command.
  await clickIn(page, 'peluxbar-band', '#bigger');
  await settle(800);
  assert.deepEqual(received('command').slice(commandsBefore).map((m) => m.id), [107]);
  await page.close();
});

test('keys and clicks on a Text Color dialog the page made invisible are no answer', async () => {
  const page = await openPage(browser.context, `${top.base}/steer`);
  const answersBefore = received('colorAnswer').length;
  await clickMenuItem(page, 'Color');
  await shadowPoint(page, 'peluxbar-dialog', '#ok');
  await page.evaluate(() => { document.querySelector('#attack').textContent = 'peluxbar-dialog { opacity: 0 !important; }'; });
  await page.keyboard.press('Enter');
  await clickIn(page, 'peluxbar-dialog', '#other');
  await page.evaluate(() => { document.querySelector('#attack').textContent = ''; });
  await page.setViewportSize({ width: 900, height: 700 });
  await waitInContentWorld(page, (_, shadowOf) => shadowOf(document.querySelector('peluxbar-band'))
    .querySelector('textarea').getBoundingClientRect().width === 840);
  assert.equal(received('colorAnswer').length, answersBefore);
  assert.equal(await page.evaluate(() => document.querySelectorAll('peluxbar-dialog').length), 1);
  await page.keyboard.press('Escape');
  await page.waitForFunction(() => !document.querySelector('peluxbar-dialog'));
  assert.deepEqual(received('colorAnswer').slice(answersBefore).map((m) => m.result), [2]);
  await page.close();
});
