#pragma once

// LevelEditorView: the board's picture while the level editor is on, in
// place of the play drawing of the field: the layers below the edited one,
// the cursor box, the dot grid, the edited layer with a frame around the
// marked tile, and a text overlay in the
// system font with the edited layer, the shift, the marked tile's position
// and the outcome of the last save. Layers above the edited one are left
// out so the edited layer is never hidden. The Board owns one.

#include <memory>

namespace Zorvin {

class FishField;
class FishPainter;
class Font;
class Graphics;
class LevelEditor;

class LevelEditorView {
public:
    LevelEditorView();
    ~LevelEditorView();

    void Draw(Graphics* g, const FishField& field, const LevelEditor& editor, FishPainter& painter);

private:
    void DrawGrid(Graphics* g, const FishField& field, int layer);
    void DrawTexts(Graphics* g, const FishField& field, const LevelEditor& editor);

    // The overlay's font, made on first use.
    std::unique_ptr<Font> font;
};

} // namespace Zorvin
