#pragma once

// Font: the interface every text operation draws and measures through.
// ImageFont (bitmap glyphs from a descriptor file) and SysFont (rendered by
// the system font engine) implement it. Text is Windows-1251 bytes. A font is
// owned by whoever made it (usually the resource manager); Graphics only
// points at one.

#include <memory>
#include <string>

#include "framework/core/Color.h"
#include "framework/core/Rect.h"

namespace Zorvin {

class Graphics;

class Font {
public:
    Font() = default;
    Font(const Font&) = default;
    Font& operator=(const Font&) = default;
    virtual ~Font() = default;

    virtual int GetAscent() { return ascent; }
    virtual int GetAscentPadding() { return ascentPadding; }
    virtual int GetDescent() { return GetHeight() - GetAscent(); }
    virtual int GetHeight() { return height; }
    virtual int GetLineSpacingOffset() { return lineSpacingOffset; }
    // Distance between baselines of consecutive lines.
    virtual int GetLineSpacing() { return GetHeight() + GetLineSpacingOffset(); }

    // Advance of the whole text in pixels (kerning included).
    virtual int StringWidth(const std::string& text)
    {
        (void)text;
        return 0;
    }
    virtual int CharWidth(char c) { return StringWidth(std::string(1, c)); }
    // Advance of c when it follows prev: its width plus prev's kerning toward
    // it. prev = 0 means c starts the text.
    virtual int CharWidthKern(char c, char prev)
    {
        (void)prev;
        return CharWidth(c);
    }
    // Draws text with its baseline at y, starting at x, in the given colour.
    // x and y are in the context's own coordinates: the font draws its glyphs
    // through g, which translates and clips them. clip is the context's clip
    // rectangle in destination pixels, for fonts that render by other means.
    virtual void DrawString(Graphics* g, int x, int y, const std::string& text, const Color& color,
                            const Rect& clip)
    {
        (void)g, (void)x, (void)y, (void)text, (void)color, (void)clip;
    }
    virtual std::unique_ptr<Font> Duplicate() const = 0;

    int ascent = 0;
    int ascentPadding = 0;
    int height = 0;
    int lineSpacingOffset = 0;
};

} // namespace Zorvin
