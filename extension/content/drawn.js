// What PeluxBar draws lives in closed shadow roots inside the page's document, and a press or
// key counts only on a control that is drawn where we put it, as we drew it, with nothing of the
// page over it. The page can restyle our host elements and their ancestors, cover them, move them
// or wrap them in effects; every such change shows in the hit test, the computed styles or the
// boxes checked here. They are checked twice: first in a capturing listener on the window that
// this script adds before any script of the page runs (so before the page can undo its disguise
// while the press or key is dispatched), and again when the control's own listener runs.
'use strict';

(() => {
  const TOP = '2147483647';
  const hosts = new WeakSet();
  // host -> { root, controls: Map(control -> box) } for every guarded control.
  const guarded = new WeakMap();
  // What the first look at the latest trusted press or key found: control -> drawn or not.
  let firstLook = new WeakMap();
  const EPSILON = 0.5;
  const TOP_LAYER = [':modal', ':fullscreen', ':popover-open'];

  // A closed root: the page's scripts get null from host.shadowRoot and see only the host.
  function attach(host) {
    hosts.add(host);
    return host.attachShadow({ mode: 'closed' });
  }

  function shadowRootOf(element) {
    if (globalThis.chrome && chrome.dom && chrome.dom.openOrClosedShadowRoot) return chrome.dom.openOrClosedShadowRoot(element);
    // Firefox gives content scripts the closed root as a property of the element, not a function.
    if ('openOrClosedShadowRoot' in element) return element.openOrClosedShadowRoot;
    return element.shadowRoot;
  }

  // Properties that change how an element and everything in it looks, whoever sets them.
  function plainlyDrawn(style) {
    return style.opacity === '1' && style.filter === 'none' && style.transform === 'none' &&
      style.translate === 'none' && style.rotate === 'none' && style.scale === 'none' &&
      style.clipPath === 'none' && style.mixBlendMode === 'normal' &&
      (style.maskImage === undefined || style.maskImage === 'none') &&
      (style.webkitMaskImage === undefined || style.webkitMaskImage === 'none') &&
      (style.zoom === undefined || style.zoom === '1' || style.zoom === 'normal') &&
      style.contentVisibility !== 'hidden';
  }

  // The control and every element above it up to the root, through our own shadow root.
  function pathUp(element) {
    const path = [];
    for (let node = element; node;) {
      if (node.nodeType === Node.ELEMENT_NODE) path.push(node);
      node = node.parentNode || null;
      if (node && node.nodeType === Node.DOCUMENT_FRAGMENT_NODE) node = node.host;
    }
    return path;
  }

  // Page content painted in the top layer (a modal dialog, a popover, a full-screen element) is
  // drawn over every fixed element of the document, ours included.
  function pageHasTopLayer(root) {
    const stack = [root];
    while (stack.length) {
      const scope = stack.pop();
      for (const el of scope.querySelectorAll('*')) {
        if (hosts.has(el)) continue;
        if (TOP_LAYER.some((selector) => safeMatches(el, selector))) return true;
        const inner = shadowRootOf(el);
        if (inner) stack.push(inner);
      }
    }
    return false;
  }

  function safeMatches(el, selector) {
    try { return el.matches(selector); } catch { return false; }
  }

  // Our host is fixed, on top of the root's stacking order and the last thing the root holds
  // that is drawn: so only an element after it, or the top layer, could be painted over it,
  // whatever catches the pointer (a decoy with pointer-events: none catches nothing).
  function hostOnTop(host) {
    const root = document.documentElement;
    if (host.parentNode !== root) return false;
    const style = getComputedStyle(host);
    if (style.position !== 'fixed' || style.zIndex !== TOP || style.display !== 'block') return false;
    for (let next = host.nextElementSibling; next; next = next.nextElementSibling) {
      if (!hosts.has(next) && getComputedStyle(next).display !== 'none') return false;
    }
    const after = getComputedStyle(root, '::after');
    if (after.content !== 'none' && after.content !== 'normal' && after.display !== 'none') return false;
    if (document.fullscreenElement) return false;
    return !pageHasTopLayer(document);
  }

  const sameBox = (a, b) => ['left', 'top', 'width', 'height'].every((k) => Math.abs(a[k] - b[k]) <= EPSILON);

  // Whether `control` (inside `host`'s root `root`) is drawn as we drew it and is what lies at
  // the point, so that a press there is the user's on our control. `box` is where we put it
  // (viewport pixels), when we know; a key has no point and is judged at the control's centre.
  function isDrawn(host, root, control, box, point) {
    if (!host.isConnected || !control.isConnected || !hostOnTop(host)) return false;
    const path = pathUp(control);
    if (path.at(-1) !== document.documentElement || !path.includes(host)) return false;
    if (!path.every((el) => plainlyDrawn(getComputedStyle(el)))) return false;
    if (getComputedStyle(control).visibility !== 'visible') return false;
    const drawn = control.getBoundingClientRect();
    if (drawn.width <= 0 || drawn.height <= 0 || (box && !sameBox(drawn, box))) return false;
    const at = point || { x: drawn.left + drawn.width / 2, y: drawn.top + drawn.height / 2 };
    if (at.x < drawn.left || at.x > drawn.right || at.y < drawn.top || at.y > drawn.bottom) return false;
    const top = document.elementsFromPoint(at.x, at.y)[0];
    // A key goes to the focused control even where another window of ours lies over its centre.
    if (top !== host) return point === null && hosts.has(top);
    const hit = root.elementsFromPoint(at.x, at.y)[0];
    return hit !== undefined && control.contains(hit);
  }

  // The first look at a trusted press (pointerdown) or key (keydown), before the page's own
  // listeners: for each guarded control under the point or holding the focus, whether it is drawn.
  function lookFirst(event) {
    if (!event.isTrusted) return;
    firstLook = new WeakMap();
    const pointed = event.type === 'pointerdown';
    const host = pointed ? document.elementsFromPoint(event.clientX, event.clientY)[0] : document.activeElement;
    const entry = host && guarded.get(host);
    if (!entry) return;
    const inner = pointed ? entry.root.elementsFromPoint(event.clientX, event.clientY)[0] : entry.root.activeElement;
    const point = pointed ? { x: event.clientX, y: event.clientY } : null;
    for (const [control, box] of entry.controls) {
      // A control taken out of our root (a menu row of an earlier menu) is gone for good; one in a
      // host the page took out of the document comes back with it.
      if (control.getRootNode() !== entry.root) entry.controls.delete(control);
      else if (inner && control.contains(inner)) firstLook.set(control, isDrawn(host, entry.root, control, box(), point));
    }
  }

  // A listener that calls `handler` only for the user's own press or key on the control as drawn,
  // both at the first look and now. `box()` gives where the control should be, or null where its
  // own layout decides.
  function guard(host, root, control, handler, box = () => null) {
    if (!guarded.has(host)) guarded.set(host, { root, controls: new Map() });
    guarded.get(host).controls.set(control, box);
    return (event) => {
      if (!event.isTrusted || firstLook.get(control) !== true) return;
      const pointed = event instanceof MouseEvent && event.detail !== 0;
      const point = pointed ? { x: event.clientX, y: event.clientY } : null;
      if (isDrawn(host, root, control, box(), point)) handler(event);
    };
  }

  window.addEventListener('pointerdown', lookFirst, true);
  window.addEventListener('keydown', lookFirst, true);

  globalThis.PeluxDrawn = { attach, guard, isDrawn, shadowRootOf };
})();
