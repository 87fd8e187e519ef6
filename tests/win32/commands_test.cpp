// The menu's commands as the band window receives them: font size, colour dialog, reference
// pages, and the menu itself.
#include <windows.h>
#include <exdisp.h>

#include <atomic>
#include <thread>

#include "band/reference_pages.h"
#include "check.h"
#include "fake_dom.h"
#include "component_host.h"

namespace pelux::wintest {
namespace {

std::wstring wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

struct Band {
    HWND host = createHostWindow(600, 40);
    IUnknown* unknown = createBand();
    dom::Browser* browser = dom::newBrowser(nullptr);
    HWND window = nullptr;

    Band() { window = siteBand(unknown, host, {.browser = static_cast<IUnknown*>(dom::browserObject(browser))}); }
    ~Band() {
        unknown->Release();
        DestroyWindow(host);
    }
    HWND text() const { return FindWindowExW(window, nullptr, L"Pelux Edit", nullptr); }
    LONG fontHeight() const {
        LOGFONTW description{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(text(), WM_GETFONT, 0, 0)), sizeof(description), &description);
        return description.lfHeight;
    }
    void command(UINT id) { SendMessageW(window, WM_COMMAND, id, 0); }
};

WIN_TEST(FontSizeComesFromTheSettingAndStepsByFour) {
    const struct {
        const char* name;
        const wchar_t* stored;
        UINT command;
        int times;
        LONG start, end;
    } rows[] = {
        {"larger three times from the default", nullptr, 32787, 3, -19, -31},
        {"smaller stops at eight pixels", L"-11", 32786, 1, -11, -8},
        {"smaller at eight pixels stays", L"-8", 32786, 1, -8, -8},
        {"stored size", L"-27", 32787, 0, -27, -27},
    };
    for (const auto& row : rows) {
        clearSettings();
        if (row.stored) writeSetting(L"FontSize", row.stored);
        Band band;
        CHECK_EQ(band.fontHeight(), row.start);
        for (int i = 0; i < row.times; ++i) band.command(row.command);
        CHECK_EQ(band.fontHeight(), row.end);
        if (row.times) CHECK_EQ(readSetting(L"FontSize"), std::to_wstring(row.end));
        if (failures()) std::printf("    (row: %s)\n", row.name);
    }
    clearSettings();
}

WIN_TEST(ReferencePagesOpenInTheHostingBrowser) {
    const struct {
        UINT command;
        const wchar_t* ending;
    } rows[] = {{32788, L"/news?ned=cn"}, {32789, L"/news?ned=jp"}, {32790, L"/tr"},
                {32791, L"/translate_t"}, {32804, L"/"}, {32803, L"wwwjdic.html"},
                {32793, L"/chinese/c.html"}, {32794, L"/"}, {32798, L"/peluxbarIE/"}};
    Band band;
    int count = 0;
    for (const auto& row : rows) {
        band.command(row.command);
        ++count;
        CHECK_EQ(dom::stops(band.browser), count);
        const auto visited = dom::navigations(band.browser);
        CHECK_EQ(static_cast<int>(visited.size()), count);
        if (visited.empty()) continue;
        const std::wstring& last = visited.back();
        const std::wstring ending(row.ending);
        CHECK(last.size() >= ending.size() && last.compare(last.size() - ending.size(), ending.size(), ending) == 0);
        // The address is the one every shell opens for the command, whole.
        const auto address = referencePageAddress(row.command);
        CHECK(address.has_value());
        if (address) CHECK_EQ(last, wide(*address));
    }
    CHECK_EQ(count, static_cast<int>(referencePages().size()));
    band.command(32788 | (1 << 16));  // a notification, not a command
    CHECK_EQ(dom::stops(band.browser), count);
}

// Answers the Text Color dialog the way a user would: reads what it shows, types, presses.
class CColourAnswer {
public:
    CColourAnswer(std::wstring typed, int button)
        : m_typed(std::move(typed)), m_button(button), m_thread([this] { answer(); }) {}
    ~CColourAnswer() { m_thread.join(); }
    std::wstring shown() {
        m_thread.join();
        m_thread = std::thread([] {});
        return m_shown;
    }

private:
    void answer() {
        for (int i = 0; i < 250; ++i, Sleep(20)) {
            HWND dialog = FindWindowW(L"#32770", L"Text Color");
            if (!dialog || !IsWindowVisible(dialog)) continue;
            wchar_t text[64] = L"";
            GetDlgItemTextW(dialog, 207, text, 64);
            m_shown = text;
            SetDlgItemTextW(dialog, 207, m_typed.c_str());
            PostMessageW(dialog, WM_COMMAND, m_button, 0);
            return;
        }
    }
    std::wstring m_typed;
    int m_button;
    std::wstring m_shown;
    std::thread m_thread;
};

COLORREF paintedColour(HWND window, HWND text) {
    HDC dc = GetDC(text);
    SendMessageW(window, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(text));
    const COLORREF colour = GetTextColor(dc);
    ReleaseDC(text, dc);
    return colour;
}

WIN_TEST(ColourDialogSetsTheTextColour) {
    clearSettings();
    Band band;
    CHECK_EQ(paintedColour(band.window, band.text()), RGB(0, 0, 255));  // blue by default
    {
        CColourAnswer user(L"#FF0000", IDOK);
        band.command(32802);
        CHECK_EQ(user.shown(), std::wstring(L"#0000FF"));
    }
    CHECK_EQ(readSetting(L"FontColor"), std::wstring(L"#FF0000"));
    CHECK_EQ(paintedColour(band.window, band.text()), RGB(255, 0, 0));
    {
        CColourAnswer user(L"#00FF00FF", IDOK);  // only seven characters are read
        band.command(32802);
        CHECK_EQ(user.shown(), std::wstring(L"#FF0000"));
    }
    CHECK_EQ(readSetting(L"FontColor"), std::wstring(L"#00FF00"));
    CHECK_EQ(paintedColour(band.window, band.text()), RGB(0, 255, 0));
    {
        CColourAnswer user(L"green", IDOK);  // kept as typed, colour unchanged
        band.command(32802);
    }
    CHECK_EQ(readSetting(L"FontColor"), std::wstring(L"green"));
    CHECK_EQ(paintedColour(band.window, band.text()), RGB(0, 255, 0));
    {
        CColourAnswer user(L"#0000FF", IDCANCEL);
        band.command(32802);
    }
    CHECK_EQ(readSetting(L"FontColor"), std::wstring(L"green"));
    {
        CColourAnswer user(L"#0000FF", 206);  // Other Colors: the colour names page
        band.command(32802);
    }
    const auto visited = dom::navigations(band.browser);
    CHECK(!visited.empty() && visited.back().find(L"/TR/REC-html40/types.html#h-6.5") != std::wstring::npos);
    if (!visited.empty()) CHECK_EQ(visited.back(), wide(kColourNamesPage));
    CHECK_EQ(paintedColour(band.window, band.text()), RGB(0, 255, 0));
    // Leave the process-wide colour as a fresh band would find it.
    writeSetting(L"FontColor", L"#0000FF");
    {
        CColourAnswer user(L"#0000FF", IDOK);
        band.command(32802);
    }
    clearSettings();
}

}  // namespace
}  // namespace pelux::wintest

