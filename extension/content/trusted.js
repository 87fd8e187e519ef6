// Only the user drives the band. The page's scripts can dispatch any event at the band's host
// elements and at the window; only the browser can mark an event as trusted, and the page cannot
// forge that mark from its own world. Presses on controls are judged further by drawn.js.
'use strict';

(() => {
  // The handler, called only for events that the user's own input produced.
  globalThis.PeluxTrusted = (handler) => (event) => {
    if (event.isTrusted) handler(event);
  };
})();
