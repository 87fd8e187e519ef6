// The core's document model over the browser's MSHTML objects.
#pragma once

#include <windows.h>
#include <mshtml.h>

#include <memory>

#include "platform/document_model.h"
#include "com_ptr.h"

namespace pelux::win32 {

class CMshtmlEvent final : public IEventObject {
public:
    explicit CMshtmlEvent(CComPtr<IHTMLEventObj> event) : m_event(std::move(event)) {}
    std::optional<int32_t> clientX() override;
    std::optional<int32_t> clientY() override;
    IElement* srcElement() override;

private:
    CComPtr<IHTMLEventObj> m_event;
    std::unique_ptr<IElement> m_element;
};

}  // namespace pelux::win32
