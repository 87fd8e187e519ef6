#include "host/host_pointer.h"

namespace pelux {

bool CCapturedRange::moveToPoint(int32_t x, int32_t y) {
    // The capture knows the text at one point only.
    m_placed = x == m_message.x && y == m_message.y;
    m_extent = Extent::Collapsed;
    return m_placed;
}

std::optional<bool> CCapturedRange::expand(std::u16string_view unit) {
    if (!m_placed) return false;
    if (unit == kUnitCharacter) {
        if (!m_message.character || m_message.character->empty()) return false;
        m_extent = Extent::Character;
    } else if (unit == kUnitWord) {
        m_extent = Extent::Word;
    } else if (unit == kUnitSentence) {
        m_extent = Extent::Sentence;
    } else {
        return false;
    }
    return true;
}

bool CCapturedRange::setEndPoint(std::u16string_view how, const ITextRange& other) {
    const auto* range = dynamic_cast<const CCapturedRange*>(&other);
    if (how != kEndToEnd || range == nullptr) return false;
    // The only end the capture knows is that of the sentence at the pointer.
    if (m_extent == Extent::Character && range->m_extent == Extent::Sentence) {
        m_extent = Extent::CharacterToSentenceEnd;
    }
    return true;
}

std::optional<std::u16string> CCapturedRange::text() {
    switch (m_extent) {
        case Extent::Collapsed: return std::u16string();
        case Extent::Character: return m_message.character;
        case Extent::Word: return m_message.word;
        case Extent::Sentence:
        case Extent::CharacterToSentenceEnd: return m_message.sentence;
    }
    return std::nullopt;
}

std::unique_ptr<ITextRange> CCapturedBody::createTextRange() {
    return std::make_unique<CCapturedRange>(m_message);
}

bool CCapturedElement::setAttribute(std::u16string_view name, std::u16string_view value, int32_t) {
    if (name != kTitleAttribute) return false;
    m_title = std::u16string(value);
    return true;
}

}  // namespace pelux
