#include "platform/SdlPlatform.h"

#include "framework/app/ZorvinAppBase.h"

#include <SDL.h>

#include <cstdio>

namespace Zorvin {

std::unique_ptr<SdlPlatform> SdlPlatform::Open(bool wantSound)
{
    std::string error;
    auto windows = SdlWindowSystem::Open(&error);
    if (!windows) {
        std::string text = "The video system could not start: " + error;
        std::fprintf(stderr, "FATAL ERROR: %s\n", text.c_str());
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "FATAL ERROR", text.c_str(), nullptr);
        return nullptr;
    }
    std::unique_ptr<SdlPlatform> platform(new SdlPlatform());
    platform->windowSystem = std::move(windows);
    platform->presenter = std::make_unique<SdlPresenter>(platform->windowSystem.get());
    platform->services = std::make_unique<SdlSystemServices>(platform->windowSystem.get());
    if (wantSound)
        platform->audio = SdlAudioDevice::Open();
    return platform;
}

void SdlPlatform::Attach(ZorvinAppBase& app)
{
    app.SetWindowSystem(windowSystem.get());
    app.SetPresenter(presenter.get());
    app.SetSystemServices(services.get());
    app.SetAudioDevice(audio.get());
    presenter->SetSettingsOwner(&app);
}

} // namespace Zorvin
