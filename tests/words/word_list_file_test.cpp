// words.tsv on disk: what is refused and never written over, a writer killed before its rename,
// and two processes adding at once.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/file_text.h"
#include "adapters/word_list_file.h"

namespace pelux {
namespace {

namespace fs = std::filesystem;

WordEntry word(const std::string& forms) { return {forms, "よみ", "(n) sense", "文。", "https://example.com/", "2026-12-09T04:50:00Z"}; }

bool add(CWordListFile& file, const std::string& forms, std::string& problem) {
    return file.update([&](std::vector<WordEntry>& entries) { return addWord(entries, word(forms)); }, problem);
}

class WordListFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder = fs::temp_directory_path() / ("peluxbar-words-" + std::to_string(::getpid()));
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
    }
    void TearDown() override { fs::remove_all(m_folder); }
    fs::path m_folder;
};

TEST_F(WordListFileTest, AMissingFileIsAnEmptyListAndTheFirstWordMakesIt) {
    CWordListFile file(m_folder / "config" / "words.tsv");
    std::string problem;
    const auto none = file.read(problem);
    ASSERT_TRUE(none) << problem;
    EXPECT_TRUE(none->empty());
    EXPECT_FALSE(fs::exists(file.path()));
    ASSERT_TRUE(add(file, "猫", problem)) << problem;
    ASSERT_TRUE(add(file, "猫", problem)) << problem;
    EXPECT_EQ(fileText(file.path()), formatWordLine(word("猫")));
}

TEST_F(WordListFileTest, RefusesAndNeverRewritesWhatIsNotAReadableList) {
    const fs::path path = m_folder / "words.tsv";
    const struct {
        const char* name;
        std::function<void()> make;
        std::string problem;
    } cases[] = {
        {"fifo", [&] { ::mkfifo((m_folder / "fifo").c_str(), 0600); fs::create_symlink(m_folder / "fifo", path); },
         "the word list " + path.string() + " is not a regular file; it is not used"},
        {"folder", [&] { fs::create_directory(path); }, "the word list " + path.string() + " is not a regular file; it is not used"},
        {"device", [&] { fs::create_symlink("/dev/zero", path); }, "the word list " + path.string() + " is not a regular file; it is not used"},
        {"unreadable line", [&] { std::ofstream(path) << formatWordLine(word("犬")) << "half a line\n"; },
         "the word list " + path.string() + " was left as it is: line 2 is unreadable: it has 1 fields, not 6"},
        {"too large", [&] { std::ofstream{path}; fs::resize_file(path, 64 * 1024 * 1024 + 1); },
         "the word list " + path.string() + " is larger than 64 MB; it is not read"},
    };
    for (const auto& c : cases) {
        fs::remove_all(path);
        fs::remove(m_folder / "fifo");
        c.make();
        const auto before = fs::symlink_status(path).type();
        const std::uintmax_t size = fs::is_regular_file(path) ? fs::file_size(path) : 0;
        CWordListFile file(path);
        std::string problem;
        EXPECT_FALSE(file.read(problem)) << c.name;
        EXPECT_EQ(problem, c.problem) << c.name;
        problem.clear();
        EXPECT_FALSE(add(file, "猫", problem)) << c.name;
        EXPECT_EQ(problem, c.problem) << c.name;
        EXPECT_EQ(fs::symlink_status(path).type(), before) << c.name;
        if (fs::is_regular_file(path)) {
            EXPECT_EQ(fs::file_size(path), size) << c.name;
        }
    }
}

TEST_F(WordListFileTest, AWriterKilledBeforeItsRenameLeavesTheOldList) {
    CWordListFile file(m_folder / "words.tsv");
    std::string problem;
    ASSERT_TRUE(add(file, "古い", problem)) << problem;
    const std::string old = fileText(file.path());
    // The child may write no more than the old list: its temporary file overruns that, and the
    // kernel kills it in the middle of the write, before the rename.
    const pid_t child = ::fork();
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_DFL);
        const rlimit limit{rlim_t(old.size()), rlim_t(old.size())};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::string ignored;
        add(file, std::string(4096, 'x'), ignored);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGXFSZ);
    EXPECT_EQ(fileText(file.path()), old);
    ASSERT_TRUE(add(file, "新しい", problem)) << problem;
    const auto entries = file.read(problem);
    ASSERT_TRUE(entries) << problem;
    EXPECT_EQ(entries->size(), 2u);
}

TEST_F(WordListFileTest, ProcessesAddingAtOnceLoseNoWord) {
    constexpr int kProcesses = 4, kWordsEach = 25;
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
        const pid_t child = ::fork();
        if (child == 0) {
            CWordListFile file(m_folder / "words.tsv");
            std::string problem;
            bool ok = true;
            for (int w = 0; w < kWordsEach; ++w) ok = add(file, std::to_string(p) + "-" + std::to_string(w), problem) && ok;
            ::_exit(ok ? 0 : 1);
        }
        children.push_back(child);
    }
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    std::string problem;
    const auto entries = CWordListFile(m_folder / "words.tsv").read(problem);
    ASSERT_TRUE(entries) << problem;
    EXPECT_EQ(entries->size(), std::size_t(kProcesses * kWordsEach));
}

}  // namespace
}  // namespace pelux
