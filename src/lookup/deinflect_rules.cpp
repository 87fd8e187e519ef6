// The table is written from the grammar: each verb class makes its forms from a few stems (the
// a-, i-, e- and o-stems of a godan row, the bare stem of an ichidan verb, the fixed stems of
// する and 来る) and from its te-form. The forms below are listed once per stem and multiplied
// out over the classes when the table is first used.
#include "lookup/deinflect_rules.h"

namespace pelux {

namespace {

using namespace word_class;

// One form made from a stem: the ending after the stem, the class the form itself conjugates as
// (kAsWritten when it does not conjugate further), and its name.
struct Form {
    std::u16string_view tail;
    WordClassMask conjugatesAs;
    std::u16string_view name;
};

constexpr std::u16string_view kContinuative = u"continuative";

// After the i-stem of every verb (書き, 食べ, し, 来).
constexpr Form kIStemForms[] = {
    {u"ます", kAsWritten, u"polite"},
    {u"ました", kAsWritten, u"polite past"},
    {u"ません", kAsWritten, u"polite negative"},
    {u"ませんでした", kAsWritten, u"polite negative past"},
    {u"ましょう", kAsWritten, u"polite volitional"},
    {u"たい", kAdjectiveI, u"desire"},
    {u"そう", kAsWritten, u"appearance"},
    {u"なさい", kAsWritten, u"polite imperative"},
    {u"ながら", kAsWritten, u"while"},
    {u"やすい", kAdjectiveI, u"easy to"},
    {u"にくい", kAdjectiveI, u"hard to"},
    {u"すぎる", kIchidan, u"too much"},
    // The stem alone, where a sentence goes on after a comma or another verb follows (持ち、 し、).
    {u"", kAsWritten, kContinuative},
};

constexpr Form kGodanAStemForms[] = {
    {u"ない", kAdjectiveI, u"negative"},
    {u"ず", kAsWritten, u"zu negative"},
    {u"れる", kIchidan, u"passive"},
    {u"せる", kIchidan, u"causative"},
    {u"せられる", kIchidan, u"causative passive"},
};
// The short causative passive (書かされる); the す row has only the long one.
constexpr Form kGodanShortCausativePassive = {u"される", kIchidan, u"causative passive"};

constexpr Form kGodanEStemForms[] = {
    {u"る", kIchidan, u"potential"},
    {u"ば", kAsWritten, u"ba conditional"},
    {u"", kAsWritten, u"imperative"},
};

constexpr Form kGodanOStemForms[] = {
    {u"う", kAsWritten, u"volitional"},
};

// The kana an ichidan stem ends in (食べ, 起き): the stem alone is its continuative.
constexpr std::u16string_view kIchidanStemEndings = u"えけげせぜてでねへべぺめれいきぎしじちぢにひびぴみり";

// The verbs a te-form leans on, each conjugating on its own: 書いておく, 置いてある, 食べてみる.
constexpr Form kTeAuxiliaries[] = {
    {u"おく", kGodanK, u"te-oku"},
    {u"ある", kGodanAru, u"te-aru"},
    {u"みる", kIchidan, u"te-miru"},
    {u"くる", kKuru, u"te-kuru"},
    {u"いく", kGodanIku, u"te-iku"},
};

// After the stem of an ichidan verb (食べ of 食べる).
constexpr Form kIchidanForms[] = {
    {u"ない", kAdjectiveI, u"negative"},
    {u"ず", kAsWritten, u"zu negative"},
    {u"られる", kIchidan, u"potential or passive"},
    {u"させる", kIchidan, u"causative"},
    {u"させられる", kIchidan, u"causative passive"},
    {u"れば", kAsWritten, u"ba conditional"},
    {u"ろ", kAsWritten, u"imperative"},
    {u"よ", kAsWritten, u"imperative"},
    {u"よう", kAsWritten, u"volitional"},
};

// The whole conjugated word of する, and of 来る written in kana.
constexpr Form kSuruForms[] = {
    {u"しない", kAdjectiveI, u"negative"},
    {u"せず", kAsWritten, u"zu negative"},
    {u"される", kIchidan, u"passive"},
    {u"させる", kIchidan, u"causative"},
    {u"させられる", kIchidan, u"causative passive"},
    {u"すれば", kAsWritten, u"ba conditional"},
    {u"しろ", kAsWritten, u"imperative"},
    {u"せよ", kAsWritten, u"imperative"},
    {u"しよう", kAsWritten, u"volitional"},
};
constexpr Form kKuruForms[] = {
    {u"こない", kAdjectiveI, u"negative"},
    {u"こず", kAsWritten, u"zu negative"},
    {u"こられる", kIchidan, u"potential or passive"},
    {u"こさせる", kIchidan, u"causative"},
    {u"こさせられる", kIchidan, u"causative passive"},
    {u"くれば", kAsWritten, u"ba conditional"},
    {u"こい", kAsWritten, u"imperative"},
    {u"こよう", kAsWritten, u"volitional"},
};

// After the stem of an i-adjective (高 of 高い).
constexpr Form kAdjectiveForms[] = {
    {u"かった", kAsWritten, u"past"},
    {u"くない", kAdjectiveI, u"negative"},
    {u"くて", kAsWritten, u"te-form"},
    {u"く", kAsWritten, u"adverbial"},
    {u"さ", kAsWritten, u"noun"},
    {u"ければ", kAsWritten, u"ba conditional"},
    {u"かったら", kAsWritten, u"tara conditional"},
    {u"そう", kAsWritten, u"appearance"},
    {u"くありません", kAsWritten, u"polite negative"},
    {u"くありませんでした", kAsWritten, u"polite negative past"},
};

// A godan row: the dictionary ending, the four stems and the te-form ending. A row that only
// changes the te-form of a verb (行く, 問う) has no stems.
struct GodanRow {
    char16_t dictionaryEnding;
    std::u16string_view aStem, iStem, eStem, oStem;
    std::u16string_view te;
    WordClassMask stemClasses;
    WordClassMask teClasses;
};

constexpr GodanRow kGodanRows[] = {
    {u'く', u"か", u"き", u"け", u"こ", u"いて", kGodanK | kGodanIku, kGodanK},
    {u'く', u"", u"", u"", u"", u"って", 0, kGodanIku},
    {u'ぐ', u"が", u"ぎ", u"げ", u"ご", u"いで", kGodanG, kGodanG},
    {u'す', u"さ", u"し", u"せ", u"そ", u"して", kGodanS, kGodanS},
    {u'ぬ', u"な", u"に", u"ね", u"の", u"んで", kGodanN, kGodanN},
    {u'ぶ', u"ば", u"び", u"べ", u"ぼ", u"んで", kGodanB, kGodanB},
    {u'む', u"ま", u"み", u"め", u"も", u"んで", kGodanM, kGodanM},
    // Where って, った fit several rows, the common verbs come first: 思った is 思う before 重る,
    // 分かった is 分かる before 分かつ.
    {u'う', u"わ", u"い", u"え", u"お", u"って", kGodanU | kGodanTou, kGodanU},
    {u'う', u"", u"", u"", u"", u"うて", 0, kGodanTou},
    {u'る', u"ら", u"り", u"れ", u"ろ", u"って", kGodanR | kGodanAru, kGodanR | kGodanAru},
    {u'つ', u"た", u"ち", u"て", u"と", u"って", kGodanT, kGodanT},
    // The honorific verbs (なさる, いらっしゃる, ござる) make their polite forms and imperative
    // from an i-stem in い: なさいます, いらっしゃい, ございます.
    {u'る', u"ら", u"い", u"れ", u"ろ", u"って", kGodanHonorific, kGodanHonorific},
};

class CRuleTableBuilder {
public:
    std::vector<DeinflectRule> build() {
        // Before the rows, so that なさい reads as the imperative rather than the bare stem.
        add(u"い", u"る", {u"", kAsWritten, u"imperative"}, kGodanHonorific);
        for (const GodanRow& row : kGodanRows) addGodanRow(row);
        addIchidan();
        addSuru();
        addKuru(u"");
        addKuru(u"来");
        addAdjectives();
        // ある has no あらない: its negative is ない itself.
        add(u"ない", u"ある", {u"", kAdjectiveI, u"negative"}, kGodanAru);
        return std::move(m_rules);
    }

private:
    void add(std::u16string_view stem, std::u16string_view replacement, const Form& form, WordClassMask produces) {
        std::u16string ending(stem);
        ending += form.tail;
        // Every ending ends in hiragana: the stem alone of 来 is not an ending.
        if (form.conjugatesAs == 0 || produces == 0 || ending.empty() || ending.back() < u'ぁ' ||
            ending.back() > u'ゖ')
            return;
        const bool stemAlone = form.tail.empty() && form.name == kContinuative;
        m_rules.push_back({ending, std::u16string(replacement), form.conjugatesAs, produces, form.name, stemAlone});
    }

