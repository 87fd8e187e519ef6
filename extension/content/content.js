// Every frame: forwards what lies under the pointer on each mouse move, and Escape; the top
// frame also draws the band. While the band is hidden no pointer work is done at all.
'use strict';

(() => {
  if (globalThis.__peluxbarLoaded) return;
  globalThis.__peluxbarLoaded = true;

  const isTop = window.top === window;
  const REPLY_TIMEOUT_MS = 2000;
  let visible = false;
  let band = null;
  let seq = 0;
  // One pointer request in flight per frame; moves made meanwhile keep only the latest (see
  // onMouseMove).
  let inFlight = null;
  let pending = null;
  const elements = new Map();

  function send(message) {
    try {
      chrome.runtime.sendMessage(message).catch(() => {});
    } catch (error) {
      // The extension was reloaded under this page; this script is orphaned.
      stop();
    }
  }

  // Pointer messages and their replies travel on one long-lived port to the worker: a message
  // sent on its own opens and closes a channel each way, which costs more than the lookup itself.
  // The port is opened again when it closed (the worker restarted, the page came back from the
  // back-forward cache); a message it cannot take goes the ordinary way.
  let pointerPort = null;
  function sendPointer(message) {
    try {
      if (!pointerPort) {
        pointerPort = chrome.runtime.connect({ name: PeluxSchema.POINTER_PORT });
        pointerPort.onMessage.addListener(onMessage);
        pointerPort.onDisconnect.addListener(() => { pointerPort = null; });
      }
      pointerPort.postMessage(message);
    } catch (error) {
      pointerPort = null;
      send(message);
    }
  }

  function isBandEvent(event) { return band !== null && event.target === band.host; }

  // Unlike a band window, which handles every mouse move, a frame sends one move at a time and
  // replaces the moves made while the host is still answering by the latest of them: the last
  // text shown is the same, and a fast pointer cannot queue up lookups the host would answer
  // long after the pointer has left.
  function onMouseMove(event) {
    if (!event.isTrusted || isBandEvent(event) || PeluxReader.isPopupEvent(event)) return;
    pending = { x: Math.round(event.clientX), y: Math.round(event.clientY), target: event.target, trusted: true };
    if (!inFlight) sendPending();
  }

  function sendPending() {
    const move = pending;
    pending = null;
    if (!move || !visible) return;
    const captured = PeluxCapture.captureAt(move.x, move.y);
    const body = document.body;
    seq += 1;
    elements.clear();
    elements.set(seq, move.target);
    PeluxReader.noteCapture(seq, captured, move.trusted);
    inFlight = { seq, timer: setTimeout(() => { inFlight = null; sendPending(); }, REPLY_TIMEOUT_MS) };
    sendPointer({
      type: 'pointer', seq, x: move.x, y: move.y,
      character: captured.character, word: captured.word, sentence: captured.sentence,
      hasBody: body !== null && body.tagName !== 'FRAMESET',
    });
  }

  function onPointerResult(message) {
    if (!inFlight || message.seq !== inFlight.seq) return;
    clearTimeout(inFlight.timer);
    inFlight = null;
    const element = elements.get(message.seq);
    if (message.title !== null && element && element.setAttribute) element.setAttribute('title', message.title);
    try {
      // The reader's popup is measured and placed before the band takes its new text, so that
      // measuring it does not lay out the band's text as well: both are drawn in the same frame.
      PeluxReader.onResult(message, isTop ? band : null);
    } finally {
      if (isTop && message.text !== null && band) band.setText(message.text);
      // Whatever the page did to the text meanwhile, the next move is still looked up.
      sendPending();
    }
  }

  function onKey(event) {
    if (!event.isTrusted) return;
    PeluxReader.onKey(event);
    if (event.key === 'Escape' && !event.repeat) send({ type: 'key', key: 'Escape', down: event.type === 'keydown' });
  }

  // A key the card took never reaches the listeners below, so Escape's own meaning (cancelling
  // a load) is passed on from here.
  function onCardKey(event) {
    if (event.type === 'keyup') {
      if (event.key === 'Escape') send({ type: 'key', key: 'Escape', down: false });
      return true;
    }
    if (!PeluxReader.onCardKey(event, send)) return false;
    if (event.key === 'Escape' && !event.repeat) send({ type: 'key', key: 'Escape', down: true });
    return true;
  }

  function bandCommand(id) {
    send({ type: 'command', id, bandHeight: band ? band.height : 0, fontHeight: band ? band.fontHeight : null });
  }

  function askForBand(height) {
    send({ type: 'band', width: Math.max(0, Math.round(document.documentElement.clientWidth)), height,
      fontHeight: band ? band.fontHeight : null, viewHeight: Math.max(0, Math.round(window.innerHeight)) });
  }

  async function runColorDialog(message) {
    const { result, text } = await PeluxDialogs.textColor(message.text);
    send({ type: 'colorAnswer', dialog: message.dialog, result, text });
  }

  // The reference pages open in this tab, after whatever it was still loading is stopped.
  function navigate(url) {
    window.stop();
    window.location.assign(url);
  }

  function setVisible(on) {
    if (on === visible) return;
    visible = on;
    if (on) {
      document.addEventListener('mousemove', onMouseMove, true);
      if (isTop) {
        if (!band) band = new PeluxBand(bandCommand);
        band.show();
        askForBand(band.height);
      }
    } else {
      document.removeEventListener('mousemove', onMouseMove, true);
      pending = null;
      PeluxReader.hide();
      if (isTop && band && band.isShown()) {
        // The toolbar button hides the bands of every tab at once; the size kept is that of the
        // band in view, not of whichever background tab's message comes last.
        if (document.visibilityState === 'visible') {
          send({ type: 'bandClosed', width: document.documentElement.clientWidth, height: band.height });
        }
        band.hide();
      }
    }
  }

  function onMessage(raw) {
    const message = PeluxSchema.toContent(raw);
    if (!message) return;
    switch (message.type) {
      case 'pointerResult': onPointerResult(message); break;
      case 'text': if (band) band.setText(message.text); break;
      case 'hostGone': if (band) band.setText(message.text); break;
      case 'bandState': if (band) band.applyState(message); break;
      case 'bandHeight': if (band) askForBand(message.height); break;
      case 'bandFont': if (band) band.applyFont(message); break;
      case 'settings': if (band) band.applySharedSettings(message); break;
      case 'readerSettings': PeluxReader.onSettings(message); break;
      case 'wordSaved': PeluxReader.onWordSaved(message); break;
      case 'colorDialog': if (isTop) runColorDialog(message); break;
      case 'navigate': if (isTop) navigate(message.url); break;
      case 'notice': if (isTop) showNotice(message); break;
      case 'translation': if (isTop) PeluxDialogs.translation(message.text); break;
    }
  }

  // A notice that the host waits for is reported closed, by the user or with its page.
  function showNotice(message) {
    const closed = message.notice === undefined ? undefined : () => send({ type: 'noticeClosed', notice: message.notice });
    PeluxDialogs.notice(message.text, message.caption, closed);
  }

  function stop() {
    setVisible(false);
    document.removeEventListener('keydown', onKey, true);
    document.removeEventListener('keyup', onKey, true);
    PeluxCardKeys.setHandler(null);
  }

  chrome.runtime.onMessage.addListener(onMessage);
  window.addEventListener('pageshow', PeluxTrusted((event) => {
    if (!event.persisted || !pointerPort) return;
    pointerPort.disconnect();
    pointerPort = null;
  }));
  document.addEventListener('keydown', onKey, true);
  document.addEventListener('keyup', onKey, true);
  PeluxCardKeys.setHandler(onCardKey);
  chrome.storage.local.get({ visible: true }).then(({ visible: on }) => setVisible(on));
  chrome.storage.onChanged.addListener((changes, area) => {
    if (area === 'local' && changes.visible) setVisible(changes.visible.newValue !== false);
  });
  if (isTop) {
    let resizeTimer = null;
    window.addEventListener('resize', PeluxTrusted(() => {
      clearTimeout(resizeTimer);
      resizeTimer = setTimeout(() => { if (band && band.isShown()) askForBand(band.height); }, 100);
    }));
    window.addEventListener('pagehide', PeluxTrusted(() => {
      if (band && band.isShown()) send({ type: 'bandClosed', width: document.documentElement.clientWidth, height: band.height });
    }));
  }
})();
