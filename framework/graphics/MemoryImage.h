#pragma once

// MemoryImage: an image whose pixels live in main memory and are drawn in
// software. All loaded artwork, glyph sheets, off-screen buffers and the
// screen itself are MemoryImages. Whoever creates one owns it; every live
// MemoryImage is listed in a process-wide registry (for diagnostics and for
// re-uploading after a display change).
//
// Pixels are 32-bit ARGB, row-major, width * height of them followed by one
// guard word that always holds GuardWord, so an overrun by one pixel shows up.
// The pixel buffer is allocated on first access (GetBits). An image may
// instead hold a palette form (256-entry colour table plus one index byte per
// pixel); GetBits turns it back into pixels. Derived tables (run-length alpha
// classes for fast blits and the premultiplied copy for the display) are built
// on demand and discarded by BitsChanged, which every change of pixels calls.
//
// The destination flags matter for blending: an image with neither
// transparency nor alpha (SetImageMode(false, false), as the screen is) is
// treated as opaque and takes the fast run-length blit path.

#include <cstdint>
#include <functional>
#include <memory>

#include "framework/graphics/Image.h"

namespace Zorvin {

class MemoryImage : public Image {
public:
    static constexpr uint32_t GuardWord = 0x4BEEFADE;

    // Image flags, set from the resource manifest for the display back-end.
    enum ImageFlags { FlagMinimizeSubdivisions = 1, FlagUse16BitTexture = 4, FlagUse32BitTexture = 8 };

    MemoryImage();
    MemoryImage(int w, int h);
    MemoryImage(const MemoryImage& other);
    MemoryImage& operator=(const MemoryImage& other);
    ~MemoryImage() override;

    // Frees the pixels, sets the size and marks the image as having
    // transparency and alpha. Pixels (all 0) are allocated on first access.
    void Create(int w, int h);
    // The pixel buffer, allocated on first access (from the palette form when
    // only that exists, which is then freed). nullptr when the size is
    // impossible (negative, or too many pixels to address).
    uint32_t* GetBits();
    // Copies w * h pixels in, writes the guard word and calls BitsChanged;
    // with commit set, also recomputes the transparency flags from the pixels.
    void SetBits(const uint32_t* pixels, int w, int h, bool commit = true);
    // Sets hasTrans and hasAlpha from the pixels: any alpha below 255 means
    // transparency, any alpha strictly between 0 and 255 means alpha.
    void CommitBits();
    // Every pixel becomes 0.
    void Clear();
    // Call after changing the pixels through GetBits.
    void BitsChanged();

    void SetImageMode(bool transparent, bool alpha)
    {
        hasTrans = transparent;
        hasAlpha = alpha;
    }
    bool IsOpaque() const { return !hasTrans && !hasAlpha; }
    int GetChangeCount() const { return bitsChangedCount; }
    bool GuardIntact() const;

    uint32_t GetPixel(int x, int y);
    void SetPixel(int x, int y, uint32_t argb);

    // Palette form. Palletize converts when the image has at most 256
    // distinct colours (returning true) and frees the pixel buffer.
    bool Palletize();
    bool HasPalette() const { return colorTable != nullptr; }
    const uint32_t* GetColorTable() const { return colorTable.get(); }
    const uint8_t* GetColorIndices() const { return colorIndices.get(); }

    // Run-length alpha data: per pixel, the number of pixels (1-255) from it
    // to the next change of alpha class (0, 255, in between) within its row.
    const uint8_t* GetRLAlphaData();
    // Run-length additive data: the same for the class "adds nothing" (alpha
    // 0 or black) versus "adds something".
    const uint8_t* GetRLAdditiveData();
    // True when every pixel's alpha is 255, found by one scan per change of
    // the pixels: such a picture drawn plainly onto an opaque image is a copy
    // of its rows, with no run table to read.
    bool AllOpaque();
    // Premultiplied copy of the pixels for display back-ends.
    const uint32_t* GetNativeAlphaData();
    void PurgeBits();
    void DeleteNativeData();

