#pragma once

// Board: the widget that shows and runs a level. It owns the rules of the
// board (field, play line, deck and combo meter, put together by
// BoardRules), runs them once per logic update and draws the whole level
// each frame: the tiles layer by layer, the top-bar texts, the play line,
// the deck, the combo meter, the popups and the dragged and gliding tiles
// above everything; while the level editor is on, its own picture of the
// layers takes the place of the field's. The background, the panels and the tile shadows are
// painted once into a cached backdrop that the BoardInterface panel copies
// under the board each frame; the backdrop is repainted only when the rules
// ask for it (a tile taken for dragging, a flip ended, an open state
// changed). The application creates one Board with its panel and keeps it
// until it ends; it sizes the board 0 x 0 without the mouse flag, since the
// panel beneath receives all input. A frame is drawn only after an update
// that changed what the board shows (BoardSceneKey); the board then asks its
// panel to repaint, and the panel's repaint brings the board's with it, so
// the two are always drawn together and in that order. When only the
// resting tiles' items and glitter moved, the board marks just their
// rectangles, and the widget manager repaints panel and board there alone.

#include <memory>
#include <string>
#include <vector>

#include "framework/graphics/MemoryImage.h"
#include "framework/widgets/Widget.h"
#include "game/board/BoardRules.h"
#include "game/board/editor/LevelEditor.h"
#include "game/board/view/LevelEditorView.h"
#include "game/board/view/BoardMarks.h"
#include "game/board/view/BoardSceneKey.h"
#include "game/board/view/FishPainter.h"
#include "game/board/view/StageMap.h"

namespace Zorvin {

class Graphics;

class Board : public Widget {
public:
    explicit Board(BoardHost& host);
    ~Board() override;

    // Starts the current player's level of `mode` (drag or click): its
    // number, score, reshuffles and places come from the
    // player. The undo button is disabled.
    void StartLevel(PlayMode mode);
    // Starts the level file at `path` in `mode` as level `number` (tools,
    // the editor's test run, a chosen level).
    void StartLevelFile(PlayMode mode, int number, const std::string& path);
    // Starts the level in play again from the score it began with.
    void Restart();

    // One logic update: field, play line, deck, combo meter, in that order;
    // then a repaint is asked for when the picture changed.
    void Update() override;
    // Asks for the board and the panel beneath it to be drawn again.
    void RequestRedraw();
    // One frame of the level above the backdrop.
    void Draw(Graphics* g) override;

    // Repaints the cached backdrop now (background, shadows of the tiles at
    // rest, panels).
    void RebuildBackdrop();
    // The cached backdrop, repainted first when the rules asked for it since
    // the last call. Never null.
    MemoryImage* GetBackdrop();

    BoardHost& app;
    std::unique_ptr<BoardRules> rules;
    // The rules' parts, owned by `rules`.
    FishField* field = nullptr;
    PlayLine* playLine = nullptr;
    Deck* deck = nullptr;
    ComboMeter* comboMeter = nullptr;
    // The map screen's stages and thumbnails for the board's mode; the
    // thumbnails are rendered from the board's own field, which is idle
    // while the map is shown.
    std::unique_ptr<StageMap> stageMap;
    // Draws the tiles; the level preview and tools may borrow it.
    FishPainter painter;
    // The level editor on this board's field (F8 with the developer keys)
    // and its picture, drawn in place of the field while it is on.
    std::unique_ptr<LevelEditor> editor;
    LevelEditorView editorView;
    // The panel that draws the backdrop under the board; set by the panel.
    Widget* underlay = nullptr;
    // The focus ring and hint glow as last read (each update and frame).
    BoardMarks::State marks;

private:
    void DrawField(Graphics* g);
    void DrawTopBar(Graphics* g);
    void DrawPlayStrip(Graphics* g);
    void DrawDraggedFieldFish(Graphics* g);
    void DrawDraggedPlaceFish(Graphics* g);
    void DrawLineDeckMeterPopups(Graphics* g);
    void DrawGlidingOnTop(Graphics* g);
    void DrawPlayLine(Graphics* g);
    void DrawDeck(Graphics* g);
    void DrawDeckPlaces(Graphics* g);
    void DrawComboMeter(Graphics* g);
    void DrawPopups(Graphics* g);

    // Ten seconds after the last change of the whole picture, what moves
    // only for decoration (resting tiles' items, bonus glitter) is repainted
    // four times a second: the areas it changed wait and go together.
    static constexpr int kLivelyUpdates = 1000;
    static constexpr int kSlowRepaintUpdates = 25;
    int updatesSinceWhole = 0;
    std::vector<Rect> slowAreas;

    std::unique_ptr<MemoryImage> backdrop;
    // The field's backdrop request count the cached picture matches.
    int backdropBuiltFor = -1;
    BoardSceneKey sceneKey;
};

} // namespace Zorvin
