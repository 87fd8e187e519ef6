// Firefox ESR for the end-to-end tests, driven over WebDriver BiDi by puppeteer-core, dressed in
// the few Playwright calls the suites make so that the same suites run in both browsers.
// Firefox's content-script worlds are out of the protocol's reach, so the extension is installed
// from a copy with two test-only scripts (firefox_bridge.js, firefox_background_bridge.js) that
// answer the harness through events named with a nonce of this run.
import { execFileSync } from 'node:child_process';
import crypto from 'node:crypto';
import fs from 'node:fs';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

const HERE = path.dirname(new URL(import.meta.url).pathname);
const FIREFOX = process.env.PELUXBAR_FIREFOX || '/usr/bin/firefox-esr';
const NONCE = crypto.randomBytes(16).toString('hex');
// The bridges evaluate the harness's functions, which the content-script policy forbids unless
// this profile and the copy's manifest both allow it.
const EVAL_POLICY = "script-src 'self' 'unsafe-eval' 'wasm-unsafe-eval';";
const PREFS = {
  'extensions.webextensions.base-content-security-policy.v3': EVAL_POLICY,
  'extensions.webextensions.base-content-security-policy.v3-with-localhost': EVAL_POLICY,
  'extensions.webextensions.default-content-security-policy.v3': EVAL_POLICY,
  'browser.shell.checkDefaultBrowser': false,
  // When the tests close their last tab the window keeps a new-tab page, where no content
  // script runs.
  'browser.tabs.closeWindowWithLastTab': false,
  'browser.newtabpage.enabled': true,
  'datareporting.policy.dataSubmissionEnabled': false,
  'toolkit.telemetry.reportingpolicy.firstRun': false,
  // The page may read and write the clipboard without asking, as Playwright's granted permissions
  // let it in Chromium.
  'dom.events.testing.asyncClipboard': true,
};

// The copy of the extension the tests install: the shipped files and the two bridges.
export function testBuildOf(extension, dir) {
  fs.cpSync(extension, dir, { recursive: true, dereference: true });
  for (const name of ['firefox_bridge.js', 'firefox_background_bridge.js']) {
    const text = fs.readFileSync(path.join(HERE, name), 'utf8').replace('@NONCE@', NONCE);
    fs.writeFileSync(path.join(dir, name), text);
  }
  const manifest = JSON.parse(fs.readFileSync(path.join(dir, 'manifest.json'), 'utf8'));
  const scripts = manifest.background.scripts;
  scripts.splice(scripts.indexOf('background.js'), 0, 'firefox_background_bridge.js');
  for (const entry of manifest.content_scripts) if (entry.js.includes('content/content.js')) entry.js.push('firefox_bridge.js');
  manifest.content_security_policy = { extension_pages: EVAL_POLICY };
  fs.writeFileSync(path.join(dir, 'manifest.json'), JSON.stringify(manifest));
  return dir;
}

// Asks the bridge of `frame` (through a sandbox of the protocol, out of the page's scripts' way)
// to run `source`; undefined while the frame has no bridge yet.
async function askBridge(frame, request) {
  const reply = await frame.isolatedRealm().evaluate((nonce, text) => new Promise((resolve) => {
    const id = Math.random().toString(36).slice(2);
    const timer = setTimeout(() => resolve(null), 500);
    window.addEventListener(`peluxbar-test-answer-${nonce}`, function heard(event) {
      const answer = JSON.parse(event.detail);
      if (answer.id !== id) return;
      clearTimeout(timer);
      if (answer.heard) return;
      window.removeEventListener(`peluxbar-test-answer-${nonce}`, heard);
      resolve(event.detail);
    });
    window.dispatchEvent(new CustomEvent(`peluxbar-test-ask-${nonce}`, { detail: JSON.stringify({ ...JSON.parse(text), id }) }));
  }), NONCE, JSON.stringify(request)).catch(() => null);
  if (reply === null) return undefined;
  const answer = JSON.parse(reply);
  if (answer.error) throw new Error(answer.error);
  return answer.value;
}

// `fn(arg, shadowOf)` in the content-script world of the frame (the page's main frame by default).
export async function inFirefoxContentWorld(page, fn, arg, frame) {
  const start = Date.now();
  for (;;) {
    const value = await askBridge(frame || page.mainFrame(), { source: fn.toString(), arg });
    if (value !== undefined) return value;
    if (Date.now() - start > 15000) throw new Error('no content-script world in the frame');
    await new Promise((resolve) => setTimeout(resolve, 20));
  }
}

