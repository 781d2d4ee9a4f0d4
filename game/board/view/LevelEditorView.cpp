#include "game/board/view/LevelEditorView.h"

#include <string>

#include "framework/font/SysFont.h"
#include "framework/graphics/Graphics.h"
#include "game/board/FishField.h"
#include "game/board/editor/LevelEditor.h"
#include "game/board/view/FishPainter.h"

namespace Zorvin {

namespace {

constexpr int kLayerShift = DominoFish::kLayerShift;
// The dot grid: one dot per cell of a layer of the level file.
constexpr int kGridColumns = 42;
constexpr int kGridRows = 20;
const Color kTextColor(255, 255, 0);

} // namespace

LevelEditorView::LevelEditorView() = default;
LevelEditorView::~LevelEditorView() = default;

void LevelEditorView::Draw(Graphics* g, const FishField& field, const LevelEditor& editor, FishPainter& painter)
{
    g->PushState();
    g->ClearClipRect();
    int edited = editor.EditedLayer();
    int layerCount = static_cast<int>(field.layers.size());
    for (int l = 0; l < edited && l < layerCount; ++l) {
        for (const auto& f : field.layers[l])
            painter.Draw(g, field, *f, true);
    }

    // The cell a new tile would take, as a shaded tile-sized box.
    g->SetColor(Color(0, 0, 0, 128));
    g->SetColorizeImages(true);
    g->FillRect(field.level.shiftX + kLayerShift * edited + editor.CursorX() - 40,
                field.level.shiftY + editor.CursorY() - kLayerShift * edited - 18, 80, 50);
    g->SetColorizeImages(false);

    if (editor.GridShown())
        DrawGrid(g, field, editor.EditedLayer());

    if (edited >= 0 && edited < layerCount) {
        for (const auto& f : field.layers[edited])
            painter.Draw(g, field, *f, true);
    }
    // The marked tile is framed, so Delete's target is plain to see.
    if (const DominoFish* m = editor.Mark()) {
        g->SetColor(kTextColor);
        g->DrawRect(m->left, m->top, m->width - 1, m->height - 1);
        g->DrawRect(m->left + 1, m->top + 1, m->width - 3, m->height - 3);
    }
    DrawTexts(g, field, editor);
    g->PopState();
}

void LevelEditorView::DrawGrid(Graphics* g, const FishField& field, int l)
{
    // The framework's default drawing colour.
    g->SetColor(GraphicsState().color);
    for (int i = 0; i < kGridColumns; ++i) {
        for (int j = 0; j < kGridRows; ++j)
            g->DrawRect(field.level.shiftX + 20 * i + kLayerShift * l, field.level.shiftY + 25 * j - kLayerShift * l + 7, 1, 1);
    }
}

void LevelEditorView::DrawTexts(Graphics* g, const FishField& field, const LevelEditor& editor)
{
    if (!font)
        font = std::make_unique<SysFont>("Arial", 10, true);
    g->SetFont(font.get());
    g->SetColor(kTextColor);
    g->DrawString("Current Layer: " + std::to_string(editor.EditedLayer()), 0, 30);
    g->DrawString("ShiftX: " + std::to_string(field.level.shiftX), 0, 60);
    g->DrawString("ShiftY: " + std::to_string(field.level.shiftY), 100, 60);
    if (editor.Mark()) {
        g->DrawString("Fish x: " + std::to_string(editor.Mark()->x), 0, 90);
        g->DrawString("y: " + std::to_string(editor.Mark()->y), 100, 90);
    }
    if (!editor.message.empty())
        g->DrawString(editor.message, 0, 120);
}

} // namespace Zorvin
