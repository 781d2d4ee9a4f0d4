#include "framework/graphics/Graphics.h"

#include <gtest/gtest.h>

#include "tests/framework/font/TestFont.h"
#include "framework/graphics/MemoryImage.h"

namespace Zorvin {
namespace {

using Testing::TestFont;

MemoryImage Opaque(int w, int h, uint32_t argb)
{
    MemoryImage img(w, h);
    for (int i = 0; i < w * h; i++)
        img.GetBits()[i] = argb;
    img.BitsChanged();
    return img;
}

int CountPixels(MemoryImage& img, uint32_t argb)
{
    int n = 0;
    for (int i = 0; i < img.width * img.height; i++)
        n += img.GetBits()[i] == argb;
    return n;
}

TEST(GraphicsTest, StateStackAndCopies)
{
    MemoryImage img(10, 10);
    Graphics g(&img);
    EXPECT_EQ(g.GetClipRect(), Rect(0, 0, 10, 10));
    EXPECT_EQ(g.GetColor(), Color::White);

    g.PopState(); // nothing pushed: unchanged
    EXPECT_EQ(g.GetColor(), Color::White);

    g.SetColor(Color(1, 2, 3, 4));
    g.Translate(2, 3);
    g.PushState();
    g.SetColor(Color::Black);
    g.Translate(5, 5);
    g.SetDrawMode(1);
    g.ClipRect(0, 0, 1, 1);
    g.PopState();
    EXPECT_EQ(g.GetColor(), Color(1, 2, 3, 4));
    EXPECT_EQ(g.GetTransX(), 2);
    EXPECT_EQ(g.GetDrawMode(), 0);
    EXPECT_EQ(g.GetClipRect(), Rect(0, 0, 10, 10));

    // A copy shares the state but not the stack.
    g.PushState();
    Graphics copy(g);
    copy.SetColor(Color::Black);
    copy.PopState();
    EXPECT_EQ(copy.GetColor(), Color::Black);
    EXPECT_EQ(g.GetColor(), Color(1, 2, 3, 4));
    auto heap = g.Create();
    EXPECT_EQ(heap->GetTransY(), 3);

    // A context without an image draws nowhere, safely.
    Graphics none;
    none.FillRect(0, 0, 100, 100);
    EXPECT_TRUE(none.GetClipRect().IsEmpty());
}

TEST(GraphicsTest, TranslationAndClip)
{
    MemoryImage img(20, 20);
    Graphics g(&img);
    g.Translate(5, 5);
    g.SetClipRect(-10, -10, 100, 8); // translated then limited to the image
    EXPECT_EQ(g.GetClipRect(), Rect(0, 0, 20, 3));
    g.ClearClipRect();
    g.ClipRect(0, 0, 4, 4);
    g.ClipRect(2, 2, 10, 10); // never grows
    EXPECT_EQ(g.GetClipRect(), Rect(7, 7, 2, 2));

    // Translation is truncated toward zero when rectangles are formed.
    Graphics h(&img);
    h.TranslateF(1.75f, -0.5f);
    h.SetColor(Color(255, 0, 0));
    h.FillRect(0, 1, 1, 1);
    EXPECT_EQ(img.GetPixel(1, 0), 0xFFFF0000u);
}

TEST(GraphicsTest, FillsAndOutlines)
{
    MemoryImage img = Opaque(10, 10, 0xFF000000);
    Graphics g(&img);
    int changes = img.GetChangeCount();
    g.SetColor(Color(255, 255, 255, 0));
    g.FillRect(0, 0, 10, 10);
    g.SetDrawMode(1);
    g.FillRect(0, 0, 10, 10);
    g.DrawRect(0, 0, 5, 5);
    g.DrawLine(0, 0, 9, 9);
    EXPECT_EQ(img.GetChangeCount(), changes); // alpha 0 draws nothing in any mode
    EXPECT_EQ(CountPixels(img, 0xFF000000), 100);

    // An outline crossing the clip looks like the unclipped one inside it.
    MemoryImage whole = Opaque(12, 12, 0xFF000000), cut = Opaque(12, 12, 0xFF000000);
    Graphics gw(&whole), gc(&cut);
    gw.SetColor(Color(0, 255, 0, 128));
    gc.SetColor(Color(0, 255, 0, 128));
    gc.ClipRect(0, 0, 6, 12);
    gw.DrawRect(1, 1, 8, 8); // covers 9 x 9 pixels
    gc.DrawRect(1, 1, 8, 8);
    EXPECT_EQ(CountPixels(whole, 0xFF007F00), 32);
    for (int y = 0; y < 12; y++)
        for (int x = 0; x < 12; x++)
            EXPECT_EQ(cut.GetPixel(x, y), x < 6 ? whole.GetPixel(x, y) : 0xFF000000u) << x << "," << y;

    // A flat outline (height 0) does not blend its row twice.
    MemoryImage flat = Opaque(6, 3, 0xFF000000);
    Graphics gf(&flat);
    gf.SetColor(Color(0, 255, 0, 128));
    gf.DrawRect(1, 1, 3, 0);
    gf.ClipRect(0, 0, 3, 3);
    gf.DrawRect(1, 1, 3, 0);
    EXPECT_EQ(flat.GetPixel(4, 1), 0xFF007F00u);
}

TEST(GraphicsTest, LinesClippedToTheClipRectangle)
{
    MemoryImage img = Opaque(10, 10, 0xFF000000);
    Graphics g(&img);
    g.ClipRect(2, 2, 5, 5);
    g.SetColor(Color(255, 255, 255));
    g.DrawLine(-20, 4, 30, 4); // horizontal through the clip
    g.DrawLine(0, 0, 20, 20);  // diagonal
    g.DrawLine(8, 0, 9, 9);    // wholly outside
    EXPECT_EQ(img.GetPixel(2, 4), 0xFFFFFFFFu);
    EXPECT_EQ(img.GetPixel(6, 4), 0xFFFFFFFFu);
    EXPECT_EQ(img.GetPixel(1, 4), 0xFF000000u);
    EXPECT_EQ(img.GetPixel(7, 4), 0xFF000000u);
    EXPECT_EQ(img.GetPixel(2, 2), 0xFFFFFFFFu);
    EXPECT_EQ(img.GetPixel(6, 6), 0xFFFFFFFFu);
    EXPECT_EQ(img.GetPixel(7, 7), 0xFF000000u);
    EXPECT_EQ(CountPixels(img, 0xFFFFFFFF), 5 + 5 - 1);
}

TEST(GraphicsTest, ImagesAndCels)
{
    // A 4 x 2 strip of 4 cels, 2 x 1 pixels each, numbered by colour.
    MemoryImage strip(4, 2);
    strip.numCols = 2;
    strip.numRows = 2;
    for (int y = 0; y < 2; y++)
        for (int x = 0; x < 4; x++)
            strip.SetPixel(x, y, 0xFF000000u | uint32_t((y * 2 + x / 2) + 1));

    MemoryImage img = Opaque(6, 6, 0xFF000000);
    Graphics g(&img);
    g.DrawImageCel(&strip, 0, 0, 3);
    EXPECT_EQ(img.GetPixel(0, 0), 0xFF000004u);
    EXPECT_EQ(img.GetPixel(1, 0), 0xFF000004u);
    EXPECT_EQ(img.GetPixel(2, 0), 0xFF000000u);
    int changes = img.GetChangeCount();
    g.DrawImageCel(&strip, 0, 0, 4);     // rows x columns: nothing
    g.DrawImageCel(&strip, 0, 0, -1);    // negative: nothing
    g.DrawImageCel(&strip, 0, 0, 0, -1); // negative row
    g.DrawImageCel(&strip, 0, 0, 2, 0);  // column past the grid
    EXPECT_EQ(img.GetChangeCount(), changes);
    g.DrawImageCel(&strip, 2, 2, 0, 1);
    EXPECT_EQ(img.GetPixel(3, 2), 0xFF000003u);

    // Clipping off the left and top shifts the source rectangle.
    Graphics h(&img);
    h.ClipRect(1, 4, 5, 2);
    h.DrawImage(&strip, 0, 3);
    EXPECT_EQ(img.GetPixel(0, 4), 0xFF000000u);
    EXPECT_EQ(img.GetPixel(1, 4), 0xFF000003u);
    EXPECT_EQ(img.GetPixel(3, 4), 0xFF000004u);
    EXPECT_EQ(img.GetPixel(1, 3), 0xFF000000u);

    // A source rectangle reaching outside the image draws nothing.
    changes = img.GetChangeCount();
    g.DrawImage(&strip, 0, 0, Rect(3, 0, 2, 1));
    g.DrawImage(&strip, 0, 0, Rect(0, 1, 1, 2));
    EXPECT_EQ(img.GetChangeCount(), changes);

    // Colorize tints; without it the colour is ignored.
    MemoryImage white = Opaque(1, 1, 0xFFFFFFFF);
    MemoryImage out(2, 1);
    Graphics t(&out);
    t.SetColor(Color(255, 0, 0));
    t.DrawImage(&white, 0, 0);
    t.SetColorizeImages(true);
    t.DrawImage(&white, 1, 0);
    EXPECT_EQ(out.GetPixel(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(out.GetPixel(1, 0), 0xFFFF0000u);
}

TEST(GraphicsTest, NineSliceBoxTilesEdgesAndCentre)
{
    // 3 x 3 source: corners 1-4, edges 5-8, centre 9.
    MemoryImage src(3, 3);
    const uint32_t cells[9] = {1, 5, 2, 7, 9, 8, 3, 6, 4};
    for (int i = 0; i < 9; i++)
        src.SetPixel(i % 3, i / 3, 0xFF000000u | cells[i]);
    MemoryImage img = Opaque(8, 7, 0xFF0000FF);
    Graphics g(&img);
    g.DrawImageBox(Rect(1, 1, 6, 5), &src);
    auto at = [&](int x, int y) { return img.GetPixel(x, y) & 0xFFFFFF; };
    EXPECT_EQ(at(1, 1), 1u);
    EXPECT_EQ(at(6, 1), 2u);
    EXPECT_EQ(at(1, 5), 3u);
    EXPECT_EQ(at(6, 5), 4u);
    for (int x = 2; x <= 5; x++) {
        EXPECT_EQ(at(x, 1), 5u);
        EXPECT_EQ(at(x, 5), 6u);
    }
    for (int y = 2; y <= 4; y++) {
        EXPECT_EQ(at(1, y), 7u);
        EXPECT_EQ(at(6, y), 8u);
        for (int x = 2; x <= 5; x++)
            EXPECT_EQ(at(x, y), 9u);
    }
    EXPECT_EQ(at(0, 0), 0xFFu);
    EXPECT_EQ(at(7, 6), 0xFFu);

    // Tiles of a wider middle piece are cut off at the band's end.
    MemoryImage wide(6, 3);
    for (int x = 0; x < 6; x++)
        for (int y = 0; y < 3; y++)
            wide.SetPixel(x, y, 0xFF000000u | uint32_t(x + 1));
    MemoryImage box = Opaque(7, 3, 0xFF0000FF);
    Graphics gb(&box);
    gb.DrawImageBox(Rect(0, 0, 7, 3), &wide); // corners 2 wide, band 3 wide, piece 2 wide
    EXPECT_EQ(box.GetPixel(2, 0) & 0xFF, 3u);
    EXPECT_EQ(box.GetPixel(3, 0) & 0xFF, 4u);
    EXPECT_EQ(box.GetPixel(4, 0) & 0xFF, 3u);
    EXPECT_EQ(box.GetPixel(5, 0) & 0xFF, 5u);
}

TEST(GraphicsTest, WriteStringColourCodesAndJustification)
{
    MemoryImage img(200, 40);
    Graphics g(&img);
    TestFont font;
    EXPECT_EQ(g.WriteString("abc", 0, 10), 0); // no font: nothing
    g.SetFont(&font);
    g.SetColor(Color(0, 0, 255, 200));

    int w = g.WriteString("^FF0000^red^^", 10, 20);
    ASSERT_EQ(font.calls.size(), 1u);
    EXPECT_EQ(font.calls[0].text, "red^");
    EXPECT_EQ(font.calls[0].color, Color(255, 0, 0, 200)); // alpha kept
    EXPECT_EQ(w, 24);
    EXPECT_EQ(g.GetColor(), Color(255, 0, 0, 200)); // not restored

    font.calls.clear();
    w = g.WriteString("ab^00FF00^cd", 0, 5);
    ASSERT_EQ(font.calls.size(), 2u);
    EXPECT_EQ(font.calls[1].text, "cd");
    EXPECT_EQ(font.calls[1].x, 12);
    EXPECT_EQ(font.calls[1].color.green, 255);
    EXPECT_EQ(w, 24);

    // An incomplete code stops the text at its caret.
    font.calls.clear();
    EXPECT_EQ(g.WriteString("ok^12", 0, 5), 12);
    ASSERT_EQ(font.calls.size(), 1u);
    EXPECT_EQ(font.calls[0].text, "ok");

    // With coloured strings off, carets are plain text.
    g.SetWriteColoredString(false);
    EXPECT_EQ(g.WriteString("^^", 0, 5, -1, Graphics::JustifyLeft, false), 12);
    g.SetWriteColoredString(true);

    // Centred and right-justified; measuring does not draw or recolour.
    font.calls.clear();
    g.SetColor(Color::White);
    g.WriteString("^00FF00^ab", 10, 5, 100, Graphics::JustifyCenter);
    ASSERT_EQ(font.calls.size(), 1u);
    EXPECT_EQ(font.calls[0].x, 10 + (100 - 12) / 2);
    g.WriteString("ab", 10, 5, 100, Graphics::JustifyRight);
    EXPECT_EQ(font.calls[1].x, 10 + 100 - 12);
    Color before = g.GetColor();
    font.calls.clear();
    g.WriteString("^FF0000^xyz", 0, 0, -1, Graphics::JustifyLeft, false);
    EXPECT_TRUE(font.calls.empty());
    EXPECT_EQ(g.GetColor(), before);

    // start and length select a part; kerning applies within runs.
    font.calls.clear();
    EXPECT_EQ(g.WriteString("xxAVxx", 0, 0, -1, Graphics::JustifyLeft, true, 2, 2), 10);
    EXPECT_EQ(font.calls[0].text, "AV");
    EXPECT_EQ(g.WriteString("abc", 0, 0, -1, Graphics::JustifyLeft, false, 1, 99), 12);
}

TEST(GraphicsTest, WordWrapping)
{
    MemoryImage img(200, 200);
    Graphics g(&img);
    TestFont font;
    g.SetFont(&font);
    // Characters are 6 wide: a 40-pixel line holds 6 of them.
    int h = g.WriteWordWrapped(Rect(0, 0, 40, 100), "aaa bbb   ccc\nd");
    ASSERT_EQ(font.calls.size(), 4u);
    EXPECT_EQ(font.calls[0].text, "aaa");
    EXPECT_EQ(font.calls[1].text, "bbb  "); // the break is at the last space
    EXPECT_EQ(font.calls[2].text, "ccc"); // spaces after the break skipped
    EXPECT_EQ(font.calls[3].text, "d");
    EXPECT_EQ(font.calls[0].y, 10 - 1);
    EXPECT_EQ(font.calls[1].y, 9 + 16);
    // Four lines: last baseline offset plus descent.
    EXPECT_EQ(h, 9 + 3 * 16 + 4);
    EXPECT_EQ(g.GetWordWrappedHeight(40, "aaa bbb   ccc\nd"), h);

    // One word wider than the line breaks inside it and never loops, even
    // when not a single character fits.
    font.calls.clear();
    g.WriteWordWrapped(Rect(0, 0, 20, 100), "abcdefgh");
    ASSERT_EQ(font.calls.size(), 3u);
    EXPECT_EQ(font.calls[0].text, "abc");
    EXPECT_EQ(font.calls[2].text, "gh");
    font.calls.clear();
    EXPECT_EQ(g.WriteWordWrapped(Rect(0, 0, 2, 100), "WW"), 9 + 16 + 4);
    ASSERT_EQ(font.calls.size(), 2u);
    EXPECT_EQ(font.calls[0].text, "W");

    // Colour codes take no room, colours carry across lines, and the colour
    // of the call is restored at the end.
    font.calls.clear();
    g.SetColor(Color(1, 2, 3));
    g.WriteWordWrapped(Rect(0, 0, 40, 100), "^FF0000^aaaaa bb^^", 20);
    ASSERT_EQ(font.calls.size(), 2u);
    EXPECT_EQ(font.calls[0].text, "aaaaa");
    EXPECT_EQ(font.calls[0].color, Color(255, 0, 0));
    EXPECT_EQ(font.calls[1].text, "bb^");
    EXPECT_EQ(font.calls[1].color, Color(255, 0, 0));
    EXPECT_EQ(font.calls[1].y, 9 + 20);
    EXPECT_EQ(g.GetColor(), Color(1, 2, 3));

    // Centred lines within the rectangle.
    font.calls.clear();
    g.WriteWordWrapped(Rect(10, 0, 40, 100), "ab", -1, Graphics::JustifyCenter);
    EXPECT_EQ(font.calls[0].x, 10 + (40 - 12) / 2);
}

} // namespace
} // namespace Zorvin
