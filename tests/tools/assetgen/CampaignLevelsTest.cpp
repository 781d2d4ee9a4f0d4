// The campaign's levels: the shape library, the designer's rules for every
// level of both modes, the written files as the game reads them, and a few
// deals of every level played to the end by the headless player.
//
// Sections:
//   - LevelShapes
//   - campaign layouts and files
//   - upright tiles
//   - every level played to the end
//   - LevelCheck
//   - LevelDesigner

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <tuple>

#include "game/board/DominoFish.h"
#include "game/board/LevelFile.h"
#include "tools/assetgen/levels/LevelCheck.h"
#include "tools/assetgen/levels/LevelDesigner.h"
#include "tools/assetgen/levels/LevelShapes.h"

namespace Zorvin::AssetGen {
namespace {

namespace fs = std::filesystem;

std::vector<LevelPlan> AllPlans(int mode)
{
    std::vector<LevelPlan> plans;
    for (int n = 1; n <= CampaignLength(mode); ++n) {
        LevelPlan p;
        std::string error;
        EXPECT_TRUE(DesignLevel(mode, n, TunedParams(mode, n), p, error)) << "level " << n << ": " << error;
        plans.push_back(p);
    }
    return plans;
}

// The board's cover test: one of seven points of the upper tile in the
// lower tile's box.
bool ReachesOver(const LevelPlan& plan, const PlannedTile& up, const PlannedTile& low)
{
    int ux, uy, lx, ly;
    plan.Centre(up, ux, uy);
    plan.Centre(low, lx, ly);
    DominoFish lower(lx, ly, 3, low.layer, nullptr);
    static const int kPoints[7][2] = {{-20, 0}, {20, 0}, {0, 0}, {-39, -24}, {39, -24}, {-39, 24}, {39, 24}};
    for (const auto& p : kPoints) {
        if (lower.CoversPoint(ux + p[0], uy + p[1]))
            return true;
    }
    return false;
}

// Plays the level with values ignored: take any tile no remaining tile
// reaches over and whose lock is open, collecting keys, until nothing can be
// taken. A good level can always be emptied this way.
bool ClearableIgnoringValues(const LevelPlan& plan)
{
    std::vector<PlannedTile> left = plan.tiles;
    std::set<int> open;
    bool progress = true;
    while (!left.empty() && progress) {
        progress = false;
        for (size_t i = 0; i < left.size(); ++i) {
            const PlannedTile& t = left[i];
            if (t.lockType >= 0 && !open.count(t.lockType))
                continue;
            bool covered = false;
            for (const PlannedTile& u : left)
                covered = covered || (u.layer > t.layer && ReachesOver(plan, u, t));
            if (covered)
                continue;
            if (t.itemType >= 0)
                open.insert(t.itemType);
            left.erase(left.begin() + static_cast<long>(i));
            progress = true;
            break;
        }
    }
    return left.empty();
}

TEST(LevelShapesTest, EveryPictureParsesAndFitsTheScreen)
{
    std::set<std::string> names;
    for (const LevelShape& s : LevelShapes()) {
        std::vector<HalfCell> tiles;
        std::string error;
        ASSERT_TRUE(ParseShapePicture(s.picture, tiles, error)) << s.name << ": " << error;
        EXPECT_TRUE(names.insert(s.name).second) << "two shapes called " << s.name;
        EXPECT_LE(s.picture.size(), 8u) << s.name;
        for (const HalfCell& t : tiles)
            EXPECT_LE(t.hx, 12) << s.name << " is wider than seven tiles";
        EXPECT_EQ(FindLevelShape(s.name), &s);
    }
    EXPECT_GE(names.size(), 20u);
    EXPECT_EQ(FindLevelShape("no such shape"), nullptr);
}

TEST(LevelShapesTest, PictureErrorsAreReported)
{
    std::vector<HalfCell> tiles;
    std::string error;
    EXPECT_FALSE(ParseShapePicture({"[][]x"}, tiles, error));
    EXPECT_NE(error.find("stray"), std::string::npos);
    // "[[]]" puts two tiles one half-cell apart.
    EXPECT_FALSE(ParseShapePicture({"[[]]"}, tiles, error));
    EXPECT_FALSE(ParseShapePicture({"[", "  "}, tiles, error));
    EXPECT_FALSE(ParseShapePicture({"   "}, tiles, error));
    ASSERT_TRUE(ParseShapePicture({" [] []", "[]"}, tiles, error)) << error;
    EXPECT_EQ(tiles, (std::vector<HalfCell>{{1, 0}, {4, 0}, {0, 2}}));
}

TEST(LevelShapesTest, StackingCoversTheTilesBelow)
{
    // A row of three side by side and a column of three.
    std::vector<HalfCell> row{{0, 0}, {2, 0}, {4, 0}};
    EXPECT_EQ(StackLayer(row, 'B'), (std::vector<HalfCell>{{1, 0}, {3, 0}}));
    EXPECT_EQ(StackLayer(row, 'S'), (std::vector<HalfCell>{{2, 0}}));
    EXPECT_TRUE(StackLayer(row, 'V').empty());
    std::vector<HalfCell> column{{0, 0}, {0, 2}, {0, 4}};
    EXPECT_EQ(StackLayer(column, 'V'), (std::vector<HalfCell>{{0, 1}, {0, 3}}));
    EXPECT_TRUE(StackLayer(column, 'B').empty());
    EXPECT_TRUE(StackLayer(row, '?').empty());

    // Each bridge tile reaches over both tiles it stands on, by the board's
    // own cover test.
    LevelPlan plan;
    plan.tiles = {{0, {0, 0}}, {0, {2, 0}}, {1, {1, 0}}, {0, {6, 4}}, {0, {6, 6}}, {1, {6, 5}}};
    EXPECT_TRUE(ReachesOver(plan, plan.tiles[2], plan.tiles[0]));
    EXPECT_TRUE(ReachesOver(plan, plan.tiles[2], plan.tiles[1]));
    EXPECT_TRUE(ReachesOver(plan, plan.tiles[5], plan.tiles[3]));
    EXPECT_TRUE(ReachesOver(plan, plan.tiles[5], plan.tiles[4]));
    EXPECT_FALSE(ReachesOver(plan, plan.tiles[2], plan.tiles[3]));
}

class CampaignDesignTest : public ::testing::TestWithParam<int> {};

TEST_P(CampaignDesignTest, EveryLevelKeepsTheDesignRules)
{
    const int mode = GetParam();
    std::vector<LevelPlan> plans = AllPlans(mode);
    ASSERT_EQ(static_cast<int>(plans.size()), mode == kClickMode ? 60 : 50);
    std::set<std::string> shapes;
    for (const LevelPlan& p : plans) {
        SCOPED_TRACE("level " + std::to_string(p.number));
        shapes.insert(p.shape);
        EXPECT_GE(p.tiles.size(), 20u);
        EXPECT_LE(p.tiles.size(), 140u);
        EXPECT_GE(p.layerCount, 1);
        EXPECT_LE(p.layerCount, 5);
        std::set<int> distinct(p.types.begin(), p.types.end());
        EXPECT_GE(distinct.size(), 2u);
        for (int v : p.types) {
            EXPECT_GE(v, 0);
            EXPECT_LE(v, 25);
        }
        EXPECT_TRUE(p.music == 1 || p.music == 2 || p.music == 4 || p.music == 5) << p.music;
        EXPECT_FALSE(p.background.empty());
        EXPECT_GE(p.cardsInDeck, 4) << "a level must never start without a move";

        int x0 = 1 << 20, x1 = -(1 << 20), y0 = 1 << 20, y1 = -(1 << 20);
        for (size_t i = 0; i < p.tiles.size(); ++i) {
            int r[4];
            p.DrawnRect(p.tiles[i], r);
            x0 = std::min(x0, r[0]);
            y0 = std::min(y0, r[1]);
            x1 = std::max(x1, r[0] + r[2]);
            y1 = std::max(y1, r[1] + r[3]);
            EXPECT_GE(r[0], kAreaLeft);
            EXPECT_LE(r[0] + r[2], kAreaRight);
            EXPECT_GE(r[1], kAreaTop);
            EXPECT_LE(r[1] + r[3], kAreaBottom);
            for (size_t j = i + 1; j < p.tiles.size(); ++j) {
                const PlannedTile &a = p.tiles[i], &b = p.tiles[j];
                if (a.layer == b.layer && !a.upright && !b.upright) {
                    EXPECT_FALSE(TilesOverlap(a.at, b.at)) << "tiles " << i << " and " << j;
                }
                if (a.upright || b.upright) {
                    int rb[4];
                    p.DrawnRect(b, rb);
                    bool apart = r[0] + r[2] <= rb[0] || rb[0] + rb[2] <= r[0] || r[1] + r[3] <= rb[1] ||
                                 rb[1] + rb[3] <= r[1];
                    EXPECT_TRUE(apart) << "an upright tile overlaps tile " << j;
                }
            }
        }
        // Centred: the margins left and right differ by a pixel at most.
        EXPECT_LE(std::abs((x0 - kAreaLeft) - (kAreaRight - x1)), 1);
        EXPECT_LE(std::abs((y0 - kAreaTop) - (kAreaBottom - y1)), 1);

        // Every lock type has exactly one key, and no key can be trapped.
        std::map<int, int> keys, locks;
        for (const PlannedTile& t : p.tiles) {
            if (t.itemType >= 0)
                ++keys[t.itemType];
            if (t.lockType >= 0)
                ++locks[t.lockType];
            EXPECT_LE((t.itemType >= 0) + (t.lockType >= 0) + t.joker + t.upright, 1) << "one mark per tile";
        }
        for (auto [type, count] : locks)
            EXPECT_EQ(keys[type], 1) << "lock type " << type;
        for (auto [type, count] : keys)
            EXPECT_GT(locks[type], 0) << "a key of type " << type << " opens nothing";
        EXPECT_TRUE(ClearableIgnoringValues(p));
    }
    EXPECT_GE(shapes.size(), 20u) << "the campaign repeats too few shapes";

    // New ideas arrive stage by stage: the first stages are plain, and
    // locks, jokers, upright tiles and deeper stacks all appear later.
    auto stageHas = [&](int stage, auto what) {
        for (const LevelPlan& p : plans) {
            if (p.stage == stage && what(p))
                return true;
        }
        return false;
    };
    auto locked = [](const LevelPlan& p) { return p.locks > 0; };
    auto jokers = [](const LevelPlan& p) { return p.jokers > 0; };
    auto uprights = [](const LevelPlan& p) { return p.uprights > 0; };
    auto deep = [](const LevelPlan& p) { return p.layerCount >= 4; };
    EXPECT_FALSE(stageHas(0, locked) || stageHas(0, jokers) || stageHas(0, uprights) || stageHas(0, deep));
    EXPECT_FALSE(stageHas(1, locked) || stageHas(1, jokers) || stageHas(1, uprights));
    int last = static_cast<int>(plans.size()) / 5 - 1;
    EXPECT_TRUE(stageHas(last, locked) && stageHas(last, jokers) && stageHas(last, deep));
    EXPECT_EQ(stageHas(last, uprights), kCampaignUprights);
    EXPECT_EQ(plans.front().layerCount, 1);
    EXPECT_GT(plans.back().tiles.size(), plans.front().tiles.size());
}

INSTANTIATE_TEST_SUITE_P(BothModes, CampaignDesignTest, ::testing::Values(kDragMode, kClickMode));

TEST(CampaignLayoutsTest, EveryLevelHasALayoutOfItsOwnClearOfTheMeterAndThePlayLine)
{
    std::map<std::string, std::string> seen;
    std::set<std::string> dragOutlines;
    for (int mode : {kDragMode, kClickMode}) {
        for (const LevelPlan& p : AllPlans(mode)) {
            std::string name = LevelFolder(mode) + "/Level" + std::to_string(p.number);
            auto [it, fresh] = seen.emplace(LayoutKey(p), name);
            EXPECT_TRUE(fresh) << name << " repeats the layout of " << it->second;
            // The two campaigns have figures of their own.
            std::string outline = LayoutKey(p, true);
            if (mode == kDragMode)
                dragOutlines.insert(outline);
            else
                EXPECT_EQ(dragOutlines.count(outline), 0u) << name << " has the outline of a drag-mode level";
            for (const PlannedTile& t : p.tiles) {
                int r[4];
                TileImageRect(p, t, r);
                bool clearOfMeter = r[0] + r[2] <= kMeterColumn[0] || r[1] + r[3] <= kMeterColumn[1] ||
                                    r[1] >= kMeterColumn[1] + kMeterColumn[3];
                EXPECT_TRUE(clearOfMeter) << name << ": a tile at x " << r[0] << " y " << r[1] << " reaches the meter";
                EXPECT_LE(r[1] + r[3], kPlayLineTop) << name << ": a tile reaches the play line";
                EXPECT_GE(r[0], kAreaLeft) << name << ": a tile reaches the deck's places";
            }
        }
    }
    EXPECT_EQ(seen.size(), 110u);
}

class CampaignFilesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir = new fs::path(fs::temp_directory_path() / ("korvelt-campaign-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed())));
        fs::remove_all(*dir);
        std::string error;
        ok = WriteCampaign(dir->string(), error);
        ASSERT_TRUE(ok) << error;
    }
    static void TearDownTestSuite()
    {
        fs::remove_all(*dir);
        delete dir;
    }
    static std::string Path(int mode, int n)
    {
        return (*dir / "levels" / LevelFolder(mode) / ("Level" + std::to_string(n) + ".xml")).string();
    }
    static inline fs::path* dir = nullptr;
    static inline bool ok = false;
};

TEST_F(CampaignFilesTest, EveryFileReadsBackInsideTheGrid)
{
    ASSERT_TRUE(ok);
    int uprightTiles = 0;
    for (int mode : {kDragMode, kClickMode}) {
        for (int n = 1; n <= CampaignLength(mode); ++n) {
            SCOPED_TRACE(Path(mode, n));
            LevelFile level;
            ASSERT_TRUE(level.Read(Path(mode, n)));
            EXPECT_TRUE(level.complete) << level.errorText;
            LevelPlan plan;
            std::string error;
            ASSERT_TRUE(DesignLevel(mode, n, TunedParams(mode, n), plan, error)) << error;
            EXPECT_EQ(static_cast<int>(level.layers.size()), plan.layerCount);
            size_t tiles = 0;
            for (const auto& layer : level.layers) {
                tiles += layer.size();
                for (const LevelTile& t : layer) {
                    // Back onto the grid: every token's "[" inside the 20 x 44
                    // grid with room for the rest of the token.
                    int column = t.orientation == 0 ? (t.x - level.shiftX - 20) / 20 : (t.x - level.shiftX - 40) / 20;
                    int row = t.orientation == 0 ? (t.y - level.shiftY) / 50 - 1 : (t.y - level.shiftY - 25) / 25;
                    EXPECT_GE(column, 0);
                    EXPECT_LE(column, t.orientation == 0 ? 42 : 40);
                    EXPECT_GE(row, 0);
                    EXPECT_LT(row, 20);
                    uprightTiles += t.orientation == 0;
                }
            }
            EXPECT_EQ(tiles, plan.tiles.size());
            EXPECT_EQ(level.types, plan.types);
            EXPECT_TRUE(level.hasMusic);
            EXPECT_TRUE(level.hasCardsInDeck);
            EXPECT_EQ(level.cardsInDeck, plan.cardsInDeck);
        }
    }
    EXPECT_EQ(uprightTiles > 0, kCampaignUprights);
}

TEST(UprightTilesTest, StandFreeAndReadBackUpright)
{
    fs::path dir = fs::temp_directory_path() / "korvelt-upright-test";
    fs::create_directories(dir);
    int levelsWithUprights = 0;
    for (int mode : {kDragMode, kClickMode}) {
        for (int n = 26; n <= CampaignLength(mode); ++n) {
            LevelParams params = TunedParams(mode, n);
            params.uprights = 1;
            LevelPlan p;
            std::string error;
            ASSERT_TRUE(DesignLevel(mode, n, params, p, error)) << error;
            if (p.uprights == 0)
                continue;
            ++levelsWithUprights;
            for (const PlannedTile& u : p.tiles) {
                if (!u.upright)
                    continue;
                EXPECT_EQ(u.at.hy % 2, 1) << "an upright token sits on an odd half-row";
                int ur[4];
                p.DrawnRect(u, ur);
                for (const PlannedTile& t : p.tiles) {
                    if (&t == &u)
                        continue;
                    int tr[4];
                    p.DrawnRect(t, tr);
                    bool apart = ur[0] + ur[2] <= tr[0] || tr[0] + tr[2] <= ur[0] || ur[1] + ur[3] <= tr[1] ||
                                 tr[1] + tr[3] <= ur[1];
                    EXPECT_TRUE(apart) << "level " << n;
                    EXPECT_FALSE(ReachesOver(p, t, u) || ReachesOver(p, u, t)) << "level " << n;
                }
            }
            EXPECT_TRUE(ClearableIgnoringValues(p));
            std::string path = (dir / "Upright.xml").string();
            ASSERT_TRUE(WriteLevelPlan(p, path, error)) << error;
            LevelFile back;
            ASSERT_TRUE(back.Read(path));
            std::multiset<std::pair<int, int>> planned, read;
            for (const PlannedTile& t : p.tiles) {
                int x, y;
                p.Centre(t, x, y);
                if (t.upright)
                    planned.insert({x, y});
            }
            for (const auto& layer : back.layers) {
                for (const LevelTile& t : layer) {
                    if (t.orientation == 0)
                        read.insert({t.x, t.y});
                }
            }
            EXPECT_EQ(read, planned) << "level " << n;
        }
    }
    fs::remove_all(dir);
    EXPECT_GE(levelsWithUprights, 10);
}

TEST_F(CampaignFilesTest, WritingIsDeterministic)
{
    ASSERT_TRUE(ok);
    fs::path again = *dir / "again";
    std::string error;
    ASSERT_TRUE(WriteCampaign(again.string(), error)) << error;
    auto read = [](const std::string& p) {
        std::ifstream f(p, std::ios::binary);
        std::stringstream ss;
        ss << f.rdbuf();
        return ss.str();
    };
    for (int mode : {kDragMode, kClickMode}) {
        for (int n = 1; n <= CampaignLength(mode); ++n) {
            std::string name = "Level" + std::to_string(n) + ".xml";
            EXPECT_EQ(read(Path(mode, n)), read((again / "levels" / LevelFolder(mode) / name).string())) << name;
        }
    }
}

namespace {

// A written level as the game reads it, with its layout text for each of
// the four turns (as is, mirrored, upside down, both): tile centres and
// layers, moved so the smallest centre is at (0, 0).
struct ShippedLevel {
    LevelFile file;
    int tiles = 0, locks = 0, lockTypes = 0;
    std::string TurnedKey() const
    {
        std::string best;
        for (int sx : {1, -1}) {
            for (int sy : {1, -1}) {
                std::vector<std::tuple<int, int, int, int>> cells;
                int minX = 1 << 20, minY = 1 << 20;
                for (const auto& layer : file.layers) {
                    for (const LevelTile& t : layer) {
                        minX = std::min(minX, sx * t.x);
                        minY = std::min(minY, sy * t.y);
                    }
                }
                for (size_t l = 0; l < file.layers.size(); ++l) {
                    for (const LevelTile& t : file.layers[l])
                        cells.emplace_back(static_cast<int>(l), sx * t.x - minX, sy * t.y - minY, t.orientation);
                }
                std::sort(cells.begin(), cells.end());
                std::ostringstream key;
                for (const auto& [l, x, y, o] : cells)
                    key << l << ':' << x << ',' << y << ',' << o << ';';
                if (best.empty() || key.str() < best)
                    best = key.str();
            }
        }
        return best;
    }
};

} // namespace

TEST_F(CampaignFilesTest, LayoutsDifferAlsoMirroredOrUpsideDownAndTheFacesAndDecksFollowTheDesign)
{
    ASSERT_TRUE(ok);
    std::map<std::string, std::string> layouts;
    std::vector<std::pair<int, int>> tilesAndDeck;
    for (int mode : {kDragMode, kClickMode}) {
        std::vector<ShippedLevel> levels(CampaignLength(mode));
        for (int n = 1; n <= CampaignLength(mode); ++n) {
            SCOPED_TRACE(Path(mode, n));
            ShippedLevel& l = levels[n - 1];
            ASSERT_TRUE(l.file.Read(Path(mode, n)));
            std::set<int> lockTypes;
            for (const auto& layer : l.file.layers) {
                l.tiles += static_cast<int>(layer.size());
                for (const LevelTile& t : layer) {
                    if (t.lockType >= 0) {
                        ++l.locks;
                        lockTypes.insert(t.lockType);
                    }
                }
            }
            l.lockTypes = static_cast<int>(lockTypes.size());
            auto [it, fresh] = layouts.emplace(l.TurnedKey(), Path(mode, n));
            EXPECT_TRUE(fresh) << "the same layout as " << it->second << ", perhaps turned";
            tilesAndDeck.emplace_back(l.tiles, l.file.cardsInDeck);
        }
        // The faces come a few at a time: three on the first level, at most
        // four more on each of the next four.
        EXPECT_EQ(levels[0].file.types.size(), 3u);
        for (int n = 1; n < 5; ++n) {
            int step = static_cast<int>(levels[n].file.types.size()) - static_cast<int>(levels[n - 1].file.types.size());
            EXPECT_GE(step, 0) << "level " << n + 1;
            EXPECT_LE(step, 4) << "level " << n + 1;
        }
        // The last level is the climax of its stage: the most tiles, and
        // no fewer locks or lock types than any other level there.
        const ShippedLevel& last = levels.back();
        for (size_t i = levels.size() - 5; i + 1 < levels.size(); ++i) {
            EXPECT_GT(last.tiles, levels[i].tiles) << "level " << i + 1;
            EXPECT_GE(last.locks, levels[i].locks) << "level " << i + 1;
            EXPECT_GE(last.lockTypes, levels[i].lockTypes) << "level " << i + 1;
        }
    }
    EXPECT_EQ(layouts.size(), 110u);
    // One rule sizes every deck: a larger layout never has a smaller deck,
    // and no deck is far from the rest (4 to 7 tiles).
    std::sort(tilesAndDeck.begin(), tilesAndDeck.end());
    for (size_t i = 0; i < tilesAndDeck.size(); ++i) {
        EXPECT_GE(tilesAndDeck[i].second, 4);
        EXPECT_LE(tilesAndDeck[i].second, 7);
        if (i > 0) {
            EXPECT_GE(tilesAndDeck[i].second, tilesAndDeck[i - 1].second) << tilesAndDeck[i].first << " tiles";
        }
    }
}

TEST_F(CampaignFilesTest, EveryLevelIsPlayedToTheEnd)
{
    ASSERT_TRUE(ok);
    for (int mode : {kDragMode, kClickMode}) {
        for (int n = 1; n <= CampaignLength(mode); ++n) {
            LevelStats s = PlayLevelFile(Path(mode, n), mode, n, 2, 7);
            EXPECT_EQ(s.deals, 2);
            EXPECT_EQ(s.stuck, 0) << "the player got stuck in " << Path(mode, n);
            EXPECT_GT(s.meanScore, 0) << Path(mode, n);
        }
    }
}

TEST(LevelCheckTest, TargetsMeetTheCampaignBounds)
{
    for (int mode : {kDragMode, kClickMode}) {
        EXPECT_GE(TargetWinRate(mode, 1), kFirstLevelMinimum);
        double previous = 2;
        int stages = CampaignLength(mode) / 5;
        for (int s = 0; s < stages; ++s) {
            double sum = 0;
            for (int k = 1; k <= 5; ++k) {
                double t = TargetWinRate(mode, 5 * s + k);
                EXPECT_GE(t, kLevelMinimum + 0.05) << "too little room above the bound";
                sum += t;
            }
            EXPECT_LT(sum / 5, previous - 0.03) << "stage " << s + 1;
            previous = sum / 5;
        }
    }
}

TEST(LevelCheckTest, BrokenBoundsAreReported)
{
    auto level = [](int mode, int number, int won) {
        CheckedLevel l;
        l.plan.mode = mode;
        l.plan.number = number;
        l.plan.stage = (number - 1) / 5;
        l.stats.deals = 100;
        l.stats.won = won;
        return l;
    };
    std::vector<CheckedLevel> levels;
    for (int n = 1; n <= 10; ++n)
        levels.push_back(level(kDragMode, n, n <= 5 ? 96 : 80));
    std::vector<std::string> problems;
    EXPECT_TRUE(CampaignMeetsBounds(levels, problems));
    EXPECT_TRUE(problems.empty());

    // Level 1 at 94 %.
    levels[0].stats.won = 94;
    EXPECT_FALSE(CampaignMeetsBounds(levels, problems));
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("level 1"), std::string::npos);
    levels[0].stats.won = 96;

