// MemoryImage's straight blits: one source rectangle drawn at a position,
// plainly, mirrored, or row by row through the blending kernels. Over an
// opaque destination the source's run-length alpha table lets whole runs be
// copied or skipped.

#include "framework/graphics/MemoryImage.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "framework/graphics/BlendOps.h"

namespace Zorvin {

namespace {

// The largest palette picture a blit unpacks to plain pixels.
constexpr int64_t UnpackedPalettePixels = 256 * 256;

bool IsWhite(const Color& c) { return c.red >= 255 && c.green >= 255 && c.blue >= 255 && c.alpha >= 255; }

// The alpha class of a pixel as the run tables count it: 0 transparent,
// 2 opaque, 1 in between.
inline int AlphaClass(uint32_t p)
{
    uint32_t a = p >> 24;
    return a == 0 ? 0 : a == 255 ? 2 : 1;
}

// The run of one alpha class starting at i, at most w - i long. The tables
// cap runs at 255 pixels; capped runs of the same class are joined, so a
// wide opaque row is copied in one piece.
inline int ClassRun(const uint32_t* sp, const uint8_t* runs, int i, int w)
{
    int run = std::min<int>(runs[i], w - i);
    if (run == 255) {
        int c = AlphaClass(sp[i]);
        while (i + run < w && AlphaClass(sp[i + run]) == c)
            run += std::min<int>(runs[i + run], w - i - run);
    }
    return run;
}

// One row over an opaque destination, driven by the source's alpha runs
// (runs[i] = length of the run of one alpha class starting at i). A row of
// one class is skipped or copied whole. In wide rows, long runs (64 pixels
// and more) are cut out and copied or skipped; everything else goes to the
// kernel, which itself skips and copies eight-pixel blocks of one class.
void OverOpaqueByRuns(const BlendOps& ops, uint32_t* dp, const uint32_t* sp, const uint8_t* runs, int w)
{
    int first = ClassRun(sp, runs, 0, w);
    if (first >= w || w < 128) {
        uint32_t a = sp[0] >> 24;
        if (first < w)
            ops.overOpaque(dp, sp, w);
        else if (a == 255)
            std::memcpy(dp, sp, size_t(w) * 4);
        else if (a != 0)
            ops.overOpaque(dp, sp, w);
        return;
    }
    int i = 0;
    while (i < w) {
        int run = i == 0 ? first : ClassRun(sp, runs, i, w);
        uint32_t a = sp[i] >> 24;
        if (run >= 64 || run == w - i) {
            if (a == 255)
                std::memcpy(dp + i, sp + i, size_t(run) * 4);
            else if (a != 0)
                ops.overOpaque(dp + i, sp + i, run);
            i += run;
            continue;
        }
        int j = i + run;
        while (j < w && runs[j] < 64 && j + runs[j] < w)
            j += runs[j];
        ops.overOpaque(dp + i, sp + i, j - i);
        i = j;
    }
}

// One row added onto the destination, skipping the source's blank runs.
void AdditiveByRuns(const BlendOps& ops, uint32_t* dp, const uint32_t* sp, const uint8_t* runs, int w,
                    uint32_t packed, bool useAlpha)
{
    auto isBlank = [&](int i) {
        uint32_t p = sp[i];
        return (p >> 24) == 0 || (p & 0xFFFFFF) == 0;
    };
    int i = 0;
    while (i < w) {
        int run = std::min<int>(runs[i], w - i);
        // A run adds nothing only when alpha weighting is on or the
        // pixels are black.
        if (isBlank(i) && run >= 4 && (useAlpha || (sp[i] & 0xFFFFFF) == 0)) {
            i += run;
            continue;
        }
        int j = i + run;
        while (j < w) {
            int r2 = std::min<int>(runs[j], w - j);
            if (isBlank(j) && r2 >= 4 && (useAlpha || (sp[j] & 0xFFFFFF) == 0))
                break;
            j += r2;
        }
        ops.additive(dp + i, sp + i, j - i, packed, useAlpha);
        i = j;
    }
}

} // namespace

void MemoryImage::BlendRow(int x, int y, const uint32_t* srcRow, int n, const Color& color, int drawMode,
                           bool srcHasAlpha)
{
    uint32_t* d = bits.get() + int64_t(y) * width + x;
    const BlendOps& ops = BlendOps::Get();
    uint32_t packed = color.ToIntClamped();
    if (drawMode == DrawModeAdditive)
        ops.additive(d, srcRow, n, packed, srcHasAlpha || color.alpha < 255);
    else if (packed == 0xFFFFFFFFu && IsOpaque())
        ops.overOpaque(d, srcRow, n);
    else
        ops.over(d, srcRow, n, packed);
}

void MemoryImage::Blt(Image* srcImage, int x, int y, const Rect& srcRect, const Color& color, int drawMode)
{
    MemoryImage* src = srcImage ? srcImage->AsMemoryImage() : nullptr;
    if (!src)
        return;
    // The context clips, but a request reaching us from elsewhere is clipped
    // again against both images so it can never read or write outside them.
    Rect s = srcRect.Intersection(Rect(0, 0, src->width, src->height));
    int dx = x + (s.x - srcRect.x), dy = y + (s.y - srcRect.y);
    Rect d = Rect(dx, dy, s.width, s.height).Intersection(Rect(0, 0, width, height));
    if (d.IsEmpty())
        return;
    s = Rect(s.x + (d.x - dx), s.y + (d.y - dy), d.width, d.height);
    if (color.alpha <= 0 && drawMode != DrawModeAdditive)
        return;
    if (!GetBits())
        return;
    if (src == this) {
        // Drawing an image onto itself: blend from a copy of the area.
        MemoryImage copy;
        copy.Create(s.width, s.height);
        copy.hasTrans = hasTrans;
        copy.hasAlpha = hasAlpha;
        uint32_t* cp = copy.GetBits();
        if (!cp)
            return;
        for (int row = 0; row < s.height; row++)
            FetchRow(s.x, s.y + row, s.width, cp + int64_t(row) * s.width);
        Blt(&copy, d.x, d.y, Rect(0, 0, s.width, s.height), color, drawMode);
        return;
    }
    // A small palette picture is unpacked the first time it is drawn: its
    // rows then go straight to the kernels instead of through the colour
    // table on every draw, for a few kilobytes more. Large ones (level
    // backgrounds) keep the memory the palette saves.
    if (!src->bits && src->HasPalette() && int64_t(src->width) * src->height <= UnpackedPalettePixels)
        src->GetBits();
    if (!src->bits && !(src->colorTable && src->colorIndices) && !src->GetBits())
        return;

    const BlendOps& ops = BlendOps::Get();
    bool white = IsWhite(color);
    std::vector<uint32_t> tmp;
    auto sourceRow = [&](int row) -> const uint32_t* {
        if (const uint32_t* p = src->bits ? src->bits.get() + int64_t(s.y + row) * src->width + s.x : nullptr)
            return p;
        tmp.resize(size_t(s.width));
        src->FetchRow(s.x, s.y + row, s.width, tmp.data());
        return tmp.data();
    };

    if (drawMode == DrawModeNormal && white && IsOpaque()) {
        // Opaque destination: the source's alpha runs drive the copy. Long
        // opaque runs are copied, long transparent runs skipped, and the rest
        // goes to the blending kernel in as long pieces as possible.
        if (s.width < 128 && src->bits) {
            // Small pictures: the kernel's own block skipping beats walking
            // runs, and one call does the whole block.
            ops.overOpaqueRect(bits.get() + int64_t(d.y) * width + d.x, width,
                               src->bits.get() + int64_t(s.y) * src->width + s.x, src->width, s.width, s.height);
            BitsChanged();
            return;
        }
        if (src->bits && src->AllOpaque()) {
            // Every source pixel covers: the rows are copied.
            for (int row = 0; row < s.height; row++)
                std::memcpy(bits.get() + int64_t(d.y + row) * width + d.x, sourceRow(row), size_t(s.width) * 4);
            BitsChanged();
            return;
        }
        const uint8_t* rle = src->GetRLAlphaData();
        for (int row = 0; row < s.height; row++) {
            const uint32_t* sp = sourceRow(row);
            uint32_t* dp = bits.get() + int64_t(d.y + row) * width + d.x;
            if (!rle) {
                ops.overOpaque(dp, sp, s.width);
                continue;
            }
            OverOpaqueByRuns(ops, dp, sp, rle + int64_t(s.y + row) * src->width + s.x, s.width);
        }
    } else if (drawMode == DrawModeAdditive) {
        uint32_t packed = color.ToIntClamped();
        bool useAlpha = src->hasAlpha || src->hasTrans || color.alpha < 255;
        const uint8_t* rle = src->GetRLAdditiveData();
        for (int row = 0; row < s.height; row++) {
            const uint32_t* sp = sourceRow(row);
            uint32_t* dp = bits.get() + int64_t(d.y + row) * width + d.x;
            if (!rle) {
                ops.additive(dp, sp, s.width, packed, useAlpha);
                continue;
            }
            AdditiveByRuns(ops, dp, sp, rle + int64_t(s.y + row) * src->width + s.x, s.width, packed, useAlpha);
        }
    } else if (src->bits) {
        ops.overRect(bits.get() + int64_t(d.y) * width + d.x, width,
                     src->bits.get() + int64_t(s.y) * src->width + s.x, src->width, s.width, s.height,
                     color.ToIntClamped());
    } else {
        uint32_t packed = color.ToIntClamped();
        for (int row = 0; row < s.height; row++)
            ops.over(bits.get() + int64_t(d.y + row) * width + d.x, sourceRow(row), s.width, packed);
    }
    BitsChanged();
}

void MemoryImage::BltMirror(Image* srcImage, int x, int y, const Rect& srcRect, const Color& color, int drawMode)
{
    MemoryImage* src = srcImage ? srcImage->AsMemoryImage() : nullptr;
    if (!src || !GetBits())
        return;
    Rect s = srcRect.Intersection(Rect(0, 0, src->width, src->height));
    if (s != srcRect || s.IsEmpty())
        return;
    Rect d = Rect(x, y, s.width, s.height).Intersection(Rect(0, 0, width, height));
    if (d.IsEmpty())
        return;
    std::vector<uint32_t> row(static_cast<size_t>(s.width)), out(static_cast<size_t>(d.width));
    bool srcAlpha = src->hasAlpha || src->hasTrans;
    for (int py = d.y; py < d.y + d.height; py++) {
        src->FetchRow(s.x, s.y + (py - y), s.width, row.data());
        for (int px = d.x; px < d.x + d.width; px++)
            out[size_t(px - d.x)] = row[size_t(s.width - 1 - (px - x))];
        BlendRow(d.x, py, out.data(), d.width, color, drawMode, srcAlpha);
    }
    BitsChanged();
}

} // namespace Zorvin
