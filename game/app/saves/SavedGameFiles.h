#pragma once

// SavedGameFiles: where the saved games live and what happens to them at the
// points the game touches them: saving when a level is left through the
// in-game menu, offering and restoring from the main menu, deleting when the
// map is left, when a mode is completed or when a player is deleted, and
// moving when a player is renamed. Each player has at most one saved game
// per play mode, "saves/<name>1.sav" (click mode) and "saves/<name>2.sav"
// (drag mode) in the data folder, the name made safe by SafeFileName. A
// game saved under an older version's Windows-1251 file name is found and
// moved to the UTF-8 name the first time it is looked for. A saved game
// belongs to the level it was saved in: it is restored only into that level,
// and the game retires it once that level is won or any level of the mode
// starts (see GameApp).
//
// A game that cannot be written stays in memory, is found and restored from
// there in this run, and is written again by RetryPendingWrites; a file
// that cannot be restored (unreadable, damaged, of the other mode) is set
// aside as a numbered copy instead of being quietly dropped. The player
// hears of both through FileNotices. The application owns one; it knows
// nothing of the application itself.

#include <map>
#include <string>

#include "framework/core/FileAccess.h"
#include "game/app/profiles/FileNotices.h"
#include "game/app/profiles/SavedGameHooks.h"

namespace Zorvin {

class FishField;

// The saved game of player `playerName` in game mode `mode` (0 drag mode,
// 2 click mode) under `dataFolder`; "" for a mode that has no saved games
// (the level editor).
std::string SavedGamePath(const std::string& dataFolder, const std::string& playerName, int mode);

class SavedGameFiles : public SavedGameHooks {
public:
    explicit SavedGameFiles(std::string dataFolder);

    std::string PathFor(const std::string& playerName, int mode) const;
    bool Exists(const std::string& playerName, int mode) const;

    // Leaving a level through the in-game menu: writes the field's game
    // (nothing in the level editor). False when it could not be written;
    // it is then kept in memory until RetryPendingWrites writes it.
    bool Save(const FishField& field, const std::string& playerName);
    // True when no game is left unwritten.
    bool RetryPendingWrites();
    bool WritePending() const { return !pending.empty(); }
    // Continuing: rebuilds the field from the player's game of `mode`,
    // provided it was saved in the level at `levelPath` (the level the
    // player is at in that mode). False when there is none, it cannot be
    // read or it holds a game of the other mode (then the file is set aside
    // and the player told), or it was saved in another level: such a game
    // belongs to a level since won or left behind and is retired rather than
    // shown under another level's number. The caller then goes on from the
    // player's level.
    bool Restore(FishField& field, const std::string& playerName, int mode, const std::string& levelPath);
    // Leaving from the map, or a completed mode: the game of that mode goes.
    void Delete(const std::string& playerName, int mode);
    // Deletes the temporaries of saved-game writes cut short by a crash.
    void RemoveStaleTemporaries();

    // A renamed player takes both saved games along; a game already kept
    // under the new name is replaced. A deleted player's games go with it.
    // The player list calls these when a player is renamed or deleted.
    void PlayerRenamed(const std::string& oldName, const std::string& newName) override;
    void PlayerDeleted(const std::string& playerName) override;

    // Whether two level paths name the same level file, whichever
    // separators they were written with.
    static bool SameLevel(const std::string& a, const std::string& b);

    const std::string& DataFolder() const { return dataFolder; }
    // Where the games are read and written (not owned); the disk by default.
    void SetFileAccess(FileAccess& access) { files = &access; }
    // Where the player is told (not owned; may be null).
    void SetNotices(FileNotices* sink) { notices = sink; }

private:
    // The player's file of the mode, moving an older version's file to it
    // first when only that exists.
    std::string Locate(const std::string& playerName, int mode) const;
    void SetAside(const std::string& path);

    std::string dataFolder;
    FileAccess* files = &FileAccess::Disk();
    FileNotices* notices = nullptr;
    // Games whose write failed, by path, with their bytes.
    std::map<std::string, std::string> pending;
};

} // namespace Zorvin
