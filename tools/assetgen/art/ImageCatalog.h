#pragma once

// The catalogue of every picture the game loads through its manifest: the
// identifier, the file inside the game folder, the resource group that binds
// it, its size, its cel grid and its animation. The manifest step writes its
// image lines from this table and the images step paints exactly these sizes,
// so the two cannot disagree. Sizes follow the positions the board, the
// screens and the dialogs draw at (see the notes beside each entry).

#include <cstddef>
#include <string>
#include <vector>

namespace Zorvin::AssetGen {

struct ImageEntry {
    const char* id;
    const char* group; // "TitleScreen" or "Game"
    int width;         // whole image, all cels
    int height;
    int cols = 1;
    int rows = 1;
    const char* anim = nullptr; // "loop", "once", "pingpong" or none
    int frameDelay = 0;

    // File inside the game folder: "images/" + lower-case id without its
    // IMAGE_ / IM_ prefix + ".png".
    std::string File() const;
    int CelWidth() const { return width / cols; }
    int CelHeight() const { return height / rows; }
};

// Every image identifier of the manifest, in byte order of the identifier.
const std::vector<ImageEntry>& ImageCatalog();
// The entry of an identifier, or nullptr.
const ImageEntry* FindImage(const std::string& id);

// Geometry shared by the tile painters and the tests: the face of a lying
// tile is 80 x 50 and sits 6 pixels right of the image's left edge (the body
// shows 6 pixels of thickness to the left and 7 below); value pictures are
// centred in the two 40 x 50 halves of the face.
inline constexpr int kTileFaceX = 6;
inline constexpr int kTileFaceW = 80;
inline constexpr int kTileFaceH = 50;
inline constexpr int kTileDepthX = 6;
inline constexpr int kTileDepthY = 7;
inline constexpr int kFlipCels = 13;
inline constexpr int kValueCount = 26;

} // namespace Zorvin::AssetGen
