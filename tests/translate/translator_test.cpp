#include "translate/translator.h"

#include <gtest/gtest.h>

#include <new>

#include "translate/fake_ports.h"
#include "support/test_engine.h"

namespace pelux {
namespace {

using testing::CRecordingNotices;
using testing::CScriptedHttp;

const std::u16string kDefaultNotice = u"Translating to/from Chinese by default until a dictionary is chosen ...";
constexpr const char* kBase = "http://127.0.0.1:9";

// Every test starts from a known store language and leaves the shared store as it found it.
class TranslatorTest : public ::testing::Test {
protected:
    void SetUp() override { m_saved = testing::testEngine().store().language(); }
    void TearDown() override { testing::testEngine().store().setLanguage(m_saved); }
    void setLanguage(DictionaryLanguage language) { testing::testEngine().store().setLanguage(language); }

    std::string pairOfLastRequest() const {
        const std::string& url = http.urls.back();
        return url.substr(url.find("&langpair=") + 10);
    }

    CScriptedHttp http;
    CRecordingNotices notices;
    CTranslator translator{http, notices, TranslationSettings{kBase, std::chrono::milliseconds(250)}};

private:
    DictionaryLanguage m_saved = Chinese;
};

TEST_F(TranslatorTest, WithoutDictionaryTellsOnceAndSettlesOnChinese) {
    setLanguage(None);
    translator.translate(testing::testEngine().store(), u"hello");
    ASSERT_EQ(notices.messages.size(), 1u);
    EXPECT_EQ(notices.messages[0].text, kDefaultNotice);
    EXPECT_EQ(notices.messages[0].caption, u"Error");
    EXPECT_EQ(testing::testEngine().store().language(), Chinese);
    EXPECT_EQ(pairOfLastRequest(), "en|zh-CN");

    translator.translate(testing::testEngine().store(), u"你好");
    EXPECT_EQ(notices.messages.size(), 1u);
    EXPECT_EQ(pairOfLastRequest(), "zh-CN|en");
    EXPECT_EQ(notices.translations.size(), 2u);
}

TEST_F(TranslatorTest, BeforeEngineInitialisationUsesChineseWithoutNotice) {
    setLanguage(Chinese);
    translator.translate(testing::testEngine().store(), u"2008 年");
    EXPECT_TRUE(notices.messages.empty());
    EXPECT_EQ(pairOfLastRequest(), "zh-CN|en");
}

TEST_F(TranslatorTest, JapaneseDictionaryChoosesJapanesePairs) {
    setLanguage(Japanese);
    struct Row {
        std::u16string text;
        const char* pair;
    };
    const Row rows[] = {{u"good morning", "en|ja"}, {u"おはよう", "ja|en"}, {u"東京", "ja|en"}, {u"the東京", "en|ja"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.pair);
        translator.translate(testing::testEngine().store(), row.text);
        EXPECT_EQ(pairOfLastRequest(), row.pair);
    }
    EXPECT_TRUE(notices.messages.empty());
}

// A dictionary chosen while the notice waits for the user keeps its language.
TEST_F(TranslatorTest, DictionaryLoadedDuringTheNoticeIsNotOverwritten) {
    setLanguage(None);
    notices.whileMessageShown = [] { testing::testEngine().store().setLanguage(Japanese); };
    translator.translate(testing::testEngine().store(), u"rice");
    EXPECT_EQ(testing::testEngine().store().language(), Japanese);
    EXPECT_EQ(pairOfLastRequest(), "en|ja");
}

TEST_F(TranslatorTest, SendsTheUrlAndTimeoutAndShowsTheTextareaContent) {
    setLanguage(Chinese);
    http.answer = [] { return HttpReply{200, u"<html><textarea name=t>我爱你</textarea></html>"}; };
    const TranslationOutcome outcome = translator.translate(testing::testEngine().store(), u"I love you");
    ASSERT_EQ(http.urls.size(), 1u);
    EXPECT_EQ(http.urls[0], std::string(kBase) + "/translate_t?text=%49%20%6C%6F%76%65%20%79%6F%75&langpair=en|zh-CN");
    EXPECT_EQ(http.timeouts[0], std::chrono::milliseconds(250));
    EXPECT_TRUE(outcome.shown);
    EXPECT_EQ(notices.translations, std::vector<std::u16string>{u"我爱你"});
    EXPECT_TRUE(notices.messages.empty());
}

TEST_F(TranslatorTest, ReplyWithoutTextareaOpensAnEmptyWindow) {
    http.answer = [] { return HttpReply{200, u"<html><body>nothing here</body></html>"}; };
    const TranslationOutcome outcome = translator.translate(testing::testEngine().store(), u"中");
    EXPECT_TRUE(outcome.shown);
    EXPECT_EQ(notices.translations, std::vector<std::u16string>{u""});
    EXPECT_TRUE(notices.messages.empty());
}

TEST_F(TranslatorTest, EveryFailureOfTheRequestIsReportedAndOpensNoWindow) {
    struct Row {
        const char* name;
        std::function<HttpReply()> answer;
    };
    const Row rows[] = {
        {"connection refused", []() -> HttpReply { throw CHttpRequestError("Connection refused"); }},
        {"time limit", []() -> HttpReply { throw CHttpRequestError("Timeout was reached"); }},
        {"out of memory", []() -> HttpReply { throw std::bad_alloc(); }},
        {"foreign exception", []() -> HttpReply { throw 42; }},
        {"server error page with a textarea", [] { return HttpReply{503, u"<textarea>busy</textarea>"}; }},
        {"not found", [] { return HttpReply{404, u"<html>404</html>"}; }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CRecordingNotices rowNotices;
        http.answer = row.answer;
        CTranslator failing(http, rowNotices, TranslationSettings{kBase, std::chrono::milliseconds(250)});
        const TranslationOutcome outcome = failing.translate(testing::testEngine().store(), u"中文");
        EXPECT_FALSE(outcome.shown);
        EXPECT_FALSE(outcome.failure.empty());
        EXPECT_TRUE(rowNotices.translations.empty());
        ASSERT_EQ(rowNotices.messages.size(), 1u);
        EXPECT_EQ(rowNotices.messages[0].text, u"Exception occurred");
        EXPECT_EQ(rowNotices.messages[0].caption, u"Error");
    }
}

}  // namespace
}  // namespace pelux
