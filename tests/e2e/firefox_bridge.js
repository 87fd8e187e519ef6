// Test-only content script, added to a copy of the extension by the Firefox end-to-end harness
// (tests/e2e/firefox.mjs); never part of the shipped extension. It runs the harness's functions in
// this frame's content-script world, where element.openOrClosedShadowRoot opens the extension's
// closed roots, or hands them on to the background. Only requests carrying the nonce written into
// this copy are answered.
'use strict';

(() => {
  const NONCE = '@NONCE@';
  const shadowOf = (host) => {
    if (!host) return null;
    return chrome.dom && chrome.dom.openOrClosedShadowRoot ? chrome.dom.openOrClosedShadowRoot(host) : host.openOrClosedShadowRoot;
  };

  async function answer({ source, arg, where }) {
    if (where === 'background') return chrome.runtime.sendMessage({ peluxbarTest: NONCE, source, arg });
    const value = await (0, eval)(`(${source})`)(arg, shadowOf);
    return { value: value === undefined ? null : value };
  }

  window.addEventListener(`peluxbar-test-ask-${NONCE}`, (event) => {
    const request = JSON.parse(event.detail);
    const reply = (detail) => window.dispatchEvent(new CustomEvent(`peluxbar-test-answer-${NONCE}`, { detail: JSON.stringify(detail) }));
    // Heard at once, so that the harness tells a slow answer from a frame without this script.
    reply({ id: request.id, heard: true });
    answer(request).catch((error) => ({ error: error && error.stack ? `${error}\n${error.stack}` : String(error) })).then((answered) => reply({ id: request.id, ...answered }));
  });
})();
