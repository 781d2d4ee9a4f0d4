#pragma once

// ComboMeter: the bar at the right of the board that fills with every put and
// drains slowly; how full it is decides the points multiplier of a put (1 to
// 4). The board owns it; the play line adds to it when a fish is put.

#include <array>

#include "framework/graphics/Image.h"

namespace Zorvin {

class ComboMeter {
public:
    // The highest multiplier a put can be scored at.
    static constexpr int kMaxMultiplier = 4;

    ComboMeter();

    // Fills by `amount`, at most to 100.
    void Add(float amount);
    // 1 up to 32, 2 above 32, 3 above 64, 4 above 92.
    int Multiplier() const;
    // Drains by `decay`, not below 0.
    void Update();
    void Reset() { level = 0; }

    float level = 0;
    float decay = 0.01f;
    std::array<float, kMaxMultiplier> thresholds = {0, 32, 64, 92};
    int x = 760, y = 270;
    int fillOffsetX = 1, fillOffsetY = 1;
    Image* meterImage = nullptr;
    Image* meterOnImage = nullptr;
    Image* labelsImage = nullptr;
};

} // namespace Zorvin
