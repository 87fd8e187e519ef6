// The messages that travel between the content scripts, the service worker and the native host.
// Every message is an object with a "type"; every received one is checked before it is used.
// Loaded after generated/constants.js, whose values the host shares.
'use strict';

(() => {
  // The reader's switches of the options page, in its order.
  const READER_SETTINGS = PeluxConstants.READER_SWITCHES.map((s) => s.name);
  const isInt = (v) => Number.isInteger(v);
  const isStr = (v) => typeof v === 'string';
  const isBool = (v) => typeof v === 'boolean';
  const isStrOrNull = (v) => v === null || typeof v === 'string';
  const isIntOrNull = (v) => v === null || Number.isInteger(v);
  const isIntOrAbsent = (v) => v === undefined || Number.isInteger(v);
  const isWebAddress = (v) => typeof v === 'string' && /^https?:\/\/[^\s]+$/.test(v);
  const isBox = (v) => Array.isArray(v) && v.length === 4 && v.every(isInt);
  const isReaderValues = (v) => v && typeof v === 'object' && READER_SETTINGS.every((name) => v[name] === 0 || v[name] === 1);
  // The learner's card: bounded lists of bounded strings, whatever the dictionary holds.
  const CARD = { entries: 16, senses: 32, chars: 16, list: 16, text: 2000, label: 200 };
  // The fields of each object of the card: no other field is accepted.
  const CARD_FIELDS = {
    card: ['lang', 'entries', 'chars', 'savable'],
    entry: ['forms', 'reading', 'romaji', 'common', 'form', 'senses'],
    sense: ['text', 'tags'],
    char: ['char', 'code', 'readings', 'meanings', 'strokes', 'grade', 'jlpt', 'freq'],
    reading: ['kind', 'text'],
  };
  const isObjectOf = (v, kind) => v !== null && typeof v === 'object' && !Array.isArray(v) &&
      Object.keys(v).every((key) => CARD_FIELDS[kind].includes(key));
  const isText = (v) => isStr(v) && v.length <= CARD.text;
  const isLabel = (v) => isStr(v) && v.length <= CARD.label;
  const isListOf = (v, max, test) => Array.isArray(v) && v.length <= max && v.every(test);
  const isCount = (v) => v === null || (isInt(v) && v >= 0);
  const isSense = (v) => isObjectOf(v, 'sense') && isText(v.text) && isListOf(v.tags, CARD.list, isLabel);
  const isCardEntry = (v) => isObjectOf(v, 'entry') && isListOf(v.forms, CARD.list, isLabel) && isLabel(v.reading) &&
      isLabel(v.romaji) && isBool(v.common) && (v.form === null || isLabel(v.form)) &&
      isListOf(v.senses, CARD.senses, isSense);
  const isCharReading = (v) => isObjectOf(v, 'reading') && ['M', 'C', 'on', 'kun'].includes(v.kind) && isLabel(v.text);
  const isCardChar = (v) => isObjectOf(v, 'char') && isStr(v.char) && v.char.length >= 1 && v.char.length <= 2 &&
      isInt(v.code) && v.code === v.char.codePointAt(0) && isListOf(v.readings, CARD.list, isCharReading) &&
      isText(v.meanings) && isCount(v.strokes) && isCount(v.grade) && isCount(v.jlpt) && isCount(v.freq);
  const isCard = (v) => isObjectOf(v, 'card') && (v.lang === 'zh' || v.lang === 'ja') &&
      isListOf(v.entries, CARD.entries, isCardEntry) && isListOf(v.chars, CARD.chars, isCardChar) &&
      v.savable === v.entries.length > 0;
  const isPopup = (v) => v && typeof v === 'object' && isInt(v.match) && v.match >= 0 && isStr(v.color) &&
      isInt(v.fontPixels) && isBool(v.tones) && (v.card === undefined || isCard(v.card));
  const isExportFormat = (v) => v === 'anki' || v === 'csv';
  const WORD_FIELDS = ['forms', 'reading', 'senses', 'sentence', 'url', 'time'];
  const isWordList = (v) => Array.isArray(v) && v.every((word) => word && typeof word === 'object' &&
      WORD_FIELDS.every((name) => isStr(word[name])));
  const isMenu = (v) => Array.isArray(v) && v.every((item) => item && typeof item === 'object' &&
      (item.separator === true || (isStr(item.caption) && (isInt(item.id) || isMenu(item.items)))));

  // Fields of each message, by who receives it.
  const FROM_CONTENT = {
    pointer: { seq: isInt, x: isInt, y: isInt, character: isStrOrNull, word: isStr, sentence: isStr, hasBody: isBool },
    command: { id: isInt, bandHeight: isInt, fontHeight: isIntOrNull },
    key: { key: isStr, down: isBool },
    band: { width: isInt, height: isInt, fontHeight: isIntOrNull, viewHeight: isIntOrAbsent },
    colorAnswer: { dialog: isInt, result: isInt, text: isStr },
    bandClosed: { width: isInt, height: isInt },
    noticeClosed: { notice: isInt },
    // The card's `w` key: keep the word of the card shown for the pointer reply `seq`.
    saveWord: { seq: isInt },
  };
  const FROM_HOST = {
    pointerResult: {
      tab: isInt, frame: isInt, seq: isInt, text: isStrOrNull, title: isStrOrNull,
      // For the reader: the loaded language, and what the popup needs when it is on.
      lang: (v) => v === undefined || v === 'zh' || v === 'ja',
      popup: (v) => v === undefined || isPopup(v),
    },
    text: { tab: isInt, text: isStr },
    bandState: {
      tab: isInt, width: isInt, height: isInt, visible: isBool, fontHeight: isInt, fontPixels: isInt, fontColor: isStr,
      layout: (v) => v && isBox(v.menu) && isBox(v.text) && isBox(v.smaller) && isBox(v.bigger),
      menu: isMenu,
      // The tab's last text, for a band drawn again after a navigation; else null.
      text: isStrOrNull,
    },
    bandHeight: { tab: isInt, height: isInt },
    loadEnded: { tab: isInt },
    bandFont: { tab: isInt, fontHeight: isInt, fontPixels: isInt },
    // Not for one tab: every tab redraws its menu and its text colour.
    settings: { menu: isMenu, fontColor: isStr },
    colorDialog: { tab: isInt, dialog: isInt, text: isStr },
    navigate: { tab: isInt, url: isWebAddress },
    // A notice with a number is one the host waits for: the tab tells it when it was closed.
    notice: { tab: isInt, text: isStr, caption: isStr, notice: isIntOrAbsent },
    translation: { tab: isInt, text: isStr },
    readerSettings: { values: isReaderValues },
    // To the frame that asked to save a word: whether it was kept, and what its card says of it.
    wordSaved: { tab: isInt, frame: isInt, saved: isBool, text: isStr },
    // To the options pages: the word list (or its start), and what went wrong, if anything.
    wordList: { words: isWordList, problem: isStrOrNull },
    wordExport: { format: isExportFormat, text: isStr, problem: isStrOrNull },
  };
  // From the options page to the host, through the service worker.
  const FROM_OPTIONS = {
    setSetting: { name: (v) => READER_SETTINGS.includes(v), value: (v) => v === 0 || v === 1 },
    getReaderSettings: {},
    listWords: {},
    // `forms` is what the page shows at `index`: a list changed meanwhile loses nothing else.
    removeWord: { index: (v) => isInt(v) && v >= 0, forms: isStr },
    exportWords: { format: isExportFormat },
  };
  // What the service worker passes on to a tab: the host's messages, and its own notices.
  const TO_CONTENT = Object.assign({}, FROM_HOST, { hostGone: { text: isStr } });

  function check(table, message) {
    if (!message || typeof message !== 'object' || !isStr(message.type)) return 'no type';
    const fields = Object.prototype.hasOwnProperty.call(table, message.type) ? table[message.type] : null;
    // The sender's own text goes into the log escaped and short: never a raw line break.
    if (!fields) return `unknown type ${JSON.stringify(message.type.slice(0, 80))}`;
    for (const [name, test] of Object.entries(fields)) {
      if (!test(message[name])) return `bad field "${name}" in "${message.type}"`;
    }
    return null;
  }

  // The message when it is valid, else null after a warning naming the problem.
  function accept(table, message, where) {
    const problem = check(table, message);
    if (problem === null) return message;
    console.warn(`PeluxBar: dropped a message ${where}: ${problem}`);
    return null;
  }

  globalThis.PeluxSchema = {
    // The tables themselves, for the test that holds them against the host's readers and builders.
    FIELDS: { fromContent: FROM_CONTENT, fromHost: FROM_HOST, fromOptions: FROM_OPTIONS },
    fromContent: (m) => accept(FROM_CONTENT, m, 'from a page'),
    fromHost: (m) => accept(FROM_HOST, m, 'from the host'),
    fromOptions: (m) => accept(FROM_OPTIONS, m, 'from the options page'),
    READER_SETTINGS,
    toContent: (m) => accept(TO_CONTENT, m, 'from the service worker'),
    HOST_NAME: 'com.tandrel.peluxbar',
    // The name of a frame's long-lived port to the worker, which carries its pointer messages.
    POINTER_PORT: 'peluxbar-pointer',
    COMMAND_BIGGER: PeluxConstants.COMMAND_BIGGER,
    COMMAND_SMALLER: PeluxConstants.COMMAND_SMALLER,
    TRANSLATE_MENU_ID: 'peluxbar-translate',
    // The longest text (UTF-8 bytes) that a translation request carries; the rest is dropped.
    MAX_TRANSLATE_BYTES: PeluxConstants.MAX_TRANSLATE_BYTES,
    CARD_LIMITS: CARD,
    CARD_FIELDS,
  };
})();
