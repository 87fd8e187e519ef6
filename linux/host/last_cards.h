// The first entry of the card each tab's frame showed last, with the text it was captured from,
// kept so that the word can be saved from that card after the reply has gone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <utility>

#include "lookup/card_entries.h"

namespace pelux {

struct LastCard {
    int64_t seq = 0;
    CardEntry entry;
    std::u16string sentence;
};

class CLastCards {
public:
    // Keeps one card per tab and frame: a newer pointer event replaces the older one.
    void remember(int64_t tab, int64_t frame, int64_t seq, CardEntry entry, std::u16string sentence);
    // The frame's last card has nothing to save any more (its last event showed no entry).
    void forget(int64_t tab, int64_t frame) { m_cards.erase({tab, frame}); }
    // The card of exactly that event, or none when the frame has shown another one since.
    const LastCard* find(int64_t tab, int64_t frame, int64_t seq) const;
    void tabClosed(int64_t tab);
    std::size_t size() const { return m_cards.size(); }

private:
    std::map<std::pair<int64_t, int64_t>, LastCard> m_cards;
};

}  // namespace pelux
