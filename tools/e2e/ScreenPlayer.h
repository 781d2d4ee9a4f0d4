#pragma once

// ScreenPlayer: plays the level on screen until it is won. The moves are
// chosen by the game's headless player (AutoPlayer) from what the board
// shows: the open tiles, the play line, the deck and its places. Every
// pointer operation it decides on becomes SDL input through the driver:
// a hover is a pointer move to the tile's on-screen spot, a click is a
// press and release there (on a tile or the deck), a drag is a press, a
// run of moves to the end of the play line and a release. The level's own
// windows are handled through their buttons: the how-to-play page is
// closed; the lost-level window replays the level, and once the level has
// resisted a few attempts it reshuffles while reshuffles last. The scenario
// makes one per level.

#include "game/board/headless/AutoPlayer.h"
#include "game/board/headless/HeadlessHost.h"

#include <string>

class ScreenDriver;

namespace Zorvin {
class Board;
}

class ScreenPlayer : public Zorvin::AutoPlayer::Pointer {
public:
    explicit ScreenPlayer(ScreenDriver& driver, bool verbose);

    // Plays until the level-won dialog shows. False, with the reason in
    // `error`, when the level could not be won within the allowed replays.
    bool PlayLevel(std::string& error);
    // Puts `count` tiles on the line (or as many as the player finds);
    // returns how many went. The level must not be won by it.
    int MakeMoves(int count);
    int Replays() const { return replays; }
    // The replays made from the lost-level window: the levels lost.
    int Losses() const { return losses; }
    int Reshuffles() const { return reshuffles; }

    // AutoPlayer::Pointer, in board coordinates.
    void Move(int px, int py) override;
    void Down(int clickCode, int px, int py) override;
    void Drag(int px, int py) override;
    void Up(int clickCode, int px, int py) override;
    void PressReshuffle() override;

private:
    // One application update, then a look at the level's windows.
    void Tick();
    void NoteWindows();
    bool CloseHowToPlay();
    // Replays the level through the lost-level window, or the in-game
    // menu when no such window is open.
    bool Replay(std::string& error);
    bool WaitForLevel();
    void ToScreen(int px, int py, int& sx, int& sy) const;

    ScreenDriver& driver;
    bool verbose;
    Zorvin::HeadlessHost ticker;
    int pointerX = 0, pointerY = 0;
    bool leftHeld = false;
    int replays = 0;
    int losses = 0;
    int reshuffles = 0;
    // MakeMoves: the puts wanted and the line's length before them.
    int putsWanted = 0;
    int lineAtStart = 0;
};
