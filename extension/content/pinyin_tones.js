// The pinyin syllables of the band's Chinese lines with their tones, so that the popup can colour
// them: the reading stands in square brackets, one syllable to a word, the tone as a mark.
'use strict';

(() => {
  // Combining marks after canonical decomposition: macron, acute, caron (and the band's breve),
  // grave. A syllable with none of them has the neutral tone.
  const TONE_OF_MARK = new Map([['\u0304', 1], ['\u0301', 2], ['\u030c', 3], ['\u0306', 3], ['\u0300', 4]]);
  const SYLLABLE = /^[A-Za-z\u00fc\u00dc\u0300-\u036f]*[aeiouvAEIOUV\u00fc\u00dc][A-Za-z\u00fc\u00dc\u0300-\u036f]*$/;

  function toneOf(syllable) {
    const letters = syllable.normalize('NFD');
    if (!SYLLABLE.test(letters)) return null;
    for (const c of letters) {
      if (TONE_OF_MARK.has(c)) return TONE_OF_MARK.get(c);
    }
    return 5;
  }

  // [{ text, tone }] covering the whole text in order; tone is null outside pinyin syllables.
  function segments(text) {
    const out = [];
    const plain = (t) => { if (t) out.push({ text: t, tone: null }); };
    let rest = 0;
    for (const reading of text.matchAll(/\[([^\]\n]*)\]/g)) {
      const start = reading.index + 1;
      plain(text.slice(rest, start));
      for (const part of reading[1].split(/( +)/)) {
        const tone = part.trim() ? toneOf(part) : null;
        if (tone === null) plain(part);
        else out.push({ text: part, tone });
      }
      rest = start + reading[1].length;
    }
    plain(text.slice(rest));
    return out;
  }

  globalThis.PeluxTones = { segments, toneOf };
})();
