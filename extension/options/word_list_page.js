// The options page's word list: the host owns the file, so the table shows what the host last
// answered, and a removal or an export is a request to it. Every text from the list (which holds
// what pages wrote) is put in as text, never as markup, and the source address is not a link.
'use strict';

(() => {
  const EXPORT_FILES = { anki: 'peluxbar-words.txt', csv: 'peluxbar-words.csv' };
  const body = document.querySelector('#words tbody');
  const problem = document.getElementById('word-problem');
  const buttons = [document.getElementById('export-anki'), document.getElementById('export-csv')];

  function send(message) {
    chrome.runtime.sendMessage(message).catch(() => {});
  }

  function cell(row, text) {
    const td = document.createElement('td');
    td.textContent = text;
    row.append(td);
  }

  function showWords(words) {
    const rows = words.map((word, index) => {
      const row = document.createElement('tr');
      for (const name of ['forms', 'reading', 'senses', 'sentence', 'url', 'time']) cell(row, word[name]);
      const remove = document.createElement('button');
      remove.type = 'button';
      remove.textContent = 'Remove';
      remove.addEventListener('click', (event) => {
        if (!event.isTrusted) return;
        for (const button of body.querySelectorAll('button')) button.disabled = true;
        send({ type: 'removeWord', index, forms: word.forms });
      });
      const td = document.createElement('td');
      td.append(remove);
      row.append(td);
      return row;
    });
    body.replaceChildren(...rows);
  }

  function download(format, text) {
    const address = URL.createObjectURL(new Blob([text], { type: 'text/plain;charset=utf-8' }));
    const link = document.createElement('a');
    link.href = address;
    link.download = EXPORT_FILES[format];
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(address), 60000);
  }

  for (const [button, format] of [[buttons[0], 'anki'], [buttons[1], 'csv']]) {
    button.addEventListener('click', (event) => {
      if (!event.isTrusted) return;
      button.disabled = true;
      send({ type: 'exportWords', format });
    });
  }

  chrome.runtime.onMessage.addListener((raw, sender) => {
    if (sender.id !== chrome.runtime.id || !raw || (raw.type !== 'wordList' && raw.type !== 'wordExport')) return;
    const message = PeluxSchema.fromHost(raw);
    if (!message) return;
    problem.textContent = message.problem === null ? '' : message.problem;
    if (message.type === 'wordList') {
      showWords(message.words);
      document.body.dataset.words = String(message.words.length);
      return;
    }
    for (const button of buttons) button.disabled = false;
    if (message.problem === null) download(message.format, message.text);
  });

  send({ type: 'listWords' });
})();
