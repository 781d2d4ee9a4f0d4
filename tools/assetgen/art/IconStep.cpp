// The "icons" step: the desktop icon at 48, 64, 128 and 256 pixels, for the
// applications menu (installed under share/icons/hicolor). Each size is
// painted from the same shapes at its own scale, so the small ones stay
// sharp: a sea-blue stone tablet holding two domino tiles, a sandstone one
// lying behind an ivory one whose halves carry a fish each. The files go to
// "icons/" beside the game folder: not game data, so not installed with it.

#include "tools/assetgen/art/ArtKit.h"
#include "tools/assetgen/AssetIo.h"
#include "tools/assetgen/AssetStep.h"

#include <filesystem>
#include <string>

namespace Zorvin::AssetGen {

namespace {

using namespace Palette;

// A fish swimming right, centred on (cx, cy), `len` long.
void Fish(Canvas& c, float cx, float cy, float len, const Rgba& body, const Rgba& eye)
{
    float rx = len * .34f, ry = len * .2f;
    float bodyX = cx + len * .1f;
    std::vector<Pt> tail = {{cx - len * .22f, cy}, {cx - len * .5f, cy - ry * 1.05f}, {cx - len * .44f, cy},
                            {cx - len * .5f, cy + ry * 1.05f}};
    auto shape = [&](float x, float y) {
        return std::min(SdEllipse(x, y, bodyX, cy, rx, ry), SdPolygon(x, y, tail));
    };
    c.FillShape(cx - len * .55f, cy - ry * 1.2f, cx + len * .5f, cy + ry * 1.2f, shape, body);
    c.Bevel(cx - len * .55f, cy - ry * 1.2f, cx + len * .5f, cy + ry * 1.2f, shape, std::max(1.f, len * .05f), .4f);
    float er = std::max(.8f, len * .045f);
    c.FillShape(bodyX + rx * .45f - er, cy - ry * .3f - er, bodyX + rx * .45f + er, cy - ry * .3f + er,
                [&](float x, float y) { return SdCircle(x, y, bodyX + rx * .45f, cy - ry * .3f, er); }, eye);
}

// A domino tile standing upright with its top-left corner at (x0, y0),
// w x h, in the given face and rim colours; the front carries two fish.
void Tile(Canvas& c, float x0, float y0, float w, float h, const Rgba& face, const Rgba& rim, bool fish, float k)
{
    float r = w * .14f;
    auto outer = [&](float x, float y) { return SdRoundRect(x, y, x0, y0, x0 + w, y0 + h, r); };
    c.FillShape(x0, y0, x0 + w, y0 + h, outer, rim);
    float in = std::max(1.5f, 5.f * k);
    auto inner = [&](float x, float y) { return SdRoundRect(x, y, x0 + in, y0 + in, x0 + w - in, y0 + h - in, r - in * .5f); };
    c.FillShape(x0, y0, x0 + w, y0 + h, inner, [&](float x, float y, float) {
        return AssetGen::Marble(x / k, y / k, face, Shade(face, .8f), 40.f, 7);
    });
    c.Bevel(x0, y0, x0 + w, y0 + h, outer, std::max(1.f, 4.f * k), .5f);
    if (!fish)
        return;
    float mid = y0 + h * .5f, half = std::max(1.f, 2.5f * k);
    c.FillShape(x0 + in * 2, mid - half, x0 + w - in * 2, mid + half,
                [&](float x, float y) { return SdRoundRect(x, y, x0 + in * 2, mid - half, x0 + w - in * 2, mid + half, half); },
                rim);
    Fish(c, x0 + w * .5f, y0 + h * .26f, w * .68f, Sea, Ink);
    Fish(c, x0 + w * .5f, y0 + h * .74f, w * .68f, Terracotta, Ink);
}

Canvas PaintIcon(int size)
{
    Canvas c(size, size);
    float s = float(size), k = s / 256.f;
    float m = 8.f * k;
    auto plate = [&](float x, float y) { return SdRoundRect(x, y, m, m, s - m, s - m, 44.f * k); };
    c.FillShape(0, 0, s, s, plate, [&](float, float y, float) { return Mix(SeaLight, SeaDeep, Clamp01(y / s)); });
    c.Bevel(0, 0, s, s, plate, std::max(1.f, 6.f * k), .45f);
    // The tile behind, shown as its back, and the tile in front.
    Tile(c, 112 * k, 30 * k, 96 * k, 170 * k, Hex(0xC9664A), Hex(0x7E4326), false, k);
    Tile(c, 52 * k, 58 * k, 100 * k, 176 * k, Hex(0xF6F1E6), Bronze, true, k);
    return c;
}

bool WriteIcons(const AssetContext& ctx)
{
    // Beside the review pictures, outside the game folder, which holds only
    // what the game itself loads; an older build's copy in the game folder goes.
    std::error_code ec;
    std::filesystem::remove_all(std::filesystem::path(ctx.outDir) / "_icons", ec);
    const std::string folder = (std::filesystem::path(ctx.reviewDir).parent_path() / "icons").string();
    bool ok = true;
    for (int size : {48, 64, 128, 256})
        ok = WritePng(PaintIcon(size), folder + "/korvelt-" + std::to_string(size) + ".png") && ok;
    return ok;
}

const AssetStep kIconsStep("icons", WriteIcons);

} // namespace

} // namespace Zorvin::AssetGen
