// The headless player on the built-in layouts, with the rules' invariants
// checked after every one of its mouse actions, and its command line.
//
// Sections:
//   - playing every sample layout in both modes
//   - choices (look-ahead, hidden faces, upright tiles)
//   - repeatable play
//   - the autoplay command line

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "game/board/headless/AutoPlayer.h"
#include "tools/autoplay/AutoplayCommand.h"
#include "game/board/LevelFile.h"
#include "game/shared/Res.h"
#include "game/board/headless/SampleLayouts.h"

namespace Zorvin {
namespace {

// Counts the bonuses collected, the only way tiles appear outside a reshuffle.
class CountingHost : public HeadlessHost {
public:
    void PlaySound(int id) override { bonuses += id == SOUND_BONUS; }
    int bonuses = 0;
};

struct Invariants {
    BoardRules& rules;
    CountingHost& host;
    int total = -1;
    int bonuses = 0;
    const DominoFish* start0 = nullptr;
    const DominoFish* start1 = nullptr;
    int checks = 0;

    int Total() const
    {
        int n = rules.field->CountFish() + static_cast<int>(rules.playLine->fish.size()) +
                static_cast<int>(rules.deck->fish.size());
        for (const Place& p : rules.deck->places)
            n += static_cast<int>(p.size());
        return n;
    }

    bool Settled() const
    {
        for (const auto& f : rules.playLine->fish) {
            if (f->IsGliding() || f->IsTurning())
                return false;
        }
        return rules.deck->IsIdle();
    }

