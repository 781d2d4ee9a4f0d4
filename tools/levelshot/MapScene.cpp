#include "tools/levelshot/MapScene.h"

#include "framework/graphics/Graphics.h"
#include "framework/widgets/controls/ButtonWidget.h"
#include "game/board/view/Board.h"
#include "tools/levelshot/LevelScene.h"

namespace Zorvin {

MapScene::MapScene(LevelScene& levelScene, int boardMode) : scene(levelScene), mode(boardMode)
{
    map.Resize(0, 0, 800, 600);
}

StageMap& MapScene::GetStageMap()
{
    return *scene.board->stageMap;
}

PlayerProfile* MapScene::CurrentProfile()
{
    return scene.host.CurrentProfile();
}

MapHost::LevelBest MapScene::BestOf(int level)
{
    if (level < 1 || level >= CurrentProfile()->Progress(PlayModeOf(mode)).level)
        return {};
    return {1000 + 137 * level, 1 + level % 3};
}

void MapScene::Enter(int level)
{
    PlayerProfile* p = CurrentProfile();
    p->Progress(PlayModeOf(mode)).level = level;
    scene.board->field->mode = PlayModeOf(mode);
    GetStageMap().RebuildStagePoints();
    map.Enter(level);
}

void MapScene::Settle(int updates)
{
    for (int i = 0; i < updates; ++i)
        map.Update();
}

void MapScene::DrawFrame(MemoryImage& screen)
{
    Graphics g(&screen);
    map.Draw(&g);
    for (ButtonWidget* b : {map.mainMenuButton.get(), map.playButton.get()}) {
        Graphics bg(g);
        bg.Translate(b->x, b->y);
        bg.ClipRect(0, 0, b->width, b->height);
        b->Draw(&bg);
    }
}

} // namespace Zorvin
