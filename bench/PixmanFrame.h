#pragma once

// PixmanFrame: the peer of a recorded frame. Every request of a
// DrawRecording is replayed with pixman_image_composite32 (or a box fill) on
// premultiplied copies of the same source pixels, in the same order and onto
// an 800 x 600 x8r8g8b8 screen: opaque pictures are copied (SRC), pictures
// with alpha blended (OVER), additive drawing is ADD, and stretched,
// mirrored, fractional and rotated blits set the matching transform and
// filter. A tint multiplies the source's colour channels by the colour and
// its alpha by the colour's alpha, which no single pixman operation does
// (a component-alpha mask would scale each channel's coverage instead): a
// tinted blit is two composites, the source through a solid component-alpha
// mask into a scratch image (SRC), then the scratch image OVER the screen.
// A tint whose colour is white but for its alpha is one OVER with a plain
// solid mask. Everything is prepared when
// it is built, so Compose times only the drawing. Owned by its benchmark.

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include <pixman.h>

#include "bench/DrawRecording.h"

namespace Zorvin {

class PixmanFrame {
public:
    explicit PixmanFrame(const std::vector<DrawRequest>& requests);
    ~PixmanFrame();
    PixmanFrame(const PixmanFrame&) = delete;
    PixmanFrame& operator=(const PixmanFrame&) = delete;

    void Compose();
    // The screen as the last Compose left it.
    const uint32_t* Pixels() const { return screenPixels.data(); }
    // Requests pixman could not be given (lines, triangles).
    int Skipped() const { return skipped; }

private:
    struct Source {
        std::vector<uint32_t> pixels;
        int width = 0, height = 0;
        bool opaque = false;
    };
    struct Step {
        pixman_op_t op = PIXMAN_OP_OVER;
        pixman_image_t* src = nullptr; // null: a box fill
        pixman_image_t* mask = nullptr;
        // Tinted: the source is first tinted into this scratch image, which
        // is then composited at (0, 0).
        pixman_image_t* tinted = nullptr;
        pixman_color_t fill{};
        int srcX = 0, srcY = 0;
        Rect dest;
    };

    Source& SourceOf(MemoryImage* image);
    // An image header on the pixels of srcRect of the source.
    pixman_image_t* View(Source& s, const Rect& srcRect);
    void Add(const DrawRequest& r);

    std::map<MemoryImage*, std::unique_ptr<Source>> sources;
    std::vector<pixman_image_t*> owned;
    std::vector<Step> steps;
    std::vector<std::vector<uint32_t>> scratch;
    std::vector<uint32_t> screenPixels;
    pixman_image_t* screen = nullptr;
    int skipped = 0;
};

} // namespace Zorvin
