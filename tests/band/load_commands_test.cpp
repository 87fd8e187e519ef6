#include "band/load_commands.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace pelux {
namespace {

TEST(RunLoadCommand, RunsTheLoaderOfEachLanguage) {
    CLoadState loads;
    std::vector<std::string> ran;
    const DictionaryLoaders loaders{[&] { ran.push_back("zh"); }, [&] { ran.push_back("ja"); }};
    EXPECT_EQ(runLoadCommand(32772, loaders, loads), LoadCommandOutcome::Loaded);
    EXPECT_EQ(runLoadCommand(32773, loaders, loads), LoadCommandOutcome::Loaded);
    EXPECT_EQ(ran, (std::vector<std::string>{"zh", "ja"}));
    EXPECT_FALSE(loads.isRunning());
}

TEST(RunLoadCommand, IgnoresOtherValuesAndNotificationCodes) {
    CLoadState loads;
    int runs = 0;
    const DictionaryLoaders loaders{[&] { ++runs; }, [&] { ++runs; }};
    EXPECT_EQ(runLoadCommand(32772u | (1u << 16), loaders, loads), LoadCommandOutcome::NotALoadCommand);
    EXPECT_EQ(runLoadCommand(107, loaders, loads), LoadCommandOutcome::NotALoadCommand);
    EXPECT_EQ(runs, 0);
}

TEST(RunLoadCommand, IgnoresALoadCommandArrivingInsideARunningLoad) {
    CLoadState loads;
    std::vector<LoadCommandOutcome> nested;
    DictionaryLoaders loaders;
    // The running load pumps messages, and one of them is a second load command.
    loaders.loadChinese = [&] {
        EXPECT_TRUE(loads.isRunning());
        nested.push_back(runLoadCommand(32773, loaders, loads));
        nested.push_back(runLoadCommand(32772, loaders, loads));
    };
    loaders.loadJapanese = [] { FAIL() << "a nested load ran"; };
    EXPECT_EQ(runLoadCommand(32772, loaders, loads), LoadCommandOutcome::Loaded);
    EXPECT_EQ(nested, (std::vector<LoadCommandOutcome>(2, LoadCommandOutcome::IgnoredDuringLoad)));
    EXPECT_FALSE(loads.isRunning());
}

TEST(RunLoadCommand, AllowsTheNextLoadAfterALoaderThrew) {
    CLoadState loads;
    const DictionaryLoaders throwing{[] { throw std::runtime_error("file vanished"); }, {}};
    EXPECT_THROW(runLoadCommand(32772, throwing, loads), std::runtime_error);
    EXPECT_FALSE(loads.isRunning());
    int runs = 0;
    EXPECT_EQ(runLoadCommand(32772, {[&] { ++runs; }, {}}, loads), LoadCommandOutcome::Loaded);
    EXPECT_EQ(runs, 1);
}

}  // namespace
}  // namespace pelux
