// Bookkeeping shared by the two loaders: the guard against a load inside a load, the files that
// could not be opened (shown in the text area when the load ends), and the prepared image, which
// a load tries first and writes when it has read every file to its end.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "dictionary/content_hash.h"
#include "dictionary/load_environment.h"
#include "dictionary/load_guard.h"
#include "dictionary/loaders.h"
#include "dictionary/store_image.h"

namespace pelux {

// The files of one language, in the order the image records them.
struct LanguageFiles {
    DictionaryLanguage language;
    const char* mainFile;
    const char* charFile;
    std::u16string_view progressFormat;
};

class CLoadSession {
public:
    // Takes `store`'s lock for the whole load. `started()` is false when this thread is
    // already inside a load (a load command dispatched while that load pumped messages).
    CLoadSession(const CDictionary& store, const LoadEnvironment& environment, const LanguageFiles& files);
    CLoadSession(const CLoadSession&) = delete;
    CLoadSession& operator=(const CLoadSession&) = delete;

    bool started() const { return m_guard.entered(); }
    std::filesystem::path pathOf(const char* fileName) const;
    void noteMissing(const std::filesystem::path& path) { m_report.missingFiles.push_back(path); }
    void noteCancelled() { m_report.cancelled = true; }
    void noteRead(std::size_t file, const FileStamp& stamp) { m_stamps[file] = stamp; }
    void noteLinesRead(uint32_t lines) { m_linesRead = lines; }

    // Fills the store, which the load has reset, from the image when one matches the files;
    // true when it did, the band then showing what the text load would have left. The image load
    // takes the text load's first progress step (text, pump, Escape); Escape there makes the
    // text load that follows stop at its first step, as it would have.
    bool loadFromImage(CDictionary& store);
    // The progress step of main-file line `line`; true when the load is to stop.
    bool progressStep(LineNumber line);
    // The last step of both loads: the irregular forms, rebuilt whether or not the load ran to its end.
    void runIrregularPass(CDictionary& store);
    // Writes the image after a complete load, shows "Could not open ..." for missing files, and
    // returns the report.
    LoadReport finish(CDictionary& store);
    LoadReport fail(std::u16string_view text);

private:
    const LoadEnvironment& m_environment;
    const LanguageFiles& m_files;
    CLoadState& m_state;
    DictionaryLock m_lock;
    CLoadGuard m_guard;
    LoadReport m_report;
    ImageStamps m_stamps{};
    uint32_t m_linesRead = 0;
    bool m_incomplete = false;
    bool m_escapeAtFirstStep = false;
};

std::u16string pathForDisplay(const std::filesystem::path& path);

// Reads a character code the way the "%x" scan format does (leading blanks, an optional "0x",
// the hexadecimal digits up to the first other character). False when there are no digits, or
// when the value would not fit and so would name some other character.
bool scanHexCode(std::u16string_view text, int32_t& code);

}  // namespace pelux
