#include <gtest/gtest.h>

#include "dictionary/dictionary_inspection.h"
#include "dictionary/loaders.h"
#include "load_fixture.h"
#include "support/test_engine.h"
#include "support/text_trace.h"

namespace pelux {
namespace {

using testing_support::expectStoreInvariants;

class ChineseLoaderTest : public testing_support::LoadTest {
protected:
    void writeStandardFiles(std::u16string_view cedictBody) {
        writeUnicodeFile("cedict_ts.uni", cedictBody);
        writeBytes("UNICHIN.TXT", "code\tx\ty\tMandarin\tDefinition\tCantonese\r\n");
        writeBytes("irregularverbs.txt", "forms\r\n");
    }
    void load() { EXPECT_TRUE(loadChineseDictionary(testing::testEngine().store(), environment())); }
    // Many well-formed lines, for the progress and cancel cases.
    static std::u16string manyLines(int count) {
        std::u16string body;
        for (int i = 0; i < count; ++i) body += u"字 字 [zi4] /w" + std::u16string(1, char16_t(u'a' + i % 26)) + u"/\r\n";
        return body;
    }
};

TEST_F(ChineseLoaderTest, WellFormedLineGivesBothFormsAndItsSingleWordDefinitions) {
    writeStandardFiles(u"中國 中国 [Zhong1 guo2] /China/to eat/two words/\r\n");
    load();
    EXPECT_EQ(store().language(), Chinese);
    EXPECT_EQ(store().lineText(0), u"中國 中国 [Zhong1 guo2] /China/to eat/two words/\r");
    for (std::u16string_view key : {u"中國", u"中国", u"china", u"eat"}) {
        SCOPED_TRACE(traceOf(key));
        EXPECT_EQ(store().entriesFor(key), LineList{0});
    }
    EXPECT_FALSE(inspect(store()).hasKey(u"two words"));
    EXPECT_EQ(texts(), (std::vector<std::u16string>{u"Loading . . .", u"0/34000 lines read.\t\tPress Escape to Cancel"}));
}

TEST_F(ChineseLoaderTest, FormsOfOddLines) {
    struct Row {
        const char* name;
        std::u16string_view line;
        std::u16string_view traditional, simplified;
    } rows[] = {
        {"equal forms", u"人 人 [ren2] /person/\r\n", u"人", u"人"},
        {"no bracket", u"甲 乙 /x/\r\n", u"甲", u"乙 /x/\r"},
        {"no space", u"甲乙[x]/a/\r\n", u"甲乙[x]/a/\r", u"甲"},
        {"no space, bracket first", u"[x]/a/\r\n", u"[x]/a/\r", u"[x]/a/\r"},
        {"no space, no bracket", u"甲乙\r\n", u"甲乙\r", u"甲乙\r"},
        {"only the line end", u"\r\n", u"\r", u"\r"},
        {"bare line feed", u"\n", u"", u""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        writeStandardFiles(row.line);
        load();
        const LineList& traditional = store().entriesFor(row.traditional);
        if (row.traditional == row.simplified) {
            EXPECT_EQ(traditional, (LineList{0, 0}));
        } else {
            EXPECT_EQ(traditional, LineList{0});
            EXPECT_EQ(store().entriesFor(row.simplified), LineList{0});
        }
    }
}

TEST_F(ChineseLoaderTest, EnglishKeysHoldALineOnce) {
    writeStandardFiles(u"犬 犬 [quan3] /dog/Dog/hound/dog/\r\n");
    load();
    EXPECT_EQ(store().entriesFor(u"dog"), LineList{0});
    EXPECT_EQ(store().entriesFor(u"犬"), (LineList{0, 0}));
}

TEST_F(ChineseLoaderTest, LineEndsAndLastLineKeepEveryDefinition) {
    writeStandardFiles(u"狗 狗 [gou3] /dog/hound/\n"
                       u"馬 马 [ma3] /horse/mare/\r\n"
                       u"貓 猫 [mao1] /cat/kitty/");
    load();
    EXPECT_EQ(store().lineText(0), u"狗 狗 [gou3] /dog/hound/");
    EXPECT_EQ(store().lineText(1), u"馬 马 [ma3] /horse/mare/\r");
    EXPECT_EQ(store().lineText(2), u"貓 猫 [mao1] /cat/kitty/");
    for (auto [key, line] : {std::pair{u"dog", 0}, {u"hound", 0}, {u"horse", 1}, {u"mare", 1}, {u"cat", 2}, {u"kitty", 2}}) {
        SCOPED_TRACE(traceOf(key));
        EXPECT_EQ(store().entriesFor(key), LineList{line});
    }
    EXPECT_FALSE(inspect(store()).hasKey(u"\r"));
}

TEST_F(ChineseLoaderTest, HeaderLineIsNeverAnEntry) {
    writeBytes("cedict_ts.uni", testing_support::utf16LeBytes(u"一 一 [yi1] /one/\r\n二 二 [er4] /two/\r\n"));
    writeBytes("UNICHIN.TXT", "4E00\ta\tb\tyi1\tone\tjat1\tz\r\n4E8C\ta\tb\ter4\ttwo\tji6\tz\r\n");
    writeBytes("irregularverbs.txt", "one two\r\n");
    load();
    EXPECT_FALSE(inspect(store()).hasKey(u"一"));
    EXPECT_FALSE(inspect(store()).hasKey(u"one"));
    EXPECT_EQ(store().entriesFor(u"two"), LineList{0});
    EXPECT_EQ(inspect(store()).charInfoEntries().count(0x4E00), 0u);
    EXPECT_EQ(store().charInfo(0x4E8C), u" [M: er4 C: ji6] two");
}

TEST_F(ChineseLoaderTest, LongLineIsOneEntry) {
    const std::u16string definition(2500, u'x');
    writeStandardFiles(u"長 长 [chang2] /" + definition + u"/long/\r\n短 短 [duan3] /short/\r\n");
    load();
    EXPECT_EQ(inspect(store()).lineCount(), 2u);
    EXPECT_EQ(store().entriesFor(definition), LineList{0});
    EXPECT_EQ(store().entriesFor(u"long"), LineList{0});
    EXPECT_EQ(store().entriesFor(u"short"), LineList{1});
}

TEST_F(ChineseLoaderTest, CharacterFileFields) {
    writeStandardFiles(u"");
    writeBytes("UNICHIN.TXT",
               "header\r\n"
               "4E2D\tx\ty\tzhong1\tmiddle\tzung1\textra\r\n"
               "4E2E\t\tx\ty\tm\td\tc\tz\n"
               "0x4E2F\ta\tb\tM\tD\tC\tend\n"
               "  4e30 tail\ta\tb\tM2\tD2\tC2\tend\n"
               "ZZZZ\ta\tb\tM\tD\tC\tend\n"
               "4E31\ta\tb\tM\tD\n"
               "\n"
               "4E2D\ta\tb\tzhong1\tcentre\tzung1\tend\r\n"
               "123456789\ta\tb\tM\tD\tC\tend\n");
    load();
    const std::map<int32_t, std::u16string> expected = {
        {0x4E2D, u" [M: zhong1 C: zung1] centre"}, {0x4E2E, u" [M: m C: c] d"},
        {0x4E2F, u" [M: M C: C] D"},                {0x4E30, u" [M: M2 C: C2] D2"},
    };
    EXPECT_EQ(inspect(store()).charInfoEntries(), expected);
}

TEST_F(ChineseLoaderTest, ProgressEveryThousandLines) {
    writeStandardFiles(manyLines(2500));
    load();
    EXPECT_EQ(texts(), (std::vector<std::u16string>{u"Loading . . .", u"0/34000 lines read.\t\tPress Escape to Cancel",
                                                    u"1000/34000 lines read.\t\tPress Escape to Cancel",
                                                    u"2000/34000 lines read.\t\tPress Escape to Cancel"}));
    EXPECT_EQ(m_pump.calls, 3);
    EXPECT_EQ(inspect(store()).lineCount(), 2500u);
}

TEST_F(ChineseLoaderTest, HeaderOnlyFileShowsOnlyLoading) {
    writeStandardFiles(u"");
    load();
    EXPECT_EQ(texts(), std::vector<std::u16string>{u"Loading . . ."});
    EXPECT_TRUE(inspect(store()).lineCount() == 0);
    EXPECT_FALSE(store().isLoaded());
}

TEST_F(ChineseLoaderTest, EscapeHeldAtTheStartCancelsAtLineZero) {
    writeStandardFiles(manyLines(10));
    writeBytes("UNICHIN.TXT", "h\n4E00\ta\tb\tyi1\tone\tjat1\tz\n");
    writeBytes("irregularverbs.txt", "h\nwa wb\n");
    m_keys = testing_support::CScriptedKeys({true});
    load();
    EXPECT_EQ(inspect(store()).lineCount(), 1u);
    EXPECT_FALSE(inspect(store()).hasKey(u"字"));
    EXPECT_TRUE(store().isLoaded());  // the English pass still ran and asked for its words
    EXPECT_FALSE(inspect(store()).hasKey(u"wa"));  // which stores nothing
    EXPECT_TRUE(store().entriesFor(u"wa").empty());
    EXPECT_EQ(store().charInfo(0x4E00), u" [M: yi1 C: jat1] one");
    EXPECT_EQ(texts().back(), u"0/34000 lines read.\t\tPress Escape to Cancel");
}

TEST_F(ChineseLoaderTest, EscapePressedBeforeTheLoadDoesNotCancel) {
    writeStandardFiles(manyLines(1500));
    m_keys = testing_support::CScriptedKeys({true, false});
    load();
    EXPECT_EQ(inspect(store()).lineCount(), 1500u);
}

TEST_F(ChineseLoaderTest, EscapeBetweenChecksCancelsAtTheNextThousand) {
    writeStandardFiles(manyLines(2500));
    m_keys = testing_support::CScriptedKeys({false, false, true});
    load();
    EXPECT_EQ(inspect(store()).lineCount(), 1001u);
    EXPECT_EQ(store().entriesFor(u"字").back(), 999);
}

}  // namespace
}  // namespace pelux
