// ImageFont: a font drawn from a sheet of glyph pictures.
//   making and copying          - ImageFont, Duplicate, IsLoaded
//   size, scale and tags        - SetPointSize, SetScale, AddTag, RemoveTag,
//                                 HasTag, SetForceWhite, GetDefine
//   the layers a string uses    - Prepare, GenerateActiveFontLayers,
//                                 PrepareLocked, BuildActiveLayers, FindInk,
//                                 BuildScaledSheet
//   measuring and drawing       - Walk, GetAscent, GetHeight, StringWidth,
//                                 CharWidth, CharWidthKern, DrawString

#include "framework/font/ImageFont.h"

#include "framework/font/FontData.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <mutex>

namespace Zorvin {

namespace {

// One glyph waiting to be drawn.
struct GlyphRequest {
    MemoryImage* image;
    int x, y;
    Rect src;
    int drawMode;
    Color color;
};

// The process-wide font lock and the order buckets it guards. Glyphs of all
// layers are gathered first and drawn bucket by bucket, so a shadow layer
// (low order) lies under every main glyph of the string, not just its own.
std::mutex& FontLock()
{
    static std::mutex lock;
    return lock;
}

std::array<std::vector<GlyphRequest>, 256>& OrderBuckets()
{
    static std::array<std::vector<GlyphRequest>, 256> buckets;
    return buckets;
}

std::string Upper(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// Layer colour applied to the text colour, per component.
int Tint(int mult, int text, int add)
{
    int v = mult * std::clamp(text, 0, 255) / 255 + add;
    return v > 254 ? 255 : std::max(v, 0);
}

// A product of the layer's scale factor, truncated as drawing positions are.
int Scaled(double factor, long long v)
{
    // Drawn natively the product is v itself; no floating point per glyph.
    if (factor == 1.0 && v > INT_MIN / 4 && v < INT_MAX / 4)
        return static_cast<int>(v);
    double r = factor * static_cast<double>(v);
    if (!(r > INT_MIN / 4 && r < INT_MAX / 4))
        return 0;
    return static_cast<int>(r);
}

} // namespace

ImageFont::ImageFont(const std::string& descriptorPath, FontHost* host) : ImageFont(nullptr, descriptorPath, host) {}

ImageFont::ImageFont(MemoryImage* fontImage, const std::string& descriptorPath, FontHost* host)
    : data(std::make_shared<FontData>(host))
{
    data->Load(descriptorPath, fontImage);
    pointSize = data->defaultPointSize;
}

ImageFont::ImageFont(std::shared_ptr<FontData> fontData) : data(std::move(fontData))
{
    pointSize = data->defaultPointSize;
}

ImageFont::ImageFont(const ImageFont& other)
    : Font(other), data(other.data), pointSize(other.pointSize), scale(other.scale), tags(other.tags),
      forceWhite(other.forceWhite)
{
}

ImageFont::~ImageFont() = default;

std::unique_ptr<Font> ImageFont::Duplicate() const
{
    return std::make_unique<ImageFont>(*this);
}

bool ImageFont::IsLoaded() const { return data->IsLoaded(); }

void ImageFont::SetPointSize(int size)
{
    std::lock_guard<std::mutex> guard(FontLock());
    pointSize = size;
    layersOutOfDate = true;
}

void ImageFont::SetScale(double s)
{
    std::lock_guard<std::mutex> guard(FontLock());
    scale = s;
    layersOutOfDate = true;
}

void ImageFont::AddTag(const std::string& tag)
{
    std::lock_guard<std::mutex> guard(FontLock());
    std::string t = Upper(tag);
    if (std::find(tags.begin(), tags.end(), t) == tags.end())
        tags.push_back(t);
    layersOutOfDate = true;
}

void ImageFont::RemoveTag(const std::string& tag)
{
    std::lock_guard<std::mutex> guard(FontLock());
    tags.erase(std::remove(tags.begin(), tags.end(), Upper(tag)), tags.end());
    layersOutOfDate = true;
}

bool ImageFont::HasTag(const std::string& tag) const
{
    std::lock_guard<std::mutex> guard(FontLock());
    return std::find(tags.begin(), tags.end(), Upper(tag)) != tags.end();
}

void ImageFont::SetForceWhite(bool on)
{
    std::lock_guard<std::mutex> guard(FontLock());
    forceWhite = on;
    layersOutOfDate = true;
}

std::string ImageFont::GetDefine(const std::string& name) const
{
    const DataElement* value = data->FindDefine(name);
    return value ? DescParser::DataToString(*value) : std::string();
}

void ImageFont::Prepare()
{
    std::lock_guard<std::mutex> guard(FontLock());
    PrepareLocked();
}

void ImageFont::GenerateActiveFontLayers()
{
    std::lock_guard<std::mutex> guard(FontLock());
    BuildActiveLayers();
}

void ImageFont::PrepareLocked()
{
    if (layersOutOfDate)
        BuildActiveLayers();
}

void ImageFont::BuildActiveLayers()
{
    layersOutOfDate = false;
    activeLayers.clear();
    sheetPixels = 0;
    ascent = ascentPadding = height = lineSpacingOffset = 0;
    if (!data->IsLoaded())
        return;

    auto hasTag = [&](const std::string& t) { return std::find(tags.begin(), tags.end(), t) != tags.end(); };
    for (const auto& layerPtr : data->layers) {
        const FontLayer& layer = *layerPtr;
        if (layer.minPointSize > pointSize || (layer.maxPointSize != -1 && layer.maxPointSize < pointSize))
            continue;
        if (!std::all_of(layer.requiredTags.begin(), layer.requiredTags.end(), hasTag) ||
            std::any_of(layer.excludedTags.begin(), layer.excludedTags.end(), hasTag))
            continue;

        auto active = std::make_unique<ActiveFontLayer>();
        active->layer = &layer;
        const bool native = scale == 1.0 && (layer.pointSize == 0 || layer.pointSize == pointSize);
        if (native && !forceWhite) {
            active->image = layer.image;
            for (int c = 0; c < 256; ++c)
                active->rects[c] = layer.chars[c].imageRect;
        } else {
            active->factor = native ? 1.0
                             : layer.pointSize == 0 ? scale
                                                    : static_cast<double>(pointSize) * scale / layer.pointSize;
            BuildScaledSheet(*active);
        }
        activeLayers.push_back(std::move(active));
    }

    // Metrics: the highest ascent over the layers, and the height from that
    // ascent line down to the lowest glyph bottom any layer reaches.
    for (const auto& a : activeLayers) {
        ascent = std::max(ascent, Scaled(a->factor, a->layer->ascent));
        ascentPadding = std::max(ascentPadding, Scaled(a->factor, a->layer->ascentPadding));
        lineSpacingOffset = std::max(lineSpacingOffset, Scaled(a->factor, a->layer->lineSpacingOffset));
    }
    for (const auto& a : activeLayers) {
        const FontLayer& layer = *a->layer;
        long long bottom = layer.ascent;
        for (const FontCharData& cd : layer.chars)
            if (!cd.imageRect.IsEmpty())
                bottom = std::max(bottom, (long long)cd.offset.y + layer.offset.y + cd.imageRect.height);
        height = std::max(height, ascent - Scaled(a->factor, layer.ascent) + Scaled(a->factor, bottom));
    }
}

void ImageFont::FindInk(ActiveFontLayer& active)
{
    MemoryImage* image = active.image;
    active.inkedFor = image->GetChangeCount();
    Rect whole(0, 0, image->width, image->height);
    std::vector<uint32_t> row;
    for (int c = 0; c < 256; ++c) {
        const Rect& r = active.rects[c];
        active.inked[c] = r;
        // A rectangle reaching outside the image is refused when drawn;
        // it stays as it is.
        if (r.IsEmpty() || r.Intersection(whole) != r)
            continue;
        active.inked[c] = Rect();
        row.resize(size_t(r.width));
        int top = INT_MAX, bottom = -1, left = INT_MAX, right = -1;
        for (int y = 0; y < r.height; ++y) {
            image->FetchRow(r.x, r.y + y, r.width, row.data());
            for (int x = 0; x < r.width; ++x) {
                if (row[size_t(x)] == 0)
                    continue;
                top = std::min(top, y), bottom = y;
                left = std::min(left, x), right = std::max(right, x);
            }
        }
        if (bottom >= 0)
            active.inked[c] = Rect(r.x + left, r.y + top, right - left + 1, bottom - top + 1);
    }
}

void ImageFont::BuildScaledSheet(ActiveFontLayer& active)
{
    const FontLayer& layer = *active.layer;
    const double f = active.factor;
    if (!layer.image || !std::isfinite(f) || f <= 0)
        return;
    // Glyphs side by side in character order.
    std::array<Rect, 256> dest{};
    long long sheetWidth = 0, sheetHeight = 0;
    for (int c = 0; c < 256; ++c) {
        const Rect& r = layer.chars[c].imageRect;
        if (r.IsEmpty())
            continue;
        double w = std::round(r.width * f), h = std::round(r.height * f);
        if (w > kMaxSheetWidth || h > kMaxSheetWidth)
            return;
        dest[c] = Rect(static_cast<int>(sheetWidth), 0, static_cast<int>(w), static_cast<int>(h));
        sheetWidth += static_cast<long long>(w);
        sheetHeight = std::max(sheetHeight, static_cast<long long>(h));
    }
    // Sheets are one row of glyphs, so only their area is limited; a font's
    // sheets together stay within a budget that no real font comes near.
    if (sheetWidth <= 0 || sheetHeight <= 0 || sheetWidth > kMaxSheetWidth ||
        sheetWidth * sheetHeight > kMaxSheetPixels - sheetPixels)
        return;
    sheetPixels += sheetWidth * sheetHeight;

    auto sheet = std::make_unique<MemoryImage>(static_cast<int>(sheetWidth), static_cast<int>(sheetHeight));
    sheet->Clear();
    {
        Graphics g(sheet.get());
        for (int c = 0; c < 256; ++c)
            if (!dest[c].IsEmpty())
                g.DrawImage(layer.image, dest[c], layer.chars[c].imageRect);
    }
    if (forceWhite) {
        if (uint32_t* p = sheet->GetBits()) {
            for (long long i = 0; i < sheetWidth * sheetHeight; ++i)
                p[i] |= 0x00FFFFFF;
            sheet->BitsChanged();
        }
    }
    active.rects = dest;
    active.image = sheet.get();
    active.ownedImage = std::move(sheet);
}

int ImageFont::Walk(Graphics* g, int x, int y, const std::string& text, const Color& color,
                    std::vector<Rect>* glyphRects)
{
    PrepareLocked();
    if (activeLayers.empty() || text.empty())
        return 0;
    // Every Walk leaves the buckets empty; only the span of buckets this
    // text fills is walked (a short string used to visit all 256 twice).
    auto& buckets = OrderBuckets();
    int lowBucket = int(buckets.size()), highBucket = -1;

    const auto& charMap = data->charMap;
    long long pen = x;
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char ch = charMap[static_cast<unsigned char>(text[i])];
        const bool hasNext = i + 1 < text.size();
        const unsigned char next = hasNext ? charMap[static_cast<unsigned char>(text[i + 1])] : 0;
        long long furthest = LLONG_MIN;
        for (const auto& a : activeLayers) {
            const FontLayer& layer = *a->layer;
            const FontCharData& cd = layer.chars[ch];
            const double s = a->factor;
            const long long gx = pen + Scaled(s, (long long)cd.offset.x + layer.offset.x);
            const long long gy = y - Scaled(s, (long long)layer.ascent - ((long long)cd.offset.y + layer.offset.y));
            const int advance = Scaled(s, cd.width);
            const int kerning = hasNext ? Scaled(s, (long long)cd.kerningOffsets[next] + layer.spacing) : 0;
            furthest = std::max(furthest, gx + advance + kerning);

            const Rect& src = a->rects[ch];
            if (!g || !a->image || src.IsEmpty() || gx < INT_MIN / 2 || gx > INT_MAX / 2 || gy < INT_MIN / 2 ||
                gy > INT_MAX / 2)
                continue;
            if (a->inkedFor != a->image->GetChangeCount())
                FindInk(*a);
            const Rect& ink = a->inked[ch];
            const Color c(Tint(layer.colorMult.red, color.red, layer.colorAdd.red),
                          Tint(layer.colorMult.green, color.green, layer.colorAdd.green),
                          Tint(layer.colorMult.blue, color.blue, layer.colorAdd.blue),
                          Tint(layer.colorMult.alpha, color.alpha, layer.colorAdd.alpha));
            const long long order = (long long)cd.order + layer.baseOrder;
            const int bucket = static_cast<int>(std::clamp<long long>(order + 128, 0, 255));
            if (glyphRects)
                glyphRects->push_back(Rect(int(gx), int(gy), src.width, src.height));
            if (ink.IsEmpty())
                continue;
            buckets[bucket].push_back(
                {a->image, int(gx) + ink.x - src.x, int(gy) + ink.y - src.y, ink, layer.drawMode, c});
            lowBucket = std::min(lowBucket, bucket);
            highBucket = std::max(highBucket, bucket);
        }
        // Keep the pen within a range where positions cannot overflow.
        pen = std::clamp<long long>(furthest, INT_MIN / 2, INT_MAX / 2);
    }

