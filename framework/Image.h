#pragma once

// Image: the abstract picture that every drawing call works on. It knows its
// size and how it divides into a grid of equally sized cels (animation strips
// and flip strips are such grids). Pixel storage and the drawing operations
// live in MemoryImage; whoever loads or creates an image owns it.

namespace Zorvin {

class Image {
public:
    Image() = default;
    Image(const Image&) = default;
    Image& operator=(const Image&) = default;
    virtual ~Image() = default;

    int GetWidth() const { return width; }
    int GetHeight() const { return height; }
    int GetCelWidth() const { return numCols > 0 ? width / numCols : width; }
    int GetCelHeight() const { return numRows > 0 ? height / numRows : height; }
    // Number of cels in the grid; never below 1, so callers may use it as a
    // modulus or loop bound without checking.
    int GetCelCount() const
    {
        int n = numRows * numCols;
        return n > 0 ? n : 1;
    }

    int width = 0;
    int height = 0;
    int numRows = 1;
    int numCols = 1;
};

} // namespace Zorvin
