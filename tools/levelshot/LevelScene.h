#pragma once

// LevelScene: a level of the game on the real Board and BoardInterface,
// without a window: the game folder's resources loaded and bound as the
// game binds them, a headless host with one player, and the headless player
// to make moves through the panel's mouse handlers. The levelshot tool and
// the frame benchmark draw their frames from it.

#include <memory>
#include <string>

#include "framework/graphics/MemoryImage.h"
#include "framework/resources/ResourceHost.h"
#include "framework/resources/ResourceManager.h"
#include "game/board/headless/HeadlessHost.h"
#include "game/board/view/Board.h"
#include "game/board/view/BoardInterface.h"
#include "game/board/view/HeadlessPanelHost.h"

namespace Zorvin {

class LevelScene {
public:
    LevelScene();
    ~LevelScene();
    LevelScene(const LevelScene&) = delete;
    LevelScene& operator=(const LevelScene&) = delete;

    // Makes `gameDir` the working folder (levels and images are found
    // relative to it, as in the game), reads its manifest and binds the
    // resources. False with `error` set when that fails.
    bool Open(const std::string& gameDir, std::string& error);
    // Starts level `level` of `mode` (drag or click)
    // for the player; false when that level has no file or no tiles.
    bool Start(PlayMode mode, int level, std::string& error);
    // Lets `updates` logic updates pass.
    void Settle(int updates);
    // The headless player makes up to `moves` puts through the panel;
    // returns how many it made (fewer when the level ends first).
    int Play(int moves);
    // Draws one frame as the widget tree would: the panel (backdrop), its
    // buttons, then the board.
    void DrawFrame(MemoryImage& screen);

    HeadlessHost host;
    HeadlessPanelHost panelHost{host};
    std::unique_ptr<Board> board;
    std::unique_ptr<BoardInterface> panel;

private:
    FileResourceHost resourceHost;
    std::unique_ptr<ResourceManager> manager;
};

} // namespace Zorvin
