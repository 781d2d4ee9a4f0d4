// Saved games: the file's bytes, what a restore rebuilds, damaged files, and
// a game played on after a restore ending exactly as if it had never left.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "framework/core/Cp1251.h"
#include "game/app/saves/SavedGame.h"
#include "game/board/headless/AutoPlayer.h"
#include "tests/board/BoardFixture.h"

namespace Zorvin {
namespace {

std::string Hex(const std::string& bytes)
{
    static const char kDigits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += kDigits[c >> 4];
        out += kDigits[c & 15];
    }
    return out;
}

std::string TempPath(const std::string& name)
{
    return (std::filesystem::temp_directory_path() / ("savedgame_" + std::to_string(::getpid()) + "_" + name))
        .string();
}

class SavedGameTest : public BoardFixture {};

// A win waits to be settled, the tiles still in play (kept for the check
// that a refused restore leaves them).
void MakeWinPending(FishField& field)
{
    std::vector<Layer> kept = std::move(field.layers);
    field.layers.clear();
    field.RecountFish();
    field.CheckEnd();
    field.layers = std::move(kept);
    field.RecountFish();
}

// Saved games name their level relative to the game's folder; the tests play
// from the test data folder the same way.
class InTestData {
public:
    InTestData() : old(std::filesystem::current_path()) { std::filesystem::current_path(KORVELT_TEST_DATA); }
    ~InTestData() { std::filesystem::current_path(old); }

private:
    std::filesystem::path old;
};
const char* const kLevel = "levels/tricky-formatting.xml";

// A small hand-made game: a lying tile with a lock, an upright tile with a
// key, a tile of layer 1 bouncing back from an undo, a line whose right end
// was turned by half a turn, a joker in the deck and a tile on a place.
TEST_F(SavedGameTest, FileHoldsEveryTileAsItWillRestAndRestoresItLying)
{
    F().mode = PlayMode::Drag;
    F().level.path = "lv.xml";
    F().TakeCounters(140, F().ShufflesLeft());
    F().TakeCounters(F().Score(), 3);
    DominoFish* a = Add(0, 100, 200);
    SetValues(a, 3, 4);
    a->lockType = 1;
    a->style = 2;
    DominoFish* b = Add(0, 300, 200, 0);
    SetValues(b, 5, 6);
    b->itemType = 0;
    DominoFish* c = Add(1, 200, 150);
    SetValues(c, 7, 8);
    // Undo sends a tile 5 right of and 5 above its place and bounces it home.
    c->GlideTo(1, nullptr, 205, 145, 30);
    c->bounceOnArrival = true;
    c->Update();
    Line().ResetLine(1, 2);
    Line().First()->SetPosition(358, 565);
    Line().Last()->SetPosition(440, 565);
    Line().Last()->valueA = 9;
    Line().Last()->SetOrientation(1); // shows 2 on the left, 9 on the right
    D().placeCount = 2;
    D().Fill(0);
    D().fish.push_back(std::make_unique<DominoFish>(45, 565, 3, 0, &F()));
    D().fish.back()->MakeJoker(true);
    D().fish.back()->valueA = 7; // the joker flag decides, not the halves
    D().places[1].push_back(std::make_unique<DominoFish>(52, 417, 3, 0, &F()));
    SetValues(D().places[1].back().get(), 10, 11);

    std::string path = TempPath("small.sav");
    ASSERT_TRUE(SaveGame(F(), path));
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::filesystem::remove(path);
    EXPECT_EQ(bytes, FormatSavedGame(F()));
    // Header; two layers of 2 and 1 tiles; line ends; deck 2 redeals, 2
    // places, 1 tile; 2 places of 0 and 1 tiles.
    EXPECT_EQ(Hex(bytes),
              "00000000" "0600" "6c762e786d6c" "03000000" "8c000000" "03000000" "00000000" "02000000"
              "02000000"
              "01000000ffffffff3c000000af000000" "64000000c800000002000000" "030000000400000000000000" "00"
              "ffffffff0000000004010000af000000" "2c010000c800000000000000" "050000000600000000000000" "00"
              "01000000"
              "ffffffffffffffffa700000076000000" "c80000009600000000000000" "070000000800000001000000" "00"
              "ffffffffffffffff3e0100001c020000" "660100003502000000000000" "010000000100000000000000" "00"
              "ffffffffffffffff900100001c020000" "b80100003502000000000000" "020000000900000000000000" "00"
              "02000000" "02000000" "01000000"
              "ffffffffffffffff050000001c020000" "2d0000003502000000000000" "070000006400000000000000" "01"
              "02000000" "00000000" "01000000"
              "ffffffffffffffff0c00000088010000" "34000000a101000000000000" "0a0000000b00000000000000" "00");
    EXPECT_EQ(bytes.size(), 4u + 8 + 5 * 4 + 4 + 4 + 3 * kSavedTileBytes + 2 * kSavedTileBytes + 12 +
                                kSavedTileBytes + 4 + 4 + 4 + kSavedTileBytes);

    FakeBoardHost host2;
    host2.profile.levelMode0 = 4;
    BoardRules rules2(host2);
    ASSERT_TRUE(RestoreGameFromBytes(*rules2.field, bytes));
    FishField& f2 = *rules2.field;
    EXPECT_EQ(f2.level.number, 4);
    EXPECT_EQ(f2.Score(), 140);
    EXPECT_EQ(f2.FishCount(), 3);
    EXPECT_TRUE(host2.reshuffleEnabled);
    EXPECT_EQ(host2.reshuffleLabel, W("Тасовок 3"));
    EXPECT_FALSE(host2.undoEnabled);
    ASSERT_EQ(f2.layers.size(), 2u);
    const DominoFish& c2 = *f2.layers[1][0];
    EXPECT_EQ(c2.x, 200);
    EXPECT_EQ(c2.y, 150);
    const DominoFish& b2 = *f2.layers[0][1];
    EXPECT_EQ(b2.orientation, 3);
    EXPECT_EQ(b2.width, 80);
    EXPECT_EQ(b2.itemType, 0);
    EXPECT_EQ(f2.layers[0][0]->lockType, 1);
    EXPECT_EQ(rules2.playLine->LeftEnd(), 1);
    EXPECT_EQ(rules2.playLine->RightEnd(), 9);
    EXPECT_EQ(rules2.playLine->Last()->LeftValue(), 2);
    ASSERT_EQ(rules2.deck->fish.size(), 1u);
    EXPECT_EQ(rules2.deck->fish[0]->valueA, 100);
    EXPECT_EQ(rules2.deck->fish[0]->valueB, 100);
    ASSERT_EQ(rules2.deck->places.size(), 2u);
    EXPECT_TRUE(rules2.deck->places[1][0]->open);
    host2.onUpdate = [&] { rules2.Update(); };
    host2.Ticks(60);
    EXPECT_EQ(rules2.playLine->First()->x, 358);
    EXPECT_EQ(rules2.playLine->Last()->x, 440);
    EXPECT_EQ(c2.left, 200 + 7 - 40);
}

// A started level, part played, saved: the bytes every damage test starts from.
class DamagedSaveTest : public BoardFixture {};

TEST_F(DamagedSaveTest, ShortOrInconsistentFilesAreRefusedAndLeaveTheFieldReset)
{
    host.profile.levelMode0 = 2;
    F().mode = PlayMode::Drag;
    F().level.number = 2;
    InTestData here;
    rules.StartLevelFile(kLevel);
    const std::string good = FormatSavedGame(F());
    SavedGameData parsed;
    ASSERT_TRUE(ReadSavedGame(good, parsed));
    int tiles = F().FishCount();

    auto refused = [&](const std::string& bytes) {
        MakeWinPending(F());
        EXPECT_TRUE(F().Won());
        F().AddPopup(Popup(nullptr, -1, 0.0f, 0.0f, 0.0f, 0.0f));
        bool restored = RestoreGameFromBytes(F(), bytes);
        // The reset happens, the tiles in play stay.
        EXPECT_FALSE(F().Won());
        EXPECT_TRUE(F().Popups().empty());
        EXPECT_EQ(F().FishCount(), tiles);
        return !restored;
    };
    for (size_t n = 0; n < good.size(); ++n)
        ASSERT_TRUE(refused(good.substr(0, n))) << "cut at " << n;
    EXPECT_TRUE(refused(good + '\0'));

    const size_t layerCountAt = 4 + 2 + parsed.levelPath.size() + 16;
    auto patched = [&](size_t at, int32_t v) {
        std::string s = good;
        for (int i = 0; i < 4; ++i)
            s[at + i] = static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF);
        return s;
    };
    EXPECT_TRUE(refused(patched(0, 1)));                       // the editor's mode
    // Level paths that lead out of the game's folder, to a device that
    // would hang the reader.
    for (std::string path : {"/dev/zero", "levels/../../../../../../dev/zero", "..\\..\\x.xml", ""}) {
        std::string s = good.substr(0, 4) + char(path.size()) + '\0' + path + good.substr(6 + parsed.levelPath.size());
        EXPECT_TRUE(refused(s)) << path;
    }
    EXPECT_TRUE(refused(patched(layerCountAt, -1)));           // negative layer count
    EXPECT_TRUE(refused(patched(layerCountAt, 0x7FFFFFFF)));   // absurd layer count
    EXPECT_TRUE(refused(patched(layerCountAt + 4, 1 << 28)));  // more tiles than bytes
    EXPECT_TRUE(refused(patched(layerCountAt + 8 + 28, 26)));  // a value with no picture
    EXPECT_TRUE(refused(patched(layerCountAt + 8 + 24, 4)));   // a style with no picture
    EXPECT_TRUE(refused(patched(layerCountAt + 8, 3)));        // a lock type with no picture
    EXPECT_TRUE(refused(patched(good.size() - 4, 5)));         // the last, empty place claims 5 tiles
    // The untouched file restores, and a restored game saves and restores
    // to the same bytes again.
    ASSERT_TRUE(RestoreGameFromBytes(F(), good));
    EXPECT_EQ(F().FishCount(), tiles);
    std::string again = FormatSavedGame(F());
    ASSERT_TRUE(RestoreGameFromBytes(F(), again));
    EXPECT_EQ(FormatSavedGame(F()), again);
}

