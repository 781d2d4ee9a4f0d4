#include "framework/graphics/MemoryImage.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>
#include <new>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "framework/graphics/BlendOps.h"
#include "framework/graphics/SampleOps.h"

namespace Zorvin {

namespace {

std::mutex& RegistryLock()
{
    static std::mutex lock;
    return lock;
}

std::unordered_set<MemoryImage*>& Registry()
{
    static std::unordered_set<MemoryImage*> images;
    return images;
}

void Register(MemoryImage* image)
{
    std::lock_guard<std::mutex> g(RegistryLock());
    Registry().insert(image);
}

void Unregister(MemoryImage* image)
{
    std::lock_guard<std::mutex> g(RegistryLock());
    Registry().erase(image);
}

// Number of pixels of an image, or -1 when the size cannot be allocated: a
// negative side, or more bytes (guard word included) than a signed 32-bit
// count can hold.
int64_t PixelCount(int w, int h)
{
    if (w < 0 || h < 0)
        return -1;
    int64_t n = int64_t(w) * int64_t(h);
    if ((n + 1) * 4 > 0x7FFFFFFF)
        return -1;
    return n;
}

template <typename T>
std::unique_ptr<T[]> CopyArray(const std::unique_ptr<T[]>& from, int64_t n)
{
    if (!from)
        return nullptr;
    std::unique_ptr<T[]> to(new T[size_t(n)]);
    std::memcpy(to.get(), from.get(), size_t(n) * sizeof(T));
    return to;
}

bool IsWhite(const Color& c) { return c.red >= 255 && c.green >= 255 && c.blue >= 255 && c.alpha >= 255; }

uint32_t PackClamped(const Color& c)
{
    return Color(std::clamp(c.red, 0, 255), std::clamp(c.green, 0, 255), std::clamp(c.blue, 0, 255),
                 std::clamp(c.alpha, 0, 255))
        .ToInt();
}

// Linear mix of two packed pixels, w = 0 .. 256 toward b, two channels per
// multiply.
inline uint32_t Lerp(uint32_t a, uint32_t b, uint32_t w)
{
    uint32_t rb = (((a & 0xFF00FF) * (256 - w) + (b & 0xFF00FF) * w) >> 8) & 0xFF00FF;
    uint32_t ag = (((a >> 8) & 0xFF00FF) * (256 - w) + ((b >> 8) & 0xFF00FF) * w) & 0xFF00FF00;
    return rb | ag;
}

inline uint32_t Premultiply(uint32_t p)
{
    uint32_t a = p >> 24;
    if (a == 255)
        return p;
    uint32_t rb = (p & 0xFF00FF) * a + 0x800080;
    rb = ((rb + ((rb >> 8) & 0xFF00FF)) >> 8) & 0xFF00FF;
    uint32_t g = ((p >> 8) & 0xFF) * a + 0x80;
    g = ((g + (g >> 8)) >> 8) & 0xFF;
    return (a << 24) | rb | (g << 8);
}

struct ReciprocalTable {
    uint32_t r[256];
    ReciprocalTable()
    {
        r[0] = 0;
        for (uint32_t a = 1; a < 256; a++)
            r[a] = (255u * 65536u + a / 2) / a;
    }
};
const ReciprocalTable reciprocal;

inline uint32_t Unpremultiply(uint32_t p)
{
    uint32_t a = p >> 24;
    if (a == 255 || a == 0)
        return a == 0 ? 0 : p;
    uint32_t k = reciprocal.r[a];
    uint32_t r = std::min(255u, (((p >> 16) & 0xFF) * k + 32768) >> 16);
    uint32_t g = std::min(255u, (((p >> 8) & 0xFF) * k + 32768) >> 16);
    uint32_t b = std::min(255u, ((p & 0xFF) * k + 32768) >> 16);
    return (a << 24) | (r << 16) | (g << 8) | b;
}

// Reads source pixels for resampling blits straight from the pixel buffer.
// Coordinates are in texel units with texel centres on integers.
struct Sampler {
    const uint32_t* bits;
    int stride;
    Rect r;
    bool clampEdges; // stretched pictures extend their edge; others fade out

    uint32_t Texel(int x, int y) const
    {
        if (clampEdges) {
            x = std::clamp(x, r.x, r.x + r.width - 1);
            y = std::clamp(y, r.y, r.y + r.height - 1);
        } else if (!r.Contains(x, y)) {
            return 0;
        }
        return bits[int64_t(y) * stride + x];
    }

    uint32_t Nearest(float fx, float fy) const
    {
        int x = Floor(fx + 0.5f), y = Floor(fy + 0.5f);
        return Texel(x, y);
    }

