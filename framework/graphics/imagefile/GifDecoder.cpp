// GIF reading: the first image of a GIF87a or GIF89a file, with its
// transparent colour, decoded by our own LZW decoder. Later frames of an
// animation are ignored; the game animates with cel strips instead.

#include "framework/graphics/imagefile/ImageLib.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace Zorvin::ImageLib {

namespace {

constexpr int kMaxCodes = 4096;

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

// Walks the file with bounds checks; every read fails softly at the end.
struct Reader {
    const uint8_t* data;
    size_t size;
    size_t pos = 0;

    bool Has(size_t n) const { return size - pos >= n; }
    bool Byte(uint8_t& b)
    {
        if (!Has(1))
            return false;
        b = data[pos++];
        return true;
    }
    // Skips a chain of data sub-blocks up to and including the empty one.
    bool SkipSubBlocks()
    {
        uint8_t len;
        do {
            if (!Byte(len) || !Has(len))
                return false;
            pos += len;
        } while (len != 0);
        return true;
    }
    // Appends a chain of sub-blocks to `out`.
    bool ReadSubBlocks(std::vector<uint8_t>& out)
    {
        uint8_t len;
        do {
            if (!Byte(len) || !Has(len))
                return false;
            out.insert(out.end(), data + pos, data + pos + len);
            pos += len;
        } while (len != 0);
        return true;
    }
};

// Reads a colour table of 2^(bits+1) entries as opaque packed pixels.
bool ReadColorTable(Reader& r, uint8_t flags, std::vector<uint32_t>& table)
{
    const size_t entries = size_t(1) << ((flags & 7) + 1);
    if (!r.Has(entries * 3))
        return false;
    table.resize(entries);
    for (size_t i = 0; i < entries; ++i, r.pos += 3) {
        const uint8_t* p = r.data + r.pos;
        table[i] = 0xFF000000u | (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
    }
    return true;
}

// Variable-length LZW as GIF uses it: codes of 3 to 12 bits, packed least
// significant bit first, with clear and end codes after the roots. Writes
// at most `indices.size()` colour indices; returns false on a code that
// cannot occur in a valid stream. A stream that simply runs out leaves the
// rest of `indices` untouched.
bool DecodeLzw(const std::vector<uint8_t>& in, int minCodeSize, std::vector<uint8_t>& indices, size_t& written)
{
    const int clearCode = 1 << minCodeSize;
    const int endCode = clearCode + 1;
    std::array<uint16_t, kMaxCodes> prefix{};
    std::array<uint8_t, kMaxCodes> suffix{};
    std::array<uint8_t, kMaxCodes> first{};
    std::array<uint8_t, kMaxCodes + 1> stack{};
    for (int i = 0; i < clearCode; ++i) {
        suffix[i] = static_cast<uint8_t>(i);
        first[i] = static_cast<uint8_t>(i);
    }

    int codeSize = minCodeSize + 1;
    int nextCode = endCode + 1;
    int prev = -1;
    uint32_t bitBuf = 0;
    int bitCount = 0;
    size_t inPos = 0;
    written = 0;

    while (written < indices.size()) {
        while (bitCount < codeSize) {
            if (inPos >= in.size())
                return true; // ran out of data: keep what we have
            bitBuf |= uint32_t(in[inPos++]) << bitCount;
            bitCount += 8;
        }
        const int code = static_cast<int>(bitBuf & ((1u << codeSize) - 1));
        bitBuf >>= codeSize;
        bitCount -= codeSize;

        if (code == clearCode) {
            codeSize = minCodeSize + 1;
            nextCode = endCode + 1;
            prev = -1;
            continue;
        }
        if (code == endCode)
            return true;
        if (prev < 0) {
            if (code >= clearCode)
                return false;
            indices[written++] = static_cast<uint8_t>(code);
            prev = code;
            continue;
        }

        // Emit the string of `code`; a code one past the table is the
        // previous string plus its own first character.
        int cur = code;
        int depth = 0;
        uint8_t firstChar;
        if (code < nextCode) {
            firstChar = first[code];
        } else if (code == nextCode && nextCode < kMaxCodes) {
            firstChar = first[prev];
            stack[depth++] = firstChar;
            cur = prev;
        } else {
            return false;
        }
        while (cur >= clearCode) {
            stack[depth++] = suffix[cur];
            cur = prefix[cur];
        }
        stack[depth++] = static_cast<uint8_t>(cur);
        while (depth > 0 && written < indices.size())
            indices[written++] = stack[--depth];

        if (nextCode < kMaxCodes) {
            prefix[nextCode] = static_cast<uint16_t>(prev);
            suffix[nextCode] = firstChar;
            first[nextCode] = first[prev];
            ++nextCode;
            // Widen once the next code no longer fits; at 4096 entries the
            // table is full and stays at 12 bits until a clear code.
            if (nextCode == (1 << codeSize) && codeSize < 12)
                ++codeSize;
        }
        prev = code;
    }
    return true;
}

} // namespace

std::unique_ptr<Image> DecodeGIF(const uint8_t* data, size_t size)
{
    Reader r{data, size};
    if (size < 13 || (std::memcmp(data, "GIF87", 5) != 0 && std::memcmp(data, "GIF89", 5) != 0))
        return nullptr;
    const int screenWidth = Le16(data + 6);
    const int screenHeight = Le16(data + 8);
    const uint8_t screenFlags = data[10];
    r.pos = 13;

    std::vector<uint32_t> globalTable;
    if ((screenFlags & 0x80) && !ReadColorTable(r, screenFlags, globalTable))
        return nullptr;

    int transparent = -1;
    for (;;) {
        uint8_t tag;
        if (!r.Byte(tag))
            return nullptr;
        if (tag == 0x3B) // trailer before any image
            return nullptr;
        if (tag == 0x21) {
            uint8_t label;
            if (!r.Byte(label))
                return nullptr;
            if (label == 0xF9) {
                // Graphic control: packed flags, delay, transparent index.
                if (!r.Has(5))
                    return nullptr;
                const uint8_t* g = data + r.pos;
                if (g[0] >= 4)
                    transparent = (g[1] & 1) ? g[4] : -1;
            }
            // Everything else, the "NETSCAPE2.0" looping block included,
            // carries nothing a still image needs.
            if (!r.SkipSubBlocks())
                return nullptr;
            continue;
        }
        if (tag != 0x2C)
            return nullptr;
        break;
    }

    // Image descriptor.
    if (!r.Has(9))
        return nullptr;
    const uint8_t* d = data + r.pos;
    const int left = Le16(d), top = Le16(d + 2), frameWidth = Le16(d + 4), frameHeight = Le16(d + 6);
    const uint8_t frameFlags = d[8];
    r.pos += 9;
    if (frameWidth == 0 || frameHeight == 0)
        return nullptr;
    std::vector<uint32_t> localTable;
    if ((frameFlags & 0x80) && !ReadColorTable(r, frameFlags, localTable))
        return nullptr;
    const std::vector<uint32_t>& table = localTable.empty() ? globalTable : localTable;
    if (table.empty())
        return nullptr;

    uint8_t minCodeSize;
    if (!r.Byte(minCodeSize) || minCodeSize < 1 || minCodeSize > 11)
        return nullptr;
    std::vector<uint8_t> lzw;
    if (!r.ReadSubBlocks(lzw))
        return nullptr;

    // The picture is the logical screen with the first frame placed on it;
    // a file that leaves the screen size 0 gets the frame's extent.
    int width = screenWidth, height = screenHeight;
    if (width == 0 || height == 0) {
        width = left + frameWidth;
        height = top + frameHeight;
    }
    auto img = MakeImage(width, height);
    if (!img || !SizeAllowed(frameWidth, frameHeight))
        return nullptr;

    std::vector<uint8_t> indices(size_t(frameWidth) * frameHeight);
    size_t written = 0;
    if (!DecodeLzw(lzw, minCodeSize, indices, written))
        return nullptr;

    // Interlaced frames store rows in four passes: every 8th row from 0,
    // every 8th from 4, every 4th from 2, every 2nd from 1.
    std::vector<int> rowOf(frameHeight);
    if (frameFlags & 0x40) {
        static const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
        int n = 0;
        for (int pass = 0; pass < 4; ++pass)
            for (int y = start[pass]; y < frameHeight; y += step[pass])
                rowOf[n++] = y;
    } else {
        for (int y = 0; y < frameHeight; ++y)
            rowOf[y] = y;
    }

    const size_t rowsDone = written / frameWidth + (written % frameWidth ? 1 : 0);
    for (size_t i = 0; i < rowsDone; ++i) {
        const int y = top + rowOf[i];
        if (y >= height)
            continue;
        const size_t rowStart = i * frameWidth;
        const size_t rowEnd = std::min(rowStart + frameWidth, written);
        for (size_t k = rowStart; k < rowEnd; ++k) {
            const int x = left + static_cast<int>(k - rowStart);
            if (x >= width)
                break;
            const uint8_t idx = indices[k];
            uint32_t px = idx < table.size() ? table[idx] : 0xFF000000u;
            if (idx == transparent)
                px &= 0x00FFFFFF;
            img->bits[size_t(y) * width + x] = px;
        }
    }
    return img;
}

} // namespace Zorvin::ImageLib
