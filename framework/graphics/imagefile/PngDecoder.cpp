// PNG reading through libpng. Every colour type and bit depth is expanded to
// 8-bit red, green, blue and alpha (palette transparency and tRNS colour keys
// become alpha), interlaced files are de-interlaced by libpng, and the rows
// are then packed into ARGB words.

#include "framework/graphics/imagefile/ImageLib.h"

#include <csetjmp>
#include <cstring>
#include <png.h>

namespace Zorvin::ImageLib {

namespace {

struct MemorySource {
    const uint8_t* data;
    size_t size;
    size_t pos;
};

void ReadFromMemory(png_structp png, png_bytep out, size_t length)
{
    auto* src = static_cast<MemorySource*>(png_get_io_ptr(png));
    if (length > src->size - src->pos)
        png_error(png, "truncated file");
    std::memcpy(out, src->data + src->pos, length);
    src->pos += length;
}

[[noreturn]] void OnError(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

// Damaged-but-readable files are common; their warnings are not news.
void OnWarning(png_structp, png_const_charp) {}

// Owns the libpng read structures for the duration of one decode.
struct PngReader {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~PngReader() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

} // namespace

std::unique_ptr<Image> DecodePNG(const uint8_t* data, size_t size)
{
    if (size < 8 || png_sig_cmp(data, 0, 8) != 0)
        return nullptr;

    // Everything that must survive a longjmp out of libpng is created before
    // setjmp and holds no state that the jump could leave half-built.
    PngReader reader;
    MemorySource src{data, size, 0};
    std::unique_ptr<Image> img;
    std::vector<png_bytep> rows;
    std::vector<uint8_t> pixels;

    reader.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
    if (!reader.png)
        return nullptr;
    reader.info = png_create_info_struct(reader.png);
    if (!reader.info)
        return nullptr;
    if (setjmp(png_jmpbuf(reader.png)))
        return nullptr;

    png_set_read_fn(reader.png, &src, ReadFromMemory);
    png_set_user_limits(reader.png, kMaxImageSide, kMaxImageSide);
    png_set_chunk_malloc_max(reader.png, 8u << 20);
    png_set_chunk_cache_max(reader.png, 128);
    png_read_info(reader.png, reader.info);

    const png_uint_32 width = png_get_image_width(reader.png, reader.info);
    const png_uint_32 height = png_get_image_height(reader.png, reader.info);
    if (!SizeAllowed(width, height))
        return nullptr;
    const int colorType = png_get_color_type(reader.png, reader.info);

    png_set_expand(reader.png);
    png_set_strip_16(reader.png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(reader.png);
    if (!(colorType & PNG_COLOR_MASK_ALPHA) && !png_get_valid(reader.png, reader.info, PNG_INFO_tRNS))
        png_set_add_alpha(reader.png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(reader.png);
    png_read_update_info(reader.png, reader.info);
    if (png_get_rowbytes(reader.png, reader.info) != size_t(width) * 4)
        return nullptr;

    img = MakeImage(width, height);
    if (!img)
        return nullptr;
    pixels.resize(size_t(width) * height * 4);
    rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y)
        rows[y] = pixels.data() + size_t(y) * width * 4;
    png_read_image(reader.png, rows.data());

    for (size_t i = 0, n = img->bits.size(); i < n; ++i) {
        const uint8_t* p = pixels.data() + i * 4;
        img->bits[i] = (uint32_t(p[3]) << 24) | (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
    }
    return img;
}

} // namespace Zorvin::ImageLib
