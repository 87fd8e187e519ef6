// The word list on the options page, in Chromium: it shows what words.tsv holds, removes a row,
// and exports files that Anki and a spreadsheet import as they are.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { test } from 'node:test';
import { IN_FIREFOX, callWorkerFunction, hostMessages, launchBrowser, tempDir } from './helpers.mjs';

// Chromium only: the options page is reached by its Chromium address, the exports through
// Playwright's download events, and the service worker's function through the DevTools protocol.
// In Firefox the card's `w` (card.test.mjs) saves through the same service worker and host.
const ONLY_CHROMIUM = { skip: IN_FIREFOX && 'Chromium-only harness: extension address, download events, worker heap' };

const EXTENSION_ID = 'dnmjknmpjiimmmefmjaadnbbmaldmlcj';
const LINES = [
  '猫\tねこ\t(n) cat\t猫が<b>いる</b>。\thttps://example.com/cats\t2026-12-09T04:50:00Z\n',
  '中国; 中國\tzhong1 guo2\tChina\t"中国人"很多,\\t真的。\thttps://example.com/zh\t2026-12-09T04:51:00Z\n',
];

async function openOptions(browser) {
  fs.writeFileSync(path.join(browser.config, 'peluxbar', 'words.tsv'), LINES.join(''));
  const options = await browser.context.newPage();
  await options.goto(`chrome-extension://${EXTENSION_ID}/options/options.html`);
  await options.waitForSelector('body[data-words="2"]');
  return options;
}

async function exported(options, button) {
  const [download] = await Promise.all([options.waitForEvent('download'), options.click(button)]);
  return { name: download.suggestedFilename(), text: fs.readFileSync(await download.path(), 'utf8') };
}

test('the options page exports the word list for Anki and as CSV', ONLY_CHROMIUM, async () => {
  const browser = await launchBrowser();
  try {
    const options = await openOptions(browser);
    const rows = await options.$$eval('#words tbody tr', (trs) => trs.map((tr) => [...tr.cells].slice(0, 6).map((td) => td.textContent)));
    assert.deepEqual(rows[0], ['猫', 'ねこ', '(n) cat', '猫が<b>いる</b>。', 'https://example.com/cats', '2026-12-09T04:50:00Z']);
    assert.equal(await options.$$eval('#words a', (links) => links.length), 0);

    const anki = await exported(options, '#export-anki');
    assert.equal(anki.name, 'peluxbar-words.txt');
    assert.deepEqual(anki.text.split('\n').slice(0, 4), [
      '#separator:tab', '#html:false', '#columns:Front\tReading\tMeaning\tSentence\tSource\tAdded',
      '猫\tねこ\t(n) cat\t猫が<b>いる</b>。\thttps://example.com/cats\t2026-12-09T04:50:00Z',
    ]);
    assert.match(anki.text, /\t"""中国人""很多,\t真的。"\t/);

    const csv = await exported(options, '#export-csv');
    assert.equal(csv.name, 'peluxbar-words.csv');
    assert.equal(csv.text.split('\r\n')[0], 'Front,Reading,Meaning,Sentence,Source,Added');
    assert.match(csv.text, /,"""中国人""很多,\t真的。",/);
  } finally {
    await browser.close();
  }
});

test('removing a row of the options page removes that word from words.tsv', ONLY_CHROMIUM, async () => {
  const browser = await launchBrowser();
  try {
    const options = await openOptions(browser);
    await options.click('#words tbody tr:first-child button');
    await options.waitForSelector('body[data-words="1"]');
    assert.equal(await options.textContent('#words tbody td'), '中国; 中國');
    assert.equal(fs.readFileSync(path.join(browser.config, 'peluxbar', 'words.tsv'), 'utf8'), LINES[1]);
    assert.equal(await options.textContent('#word-problem'), '');
  } finally {
    await browser.close();
  }
});

test('the service worker saves with the browser\'s address of the page, and nothing from a private window', ONLY_CHROMIUM, async () => {
  const log = path.join(tempDir('words-input'), 'host-input');
  const browser = await launchBrowser({ hostInput: log });
  try {
    const message = { type: 'saveWord', seq: 5 };
    const sender = (incognito) => ({ tab: { id: 1, incognito }, frameId: 2, url: 'https://example.com/a/b?user=me#part' });
    await callWorkerFunction(browser, 'saveWord', message, sender(true), { tab: 1, frame: 2 });
    await callWorkerFunction(browser, 'saveWord', message, sender(false), { tab: 1, frame: 2 });
    const saves = () => hostMessages(log).filter((m) => m.type === 'saveWord');
    for (let waited = 0; saves().length === 0 && waited < 10000; waited += 100) await new Promise((r) => setTimeout(r, 100));
    assert.deepEqual(saves(), [{ type: 'saveWord', tab: 1, frame: 2, seq: 5, url: 'https://example.com/a/b' }]);
  } finally {
    await browser.close();
    fs.rmSync(path.dirname(log), { recursive: true, force: true });
  }
});
