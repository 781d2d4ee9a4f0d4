#pragma once

// Popup: a short floating picture (a bonus, an opened lock, a combo
// multiplier) that drifts and fades out over 255 updates. The field keeps
// its popups in creation order and destroys each once it is done.

#include "framework/graphics/Image.h"

namespace Zorvin {

struct Popup {
    Popup() = default;
    // `cel` -1 draws the whole image.
    Popup(Image* image, int cel, float x, float y, float stepX, float stepY)
        : x(x), y(y), stepX(stepX), stepY(stepY), cel(cel), image(image) {}

    // One update: fade, drift, age; done once the age reaches the life.
    void Step()
    {
        if (alpha > 0)
            --alpha;
        x += stepX;
        y += stepY;
        if (++age >= life)
            done = true;
    }

    bool done = false;
    float x = 0, y = 0;
    float stepX = 0, stepY = 0;
    int alpha = 255;
    int age = 0;
    int life = 255;
    int cel = -1;
    Image* image = nullptr;
};

} // namespace Zorvin
