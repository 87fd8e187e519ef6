// Reader mode in a frame: the popup beside the word under the pointer and the mark on the
// matched characters, both from the host's reply to a pointer message (the band's own reply).
// The mark is a CSS custom highlight, so the page's DOM is never changed. Only trusted events
// show, move or hide anything.
'use strict';

(() => {
  const HIGHLIGHT = 'peluxbar-match';
  const MARK_STYLE = `::highlight(${HIGHLIGHT}) { background-color: #ffe36e; color: #000; }`;
  let popup = null;
  let markSheet = null;
  // The card on show and the sequence number of the reply it came with, for "saveWord".
  let shownCard = null;
  // The sequence number of the card whose word is being saved: the answer shows only on it.
  let savingSeq = null;
  // The capture of the pointer message in flight, by its sequence number.
  let noted = null;

  function noteCapture(seq, captured, trusted) {
    noted = { seq, captured, trusted };
  }

  // English: the word under the pointer. Otherwise `length` characters from the pointer on, across
  // the text nodes that follow (the capture read the same ones); at least the pointed character.
  // The page may have changed the text since the capture: null when the offsets no longer fit.
  function matchRange(captured, length) {
    const { node, offset } = captured.at;
    if (!node.isConnected || node.nodeType !== Node.TEXT_NODE || offset >= node.data.length) return null;
    const range = document.createRange();
    if (captured.character.charCodeAt(0) <= PeluxConstants.LAST_ENGLISH_ROAD_CHAR) {
      if (captured.wordStart > offset) return null;
      range.setStart(node, captured.wordStart);
      range.setEnd(node, Math.min(node.data.length, captured.wordStart + captured.word.length));
      return range;
    }
    range.setStart(node, offset);
    const walker = document.createTreeWalker(document.documentElement, NodeFilter.SHOW_TEXT);
    walker.currentNode = node;
    let [end, at, remaining] = [node, offset, Math.max(length, 1)];
    while (remaining > end.data.length - at) {
      const next = walker.nextNode();
      if (!next) break;
      remaining -= end.data.length - at;
      [end, at] = [next, 0];
    }
    range.setEnd(end, Math.min(end.data.length, at + remaining));
    return range;
  }

  function mark(range) {
    if (!globalThis.CSS || !CSS.highlights || typeof Highlight !== 'function') return;
    if (!markSheet) {
      markSheet = new CSSStyleSheet();
      markSheet.replaceSync(MARK_STYLE);
    }
    // A page may replace its adopted sheets at any time; ours is put back when missing.
    if (!document.adoptedStyleSheets.includes(markSheet)) {
      document.adoptedStyleSheets = [...document.adoptedStyleSheets, markSheet];
    }
    CSS.highlights.set(HIGHLIGHT, new Highlight(range));
  }

  function unmark() {
    if (globalThis.CSS && CSS.highlights) CSS.highlights.delete(HIGHLIGHT);
  }

  function hide() {
    unmark();
    shownCard = null;
    if (popup) popup.hide();
  }

  // The popup follows this frame's band when it has one, else the colour and size the host gave,
  // drawn by the band's rules: a frame has no band, and the tallest band it could have is half of
  // its window.
  function lookOf(message, band) {
    const fromBand = band && band.isShown() ? parseFloat(band.text.style.fontSize) : NaN;
    return {
      lang: message.lang,
      color: (band && band.text.style.color) || message.popup.color,
      fontPixels: Number.isFinite(fromBand) ? fromBand : PeluxFontPixels(message.popup.fontPixels, Math.floor(window.innerHeight / 2)),
    };
  }

  function onResult(message, band) {
    if (band && message.lang) band.setLang(message.lang);
    if (!noted || noted.seq !== message.seq || !noted.trusted) return;
    const { captured } = noted;
    noted = null;
    if (!message.popup || message.text === null || !captured.at || !captured.at.node.isConnected) {
      hide();
      return;
    }
    const range = matchRange(captured, message.popup.match);
    if (!range) {
      hide();
      return;
    }
    if (message.popup.match > 0) mark(range);
    else unmark();
    if (!popup) popup = new PeluxReaderPopup();
    const [word, look, topInset] = [range.getBoundingClientRect(), lookOf(message, band), band && band.isShown() ? band.height : 0];
    const { card } = message.popup;
    if (card) {
      shownCard = { card, seq: message.seq };
      popup.showCard(card, message.popup.tones, word, look, topInset);
      return;
    }
    shownCard = null;
    const text = message.text.replace(/\r\n?/g, '\n');
    const segments = message.popup.tones ? PeluxTones.segments(text) : [{ text, tone: null }];
    popup.show(segments, word, look, topInset);
  }

  function onKey(event) {
    if (event.isTrusted && event.type === 'keydown' && event.key === 'Escape') hide();
  }

  async function copyCard(card) {
    const text = PeluxCard.plainText(card);
    let copied = false;
    if (navigator.clipboard && navigator.clipboard.writeText) {
      copied = await navigator.clipboard.writeText(text).then(() => true, () => false);
    }
    if (!copied) copied = PeluxCardKeys.copyByCommand(text);
    if (popup && shownCard && shownCard.card === card) popup.say(copied ? 'Copied.' : 'Could not copy: the browser refused the clipboard.');
  }

  // A key pressed while the card shows (only the user's own, never one typed into a field): true
  // when the card acted on it. Escape hides the card; what else it means is up to the caller.
  function onCardKey(event, send) {
    if (!shownCard || !popup || !popup.isCardShown()) return false;
    const key = event.key.length === 1 ? event.key.toLowerCase() : event.key;
    if (key === 'Escape') {
      hide();
      return true;
    }
    if (event.repeat || event.shiftKey) return false;
    if (key === 'c' && shownCard.card.entries.length) {
      copyCard(shownCard.card);
      return true;
    }
    if (key === 'w' && shownCard.card.savable) {
      savingSeq = shownCard.seq;
      send({ type: 'saveWord', seq: shownCard.seq });
      popup.say('Saving\u2026');
      return true;
    }
    return false;
  }

  function onWordSaved(message) {
    if (popup && shownCard && shownCard.seq === savingSeq) popup.say(message.text);
    savingSeq = null;
  }

  function onSettings(message) {
    if (message.values.ReaderPopup === 0) hide();
  }

  document.addEventListener('scroll', (event) => { if (event.isTrusted) hide(); }, { capture: true, passive: true });

  globalThis.PeluxReader = {
    noteCapture, onResult, onKey, onCardKey, onWordSaved, onSettings, hide,
    isPopupEvent: (event) => popup !== null && event.target === popup.host,
  };
})();
