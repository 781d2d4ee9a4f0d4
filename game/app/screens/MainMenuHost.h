#pragma once

// MainMenuHost: what the main menu (TitleWnd) needs from the application,
// in one narrow interface: its pictures, the current player's name, the
// click sound and what each of its buttons starts. The game application
// implements it.

#include <string>

namespace Zorvin {

class ResourceHost;

class MainMenuHost {
public:
    virtual ~MainMenuHost() = default;

    // What the logo script's pictures load through.
    virtual ResourceHost& GetImageLoader() = 0;
    // The current player's name, "" while there is none.
    virtual std::string CurrentPlayerName() = 0;
    virtual void PlaySound(int soundId) = 0;
    // The two mode buttons: a new game of click or drag mode, or the offer
    // to continue when the player has progress in it.
    virtual void StartGame(bool clickMode) = 0;
    virtual void OpenChangePlayerDialog() = 0;
    virtual void OpenOptionsDialog() = 0;
    virtual void OpenHighScores() = 0;
    // The current player's statistics.
    virtual void OpenStatistics() = 0;
    // "Выход": settings and players are written and the game ends.
    virtual void ExitGame() = 0;
};

} // namespace Zorvin
