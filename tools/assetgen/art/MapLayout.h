#pragma once

// The map of stages: where the stage points of the two campaigns lie (the
// game draws them at these centres) and the shape of the land the map shows,
// so that the chariot's stages stand on land and the ship's on the sea.

namespace Zorvin::AssetGen {

// Click mode (mode 2, the chariot), stage 1 first.
inline constexpr int kChariotStages[12][2] = {{504, 88},  {469, 91},  {435, 99},  {398, 107}, {366, 105}, {337, 123},
                                              {304, 141}, {332, 178}, {303, 204}, {275, 236}, {335, 235}, {387, 251}};
// Drag mode (mode 0, the ship), stage 1 first.
inline constexpr int kShipStages[10][2] = {{202, 214}, {226, 243}, {271, 315}, {317, 365}, {405, 369},
                                           {510, 300}, {463, 251}, {411, 203}, {463, 159}, {519, 113}};

// Signed distance in pixels to the coast: negative on land, positive at sea.
float MapLandDistance(float x, float y);

} // namespace Zorvin::AssetGen
