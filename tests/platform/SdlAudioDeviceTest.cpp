#include "platform/SdlAudioDevice.h"

#include "framework/audio/music/MixerMusicInterface.h"
#include "framework/audio/MixerSoundManager.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

using namespace Zorvin;

namespace {

// Counts the frames the device asked the mixer for.
class CountingChannel : public AudioChannel {
public:
    void Mix(float*, int frames, int outputRate) override
    {
        framesPulled += frames;
        rate = outputRate;
    }
    std::atomic<long> framesPulled{0};
    std::atomic<int> rate{0};
};

} // namespace

TEST(SdlAudioDevice, PullsFromTheMixerOnItsOwnThread)
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    std::unique_ptr<SdlAudioDevice> device = SdlAudioDevice::Open();
    ASSERT_NE(device, nullptr);
    CountingChannel probe;
    device->GetMixer().AddChannel(&probe);
    for (int i = 0; i < 200 && probe.framesPulled < 4096; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_GE(probe.framesPulled, 4096);
    EXPECT_EQ(probe.rate, 44100);

    device->SetPaused(true);
    std::this_thread::sleep_for(std::chrono::milliseconds(50)); // let a running callback end
    long pausedAt = probe.framesPulled;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(probe.framesPulled, pausedAt);
    device->GetMixer().RemoveChannel(&probe);

    // The players attach to it and detach again before it closes.
    {
        MixerSoundManager sounds(device.get());
        MixerMusicInterface music(device.get());
        EXPECT_TRUE(sounds.IsReady());
        EXPECT_FALSE(music.LoadSong(0, "/nonexistent/song.mo3"));
    }
    EXPECT_EQ(device->GetMixer().GetChannelCount(), 0);
}

TEST(SdlAudioDevice, NoAudioSystemMeansNoDevice)
{
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    EXPECT_EQ(SdlAudioDevice::Open(), nullptr);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}
