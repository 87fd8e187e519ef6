// Test-only background script, loaded before background.js in the Firefox harness's copy of the
// extension; never part of the shipped extension. It keeps the toolbar button's and the context
// menu's listeners as background.js adds them, so that the harness can press them as a user
// would, and runs the harness's functions (brought by the content-script bridge) here.
'use strict';

(() => {
  const NONCE = '@NONCE@';
  const pressed = {};
  function keep(event, name) {
    const add = event.addListener.bind(event);
    event.addListener = (listener) => {
      pressed[name] = listener;
      add(listener);
    };
  }
  keep(chrome.action.onClicked, 'button');
  keep(chrome.contextMenus.onClicked, 'menu');

  // The background functions the tests call by name, each as the user's own action reaches it.
  const calls = {
    toggleBand: () => pressed.button({}),
    translateSelection: (tab, text) => pressed.menu({ menuItemId: PeluxSchema.TRANSLATE_MENU_ID, selectionText: text }, { id: tab }),
  };

  chrome.runtime.onMessage.addListener((message, sender, sendResponse) => {
    if (!message || message.peluxbarTest !== NONCE || sender.id !== chrome.runtime.id) return undefined;
    Promise.resolve()
      .then(() => (0, eval)(`(${message.source})`)(message.arg, calls))
      .then((value) => sendResponse({ value: value === undefined ? null : value }),
        (error) => sendResponse({ error: error && error.stack ? `${error}\n${error.stack}` : String(error) }));
    return true;
  });
})();
