// The band strip at the top of a tab: menu button, text area and the two height buttons, placed
// where the host's layout says. Text goes in with textContent and value only, never as markup.
'use strict';

(() => {
  const STYLE = `
    :host { all: initial; position: fixed; top: 0; left: 0; right: 0; z-index: 2147483647;
            display: block; background: #f0f0f0; box-shadow: 0 1px 0 #a0a0a0; }
    :host([hidden]) { display: none; }
    /* Until the host answers with its layout (or when it cannot be reached). */
    :host { height: 40px; }
    #menu { left: 0; top: 0; width: 35px; height: 100%; }
    textarea { left: 35px; top: 0; width: calc(100% - 60px); height: 100%; }
    #smaller { right: 0; top: 0; width: 24px; height: 50%; }
    #bigger { right: 0; bottom: 0; width: 24px; height: calc(50% - 1px); }
    button, textarea { position: absolute; box-sizing: border-box; margin: 0; }
    button { padding: 0; font: 12px sans-serif; background: #e8e8e8; border: 1px solid #a0a0a0; }
    textarea { resize: none; background: #fff; border: 2px inset #d0d0d0; padding: 1px 3px;
               font-family: "Noto Sans CJK SC", "Noto Sans SC", "Microsoft YaHei", "PingFang SC", sans-serif;
               line-height: 1.15; overflow-y: scroll; }
    /* The host's replies give the band the dictionary's language, so kanji take Japanese forms. */
    :host(:lang(ja)) textarea { font-family: "Noto Sans CJK JP", "Noto Sans JP", "Yu Gothic", "Hiragino Sans", sans-serif; }
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

  class Band {
    constructor(onCommand) {
      this.onCommand = onCommand;
      this.height = 0;
      this.host = document.createElement('peluxbar-band');
      this.root = this.host.attachShadow({ mode: 'open' });
      const style = document.createElement('style');
      style.textContent = STYLE;
      this.menuButton = this.button('menu', '\u8bcd', 'PeluxBar menu');
      this.text = document.createElement('textarea');
      this.text.spellcheck = false;
      this.smaller = this.button('smaller', '\u25b2', 'Make the band lower');
      this.bigger = this.button('bigger', '\u25bc', 'Make the band taller');
      this.popup = document.createElement('div');
      this.popup.id = 'menu-popup';
      this.popup.hidden = true;
      this.root.append(style, this.menuButton, this.text, this.smaller, this.bigger, this.popup);
      this.menuButton.addEventListener('mousedown', PeluxTrusted((e) => { e.preventDefault(); this.togglePopup(); }));
      this.smaller.addEventListener('mousedown', PeluxTrusted(() => onCommand(PeluxSchema.COMMAND_SMALLER)));
      this.bigger.addEventListener('mousedown', PeluxTrusted(() => onCommand(PeluxSchema.COMMAND_BIGGER)));
      document.addEventListener('mousedown', PeluxTrusted((e) => { if (e.target !== this.host) this.popup.hidden = true; }), true);
      this.menu = [];
      this.fontHeight = null;
      this.savedMargin = null;
    }

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

    // The event lets a page's own scripts (and the tests) see when the band's text changed.
    setText(text) {
      this.text.value = text;
      this.host.dispatchEvent(new CustomEvent('peluxbar-text'));
    }

    // The host's answer to the band's size: layout, font and colour, and the menu.
    applyState(state) {
      this.height = state.height;
      this.host.style.height = `${state.height}px`;
      const place = (el, [x, y, w, h]) => Object.assign(el.style, {
        left: `${x}px`, top: `${y}px`, width: `${Math.max(w, 0)}px`, height: `${Math.max(h, 0)}px` });
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

    // This band's own font: other tabs keep theirs. However the font was set by hand, the text
    // is drawn at least 8 pixels high and no higher than the band, so that it never vanishes.
    applyFont({ fontHeight, fontPixels }) {
      this.fontHeight = fontHeight;
      this.fontPixels = fontPixels;
      this.text.style.fontSize = `${Math.min(Math.max(fontPixels, 8), Math.max(8, this.height))}px`;
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
          row.addEventListener('mousedown', PeluxTrusted((e) => {
            e.preventDefault();
            this.popup.hidden = true;
            this.onCommand(item.id);
          }));
          nodes.push(row);
        }
      }
      return nodes;
    }
  }

  globalThis.PeluxBand = Band;
})();