    // Bilinear; colours are mixed premultiplied so that transparent texels
    // do not darken the picture's edges.
    // floor without a library call (coordinates are limited to +-1e6).
    static inline int Floor(float v)
    {
        int i = int(v);
        return (float(i) > v) ? i - 1 : i;
    }

    inline uint32_t Bilinear(float fx, float fy) const
    {
        return BilinearFixed(int64_t(fx * 65536.0f), int64_t(fy * 65536.0f));
    }

    // The same with 16.16 fixed-point coordinates.
    inline uint32_t BilinearFixed(int64_t fx, int64_t fy) const
    {
        int x0 = int(fx >> 16), y0 = int(fy >> 16);
        uint32_t wx = uint32_t(fx >> 8) & 0xFF, wy = uint32_t(fy >> 8) & 0xFF;
        uint32_t t00, t10, t01, t11;
        if (x0 >= r.x && y0 >= r.y && x0 + 1 < r.x + r.width && y0 + 1 < r.y + r.height) {
            const uint32_t* p = bits + int64_t(y0) * stride + x0;
            t00 = p[0], t10 = p[1], t01 = p[stride], t11 = p[stride + 1];
        } else {
            t00 = Texel(x0, y0), t10 = Texel(x0 + 1, y0), t01 = Texel(x0, y0 + 1), t11 = Texel(x0 + 1, y0 + 1);
        }
        uint32_t all = t00 & t10 & t01 & t11;
        if ((all >> 24) == 255)
            return Lerp(Lerp(t00, t10, wx), Lerp(t01, t11, wx), wy);
        if (((t00 | t10 | t01 | t11) >> 24) == 0)
            return 0;
        uint32_t p = Lerp(Lerp(Premultiply(t00), Premultiply(t10), wx), Lerp(Premultiply(t01), Premultiply(t11), wx),
                          wy);
        return Unpremultiply(p);
    }
};

// The range of px (0 .. n - 1) for which start + step * px lies within
// (lo, hi); returns false when empty.
bool SolveRange(float start, float step, float lo, float hi, int n, int& first, int& last)
{
    if (step == 0) {
        if (start <= lo || start >= hi)
            return false;
        return true;
    }
    float a = (lo - start) / step, b = (hi - start) / step;
    if (a > b)
        std::swap(a, b);
    first = std::max(first, int(std::floor(std::max(a, -1.0f))) - 1);
    last = std::min(last, int(std::ceil(std::min(b, float(n)))) + 1);
    first = std::max(first, 0);
    last = std::min(last, n - 1);
    return first <= last;
}

} // namespace

MemoryImage::MemoryImage() { Register(this); }

MemoryImage::MemoryImage(int w, int h)
{
    Register(this);
    Create(w, h);
}

MemoryImage::MemoryImage(const MemoryImage& other) : Image(other)
{
    *this = other;
    Register(this);
}

MemoryImage& MemoryImage::operator=(const MemoryImage& other)
{
    if (this == &other)
        return *this;
    Image::operator=(other);
    int64_t n = std::max<int64_t>(0, PixelCount(width, height));
    bits = CopyArray(other.bits, n + 1);
    colorTable = CopyArray(other.colorTable, 256);
    colorIndices = CopyArray(other.colorIndices, n);
    nativeAlphaData = CopyArray(other.nativeAlphaData, n);
    rleAlphaData = CopyArray(other.rleAlphaData, n);
    rleAdditiveData = CopyArray(other.rleAdditiveData, n);
    bitsChangedCount = other.bitsChangedCount;
    hasTrans = other.hasTrans;
    hasAlpha = other.hasAlpha;
    isVolatile = other.isVolatile;
    purgeBits = other.purgeBits;
    wantPal = other.wantPal;
    bitsChanged = other.bitsChanged;
    imageFlags = other.imageFlags;
    return *this;
}

MemoryImage::~MemoryImage() { Unregister(this); }

int MemoryImage::GetLiveImageCount()
{
    std::lock_guard<std::mutex> g(RegistryLock());
    return int(Registry().size());
}

void MemoryImage::ForEachLiveImage(const std::function<void(MemoryImage*)>& fn)
{
    std::lock_guard<std::mutex> g(RegistryLock());
    for (MemoryImage* image : Registry())
        fn(image);
}

void MemoryImage::Create(int w, int h)
{
    bits.reset();
    colorTable.reset();
    colorIndices.reset();
    width = w;
    height = h;
    hasTrans = true;
    hasAlpha = true;
    BitsChanged();
}

bool MemoryImage::AllocBits()
{
    if (bits)
        return true;
    int64_t n = PixelCount(width, height);
    if (n < 0)
        return false;
    bits.reset(new (std::nothrow) uint32_t[size_t(n + 1)]());
    if (!bits)
        return false;
    bits[n] = GuardWord;
    return true;
}

uint32_t* MemoryImage::GetBits()
{
    if (bits)
        return bits.get();
    if (!AllocBits())
        return nullptr;
    if (colorTable && colorIndices) {
        int64_t n = int64_t(width) * height;
        for (int64_t i = 0; i < n; i++)
            bits[i] = colorTable[colorIndices[i]];
        colorTable.reset();
        colorIndices.reset();
    }
    return bits.get();
}

void MemoryImage::SetBits(const uint32_t* pixels, int w, int h, bool commit)
{
    bits.reset();
    colorTable.reset();
    colorIndices.reset();
    width = w;
    height = h;
    if (GetBits() && pixels)
        std::memcpy(bits.get(), pixels, size_t(w) * size_t(h) * 4);
    BitsChanged();
    if (commit)
        CommitBits();
}

void MemoryImage::CommitBits()
{
    uint32_t* p = GetBits();
    hasTrans = false;
    hasAlpha = false;
    if (!p)
        return;
    int64_t n = int64_t(width) * height;
    for (int64_t i = 0; i < n; i++) {
        uint32_t a = p[i] >> 24;
        if (a != 255) {
            hasTrans = true;
            if (a != 0) {
                hasAlpha = true;
                break;
            }
        }
    }
}

void MemoryImage::Clear()
{
    if (uint32_t* p = GetBits())
        std::fill(p, p + int64_t(width) * height, 0u);
    BitsChanged();
}

void MemoryImage::BitsChanged()
{
    bitsChangedCount++;
    bitsChanged = true;
    nativeAlphaData.reset();
    rleAlphaData.reset();
    rleAdditiveData.reset();
}

bool MemoryImage::GuardIntact() const
{
    if (!bits)
        return true;
    return bits[int64_t(width) * height] == GuardWord;
}

uint32_t MemoryImage::GetPixel(int x, int y)
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return 0;
    if (!bits && colorTable && colorIndices)
        return colorTable[colorIndices[int64_t(y) * width + x]];
    uint32_t* p = GetBits();
    return p ? p[int64_t(y) * width + x] : 0;
}

