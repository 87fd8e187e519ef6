// The few operations of a browser's document object model that the pointer handling needs.
// Every operation can fail; a failure ends the handling of the event that made the call.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace pelux {

inline constexpr std::u16string_view kUnitCharacter = u"character";
inline constexpr std::u16string_view kUnitWord = u"word";
inline constexpr std::u16string_view kUnitSentence = u"sentence";
inline constexpr std::u16string_view kEndToEnd = u"EndToEnd";
inline constexpr std::u16string_view kTitleAttribute = u"title";

class ITextRange {
public:
    virtual ~ITextRange() = default;
    // Collapses the range to the position at the point; false when the call failed.
    virtual bool moveToPoint(int32_t x, int32_t y) = 0;
    // Grows the range to the enclosing unit: whether it did, or nullopt when the call failed.
    virtual std::optional<bool> expand(std::u16string_view unit) = 0;
    // Moves one end point of this range to one of the other's; false when the call failed.
    virtual bool setEndPoint(std::u16string_view how, const ITextRange& other) = 0;
    // The range's plain text; nullopt when it has none or the call failed.
    virtual std::optional<std::u16string> text() = 0;
};

// A body element that offers text ranges.
class IBodyElement {
public:
    virtual ~IBodyElement() = default;
    virtual std::unique_ptr<ITextRange> createTextRange() = 0;
};

class IDocument {
public:
    virtual ~IDocument() = default;
    // The body as a body element; null when the body is missing or is no body element
    // (a frameset).
    virtual IBodyElement* body() = 0;
};

class IElement {
public:
    virtual ~IElement() = default;
    // The element's document; null when the call failed.
    virtual IDocument* document() = 0;
    // Flag 1 asks for a case-sensitive attribute name.
    virtual bool setAttribute(std::u16string_view name, std::u16string_view value, int32_t flags) = 0;
};

// One mouse-move event of a document.
class IEventObject {
public:
    virtual ~IEventObject() = default;
    virtual std::optional<int32_t> clientX() = 0;
    virtual std::optional<int32_t> clientY() = 0;
    // The element under the pointer; null when the call failed.
    virtual IElement* srcElement() = 0;
};

}  // namespace pelux
