#pragma once

// E2eApp: the real game application with one addition for the end-to-end
// player: a hook called after every logic update, also inside the game's
// own blocking waits (a question the game waits for, the level intro), so
// the player can answer a dialog that the click which opened it is still
// waiting for. Nothing of the game's behaviour changes. ScreenDriver owns it.

#include "game/app/GameApp.h"

#include <functional>

class E2eApp : public Zorvin::GameApp {
public:
    void UpdateFrame() override;

    std::function<void()> afterUpdate;
};
