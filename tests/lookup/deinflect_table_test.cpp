// Conjugated words in sentences of our own, each found under its dictionary form with the chain of
// forms undone, over the bundled dictionary and, when PELUXBAR_FULL_DICT_DIR names a folder made
// by `peluxbar dict build`, over the full EDICT.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>

#include "adapters/platform_linux.h"
#include "dictionary/loaders.h"
#include "lookup/cjk_lookup.h"
#include "lookup/deinflect.h"
#include "lookup/deinflect_rules.h"
#include "lookup/kana_romaji.h"
#include "support/test_engine.h"
#include "support/text_trace.h"

namespace pelux {
namespace {

// The conjugated word stands between the two bars; the pointer rests on its first character.
struct InflectedRow {
    const char16_t* sentence;
    const char16_t* dictionaryForm;
    const char16_t* chain;
};

const InflectedRow kRows[] = {
    {u"毎朝パンを|食べます|。", u"食べる", u"polite"},
    {u"昨日は寿司を|食べました|。", u"食べる", u"polite past"},
    {u"肉は|食べません|。", u"食べる", u"polite negative"},
    {u"朝ご飯を|食べませんでした|。", u"食べる", u"polite negative past"},
    {u"一緒に|食べましょう|。", u"食べる", u"polite volitional"},
    {u"明日、東京へ|行きます|。", u"行く", u"polite"},
    {u"先週、京都に|行きました|。", u"行く", u"polite past"},
    {u"今日は学校に|行きません|。", u"行く", u"polite negative"},
    {u"毎日新聞を|読みます|。", u"読む", u"polite"},
    {u"母に手紙を|書きました|。", u"書く", u"polite past"},
    {u"友達と|話しました|。", u"話す", u"polite past"},
    {u"駅で一時間|待ちました|。", u"待つ", u"polite past"},
    {u"飼っていた犬が|死にました|。", u"死ぬ", u"polite past"},
    {u"公園で|遊びました|。", u"遊ぶ", u"polite past"},
    {u"お茶を|飲みましょう|。", u"飲む", u"polite volitional"},
    {u"七時に家に|帰りました|。", u"帰る", u"polite past"},
    {u"本屋で辞書を|買いました|。", u"買う", u"polite past"},
    {u"海で|泳ぎました|。", u"泳ぐ", u"polite past"},
    {u"彼は昨日|来ました|。", u"来る", u"polite past"},
    {u"宿題を|しました|。", u"する", u"polite past"},
    {u"毎晩日本語を|勉強します|。", u"勉強する", u"polite"},
    {u"お金が|ありません|。", u"ある", u"polite negative"},
    {u"時間が|ありませんでした|。", u"ある", u"polite negative past"},
    {u"責任を|問います|。", u"問う", u"polite"},
    {u"昨日その映画を|見た|。", u"見る", u"past"},
    {u"彼は手紙を|書いた|。", u"書く", u"past"},
    {u"池で|泳いだ|。", u"泳ぐ", u"past"},
    {u"その本はもう|読んだ|。", u"読む", u"past"},
    {u"鳥が空を|飛んだ|。", u"飛ぶ", u"past"},
    {u"金魚が|死んだ|。", u"死ぬ", u"past"},
    {u"先生と少し|話した|。", u"話す", u"past"},
    {u"思い切りボールを|打った|。", u"打つ", u"past"},
    {u"新しい靴を|買った|。", u"買う", u"past"},
    {u"歩いて学校へ|行った|。", u"行く", u"past"},
    {u"部屋の掃除を|しませんでした|。", u"する", u"polite negative past"},
    {u"彼に理由を|問うた|。", u"問う", u"past"},
    {u"机の上に本が|あった|。", u"ある", u"past"},
    {u"窓を|開けて|、空気を入れた。", u"開ける", u"te-form"},
    {u"手紙を|書いて|、出した。", u"書く", u"te-form"},
    {u"遅れそうなので駅まで|急いだ|。", u"急ぐ", u"past"},
    {u"本を|読んで|寝た。", u"読む", u"te-form"},
    {u"友達を|呼んで|話した。", u"呼ぶ", u"te-form"},
    {u"彼と|話して|分かった。", u"話す", u"te-form"},
    {u"少し|待って|下さい。", u"待つ", u"te-form"},
    {u"京都へ|行って|写真を撮った。", u"行く", u"te-form"},
    {u"早く|来て|ください。", u"来る", u"te-form"},
    {u"夜遅くまで仕事を|していた|。", u"する", u"progressive past"},
    {u"彼は真相を|問うて|回った。", u"問う", u"te-form"},
    {u"彼は野菜を|食べない|。", u"食べる", u"negative"},
    {u"今日は学校へ|行かない|。", u"行く", u"negative"},
    {u"彼は何も|話さない|。", u"話す", u"negative"},
    {u"誰も|来ない|。", u"来る", u"negative"},
    {u"新聞を|読まない|。", u"読む", u"negative"},
    {u"意味が全然|分からない|。", u"分かる", u"negative"},
    {u"お酒は|飲まない|。", u"飲む", u"negative"},
    {u"もう誰にも|会わない|。", u"会う", u"negative"},
    {u"昨日は本を|読まなかった|。", u"読む", u"negative past"},
    {u"朝ご飯を|食べなかった|。", u"食べる", u"negative past"},
    {u"彼は結局|来なかった|。", u"来る", u"negative past"},
    {u"手紙を|書かなかった|。", u"書く", u"negative past"},
    {u"寿司が|食べたい|。", u"食べる", u"desire"},
    {u"いつか日本へ|行きたい|。", u"行く", u"desire"},
    {u"冷たい水が|飲みたかった|。", u"飲む", u"desire past"},
    {u"あの人にはもう|会いたくない|。", u"会う", u"desire negative"},
    {u"その映画は|見たくなかった|。", u"見る", u"desire negative past"},
    {u"今すぐ|行けば|間に合う。", u"行く", u"ba conditional"},
    {u"この薬を|飲めば|治る。", u"飲む", u"ba conditional"},
    {u"雨が|降れば|中止だ。", u"降る", u"ba conditional"},
    {u"よく|見れば|分かる。", u"見る", u"ba conditional"},
    {u"彼が|来れば|始めよう。", u"来る", u"ba conditional"},
    {u"値段が|安ければ|買います。", u"安い", u"ba conditional"},
    {u"駅に|着いたら|電話してね。", u"着く", u"tara conditional"},
    {u"雨が|降ったら|行かない。", u"降る", u"tara conditional"},
    {u"ご飯を|食べたら|出かけよう。", u"食べる", u"tara conditional"},
    {u"家に|帰ったら|すぐ寝る。", u"帰る", u"tara conditional"},
    {u"一緒に|行こう|。", u"行く", u"volitional"},
    {u"疲れたから少し|休もう|。", u"休む", u"volitional"},
    {u"お腹が空いたから何か|食べよう|。", u"食べる", u"volitional"},
    {u"明日また|来よう|。", u"来る", u"volitional"},
    {u"大きな声で|歌おう|。", u"歌う", u"volitional"},
    {u"ここで|待とう|。", u"待つ", u"volitional"},
    {u"この漢字が|読める|。", u"読む", u"potential"},
    {u"この字なら|書ける|。", u"書く", u"potential"},
    {u"この川なら|泳げる|。", u"泳ぐ", u"potential"},
    {u"一人で|行けます|。", u"行く", u"potential polite"},
    {u"明日なら|来られる|。", u"来る", u"potential or passive"},
    {u"明日は六時に|起きられます|。", u"起きる", u"potential or passive polite"},
    {u"まだ日本語が|書けません|。", u"書く", u"potential polite negative"},
    {u"今夜は|眠れない|。", u"眠る", u"potential negative"},
    {u"先生に|叱られた|。", u"叱る", u"passive past"},
    {u"足を犬に|噛まれた|。", u"噛む", u"passive past"},
    {u"電車で財布を|盗まれた|。", u"盗む", u"passive past"},
    {u"帰り道で雨に|降られた|。", u"降る", u"passive past"},
    {u"この本は今も|読まれている|。", u"読む", u"passive progressive"},
    {u"皆に|笑われました|。", u"笑う", u"passive polite past"},
    {u"子供に野菜を|食べさせる|。", u"食べる", u"causative"},
    {u"弟を買い物に|行かせた|。", u"行く", u"causative past"},
    {u"母は私にピアノを|習わせた|。", u"習う", u"causative past"},
    {u"学生に毎日本を|読ませます|。", u"読む", u"causative polite"},
    {u"子供に|勉強させた|。", u"勉強する", u"causative past"},
    {u"兄に|行かせられた|。", u"行く", u"causative passive past"},
    {u"嫌いな物を|食べさせられた|。", u"食べる", u"causative passive past"},
    {u"あの店ではいつも|待たされる|。", u"待つ", u"causative passive"},
    {u"部長に酒を|飲まされた|。", u"飲む", u"causative passive past"},
    {u"一人で|歌わされた|。", u"歌う", u"causative passive past"},
    {u"一日中|勉強させられました|。", u"勉強する", u"causative passive polite past"},
    {u"彼は何も|言わず|に出ていった。", u"言う", u"zu negative"},
    {u"朝ご飯を|食べず|に出かけた。", u"食べる", u"zu negative"},
    {u"傘を|持たず|に来た。", u"持つ", u"zu negative"},
    {u"今にも雨が|降りそう|だ。", u"降る", u"appearance"},
    {u"このケーキは|甘そう|だ。", u"甘い", u"appearance"},
    {u"彼女は|楽しそう|に話す。", u"楽しい", u"appearance"},
    {u"今にも|泣きそう|な顔をしている。", u"泣く", u"appearance"},
    {u"早く|食べろ|。", u"食べる", u"imperative"},
    {u"早くこっちへ|来なさい|。", u"来る", u"polite imperative"},
    {u"ちゃんと|勉強しろ|。", u"勉強する", u"imperative"},
    {u"さっさと|行け|。", u"行く", u"imperative"},
    {u"もっと|飲め|。", u"飲む", u"imperative"},
    {u"黙ってここに|座れ|。", u"座る", u"imperative"},
    {u"もう遅いから早く|寝なさい|。", u"寝る", u"polite imperative"},
    {u"今、本を|読んでいる|。", u"読む", u"progressive"},
    {u"彼はまだご飯を|食べている|。", u"食べる", u"progressive"},
    {u"外は雨が|降っている|。", u"降る", u"progressive"},
    {u"子供たちが庭で|遊んでる|。", u"遊ぶ", u"progressive"},
    {u"その時、彼はもう|寝ていた|。", u"寝る", u"progressive past"},
    {u"駅でずっと|待ってた|。", u"待つ", u"progressive past"},
    {u"東京に|住んでいます|。", u"住む", u"progressive polite"},
    {u"ケーキを全部|食べちゃった|。", u"食べる", u"completion past"},
    {u"そのうち鍵を|忘れちゃう|よ。", u"忘れる", u"completion"},
    {u"金魚が|死んじゃった|。", u"死ぬ", u"completion past"},
    {u"苦い薬を|飲んじゃった|。", u"飲む", u"completion past"},
    {u"宿題を|忘れてしまった|。", u"忘れる", u"completion past"},
    {u"彼はもう家に|行っちゃった|。", u"行く", u"completion past"},
    {u"昨日はとても|寒かった|。", u"寒い", u"past"},
    {u"あの店は値段が|高かった|。", u"高い", u"past"},
    {u"この本は|面白くない|。", u"面白い", u"negative"},
    {u"試験は|難しくなかった|。", u"難しい", u"negative past"},
    {u"部屋が|広くて|明るい。", u"広い", u"te-form"},
    {u"字を|小さく|書いてください。", u"小さい", u"adverbial"},
    {u"彼女の|優しさ|が嬉しかった。", u"優しい", u"noun"},
    {u"旅行は天気が|良かった|。", u"良い", u"past"},
    {u"今日は天気が|よくない|。", u"いい", u"negative"},
    {u"昨日の試合は|よくなかった|。", u"いい", u"negative past"},
    {u"合格して本当に|嬉しかった|。", u"嬉しい", u"past"},
    {u"今日はあまり|暑くありません|。", u"暑い", u"polite negative"},
    {u"部屋は|寒くありませんでした|。", u"寒い", u"polite negative past"},
    {u"外が|暗ければ|電気をつける。", u"暗い", u"ba conditional"},
    {u"もう時間が|なかった|。", u"ない", u"past"},
    {u"夏休みの間に日本を|旅行した|。", u"旅行する", u"past"},
    {u"毎朝六時に|起きます|。", u"起きる", u"polite"},
    {u"ドアを|閉めない|でください。", u"閉める", u"negative"},
    {u"電車の中で|立っていた|。", u"立つ", u"progressive past"},
    {u"夕べは早く|寝た|。", u"寝る", u"past"},
    {u"パンを|食べながら|歩いた。", u"食べる", u"while"},
    {u"この本は|読みやすい|。", u"読む", u"easy to"},
    {u"この字は|書きにくい|。", u"書く", u"hard to"},
    {u"ゆうべは|飲みすぎた|。", u"飲む", u"too much past"},
    {u"パンを|食べ|、牛乳を飲んだ。", u"食べる", u"continuative"},
    {u"手紙を|書いておく|。", u"書く", u"te-oku"},
    {u"名前が|書いてある|。", u"書く", u"te-aru"},
    {u"一口|食べてみた|。", u"食べる", u"te-miru past"},
    {u"飲み物を|買ってくる|。", u"買う", u"te-kuru"},
    {u"本を|読んでいく|。", u"読む", u"te-iku"},
};

// Text at the pointer where the plain match stands: nouns and adverbs that look conjugated, kana
// that is only endings and particles, a plain match that is longer or as long, and conjugations
// whose dictionary form exists only in another class (見る is ichidan, 帰る godan).
const char16_t* const kNotDeinflected[] = {
    u"例えば、日本では", u"全てを忘れた。", u"全て", u"ですから、", u"それでは、", u"ましょう。",
    u"ません。", u"行ったり来たりした。", u"すみません。", u"見って", u"帰て",
};

std::filesystem::path fullDirectory() {
    const char* dir = std::getenv("PELUXBAR_FULL_DICT_DIR");
    return dir ? std::filesystem::path(dir) : std::filesystem::path();
}

void loadJapanese(const std::filesystem::path& directory) {
    registerLinuxPlatform();
    initKanaRomajiTable();
    LoadEnvironment environment;
    environment.directory = directory;
    ASSERT_TRUE(loadJapaneseDictionary(testing::testEngine().store(), environment));
}

void expectNoDeinflectionWhereThePlainMatchStands() {
    ReaderOptions reader;
    reader.deinflect = true;
    for (const char16_t* text : kNotDeinflected) {
        SCOPED_TRACE(traceOf(text));
        DictionaryLock lock(testing::testEngine().store().mutex());
        const std::u16string_view captured = text;
        const CjkLookupResult plain = lookupCjkText(testing::testEngine().store(), captured, captured.front(), false);
        const CjkLookupResult result = lookupCjkText(testing::testEngine().store(), captured, captured.front(), false, reader);
        EXPECT_FALSE(result.deinflected.has_value()) << traceOf(result.deinflected->surface);
        EXPECT_EQ(result.wordLength, plain.wordLength);
        EXPECT_EQ(result.wordLine, plain.wordLine);
    }
}

void expectEveryRowFound() {
    ReaderOptions reader;
    reader.deinflect = true;
    for (const InflectedRow& row : kRows) {
        const std::u16string_view sentence = row.sentence;
        const size_t start = sentence.find(u'|');
        const size_t end = sentence.find(u'|', start + 1);
        const std::u16string_view word = sentence.substr(start + 1, end - start - 1);
        const std::u16string captured = std::u16string(word) + std::u16string(sentence.substr(end + 1));
        SCOPED_TRACE(traceOf(row.sentence));
        DictionaryLock lock(testing::testEngine().store().mutex());
        const CjkLookupResult result = lookupCjkText(testing::testEngine().store(), captured, captured.front(), false, reader);
        if (!result.deinflected) {
            ADD_FAILURE() << "no deinflected word";
            continue;
        }
        EXPECT_EQ(result.deinflected->surface, word);
        EXPECT_EQ(result.deinflected->dictionaryForm, row.dictionaryForm);
        EXPECT_EQ(result.deinflected->formName, row.chain);
        EXPECT_EQ(result.wordLength, static_cast<int32_t>(word.size()));
    }
}

// Every form the rules undo is undone in at least one word of the table, and the table holds at
// least 150 words: a form whose rules no longer match what they were written for shows as one that
// no row reaches.
TEST(DeinflectTable, HasAtLeastOneHundredFiftyRowsThatReachEveryForm) {
    EXPECT_GE(std::size(kRows), 150u);
    std::set<std::u16string_view> reached;
    for (const InflectedRow& row : kRows) {
        const std::u16string_view sentence = row.sentence;
        const size_t start = sentence.find(u'|');
        const std::u16string_view word = sentence.substr(start + 1, sentence.find(u'|', start + 1) - start - 1);
        for (const DeinflectCandidate& candidate : deinflect(word)) {
            if (candidate.word != row.dictionaryForm || formName(candidate) != row.chain) continue;
            for (size_t i = 0; i < candidate.depth; ++i) reached.insert(deinflectRules()[candidate.rules[i]].name);
        }
    }
    for (const DeinflectRule& rule : deinflectRules())
        EXPECT_TRUE(reached.contains(rule.name)) << "no row reaches the form " << traceOf(rule.name);
}

TEST(DeinflectTable, BundledDictionaryFindsEveryFormAndKeepsPlainMatches) {
    loadJapanese(std::filesystem::path(PELUX_SOURCE_DIR) / "data");
    expectEveryRowFound();
    expectNoDeinflectionWhereThePlainMatchStands();
}

TEST(DeinflectTable, FullEdictFindsEveryFormAndKeepsPlainMatches) {
    if (fullDirectory().empty() || !std::filesystem::exists(fullDirectory() / "edict.uni"))
        GTEST_SKIP() << "set PELUXBAR_FULL_DICT_DIR to a folder made by `peluxbar dict build`";
    loadJapanese(fullDirectory());
    expectEveryRowFound();
    expectNoDeinflectionWhereThePlainMatchStands();
}

}  // namespace
}  // namespace pelux
