// A page in memory for the pointer handling: the text each range unit gives at the pointer,
// and a log of every call, so that tests can tell which calls an event made.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/document_model.h"
#include "browser/pointer_capture.h"

namespace pelux::testing {

struct FakePage {
    int32_t x = 0, y = 0;
    // The text of the range at (x, y) for each unit; a missing unit fails to expand.
    std::map<std::u16string, std::u16string> unitText;
    std::u16string toSentenceEnd;  // the character range after setEndPoint to the sentence's end
    bool hasBody = true;
    bool documentFails = false;
    std::vector<std::string> calls;
    std::map<std::u16string, std::u16string> attributes;
};

class CFakeRange : public ITextRange {
public:
    explicit CFakeRange(FakePage& page) : m_page(page) {}
    bool moveToPoint(int32_t x, int32_t y) override {
        m_page.calls.push_back("moveToPoint");
        m_unit.clear();
        m_atPoint = x == m_page.x && y == m_page.y;
        return true;
    }
    std::optional<bool> expand(std::u16string_view unit) override {
        m_page.calls.push_back("expand " + std::string(unit.begin(), unit.end()));
        if (!m_atPoint || !m_page.unitText.count(std::u16string(unit))) return false;
        m_unit = unit;
        return true;
    }
    bool setEndPoint(std::u16string_view how, const ITextRange& other) override {
        m_page.calls.push_back("setEndPoint");
        if (how == kEndToEnd && static_cast<const CFakeRange&>(other).m_unit == kUnitSentence) m_unit = u"to end";
        return true;
    }
    std::optional<std::u16string> text() override {
        m_page.calls.push_back("text");
        if (m_unit == u"to end") return m_page.toSentenceEnd;
        const auto found = m_page.unitText.find(m_unit);
        if (found == m_page.unitText.end()) return std::u16string();
        return found->second;
    }

private:
    FakePage& m_page;
    std::u16string m_unit;
    bool m_atPoint = false;
};

class CFakeBody : public IBodyElement {
public:
    explicit CFakeBody(FakePage& page) : m_page(page) {}
    std::unique_ptr<ITextRange> createTextRange() override {
        m_page.calls.push_back("createTextRange");
        return std::make_unique<CFakeRange>(m_page);
    }

private:
    FakePage& m_page;
};

class CFakeDocument : public IDocument {
public:
    explicit CFakeDocument(FakePage& page) : m_page(page), m_body(page) {}
    IBodyElement* body() override { return m_page.hasBody ? &m_body : nullptr; }

private:
    FakePage& m_page;
    CFakeBody m_body;
};

class CFakeElement : public IElement {
public:
    explicit CFakeElement(FakePage& page) : m_page(page), m_document(page) {}
    IDocument* document() override {
        m_page.calls.push_back("document");
        return m_page.documentFails ? nullptr : &m_document;
    }
    bool setAttribute(std::u16string_view name, std::u16string_view value, int32_t flags) override {
        m_page.calls.push_back("setAttribute");
        EXPECT_EQ(flags, 1);
        m_page.attributes[std::u16string(name)] = std::u16string(value);
        return true;
    }

private:
    FakePage& m_page;
    CFakeDocument m_document;
};

class CFakeEvent : public IEventObject {
public:
    explicit CFakeEvent(FakePage& page) : m_page(page), m_element(page) {}
    std::optional<int32_t> clientX() override { return m_page.calls.push_back("clientX"), m_page.x; }
    std::optional<int32_t> clientY() override { return m_page.calls.push_back("clientY"), m_page.y; }
    IElement* srcElement() override { return m_page.calls.push_back("srcElement"), &m_element; }

private:
    FakePage& m_page;
    CFakeElement m_element;
};

class CFakeTextWindow : public ITextWindow {
public:
    std::vector<std::u16string> writes;
    void setText(std::u16string_view text) override { writes.emplace_back(text); }
};

class CFakeBandView : public IBandView {
public:
    bool visible = true;
    CFakeTextWindow text;
    bool isVisible() override { return visible; }
    ITextWindow& textArea() override { return text; }
};

}  // namespace pelux::testing
