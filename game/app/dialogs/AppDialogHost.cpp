#include "game/app/dialogs/AppDialogHost.h"

#include "framework/app/ZorvinAppBase.h"
#include "framework/widgets/WidgetManager.h"
#include "framework/widgets/controls/Dialog.h"
#include "game/shared/Res.h"

namespace Zorvin {

Dialog* AppDialogHost::OpenDialog(int id, std::unique_ptr<Dialog> dialog)
{
    return application.AddDialog(id, std::move(dialog));
}

void AppDialogHost::Close(Dialog* dialog) { application.CloseDialog(dialog); }

void AppDialogHost::ShowNotice(int id, const std::string& header, const std::string& text)
{
    application.ShowDialog(id, true, header, text, "OK", Dialog::ButtonsFooter);
}

Dialog* AppDialogHost::TopDialog() { return application.GetTopDialog(); }

void AppDialogHost::Focus(Widget* widget) { application.GetWidgetManager()->SetFocusWidget(widget); }

void AppDialogHost::PlayClick() { application.PlaySound(SOUND_CLICK); }

double AppDialogHost::MusicVolume() { return application.GetMusicVolume(); }

double AppDialogHost::SoundVolume() { return application.GetSoundVolume(); }

void AppDialogHost::ChangeMusicVolume(double volume) { application.SetMusicVolume(volume); }

void AppDialogHost::ChangeSoundVolume(double volume) { application.SetSoundVolume(volume); }

GameDialogHost::ScreenMode AppDialogHost::CurrentScreenMode()
{
    ScreenMode mode;
    mode.accelerated = application.IsAccelerated();
    mode.fullScreen = !application.IsWindowed();
    mode.fullScreenForced = application.IsFullScreenForced();
    return mode;
}

void AppDialogHost::ApplyOptions(bool fullScreen, bool accelerated)
{
    application.SwitchScreenMode(!fullScreen, accelerated, false);
    application.WriteSettingInteger("MusicVolume", static_cast<int>(application.GetMusicVolume() * 100));
    application.WriteSettingInteger("SfxVolume", static_cast<int>(application.GetSoundVolume() * 100));
    application.WriteSettingInteger("ScreenMode", application.IsWindowed() ? 0 : 1);
}

} // namespace Zorvin
