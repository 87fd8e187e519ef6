#include <gtest/gtest.h>

#include <random>
#include <thread>

#include "dictionary/dictionary_inspection.h"
#include "dictionary/load_session.h"
#include "dictionary/loaders.h"
#include "load_fixture.h"
#include "support/test_engine.h"

namespace pelux {
namespace {

using testing_support::expectStoreInvariants;
using testing_support::utf16LeBytes;

class LoadSessionTest : public testing_support::LoadTest {
protected:
    std::u16string shown(const char* name) { return pathForDisplay(m_directory / name); }
    static std::u16string manyLines(int count) {
        std::u16string body;
        for (int i = 0; i < count; ++i) body += u"字 字 [zi4] /word/\r\n";
        return body;
    }
};

TEST_F(LoadSessionTest, MissingFilesAreNamedWithTheirPlace) {
    ASSERT_TRUE(loadChineseDictionary(testing::testEngine().store(), environment()));
    EXPECT_EQ(texts().back(), u"Could not open " + shown("cedict_ts.uni") + u", " + shown("UNICHIN.TXT") + u", " +
                                  shown("irregularverbs.txt"));
    EXPECT_EQ(store().language(), Chinese);
    EXPECT_FALSE(store().isLoaded());

    writeUnicodeFile("edict.uni", u"犬 [いぬ] /dog/\r\n");
    ASSERT_TRUE(loadJapaneseDictionary(testing::testEngine().store(), environment()));
    EXPECT_EQ(texts().back(), u"Could not open " + shown("kanjidic.uni") + u", " + shown("irregularverbs.txt"));
    EXPECT_EQ(store().entriesFor(u"dog"), LineList{0});
}

TEST_F(LoadSessionTest, MissingCharacterFileStillLoadsTheDictionary) {
    writeUnicodeFile("cedict_ts.uni", u"狗 狗 [gou3] /dog/\r\n");
    writeBytes("irregularverbs.txt", "h\ndog dogs\n");
    ASSERT_TRUE(loadChineseDictionary(testing::testEngine().store(), environment()));
    EXPECT_EQ(store().entriesFor(u"dog"), LineList{0});
    EXPECT_EQ(store().irregularForm(u"dogs"), u"dog");
    EXPECT_EQ(texts().back(), u"Could not open " + shown("UNICHIN.TXT"));
}

TEST_F(LoadSessionTest, QuitRequestDuringALoadWaitsForItsEnd) {
    writeUnicodeFile("cedict_ts.uni", manyLines(2500));
    bool quitPending = false;
    int linesAtQuit = -1;
    m_pump.onPump = [&](int call) {
        if (call != 2) return;
        quitPending = true;  // the pump port keeps the quit for the host's own loop
        linesAtQuit = int(inspect(store()).lineCount());
    };
    ASSERT_TRUE(loadChineseDictionary(testing::testEngine().store(), environment()));
    EXPECT_TRUE(quitPending);
    EXPECT_EQ(linesAtQuit, 1001);
    EXPECT_EQ(inspect(store()).lineCount(), 2500u);
    EXPECT_EQ(m_pump.calls, 3);
}

TEST_F(LoadSessionTest, WindowDestroyedDuringALoadIsNeverTouchedAgain) {
    writeUnicodeFile("edict.uni", manyLines(2500));
    std::size_t textsAtDestruction = 0;
    m_pump.onPump = [&](int call) {
        if (call != 1) return;
        textsAtDestruction = texts().size();
        m_window.reset();  // the band window goes away while its messages are handled
    };
    ASSERT_TRUE(loadJapaneseDictionary(testing::testEngine().store(), environment()));  // missing files would report at the end
    EXPECT_EQ(textsAtDestruction, 2u);
    EXPECT_EQ(texts().size(), 2u);
    EXPECT_EQ(inspect(store()).lineCount(), 2500u);
}

TEST_F(LoadSessionTest, LoadCommandDuringALoadIsIgnored) {
    writeUnicodeFile("cedict_ts.uni", manyLines(1500));
    writeUnicodeFile("edict.uni", u"犬 [いぬ] /dog/\r\n");
    std::vector<bool> nestedResults;
    m_pump.onPump = [&](int) {
        EXPECT_TRUE(store().loadState().isRunning());
        nestedResults.push_back(loadJapaneseDictionary(testing::testEngine().store(), environment()).ran);
        nestedResults.push_back(loadChineseDictionary(testing::testEngine().store(), environment()).ran);
    };
    EXPECT_FALSE(store().loadState().isRunning());
    ASSERT_TRUE(loadChineseDictionary(testing::testEngine().store(), environment()));
    EXPECT_FALSE(store().loadState().isRunning());
    EXPECT_EQ(nestedResults, (std::vector<bool>{false, false, false, false}));
    EXPECT_EQ(store().language(), Chinese);
    EXPECT_EQ(inspect(store()).lineCount(), 1500u);
    ASSERT_TRUE(loadJapaneseDictionary(testing::testEngine().store(), environment()));  // and loads run again afterwards
    EXPECT_EQ(store().language(), Japanese);
}

TEST_F(LoadSessionTest, LoadOnAnotherThreadWaitsForTheRunningOne) {
    writeUnicodeFile("cedict_ts.uni", manyLines(1500));
    writeUnicodeFile("edict.uni", u"犬 [いぬ] /dog/\r\n");
    std::thread other;
    m_pump.onPump = [&](int call) {
        if (call == 1) other = std::thread([this] { EXPECT_TRUE(loadJapaneseDictionary(testing::testEngine().store(), environment())); });
    };
    ASSERT_TRUE(loadChineseDictionary(testing::testEngine().store(), environment()));
    other.join();
    EXPECT_EQ(store().language(), Japanese);
    EXPECT_EQ(inspect(store()).lineCount(), 1u);
}

TEST_F(LoadSessionTest, BadInputNeverCrashesOrMisfilesText) {
    std::mt19937 random(20240611);
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        std::string garbage(std::size_t(random() % 6000 + 1), '\0');
        for (char& byte : garbage) byte = char(random());
        for (const char* name : {"cedict_ts.uni", "UNICHIN.TXT", "edict.uni", "kanjidic.uni", "irregularverbs.txt"})
            writeBytes(name, garbage.substr(0, garbage.size() - (round % 2)));  // odd and even sizes
        ASSERT_TRUE(loadChineseDictionary(testing::testEngine().store(), environment()));
        expectStoreInvariants(store());
        ASSERT_TRUE(loadJapaneseDictionary(testing::testEngine().store(), environment()));
        expectStoreInvariants(store());
    }
}

TEST_F(LoadSessionTest, HeaderOnlyAndEmptyFiles) {
    for (const char* name : {"cedict_ts.uni", "edict.uni", "kanjidic.uni"}) writeBytes(name, utf16LeBytes(u"\uFEFFh"));
    writeBytes("UNICHIN.TXT", "");
    writeBytes("irregularverbs.txt", "only a header");
    ASSERT_TRUE(loadChineseDictionary(testing::testEngine().store(), environment()));
    ASSERT_TRUE(loadJapaneseDictionary(testing::testEngine().store(), environment()));
    EXPECT_TRUE(inspect(store()).lineCount() == 0);
    EXPECT_TRUE(inspect(store()).charInfoEntries().empty());
    EXPECT_FALSE(store().isLoaded());
    EXPECT_EQ(texts().back(), u"Loading . . .");
}

TEST(ScanHexCode, ReadsLikePercentX) {
    struct Row {
        std::u16string_view text;
        bool ok;
        int32_t code;
    } rows[] = {
        {u"4E2D", true, 0x4E2D},   {u"4e2d", true, 0x4E2D},  {u"  4E2D", true, 0x4E2D}, {u"0x4E2D", true, 0x4E2D},
        {u"4E2Dz", true, 0x4E2D},  {u"+41", true, 0x41},     {u"0xZ", true, 0},         {u"ZZZZ", false, 0},
        {u"", false, 0},           {u"-41", false, 0},       {u"7FFFFFFF", true, 0x7FFFFFFF},
        {u"80000000", false, 0},   {u"\t\n41", true, 0x41},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.text.begin(), row.text.end()));
        int32_t code = 0;
        EXPECT_EQ(scanHexCode(row.text, code), row.ok);
        if (row.ok) {
            EXPECT_EQ(code, row.code);
        }
    }
}

}  // namespace
}  // namespace pelux
