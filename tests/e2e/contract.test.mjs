// One message contract: the extension's schema (extension/schema.js) held against the real host.
// Every message a page's script may send is read by the host, and refused without any field the
// schema requires; every message the host builds is one the schema accepts, with no field the
// schema does not name, and every kind the schema names is built. No browser is needed.
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import { after, before, test } from 'node:test';
import vm from 'node:vm';
import { DATA, EXTENSION, PELUXBAR, tempDir } from './helpers.mjs';

const context = { console: { warn: () => {} } };
context.globalThis = context;
for (const script of ['generated/constants.js', 'schema.js']) vm.runInNewContext(fs.readFileSync(path.join(EXTENSION, script), 'utf8'), context);
const schema = context.PeluxSchema;

// A valid value for each field a page's script sends.
const SAMPLES = {
  seq: 1, x: 5, y: 6, character: '中', word: '中', sentence: '中国人。', hasBody: true, id: 107, bandHeight: 40,
  fontHeight: -19, key: 'Escape', down: false, width: 500, height: 40, viewHeight: 700, dialog: 1, result: 2,
  text: '', notice: 1, index: 0, forms: '猫', format: 'anki', name: 'ReaderPopup', value: 0,
};
// What the service worker adds to a page's message before it goes to the host.
const WORKER_ADDS = { saveWord: { url: 'https://example.com/page' } };

let config;
let translator;
before(async () => {
  config = tempDir('contract');
  translator = http.createServer((request, response) => response.end('<textarea>t</textarea>'));
  await new Promise((resolve) => translator.listen(0, '127.0.0.1', resolve));
  fs.mkdirSync(path.join(config, 'peluxbar'));
  fs.writeFileSync(path.join(config, 'peluxbar', 'settings'), `TranslationService=http://127.0.0.1:${translator.address().port}\n`);
});
after(async () => {
  fs.rmSync(config, { recursive: true, force: true });
  await new Promise((resolve) => translator.close(resolve));
});

// Runs the host over the messages (framed as Chromium frames them); its replies and its log. The
// host answers nothing once its input has ended, so the input stays open until the replies
// satisfy `until` (at most 10 s), as a browser's port stays open for a reply that comes later.
// `then.messages` are sent once the replies satisfy `then.when` (a dictionary load has ended).
async function runHost(messages, until = () => true, then = null) {
  const framed = (list) => Buffer.concat(list.map((m) => {
    const body = Buffer.from(JSON.stringify(m));
    const length = Buffer.alloc(4);
    length.writeUInt32LE(body.length);
    return Buffer.concat([length, body]);
  }));
  const input = framed(messages);
  let thenSent = false;
  const host = spawn(PELUXBAR, ['chrome-extension://contract/'], {
    env: { ...process.env, XDG_CONFIG_HOME: config, PELUXBAR_DICT_DIR: DATA, ASAN_OPTIONS: 'detect_leaks=0' },
  });
  const out = [];
  let log = '';
  const endInput = () => { if (!host.stdin.writableEnded) host.stdin.end(); };
  const giveUp = setTimeout(endInput, 10000);
  host.stdout.on('data', (chunk) => {
    out.push(chunk);
    const sofar = parseReplies(Buffer.concat(out));
    if (then && !thenSent && then.when(sofar)) {
      thenSent = true;
      host.stdin.write(framed(then.messages));
    }
    if (until(sofar)) endInput();
  });
  host.stderr.on('data', (chunk) => { log += chunk; });
  host.stdin.write(input);
  if (until([])) endInput();
  await new Promise((resolve) => host.on('close', resolve));
  clearTimeout(giveUp);
  return { replies: parseReplies(Buffer.concat(out)), log };
}

// The replies whose frames are complete.
function parseReplies(bytes) {
  const replies = [];
  for (let at = 0; at + 4 <= bytes.length && at + 4 + bytes.readUInt32LE(at) <= bytes.length;
    at += 4 + bytes.readUInt32LE(at)) {
    replies.push(JSON.parse(bytes.subarray(at + 4, at + 4 + bytes.readUInt32LE(at)).toString('utf8')));
  }
  return replies;
}

function fromPage(type, without = null) {
  const message = { type, tab: 3, frame: 0, ...WORKER_ADDS[type] };
  for (const field of Object.keys(schema.FIELDS.fromContent[type])) {
    if (field !== without) message[field] = SAMPLES[field];
  }
  return message;
}

function fromOptions(type, without = null) {
  const message = { type };
  for (const field of Object.keys(schema.FIELDS.fromOptions[type])) {
    if (field !== without) message[field] = SAMPLES[field];
  }
  return message;
}

test('the host reads every message the schema lets a page send, and needs each required field', async () => {
  for (const [type, fields] of Object.entries(schema.FIELDS.fromContent)) {
    const { log } = await runHost([fromPage(type)]);
    assert.doesNotMatch(log, /dropped a message/, `"${type}" is read`);
    for (const [field, isValid] of Object.entries(fields)) {
      if (isValid(undefined) || isValid(null)) continue;
      const refused = await runHost([fromPage(type, field)]);
      assert.match(refused.log, /dropped a message/, `"${type}" without "${field}" is refused`);
    }
  }
});

