#include "game/app/saves/SafeFileName.h"

namespace Zorvin {

namespace {

bool Unsafe(unsigned char c)
{
    // "." is escaped everywhere: no ".." and no hidden files can appear.
    return c < 0x20 || c == 0x7F || c == '/' || c == '\\' || c == '.' || c == '%';
}

} // namespace

std::string SafeFileName(const std::string& name)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(name.size());
    for (char ch : name) {
        unsigned char c = static_cast<unsigned char>(ch);
        size_t need = Unsafe(c) ? 3 : 1;
        if (out.size() + need > kMaxSafeNameLength)
            break;
        if (need == 1) {
            out += ch;
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

} // namespace Zorvin
