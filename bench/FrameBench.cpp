// One complete in-game frame drawn in software, side by side with one
// memcpy of the 800 x 600 screen image: the backdrop copy, every tile of the
// densest campaign level, the play line, the deck, the combo meter and
// popups, through the real Board and BoardInterface. scripts/bench-report
// prints the ratio as "frame: ours/memcpy = R".
//
// The game folder is the build's (KORVELT_GAME_DIR), or $KORVELT_GAME.

#include <benchmark/benchmark.h>

#include "bench/ScreenCopy.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "framework/graphics/MemoryImage.h"
#include "game/board/LevelFile.h"
#include "game/shared/Res.h"
#include "tools/levelshot/LevelScene.h"

using namespace Zorvin;

namespace {

// The level with the most tiles of both modes, started and settled, with
// the meter two thirds full and a combo popup in flight. Null when the game
// folder cannot be read.
LevelScene* DenseScene()
{
    static std::unique_ptr<LevelScene> scene;
    static bool tried = false;
    if (tried)
        return scene.get();
    tried = true;
    const char* env = std::getenv("KORVELT_GAME");
    std::string dir = env ? env : KORVELT_GAME_DIR;
    std::error_code ec;
    auto cwd = std::filesystem::current_path(ec);
    auto s = std::make_unique<LevelScene>();
    std::string error;
    if (!s->Open(dir, error)) {
        std::fprintf(stderr, "frame bench: %s\n", error.c_str());
        std::filesystem::current_path(cwd, ec);
        return nullptr;
    }
    PlayMode bestMode = PlayMode::Drag;
    int bestLevel = 1;
    size_t bestTiles = 0;
    for (PlayMode mode : {PlayMode::Drag, PlayMode::Click}) {
        for (int n = 1;; ++n) {
            LevelFile file;
            if (!file.Read(LevelPath(mode, n)))
                break;
            size_t tiles = 0;
            for (const auto& layer : file.layers)
                tiles += layer.size();
            if (tiles > bestTiles) {
                bestTiles = tiles;
                bestMode = mode;
                bestLevel = n;
            }
        }
    }
    srand(1);
    if (!s->Start(bestMode, bestLevel, error)) {
        std::fprintf(stderr, "frame bench: %s\n", error.c_str());
        std::filesystem::current_path(cwd, ec);
        return nullptr;
    }
    s->Settle(300);
    s->board->comboMeter->level = 66;
    s->board->field->AddPopup(Popup(IMAGE_x3, -1, 745.0f, 329.0f, -0.2f, -0.2f));
    std::fprintf(stderr, "frame bench: %s level %d, %zu tiles\n",
                 bestMode == PlayMode::Click ? "click" : "drag", bestLevel, bestTiles);
    std::filesystem::current_path(cwd, ec);
    scene = std::move(s);
    return scene.get();
}

void FrameOurs(benchmark::State& state)
{
    LevelScene* scene = DenseScene();
    if (!scene) {
        state.SkipWithError("no game folder");
        return;
    }
    MemoryImage screen(800, 600);
    screen.SetImageMode(false, false);
    scene->DrawFrame(screen); // the backdrop is painted once, before timing
    for (auto _ : state) {
        scene->DrawFrame(screen);
        benchmark::DoNotOptimize(screen.GetBits());
        benchmark::ClobberMemory();
    }
}

} // namespace

BENCHMARK(FrameOurs)->Name("frame/ours");
BENCHMARK(ScreenCopy)->Name("frame/memcpy");
