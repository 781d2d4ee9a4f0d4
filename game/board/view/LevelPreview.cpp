#include "game/board/view/LevelPreview.h"

#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "game/board/BoardHost.h"
#include "game/board/FishField.h"
#include "game/board/LevelFile.h"
#include "game/board/view/FishPainter.h"

namespace Zorvin {

void RenderLevelPreview(int n, FishField& field, Graphics& target)
{
    std::string path = LevelPath(field.mode, n);
    if (field.app && !field.app->FileExists(path))
        path = LevelPath(field.mode, 1);
    // The field is cleared as a level start would, but the level it belongs
    // to and its input state are left as they were.
    std::string keptPath = field.level.path;
    field.BeginPreview(path);
    LoadLevel(2, field, path, -1, false);
    field.level.path = keptPath;

    MemoryImage picture(800, 600);
    Graphics g(&picture);
    g.SetColor(Color(255, 255, 255, 170));
    g.SetColorizeImages(true);
    g.SetClipRect(50, 0, 700, 600);
    g.DrawImage(field.level.backgroundImage.get(), 0, 0);
    g.ClearClipRect();
    g.SetColorizeImages(false);
    FishPainter painter;
    for (size_t i = 0; i < field.layers.size(); ++i) {
        for (const auto& f : field.layers[i])
            painter.DrawShadow(&g, *f, static_cast<int>(i));
    }
    for (const auto& layer : field.layers) {
        for (const auto& f : layer)
            painter.Draw(&g, field, *f, true);
    }
    target.DrawImage(&picture, Rect(0, 0, 120, 90), Rect(0, 0, 800, 600));
}

} // namespace Zorvin
