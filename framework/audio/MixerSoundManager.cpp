#include "framework/audio/MixerSoundManager.h"

#include "framework/audio/AuReader.h"
#include "framework/audio/OggReader.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace Zorvin {

namespace {

bool EndsWith(const std::string& text, const char* suffix)
{
    std::string s(suffix);
    return text.size() >= s.size() && text.compare(text.size() - s.size(), s.size(), s) == 0;
}

int64_t SteadyMilliseconds()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

double ClampVolume(double v)
{
    return std::isnan(v) ? 0.0 : std::clamp(v, 0.0, 1.0);
}

} // namespace

MixerSoundManager::MixerSoundManager(AudioDevice* device)
    : mixer(device ? &device->GetMixer() : nullptr), clock(&SteadyMilliseconds)
{
}

MixerSoundManager::~MixerSoundManager()
{
    ReleaseAllInstances();
}

bool MixerSoundManager::DecodeFile(const std::string& name, SoundSample& out)
{
    if (OggReader::LoadFile(name + ".ogg", out) || AuReader::LoadFile(name + ".au", out))
        return true;
    if (EndsWith(name, ".ogg"))
        return OggReader::LoadFile(name, out);
    if (EndsWith(name, ".au"))
        return AuReader::LoadFile(name, out);
    return false;
}

bool MixerSoundManager::LoadSample(int id, const std::string& name)
{
    if (!ValidId(id))
        return false;
    {
        std::lock_guard<std::mutex> guard(slotMutex);
        samples[id] = SampleSlot();
        samples[id].name = name;
    }
    return FillSlot(id, name);
}

bool MixerSoundManager::FillSlot(int id, const std::string& name)
{
    if (!mixer)
        return true;
    // Decoded outside the lock: the loading thread must not hold up the
    // game thread's sounds while it reads a file.
    auto sample = std::make_shared<SoundSample>();
    bool ok = DecodeFile(name, *sample) && sample->GetFrameCount() > 0;
    std::lock_guard<std::mutex> guard(slotMutex);
    if (samples[id].name != name)
        return false; // the slot was taken over meanwhile
    if (ok)
        samples[id].sample = std::move(sample);
    else
        samples[id].name.clear(); // a failed slot must not answer look-ups by name
    return ok;
}

int MixerSoundManager::LoadSampleByName(const std::string& name)
{
    int free = -1;
    {
        std::lock_guard<std::mutex> guard(slotMutex);
        for (int id = 0; id < kSampleSlots; ++id)
            if (!samples[id].name.empty() && samples[id].name == name)
                return id;
        for (int id = kSampleSlots - 1; id >= 0 && free < 0; --id)
            if (!samples[id].sample && samples[id].name.empty())
                free = id;
        if (free < 0)
            return -1;
        // Claimed by name now, so a second load of the same name meanwhile
        // finds this slot instead of taking another.
        samples[free] = SampleSlot();
        samples[free].name = name;
    }
    return FillSlot(free, name) ? free : -1;
}

void MixerSoundManager::ReleaseSample(int id)
{
    if (!ValidId(id))
        return;
    // Copies still playing keep their own reference to the decoded data.
    std::lock_guard<std::mutex> guard(slotMutex);
    samples[id].sample.reset();
    samples[id].name.clear();
}

void MixerSoundManager::ReleaseAllSamples()
{
    for (int id = 0; id < kSampleSlots; ++id)
        ReleaseSample(id);
}

void MixerSoundManager::SetMasterVolume(double volume)
{
    masterVolume = ClampVolume(volume);
    for (auto& instance : instances)
        if (instance)
            instance->ApplyVolume();
}

void MixerSoundManager::SetSampleVolume(int id, double volume)
{
    std::lock_guard<std::mutex> guard(slotMutex);
    if (ValidId(id))
        samples[id].baseVolume = volume;
}

void MixerSoundManager::SetSamplePan(int id, int pan)
{
    std::lock_guard<std::mutex> guard(slotMutex);
    if (ValidId(id))
        samples[id].basePan = pan;
}

int MixerSoundManager::FindFreeInstanceSlot()
{
    int64_t now = clock ? clock() : 0;
    if (!swept || now - lastSweep >= kSweepIntervalMs) {
        swept = true;
        lastSweep = now;
        for (auto& instance : instances)
            if (instance && instance->IsReleased())
                instance.reset();
    }
    for (int i = 0; i < kInstanceSlots; ++i)
        if (!instances[i])
            return i;
    for (int i = 0; i < kInstanceSlots; ++i) {
        if (instances[i]->IsReleased()) {
            instances[i].reset();
            return i;
        }
    }
    return -1;
}

SoundInstance* MixerSoundManager::CreateInstance(int id)
{
    if (!ValidId(id) || !mixer)
        return nullptr;
    SampleSlot slotCopy;
    {
        std::lock_guard<std::mutex> guard(slotMutex);
        slotCopy = samples[id];
    }
    if (!slotCopy.sample)
        return nullptr;
    int slot = FindFreeInstanceSlot();
    if (slot < 0)
        return nullptr;
    auto instance = std::make_unique<MixerSoundInstance>(*this, *mixer, slotCopy.sample);
    instance->SetBasePan(slotCopy.basePan);
    instance->SetBaseVolume(slotCopy.baseVolume);
    instances[slot] = std::move(instance);
    return instances[slot].get();
}

void MixerSoundManager::ReleaseAllInstances()
{
    for (auto& instance : instances)
        instance.reset();
}

double MixerSoundManager::GetSystemVolume()
{
    return systemVolume;
}

void MixerSoundManager::SetSystemVolume(double volume)
{
    systemVolume = ClampVolume(volume);
    if (mixer)
        mixer->SetOutputGain(systemVolume);
}

void MixerSoundManager::StopAll()
{
    for (auto& instance : instances)
        if (instance)
            instance->Halt();
}

const SoundSample* MixerSoundManager::GetSample(int id) const
{
    std::lock_guard<std::mutex> guard(slotMutex);
    return ValidId(id) ? samples[id].sample.get() : nullptr;
}

std::string MixerSoundManager::GetSampleName(int id) const
{
    std::lock_guard<std::mutex> guard(slotMutex);
    return ValidId(id) ? samples[id].name : std::string();
}

double MixerSoundManager::GetSampleVolume(int id) const
{
    std::lock_guard<std::mutex> guard(slotMutex);
    return ValidId(id) ? samples[id].baseVolume : 0.0;
}

int MixerSoundManager::GetSamplePan(int id) const
{
    std::lock_guard<std::mutex> guard(slotMutex);
    return ValidId(id) ? samples[id].basePan : 0;
}

int MixerSoundManager::GetInstanceCount() const
{
    return static_cast<int>(std::count_if(instances.begin(), instances.end(),
                                          [](const auto& instance) { return instance != nullptr; }));
}

} // namespace Zorvin
