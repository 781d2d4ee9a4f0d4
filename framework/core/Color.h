#pragma once

// Color: one colour with alpha, the currency of every drawing call. The four
// components are kept as plain ints (0-255) so arithmetic on them never wraps;
// ToInt packs them the way pixels are stored (alpha in the top byte, then red,
// green, blue). A small value type, copied freely.

#include <cstdint>

namespace Zorvin {

struct Color {
    int red = 0;
    int green = 0;
    int blue = 0;
    int alpha = 255;

    constexpr Color() = default;
    constexpr Color(int r, int g, int b, int a = 255) : red(r), green(g), blue(b), alpha(a) {}

    // 0xRRGGBB as written in art notes and colour codes, with a separate alpha.
    static constexpr Color FromRgb(uint32_t rgb, int a = 255)
    {
        return Color(int((rgb >> 16) & 0xFF), int((rgb >> 8) & 0xFF), int(rgb & 0xFF), a);
    }
    // A packed pixel value, alpha included.
    static constexpr Color FromArgb(uint32_t argb)
    {
        return Color(int((argb >> 16) & 0xFF), int((argb >> 8) & 0xFF), int(argb & 0xFF), int(argb >> 24));
    }

    constexpr int GetRed() const { return red; }
    constexpr int GetGreen() const { return green; }
    constexpr int GetBlue() const { return blue; }
    constexpr int GetAlpha() const { return alpha; }

    // Packs as alpha << 24 | red << 16 | green << 8 | blue; components are
    // masked to a byte so an out-of-range value cannot spill into its neighbour.
    constexpr uint32_t ToInt() const
    {
        return (uint32_t(alpha & 0xFF) << 24) | (uint32_t(red & 0xFF) << 16) | (uint32_t(green & 0xFF) << 8) |
               uint32_t(blue & 0xFF);
    }

    // ToInt with every component first held to 0-255, so a colour brightened
    // past white saturates instead of wrapping.
    constexpr uint32_t ToIntClamped() const
    {
        return Color(ClampByte(red), ClampByte(green), ClampByte(blue), ClampByte(alpha)).ToInt();
    }
    static constexpr int ClampByte(int v) { return v < 0 ? 0 : v > 255 ? 255 : v; }

    constexpr bool IsOpaqueWhite() const { return red == 255 && green == 255 && blue == 255 && alpha == 255; }

    constexpr bool operator==(const Color&) const = default;

    static const Color White;
    static const Color Black;
    static const Color Transparent;
};

inline constexpr Color Color::White{255, 255, 255, 255};
inline constexpr Color Color::Black{0, 0, 0, 255};
inline constexpr Color Color::Transparent{0, 0, 0, 0};

} // namespace Zorvin
