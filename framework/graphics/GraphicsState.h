#pragma once

// GraphicsState: everything a drawing context carries between calls, the
// record that PushState saves and PopState restores. Graphics derives from it.
// It points at, but never owns, its destination image and font.

#include "framework/core/Color.h"
#include "framework/core/Rect.h"

#include <vector>

namespace Zorvin {

class Image;
class Font;

class GraphicsState {
public:
    Image* destImage = nullptr;
    float transX = 0;
    float transY = 0;
    // In destination pixels, translation already applied.
    Rect clipRect;
    // The widest the clip may become (the whole image, or the area a
    // partial repaint is limited to); in destination pixels.
    Rect clipLimit;
    Color color = Color::White;
    Font* font = nullptr;
    int drawMode = 0;
    bool colorizeImages = false;
    bool fastStretch = false;
    bool writeColoredString = true;
    bool linearBlend = false;
    // When set, every string drawn adds the rectangle it covers (in
    // destination pixels, before clipping): layout checks read where text
    // really went, also where the clip hid it.
    std::vector<Rect>* textLog = nullptr;

    void CopyStateFrom(const GraphicsState& other) { *this = other; }
};

} // namespace Zorvin
