#pragma once

// DrawRecording: a screen image that writes down every drawing request it
// receives (already translated and clipped by the drawing context) before
// drawing it as any MemoryImage would. The whole-frame benchmarks record one
// frame this way, then replay the same requests through pixman, count the
// pixels the frame blends (its overdraw) and feed that many pixels through
// our fastest blend kernel. Owned by the benchmark that records.

#include <cstdint>
#include <vector>

#include "framework/graphics/MemoryImage.h"

namespace Zorvin {

struct DrawRequest {
    enum Kind { Fill, Clear, Blit, Mirror, Stretch, Rotated, Other };
    Kind kind = Other;
    MemoryImage* src = nullptr;
    Rect srcRect;
    // The destination rectangle: the blit's placement (Blit, Mirror,
    // Stretch) or the filled area; for Rotated the clipped bounds.
    Rect dest;
    Rect clip;
    float x = 0, y = 0;
    double angle = 0;
    float centerX = 0, centerY = 0;
    Color color;
    int drawMode = 0;
    bool fastStretch = false;
    // Destination pixels the request covers (after clipping).
    int64_t Area() const;
};

class DrawRecording : public MemoryImage {
public:
    DrawRecording(int w, int h);

    void Start() { requests.clear(); }
    const std::vector<DrawRequest>& Requests() const { return requests; }

    void FillRect(const Rect& rect, const Color& color, int drawMode) override;
    void DrawRect(const Rect& rect, const Color& color, int drawMode) override;
    void ClearRect(const Rect& rect) override;
    void DrawLine(double x1, double y1, double x2, double y2, const Color& color, int drawMode) override;
    void FillScanLines(const Span* spans, int count, const Color& color, int drawMode) override;
    void Blt(Image* src, int x, int y, const Rect& srcRect, const Color& color, int drawMode) override;
    void BltF(Image* src, float x, float y, const Rect& srcRect, const Rect& clipRect, const Color& color,
              int drawMode) override;
    void BltRotated(Image* src, float x, float y, const Rect& srcRect, const Rect& clipRect, const Color& color,
                    int drawMode, double angle, float centerX, float centerY) override;
    void StretchBlt(Image* src, const Rect& destRect, const Rect& srcRect, const Rect& clipRect,
                    const Color& color, int drawMode, bool fastStretch) override;
    void BltMatrix(Image* src, float x, float y, const Matrix3& matrix, const Rect& clipRect, const Color& color,
                   int drawMode, const Rect& srcRect, bool blend) override;
    void BltTrianglesTex(Image* src, const TriVertex (*triangles)[3], int count, const Rect& clipRect,
                         const Color& color, int drawMode, float texOffsetX, float texOffsetY,
                         bool blend) override;
    void BltMirror(Image* src, int x, int y, const Rect& srcRect, const Color& color, int drawMode) override;

private:
    // Records a request drawing from src; null (nothing recorded) inside
    // another request, or when src is no MemoryImage or this image itself.
    DrawRequest* Add(DrawRequest::Kind kind, Image* src, const Rect& srcRect, const Rect& dest, const Color& color,
                     int drawMode);
    // Draws through the base class with recording off, so the calls it makes
    // on this image are not recorded again; with other set, first records a
    // request of a kind a replay cannot express.
    template <typename Draw>
    void Inner(Draw draw, bool other)
    {
        if (other && depth == 0)
            requests.push_back(DrawRequest{});
        ++depth;
        draw();
        --depth;
    }

    std::vector<DrawRequest> requests;
    // Inner calls (a blit made of other blits) are not recorded twice.
    int depth = 0;
};

} // namespace Zorvin
