#include "host/last_cards.h"

#include <limits>

#include "contract/extension_contract.h"
#include "text/utf16_cut.h"

namespace pelux {

namespace {

// A page with thousands of frames must not make the host keep thousands of cards: past this,
// a frame's card pushes out another one.
constexpr std::size_t kMaxRememberedCards = 256;

}  // namespace

void CLastCards::remember(int64_t tab, int64_t frame, int64_t seq, CardEntry entry, std::u16string sentence) {
    const std::pair<int64_t, int64_t> key{tab, frame};
    if (m_cards.size() >= kMaxRememberedCards && !m_cards.contains(key)) m_cards.erase(m_cards.begin());
    sentence.resize(cutBeforeUnits(sentence, kMaxCapturedUnits).size());
    m_cards[key] = LastCard{seq, std::move(entry), std::move(sentence)};
}

const LastCard* CLastCards::find(int64_t tab, int64_t frame, int64_t seq) const {
    const auto it = m_cards.find({tab, frame});
    return it == m_cards.end() || it->second.seq != seq ? nullptr : &it->second;
}

void CLastCards::tabClosed(int64_t tab) {
    auto it = m_cards.lower_bound({tab, std::numeric_limits<int64_t>::min()});
    while (it != m_cards.end() && it->first.first == tab) it = m_cards.erase(it);
}

}  // namespace pelux
