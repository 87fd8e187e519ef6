#include "pelux_band_documents.h"

namespace pelux::win32 {

uint64_t CSubscribedDocuments::startOf(IUnknown* browser) const {
    const auto found = m_navigationStarts.find(browser);
    return found == m_navigationStarts.end() ? 0 : found->second.at;
}

bool CSubscribedDocuments::holds(const Entry& entry) const {
    return entry.recorded > startOf(entry.origin.top) && entry.recorded > startOf(entry.origin.browser);
}

bool CSubscribedDocuments::isSubscribed(IUnknown* document, const DocumentOrigin& origin) {
    std::lock_guard lock(m_lock);
    const auto found = m_docCookies.find(document);
    if (found == m_docCookies.end()) return false;
    const Entry& entry = found->second;
    return entry.cookie != 0 && entry.origin == origin && holds(entry);
}

void CSubscribedDocuments::record(IUnknown* document, const DocumentOrigin& origin, DWORD cookie) {
    std::lock_guard lock(m_lock);
    Entry& entry = m_docCookies[document];
    if (entry.cookie != 0 && entry.origin == origin && holds(entry)) return;
    entry = {cookie, origin, ++m_clock};
}

void CSubscribedDocuments::navigationStarted(const DocumentOrigin& origin) {
    std::lock_guard lock(m_lock);
    m_navigationStarts[origin.browser] = {origin.top, ++m_clock};
}

void CSubscribedDocuments::pageCompleted(const DocumentOrigin& origin) {
    std::lock_guard lock(m_lock);
    const uint64_t start = startOf(origin.browser);
    if (start == 0) return;
    // The frames of the new page completed before it, after its navigation began: they stay.
    const bool topLevel = origin.browser == origin.top;
    std::erase_if(m_docCookies, [&](const auto& item) {
        const Entry& entry = item.second;
        return entry.origin.top == origin.top && entry.recorded < start &&
               (topLevel || entry.origin.browser == origin.browser);
    });
    if (!topLevel) return;
    std::erase_if(m_navigationStarts, [&](const auto& item) {
        return item.first != origin.browser && item.second.top == origin.top && item.second.at < start;
    });
}

}  // namespace pelux::win32