    // One level at 29 %.
    problems.clear();
    levels[7].stats.won = 29;
    EXPECT_FALSE(CampaignMeetsBounds(levels, problems));
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("level 8"), std::string::npos);
    levels[7].stats.won = 80;

    // A later stage exactly as easy as the one before.
    problems.clear();
    for (int i = 5; i < 10; ++i)
        levels[i].stats.won = 96;
    EXPECT_FALSE(CampaignMeetsBounds(levels, problems));
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("stage 2"), std::string::npos);

    // A first stage nobody loses.
    problems.clear();
    for (int i = 0; i < 10; ++i)
        levels[i].stats.won = i < 5 ? 99 : 80;
    EXPECT_FALSE(CampaignMeetsBounds(levels, problems));
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("stage 1"), std::string::npos);

    // Sound on the tuning seeds, but on fresh ones stage 2 beats stage 1.
    problems.clear();
    for (int i = 0; i < 10; ++i) {
        levels[i].stats.won = i < 5 ? 96 : 80;
        levels[i].fresh.deals = 100;
        levels[i].fresh.won = i == 0 ? 96 : i < 5 ? 85 : 88;
    }
    EXPECT_FALSE(CampaignMeetsBounds(levels, problems));
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("stage 2"), std::string::npos);
    EXPECT_NE(problems[0].find("fresh"), std::string::npos);

    // A last level easier than another of its stage.
    problems.clear();
    std::vector<CheckedLevel> last;
    for (int n = 1; n <= 50; ++n)
        last.push_back(level(kDragMode, n, 96 - 5 * ((n - 1) / 5) - (n - 1) % 5));
    EXPECT_TRUE(CampaignMeetsBounds(last, problems));
    last[47].stats.won = 40;
    EXPECT_FALSE(CampaignMeetsBounds(last, problems));
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("level 50"), std::string::npos);
    EXPECT_NE(problems[0].find("level 48"), std::string::npos);
}

