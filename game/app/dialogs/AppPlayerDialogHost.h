#pragma once

// AppPlayerDialogHost: the player dialogs' host on top of the running
// application: the name question is a DialogWithEdit waited for with the
// application's steps, the messages and the yes/no question are the game's
// small dialogs on IMAGE_W_SMALL. The game application owns one beside its
// PlayerList and hands it to ChPlayerDialog and HighscoresWnd; it also
// serves the first-player question and the high-score name.

#include <functional>
#include <string>

#include "game/app/dialogs/PlayerDialogHost.h"

namespace Zorvin {

class HighScoreTable;
class ZorvinAppBase;

class AppPlayerDialogHost : public PlayerDialogHost {
public:
    AppPlayerDialogHost(ZorvinAppBase& application, PlayerList& playerList) : app(application), players(playerList) {}

    PlayerList& Players() override { return players; }
    void PlayClick() override;
    bool AskName(const std::string& header, const std::string& label, const std::string& suggested,
                 std::string& name) override;
    void ShowMessage(int dialogId, const std::string& header, const std::string& text) override;
    bool Confirm(const std::string& text) override;
    void CloseDialog(Dialog* dialog) override;
    void OpenStatistics() override
    {
        if (openStatistics)
            openStatistics();
    }

    // What opens the statistics window (the game application's).
    std::function<void()> openStatistics;

    // The end-of-game entry once the main menu shows: when the score
    // qualifies for the table of the mode, opens the high-score window and
    // asks for the name (the current player's suggested); when confirmed,
    // enters the row, highlights it in the window and saves the tables.
    // Returns the new row, or -1 when nothing was entered.
    int EnterHighScore(HighScoreTable& table, int mode, int score);

private:
    ZorvinAppBase& app;
    PlayerList& players;
};

} // namespace Zorvin
