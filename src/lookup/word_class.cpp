#include "lookup/word_class.h"

namespace pelux {

namespace {

struct TagClass {
    std::u16string_view tag;
    WordClassMask classes;
};

using namespace word_class;

constexpr TagClass kTags[] = {
    {u"v1", kIchidan},      {u"v1-s", kIchidan},     {u"v5k", kGodanK},   {u"v5k-s", kGodanIku},
    {u"v5g", kGodanG},      {u"v5s", kGodanS},       {u"v5t", kGodanT},   {u"v5n", kGodanN},
    {u"v5b", kGodanB},      {u"v5m", kGodanM},       {u"v5r", kGodanR},   {u"v5r-i", kGodanAru},
    {u"v5u", kGodanU},      {u"v5u-s", kGodanTou},   {u"vk", kKuru},      {u"vs-i", kSuru},
    {u"vs-s", kSuru},       {u"vs", kSuruNoun},       {u"adj-i", kAdjectiveI}, {u"adj-ix", kAdjectiveIi},
    {u"v5aru", kGodanHonorific},
    // ござる, the one yodan verb still met, makes ございます and ござった as the honorific verbs do.
    {u"v4r", kGodanR | kGodanHonorific},
};

WordClassMask classOfTag(std::u16string_view tag) {
    for (const TagClass& known : kTags) {
        if (known.tag == tag) return known.classes;
    }
    return 0;
}

WordClassMask classesOfGroup(std::u16string_view group) {
    WordClassMask classes = 0;
    size_t start = 0;
    for (;;) {
        const size_t comma = group.find(u',', start);
        classes |= classOfTag(group.substr(start, comma == std::u16string_view::npos ? comma : comma - start));
        if (comma == std::u16string_view::npos) return classes;
        start = comma + 1;
    }
}

}  // namespace

WordClassMask wordClassesOfLine(std::u16string_view line) {
    WordClassMask classes = 0;
    size_t open = line.find(u'/');
    while (open != std::u16string_view::npos) {
        open = line.find(u'(', open);
        if (open == std::u16string_view::npos) break;
        const size_t close = line.find(u')', open + 1);
        if (close == std::u16string_view::npos) break;
        classes |= classesOfGroup(line.substr(open + 1, close - open - 1));
        open = close + 1;
    }
    return classes;
}

}  // namespace pelux
