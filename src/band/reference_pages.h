// The web pages the menu opens in the browser window that hosts the band, in one table that
// every shell reads.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace pelux {

struct ReferencePage {
    uint32_t command;
    std::u16string_view address;
};

// Every reference page of the menu, by command.
std::span<const ReferencePage> referencePages();

// The address a menu command opens, or nullopt when the command opens no page.
std::optional<std::u16string_view> referencePageAddress(uint32_t command);

// The list of colour names with their #RRGGBB values, behind "Other Colors" of the Text Color
// dialog.
inline constexpr std::u16string_view kColourNamesPage =
    u"https://www.w3.org/TR/REC-html40/types.html#h-6.5";

}  // namespace pelux
