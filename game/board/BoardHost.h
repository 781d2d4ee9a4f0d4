#pragma once

// BoardHost: everything the board rules need from the running application,
// in one narrow interface. The game application implements it; the headless
// player and the tests provide their own versions, so the rules run without
// a window, sound or files. The host outlives every board object that uses
// it.

#include <memory>
#include <string>

#include "framework/graphics/Image.h"
#include "game/shared/PlayerProfile.h"

namespace Zorvin {

class BoardHost {
public:
    virtual ~BoardHost() = default;

    // Plays a sound effect by its id (a SOUND_ variable). Ids below 0 are
    // unbound sounds and must be ignored.
    virtual void PlaySound(int soundId) = 0;

    // The tip balloon: shows `text` (Windows-1251) with its arrow at (x, y),
    // or removes it from the screen.
    virtual void ShowHint(const std::string& text, int x, int y) = 0;
    virtual void HideHint() = 0;

    // The modal message dialog shown when a level is cleared.
    virtual void ShowLevelWonDialog(const std::string& header, const std::string& text,
                                    const std::string& button) = 0;
    // The modal level-lost window (restart or reshuffle).
    virtual void ShowGameOverDialog() = 0;
    // The how-to-play page shown when level 1 starts; `clickMode` picks the page.
    virtual void ShowHowToPlayDialog(bool clickMode) = 0;

    // The board panel's undo and reshuffle buttons.
    virtual void SetUndoEnabled(bool enabled) = 0;
    virtual void SetReshuffleButton(bool enabled, const std::string& label) = 0;

    // The current player, or null while there is none.
    virtual PlayerProfile* CurrentProfile() = 0;
    virtual void SavePlayers() = 0;
    virtual void SetLevelWonThisSession() = 0;

    // Runs application steps until one logic update has happened (which
    // updates the board again, nested). Returns false when the application
    // is shutting down; blocking animations then stop early.
    virtual bool PumpUntilUpdate() = 0;
    // Logic updates since the application started.
    virtual int UpdateCount() const = 0;

    // Music: fade every song out (stopping each once silent), or fade one
    // song in from its start.
    virtual void FadeOutAllMusic(double step) = 0;
    virtual void FadeInSong(int song, double step, bool loop) = 0;

    // Reads an image file into a new display image; null when it cannot be
    // loaded.
    virtual std::unique_ptr<Image> LoadDisplayImage(const std::string& path) = 0;
    virtual bool FileExists(const std::string& path) = 0;
};

} // namespace Zorvin
