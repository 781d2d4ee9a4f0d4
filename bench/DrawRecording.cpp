#include "bench/DrawRecording.h"

#include <algorithm>
#include <cmath>

namespace Zorvin {

namespace {

// Bounds of srcRect placed at (x, y) and turned by angle about
// (centerX, centerY), as the rotated blit computes them.
Rect RotatedBounds(float x, float y, const Rect& srcRect, double angle, float centerX, float centerY)
{
    double c = std::cos(angle), s = std::sin(angle);
    float minX = 1e9f, minY = 1e9f, maxX = -1e9f, maxY = -1e9f;
    for (int k = 0; k < 4; k++) {
        double u = ((k & 1) ? srcRect.width : 0) - centerX, v = ((k & 2) ? srcRect.height : 0) - centerY;
        float ox = float(x + centerX + c * u + s * v), oy = float(y + centerY - s * u + c * v);
        minX = std::min(minX, ox), maxX = std::max(maxX, ox);
        minY = std::min(minY, oy), maxY = std::max(maxY, oy);
    }
    return Rect(int(std::floor(minX)), int(std::floor(minY)), int(std::ceil(maxX)) - int(std::floor(minX)) + 1,
                int(std::ceil(maxY)) - int(std::floor(minY)) + 1);
}

} // namespace

int64_t DrawRequest::Area() const
{
    Rect r = dest;
    if (kind == Stretch || kind == Rotated)
        r = r.Intersection(clip);
    r = r.Intersection(Rect(0, 0, 800, 600));
    return r.IsEmpty() ? 0 : int64_t(r.width) * r.height;
}

DrawRecording::DrawRecording(int w, int h) : MemoryImage(w, h) {}

void DrawRecording::FillRect(const Rect& rect, const Color& color, int drawMode)
{
    if (depth == 0 && color.alpha > 0) {
        DrawRequest r;
        r.kind = DrawRequest::Fill;
        r.dest = rect.Intersection(Rect(0, 0, width, height));
        r.color = color;
        r.drawMode = drawMode;
        if (!r.dest.IsEmpty())
            requests.push_back(r);
    }
    MemoryImage::FillRect(rect, color, drawMode);
}

void DrawRecording::DrawRect(const Rect& rect, const Color& color, int drawMode)
{
    // Recorded as the fills it is made of.
    MemoryImage::DrawRect(rect, color, drawMode);
}

void DrawRecording::ClearRect(const Rect& rect)
{
    if (depth == 0) {
        DrawRequest r;
        r.kind = DrawRequest::Clear;
        r.dest = rect.Intersection(Rect(0, 0, width, height));
        if (!r.dest.IsEmpty())
            requests.push_back(r);
    }
    MemoryImage::ClearRect(rect);
}

void DrawRecording::DrawLine(double x1, double y1, double x2, double y2, const Color& color, int drawMode)
{
    Inner([&] { MemoryImage::DrawLine(x1, y1, x2, y2, color, drawMode); }, true);
}

void DrawRecording::FillScanLines(const Span* spans, int count, const Color& color, int drawMode)
{
    Inner([&] { MemoryImage::FillScanLines(spans, count, color, drawMode); }, true);
}

DrawRequest* DrawRecording::Add(DrawRequest::Kind kind, Image* src, const Rect& srcRect, const Rect& dest,
                                const Color& color, int drawMode)
{
    MemoryImage* m = src ? src->AsMemoryImage() : nullptr;
    if (depth != 0 || m == nullptr || m == this)
        return nullptr;
    DrawRequest r;
    r.kind = kind;
    r.src = m;
    r.srcRect = srcRect;
    r.dest = dest;
    r.color = color;
    r.drawMode = drawMode;
    requests.push_back(r);
    return &requests.back();
}

void DrawRecording::Blt(Image* src, int x, int y, const Rect& srcRect, const Color& color, int drawMode)
{
    Add(DrawRequest::Blit, src, srcRect, Rect(x, y, srcRect.width, srcRect.height), color, drawMode);
    Inner([&] { MemoryImage::Blt(src, x, y, srcRect, color, drawMode); }, false);
}

void DrawRecording::BltF(Image* src, float x, float y, const Rect& srcRect, const Rect& clipRect,
                         const Color& color, int drawMode)
{
    BltRotated(src, x, y, srcRect, clipRect, color, drawMode, 0.0, 0.0f, 0.0f);
}

void DrawRecording::BltRotated(Image* src, float x, float y, const Rect& srcRect, const Rect& clipRect,
                               const Color& color, int drawMode, double angle, float centerX, float centerY)
{
    if (angle == 0 && x == std::floor(x) && y == std::floor(y)) {
        // Drawn as a plain blit, which records itself.
        MemoryImage::BltRotated(src, x, y, srcRect, clipRect, color, drawMode, angle, centerX, centerY);
        return;
    }
    Rect bounds = RotatedBounds(x, y, srcRect, angle, centerX, centerY);
    if (DrawRequest* r = Add(DrawRequest::Rotated, src, srcRect, bounds, color, drawMode)) {
        r->clip = clipRect;
        r->x = x, r->y = y;
        r->angle = angle;
        r->centerX = centerX, r->centerY = centerY;
    }
    Inner([&] { MemoryImage::BltRotated(src, x, y, srcRect, clipRect, color, drawMode, angle, centerX, centerY); },
          false);
}

void DrawRecording::StretchBlt(Image* src, const Rect& destRect, const Rect& srcRect, const Rect& clipRect,
                               const Color& color, int drawMode, bool fastStretch)
{
    if (DrawRequest* r = Add(DrawRequest::Stretch, src, srcRect, destRect, color, drawMode)) {
        r->clip = clipRect;
        r->fastStretch = fastStretch;
    }
    Inner([&] { MemoryImage::StretchBlt(src, destRect, srcRect, clipRect, color, drawMode, fastStretch); }, false);
}

void DrawRecording::BltMatrix(Image* src, float x, float y, const Matrix3& matrix, const Rect& clipRect,
                              const Color& color, int drawMode, const Rect& srcRect, bool blend)
{
    Inner([&] { MemoryImage::BltMatrix(src, x, y, matrix, clipRect, color, drawMode, srcRect, blend); }, true);
}

void DrawRecording::BltTrianglesTex(Image* src, const TriVertex (*triangles)[3], int count, const Rect& clipRect,
                                    const Color& color, int drawMode, float texOffsetX, float texOffsetY,
                                    bool blend)
{
    Inner(
        [&] {
            MemoryImage::BltTrianglesTex(src, triangles, count, clipRect, color, drawMode, texOffsetX, texOffsetY,
                                         blend);
        },
        true);
}

void DrawRecording::BltMirror(Image* src, int x, int y, const Rect& srcRect, const Color& color, int drawMode)
{
    Add(DrawRequest::Mirror, src, srcRect, Rect(x, y, srcRect.width, srcRect.height), color, drawMode);
    Inner([&] { MemoryImage::BltMirror(src, x, y, srcRect, color, drawMode); }, false);
}

} // namespace Zorvin
