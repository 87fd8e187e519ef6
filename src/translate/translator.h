// CTranslator: sends a text to the configured online translation service and shows what comes
// back. The COM class that scripts call shapes its arguments and hands them to one of these.
#pragma once

#include <chrono>
#include <string>
#include <string_view>

#include "platform/http_request.h"
#include "dictionary/dictionary.h"
#include "platform/notices.h"
#include "translate/translation_request.h"
#include "translate/translation_settings.h"

namespace pelux {

// What one call did, for callers that report it themselves (the command line); the user has
// already been told through the notices either way.
struct TranslationOutcome {
    bool shown = false;           // a translation window was opened
    std::u16string translation;   // the text it shows
    std::string failure;          // why the request failed, when it did
};

class CTranslator {
public:
    CTranslator(IHttpRequest& http, INotices& notices, TranslationSettings settings = {});

    // Chooses the language pair from the text and the store's language, asks the service and
    // opens a translation window with the result. Any failure of the request is reported to
    // the user as "Exception occurred" and opens no window; nothing is thrown for it.
    TranslationOutcome translate(CDictionary& store, std::u16string_view txt);

    // The two halves of translate(txt), for a shell whose notices do not wait for the user:
    // the language to translate with, after the notice that Chinese is the default when no
    // dictionary was chosen yet; then, once that notice is closed, the request and its window.
    // The second half touches no shared state, so it may run on a thread of its own.
    DictionaryLanguage settleLanguage(CDictionary& store);
    TranslationOutcome translate(std::u16string_view txt, DictionaryLanguage language);
    // Tells the user that a translation failed, as a failed request does.
    void reportFailure();

private:
    TranslationOutcome requestAndShow(std::u16string_view text, std::string_view pair);

    IHttpRequest& m_http;
    INotices& m_notices;
    TranslationSettings m_settings;
};

}  // namespace pelux
