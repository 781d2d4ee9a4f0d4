#pragma once

// FocusRing: the mark of the control the keyboard acts on (what Enter or
// Space presses), a warm gold glow just inside the control's edge that
// fades towards its middle, in the bronze-and-gold look of the game's
// frames. Controls draw it last, over themselves, so it stays inside their
// own clip. One free function, shared by every control that can take the
// keyboard's focus. Beside it, the order the keyboard walks controls in.

#include <vector>

namespace Zorvin {

class Graphics;
class Widget;

void DrawFocusRing(Graphics* g, int width, int height);

// Puts controls in reading order: top to bottom, controls whose tops
// differ by less than a few pixels in one row, left to right.
void SortReadingOrder(std::vector<Widget*>& stops);

} // namespace Zorvin
