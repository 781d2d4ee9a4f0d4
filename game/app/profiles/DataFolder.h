#pragma once

// DataFolder: where the players, the high scores and the saved games live:
// $XDG_DATA_HOME/Wendmoor/Korvelt/ (by default ~/.local/share/...). The
// folder is made by the first write, not here. The application asks once at
// start-up and hands the answer to PlayerList, HighScoreTable and the saved
// games.

#include <string>

namespace Zorvin {

class DataFolder {
public:
    // The data folder with its trailing "/", or "" (the working folder) when
    // neither XDG_DATA_HOME nor HOME gives an absolute path.
    static std::string Locate();
};

} // namespace Zorvin
