// Test helper: fills the tests' shared store directly, the way the loaders index a line,
// so lookup and composition can be tested without dictionary files.
#pragma once

#include <string>
#include <string_view>

#include "dictionary/dictionary.h"
#include "dictionary/dictionary_inspection.h"
#include "lookup/kana_romaji.h"
#include "lookup/pinyin.h"
#include "support/test_engine.h"

namespace pelux {

class CStoreBuilder {
public:
    explicit CStoreBuilder(DictionaryLanguage language) {
        initKanaRomajiTable();
        initToneMarkTable();
        store().resetForLoad(language);
        store().clearIrregular();
        CDictionaryInspection::clearStems(store());
    }

    static CDictionary& store() { return testing::testEngine().store(); }

    // Stores `text` under the next line number and indexes it under `keys`; returns the number.
    LineNumber line(std::u16string text, std::initializer_list<std::u16string_view> keys) {
        const LineNumber number = m_next++;
        store().setLine(number, std::move(text));
        for (std::u16string_view key : keys) store().addToIndex(key, number, false);
        return number;
    }

    // A Chinese line "trad simp [pinyin] /defs/" indexed under both forms and the given English keys.
    LineNumber chinese(std::u16string_view trad, std::u16string_view simp, std::u16string_view rest,
                       std::initializer_list<std::u16string_view> english = {}) {
        std::u16string text(trad);
        text += u' ';
        text += simp;
        text += u' ';
        text += rest;
        const LineNumber number = line(text + u"\r", {trad, simp});
        for (std::u16string_view word : english) store().addToIndex(word, number, true);
        return number;
    }

    void charInfo(char16_t character, std::u16string text) { store().setCharInfo(character, std::move(text)); }
    void irregular(std::u16string_view form, std::u16string word) { store().setIrregular(form, std::move(word)); }
    void stem(std::u16string_view stem, std::u16string word) { store().setStem(stem, std::move(word)); }

private:
    LineNumber m_next = 0;
};

}  // namespace pelux
