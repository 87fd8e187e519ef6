// The reader's popup: the band's text, or the learner's card (card.js), beside the word under the
// pointer, inside the viewport and never over the word. Text goes in with textContent only, never as markup. The host element stays
// as it is, empty and without size, while the popup shows, moves and hides inside its closed root,
// so the page learns neither the text nor its size from it.
'use strict';

(() => {
  const GAP = 6;
  const MARGIN = 4;
  const STYLE = `
    :host { all: initial; position: fixed; left: 0; top: 0; width: 0; height: 0; z-index: 2147483647;
            pointer-events: none; display: block; }
    #box { all: initial; direction: ltr; position: fixed; left: 0; top: 0; z-index: 2147483647; pointer-events: none;
           display: block; visibility: hidden; box-sizing: border-box; max-width: min(36em, calc(100vw - ${2 * MARGIN}px)); overflow: hidden;
           padding: 4px 8px; background: #fffff4; border: 1px solid #a0a0a0; border-radius: 3px;
           box-shadow: 2px 2px 6px rgba(0,0,0,.3); white-space: pre-wrap; line-height: 1.3;
           font-family: sans-serif; }
    .tone1 { color: #e30000; } .tone2 { color: #d89000; } .tone3 { color: #00a000; }
    .tone4 { color: #1510f0; } .tone5 { color: #707070; }
    ${PeluxCard.STYLE}
    #box[hidden] { display: none; }
  `;

  // Where a popup of `size` goes beside `word` (both in viewport pixels) within `view`: below the
  // word when it fits, else above, else on the roomier side with its height cut to the room.
  function placePopup(word, size, view) {
    const below = view.bottom - MARGIN - (word.bottom + GAP);
    const above = word.top - GAP - (view.top + MARGIN);
    let top;
    let maxHeight = null;
    if (size.height <= below) top = word.bottom + GAP;
    else if (size.height <= above) top = word.top - GAP - size.height;
    else if (below >= above) [top, maxHeight] = [word.bottom + GAP, Math.max(below, 0)];
    else [top, maxHeight] = [view.top + MARGIN, Math.max(above, 0)];
    const rightmost = view.right - MARGIN - size.width;
    const left = Math.max(view.left + MARGIN, Math.min(word.left, rightmost));
    return { left, top, maxHeight };
  }

  class ReaderPopup {
    constructor() {
      this.host = document.createElement('peluxbar-popup');
      const root = PeluxDrawn.attach(this.host);
      const style = document.createElement('style');
      style.textContent = STYLE;
      this.box = document.createElement('div');
      this.box.id = 'box';
      this.box.hidden = true;
      this.footNode = null;
      root.append(style, this.box);
    }

    // segments: [{ text, tone }]; word: the matched characters' box; look: { lang, color, fontPixels };
    // topInset: what covers the top of the viewport (the band).
    show(segments, word, look, topInset) {
      this.footNode = null;
      this.place(segments.map(({ text, tone }) => {
        if (!tone) return document.createTextNode(text);
        const span = document.createElement('span');
        span.className = `tone${tone}`;
        span.textContent = text;
        return span;
      }), false, word, look, topInset);
    }

    // The learner's card in place of the text: `card` as the host gave it, `tones` to colour pinyin.
    showCard(card, tones, word, look, topInset) {
      const { nodes, foot } = PeluxCard.build(card, tones);
      this.footNode = foot;
      this.place(nodes, true, word, look, topInset);
    }

    isCardShown() { return this.isShown() && this.footNode !== null; }

    // A word at the card's foot in place of the keys, such as what a key did.
    say(text) {
      if (!this.isCardShown()) return;
      this.footNode.textContent = text;
      this.footNode.classList.add('said');
    }

    place(nodes, asCard, word, look, topInset) {
      if (!this.host.isConnected) document.documentElement.append(this.host);
      this.box.lang = look.lang || '';
      this.box.className = asCard ? 'card' : '';
      if (asCard) {
        this.box.setAttribute('role', 'dialog');
        this.box.setAttribute('aria-label', 'Dictionary card');
      } else {
        this.box.removeAttribute('role');
        this.box.removeAttribute('aria-label');
      }
      this.box.replaceChildren(...nodes);
      Object.assign(this.box.style, { color: look.color, fontSize: `${look.fontPixels}px`, maxHeight: '',
        left: '0px', top: '0px', visibility: 'hidden' });
      this.box.hidden = false;
      const measured = this.box.getBoundingClientRect();
      const view = { left: 0, top: topInset, right: document.documentElement.clientWidth, bottom: document.documentElement.clientHeight };
      const at = placePopup(word, { width: measured.width, height: measured.height }, view);
      if (at.maxHeight !== null) this.box.style.maxHeight = `${at.maxHeight}px`;
      Object.assign(this.box.style, { left: `${at.left}px`, top: `${at.top}px`, visibility: 'visible' });
    }

    hide() {
      this.box.hidden = true;
      this.footNode = null;
    }

    isShown() { return this.host.isConnected && !this.box.hidden; }
  }

  globalThis.PeluxReaderPopup = ReaderPopup;
  globalThis.PeluxPlacePopup = placePopup;
})();
