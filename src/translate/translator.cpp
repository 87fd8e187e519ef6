#include "translate/translator.h"

#include <exception>
#include <utility>

namespace pelux {

namespace {

constexpr std::u16string_view kDefaultLanguageNotice =
    u"Translating to/from Chinese by default until a dictionary is chosen ...";
constexpr std::u16string_view kRequestFailedNotice = u"Exception occurred";
constexpr std::u16string_view kErrorCaption = u"Error";

bool isSuccessStatus(int status) { return status >= 200 && status <= 299; }

}  // namespace

CTranslator::CTranslator(IHttpRequest& http, INotices& notices, TranslationSettings settings)
    : m_http(http), m_notices(notices), m_settings(std::move(settings)) {}

// With no dictionary chosen yet, Chinese becomes the language for good. The store is switched
// before the notice is shown, not after: the notice waits for the user, and a dictionary loaded
// meanwhile (or a second caller on another thread) must neither be overwritten with Chinese
// nor bring a second notice.
DictionaryLanguage CTranslator::settleLanguage(CDictionary& store) {
    bool tellUser = false;
    {
        DictionaryLock lock(store.mutex());
        tellUser = store.settleLanguage(Chinese);
    }
    if (tellUser) m_notices.showMessage(kDefaultLanguageNotice, kErrorCaption);
    DictionaryLock lock(store.mutex());
    return store.language();
}

TranslationOutcome CTranslator::translate(CDictionary& store, std::u16string_view txt) {
    return translate(txt, settleLanguage(store));
}

TranslationOutcome CTranslator::translate(std::u16string_view txt, DictionaryLanguage language) {
    const std::string_view pair = languagePair(translationDirection(txt), language);
    TranslationOutcome outcome = requestAndShow(txt, pair);
    if (!outcome.shown) reportFailure();
    return outcome;
}

void CTranslator::reportFailure() { m_notices.showMessage(kRequestFailedNotice, kErrorCaption); }

// Everything from building the request to opening the window is one guarded block: whatever
// goes wrong inside it ends the block with nothing shown.
TranslationOutcome CTranslator::requestAndShow(std::u16string_view text, std::string_view pair) {
    TranslationOutcome outcome;
    try {
        const std::string url = translationUrl(m_settings.baseAddress, text, pair);
        const HttpReply reply = m_http.get(url, m_settings.timeout);
        // An error page from the service is no translation, even when it happens to hold a
        // textarea; reporting it as an empty one would hide the failure.
        if (!isSuccessStatus(reply.status))
            throw CHttpRequestError("the service answered with HTTP status " + std::to_string(reply.status));
        outcome.translation = extractTranslation(reply.text);
        m_notices.showTranslation(outcome.translation);
        outcome.shown = true;
    } catch (const std::exception& error) {
        outcome = TranslationOutcome{};
        outcome.failure = error.what();
    } catch (...) {
        outcome = TranslationOutcome{};
        outcome.failure = "unknown failure";
    }
    return outcome;
}

}  // namespace pelux
