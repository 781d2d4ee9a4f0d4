#pragma once

// Registry of picture painters. Each art source file registers, with a static
// PainterRegistration, one painter per image identifier of the catalogue
// (and per extra picture that the logo script or the level files name). The
// images step asks for a painter by identifier, paints at the catalogue size
// and writes the result.

#include "tools/assetgen/art/Canvas.h"
#include "tools/assetgen/art/ImageCatalog.h"

#include <functional>
#include <string>
#include <vector>

namespace Zorvin::AssetGen {

// Paints one picture of the given size.
using Painter = std::function<Canvas(int w, int h)>;

struct PainterEntry {
    std::string id;
    Painter paint;
};

std::vector<PainterEntry>& PainterTable();
const Painter* FindPainter(const std::string& id);

// The tile values' colours: each value has a colour of its own
// (SymbolColor). Values come in families of two, v and v + 13, that a level
// of up to 13 values never deals together (SymbolFamily).
int SymbolFamily(int value);
Rgba SymbolColor(int value);

struct PainterRegistration {
    PainterRegistration(std::string id, Painter p) { PainterTable().push_back({std::move(id), std::move(p)}); }
};

// Pictures outside the manifest: the file inside the game folder, its size
// and its painter (logo-script pictures and level backgrounds).
struct ExtraImage {
    std::string file;
    int width;
    int height;
    Painter paint;
};
std::vector<ExtraImage>& ExtraImages();
struct ExtraImageRegistration {
    ExtraImageRegistration(std::string file, int w, int h, Painter p)
    {
        ExtraImages().push_back({std::move(file), w, h, std::move(p)});
    }
};

// Paints an image of the catalogue by identifier at its catalogue size (an
// empty canvas when the identifier or its painter is unknown). Each picture
// is painted once and remembered.
Canvas PaintImage(const std::string& id);

} // namespace Zorvin::AssetGen