    // Copies one row of source pixels (from the buffer or through the
    // palette) into out; x, y, n must lie inside the image.
    void FetchRow(int x, int y, int n, uint32_t* out);
    // Fills a run-length table (one byte per pixel: the run of pixels of the
    // same class from here to the right) unless it is already there.
    template <typename ClassOf>
    const uint8_t* BuildRunTable(std::unique_ptr<uint8_t[]>& table, ClassOf classOf);
    // The pixel row pointer when the pixels are in the buffer, else nullptr.
    const uint32_t* RowIfPlain(int x, int y);

    MemoryImage* AsMemoryImage() override { return this; }

    // Image operations (see Image).
    void FillRect(const Rect& rect, const Color& color, int drawMode) override;
    void DrawRect(const Rect& rect, const Color& color, int drawMode) override;
    void ClearRect(const Rect& rect) override;
    void DrawLine(double x1, double y1, double x2, double y2, const Color& color, int drawMode) override;
    void FillScanLines(const Span* spans, int count, const Color& color, int drawMode) override;
    void Blt(Image* src, int x, int y, const Rect& srcRect, const Color& color, int drawMode) override;
    void BltF(Image* src, float x, float y, const Rect& srcRect, const Rect& clipRect, const Color& color,
              int drawMode) override;
    void BltRotated(Image* src, float x, float y, const Rect& srcRect, const Rect& clipRect, const Color& color,
                    int drawMode, double angle, float centerX, float centerY) override;
    void StretchBlt(Image* src, const Rect& destRect, const Rect& srcRect, const Rect& clipRect,
                    const Color& color, int drawMode, bool fastStretch) override;
    void BltMatrix(Image* src, float x, float y, const Matrix3& matrix, const Rect& clipRect, const Color& color,
                   int drawMode, const Rect& srcRect, bool blend) override;
    void BltTrianglesTex(Image* src, const TriVertex (*triangles)[3], int count, const Rect& clipRect,
                         const Color& color, int drawMode, float texOffsetX, float texOffsetY,
                         bool blend) override;
    void BltMirror(Image* src, int x, int y, const Rect& srcRect, const Color& color, int drawMode) override;

    // Registry of live images.
    static int GetLiveImageCount();
    static void ForEachLiveImage(const std::function<void(MemoryImage*)>& fn);

    // Flags.
    bool hasTrans = false;
    bool hasAlpha = false;
    bool isVolatile = false;
    bool purgeBits = false;
    bool wantPal = false;
    bool bitsChanged = false;
    int imageFlags = 0;

private:
    bool AllocBits();
    // Blends one row of source pixels onto the destination row at (x, y).
    void BlendRow(int x, int y, const uint32_t* srcRow, int n, const Color& color, int drawMode, bool srcHasAlpha);
    // Resampling blit through an inverse mapping from destination pixel
    // centres to source coordinates; shared by rotated, matrix and float
    // position drawing.
    void TransformBlt(MemoryImage* src, const Rect& srcRect, const Rect& destBounds, const Matrix3& inverse,
                      const Color& color, int drawMode, bool filtered);
    void PlotPixel(int x, int y, const Color& color, int drawMode);

    std::unique_ptr<uint32_t[]> bits;
    int bitsChangedCount = 0;
    std::unique_ptr<uint32_t[]> colorTable;
    std::unique_ptr<uint8_t[]> colorIndices;
    std::unique_ptr<uint32_t[]> nativeAlphaData;
    std::unique_ptr<uint8_t[]> rleAlphaData;
    std::unique_ptr<uint8_t[]> rleAdditiveData;
    // AllOpaque's answer: -1 not scanned since the last change, else 0 or 1.
    int8_t opaqueScan = -1;
};

} // namespace Zorvin
