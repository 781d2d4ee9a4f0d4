#pragma once

// AppDialogHost: the application's half of GameDialogHost, served by the
// framework application: dialogs open and close through its dialog stack,
// the click sound, the focus, the volumes and the screen mode are its own.
// The game's half (player, board, screens) is left to the class that
// derives from it: the game application, the dialog screenshot tool and the
// dialog tests' fake game.

#include "game/app/dialogs/GameDialogHost.h"

namespace Zorvin {

class ZorvinAppBase;

class AppDialogHost : public GameDialogHost {
public:
    explicit AppDialogHost(ZorvinAppBase& application) : application(application) {}

    Dialog* OpenDialog(int id, std::unique_ptr<Dialog> dialog) override;
    void Close(Dialog* dialog) override;
    void ShowNotice(int id, const std::string& header, const std::string& text) override;
    Dialog* TopDialog() override;
    void Focus(Widget* widget) override;
    void PlayClick() override;
    double MusicVolume() override;
    double SoundVolume() override;
    void ChangeMusicVolume(double volume) override;
    void ChangeSoundVolume(double volume) override;
    ScreenMode CurrentScreenMode() override;
    void ApplyOptions(bool fullScreen, bool accelerated) override;

private:
    ZorvinAppBase& application;
};

} // namespace Zorvin
