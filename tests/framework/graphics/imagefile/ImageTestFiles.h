#pragma once

// Image files made on the spot for the image-loading and font tests: TGA
// and GIF bytes written by hand (GIF with its own LZW encoder), PNG and
// JPEG through libpng and libjpeg, and a temporary folder to put them in.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace ImageTestFiles {

using Bytes = std::vector<uint8_t>;

// A fresh folder under the system's temporary folder, removed on destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string Path(const std::string& name) const { return (dir / name).string(); }
    std::filesystem::path dir;
};

void WriteFile(const std::string& path, const Bytes& bytes);

// Pixels in ARGB, row-major.
Bytes MakeTga(int width, int height, const std::vector<uint32_t>& argb, uint8_t depth = 32,
              uint8_t descriptor = 0x28, const std::string& id = "");

struct GifFrame {
    int left = 0, top = 0, width = 0, height = 0;
    std::vector<uint8_t> indices;    // row-major, top to bottom
    std::vector<uint32_t> localTable; // empty: use the global table
    bool interlace = false;
    int transparent = -1;            // graphic-control extension when >= 0
};

struct GifSpec {
    int screenWidth = 0, screenHeight = 0;
    std::vector<uint32_t> globalTable; // RGB, 2..256 entries, power of two
    std::vector<GifFrame> frames;
    bool netscapeLoop = false;
    bool clearWhenFull = true; // false: keep coding with a full table
    int minCodeSize = 0;       // 0: from the table size
};

Bytes MakeGif(const GifSpec& spec);
// LZW-codes colour indices as GIF sub-block payload (without the blocks).
Bytes LzwEncode(const std::vector<uint8_t>& indices, int minCodeSize, bool clearWhenFull);

// PNG through libpng. colorType is a PNG_COLOR_TYPE_*; grey types use the
// blue byte; palette files index the first 256 distinct colours (with tRNS
// for their alpha).
Bytes MakePng(int width, int height, const std::vector<uint32_t>& argb, int colorType, int bitDepth = 8,
              bool interlace = false);
// JPEG through libjpeg, alpha ignored.
Bytes MakeJpeg(int width, int height, const std::vector<uint32_t>& argb, bool grey, int quality = 95);

// Writes ARGB pixels as an RGBA PNG file (for pictures a test shows).
void SavePng(const std::string& path, int width, int height, const uint32_t* argb);

} // namespace ImageTestFiles
