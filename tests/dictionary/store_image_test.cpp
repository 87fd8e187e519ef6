// The prepared image: used only when it is sound and matches the text files; every other case
// is a correct text load that writes a new image.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <future>
#include <map>
#include <sstream>

#include "dictionary/dictionary_inspection.h"
#include "dictionary/load_fixture.h"
#include "dictionary/loaders.h"
#include "dictionary/store_image.h"
#include "platform/file_mapping.h"
#include "support/test_engine.h"

namespace pelux {
namespace {

// Everything a reader can get from the store, as one text.
std::u16string contentOf(const CDictionary& store) {
    std::u16string content;
    const auto number = [&content](std::size_t n) {
        const std::string digits = std::to_string(n);
        content.append(digits.begin(), digits.end());
        content += u' ';
    };
    number(store.language());
    number(store.isLoaded());
    for (const std::u16string& key : inspect(store).keysInOrder()) {
        content += key + u':';
        for (LineNumber line : store.entriesFor(key)) number(std::size_t(line));
    }
    for (LineNumber line = 0; line < LineNumber(inspect(store).lineCount()); ++line) content += std::u16string(store.lineText(line)) + u'\n';
    for (const auto& [code, text] : inspect(store).charInfoEntries()) number(std::size_t(code)), content += text;
    for (const auto& [form, word] : inspect(store).irregularEntries()) content += form + u'=' + word;
    number(inspect(store).stemCount());
    return content;
}

std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeAll(const std::filesystem::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

class StoreImageTest : public testing_support::LoadTest, public ::testing::WithParamInterface<DictionaryLanguage> {
protected:
    void SetUp() override {
        LoadTest::SetUp();
        for (const char* name : {kChineseMainFile, kChineseCharFile, kJapaneseMainFile, kJapaneseCharFile, "irregularverbs.txt"})
            std::filesystem::copy_file(std::filesystem::path(PELUX_SOURCE_DIR) / "data" / name, m_directory / name);
        const LoadReport first = load();
        ASSERT_TRUE(first.imageWritten && !first.fromImage);
        m_textContent = contentOf(store());
        m_lastText = texts().back();
        m_image = readBytes(imagePath());
    }
    DictionaryLanguage language() const { return GetParam(); }
    LoadReport load() {
        return language() == Chinese ? loadChineseDictionary(testing::testEngine().store(), environment()) : loadJapaneseDictionary(testing::testEngine().store(), environment());
    }
    std::filesystem::path imagePath() const { return imagePathFor(m_directory, language()); }
    std::filesystem::path mainFile() const { return m_directory / (language() == Chinese ? kChineseMainFile : kJapaneseMainFile); }

    // A load over whatever lies there now must read the text files, give the same store, and
    // write a good image again.
    void expectTextLoadAndRepair(const std::string& what) {
        SCOPED_TRACE(what);
        const LoadReport report = load();
        EXPECT_FALSE(report.fromImage);
        EXPECT_EQ(contentOf(store()), m_textContent);
        EXPECT_TRUE(report.imageWritten);
        EXPECT_EQ(readBytes(imagePath()), m_image);
    }

    std::u16string m_textContent;
    std::u16string m_lastText;
    std::string m_image;
};

TEST_P(StoreImageTest, ImageLoadGivesTheSameStoreAndLastText) {
    store().resetForLoad(None);
    const LoadReport report = load();
    EXPECT_TRUE(report.fromImage);
    EXPECT_FALSE(report.imageWritten);
    EXPECT_EQ(contentOf(store()), m_textContent);
    EXPECT_EQ(texts().back(), m_lastText);
}

TEST_P(StoreImageTest, TruncatedAtEvery4KiBBoundary) {
    for (std::size_t size = 0; size < m_image.size(); size += 4096) {
        writeAll(imagePath(), m_image.substr(0, size));
        expectTextLoadAndRepair("truncated to " + std::to_string(size));
    }
}

TEST_P(StoreImageTest, SingleFlippedBytes) {
    for (std::size_t at = 0; at < m_image.size(); at += 1 + at / 3) {
        std::string damaged = m_image;
        damaged[at] = char(damaged[at] ^ 0x10);
        writeAll(imagePath(), damaged);
        expectTextLoadAndRepair("byte " + std::to_string(at) + " flipped");
    }
}

TEST_P(StoreImageTest, TextFileEditedAfterTheImageEvenWithTheSameSizeAndTime) {
    const auto modified = std::filesystem::last_write_time(mainFile());
    std::string text = readBytes(mainFile());
    text[text.size() - 4] = char(text[text.size() - 4] ^ 1);
    writeAll(mainFile(), text);
    std::filesystem::last_write_time(mainFile(), modified);
    const LoadReport report = load();
    EXPECT_FALSE(report.fromImage);
    EXPECT_TRUE(report.imageWritten);
    EXPECT_TRUE(load().fromImage);
}

TEST_P(StoreImageTest, ImageOfAnotherVersionOrLanguage) {
    std::string other = m_image;
    other[8] = char(other[8] + 1);  // the version number follows the eight-byte magic
    writeAll(imagePath(), other);
    expectTextLoadAndRepair("another version");
    std::filesystem::copy_file(imagePath(), imagePathFor(m_directory, language() == Chinese ? Japanese : Chinese),
                               std::filesystem::copy_options::overwrite_existing);
    std::filesystem::remove(imagePath());
    std::filesystem::rename(imagePathFor(m_directory, language() == Chinese ? Japanese : Chinese), imagePath());
    EXPECT_TRUE(load().fromImage);
}

TEST_P(StoreImageTest, UnwritableImagePlaceStillLoadsFromText) {
    std::filesystem::remove(imagePath());
    std::filesystem::create_directories(imagePath() / "occupied");  // no file can be renamed over it
    const LoadReport report = load();
    EXPECT_FALSE(report.fromImage);
    EXPECT_FALSE(report.imageWritten);
    EXPECT_EQ(contentOf(store()), m_textContent);
    EXPECT_EQ(texts().back(), m_lastText);
}

TEST_P(StoreImageTest, FolderThatKeepsNoImageUsesASoundOneAndLeavesAStaleOneAlone) {
    LoadEnvironment readOnly = environment();
    readOnly.keepImage = false;
    const auto loadReadOnly = [&] {
        return language() == Chinese ? loadChineseDictionary(testing::testEngine().store(), readOnly)
                                     : loadJapaneseDictionary(testing::testEngine().store(), readOnly);
    };
    store().resetForLoad(None);
    EXPECT_TRUE(loadReadOnly().fromImage);
    std::string stale = m_image;
    stale[8] = char(stale[8] + 1);  // another version
    writeAll(imagePath(), stale);
    const LoadReport report = loadReadOnly();
    EXPECT_FALSE(report.fromImage || report.imageWritten);
    EXPECT_EQ(contentOf(store()), m_textContent);
    EXPECT_EQ(texts().back(), m_lastText);
    EXPECT_EQ(readBytes(imagePath()), stale);
}

TEST_P(StoreImageTest, MissingOrCancelledLoadsWriteNoImage) {
    std::filesystem::remove(imagePath());
    m_keys = testing_support::CScriptedKeys({false, true});
    EXPECT_TRUE(load().cancelled);
    EXPECT_FALSE(std::filesystem::exists(imagePath()));
    m_keys = testing_support::CScriptedKeys();
    std::filesystem::remove(m_directory / "irregularverbs.txt");
    const LoadReport report = load();
    EXPECT_EQ(report.missingFiles.size(), 1u);
    EXPECT_FALSE(report.fromImage || std::filesystem::exists(imagePath()));
}

// Every byte the port reads, so that a test can tell how much of a file a load looked at.
class CCountingMapper : public IFileMapper {
public:
    explicit CCountingMapper(IFileMapper& real) : m_real(real) {}
    std::unique_ptr<IReadableFile> openRegular(const std::filesystem::path& path) override {
        std::unique_ptr<IReadableFile> file = m_real.openRegular(path);
        return file ? std::make_unique<CCountedFile>(std::move(file), bytesRead[path.filename().string()]) : nullptr;
    }
    bool replaceAtomically(const std::filesystem::path& path, std::span<const std::string_view> pieces) override {
        return m_real.replaceAtomically(path, pieces);
    }
    std::map<std::string, uint64_t> bytesRead;  // by file name

private:
    class CCountedFile : public IReadableFile {
    public:
        CCountedFile(std::unique_ptr<IReadableFile> file, uint64_t& count) : m_file(std::move(file)), m_count(count) {}
        uint64_t size() const override { return m_file->size(); }
        bool readAt(uint64_t offset, std::span<std::byte> into) override {
            m_count += into.size();
            return m_file->readAt(offset, into);
        }

    private:
        std::unique_ptr<IReadableFile> m_file;
        uint64_t& m_count;
    };
    IFileMapper& m_real;
};

// `load` within a few seconds; a load that waits on the file system stops the whole run.
LoadReport loadWithin(const std::function<LoadReport()>& load) {
    std::future<LoadReport> done = std::async(std::launch::async, load);
    if (done.wait_for(std::chrono::seconds(20)) == std::future_status::ready) return done.get();
    ADD_FAILURE() << "the load hangs";
    std::fflush(stdout);
    std::_Exit(1);
}

TEST_P(StoreImageTest, StoreKeepsWhatWasLoadedWhateverHappensToTheImageAfterwards) {
    const DictionaryLanguage other = language() == Chinese ? Japanese : Chinese;
    ASSERT_TRUE((other == Chinese ? loadChineseDictionary(testing::testEngine().store(), environment()) : loadJapaneseDictionary(testing::testEngine().store(), environment())).imageWritten);
    const std::string otherImage = readBytes(imagePathFor(m_directory, other));
    const auto inPlace = [this](const std::string& bytes) {
        std::fstream(imagePath(), std::ios::in | std::ios::out | std::ios::binary) << bytes;
    };
    const struct {
        const char* what;
        std::function<void()> damage;
    } rows[] = {
        {"overwritten in place by the other language's image", [&] { inPlace(otherImage); }},
        {"copied over by the other language's image", [&] { writeAll(imagePath(), otherImage); }},
        {"truncated to half", [&] { std::filesystem::resize_file(imagePath(), m_image.size() / 2); }},
        {"truncated to nothing", [&] { std::filesystem::resize_file(imagePath(), 0); }},
        {"zeroed in place", [&] { inPlace(std::string(m_image.size(), '\0')); }},
        {"0xFF in place", [&] { inPlace(std::string(m_image.size(), '\xFF')); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        writeAll(imagePath(), m_image);
        store().resetForLoad(None);
        CDictionaryInspection::clearStems(store());  // the other language's load left its own
        ASSERT_TRUE(load().fromImage);
        row.damage();
        EXPECT_EQ(contentOf(store()), m_textContent);
    }
}

TEST_P(StoreImageTest, FifoAtTheImageOrADictionaryPathIsRefusedWithoutWaiting) {
    for (const std::filesystem::path& path : {imagePath(), mainFile()}) {
        SCOPED_TRACE(path.filename().string());
        const std::string bytes = readBytes(path);
        std::filesystem::remove(path);
        ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
        const LoadReport report = loadWithin([this] { return load(); });
        EXPECT_FALSE(report.fromImage);
        EXPECT_EQ(report.missingFiles.size(), path == mainFile() ? 1u : 0u);
        std::filesystem::remove(path);
        writeAll(path, bytes);
    }
}

TEST_P(StoreImageTest, HugeImageOfAnotherRecordedSizeIsRefusedAfterItsHeader) {
    std::filesystem::resize_file(imagePath(), uint64_t(4) << 30);  // sparse: costs no disk
    IFileMapper* real = fileMapper();
    CCountingMapper counting(*real);
    setFileMapper(&counting);
    const LoadReport report = load();
    setFileMapper(real);
    EXPECT_FALSE(report.fromImage);
    EXPECT_EQ(contentOf(store()), m_textContent);
    EXPECT_LT(counting.bytesRead[imagePath().filename().string()], 4096u);
}

TEST(IndexProbe, EndsAfterOnePassOverATableWithNoFreeSlot) {
    const std::u16string key = u"中国";
    const std::vector<uint64_t> slots(16, slotOf(keyHash(key) + 1, 0));
    const std::vector<IndexEntry> entries = {IndexEntry{keyHash(key) + 1, kPoolKey, 0, 0, 0}};
    const IndexView view{slots, entries, {}, {}};
    EXPECT_EQ(view.find(key, u""), nullptr);
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, StoreImageTest, ::testing::Values(Chinese, Japanese));

}  // namespace
}  // namespace pelux
