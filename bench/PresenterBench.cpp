// Upload-and-present time of one 800 x 600 frame through the presenter:
// SDL_UpdateTexture against SDL_LockTexture + copy + SDL_UnlockTexture,
// each followed by the scaled copy to the window and the present. Runs on
// the desktop when DISPLAY is set, else on SDL's dummy video driver. The
// reference is a plain memcpy of the same frame.
//
// "present/ours" is the path a typical in-game frame takes: the board stands
// still while one tile (80 x 50) is dragged a few pixels per frame; finding
// what changed, uploading that part and showing the frame. scripts/
// bench-report prints it as "present: ours/memcpy = R".

#include "framework/app/FrameDiff.h"
#include "framework/app/WindowSystem.h"
#include "platform/SdlPresenter.h"
#include "platform/SdlWindowSystem.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace Zorvin;

namespace {

struct PresenterRig {
    std::unique_ptr<SdlWindowSystem> windows;
    std::unique_ptr<SdlPresenter> presenter;
    std::vector<uint32_t> frame = std::vector<uint32_t>(800 * 600);

    explicit PresenterRig(SdlPresenter::UploadMode mode)
    {
        if (std::getenv("DISPLAY") == nullptr)
            setenv("SDL_VIDEODRIVER", "dummy", 0);
        windows = SdlWindowSystem::Open();
        if (!windows)
            return;
        WindowSpec spec;
        spec.title = "bench";
        spec.width = 800;
        spec.height = 600;
        spec.windowed = true;
        if (!windows->CreateMainWindow(spec))
            return;
        windows->ShowMainWindow(false);
        presenter = std::make_unique<SdlPresenter>(windows.get());
        if (presenter->Initialize(true, false) != RESULT_OK)
            presenter.reset();
        else
            presenter->SetUploadMode(mode);
        for (size_t i = 0; i < frame.size(); ++i)
            frame[i] = 0xFF000000u | static_cast<uint32_t>(i * 2654435761u >> 8);
    }
};

void Present(benchmark::State& state, SdlPresenter::UploadMode mode)
{
    PresenterRig rig(mode);
    if (!rig.presenter) {
        state.SkipWithError("no SDL window");
        return;
    }
    for (auto _ : state) {
        rig.frame[state.iterations() % rig.frame.size()] ^= 1; // a changed frame each time
        if (!rig.presenter->Present(rig.frame.data(), 800, 600))
            state.SkipWithError("present failed");
    }
    state.SetBytesProcessed(state.iterations() * 800 * 600 * 4);
}

void BM_PresentUpdateTexture(benchmark::State& state) { Present(state, SdlPresenter::UploadMode::UpdateTexture); }
void BM_PresentLockTexture(benchmark::State& state) { Present(state, SdlPresenter::UploadMode::LockTexture); }

void BM_FrameMemcpyReference(benchmark::State& state)
{
    std::vector<uint32_t> a(800 * 600, 0xFF102030u), b(800 * 600);
    for (auto _ : state) {
        std::memcpy(b.data(), a.data(), a.size() * 4);
        benchmark::DoNotOptimize(b.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * 800 * 600 * 4);
}

void PresentDragOurs(benchmark::State& state)
{
    PresenterRig rig(SdlPresenter::UploadMode::UpdateTexture);
    if (!rig.presenter) {
        state.SkipWithError("no SDL window");
        return;
    }
    const std::vector<uint32_t> board = rig.frame;
    FrameDiff diff;
    diff.Compare(rig.frame.data(), 800, 600);
    rig.presenter->Present(rig.frame.data(), 800, 600);
    int x = 100, y = 200, step = 0;
    for (auto _ : state) {
        // Put the board back where the tile was, then draw it 3 pixels on.
        for (int row = y; row < y + 50; ++row)
            std::memcpy(&rig.frame[size_t(row) * 800 + x], &board[size_t(row) * 800 + x], 80 * 4);
        step = (step + 1) % 150;
        x = 100 + 3 * step;
        y = 200 + step;
        for (int row = y; row < y + 50; ++row)
            std::fill_n(&rig.frame[size_t(row) * 800 + x], 80, 0xFFC0A080u + uint32_t(step));
        const std::vector<Rect>& changed = diff.Compare(rig.frame.data(), 800, 600);
        if (!changed.empty() &&
            !rig.presenter->PresentChanged(rig.frame.data(), 800, 600, changed.data(), int(changed.size())))
            state.SkipWithError("present failed");
    }
}

void PresentMemcpy(benchmark::State& state) { BM_FrameMemcpyReference(state); }

} // namespace

BENCHMARK(PresentDragOurs)->Name("present/ours");
BENCHMARK(PresentMemcpy)->Name("present/memcpy");
BENCHMARK(BM_FrameMemcpyReference)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PresentUpdateTexture)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PresentLockTexture)->Unit(benchmark::kMicrosecond);
