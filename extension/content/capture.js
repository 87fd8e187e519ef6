// The text at a point of the page, as the host's pointer handling asks for it: the character
// under the point, the word around it, and the text from it to the end of its sentence.
'use strict';

(() => {
  const MAX_SENTENCE_UNITS = 256;
  // The longest word the host reads; a page can hold one "word" of megabytes (a data blob).
  const MAX_WORD_UNITS = PeluxConstants.MAX_CAPTURED_UNITS;
  const segmenters = new Map();

  function segmenter(granularity) {
    let s = segmenters.get(granularity);
    if (!s) {
      s = new Intl.Segmenter(undefined, { granularity });
      segmenters.set(granularity, s);
    }
    return s;
  }

  function caretAt(x, y) {
    if (document.caretPositionFromPoint) {
      const p = document.caretPositionFromPoint(x, y);
      return p ? { node: p.offsetNode, offset: p.offset } : null;
    }
    const r = document.caretRangeFromPoint ? document.caretRangeFromPoint(x, y) : null;
    return r ? { node: r.startContainer, offset: r.startOffset } : null;
  }

  function boxHolds(node, start, x, y) {
    if (start < 0 || start >= node.data.length) return false;
    const range = document.createRange();
    range.setStart(node, start);
    range.setEnd(node, start + 1);
    for (const box of range.getClientRects()) {
      if (x >= box.left && x <= box.right && y >= box.top && y <= box.bottom) return true;
    }
    return false;
  }

  // The caret lands between characters, on whichever side of the pointed one is nearer.
  function characterAt(x, y) {
    const caret = caretAt(x, y);
    if (!caret || !caret.node || caret.node.nodeType !== Node.TEXT_NODE) return null;
    const node = caret.node;
    for (const offset of [caret.offset, caret.offset - 1]) {
      if (boxHolds(node, offset, x, y)) return { node, offset };
    }
    return null;
  }

  function wordAround(text, offset) {
    for (const part of segmenter('word').segment(text)) {
      if (offset >= part.index && offset < part.index + part.segment.length) return { word: part.segment, start: part.index };
    }
    return { word: text.charAt(offset), start: offset };
  }

  // The first `max` code units, without half of a surrogate pair at the cut.
  function cutUnits(text, max) {
    if (text.length <= max) return text;
    const last = text.charCodeAt(max - 1);
    return text.slice(0, last >= 0xd800 && last <= 0xdbff ? max - 1 : max);
  }

  function blockOf(node) {
    let element = node.parentElement;
    while (element && element.parentElement && getComputedStyle(element).display.startsWith('inline')) {
      element = element.parentElement;
    }
    return element || document.documentElement;
  }

  // The text from the point on, across the inline elements of the same block.
  function textFrom(node, offset) {
    let text = node.data.slice(offset);
    const walker = document.createTreeWalker(blockOf(node), NodeFilter.SHOW_TEXT);
    walker.currentNode = node;
    while (text.length < MAX_SENTENCE_UNITS && walker.nextNode()) text += walker.currentNode.data;
    return text.slice(0, MAX_SENTENCE_UNITS);
  }

  function sentenceFrom(node, offset) {
    const text = textFrom(node, offset);
    for (const part of segmenter('sentence').segment(text)) return part.segment;
    return '';
  }

  // { character, word, sentence, at, wordStart }; character is null when the point holds no
  // text. `at` (text node and offset of the character) and `wordStart` let the reader mark the match.
  function captureAt(x, y) {
    const at = characterAt(x, y);
    if (!at) return { character: null, word: '', sentence: '', at: null, wordStart: 0 };
    const text = at.node.data;
    const { word, start } = wordAround(text, at.offset);
    return {
      character: text.charAt(at.offset),
      word: cutUnits(word, MAX_WORD_UNITS),
      sentence: sentenceFrom(at.node, at.offset),
      at,
      wordStart: start,
    };
  }

  globalThis.PeluxCapture = { captureAt };
})();
