// The document model of one pointer event as the content script captured it. The script has
// already asked the page for the ranges at the pointer; these objects answer the pointer
// handling's questions from that capture, for that one point.
#pragma once

#include <optional>
#include <string>

#include "platform/document_model.h"
#include "browser/pointer_capture.h"
#include "host/native_messages.h"

namespace pelux {

class CCapturedRange : public ITextRange {
public:
    explicit CCapturedRange(const PointerMessage& message) : m_message(message) {}
    bool moveToPoint(int32_t x, int32_t y) override;
    std::optional<bool> expand(std::u16string_view unit) override;
    bool setEndPoint(std::u16string_view how, const ITextRange& other) override;
    std::optional<std::u16string> text() override;

private:
    enum class Extent { Collapsed, Character, Word, Sentence, CharacterToSentenceEnd };
    const PointerMessage& m_message;
    Extent m_extent = Extent::Collapsed;
    bool m_placed = false;
};

class CCapturedBody : public IBodyElement {
public:
    explicit CCapturedBody(const PointerMessage& message) : m_message(message) {}
    std::unique_ptr<ITextRange> createTextRange() override;

private:
    const PointerMessage& m_message;
};

class CCapturedDocument : public IDocument {
public:
    explicit CCapturedDocument(const PointerMessage& message) : m_body(message), m_hasBody(message.hasBody) {}
    IBodyElement* body() override { return m_hasBody ? &m_body : nullptr; }

private:
    CCapturedBody m_body;
    bool m_hasBody;
};

// The element under the pointer: its title, when set, goes back to the content script.
class CCapturedElement : public IElement {
public:
    explicit CCapturedElement(const PointerMessage& message) : m_document(message) {}
    IDocument* document() override { return &m_document; }
    bool setAttribute(std::u16string_view name, std::u16string_view value, int32_t flags) override;
    const std::optional<std::u16string>& title() const { return m_title; }

private:
    CCapturedDocument m_document;
    std::optional<std::u16string> m_title;
};

class CCapturedEvent : public IEventObject {
public:
    explicit CCapturedEvent(const PointerMessage& message) : m_message(message), m_element(message) {}
    std::optional<int32_t> clientX() override { return m_message.x; }
    std::optional<int32_t> clientY() override { return m_message.y; }
    IElement* srcElement() override { return &m_element; }
    const CCapturedElement& element() const { return m_element; }

private:
    const PointerMessage& m_message;
    CCapturedElement m_element;
};

// A text area that keeps what one event writes, so that it travels back in the event's reply.
class CCollectingTextWindow : public ITextWindow {
public:
    void setText(std::u16string_view text) override { m_text = std::u16string(text); }
    const std::optional<std::u16string>& text() const { return m_text; }

private:
    std::optional<std::u16string> m_text;
};

// The tab's band as one pointer event sees it: what the event writes and matches travels back
// in its reply.
class CPointerBandView : public IBandView {
public:
    explicit CPointerBandView(bool visible) : m_visible(visible) {}
    bool isVisible() override { return m_visible; }
    ITextWindow& textArea() override { return m_text; }
    void noteMatchedLength(int32_t length) override { m_matchedLength = length; }
    void noteCard(CardData&& card) override { m_card = std::move(card); }
    const std::optional<std::u16string>& text() const { return m_text.text(); }
    std::optional<int32_t> matchedLength() const { return m_matchedLength; }
    std::optional<CardData>& card() { return m_card; }

private:
    bool m_visible;
    CCollectingTextWindow m_text;
    std::optional<int32_t> m_matchedLength;
    std::optional<CardData> m_card;
};

}  // namespace pelux