    template <size_t N>
    void addAll(std::u16string_view stem, std::u16string_view replacement, const Form (&forms)[N],
                WordClassMask produces) {
        for (const Form& form : forms) add(stem, replacement, form, produces);
    }

    // The forms built on the te-form: past, tara, progressive (ている, てる) and completion
    // (てしまう and its spoken ちゃう).
    void addTeForms(std::u16string_view te, std::u16string_view replacement, WordClassMask produces) {
        const bool voiced = te.back() == u'で';
        const std::u16string stem(te.substr(0, te.size() - 1));
        const std::u16string past = stem + (voiced ? u"だ" : u"た");
        add(te, replacement, {u"", kAsWritten, u"te-form"}, produces);
        add(past, replacement, {u"", kAsWritten, u"past"}, produces);
        add(past, replacement, {u"ら", kAsWritten, u"tara conditional"}, produces);
        add(te, replacement, {u"いる", kIchidan, u"progressive"}, produces);
        add(te, replacement, {u"る", kIchidan, u"progressive"}, produces);
        add(te, replacement, {u"しまう", kGodanU, u"completion"}, produces);
        add(stem, replacement, {voiced ? u"じゃう" : u"ちゃう", kGodanU, u"completion"}, produces);
        addAll(te, replacement, kTeAuxiliaries, produces);
    }

