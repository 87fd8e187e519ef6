// Written by the build from src/contract/extension_contract.h (scripts/write_extension_constants.cpp):
// change the header, not this file.
'use strict';

globalThis.PeluxConstants = Object.freeze({
  // The reader's switches, in the options page's order, each with the text of its box.
  READER_SWITCHES: Object.freeze([
    Object.freeze({ name: "AllEntries", explain: "Show every entry of the word under the pointer, common ones first, not only the first." }),
    Object.freeze({ name: "StandardPinyin", explain: "Write pinyin as readers learned it: the tone mark on a, e or the o of ou, and ǎ for tone 3." }),
    Object.freeze({ name: "HepburnRomaji", explain: "Write Japanese readings in modified Hepburn romaji (shi, chū, kitte) without dots." }),
    Object.freeze({ name: "Deinflect", explain: "Also look conjugated Japanese verbs and adjectives up under their dictionary form." }),
    Object.freeze({ name: "ReaderPopup", explain: "Also show the entries in a popup beside the word, and mark the matched characters." }),
    Object.freeze({ name: "LoadAtStart", explain: "Load the dictionary of the last completed load by itself when the browser starts." }),
  ]),
  COMMAND_BIGGER: 107,
  COMMAND_SMALLER: 108,
  MAX_TRANSLATE_BYTES: 9999,
  MAX_CAPTURED_UNITS: 4096,
  LAST_ENGLISH_ROAD_CHAR: 256,
});
