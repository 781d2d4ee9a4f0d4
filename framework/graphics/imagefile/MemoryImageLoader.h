#pragma once

// LoadMemoryImage: an image file, found and decoded by ImageLib::GetImage,
// copied into a new MemoryImage ready for drawing. This is the loading half
// of the application's LoadDisplayImage and of glyph-sheet loading; the
// caller owns the result.

#include "framework/graphics/imagefile/ImageLib.h"

#include <cstdint>
#include <memory>
#include <string>

namespace Zorvin {

class MemoryImage;

// None when the file does not load. With `lookForAlpha` a separate alpha
// image ("_" + name) is merged, and `alphaOnlyColor` colours an image that
// exists only as an alpha image.
std::unique_ptr<MemoryImage> LoadMemoryImage(const std::string& fileName, bool lookForAlpha = true,
                                             uint32_t alphaOnlyColor = ImageLib::kDefaultAlphaOnlyColor);

// Copies a decoded picture into a new MemoryImage.
std::unique_ptr<MemoryImage> ToMemoryImage(const ImageLib::Image& picture);

} // namespace Zorvin
