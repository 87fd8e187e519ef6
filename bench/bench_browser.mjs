// Latency from a mouse move to the band's new text, and to the reader's card, in Chromium, and the
// host's memory with each dictionary loaded. Uses the dictionaries in $PELUXBAR_DICT_DIR (the bundled set by default):
//   node bench/bench_browser.mjs [samples]
import fs from 'node:fs';
import path from 'node:path';
import {
  launchBrowser, openPage, servePages, clickMenuItem, characterCentre, inContentWorld, recordBandTexts, waitForBandDrawn,
  waitInContentWorld, DATA, PELUXBAR,
} from '../tests/e2e/helpers.mjs';

const SAMPLES = Number(process.argv[2] || 300);
// The host runs in a folder of the browser's choosing: a relative folder is taken from here.
const dictDir = process.env.PELUXBAR_DICT_DIR ? path.resolve(process.env.PELUXBAR_DICT_DIR) : DATA;
const PAGE = `<!doctype html><html><head><meta charset="utf-8"><style>body { font: 28px/1.6 sans-serif; }</style></head>
<body><p id="zh">中国人很多。我们学习汉语，每天读报纸。</p><p id="ja">日本語を話す人は多いです。東京は日本の首都です。</p>
<p id="en">The cats were sleeping in the garden.</p></body></html>`;

function hostMemoryKb() {
  for (const pid of fs.readdirSync('/proc').filter((name) => /^\d+$/.test(name))) {
    try {
      const cmdline = fs.readFileSync(`/proc/${pid}/cmdline`, 'utf8').split('\0');
      if (cmdline[0] === PELUXBAR && cmdline.some((arg) => arg.startsWith('chrome-extension://'))) {
        return Number(fs.readFileSync(`/proc/${pid}/status`, 'utf8').match(/VmRSS:\s+(\d+)/)[1]);
      }
    } catch { /* the process went away */ }
  }
  return NaN;
}

async function load(page, caption) {
  const start = Date.now();
  await recordBandTexts(page);
  await clickMenuItem(page, caption);
  await inContentWorld(page, () => window.__loadEnded);
  return (Date.now() - start) / 1000;
}

// Moves between points, timing each from the move event to `shown`: the band's text area given
// its new text ('band'), or the reader popup's box filled anew ('popup'). Both are watched from
// the content script's world through the DevTools protocol, where the page cannot look.
async function measure(page, points, shown = 'band') {
  await inContentWorld(page, (what, shadowOf) => {
    window.__lastMove = null;
    window.__latencies = [];
    window.__fromInput = [];
    // The page sees a move when its mousemove event is dispatched; Chromium may hold an input
    // event until the next frame, which the event's time stamp includes.
    document.addEventListener('mousemove', (e) => { window.__lastMove = { dispatched: performance.now(), input: e.timeStamp }; }, true);
    const onShown = () => {
      if (!window.__lastMove) return;
      const now = performance.now();
      window.__latencies.push(now - window.__lastMove.dispatched);
      window.__fromInput.push(now - window.__lastMove.input);
      window.__lastMove = null;
    };
    if (what === 'popup') {
      const box = shadowOf(document.querySelector('peluxbar-popup')).querySelector('#box');
      new MutationObserver(onShown).observe(box, { childList: true });
    } else {
      const area = shadowOf(document.querySelector('peluxbar-band')).querySelector('textarea');
      const value = Object.getOwnPropertyDescriptor(HTMLTextAreaElement.prototype, 'value');
      Object.defineProperty(area, 'value', {
        configurable: true, get() { return value.get.call(this); }, set(text) { value.set.call(this, text); onShown(); },
      });
    }
  }, shown);
  for (let i = 0; i < SAMPLES; i += 1) {
    const p = points[i % points.length];
    const count = i + 1;
    await page.mouse.move(p.x, p.y);
    await waitInContentWorld(page, (n) => window.__latencies.length >= n, count).catch(() => {});
  }
  const stats = (values) => {
    const sorted = values.slice().sort((a, b) => a - b);
    const at = (q) => sorted[Math.min(sorted.length - 1, Math.floor(q * sorted.length))];
    return { n: sorted.length, median: at(0.5), p95: at(0.95) };
  };
  return { dispatched: stats(await inContentWorld(page, () => window.__latencies)), input: stats(await inContentWorld(page, () => window.__fromInput)) };
}

const show = (s) => `${s.n} samples: median ${s.median.toFixed(2)} ms, p95 ${s.p95.toFixed(2)} ms`;

async function pointsOf(page, selector, indexes) {
  const points = [];
  for (const i of indexes) points.push(await characterCentre(page.mainFrame(), selector, i));
  for (const i of [5, 10]) points.push(await characterCentre(page.mainFrame(), '#en', i));
  return points;
}

// The same moves with the reader's popup on: the time until the popup (the learner's card, where
// the host sends one) shows the entries.
async function measurePopup(server) {
  const browser = await launchBrowser({ dictDir, settings: { ReaderPopup: '1' } });
  try {
    const page = await openPage(browser.context, `${server.base}/`);
    for (const [lang, caption, selector, indexes] of LANGUAGES) {
      await load(page, caption);
      const points = await pointsOf(page, selector, indexes);
      // The popup's element is made when it first shows.
      await page.mouse.move(points[0].x, points[0].y);
      await waitInContentWorld(page, () => document.querySelector('peluxbar-popup') !== null);
      // With the host's structured reply the popup is the learner's card, else the band's text.
      const drawn = await waitInContentWorld(page, (_, shadowOf) => {
        const box = shadowOf(document.querySelector('peluxbar-popup')).querySelector('#box');
        return box.hidden ? null : (box.classList.contains('card') ? 'card' : 'popup text');
      }, null);
      await page.mouse.move(0, 0);
      const r = await measure(page, points, 'popup');
      console.log(`${lang}: mousemove event to reader ${drawn}, ${show(r.dispatched)}`);
    }
  } finally {
    await browser.close();
  }
}

const LANGUAGES = [
  ['zh', 'Load Chinese/English Dictionary', '#zh', [0, 1, 2, 6, 8, 10]],
  ['ja', 'Load Japanese/English Dictionary', '#ja', [0, 3, 4, 13, 15, 16]],
];
const server = await servePages({ '/': PAGE });
const browser = await launchBrowser({ dictDir });
try {
  const page = await openPage(browser.context, `${server.base}/`);
  console.log(`dictionaries: ${dictDir}`);
  console.log(`host memory, nothing loaded: ${hostMemoryKb()} kB`);
  for (const [lang, caption, selector, indexes] of [
    ['zh', 'Load Chinese/English Dictionary', '#zh', [0, 1, 2, 6, 8, 10]],
    ['ja', 'Load Japanese/English Dictionary', '#ja', [0, 3, 4, 13, 15, 16]],
  ]) {
    const seconds = await load(page, caption);
    console.log(`${lang}: load ${seconds.toFixed(1)} s, host memory ${hostMemoryKb()} kB`);
    const r = await measure(page, await pointsOf(page, selector, indexes));
    console.log(`${lang}: mousemove event to band text, ${show(r.dispatched)}`);
    console.log(`${lang}: input time stamp to band text, ${show(r.input)}`);
    await page.reload();
    await waitForBandDrawn(page);
  }
  await browser.close();
  await measurePopup(server);
} finally {
  await browser.close().catch(() => {});
  await server.close();
}
