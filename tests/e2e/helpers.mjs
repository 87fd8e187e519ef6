// Shared by the end-to-end tests: a page server on the loopback address, a browser profile with
// the extension and the native host registered, and ways to read the band of a tab. The browser
// is Chromium, or Firefox ESR when PELUXBAR_E2E_BROWSER=firefox (see firefox.mjs).
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';
import utilsBundle from 'playwright-core/lib/utilsBundle';
import { callFirefoxBackground, inFirefoxContentWorld, launchFirefox } from './firefox.mjs';

export const ROOT = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
export const EXTENSION = path.join(ROOT, 'extension');
export const PELUXBAR = process.env.PELUXBAR_BIN || path.join(ROOT, 'build', 'peluxbar');
export const DATA = path.join(ROOT, 'data');
export const BROWSER = process.env.PELUXBAR_E2E_BROWSER === 'firefox' ? 'firefox' : 'chromium';
export const IN_FIREFOX = BROWSER === 'firefox';
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
  if (!reuse) {
    fs.mkdirSync(path.join(config, 'peluxbar'), { recursive: true });
    const lines = Object.entries(settings).map(([name, value]) => `${name}=${value}\n`).join('');
    fs.writeFileSync(path.join(config, 'peluxbar', 'settings'), lines);
  }
  if (IN_FIREFOX) return launchFirefoxBrowser({ dictDir, install, reuse, hostInput, profile, config });
  if (install && !reuse) execFileSync(PELUXBAR, ['install', '--user-data-dir', profile]);
  if (hostInput && !reuse) recordHostInput(path.join(profile, 'NativeMessagingHosts', 'com.tandrel.peluxbar.json'), config, hostInput);
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: process.env.PELUXBAR_CHROMIUM || '/usr/bin/chromium',
    headless: false,
    viewport: { width: 1000, height: 700 },
    env: { ...process.env, PELUXBAR_DICT_DIR: dictDir, XDG_CONFIG_HOME: config, ASAN_OPTIONS: 'detect_leaks=0' },
    args: ['--headless=new', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--no-first-run',
      '--disable-features=DisableLoadExtensionCommandLineSwitch', '--remote-debugging-port=0',
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

async function launchFirefoxBrowser({ dictDir, install, reuse, hostInput, profile, config }) {
  // The home folder lies in the config folder, so that `reuse` brings it along.
  const home = path.join(config, 'home');
  fs.mkdirSync(home, { recursive: true });
  const record = hostInput ? (manifestFile) => recordHostInput(manifestFile, config, hostInput) : null;
  const { context, worker } = await launchFirefox({
    extension: EXTENSION, peluxbar: PELUXBAR, dictDir, profile, config, home, install, reuse, record,
  });
  const close = async ({ keep = false } = {}) => {
    await context.close();
    if (!keep) for (const dir of [profile, config]) fs.rmSync(dir, { recursive: true, force: true });
  };
  return { context, worker, profile, config, home, close };
}

// Calls a function of the service worker that no global names, by its name, through the DevTools
// protocol on the port Chromium wrote into the profile: the worker's heap holds it. Firefox's
// harness presses the button or menu entry that leads to it instead.
export async function callWorkerFunction(browser, name, ...args) {
  if (IN_FIREFOX) return callFirefoxBackground(browser, name, args);
  const port = fs.readFileSync(path.join(browser.profile, 'DevToolsActivePort'), 'utf8').split('\n')[0];
  const targets = await new Promise((resolve, reject) => {
    http.get(`http://127.0.0.1:${port}/json/list`, (response) => {
      let body = '';
      response.on('data', (chunk) => { body += chunk; });
      response.on('end', () => resolve(JSON.parse(body)));
    }).on('error', reject);
  });
  const target = targets.find((t) => t.type === 'service_worker' && t.url.endsWith('/background.js'));
  const socket = new utilsBundle.ws(target.webSocketDebuggerUrl);
  await new Promise((resolve, reject) => { socket.once('open', resolve); socket.once('error', reject); });
  const waiting = new Map();
  socket.on('message', (data) => {
    const reply = JSON.parse(data);
    waiting.get(reply.id)?.(reply);
  });
  let lastId = 0;
  const send = (method, params) => new Promise((resolve, reject) => {
    const id = ++lastId;
    waiting.set(id, (reply) => (reply.error ? reject(new Error(reply.error.message)) : resolve(reply.result)));
    socket.send(JSON.stringify({ id, method, params }));
  });
  try {
    // A worker just started may still be running its script: its functions exist once it is done.
    for (const started = Date.now(); ;) {
      const prototype = await send('Runtime.evaluate', { expression: 'Function.prototype' });
      const { objects } = await send('Runtime.queryObjects', { prototypeObjectId: prototype.result.objectId });
      const { result, exceptionDetails } = await send('Runtime.callFunctionOn', {
        objectId: objects.objectId,
        functionDeclaration: `function (name, args) {
          const found = this.find((f) => f.name === name);
          return found ? Promise.resolve(found(...args)).then((value) => ({ value })) : { missing: true };
        }`,
        arguments: [{ value: name }, { value: args }],
        awaitPromise: true,
        returnByValue: true,
      });
      if (exceptionDetails) throw new Error(`${name}: ${exceptionDetails.exception?.description ?? exceptionDetails.text}`);
      if (!result.value.missing) return result.value.value;
      if (Date.now() - started > 10000) throw new Error(`${name}: no such function in the service worker`);
      await new Promise((resolve) => setTimeout(resolve, 50));
    }
  } finally {
    socket.close();
  }
}

function recordHostInput(manifestFile, config, log) {
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

// The page's own scripts cannot reach what PeluxBar draws (closed shadow roots), so the tests
// read it as no page can: through the DevTools protocol, in the extension's content-script world
// of a frame, where chrome.dom.openOrClosedShadowRoot opens our roots. Nothing in the extension
// exists for this.
const worlds = new WeakMap();

async function worldsOf(page) {
  let known = worlds.get(page);
  if (known) return known;
  const session = await page.context().newCDPSession(page);
  const contexts = new Map();
  session.on('Runtime.executionContextCreated', ({ context }) => contexts.set(context.id, context));
  session.on('Runtime.executionContextDestroyed', ({ executionContextId }) => contexts.delete(executionContextId));
  session.on('Runtime.executionContextsCleared', () => contexts.clear());
  await session.send('Runtime.enable');
  known = { session, contexts };
  worlds.set(page, known);
  return known;
}

async function frameIdOf(session, frame) {
  const { frameTree } = await session.send('Page.getFrameTree');
  if (!frame || frame.parentFrame() === null) return frameTree.frame.id;
  const stack = [frameTree];
  while (stack.length) {
    const node = stack.pop();
    if (node.frame.url === frame.url()) return node.frame.id;
    stack.push(...(node.childFrames || []));
  }
  throw new Error(`no frame at ${frame.url()}`);
}

// Runs `fn(arg, shadowOf)` (a function or its source) in the content-script world of the page's main frame (or of `frame`,
// a frame of the page's own process) and gives its result; shadowOf(host) opens a closed root.
export async function inContentWorld(page, fn, arg = null, { frame = null } = {}) {
  if (IN_FIREFOX) return inFirefoxContentWorld(page, fn, arg, frame);
  const { session, contexts } = await worldsOf(page);
  const frameId = await frameIdOf(session, frame);
  const start = Date.now();
  for (;;) {
    const world = [...contexts.values()].find((c) => c.auxData && c.auxData.frameId === frameId &&
      c.auxData.type === 'isolated' && c.origin.startsWith('chrome-extension://'));
    if (world) {
      const reply = await session.send('Runtime.callFunctionOn', {
        functionDeclaration: `async function (arg) {
          const shadowOf = (host) => (host ? chrome.dom.openOrClosedShadowRoot(host) : null);
          return (${fn.toString()})(arg, shadowOf);
        }`,
        executionContextId: world.id, arguments: [{ value: arg }], returnByValue: true, awaitPromise: true,
      }).catch((error) => ({ gone: error }));
      if (!reply.gone) {
        if (reply.exceptionDetails) throw new Error(reply.exceptionDetails.exception?.description || reply.exceptionDetails.text);
        return reply.result.value;
      }
    }
    if (Date.now() - start > 15000) throw new Error('no content-script world in the frame');
    await new Promise((resolve) => setTimeout(resolve, 20));
  }
}

// From now on, the errors the extension's scripts in the page report (their texts).
export function extensionErrors(page) {
  const errors = [];
  page.on('console', (message) => {
    const from = `${message.location().url} ${message.text()}`;
    if (message.type() === 'error' && /(chrome|moz)-extension:\/\//.test(from)) errors.push(message.text());
  });
  return errors;
}

// Polls `fn` in the content-script world until `test` holds for its result, which it gives.
export async function waitInContentWorld(page, fn, arg, test = (v) => v, { timeout = 10000, frame = null } = {}) {
  const start = Date.now();
  for (;;) {
    const value = await inContentWorld(page, fn, arg, { frame });
    if (test(value)) return value;
    if (Date.now() - start > timeout) throw new Error(`never matched; last: ${JSON.stringify(value)}`);
    await new Promise((resolve) => setTimeout(resolve, 20));
  }
}

// A page whose band is drawn (the host answered with its layout, unless `drawn` is false).
export async function openPage(context, url, { drawn = true } = {}) {
  const page = await context.newPage();
  await page.goto(url);
  await waitForBandDrawn(page, { drawn });
  return page;
}

export async function waitForBandDrawn(page, { drawn = true } = {}) {
  await waitInContentWorld(page, (mustBeDrawn, shadowOf) => {
    const root = shadowOf(document.querySelector('peluxbar-band'));
    const text = root && root.querySelector('textarea');
    return Boolean(text && (!mustBeDrawn || text.style.width !== ''));
  }, drawn, (v) => v, { timeout: 15000 });
}

export function bandText(page) {
  return inContentWorld(page, (_, shadowOf) => shadowOf(document.querySelector('peluxbar-band')).querySelector('textarea').value);
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

// From now on, every text the band is given, with the time it was given ([text, ms] in
// window.__bandTexts of the content-script world), and window.__loadEnded, a promise of the end of
// the next load. The band's text area is watched through its own object in that world.
export function recordBandTexts(page) {
  return inContentWorld(page, (_, shadowOf) => {
    const area = shadowOf(document.querySelector('peluxbar-band')).querySelector('textarea');
    const value = Object.getOwnPropertyDescriptor(HTMLTextAreaElement.prototype, 'value');
    window.__bandTexts = [];
    Object.defineProperty(area, 'value', {
      configurable: true,
      get() { return value.get.call(this); },
      set(text) { window.__bandTexts.push([text, performance.now()]); value.set.call(this, text); },
    });
    window.__loadEnded = new Promise((resolve) => {
      chrome.runtime.onMessage.addListener(function ended(message) {
        if (!message || message.type !== 'loadEnded') return;
        chrome.runtime.onMessage.removeListener(ended);
        resolve(true);
      });
    });
  });
}

// `fn(elements, arg)` over the elements `selector` finds in the roots of the hosts
// `hostSelector` finds (in document order), in the content-script world.
export function inShadow(page, hostSelector, selector, fn, arg = null) {
  const source = `([h, s, a], shadowOf) => (${fn.toString()})(
    [...document.querySelectorAll(h)].flatMap((host) => [...shadowOf(host).querySelectorAll(s)]), a)`;
  return inContentWorld(page, source, [hostSelector, selector, arg]);
}

// The text of each element `selector` finds in the roots of `hostSelector`.
export const shadowTexts = (page, hostSelector, selector) =>
  inShadow(page, hostSelector, selector, (els) => els.map((el) => ('value' in el && el.tagName !== 'BUTTON' ? el.value : el.textContent)));

// The centre of the `nth` element (that holds `hasText`, when given) of `selector` in the roots of
// `hostSelector`, waiting for it to be drawn.
export async function shadowPoint(page, hostSelector, selector, { hasText = null, nth = 0 } = {}) {
  const start = Date.now();
  for (;;) {
    const at = await inShadow(page, hostSelector, selector, (els, [text, n]) => {
      const el = els.filter((e) => text === null || e.textContent.includes(text))[n];
      const box = el && el.getBoundingClientRect();
      return box && box.width > 0 ? { x: box.left + box.width / 2, y: box.top + box.height / 2 } : null;
    }, [hasText, nth]);
    if (at) return at;
    if (Date.now() - start > 10000) throw new Error(`${hostSelector} ${selector} ${hasText ?? ''} was never drawn`);
    await new Promise((resolve) => setTimeout(resolve, 20));
  }
}

// The band acts only on the user's own input, so the tests press the real mouse.
export async function clickIn(page, hostSelector, selector, options = {}) {
  const at = await shadowPoint(page, hostSelector, selector, options);
  await page.mouse.click(at.x, at.y);
}

export async function clickMenuItem(page, caption) {
  await clickIn(page, 'peluxbar-band', '#menu');
  await clickIn(page, 'peluxbar-band', '#menu-popup .item', { hasText: caption });
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