void MemoryImage::SetPixel(int x, int y, uint32_t argb)
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return;
    if (uint32_t* p = GetBits()) {
        p[int64_t(y) * width + x] = argb;
        BitsChanged();
    }
}

bool MemoryImage::Palletize()
{
    if (colorTable)
        return true;
    uint32_t* p = GetBits();
    if (!p)
        return false;
    int64_t n = int64_t(width) * height;
    std::unordered_map<uint32_t, uint8_t> index;
    std::unique_ptr<uint32_t[]> table(new uint32_t[256]());
    std::unique_ptr<uint8_t[]> indices(new uint8_t[size_t(n > 0 ? n : 1)]);
    for (int64_t i = 0; i < n; i++) {
        auto it = index.find(p[i]);
        if (it == index.end()) {
            if (index.size() == 256)
                return false;
            uint8_t k = uint8_t(index.size());
            table[k] = p[i];
            it = index.emplace(p[i], k).first;
        }
        indices[i] = it->second;
    }
    colorTable = std::move(table);
    colorIndices = std::move(indices);
    bits.reset();
    return true;
}

void MemoryImage::FetchRow(int x, int y, int n, uint32_t* out)
{
    if (bits) {
        std::memcpy(out, bits.get() + int64_t(y) * width + x, size_t(n) * 4);
    } else if (colorTable && colorIndices) {
        const uint8_t* idx = colorIndices.get() + int64_t(y) * width + x;
        for (int i = 0; i < n; i++)
            out[i] = colorTable[idx[i]];
    } else if (uint32_t* p = GetBits()) {
        std::memcpy(out, p + int64_t(y) * width + x, size_t(n) * 4);
    } else {
        std::fill(out, out + n, 0u);
    }
}

const uint32_t* MemoryImage::RowIfPlain(int x, int y)
{
    if (!bits && !(colorTable && colorIndices))
        GetBits();
    return bits ? bits.get() + int64_t(y) * width + x : nullptr;
}

