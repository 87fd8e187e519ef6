// Bookkeeping shared by the two loaders: the guard against a load inside a load, and the list of
// files that could not be opened, shown in the text area when the load ends.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "dictionary/load_environment.h"

namespace pelux {

class LoadSession {
public:
    // Takes the store's lock for the whole load. `started()` is false when this thread is
    // already inside a load (a load command dispatched while that load pumped messages).
    explicit LoadSession(const LoadEnvironment& environment);
    ~LoadSession();
    LoadSession(const LoadSession&) = delete;
    LoadSession& operator=(const LoadSession&) = delete;

    bool started() const { return m_started; }
    std::filesystem::path pathOf(const char* fileName) const;
    void noteMissing(const std::filesystem::path& path) { m_missing.push_back(path); }
    // "Could not open ..." for the files that were missing; nothing when every file was read.
    void reportMissingFiles() const;
    void reportFailure(std::u16string_view text) const { showLoadText(m_environment, text); }

private:
    const LoadEnvironment& m_environment;
    DictionaryLock m_lock;
    bool m_started = false;
    std::vector<std::filesystem::path> m_missing;
};

bool loadSessionRunning();
// The last step of both loads: the irregular forms, rebuilt whether or not the load ran to its end.
void runIrregularPass(LoadSession& session, CDictionary& store);
std::u16string pathForDisplay(const std::filesystem::path& path);

// Reads a character code the way the "%x" scan format does (leading blanks, an optional "0x",
// the hexadecimal digits up to the first other character). False when there are no digits, or
// when the value would not fit and so would name some other character.
bool scanHexCode(std::u16string_view text, int32_t& code);

}  // namespace pelux
