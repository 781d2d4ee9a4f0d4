#include "framework/audio/AudioGain.h"

#include <algorithm>
#include <cmath>

namespace Zorvin {

int AudioGain::VolumeToHundredthsDb(double volume)
{
    if (!(volume > 0.0))
        return kSilence;
    volume = std::min(volume, 1.0);
    int level = static_cast<int>((std::log10(9.0 * volume + 1.0) - 1.0) * 2333.0);
    return level < -2000 ? kSilence : level;
}

double AudioGain::HundredthsDbToGain(int level)
{
    if (level <= kSilence)
        return 0.0;
    return std::pow(10.0, std::min(level, 0) / 2000.0);
}

void AudioGain::PanToGains(int pan, double& left, double& right)
{
    pan = std::clamp(pan, -10000, 10000);
    left = pan > 0 ? HundredthsDbToGain(-pan) : 1.0;
    right = pan < 0 ? HundredthsDbToGain(pan) : 1.0;
}

} // namespace Zorvin
