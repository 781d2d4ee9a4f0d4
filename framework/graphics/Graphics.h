#pragma once

// Graphics: the drawing context through which every widget, screen and game
// object draws. It binds a destination image and carries the current state
// (translation, clip, colour, font, draw mode, flags); every call translates
// its coordinates, clips them, and hands a fully clipped request to the
// destination image. Text goes through the current font, with inline colour
// codes ("^RRGGBB^", "^^" for a caret) and word wrapping.
//
// A Graphics owns neither its image nor its font. Copying a context copies its
// state (not its saved-state stack): that is how a caller draws with temporary
// changes without disturbing the original.

#include <memory>
#include <string>
#include <vector>

#include "framework/graphics/GraphicsState.h"
#include "framework/graphics/Image.h"

namespace Zorvin {

class Font;

class Graphics : public GraphicsState {
public:
    // Justification of WriteString and WriteWordWrapped.
    enum { JustifyLeft = -1, JustifyCenter = 0, JustifyRight = 1 };

    // Draws into image, or into a shared empty image when none is given.
    explicit Graphics(Image* image = nullptr);
    Graphics(const Graphics& other);
    Graphics& operator=(const Graphics& other);
    // A heap copy of this context's state.
    std::unique_ptr<Graphics> Create() const;

    // State.
    void PushState();
    // Restores the most recent PushState; does nothing when none is saved.
    void PopState();
    void SetColor(const Color& c) { color = c; }
    const Color& GetColor() const { return color; }
    void SetFont(Font* f) { font = f; }
    Font* GetFont() const { return font; }
    void SetDrawMode(int mode) { drawMode = mode; }
    int GetDrawMode() const { return drawMode; }
    void SetColorizeImages(bool on) { colorizeImages = on; }
    bool GetColorizeImages() const { return colorizeImages; }
    void SetFastStretch(bool on) { fastStretch = on; }
    bool GetFastStretch() const { return fastStretch; }
    void SetLinearBlend(bool on) { linearBlend = on; }
    bool GetLinearBlend() const { return linearBlend; }
    void SetWriteColoredString(bool on) { writeColoredString = on; }
    bool GetWriteColoredString() const { return writeColoredString; }
    Image* GetDestImage() const { return destImage; }

    void Translate(int dx, int dy);
    void TranslateF(float dx, float dy);
    float GetTransX() const { return transX; }
    float GetTransY() const { return transY; }
    // The clip becomes the translated rectangle, limited to the image and
    // the clip limit.
    void SetClipRect(int x, int y, int w, int h);
    void SetClipRect(const Rect& r) { SetClipRect(r.x, r.y, r.width, r.height); }
    // Narrows the clip to the translated rectangle (never widens it).
    void ClipRect(int x, int y, int w, int h);
    void ClipRect(const Rect& r) { ClipRect(r.x, r.y, r.width, r.height); }
    // The clip becomes the whole clip limit.
    void ClearClipRect();
    const Rect& GetClipRect() const { return clipRect; }
    // Narrows the clip limit (and the clip) to the translated rectangle:
    // from then on no clip call of this context or its copies reaches
    // beyond it. A partial repaint draws through such a context.
    void LimitClip(const Rect& r);
    // True when the clip limit is narrower than the image.
    bool IsClipLimited() const;

    // Shapes, in the current colour and draw mode.
    void FillRect(int x, int y, int w, int h);
    void FillRect(const Rect& r) { FillRect(r.x, r.y, r.width, r.height); }
    // Outline covering w + 1 by h + 1 pixels.
    void DrawRect(int x, int y, int w, int h);
    void DrawRect(const Rect& r) { DrawRect(r.x, r.y, r.width, r.height); }
    // Sets the pixels of the rectangle to transparent black.
    void ClearRect(int x, int y, int w, int h);
    void ClearRect(const Rect& r) { ClearRect(r.x, r.y, r.width, r.height); }
    void DrawLine(int x1, int y1, int x2, int y2);
    // Horizontal spans (x, y, width) filled in the current colour.
    void FillScanLines(const Span* spans, int count);

    // Images, tinted by the colour when colorize images is on.
    void DrawImage(Image* image, int x, int y);
    void DrawImage(Image* image, int x, int y, const Rect& srcRect);
    // Stretched into destRect.
    void DrawImage(Image* image, const Rect& destRect, const Rect& srcRect);
    void DrawImage(Image* image, int x, int y, int w, int h);
    // At a fractional position, resampled.
    void DrawImageF(Image* image, float x, float y);
    void DrawImageF(Image* image, float x, float y, const Rect& srcRect);
    // Rotated by angle (radians, counter-clockwise) about the image centre
    // or about (centerX, centerY) relative to the image's top-left corner.
    void DrawImageRotated(Image* image, int x, int y, double angle);
    void DrawImageRotated(Image* image, int x, int y, double angle, int centerX, int centerY);
    void DrawImageRotatedF(Image* image, float x, float y, double angle, float centerX, float centerY,
                           const Rect* srcRect = nullptr);
    // Mirrored left to right (or plain when mirror is false).
    void DrawImageMirror(Image* image, int x, int y, bool mirror = true);
    void DrawImageMirror(Image* image, int x, int y, const Rect& srcRect, bool mirror = true);
    void DrawImageMatrix(Image* image, const Matrix3& matrix, float x, float y);
    void DrawImageMatrix(Image* image, const Matrix3& matrix, const Rect& srcRect, float x, float y);
    void DrawTrianglesTex(Image* texture, const TriVertex (*triangles)[3], int count);
    // Cel cel of the image's grid, counted row by row.
    void DrawImageCel(Image* image, int x, int y, int cel);
    void DrawImageCel(Image* image, int x, int y, int col, int row);
    // Nine-slice box: corners unscaled, edges and centre tiled.
    void DrawImageBox(const Rect& dest, Image* image);
    void DrawImageBox(const Rect& dest, const Rect& srcRect, Image* image);

    // Text.
    void DrawString(const std::string& text, int x, int y);
    // Writes text (or with draw false only measures it) with its baseline at
    // y; returns the width written. justification -1 left, 0 centre, 1 right
    // within width. Only the characters from start up to start + length are
    // used (length < 0: to the end). Colour codes change the colour for the
    // rest of the text and are not undone.
    int WriteString(const std::string& text, int x, int y, int width = -1, int justification = JustifyLeft,
                    bool draw = true, int start = 0, int length = -1);
    // Writes text word-wrapped into rect; returns the height used. lineSpacing
    // -1 uses the font's line spacing.
    int WriteWordWrapped(const Rect& rect, const std::string& text, int lineSpacing = -1,
                         int justification = JustifyLeft);
    int GetWordWrappedHeight(int width, const std::string& text, int lineSpacing = -1);

    // The image that contexts made without one draw into (0 x 0).
    static Image* SharedEmptyImage();

private:
    Color ImageColor() const { return colorizeImages ? color : Color::White; }
    int TX(int x) const { return int(float(x) + transX); }
    int TY(int y) const { return int(float(y) + transY); }

    std::vector<GraphicsState> stateStack;
};

} // namespace Zorvin
