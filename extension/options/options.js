// The options page: one switch per reader setting. The host owns the settings: a change goes to
// it, and the boxes show what it answers, so this page and every tab agree with the file.
'use strict';

(() => {
  const form = document.getElementById('switches');
  const status = document.getElementById('status');
  const boxes = new Map();

  function send(message) {
    chrome.runtime.sendMessage(message).catch(() => {});
  }

  for (const { name, explain: text } of PeluxConstants.READER_SWITCHES) {
    const label = document.createElement('label');
    const box = document.createElement('input');
    box.type = 'checkbox';
    box.name = name;
    box.disabled = true;
    box.addEventListener('change', (event) => {
      if (!event.isTrusted) return;
      box.disabled = true;
      send({ type: 'setSetting', name, value: box.checked ? 1 : 0 });
    });
    const title = document.createElement('span');
    title.className = 'name';
    title.textContent = name;
    const explain = document.createElement('span');
    explain.className = 'explain';
    explain.textContent = text;
    label.append(box, title, explain);
    form.append(label);
    boxes.set(name, box);
  }

  chrome.runtime.onMessage.addListener((raw, sender) => {
    if (sender.id !== chrome.runtime.id || !raw || raw.type !== 'readerSettings') return;
    const message = PeluxSchema.fromHost(raw);
    if (!message) return;
    for (const [name, box] of boxes) {
      box.checked = message.values[name] === 1;
      box.disabled = false;
    }
    status.textContent = '';
    document.body.dataset.ready = 'true';
  });

  send({ type: 'getReaderSettings' });
  setTimeout(() => {
    if (document.body.dataset.ready !== 'true') {
      status.textContent = 'PeluxBar\'s helper program does not answer. Run "peluxbar install", then open this page again.';
    }
  }, 5000);
})();
