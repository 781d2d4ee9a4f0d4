#pragma once

// FishField: the play state of a level. It holds the layers of tiles, the
// level's data (types, shift, background, music, deck size), the counters
// and flags of the rules, the pictures the rules animate with, and runs the
// rules of the field: dealing, open and playable tiles, locks and keys, hint,
// undo, reshuffle, bonuses and the end of the level, plus the mouse
// operations that pick tiles up for the play line. BoardRules owns the
// field, the play line, the deck and the combo meter and coordinates them;
// the field owns the tiles of its layers.

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/graphics/Image.h"
#include "game/board/DominoFish.h"
#include "game/board/FieldLevel.h"
#include "game/board/Popup.h"
#include "game/board/TileDrag.h"
#include "game/board/TilePut.h"
#include "game/shared/PlayMode.h"

namespace Zorvin {

class BoardHost;
class ComboMeter;
class Deck;
class LevelTally;
class PlayLine;

// One layer: its tiles in the order the level file listed them, which is
// also their drawing order.
using Layer = std::vector<std::unique_ptr<DominoFish>>;

class FishField {
public:
    static constexpr int kValueCount = 26;

    explicit FishField(BoardHost& host);
    ~FishField();
    FishField(const FishField&) = delete;
    FishField& operator=(const FishField&) = delete;

    // Takes the image tables of the rules from the bound resource
    // identifiers (the pictures only drawn are FishPainter's).
    void LoadImageTables();
    // The pictures the rules animate with: the locks that fly off when
    // opened (drawn at lockOffsets on a tile), the carried items (whose
    // cels a tile steps through) and the flip of a tile by style.
    const std::array<Image*, 3>& LockImages() const { return lockImages; }
    const std::array<Image*, 3>& ItemImages() const { return itemImages; }
    Image* FlipImage(int style) const { return flipImages[style & 3]; }

    // Starting a level: BeginLevel clears the field for `path`, the level
    // reader fills the layers (and the level data), DealLevel deals it.
    // StartLevel runs the three with `levelReader` and reports whether the
    // file was read (an unread level is dealt empty). ReadLevel is the first
    // two, for a caller that picks another level when one cannot be read.
    bool StartLevel(const std::string& path);
    bool ReadLevel(const std::string& path);
    void BeginLevel(const std::string& path);
    void DealLevel();
    // Fills the layers of a cleared field from the level file at the path;
    // false when the file cannot be read. The board sets it up.
    std::function<bool(FishField&, const std::string&)> levelReader;

    // A random entry of `types`.
    int PickType() const;
    void RecomputeOpen();
    void RecomputePlayable();
    void MarkOverlaps();
    // Opens the locks of the item carried by `fish` (a tile just put).
    void CollectItem(DominoFish& fish);
    void RemoveOrphanItems();
    // Shows the next playable tile: it glows, with where it goes, for
    // kHintGlowUpdates or until the next move.
    void ShowHint();
    static constexpr int kHintGlowUpdates = 300;
    static constexpr int kHintLeftEnd = 1;
    static constexpr int kHintRightEnd = 2;
    // The tile the hint shows (null when none or it no longer lies open)
    // and the ends of the line it fits (kHintLeftEnd, kHintRightEnd; 0 in
    // click mode, where it goes onto the current tile).
    const DominoFish* HintedTile() const;
    int HintedEnds() const { return hintGlow.ends; }
    void GiveRandomBonus();
    // Awards the bonus carried by a tile that was just put.
    void AwardBonus(DominoFish& fish);
    // Takes the last put back. False when there is nothing to undo.
    bool Undo();
    // The one record of a put undo can take back (no points yet: the put's
    // score and any bonus it collects are added as they come).
    void RecordMove(const LastMove& move);
    const LastMove& LastPut() const { return lastMove; }
    // Adds points to the score; they belong to the last put when `put` is
    // its tile.
    void AddPoints(int points, const DominoFish* put);
    // Deals new values to the tiles of the field (the board's reshuffle).
    void ReshuffleField();
    void CheckEnd();
    void Update();
    // The backdrop (background and tile shadows) no longer shows the field:
    // counts a new version, which the board's drawing repaints its cached
    // picture for.
    void MarkBackdropStale();
    int BackdropVersion() const { return backdropVersion; }
    // A tile moved or changed its look: the backdrop is repainted at the
    // field's next update.
    void MarkChanged() { changed = true; }
    bool ChangePending() const { return changed; }
    // A level goes on from a saved game: the idle wait, the bonus timer and
    // the hint walk start again and the backdrop is repainted.
    void RestartCounters();
    // A move was made: the idle hint waits its full time again and the
    // hint shown goes out.
    void ResetIdle()
    {
        idleUpdates = 0;
        hintGlow = {};
    }
    int IdleUpdates() const { return idleUpdates; }
    // Shows the next hint and holds the idle hint back a long while.
    void ShowHintNow();
    int BonusTimer() const { return bonusTimer; }
    // How many updates pass between two rolls for a random bonus.
    void SetBonusPeriod(int updates) { bonusPeriod = updates; }
    // The open tiles that no lock holds, as RecomputeOpen counted them.
    int FreeCount() const { return freeCount; }
    // Which of the three locks the items collected so far have opened.
    const std::array<int, 3>& OpenLocks() const { return lockOpen; }
    void CloseLocks() { lockOpen = {0, 0, 0}; }
    // The moves the player has (tiles that fit the line), as last counted.
    int MovesAvailable() const { return movesAvailable; }
    // The level was lost (no move left); the game-over window follows.
    bool Lost() const { return lost; }
    // A restored game has no level end pending.
    void ForgetLevelEnd() { won = lost = false; }
    // A tile finished a half turn: the playable tiles and the deck's moves change.
    void FishTurned();
    // Enables and labels the board panel's reshuffle button for shufflesLeft.
    void RefreshReshuffleButton();
    // Shows a one-time hint of the current player, setting its flag.
    void ShowJokerHint(int x);

