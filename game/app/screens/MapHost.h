#pragma once

// MapHost: what the map screen needs from the application, in one narrow
// interface. The game application implements it; tests fake it.

namespace Zorvin {

class StageMap;
struct PlayerProfile;

class MapHost {
public:
    virtual ~MapHost() = default;

    // The board's stage and thumbnail data (and through it the board's mode).
    virtual StageMap& GetStageMap() = 0;
    // The current player, or null while there is none.
    virtual PlayerProfile* CurrentProfile() = 0;
    virtual void PlaySound(int soundId) = 0;
    // "Играть": the map leaves the screen, the board and its panel come
    // back and the player's level of the mode starts.
    virtual void PlayLevelFromMap() = 0;
    // "Главное меню": back to the main menu after the confirmation, without
    // keeping the saved game.
    virtual void ExitToMainMenu(bool saveGame) = 0;

    // The current player's best on a level of the board's mode: its best
    // score and best rating in stars (0 and 0 when it was never won, or
    // without a player).
    struct LevelBest {
        int score = 0;
        int stars = 0;
    };
    virtual LevelBest BestOf(int level) = 0;
};

} // namespace Zorvin