    void Check()
    {
        FishField& field = *rules.field;
        PlayLine& line = *rules.playLine;
        Deck& deck = *rules.deck;
        ASSERT_EQ(field.FishCount(), field.CountFish());
        bool sameLine = false;
        for (const auto& f : line.fish)
            sameLine = sameLine || f.get() == start0;
        if (!sameLine || total < 0) {
            // A new deal or a reshuffle makes a new line and a new deck.
            total = Total();
            bonuses = host.bonuses;
            start0 = line.fish.size() >= 2 ? line.fish[0].get() : nullptr;
            start1 = line.fish.size() >= 2 ? line.fish[1].get() : nullptr;
            return;
        }
        // Tiles only move between field, line, deck and places; a collected
        // bonus may add one to the deck.
        int now = Total();
        ASSERT_GE(now, total);
        ASSERT_LE(now - total, host.bonuses - bonuses);
        if (!Settled())
            return;
        ++checks;
        int l = line.LeftEnd(), r = line.RightEnd();
        bool drag = field.mode == PlayMode::Drag;
        int moves = 0;
        for (auto& layer : field.layers) {
            for (auto& f : layer) {
                bool ok = f->open && (l == 100 || r == 100 || f->joker || f->HasHalf(r) || (drag && f->HasHalf(l)));
                moves += ok;
            }
        }
        ASSERT_EQ(field.MovesAvailable(), moves);
        if (drag) {
            auto matches = [&](const DominoFish& f) {
                return l == 100 || r == 100 || f.joker || f.HasHalf(l) || f.HasHalf(r);
            };
            int deckMoves = 0;
            for (auto& f : deck.fish)
                deckMoves += matches(*f);
            for (const Place& p : deck.places) {
                for (size_t k = 0; k < p.size(); ++k)
                    deckMoves += (deck.redealsLeft > 0 || k + 1 == p.size()) && matches(*p[k]);
            }
            ASSERT_EQ(deck.deckMoves, deckMoves);
        }
        // Every put joined a matching value.
        for (size_t i = 0; i + 1 < line.fish.size(); ++i) {
            const DominoFish& a = *line.fish[i];
            const DominoFish& b = *line.fish[i + 1];
            if (&a == start0 && &b == start1)
                continue;
            ASSERT_TRUE(a.joker || b.joker || a.RightValue() == b.LeftValue())
                << "tiles " << i << " and " << i + 1 << " of the line do not match: (" << a.valueA << ","
                << a.valueB << " o" << a.orientation << ") (" << b.valueA << "," << b.valueB << " o" << b.orientation
                << ") line size " << line.fish.size();
        }
    }
};

struct DealOutcome {
    AutoPlayResult result;
    int checks = 0;
    int left = 0;       // tiles left on the field
    unsigned puts = 0;  // a checksum of the tiles put on the line, in order
};

DealOutcome PlayDeal(PlayMode mode, int layoutIndex, unsigned seed)
{
    srand(seed);
    CountingHost host;
    host.profile.levelMode0 = host.profile.levelMode2 = 2;
    BoardRules rules(host);
    host.onUpdate = [&rules] { rules.Update(); };
    rules.field->mode = mode;
    rules.field->level.number = 2;
    const SampleLayout& layout = SampleLayouts()[layoutIndex];
    rules.field->levelReader = [&layout](FishField& f, const std::string&) {
        LoadSampleLayout(layout, f, 1);
        return true;
    };
    rules.StartLevelFile("sample");
    Invariants inv{rules, host};
    AutoPlayer player(rules, host);
    // Slow enough that the line settles between moves and the checks see
    // the rules at rest.
    player.thinkUpdates = 70;
    DealOutcome out;
    size_t lineSize = 0;
    player.afterAction = [&] {
        inv.Check();
        if (::testing::Test::HasFatalFailure())
            throw std::runtime_error("invariant broken");
        const auto& line = rules.playLine->fish;
        if (line.size() > lineSize)
            out.puts = out.puts * 31 + static_cast<unsigned>(line.back()->valueA * 101 + line.back()->valueB + 1);
        lineSize = line.size();
    };
    try {
        out.result = player.Play();
    } catch (const std::runtime_error&) {
    }
    EXPECT_FALSE(out.result.stuck);
    if (out.result.won) {
        EXPECT_EQ(rules.field->FishCount(), 0);
    }
    out.checks = inv.checks;
    out.left = rules.field->FishCount();
    return out;
}

TEST(AutoPlayer, PlaysEveryLayoutToTheEndInDragModeKeepingTheRules)
{
    int won = 0, deals = 0;
    for (int layout = 0; layout < static_cast<int>(SampleLayouts().size()); ++layout) {
        for (unsigned seed : {1u, 2u, 3u}) {
            DealOutcome o = PlayDeal(PlayMode::Drag, layout, seed);
            ASSERT_FALSE(::testing::Test::HasFailure()) << "layout " << layout << " seed " << seed;
            EXPECT_GT(o.checks, 5);
            EXPECT_GT(o.result.moves, 20);
            won += o.result.won;
            ++deals;
        }
    }
    EXPECT_GE(won * 2, deals) << "the player should win most deals";
}

TEST(AutoPlayer, PlaysEveryLayoutToTheEndInClickModeKeepingTheRules)
{
    int won = 0, deals = 0;
    for (int layout = 0; layout < static_cast<int>(SampleLayouts().size()); ++layout) {
        for (unsigned seed : {4u, 5u, 6u}) {
            DealOutcome o = PlayDeal(PlayMode::Click, layout, seed);
            ASSERT_FALSE(::testing::Test::HasFailure()) << "layout " << layout << " seed " << seed;
            EXPECT_GT(o.checks, 5);
            won += o.result.won;
            ++deals;
        }
    }
    EXPECT_GE(won * 2, deals);
}

TEST(AutoPlayer, ClickModeLooksAheadForTheLongerRunOfPuts)
{
    // Current value 1. A (1,2) leads on to C (2,9) and stops there; B (1,3)
    // leads on to D (3,4) and E (4,5). Both show one follow-up at once, so
    // only a look-ahead tells that B comes first.
    srand(3);
    CountingHost host;
    host.profile.levelMode2 = 2;
    BoardRules rules(host);
    host.onUpdate = [&rules] { rules.Update(); };
    FishField& field = *rules.field;
    field.mode = PlayMode::Click;
    field.level.number = 2;
    field.levelReader = [](FishField& f, const std::string&) {
        f.layers.emplace_back();
        for (int i = 0; i < 5; ++i) {
            f.layers[0].push_back(std::make_unique<DominoFish>(100 + 120 * i, 200, 3, 0, &f));
        }
        f.RecountFish();
        return true;
    };
    rules.StartLevelFile("run");
    const int values[5][2] = {{1, 2}, {1, 3}, {2, 9}, {3, 4}, {4, 5}};
    std::vector<DominoFish*> tiles;
    for (int i = 0; i < 5; ++i) {
        DominoFish* t = field.FishAt(0, i);
        t->valueA = values[i][0];
        t->valueB = values[i][1];
        tiles.push_back(t);
    }
    rules.deck->Fill(0);
    rules.playLine->ResetLine(0, 1);
    field.RecomputeOpen();
    field.RecomputePlayable();
    ASSERT_EQ(field.MovesAvailable(), 2);

    AutoPlayer player(rules, host);
    std::vector<const DominoFish*> order;
    player.afterAction = [&] {
        const DominoFish* last = rules.playLine->Last();
        if (rules.playLine->fish.size() > order.size() + 2)
            order.push_back(last);
    };
    player.Play();
    ASSERT_GE(order.size(), 3u);
    EXPECT_EQ(order[0], tiles[1]);
    EXPECT_EQ(order[1], tiles[3]);
    EXPECT_EQ(order[2], tiles[4]);
}

// Plays two open tiles (1,2) and (1,3), each lying on one closed tile with
// the given faces, from current value 1; returns the first tile put.
int FirstPutOverHiddenTiles(const int hiddenUnderA[2], const int hiddenUnderB[2])
{
    srand(3);
    CountingHost host;
    host.profile.levelMode2 = 2;
    BoardRules rules(host);
    host.onUpdate = [&rules] { rules.Update(); };
    FishField& field = *rules.field;
    field.mode = PlayMode::Click;
    field.level.number = 2;
    field.levelReader = [](FishField& f, const std::string&) {
        f.layers.resize(2);
        for (int layer = 0; layer < 2; ++layer) {
            for (int x : {150, 450}) {
                f.layers[layer].push_back(std::make_unique<DominoFish>(x, 200, 3, layer, &f));
            }
        }
        f.RecountFish();
        return true;
    };
    rules.StartLevelFile("hidden");
    const int* faces[4] = {hiddenUnderA, hiddenUnderB, nullptr, nullptr};
    const int open[2][2] = {{1, 2}, {1, 3}};
    for (int i = 0; i < 2; ++i) {
        field.FishAt(0, i)->valueA = faces[i][0];
        field.FishAt(0, i)->valueB = faces[i][1];
        field.FishAt(1, i)->valueA = open[i][0];
        field.FishAt(1, i)->valueB = open[i][1];
    }
    rules.deck->Fill(0);
    rules.playLine->ResetLine(0, 1);
    field.RecomputeOpen();
    field.RecomputePlayable();
    EXPECT_FALSE(field.FishAt(0, 0)->open);
    EXPECT_FALSE(field.FishAt(0, 1)->open);
    EXPECT_EQ(field.MovesAvailable(), 2);

    AutoPlayer player(rules, host);
    const DominoFish* first = nullptr;
    const DominoFish* a = field.FishAt(1, 0);
    player.afterAction = [&] {
        if (!first && rules.playLine->fish.size() > 2)
            first = rules.playLine->Last();
    };
    player.Play();
    return first == nullptr ? -1 : first == a ? 0 : 1;
}

TEST(AutoPlayer, ChoosesWithoutSeeingTheFacesOfClosedTiles)
{
    // Whichever closed tile would carry the run on, the player cannot know
    // it: its first put is the same in both deals.
    const int leadsOn2[2] = {2, 5}, leadsOn3[2] = {3, 5}, deadEnd[2] = {7, 8};
    int first = FirstPutOverHiddenTiles(leadsOn2, deadEnd);
    ASSERT_NE(first, -1);
    EXPECT_EQ(FirstPutOverHiddenTiles(deadEnd, leadsOn3), first);
}

TEST(AutoPlayer, TilesCountedAsMovesOntoAnUprightTileCanBePut)
{
    // An upright current tile (4 over 8) counts its second half for the moves
    // left, so the field's 8s look playable; they must also be puttable, or
    // the level would stall with moves shown and no game over.
    srand(5);
    CountingHost host;
    host.profile.levelMode2 = 2;
    host.profile.shufflesLeft = 1;
    BoardRules rules(host);
    host.onUpdate = [&rules] { rules.Update(); };
    FishField& field = *rules.field;
    field.mode = PlayMode::Click;
    field.level.number = 2;
    field.levelReader = [](FishField& f, const std::string&) {
        f.layers.emplace_back();
        for (int i = 0; i < 3; ++i) {
            f.layers[0].push_back(std::make_unique<DominoFish>(100 + 120 * i, 200, 3, 0, &f));
        }
        f.RecountFish();
        return true;
    };
    rules.StartLevelFile("stuck");
    for (int i = 0; i < 3; ++i) {
        field.FishAt(0, i)->valueA = 8;
        field.FishAt(0, i)->valueB = 8;
    }
    rules.deck->Fill(0);
    rules.playLine->ResetLine(0, 1);
    DominoFish& current = *rules.playLine->Last();
    current.valueA = 4;
    current.valueB = 8;
    current.SetOrientation(0);
    field.RecomputeOpen();
    field.RecomputePlayable();
    field.CheckEnd();
    ASSERT_FALSE(field.Lost());

    EXPECT_TRUE(rules.playLine->CanPutOnCurrent(*field.FishAt(0, 0)));

    AutoPlayer player(rules, host);
    AutoPlayResult r = player.Play();
    EXPECT_EQ(r.reshuffles, 0) << "nothing stalls, so no reshuffle is needed";
    EXPECT_TRUE(r.won);
    EXPECT_FALSE(r.stuck);
}

TEST(AutoPlayer, SameSeedPlaysTheSameGame)
{
    DealOutcome a = PlayDeal(PlayMode::Drag, 1, 42);
    DealOutcome b = PlayDeal(PlayMode::Drag, 1, 42);
    EXPECT_EQ(a.result.score, b.result.score);
    EXPECT_EQ(a.result.moves, b.result.moves);
    EXPECT_EQ(a.result.updates, b.result.updates);
}

// Recorded from the player before its look-ahead was made faster: a change
// meant only for speed must leave every choice as it was.
TEST(AutoPlayer, ClickModeChoicesForFixedSeedsStayAsRecorded)
{
    struct Recorded {
        int layout;
        unsigned seed;
        bool won;
        int moves, score, left, updates;
        unsigned puts;
    };
    const Recorded recorded[] = {
        {0, 7, true, 47, 2380, 0, 3290, 2750483432u},
        {1, 7, true, 92, 6280, 0, 6440, 2305590741u},
        {2, 7, false, 84, 4220, 1, 5939, 1844484007u},
        {3, 7, true, 68, 3860, 0, 4760, 683713667u},
        {2, 4, true, 85, 4140, 0, 6009, 2616516862u},
    };
    for (const Recorded& r : recorded) {
        DealOutcome o = PlayDeal(PlayMode::Click, r.layout, r.seed);
        SCOPED_TRACE(::testing::Message() << "layout " << r.layout << " seed " << r.seed);
        EXPECT_EQ(o.result.won, r.won);
        EXPECT_EQ(o.result.moves, r.moves);
        EXPECT_EQ(o.result.score, r.score);
        EXPECT_EQ(o.left, r.left);
        EXPECT_EQ(o.result.updates, r.updates);
        EXPECT_EQ(o.puts, r.puts);
    }
}

TEST(AutoplayCommand, ParsesItsOptionsAndRefusesBadOnes)
{
    AutoplayOptions o;
    std::string error;
    ASSERT_TRUE(ParseAutoplayArgs({"--mode", "click", "--deals", "7", "--seed", "9", "--level", "a.xml"}, o, error));
    EXPECT_EQ(o.mode, PlayMode::Click);
    EXPECT_EQ(o.deals, 7);
    EXPECT_EQ(o.seed, 9u);
    EXPECT_EQ(o.level, "a.xml");
    for (std::vector<std::string> bad : std::vector<std::vector<std::string>>{
             {}, {"--deals", "3"}, {"--mode", "slow"}, {"--mode", "drag", "--deals", "0"},
             {"--mode", "drag", "--deals", "x"}, {"--mode", "drag", "--seed"}, {"--mode", "drag", "-v"},
             {"--mode", "drag", "--seed", "-1"}}) {
        AutoplayOptions p;
        EXPECT_FALSE(ParseAutoplayArgs(bad, p, error));
        EXPECT_FALSE(error.empty());
    }
    AutoplayOptions h;
    EXPECT_TRUE(ParseAutoplayArgs({"--deals", "-3", "--help"}, h, error));
    EXPECT_TRUE(h.help);
}

// A folder, an empty file, random bytes or another XML file is no level: the
// tool says so and fails instead of "winning" a level with no tiles.
TEST(AutoplayCommand, RefusesWhatIsNoLevel)
{
    auto dir = std::filesystem::temp_directory_path() / ("korvelt-nolevel-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir / "Level2.xml");
    std::ofstream(dir / "empty.xml").flush();
    std::ofstream(dir / "noise.xml", std::ios::binary) << std::string("\x8f\x01<\xff\x00]]>&#;\x7f", 13);
    std::ofstream(dir / "other.xml") << "<?xml version=\"1.0\"?><Players><Player name=\"a\"/></Players>";
    for (const char* name : {"Level2.xml", "empty.xml", "noise.xml", "other.xml"}) {
        AutoplayOptions o;
        o.level = (dir / name).string();
        o.deals = 1;
        std::ostringstream out, err;
        EXPECT_EQ(RunAutoplay(o, out, err), 1) << name << ": " << out.str();
        EXPECT_NE(err.str().find(o.level), std::string::npos) << err.str();
        EXPECT_EQ(out.str().find("played"), std::string::npos) << name;
    }
    std::filesystem::remove_all(dir);
}

TEST(AutoplayCommand, PrintsTheSummaryAndTheLevelLine)
{
    AutoplayOptions o;
    o.mode = PlayMode::Drag;
    o.deals = 4;
    std::ostringstream out, err;
    AutoplaySummary s;
    ASSERT_EQ(RunAutoplay(o, out, err, &s), 0);
    EXPECT_EQ(s.deals, 4);
    EXPECT_EQ(out.str().rfind("played 4 deals: won ", 0), 0u) << out.str();
    EXPECT_NE(out.str().find(" deals/s\n"), std::string::npos);

    auto dir = std::filesystem::temp_directory_path() / ("korvelt-autoplay-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    LevelFile level;
    level.types = {1, 2, 3};
    level.shiftX = 4;
    level.shiftY = -6;
    level.hasCardsInDeck = true;
    level.cardsInDeck = 9;
    level.layers.resize(2);
    for (int c = 0; c < 4; ++c)
        level.layers[0].push_back({40 + 80 * c + 4, 50 - 6});
    level.layers[1].push_back({80 + 4, 75 - 6});
    std::string path = (dir / "Level3.xml").string();
    ASSERT_TRUE(level.Write(path));
    o.level = path;
    o.deals = 2;
    std::ostringstream out2;
    ASSERT_EQ(RunAutoplay(o, out2, err), 0);
    EXPECT_EQ(out2.str().substr(0, out2.str().find('\n')), "level: tiles=5 layers=2 types=3 cards=9 shift=4,-6");

    o.level = (dir / "missing.xml").string();
    std::ostringstream out3, err3;
    EXPECT_EQ(RunAutoplay(o, out3, err3), 1);
    EXPECT_FALSE(err3.str().empty());
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace Zorvin