namespace pelux::wintest {
namespace {

// Looks at the band's menu while it is open, then closes it with Escape.
class CMenuLook {
public:
    CMenuLook() : m_thread([this] { look(); }) {}
    ~CMenuLook() {
        if (m_thread.joinable()) m_thread.join();
    }
    void finish() { m_thread.join(); }
    UINT toolTips = 0, subWords = 0, fontSmaller = 0;
    int items = 0;
    std::wstring first;

private:
    void look() {
        for (int i = 0; i < 250; ++i, Sleep(20)) {
            HWND popup = FindWindowW(L"#32768", nullptr);
            if (!popup || !IsWindowVisible(popup)) continue;
            auto menu = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
            if (!menu) continue;
            toolTips = GetMenuState(menu, 32795, MF_BYCOMMAND);
            fontSmaller = GetMenuState(menu, 32786, MF_BYCOMMAND);  // two pop-ups down
            subWords = GetMenuState(menu, 32799, MF_BYCOMMAND);
            items = GetMenuItemCount(menu);
            wchar_t text[64] = L"";
            GetMenuStringW(menu, 0, text, 64, MF_BYPOSITION);
            first = text;
            PostMessageW(popup, WM_KEYDOWN, VK_ESCAPE, 0);
            return;
        }
    }
    std::thread m_thread;
};

WIN_TEST(MenuShowsTheSwitchesAsTheyAre) {
    clearSettings();
    Band band;
    // Tooltips on, sub-word lines off, whatever earlier cases left.
    for (int i = 0; i < 2 && readSetting(L"UseToolTips") != L"1"; ++i) band.command(32795);
    for (int i = 0; i < 2 && readSetting(L"ShowSubWordTranslations") != L"0"; ++i) band.command(32799);
    HWND button = FindWindowExW(band.window, nullptr, L"Pelux Button", nullptr);
    CMenuLook look;
    SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));  // returns when it closes
    look.finish();
    CHECK_EQ(look.items, 17);
    CHECK_EQ(look.first, std::wstring(L"Load Chinese/English Dictionary"));
    CHECK(look.toolTips & MF_CHECKED);
    CHECK(!(look.subWords & MF_CHECKED));
    CHECK(look.fontSmaller != static_cast<UINT>(-1));
    band.command(32795);  // back off
    clearSettings();
}

}  // namespace
}  // namespace pelux::wintest