TEST(LevelCheckTest, LevelTableListsEveryLevelAndStage)
{
    std::vector<CheckedLevel> levels;
    for (int n = 1; n <= 10; ++n) {
        CheckedLevel l;
        std::string error;
        ASSERT_TRUE(DesignLevel(kClickMode, n, TunedParams(kClickMode, n), l.plan, error)) << error;
        l.stats.deals = 10;
        l.stats.won = 10 - n / 5;
        l.stats.meanScore = 1000 + n;
        levels.push_back(l);
    }
    std::string table = FormatLevelTable(levels, 10);
    EXPECT_NE(table.find("| click | 1 | 1 | fish | 25 | 1 |"), std::string::npos) << table;
    EXPECT_NE(table.find("| 1010 |"), std::string::npos);
    EXPECT_NE(table.find("| 2 | 6-10 | 88.0 % |"), std::string::npos) << table;
    EXPECT_NE(table.find("All bounds hold."), std::string::npos);
    EXPECT_EQ(table.find("Drag mode"), std::string::npos);

    std::string tuning = FormatTuning(levels);
    EXPECT_NE(tuning.find("{2, 10, " + std::to_string(levels[9].params.typeCount) + ", " +
                          std::to_string(levels[9].plan.layerCount) + "},"),
              std::string::npos);
}

} // namespace
} // namespace Zorvin::AssetGen

