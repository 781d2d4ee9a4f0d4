#include "bench/FramePeers.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "framework/graphics/BlendOps.h"
#include "framework/graphics/SampleOps.h"

namespace Zorvin {

namespace {

// Two frames drawn onto a fresh opaque screen; the pixels of the second.
std::vector<uint32_t> SecondFrame(MemoryImage& screen, const FramePeers::DrawFrame& draw)
{
    screen.SetImageMode(false, false);
    uint32_t* p = screen.GetBits();
    std::fill(p, p + screen.width * screen.height, 0xFF203040u);
    screen.BitsChanged();
    draw(screen);
    draw(screen);
    return std::vector<uint32_t>(screen.GetBits(), screen.GetBits() + screen.width * screen.height);
}

} // namespace

std::unique_ptr<FramePeers> FramePeers::Make(const char* name, const DrawFrame& draw, std::string& error)
{
    std::unique_ptr<FramePeers> peers(new FramePeers);
    MemoryImage fast(800, 600), reference(800, 600);
    std::vector<uint32_t> ours = SecondFrame(fast, draw);
    BlendOps::UseReference(true);
    SampleOps::UseReference(true);
    std::vector<uint32_t> scalar = SecondFrame(reference, draw);
    BlendOps::UseReference(false);
    SampleOps::UseReference(false);
    size_t differ = 0;
    for (size_t i = 0; i < ours.size(); i++)
        differ += ours[i] != scalar[i];
    if (differ != 0) {
        error = std::string(name) + ": " + std::to_string(differ) + " pixels differ from the scalar reference";
        return nullptr;
    }
    peers->recording = std::make_unique<DrawRecording>(800, 600);
    peers->recording->SetImageMode(false, false);
    std::memcpy(peers->recording->GetBits(), ours.data(), ours.size() * 4);
    peers->recording->BitsChanged();
    draw(*peers->recording);
    peers->recording->Start();
    draw(*peers->recording);
    if (std::memcmp(peers->recording->GetBits(), ours.data(), ours.size() * 4) != 0) {
        error = std::string(name) + ": the recorded frame differs from the frame drawn";
        return nullptr;
    }
    const auto& requests = peers->recording->Requests();
    peers->pixman = std::make_unique<PixmanFrame>(requests);
    peers->floor = std::make_unique<BlendFloor>(requests);
    // pixman rounds differently, by a few levels; a request it replays
    // wrongly shows as pixels far from ours, and the peer would be timing
    // another picture.
    peers->pixman->Compose();
    size_t far = 0;
    for (size_t i = 0; i < ours.size(); i++) {
        uint32_t a = ours[i], b = peers->pixman->Pixels()[i];
        for (int shift = 0; shift < 24; shift += 8)
            if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > 4) {
                ++far;
                break;
            }
    }
    std::fprintf(stderr, "%s: %zu drawing requests (%d pixman cannot take), overdraw %lld pixels (%.2f screens)\n",
                 name, requests.size(), peers->pixman->Skipped(), static_cast<long long>(peers->floor->Pixels()),
                 double(peers->floor->Pixels()) / (800.0 * 600.0));
    if (far != 0 || peers->pixman->Skipped() != 0) {
        error = std::string(name) + ": pixman's frame differs from ours in " + std::to_string(far) +
                " pixels by more than 4 levels";
        return nullptr;
    }
    return peers;
}

void FramePeers::Pixman(benchmark::State& state, FramePeers* peers, const std::string& error)
{
    if (!peers) {
        state.SkipWithError(error.c_str());
        return;
    }
    for (auto _ : state) {
        peers->pixman->Compose();
        benchmark::ClobberMemory();
    }
}

void FramePeers::Floor(benchmark::State& state, FramePeers* peers, const std::string& error)
{
    if (!peers) {
        state.SkipWithError(error.c_str());
        return;
    }
    for (auto _ : state) {
        peers->floor->Blend();
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * peers->floor->Pixels());
}

} // namespace Zorvin
