// The learner's word list: one saved word a line, and the rules for adding, removing and
// exporting them. Every text is UTF-8, as the file and the messages carry it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pelux {

struct WordEntry {
    std::string forms;     // written forms joined by "; "
    std::string reading;
    std::string senses;    // "(tag,tag) text" senses joined by "; "
    std::string sentence;  // the text captured around the word
    std::string url;       // the page, without query and fragment
    std::string time;      // ISO-8601 UTC, "2026-12-09T04:50:00Z"

    bool operator==(const WordEntry&) const = default;
};

// One sense of a card entry, before it is written into the list.
struct WordSense {
    std::string text;
    std::vector<std::string> tags;
};

inline constexpr std::string_view kWordSavedText = "Saved to the word list.";
inline constexpr std::string_view kWordAlreadySavedText = "Already in the word list.";

// The entries of a whole file; nullopt with `problem` naming the first unreadable line and why.
// Empty lines are skipped, and a line may end in CR LF.
std::optional<std::vector<WordEntry>> parseWordList(std::string_view text, std::string& problem);
// One line, its line feed included; parseWordList reads it back to the same entry.
std::string formatWordLine(const WordEntry& entry);
std::string formatWordList(const std::vector<WordEntry>& entries);

// Appends the entry unless one with the same forms and reading is there already, which stays as
// it is; returns whether it was added.
bool addWord(std::vector<WordEntry>& entries, WordEntry entry);
// Removes the entry at `index` when its forms are `forms`, so that a list changed meanwhile by
// someone else loses nothing it was not asked to; returns whether it removed one.
bool removeWord(std::vector<WordEntry>& entries, std::size_t index, std::string_view forms);

std::string joinForms(const std::vector<std::string>& forms);
std::string joinSenses(const std::vector<WordSense>& senses);
// The address without its query and fragment; the page's own parameters are not kept.
std::string stripQueryAndFragment(std::string_view url);
// Seconds since 1970-01-01T00:00:00Z as "YYYY-MM-DDTHH:MM:SSZ".
std::string isoUtcTime(int64_t secondsSinceEpoch);

// A text file Anki imports as it is: its headers name the separator (tab), say the fields are
// plain text, and name the columns Front, Reading, Meaning, Sentence, Source and Added.
std::string exportForAnki(const std::vector<WordEntry>& entries);
// Comma-separated values with a header row, quoted where needed, lines ending in CR LF.
std::string exportAsCsv(const std::vector<WordEntry>& entries);

}  // namespace pelux
