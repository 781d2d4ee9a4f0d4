#include "game/app/profiles/PlayerName.h"

namespace Zorvin {

namespace {

bool IsControl(unsigned char c) { return c < 32 || c == 127; }

} // namespace

bool PlayerName::AllowCharacter(char ch)
{
    auto c = static_cast<unsigned char>(ch);
    if (IsControl(c) || c == '/' || c == '\\')
        return false;
    switch (c) {
    case '#': case '$': case '%': case '&': case '(': case ')': case '*':
    case '+': case '-': case '.': case ':': case '@': case '^':
        return false;
    default:
        return true;
    }
}

bool PlayerName::AllowText(const std::string& text)
{
    for (char ch : text)
        if (!AllowCharacter(ch))
            return false;
    return true;
}

std::string PlayerName::SafeFileName(const std::string& name)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(name.size());
    for (char ch : name) {
        auto c = static_cast<unsigned char>(ch);
        // "%" is escaped too, so an escaped name never equals a plain one.
        if (IsControl(c) || c == '/' || c == '\\' || c == '%') {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += ch;
        }
    }
    return out;
}

std::string PlayerName::SaveFilePath(const std::string& dataFolder, const std::string& name, int mode)
{
    return dataFolder + "saves/" + SafeFileName(name) + (mode == 2 ? "1.sav" : "2.sav");
}

} // namespace Zorvin
