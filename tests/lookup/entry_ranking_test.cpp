#include "lookup/entry_ranking.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/text_trace.h"

namespace pelux {
namespace {

TEST(EntryRanking, LinesAreRankedByTheirDefinitions) {
    const struct {
        const char16_t* line;
        EntryRank rank;
    } rows[] = {
        {u"私 [わたし] /(pn) I/me/(P)/\r\n", EntryRank::Common},
        {u"私 [あたい] /(pn) (fem) (uk) I/me/\r\n", EntryRank::Ordinary},
        {u"國 国 [Guo2] /surname Guo/\r", EntryRank::Minor},
        {u"國 国 [guo2] /country/nation/state/", EntryRank::Ordinary},
        {u"囯 囯 [guo2] /old variant of 國|国[guo2]/", EntryRank::Minor},
        {u"歐 欧 [Ou1] /surname Ou/(old) variant of 謳|讴[ou1]/", EntryRank::Minor},
        {u"乕 乕 [hu3] /Japanese variant of 虎[hu3]/old form of 虎/", EntryRank::Minor},
        {u"林 林 [Lin2] /surname Lin/Japanese surname Hayashi/", EntryRank::Minor},
        {u"象棋 象棋 [xiang4 qi2] /a variant of chess/", EntryRank::Ordinary},
        {u"歐 欧 [ou1] /surname Ou/Europe/", EntryRank::Ordinary},
        {u"x [x] //", EntryRank::Ordinary},
        {u"no definitions", EntryRank::Ordinary},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(traceOf(row.line));
        EXPECT_EQ(rankEntryLine(row.line), row.rank);
    }
}

TEST(EntryRanking, CommonFirstMinorLastFileOrderOtherwiseEachOnceWithinTheLimit) {
    const std::vector<std::u16string> texts = {
        u"a [Guo2] /surname Guo/", u"b [b1] /plain/", u"c [c] /x/(P)/", u"d [d1] /variant of e/", u"e [e1] /also plain/",
    };
    const auto textOf = [&texts](LineNumber line) { return std::u16string_view(texts[static_cast<size_t>(line)]); };
    EXPECT_EQ(rankEntryLines({0, 1, 2, 3, 4, 2}, 8, textOf), (LineList{2, 1, 4, 0, 3}));
    EXPECT_EQ(rankEntryLines({0, 1, 2, 3, 4}, 2, textOf), (LineList{2, 1}));
    EXPECT_EQ(rankEntryLines({}, 8, textOf), LineList{});
}

}  // namespace
}  // namespace pelux
