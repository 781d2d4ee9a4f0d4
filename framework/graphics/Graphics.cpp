// Sections:
//   - the shared empty image and the state stack
//   - translation and clipping
//   - shapes
//   - images (plain, scaled, rotated, mirrored, matrix, triangles, cels, boxes)
//   - text (colour codes, strings, word wrapping)

#include "framework/graphics/Graphics.h"

#include <algorithm>
#include <cmath>

#include "framework/core/HexDigit.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/MemoryImage.h"

namespace Zorvin {

Image* Graphics::SharedEmptyImage()
{
    static MemoryImage empty;
    return &empty;
}

Graphics::Graphics(Image* image)
{
    destImage = image ? image : SharedEmptyImage();
    clipRect = Rect(0, 0, destImage->width, destImage->height);
    clipLimit = clipRect;
}

Graphics::Graphics(const Graphics& other) : GraphicsState(other) {}

Graphics& Graphics::operator=(const Graphics& other)
{
    if (this != &other) {
        GraphicsState::operator=(other);
        stateStack.clear();
    }
    return *this;
}

std::unique_ptr<Graphics> Graphics::Create() const { return std::make_unique<Graphics>(*this); }

void Graphics::PushState() { stateStack.push_back(static_cast<const GraphicsState&>(*this)); }

void Graphics::PopState()
{
    if (stateStack.empty())
        return;
    GraphicsState::operator=(stateStack.back());
    stateStack.pop_back();
}

void Graphics::Translate(int dx, int dy)
{
    transX += float(dx);
    transY += float(dy);
}

void Graphics::TranslateF(float dx, float dy)
{
    transX += dx;
    transY += dy;
}

void Graphics::SetClipRect(int x, int y, int w, int h)
{
    clipRect = Rect(TX(x), TY(y), w, h).Intersection(clipLimit);
}

void Graphics::ClipRect(int x, int y, int w, int h)
{
    clipRect = Rect(TX(x), TY(y), w, h).Intersection(clipRect);
}

void Graphics::ClearClipRect() { clipRect = clipLimit; }

void Graphics::LimitClip(const Rect& r)
{
    clipLimit = Rect(TX(r.x), TY(r.y), r.width, r.height).Intersection(clipLimit);
    clipRect = clipRect.Intersection(clipLimit);
}

bool Graphics::IsClipLimited() const { return clipLimit != Rect(0, 0, destImage->width, destImage->height); }

// ---------------------------------------------------------------------------
// Shapes

void Graphics::FillRect(int x, int y, int w, int h)
{
    if (color.alpha == 0)
        return;
    Rect r = Rect(TX(x), TY(y), w, h).Intersection(clipRect);
    if (r.IsEmpty())
        return;
    destImage->FillRect(r, color, drawMode);
}

void Graphics::DrawRect(int x, int y, int w, int h)
{
    if (color.alpha == 0 || w < 0 || h < 0)
        return;
    Rect whole(TX(x), TY(y), w + 1, h + 1);
    if (clipRect.Contains(whole)) {
        destImage->DrawRect(Rect(whole.x, whole.y, w, h), color, drawMode);
        return;
    }
    // Partly outside: the four edges as clipped fills. A flat outline does
    // not draw its edges twice, which would double a translucent colour.
    FillRect(x, y, w + 1, 1);
    if (h > 0)
        FillRect(x, y + h, w + 1, 1);
    FillRect(x, y + 1, 1, h - 1);
    if (w > 0)
        FillRect(x + w, y + 1, 1, h - 1);
}

void Graphics::ClearRect(int x, int y, int w, int h)
{
    Rect r = Rect(TX(x), TY(y), w, h).Intersection(clipRect);
    if (!r.IsEmpty())
        destImage->ClearRect(r);
}

void Graphics::DrawLine(int x1, int y1, int x2, int y2)
{
    if (color.alpha == 0 || clipRect.IsEmpty())
        return;
    double ax = double(x1) + transX, ay = double(y1) + transY;
    double bx = double(x2) + transX, by = double(y2) + transY;
    double left = clipRect.x, top = clipRect.y;
    double right = clipRect.x + clipRect.width - 1, bottom = clipRect.y + clipRect.height - 1;

    // Clips the segment against lo <= p <= hi on one axis, moving the other
    // coordinate of a clipped end along the line.
    auto clipAxis = [](double& p1, double& q1, double& p2, double& q2, double lo, double hi) {
        if (p1 > p2) {
            std::swap(p1, p2);
            std::swap(q1, q2);
        }
        if (p2 < lo || p1 > hi)
            return false;
        if (p1 < lo) {
            q1 = q1 + (q2 - q1) * (lo - p1) / (p2 - p1);
            p1 = lo;
        }
        if (p2 > hi) {
            q2 = q1 + (q2 - q1) * (hi - p1) / (p2 - p1);
            p2 = hi;
        }
        return true;
    };
    if (!clipAxis(ax, ay, bx, by, left, right))
        return;
    if (!clipAxis(ay, ax, by, bx, top, bottom))
        return;
    destImage->DrawLine(ax, ay, bx, by, color, drawMode);
}

void Graphics::FillScanLines(const Span* spans, int count)
{
    if (color.alpha == 0 || !spans)
        return;
    std::vector<Span> clipped;
    clipped.reserve(size_t(std::max(0, count)));
    for (int i = 0; i < count; i++) {
        Rect r = Rect(TX(spans[i].x), TY(spans[i].y), spans[i].width, 1).Intersection(clipRect);
        if (!r.IsEmpty())
            clipped.push_back(Span{r.x, r.y, r.width});
    }
    if (!clipped.empty())
        destImage->FillScanLines(clipped.data(), int(clipped.size()), color, drawMode);
}

// ---------------------------------------------------------------------------
// Images

void Graphics::DrawImage(Image* image, int x, int y)
{
    if (!image)
        return;
    DrawImage(image, x, y, Rect(0, 0, image->width, image->height));
}

void Graphics::DrawImage(Image* image, int x, int y, const Rect& srcRect)
{
    if (!image || srcRect.x < 0 || srcRect.y < 0 || srcRect.x + srcRect.width > image->width ||
        srcRect.y + srcRect.height > image->height)
        return;
    Rect dest(TX(x), TY(y), srcRect.width, srcRect.height);
    Rect d = dest.Intersection(clipRect);
    if (d.IsEmpty())
        return;
    Rect s(srcRect.x + (d.x - dest.x), srcRect.y + (d.y - dest.y), d.width, d.height);
    destImage->Blt(image, d.x, d.y, s, ImageColor(), drawMode);
}

void Graphics::DrawImage(Image* image, const Rect& destRect, const Rect& srcRect)
{
    if (!image || destRect.IsEmpty() || srcRect.IsEmpty())
        return;
    Rect dest(TX(destRect.x), TY(destRect.y), destRect.width, destRect.height);
    if (dest.Intersection(clipRect).IsEmpty())
        return;
    destImage->StretchBlt(image, dest, srcRect, clipRect, ImageColor(), drawMode, fastStretch);
}

void Graphics::DrawImage(Image* image, int x, int y, int w, int h)
{
    if (!image)
        return;
    DrawImage(image, Rect(x, y, w, h), Rect(0, 0, image->width, image->height));
}

void Graphics::DrawImageF(Image* image, float x, float y)
{
    if (!image)
        return;
    DrawImageF(image, x, y, Rect(0, 0, image->width, image->height));
}

void Graphics::DrawImageF(Image* image, float x, float y, const Rect& srcRect)
{
    DrawImageRotatedF(image, x, y, 0.0, 0.0f, 0.0f, &srcRect);
}

void Graphics::DrawImageRotated(Image* image, int x, int y, double angle)
{
    if (!image)
        return;
    DrawImageRotated(image, x, y, angle, image->width / 2, image->height / 2);
}

void Graphics::DrawImageRotated(Image* image, int x, int y, double angle, int centerX, int centerY)
{
    DrawImageRotatedF(image, float(x), float(y), angle, float(centerX), float(centerY));
}

void Graphics::DrawImageRotatedF(Image* image, float x, float y, double angle, float centerX, float centerY,
                                 const Rect* srcRect)
{
    if (!image || clipRect.IsEmpty())
        return;
    Rect src = srcRect ? *srcRect : Rect(0, 0, image->width, image->height);
    if (src.IsEmpty() || src.x < 0 || src.y < 0 || src.Right() > image->width || src.Bottom() > image->height)
        return;
    if (angle == 0)
        destImage->BltF(image, x + transX, y + transY, src, clipRect, ImageColor(), drawMode);
    else
        destImage->BltRotated(image, x + transX, y + transY, src, clipRect, ImageColor(), drawMode, angle, centerX,
                              centerY);
}

void Graphics::DrawImageMirror(Image* image, int x, int y, bool mirror)
{
    if (!image)
        return;
    DrawImageMirror(image, x, y, Rect(0, 0, image->width, image->height), mirror);
}

void Graphics::DrawImageMirror(Image* image, int x, int y, const Rect& srcRect, bool mirror)
{
    if (!mirror) {
        DrawImage(image, x, y, srcRect);
        return;
    }
    if (!image || srcRect.IsEmpty() || srcRect.x < 0 || srcRect.y < 0 || srcRect.Right() > image->width ||
        srcRect.Bottom() > image->height)
        return;
    Rect dest(TX(x), TY(y), srcRect.width, srcRect.height);
    Rect d = dest.Intersection(clipRect);
    if (d.IsEmpty())
        return;
    // Mirrored: clipping the left of the destination removes source columns
    // from the right.
    int cutLeft = d.x - dest.x, cutRight = dest.Right() - d.Right();
    Rect s(srcRect.x + cutRight, srcRect.y + (d.y - dest.y), d.width, d.height);
    (void)cutLeft;
    destImage->BltMirror(image, d.x, d.y, s, ImageColor(), drawMode);
}

void Graphics::DrawImageMatrix(Image* image, const Matrix3& matrix, float x, float y)
{
    if (!image)
        return;
    DrawImageMatrix(image, matrix, Rect(0, 0, image->width, image->height), x, y);
}

void Graphics::DrawImageMatrix(Image* image, const Matrix3& matrix, const Rect& srcRect, float x, float y)
{
    if (!image || clipRect.IsEmpty() || srcRect.IsEmpty())
        return;
    destImage->BltMatrix(image, x + transX, y + transY, matrix, clipRect, ImageColor(), drawMode, srcRect,
                         linearBlend || !fastStretch);
}

void Graphics::DrawTrianglesTex(Image* texture, const TriVertex (*triangles)[3], int count)
{
    if (!texture || !triangles || count <= 0 || clipRect.IsEmpty())
        return;
    struct Triangle {
        TriVertex v[3];
    };
    std::vector<Triangle> moved(static_cast<size_t>(count));
    for (int i = 0; i < count; i++)
        for (int k = 0; k < 3; k++) {
            moved[size_t(i)].v[k] = triangles[i][k];
            moved[size_t(i)].v[k].x += transX;
            moved[size_t(i)].v[k].y += transY;
        }
    static_assert(sizeof(Triangle) == sizeof(TriVertex[3]));
    destImage->BltTrianglesTex(texture, reinterpret_cast<const TriVertex(*)[3]>(moved.data()), count, clipRect, ImageColor(), drawMode, 0, 0,
                               linearBlend || !fastStretch);
}

void Graphics::DrawImageCel(Image* image, int x, int y, int cel)
{
    if (!image || image->numCols < 1 || cel < 0)
        return;
    DrawImageCel(image, x, y, cel % image->numCols, cel / image->numCols);
}

void Graphics::DrawImageCel(Image* image, int x, int y, int col, int row)
{
    if (!image || row < 0 || col < 0 || row >= image->numRows || col >= image->numCols)
        return;
    int cw = image->GetCelWidth(), ch = image->GetCelHeight();
    DrawImage(image, x, y, Rect(col * cw, row * ch, cw, ch));
}

void Graphics::DrawImageBox(const Rect& dest, Image* image)
{
    if (!image)
        return;
    DrawImageBox(dest, Rect(0, 0, image->width, image->height), image);
}

void Graphics::DrawImageBox(const Rect& dest, const Rect& src, Image* image)
{
    if (!image || src.IsEmpty() || dest.IsEmpty())
        return;
    int cw = src.width / 3, ch = src.height / 3;
    int mw = src.width - 2 * cw, mh = src.height - 2 * ch;
    int dx = dest.x, dy = dest.y, dw = dest.width, dh = dest.height;

    // Corners, unscaled.
    DrawImage(image, dx, dy, Rect(src.x, src.y, cw, ch));
    DrawImage(image, dx + dw - cw, dy, Rect(src.x + src.width - cw, src.y, cw, ch));
    DrawImage(image, dx, dy + dh - ch, Rect(src.x, src.y + src.height - ch, cw, ch));
    DrawImage(image, dx + dw - cw, dy + dh - ch, Rect(src.x + src.width - cw, src.y + src.height - ch, cw, ch));

    int innerW = dw - 2 * cw, innerH = dh - 2 * ch;
    // Each band is tiled through a copy of the context whose clip is the band,
    // so the last tile is cut off at the band's end.
    auto tile = [&](const Rect& band, const Rect& piece) {
        if (band.IsEmpty() || piece.IsEmpty())
            return;
        Graphics g(*this);
        g.ClipRect(band);
        if (g.clipRect.IsEmpty())
            return;
        for (int ty = band.y; ty < band.Bottom(); ty += piece.height)
            for (int tx = band.x; tx < band.Right(); tx += piece.width)
                g.DrawImage(image, tx, ty, piece);
    };
    tile(Rect(dx + cw, dy, innerW, ch), Rect(src.x + cw, src.y, mw, ch));
    tile(Rect(dx + cw, dy + dh - ch, innerW, ch), Rect(src.x + cw, src.y + src.height - ch, mw, ch));
    tile(Rect(dx, dy + ch, cw, innerH), Rect(src.x, src.y + ch, cw, mh));
    tile(Rect(dx + dw - cw, dy + ch, cw, innerH), Rect(src.x + src.width - cw, src.y + ch, cw, mh));
    tile(Rect(dx + cw, dy + ch, innerW, innerH), Rect(src.x + cw, src.y + ch, mw, mh));
}

// ---------------------------------------------------------------------------
// Text

namespace {

// Reads "^RRGGBB^" at text[i]; false when the eight characters are no code.
bool ParseColorCode(const std::string& text, size_t i, size_t end, int& rgb)
{
    if (i + 8 > end || text[i] != '^' || text[i + 7] != '^')
        return false;
    rgb = 0;
    for (size_t k = 1; k <= 6; k++) {
        int d = HexDigit(text[i + k]);
        if (d < 0)
            return false;
        rgb = rgb * 16 + d;
    }
    return true;
}

} // namespace

void Graphics::DrawString(const std::string& text, int x, int y)
{
    if (!font)
        return;
    if (textLog != nullptr)
        textLog->push_back(Rect(TX(x), TY(y) - font->GetAscent() + font->GetAscentPadding(), font->StringWidth(text),
                                font->GetHeight() - font->GetAscentPadding()));
    font->DrawString(this, x, y, text, color, clipRect);
}

int Graphics::WriteString(const std::string& text, int x, int y, int width, int justification, bool draw, int start,
                          int length)
{
    if (!font)
        return 0;
    size_t begin = size_t(std::clamp(start, 0, int(text.size())));
    size_t end = (length < 0 || size_t(length) > text.size() - begin) ? text.size() : begin + size_t(length);

    if (justification == JustifyCenter || justification == JustifyRight) {
        int textWidth = WriteString(text, 0, 0, -1, JustifyLeft, false, int(begin), int(end - begin));
        if (justification == JustifyCenter)
            x += (width - textWidth) / 2;
        else
            x += width - textWidth;
    }

    int written = 0;
    std::string run;
    auto flush = [&]() {
        if (run.empty())
            return;
        if (draw)
            DrawString(run, x + written, y);
        written += font->StringWidth(run);
        run.clear();
    };

    size_t i = begin;
    while (i < end) {
        char c = text[i];
        if (c == '^' && writeColoredString) {
            if (i + 1 < end && text[i + 1] == '^') {
                run += '^';
                i += 2;
                continue;
            }
            if (end - i < 8)
                break; // an incomplete code ends the text
            int rgb;
            if (ParseColorCode(text, i, end, rgb)) {
                flush();
                if (draw)
                    color = Color::FromRgb(uint32_t(rgb), color.alpha);
                i += 8;
                continue;
            }
            // Not a code: the caret is plain text.
        }
        run += c;
        i++;
    }
    flush();
    return written;
}

int Graphics::WriteWordWrapped(const Rect& rect, const std::string& text, int lineSpacing, int justification)
{
    if (!font)
        return 0;
    Color original = color;
    int spacing = lineSpacing == -1 ? font->GetLineSpacing() : lineSpacing;
    int y = rect.y + font->GetAscent() - font->GetAscentPadding();
    size_t n = text.size();

    size_t lineStart = 0;
    bool wrapped = false; // the current line began at a wrap, not a newline
    size_t lastSpace = std::string::npos;
    int lineWidth = 0;
    char prev = 0;
    auto writeLine = [&](size_t from, size_t to) {
        WriteString(text, rect.x, y, rect.width, justification, true, int(from), int(to - from));
        y += spacing;
    };
    auto startLine = [&](size_t at) {
        lineStart = at;
        lastSpace = std::string::npos;
        lineWidth = 0;
        prev = 0;
    };

    size_t i = 0;
    while (i < n) {
        char c = text[i];
        size_t step = 1;
        if (c == '^' && writeColoredString) {
            if (i + 1 < n && text[i + 1] == '^') {
                step = 2; // measured as one caret
            } else {
                i = std::min(n, i + 8); // colour codes take no room
                continue;
            }
        }
        if (c == '\n') {
            writeLine(lineStart, i);
            startLine(i + 1);
            wrapped = false;
            i++;
            continue;
        }
        if (c == ' ')
            lastSpace = i;
        lineWidth += font->CharWidthKern(c, prev);
        prev = c;
        if (lineWidth > rect.width) {
            size_t next;
            if (lastSpace != std::string::npos && lastSpace >= lineStart) {
                writeLine(lineStart, lastSpace);
                next = lastSpace + 1;
                while (next < n && text[next] == ' ')
                    next++;
            } else {
                // One word longer than the line: break inside it, keeping at
                // least one character so the loop always advances.
                next = i > lineStart ? i : i + step;
                writeLine(lineStart, next);
            }
            startLine(next);
            wrapped = true;
            i = next;
            continue;
        }
        i += step;
    }
    // A wrap that used up the text leaves no last line to write.
    if (lineStart < n || !wrapped)
        writeLine(lineStart, n);

    color = original;
    return y - rect.y + font->GetDescent() - spacing;
}

int Graphics::GetWordWrappedHeight(int width, const std::string& text, int lineSpacing)
{
    Graphics g(SharedEmptyImage());
    g.font = font;
    g.writeColoredString = writeColoredString;
    return g.WriteWordWrapped(Rect(0, 0, width, 0), text, lineSpacing, JustifyLeft);
}

} // namespace Zorvin
