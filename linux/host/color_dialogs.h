// The Text Color dialogs open in the tabs. Each is a record that waits for its tab's answer, so
// that the host goes on reading messages, and runs loads, while any number of them are open.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "band/band_commands.h"

namespace pelux {

struct EndedColorDialog {
    int64_t tab = 0;
    ColorDialogAnswer answer;
};

class CColorDialogs {
public:
    // A modal dialog disables the window that opened it, so a tab has one at a time; and a page
    // that floods the host with commands cannot make it keep more than this many.
    static constexpr std::size_t kMaxOpen = 32;

    // The number of the dialog opened for the tab; nullopt when the tab has one open already,
    // or too many are open.
    std::optional<int64_t> open(int64_t tab);
    // Only the tab that owns an open dialog may answer it, and only its first answer counts;
    // false (nothing kept) for any other.
    bool answer(int64_t tab, int64_t dialog, const ColorDialogAnswer& answer);
    // The tab's dialogs end as Cancel: the tab closed under them.
    void cancelTab(int64_t tab);
    // Every open dialog ends as Cancel: the browser went away.
    void cancelAll();

    // The dialogs whose answers take effect now, in that order. An answer takes effect once
    // every dialog opened after its own has ended, as modal dialogs opened one over another end
    // on Windows, so that both shells apply answers that cross in the same order.
    std::vector<EndedColorDialog> takeEnded();

private:
    struct OpenDialog {
        int64_t tab = 0;
        std::optional<ColorDialogAnswer> answer;
    };
    std::map<int64_t, OpenDialog> m_open;  // by number: the newest last
    int64_t m_lastDialog = 0;
};

}  // namespace pelux
