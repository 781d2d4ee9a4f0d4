#pragma once

// BoardRules: the rules of one board put together: the field, the play line,
// the deck and the combo meter, linked to each other, plus the operations the
// board widgets call: starting a level from the current player, restart,
// reshuffle, the panel's undo and hint buttons, the mouse routed to field
// and deck, the scoring of every completed put, and the per-update order.
// The Board widget owns one; the headless player and the tests use it
// directly.

#include <memory>
#include <string>
#include <vector>

#include "game/board/BoardHost.h"
#include "game/board/BoardKeys.h"
#include "game/board/ComboMeter.h"
#include "game/board/Deck.h"
#include "game/board/FishField.h"
#include "game/board/LevelTally.h"
#include "game/board/PlayLine.h"

namespace Zorvin {

class BoardRules {
public:
    explicit BoardRules(BoardHost& host);
    ~BoardRules();
    BoardRules(const BoardRules&) = delete;
    BoardRules& operator=(const BoardRules&) = delete;

    // Starts the current player's level of the current mode (level 1 when
    // that level's file does not exist or cannot be read).
    void StartLevel();
    // Starts the level at `path` with the score and reshuffles of the
    // current player (a restart, or a level chosen by a tool). False when
    // the file could not be read; the board is then dealt empty.
    bool StartLevelFile(const std::string& path);
    // Starts the level in play again with the score and reshuffles the
    // player had when it began.
    void Restart();
    // The reshuffle button; does nothing without reshuffles left.
    void Reshuffle();
    // The panel's undo and hint buttons.
    void UndoButton();
    void HintButton();

    // One logic update of the board.
    void Update();

    // Mouse input of the board panel, in board coordinates. MouseMove and
    // MouseDrag report whether the picture changed.
    bool MouseMove(int px, int py);
    void MouseDown(int clickCode, int px, int py);
    bool MouseDrag(int px, int py);
    void MouseUp(int clickCode, int px, int py);

    // What a tip balloon must leave in sight: every tile the player can
    // take (open tiles, the tops of the places) and the combo meter.
    std::vector<Rect> KeepClearAreas() const;

    // Scores a completed put: 20 points times the combo multiplier, with its
    // sound and combo popup.
    void ScorePut();

    BoardHost& host;
    std::unique_ptr<FishField> field;
    std::unique_ptr<PlayLine> playLine;
    std::unique_ptr<Deck> deck;
    std::unique_ptr<ComboMeter> comboMeter;
    // The level in play's time, best combo, bonuses and moves.
    LevelTally tally;
    // The keyboard's focus and its moves on this board.
    std::unique_ptr<BoardKeys> keys;

private:
    // What both a start and a restart do after the field is dealt.
    void AfterFieldStart();
    // Takes score and reshuffles back from the current player.
    void TakeProfileCounters();
    // Makes a put the field or the deck handed back: records it for undo,
    // gives the tile to the line and settles the rules around it.
    void Put(TilePut put);
    // The panel's part of a completed put (its release after a put).
    void SettlePut();

    // A click put made by a press, settled when the button comes up.
    bool putPending = false;
    // A reshuffle's animation is running: the button and key do nothing.
    bool reshuffling = false;
};

} // namespace Zorvin
