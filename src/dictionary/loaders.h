// The two dictionary loads started from the band's menu. Each empties `store`, fills it from
// the dictionary files in `environment.directory` and returns when the files are read or Escape
// cancelled the main file. A prepared image beside the files, when it matches them, stands in
// for reading them; a complete load from the text files writes one.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "dictionary/dictionary.h"
#include "dictionary/load_environment.h"
#include "dictionary/load_guard.h"

namespace pelux {

inline constexpr const char* kChineseMainFile = "cedict_ts.uni";
inline constexpr const char* kChineseCharFile = "UNICHIN.TXT";
inline constexpr const char* kJapaneseMainFile = "edict.uni";
inline constexpr const char* kJapaneseCharFile = "kanjidic.uni";

// How a load went, for callers that want more than the band's last text.
struct LoadReport {
    bool ran = false;        // false: refused, because a load was already running on this thread
    bool cancelled = false;  // Escape stopped the main file
    bool fromImage = false;  // the store came from the prepared image
    bool imageWritten = false;
    std::vector<std::filesystem::path> missingFiles;
    std::u16string failure;  // set when the load could not start at all (no pattern object)
    explicit operator bool() const { return ran; }
};

// A load pumps messages, so a second load command can arrive in the middle of one. That command
// is ignored: the loaders return a report that did not run, and the running load goes on
// undisturbed. A load started on another thread waits for the running one (the store's lock)
// and then runs.
LoadReport loadChineseDictionary(CDictionary& store, const LoadEnvironment& environment);
LoadReport loadJapaneseDictionary(CDictionary& store, const LoadEnvironment& environment);

// Removes parenthesised notes from an edict line in place, in one pass, without allocating.
void removeParenthesised(std::u16string& line);

}  // namespace pelux
