#include "framework/graphics/imagefile/PngWriter.h"

#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstring>
#include <string>
#include <vector>

#include "framework/core/FileUtil.h"
#include "framework/graphics/MemoryImage.h"

namespace Zorvin {

namespace {

void AppendToString(png_structp png, png_bytep data, png_size_t length)
{
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}

void FlushNothing(png_structp) {}

void PngErrorHandler(png_structp png, png_const_charp)
{
    longjmp(png_jmpbuf(png), 1);
}

void PngWarningHandler(png_structp, png_const_charp) {}

// Encodes the rows into out; false on any libpng error.
bool Encode(std::string& out, int width, int height, const std::vector<png_byte>& rgba)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, PngErrorHandler, PngWarningHandler);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    std::vector<png_bytep> rows(static_cast<size_t>(height));
    for (int y = 0; y < height; y++)
        rows[size_t(y)] = const_cast<png_bytep>(rgba.data()) + size_t(y) * size_t(width) * 4;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &out, AppendToString, FlushNothing);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

bool PngWriter::Write(MemoryImage& image, const std::string& path, std::string* errorText)
{
    auto fail = [&](const std::string& why) {
        if (errorText)
            *errorText = why + ": " + path;
        return false;
    };
    int w = image.width, h = image.height;
    if (w < 1 || h < 1 || w > 0x7FFF || h > 0x7FFF)
        return fail("Invalid image size");
    const uint32_t* bits = image.GetBits();
    if (!bits)
        return fail("Image has no pixels");

    std::vector<png_byte> rgba(size_t(w) * size_t(h) * 4);
    for (size_t i = 0, n = size_t(w) * size_t(h); i < n; i++) {
        uint32_t p = bits[i];
        rgba[i * 4 + 0] = png_byte(p >> 16);
        rgba[i * 4 + 1] = png_byte(p >> 8);
        rgba[i * 4 + 2] = png_byte(p);
        rgba[i * 4 + 3] = png_byte(p >> 24);
    }

    std::string encoded;
    if (!Encode(encoded, w, h, rgba))
        return fail("Cannot encode PNG file");
    if (!FileUtil::WriteFileAtomic(path, encoded, false))
        return fail(std::string("Cannot write PNG file (") + strerror(errno) + ")");
    return true;
}

} // namespace Zorvin
