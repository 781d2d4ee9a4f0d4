#pragma once

// HeadlessHost: a BoardHost with no window, sound or music, for playing the
// rules alone (the headless player, benchmarks). Nested updates run the
// board through `onUpdate`; the dialogs the rules would open are only
// remembered, so the player can act on them. Images are never loaded.

#include <filesystem>
#include <functional>

#include "game/board/BoardHost.h"

namespace Zorvin {

class HeadlessHost : public BoardHost {
public:
    void PlaySound(int) override {}
    void ShowHint(const std::string&, int, int) override {}
    void HideHint() override {}
    void ShowLevelWonDialog(const std::string&, const std::string&, const std::string&) override { levelWon = true; }
    void ShowGameOverDialog() override { gameOver = true; }
    void ShowHowToPlayDialog(bool) override {}
    void SetUndoEnabled(bool enabled) override { undoEnabled = enabled; }
    void SetReshuffleButton(bool, const std::string&) override {}
    PlayerProfile* CurrentProfile() override { return &profile; }
    void SavePlayers() override {}
    void SetLevelWonThisSession() override {}
    bool PumpUntilUpdate() override
    {
        Tick();
        return true;
    }
    int UpdateCount() const override { return updates; }
    void FadeOutAllMusic(double) override {}
    void FadeInSong(int, double, bool) override {}
    std::unique_ptr<Image> LoadDisplayImage(const std::string&) override { return nullptr; }
    bool FileExists(const std::string& path) override
    {
        std::error_code ec;
        return std::filesystem::is_regular_file(path, ec);
    }

    // One application update.
    void Tick()
    {
        ++updates;
        if (onUpdate)
            onUpdate();
    }

    std::function<void()> onUpdate;
    int updates = 0;
    PlayerProfile profile;
    bool levelWon = false;
    bool gameOver = false;
    bool undoEnabled = false;
};

} // namespace Zorvin
