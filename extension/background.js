// The background: one native port for the whole browser, and the routing of messages
// between the tabs' frames and the host. It decides nothing itself.
'use strict';

// Chromium runs this file alone as a service worker, which loads the rest itself; Firefox runs it
// as the last of the manifest's background scripts, with the others already loaded.
if (typeof importScripts === 'function') importScripts('generated/constants.js', 'schema.js', 'background_reader.js');

// The worker's own functions and state stay inside this scope, off the global object.
(() => {
  const RETRY_AFTER_MS = 2000;
  let port = null;
  let lastFailure = 0;
  let gone = null;

  function connect() {
    if (port) return port;
    port = chrome.runtime.connectNative(PeluxSchema.HOST_NAME);
    port.onMessage.addListener(fromHost);
    port.onDisconnect.addListener((closed) => {
      // Chromium says why in lastError, Firefox in the port's own error.
      const error = chrome.runtime.lastError || closed.error;
      const why = error ? error.message : 'the host ended';
      console.warn(`PeluxBar: native host disconnected: ${why}`);
      port = null;
      lastFailure = Date.now();
      gone = { type: 'hostGone', text: `PeluxBar's helper program is not running (${why}). Run "peluxbar install", then reload the page.` };
      tellAllTabs(gone);
    });
    chrome.storage.local.get({ visible: true }).then(({ visible }) => post({ type: 'show', visible }));
    return port;
  }

  function post(message) {
    // A host that cannot start is not asked again on every mouse move. A band set up meanwhile
    // (its page was still loading when the failure was told) is told it again.
    if (!port && Date.now() - lastFailure < RETRY_AFTER_MS) {
      if (gone && message.type === 'band') toFrame(message.tab, 0, gone);
      return;
    }
    try {
      connect().postMessage(message);
    } catch (error) {
      console.warn(`PeluxBar: cannot reach the native host: ${error.message}`);
      port = null;
    }
  }

  function toFrame(tab, frame, message) {
    chrome.tabs.sendMessage(tab, message, { frameId: frame }).catch(() => {});
  }

  async function tellAllTabs(message) {
    for (const tab of await chrome.tabs.query({})) toFrame(tab.id, 0, message);
  }

  function fromHost(raw) {
    const message = PeluxSchema.fromHost(raw);
    if (!message) return;
    if (message.type === 'pointerResult') {
      toFrameQuickly(message.tab, message.frame, message);
      // The band lives in the top frame; a frame's result also goes there.
      if (message.frame !== 0 && message.text !== null) toFrameQuickly(message.tab, 0, { type: 'text', tab: message.tab, text: message.text });
      return;
    }
    if (message.type === 'wordList' || message.type === 'wordExport') return void tellOptionsPages(message);
    if (message.type === 'wordSaved') return void toFrame(message.tab, message.frame, message);
    if (message.type === 'readerSettings') tellOptionsPages(message);
    if (message.type === 'settings' || message.type === 'readerSettings' || message.tab === -1) {
      tellAllTabs(message);
      return;
    }
    toFrame(message.tab, 0, message);
  }

  // Where a message or port comes from when it is one of our content scripts in a tab, else null.
  function frameOf(sender) {
    if (!sender || !sender.tab || sender.id !== chrome.runtime.id) return null;
    return { tab: sender.tab.id, frame: sender.frameId || 0 };
  }

  // The frames' pointer ports, by "tab:frame": a pointer's reply goes back on the port it came on.
  const pointerPorts = new Map();
  chrome.runtime.onConnect.addListener((framePort) => {
    const where = framePort.name === PeluxSchema.POINTER_PORT ? frameOf(framePort.sender) : null;
    if (!where || isOptionsPage(framePort.sender)) {
      framePort.disconnect();
      return;
    }
    const key = `${where.tab}:${where.frame}`;
    pointerPorts.set(key, framePort);
    framePort.onDisconnect.addListener(() => { if (pointerPorts.get(key) === framePort) pointerPorts.delete(key); });
    framePort.onMessage.addListener((raw) => {
      const message = PeluxSchema.fromContent(raw);
      if (message && message.type === 'pointer') post(Object.assign({}, message, where));
    });
  });

  // To a frame on its pointer port when it has one, else as a message of its own.
  function toFrameQuickly(tab, frame, message) {
    const framePort = pointerPorts.get(`${tab}:${frame}`);
    if (!framePort) return void toFrame(tab, frame, message);
    try {
      framePort.postMessage(message);
    } catch {
      toFrame(tab, frame, message);
    }
  }

  chrome.runtime.onMessage.addListener((raw, sender) => {
    if (isOptionsPage(sender)) return void fromOptionsPage(raw, post);
    const where = frameOf(sender);
    if (!where) return;
    const message = PeluxSchema.fromContent(raw);
    if (!message) return;
    if (message.type === 'saveWord') return void saveWord(message, sender, where);
    post(Object.assign({}, message, where));
  });

  // The page's address is the browser's word for it, never the page's own, and is kept without
  // its query and fragment. A private window's words are not written anywhere.
  function saveWord(message, sender, where) {
    if (sender.tab.incognito) {
      toFrame(where.tab, where.frame, { type: 'wordSaved', ...where, saved: false, text: 'Private window: the word list is not kept here.' });
      return;
    }
    const url = typeof sender.url === 'string' ? sender.url.split(/[?#]/)[0] : '';
    post({ type: 'saveWord', ...where, seq: message.seq, url });
  }

  chrome.tabs.onRemoved.addListener((tab) => {
    if (port) post({ type: 'tabClosed', tab });
  });

  // The toolbar button shows and hides the band in every tab at once; the tabs follow the stored flag.
  async function toggleBand() {
    const { visible } = await chrome.storage.local.get({ visible: true });
    await chrome.storage.local.set({ visible: !visible });
    post({ type: 'show', visible: !visible });
    return !visible;
  }
  chrome.action.onClicked.addListener(toggleBand);

  // The longest start of the text whose UTF-8 form fits in `maxBytes`, never splitting a character.
  // A surrogate without its partner counts as the three bytes of the replacement it becomes.
  function cutToUtf8Bytes(text, maxBytes) {
    let bytes = 0;
    let i = 0;
    while (i < text.length) {
      const code = text.codePointAt(i);
      const units = code > 0xffff ? 2 : 1;
      const size = code < 0x80 ? 1 : code < 0x800 ? 2 : code > 0xffff ? 4 : 3;
      if (bytes + size > maxBytes) break;
      bytes += size;
      i += units;
    }
    return text.slice(0, i);
  }

  // The browser's context menu on selected text: the host translates it online and the tab shows
  // the translation in a window of its own. The request carries only so much of the text, so no
  // more is sent; a longer selection would be refused by the host as a whole.
  function translateSelection(tab, text) {
    post({ type: 'translate', tab, text: cutToUtf8Bytes(text, PeluxSchema.MAX_TRANSLATE_BYTES) });
  }

  function createContextMenu() {
    chrome.contextMenus.remove(PeluxSchema.TRANSLATE_MENU_ID, () => {
      void chrome.runtime.lastError;
      chrome.contextMenus.create({ id: PeluxSchema.TRANSLATE_MENU_ID, title: 'Translate "%s" with PeluxBar', contexts: ['selection'] },
        () => void chrome.runtime.lastError);
    });
  }
  chrome.runtime.onInstalled.addListener(createContextMenu);
  chrome.runtime.onStartup.addListener(createContextMenu);
  chrome.contextMenus.onClicked.addListener((info, tab) => {
    if (info.menuItemId !== PeluxSchema.TRANSLATE_MENU_ID || !tab || typeof info.selectionText !== 'string') return;
    translateSelection(tab.id, info.selectionText);
  });
})();
