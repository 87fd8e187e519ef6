// The table of documents the bands of this process are subscribed to, shared by the bands of
// every browser thread, hence its lock.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <cstdint>
#include <map>
#include <mutex>

namespace pelux::win32 {

// Where a document was met: the band's own browser, and the browser object (that same browser
// or one of its frames) whose page completed with it. Both are object identities (IUnknown),
// used only as keys and never called.
struct DocumentOrigin {
    IUnknown* top = nullptr;
    IUnknown* browser = nullptr;
    bool operator==(const DocumentOrigin&) const = default;
};

// Documents are known by identity, which the allocator reuses once a document is gone. So an
// entry holds for its document only while that document's page stands: an entry recorded
// before its browser (or its frame) began a navigation, or met through another browser, may
// name a document that is gone, and a document met at that address is subscribed afresh.
// Such entries are dropped when the navigation's page completes; nothing is ever called on the
// documents they name, which may no longer exist.
class CSubscribedDocuments {
public:
    // Whether the band already listens to `document`, met through `origin`.
    bool isSubscribed(IUnknown* document, const DocumentOrigin& origin);
    // Records the cookie of a subscription just made (0: it failed, try again next time). An
    // entry that still holds, recorded meanwhile by another thread, is kept.
    void record(IUnknown* document, const DocumentOrigin& origin, DWORD cookie);
    // A navigation of `browser` (a top-level browser or a frame of `top`) begins. Bookkeeping
    // only: the page shown may yet stay, so its entries stay too.
    void navigationStarted(const DocumentOrigin& origin);
    // A page of `origin.browser` completed: entries of the documents it replaced go; when it is
    // the top-level page, with them every entry of the browser's earlier pages and frames.
    void pageCompleted(const DocumentOrigin& origin);

private:
    struct Entry {
        DWORD cookie = 0;
        DocumentOrigin origin;
        uint64_t recorded = 0;
    };
    struct NavigationStart {
        IUnknown* top = nullptr;
        uint64_t at = 0;
    };

    uint64_t startOf(IUnknown* browser) const;
    bool holds(const Entry& entry) const;

    std::mutex m_lock;
    std::map<IUnknown*, Entry> m_docCookies;
    std::map<IUnknown*, NavigationStart> m_navigationStarts;
    uint64_t m_clock = 0;  // orders recordings and navigation starts
};

}  // namespace pelux::win32
