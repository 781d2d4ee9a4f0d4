#pragma once

// SysFont: a font rendered by the system's font engine — FreeType with
// DejaVu Sans here — for framework widgets and developer overlays that have
// no image font. The face is rendered once, antialiased, into a white glyph
// sheet whose alpha is the coverage; drawing tints it with the text colour.
// Whoever makes a SysFont owns it; duplicates render their own sheet.

#include "framework/graphics/Font.h"
#include "framework/core/Rect.h"

#include <array>
#include <memory>
#include <string>

namespace Zorvin {

class MemoryImage;

class SysFont : public Font {
public:
    // The regular and bold faces every SysFont uses, whatever face name it
    // is asked for.
    static constexpr const char* kRegularFace = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
    static constexpr const char* kBoldFace = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
    // Screen resolution the point size is converted with.
    static constexpr int kDotsPerInch = 96;

    // `faceName` is kept for duplicates; the pixel height is
    // pointSize x 96 / 72, rounded. IsLoaded() is false when the face file
    // cannot be read; such a font draws nothing and measures 0.
    SysFont(const std::string& faceName, int pointSize, bool bold = false);
    SysFont(const SysFont& other);
    SysFont& operator=(const SysFont&) = delete;
    ~SysFont() override;

    int StringWidth(const std::string& text) override;
    int CharWidthKern(char c, char prev) override;
    void DrawString(Graphics* g, int x, int y, const std::string& text, const Color& color,
                    const Rect& clip) override;
    std::unique_ptr<Font> Duplicate() const override;

    bool IsLoaded() const { return sheet != nullptr; }
    int GetPointSize() const { return pointSize; }
    const std::string& GetFaceName() const { return faceName; }

private:
    struct Glyph {
        Rect rect;      // in the sheet
        int left = 0;   // from the pen to the bitmap's left edge
        int top = 0;    // from the baseline up to the bitmap's top edge
        int advance = 0;
    };

    void Render();

    std::string faceName;
    int pointSize;
    bool bold;
    std::array<Glyph, 256> glyphs{};
    // Kerning between Windows-1251 bytes, in pixels; empty when the face
    // has no kerning table.
    std::unique_ptr<std::array<std::array<int8_t, 256>, 256>> kerning;
    std::unique_ptr<MemoryImage> sheet;
};

} // namespace Zorvin
