// Load times of the two dictionaries against a plain baseline, and the peak memory of each load:
// the text load (no image yet; it writes one) and the load from the prepared image it wrote.
//
//   bench_load [DIR [zh|ja]]  DIR: the dictionary files; default PELUXBAR_DICT_DIR, else the
//                             repository's small bundled set in data/. zh or ja: one language only.
//
// Every load runs in a child process of its own, so that its peak resident size (VmHWM) is its
// own and it starts from an empty store. The baseline reads the main file, decodes it, splits it
// into lines and stores each line in a map: the least any loader has to do. The loads run in a
// scratch folder of links to DIR's files, so that DIR itself is left without images.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <system_error>

#include "band/engine.h"
#include "dictionary/dictionary.h"
#include "dictionary/dictionary_file.h"
#include "dictionary/loaders.h"
#include "dictionary/store_image.h"
#include "adapters/platform_linux.h"
#include "dictionary/dictionary_inspection.h"

namespace {

pelux::CEngine g_engine;

using Clock = std::chrono::steady_clock;
constexpr int kRuns = 5;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

long peakResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

// Read, decode, split, store each line; the number of lines, or -1 when the file is missing. The
// baseline has its own plain reader, so that work on the loaders cannot move it.
long baselineRun(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return -1;
    in.seekg(0, std::ios::end);
    std::string bytes(std::size_t(std::max<std::streamoff>(in.tellg(), 0)), '\0');
    in.seekg(0, std::ios::beg);
    in.read(bytes.data(), std::streamsize(bytes.size()));
    bytes.resize(std::size_t(in.gcount()));
    std::u16string text(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = char16_t(static_cast<unsigned char>(bytes[2 * i]) | (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    std::map<int32_t, std::u16string> lines;
    int32_t number = 0;
    const std::size_t headerEnd = text.find(u'\n');  // the header line is skipped, as the loaders do
    std::size_t start = headerEnd == std::u16string::npos ? text.size() : headerEnd + 1;
    while (start < text.size()) {
        const std::size_t feed = text.find(u'\n', start);
        const std::size_t end = feed == std::u16string::npos ? text.size() : feed + 1;
        lines.emplace_hint(lines.end(), number++, text.substr(start, end - start));
        start = end;
    }
    return long(lines.size());
}

struct LoadFigures {
    double milliseconds = 0;
    double cpuMilliseconds = 0;  // less disturbed than wall time when other work shares the cores
    long peakKilobytes = 0;
    long lines = 0;
    std::size_t keys = 0, characters = 0;
    bool fromImage = false;
};

enum class Work { Baseline, TextLoad, ImageLoad };

// One load in a fresh child process, as the host's first load is: nothing to free beforehand,
// and the peak resident size is that load's own.
bool runInChild(Work work, pelux::DictionaryLanguage language, const std::filesystem::path& directory,
                LoadFigures& figures) {
    int channel[2];
    if (pipe(channel) != 0) return false;
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        pelux::registerLinuxPlatform();
        pelux::LoadEnvironment environment;
        environment.directory = directory;
        const char* mainFile = language == pelux::Chinese ? pelux::kChineseMainFile : pelux::kJapaneseMainFile;
        LoadFigures result;
        const Clock::time_point start = Clock::now();
        const std::clock_t cpuStart = std::clock();
        pelux::LoadReport report;
        if (work == Work::Baseline) {
            result.lines = baselineRun(directory / mainFile);
        } else if (language == pelux::Chinese) {
            report = pelux::loadChineseDictionary(g_engine.store(), environment);
        } else {
            report = pelux::loadJapaneseDictionary(g_engine.store(), environment);
        }
        result.milliseconds = millisecondsSince(start);
        result.cpuMilliseconds = double(std::clock() - cpuStart) * 1000.0 / CLOCKS_PER_SEC;
        result.peakKilobytes = peakResidentKilobytes();
        result.keys = inspect(g_engine.store()).keyCount();
        result.characters = inspect(g_engine.store()).charInfoCount();
        result.fromImage = report.fromImage;
        const bool written = write(channel[1], &result, sizeof result) == ssize_t(sizeof result);
        std::_Exit(written ? 0 : 1);
    }
    close(channel[1]);
    const bool read = ::read(channel[0], &figures, sizeof figures) == ssize_t(sizeof figures);
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return read && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void printLoad(const char* what, const LoadFigures& load, const LoadFigures& baseline) {
    std::printf("  %-10s %7.1f ms  ratio to baseline %4.2fx  (CPU %7.1f ms, %4.2fx)  peak RSS %6.1f MB\n", what,
                load.milliseconds, load.milliseconds / baseline.milliseconds, load.cpuMilliseconds,
                load.cpuMilliseconds / baseline.cpuMilliseconds, load.peakKilobytes / 1024.0);
}

int runLanguage(pelux::DictionaryLanguage language, const std::filesystem::path& directory) {
    const bool chinese = language == pelux::Chinese;
    const char* name = chinese ? "Chinese" : "Japanese";
    const char* mainFile = chinese ? pelux::kChineseMainFile : pelux::kJapaneseMainFile;
    LoadFigures text, image, baseline;
    text.milliseconds = image.milliseconds = baseline.milliseconds = 1e30;
    bool imageUsed = true;
    const auto keepBest = [](LoadFigures& best, const LoadFigures& figures) {
        if (figures.milliseconds < best.milliseconds) best = figures;
    };
    for (int run = 0; run < kRuns; ++run) {
        LoadFigures figures;
        if (!runInChild(Work::Baseline, language, directory, figures)) return 1;
        if (figures.lines < 0) {
            std::printf("%-8s %s not found in %s\n", name, mainFile, directory.c_str());
            return 1;
        }
        keepBest(baseline, figures);
        std::filesystem::remove(pelux::imagePathFor(directory, language));
        if (!runInChild(Work::TextLoad, language, directory, figures)) return 1;
        keepBest(text, figures);
        if (!runInChild(Work::ImageLoad, language, directory, figures)) return 1;
        imageUsed = imageUsed && figures.fromImage;
        keepBest(image, figures);
    }
    std::printf("%-8s %zu lines, %zu keys, %zu characters\n", name, std::size_t(baseline.lines), text.keys,
                text.characters);
    std::printf("  %-10s %7.1f ms                            (CPU %7.1f ms)         peak RSS %6.1f MB\n", "baseline",
                baseline.milliseconds, baseline.cpuMilliseconds, baseline.peakKilobytes / 1024.0);
    printLoad("text load", text, baseline);
    printLoad(imageUsed ? "image load" : "image load (NO IMAGE: folder not writable?)", image, baseline);
    std::printf("  image load / text load %4.2fx\n", image.milliseconds / text.milliseconds);
    return 0;
}

// A scratch folder of links to the dictionary files, where the loads may write their images.
std::filesystem::path linkedCopy(const std::filesystem::path& directory) {
    const std::filesystem::path scratch =
        std::filesystem::temp_directory_path() / ("peluxbar-bench-load-" + std::to_string(getpid()));
    std::filesystem::create_directories(scratch);
    for (const char* name : {pelux::kChineseMainFile, pelux::kChineseCharFile, pelux::kJapaneseMainFile,
                             pelux::kJapaneseCharFile, "irregularverbs.txt"}) {
        std::error_code ignored;
        std::filesystem::create_symlink(std::filesystem::absolute(directory / name), scratch / name, ignored);
    }
    return scratch;
}

}  // namespace

int main(int argc, char** argv) {
    std::filesystem::path directory;
    if (argc > 1) {
        directory = argv[1];
    } else if (const char* fromEnvironment = std::getenv("PELUXBAR_DICT_DIR"); fromEnvironment && *fromEnvironment) {
        directory = fromEnvironment;
    } else {
        directory = std::filesystem::path(PELUX_SOURCE_DIR) / "data";
        std::printf("No dictionary directory given (argument or PELUXBAR_DICT_DIR): using the small bundled set in %s.\n"
                    "Make the full files with `peluxbar dict build --out DIR` and pass DIR for real figures.\n",
                    directory.c_str());
    }
    std::printf("Dictionary files: %s (best of %d loads each)\n", directory.c_str(), kRuns);
    const std::string only = argc > 2 ? argv[2] : "";
    const std::filesystem::path scratch = linkedCopy(directory);
    const int chinese = only == "ja" ? 0 : runLanguage(pelux::Chinese, scratch);
    const int japanese = only == "zh" ? 0 : runLanguage(pelux::Japanese, scratch);
    std::filesystem::remove_all(scratch);
    return chinese || japanese;
}
