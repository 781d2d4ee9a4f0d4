#pragma once

// PlayerList: the player profiles (at most nine through the dialogs), the
// index of the current one and the players file "players.dat" in the data
// folder. The application owns one and delegates to it; the change-player
// dialog calls the list operations. The file is the format mark 1000, the
// current index, then one record per profile until the end of the file.
//
// A player's file is never lost. One that cannot be read is never written
// over in this run. A damaged one (a wrong mark, a cut-off record, bytes
// past the ninth profile, a number outside its range, an index naming no
// profile) keeps every whole record, with its numbers brought into range;
// a numbered copy of the original is set aside ("players.dat.bad",
// ".bad2", ...) before the repaired list replaces it, and if no copy can be
// made the file is left alone. A failed write keeps the list in memory and
// is tried again at the next save or RetryPendingWrite. Each of these
// reaches the player through FileNotices.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "game/app/profiles/PlayerFile.h"
#include "game/shared/PlayerProfile.h"

namespace Zorvin {

class SavedGameHooks;

class PlayerList {
public:
    static constexpr int MaxPlayers = 9;
    static constexpr int32_t FormatMark = 1000;

    explicit PlayerList(std::string dataFolder = {}) : folder(dataFolder), file(std::move(dataFolder), "players.dat")
    {
    }

    // Who moves and deletes saved games with their players (not owned; may
    // be null, then no files are touched).
    void SetSavedGames(SavedGameHooks* files) { savedGames = files; }
    // Who carries the players' statistics along the same way (not owned;
    // may be null).
    void SetStatistics(SavedGameHooks* figures) { statistics = figures; }
    // Where the players file is read and written (not owned); the disk by
    // default, the application's demo-aware files in the game.
    void SetFileAccess(FileAccess& access) { file.SetFileAccess(access); }
    const std::string& Folder() const { return folder; }
    std::string FilePath() const { return file.Path(); }

    // Where the player is told about unreadable, damaged or unwritten files
    // (not owned; may be null).
    void SetNotices(FileNotices* sink) { file.SetNotices(sink); }

    // Reads the file into an empty list. A missing or unreadable file leaves
    // no players and no current one; a damaged one is set aside and
    // replaced by what could be kept of it.
    void LoadPlayers();
    // Writes the whole file atomically; on failure the old file stays, the
    // reason goes to standard error and the player's notices, and false
    // comes back. Refused for a file this run could not read or set aside.
    bool SavePlayers();
    // Writes again after a failed write; true when nothing is left unwritten.
    bool RetryPendingWrite();
    bool WritePending() const { return file.WritePending(); }

    // The file's bytes for the list as it is, and the reverse. Decode is
    // false only for a wrong or missing mark; `repaired` tells whether the
    // bytes were anything but what Encode writes (see above).
    std::string Encode() const;
    bool Decode(const std::string& bytes, bool* repaired = nullptr);

    PlayerProfile* CurrentProfile();
    bool PlayerNameExists(const std::string& name) const;
    // Appends a profile with the defaults and this name.
    PlayerProfile& AddPlayer(const std::string& name);
    // Gives profile index a new name and moves its saved games; false (and
    // nothing changes) when the index is wrong or the name is taken.
    bool RenamePlayer(int index, const std::string& newName);
    // Removes profile index with its saved games; a current index at or
    // after it moves down by one.
    bool DeletePlayer(int index);

    int Count() const { return static_cast<int>(profiles.size()); }
    PlayerProfile& At(int index) { return *profiles[static_cast<size_t>(index)]; }
    const PlayerProfile& At(int index) const { return *profiles[static_cast<size_t>(index)]; }

    // Index into the list, or -1 for none.
    int currentPlayer = -1;
    std::vector<std::unique_ptr<PlayerProfile>> profiles;

private:
    std::string folder;
    PlayerFile file;
    SavedGameHooks* savedGames = nullptr;
    SavedGameHooks* statistics = nullptr;
};

} // namespace Zorvin
