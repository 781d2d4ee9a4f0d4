#pragma once

// PanelPointer: lets the headless player act through the board panel: its
// mouse operations become the panel's widget handlers and its reshuffle a
// click on the reshuffle button, just as a person's input arrives. It
// counts the puts they make and can report each one. Tools and tests set it
// on an AutoPlayer; it holds only references.

#include <functional>

#include "game/board/headless/AutoPlayer.h"

namespace Zorvin {

class Board;
class BoardInterface;

class PanelPointer : public AutoPlayer::Pointer {
public:
    PanelPointer(Board& board, BoardInterface& panel) : board(board), panel(panel) {}

    void Move(int px, int py) override;
    // A press puts in click mode, a release in drag mode; the put is settled
    // (scored) on the release either way.
    void Down(int clickCode, int px, int py) override;
    void Drag(int px, int py) override;
    void Up(int clickCode, int px, int py) override;
    void PressReshuffle() override;

    // Tiles not on the line yet: the field's, the deck's and the places'.
    // Only a put lowers it; dealing to the places and gathering them do not.
    static int TilesOffLine(const Board& board);

    Board& board;
    BoardInterface& panel;
    int puts = 0;
    // Called after each release that settled a put, with the score before
    // the press that made it.
    std::function<void(int scoreBefore)> onPut;

private:
    int scoreAtPress = 0;
    int tilesAtPress = 0;
};

} // namespace Zorvin
