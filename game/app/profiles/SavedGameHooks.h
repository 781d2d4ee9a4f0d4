#pragma once

// SavedGameHooks: what happens to a player's saved games (and the other
// files that follow the player, such as the statistics) when the player is
// renamed or deleted. PlayerList calls it; SavedGameFiles and
// StatisticsStore are the real ones, tests give a recording fake.

#include <string>

namespace Zorvin {

class SavedGameHooks {
public:
    virtual ~SavedGameHooks() = default;
    // Both saved games of oldName now belong to newName.
    virtual void PlayerRenamed(const std::string& oldName, const std::string& newName) = 0;
    // The player is gone; so are the saved games.
    virtual void PlayerDeleted(const std::string& name) = 0;
};

} // namespace Zorvin
