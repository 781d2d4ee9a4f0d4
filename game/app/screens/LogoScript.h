#pragma once

// LogoScript: reads "properties/logos.xml", the small script that says which
// full-screen logos open the game, for how long and on which colour, and
// which pictures decorate the loading display and the main menu. The title
// screen and the main menu each read the part they need; the pictures the
// script names are loaded as it is read and owned by the records below.
//
// The records are plain data: a LogoImage is one positioned picture, a
// LogoStep one logo screen with its remaining time.

#include "framework/graphics/MemoryImage.h"

#include <memory>
#include <string>
#include <vector>

namespace Zorvin {

class Graphics;
class ResourceHost;

struct LogoImage {
    int left = 0;
    int top = 0;
    bool centred = false;
    std::unique_ptr<MemoryImage> image; // empty when the file did not load

    // Centred pictures sit with their middle on (left, top); an empty one
    // draws nothing.
    void Draw(Graphics* g) const;
};

struct LogoStep {
    int time = 0; // logic updates left
    // Deep black unless the script gives a colour.
    int red = 0;
    int green = 0;
    int blue = 0;
    std::vector<std::unique_ptr<LogoImage>> images;
};

class LogoScript {
public:
    static constexpr const char* DefaultPath = "properties/logos.xml";

    // Everything of a script: the logo steps, the pictures of the loading
    // display and those of the main menu.
    struct Contents {
        std::vector<std::unique_ptr<LogoStep>> steps;
        std::vector<std::unique_ptr<LogoImage>> loadingImages;
        std::vector<std::unique_ptr<LogoImage>> titleImages;
    };

    // Which parts to read; pictures of the other parts are not even loaded.
    enum Parts { LogoSteps = 1, LoadingImages = 2, TitleImages = 4 };

    // Reads the script, loading its pictures through `images` (the
    // application's image loader). False when the file cannot be opened; a
    // damaged file keeps what was read before the damage.
    static bool Read(ResourceHost& images, const std::string& path, int parts, Contents& out);
};

} // namespace Zorvin
