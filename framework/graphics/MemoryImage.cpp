// MemoryImage's storage: construction and copying, the registry of live
// images, the pixel buffer and its palette form, the run-length tables, and
// fills and lines. The blits live in MemoryImageBlits.cpp (straight copies)
// and MemoryImageTransforms.cpp (stretched, rotated and textured drawing).
//
// Sections:
//   - the registry of live images and size limits
//   - construction, copying and the pixel buffer
//   - pixels and the palette form
//   - run-length tables and native data
//   - fills, lines, outlines

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
    opaqueScan = other.opaqueScan;
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
    opaqueScan = -1;
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

bool MemoryImage::AllOpaque()
{
    if (opaqueScan >= 0)
        return opaqueScan == 1;
    bool opaque = width > 0 && height > 0;
    if (opaque && bits) {
        const uint32_t* p = bits.get();
        uint32_t all = 0xFFFFFFFFu;
        for (int64_t i = 0, n = int64_t(width) * height; i < n; i++)
            all &= p[i];
        opaque = (all >> 24) == 0xFF;
    } else if (opaque && colorTable && colorIndices) {
        const uint8_t* idx = colorIndices.get();
        for (int64_t i = 0, n = int64_t(width) * height; i < n && opaque; i++)
            opaque = (colorTable[idx[i]] >> 24) == 0xFF;
    } else {
        opaque = false;
    }
    opaqueScan = opaque ? 1 : 0;
    return opaque;
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
    uint32_t packed = color.ToIntClamped();
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
    uint32_t packed = color.ToIntClamped();
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

} // namespace Zorvin
