#pragma once

// FontData: everything one font descriptor file says — layers of glyphs,
// their images, metrics, kerning and colouring, the character map and the
// defined names. It reads the descriptor through DescParser and is shared,
// read-only once loaded, by every ImageFont made from it (whose lifetime
// decides its own). It owns the glyph images it loaded itself; an image
// handed in by the caller stays the caller's.

#include "framework/core/Color.h"
#include "framework/font/DescParser.h"
#include "framework/core/Rect.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace Zorvin {

class FontHost;
class MemoryImage;

// One glyph of a layer.
struct FontCharData {
    Rect imageRect;                      // in the layer image
    Point offset;                        // added to the pen position
    std::array<int8_t, 256> kerningOffsets{}; // toward each following character
    int width = 0;                       // advance
    int order = 0;                       // drawing order among layers' glyphs
};

// One layer: a set of glyphs drawn with one image, colouring and offset.
// Layers are selected by point size and by the font's tags.
struct FontLayer {
    std::string name;
    std::vector<std::string> requiredTags;
    std::vector<std::string> excludedTags;
    std::array<FontCharData, 256> chars{};
    Color colorMult{255, 255, 255, 255};
    Color colorAdd{0, 0, 0, 0};
    MemoryImage* image = nullptr;
    int drawMode = -1; // -1: leave the context's mode as it is
    Point offset;
    int spacing = 0;
    int minPointSize = -1;
    int maxPointSize = -1; // -1: no upper bound
    int pointSize = 0;     // 0: drawn at its own size
    int ascent = 0;
    int ascentPadding = 0;
    int lineSpacingOffset = 0;
    int baseOrder = 0;
};

class FontData : public DescParser {
public:
    // `host` loads glyph images and shows errors; it must outlive the data.
    explicit FontData(FontHost* host = nullptr);
    ~FontData() override;

    // Reads a descriptor file. `fontImage`, when given, is the glyph image
    // every layer starts with (the caller keeps owning it). A failure is
    // reported to the host once and leaves the data unloaded.
    bool Load(const std::string& fileName, MemoryImage* fontImage = nullptr);
    // The same for descriptor text in memory; `fileName` names it in errors
    // and relative image names are found from its folder.
    bool LoadText(const std::string& text, const std::string& fileName, MemoryImage* fontImage = nullptr);

    bool IsLoaded() const { return loaded; }
    FontLayer* FindLayer(const std::string& name) const;

    std::string fileName;
    bool loaded = false;
    std::array<unsigned char, 256> charMap{};
    int defaultPointSize = 0;
    std::vector<std::unique_ptr<FontLayer>> layers;

protected:
    bool HandleCommand(const ListDataElement& params) override;

private:
    bool Begin(const std::string& name, MemoryImage* fontImage);
    bool Finish(bool ok);
    // The layer named by a command's second value, or "Undefined Layer".
    bool GetLayer(const DataElement& element, FontLayer*& out);
    // HandleCommand's parts: the strip of rectangles, the commands on one
    // layer, and among those the per-character lists.
    bool CreateHorzSpanRectList(const ListDataElement& params);
    bool HandleLayerCommand(const std::string& cmd, const ListDataElement& params, FontLayer& layer);
    bool HandleCharListCommand(const std::string& cmd, const ListDataElement& params, FontLayer& layer);
    bool GetColor(const DataElement& element, Color& out);
    MemoryImage* LoadImage(const std::string& name);

    FontHost* host;
    MemoryImage* fontImage = nullptr;
    std::map<std::string, FontLayer*> layerMap; // by upper-case name
    std::vector<std::unique_ptr<MemoryImage>> ownedImages;
};

} // namespace Zorvin
