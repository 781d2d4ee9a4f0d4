#pragma once

// AutoPlayer: the headless player. It plays a started level through the same
// mouse operations a person uses (hover, press, drag to an end, release;
// clicks on the deck; a reshuffle from the game-over window, or with the
// button when it finds no move it can make, while any is left) until the
// level is won or lost. Its policy prefers moves that open
// tiles and collect keys, keeps jokers for later and looks one move ahead at
// what the new end of the line will allow; in click mode it also searches a
// few puts deep for the longest run before the deck is needed. It knows only
// what a person sees: the faces of open tiles, the backs (jokers have their
// own), the locks, the line and the places; tiles its look-ahead turns over
// count only by the chance that they match. It is deterministic for a given
// seed of the C library generator. It works on a BoardRules run by a
// HeadlessHost, both owned by the caller.

#include <cstdint>
#include <functional>
#include <random>
#include <unordered_map>
#include <vector>

#include "game/board/BoardRules.h"
#include "game/board/headless/HeadlessHost.h"

namespace Zorvin {

struct AutoPlayResult {
    bool won = false;
    int score = 0;
    int moves = 0;      // tiles put on the line (field, places and deck)
    int updates = 0;    // application updates the level took
    int reshuffles = 0;
    bool stuck = false; // gave up with moves left that it could not make
};

class AutoPlayer {
public:
    AutoPlayer(BoardRules& rules, HeadlessHost& host);

    // Plays the level that has been started.
    AutoPlayResult Play();

    // Called before every decision and after every mouse action of the
    // player (tests check the rules' invariants here).
    std::function<void()> afterAction;

    // Where the player's mouse and button operations go. Without one they go
    // straight to the rules; a test or tool can send them through the board
    // panel's widget handlers instead, as a person's would.
    class Pointer {
    public:
        virtual ~Pointer() = default;
        virtual void Move(int px, int py) = 0;
        virtual void Down(int clickCode, int px, int py) = 0;
        virtual void Drag(int px, int py) = 0;
        virtual void Up(int clickCode, int px, int py) = 0;
        virtual void PressReshuffle() = 0;
    };
    Pointer* pointer = nullptr;
    // Updates the player lets pass after each move.
    int thinkUpdates = 2;
    // A person's pace: after each move the player waits a think time drawn
    // evenly from kPersonThinkMin to kPersonThinkMax updates (2 to 4 s) by a
    // generator of its own, seeded with `seed`, so the C library's generator
    // stays the game's (its bonus rolls). The combo meter drains by one per
    // second, so at this pace it fills as it does for a person and the
    // scores are a person's. Replaces thinkUpdates.
    void PlayAtPersonsPace(unsigned seed);
    static constexpr int kPersonThinkMin = 200;
    static constexpr int kPersonThinkMax = 400;
    // Gives up after this many updates.
    int updateLimit = 200000;
    // Whether the player may spend the board's reshuffles. They are carried
    // from level to level, so a campaign player may keep them for a level
    // that resists and replay an easy one instead.
    bool mayReshuffle = true;

private:
    struct Move {
        DominoFish* fish = nullptr;
        int place = -1;         // drag mode: the place of a place tile
        int side = 0;           // drag mode: -1 left end, 1 right end
        bool rightClick = false; // turn the tile by hand at a joker
        double score = 0;
    };

