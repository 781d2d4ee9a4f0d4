#pragma once

// UprightArt: the standing (40 x 100) versions of the lying tile pictures.
// The art has only lying tiles (an 80 x 50 face with its stone edge on the
// left and the bottom); a standing tile needs the same stone with the two
// halves one above the other. Each picture is made once on first use: its
// edges and corners are resized around the new body and the face itself is
// turned a quarter (transposed), so the halves' divider runs across and the
// lit edges stay where the light comes from. The painter that draws the
// tiles owns one; the pictures live as long as it does.

#include <map>
#include <memory>

#include "framework/graphics/MemoryImage.h"

namespace Zorvin {

class UprightArt {
public:
    // Body of a lying face picture: 80 x 50 at (6, 0); of a standing one:
    // 40 x 100 at (6, 0). The shadow picture extends its body by the same
    // margins either way.
    static constexpr int kFaceLead = 6;

    // The standing face, back or over picture for a lying one; null for null.
    Image* Face(Image* lying);
    // The standing shadow for the lying tile shadow; null for null.
    Image* Shadow(Image* lying);

    // Builds a standing picture: `lying` is resized to (w, h) keeping
    // `margin` pixels at every border as they are (the edges); with
    // `transposeBody` the inside of the face (its body less a 3-pixel bevel)
    // is then the lying one turned a quarter and scaled to fit. Null when
    // `lying` has no pixels in memory.
    static std::unique_ptr<MemoryImage> Make(Image* lying, int w, int h, int margin, bool transposeBody);

private:
    std::map<Image*, std::unique_ptr<MemoryImage>> faces;
    std::map<Image*, std::unique_ptr<MemoryImage>> shadows;
};

} // namespace Zorvin
