#include "tools/assetgen/levels/DifficultyPlot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "tools/assetgen/art/TextPainter.h"

namespace Zorvin::AssetGen {

namespace {

constexpr int kWidth = 800, kHeight = 420;
// The plot's frame: levels 1..60 across, 0..100 % up.
constexpr int kLeft = 64, kRight = 776, kTop = 44, kBottom = 372;
constexpr int kMaxLevel = 60;

const Rgba kPaper = Hex(0xFBF7EE);
const Rgba kGrid = Hex(0xDDD5C4);
const Rgba kInk = Hex(0x2B2620);
const Rgba kDrag = Hex(0x1F5FA8);
const Rgba kClick = Hex(0xD9661F);
const Rgba kBound = Hex(0xB3261E);

void Segment(Canvas& c, float ax, float ay, float bx, float by, float width, const Rgba& colour)
{
    float pad = width + 1;
    c.FillShape(std::min(ax, bx) - pad, std::min(ay, by) - pad, std::max(ax, bx) + pad, std::max(ay, by) + pad,
                [&](float x, float y) { return SdSegment(x, y, ax, ay, bx, by) - width / 2; }, colour);
}

void Dot(Canvas& c, float x, float y, float r, const Rgba& colour)
{
    c.FillShape(x - r - 1, y - r - 1, x + r + 1, y + r + 1, [&](float px, float py) { return SdCircle(px, py, x, y, r); },
                colour);
}

void DashedLevelLine(Canvas& c, double rate, const Rgba& colour)
{
    float y = static_cast<float>(PlotY(rate));
    for (int x = kLeft; x < kRight; x += 12)
        Segment(c, static_cast<float>(x), y, static_cast<float>(std::min(x + 7, kRight)), y, 1.5f, colour);
}

void Curve(Canvas& c, const std::vector<CheckedLevel>& levels, int mode, const Rgba& colour)
{
    float px = -1, py = -1;
    for (const CheckedLevel& l : levels) {
        if (l.plan.mode != mode)
            continue;
        float x = static_cast<float>(PlotX(l.plan.number));
        float y = static_cast<float>(PlotY(l.stats.WinRate()));
        if (px >= 0)
            Segment(c, px, py, x, y, 2.f, colour);
        px = x;
        py = y;
    }
    for (const CheckedLevel& l : levels) {
        if (l.plan.mode == mode)
            Dot(c, static_cast<float>(PlotX(l.plan.number)), static_cast<float>(PlotY(l.stats.WinRate())), 3.f,
                colour);
    }
}

} // namespace

int PlotY(double rate)
{
    return kBottom - static_cast<int>(std::lround(std::clamp(rate, 0.0, 1.0) * (kBottom - kTop)));
}

int PlotX(int level)
{
    return kLeft + static_cast<int>(std::lround((level - 1) * double(kRight - kLeft) / (kMaxLevel - 1)));
}

Canvas DifficultyPlot(const std::vector<CheckedLevel>& levels, int deals)
{
    Canvas c(kWidth, kHeight);
    c.Fill(kPaper);
    TextPainter text(kFontSans, 13);
    TextPainter title(kFontSansBold, 15);
    TextStyle ink;
    ink.fill = kInk;

    for (int p = 0; p <= 100; p += 10) {
        float y = static_cast<float>(PlotY(p / 100.0));
        Segment(c, kLeft, y, kRight, y, 1.f, kGrid);
        char label[16];
        std::snprintf(label, sizeof label, "%d %%", p);
        if (text.Ok())
            text.Draw(c, label, kLeft - 8 - text.Measure(label), y + 5, ink);
    }
    for (int level = 1; level <= kMaxLevel; level += level == 1 ? 4 : 5) {
        float x = static_cast<float>(PlotX(level));
        Segment(c, x, kTop, x, kBottom, 1.f, kGrid);
        if (text.Ok())
            text.DrawCentered(c, std::to_string(level), x, kBottom + 18, ink);
    }
    Segment(c, kLeft, kTop, kLeft, kBottom, 1.5f, kInk);
    Segment(c, kLeft, kBottom, kRight, kBottom, 1.5f, kInk);
    DashedLevelLine(c, kFirstLevelMinimum, kBound);
    DashedLevelLine(c, kLevelMinimum, kBound);

    Curve(c, levels, kDragMode, kDrag);
    Curve(c, levels, kClickMode, kClick);

    if (title.Ok() && text.Ok()) {
        title.Draw(c, "Win rate by level (" + std::to_string(deals) + " deals each)", kLeft, 26, ink);
        float x = kRight - 300;
        Segment(c, x, 21, x + 22, 21, 2.f, kDrag);
        text.Draw(c, "drag mode", x + 28, 26, ink);
        x += 110;
        Segment(c, x, 21, x + 22, 21, 2.f, kClick);
        text.Draw(c, "click mode", x + 28, 26, ink);
        x += 110;
        Segment(c, x, 21, x + 22, 21, 1.5f, kBound);
        text.Draw(c, "bounds", x + 28, 26, ink);
        text.DrawCentered(c, "level", (kLeft + kRight) / 2.f, kBottom + 40, ink);
    }
    return c;
}

} // namespace Zorvin::AssetGen
