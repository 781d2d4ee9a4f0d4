#pragma once

// PlayMode: how the board is played. Drag mode joins tiles to both ends of
// the line; click mode puts them on the current tile; the level editor is
// the third. The numbers are what saved games and the stage map store.

namespace Zorvin {

enum class PlayMode { Drag = 0, Editor = 1, Click = 2 };

// The number a mode is stored as, and the mode a stored number names.
constexpr int StoredMode(PlayMode mode) { return static_cast<int>(mode); }
constexpr PlayMode PlayModeOf(int stored) { return static_cast<PlayMode>(stored); }

} // namespace Zorvin
