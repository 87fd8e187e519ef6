// The word list kept as words.tsv beside the settings file. Two hosts (one per browser) and the
// command line may change it at once: every change happens under a lock on words.tsv.lock, reads
// the file anew inside it, and replaces the file whole, so no one loses another's words and a
// crash leaves either the old list or the new one.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "words/word_list.h"

namespace pelux {

// words.tsv in the settings file's folder.
std::filesystem::path defaultWordListPath();

class CWordListFile {
public:
    explicit CWordListFile(std::filesystem::path path) : m_path(std::move(path)) {}

    // The entries (none when there is no file yet); nullopt with `problem` when the path is not a
    // regular file, is too large, cannot be read or holds an unreadable line.
    std::optional<std::vector<WordEntry>> read(std::string& problem) const;

    // Under the lock, reads the list, lets `change` alter it and writes it back when `change`
    // says it did. False with `problem` when the list could not be read or written; the file is
    // then as it was. A list that cannot be read is never written over.
    bool update(const std::function<bool(std::vector<WordEntry>&)>& change, std::string& problem);

    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

// Writes `text` to `path` through a temporary file in the same folder that is synced and renamed
// into place, and the folder synced after; false with `problem` when any step fails.
bool replaceFileDurably(const std::filesystem::path& path, std::string_view text, std::string& problem);

}  // namespace pelux