// Two boards on the same level: one played part way, saved, and played on;
// the other restored from the save and played on with the same random
// numbers. Both must end the same way.
struct Game {
    Game()
    {
        host.onUpdate = [this] { rules.Update(); };
        host.profile.levelMode0 = host.profile.levelMode2 = 2;
    }
    HeadlessHost host;
    BoardRules rules{host};
    FishField& field = *rules.field;
};

void ExpectSameTile(const DominoFish& saved, const DominoFish& restored, const std::string& where)
{
    SCOPED_TRACE(where);
    EXPECT_EQ(restored.orientation, 3);
    EXPECT_EQ(restored.x, saved.x);
    EXPECT_EQ(restored.y, saved.y);
    EXPECT_EQ(restored.lockType, saved.lockType);
    EXPECT_EQ(restored.itemType, saved.itemType);
    EXPECT_EQ(restored.style, saved.style);
    EXPECT_EQ(restored.layer, saved.layer);
    EXPECT_EQ(restored.joker, saved.joker);
    EXPECT_EQ(restored.LeftValue(), saved.LeftValue());
    EXPECT_EQ(restored.RightValue(), saved.RightValue());
    EXPECT_EQ(restored.open, saved.open);
}

// What a save does not keep and a restore starts afresh: the combo meter,
// bonus glitter, the bonus and hint counters, the pointer's tile.
void ForgetWhatASaveDoesNotKeep(Game& g)
{
    auto plain = [](DominoFish& f) {
        f.bonusType = 0;
        f.bonusLife = 0;
        f.sparkles.clear();
        f.hover = false;
    };
    for (Layer& l : g.field.layers)
        for (auto& f : l)
            plain(*f);
    for (auto& f : g.rules.deck->fish)
        plain(*f);
    for (Place& p : g.rules.deck->places)
        for (auto& f : p)
            plain(*f);
    g.rules.comboMeter->Reset();
    g.field.RestartCounters();
    g.field.ClearPopups();
    g.field.RecordMove(LastMove());
    g.field.drag.Forget();
    g.rules.deck->drag.Forget();
}

