// The band's dialogs, drawn over the page in shadow roots of their own: the Text Color dialog
// (modal over the page) and the translation window (modeless, above the page, several at once).
// Sizes follow the dialog templates' units; every text goes in with textContent or value. Each
// lives in a closed shadow root, and a press or key counts only on the dialog as we drew it.
'use strict';

(() => {
  // One dialog unit of the templates' 8-point font, in CSS pixels.
  const DLU_X = 1.5;
  const DLU_Y = 1.625;
  const px = (units, scale) => `${Math.round(units * scale)}px`;
  const TOP = 2147483647;
  const BORDER = 1;

  const STYLE = `
    :host { all: initial; position: fixed; left: 0; top: 0; width: 0; height: 0; z-index: ${TOP}; display: block; }
    #frame { all: initial; direction: ltr; display: block; }
    .overlay { position: fixed; inset: 0; z-index: ${TOP}; background: rgba(0,0,0,.15); }
    .dialog { position: fixed; z-index: ${TOP}; background: #f0f0f0; border: ${BORDER}px solid #404040;
              box-shadow: 3px 3px 8px rgba(0,0,0,.35); font: 12px sans-serif; color: #000; }
    .title { height: 22px; line-height: 22px; padding: 0 6px; background: #0a246a; color: #fff;
             font-weight: bold; cursor: default; user-select: none; }
    .body { position: relative; }
    .body > * { position: absolute; box-sizing: border-box; margin: 0; font: 12px sans-serif; }
    button { padding: 0; background: #e8e8e8; border: 1px solid #707070; }
    button.default { border: 2px solid #000; }
    input { border: 2px inset #d0d0d0; padding: 0 2px; background: #fff; }
    .label { white-space: nowrap; }
    .static { border: 2px inset #d0d0d0; background: #fff; padding: 2px; overflow: hidden;
              white-space: pre-wrap; word-wrap: break-word; }
  `;

  function place(el, [x, y, w, h]) {
    Object.assign(el.style, { left: px(x, DLU_X), top: px(y, DLU_Y), width: px(w, DLU_X), height: px(h, DLU_Y) });
    return el;
  }

  function control(tag, box, text, props = {}) {
    const el = document.createElement(tag);
    if (text !== null) el.textContent = text;
    Object.assign(el, props);
    return place(el, box);
  }

  // A dialog window of the given template size, centred in the viewport (cascaded by `offset`).
  function frame(kind, caption, [w, h], offset = 0) {
    const host = document.createElement('peluxbar-dialog');
    host.dataset.kind = kind;
    const root = PeluxDrawn.attach(host);
    const wrapper = document.createElement('div');
    wrapper.id = 'frame';
    const style = document.createElement('style');
    style.textContent = STYLE;
    const dialog = document.createElement('div');
    dialog.className = 'dialog';
    dialog.setAttribute('role', 'dialog');
    dialog.tabIndex = -1;
    const width = Math.round(w * DLU_X);
    const height = Math.round(h * DLU_Y);
    const at = {
      left: Math.max(0, (window.innerWidth - width) / 2 + offset),
      top: Math.max(0, (window.innerHeight - height - 22) / 2 + offset),
    };
    Object.assign(dialog.style, { width: `${width}px`, left: `${at.left}px`, top: `${at.top}px` });
    const title = document.createElement('div');
    title.className = 'title';
    title.textContent = caption;
    const body = document.createElement('div');
    body.className = 'body';
    body.style.height = `${height}px`;
    dialog.append(title, body);
    wrapper.append(dialog);
    root.append(style, wrapper);
    // Keys typed into a dialog are the dialog's, not the page's.
    for (const type of ['keydown', 'keyup', 'keypress']) dialog.addEventListener(type, (e) => e.stopPropagation());
    // The user's press or key on `control`, in the dialog where we placed it.
    const on = (control, type, handler) => control.addEventListener(type, PeluxDrawn.guard(host, root, control, (e) => {
      const box = dialog.getBoundingClientRect();
      const drawnWidth = width + 2 * BORDER;
      if (Math.abs(box.left - at.left) <= 0.5 && Math.abs(box.top - at.top) <= 0.5 && Math.abs(box.width - drawnWidth) <= 0.5) handler(e);
    }));
    return { host, root, wrapper, dialog, body, on };
  }

  // Resolves with { result, text }: 1 (OK, Enter) with the edit's text, 2 (Cancel, Escape) or
  // 206 (Other Colors).
  function textColor(initialText) {
    return new Promise((resolve) => {
      const { host, wrapper, dialog, body, on } = frame('textColor', 'Text Color', [186, 95]);
      const overlay = document.createElement('div');
      overlay.className = 'overlay';
      wrapper.insertBefore(overlay, dialog);
      const ok = control('button', [7, 72, 50, 16], 'OK', { id: 'ok', className: 'default' });
      const cancel = control('button', [129, 72, 50, 16], 'Cancel', { id: 'cancel' });
      const edit = control('input', [54, 15, 53, 14], null, { id: 'edit', type: 'text', maxLength: 7, value: initialText, spellcheck: false });
      const other = control('button', [101, 39, 50, 16], 'Other Colors', { id: 'other' });
      body.append(ok, cancel, edit,
        control('div', [15, 18, 38, 8], 'Text Color', { className: 'label' }),
        control('div', [17, 36, 73, 8], 'Black = "#000000"', { className: 'label' }),
        control('div', [17, 46, 61, 8], 'Red = "#FF0000"', { className: 'label' }),
        other);
      let ended = false;
      // A page that goes away under the dialog cancels it, so that the command ends.
      const onPageHide = PeluxTrusted(() => end(2));
      const end = (result) => {
        if (ended) return;
        ended = true;
        window.removeEventListener('pagehide', onPageHide);
        const text = edit.value.slice(0, 7);
        host.remove();
        resolve({ result, text: result === 1 ? text : '' });
      };
      window.addEventListener('pagehide', onPageHide);
      on(ok, 'click', () => end(1));
      on(cancel, 'click', () => end(2));
      on(other, 'click', () => end(206));
      on(dialog, 'keydown', (e) => {
        if (e.key === 'Enter') { e.preventDefault(); end(1); }
        if (e.key === 'Escape') { e.preventDefault(); end(2); }
      });
      // Modal: the page under the overlay takes no pointer input while the dialog is open.
      overlay.addEventListener('mousedown', PeluxTrusted((e) => { e.preventDefault(); edit.focus(); }));
      document.documentElement.append(host);
      edit.focus();
    });
  }

  let openTranslations = 0;

  // A modeless window that shows the text until OK, Enter or Escape closes it; `onClose` runs
  // once, when the user closed it or its page went away.
  function translation(text, caption = 'PeluxBar Google Translation', onClose = () => {}) {
    const { host, dialog, body, on } = frame('translation', caption, [272, 119], (openTranslations % 8) * 30);
    openTranslations += 1;
    const ok = control('button', [113, 96, 50, 16], 'OK', { id: 'ok', className: 'default' });
    const shown = control('div', [7, 7, 258, 85], text, { id: 'text', className: 'static' });
    body.append(ok, shown);
    const onPageHide = PeluxTrusted(() => close());
    const close = () => {
      if (!host.isConnected) return;
      window.removeEventListener('pagehide', onPageHide);
      host.remove();
      openTranslations -= 1;
      onClose();
    };
    window.addEventListener('pagehide', onPageHide);
    on(ok, 'click', close);
    on(dialog, 'keydown', (e) => {
      if (e.key === 'Enter' || e.key === 'Escape') { e.preventDefault(); close(); }
    });
    document.documentElement.append(host);
    ok.focus();
    return host;
  }

  // A message with an OK button under its caption, as a message box shows it.
  function notice(text, caption, onClose) {
    const host = translation(text, caption, onClose);
    host.dataset.kind = 'notice';
    return host;
  }

  globalThis.PeluxDialogs = { textColor, translation, notice };
})();
