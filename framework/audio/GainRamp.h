#pragma once

// GainRamp: a channel gain that glides to a new value over a few
// milliseconds instead of jumping, so that muting, volume sliders and pans
// do not click. Lives inside a channel and is used under the mixer lock.

namespace Zorvin {

class GainRamp {
public:
    // 256 frames: under 6 ms at 44100 Hz, too short to hear as a fade.
    static constexpr int kRampFrames = 256;

    explicit GainRamp(float value = 0.0f) : current(value), target(value) {}

    // Glides from the present value to `value`.
    void Set(float value)
    {
        target = value;
        step = (target - current) / kRampFrames;
    }
    // Takes `value` at once (a sound that starts from silence anyway).
    void Jump(float value) { current = target = value; step = 0.0f; }
    // Settles on the target at once.
    void Settle() { current = target; step = 0.0f; }
    // Starts from silence and glides up to the target: a sound that comes
    // back in the middle of its wave after silence would otherwise click.
    void RiseFromSilence()
    {
        current = 0.0f;
        step = target / kRampFrames;
    }

    float GetTarget() const { return target; }
    bool IsSteady() const { return current == target; }

    // The gain for the next frame.
    float Next()
    {
        if (current != target) {
            current += step;
            if ((step > 0.0f && current > target) || (step < 0.0f && current < target) || step == 0.0f)
                current = target;
        }
        return current;
    }

private:
    float current;
    float target;
    float step = 0.0f;
};

} // namespace Zorvin
