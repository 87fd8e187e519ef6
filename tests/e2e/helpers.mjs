// Shared by the end-to-end tests: a page server on the loopback address, a Chromium profile with
// the extension and the native host registered, and ways to read the band of a tab.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';

export const ROOT = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
export const EXTENSION = path.join(ROOT, 'extension');
export const PELUXBAR = process.env.PELUXBAR_BIN || path.join(ROOT, 'build', 'peluxbar');
export const DATA = path.join(ROOT, 'data');
export const PROMPT = /^<---- Please load dictionary for this window\. {4}(-?\d+) (-?\d+)$/;

export function tempDir(name) {
  return fs.mkdtempSync(path.join(os.tmpdir(), `peluxbar-${name}-`));
}

// Serves each page of `pages` (path -> HTML) as UTF-8.
export async function servePages(pages) {
  const server = http.createServer((request, response) => {
    const body = pages[request.url.split('?')[0]];
    response.writeHead(body === undefined ? 404 : 200, { 'Content-Type': 'text/html; charset=utf-8' });
    response.end(body === undefined ? 'not found' : body);
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  const base = `http://127.0.0.1:${server.address().port}`;
  return { base, close: () => new Promise((resolve) => server.close(resolve)) };
}

// Chromium with the extension, the host registered in the profile by `peluxbar install`,
// dictionaries from `dictDir` and the settings file in a config folder of its own. `reuse` (the
// profile and config of an earlier launch) starts the same browser again, as after a restart.
// With `hostInput`, the host is started through a script that also copies everything the
// browser sends it into that file (read it with hostMessages).
export async function launchBrowser({ dictDir = DATA, settings = {}, install = true, reuse = null, hostInput = null } = {}) {
  const profile = reuse ? reuse.profile : tempDir('profile');
  const config = reuse ? reuse.config : tempDir('config');
  if (install && !reuse) execFileSync(PELUXBAR, ['install', '--user-data-dir', profile]);
  if (hostInput && !reuse) recordHostInput(profile, config, hostInput);
  if (!reuse) {
    fs.mkdirSync(path.join(config, 'peluxbar'), { recursive: true });
    const lines = Object.entries(settings).map(([name, value]) => `${name}=${value}\n`).join('');
    fs.writeFileSync(path.join(config, 'peluxbar', 'settings'), lines);
  }
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: process.env.PELUXBAR_CHROMIUM || '/usr/bin/chromium',
    headless: false,
    viewport: { width: 1000, height: 700 },
    env: { ...process.env, PELUXBAR_DICT_DIR: dictDir, XDG_CONFIG_HOME: config, ASAN_OPTIONS: 'detect_leaks=0' },
    args: ['--headless=new', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--no-first-run',
      '--disable-features=DisableLoadExtensionCommandLineSwitch',
      `--disable-extensions-except=${EXTENSION}`, `--load-extension=${EXTENSION}`],
  });
  let worker = context.serviceWorkers()[0];
  if (!worker) worker = await context.waitForEvent('serviceworker', { timeout: 15000 });
  const close = async ({ keep = false } = {}) => {
    await context.close();
    if (!keep) for (const dir of [profile, config]) fs.rmSync(dir, { recursive: true, force: true });
  };
  return { context, worker, profile, config, close };
}

function recordHostInput(profile, config, log) {
  const manifestFile = path.join(profile, 'NativeMessagingHosts', 'com.tandrel.peluxbar.json');
  const manifest = JSON.parse(fs.readFileSync(manifestFile, 'utf8'));
  const script = path.join(config, 'host-recorder.sh');
  const quote = (text) => `'${text.replace(/'/g, "'\\''")}'`;
  fs.writeFileSync(script, `#!/bin/sh\ntee -a ${quote(log)} | ${quote(manifest.path)} "$@"\n`, { mode: 0o755 });
  manifest.path = script;
  fs.writeFileSync(manifestFile, JSON.stringify(manifest));
}

// The messages recorded by launchBrowser's `hostInput`, decoded from their native framing.
export function hostMessages(log) {
  const bytes = fs.existsSync(log) ? fs.readFileSync(log) : Buffer.alloc(0);
  const messages = [];
  for (let at = 0; at + 4 <= bytes.length;) {
    const length = bytes.readUInt32LE(at);
    if (at + 4 + length > bytes.length) break;
    messages.push(JSON.parse(bytes.subarray(at + 4, at + 4 + length).toString('utf8')));
    at += 4 + length;
  }
  return messages;
}

// A page whose band is drawn (the host answered with its layout, unless `drawn` is false).
export async function openPage(context, url, { drawn = true } = {}) {
  const page = await context.newPage();
  await page.goto(url);
  await page.waitForFunction((mustBeDrawn) => {
    const band = document.querySelector('peluxbar-band');
    const text = band && band.shadowRoot && band.shadowRoot.querySelector('textarea');
    return text && (!mustBeDrawn || text.style.width !== '');
  }, drawn, { timeout: 15000 });
  return page;
}

export function bandText(page) {
  return page.evaluate(() => document.querySelector('peluxbar-band').shadowRoot.querySelector('textarea').value);
}

export async function waitForBandText(page, test, timeout = 10000) {
  const start = Date.now();
  for (;;) {
    const text = await bandText(page);
    if (test(text)) return text;
    if (Date.now() - start > timeout) throw new Error(`band text never matched; last: ${JSON.stringify(text)}`);
    await new Promise((resolve) => setTimeout(resolve, 20));
  }
}

// The centre of the character at `index` of the text of the element `selector`, in the page's
// coordinates (through the frame when given).
export async function characterCentre(frame, selector, index) {
  return frame.evaluate(([sel, i]) => {
    const node = document.querySelector(sel).firstChild;
    const range = document.createRange();
    range.setStart(node, i);
    range.setEnd(node, i + 1);
    const box = range.getBoundingClientRect();
    return { x: box.left + box.width / 2, y: box.top + box.height / 2 };
  }, [selector, index]);
}

// The band acts only on the user's own input, so the tests press the real mouse.
export async function clickMenuItem(page, caption) {
  await page.locator('peluxbar-band #menu').click();
  await page.locator('peluxbar-band #menu-popup .item', { hasText: caption }).first().click();
}

// What `peluxbar lookup` gives for the captured text, with line ends as a text area keeps them.
export function lookup(lang, text) {
  const out = execFileSync(PELUXBAR, ['lookup', '--dict-dir', DATA, '--lang', lang, '--json', text],
    { env: { ...process.env, ASAN_OPTIONS: 'detect_leaks=0' } });
  return JSON.parse(out.toString('utf8'));
}

export const asTextArea = (text) => text.replace(/\r\n|\r/g, '\n');

// A copy of the bundled Chinese dictionary whose main file is repeated up to `lines` lines, so
// that a load lasts long enough to watch and to cancel.
export function makeBigChineseDictionary(lines) {
  const dir = tempDir('bigdict');
  for (const name of ['UNICHIN.TXT', 'irregularverbs.txt']) fs.copyFileSync(path.join(DATA, name), path.join(dir, name));
  const text = fs.readFileSync(path.join(DATA, 'cedict_ts.uni')).toString('utf16le');
  const all = text.split('\r\n');
  const header = all[0];
  const body = all.slice(1).filter((line) => line.length > 0);
  const out = [header];
  for (let i = 0; out.length <= lines; i += 1) out.push(body[i % body.length]);
  fs.writeFileSync(path.join(dir, 'cedict_ts.uni'), Buffer.from(`${out.join('\r\n')}\r\n`, 'utf16le'));
  return { dir, close: () => fs.rmSync(dir, { recursive: true, force: true }) };
}
