#pragma once

// ImageLib: turns image files into plain pixel records. GetImage finds a file
// by trying the supported formats, decodes it and optionally merges a
// separate alpha image; the caller copies the pixels into a MemoryImage.
// TGA and GIF are decoded here, PNG and JPEG through libpng and libjpeg.
// Every decoder treats its input as hostile: sizes are checked against the
// data actually present and against fixed limits before anything is
// allocated, and a damaged file gives "none", never a crash.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Zorvin::ImageLib {

// A decoded picture: width x height pixels, row-major, each packed as
// alpha << 24 | red << 16 | green << 8 | blue. Owns its pixels.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> bits;
};

// Largest picture any decoder accepts. The game's screen is 800 x 600 and its
// largest art is a few screens; anything bigger is a damaged or hostile file
// trying to make us allocate gigabytes.
inline constexpr int kMaxImageSide = 16384;
inline constexpr int64_t kMaxImagePixels = int64_t(4096) * 4096;
// Files larger than this are not read at all.
inline constexpr int64_t kMaxImageFileBytes = int64_t(256) << 20;

// The colour given to every pixel of an image that exists only as an alpha
// image, unless the caller asks for another one.
inline constexpr uint32_t kDefaultAlphaOnlyColor = 0xFFFFFF;

// Loads `fileName`. With an extension only that file is read; without one
// the stem is tried with ".tga", ".jpg", ".png" and ".gif" in that order.
// With `lookForAlpha` an alpha image named with "_" before the file part (or
// failing that before the whole name) supplies the alpha channel from its
// blue bytes; if only the alpha image exists it becomes the result, coloured
// with `alphaOnlyColor` (red-green-blue). Returns none on any failure.
std::unique_ptr<Image> GetImage(const std::string& fileName, bool lookForAlpha,
                                uint32_t alphaOnlyColor = kDefaultAlphaOnlyColor);

// Decodes one file held in memory, choosing the decoder by the file's
// signature (PNG, JPEG, GIF), otherwise TGA.
std::unique_ptr<Image> DecodeImage(const uint8_t* data, size_t size);

// The individual decoders, for callers and tests that know the format.
std::unique_ptr<Image> DecodeTGA(const uint8_t* data, size_t size);
std::unique_ptr<Image> DecodeGIF(const uint8_t* data, size_t size);
std::unique_ptr<Image> DecodePNG(const uint8_t* data, size_t size);
std::unique_ptr<Image> DecodeJPEG(const uint8_t* data, size_t size);

// True when a picture of this size may be allocated.
bool SizeAllowed(int64_t width, int64_t height);

// Makes an empty record of the given size with every pixel 0, or none when
// the size is not allowed.
std::unique_ptr<Image> MakeImage(int64_t width, int64_t height);

// Reads a whole file; false when it is missing, unreadable or too large.
// Backslashes in the name are treated as folder separators.
bool ReadFileBytes(const std::string& fileName, std::vector<uint8_t>& out);

} // namespace Zorvin::ImageLib