// `fn(arg, calls)` in the background, reached through the bridge of any open page.
async function inBackground(context, fn, arg) {
  const start = Date.now();
  for (;;) {
    for (const page of context.openPages()) {
      const value = await askBridge(page.mainFrame(), { source: fn.toString(), arg, where: 'background' });
      if (value !== undefined) return value;
    }
    if (Date.now() - start > 15000) throw new Error('no page to reach the background through');
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
}

export const callFirefoxBackground = (browser, name, args) =>
  inBackground(browser.context, (a, calls) => calls[a.name](...a.args), { name, args });

// Playwright's "Control+A" as puppeteer's separate key presses.
async function pressChord(keyboard, chord) {
  const keys = chord.split('+');
  for (const key of keys.slice(0, -1)) await keyboard.down(key);
  await keyboard.press(keys[keys.length - 1]);
  for (const key of keys.slice(0, -1).reverse()) await keyboard.up(key);
}

async function waitUntil(test, what, timeout = 30000) {
  const start = Date.now();
  while (!(await test())) {
    if (Date.now() - start > timeout) throw new Error(`${what} never happened`);
    await new Promise((resolve) => setTimeout(resolve, 30));
  }
}

// A puppeteer page answering the Playwright calls the suites make.
function asPlaywrightPage(page) {
  const keyboard = {
    press: (key) => pressChord(page.keyboard, key),
    type: (text) => page.keyboard.type(text),
    // Puppeteer over BiDi puts in one character at a time, with no key events, as insertText does.
    insertText: async (text) => { for (const character of text) await page.keyboard.sendCharacter(character); },
    down: (key) => page.keyboard.down(key),
    up: (key) => page.keyboard.up(key),
  };
  // Firefox makes no mousemove for a move to where the pointer already is, which Chromium does;
  // such a move goes by a neighbouring pixel first.
  let at = null;
  const mouse = {
    move: async (x, y, options) => {
      if (at && at.x === x && at.y === y) await page.mouse.move(x + 1, y);
      at = { x, y };
      await page.mouse.move(x, y, options);
    },
    click: (x, y, options) => { at = { x, y }; return page.mouse.click(x, y, options); },
    down: (options) => page.mouse.down(options),
    up: (options) => page.mouse.up(options),
    wheel: (deltaX, deltaY) => page.mouse.wheel({ deltaX, deltaY }),
  };
  const own = {
    keyboard,
    mouse,
    waitForFunction: (fn, arg, options = {}) => page.waitForFunction(fn, { timeout: 30000, ...options }, arg),
    setViewportSize: (size) => page.setViewport(size),
    inputValue: (selector) => page.$eval(selector, (element) => element.value),
    emulateMedia: ({ colorScheme }) => page.emulateMediaFeatures([{ name: 'prefers-color-scheme', value: colorScheme }]),
    waitForURL: (url) => waitUntil(() => (url instanceof RegExp ? url.test(page.url()) : page.url() === url), `the address ${url}`),
    puppeteerPage: page,
  };
  return new Proxy(page, {
    get(target, name) {
      if (Object.hasOwn(own, name)) return own[name];
      const value = target[name];
      return typeof value === 'function' ? value.bind(target) : value;
    },
  });
}

// Playwright's context.route over puppeteer's request interception, for every page opened after.
function routeRequests(page, handler) {
  page.on('request', (request) => {
    if (request.isInterceptResolutionHandled()) return;
    handler({
      request: () => request,
      continue: () => request.continue(),
      fulfill: ({ status, contentType, body }) => request.respond({ status, contentType, body }),
    });
  });
  return page.setRequestInterception(true);
}

// Without a dictionary folder the host looks where it finds one on its own (an installed package).
function firefoxEnvironment({ home, dictDir, config }) {
  const env = { ...process.env, MOZ_HEADLESS_WIDTH: '1000', MOZ_HEADLESS_HEIGHT: '786', HOME: home,
    XDG_CONFIG_HOME: config, ASAN_OPTIONS: 'detect_leaks=0', MOZ_CRASHREPORTER_DISABLE: '1' };
  if (dictDir) env.PELUXBAR_DICT_DIR = dictDir;
  else delete env.PELUXBAR_DICT_DIR;
  return env;
}

// Firefox with the test build of the extension, a profile of its own (or `reuse`'s), and a home
// folder whose ~/.mozilla/native-messaging-hosts `peluxbar install` filled.
export async function launchFirefox({ extension, peluxbar, dictDir, profile, config, home, install, reuse, record }) {
  if (install && !reuse) {
    execFileSync(peluxbar, ['install'], { env: { ...process.env, HOME: home, XDG_CONFIG_HOME: path.join(home, '.config') } });
    if (record) record(path.join(home, '.mozilla', 'native-messaging-hosts', 'com.tandrel.peluxbar.json'));
  }
  const build = testBuildOf(extension, path.join(home, 'extension'));
  const browser = await puppeteer.launch({
    browser: 'firefox',
    protocol: 'webDriverBiDi',
    executablePath: FIREFOX,
    headless: true,
    userDataDir: profile,
    defaultViewport: { width: 1000, height: 700 },
    extraPrefsFirefox: PREFS,
    // A new tab's first, blank document already runs the content scripts, and the band it asks
    // for is sized by the window before any viewport is set: the window gives the same 1000x700
    // (its toolbars take 86 pixels).
    env: firefoxEnvironment({ home, dictDir, config }),
  });
  // A browser that started must also end when what follows fails, or it keeps the test running.
  let firstTabs;
  try {
    await browser.installExtension(build);
    // The window's first tab holds a band of its own, whose hiding could save its size over the
    // tests' bands; it goes once a test's page is there to keep the window open.
    firstTabs = await browser.pages();
  } catch (error) {
    await browser.close();
    throw error;
  }
  const pages = new Set();
  const routes = [];
  const context = {
    async newPage() {
      const page = await browser.newPage();
      for (const first of firstTabs) await first.close();
      firstTabs = [];
      await page.setViewport({ width: 1000, height: 700 });
      for (const handler of routes) await routeRequests(page, handler);
      const wrapped = asPlaywrightPage(page);
      pages.add(wrapped);
      page.once('close', () => pages.delete(wrapped));
      return wrapped;
    },
    async route(_pattern, handler) {
      routes.push(handler);
      for (const page of pages) await routeRequests(page.puppeteerPage, handler);
    },
    openPages: () => [...pages].filter((page) => !page.isClosed()),
    // Granted for every page by the profile's preferences.
    grantPermissions: async () => {},
    pages: () => [...pages],
    close: () => browser.close(),
  };
  const worker = { evaluate: (fn, arg) => inBackground(context, fn, arg) };
  return { browser, context, worker };
}
