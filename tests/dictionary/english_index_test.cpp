#include <gtest/gtest.h>

#include "dictionary/dictionary_inspection.h"
#include "dictionary/english_index.h"
#include "load_fixture.h"
#include "support/text_trace.h"

namespace pelux {
namespace {

class EnglishIndexTest : public testing_support::LoadTest {
protected:
    void index(std::u16string_view definition, LineNumber line, bool collapse = false) {
        CIndexWriter index(store(), 0);
        indexEnglishDefinition(index, definition, line, collapse, scratch);
    }
    std::u16string scratch;
};

TEST_F(EnglishIndexTest, OnlySingleWordsBecomeKeys) {
    struct Row {
        std::u16string_view definition;
        std::u16string_view key;  // empty: no key at all
    } rows[] = {
        {u"China", u"china"},        {u"to eat", u"eat"},          {u"to eat rice", u""},
        {u"To eat", u""},            {u"hot dog", u""},            {u"repetition mark in katakana", u""},
        {u"ÉCOLE", u"école"},        {u"a\tb", u"a\tb"},           {u"/b", u"/b"},
    };
    LineNumber line = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(traceOf(row.definition));
        store().resetForLoad(Chinese);
        index(row.definition, line);
        if (row.key.empty()) {
            EXPECT_FALSE(store().isLoaded());
        } else {
            EXPECT_EQ(store().entriesFor(row.key), LineList{line});
        }
        ++line;
    }
}

TEST_F(EnglishIndexTest, CollapseKeepsALineOncePerKey) {
    index(u"dog", 4, true);
    index(u"Dog", 4, true);
    index(u"dog", 5, false);
    index(u"dog", 5, false);
    EXPECT_EQ(store().entriesFor(u"dog"), (LineList{4, 5, 5}));
}

TEST_F(EnglishIndexTest, StemsPointToTheSuffixedWord) {
    struct Row {
        std::u16string_view word, stem, target;  // empty stem: no stem entry
    } rows[] = {
        {u"quickly", u"quick", u"quickly"}, {u"runs", u"run", u"runs"},       {u"dog's", u"dog", u"dog's"},
        {u"to eating", u"eat", u"eating"},  {u"Payments", u"pay", u"payments"}, {u"bee", u"", u""},
        {u"go", u"", u""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(traceOf(row.word));
        store().resetForLoad(Chinese);
        CDictionaryInspection::clearStems(store());
        index(row.word, 0);
        if (row.stem.empty()) {
            EXPECT_TRUE(inspect(store()).stemCount() == 0);
        } else {
            EXPECT_EQ(store().stemTarget(row.stem), row.target);
        }
    }
}

TEST_F(EnglishIndexTest, StemThatIsAlreadyAKeyGetsNoEntry) {
    index(u"quick", 0);
    index(u"quickly", 1);
    EXPECT_FALSE(inspect(store()).hasStem(u"quick"));
}

TEST_F(EnglishIndexTest, StemLookupLeavesNoKeyAndStemsOutliveTheLoad) {
    index(u"runs", 0);
    EXPECT_FALSE(inspect(store()).hasKey(u"run"));
    EXPECT_TRUE(store().entriesFor(u"run").empty());
    store().resetForLoad(Japanese);
    EXPECT_EQ(store().stemTarget(u"run"), u"runs");
}

class IrregularFormsTest : public testing_support::LoadTest {
protected:
    bool build() {
        FileStamp stamp;
        return buildIrregularForms(store(), m_directory / "irregularverbs.txt", stamp);
    }
};

TEST_F(IrregularFormsTest, FormsMapToTheFirstOtherFormThatIsAKey) {
    writeBytes("irregularverbs.txt",
               "go went gone\r\n"  // the header, never read as a group
               "go went gone\r\n"
               "foo bar\r\n"
               "be  was\twere been\r\n"
               "do don't doesn't\r\n"
               "GO go\n"
               "let let's");
    for (std::u16string_view key : {u"go", u"were", u"do", u"let's"}) store().addToIndex(key, 0, false);
    store().setIrregular(u"stale", u"entry");
    ASSERT_TRUE(build());
    const std::map<std::u16string, std::u16string, std::less<>> expected = {
        {u"went", u"go"}, {u"gone", u"go"},     {u"be", u"were"},     {u"was", u"were"}, {u"been", u"were"},
        {u"don't", u"do"}, {u"doesn't", u"do"}, {u"GO", u"go"},       {u"let", u"let's"},
    };
    EXPECT_EQ(inspect(store()).irregularEntries(), expected);
}

TEST_F(IrregularFormsTest, MissingFileLeavesTheTableEmpty) {
    store().setIrregular(u"went", u"go");
    EXPECT_FALSE(build());
    EXPECT_TRUE(inspect(store()).irregularEntries().empty());
}

}  // namespace
}  // namespace pelux
