// The "images" step: paints every picture of the catalogue at its catalogue
// size, plus the pictures named by the logo script and the level files,
// writes them as PNG, and lays all of them out on a contact sheet for review
// ("contact_sheet.png" in the review folder, not part of the game). Review
// pictures that older generators left in the game folder are removed.

#include "tools/assetgen/art/ArtKit.h"
#include "tools/assetgen/AssetIo.h"
#include "tools/assetgen/AssetStep.h"
#include "tools/assetgen/art/ImageCatalog.h"
#include "tools/assetgen/art/Painters.h"

#include <cstdio>
#include <filesystem>

namespace Zorvin::AssetGen {

namespace {

struct Painted {
    std::string label;
    Canvas canvas;
};

// A checkerboard behind each picture shows its transparency.
Canvas ContactSheet(const std::vector<Painted>& pics)
{
    const int cellW = 150, cellH = 124, cols = 9;
    int rows = int((pics.size() + cols - 1) / cols);
    Canvas sheet(cols * cellW, rows * cellH);
    sheet.Fill(Hex(0x2A2623));
    TextStyle label;
    label.fill = Hex(0xE8E0D0);
    for (size_t i = 0; i < pics.size(); ++i) {
        int cx = int(i % cols) * cellW, cy = int(i / cols) * cellH;
        const Canvas& p = pics[i].canvas;
        int bw = cellW - 10, bh = cellH - 28;
        float k = std::min(1.f, std::min(float(bw) / float(std::max(1, p.W())), float(bh) / float(std::max(1, p.H()))));
        int dw = std::max(1, int(float(p.W()) * k)), dh = std::max(1, int(float(p.H()) * k));
        int dx = cx + (cellW - dw) / 2, dy = cy + 5 + (bh - dh) / 2;
        for (int y = 0; y < dh; ++y)
            for (int x = 0; x < dw; ++x)
                sheet.Set(dx + x, dy + y, ((x / 6 + y / 6) % 2) ? Hex(0x6B6B6B) : Hex(0x9A9A9A));
        sheet.DrawScaled(p, dx, dy, dw, dh);
        // Labels without the common prefixes, so neighbours do not overlap.
        std::string text = pics[i].label;
        if (text.rfind("IMAGE_", 0) == 0) text = text.substr(6);
        if (text.size() > 19) text = text.substr(0, 18) + "…";
        LabelFont().DrawCentered(sheet, text, float(cx + cellW / 2), float(cy + cellH - 8), label);
    }
    return sheet;
}

// Earlier generators wrote the contact sheet and the mock-ups into the game
// folder itself; a rebuild over such a folder takes them out again.
void RemoveOldReviewPictures(const std::string& gameDir)
{
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(gameDir, ec)) {
        std::string name = entry.path().filename().string();
        if (name == "_contact_sheet.png" || (name.rfind("_mockup_", 0) == 0 && entry.path().extension() == ".png"))
            std::filesystem::remove(entry.path(), ec);
    }
}

bool RunImages(const AssetContext& ctx)
{
    std::vector<Painted> pics;
    bool ok = true;
    for (const ImageEntry& e : ImageCatalog()) {
        const Painter* paint = FindPainter(e.id);
        if (!paint) {
            std::fprintf(stderr, "assetgen: no painter for %s\n", e.id);
            ok = false;
            continue;
        }
        Canvas c = PaintImage(e.id);
        if (c.W() != e.width || c.H() != e.height) {
            std::fprintf(stderr, "assetgen: %s painted %dx%d, expected %dx%d\n", e.id, c.W(), c.H(), e.width, e.height);
            ok = false;
            continue;
        }
        if (!WritePng(c, ctx.outDir + "/" + e.File())) ok = false;
        pics.push_back({e.id, std::move(c)});
    }
    for (const ExtraImage& x : ExtraImages()) {
        Canvas c = x.paint(x.width, x.height);
        if (!WritePng(c, ctx.outDir + "/" + x.file)) ok = false;
        pics.push_back({x.file.substr(x.file.rfind('/') + 1), std::move(c)});
    }
    if (!WritePng(ContactSheet(pics), ctx.reviewDir + "/contact_sheet.png")) ok = false;
    RemoveOldReviewPictures(ctx.outDir);
    return ok;
}

AssetStep imagesStep("images", RunImages);

} // namespace

} // namespace Zorvin::AssetGen
