#include "game/app/profiles/HighScoreTable.h"

#include <algorithm>

#include "game/app/profiles/PlayerName.h"
#include "game/app/profiles/ProfileBuffer.h"

namespace Zorvin {

namespace {

// Far more than the game ever writes; a bigger file is read only this far
// (its whole records are kept), so a hostile file cannot fill the memory.
constexpr size_t kMaxFileSize = 4u << 20;

const HighScoreEntry kDefaults[HighScoreTable::Rows] = {
    {"Zeus", 100000}, {"Aphrodite", 50000}, {"Poseidon", 25000}, {"Apollo", 20000}, {"Anteus", 10000},
    {"Hermes", 5000}, {"Demeter", 4000},    {"Dionisus", 3000},  {"Artemis", 2000}, {"Ares", 1000},
};

bool Better(const HighScoreEntry& a, const HighScoreEntry& b) { return a.score > b.score; }

// Rows from the file first, then the default rows they lack, best first;
// stable, so a row from the file stays above a default with the same score.
void Complete(std::vector<HighScoreEntry>& table)
{
    for (size_t r = table.size(); r < static_cast<size_t>(HighScoreTable::Rows); ++r)
        table.push_back(kDefaults[r]);
    std::stable_sort(table.begin(), table.end(), Better);
}

// What the game never writes: a negative score, a name longer than the
// name field holds. Brought into range; true when anything changed.
bool Repair(HighScoreEntry& e)
{
    bool changed = false;
    if (e.score < 0) {
        e.score = 0;
        changed = true;
    }
    if (e.name.size() > static_cast<size_t>(PlayerName::MaxLength)) {
        e.name.resize(PlayerName::MaxLength);
        changed = true;
    }
    return changed;
}

} // namespace

HighScoreTable::HighScoreTable(std::string dataFolder) : file(std::move(dataFolder), "highscores.dat")
{
    SetDefaultHighScores();
}

void HighScoreTable::SetDefaultHighScores()
{
    highScoresMode0.assign(std::begin(kDefaults), std::end(kDefaults));
    highScoresMode2.assign(std::begin(kDefaults), std::end(kDefaults));
}

std::string HighScoreTable::Encode() const
{
    ProfileBuffer b;
    for (size_t r = 0; r < static_cast<size_t>(Rows); ++r) {
        b.WriteString(highScoresMode2[r].name);
        b.WriteString(highScoresMode0[r].name);
        b.WriteInt32(highScoresMode2[r].score);
        b.WriteInt32(highScoresMode0[r].score);
    }
    return b.Bytes();
}

void HighScoreTable::Decode(const std::string& bytes, bool* repaired)
{
    highScoresMode0.clear();
    highScoresMode2.clear();
    bool damaged = false;
    ProfileBuffer b(bytes);
    while (!b.AtEnd() && highScoresMode0.size() < static_cast<size_t>(Rows)) {
        HighScoreEntry e2, e0;
        int32_t s2 = 0, s0 = 0;
        if (!b.ReadString(e2.name) || !b.ReadString(e0.name) || !b.ReadInt32(s2) || !b.ReadInt32(s0))
            break; // a cut-off row
        e2.score = s2;
        e0.score = s0;
        damaged |= Repair(e2);
        damaged |= Repair(e0);
        highScoresMode2.push_back(std::move(e2));
        highScoresMode0.push_back(std::move(e0));
    }
    // The game writes exactly ten rows, best first, and nothing after them.
    damaged |= !b.AtEnd() || highScoresMode0.size() != static_cast<size_t>(Rows);
    for (auto* table : {&highScoresMode0, &highScoresMode2}) {
        damaged |= !std::is_sorted(table->begin(), table->end(), Better);
        Complete(*table);
    }
    if (repaired)
        *repaired = damaged;
}

void HighScoreTable::LoadHighScores()
{
    std::string bytes;
    if (!file.Read(bytes, kMaxFileSize))
        return;
    bool repaired = false;
    Decode(bytes, &repaired);
    if (repaired && file.SetAsideDamaged())
        SaveHighScores();
}

bool HighScoreTable::SaveHighScores() { return file.Write(Encode()); }

bool HighScoreTable::RetryPendingWrite() { return !file.WritePending() || SaveHighScores(); }

bool HighScoreTable::Qualifies(int mode, int score) const { return score >= TableFor(mode).back().score; }

int HighScoreTable::Insert(int mode, const std::string& name, int score)
{
    if (!Qualifies(mode, score))
        return -1;
    std::vector<HighScoreEntry>& t = TableFor(mode);
    // Scan upward from the last row for the first better score; the new
    // entry goes right below it, so it sits above every equal score.
    int row = 0;
    if (score <= t.front().score) {
        for (int r = Rows - 1; r >= 0; --r) {
            if (t[static_cast<size_t>(r)].score > score) {
                row = r + 1;
                break;
            }
        }
    }
    t.insert(t.begin() + row, HighScoreEntry{name, score});
    t.resize(Rows);
    return row;
}

} // namespace Zorvin
