#pragma once

// LevelResult: how one level ended, as the application hands it to a
// player's statistics and to the level-won summary. `score` is the points
// of this level alone (not the running score of the mode), `bestCombo` the
// highest combo multiplier (1 to 4) a put was scored at, `bonuses` the
// bonuses taken, `moves` the puts that stayed (an undone put does not
// count), `seconds` the game time the level took (paused while a dialog or
// the in-game menu is up), `stars` the rating (0 to 3) the caller gives it.

namespace Zorvin {

struct LevelResult {
    int level = 0;
    bool won = false;
    int score = 0;
    int bestCombo = 0;
    int bonuses = 0;
    int moves = 0;
    int seconds = 0;
    int stars = 0;
};

} // namespace Zorvin
