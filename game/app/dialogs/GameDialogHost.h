#pragma once

// GameDialogHost: what the in-game dialogs, the options dialog and the tip
// balloon need from the game beyond the framework application: the current
// player, the board and the screens around it. The game application
// implements it; tests implement it with a fake so each dialog can be driven
// without a board. The dialogs open, close, sound and switch the screen mode
// through the framework application it hands out.

#include "game/shared/DialogIds.h"
#include "game/shared/PlayMode.h"

namespace Zorvin {

class ZorvinAppBase;
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

    // The application that owns the dialogs, plays the sounds and holds the
    // volumes and the screen mode.
    virtual ZorvinAppBase& GetApp() = 0;

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
