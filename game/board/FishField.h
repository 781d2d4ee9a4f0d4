#pragma once

// FishField: the play state of a level. It holds the layers of tiles, the
// level's data (types, shift, background, music, deck size), the counters
// and flags of the rules, the images the tiles are drawn with, and runs the
// rules of the field: dealing, open and playable tiles, locks and keys, hint,
// undo, reshuffle, bonuses and the end of the level, plus the mouse
// operations that move tiles to the play line. The Board owns the field, the
// play line, the deck and the combo meter and links them together; the field
// owns the tiles of its layers.

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/graphics/Image.h"
#include "game/board/DominoFish.h"
#include "game/board/Popup.h"

namespace Zorvin {

class BoardHost;
class ComboMeter;
class Deck;
class PlayLine;

// One layer: its tiles in the order the level file listed them, which is
// also their drawing order.
using Layer = std::vector<std::unique_ptr<DominoFish>>;

// The last put, for undo. `source` 0 is a tile of the field (layer and index
// in that layer), 1 a tile of the deck (drag mode: `layer` is the place and
// `index` the position in its pile; click mode: index -1).
struct LastMove {
    int source = 0;
    // Every point the move added (the put's score and the points of the
    // bonus it collected); undo takes them all back.
    int lastPoints = 0;
    int originX = 0;
    int originY = 0;
    int layer = -1;
    int index = -1;
    DominoFish* fish = nullptr;
};

class FishField {
public:
    static constexpr int kMaxTypes = 31;
    static constexpr int kValueCount = 26;
    // Play modes.
    static constexpr int kDragMode = 0;
    static constexpr int kEditorMode = 1;
    static constexpr int kClickMode = 2;

    explicit FishField(BoardHost& host);
    ~FishField();
    FishField(const FishField&) = delete;
    FishField& operator=(const FishField&) = delete;

    // Takes the image tables from the bound resource identifiers.
    void LoadImageTables();

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
    void ShowHint();
    void GiveRandomBonus();
    // Awards the bonus carried by a tile that was just put.
    void AwardBonus(DominoFish& fish);
    // Takes the last put back. False when there is nothing to undo.
    bool Undo();
    // Deals new values to the tiles of the field (the board's reshuffle).
    void ReshuffleField();
    void CheckEnd();
    void Update();
    // Repaints the cached backdrop (background, shadows, panels).
    void RebuildBackdrop();
    // A tile finished a half turn: the playable tiles and the deck's moves change.
    void FishTurned();
    // Enables and labels the board panel's reshuffle button for shufflesLeft.
    void RefreshReshuffleButton();
    // Shows a one-time hint of the current player, setting its flag.
    void ShowJokerHint(int x);

    // Mouse operations in the play modes (board coordinates; click code 1
    // left, -1 right). MouseMove reports a newly hovered tile, MouseDrag
    // whether a tile moved.
    bool MouseMove(int px, int py);
    void MouseDown(int clickCode, int px, int py);
    bool MouseDrag(int px, int py);
    void MouseUp(int clickCode, int px, int py);

    int CountFish() const;
    // The number of layers and tiles, and the tile at (layer, index), or null.
    DominoFish* FishAt(int layerIndex, int index) const;

    BoardHost* app = nullptr;
    Deck* deck = nullptr;
    PlayLine* playLine = nullptr;
    ComboMeter* comboMeter = nullptr;
    int cursorX = 0, cursorY = 0;
    std::vector<Layer> layers;
    int cardsInDeck = 12;
    DominoFish* hovered = nullptr;
    int hoveredLayer = -1;
    int hoveredIndex = -1;
    int dragOriginX = 0, dragOriginY = 0;
    DominoFish* editorCopy = nullptr;
    int editorCopyLayer = -1, editorCopyIndex = -1;
    bool won = false, lost = false;
    std::string levelPath;
    int fishCount = 0;
    int freeCount = 0;
    int editorLayer = 0;
    std::array<int, kMaxTypes> types = {0, 1};
    int musicTrack = 0;
    int typeCount = 2;
    std::array<Image*, kValueCount> faceImages = {};
    std::array<Image*, 3> lockImages = {};
    std::array<Image*, 3> itemImages = {};
    std::array<Image*, 4> plainImages = {};
    std::array<Image*, 4> overImages = {};
    std::array<Image*, 4> backImages = {};
    std::array<Image*, 4> flipImages = {};
    static constexpr int lockOffsets[3][2] = {{-3, -6}, {9, -38}, {15, -3}};
    static constexpr int itemOffsets[3][2] = {{6, 9}, {0, -55}, {18, -35}};
    std::unique_ptr<Image> backgroundImage;
    std::unique_ptr<Image> backdrop;
    std::string backgroundName;
    int hintIndex = 0;
    int bonusTimer = 0, bonusPeriod = 500;
    bool changed = false, flipSound = false;
    int movesAvailable = 0;
    int mode = kDragMode;
    int shiftX = 0, shiftY = 0;
    int idleUpdates = 0;
    std::array<int, 3> lockOpen = {0, 0, 0};
    int shufflesLeft = 1;
    int score = 0;
    std::vector<Popup> popups;
    LastMove lastMove;
    int updateCount = 0;
    bool loading = false;
    // The board's level number (1 deals the first move for sure).
    int levelNumber = 1;
    // Level editor state.
    bool showGrid = false;
    int editorStyle = 0;
    DominoFish* editorMark = nullptr;
    int editorMarkLayer = -1, editorMarkIndex = -1;
    // Backdrop repaints so far (the drawing code and tests watch it).
    int backdropRebuilds = 0;

private:
    // The chain of value pairs a deal draws from: each pair shares a value
    // with the next, so drag mode can always clear the level.
    std::vector<std::pair<int, int>> BuildChain() const;
    // Every tile takes a random pair of the chain; the left-over pair is returned.
    std::pair<int, int> DealPairs(std::vector<std::pair<int, int>>& chain, bool fadeIn);
    void ResetLineAfterDeal(std::pair<int, int> leftOver);
    void StartFlipFor(DominoFish& fish, bool backward);
    // Takes the hovered tile out of its layer after a put from the field.
    std::unique_ptr<DominoFish> TakeHovered();
    // Makes a put from the field the move undo takes back, with no points
    // yet: the put's score and any bonus it collects are added as they come.
    void RecordFieldPut(DominoFish& fish);
    void AfterFieldPut(DominoFish& fish);
    void EndOfLevel();
    void ClearHovered();
};

} // namespace Zorvin