    void addGodanRow(const GodanRow& row) {
        const std::u16string dictionary(1, row.dictionaryEnding);
        if (row.stemClasses != 0) {
            addAll(row.aStem, dictionary, kGodanAStemForms, row.stemClasses);
            if (row.dictionaryEnding != u'す') add(row.aStem, dictionary, kGodanShortCausativePassive, row.stemClasses);
            addAll(row.iStem, dictionary, kIStemForms, row.stemClasses);
            addAll(row.eStem, dictionary, kGodanEStemForms, row.stemClasses);
            addAll(row.oStem, dictionary, kGodanOStemForms, row.stemClasses);
        }
        addTeForms(row.te, dictionary, row.teClasses);
    }

    void addIchidan() {
        addAll(u"", u"る", kIchidanForms, kIchidan);
        addAll(u"", u"る", kIStemForms, kIchidan);
        for (char16_t kana : kIchidanStemEndings) {
            const std::u16string stem(1, kana);
            add(stem, stem + u"る", {u"", kAsWritten, kContinuative}, kIchidan);
        }
        addTeForms(u"て", u"る", kIchidan);
    }

    void addSuru() {
        addAll(u"", u"する", kSuruForms, kSuru);
        addAll(u"し", u"する", kIStemForms, kSuru);
        addTeForms(u"して", u"する", kSuru);
    }

    // 来る in kana (こない, きます) or with its kanji, which every form keeps (来ない, 来ます).
    void addKuru(std::u16string_view kanji) {
        const std::u16string dictionary = kanji.empty() ? u"くる" : std::u16string(kanji) + u"る";
        for (const Form& form : kKuruForms) {
            const std::u16string_view tail = kanji.empty() ? form.tail : form.tail.substr(1);
            add(kanji, dictionary, {tail, form.conjugatesAs, form.name}, kKuru);
        }
        const std::u16string iStem = kanji.empty() ? u"き" : std::u16string(kanji);
        addAll(iStem, dictionary, kIStemForms, kKuru);
        addTeForms(iStem + u"て", dictionary, kKuru);
    }

    // Regular i-adjectives, and いい, whose forms all come from よい (よかった, よくない).
    void addAdjectives() {
        addAll(u"", u"い", kAdjectiveForms, kAdjectiveI);
        addAll(u"よ", u"いい", kAdjectiveForms, kAdjectiveIi);
    }

    std::vector<DeinflectRule> m_rules;
};

}  // namespace

const std::vector<DeinflectRule>& deinflectRules() {
    static const std::vector<DeinflectRule> rules = CRuleTableBuilder().build();
    return rules;
}

}  // namespace pelux
