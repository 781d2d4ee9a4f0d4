// One frame of the map screen (the map picture, the stage points with their
// numbers, the marker, the strip of scrolls and thumbnails, the buttons),
// side by side with the same frame composed by pixman and with its blend
// floor (see FramePeers). scripts/bench-report prints "map: ours/pixman = R"
// and "map: ours/floor = F".

#include <benchmark/benchmark.h>

#include "bench/FramePeers.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "framework/graphics/MemoryImage.h"
#include "game/board/FishField.h"
#include "tools/levelshot/LevelScene.h"
#include "tools/levelshot/MapScene.h"

using namespace Zorvin;

namespace {

// Drag mode's map with the player in the middle of stage 3, the scroll open.
MapScene* MidStageMap()
{
    static std::unique_ptr<LevelScene> scene;
    static std::unique_ptr<MapScene> map;
    static bool tried = false;
    if (tried)
        return map.get();
    tried = true;
    const char* env = std::getenv("KORVELT_GAME");
    std::error_code ec;
    auto cwd = std::filesystem::current_path(ec);
    scene = std::make_unique<LevelScene>();
    std::string error;
    if (!scene->Open(env ? env : KORVELT_GAME_DIR, error) || !scene->Start(PlayMode::Drag, 1, error)) {
        std::fprintf(stderr, "map bench: %s\n", error.c_str());
        std::filesystem::current_path(cwd, ec);
        return nullptr;
    }
    map = std::make_unique<MapScene>(*scene, StoredMode(PlayMode::Drag));
    map->Enter(13);
    map->Settle(300);
    std::filesystem::current_path(cwd, ec);
    return map.get();
}

void MapOurs(benchmark::State& state)
{
    MapScene* map = MidStageMap();
    if (!map) {
        state.SkipWithError("no game folder");
        return;
    }
    MemoryImage screen(800, 600);
    screen.SetImageMode(false, false);
    for (auto _ : state) {
        map->map.Update();
        map->DrawFrame(screen);
        benchmark::DoNotOptimize(screen.GetBits());
        benchmark::ClobberMemory();
    }
}

struct Peers {
    std::unique_ptr<FramePeers> peers;
    std::string error = "no game folder";
};

Peers& MapPeers()
{
    static Peers p = [] {
        Peers made;
        if (MapScene* map = MidStageMap())
            made.peers =
                FramePeers::Make("map", [map](MemoryImage& screen) { map->DrawFrame(screen); }, made.error);
        return made;
    }();
    return p;
}

void MapPixman(benchmark::State& state) { FramePeers::Pixman(state, MapPeers().peers.get(), MapPeers().error); }
void MapFloor(benchmark::State& state) { FramePeers::Floor(state, MapPeers().peers.get(), MapPeers().error); }

} // namespace

BENCHMARK(MapOurs)->Name("map/ours");
BENCHMARK(MapPixman)->Name("map/pixman");
BENCHMARK(MapFloor)->Name("map/floor");
