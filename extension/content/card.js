// The learner's card: the entries of the word under the pointer drawn as a small document (the
// word large with its reading, the senses as a numbered list, a panel of its characters) from the
// host's structured reply. Every text goes in with textContent only: dictionary and page text
// are never markup.
'use strict';

(() => {
  const KEYS_HINT = 'c copy \u00b7 w save \u00b7 Esc close';
  const KEYS_HINT_UNSAVABLE = 'c copy \u00b7 Esc close';

  const STYLE = `
    #box.card { display: flex; flex-direction: column; white-space: normal; padding: 0; overflow: hidden;
                width: max-content; max-width: min(28em, calc(100vw - 8px)); min-width: min(14em, calc(100vw - 8px));
                line-height: 1.35; border: 1px solid rgba(0,0,0,.14); border-radius: 8px;
                background: #ffffff; box-shadow: 0 6px 24px rgba(0,0,0,.16), 0 1px 3px rgba(0,0,0,.10); }
    .card .scroll { overflow-y: auto; overscroll-behavior: contain; min-height: 0; flex: 0 1 auto; padding: .55em .8em .4em; }
    .card .entry + .entry { border-top: 1px solid rgba(0,0,0,.10); margin-top: .45em; padding-top: .45em; }
    .card .form { margin: 0 0 .1em; font-size: .72em; color: #6b6b6b; }
    .card h2 { all: unset; display: flex; flex-wrap: wrap; align-items: baseline; column-gap: .45em; row-gap: 0; }
    .card .written { font-size: 1.6em; line-height: 1.2; font-weight: 500; }
    .card .variants { font-size: 1.05em; color: #555; }
    .card .reading { font-size: 1em; color: #333; }
    .card .romaji { font-size: .8em; color: #6b6b6b; font-style: italic; }
    .card .common { align-self: center; font-size: .62em; font-weight: 600; letter-spacing: .02em; padding: .1em .5em;
                    border-radius: 999px; color: #0b6b2e; background: #dcf3e3; }
    .card ol { margin: .3em 0 0; padding: 0 0 0 1.5em; color: #222; font-size: .9em; }
    .card li { margin: .12em 0; padding-left: .1em; }
    .card li::marker { color: #8a8a8a; font-size: .9em; }
    .card .tag { display: inline-block; font-size: .72em; line-height: 1.35; padding: 0 .45em; margin-right: .3em;
                 border-radius: 999px; color: #555; background: #ececec; vertical-align: .1em; }
    .card .chars { display: grid; grid-template-columns: auto 1fr; column-gap: .6em; row-gap: .35em; margin-top: .55em;
                   padding-top: .5em; border-top: 1px solid rgba(0,0,0,.10); font-size: .78em; color: #333; }
    .card .glyph { font-size: 2em; line-height: 1.1; color: inherit; }
    .card .char-info { display: flex; flex-direction: column; justify-content: center; min-width: 0; }
    .card .kind { font-size: .8em; color: #8a8a8a; margin-right: .25em; }
    .card .char-readings span + span { margin-left: .7em; }
    .card .facts { color: #6b6b6b; font-size: .9em; }
    .card .foot { flex: none; padding: .3em .8em; font-size: .68em; color: #6b6b6b; background: #f6f6f6;
                  border-top: 1px solid rgba(0,0,0,.08); border-radius: 0 0 8px 8px; }
    .card .foot.said { color: #1d5fbf; }
    @media (prefers-color-scheme: dark) {
      #box.card { background: #23252a; border-color: rgba(255,255,255,.14); color: #e8e8e8 !important;
                  box-shadow: 0 6px 24px rgba(0,0,0,.5), 0 1px 3px rgba(0,0,0,.4); }
      .card .entry + .entry, .card .chars { border-top-color: rgba(255,255,255,.12); }
      .card .form, .card .romaji, .card .facts, .card .foot { color: #a8a8a8; }
      .card .variants, .card .reading, .card .chars { color: #cfcfcf; }
      .card ol { color: #e2e2e2; }
      .card .tag { color: #cfcfcf; background: #3a3d44; }
      .card .common { color: #9be3b3; background: #1f4a2e; }
      .card .foot { background: #1c1e22; border-top-color: rgba(255,255,255,.08); }
      .card .foot.said { color: #8ab8ff; }
      .card .tone1 { color: #ff6b6b; } .card .tone2 { color: #f0b040; } .card .tone3 { color: #5ccf5c; }
      .card .tone4 { color: #7d9bff; } .card .tone5 { color: #a0a0a0; }
    }
  `;

  function node(tag, className, text) {
    const element = document.createElement(tag);
    if (className) element.className = className;
    if (text !== undefined) element.textContent = text;
    return element;
  }

  // Pinyin with its syllables coloured by tone (the popup's tone classes); other readings plain.
  function readingNode(reading, tones) {
    const span = node('span', 'reading');
    if (!tones) {
      span.textContent = reading;
      return span;
    }
    for (const part of reading.split(/( +)/)) {
      const tone = part.trim() ? PeluxTones.toneOf(part) : null;
      span.append(tone === null ? document.createTextNode(part) : node('span', `tone${tone}`, part));
    }
    return span;
  }

  function entryNode(entry, lang, tones) {
    const section = node('section', 'entry');
    section.lang = lang;
    if (entry.form) section.append(node('p', 'form', entry.form));
    const heading = node('h2');
    const [first = '', ...rest] = entry.forms;
    heading.append(node('span', 'written', first));
    if (rest.length) heading.append(node('span', 'variants', rest.join(lang === 'ja' ? '\u3001' : ' ')));
    if (entry.reading && entry.reading !== first) heading.append(readingNode(entry.reading, tones && lang === 'zh'));
    if (entry.romaji) heading.append(node('span', 'romaji', entry.romaji));
    if (entry.common) heading.append(node('span', 'common', 'common'));
    section.append(heading);
    if (entry.senses.length) {
      const list = node('ol', 'senses');
      list.lang = 'en';
      for (const sense of entry.senses) {
        const item = node('li');
        for (const tag of sense.tags) item.append(node('span', 'tag', tag));
        item.append(document.createTextNode(sense.text));
        list.append(item);
      }
      section.append(list);
    }
    return section;
  }

  const KIND_LABELS = { M: 'Mandarin', C: 'Cantonese', on: 'on', kun: 'kun' };

  function charsNode(chars, lang) {
    const panel = node('div', 'chars');
    panel.setAttribute('role', 'list');
    panel.setAttribute('aria-label', 'Characters');
    for (const c of chars) {
      const glyph = node('span', 'glyph', c.char);
      glyph.lang = lang;
      glyph.setAttribute('role', 'listitem');
      const info = node('div', 'char-info');
      if (c.readings.length) {
        const readings = node('div', 'char-readings');
        for (const r of c.readings) {
          const one = node('span');
          one.append(node('span', 'kind', KIND_LABELS[r.kind] || r.kind), document.createTextNode(r.text));
          readings.append(one);
        }
        info.append(readings);
      }
      if (c.meanings) info.append(node('div', 'meanings', c.meanings));
      const facts = [
        c.strokes !== null && `${c.strokes} strokes`, c.grade !== null && `grade ${c.grade}`,
        c.jlpt !== null && `JLPT ${c.jlpt}`, c.freq !== null && `frequency ${c.freq}`,
      ].filter(Boolean);
      if (facts.length) info.append(node('div', 'facts', facts.join(' \u00b7 ')));
      panel.append(glyph, info);
    }
    return panel;
  }

  // The card's nodes: a scrolling body and the foot that lists the keys (and later says what a
  // key did). `tones`: colour the pinyin.
  function build(card, tones) {
    const body = node('div', 'scroll');
    for (const entry of card.entries) body.append(entryNode(entry, card.lang, tones));
    if (card.chars.length) body.append(charsNode(card.chars, card.lang));
    const foot = node('div', 'foot', card.savable ? KEYS_HINT : KEYS_HINT_UNSAVABLE);
    foot.lang = 'en';
    foot.setAttribute('role', 'status');
    foot.setAttribute('aria-live', 'polite');
    return { nodes: [body, foot], foot };
  }

  // The first entry as plain text for the clipboard: "forms [reading]", then one numbered sense a line.
  function plainText(card) {
    const entry = card.entries[0];
    if (!entry) return '';
    const reading = entry.reading ? ` [${entry.reading}]` : '';
    const senses = entry.senses.map((sense, i) => {
      const tags = sense.tags.length ? `(${sense.tags.join(',')}) ` : '';
      return `${i + 1}. ${tags}${sense.text}`;
    });
    return [`${entry.forms.join(' ')}${reading}`, ...senses].join('\n');
  }

  globalThis.PeluxCard = { STYLE, KEYS_HINT, build, plainText };
})();
