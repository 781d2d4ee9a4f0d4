#include "tests/framework/graphics/imagefile/ImageTestFiles.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <stdexcept>

#include <jpeglib.h>
#include <png.h>
#include <unistd.h>

namespace ImageTestFiles {

TempDir::TempDir()
{
    std::string tmpl = (std::filesystem::temp_directory_path() / "korvelt-img-XXXXXX").string();
    if (!mkdtemp(tmpl.data()))
        std::abort();
    dir = tmpl;
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}

void WriteFile(const std::string& path, const Bytes& bytes)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

namespace {

void Put16(Bytes& b, int v)
{
    b.push_back(static_cast<uint8_t>(v & 0xFF));
    b.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}

void PutTable(Bytes& b, const std::vector<uint32_t>& table)
{
    for (uint32_t c : table) {
        b.push_back(static_cast<uint8_t>(c >> 16));
        b.push_back(static_cast<uint8_t>(c >> 8));
        b.push_back(static_cast<uint8_t>(c));
    }
}

int TableBits(size_t entries)
{
    int bits = 1;
    while ((size_t(1) << bits) < entries)
        ++bits;
    return bits;
}

// Bits least significant first, as GIF packs them.
struct BitWriter {
    Bytes out;
    uint32_t acc = 0;
    int count = 0;
    void Put(int code, int size)
    {
        acc |= uint32_t(code) << count;
        count += size;
        while (count >= 8) {
            out.push_back(static_cast<uint8_t>(acc));
            acc >>= 8;
            count -= 8;
        }
    }
    void Flush()
    {
        if (count > 0)
            out.push_back(static_cast<uint8_t>(acc));
        acc = 0;
        count = 0;
    }
};

} // namespace

Bytes MakeTga(int width, int height, const std::vector<uint32_t>& argb, uint8_t depth, uint8_t descriptor,
              const std::string& id)
{
    Bytes b;
    b.push_back(static_cast<uint8_t>(id.size()));
    b.push_back(0); // no colour map
    b.push_back(2); // uncompressed true colour
    for (int i = 0; i < 5; ++i)
        b.push_back(0);
    Put16(b, 0);
    Put16(b, 0);
    Put16(b, width);
    Put16(b, height);
    b.push_back(depth);
    b.push_back(descriptor);
    b.insert(b.end(), id.begin(), id.end());
    for (uint32_t p : argb) {
        b.push_back(static_cast<uint8_t>(p));
        b.push_back(static_cast<uint8_t>(p >> 8));
        b.push_back(static_cast<uint8_t>(p >> 16));
        if (depth == 32)
            b.push_back(static_cast<uint8_t>(p >> 24));
    }
    return b;
}

Bytes LzwEncode(const std::vector<uint8_t>& indices, int minCodeSize, bool clearWhenFull)
{
    const int clearCode = 1 << minCodeSize, endCode = clearCode + 1;
    BitWriter w;
    std::map<std::pair<int, int>, int> dict;
    int size = minCodeSize + 1, next = endCode + 1;
    w.Put(clearCode, size);
    int cur = -1;
    for (uint8_t idx : indices) {
        if (cur < 0) {
            cur = idx;
            continue;
        }
        auto it = dict.find({cur, idx});
        if (it != dict.end()) {
            cur = it->second;
            continue;
        }
        w.Put(cur, size);
        if (next < 4096) {
            dict[{cur, idx}] = next++;
            if (next > (1 << size) && size < 12)
                ++size;
            if (next == 4096 && clearWhenFull) {
                w.Put(clearCode, size);
                dict.clear();
                size = minCodeSize + 1;
                next = endCode + 1;
            }
        }
        cur = idx;
    }
    if (cur >= 0)
        w.Put(cur, size);
    w.Put(endCode, size);
    w.Flush();
    return w.out;
}

Bytes MakeGif(const GifSpec& spec)
{
    Bytes b = {'G', 'I', 'F', '8', '9', 'a'};
    Put16(b, spec.screenWidth);
    Put16(b, spec.screenHeight);
    if (spec.globalTable.empty()) {
        b.push_back(0);
    } else {
        b.push_back(static_cast<uint8_t>(0x80 | (TableBits(spec.globalTable.size()) - 1)));
    }
    b.push_back(0); // background index
    b.push_back(0); // aspect
    PutTable(b, spec.globalTable);
    if (spec.netscapeLoop) {
        const char app[] = "NETSCAPE2.0";
        b.push_back(0x21);
        b.push_back(0xFF);
        b.push_back(11);
        b.insert(b.end(), app, app + 11);
        b.insert(b.end(), {3, 1, 0, 0, 0});
    }
    for (const GifFrame& f : spec.frames) {
        if (f.transparent >= 0)
            b.insert(b.end(), {0x21, 0xF9, 4, 1, 10, 0, static_cast<uint8_t>(f.transparent), 0});
        b.push_back(0x2C);
        Put16(b, f.left);
        Put16(b, f.top);
        Put16(b, f.width);
        Put16(b, f.height);
        uint8_t flags = f.interlace ? 0x40 : 0;
        if (!f.localTable.empty())
            flags |= static_cast<uint8_t>(0x80 | (TableBits(f.localTable.size()) - 1));
        b.push_back(flags);
        PutTable(b, f.localTable);
        // Interlaced frames are stored in pass order.
        std::vector<uint8_t> stored;
        if (f.interlace) {
            static const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
            for (int pass = 0; pass < 4; ++pass)
                for (int y = start[pass]; y < f.height; y += step[pass])
                    stored.insert(stored.end(), f.indices.begin() + y * f.width,
                                  f.indices.begin() + (y + 1) * f.width);
        } else {
            stored = f.indices;
        }
        size_t tableSize = f.localTable.empty() ? spec.globalTable.size() : f.localTable.size();
        int minCode = spec.minCodeSize ? spec.minCodeSize : std::max(2, TableBits(tableSize));
        b.push_back(static_cast<uint8_t>(minCode));
        Bytes data = LzwEncode(stored, minCode, spec.clearWhenFull);
        for (size_t i = 0; i < data.size(); i += 255) {
            size_t n = std::min<size_t>(255, data.size() - i);
            b.push_back(static_cast<uint8_t>(n));
            b.insert(b.end(), data.begin() + static_cast<long>(i), data.begin() + static_cast<long>(i + n));
        }
        b.push_back(0);
    }
    b.push_back(0x3B);
    return b;
}

namespace {

void PngWriteToVector(png_structp png, png_bytep data, size_t length)
{
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void PngFlush(png_structp) {}

} // namespace

Bytes MakePng(int width, int height, const std::vector<uint32_t>& argb, int colorType, int bitDepth, bool interlace)
{
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)))
        std::abort();
    png_set_write_fn(png, &out, PngWriteToVector, PngFlush);
    png_set_IHDR(png, info, width, height, bitDepth, colorType,
                 interlace ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);

    // Palette: distinct colours in order of appearance.
    std::vector<uint32_t> palette;
    std::map<uint32_t, int> paletteIndex;
    if (colorType == PNG_COLOR_TYPE_PALETTE) {
        for (uint32_t p : argb)
            if (!paletteIndex.count(p) && palette.size() < 256) {
                paletteIndex[p] = static_cast<int>(palette.size());
                palette.push_back(p);
            }
        std::vector<png_color> colors;
        std::vector<png_byte> alphas;
        for (uint32_t p : palette) {
            colors.push_back({static_cast<png_byte>(p >> 16), static_cast<png_byte>(p >> 8), static_cast<png_byte>(p)});
            alphas.push_back(static_cast<png_byte>(p >> 24));
        }
        png_set_PLTE(png, info, colors.data(), static_cast<int>(colors.size()));
        png_set_tRNS(png, info, alphas.data(), static_cast<int>(alphas.size()), nullptr);
    }
    png_write_info(png, info);

    const int channels = colorType == PNG_COLOR_TYPE_RGBA ? 4 : colorType == PNG_COLOR_TYPE_RGB ? 3
                       : colorType == PNG_COLOR_TYPE_GRAY_ALPHA ? 2 : 1;
    const int bytesPerSample = bitDepth == 16 ? 2 : 1;
    std::vector<Bytes> rows(height);
    for (int y = 0; y < height; ++y) {
        Bytes& row = rows[y];
        row.assign(size_t(width) * channels * bytesPerSample + 1, 0);
        for (int x = 0; x < width; ++x) {
            uint32_t p = argb[size_t(y) * width + x];
            uint8_t a = p >> 24, r = p >> 16, g = p >> 8, bl = p;
            std::vector<uint8_t> s;
            switch (colorType) {
            case PNG_COLOR_TYPE_RGBA: s = {r, g, bl, a}; break;
            case PNG_COLOR_TYPE_RGB: s = {r, g, bl}; break;
            case PNG_COLOR_TYPE_GRAY_ALPHA: s = {bl, a}; break;
            case PNG_COLOR_TYPE_PALETTE: s = {static_cast<uint8_t>(paletteIndex[p])}; break;
            default: s = {bl}; break;
            }
            if (bitDepth < 8) {
                // Grey or palette sample packed into the top bits first.
                int v = s[0] >> (colorType == PNG_COLOR_TYPE_PALETTE ? 0 : 8 - bitDepth);
                int bitPos = x * bitDepth;
                row[bitPos / 8] |= static_cast<uint8_t>(v << (8 - bitDepth - bitPos % 8));
                continue;
            }
            for (size_t c = 0; c < s.size(); ++c) {
                if (bytesPerSample == 2) {
                    row[(size_t(x) * channels + c) * 2] = s[c];
                    row[(size_t(x) * channels + c) * 2 + 1] = s[c];
                } else {
                    row[size_t(x) * channels + c] = s[c];
                }
            }
        }
    }
    std::vector<png_bytep> rowPtrs;
    for (Bytes& r : rows)
        rowPtrs.push_back(r.data());
    png_write_image(png, rowPtrs.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

Bytes MakeJpeg(int width, int height, const std::vector<uint32_t>& argb, bool grey, int quality)
{
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* mem = nullptr;
    unsigned long memSize = 0;
    jpeg_mem_dest(&cinfo, &mem, &memSize);
    cinfo.image_width = width;
    cinfo.image_height = height;
    cinfo.input_components = grey ? 1 : 3;
    cinfo.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    Bytes row(size_t(width) * 3);
    while (cinfo.next_scanline < cinfo.image_height) {
        for (int x = 0; x < width; ++x) {
            uint32_t p = argb[size_t(cinfo.next_scanline) * width + x];
            if (grey) {
                row[x] = static_cast<uint8_t>(p);
            } else {
                row[x * 3] = static_cast<uint8_t>(p >> 16);
                row[x * 3 + 1] = static_cast<uint8_t>(p >> 8);
                row[x * 3 + 2] = static_cast<uint8_t>(p);
            }
        }
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&cinfo, &r, 1);
    }
    jpeg_finish_compress(&cinfo);
    Bytes out(mem, mem + memSize);
    jpeg_destroy_compress(&cinfo);
    std::free(mem);
    return out;
}

void SavePng(const std::string& path, int width, int height, const uint32_t* argb)
{
    std::vector<uint32_t> px(argb, argb + size_t(width) * height);
    WriteFile(path, MakePng(width, height, px, PNG_COLOR_TYPE_RGBA));
}

} // namespace ImageTestFiles
