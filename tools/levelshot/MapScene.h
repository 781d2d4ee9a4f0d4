#pragma once

// MapScene: the map screen on the real MapWnd and the board's StageMap,
// without a window, over a LevelScene (whose resources, player and board it
// uses; the thumbnails are rendered from the board's field as in the game).
// The levelshot tool and the map benchmark draw their frames from it.

#include "game/app/screens/MapHost.h"
#include "game/app/screens/MapWnd.h"

namespace Zorvin {

class LevelScene;
class MemoryImage;

class MapScene : public MapHost {
public:
    // `scene` must be open and outlive this object.
    MapScene(LevelScene& scene, int mode);

    // Enters the map with the player at `level` of the mode, as after
    // winning the level before it.
    void Enter(int level);
    void Settle(int updates);
    // Draws one frame as the widget tree would: the map, then its buttons.
    void DrawFrame(MemoryImage& screen);

    StageMap& GetStageMap() override;
    PlayerProfile* CurrentProfile() override;
    void PlaySound(int) override {}
    void PlayLevelFromMap() override {}
    void ExitToMainMenu(bool) override {}
    // The player has won every level before the one entered, each with a
    // made-up best score and one to three stars, so the frame shows the
    // records a player's map carries.
    LevelBest BestOf(int level) override;

    LevelScene& scene;
    int mode;
    MapWnd map{*this};
};

} // namespace Zorvin
