#pragma once

// PngWriter: saves a MemoryImage as a 32-bit RGBA PNG file (screenshots,
// test output, generated art). The file is written to a temporary name beside
// the target and renamed into place, so a failed or interrupted write never
// leaves a half-written picture under the real name.

#include <string>

namespace Zorvin {

class MemoryImage;

class PngWriter {
public:
    // Writes image to path; false (and errorText set) on failure.
    static bool Write(MemoryImage& image, const std::string& path, std::string* errorText = nullptr);
};

} // namespace Zorvin
