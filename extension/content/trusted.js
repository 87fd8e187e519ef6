// Only the user drives the band. The band and its dialogs sit in open shadow roots inside the
// page's own document, so the page's scripts can reach every element and dispatch any event at
// it, element.click() included; only the browser can mark an event as trusted, and the page
// cannot forge that mark from its own world.
'use strict';

(() => {
  // The handler, called only for events that the user's own input produced.
  globalThis.PeluxTrusted = (handler) => (event) => {
    if (event.isTrusted) handler(event);
  };
})();
