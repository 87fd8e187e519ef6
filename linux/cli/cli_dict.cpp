// `peluxbar dict build [--out DIR]` and `peluxbar dict make-data [--src DIR] [--out DIR]`.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <functional>
#include <string>

#include "cli/commands.h"
#include "dictbuild/dict_build.h"
#include "dictbuild/dict_images.h"

namespace pelux {

namespace fs = std::filesystem;

namespace {

constexpr const char* kUsage =
    "usage: peluxbar dict build [--out DIR]\n"
    "       peluxbar dict make-data [--src DIR] [--out DIR]\n"
    "  build      makes cedict_ts.uni, edict.uni, kanjidic.uni, UNICHIN.TXT and irregularverbs.txt\n"
    "             from CC-CEDICT, EDICT, KANJIDIC and Unihan (scripts/setup.sh --dict installs them)\n"
    "             in DIR, by default the directory of this executable, where PeluxBar looks for them\n"
    "  make-data  makes the bundled set from its sources (default: data/src into data)\n";

fs::path executableDirectory() {
    std::error_code error;
    const fs::path exe = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::current_path() : exe.parent_path();
}

// Reads "--name VALUE" options; false (after a message) on anything else.
bool readOptions(const Arguments& args, std::size_t first, std::initializer_list<std::pair<const char*, fs::path*>> options) {
    for (std::size_t i = first; i < args.size(); i += 2) {
        bool known = false;
        for (const auto& [name, value] : options) {
            if (args[i] != name) continue;
            if (i + 1 >= args.size()) {
                std::fprintf(stderr, "peluxbar dict: %s needs a directory\n", name);
                return false;
            }
            *value = args[i + 1];
            known = true;
        }
        if (!known) {
            std::fprintf(stderr, "peluxbar dict: unknown argument '%s'\n%s", args[i].c_str(), kUsage);
            return false;
        }
    }
    return true;
}

void reportBuilt(const char* file, const BuildOutcome& outcome, const std::string& from) {
    std::printf("%-18s %8zu lines written", file, outcome.lines);
    if (outcome.skipped) std::printf(" (%zu %s)", outcome.skipped, outcome.skippedWhat);
    std::printf("%s%s\n", from.empty() ? "" : "  from ", from.c_str());
    std::fflush(stdout);
}

// One file: true when it was written.
bool buildOne(const char* file, const std::function<BuildOutcome()>& build, const std::string& from) {
    try {
        reportBuilt(file, build(), from);
        return true;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s not built: %s\n", file, error.what());
        return false;
    }
}

int runBuild(const fs::path& outDir) {
    std::error_code error;
    fs::create_directories(outDir, error);
    if (!fs::is_directory(outDir)) {
        std::fprintf(stderr, "peluxbar dict: cannot create %s\n", outDir.c_str());
        return 1;
    }
    std::printf("Building the full dictionaries in %s\n", outDir.c_str());
    struct Job {
        const char* file;
        DictSource source;
        BuildOutcome (*build)(const fs::path&, const fs::path&);
    };
    const Job jobs[] = {
        {"cedict_ts.uni", DictSource::Cedict, buildCedictFile},
        {"UNICHIN.TXT", DictSource::Unihan, buildUnichinFile},
        {"edict.uni", DictSource::Edict, buildEdictFile},
        {"kanjidic.uni", DictSource::Kanjidic, buildKanjidicFile},
    };
    const fs::path exeDir = executableDirectory();
    const fs::path workDir = fs::current_path(error);
    bool allBuilt = true;
    for (const Job& job : jobs) {
        const SourceLocation location = locateSource(job.source, exeDir, workDir);
        if (location.found.empty()) {
            std::fprintf(stderr, "%s not built: %s\n", job.file, missingSourceMessage(job.source, location).c_str());
            allBuilt = false;
            continue;
        }
        allBuilt &= buildOne(job.file, [&] { return job.build(location.found, outDir); }, location.found.string());
    }
    allBuilt &= buildOne("irregularverbs.txt", [&] { return buildIrregularVerbsFile(outDir); }, "");
    if (allBuilt) allBuilt = writeDictionaryImages(outDir);
    return allBuilt ? 0 : 1;
}

int runMakeData(const fs::path& srcDir, const fs::path& outDir) {
    try {
        buildDataSet(srcDir, outDir);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "peluxbar dict make-data: %s\n", error.what());
        return 1;
    }
    std::printf("made the bundled dictionary set in %s from %s\n", outDir.c_str(), srcDir.c_str());
    return 0;
}

}  // namespace

int runDictCommand(const Arguments& args) {
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        std::fputs(kUsage, args.empty() ? stderr : stdout);
        return args.empty() ? 2 : 0;
    }
    if (args[0] == "build") {
        fs::path outDir = executableDirectory();
        if (!readOptions(args, 1, {{"--out", &outDir}})) return 2;
        return runBuild(outDir);
    }
    if (args[0] == "make-data") {
        fs::path srcDir = fs::path("data") / "src";
        fs::path outDir = "data";
        if (!readOptions(args, 1, {{"--src", &srcDir}, {"--out", &outDir}})) return 2;
        return runMakeData(srcDir, outDir);
    }
    std::fprintf(stderr, "peluxbar dict: unknown subcommand '%s'\n%s", args[0].c_str(), kUsage);
    return 2;
}

}  // namespace pelux
