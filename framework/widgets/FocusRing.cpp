#include "framework/widgets/FocusRing.h"

#include <algorithm>
#include <cstdlib>

#include "framework/core/Color.h"
#include "framework/graphics/Graphics.h"
#include "framework/widgets/Widget.h"

namespace Zorvin {

namespace {

// One rounded outline: the corners cut by `cut` pixels follow rounded art
// (pill buttons, framed boxes) better than square ones.
void RoundedOutline(Graphics* g, int x, int y, int w, int h, int cut)
{
    if (w <= 2 * cut || h <= 2 * cut)
        return;
    g->FillRect(x + cut, y, w - 2 * cut, 1);
    g->FillRect(x + cut, y + h - 1, w - 2 * cut, 1);
    g->FillRect(x, y + cut, 1, h - 2 * cut);
    g->FillRect(x + w - 1, y + cut, 1, h - 2 * cut);
    for (int i = 1; i < cut; ++i) {
        int d = cut - i;
        g->FillRect(x + i, y + d, 1, 1);
        g->FillRect(x + w - 1 - i, y + d, 1, 1);
        g->FillRect(x + i, y + h - 1 - d, 1, 1);
        g->FillRect(x + w - 1 - i, y + h - 1 - d, 1, 1);
    }
}

} // namespace

void DrawFocusRing(Graphics* g, int width, int height)
{
    // Bright gold at the edge, then two fainter rings inward: a glow rather
    // than a hard box, readable on parchment, bronze and the blue buttons.
    static const int alphas[] = {255, 170, 90};
    int cut = std::clamp(std::min(width, height) / 4, 2, 8);
    for (int i = 0; i < 3; ++i) {
        g->SetColor(Color(255, 214, 92, alphas[i]));
        RoundedOutline(g, i, i, width - 2 * i, height - 2 * i, std::max(1, cut - i));
    }
}

void SortReadingOrder(std::vector<Widget*>& stops)
{
    auto place = [](Widget* w) {
        int ax = 0, ay = 0;
        w->GetAbsolutePosition(ax, ay);
        return Point{ax, ay};
    };
    std::stable_sort(stops.begin(), stops.end(), [&](Widget* a, Widget* b) {
        Point pa = place(a), pb = place(b);
        if (std::abs(pa.y - pb.y) >= 8)
            return pa.y < pb.y;
        return pa.x < pb.x;
    });
}

} // namespace Zorvin
