#pragma once

// SoundInstance: one playing copy of a loaded sound effect, made by
// SoundManager::CreateInstance. Copies of one sound overlap freely, each with
// its own volume, pan and pitch. The manager owns every instance: the caller
// keeps only a plain pointer and hands the copy back with Release, or asks
// Play to release it by itself when it has finished; the manager deletes
// released instances when it needs their slots.
//
// Volumes are 0.0-1.0 and multiply: instance volume x base volume x the
// manager's master volume. Pans are hundredths of a decibel, -10000 (left)
// to 10000 (right); base pan and pan add up.

namespace Zorvin {

class SoundInstance {
public:
    virtual ~SoundInstance() = default;

    // Stops the copy and marks it free for reuse.
    virtual void Release() = 0;
    virtual void SetBaseVolume(double volume) = 0;
    virtual void SetBasePan(int pan) = 0;
    // Plays `semitones` higher (or lower when negative) than the recorded rate.
    virtual void AdjustPitch(double semitones) = 0;
    virtual void SetVolume(double volume) = 0;
    virtual void SetPan(int pan) = 0;
    // Starts from the beginning; `autoRelease` releases the copy once it
    // has finished playing (a looping copy never finishes).
    virtual bool Play(bool looping, bool autoRelease) = 0;
    // Stops and rewinds; the copy is no longer released automatically.
    virtual void Stop() = 0;
    virtual bool IsPlaying() = 0;
    virtual bool IsReleased() = 0;
    virtual double GetVolume() = 0;
};

} // namespace Zorvin
