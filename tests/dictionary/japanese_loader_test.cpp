#include <gtest/gtest.h>

#include "dictionary/dictionary_inspection.h"
#include "dictionary/loaders.h"
#include "load_fixture.h"
#include "support/test_engine.h"
#include "support/text_trace.h"

namespace pelux {
namespace {

class JapaneseLoaderTest : public testing_support::LoadTest {
protected:
    void SetUp() override {
        LoadTest::SetUp();
        writeUnicodeFile("kanjidic.uni", u"");
        writeBytes("irregularverbs.txt", "forms\r\n");
    }
    void load() { EXPECT_TRUE(loadJapaneseDictionary(testing::testEngine().store(), environment())); }
};

TEST_F(JapaneseLoaderTest, EntryLinesGiveHeadwordReadingAndWords) {
    writeUnicodeFile("edict.uni",
                     u"ヽ [くりかえし] /(n) repetition mark in katakana/\r\n"   // 0
                     u"ノベライズ /(exp) novelize/novelise/\r\n"               // 1
                     u"ホットドッグ /(n) hot dog/\r\n"                         // 2
                     u"歩く [あるく] /walk (quickly) fast/to walk/(P)/\r\n"     // 3
                     u"犬 [いぬ] /dog/Dog/\r\n"                                // 4
                     u" 空白 /blank/\r\n"                                      // 5
                     u"X [y] /a//b/\r\n"                                       // 6
                     u"終わり [おわり] /end/");                                // 7
    load();
    EXPECT_EQ(store().language(), Japanese);
    EXPECT_EQ(store().lineText(0), u"ヽ [くりかえし] /(n) repetition mark in katakana/\r\n");
    EXPECT_EQ(store().lineText(7), u"終わり [おわり] /end/");
    struct Row {
        std::u16string_view key;
        LineList lines;
    } rows[] = {
        {u"ヽ", {0}},         {u"くりかえし", {0}}, {u"ノベライズ", {1}}, {u"novelize", {1}}, {u"novelise", {1}},
        {u"ホットドッグ", {2}}, {u"歩く", {3}},       {u"あるく", {3}},     {u"walkfast", {3}}, {u"walk", {3}},
        {u"dog", {4, 4}},     {u"", {5}},           {u"blank", {5}},      {u"a", {6}},        {u"/b", {6}},
        {u"終わり", {7}},     {u"end", {7}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(traceOf(row.key));
        EXPECT_EQ(store().entriesFor(row.key), row.lines);
    }
    for (std::u16string_view absent : {u"hot dog", u"dog\r", u"repetition", u"p", u"quickly", u"b"}) {
        SCOPED_TRACE(traceOf(absent));
        EXPECT_FALSE(inspect(store()).hasKey(absent));
    }
}

TEST_F(JapaneseLoaderTest, NoteAloneAsLastDefinitionGivesNothing) {
    writeUnicodeFile("edict.uni", u"Y [z] /(n)/\r\n");
    load();
    std::vector<std::u16string> keys;
    keys = inspect(store()).keysInOrder();
    EXPECT_EQ(keys, (std::vector<std::u16string>{u"Y", u"z"}));
}

TEST_F(JapaneseLoaderTest, LineWithoutWhiteSpaceStillGivesItsWords) {
    writeUnicodeFile("edict.uni", u"語/word/");
    load();
    EXPECT_FALSE(inspect(store()).hasKey(u"語/word/"));
    EXPECT_EQ(store().entriesFor(u"word"), LineList{0});
}

TEST_F(JapaneseLoaderTest, KanjiLines) {
    writeUnicodeFile("kanjidic.uni",
                     u"亜 3021 U4e9c N43 {Asia} {rank next}\r\n"
                     u"唖 3022 U5516 {mute U1234 x} {y}\r\n"
                     u"丁 U4e01 N1\r\n"
                     u"丂 Uzzzz {x}\r\n"
                     u"\r\n"
                     u"亜 3021 U4e9c {Asia again}\r\n"
                     u"万 U4e07 {ten thousand}");
    writeUnicodeFile("edict.uni", u"");
    load();
    const std::map<int32_t, std::u16string> expected = {
        {0x4E9C, u"{Asia again}\r"}, {0x1234, u"{y}\r"}, {0x4E07, u"{ten thousand}"}};
    EXPECT_EQ(inspect(store()).charInfoEntries(), expected);
}

TEST_F(JapaneseLoaderTest, EscapeEndsOnlyTheMainFile) {
    writeUnicodeFile("kanjidic.uni", u"亜 U4e9c {Asia}\r\n");
    std::u16string body;
    for (int i = 0; i < 1200; ++i) body += u"語 [ご] /word/\r\n";
    writeUnicodeFile("edict.uni", body);
    writeBytes("irregularverbs.txt", "h\nwords word\n");
    m_keys = testing_support::CScriptedKeys({false, false, true});
    load();
    EXPECT_EQ(inspect(store()).lineCount(), 1001u);
    EXPECT_EQ(store().entriesFor(u"word").size(), 1000u);
    EXPECT_EQ(store().charInfo(0x4E9C), u"{Asia}\r");
    EXPECT_EQ(store().irregularForm(u"words"), u"word");
    EXPECT_EQ(texts().back(), u"1000/116000 lines read.\t\tPress Escape to Cancel");
}

TEST_F(JapaneseLoaderTest, LongLineIsOneEntry) {
    const std::u16string word(1800, u'y');
    writeUnicodeFile("edict.uni", u"長 [なが] /" + word + u"/long/\r\n短 [みじか] /short/\r\n");
    load();
    EXPECT_EQ(inspect(store()).lineCount(), 2u);
    EXPECT_EQ(store().entriesFor(word), LineList{0});
    EXPECT_EQ(store().entriesFor(u"short"), LineList{1});
}

TEST_F(JapaneseLoaderTest, ChineseKeysGoButStemsStay) {
    writeUnicodeFile("cedict_ts.uni", u"快 快 [kuai4] /quickly/\r\n");
    writeBytes("UNICHIN.TXT", "h\n5FEB\ta\tb\tkuai4\tfast\tfaai3\tz\n");
    ASSERT_TRUE(loadChineseDictionary(testing::testEngine().store(), environment()));
    writeUnicodeFile("edict.uni", u"犬 [いぬ] /dog/\r\n");
    load();
    EXPECT_FALSE(inspect(store()).hasKey(u"快"));
    EXPECT_FALSE(inspect(store()).hasKey(u"quickly"));
    EXPECT_TRUE(inspect(store()).charInfoEntries().empty());
    EXPECT_EQ(store().lineText(0), u"犬 [いぬ] /dog/\r\n");
    EXPECT_EQ(store().stemTarget(u"quick"), u"quickly");
}

TEST(RemoveParenthesised, NotesGoWithTheirBlanks) {
    struct Row {
        std::u16string_view in, out;
    } rows[] = {
        {u"/walk (quickly) fast/", u"/walkfast/"},
        {u"/(n) dog/", u"/dog/"},
        {u"/(n)/", u"//"},
        {u"x (unclosed/rest/", u"x"},
        {u"((a)b)", u"b)"},
        {u"x  (y) z", u"x z"},
        {u"x(y)z", u"xz"},
        {u"(a)", u""},
        {u"no notes at all", u"no notes at all"},
        {u"", u""},
        {u"ヽ [くりかえし] /(n) repetition mark/\r\n", u"ヽ [くりかえし] /repetition mark/\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(traceOf(row.in));
        std::u16string line(row.in);
        const char16_t* buffer = line.data();
        removeParenthesised(line);
        EXPECT_EQ(line, row.out);
        EXPECT_EQ(line.data(), buffer);  // worked in place
    }
}

}  // namespace
}  // namespace pelux
