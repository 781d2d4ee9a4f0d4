#pragma once

// DialogIds: the numbers the game's dialogs are opened under. Only one
// dialog per number exists at a time, so dialogs that never show together
// share one (the game menu and the player list; the name entry and the
// level-lost window).

namespace Zorvin {

enum DialogId : int {
    DialogAccelerationMessage = 7,
    DialogOptions = 8,
    DialogPlayerMessage = 100,
    DialogLevelWon = 101,
    DialogConfirm = 108,
    DialogPlayerNotice = 111,
    DialogCampaignComplete = 118,
    DialogFileNotice = 119,
    DialogMenu = 1005,
    DialogNameOrGameOver = 1006,
    DialogHowToPlay = 1007,
    DialogContinue = 1008,
    DialogHighScores = 1009,
    DialogStatistics = 1010,
};

} // namespace Zorvin
