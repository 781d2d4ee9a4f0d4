#pragma once

// FontHost: what an image font needs from the application that owns it:
// loading the glyph images its descriptor names, and showing a descriptor
// error to the user. The application base implements it; tests and tools
// use the plain version, which loads from disk and keeps errors to itself.
// Fonts only point at their host, which outlives them.

#include <memory>
#include <string>

namespace Zorvin {

class MemoryImage;

class FontHost {
public:
    virtual ~FontHost() = default;

    // Loads an image file (alpha images included) into a new image; none
    // when it does not load.
    virtual std::unique_ptr<MemoryImage> LoadFontImage(const std::string& path);
    // Shows the full text of a descriptor error. Does nothing here.
    virtual void ReportFontError(const std::string& text);

    // The host fonts use when they are given none.
    static FontHost& Default();
};

} // namespace Zorvin
