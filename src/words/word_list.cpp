#include "words/word_list.h"

#include <array>
#include <cstdio>

#include "text/utf8_codec.h"

namespace pelux {

namespace {

constexpr std::size_t kFieldCount = 6;

void appendEscaped(std::string& out, std::string_view field) {
    for (const char c : field) {
        switch (c) {
            case '\t': out += "\\t"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\\': out += "\\\\"; break;
            default: out += c;
        }
    }
}

// The field's text, or nullopt with `why` set.
std::optional<std::string> unescapeField(std::string_view field, std::string& why) {
    std::string out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\') {
            out += field[i];
            continue;
        }
        if (++i == field.size()) return why = "it ends in a lone backslash", std::nullopt;
        switch (field[i]) {
            case 't': out += '\t'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case '\\': out += '\\'; break;
            default: return why = std::string("it holds an unknown escape \\") + field[i], std::nullopt;
        }
    }
    return out;
}

bool isUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        if (!nextUtf8CodePoint(text, i)) return false;
    }
    return true;
}

std::optional<WordEntry> parseLine(std::string_view line, std::string& why) {
    if (!isUtf8(line)) return why = "it is not UTF-8", std::nullopt;
    std::array<std::string, kFieldCount> fields;
    std::size_t count = 0;
    for (std::size_t start = 0;;) {
        const std::size_t tab = line.find('\t', start);
        const std::string_view raw = line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start);
        if (count == kFieldCount) return why = "it has more than 6 fields", std::nullopt;
        std::optional<std::string> field = unescapeField(raw, why);
        if (!field) return std::nullopt;
        fields[count++] = std::move(*field);
        if (tab == std::string_view::npos) break;
        start = tab + 1;
    }
    if (count != kFieldCount) return why = "it has " + std::to_string(count) + " fields, not 6", std::nullopt;
    if (fields[0].empty()) return why = "its written form is empty", std::nullopt;
    return WordEntry{std::move(fields[0]), std::move(fields[1]), std::move(fields[2]),
                     std::move(fields[3]), std::move(fields[4]), std::move(fields[5])};
}

}  // namespace

std::optional<std::vector<WordEntry>> parseWordList(std::string_view text, std::string& problem) {
    std::vector<WordEntry> entries;
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) continue;
        std::string why;
        std::optional<WordEntry> entry = parseLine(line, why);
        if (!entry) {
            problem = "line " + std::to_string(lineNumber) + " is unreadable: " + why;
            return std::nullopt;
        }
        entries.push_back(std::move(*entry));
    }
    return entries;
}

std::string formatWordLine(const WordEntry& entry) {
    std::string line;
    for (const std::string* field : {&entry.forms, &entry.reading, &entry.senses, &entry.sentence, &entry.url}) {
        appendEscaped(line, *field);
        line += '\t';
    }
    appendEscaped(line, entry.time);
    line += '\n';
    return line;
}

std::string formatWordList(const std::vector<WordEntry>& entries) {
    std::string text;
    for (const WordEntry& entry : entries) text += formatWordLine(entry);
    return text;
}

bool addWord(std::vector<WordEntry>& entries, WordEntry entry) {
    for (const WordEntry& held : entries) {
        if (held.forms == entry.forms && held.reading == entry.reading) return false;
    }
    entries.push_back(std::move(entry));
    return true;
}

bool removeWord(std::vector<WordEntry>& entries, std::size_t index, std::string_view forms) {
    if (index >= entries.size() || entries[index].forms != forms) return false;
    entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

std::string joinForms(const std::vector<std::string>& forms) {
    std::string out;
    for (const std::string& form : forms) {
        if (!out.empty()) out += "; ";
        out += form;
    }
    return out;
}

std::string joinSenses(const std::vector<WordSense>& senses) {
    std::string out;
    for (const WordSense& sense : senses) {
        if (!out.empty()) out += "; ";
        if (!sense.tags.empty()) {
            out += '(';
            for (std::size_t i = 0; i < sense.tags.size(); ++i) out += (i ? "," : "") + sense.tags[i];
            out += ") ";
        }
        out += sense.text;
    }
    return out;
}

std::string stripQueryAndFragment(std::string_view url) { return std::string(url.substr(0, url.find_first_of("?#"))); }

std::string isoUtcTime(int64_t secondsSinceEpoch) {
    int64_t days = secondsSinceEpoch / 86400;
    int64_t seconds = secondsSinceEpoch % 86400;
    if (seconds < 0) seconds += 86400, --days;
    // Days to a civil date, counted in 400-year eras that begin on 1 March, so that the leap day
    // is the last day of its year.
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t dayOfEra = days - era * 146097;
    const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t monthFromMarch = (5 * dayOfYear + 2) / 153;
    const int64_t day = dayOfYear - (153 * monthFromMarch + 2) / 5 + 1;
    const int64_t month = monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9;
    const int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    char text[64];
    std::snprintf(text, sizeof text, "%04lld-%02lld-%02lldT%02lld:%02lld:%02lldZ", static_cast<long long>(year),
                  static_cast<long long>(month), static_cast<long long>(day), static_cast<long long>(seconds / 3600),
                  static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
    return text;
}

}  // namespace pelux
