#pragma once

// HeadlessPanelHost: a BoardPanelHost for running the board and its panel
// without the game application (tools, benchmarks, tests). The rules' calls
// go on to another BoardHost (a HeadlessHost or a test fake), button
// requests also reach the panel when one is attached, and the panel's own
// requests (menu, map, game complete) are only counted and the editor's
// file-name question gets a set answer.

#include <set>
#include <string>
#include <vector>

#include "game/board/view/BoardPanelHost.h"

namespace Zorvin {

class BoardInterface;

class HeadlessPanelHost : public BoardPanelHost {
public:
    explicit HeadlessPanelHost(BoardHost& inner) : inner(inner) {}

    void PlaySound(int soundId) override { inner.PlaySound(soundId); }
    void ShowHint(const std::string& text, int x, int y) override { inner.ShowHint(text, x, y); }
    void HideHint() override { inner.HideHint(); }
    void ShowLevelWonDialog(const std::string& header, const std::string& text, const std::string& button) override
    {
        inner.ShowLevelWonDialog(header, text, button);
    }
    void ShowGameOverDialog() override { inner.ShowGameOverDialog(); }
    void ShowHowToPlayDialog(bool clickMode) override { inner.ShowHowToPlayDialog(clickMode); }
    void SetUndoEnabled(bool enabled) override;
    void SetReshuffleButton(bool enabled, const std::string& label) override;
    PlayerProfile* CurrentProfile() override { return inner.CurrentProfile(); }
    void SavePlayers() override { inner.SavePlayers(); }
    void SetLevelWonThisSession() override { inner.SetLevelWonThisSession(); }
    bool PumpUntilUpdate() override { return inner.PumpUntilUpdate(); }
    int UpdateCount() const override { return inner.UpdateCount(); }
    void FadeOutAllMusic(double step) override { inner.FadeOutAllMusic(step); }
    void FadeInSong(int song, double step, bool loop) override { inner.FadeInSong(song, step, loop); }
    std::unique_ptr<Image> LoadDisplayImage(const std::string& path) override;
    bool FileExists(const std::string& path) override { return inner.FileExists(path); }

    void OpenMenu() override { ++menusOpened; }
    void ShowMapScreen(int level) override { mapLevels.push_back(level); }
    void ShowGameComplete() override { ++gameCompletions; }
    bool DebugKeysEnabled() const override { return debugKeys; }
    bool IsKeyHeld(int key) const override { return heldKeys.count(key) != 0; }
    // Answers the editor's file-name question with `fileNameAnswer`;
    // an empty answer is a cancel.
    bool AskFileName(const std::string& header, const std::string&, const std::string& suggested,
                     std::string& name) override
    {
        fileNameQuestions.push_back(header + "|" + suggested);
        name = fileNameAnswer;
        return !name.empty();
    }

    BoardHost& inner;
    // The panel whose buttons follow the rules' requests; may stay null.
    BoardInterface* panel = nullptr;
    // Loads level backgrounds from files when the inner host has none.
    bool loadImagesFromFiles = false;
    bool debugKeys = false;
    std::set<int> heldKeys;
    int menusOpened = 0;
    int gameCompletions = 0;
    std::vector<int> mapLevels;
    std::string fileNameAnswer;
    std::vector<std::string> fileNameQuestions;
};

} // namespace Zorvin
