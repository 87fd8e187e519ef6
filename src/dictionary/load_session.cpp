#include "dictionary/load_session.h"

#include <atomic>
#include <cstdint>

#include "dictionary/english_index.h"
#include "dictionary/loaders.h"

namespace pelux {

namespace {
// Written only while the store's lock is held; atomic so that isLoadRunning may be asked from
// any thread without taking the lock.
std::atomic<bool> g_loadRunning{false};
}  // namespace

LoadSession::LoadSession(const LoadEnvironment& environment)
    : m_environment(environment), m_lock(theDictionary().mutex()) {
    if (g_loadRunning.load()) return;
    g_loadRunning.store(true);
    clearLoadCancelled();
    m_started = true;
}

LoadSession::~LoadSession() {
    if (m_started) g_loadRunning.store(false);
}

std::filesystem::path LoadSession::pathOf(const char* fileName) const {
    return dictionaryFilePath(m_environment.directory, fileName);
}

std::u16string pathForDisplay(const std::filesystem::path& path) {
    try {
        return path.u16string();
    } catch (const std::exception&) {
        // Not valid UTF-8: show the bytes as they are rather than nothing.
        std::u16string text;
        for (const char byte : path.string()) text.push_back(static_cast<unsigned char>(byte));
        return text;
    }
}

void LoadSession::reportMissingFiles() const {
    if (m_missing.empty()) return;
    std::u16string text = u"Could not open ";
    for (std::size_t i = 0; i < m_missing.size(); ++i) {
        if (i > 0) text += u", ";
        text += pathForDisplay(m_missing[i]);
    }
    showLoadText(m_environment, text);
}

bool loadSessionRunning() { return g_loadRunning.load(); }

void runIrregularPass(LoadSession& session, CDictionary& store) {
    const std::filesystem::path path = session.pathOf(kIrregularFileName);
    try {
        if (!buildIrregularForms(store, path)) session.noteMissing(path);
    } catch (const PatternError&) {
        // No word pattern: the irregular forms stay empty, which lookups take as "none".
    }
}

namespace {
int hexDigitValue(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

bool isScanBlank(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }
}  // namespace

bool scanHexCode(std::u16string_view text, int32_t& code) {
    std::size_t i = 0;
    while (i < text.size() && isScanBlank(text[i])) ++i;
    if (i < text.size() && text[i] == u'+') ++i;
    if (i + 2 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X') &&
        hexDigitValue(text[i + 2]) >= 0)
        i += 2;
    int64_t value = 0;
    std::size_t digits = 0;
    for (; i < text.size() && hexDigitValue(text[i]) >= 0; ++i, ++digits) {
        value = value * 16 + hexDigitValue(text[i]);
        if (value > INT32_MAX) return false;
    }
    if (digits == 0) return false;
    code = static_cast<int32_t>(value);
    return true;
}

bool isLoadRunning() { return loadSessionRunning(); }

}  // namespace pelux
