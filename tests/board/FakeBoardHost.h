#pragma once

// A BoardHost for tests: records every call, keeps one player profile, and
// runs nested updates in line through `onUpdate` (normally the board's own
// update), so blocking animations complete inside the call that starts them.

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "game/board/BoardHost.h"

namespace Zorvin {

class FakeBoardHost : public BoardHost {
public:
    struct Hint {
        std::string text;
        int x, y;
    };

    void PlaySound(int soundId) override { sounds.push_back(soundId); }
    void ShowHint(const std::string& text, int x, int y) override
    {
        hints.push_back({text, x, y});
        visibleHint = text;
    }
    void HideHint() override
    {
        ++hintsHidden;
        visibleHint.clear();
    }
    void ShowLevelWonDialog(const std::string& header, const std::string& text, const std::string& button) override
    {
        wonDialogs.push_back(header + "|" + text + "|" + button);
    }
    void ShowGameOverDialog() override { ++gameOverDialogs; }
    void ShowHowToPlayDialog(bool clickMode) override { howToPlay.push_back(clickMode); }
    void SetUndoEnabled(bool enabled) override
    {
        undoEnabled = enabled;
        ++undoButtonChanges;
    }
    void SetReshuffleButton(bool enabled, const std::string& label) override
    {
        reshuffleEnabled = enabled;
        reshuffleLabel = label;
    }
    PlayerProfile* CurrentProfile() override { return hasProfile ? &profile : nullptr; }
    void SavePlayers() override { ++playersSaved; }
    void SetLevelWonThisSession() override { levelWonThisSession = true; }
    bool PumpUntilUpdate() override
    {
        if (closing)
            return false;
        ++pumps;
        Tick();
        return true;
    }
    int UpdateCount() const override { return updates; }
    void FadeOutAllMusic(double) override { ++fadeOuts; }
    void FadeInSong(int song, double, bool) override { songs.push_back(song); }
    std::unique_ptr<Image> LoadDisplayImage(const std::string&) override { return nullptr; }
    bool FileExists(const std::string& path) override { return existing.count(path) > 0; }

    // One application update: the counter, then the board.
    void Tick()
    {
        ++updates;
        if (onUpdate)
            onUpdate();
    }
    void Ticks(int n)
    {
        for (int i = 0; i < n; ++i)
            Tick();
    }
    int CountSound(int id) const
    {
        int n = 0;
        for (int s : sounds)
            n += s == id;
        return n;
    }

    std::function<void()> onUpdate;
    bool closing = false;
    int pumps = 0;
    int updates = 0;
    std::vector<int> sounds;
    std::vector<Hint> hints;
    int hintsHidden = 0;
    std::string visibleHint;
    std::vector<std::string> wonDialogs;
    int gameOverDialogs = 0;
    std::vector<bool> howToPlay;
    bool undoEnabled = false;
    int undoButtonChanges = 0;
    bool reshuffleEnabled = false;
    std::string reshuffleLabel;
    bool hasProfile = true;
    PlayerProfile profile;
    int playersSaved = 0;
    bool levelWonThisSession = false;
    int fadeOuts = 0;
    std::vector<int> songs;
    std::set<std::string> existing;
};

} // namespace Zorvin
