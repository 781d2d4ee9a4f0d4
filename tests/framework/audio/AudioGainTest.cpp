#include "framework/audio/AudioGain.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace Zorvin;

TEST(AudioGain, VolumeLawFigures)
{
    EXPECT_EQ(AudioGain::VolumeToHundredthsDb(1.0), 0);
    EXPECT_EQ(AudioGain::VolumeToHundredthsDb(0.5), -605);
    EXPECT_EQ(AudioGain::VolumeToHundredthsDb(0.05), -1956);
    EXPECT_EQ(AudioGain::VolumeToHundredthsDb(0.04), AudioGain::kSilence);
    EXPECT_EQ(AudioGain::VolumeToHundredthsDb(0.0), AudioGain::kSilence);
    // The curve falls steadily from full volume down to the silence cut.
    int previous = 1;
    for (int i = 100; i >= 5; --i) {
        int level = AudioGain::VolumeToHundredthsDb(i / 100.0);
        EXPECT_LT(level, previous) << i;
        previous = level;
    }
}

TEST(AudioGain, OutOfRangeVolumesAreClamped)
{
    EXPECT_EQ(AudioGain::VolumeToHundredthsDb(2.5), 0);
    EXPECT_EQ(AudioGain::VolumeToHundredthsDb(-0.5), AudioGain::kSilence);
    EXPECT_EQ(AudioGain::VolumeToHundredthsDb(std::numeric_limits<double>::quiet_NaN()), AudioGain::kSilence);
}

TEST(AudioGain, LevelsBecomeLinearGains)
{
    EXPECT_DOUBLE_EQ(AudioGain::HundredthsDbToGain(0), 1.0);
    EXPECT_NEAR(AudioGain::HundredthsDbToGain(-600), 0.501, 0.001); // -6 dB
    EXPECT_NEAR(AudioGain::HundredthsDbToGain(-2000), 0.1, 1e-9);
    EXPECT_EQ(AudioGain::HundredthsDbToGain(AudioGain::kSilence), 0.0);
    EXPECT_EQ(AudioGain::HundredthsDbToGain(500), 1.0); // never amplifies
}

TEST(AudioGain, PanAttenuatesTheOtherSide)
{
    double left = 0;
    double right = 0;
    AudioGain::PanToGains(0, left, right);
    EXPECT_EQ(left, 1.0);
    EXPECT_EQ(right, 1.0);
    AudioGain::PanToGains(10000, left, right);
    EXPECT_EQ(left, 0.0);
    EXPECT_EQ(right, 1.0);
    AudioGain::PanToGains(-600, left, right);
    EXPECT_EQ(left, 1.0);
    EXPECT_NEAR(right, 0.501, 0.001);
    AudioGain::PanToGains(-99999, left, right); // clamped to full left
    EXPECT_EQ(left, 1.0);
    EXPECT_EQ(right, 0.0);
}