namespace {

// Fills run-length data for one row from per-pixel classes.
template <typename ClassOf>
void BuildRuns(uint8_t* out, const uint32_t* row, int w, ClassOf classOf)
{
    int run = 0;
    int prev = -1;
    for (int i = w - 1; i >= 0; i--) {
        int c = classOf(row[i]);
        run = (c == prev) ? std::min(run + 1, 255) : 1;
        out[i] = uint8_t(run);
        prev = c;
    }
}

} // namespace

template <typename ClassOf>
const uint8_t* MemoryImage::BuildRunTable(std::unique_ptr<uint8_t[]>& table, ClassOf classOf)
{
    if (table)
        return table.get();
    int64_t n = PixelCount(width, height);
    if (n <= 0)
        return nullptr;
    table.reset(new (std::nothrow) uint8_t[size_t(n)]);
    if (!table)
        return nullptr;
    std::vector<uint32_t> row(static_cast<size_t>(width));
    for (int y = 0; y < height; y++) {
        FetchRow(0, y, width, row.data());
        BuildRuns(table.get() + int64_t(y) * width, row.data(), width, classOf);
    }
    return table.get();
}

const uint8_t* MemoryImage::GetRLAlphaData()
{
    return BuildRunTable(rleAlphaData, [](uint32_t p) {
        uint32_t a = p >> 24;
        return a == 0 ? 0 : a == 255 ? 2 : 1;
    });
}

const uint8_t* MemoryImage::GetRLAdditiveData()
{
    return BuildRunTable(rleAdditiveData,
                         [](uint32_t p) { return ((p >> 24) == 0 || (p & 0xFFFFFF) == 0) ? 0 : 1; });
}

const uint32_t* MemoryImage::GetNativeAlphaData()
{
    if (nativeAlphaData)
        return nativeAlphaData.get();
    int64_t n = PixelCount(width, height);
    if (n <= 0 || !GetBits())
        return nullptr;
    nativeAlphaData.reset(new (std::nothrow) uint32_t[size_t(n)]);
    if (!nativeAlphaData)
        return nullptr;
    for (int64_t i = 0; i < n; i++) {
        uint32_t p = bits[i], a = p >> 24;
        uint32_t r = ((p >> 16) & 0xFF) * a / 255, g = ((p >> 8) & 0xFF) * a / 255, b = (p & 0xFF) * a / 255;
        nativeAlphaData[i] = (a << 24) | (r << 16) | (g << 8) | b;
    }
    return nativeAlphaData.get();
}

void MemoryImage::PurgeBits()
{
    // Only a palette form can stand in for the pixels here; without one the
    // pixels are the only copy and are kept.
    if (colorTable && colorIndices)
        bits.reset();
}

void MemoryImage::DeleteNativeData()
{
    nativeAlphaData.reset();
    rleAlphaData.reset();
    rleAdditiveData.reset();
}

// ---------------------------------------------------------------------------
// Fills, lines, outlines

void MemoryImage::FillRect(const Rect& rect, const Color& color, int)
{
    Rect r = rect.Intersection(Rect(0, 0, width, height));
    if (r.IsEmpty())
        return;
    uint32_t* p = GetBits();
    if (!p)
        return;
    uint32_t packed = PackClamped(color);
    uint32_t a = packed >> 24;
    if (a == 0)
        return;
    const BlendOps& ops = BlendOps::Get();
    for (int y = r.y; y < r.y + r.height; y++) {
        uint32_t* row = p + int64_t(y) * width + r.x;
        if (a == 255)
            std::fill(row, row + r.width, packed);
        else
            ops.fill(row, r.width, packed);
    }
    BitsChanged();
}

void MemoryImage::DrawRect(const Rect& rect, const Color& color, int drawMode)
{
    // An outline covering width + 1 by height + 1 pixels. Degenerate outlines
    // (a line) do not draw their edges twice, which would double a
    // translucent colour.
    const Rect& r = rect;
    FillRect(Rect(r.x, r.y, r.width + 1, 1), color, drawMode);
    if (r.height > 0)
        FillRect(Rect(r.x, r.y + r.height, r.width + 1, 1), color, drawMode);
    FillRect(Rect(r.x, r.y + 1, 1, r.height - 1), color, drawMode);
    if (r.width > 0)
        FillRect(Rect(r.x + r.width, r.y + 1, 1, r.height - 1), color, drawMode);
}

void MemoryImage::ClearRect(const Rect& rect)
{
    Rect r = rect.Intersection(Rect(0, 0, width, height));
    uint32_t* p = GetBits();
    if (r.IsEmpty() || !p)
        return;
    for (int y = r.y; y < r.y + r.height; y++)
        std::fill(p + int64_t(y) * width + r.x, p + int64_t(y) * width + r.x + r.width, 0u);
    BitsChanged();
}

