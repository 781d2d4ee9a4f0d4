#pragma once

// PlayMode: how the board is played. Drag mode joins tiles to both ends of
// the line; click mode puts them on the current tile; the level editor is
// the third. The numbers are what saved games and the stage map store.

namespace Zorvin {

enum class PlayMode { Drag = 0, Editor = 1, Click = 2 };

// The mode a stored number names.
inline PlayMode PlayModeOf(int stored) { return static_cast<PlayMode>(stored); }

} // namespace Zorvin
