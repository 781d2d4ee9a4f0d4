#pragma once

// SoundManager: the table of loaded sound effects and the factory of their
// playing copies. Sounds are loaded once into numbered slots (0-255, as the
// resource manager assigns them) and played as SoundInstance copies, at most
// 32 at a time. The application owns the one manager (MixerSoundManager for
// the game) and plays sounds through it.

#include <string>

namespace Zorvin {

class SoundInstance;

class SoundManager {
public:
    virtual ~SoundManager() = default;

    // False when there is no sound output; loads then succeed without
    // loading anything and no copy can be made.
    virtual bool IsReady() = 0;
    // The slot already holding `name`, or the highest free slot newly loaded
    // with it; -1 when no slot is free or the load fails.
    virtual int LoadSampleByName(const std::string& name) = 0;
    // Loads `name` + ".ogg", else `name` + ".au", into slot `id`.
    virtual bool LoadSample(int id, const std::string& name) = 0;
    virtual void ReleaseSample(int id) = 0;
    // Volume of every copy of every sound (the player's sound volume).
    virtual void SetMasterVolume(double volume) = 0;
    virtual void SetSampleVolume(int id, double volume) = 0;
    virtual void SetSamplePan(int id, int pan) = 0;
    // A new copy of sound `id`, or null (no such sound, no sound output, or
    // all 32 copies busy). The manager keeps ownership.
    virtual SoundInstance* CreateInstance(int id) = 0;
    virtual void ReleaseAllSamples() = 0;
    virtual void ReleaseAllInstances() = 0;
    // Volume of everything the game outputs, sound and music (0.0-1.0).
    virtual double GetSystemVolume() = 0;
    virtual void SetSystemVolume(double volume) = 0;
    virtual void Flush() = 0;
    // Called when the main window is re-created; a back-end tied to a
    // window re-attaches here.
    virtual void SetWindow(void* window) = 0;
    // Stops every copy without releasing it.
    virtual void StopAll() = 0;
};

} // namespace Zorvin
