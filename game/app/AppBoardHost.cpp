#include "game/app/AppBoardHost.h"

#include "framework/core/FileUtil.h"

#include "framework/audio/music/MusicInterface.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/widgets/WidgetManager.h"
#include "framework/widgets/controls/Dialog.h"
#include "framework/widgets/controls/EditWidget.h"
#include "game/app/GameApp.h"
#include "game/app/dialogs/DialogWithEdit.h"
#include "game/board/view/Board.h"
#include "game/board/view/BoardInterface.h"

namespace Zorvin {

void AppBoardHost::PlaySound(int soundId) { app.PlaySound(soundId); }

bool AppBoardHost::BoardOnScreen() const { return app.IsScreenShown(app.GetBoardPanel()); }

// A level left during its start (the in-game menu's "Главное меню" in the
// intro) still runs the rest of its start once the intro is cut short: its
// tip and how-to page belong to the board and must not open over the main
// menu.
void AppBoardHost::ShowHint(const std::string& text, int x, int y)
{
    // The tip must not hide what it talks about: the tiles the player can
    // take and the combo meter stay in sight.
    if (BoardOnScreen())
        app.ShowHintWindow(x, y, text, app.GetBoard()->rules->KeepClearAreas());
}

void AppBoardHost::HideHint() { app.HideHintWindow(); }

// The board's words of congratulation give way to the level's figures.
void AppBoardHost::ShowLevelWonDialog(const std::string& header, const std::string&, const std::string& button)
{
    app.ShowLevelSummary(header, button);
}

void AppBoardHost::ShowGameOverDialog() { app.ShowGameOverWindow(); }

void AppBoardHost::ShowHowToPlayDialog(bool clickMode)
{
    if (BoardOnScreen())
        app.ShowHowToPlay(clickMode);
}

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

void AppBoardHost::SetLevelWonThisSession() { app.OnLevelWon(); }

bool AppBoardHost::PumpUntilUpdate()
{
    // A blocking animation (the intro, a reshuffle, a deal) ends early when
    // the game shuts down or when the board has left the screen under it.
    // While a modal dialog (the in-game menu) is above the board it waits,
    // as the rest of the level does: neither the intro nor the rest of the
    // level's start runs on behind the menu.
    do {
        if (app.HasShutdownStarted() || !BoardOnScreen())
            return false;
        app.PumpUntilUpdate();
    } while (app.GetWidgetManager()->GetModalWidget() != nullptr);
    return !app.HasShutdownStarted() && BoardOnScreen();
}

int AppBoardHost::UpdateCount() const { return app.GetUpdateCount(); }

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

bool AppBoardHost::DebugKeysEnabled() const { return app.DebugKeysEnabled(); }

bool AppBoardHost::IsKeyHeld(int key) const
{
    return app.GetWidgetManager() != nullptr && app.GetWidgetManager()->IsKeyDown(key);
}

bool AppBoardHost::AskFileName(const std::string& header, const std::string& label, const std::string& suggested,
                               std::string& name)
{
    auto d = std::make_unique<DialogWithEdit>(header, label, suggested);
    // File names are not player names: any character, and longer.
    d->filterNames = false;
    d->Edit().maxChars = kMaxFileNameChars;
    // Near the top, so the layout stays in view; tall enough for the field
    // with the buttons below it.
    d->Resize(250, 50, 384, kFileDialogHeight);
    return DialogWithEdit::AskAndWait(app, std::move(d), name);
}

} // namespace Zorvin