namespace Zorvin::AssetGen {
namespace {

TEST(LevelDesignerTest, RefusesLevelsOutsideTheCampaignAndUnwritablePaths)
{
    LevelPlan plan;
    std::string error;
    EXPECT_FALSE(DesignLevel(kDragMode, 0, {}, plan, error));
    EXPECT_FALSE(DesignLevel(kDragMode, 51, {}, plan, error));
    EXPECT_FALSE(DesignLevel(kClickMode, 61, {}, plan, error));
    EXPECT_TRUE(DesignLevel(kClickMode, 60, {}, plan, error)) << error;

    ASSERT_TRUE(DesignLevel(kDragMode, 1, {}, plan, error)) << error;
    error.clear();
    EXPECT_FALSE(WriteLevelPlan(plan, "/nonexistent-folder/Level1.xml", error));
    EXPECT_FALSE(error.empty());
}

TEST(LevelDesignerTest, LayersAreCappedByTheTileLimit)
{
    // A wide figure stacked five high would pass 140 tiles: top layers go.
    for (int mode : {kDragMode, kClickMode}) {
        for (int n = 1; n <= CampaignLength(mode); ++n) {
            LevelParams params = TunedParams(mode, n);
            params.layers = 5;
            LevelPlan p;
            std::string error;
            ASSERT_TRUE(DesignLevel(mode, n, params, p, error)) << error;
            EXPECT_LE(p.tiles.size(), 140u);
            EXPECT_LE(p.layerCount, 5);
            EXPECT_GE(p.layerCount, 1);
            // Every layer above the bottom stands on the one below.
            std::vector<int> perLayer(p.layerCount, 0);
            for (const PlannedTile& t : p.tiles)
                ++perLayer[t.layer];
            for (int l = 0; l < p.layerCount; ++l)
                EXPECT_GT(perLayer[l], 0) << "empty layer " << l << " in level " << n;
        }
    }
    // Asking for more values than there are faces keeps them distinct.
    LevelPlan p;
    std::string error;
    ASSERT_TRUE(DesignLevel(kDragMode, 50, {40, 0}, p, error)) << error;
    std::set<int> distinct(p.types.begin(), p.types.end());
    EXPECT_EQ(distinct.size(), p.types.size());
    EXPECT_LE(p.types.size(), 26u);
}

TEST(LevelCheckTest, TunerStaysWithinItsBands)
{
    fs::path scratch = fs::temp_directory_path() / "korvelt-tune-test";
    fs::create_directories(scratch);
    // An opening level keeps its faces; the first level after the opening
    // is searched, within the band of values.
    CheckedLevel out;
    std::string error;
    ASSERT_TRUE(TuneLevel(kDragMode, 3, 6, scratch.string(), out, error)) << error;
    EXPECT_EQ(out.params.typeCount, kOpeningFaces[2]);
    ASSERT_TRUE(TuneLevel(kDragMode, 6, 6, scratch.string(), out, error, {}, 4)) << error;
    EXPECT_EQ(out.stats.deals, 6);
    EXPECT_EQ(out.fresh.deals, 4);
    EXPECT_EQ(out.noReshuffle.deals, 4);
    EXPECT_EQ(out.plan.cardsInDeck, DeckSize(static_cast<int>(out.plan.tiles.size())));
    EXPECT_LE(out.plan.layerCount, 2);
    EXPECT_GE(out.params.typeCount, 8);
    // Never more than 24 of the 26 faces.
    EXPECT_LE(out.params.typeCount, 24);
    EXPECT_EQ(static_cast<int>(out.plan.types.size()), out.params.typeCount);
    // The trial files are cleaned up.
    EXPECT_TRUE(fs::is_empty(scratch));
    fs::remove_all(scratch);
}

} // namespace
} // namespace Zorvin::AssetGen
