#pragma once

// FocusRing: the mark of the control the keyboard acts on (what Enter or
// Space presses), a warm gold glow just inside the control's edge that
// fades towards its middle, in the bronze-and-gold look of the game's
// frames. Controls draw it last, over themselves, so it stays inside their
// own clip. One free function, shared by every control that can take the
// keyboard's focus.

namespace Zorvin {

class Graphics;

void DrawFocusRing(Graphics* g, int width, int height);

} // namespace Zorvin