bool Settled(Game& g)
{
    for (Layer& l : g.field.layers)
        for (auto& f : l)
            if (f->IsGliding() || f->IsTurning())
                return false;
    return g.rules.playLine->AllSettled() && g.rules.deck->IsIdle();
}

TEST(SavedGameExactness, PlayingOnAfterARestoreEndsAsIfTheGameNeverLeft)
{
    InTestData here;
    for (PlayMode mode : {PlayMode::Drag, PlayMode::Click}) {
        SCOPED_TRACE(StoredMode(mode));
        Game played;
        played.field.mode = mode;
        played.field.level.number = 2;
        srand(31);
        played.rules.StartLevelFile(kLevel);
        int dealt = played.field.FishCount();
        AutoPlayer partWay(played.rules, played.host);
        partWay.updateLimit = mode == PlayMode::Drag ? 40 : 60;
        partWay.Play();
        for (int i = 0; i < 300 && !Settled(played); ++i)
            played.host.Tick();
        ASSERT_TRUE(Settled(played));
        ASSERT_LT(played.field.FishCount(), dealt - 3);
        ASSERT_GT(played.field.FishCount(), 3);
        ASSERT_FALSE(played.host.levelWon);

        std::string path = TempPath("exact" + std::to_string(StoredMode(mode)) + ".sav");
        ASSERT_TRUE(SaveGame(played.field, path));
        Game restored;
        restored.host.profile = played.host.profile;
        ASSERT_TRUE(RestoreGame(restored.field, path));
        std::filesystem::remove(path);
        restored.host.updates = played.host.updates;
        ForgetWhatASaveDoesNotKeep(played);
        played.field.RecomputeOpen();

        FishField& a = played.field;
        FishField& b = restored.field;
        EXPECT_EQ(b.mode, a.mode);
        EXPECT_EQ(b.level.path, a.level.path);
        EXPECT_EQ(b.FishCount(), a.FishCount());
        EXPECT_EQ(b.Score(), a.Score());
        EXPECT_EQ(b.ShufflesLeft(), a.ShufflesLeft());
        EXPECT_EQ(b.level.typeCount, a.level.typeCount);
        EXPECT_EQ(b.MovesAvailable(), a.MovesAvailable());
        ASSERT_EQ(b.layers.size(), a.layers.size());
        for (size_t l = 0; l < a.layers.size(); ++l) {
            ASSERT_EQ(b.layers[l].size(), a.layers[l].size());
            for (size_t i = 0; i < a.layers[l].size(); ++i) {
                ExpectSameTile(*a.layers[l][i], *b.layers[l][i], "layer " + std::to_string(l));
                EXPECT_EQ(b.layers[l][i]->playable, a.layers[l][i]->playable);
            }
        }
        EXPECT_EQ(restored.rules.playLine->LeftEnd(), played.rules.playLine->LeftEnd());
        EXPECT_EQ(restored.rules.playLine->RightEnd(), played.rules.playLine->RightEnd());
        EXPECT_EQ(restored.rules.playLine->RightPutValue(), played.rules.playLine->RightPutValue());
        Deck& da = *played.rules.deck;
        Deck& db = *restored.rules.deck;
        EXPECT_EQ(db.redealsLeft, da.redealsLeft);
        EXPECT_EQ(db.placeCount, da.placeCount);
        EXPECT_EQ(db.deckMoves, da.deckMoves);
        ASSERT_EQ(db.fish.size(), da.fish.size());
        for (size_t i = 0; i < da.fish.size(); ++i)
            ExpectSameTile(*da.fish[i], *db.fish[i], "deck");
        ASSERT_EQ(db.places.size(), da.places.size());
        for (size_t p = 0; p < da.places.size(); ++p) {
            ASSERT_EQ(db.places[p].size(), da.places[p].size());
            for (size_t i = 0; i < da.places[p].size(); ++i)
                ExpectSameTile(*da.places[p][i], *db.places[p][i], "place " + std::to_string(p));
        }

        // The restored line slides its ends into view; let both boards run
        // as long on the same random numbers, then finish both.
        for (Game* g : {&played, &restored}) {
            srand(77);
            for (int i = 0; i < 61; ++i)
                g->host.Tick();
        }
        AutoPlayResult ra, rb;
        srand(5);
        ra = AutoPlayer(played.rules, played.host).Play();
        srand(5);
        rb = AutoPlayer(restored.rules, restored.host).Play();
        EXPECT_EQ(rb.won, ra.won);
        EXPECT_EQ(rb.score, ra.score);
        EXPECT_EQ(rb.moves, ra.moves);
        EXPECT_EQ(rb.updates, ra.updates);
        EXPECT_EQ(rb.reshuffles, ra.reshuffles);
        EXPECT_EQ(b.FishCount(), a.FishCount());
        EXPECT_GT(ra.moves, 3);
    }
}

} // namespace
} // namespace Zorvin
