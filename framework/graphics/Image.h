#pragma once

// Image: the abstract picture that every drawing call works on. It knows its
// size, how it divides into a grid of equally sized cels (animation strips and
// flip strips are such grids) and, optionally, how those cels animate.
//
// The drawing operations below receive requests that the drawing context
// (Graphics) has already translated and clipped to this image, so an image
// never clips its destination itself. The base class draws nothing; pixel
// storage and software drawing live in MemoryImage. Whoever loads or creates
// an image owns it.

#include <memory>

#include "framework/graphics/AnimInfo.h"
#include "framework/core/Color.h"
#include "framework/graphics/DrawTypes.h"
#include "framework/core/Rect.h"

namespace Zorvin {

class MemoryImage;

class Image {
public:
    // Draw modes of every operation that takes one.
    enum DrawMode { DrawModeNormal = 0, DrawModeAdditive = 1 };

    Image() = default;
    Image(const Image& other);
    Image& operator=(const Image& other);
    virtual ~Image() = default;

    int GetWidth() const { return width; }
    int GetHeight() const { return height; }
    int GetCelWidth() const { return numCols > 0 ? width / numCols : width; }
    int GetCelHeight() const { return numRows > 0 ? height / numRows : height; }
    // Number of cels in the grid; never below 1, so callers may use it as a
    // modulus or loop bound without checking.
    int GetCelCount() const
    {
        int n = numRows * numCols;
        return n > 0 ? n : 1;
    }
    // The source rectangle of a cel counted row by row; an out-of-range cel
    // gives an empty rectangle.
    Rect GetCelRect(int cel) const;
    Rect GetCelRect(int col, int row) const;

    // This image as a MemoryImage, or nullptr for other kinds (cheaper than a
    // dynamic cast on every blit).
    virtual MemoryImage* AsMemoryImage() { return nullptr; }

    // Drawing operations (all rectangles lie inside this image already).
    virtual void FillRect(const Rect& rect, const Color& color, int drawMode);
    virtual void DrawRect(const Rect& rect, const Color& color, int drawMode);
    virtual void ClearRect(const Rect& rect);
    virtual void DrawLine(double x1, double y1, double x2, double y2, const Color& color, int drawMode);
    // Fills each span as a one-pixel-high rectangle.
    virtual void FillScanLines(const Span* spans, int count, const Color& color, int drawMode);
    virtual void Blt(Image* src, int x, int y, const Rect& srcRect, const Color& color, int drawMode);
    virtual void BltF(Image* src, float x, float y, const Rect& srcRect, const Rect& clipRect, const Color& color,
                      int drawMode);
    // Draws the source rectangle as if placed with its top-left corner at
    // (x, y), rotated by angle (radians, counter-clockwise on screen) about
    // (centerX, centerY), a point given relative to the source rectangle.
    virtual void BltRotated(Image* src, float x, float y, const Rect& srcRect, const Rect& clipRect,
                            const Color& color, int drawMode, double angle, float centerX, float centerY);
    virtual void StretchBlt(Image* src, const Rect& destRect, const Rect& srcRect, const Rect& clipRect,
                            const Color& color, int drawMode, bool fastStretch);
    // Maps source pixels (relative to the centre of srcRect) through the
    // matrix, then places them at (x, y).
    virtual void BltMatrix(Image* src, float x, float y, const Matrix3& matrix, const Rect& clipRect,
                           const Color& color, int drawMode, const Rect& srcRect, bool blend);
    // count triangles of three corners each; the texture positions are offset
    // by (texOffsetX, texOffsetY) source pixels.
    virtual void BltTrianglesTex(Image* src, const TriVertex (*triangles)[3], int count, const Rect& clipRect,
                                 const Color& color, int drawMode, float texOffsetX, float texOffsetY, bool blend);
    // Left-right mirrored blit of a source rectangle.
    virtual void BltMirror(Image* src, int x, int y, const Rect& srcRect, const Color& color, int drawMode);

    int width = 0;
    int height = 0;
    int numRows = 1;
    int numCols = 1;
    std::unique_ptr<AnimInfo> animInfo;
};

} // namespace Zorvin
