#include "game/app/saves/SafeFileName.h"

#include <cstdint>

#include "framework/core/Cp1251.h"

namespace Zorvin {

namespace {

constexpr char kHex[] = "0123456789ABCDEF";
// What marks a cut name: "%" is always escaped in a whole name, so "%~"
// never appears in one and a cut name can never equal a whole one.
constexpr char kCutMark[] = "%~";
constexpr size_t kHashDigits = 16;

bool Unsafe(unsigned char c)
{
    // "." is escaped everywhere: no ".." and no hidden files can appear.
    return c < 0x20 || c == 0x7F || c == '/' || c == '\\' || c == '.' || c == '%';
}

void AppendEscaped(std::string& out, unsigned char c)
{
    out += '%';
    out += kHex[c >> 4];
    out += kHex[c & 15];
}

// Bytes in a UTF-8 sequence starting with this byte (1 for any other).
size_t SequenceLength(unsigned char lead)
{
    return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
}

// The escaped text, cut before the first character (or escape) that would
// take it past `limit` bytes. `cut` tells whether anything was left out.
std::string Escape(const std::string& utf8, size_t limit, bool& cut)
{
    std::string out;
    cut = false;
    for (size_t i = 0; i < utf8.size();) {
        auto c = static_cast<unsigned char>(utf8[i]);
        std::string unit;
        size_t length = 1;
        if (Unsafe(c))
            AppendEscaped(unit, c);
        else
            unit = utf8.substr(i, length = SequenceLength(c));
        if (out.size() + unit.size() > limit) {
            cut = true;
            break;
        }
        out += unit;
        i += length;
    }
    return out;
}

uint64_t Fnv1a(const std::string& bytes)
{
    uint64_t hash = 14695981039346656037ull;
    for (char ch : bytes) {
        hash ^= static_cast<unsigned char>(ch);
        hash *= 1099511628211ull;
    }
    return hash;
}

} // namespace

std::string SafeFileName(const std::string& name)
{
    std::string utf8 = Cp1251ToUtf8(name);
    bool cut = false;
    std::string whole = Escape(utf8, kMaxSafeNameLength, cut);
    if (!cut)
        return whole;
    // Long names that share their first bytes stay apart by a hash of the
    // whole name after the part that fits.
    std::string out = Escape(utf8, kMaxSafeNameLength - (sizeof kCutMark - 1) - kHashDigits, cut);
    out += kCutMark;
    uint64_t hash = Fnv1a(name);
    for (int shift = 60; shift >= 0; shift -= 4)
        out += kHex[(hash >> shift) & 15];
    return out;
}

std::string LegacySafeFileName(const std::string& name)
{
    std::string out;
    for (char ch : name) {
        auto c = static_cast<unsigned char>(ch);
        size_t need = Unsafe(c) ? 3 : 1;
        if (out.size() + need > kMaxSafeNameLength)
            break;
        if (need == 1)
            out += ch;
        else
            AppendEscaped(out, c);
    }
    return out;
}

} // namespace Zorvin