void MemoryImage::PlotPixel(int x, int y, const Color& color, int drawMode)
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return;
    uint32_t* d = bits.get() + int64_t(y) * width + x;
    uint32_t packed = PackClamped(color);
    if (drawMode == DrawModeAdditive)
        BlendOps::Get().additive(d, &packed, 1, 0xFFFFFFFFu, true);
    else if ((packed >> 24) == 255)
        *d = packed;
    else
        BlendOps::Get().fill(d, 1, packed);
}

void MemoryImage::DrawLine(double x1, double y1, double x2, double y2, const Color& color, int drawMode)
{
    if (color.alpha <= 0 || !GetBits())
        return;
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2))
        return;
    // Bresenham between the rounded end points; each pixel is drawn once.
    auto clampCoord = [](double v) { return int(std::lround(std::clamp(v, -1e6, 1e6))); };
    int ax = clampCoord(x1), ay = clampCoord(y1), bx = clampCoord(x2), by = clampCoord(y2);
    int dx = std::abs(bx - ax), dy = -std::abs(by - ay);
    int sx = ax < bx ? 1 : -1, sy = ay < by ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        PlotPixel(ax, ay, color, drawMode);
        if (ax == bx && ay == by)
            break;
        int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            ax += sx;
        }
        if (e2 <= dx) {
            err += dx;
            ay += sy;
        }
    }
    BitsChanged();
}

void MemoryImage::FillScanLines(const Span* spans, int count, const Color& color, int drawMode)
{
    for (int i = 0; i < count; i++)
        FillRect(Rect(spans[i].x, spans[i].y, spans[i].width, 1), color, drawMode);
}

// ---------------------------------------------------------------------------
// Blits

