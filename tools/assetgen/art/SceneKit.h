#pragma once

// SceneKit: pieces of landscape and architecture for the full-screen
// pictures (title, map, loading art, level backgrounds): sky and sea,
// hills, columns, temples, trees. Each draws onto a canvas in place.

#include "tools/assetgen/art/ArtKit.h"

namespace Zorvin::AssetGen {

// Sky from `top` colour to `horizon` colour down to y = horizonY, then sea
// below with gentle wave texture; an optional sun with a glow and its
// glitter path on the water.
void PaintSkyAndSea(Canvas& c, float horizonY, const Rgba& top, const Rgba& horizon, const Rgba& seaNear,
                    const Rgba& seaFar, float sunX, float sunY, float sunR, uint32_t seed);
// A range of soft hills whose ridge is around baseY, `amp` high, filled down
// to bottomY (distant hills stop at the horizon).
void PaintHills(Canvas& c, float baseY, float amp, const Rgba& near, const Rgba& far, float scale, uint32_t seed,
                float bottomY = 1e9f);
// A fluted marble column from top to bottom, centred on cx.
void PaintColumn(Canvas& c, float cx, float top, float bottom, float width, const Rgba& stone);
// A small temple silhouette (steps, columns, pediment) standing on baseY.
void PaintTemple(Canvas& c, float cx, float baseY, float width, const Rgba& col);
// A cypress tree standing on baseY.
void PaintCypress(Canvas& c, float cx, float baseY, float height, const Rgba& col);
// An olive tree standing on baseY.
void PaintOliveTree(Canvas& c, float cx, float baseY, float size, uint32_t seed);
// Darkens the picture's edges.
void Vignette(Canvas& c, float strength);
// Mixes every pixel towards `tint` by `amount` (softens backgrounds).
void Wash(Canvas& c, const Rgba& tint, float amount);

} // namespace Zorvin::AssetGen
