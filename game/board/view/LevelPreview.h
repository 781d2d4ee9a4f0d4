#pragma once

// RenderLevelPreview: the small picture of a level that the map shows for
// each stage. It loads the level into the given field (the board's own, as
// the map only runs while no level is played) and draws it scaled down.

namespace Zorvin {

class FishField;
class Graphics;

// Loads level n of the field's mode (level 1 of that mode when n has no
// file) and draws it, 800 x 600 scaled to 120 x 90, at (0, 0) of `target`:
// the background faded, the tile shadows, then every tile. Never starts
// music and never changes the player's data.
void RenderLevelPreview(int n, FishField& field, Graphics& target);

} // namespace Zorvin
