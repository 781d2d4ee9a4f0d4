#pragma once

// ImageFont: a bitmap font drawn from glyph images as a FontData describes
// them. The font is a sized, tagged view of its data: its point size, scale
// and tags choose which layers are active, and layers drawn at another size
// than their own get a scaled glyph sheet built on demand. Fonts made from
// one descriptor (Duplicate) share its FontData; each font owns the scaled
// sheets of its active layers.
//
// All image-font drawing and measuring in the process is serialised by one
// lock, because glyphs are gathered into shared order buckets; fonts may be
// used from the loading thread and the main thread alike.

#include "framework/graphics/Font.h"
#include "framework/core/Rect.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace Zorvin {

class FontData;
class FontHost;
class MemoryImage;
struct FontLayer;

class ImageFont : public Font {
public:
    // Loads the descriptor at `descriptorPath`. Check IsLoaded(): a font
    // whose descriptor failed draws nothing and measures 0.
    explicit ImageFont(const std::string& descriptorPath, FontHost* host = nullptr);
    // The same, every layer starting with `fontImage` (owned by the caller,
    // which must keep it while the font and its duplicates live).
    ImageFont(MemoryImage* fontImage, const std::string& descriptorPath, FontHost* host = nullptr);
    // A font over data that is already loaded.
    explicit ImageFont(std::shared_ptr<FontData> data);
    ImageFont(const ImageFont& other);
    ImageFont& operator=(const ImageFont&) = delete;
    ~ImageFont() override;

    int GetAscent() override;
    int GetAscentPadding() override;
    int GetHeight() override;
    int GetLineSpacingOffset() override;
    int StringWidth(const std::string& text) override;
    int CharWidth(char c) override;
    int CharWidthKern(char c, char prev) override;
    void DrawString(Graphics* g, int x, int y, const std::string& text, const Color& color,
                    const Rect& clip) override;
    std::unique_ptr<Font> Duplicate() const override;

    // Rebuilds the active layers and the metrics now.
    void GenerateActiveFontLayers();
    // Draws like DrawString and appends the destination rectangle of every
    // glyph drawn (in the context's coordinates) to `glyphRects`.
    void DrawStringEx(Graphics* g, int x, int y, const std::string& text, const Color& color,
                      std::vector<Rect>* glyphRects);

    void SetPointSize(int size);
    int GetPointSize() const { return pointSize; }
    void SetScale(double s);
    double GetScale() const { return scale; }
    // Tags select layers; case does not matter.
    void AddTag(const std::string& tag);
    void RemoveTag(const std::string& tag);
    bool HasTag(const std::string& tag) const;
    // Scaled sheets are drawn pure white (alpha kept) so the text colour
    // alone decides the colour.
    void SetForceWhite(bool on);
    bool GetForceWhite() const { return forceWhite; }
    // A name given with "Define" in the descriptor, written as text; "" when
    // there is no such name.
    std::string GetDefine(const std::string& name) const;
    // Rebuilds the active layers if a setting changed since the last time.
    void Prepare();

    bool IsLoaded() const;
    const FontData* GetFontData() const { return data.get(); }

private:
    struct ActiveFontLayer {
        const FontLayer* layer = nullptr;
        MemoryImage* image = nullptr;            // glyphs are drawn from here
        std::unique_ptr<MemoryImage> ownedImage; // a scaled sheet, when built
        std::array<Rect, 256> rects{};           // per character, in `image`
        double factor = 1.0;                     // 1 when drawn natively
        // Per character, the part of its rectangle inside the rows and
        // columns that hold only blank pixels (0x00000000, which no draw
        // mode changes anything with): only that part is drawn. Found for
        // the image's change count inkedFor.
        std::array<Rect, 256> inked{};
        int inkedFor = -1;
    };

    // Brings the layer's inked rectangles up to date with its image.
    static void FindInk(ActiveFontLayer& active);

    // The shared walk behind drawing and measuring: g == null only measures.
    // Returns the width of the text. The caller holds the global lock.
    int Walk(Graphics* g, int x, int y, const std::string& text, const Color& color, std::vector<Rect>* glyphRects);
    void PrepareLocked();
    void BuildActiveLayers();
    void BuildScaledSheet(ActiveFontLayer& active);

    // Limits of the scaled glyph sheets one font builds.
    static constexpr long long kMaxSheetWidth = 1 << 20;
    static constexpr long long kMaxSheetPixels = 16LL << 20;

    std::shared_ptr<FontData> data;
    long long sheetPixels = 0; // in the current scaled sheets
    int pointSize = 0;
    double scale = 1.0;
    std::vector<std::string> tags;
    bool forceWhite = false;
    bool layersOutOfDate = true;
    std::vector<std::unique_ptr<ActiveFontLayer>> activeLayers;
};

} // namespace Zorvin
