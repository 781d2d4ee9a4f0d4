#pragma once

// SdlPlatform: everything the application needs from the desktop, made in
// one place — the window system, the presenter, message boxes, clipboard
// and the audio device — and handed to an application in one call. The
// program's entry point owns it and must keep it alive until the
// application is destroyed:
//
//     auto platform = SdlPlatform::Open();
//     GameApp app;
//     platform->Attach(app);
//     app.SetCommandLine(argc, argv);
//     app.Initialize();
//     app.Run();

#include "platform/SdlAudioDevice.h"
#include "platform/SdlPresenter.h"
#include "platform/SdlSystemServices.h"
#include "platform/SdlWindowSystem.h"

#include <memory>
#include <string>

namespace Zorvin {

class ZorvinAppBase;

class SdlPlatform {
public:
    // Null when the video system cannot start (the reason is written to
    // standard error and, where possible, shown in a message box). A
    // missing audio device only means silence.
    static std::unique_ptr<SdlPlatform> Open(bool wantSound = true);

    void Attach(ZorvinAppBase& app);

    SdlWindowSystem* GetWindowSystem() const { return windowSystem.get(); }
    SdlPresenter* GetPresenter() const { return presenter.get(); }
    SdlSystemServices* GetSystemServices() const { return services.get(); }
    SdlAudioDevice* GetAudioDevice() const { return audio.get(); }

private:
    SdlPlatform() = default;

    std::unique_ptr<SdlWindowSystem> windowSystem;
    std::unique_ptr<SdlPresenter> presenter;
    std::unique_ptr<SdlSystemServices> services;
    std::unique_ptr<SdlAudioDevice> audio;
};

} // namespace Zorvin
