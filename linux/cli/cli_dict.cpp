// `peluxbar dict build [--out DIR]` and `peluxbar dict make-data [--src DIR] [--out DIR]`.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "adapters/module_directory_linux.h"
#include "cli/commands.h"
#include "cli/command_line.h"
#include "dictbuild/dict_build.h"
#include "dictbuild/dict_images.h"

namespace pelux {

namespace fs = std::filesystem;

namespace {

struct DictArguments {
    std::optional<std::string> src;
    std::optional<std::string> out;
};

CCommandLine dictBuildCommandLine(DictArguments& given) {
    CCommandLine line(
        "dict build", "",
        "Makes cedict_ts.uni, edict.uni, kanjidic.uni, UNICHIN.TXT and irregularverbs.txt from CC-CEDICT,\n"
        "EDICT, KANJIDIC and Unihan (scripts/setup.sh --dict installs them).");
    line.addOption("--out", given.out, "DIR",
                   "where to write them (default: beside this executable, where PeluxBar looks)");
    return line;
}

CCommandLine dictMakeDataCommandLine(DictArguments& given) {
    CCommandLine line("dict make-data", "", "Makes the bundled dictionary set from its sources.");
    line.addOption("--src", given.src, "DIR", "the source lists (default: data/src)");
    line.addOption("--out", given.out, "DIR", "where to write the set (default: data)");
    return line;
}

std::string dictUsage() {
    DictArguments unused;
    return dictBuildCommandLine(unused).usageText() + dictMakeDataCommandLine(unused).usageText();
}

std::string dictHelp() {
    DictArguments unused;
    return dictBuildCommandLine(unused).helpText() + "\n" + dictMakeDataCommandLine(unused).helpText();
}

// Beside the executable, where a build from source looks; the packaged one, in /usr/bin among
// other programs, has no such place and needs --out.
std::optional<fs::path> defaultOutDirectory() {
    const fs::path executable = runningExecutable();
    if (isInstalledExecutable(executable)) return std::nullopt;
    return executable.empty() ? fs::current_path() : executable.parent_path();
}

// Reads the subcommand's options (the arguments after its name); an exit code when the command
// stops here.
std::optional<int> readOptions(CCommandLine (*commandLine)(DictArguments&), const Arguments& args,
                               DictArguments& given) {
    CCommandLine line = commandLine(given);
    if (const std::optional<int> exitCode = line.parse(Arguments(args.begin() + 1, args.end()))) return exitCode;
    if (!line.operands().empty()) return line.usageError("unknown argument '" + line.operands().front() + "'");
    return std::nullopt;
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
    const fs::path exeDir = runningExecutable().parent_path();
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

int runDictCommand(const Arguments& args) {
    if (args.empty()) {
        std::fputs(dictUsage().c_str(), stderr);
        return 2;
    }
    if (args[0] == "--help" || args[0] == "-h") {
        std::fputs(dictHelp().c_str(), stdout);
        return 0;
    }
    DictArguments given;
    if (args[0] == "build") {
        if (const std::optional<int> exitCode = readOptions(dictBuildCommandLine, args, given)) return *exitCode;
        if (given.out) return runBuild(*given.out);
        const std::optional<fs::path> beside = defaultOutDirectory();
        if (!beside) {
            DictArguments unused;
            return dictBuildCommandLine(unused).usageError("the installed peluxbar needs --out DIR, a folder to write them in");
        }
        return runBuild(*beside);
    }
    if (args[0] == "make-data") {
        if (const std::optional<int> exitCode = readOptions(dictMakeDataCommandLine, args, given)) return *exitCode;
        return runMakeData(given.src.value_or((fs::path("data") / "src").string()), given.out.value_or("data"));
    }
    std::fprintf(stderr, "peluxbar dict: unknown subcommand '%s'\n", args[0].c_str());
    std::fputs(dictUsage().c_str(), stderr);
    return 2;
}

}  // namespace

const Command kDictCommand = {"dict", runDictCommand, dictUsage};

}  // namespace pelux