    if (g) {
        const Color oldColor = g->GetColor();
        const bool oldColorize = g->GetColorizeImages();
        g->SetColorizeImages(true);
        for (int b = lowBucket; b <= highBucket; ++b) {
            auto& bucket = buckets[size_t(b)];
            for (const GlyphRequest& r : bucket) {
                const int oldMode = g->GetDrawMode();
                if (r.drawMode != -1)
                    g->SetDrawMode(r.drawMode);
                g->SetColor(r.color);
                g->DrawImage(r.image, r.x, r.y, r.src);
                g->SetDrawMode(oldMode);
            }
            bucket.clear();
        }
        g->SetColor(oldColor);
        g->SetColorizeImages(oldColorize);
    }
    return static_cast<int>(std::clamp<long long>(pen - x, INT_MIN / 2, INT_MAX / 2));
}

int ImageFont::GetAscent()
{
    Prepare();
    return ascent;
}

int ImageFont::GetAscentPadding()
{
    Prepare();
    return ascentPadding;
}

int ImageFont::GetHeight()
{
    Prepare();
    return height;
}

int ImageFont::GetLineSpacingOffset()
{
    Prepare();
    return lineSpacingOffset;
}

int ImageFont::StringWidth(const std::string& text)
{
    std::lock_guard<std::mutex> guard(FontLock());
    return Walk(nullptr, 0, 0, text, Color::White, nullptr);
}

int ImageFont::CharWidth(char c)
{
    return StringWidth(std::string(1, c));
}

int ImageFont::CharWidthKern(char c, char prev)
{
    if (prev == 0)
        return CharWidth(c);
    // The pair's width less the previous character alone: c's advance plus
    // prev's kerning toward c.
    std::lock_guard<std::mutex> guard(FontLock());
    const char pair[2] = {prev, c};
    return Walk(nullptr, 0, 0, std::string(pair, 2), Color::White, nullptr) -
           Walk(nullptr, 0, 0, std::string(1, prev), Color::White, nullptr);
}

void ImageFont::DrawString(Graphics* g, int x, int y, const std::string& text, const Color& color, const Rect& clip)
{
    // The context clips every glyph itself.
    (void)clip;
    DrawStringEx(g, x, y, text, color, nullptr);
}

void ImageFont::DrawStringEx(Graphics* g, int x, int y, const std::string& text, const Color& color,
                             std::vector<Rect>* glyphRects)
{
    if (!g)
        return;
    std::lock_guard<std::mutex> guard(FontLock());
    Walk(g, x, y, text, color, glyphRects);
}

} // namespace Zorvin
