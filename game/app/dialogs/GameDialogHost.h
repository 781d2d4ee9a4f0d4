#pragma once

// GameDialogHost: everything the in-game dialogs, the options dialog and
// the tip balloon need from the game: opening and closing dialogs, the
// click sound, the focus, the volumes and the screen mode (AppDialogHost
// serves these from the application), and the current player, the board
// and the screens around it. The game application implements it; tests
// implement the game's part with a fake so each dialog can be driven
// without a board.

#include <memory>
#include <string>

#include "game/shared/DialogIds.h"
#include "game/shared/PlayMode.h"

namespace Zorvin {

class Dialog;
class Widget;
struct PlayerProfile;

// What the display's acceleration test concluded, for the options dialog.
enum class AccelerationVerdict {
    NotSupported,   // refused, or never tested
    NotRecommended, // works, but the card is weak (low video memory)
    Recommended,
};

class GameDialogHost {
public:
    virtual ~GameDialogHost() = default;

    // Opens a dialog above the others under its number (closing one of the
    // same number); the application owns it from then on.
    virtual Dialog* OpenDialog(int id, std::unique_ptr<Dialog> dialog) = 0;
    // Takes a dialog off the screen; it is deleted after this step, so a
    // dialog may close itself.
    virtual void Close(Dialog* dialog) = 0;
    // A modal message with an "OK" button under the number `id`.
    virtual void ShowNotice(int id, const std::string& header, const std::string& text) = 0;
    // The dialog opened last and still open, or null.
    virtual Dialog* TopDialog() = 0;
    // Gives the keyboard focus to a widget on the screen.
    virtual void Focus(Widget* widget) = 0;
    virtual void PlayClick() = 0;

    // The options: volumes from 0 to 1, and the screen mode as it is now.
    struct ScreenMode {
        bool accelerated = false;
        bool fullScreen = false;
        bool fullScreenForced = false; // no windowed mode on this desktop
    };
    virtual double MusicVolume() = 0;
    virtual double SoundVolume() = 0;
    virtual void ChangeMusicVolume(double volume) = 0;
    virtual void ChangeSoundVolume(double volume) = 0;
    virtual ScreenMode CurrentScreenMode() = 0;
    // Switches to the chosen screen mode and keeps it and the volumes in
    // the settings, so they last even if the game does not end normally.
    virtual void ApplyOptions(bool fullScreen, bool accelerated) = 0;

    // The current player, or null when there is none; SavePlayers writes
    // every profile back.
    virtual PlayerProfile* GetCurrentProfile() = 0;
    virtual void SavePlayers() = 0;

    // Board: its play mode (0 drag, 2 click), the reshuffles it has left,
    // keyboard focus to its panel (when it exists), replaying and
    // reshuffling the level, and asking for the backdrop to be rebuilt.
    virtual PlayMode GetBoardMode() = 0;
    virtual int GetShufflesLeft() = 0;
    virtual void FocusBoard() = 0;
    virtual void Restart() = 0;
    virtual void Reshuffle() = 0;
    virtual void SetBoardChanged() = 0;

    // Screens: back to the main menu (asking first, saving the game);
    // restoring a mode's saved game (false when it is missing or damaged);
    // the board and its panel in place of the main menu; the main menu out;
    // the map; the current level started afresh; the tip balloon away.
    virtual void ExitToMainMenu(bool askFirst) = 0;
    virtual bool RestoreGame(PlayMode mode) = 0;
    virtual void ShowBoardScreen() = 0;
    virtual void RemoveMainMenu() = 0;
    virtual void ShowMap() = 0;
    virtual void StartLevel() = 0;
    virtual void HideHintWindow() = 0;

    // The outcome of the display's acceleration test.
    virtual AccelerationVerdict GetAccelerationVerdict() = 0;
};

} // namespace Zorvin
