// The band strip at the top of a tab: menu button, text area and the two height buttons, placed
// where the host's layout says. Text goes in with textContent and value only, never as markup.
// It lives in a closed shadow root and tells the page nothing: no events, no text in attributes.
'use strict';

(() => {
  const STYLE = `
    :host { all: initial; position: fixed; top: 0; left: 0; right: 0; z-index: 2147483647;
            display: block; background: #f0f0f0; box-shadow: 0 1px 0 #a0a0a0; }
    :host([hidden]) { display: none; }
    /* Until the host answers with its layout (or when it cannot be reached). */
    :host { height: 40px; }
    /* Nothing the page sets on the host is inherited by what we draw. */
    #frame { all: initial; direction: ltr; display: block; position: absolute; inset: 0; }
    #menu { left: 0; top: 0; width: 35px; height: 100%; }
    textarea { left: 35px; top: 0; width: calc(100% - 60px); height: 100%; }
    #smaller { right: 0; top: 0; width: 24px; height: 50%; }
    #bigger { right: 0; bottom: 0; width: 24px; height: calc(50% - 1px); }
    button, textarea { position: absolute; box-sizing: border-box; margin: 0; }
    button { padding: 0; font: 12px sans-serif; background: #e8e8e8; border: 1px solid #a0a0a0; }
    textarea { resize: none; background: #fff; border: 2px inset #d0d0d0; padding: 1px 3px;
               font-family: sans-serif;
               line-height: 1.15; overflow-y: scroll; }
    /* Only the generic family: the page's @font-face rules reach into our root, and one that took
       a named family for a range of characters would learn from its loads which ones we draw.
       The host's replies give #frame the dictionary's language, so that the system's sans-serif
       takes the Chinese or the Japanese forms. */
    #menu-popup { position: absolute; background: #fff; border: 1px solid #808080; padding: 2px 0;
                  font: 13px sans-serif; box-shadow: 2px 2px 4px rgba(0,0,0,.3); min-width: 16em; }
    #menu-popup[hidden] { display: none; }
    .item { padding: 3px 18px 3px 22px; position: relative; white-space: nowrap; cursor: default; }
    .item:hover { background: #316ac5; color: #fff; }
    .item .check { position: absolute; left: 6px; }
    .sub { padding-left: 12px; }
    .caption { padding: 3px 18px 3px 22px; color: #555; }
    hr { border: 0; border-top: 1px solid #c0c0c0; margin: 3px 0; }
  `;

  // The text is drawn at least 8 pixels high and no higher than the band (`limit`), however the
  // font was set by hand, so that it never vanishes.
  function drawnFontPixels(fontPixels, limit) {
    return Math.min(Math.max(fontPixels, 8), Math.max(8, limit));
  }

  class Band {
    constructor(onCommand) {
      this.onCommand = onCommand;
      this.height = 0;
      this.host = document.createElement('peluxbar-band');
      this.root = PeluxDrawn.attach(this.host);
      const style = document.createElement('style');
      style.textContent = STYLE;
      this.frame = document.createElement('div');
      this.frame.id = 'frame';
      this.menuButton = this.button('menu', '\u8bcd', 'PeluxBar menu');
      this.text = document.createElement('textarea');
      this.text.spellcheck = false;
      this.smaller = this.button('smaller', '\u25b2', 'Make the band lower');
      this.bigger = this.button('bigger', '\u25bc', 'Make the band taller');
      this.popup = document.createElement('div');
      this.popup.id = 'menu-popup';
      this.popup.hidden = true;
      this.frame.append(this.menuButton, this.text, this.smaller, this.bigger, this.popup);
      this.root.append(style, this.frame);
      this.boxes = new Map();
      this.press(this.menuButton, (e) => { e.preventDefault(); this.togglePopup(); });
      this.press(this.smaller, () => onCommand(PeluxSchema.COMMAND_SMALLER));
      this.press(this.bigger, () => onCommand(PeluxSchema.COMMAND_BIGGER));
      document.addEventListener('mousedown', PeluxTrusted((e) => { if (e.target !== this.host) this.popup.hidden = true; }), true);
      this.menu = [];
      this.fontHeight = null;
      this.savedMargin = null;
    }

    // A press on a control as drawn: the three buttons where the layout put them, a menu row in
    // the menu that opens under the band's left end.
    press(control, handler) {
      const box = () => this.boxes.get(control) || null;
      control.addEventListener('mousedown', PeluxDrawn.guard(this.host, this.root, control, (e) => {
        if (this.inPlace()) handler(e);
      }, box));
    }

    inPlace() {
      const band = this.host.getBoundingClientRect();
      if (band.left !== 0 || band.top !== 0 || Math.abs(band.height - this.height) > 0.5 || band.width < document.documentElement.clientWidth) return false;
      if (this.popup.hidden) return true;
      const menu = this.popup.getBoundingClientRect();
      return menu.left === 0 && Math.abs(menu.top - this.height) <= 0.5;
    }

    setLang(lang) { this.frame.lang = lang; }

    button(id, label, title) {
      const b = document.createElement('button');
      b.id = id;
      b.textContent = label;
      b.title = title;
      return b;
    }

    show() {
      if (!this.host.isConnected) document.documentElement.append(this.host);
      this.host.hidden = false;
      this.pushPageDown();
    }

    hide() {
      this.host.hidden = true;
      this.popup.hidden = true;
      if (this.savedMargin !== null) document.documentElement.style.marginTop = this.savedMargin;
      this.savedMargin = null;
    }

    isShown() { return this.host.isConnected && !this.host.hidden; }

    pushPageDown() {
      if (this.savedMargin === null) this.savedMargin = document.documentElement.style.marginTop;
      document.documentElement.style.marginTop = `${this.height}px`;
    }

    setText(text) {
      this.text.value = text;
    }

    // The host's answer to the band's size: layout, font and colour, and the menu.
    applyState(state) {
      this.height = state.height;
      this.host.style.height = `${state.height}px`;
      const place = (el, [x, y, w, h]) => {
        const box = { left: x, top: y, width: Math.max(w, 0), height: Math.max(h, 0) };
        this.boxes.set(el, box);
        Object.assign(el.style, { left: `${x}px`, top: `${y}px`, width: `${box.width}px`, height: `${box.height}px` });
      };
      place(this.menuButton, state.layout.menu);
      place(this.text, state.layout.text);
      place(this.smaller, state.layout.smaller);
      place(this.bigger, state.layout.bigger);
      this.applyFont(state);
      this.applySharedSettings(state);
      // A band drawn again in a tab after a navigation gets back the tab's last text.
      if (state.text !== null) this.setText(state.text);
      if (this.isShown()) this.pushPageDown();
    }

    // This band's own font: other tabs keep theirs.
    applyFont({ fontHeight, fontPixels }) {
      this.fontHeight = fontHeight;
      this.fontPixels = fontPixels;
      this.text.style.fontSize = `${drawnFontPixels(fontPixels, this.height)}px`;
    }

    // What all bands share: the colour of the text and the menu's check marks. An open menu
    // is redrawn at once.
    applySharedSettings({ menu, fontColor }) {
      this.text.style.color = fontColor;
      this.menu = menu;
      if (!this.popup.hidden) this.popup.replaceChildren(...this.menuNodes(this.menu));
    }

    togglePopup() {
      if (!this.popup.hidden) {
        this.popup.hidden = true;
        return;
      }
      this.popup.replaceChildren(...this.menuNodes(this.menu));
      this.popup.style.left = '0px';
      this.popup.style.top = `${this.height}px`;
      this.popup.hidden = false;
    }

    menuNodes(items) {
      const nodes = [];
      for (const item of items) {
        if (item.separator) {
          nodes.push(document.createElement('hr'));
        } else if (Array.isArray(item.items)) {
          const caption = document.createElement('div');
          caption.className = 'caption';
          caption.textContent = `${item.caption} \u25b8`;
          const sub = document.createElement('div');
          sub.className = 'sub';
          sub.append(...this.menuNodes(item.items));
          nodes.push(caption, sub);
        } else {
          const row = document.createElement('div');
          row.className = 'item';
          row.dataset.command = String(item.id);
          row.setAttribute('role', 'menuitemcheckbox');
          row.setAttribute('aria-checked', item.checked ? 'true' : 'false');
          const check = document.createElement('span');
          check.className = 'check';
          check.textContent = item.checked ? '\u2713' : '';
          row.append(check, document.createTextNode(item.caption));
          this.press(row, (e) => {
            e.preventDefault();
            this.popup.hidden = true;
            this.onCommand(item.id);
          });
          nodes.push(row);
        }
      }
      return nodes;
    }
  }

  globalThis.PeluxBand = Band;
  globalThis.PeluxFontPixels = drawnFontPixels;
})();
