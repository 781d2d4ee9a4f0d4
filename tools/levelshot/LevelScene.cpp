#include "tools/levelshot/LevelScene.h"

#include <filesystem>

#include "framework/graphics/Graphics.h"
#include "framework/widgets/controls/ButtonWidget.h"
#include "game/app/ResBind.h"
#include "game/board/headless/AutoPlayer.h"
#include "game/board/LevelFile.h"
#include "game/board/view/PanelPointer.h"

namespace Zorvin {

LevelScene::LevelScene() = default;

LevelScene::~LevelScene()
{
    panelHost.panel = nullptr;
    host.onUpdate = nullptr;
    panel.reset();
    board.reset();
    ClearBoundResources();
}

bool LevelScene::Open(const std::string& gameDir, std::string& error)
{
    std::error_code ec;
    std::filesystem::current_path(gameDir, ec);
    if (ec) {
        error = "cannot enter " + gameDir + ": " + ec.message();
        return false;
    }
    manager = std::make_unique<ResourceManager>(&resourceHost);
    if (!manager->ParseManifest("properties/resources.xml")) {
        error = manager->GetErrorText();
        return false;
    }
    for (const char* group : {"Init", "TitleScreen", "Game"}) {
        if (!manager->LoadResources(group)) {
            error = manager->GetErrorText();
            return false;
        }
    }
    if (!BindInitResources(*manager) || !BindTitleScreenResources(*manager) || !BindGameResources(*manager)) {
        error = manager->GetErrorText();
        return false;
    }
    panelHost.loadImagesFromFiles = true;
    host.profile.showInstructions = false;
    board = std::make_unique<Board>(panelHost);
    panel = std::make_unique<BoardInterface>(*board, panelHost);
    panelHost.panel = panel.get();
    host.onUpdate = [this] { board->Update(); };
    return true;
}

bool LevelScene::Start(PlayMode mode, int level, std::string& error)
{
    std::string path = LevelPath(mode, level);
    if (level < 1 || !host.FileExists(path)) {
        error = "no level " + std::to_string(level) + " (" + path + ")";
        return false;
    }
    host.profile.Progress(mode).level = level;
    board->StartLevel(mode);
    if (board->field->CountFish() == 0) {
        error = path + " is not a level with tiles";
        return false;
    }
    return true;
}

void LevelScene::Settle(int updates)
{
    for (int i = 0; i < updates; ++i)
        host.Tick();
}

int LevelScene::Play(int moves)
{
    if (moves <= 0)
        return 0;
    AutoPlayer player(*board->rules, host);
    PanelPointer pointer(*board, *panel);
    player.pointer = &pointer;
    player.afterAction = [&] {
        if (pointer.puts >= moves)
            player.updateLimit = 0;
    };
    player.Play();
    return pointer.puts;
}

void LevelScene::DrawFrame(MemoryImage& screen)
{
    Graphics g(&screen);
    panel->Draw(&g);
    for (Widget* child : panel->GetChildren()) {
        if (!child->visible)
            continue;
        Graphics cg(g);
        cg.Translate(child->x, child->y);
        cg.ClipRect(0, 0, child->width, child->height);
        child->Draw(&cg);
    }
    board->Draw(&g);
}

} // namespace Zorvin
