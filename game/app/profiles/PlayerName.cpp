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

bool PlayerName::IsBlank(const std::string& text)
{
    // 0xA0 is the no-break space in Windows-1251.
    for (char ch : text)
        if (ch != ' ' && static_cast<unsigned char>(ch) != 0xA0)
            return false;
    return true;
}

} // namespace Zorvin
