#include "mshtml_document.h"

#include <oleauto.h>

#include "bstr.h"

namespace pelux::win32 {
namespace {

class CMshtmlRange final : public ITextRange {
public:
    explicit CMshtmlRange(CComPtr<IHTMLTxtRange> range) : m_range(std::move(range)) {}
    bool moveToPoint(int32_t x, int32_t y) override { return SUCCEEDED(m_range->moveToPoint(x, y)); }
    std::optional<bool> expand(std::u16string_view unit) override {
        CBstr name(unit);
        VARIANT_BOOL done = VARIANT_FALSE;
        if (!name.get() || FAILED(m_range->expand(name.get(), &done))) return std::nullopt;
        return done != VARIANT_FALSE;
    }
    bool setEndPoint(std::u16string_view how, const ITextRange& other) override {
        CBstr name(how);
        auto* from = dynamic_cast<const CMshtmlRange*>(&other);
        return name.get() && from && SUCCEEDED(m_range->setEndPoint(name.get(), from->m_range.get()));
    }
    std::optional<std::u16string> text() override {
        CBstr value;
        if (FAILED(m_range->get_text(value.put())) || !value.get()) return std::nullopt;
        return value.text();
    }

private:
    CComPtr<IHTMLTxtRange> m_range;
};

class CMshtmlBody final : public IBodyElement {
public:
    explicit CMshtmlBody(CComPtr<IHTMLBodyElement> body) : m_body(std::move(body)) {}
    std::unique_ptr<ITextRange> createTextRange() override {
        CComPtr<IHTMLTxtRange> range;
        if (FAILED(m_body->createTextRange(range.put())) || !range) return nullptr;
        return std::make_unique<CMshtmlRange>(std::move(range));
    }

private:
    CComPtr<IHTMLBodyElement> m_body;
};

class CMshtmlDocument final : public IDocument {
public:
    explicit CMshtmlDocument(CComPtr<IHTMLDocument2> document) : m_document(std::move(document)) {}
    IBodyElement* body() override {
        CComPtr<IHTMLElement> element;
        if (FAILED(m_document->get_body(element.put())) || !element) return nullptr;
        auto body = element.try_query<IHTMLBodyElement>();
        if (!body) return nullptr;
        m_body = std::make_unique<CMshtmlBody>(std::move(body));
        return m_body.get();
    }

private:
    CComPtr<IHTMLDocument2> m_document;
    std::unique_ptr<CMshtmlBody> m_body;
};

class CMshtmlElement final : public IElement {
public:
    explicit CMshtmlElement(CComPtr<IHTMLElement> element) : m_element(std::move(element)) {}
    IDocument* document() override {
        CComPtr<IDispatch> dispatch;
        if (FAILED(m_element->get_document(dispatch.put())) || !dispatch) return nullptr;
        auto document = dispatch.try_query<IHTMLDocument2>();
        if (!document) return nullptr;
        m_document = std::make_unique<CMshtmlDocument>(std::move(document));
        return m_document.get();
    }
    bool setAttribute(std::u16string_view name, std::u16string_view value, int32_t flags) override {
        CBstr attribute(name), text(value);
        if (!attribute.get() || !text.get()) return false;
        VARIANT variant;
        VariantInit(&variant);
        variant.vt = VT_BSTR;
        variant.bstrVal = text.get();
        return SUCCEEDED(m_element->setAttribute(attribute.get(), variant, flags));
    }

private:
    CComPtr<IHTMLElement> m_element;
    std::unique_ptr<CMshtmlDocument> m_document;
};

}  // namespace

std::optional<int32_t> CMshtmlEvent::clientX() {
    LONG x = 0;
    if (FAILED(m_event->get_clientX(&x))) return std::nullopt;
    return x;
}

std::optional<int32_t> CMshtmlEvent::clientY() {
    LONG y = 0;
    if (FAILED(m_event->get_clientY(&y))) return std::nullopt;
    return y;
}

IElement* CMshtmlEvent::srcElement() {
    CComPtr<IHTMLElement> element;
    if (FAILED(m_event->get_srcElement(element.put())) || !element) return nullptr;
    m_element = std::make_unique<CMshtmlElement>(std::move(element));
    return m_element.get();
}

}  // namespace pelux::win32