    void BuildCoverGraph();
    void MarkAlive();
    int Opens(int index) const;
    int KeyValue(const DominoFish& f) const;
    int FutureMoves(const DominoFish& f, int exposed, int otherEnd, int opened) const;
    double Evaluate(const DominoFish& f, bool fromPlace, int exposed, int otherEnd) const;
    void DragCandidates(std::vector<Move>& moves) const;
    void ClickCandidates(std::vector<Move>& moves);
    // Click mode look-ahead over the cover graph: the longest run of field
    // puts that can follow once the current tile shows `current` (any value
    // when `joker`). Spends at most `budget` search steps.
    // Tiles still face down count only by the chance that they match. The
    // result is the expected run length.
    double LongestRun(int current, bool joker, int depth, int& budget);
    // Takes tile `index` away in the look-ahead, opening what it uncovers and
    // the locks of its key; returns how many tiles it opened.
    int SimTake(int index);
    void SimRestore(int index, int opened, int lockTaken);
    bool SimOpen(int index) const;
    void SimAddOpen(int index);
    void FlipReady(int index);
    static int MaskOf(int value)
    {
        return value >= 0 && value < FishField::kValueCount ? value : kOtherMask;
    }
    double MissAll(int hidden);
    // The run of puts a click-mode move starts (itself included).
    double RunFrom(DominoFish& f, int exposed, bool jokerExposed);
    int VisibleKey(int index) const;
    void EstimateHiddenMatch();
    void AddDragMoves(std::vector<Move>& moves, DominoFish& f, int place) const;
    bool Act();
    bool Perform(const Move& m);
    bool ClickDeck();
    // Finds a pointer position where `f` is the tile hovered.
    bool Hover(DominoFish& f, bool placeTile, int& px, int& py);
    void Tick(int n);
    // The updates to wait after a move.
    int ThinkTime();
    void After();
    void MouseMove(int px, int py);
    void MouseDown(int clickCode, int px, int py);
    void MouseDrag(int px, int py);
    void MouseUp(int clickCode, int px, int py);
    void PressReshuffle();

    BoardRules& rules;
    HeadlessHost& host;
    FishField& field;
    PlayLine& line;
    Deck& deck;
    bool click;

    // Which field tiles cover which, by index; positions on the field never
    // change, so this is built once per deal.
    std::vector<DominoFish*> tiles;
    std::unordered_map<const DominoFish*, int> indexOf;
    std::vector<std::vector<int>> coveredBy;
    std::vector<std::vector<int>> covers;
    std::vector<char> alive;
    // The field tiles that carried each kind of lock when the deal began.
    std::vector<int> lockedTiles[3];
    // Values of the open field tiles at the time of a decision.
    struct OpenTile {
        const DominoFish* fish;
        int a, b;
        bool joker;
    };
    std::vector<OpenTile> openTiles;
    std::vector<const DominoFish*> failed;
    // Look-ahead state: tiles still on the field, locks open, open tiles.
    std::vector<char> simAlive;
    std::vector<char> simInOpen;
    std::vector<char> simKnown; // faces the player has seen (or joker backs)
    double hiddenMatch = 0.3;
    std::vector<int> simOpenList;
    struct SimTile {
        int a, b;
        bool joker;
        int lock;
        int key; // the key it shows, or -1
    };
    std::vector<SimTile> simTiles;
    // How many tiles still in the look-ahead cover each tile.
    std::vector<int> simCovering;
    // Where each tile stands on simOpenList.
    std::vector<int> simPos;
    // Bit masks over simOpenList positions of the known tiles still on the
    // field: one per value they carry, one for values out of range, one for
    // jokers and one for any; the look-ahead finds the tiles that can follow
    // without walking the whole list. A copy per search depth.
    static constexpr int kDepth = 10;
    static constexpr int kOtherMask = FishField::kValueCount;
    static constexpr int kJokerMask = kOtherMask + 1;
    static constexpr int kAnyMask = kOtherMask + 2;
    static constexpr int kMaskCount = kAnyMask + 1;
    size_t maskWords = 1;
    std::vector<uint64_t> readyMasks;
    std::vector<uint64_t> readySnapshots;
    // Tiles on simOpenList still on the field and still face down.
    int simHidden = 0;
    std::vector<double> missAll;
    int simLocks[3] = {0, 0, 0};
    int moves = 0;
    bool personsPace = false;
    std::minstd_rand paceRandom;
};

} // namespace Zorvin
