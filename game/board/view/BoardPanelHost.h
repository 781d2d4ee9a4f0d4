#pragma once

// BoardPanelHost: what the board panel needs from the running application
// beyond the rules' own BoardHost: the in-game menu, the way out to the map,
// the developer keys and the level editor's file-name question. The game
// application implements it; tests provide a fake. The host outlives the
// board and the panel.

#include "game/board/BoardHost.h"
#include "game/board/editor/LevelEditorHost.h"

namespace Zorvin {

class BoardPanelHost : public BoardHost, public LevelEditorHost {
public:
    // Opens the in-game menu window (dialog 1005) and gives it the focus.
    virtual void OpenMenu() = 0;
    // Takes the board and the panel off the screen and shows the map
    // positioned for `level` of the board's mode. Music is the panel's job.
    virtual void ShowMapScreen(int level) = 0;
    // Runs the sequence shown after the last level of a mode.
    virtual void ShowGameComplete() = 0;
    // Whether the developer keys (F4, F5, F7, the editor keys) are switched on.
    virtual bool DebugKeysEnabled() const = 0;
    // Whether `key` (Control, Alt) is held down now.
    virtual bool IsKeyHeld(int key) const = 0;
};

} // namespace Zorvin
