// The core's document model over the browser's MSHTML objects.
#pragma once

#include <windows.h>
#include <mshtml.h>

#include <memory>

#include "browser/document_model.h"
#include "com_ptr.h"

namespace pelux::win32 {

class MshtmlEvent final : public IEventObject {
public:
    explicit MshtmlEvent(ComPtr<IHTMLEventObj> event) : event_(std::move(event)) {}
    std::optional<int32_t> clientX() override;
    std::optional<int32_t> clientY() override;
    IElement* srcElement() override;

private:
    ComPtr<IHTMLEventObj> event_;
    std::unique_ptr<IElement> element_;
};

}  // namespace pelux::win32
