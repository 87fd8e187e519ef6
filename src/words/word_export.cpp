// The two export formats. Both quote a field by enclosing it in double quotes and doubling the
// quotes inside, the one quoting Anki's text import and RFC 4180 share.
#include <array>

#include "words/word_list.h"

namespace pelux {

namespace {

constexpr std::array<std::string_view, 6> kColumns = {"Front", "Reading", "Meaning", "Sentence", "Source", "Added"};

std::array<const std::string*, 6> fieldsOf(const WordEntry& entry) {
    return {&entry.forms, &entry.reading, &entry.senses, &entry.sentence, &entry.url, &entry.time};
}

void appendQuoted(std::string& out, std::string_view field) {
    out += '"';
    for (const char c : field) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

// Anki takes a line that begins with '#' for a header or a comment; a quoted field starts with
// the quote instead.
bool needsAnkiQuotes(std::string_view field) {
    return field.find_first_of("\t\n\r\"") != std::string_view::npos || (!field.empty() && field[0] == '#');
}

bool needsCsvQuotes(std::string_view field) { return field.find_first_of(",\n\r\"") != std::string_view::npos; }

template <typename Quote>
void appendRow(std::string& out, const std::array<const std::string*, 6>& fields, char separator, Quote needsQuotes,
               std::string_view lineEnd) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) out += separator;
        if (needsQuotes(*fields[i])) appendQuoted(out, *fields[i]);
        else out += *fields[i];
    }
    out += lineEnd;
}

}  // namespace

std::string exportForAnki(const std::vector<WordEntry>& entries) {
    std::string out = "#separator:tab\n#html:false\n#columns:";
    for (std::size_t i = 0; i < kColumns.size(); ++i) out += std::string(i ? "\t" : "") + std::string(kColumns[i]);
    out += '\n';
    for (const WordEntry& entry : entries) appendRow(out, fieldsOf(entry), '\t', needsAnkiQuotes, "\n");
    return out;
}

std::string exportAsCsv(const std::vector<WordEntry>& entries) {
    std::string out;
    for (std::size_t i = 0; i < kColumns.size(); ++i) out += std::string(i ? "," : "") + std::string(kColumns[i]);
    out += "\r\n";
    for (const WordEntry& entry : entries) appendRow(out, fieldsOf(entry), ',', needsCsvQuotes, "\r\n");
    return out;
}

}  // namespace pelux
