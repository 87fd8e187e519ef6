// The two dictionary loads started from the band's menu. Each empties the store, fills it from
// the dictionary files in `environment.directory` and returns when the files are read or Escape
// cancelled the main file.
#pragma once

#include <string>

#include "dictionary/load_environment.h"

namespace pelux {

inline constexpr const char* kChineseMainFile = "cedict_ts.uni";
inline constexpr const char* kChineseCharFile = "UNICHIN.TXT";
inline constexpr const char* kJapaneseMainFile = "edict.uni";
inline constexpr const char* kJapaneseCharFile = "kanjidic.uni";

// A load pumps messages, so a second load command can arrive in the middle of one. That command
// is ignored: the loaders return false at once, and the running load goes on undisturbed.
// A load started on another thread waits for the running one (the store's lock) and then runs.
// True when the load ran.
bool loadChineseDictionary(const LoadEnvironment& environment);
bool loadJapaneseDictionary(const LoadEnvironment& environment);
// True while a load holds the store on some thread.
bool isLoadRunning();

// Removes parenthesised notes from an edict line in place, in one pass, without allocating.
void removeParenthesised(std::u16string& line);

}  // namespace pelux