test('the host reads every message the schema lets the options page send, and needs each field', async () => {
  for (const [type, fields] of Object.entries(schema.FIELDS.fromOptions)) {
    assert.ok(schema.fromOptions(fromOptions(type)), `the sample "${type}" is valid`);
    const { log } = await runHost([fromOptions(type)]);
    assert.doesNotMatch(log, /dropped a message/, `"${type}" is read`);
    for (const field of Object.keys(fields)) {
      const refused = await runHost([fromOptions(type, field)]);
      assert.match(refused.log, /dropped a message/, `"${type}" without "${field}" is refused`);
    }
  }
});

test('every message the host builds is one the schema accepts, with no field it does not name', async () => {
  const session = [
    { type: 'show', visible: true },
    fromPage('band'), fromPage('pointer'),
    { ...fromPage('command'), id: 107 }, { ...fromPage('command'), id: 32787 }, { ...fromPage('command'), id: 32795 },
    { ...fromPage('command'), id: 32788 }, { ...fromPage('command'), id: 32772 },
    { ...fromPage('command'), id: 32802 }, { ...fromPage('colorAnswer'), dialog: 1, result: 2 },
    { type: 'translate', tab: 3, text: '中' }, { type: 'translate', tab: 3 }, { type: 'getReaderSettings' },
    fromPage('saveWord'), fromOptions('listWords'), fromOptions('exportWords'),
  ];
  const { replies } = await runHost(session, (sofar) => sofar.some((reply) => reply.type === 'translation'));
  const built = new Set();
  for (const reply of replies) {
    assert.ok(schema.fromHost(reply), `${JSON.stringify(reply).slice(0, 200)} is accepted`);
    const named = Object.keys(schema.FIELDS.fromHost[reply.type]);
    for (const field of Object.keys(reply)) {
      if (field !== 'type') assert.ok(named.includes(field), `"${reply.type}" names "${field}"`);
    }
    built.add(reply.type);
  }
  assert.deepEqual([...built].sort(), Object.keys(schema.FIELDS.fromHost).sort());
});

// Every field of the card's objects is one the schema names, and each it names is there.
function assertCardFields(card) {
  const fields = schema.CARD_FIELDS;
  const same = (object, kind) => assert.deepEqual(Object.keys(object).sort(), [...fields[kind]].sort(), kind);
  same(card, 'card');
  for (const entry of card.entries) {
    same(entry, 'entry');
    for (const sense of entry.senses) same(sense, 'sense');
  }
  for (const char of card.chars) {
    same(char, 'char');
    for (const reading of char.readings) same(reading, 'reading');
  }
}

test('the reader\'s card is built as the schema names it, and a malformed card is refused', async () => {
  const session = [
    { type: 'show', visible: true }, fromPage('band'), { ...fromPage('command'), id: 32772 },
    { type: 'setSetting', name: 'ReaderPopup', value: 1 },
  ];
  const afterLoad = {
    when: (sofar) => sofar.some((reply) => reply.type === 'loadEnded'),
    messages: [fromPage('pointer'), { type: 'setSetting', name: 'ReaderPopup', value: 0 }],
  };
  const isCardReply = (reply) => reply.type === 'pointerResult' && reply.popup && reply.popup.card;
  const isSwitchedOff = (reply) => reply.type === 'readerSettings' && reply.values.ReaderPopup === 0;
  const { replies } = await runHost(session, (sofar) => sofar.some(isSwitchedOff), afterLoad);
  const reply = replies.find(isCardReply);
  assert.ok(reply, 'a pointer reply with a card');
  assert.ok(schema.fromHost(reply));
  const card = reply.popup.card;
  assertCardFields(card);
  assert.equal(card.lang, 'zh');
  assert.deepEqual(card.entries[0].forms, ['中国人', '中國人']);
  assert.ok(card.chars.some((c) => c.char === '中' && c.readings.some((r) => r.kind === 'M')));

  const limits = schema.CARD_LIMITS;
  const broken = {
    'an unknown language': (c) => { c.lang = 'en'; },
    'an unnamed field': (c) => { c.entries[0].html = '<b>'; },
    'too many entries': (c) => { c.entries = Array(limits.entries + 1).fill(c.entries[0]); },
    'too many senses': (c) => { c.entries[0].senses = Array(limits.senses + 1).fill(c.entries[0].senses[0]); },
    'too many characters': (c) => { c.chars = Array(limits.chars + 1).fill(c.chars[0]); },
    'a sense too long': (c) => { c.entries[0].senses[0].text = 'x'.repeat(limits.text + 1); },
    'a form too long': (c) => { c.entries[0].forms[0] = 'x'.repeat(limits.label + 1); },
    'a tag that is no string': (c) => { c.entries[0].senses[0].tags = [1]; },
    'a code of another character': (c) => { c.chars[0].code += 1; },
    'a reading of no kind': (c) => { c.chars[0].readings[0].kind = 'pinyin'; },
    'a stroke count as text': (c) => { c.chars[0].strokes = '4'; },
    'savable without an entry': (c) => { c.entries = []; },
    'a form line that is no string': (c) => { c.entries[0].form = 3; },
  };
  for (const [name, breakIt] of Object.entries(broken)) {
    const copy = structuredClone(reply);
    breakIt(copy.popup.card);
    assert.equal(schema.fromHost(copy), null, name);
  }
});
