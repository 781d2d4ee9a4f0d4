#include "platform/SdlAudioDevice.h"

#include <SDL.h>

#include <cstdio>

namespace Zorvin {

std::unique_ptr<SdlAudioDevice> SdlAudioDevice::Open(int outputRate)
{
    auto device = std::unique_ptr<SdlAudioDevice>(new SdlAudioDevice(outputRate));
    if (!SDL_WasInit(SDL_INIT_AUDIO)) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            std::fprintf(stderr, "No audio system, playing silently: %s\n", SDL_GetError());
            return nullptr;
        }
        device->ownsSubsystem = true;
    }
    SDL_AudioSpec wanted{};
    wanted.freq = device->mixer.GetOutputRate();
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = 1024;
    wanted.callback = &SdlAudioDevice::Callback;
    wanted.userdata = device.get();
    SDL_AudioSpec obtained{};
    // No allowed changes: SDL converts to whatever the hardware takes, so the
    // mixer always works at its own rate and format.
    device->deviceId = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (device->deviceId == 0) {
        std::fprintf(stderr, "No audio device, playing silently: %s\n", SDL_GetError());
        return nullptr; // the destructor quits the subsystem it started
    }
    SDL_PauseAudioDevice(device->deviceId, 0);
    return device;
}

SdlAudioDevice::~SdlAudioDevice()
{
    // Closing waits for a running callback, so the mixer is no longer used
    // once this returns.
    if (deviceId != 0)
        SDL_CloseAudioDevice(deviceId);
    if (ownsSubsystem)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlAudioDevice::SetPaused(bool paused)
{
    if (deviceId != 0)
        SDL_PauseAudioDevice(deviceId, paused ? 1 : 0);
}

void SdlAudioDevice::Callback(void* user, uint8_t* stream, int length)
{
    auto* self = static_cast<SdlAudioDevice*>(user);
    self->mixer.Render(reinterpret_cast<int16_t*>(stream), length / 4);
}

} // namespace Zorvin