void MemoryImage::BlendRow(int x, int y, const uint32_t* srcRow, int n, const Color& color, int drawMode,
                           bool srcHasAlpha)
{
    uint32_t* d = bits.get() + int64_t(y) * width + x;
    const BlendOps& ops = BlendOps::Get();
    uint32_t packed = PackClamped(color);
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
        const uint8_t* rle = src->GetRLAlphaData();
        for (int row = 0; row < s.height; row++) {
            const uint32_t* sp = sourceRow(row);
            uint32_t* dp = bits.get() + int64_t(d.y + row) * width + d.x;
            if (!rle) {
                ops.overOpaque(dp, sp, s.width);
                continue;
            }
            const uint8_t* runs = rle + int64_t(s.y + row) * src->width + s.x;
            int w = s.width;
            // A row of one class is skipped or copied whole. In wide rows,
            // long runs (64 pixels and more) are cut out and copied or
            // skipped; everything else goes to the kernel, which itself skips
            // and copies eight-pixel blocks of one class.
            if (runs[0] >= w || w < 128) {
                uint32_t a = sp[0] >> 24;
                if (runs[0] < w)
                    ops.overOpaque(dp, sp, w);
                else if (a == 255)
                    std::memcpy(dp, sp, size_t(w) * 4);
                else if (a != 0)
                    ops.overOpaque(dp, sp, w);
                continue;
            }
            int i = 0;
            while (i < w) {
                int run = std::min<int>(runs[i], w - i);
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
    } else if (drawMode == DrawModeAdditive) {
        uint32_t packed = PackClamped(color);
        bool useAlpha = src->hasAlpha || src->hasTrans || color.alpha < 255;
        const uint8_t* rle = src->GetRLAdditiveData();
        for (int row = 0; row < s.height; row++) {
            const uint32_t* sp = sourceRow(row);
            uint32_t* dp = bits.get() + int64_t(d.y + row) * width + d.x;
            if (!rle) {
                ops.additive(dp, sp, s.width, packed, useAlpha);
                continue;
            }
            const uint8_t* runs = rle + int64_t(s.y + row) * src->width + s.x;
            int w = s.width;
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
    } else {
        uint32_t packed = PackClamped(color);
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

void MemoryImage::StretchBlt(Image* srcImage, const Rect& destRect, const Rect& srcRect, const Rect& clipRect,
                             const Color& color, int drawMode, bool fastStretch)
{
    MemoryImage* src = srcImage ? srcImage->AsMemoryImage() : nullptr;
    if (!src || destRect.IsEmpty() || srcRect.IsEmpty())
        return;
    Rect s = srcRect.Intersection(Rect(0, 0, src->width, src->height));
    if (s != srcRect)
        return;
    Rect d = destRect.Intersection(clipRect).Intersection(Rect(0, 0, width, height));
    if (d.IsEmpty() || !GetBits())
        return;
    if (src == this) {
        MemoryImage copy(*this);
        StretchBlt(&copy, destRect, srcRect, clipRect, color, drawMode, fastStretch);
        return;
    }
    bool srcAlpha = src->hasAlpha || src->hasTrans;
    std::vector<uint32_t> out(static_cast<size_t>(d.width));
    if (fastStretch) {
        // Nearest neighbour at destination pixel centres, in exact integers.
        std::vector<int> xmap(static_cast<size_t>(d.width));
        for (int px = 0; px < d.width; px++)
            xmap[size_t(px)] = int((int64_t(2 * (d.x + px - destRect.x) + 1) * s.width) / (2 * int64_t(destRect.width)));
        std::vector<uint32_t> row(static_cast<size_t>(s.width));
        int lastSy = -1;
        for (int py = d.y; py < d.y + d.height; py++) {
            int sy = int((int64_t(2 * (py - destRect.y) + 1) * s.height) / (2 * int64_t(destRect.height)));
            if (sy != lastSy) {
                src->FetchRow(s.x, s.y + sy, s.width, row.data());
                for (int px = 0; px < d.width; px++)
                    out[size_t(px)] = row[size_t(xmap[size_t(px)])];
                lastSy = sy;
            }
            BlendRow(d.x, py, out.data(), d.width, color, drawMode, srcAlpha);
        }
    } else {
        // Bilinear, edges clamped to the source rectangle so the border of
        // the picture does not fade.
        if (!src->GetBits())
            return;
        Sampler sampler{src->bits.get(), src->width, s, true};
        float kx = float(s.width) / float(destRect.width), ky = float(s.height) / float(destRect.height);
        for (int py = d.y; py < d.y + d.height; py++) {
            float fy = (float(py - destRect.y) + 0.5f) * ky - 0.5f + float(s.y);
            for (int px = d.x; px < d.x + d.width; px++) {
                float fx = (float(px - destRect.x) + 0.5f) * kx - 0.5f + float(s.x);
                out[size_t(px - d.x)] = sampler.Bilinear(fx, fy);
            }
            BlendRow(d.x, py, out.data(), d.width, color, drawMode, true);
        }
    }
    BitsChanged();
}

void MemoryImage::TransformBlt(MemoryImage* src, const Rect& srcRect, const Rect& destBounds, const Matrix3& inv,
                               const Color& color, int drawMode, bool filtered)
{
    Rect d = destBounds.Intersection(Rect(0, 0, width, height));
    if (d.IsEmpty() || !GetBits())
        return;
    if (!src->GetBits())
        return;
    Sampler sampler{src->bits.get(), src->width, srcRect, false};
    const SampleOps& sampleOps = SampleOps::Get();
    std::vector<uint32_t> out(static_cast<size_t>(d.width));
    float ax = inv.m[0][0], ay = inv.m[1][0];
    // Samples can be non-zero only within half a texel (filtered: one and a
    // half) of the source rectangle.
    float margin = filtered ? 0.5f : 0.0f;
    float loX = float(srcRect.x) - margin, hiX = float(srcRect.x + srcRect.width) + margin;
    float loY = float(srcRect.y) - margin, hiY = float(srcRect.y + srcRect.height) + margin;
    for (int py = d.y; py < d.y + d.height; py++) {
        float sx, sy;
        inv.Apply(float(d.x) + 0.5f, float(py) + 0.5f, sx, sy);
        int first = 0, last = d.width - 1;
        if (!SolveRange(sx, ax, loX, hiX, d.width, first, last) || !SolveRange(sy, ay, loY, hiY, d.width, first, last))
            continue;
        int n = last - first + 1;
        if (filtered) {
            // Texel centres sit at integer + 0.5 in these coordinates; step in
            // 16.16 fixed point along the row.
            int64_t fx = int64_t((sx + ax * float(first) - 0.5f) * 65536.0f);
            int64_t fy = int64_t((sy + ay * float(first) - 0.5f) * 65536.0f);
            int64_t stepX = int64_t(ax * 65536.0f), stepY = int64_t(ay * 65536.0f);
            sampleOps.bilinearRow(out.data(), n, SampleSource{src->bits.get(), src->width, srcRect}, fx, fy, stepX,
                                  stepY);
        } else {
            for (int px = first; px <= last; px++)
                out[size_t(px - first)] =
                    sampler.Nearest(sx + ax * float(px) - 0.5f, sy + ay * float(px) - 0.5f);
        }
        BlendRow(d.x + first, py, out.data(), n, color, drawMode, true);
    }
    BitsChanged();
}

void MemoryImage::BltRotated(Image* srcImage, float x, float y, const Rect& srcRect, const Rect& clipRect,
                             const Color& color, int drawMode, double angle, float centerX, float centerY)
{
    MemoryImage* src = srcImage ? srcImage->AsMemoryImage() : nullptr;
    if (!src || srcRect.IsEmpty() || !std::isfinite(angle) || !std::isfinite(x) || !std::isfinite(y))
        return;
    if (srcRect.Intersection(Rect(0, 0, src->width, src->height)) != srcRect)
        return;
    if (src == this) {
        MemoryImage copy(*this);
        BltRotated(&copy, x, y, srcRect, clipRect, color, drawMode, angle, centerX, centerY);
        return;
    }
    // Forward map: source point (u, v) -> pivot + R * ((u, v) - centre - srcRect origin).
    Matrix3 fwd = Matrix3::Translation(x + centerX, y + centerY) * Matrix3::Rotation(angle) *
                  Matrix3::Translation(-centerX - float(srcRect.x), -centerY - float(srcRect.y));
    if (angle == 0 && x == std::floor(x) && y == std::floor(y)) {
        // Whole pixels, no rotation: the plain blit gives the same picture.
        Rect clip = clipRect.Intersection(Rect(0, 0, width, height));
        Rect dr = Rect(int(x), int(y), srcRect.width, srcRect.height).Intersection(clip);
        if (!dr.IsEmpty())
            Blt(src, dr.x, dr.y, Rect(srcRect.x + dr.x - int(x), srcRect.y + dr.y - int(y), dr.width, dr.height),
                color, drawMode);
        return;
    }
    Matrix3 inv;
    if (!fwd.Invert(inv))
        return;
    float minX = 1e9f, minY = 1e9f, maxX = -1e9f, maxY = -1e9f;
    for (int k = 0; k < 4; k++) {
        float cx = float(srcRect.x + ((k & 1) ? srcRect.width : 0)), cy = float(srcRect.y + ((k & 2) ? srcRect.height : 0));
        float ox, oy;
        fwd.Apply(cx, cy, ox, oy);
        minX = std::min(minX, ox), maxX = std::max(maxX, ox);
        minY = std::min(minY, oy), maxY = std::max(maxY, oy);
    }
    minX = std::max(minX, -1e6f), minY = std::max(minY, -1e6f), maxX = std::min(maxX, 1e6f), maxY = std::min(maxY, 1e6f);
    Rect bounds(int(std::floor(minX)), int(std::floor(minY)), int(std::ceil(maxX)) - int(std::floor(minX)) + 1,
                int(std::ceil(maxY)) - int(std::floor(minY)) + 1);
    TransformBlt(src, srcRect, bounds.Intersection(clipRect), inv, color, drawMode, true);
}

void MemoryImage::BltF(Image* src, float x, float y, const Rect& srcRect, const Rect& clipRect, const Color& color,
                       int drawMode)
{
    BltRotated(src, x, y, srcRect, clipRect, color, drawMode, 0.0, 0.0f, 0.0f);
}

void MemoryImage::BltMatrix(Image* srcImage, float x, float y, const Matrix3& matrix, const Rect& clipRect,
                            const Color& color, int drawMode, const Rect& srcRect, bool blend)
{
    MemoryImage* src = srcImage ? srcImage->AsMemoryImage() : nullptr;
    if (!src || srcRect.IsEmpty() || srcRect.Intersection(Rect(0, 0, src->width, src->height)) != srcRect)
        return;
    if (src == this) {
        MemoryImage copy(*this);
        BltMatrix(&copy, x, y, matrix, clipRect, color, drawMode, srcRect, blend);
        return;
    }
    Matrix3 fwd = Matrix3::Translation(x, y) * matrix *
                  Matrix3::Translation(-float(srcRect.x) - float(srcRect.width) / 2,
                                       -float(srcRect.y) - float(srcRect.height) / 2);
    Matrix3 inv;
    if (!fwd.Invert(inv))
        return;
    float minX = 1e9f, minY = 1e9f, maxX = -1e9f, maxY = -1e9f;
    for (int k = 0; k < 4; k++) {
        float cx = float(srcRect.x + ((k & 1) ? srcRect.width : 0)), cy = float(srcRect.y + ((k & 2) ? srcRect.height : 0));
        float ox, oy;
        fwd.Apply(cx, cy, ox, oy);
        if (!std::isfinite(ox) || !std::isfinite(oy))
            return;
        minX = std::min(minX, ox), maxX = std::max(maxX, ox);
        minY = std::min(minY, oy), maxY = std::max(maxY, oy);
    }
    minX = std::max(minX, -1e6f), minY = std::max(minY, -1e6f), maxX = std::min(maxX, 1e6f), maxY = std::min(maxY, 1e6f);
    Rect bounds(int(std::floor(minX)), int(std::floor(minY)), int(std::ceil(maxX)) - int(std::floor(minX)) + 1,
                int(std::ceil(maxY)) - int(std::floor(minY)) + 1);
    TransformBlt(src, srcRect, bounds.Intersection(clipRect), inv, color, drawMode, blend);
}

void MemoryImage::BltTrianglesTex(Image* srcImage, const TriVertex (*triangles)[3], int count, const Rect& clipRect,
                                  const Color& color, int drawMode, float texOffsetX, float texOffsetY, bool blend)
{
    MemoryImage* src = srcImage ? srcImage->AsMemoryImage() : nullptr;
    if (!src || !triangles || count <= 0 || !GetBits())
        return;
    MemoryImage copyOfSelf;
    if (src == this) {
        copyOfSelf = *this;
        src = &copyOfSelf;
    }
    Rect clip = clipRect.Intersection(Rect(0, 0, width, height));
    if (!src->GetBits())
        return;
    Sampler sampler{src->bits.get(), src->width, Rect(0, 0, src->width, src->height), false};
    std::vector<uint32_t> out;
    for (int t = 0; t < count; t++) {
        const TriVertex* v = triangles[t];
        float area = (v[1].x - v[0].x) * (v[2].y - v[0].y) - (v[2].x - v[0].x) * (v[1].y - v[0].y);
        if (area == 0 || !std::isfinite(area))
            continue;
        float minX = std::min({v[0].x, v[1].x, v[2].x}), maxX = std::max({v[0].x, v[1].x, v[2].x});
        float minY = std::min({v[0].y, v[1].y, v[2].y}), maxY = std::max({v[0].y, v[1].y, v[2].y});
        Rect box(int(std::floor(std::max(minX, -1e6f))), int(std::floor(std::max(minY, -1e6f))), 0, 0);
        box.width = int(std::ceil(std::min(maxX, 1e6f))) - box.x + 1;
        box.height = int(std::ceil(std::min(maxY, 1e6f))) - box.y + 1;
        box = box.Intersection(clip);
        if (box.IsEmpty())
            continue;
        out.assign(size_t(box.width), 0);
        for (int py = box.y; py < box.y + box.height; py++) {
            float cy = float(py) + 0.5f;
            bool any = false;
            for (int px = box.x; px < box.x + box.width; px++) {
                float cx = float(px) + 0.5f;
                // Barycentric weights of the pixel centre.
                float w0 = ((v[1].x - cx) * (v[2].y - cy) - (v[2].x - cx) * (v[1].y - cy)) / area;
                float w1 = ((v[2].x - cx) * (v[0].y - cy) - (v[0].x - cx) * (v[2].y - cy)) / area;
                float w2 = 1.0f - w0 - w1;
                uint32_t p = 0;
                if (w0 >= 0 && w1 >= 0 && w2 >= 0) {
                    float u = w0 * v[0].u + w1 * v[1].u + w2 * v[2].u + texOffsetX;
                    float tv = w0 * v[0].v + w1 * v[1].v + w2 * v[2].v + texOffsetY;
                    p = blend ? sampler.Bilinear(u - 0.5f, tv - 0.5f) : sampler.Nearest(u - 0.5f, tv - 0.5f);
                    if (p) {
                        // Multiply by the interpolated corner colours.
                        uint32_t mod[4];
                        for (int c = 0; c < 4; c++) {
                            int shift = 24 - 8 * c;
                            float m = w0 * float((v[0].color >> shift) & 0xFF) + w1 * float((v[1].color >> shift) & 0xFF) +
                                      w2 * float((v[2].color >> shift) & 0xFF);
                            mod[c] = uint32_t(std::clamp(m, 0.0f, 255.0f));
                        }
                        uint32_t a = (p >> 24) * mod[0] / 255, r = ((p >> 16) & 0xFF) * mod[1] / 255,
                                 g = ((p >> 8) & 0xFF) * mod[2] / 255, b = (p & 0xFF) * mod[3] / 255;
                        p = (a << 24) | (r << 16) | (g << 8) | b;
                    }
                }
                out[size_t(px - box.x)] = p;
                any |= p != 0;
            }
            if (any)
                BlendRow(box.x, py, out.data(), box.width, color, drawMode, true);
        }
    }
    BitsChanged();
}

} // namespace Zorvin
