#include "framework/font/SysFont.h"

#include "framework/core/Cp1251.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"

#include <gtest/gtest.h>

using namespace Zorvin;

namespace {

// Bounding box of the pixels that differ from the background.
Rect InkBox(MemoryImage& img, uint32_t background)
{
    int x0 = img.GetWidth(), y0 = img.GetHeight(), x1 = -1, y1 = -1;
    for (int y = 0; y < img.GetHeight(); ++y)
        for (int x = 0; x < img.GetWidth(); ++x)
            if (img.GetPixel(x, y) != background) {
                x0 = std::min(x0, x);
                y0 = std::min(y0, y);
                x1 = std::max(x1, x);
                y1 = std::max(y1, y);
            }
    return x1 < 0 ? Rect() : Rect(x0, y0, x1 - x0 + 1, y1 - y0 + 1);
}

} // namespace

TEST(SysFont, MeasuresFromThePointSizeAt96Dpi)
{
    SysFont font("Arial", 12);
    ASSERT_TRUE(font.IsLoaded());
    // 12 pt at 96 dpi is 16 pixels: DejaVu's ascent and descent fill about that.
    EXPECT_GE(font.GetHeight(), 16);
    EXPECT_LE(font.GetHeight(), 21);
    EXPECT_GT(font.GetAscent(), font.GetDescent());
    EXPECT_GT(font.GetDescent(), 0);
    EXPECT_EQ(font.StringWidth(""), 0);
    EXPECT_GT(font.StringWidth("W"), font.StringWidth("i"));
    EXPECT_EQ(font.StringWidth("ab"), font.CharWidth('a') + font.CharWidthKern('b', 'a'));
    EXPECT_GT(font.StringWidth(W("Жук")), font.StringWidth(W("ук")));

    SysFont big("Arial", 24);
    EXPECT_GT(big.StringWidth("Hello"), font.StringWidth("Hello") * 3 / 2);
    SysFont bold("Arial", 12, true);
    EXPECT_GT(bold.StringWidth("Hello"), font.StringWidth("Hello"));
}

TEST(SysFont, DrawsAntialiasedTextInTheGivenColourOnTheBaseline)
{
    SysFont font("Tahoma", 12);
    MemoryImage canvas(120, 40);
    Graphics g(&canvas);
    g.SetColor(Color::Black);
    g.FillRect(0, 0, 120, 40);
    g.SetColor(Color(9, 9, 9));
    font.DrawString(&g, 10, 25, W("Ёж Hx"), Color(0, 255, 0), g.GetClipRect());
    EXPECT_EQ(g.GetColor(), Color(9, 9, 9));

    Rect ink = InkBox(canvas, 0xFF000000u);
    ASSERT_FALSE(ink.IsEmpty());
    EXPECT_GE(ink.x, 10);
    EXPECT_LE(ink.Right(), 10 + font.StringWidth(W("Ёж Hx")) + 1);
    EXPECT_LE(ink.Bottom(), 26);                    // nothing of these letters hangs below
    EXPECT_LE(ink.y, 25 - font.GetAscent() + 4);    // the Ё's dots reach near the top
    int full = 0, partial = 0;
    for (int y = ink.y; y < ink.Bottom(); ++y)
        for (int x = ink.x; x < ink.Right(); ++x) {
            uint32_t p = canvas.GetPixel(x, y);
            EXPECT_EQ(p & 0xFF00FF, 0u) << "only green ink";
            int gr = (p >> 8) & 0xFF;
            full += gr == 255;
            partial += gr > 0 && gr < 255;
        }
    EXPECT_GT(full, 10);
    EXPECT_GT(partial, 10); // antialiased edges

    std::unique_ptr<Font> copy = font.Duplicate();
    EXPECT_EQ(copy->StringWidth("Hx"), font.StringWidth("Hx"));
}