    // Mouse operations in the play modes (board coordinates; click code 1
    // left, -1 right). MouseMove reports a newly hovered tile, MouseDrag
    // whether a tile moved. A press in click mode on a tile that fits and a
    // release that joins a dragged tile to the line take the tile out of its
    // layer and hand it back as a put, which BoardRules makes.
    bool MouseMove(int px, int py);
    TilePut MouseDown(int clickCode, int px, int py);
    bool MouseDrag(int px, int py);
    TilePut MouseUp(int clickCode, int px, int py);
    // The field's part of a put of one of its tiles, once the tile is on
    // the line: one tile fewer, its item collected, the tiles below opened.
    void AfterPut(DominoFish& f);

    int CountFish() const;
    // The number of layers and tiles, and the tile at (layer, index), or null.
    DominoFish* FishAt(int layerIndex, int index) const;

    // The level's counters, written only here: all tiles put (the win is
    // pending until the line settles), the tiles left in the layers, the
    // reshuffles left and the score.
    bool Won() const { return won; }
    int FishCount() const { return fishCount; }
    int ShufflesLeft() const { return shufflesLeft; }
    int Score() const { return score; }
    // Score and reshuffles taken over from the player or from a saved game.
    void TakeCounters(int newScore, int newShufflesLeft);
    // A reshuffle was made.
    void SpendShuffle();
    // Counts the tiles of the layers anew, once a reader has filled them.
    void RecountFish() { fishCount = CountFish(); }
    // The floating pictures (points, multipliers) that rise and fade.
    const std::vector<Popup>& Popups() const { return popups; }
    void AddPopup(const Popup& popup) { popups.push_back(popup); }
    void ClearPopups() { popups.clear(); }
    // The level is being dealt (its intro runs): input and the editor wait.
    bool Loading() const { return loading; }
    // A saved game put the tiles in place: the level is in play without a deal.
    void MarkDealt() { loading = false; }
    // Clears the field to draw another level's preview into it: as
    // BeginLevel, but the level in play keeps its loading state.
    void BeginPreview(const std::string& path);

    BoardHost* app = nullptr;
    Deck* deck = nullptr;
    PlayLine* playLine = nullptr;
    ComboMeter* comboMeter = nullptr;
    // Counts the bonuses taken (may be null).
    LevelTally* tally = nullptr;
    std::vector<Layer> layers;
    // The data of the level being played (what its file or a saved game set).
    FieldLevel level;
    // The tile under the pointer and its drag.
    TileDrag drag;
    static constexpr int lockOffsets[3][2] = {{-3, -6}, {9, -38}, {15, -3}};
    PlayMode mode = PlayMode::Drag;

private:
    // The chain of value pairs a deal draws from: each pair shares a value
    // with the next, so drag mode can always clear the level.
    std::vector<std::pair<int, int>> BuildChain() const;
    // Every tile takes a random pair of the chain; the left-over pair is returned.
    std::pair<int, int> DealPairs(std::vector<std::pair<int, int>>& chain, bool fadeIn);
    void ResetLineAfterDeal(std::pair<int, int> leftOver);
    void StartFlipFor(DominoFish& fish, bool backward);
    // Takes the hovered tile out of its layer for a put.
    TilePut TakeHovered();
    void EndOfLevel();

    LastMove lastMove;
    int backdropVersion = 0;
    std::array<Image*, 3> lockImages = {};
    std::array<Image*, 3> itemImages = {};
    std::array<Image*, 4> flipImages = {};
    int freeCount = 0;
    std::array<int, 3> lockOpen = {0, 0, 0};
    // Updates since the last move; at 600 the idle hint shows.
    int idleUpdates = 0;
    // Where the hint walk over the playable tiles goes on.
    int hintIndex = 0;
    struct HintGlow {
        const DominoFish* tile = nullptr;
        int ends = 0;
        int updatesLeft = 0;
    };
    HintGlow hintGlow;
    int bonusTimer = 0, bonusPeriod = 500;
    bool changed = false, flipSound = false;
    int movesAvailable = 0;
    bool lost = false;
    bool won = false;
    int fishCount = 0;
    int shufflesLeft = 1;
    int score = 0;
    std::vector<Popup> popups;
    bool loading = false;
};

} // namespace Zorvin
