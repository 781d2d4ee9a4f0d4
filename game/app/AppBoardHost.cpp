#include "game/app/AppBoardHost.h"

#include "framework/core/FileUtil.h"

#include "framework/audio/music/MusicInterface.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/widgets/controls/Dialog.h"
#include "framework/widgets/controls/EditWidget.h"
#include "game/app/GameApp.h"
#include "game/app/dialogs/DialogWithEdit.h"
#include "game/board/view/BoardInterface.h"

namespace Zorvin {

void AppBoardHost::PlaySound(int soundId) { app.PlaySound(soundId); }

void AppBoardHost::ShowHint(const std::string& text, int x, int y) { app.ShowHintWindow(x, y, text); }

void AppBoardHost::HideHint() { app.HideHintWindow(); }

void AppBoardHost::ShowLevelWonDialog(const std::string& header, const std::string& text, const std::string& button)
{
    app.ShowDialog(DialogLevelWon, true, header, text, button, Dialog::ButtonsFooter);
}

void AppBoardHost::ShowGameOverDialog() { app.ShowGameOverWindow(); }

void AppBoardHost::ShowHowToPlayDialog(bool clickMode) { app.ShowHowToPlay(clickMode); }

void AppBoardHost::SetUndoEnabled(bool enabled)
{
    if (app.GetBoardPanel() != nullptr)
        app.GetBoardPanel()->SetUndoEnabled(enabled);
}

void AppBoardHost::SetReshuffleButton(bool enabled, const std::string& label)
{
    if (app.GetBoardPanel() != nullptr)
        app.GetBoardPanel()->SetReshuffleButton(enabled, label);
}

PlayerProfile* AppBoardHost::CurrentProfile() { return app.CurrentProfile(); }

void AppBoardHost::SavePlayers() { app.SavePlayers(); }

void AppBoardHost::SetLevelWonThisSession() { app.levelWonThisSession = true; }

bool AppBoardHost::PumpUntilUpdate()
{
    if (app.HasShutdownStarted())
        return false;
    app.PumpUntilUpdate();
    return !app.HasShutdownStarted();
}

int AppBoardHost::UpdateCount() const { return app.updateCount; }

void AppBoardHost::FadeOutAllMusic(double step)
{
    if (MusicInterface* music = app.GetMusicInterface())
        music->FadeOutAllSongs(true, step);
}

void AppBoardHost::FadeInSong(int song, double step, bool loop)
{
    if (MusicInterface* music = app.GetMusicInterface())
        music->FadeInSong(song, 0, step, !loop);
    app.NoteSongPlaying(song);
}

std::unique_ptr<Image> AppBoardHost::LoadDisplayImage(const std::string& path)
{
    return app.LoadDisplayImage(path, 0);
}

// Level files are the game's own, not the player's data: asked straight
// from the disk, also while a frame draws a level's preview.
bool AppBoardHost::FileExists(const std::string& path) { return FileUtil::Exists(path); }

void AppBoardHost::OpenMenu() { app.OpenGameMenu(); }

void AppBoardHost::ShowMapScreen(int level) { app.ShowMapScreen(level); }

void AppBoardHost::ShowGameComplete() { app.FinishCampaign(); }

bool AppBoardHost::DebugKeysEnabled() const { return app.debugKeysEnabled; }

bool AppBoardHost::AskFileName(const std::string& header, const std::string& label, const std::string& suggested,
                               std::string& name)
{
    auto* d = new DialogWithEdit(header, label, suggested);
    // File names are not player names: any character, and longer.
    d->filterNames = false;
    d->Edit().maxChars = kMaxFileNameChars;
    // Near the top, so the layout stays in view; tall enough for the field
    // with the buttons below it.
    d->Resize(250, 50, 384, kFileDialogHeight);
    return d->AskAndWait(app, name);
}

} // namespace Zorvin
