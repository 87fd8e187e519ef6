// The English side of the index: single-word definitions as keys, the stems of suffixed words,
// and the irregular word forms read from irregularverbs.txt.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "dictionary/content_hash.h"
#include "dictionary/dictionary.h"
#include "dictionary/index_writer.h"
#include "platform/perl_pattern.h"

namespace pelux {

// Tried in this order; group 1 of the first match is the stem. The English lookup uses the same
// two patterns so that a word under the pointer and a definition meet in the stem table.
inline constexpr std::u16string_view kShortSuffixPattern =
    u"(.+[^aeiou])(ly|able|isms|ists|ments|ings|ers|ions|ors|ives|\\'s)$";
inline constexpr std::u16string_view kLongSuffixPattern =
    u"(.+[^aeiou])(ian|ied|ed|ist|er|ism|es|est|ing|ings|ly|y|ion|ment|ance|able|en|e|s|ies|ial|ier|iest|ility|"
    u"ibility|or|ors|ers|ists|isms|ive)$";
inline constexpr std::u16string_view kWordPattern = u"([^\\s]+?)(\\s+|$)";
inline constexpr const char* kIrregularFileName = "irregularverbs.txt";

// Indexes one definition of line `line` when it is a single word or "to " and a single word, and
// the stem of a suffixed word (the suffix patterns above, matched by hand) that is not a key.
// `scratch` is a buffer the caller keeps across calls so that the lower-cased word needs no
// allocation of its own.
void indexEnglishDefinition(CIndexWriter& index, std::u16string_view definition, LineNumber line, bool collapse,
                            std::u16string& scratch);

// Rebuilds the irregular-form table from the file at `path` against the current index, and
// gives the file's stamp. False when the file cannot be read (the table is then left empty).
bool buildIrregularForms(CDictionary& store, const std::filesystem::path& path, FileStamp& stamp);

}  // namespace pelux
