#include "browser/pointer_capture.h"

#include <gtest/gtest.h>

#include "band/band_settings.h"
#include "browser/pointer_road.h"
#include "dictionary/dictionary.h"
#include "fake_document.h"
#include "support/test_engine.h"

namespace pelux {
namespace {

using testing::CFakeBandView;
using testing::CFakeEvent;
using testing::FakePage;

// A store with a few Chinese lines, loaded for the tests that need one and emptied afterwards.
class CLoadedStore {
public:
    CLoadedStore() {
        CDictionary& store = testing::testEngine().store();
        DictionaryLock lock(store.mutex());
        store.resetForLoad(Chinese);
        store.setLine(1, u"中國 中国 [Zhong1 guo2] /China/\r\n");
        store.setLine(2, u"國人 国人 [guo2 ren2] /compatriots/\r\n");
        store.setLine(3, u"貓 猫 [mao1] /cat/\r\n");
        store.addToIndex(u"中国", 1, true);
        store.addToIndex(u"国人", 2, true);
        store.addToIndex(u"cat", 3, true);
    }
    ~CLoadedStore() {
        DictionaryLock lock(testing::testEngine().store().mutex());
        testing::testEngine().store().resetForLoad(None);
    }
};

FakePage pageAt(int32_t x, int32_t y, std::u16string character, std::u16string word, std::u16string toEnd) {
    FakePage page;
    page.x = x;
    page.y = y;
    page.unitText[u"character"] = std::move(character);
    page.unitText[u"word"] = std::move(word);
    page.unitText[u"sentence"] = u"(the whole sentence)";
    page.toSentenceEnd = std::move(toEnd);
    return page;
}

TEST(HandleMouseMove, DoesNothingAtAllWhileTheBandIsHidden) {
    FakePage page = pageAt(10, 10, u"中", u"中", u"中国人很多。");
    CFakeEvent event(page);
    CFakeBandView band;
    band.visible = false;
    handleMouseMove(testing::testEngine().store(), event, band, pointerSwitches(testing::testEngine().settings()));
    EXPECT_TRUE(page.calls.empty());
    EXPECT_TRUE(band.text.writes.empty());
}

TEST(HandleMouseMove, PromptsForADictionaryBeforeTouchingTheDocument) {
    FakePage page = pageAt(120, 45, u"中", u"中", u"中国人很多。");
    CFakeEvent event(page);
    CFakeBandView band;
    handleMouseMove(testing::testEngine().store(), event, band, pointerSwitches(testing::testEngine().settings()));
    ASSERT_EQ(band.text.writes.size(), 1u);
    EXPECT_EQ(band.text.writes[0], u"<---- Please load dictionary for this window.    120 45");
    EXPECT_EQ(page.calls, (std::vector<std::string>{"clientX", "clientY", "srcElement"}));
}

TEST(LoadDictionaryPrompt, FormatsNegativeCoordinates) {
    EXPECT_EQ(loadDictionaryPrompt(-3, 0), u"<---- Please load dictionary for this window.    -3 0");
}

struct CaptureRow {
    const char* name;
    std::u16string character, word, toEnd;
    bool english;
    std::u16string text;
};

TEST(CaptureTextAtPoint, TakesTheRoadOfTheCharacterUnderThePointer) {
    const CaptureRow rows[] = {
        {"Chinese: from the pointed character to the sentence end", u"国", u"国", u"国人很多。", false, u"国人很多。"},
        {"Japanese kana", u"を", u"を", u"を話す。", false, u"を話す。"},
        {"English word with its trailing space", u"a", u"cat ", u"cat sat.", true, u"cat "},
        {"space between Chinese characters goes the English way", u" ", u" ", u" 中国", true, u" "},
        {"e acute U+00E9 is English", u"\u00e9", u"caf\u00e9", u"", true, u"caf\u00e9"},
        {"U+0100 is still English", u"\u0100", u"\u0100", u"", true, u"\u0100"},
        {"a macron U+0101 is not", u"\u0101", u"\u0101", u"\u0101b.", false, u"\u0101b."},
    };
    for (const CaptureRow& row : rows) {
        SCOPED_TRACE(row.name);
        FakePage page = pageAt(5, 6, row.character, row.word, row.toEnd);
        testing::CFakeBody body(page);
        const std::optional<CapturedText> captured = captureTextAtPoint(body, 5, 6);
        ASSERT_TRUE(captured.has_value());
        EXPECT_EQ(captured->firstChar, row.character[0]);
        EXPECT_EQ(captured->isEnglish, row.english);
        EXPECT_EQ(captured->text, row.text);
    }
}

TEST(CaptureTextAtPoint, YieldsNothingWithoutACharacterAtThePoint) {
    FakePage empty = pageAt(5, 6, u"", u"", u"");
    testing::CFakeBody body(empty);
    EXPECT_FALSE(captureTextAtPoint(body, 5, 6).has_value());

    FakePage noCharacter = pageAt(5, 6, u"x", u"x", u"");
    noCharacter.unitText.erase(u"character");
    testing::CFakeBody otherBody(noCharacter);
    EXPECT_FALSE(captureTextAtPoint(otherBody, 5, 6).has_value());
}

TEST(HandleMouseMove, ShowsTheSameTextAsTheLookupOfTheCapturedText) {
    CLoadedStore store;
    testing::testEngine().settings().UseToolTips = 0;
    for (const char16_t* toEnd : {u"中国人很多。", u"国人很多。"}) {
        FakePage page = pageAt(30, 40, std::u16string(1, toEnd[0]), std::u16string(1, toEnd[0]), toEnd);
        CFakeEvent event(page);
        CFakeBandView band;
        handleMouseMove(testing::testEngine().store(), event, band, pointerSwitches(testing::testEngine().settings()));
        ASSERT_EQ(band.text.writes.size(), 1u);
        EXPECT_EQ(band.text.writes[0], translateCapturedText(testing::testEngine().store(), captureFromText(toEnd), false).bandText);
        EXPECT_TRUE(page.attributes.empty());
    }
}

TEST(HandleMouseMove, SetsTheTitleWhenTooltipsAreOnEvenWhenEmpty) {
    CLoadedStore store;
    testing::testEngine().settings().UseToolTips = 1;
    FakePage page = pageAt(1, 2, u"z", u"zzyzx ", u"");
    CFakeEvent event(page);
    CFakeBandView band;
    handleMouseMove(testing::testEngine().store(), event, band, pointerSwitches(testing::testEngine().settings()));
    testing::testEngine().settings().UseToolTips = 0;
    ASSERT_EQ(page.attributes.count(u"title"), 1u);
    EXPECT_EQ(page.attributes[u"title"], translateCapturedText(testing::testEngine().store(), captureFromText(u"zzyzx "), false).tooltipText);
}

TEST(HandleMouseMove, KeepsThePreviousTextWhenTheDocumentCannotBeRead) {
    CLoadedStore store;
    FakePage frameset = pageAt(1, 2, u"中", u"中", u"中国");
    frameset.hasBody = false;
    FakePage noDocument = pageAt(1, 2, u"中", u"中", u"中国");
    noDocument.documentFails = true;
    FakePage nothingThere = pageAt(1, 2, u"", u"", u"");
    for (FakePage* page : {&frameset, &noDocument, &nothingThere}) {
        CFakeEvent event(*page);
        CFakeBandView band;
        handleMouseMove(testing::testEngine().store(), event, band, pointerSwitches(testing::testEngine().settings()));
        EXPECT_TRUE(band.text.writes.empty());
    }
}

TEST(HandleMouseMove, RepeatsTheWholeRoadForTheSamePlace) {
    CLoadedStore store;
    FakePage page = pageAt(7, 8, u"中", u"中", u"中国人");
    CFakeEvent event(page);
    CFakeBandView band;
    handleMouseMove(testing::testEngine().store(), event, band, pointerSwitches(testing::testEngine().settings()));
    const std::size_t callsForOne = page.calls.size();
    handleMouseMove(testing::testEngine().store(), event, band, pointerSwitches(testing::testEngine().settings()));
    EXPECT_EQ(page.calls.size(), 2 * callsForOne);
    ASSERT_EQ(band.text.writes.size(), 2u);
    EXPECT_EQ(band.text.writes[0], band.text.writes[1]);
}

}  // namespace
}  // namespace pelux
