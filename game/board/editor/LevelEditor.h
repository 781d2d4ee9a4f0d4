#pragma once

// LevelEditor: the board's level-building mode, reached with F8 while the
// developer keys are on. It edits the level loaded in the FishField in
// place, layer by layer on the level file's grid: tiles are added, deleted,
// marked, dragged, given locks and items, the whole layout is shifted, and
// the result is saved as a level file. The editor keeps its own state
// (edited layer, cursor cell, grid, mark, the message about the last save);
// the style of new tiles lives in the field, which saved games keep. The
// Board owns one; its panel hands it the keys, characters and (while
// editing) the mouse.
//
// Within a layer the tiles are kept in reading order, as the level reader
// builds them: rows from the top, and within a row from right to left.
// Everything the editor places stays on the 20 x 44 grid the writer can
// express, and the mark and the hovered tile never point at a deleted tile.

#include <string>

#include "game/shared/PlayMode.h"

namespace Zorvin {

class DominoFish;
class FishField;
class LevelEditorHost;

class LevelEditor {
public:
    // Grid cell size and the cursor range that keeps a tile's token on the
    // writer's grid (columns 0-40 for the "[", rows 0-19).
    static constexpr int kCellWidth = 20;
    static constexpr int kCellHeight = 25;
    static constexpr int kMinCursorX = 40;
    static constexpr int kMaxCursorX = 840;
    static constexpr int kMinCursorY = 25;
    static constexpr int kMaxCursorY = 500;

    explicit LevelEditor(FishField& field);

    bool Active() const;

    // A developer key (the panel calls this only while the developer keys
    // are on and no level is starting). F8 enters or leaves the editor; F1
    // outside it gives the last tile of the top layer a bonus; the others act
    // only in the editor. F2 asks `host` for the file name.
    void KeyDown(int key, LevelEditorHost& host);
    // Lock, item and style characters; they act only on a hovered tile.
    void CharTyped(char ch);

    // The mouse while editing, in board coordinates; click code 1 (2 for a
    // double click) is the left button, negative codes the right one.
    // MouseMove and MouseDrag report whether the picture changed.
    bool MouseMove(int px, int py);
    void MouseDown(int px, int py, int clickCode);
    bool MouseDrag(int px, int py);
    void MouseUp(int px, int py, int clickCode);

    // Entering remembers the play mode the field is in; leaving returns to it.
    void Enter();
    void Leave();
    // Makes `layer` the edited layer (0 at least; one past the top appends
    // an empty layer).
    void EditLayer(int layer);
    // Adds a tile at the cursor cell of the edited layer; returns it.
    DominoFish* AddTile(int style);
    // Moves every tile with the level's shift; dx, dy of one pixel.
    void Shift(int dx, int dy);
    // Moves every tile back by the shift and sets it to 0.
    void ResetShift();
    // Asks for a file name and writes the level; the outcome goes to
    // `message`. False when nothing was written.
    bool Save(LevelEditorHost& host);

    // A file name the editor may write: not empty, no folder part, no "..",
    // no control characters.
    static bool IsSafeFileName(const std::string& name);

    // The outcome of the last save, shown by the overlay ("" before any).
    std::string message;

    int EditedLayer() const { return editedLayer; }
    // The cursor cell, relative to the level's shift.
    int CursorX() const { return cursorX; }
    int CursorY() const { return cursorY; }
    bool GridShown() const { return showGrid; }
    // The marked tile of the edited layer and its index there, or null.
    DominoFish* Mark() const;
    int MarkIndex() const { return Mark() ? markIndex : -1; }

private:
    // Every operation starts here: the edited layer must exist.
    void KeepLayerInRange();
    void UpdateCursor(int px, int py);
    // Marks the layers below the edited one shut and the edited one open,
    // and forgets the mark and the hovered tile.
    void ShowEditedLayer();
    // Puts the tile at `index` of the edited layer at its reading-order
    // place; returns its new index.
    int MoveToReadingPlace(int index);
    void DeleteTile(DominoFish* fish);
    // Finds the hovered and marked tiles' indices again after the edited
    // layer's list changed; a tile no longer in it is forgotten.
    void RefreshIndices();
    void ClearHover();
    void ToggleMark(char ch, bool lock);
    void LayoutChanged();

    FishField& field;
    int editedLayer = 0;
    int cursorX = 0, cursorY = 0;
    bool showGrid = false;
    DominoFish* mark = nullptr;
    int markLayer = -1, markIndex = -1;
    // The play mode the editor was entered from; leaving goes back to it, so
    // a click-mode level stays a click-mode level (and is saved as one).
    PlayMode returnMode = PlayMode::Drag;
};

} // namespace Zorvin
