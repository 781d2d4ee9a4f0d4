#pragma once

// AppBoardHost: the board's and the board panel's way into the running game.
// It forwards each request of the narrow board interfaces to the GameApp
// (sounds, music, the tip balloon, the level's dialogs, the player, nested
// updates, leaving for the map). It is a separate object rather than a base
// of GameApp because the application base already has operations of the
// same names with other meanings (image loading returns the framework's
// own image type there). The GameApp owns it and it lives as long as the
// board.

#include "game/board/view/BoardPanelHost.h"

namespace Zorvin {

class GameApp;

class AppBoardHost : public BoardPanelHost {
public:
    explicit AppBoardHost(GameApp& app) : app(app) {}

    void PlaySound(int soundId) override;
    void ShowHint(const std::string& text, int x, int y) override;
    void HideHint() override;
    void ShowLevelWonDialog(const std::string& header, const std::string& text, const std::string& button) override;
    void ShowGameOverDialog() override;
    void ShowHowToPlayDialog(bool clickMode) override;
    void SetUndoEnabled(bool enabled) override;
    void SetReshuffleButton(bool enabled, const std::string& label) override;
    PlayerProfile* CurrentProfile() override;
    void SavePlayers() override;
    void SetLevelWonThisSession() override;
    bool PumpUntilUpdate() override;
    int UpdateCount() const override;
    void FadeOutAllMusic(double step) override;
    void FadeInSong(int song, double step, bool loop) override;
    std::unique_ptr<Image> LoadDisplayImage(const std::string& path) override;
    bool FileExists(const std::string& path) override;

    void OpenMenu() override;
    void ShowMapScreen(int level) override;
    void ShowGameComplete() override;
    bool DebugKeysEnabled() const override;
    bool IsKeyHeld(int key) const override;
    // The level editor's file-name question: the text-entry dialog 1006,
    // without the player-name filter, waited for.
    bool AskFileName(const std::string& header, const std::string& label, const std::string& suggested,
                     std::string& name) override;

private:
    // The board and its panel are the screen shown.
    bool BoardOnScreen() const;

    static constexpr int kMaxFileNameChars = 255;
    static constexpr int kFileDialogHeight = 200;
    GameApp& app;
};

} // namespace Zorvin
