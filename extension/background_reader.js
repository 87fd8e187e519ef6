// The service worker's side of the options page: its messages go to the host, which owns the
// settings, and the host's answer reaches every tab and every open options page.
'use strict';

const OPTIONS_PAGE = 'options/options.html';

function isOptionsPage(sender) {
  return sender.id === chrome.runtime.id && typeof sender.url === 'string' &&
    sender.url.split(/[?#]/)[0] === chrome.runtime.getURL(OPTIONS_PAGE);
}

// `post` is the worker's one way to the host.
function fromOptionsPage(raw, post) {
  const message = PeluxSchema.fromOptions(raw);
  if (message) post(message);
}

function tellOptionsPages(message) {
  chrome.runtime.sendMessage(message).catch(() => {});
}
