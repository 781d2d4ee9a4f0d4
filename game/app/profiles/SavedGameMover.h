#pragma once

// SavedGameMover: moves and deletes the saved-game files of a player in the
// data folder (saves/<name>1.sav and saves/<name>2.sav, with the name made
// safe by PlayerName). A move copies the file whole to the new name and
// deletes the old file only when the copy has been written, so a failed
// write never loses a saved game. Owned by the application beside its
// PlayerList.

#include "game/app/profiles/SavedGameHooks.h"

namespace Zorvin {

class SavedGameMover : public SavedGameHooks {
public:
    explicit SavedGameMover(std::string dataFolder) : folder(std::move(dataFolder)) {}

    void PlayerRenamed(const std::string& oldName, const std::string& newName) override;
    void PlayerDeleted(const std::string& name) override;

private:
    std::string folder;
};

} // namespace Zorvin
