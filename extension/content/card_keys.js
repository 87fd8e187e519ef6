// The card's keys. This listener is added to the window, capturing, before any script of the page
// runs, so it sees a key before the page's listeners do and a key PeluxBar acts on never reaches
// them (its keyup neither). A key typed where text is written (a field of the page, also inside
// its shadow roots, or our band's own text) is never taken: it stays the page's.
'use strict';

(() => {
  let handler = null;
  // The codes of keys whose keydown was taken, so that their keyups are taken too.
  const taken = new Set();
  // The text to put on the clipboard at the next copy event we start ourselves.
  let pendingCopy = null;

  function isEditable(element) {
    if (!element || element.nodeType !== Node.ELEMENT_NODE) return false;
    const tag = element.localName;
    return tag === 'input' || tag === 'textarea' || tag === 'select' || element.isContentEditable === true;
  }

  // The focused element, followed into the shadow roots (open or closed) that hold it.
  function* focusChain() {
    let active = document.activeElement;
    for (let depth = 0; active && depth < 64; depth += 1) {
      yield active;
      const root = PeluxDrawn.shadowRootOf(active);
      active = root ? root.activeElement : null;
    }
  }

  function typedIntoText(event) {
    for (const element of focusChain()) if (isEditable(element)) return true;
    return event.composedPath().some(isEditable);
  }

  function onKeyDown(event) {
    if (!event.isTrusted || !handler || event.ctrlKey || event.altKey || event.metaKey || event.isComposing) return;
    if (typedIntoText(event)) return;
    if (!handler(event)) return;
    taken.add(event.code);
    event.preventDefault();
    event.stopImmediatePropagation();
  }

  // The keyup of a taken key goes to the handler too (its result does not matter).
  function onKeyUp(event) {
    if (!event.isTrusted || !taken.delete(event.code)) return;
    if (handler) handler(event);
    event.preventDefault();
    event.stopImmediatePropagation();
  }

  // A copy we started: our text goes on the clipboard and the page never sees the event, so it
  // can neither read nor replace what is copied.
  function onCopy(event) {
    if (pendingCopy === null || !event.isTrusted) return;
    event.clipboardData.setData('text/plain', pendingCopy);
    pendingCopy = null;
    event.preventDefault();
    event.stopImmediatePropagation();
  }

  // The fallback where the asynchronous clipboard is missing (a page served without a secure
  // context): the browser's own copy command, answered by onCopy. Nothing is selected or focused
  // for it, so the page sees no change of focus or selection.
  function copyByCommand(text) {
    pendingCopy = text;
    try {
      return document.execCommand('copy') && pendingCopy === null;
    } catch {
      return false;
    } finally {
      pendingCopy = null;
    }
  }

  window.addEventListener('keydown', onKeyDown, true);
  window.addEventListener('keyup', onKeyUp, true);
  window.addEventListener('copy', onCopy, true);

  globalThis.PeluxCardKeys = {
    // handler(event) -> true when PeluxBar acted on the keydown.
    setHandler(fn) { handler = fn; },
    copyByCommand,
  };
})();
