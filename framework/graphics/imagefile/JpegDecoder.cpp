// JPEG reading through libjpeg. Colour and greyscale files become opaque
// pixels; CMYK files (as some editors save them) are converted as well.
// Hostile files cannot make libjpeg allocate more than our size limit or
// spin through thousands of progressive scans.

#include "framework/graphics/imagefile/ImageLib.h"

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace Zorvin::ImageLib {

namespace {

// More scans than any encoder writes; hostile files use thousands of tiny
// scans to make decoding take minutes.
constexpr int kMaxScans = 500;
constexpr int kMaxWarnings = 1000;

struct ErrorManager {
    jpeg_error_mgr pub;
    jmp_buf jump;
    int warnings;
};

[[noreturn]] void OnError(j_common_ptr cinfo)
{
    longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

// Warnings (corrupt data that libjpeg works around) are silent, but a flood
// of them means the data is garbage and decoding it is wasted time.
void OnMessage(j_common_ptr cinfo, int level)
{
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    if (level < 0 && ++err->warnings > kMaxWarnings)
        longjmp(err->jump, 1);
}

void OnProgress(j_common_ptr cinfo)
{
    if (cinfo->is_decompressor) {
        auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
        if (d->input_scan_number > kMaxScans)
            longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
    }
}

// Destroys the decompressor however the decode ends.
struct JpegReader {
    jpeg_decompress_struct cinfo{};
    bool created = false;
    ~JpegReader()
    {
        if (created)
            jpeg_destroy_decompress(&cinfo);
    }
};

} // namespace

std::unique_ptr<Image> DecodeJPEG(const uint8_t* data, size_t size)
{
    if (size < 3 || size > static_cast<size_t>(kMaxImageFileBytes))
        return nullptr;

    JpegReader reader;
    ErrorManager err{};
    jpeg_progress_mgr progress{};
    std::unique_ptr<Image> img;
    std::vector<uint8_t> row;

    reader.cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = OnError;
    err.pub.emit_message = OnMessage;
    if (setjmp(err.jump))
        return nullptr;

    jpeg_create_decompress(&reader.cinfo);
    reader.created = true;
    progress.progress_monitor = OnProgress;
    reader.cinfo.progress = &progress;
    jpeg_mem_src(&reader.cinfo, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(&reader.cinfo, TRUE) != JPEG_HEADER_OK)
        return nullptr;
    if (!SizeAllowed(reader.cinfo.image_width, reader.cinfo.image_height))
        return nullptr;

    const bool cmyk = reader.cinfo.jpeg_color_space == JCS_CMYK || reader.cinfo.jpeg_color_space == JCS_YCCK;
    reader.cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(&reader.cinfo);
    const int components = reader.cinfo.output_components;
    if (components != (cmyk ? 4 : 3))
        return nullptr;

    img = MakeImage(reader.cinfo.output_width, reader.cinfo.output_height);
    if (!img)
        return nullptr;
    const size_t width = reader.cinfo.output_width;
    row.resize(width * components);
    while (reader.cinfo.output_scanline < reader.cinfo.output_height) {
        const size_t y = reader.cinfo.output_scanline;
        JSAMPROW rowPtr = row.data();
        if (jpeg_read_scanlines(&reader.cinfo, &rowPtr, 1) != 1)
            return nullptr;
        uint32_t* out = img->bits.data() + y * width;
        for (size_t x = 0; x < width; ++x) {
            const uint8_t* p = row.data() + x * components;
            uint32_t r = p[0], g = p[1], b = p[2];
            if (cmyk) {
                // Adobe writes CMYK inverted: each byte is 255 - ink.
                const uint32_t k = p[3];
                r = r * k / 255;
                g = g * k / 255;
                b = b * k / 255;
            }
            out[x] = 0xFF000000u | (r << 16) | (g << 8) | b;
        }
    }
    jpeg_finish_decompress(&reader.cinfo);
    return img;
}

} // namespace Zorvin::ImageLib
