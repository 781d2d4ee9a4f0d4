#pragma once

// PlayerList: the player profiles (at most nine through the dialogs), the
// index of the current one and the players file "players.dat" in the data
// folder. The application owns one and delegates to it; the change-player
// dialog calls the list operations. The file is the format mark 1000, the
// current index, then one record per profile until the end of the file.
//
// A damaged file loses as little as possible: a file with a wrong mark is
// moved aside to "players.dat.bad" (never deleted), a cut-off last record is
// dropped while every whole record before it is kept, and a current index
// outside the list is brought back to a real profile (or none when the list
// is empty), so CurrentProfile never points past the list.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/core/FileAccess.h"
#include "game/shared/PlayerProfile.h"

namespace Zorvin {

class SavedGameHooks;

class PlayerList {
public:
    static constexpr int MaxPlayers = 9;
    static constexpr int32_t FormatMark = 1000;

    explicit PlayerList(std::string dataFolder = {}) : folder(std::move(dataFolder)) {}

    // Who moves and deletes saved games with their players (not owned; may
    // be null, then no files are touched).
    void SetSavedGames(SavedGameHooks* files) { savedGames = files; }
    // Where the players file is read and written (not owned); the disk by
    // default, the application's demo-aware files in the game.
    void SetFileAccess(FileAccess& access) { files = &access; }
    const std::string& Folder() const { return folder; }
    std::string FilePath() const { return folder + "players.dat"; }

    // Reads the file into an empty list. A missing or unreadable file leaves
    // no players and no current one.
    void LoadPlayers();
    // Writes the whole file atomically; on failure the old file stays, the
    // reason goes to standard error and false comes back.
    bool SavePlayers() const;

    // The file's bytes for the list as it is, and the reverse. Decode is
    // false only for a wrong or missing mark.
    std::string Encode() const;
    bool Decode(const std::string& bytes);

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
    SavedGameHooks* savedGames = nullptr;
    FileAccess* files = &FileAccess::Disk();
};

} // namespace Zorvin
