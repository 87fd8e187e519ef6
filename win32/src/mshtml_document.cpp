#include "mshtml_document.h"

#include <oleauto.h>

#include "bstr.h"

namespace pelux::win32 {
namespace {

class MshtmlRange final : public ITextRange {
public:
    explicit MshtmlRange(ComPtr<IHTMLTxtRange> range) : range_(std::move(range)) {}
    bool moveToPoint(int32_t x, int32_t y) override { return SUCCEEDED(range_->moveToPoint(x, y)); }
    std::optional<bool> expand(std::u16string_view unit) override {
        Bstr name(unit);
        VARIANT_BOOL done = VARIANT_FALSE;
        if (!name.get() || FAILED(range_->expand(name.get(), &done))) return std::nullopt;
        return done != VARIANT_FALSE;
    }
    bool setEndPoint(std::u16string_view how, const ITextRange& other) override {
        Bstr name(how);
        auto* from = dynamic_cast<const MshtmlRange*>(&other);
        return name.get() && from && SUCCEEDED(range_->setEndPoint(name.get(), from->range_.get()));
    }
    std::optional<std::u16string> text() override {
        BSTR value = nullptr;
        if (FAILED(range_->get_text(&value)) || !value) return std::nullopt;
        std::u16string out(reinterpret_cast<const char16_t*>(value), SysStringLen(value));
        SysFreeString(value);
        return out;
    }

private:
    ComPtr<IHTMLTxtRange> range_;
};

class MshtmlBody final : public IBodyElement {
public:
    explicit MshtmlBody(ComPtr<IHTMLBodyElement> body) : body_(std::move(body)) {}
    std::unique_ptr<ITextRange> createTextRange() override {
        ComPtr<IHTMLTxtRange> range;
        if (FAILED(body_->createTextRange(range.put())) || !range) return nullptr;
        return std::make_unique<MshtmlRange>(std::move(range));
    }

private:
    ComPtr<IHTMLBodyElement> body_;
};

class MshtmlDocument final : public IDocument {
public:
    explicit MshtmlDocument(ComPtr<IHTMLDocument2> document) : document_(std::move(document)) {}
    IBodyElement* body() override {
        ComPtr<IHTMLElement> element;
        if (FAILED(document_->get_body(element.put())) || !element) return nullptr;
        auto body = element.as<IHTMLBodyElement>();
        if (!body) return nullptr;
        body_ = std::make_unique<MshtmlBody>(std::move(body));
        return body_.get();
    }

private:
    ComPtr<IHTMLDocument2> document_;
    std::unique_ptr<MshtmlBody> body_;
};

class MshtmlElement final : public IElement {
public:
    explicit MshtmlElement(ComPtr<IHTMLElement> element) : element_(std::move(element)) {}
    IDocument* document() override {
        ComPtr<IDispatch> dispatch;
        if (FAILED(element_->get_document(dispatch.put())) || !dispatch) return nullptr;
        auto document = dispatch.as<IHTMLDocument2>();
        if (!document) return nullptr;
        document_ = std::make_unique<MshtmlDocument>(std::move(document));
        return document_.get();
    }
    bool setAttribute(std::u16string_view name, std::u16string_view value, int32_t flags) override {
        Bstr attribute(name), text(value);
        if (!attribute.get() || !text.get()) return false;
        VARIANT variant;
        VariantInit(&variant);
        variant.vt = VT_BSTR;
        variant.bstrVal = text.get();
        return SUCCEEDED(element_->setAttribute(attribute.get(), variant, flags));
    }

private:
    ComPtr<IHTMLElement> element_;
    std::unique_ptr<MshtmlDocument> document_;
};

}  // namespace

std::optional<int32_t> MshtmlEvent::clientX() {
    LONG x = 0;
    if (FAILED(event_->get_clientX(&x))) return std::nullopt;
    return x;
}

std::optional<int32_t> MshtmlEvent::clientY() {
    LONG y = 0;
    if (FAILED(event_->get_clientY(&y))) return std::nullopt;
    return y;
}

IElement* MshtmlEvent::srcElement() {
    ComPtr<IHTMLElement> element;
    if (FAILED(event_->get_srcElement(element.put())) || !element) return nullptr;
    element_ = std::make_unique<MshtmlElement>(std::move(element));
    return element_.get();
}

}  // namespace pelux::win32
