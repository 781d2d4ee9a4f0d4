#pragma once

// AudioGain: the volume and pan laws of sound effects. Volumes are given as
// 0.0-1.0, turned into hundredths of a decibel by the game's own curve (which
// makes the lower half of a slider still audible) and then into the linear
// gain the mixer multiplies by. Pan is hundredths of a decibel of attenuation
// of the opposite side, -10000 (left only) to 10000 (right only).

namespace Zorvin {

class AudioGain {
public:
    // The level that stands for silence.
    static constexpr int kSilence = -10000;

    // Integer part of (log10(9v + 1) - 1) * 2333; anything below -2000
    // becomes kSilence. v is clamped to 0.0-1.0 first (NaN counts as 0).
    static int VolumeToHundredthsDb(double volume);

    // 10^(level / 2000); kSilence and below give exactly 0.
    static double HundredthsDbToGain(int level);

    // Left and right gains for a pan value, clamped to -10000..10000.
    static void PanToGains(int pan, double& left, double& right);
};

} // namespace Zorvin
