#include "framework/graphics/Image.h"

namespace Zorvin {

Image::Image(const Image& other)
    : width(other.width), height(other.height), numRows(other.numRows), numCols(other.numCols),
      animInfo(other.animInfo ? std::make_unique<AnimInfo>(*other.animInfo) : nullptr)
{
}

Image& Image::operator=(const Image& other)
{
    if (this != &other) {
        width = other.width;
        height = other.height;
        numRows = other.numRows;
        numCols = other.numCols;
        animInfo = other.animInfo ? std::make_unique<AnimInfo>(*other.animInfo) : nullptr;
    }
    return *this;
}

Rect Image::GetCelRect(int cel) const
{
    if (cel < 0 || numCols < 1 || numRows < 1 || cel >= numRows * numCols)
        return Rect();
    return GetCelRect(cel % numCols, cel / numCols);
}

Rect Image::GetCelRect(int col, int row) const
{
    if (col < 0 || row < 0 || col >= numCols || row >= numRows)
        return Rect();
    int cw = GetCelWidth();
    int ch = GetCelHeight();
    return Rect(col * cw, row * ch, cw, ch);
}

void Image::FillRect(const Rect&, const Color&, int) {}
void Image::DrawRect(const Rect&, const Color&, int) {}
void Image::ClearRect(const Rect&) {}
void Image::DrawLine(double, double, double, double, const Color&, int) {}

void Image::FillScanLines(const Span* spans, int count, const Color& color, int drawMode)
{
    for (int i = 0; i < count; i++)
        FillRect(Rect(spans[i].x, spans[i].y, spans[i].width, 1), color, drawMode);
}

void Image::Blt(Image*, int, int, const Rect&, const Color&, int) {}
void Image::BltF(Image*, float, float, const Rect&, const Rect&, const Color&, int) {}
void Image::BltRotated(Image*, float, float, const Rect&, const Rect&, const Color&, int, double, float, float) {}
void Image::StretchBlt(Image*, const Rect&, const Rect&, const Rect&, const Color&, int, bool) {}
void Image::BltMatrix(Image*, float, float, const Matrix3&, const Rect&, const Color&, int, const Rect&, bool) {}
void Image::BltTrianglesTex(Image*, const TriVertex (*)[3], int, const Rect&, const Color&, int, float, float, bool) {}
void Image::BltMirror(Image*, int, int, const Rect&, const Color&, int) {}

} // namespace Zorvin
