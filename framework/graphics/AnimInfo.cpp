#include "framework/graphics/AnimInfo.h"

#include <algorithm>
#include <cstdint>

namespace Zorvin {

void AnimInfo::Compute(int cels, int beginDelay, int endDelay)
{
    numCels = std::max(1, cels);
    frameDelay = std::max(1, frameDelay);

    if (animType == AnimPingPong && numCels > 1) {
        frameMap.clear();
        for (int i = 0; i < numCels; i++)
            frameMap.push_back(i);
        for (int i = numCels - 2; i >= 1; i--)
            frameMap.push_back(i);
    }
    int frames = GetFrameCount();

    if (beginDelay > 0) {
        if (perFrameDelay.empty())
            perFrameDelay.resize(1, frameDelay);
        perFrameDelay[0] = beginDelay;
    }
    if (endDelay > 0) {
        if (int(perFrameDelay.size()) < frames)
            perFrameDelay.resize(frames, frameDelay);
        perFrameDelay[frames - 1] = endDelay;
    }

    // Summed wide and clamped: absurd delays must not wrap the total.
    int64_t total = 0;
    if (!perFrameDelay.empty()) {
        perFrameDelay.resize(frames, frameDelay);
        for (int& d : perFrameDelay) {
            if (d < 1)
                d = frameDelay;
            total += d;
        }
    } else {
        total = int64_t(frames) * frameDelay;
    }
    totalAnimTime = static_cast<int>(std::min<int64_t>(total, INT32_MAX));
}

int AnimInfo::GetFrameCount() const
{
    return frameMap.empty() ? std::max(1, numCels) : int(frameMap.size());
}

int AnimInfo::GetCelForFrame(int frame) const
{
    int frames = GetFrameCount();
    frame = std::clamp(frame, 0, frames - 1);
    int cel = frameMap.empty() ? frame : frameMap[frame];
    return std::clamp(cel, 0, std::max(1, numCels) - 1);
}

int AnimInfo::GetFrameAt(int time) const
{
    int frames = GetFrameCount();
    if (animType == AnimNone || totalAnimTime <= 0 || time < 0)
        return 0;
    if (animType == AnimOnce) {
        if (time >= totalAnimTime)
            return frames - 1;
    } else {
        time %= totalAnimTime;
    }
    if (perFrameDelay.empty())
        return std::min(frames - 1, time / std::max(1, frameDelay));
    for (int i = 0; i < frames && i < int(perFrameDelay.size()); i++) {
        if (time < perFrameDelay[i])
            return i;
        time -= perFrameDelay[i];
    }
    return frames - 1;
}

} // namespace Zorvin
