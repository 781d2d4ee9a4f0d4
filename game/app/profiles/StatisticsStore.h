#pragma once

// StatisticsStore: every player's statistics (PlayerStatistics, by player
// name) and their file "stats.dat" in the data folder, beside the players
// file. The application owns one, records each ended level of the current
// player into it and writes it; the player list tells it when a player is
// renamed or deleted, and the statistics go along, as the saved games do.
//
// The file, every number little-endian, strings as in the players file
// (an int16 length, then the bytes; names in Windows-1251):
//   4 bytes  "KVST"
//   int32    version, 1
//   int32    P, the number of players (at most kMaxPlayers)
//   P times: string name, then the drag-mode block, then the click-mode one
// A mode block (ModeStatistics):
//   int32    won, lost, total seconds, best combo (0-4), longest streak,
//            current streak
//   int32    the level left in a saved game (0 none), its seconds, best
//            combo, bonuses, moves
//   int32    L, the levels won at least once; L times, in rising order:
//            int32 level, best score, best stars (0-3), wins
// Nothing follows the last player.
//
// A file that cannot be read is never written over in this run; one that
// is damaged in any way (a wrong mark or version, cut off, a number out of
// range, a name or a level twice, bytes after the end) keeps a numbered
// copy of itself ("stats.dat.bad", ".bad2", ...) and the game goes on with
// empty statistics, written over it at once. A failed write keeps the
// figures in memory and is tried again. The player hears of each through
// FileNotices, as of the other player files.

#include <map>
#include <string>

#include "framework/core/FileAccess.h"
#include "game/app/profiles/PlayerFile.h"
#include "game/app/profiles/PlayerStatistics.h"
#include "game/app/profiles/SavedGameHooks.h"

namespace Zorvin {

class StatisticsStore : public SavedGameHooks {
public:
    static constexpr const char* kFileName = "stats.dat";
    static constexpr const char* kMagic = "KVST";
    static constexpr int32_t kVersion = 1;
    // Far more than the nine profiles the game keeps: names of players
    // lost with a damaged players file stay here with their figures.
    static constexpr int kMaxPlayers = 255;

    explicit StatisticsStore(std::string dataFolder = {});

    void SetFileAccess(FileAccess& access) { file.SetFileAccess(access); }
    void SetNotices(FileNotices* sink) { file.SetNotices(sink); }
    std::string FilePath() const { return file.Path(); }

    // Reads the file; missing, unreadable or damaged, the statistics start
    // empty (see above).
    void Load();
    // Writes the whole file atomically; false when it could not be (the
    // figures stay in memory) or this run must not replace it.
    bool Save();
    bool RetryPendingWrite() { return !file.WritePending() || Save(); }

    // The file's bytes, and the reverse; Decode is false, leaving the store
    // empty, for anything the game never writes.
    std::string Encode() const;
    bool Decode(const std::string& bytes);

    // The player's statistics, made empty for a name not seen before.
    PlayerStatistics& Of(const std::string& playerName) { return players[playerName]; }
    // Null for a name not seen before.
    const PlayerStatistics* Find(const std::string& playerName) const;
    int Count() const { return static_cast<int>(players.size()); }

    // The player list's calls: the statistics follow a renamed player
    // (replacing any kept under the new name) and go with a deleted one;
    // the file is written at once.
    void PlayerRenamed(const std::string& oldName, const std::string& newName) override;
    void PlayerDeleted(const std::string& name) override;

private:
    PlayerFile file;
    std::map<std::string, PlayerStatistics> players;
};

} // namespace Zorvin
